#include "progress/HistorySchema.h"

#include "progress/SqliteDatabase.h"

#include <string>

namespace zdawnik {

namespace {

// Version 1. Times are milliseconds since 1970 in UTC; names and paths are the system's bytes, kept
// as blobs. A question is one row per bank and file name, which the answers and the kept run point at.
// A verdict is 0 good, 1 partly right, 2 wrong; a sitting's kind 0 a drill, 1 the hardest questions,
// 2 an exam.
void CreateVersion1(SqliteDatabase& db)
{
    db.Execute(R"(
CREATE TABLE banks (
    id INTEGER PRIMARY KEY,
    path BLOB NOT NULL UNIQUE,
    first_used INTEGER NOT NULL
);
CREATE TABLE questions (
    id INTEGER PRIMARY KEY,
    bank INTEGER NOT NULL REFERENCES banks (id),
    name BLOB NOT NULL,
    UNIQUE (bank, name)
);
CREATE TABLE sittings (
    id INTEGER PRIMARY KEY,
    bank INTEGER NOT NULL REFERENCES banks (id),
    kind INTEGER NOT NULL,
    start INTEGER NOT NULL,
    end INTEGER,
    study_seconds INTEGER NOT NULL DEFAULT 0,
    answers INTEGER NOT NULL DEFAULT 0,
    good_answers INTEGER NOT NULL DEFAULT 0,
    mastered_after INTEGER,
    exam_questions INTEGER,
    exam_pass_mark INTEGER,
    exam_score INTEGER,
    exam_finished INTEGER
);
CREATE INDEX sittings_of_bank ON sittings (bank, start);
CREATE TABLE answers (
    id INTEGER PRIMARY KEY,
    sitting INTEGER NOT NULL REFERENCES sittings (id),
    question INTEGER NOT NULL REFERENCES questions (id),
    at INTEGER NOT NULL,
    verdict INTEGER NOT NULL,
    seconds INTEGER NOT NULL,
    chosen TEXT NOT NULL,
    correct TEXT NOT NULL,
    mastered INTEGER -- the kept run's mastered questions after this answer, when it changed the run
);
CREATE INDEX answers_of_question ON answers (question, verdict, at);
CREATE TABLE runs (
    bank INTEGER PRIMARY KEY REFERENCES banks (id),
    saved_at INTEGER NOT NULL,
    finished INTEGER NOT NULL,
    study_seconds INTEGER NOT NULL,
    answers INTEGER NOT NULL,
    good_answers INTEGER NOT NULL,
    mastered INTEGER NOT NULL
);
CREATE TABLE run_questions (
    question INTEGER PRIMARY KEY REFERENCES questions (id),
    bank INTEGER NOT NULL REFERENCES runs (bank) ON DELETE CASCADE,
    position INTEGER NOT NULL,
    repeats INTEGER NOT NULL,
    mastered INTEGER NOT NULL
);
CREATE INDEX run_questions_of_bank ON run_questions (bank, position);
)");
}

} // namespace

const std::vector<SchemaStep>& SchemaSteps()
{
    static const std::vector<SchemaStep> steps = {CreateVersion1};
    return steps;
}

int CurrentSchemaVersion()
{
    return int(SchemaSteps().size());
}

void MigrateSchema(SqliteDatabase& db, const std::vector<SchemaStep>& steps)
{
    SqliteTransaction transaction(db);
    const std::int64_t version = db.QueryInteger("PRAGMA user_version");
    for (std::size_t step = std::size_t(version); step < steps.size(); ++step)
        steps[step](db);
    if (std::size_t(version) < steps.size()) {
        db.Execute("PRAGMA application_id = " + std::to_string(HistoryApplicationId));
        db.Execute("PRAGMA user_version = " + std::to_string(steps.size()));
    }
    transaction.Commit();
}

} // namespace zdawnik
