// zdawnik-convert: makes a Zdawnik bank from the question banks of other tools (Moodle XML, GIFT,
// Aiken, a spreadsheet's CSV), and writes a bank out in those formats. Exit status: 0 all carried,
// 1 something not carried (reported), 2 nothing written.

#include "base/VisibleText.h"
#include "widgets/LayoutFonts.h"

#include <QCommandLineParser>
#include <QGuiApplication>

#include <cstdio>
#include <iostream>

#include "convert/ConvertRun.h"

using namespace zdawnik;

namespace {

bool Print(std::FILE* out, const QString& text)
{
    const QByteArray bytes = text.toUtf8();
    return std::fwrite(bytes.constData(), 1, std::size_t(bytes.size()), out) == std::size_t(bytes.size()) &&
           std::fflush(out) == 0;
}

int Usage(const QCommandLineParser& parser, const QString& error)
{
    // The error may quote an option as typed, which may hold any byte.
    Print(stderr, "zdawnik-convert: " + QString::fromStdString(VisibleText(error.toStdString())) + "\n\n" +
                      parser.helpText());
    return ConvertFailed;
}

} // namespace

int main(int argc, char** argv)
{
    // HTML is read by Qt's text documents, and texts measured with the window's fonts: the GUI library
    // is needed, but no display.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    QGuiApplication::setApplicationName(QStringLiteral("zdawnik-convert"));
    QGuiApplication::setApplicationVersion(QStringLiteral(ZDAWNIK_VERSION));

    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Makes a Zdawnik bank from Moodle XML, GIFT, Aiken or CSV files:\n"
                       "  zdawnik-convert INPUT... -o FOLDER\n"
                       "and writes a bank out in one of those formats:\n"
                       "  zdawnik-convert BANK --to moodle-xml|gift|aiken|csv -o FILE\n"
                       "What cannot be carried is reported as file:line: message and skipped.\n"
                       "Exit status: 0 all carried, 1 something not carried, 2 nothing written."));
    const QCommandLineOption help = parser.addHelpOption();
    const QCommandLineOption version = parser.addVersionOption();
    const QCommandLineOption output(
        {QStringLiteral("o"), QStringLiteral("output")},
        QStringLiteral("The bank folder to make (new or empty), or the file to write."),
        QStringLiteral("path"));
    const QCommandLineOption from(QStringLiteral("from"),
                                  QStringLiteral("The format of the inputs, instead of their extensions."),
                                  QStringLiteral("moodle-xml|gift|aiken|csv"));
    const QCommandLineOption to(QStringLiteral("to"), QStringLiteral("Write the bank out in this format."),
                                QStringLiteral("moodle-xml|gift|aiken|csv"));
    const QCommandLineOption categories(QStringLiteral("categories"),
                                        QStringLiteral("Put each category into a subfolder of its own."));
    const QCommandLineOption encoding(
        QStringLiteral("encoding"),
        QStringLiteral("auto: Windows-1250 when a file's characters fit, else UTF-8 (the default);\n"
                       "utf-8: always UTF-8."),
        QStringLiteral("auto|utf-8"), QStringLiteral("auto"));
    for (const QCommandLineOption& option : {output, from, to, categories, encoding})
        parser.addOption(option);
    parser.addPositionalArgument(QStringLiteral("inputs"),
                                 QStringLiteral("Files to import, or the bank folder to export."),
                                 QStringLiteral("INPUT... | BANK"));

    if (!parser.parse(application.arguments()))
        return Usage(parser, parser.errorText());
    if (parser.isSet(help))
        return Print(stdout, parser.helpText()) ? Converted : ConvertFailed;
    if (parser.isSet(version))
        return Print(stdout, "zdawnik-convert " + QGuiApplication::applicationVersion() + "\n")
                   ? Converted
                   : ConvertFailed;
    const QStringList inputs = parser.positionalArguments();
    if (!parser.isSet(output))
        return Usage(parser, QStringLiteral("-o FOLDER or -o FILE is missing"));
    if (inputs.isEmpty())
        return Usage(parser, QStringLiteral("name the files to import, or the bank to export"));

    // Texts are measured with the window's fonts, to tell which the window cuts.
    InstallFontSubstitutes();
    ConvertRun run(std::cout, std::cerr);
    if (parser.isSet(to)) {
        const std::optional<BankFormat> format = FormatByName(parser.value(to));
        if (!format)
            return Usage(parser, QStringLiteral("unknown format \"%1\"").arg(parser.value(to)));
        if (inputs.size() != 1)
            return Usage(parser, QStringLiteral("an export takes one bank folder"));
        if (parser.isSet(from) || parser.isSet(categories) || parser.isSet(encoding))
            return Usage(parser, QStringLiteral("--from, --categories and --encoding are for an import"));
        return run.runExport({inputs.front(), parser.value(output), *format});
    }
    ImportRequest request{inputs, parser.value(output), std::nullopt, {}};
    if (parser.isSet(from)) {
        request.From = FormatByName(parser.value(from));
        if (!request.From)
            return Usage(parser, QStringLiteral("unknown format \"%1\"").arg(parser.value(from)));
    }
    if (parser.value(encoding) != QLatin1String("auto") && parser.value(encoding) != QLatin1String("utf-8"))
        return Usage(parser,
                     QStringLiteral("unknown encoding \"%1\": auto or utf-8").arg(parser.value(encoding)));
    request.Options.AlwaysUtf8 = parser.value(encoding) == QLatin1String("utf-8");
    request.Options.Categories = parser.isSet(categories);
    return run.runImport(request);
}
