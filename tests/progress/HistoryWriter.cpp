// A window's checks without the window, for the tests that kill a writer: takes up the bank's kept run
// (or begins one of 20 questions), then keeps one check after another as the window does and prints
// "kept N" once the store has taken the N-th answer of the run, until it is killed or has kept
// the number of checks asked for.
//
//   zdawnik-history-writer STATE_DIR BANK_PATH [CHECKS]

#include "progress/HistoryStore.h"

#include <QCoreApplication>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

using namespace zdawnik;

int main(int argc, char** argv)
{
    QCoreApplication application(argc, argv);
    if (argc < 3)
        return 2;
    const int checks = argc > 3 ? std::atoi(argv[3]) : -1;
    HistoryStore store(QString::fromLocal8Bit(argv[1]), argv[2]);
    if (store.Open() != HistoryStore::Access::Writing)
        return 3;
    RunRecord run;
    const HistoryStore::Loaded loaded = store.LoadRun();
    if (loaded.found == HistoryStore::Found::Record) {
        run = loaded.record;
    } else {
        run.BankPath = argv[2];
        for (int i = 0; i < 20; ++i)
            run.Questions.push_back({"pytanie-" + std::to_string(i) + ".txt", 3, false});
    }
    store.BeginSitting(SittingKind::Drill, QDateTime::currentDateTimeUtc());
    for (int check = 0; check != checks; ++check) {
        // Every third answer wrong, the rest good: counters go up and down, none is mastered for good.
        QuestionProgress& question = run.Questions[std::size_t(run.Answers) % run.Questions.size()];
        const bool good = run.Answers % 3 != 0;
        question.Repeats = good ? std::max(question.Repeats - 1, 1) : question.Repeats + 3;
        ++run.Answers;
        run.GoodAnswers += good;
        run.StudySeconds += 2;
        run.SavedAt = QDateTime::currentDateTimeUtc();

        AnswerEntry answer;
        answer.FileName = question.FileName;
        answer.At = run.SavedAt;
        answer.Judged = good ? Verdict::Good : Verdict::Wrong;
        answer.Seconds = 2;
        answer.Chosen = good ? "1,3" : "2";
        answer.Correct = "1,3";
        answer.SittingStudySeconds = 2LL * (check + 1);
        RunChange change;
        change.Question = question;
        change.Answers = run.Answers;
        change.GoodAnswers = run.GoodAnswers;
        change.StudySeconds = run.StudySeconds;
        change.SavedAt = run.SavedAt;
        change.WholeRun = [&run] { return run; };
        QString error;
        if (!store.RecordCheck(answer, &change, error)) {
            std::fprintf(stderr, "%s\n", qPrintable(error));
            return 1;
        }
        std::printf("kept %d\n", run.Answers);
        std::fflush(stdout);
    }
    return 0;
}
