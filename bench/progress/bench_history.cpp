// The history database on a bank of 100,000 questions: a check's commit (the answer, the sitting and
// the run's change) against a bare SQLite transaction writing the same rows with the same settings;
// opening the bank up to the start panel's offer when the history holds 1,000,000 answers, against the
// bare queries that opening needs; and the size of that database.

#include "progress/HistorySchema.h"
#include "progress/HistoryStore.h"
#include "progress/SqliteDatabase.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>

#include <cstdio>
#include <sqlite3.h>

#include "bench/BenchOutput.h"
#include "drill/Random.h"

using namespace zdawnik;
using namespace zdawnik::bench;

namespace {

constexpr int BankSize = 100'000;
constexpr int HistoryAnswers = 1'000'000;
constexpr int AnswersPerSitting = 500;
const std::string Bank = "/home/uczen/egzamin/baza";

RunRecord FreshRun()
{
    RunRecord run;
    run.BankPath = Bank;
    run.SavedAt = QDateTime::currentDateTimeUtc();
    for (int i = 0; i < BankSize; ++i)
        run.Questions.push_back({"pytanie-" + std::to_string(100000 + i) + ".txt", 3, false});
    return run;
}

// One check as the window makes it: the question's new counter and the run's new totals.
struct Checks
{
    RunRecord Run = FreshRun();
    Random Draw;
    int Next = 0;

    void Make(AnswerEntry& answer, RunChange& change)
    {
        Next = int(Draw.RandomBelow(BankSize));
        QuestionProgress& question = Run.Questions[std::size_t(Next)];
        const bool good = Draw.RandomBelow(4) != 0;
        question.Repeats = good ? std::max(question.Repeats - 1, 1) : question.Repeats + 3;
        ++Run.Answers;
        Run.GoodAnswers += good;
        Run.StudySeconds += 7;
        Run.SavedAt = QDateTime::currentDateTimeUtc();
        answer = {question.FileName, Run.SavedAt, good ? Verdict::Good : Verdict::Wrong, 7, "1,3", "1,3",
                  Run.StudySeconds};
        change.Question = question;
        change.Answers = Run.Answers;
        change.GoodAnswers = Run.GoodAnswers;
        change.StudySeconds = Run.StudySeconds;
        change.SavedAt = Run.SavedAt;
        change.WholeRun = [this] { return Run; };
    }
};

void OpenBare(SqliteDatabase& db, const QString& path)
{
    db.Open(path, true, 10'000);
    db.QueryText("PRAGMA journal_mode = WAL");
    db.Execute("PRAGMA synchronous = FULL; PRAGMA foreign_keys = ON");
}

// The same rows as a check, written by hand: the answer, the sitting's figures, the run's totals and
// the question's counter, with statements prepared once.
class BareCheck
{
public:
    explicit BareCheck(const QString& path)
    {
        OpenBare(m_db, path);
        MigrateSchema(m_db, SchemaSteps());
        SqliteTransaction fill(m_db);
        m_db.Execute("INSERT INTO banks (id, path, first_used) VALUES (1, 'bank', 0);"
                     "INSERT INTO sittings (id, bank, kind, start) VALUES (1, 1, 0, 0);"
                     "INSERT INTO runs VALUES (1, 0, 0, 0, 0, 0, 0)");
        SqliteStatement question(m_db.handle(), "INSERT INTO questions (id, bank, name) VALUES (?1, 1, ?2)");
        SqliteStatement entry(m_db.handle(), "INSERT INTO run_questions VALUES (?1, 1, ?1, 3, 0)");
        for (int i = 1; i <= BankSize; ++i) {
            question.Bind(1, i).BindBlob(2, "pytanie-" + std::to_string(100000 + i) + ".txt").Run();
            entry.Bind(1, i).Run();
        }
        fill.Commit();
        m_answer = std::make_unique<SqliteStatement>(
            m_db.handle(),
            "INSERT INTO answers (sitting, question, at, verdict, seconds, chosen, correct, mastered) "
            "VALUES (1, ?1, ?2, 0, 7, '1,3', '1,3', 0)");
        m_sitting = std::make_unique<SqliteStatement>(
            m_db.handle(),
            "UPDATE sittings SET study_seconds = ?1, answers = ?1, good_answers = ?1 WHERE id = 1");
        m_run = std::make_unique<SqliteStatement>(
            m_db.handle(),
            "UPDATE runs SET saved_at = ?1, study_seconds = ?1, answers = ?1, good_answers = ?1 "
            "WHERE bank = 1");
        m_question = std::make_unique<SqliteStatement>(
            m_db.handle(), "UPDATE run_questions SET repeats = ?2, mastered = 0 WHERE question = ?1");
    }

    void Check(int question, std::int64_t at)
    {
        SqliteTransaction transaction(m_db);
        m_answer->Bind(1, question + 1).Bind(2, at).Run();
        m_sitting->Bind(1, ++m_count).Run();
        m_run->Bind(1, m_count).Run();
        m_question->Bind(1, question + 1).Bind(2, m_count % 7).Run();
        transaction.Commit();
    }

private:
    SqliteDatabase m_db;
    std::unique_ptr<SqliteStatement> m_answer, m_sitting, m_run, m_question;
    std::int64_t m_count = 0;
};

// A history of a million answers over the bank, in sittings of 500, added to the store's database.
void AddHistory(const QString& path)
{
    SqliteDatabase db;
    OpenBare(db, path);
    SqliteTransaction fill(db);
    Random draw;
    SqliteStatement sitting(db.handle(),
                            "INSERT INTO sittings (bank, kind, start, end, study_seconds, answers, "
                            "good_answers) VALUES (1, 0, ?1, ?1 + 3600000, 3600, 500, 400) RETURNING id");
    SqliteStatement answer(db.handle(),
                           "INSERT INTO answers (sitting, question, at, verdict, seconds, chosen, "
                           "correct, mastered) VALUES (?1, ?2, ?3, ?4, ?5, '1,3', '1,3', ?6)");
    const std::int64_t firstQuestion = db.QueryInteger("SELECT min(id) FROM questions");
    std::int64_t at = QDateTime::currentMSecsSinceEpoch() - 400LL * 24 * 3600 * 1000;
    std::int64_t sittingId = 0;
    for (int i = 0; i < HistoryAnswers; ++i) {
        if (i % AnswersPerSitting == 0) {
            sitting.Bind(1, at);
            sitting.Step();
            sittingId = sitting.Integer(0);
            sitting.Reset();
        }
        at += 7000;
        answer.Bind(1, sittingId)
            .Bind(2, firstQuestion + draw.RandomBelow(BankSize))
            .Bind(3, at)
            .Bind(4, draw.RandomBelow(4) == 0 ? 2 : 0)
            .Bind(5, 7)
            .Bind(6, i / 20)
            .Run();
    }
    fill.Commit();
    db.Execute("PRAGMA wal_checkpoint(TRUNCATE)");
}

// What opening the bank asks of the database, bare: the connection with its settings, the check of the
// file, and the kept run read into a list.
std::size_t BareOpen(const QString& path)
{
    SqliteDatabase db;
    OpenBare(db, path);
    db.QueryInteger("PRAGMA application_id");
    db.QueryInteger("PRAGMA user_version");
    db.QueryText("PRAGMA quick_check");
    SqliteStatement run(db.handle(),
                        "SELECT saved_at, finished, study_seconds, answers, good_answers, mastered "
                        "FROM runs WHERE bank = 1");
    run.Step();
    SqliteStatement questions(db.handle(),
                              "SELECT q.name, r.repeats, r.mastered FROM run_questions r JOIN questions "
                              "q ON q.id = r.question WHERE r.bank = 1 ORDER BY r.position");
    std::vector<QuestionProgress> kept;
    while (questions.Step())
        kept.push_back({questions.Bytes(0), int(questions.Integer(1)), questions.Integer(2) != 0});
    return kept.size();
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication application(argc, argv);
    QTemporaryDir dir;
    const QString stateDir = dir.filePath("stan");

    Checks checks;
    QString error;
    auto store = std::make_unique<HistoryStore>(stateDir, Bank);
    if (store->Open() != HistoryStore::Access::Writing)
        return 1;
    store->BeginSitting(SittingKind::Drill, QDateTime::currentDateTimeUtc());
    AnswerEntry answer;
    RunChange change;
    checks.Make(answer, change);
    if (!store->RecordCheck(answer, &change, error)) // the run's first check writes it whole
        std::fprintf(stderr, "check: %s\n", qPrintable(error));
    QDir().mkpath(dir.filePath("bare"));
    BareCheck bare(dir.filePath("bare/bare.sqlite"));
    int bareQuestion = 0;
    const auto [check, bareCheck] = MedianPairedMicroseconds(
        [&] {
            checks.Make(answer, change);
            if (!store->RecordCheck(answer, &change, error))
                std::fprintf(stderr, "check: %s\n", qPrintable(error));
        },
        [&] {
            bare.Check(bareQuestion = (bareQuestion + 7919) % BankSize, QDateTime::currentMSecsSinceEpoch());
        },
        20, 15);
    ReportTimes("check-commit-100000-questions-vs-bare-sqlite", check, bareCheck, 2.0);

    store.reset();
    AddHistory(QDir(stateDir).filePath("zdawnik.sqlite"));
    const QString database = QDir(stateDir).filePath("zdawnik.sqlite");
    std::size_t offered = 0;
    const auto [open, bareOpen] = MedianPairedMicroseconds(
        [&] {
            HistoryStore opened(stateDir, Bank);
            opened.Open();
            const HistoryStore::Loaded loaded = opened.LoadRun();
            if (loaded.found != HistoryStore::Found::Record)
                std::fprintf(stderr, "open: %s\n", qPrintable(loaded.problem));
            offered = loaded.record.Questions.size();
        },
        [&] { BareOpen(database); }, 1, 7);
    ReportTimes("open-1000000-answers-vs-bare-queries", open, bareOpen, 1.5);
    if (offered != std::size_t(BankSize))
        std::fprintf(stderr, "the kept run offered %zu questions\n", offered);

    const double megabytes = double(QFileInfo(database).size()) / (1024 * 1024);
    char value[32];
    std::snprintf(value, sizeof value, "%.1fMB", megabytes);
    Report("database-1000000-answers-size", value, "150MB", megabytes / 150, 1.0);
    return 0;
}
