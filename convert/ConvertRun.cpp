#include "convert/ConvertRun.h"

#include "base/VisibleText.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>

#include <algorithm>
#include <map>
#include <ostream>
#include <tuple>

#include "convert/AikenReader.h"
#include "convert/BankReader.h"
#include "convert/CsvBankReader.h"
#include "convert/FormatWriters.h"
#include "convert/GiftReader.h"
#include "convert/MoodleXmlReader.h"

namespace zdawnik {

namespace {

const std::map<QString, BankFormat>& FormatNames()
{
    static const std::map<QString, BankFormat> names = {
        {QStringLiteral("moodle-xml"), BankFormat::MoodleXml},
        {QStringLiteral("gift"), BankFormat::Gift},
        {QStringLiteral("aiken"), BankFormat::Aiken},
        {QStringLiteral("csv"), BankFormat::Csv},
    };
    return names;
}

FormatReader ReaderOf(BankFormat format)
{
    switch (format) {
    case BankFormat::MoodleXml:
        return ReadMoodleXml;
    case BankFormat::Gift:
        return ReadGift;
    case BankFormat::Aiken:
        return ReadAiken;
    case BankFormat::Csv:
        break;
    }
    return ReadCsvBank;
}

void Error(ConvertReports& reports, const QString& message)
{
    reports.push_back({ReportKind::Error, QString(), 0, 0, message});
}

// Writes a new file under a temporary name beside it and gives it its name at the end, never in place
// of an existing file.
bool WriteNewFileWhole(const QString& path, const QByteArray& bytes, ConvertReports& reports)
{
    const QFileInfo target(path);
    QTemporaryFile file(target.absolutePath() + QStringLiteral("/.") + target.fileName() +
                        QStringLiteral("-XXXXXX"));
    if (!file.open() || file.write(bytes) != bytes.size() || !file.flush()) {
        Error(reports, QStringLiteral("cannot write %1: %2").arg(path, file.errorString()));
        return false;
    }
    file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup |
                        QFileDevice::ReadOther);
    if (target.exists() || !file.rename(target.absoluteFilePath())) {
        Error(reports, QStringLiteral("cannot write %1: a file of that name is there now").arg(path));
        return false;
    }
    file.setAutoRemove(false);
    return true;
}

// The pictures a spreadsheet names, written beside it. A file already there is taken when it holds the
// same picture, and is never overwritten.
bool WriteSpreadsheetPictures(const ConvertedBank& bank, const QString& file, ConvertReports& reports)
{
    const QDir folder = QFileInfo(file).absoluteDir();
    std::map<QString, QByteArray> pictures;
    for (const PictureFile& picture : bank.Pictures)
        pictures[picture.Name] = picture.Bytes;
    for (const auto& [name, bytes] : pictures) {
        QFile there(folder.filePath(name));
        if (!there.exists())
            continue;
        if (!there.open(QIODevice::ReadOnly) || there.readAll() != bytes) {
            Error(reports,
                  QStringLiteral("%1 is there already and is another file: a file is never overwritten")
                      .arg(there.fileName()));
            return false;
        }
    }
    for (const auto& [name, bytes] : pictures)
        if (!QFile::exists(folder.filePath(name)) &&
            !WriteNewFileWhole(folder.filePath(name), bytes, reports))
            return false;
    return true;
}

QString Questions(int count)
{
    return count == 1 ? QStringLiteral("1 question") : QStringLiteral("%1 questions").arg(count);
}

} // namespace

std::optional<BankFormat> FormatByName(const QString& name)
{
    const auto found = FormatNames().find(name.toLower());
    return found != FormatNames().end() ? std::optional(found->second) : std::nullopt;
}

QString FormatName(BankFormat format)
{
    for (const auto& [name, value] : FormatNames())
        if (value == format)
            return name;
    return {};
}

std::optional<BankFormat> FormatByExtension(const QString& path)
{
    const QString extension = QFileInfo(path).suffix().toLower();
    if (extension == QLatin1String("xml"))
        return BankFormat::MoodleXml;
    if (extension == QLatin1String("gift") || extension == QLatin1String("txt"))
        return BankFormat::Gift;
    if (extension == QLatin1String("aiken"))
        return BankFormat::Aiken;
    if (extension == QLatin1String("csv"))
        return BankFormat::Csv;
    return std::nullopt;
}

ConvertRun::ConvertRun(std::ostream& out, std::ostream& err) : m_out(out), m_err(err) {}

ConvertStatus ConvertRun::runImport(const ImportRequest& request)
{
    ConvertReports reports;
    if (const std::optional<QString> why = WhyFolderCannotTakeBank(request.Folder)) {
        Error(reports, *why);
        return finish(reports, request.Inputs, {});
    }
    ConvertedBank bank;
    for (const QString& input : request.Inputs) {
        const std::optional<BankFormat> format = request.From ? request.From : FormatByExtension(input);
        if (!format) {
            Error(reports, QStringLiteral("%1: the extension tells no format: name it with --from "
                                          "moodle-xml|gift|aiken|csv")
                               .arg(input));
            continue;
        }
        QFile file(input);
        if (!file.open(QIODevice::ReadOnly)) {
            Error(reports, QStringLiteral("cannot read %1: %2").arg(input, file.errorString()));
            continue;
        }
        const std::size_t before = bank.Questions.size();
        const FormatReader read = ReaderOf(*format);
        read({file.readAll(), input, QFileInfo(input).absoluteDir()}, bank, reports);
        for (std::size_t i = before; i < bank.Questions.size(); ++i)
            bank.Questions[i].Source = input;
    }
    if (HasErrors(reports))
        return finish(reports, request.Inputs, {});
    const std::optional<int> written = WriteBank(bank, request.Folder, request.Options, reports);
    return finish(reports, request.Inputs,
                  written ? Questions(*written) + QStringLiteral(" written to ") + request.Folder
                          : QString());
}

ConvertStatus ConvertRun::runExport(const ExportRequest& request)
{
    ConvertReports reports;
    if (QFileInfo::exists(request.File)) {
        Error(reports, QStringLiteral("%1 is there already: a file is never overwritten").arg(request.File));
        return finish(reports, {}, {});
    }
    std::optional<ConvertedBank> bank = ReadBankFolder(request.Bank, reports);
    if (!bank)
        return finish(reports, {}, {});
    QByteArray bytes;
    const std::size_t before = reports.size(); // what the format cannot carry: a question each
    switch (request.To) {
    case BankFormat::MoodleXml:
        bytes = WriteMoodleXml(*bank, reports);
        break;
    case BankFormat::Gift:
        bytes = WriteGift(*bank, reports);
        break;
    case BankFormat::Aiken:
        bytes = WriteAiken(*bank, reports);
        break;
    case BankFormat::Csv:
        bytes = WriteCsv(*bank, reports);
        if (!WriteSpreadsheetPictures(*bank, request.File, reports))
            return finish(reports, {}, {});
        break;
    }
    if (!WriteNewFileWhole(request.File, bytes, reports))
        return finish(reports, {}, {});
    const int written = int(bank->Questions.size()) - int(reports.size() - before);
    return finish(reports, {}, Questions(written) + QStringLiteral(" written to ") + request.File);
}

ConvertStatus ConvertRun::finish(ConvertReports reports, const QStringList& sourceOrder,
                                 const QString& summary)
{
    // Reports in the order of the sources and their lines, whichever step made them; those of no
    // source last.
    const auto rank = [&](const ConvertReport& report) {
        return std::make_tuple(report.Source.isEmpty(), sourceOrder.indexOf(report.Source), report.Source,
                               report.Line);
    };
    std::stable_sort(reports.begin(), reports.end(),
                     [&](const ConvertReport& a, const ConvertReport& b) { return rank(a) < rank(b); });
    for (const ConvertReport& report : reports) {
        if (report.Source.isEmpty() && report.Kind == ReportKind::Error)
            print(m_err, QStringLiteral("zdawnik-convert: ") + report.Message);
        else
            print(m_err, ReportLine(report));
    }
    if (HasErrors(reports)) {
        print(m_err, QStringLiteral("zdawnik-convert: nothing written"));
        return ConvertFailed;
    }
    print(m_out, summary);
    return HasSkipped(reports) ? SomethingSkipped : Converted;
}

void ConvertRun::print(std::ostream& stream, const QString& line)
{
    // Names and texts come from the sources; none of their bytes may steer the terminal.
    stream << VisibleText(line.toStdString()) << '\n' << std::flush;
}

} // namespace zdawnik
