#pragma once

#include <QString>

#include "convert/ConvertReport.h"
#include "convert/ConvertedBank.h"

namespace zdawnik {

// Reads every question file (*.txt) of a bank folder, in the order of their names, with the program's
// own reader: what is taken is what the window shows, texts with the ampersand rule applied and
// pictures from the bank folder. Files the program does not show, and questions no other tool could
// ask (no right answer, a key past its list), are reported and left out. Nothing when the folder
// cannot be read (an error report).
std::optional<ConvertedBank> ReadBankFolder(const QString& folder, ConvertReports& reports);

} // namespace zdawnik
