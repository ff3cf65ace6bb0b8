#pragma once

#include "app/ProgressWindow.h"

#include <QDateTime>

namespace zdawnik {

class HistoryStore;

// "ćwicz te pytania" with nothing selected: the questions missed in the last 14 days, at most 30.
inline constexpr int DefaultDrillDays = 14;
inline constexpr int DefaultDrillQuestions = 30;

// What the progress window shows of the store's bank, read from its history now: the days, the
// questions, the sittings and the questions to drill. bankQuestions and mastered are the kept run's.
HistorySnapshot ReadHistory(HistoryStore& store, const std::filesystem::path& bankDir, int bankQuestions,
                            int mastered, const QDateTime& now);

} // namespace zdawnik
