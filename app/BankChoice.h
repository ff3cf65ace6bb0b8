#pragma once

#include <QString>

#include <filesystem>

class QSettings;

namespace zdawnik {

// The bank a window opens on: the folder named on the command line; without one, the bank used last
// while it still exists; otherwise "baza" beside the program, so a portable folder keeps its own.
std::filesystem::path InitialBank(const QString& named, const QSettings* settings,
                                  const std::filesystem::path& programDir);

// The bank the user chose, for the next start without a folder.
void RememberBank(QSettings& settings, const std::filesystem::path& bank);

} // namespace zdawnik
