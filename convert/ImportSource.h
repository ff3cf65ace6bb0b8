#pragma once

#include <QByteArray>
#include <QDir>
#include <QString>

#include "convert/ConvertReport.h"
#include "convert/ConvertedBank.h"

namespace zdawnik {

// One file given to an import: its bytes, the name reports give it, and the folder that files it
// names (the pictures of a spreadsheet) are looked up in.
struct ImportSource
{
    QByteArray Bytes;
    QString Name;
    QDir Folder;
};

// What every reader of a format does: adds the questions of the source to the bank, in the source's
// order, and reports what it cannot carry and where. Malformed input is an error report.
using FormatReader = void (*)(const ImportSource& source, ConvertedBank& bank, ConvertReports& reports);

// How reports name a question: its name in quotes, or "a question" when it has none.
QString QuestionLabel(const QString& name);

} // namespace zdawnik

namespace zdawnik {

// A category path as a course platform writes it, without the platform's prefixes ("$course$/",
// "top/") and with "/" between its parts, none of them empty.
QString CleanCategory(const QString& path);

} // namespace zdawnik
