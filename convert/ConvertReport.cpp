#include "convert/ConvertReport.h"

#include <algorithm>

namespace zdawnik {

QString ReportLine(const ConvertReport& report)
{
    QString line = report.Source;
    if (report.Line > 0)
        line += ':' + QString::number(report.Line);
    if (report.Line > 0 && report.Column > 0)
        line += ':' + QString::number(report.Column);
    if (!line.isEmpty())
        line += QStringLiteral(": ");
    if (report.Kind == ReportKind::Note)
        line += QStringLiteral("note: ");
    return line + report.Message;
}

bool HasErrors(const ConvertReports& reports)
{
    return std::any_of(reports.begin(), reports.end(),
                       [](const ConvertReport& report) { return report.Kind == ReportKind::Error; });
}

bool HasSkipped(const ConvertReports& reports)
{
    return std::any_of(reports.begin(), reports.end(), [](const ConvertReport& report) {
        return report.Kind == ReportKind::Skipped || report.Kind == ReportKind::Warning;
    });
}

} // namespace zdawnik
