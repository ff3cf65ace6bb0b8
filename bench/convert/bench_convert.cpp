// The converter's import against its floor: importing 10,000 questions from Moodle XML against reading
// that XML with QXmlStreamReader and writing the same question files bare.

#include "widgets/LayoutFonts.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QTemporaryDir>
#include <QXmlStreamReader>

#include <chrono>
#include <unistd.h>
#include <vector>

#include "bench/BenchOutput.h"
#include "convert/BankWriter.h"
#include "convert/MoodleXmlReader.h"

using namespace zdawnik;
using namespace zdawnik::bench;

namespace {

constexpr int Questions = 10000;
constexpr int Rounds = 11;

// A quiz as a course platform exports it: HTML texts in paragraphs, Polish letters, four answers,
// one right, and the platform's empty feedback.
QByteArray MakeQuiz()
{
    QByteArray xml = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<quiz>\n";
    for (int i = 0; i < Questions; ++i) {
        const QByteArray n = QByteArray::number(i);
        xml +=
            "  <question type=\"multichoice\">\n    <name><text>Pytanie " + n +
            "</text></name>\n"
            "    <questiontext format=\"html\"><text><![CDATA[<p>Który z portów (zestaw " +
            n +
            ") jest domyślnie używany przez protokół HTTPS?</p>]]></text></questiontext>\n"
            "    <generalfeedback format=\"html\"><text></text></generalfeedback>\n"
            "    <defaultgrade>1.0000000</defaultgrade>\n    <penalty>0</penalty>\n    <hidden>0</hidden>\n"
            "    <single>true</single>\n    <shuffleanswers>true</shuffleanswers>\n";
        for (const QByteArray& answer :
             {QByteArray::number(i % 100), QByteArray("443"), n + "5", QByteArray("110")})
            xml += "    <answer fraction=\"" + QByteArray(answer == "443" ? "100" : "0") +
                   "\" format=\"html\"><text><![CDATA[<p>" + answer +
                   "</p>]]></text><feedback format=\"html\"><text></text></feedback></answer>\n";
        xml += "  </question>\n";
    }
    return xml + "</quiz>\n";
}

void Import(const QByteArray& quiz, const QString& folder)
{
    ConvertedBank bank;
    ConvertReports reports;
    ReadMoodleXml({quiz, QStringLiteral("quiz.xml"), QDir()}, bank, reports);
    if (!WriteBank(bank, folder, {}, reports) || !reports.empty())
        qFatal("the import failed");
}

// The floor: every token of the XML read, and the files of the bank written as they are.
void ReadAndWriteBare(const QByteArray& quiz, const std::vector<std::pair<QString, QByteArray>>& files,
                      const QString& folder)
{
    QXmlStreamReader xml(quiz);
    qsizetype characters = 0;
    while (!xml.atEnd())
        if (xml.readNext() == QXmlStreamReader::Characters)
            characters += xml.text().size();
    if (xml.hasError() || characters == 0)
        qFatal("the XML did not read");
    QDir().mkpath(folder);
    for (const auto& [name, bytes] : files) {
        QFile file(folder + '/' + name);
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
            qFatal("cannot write");
    }
}

double Microseconds(const std::function<void()>& work)
{
    const auto start = std::chrono::steady_clock::now();
    work();
    return std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - start).count();
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    InstallFontSubstitutes();
    QTemporaryDir root;
    const QByteArray quiz = MakeQuiz();

    // The files an import writes, to be written bare.
    Import(quiz, root.filePath("wzor"));
    std::vector<std::pair<QString, QByteArray>> files;
    for (const QString& name : QDir(root.filePath("wzor")).entryList(QDir::Files)) {
        QFile file(root.filePath("wzor/" + name));
        file.open(QIODevice::ReadOnly);
        files.emplace_back(name, file.readAll());
    }
    if (files.size() != Questions)
        qFatal("the import wrote %zu files", files.size());

    // The two take turns round by round, each going first in every other round, so that a change in
    // the machine's load falls on both alike. The folders are removed between rounds, outside the
    // times, and the removal flushed to the disk, so that neither pays for it.
    std::vector<double> imports, floors;
    for (int round = 0; round < Rounds; ++round) {
        const auto import = [&] {
            imports.push_back(Microseconds([&] { Import(quiz, root.filePath("import")); }));
        };
        const auto bare = [&] {
            floors.push_back(Microseconds([&] { ReadAndWriteBare(quiz, files, root.filePath("bare")); }));
        };
        if (round % 2 == 0)
            import(), ::sync(), bare();
        else
            bare(), ::sync(), import();
        QDir(root.filePath("import")).removeRecursively();
        QDir(root.filePath("bare")).removeRecursively();
        ::sync();
    }
    ReportTimes("convert_import_moodle_10000", detail::Median(imports), detail::Median(floors), 2.0);
    return 0;
}
