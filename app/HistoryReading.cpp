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
    // Chosen from the questions just read, so that every answer is not read a second time.
    snapshot.DefaultDrill = HistoryStore::QuestionsToDrill(snapshot.Questions, now);
    return snapshot;
}

} // namespace zdawnik
