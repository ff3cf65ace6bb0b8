#pragma once

// A window's checks as the store's tests make them: one run of named questions, each check an answer
// and the run's change.

#include "progress/HistoryStore.h"
#include "progress/RunRecord.h"

#include <QDir>

#include <sqlite3.h>

namespace zdawnik::test {

class RunOfChecks
{
public:
    RunOfChecks(std::string bank, std::vector<std::string> names)
    {
        Fresh(std::move(bank), std::move(names));
    }

    void Fresh(std::string bank, std::vector<std::string> names)
    {
        Run = RunRecord();
        Run.BankPath = std::move(bank);
        for (std::string& name : names)
            Run.Questions.push_back({std::move(name), 3, false});
    }

    // One check of the question at index, given verdict, at time; the store keeps it.
    bool Check(HistoryStore& store, int index, Verdict verdict, const QDateTime& at, QString& error,
               qint64 seconds = 5)
    {
        QuestionProgress& question = Run.Questions[std::size_t(index)];
        if (verdict == Verdict::Good) {
            question.Mastered = question.Repeats <= 1;
            question.Repeats = std::max(question.Repeats - 1, 0);
        } else {
            question.Repeats += 3;
        }
        ++Run.Answers;
        Run.GoodAnswers += verdict == Verdict::Good;
        Run.StudySeconds += seconds;
        Run.SavedAt = at;
        int mastered = 0;
        for (const QuestionProgress& each : Run.Questions)
            mastered += each.Mastered;
        Run.Finished = mastered == int(Run.Questions.size());

        AnswerEntry answer;
        answer.FileName = question.FileName;
        answer.At = at;
        answer.Judged = verdict;
        answer.Seconds = seconds;
        answer.Chosen = verdict == Verdict::Good ? "1,3" : "2";
        answer.Correct = "1,3";
        answer.SittingStudySeconds = Run.StudySeconds;
        RunChange change;
        change.Question = question;
        change.Answers = Run.Answers;
        change.GoodAnswers = Run.GoodAnswers;
        change.StudySeconds = Run.StudySeconds;
        change.Finished = Run.Finished;
        change.SavedAt = at;
        change.Mastered = mastered;
        change.WholeRun = [this] { return Run; };
        return store.RecordCheck(answer, &change, error);
    }

    RunRecord Run;
};

// The rows of a query's first column, read straight from the database file.
inline QStringList Query(const QString& database, const char* sql)
{
    QStringList rows;
    sqlite3* db = nullptr;
    if (sqlite3_open_v2(database.toUtf8().constData(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE,
                        nullptr) == SQLITE_OK) {
        sqlite3_exec(
            db, sql,
            [](void* out, int, char** values, char**) {
                static_cast<QStringList*>(out)->append(QString::fromUtf8(values[0] ? values[0] : "NULL"));
                return 0;
            },
            &rows, nullptr);
    }
    sqlite3_close(db);
    return rows;
}

// The same run: the same file written for both.
inline bool SameRun(const RunRecord& a, const RunRecord& b)
{
    return EncodeRunRecord(a) == EncodeRunRecord(b);
}

} // namespace zdawnik::test
