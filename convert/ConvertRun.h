#pragma once

#include <QString>
#include <QStringList>

#include <iosfwd>
#include <optional>

#include "convert/BankWriter.h"
#include "convert/ConvertReport.h"

namespace zdawnik {

// Exit statuses of the converter.
enum ConvertStatus : int
{
    Converted = 0,
    SomethingSkipped = 1, // written, but something of the source is not carried: see the reports
    ConvertFailed = 2,    // nothing written
};

enum class BankFormat
{
    MoodleXml,
    Gift,
    Aiken,
    Csv,
};

// "moodle-xml", "gift", "aiken", "csv".
std::optional<BankFormat> FormatByName(const QString& name);
QString FormatName(BankFormat format);
// By a file's extension: .xml, .gift or .txt, .aiken, .csv, in any case.
std::optional<BankFormat> FormatByExtension(const QString& path);

struct ImportRequest
{
    QStringList Inputs;
    QString Folder;
    std::optional<BankFormat> From; // otherwise each input's extension tells
    BankWriteOptions Options;
};

struct ExportRequest
{
    QString Bank;
    QString File;
    BankFormat To = BankFormat::MoodleXml;
};

// One run of the converter: reports go to err as "file:line: message", the summary to out.
class ConvertRun
{
public:
    ConvertRun(std::ostream& out, std::ostream& err);

    ConvertStatus runImport(const ImportRequest& request);
    ConvertStatus runExport(const ExportRequest& request);

private:
    ConvertStatus finish(ConvertReports reports, const QStringList& sourceOrder, const QString& summary);
    void print(std::ostream& stream, const QString& line);

    std::ostream& m_out;
    std::ostream& m_err;
};

} // namespace zdawnik
