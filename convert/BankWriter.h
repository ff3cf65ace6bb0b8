#pragma once

#include <QString>

#include <map>
#include <optional>

#include "convert/ConvertReport.h"
#include "convert/ConvertedBank.h"

namespace zdawnik {

struct BankWriteOptions
{
    bool Categories = false; // each category in a subfolder of its own
    bool AlwaysUtf8 = false; // UTF-8 even for files that Windows-1250 holds
};

// Why the bank format cannot carry the question (with its pictures in bank), or nothing when it can.
std::optional<QString> WhyNotCarried(const ConvertedQuestion& question, const ConvertedBank& bank);

// The bytes of a question file, its picture lines naming the files in pictureNames (by picture index), and
// whether they are UTF-8 (with a byte-order mark) rather than Windows-1250.
struct QuestionFileBytes
{
    QByteArray Bytes;
    bool Utf8 = false;
};
QuestionFileBytes QuestionFile(const ConvertedQuestion& question, const std::map<int, QString>& pictureNames,
                               bool alwaysUtf8);

// Writes the questions the bank format carries into folder, which must be new or empty, and reports
// the others at their source lines. The files are written into a temporary folder beside it, which
// takes the folder's name only once all is written: a failure leaves nothing behind. Returns the
// number of questions written, or nothing after an error report.
std::optional<int> WriteBank(const ConvertedBank& bank, const QString& folder,
                             const BankWriteOptions& options, ConvertReports& reports);

// Why a folder cannot take a new bank (it is a file, or not empty), or nothing when it can.
std::optional<QString> WhyFolderCannotTakeBank(const QString& folder);

} // namespace zdawnik
