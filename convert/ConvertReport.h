#pragma once

#include <QString>

#include <vector>

namespace zdawnik {

enum class ReportKind
{
    Note,    // for the user's information: nothing is lost
    Skipped, // something of the source is not carried: a question, or a part of one
    Warning, // carried, but the window will not show it whole
    Error,   // the conversion cannot go on: nothing is written
};

// One thing the conversion tells at its place in the source: "file:line:column: message".
struct ConvertReport
{
    ReportKind Kind = ReportKind::Skipped;
    QString Source;
    int Line = 0;   // 0 when the report is about the whole source
    int Column = 0; // 0 when not known
    QString Message;
};

using ConvertReports = std::vector<ConvertReport>;

// The report as one line: "source:line:column: message", with "note: " before a note's message.
QString ReportLine(const ConvertReport& report);

bool HasErrors(const ConvertReports& reports);
// Whether something was skipped or warned of.
bool HasSkipped(const ConvertReports& reports);

} // namespace zdawnik
