#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

namespace zdawnik {

// A record of a CSV file and the line it starts on.
struct CsvRow
{
    QStringList Fields;
    int Line = 0;
};

// The delimiter a spreadsheet saved with: the most frequent of comma, semicolon (what spreadsheets
// write in a Polish locale) and tab outside quotes in the first line; a comma when there is none.
char GuessCsvDelimiter(const QString& text);

struct CsvTable
{
    std::vector<CsvRow> Rows;
    // Where the file breaks the grammar (a quoted field without its closing quote): its line and what.
    std::optional<std::pair<int, QString>> Error;
};

// The records of RFC 4180 text: fields separated by the delimiter, quoted fields with doubled quotes
// and line breaks inside. Empty lines hold no record.
CsvTable ReadCsv(const QString& text, char delimiter);

// One field as RFC 4180 writes it: quoted when it holds the delimiter, a quote, a line break or
// spaces at its ends.
QString CsvField(const QString& field, char delimiter);

} // namespace zdawnik
