#pragma once

#include "app/ProgressWindow.h"

#include <QDateTime>

namespace zdawnik {

class HistoryStore;

// What the progress window shows of the store's bank, read from its history now: the days, the
// questions, the sittings and the questions to drill. bankQuestions and mastered are the kept run's.
HistorySnapshot ReadHistory(HistoryStore& store, const std::filesystem::path& bankDir, int bankQuestions,
                            int mastered, const QDateTime& now);

} // namespace zdawnik
