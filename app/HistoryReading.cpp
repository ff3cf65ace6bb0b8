#include "app/HistoryReading.h"

#include "progress/HistoryStore.h"

namespace zdawnik {

HistorySnapshot ReadHistory(HistoryStore& store, const std::filesystem::path& bankDir, int bankQuestions,
                            int mastered, const QDateTime& now)
{
    HistorySnapshot snapshot;
    snapshot.BankDir = bankDir;
    snapshot.BankQuestions = bankQuestions;
    snapshot.Mastered = mastered;
    snapshot.Days = store.Days();
    snapshot.Questions = store.Questions();
    snapshot.Sittings = store.Sittings();
    // The store's QuestionsToDrill would read every answer again: its rule is applied to the questions
    // just read, which come in the same order.
    const QDateTime since = now.addDays(-DefaultDrillDays);
    for (const QuestionFigures& question : snapshot.Questions) {
        if (snapshot.DefaultDrill.size() == std::size_t(DefaultDrillQuestions))
            break;
        if (question.LastMissed.isValid() && question.LastMissed >= since)
            snapshot.DefaultDrill.push_back(question.FileName);
    }
    return snapshot;
}

} // namespace zdawnik
