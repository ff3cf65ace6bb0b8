// Fuzz target: the bytes of a file of another tool (Moodle XML, GIFT, Aiken or CSV, chosen at build
// time) through the converter's reader, and every question it takes through the bank writer and back
// through the program's own reader.
//
// A question the bank format carries must come back as it went: the same kind, texts, answers, flags,
// lists, options and keys, whatever the source held. Reports stand on lines of the source and are
// one line each.

#include "bank/PictureName.h"
#include "bank/Question.h"
#include "bank/QuestionReader.h"
#include "bank/QuestionView.h"
#include "base/VisibleText.h"
#include "widgets/Accessibility.h"

#include <QGuiApplication>

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "convert/AikenReader.h"
#include "convert/BankWriter.h"
#include "convert/CsvBankReader.h"
#include "convert/GiftReader.h"
#include "convert/MoodleXmlReader.h"
#include "fuzz/FuzzSupport.h"

using namespace zdawnik;
using zdawnik::fuzz::Require;

namespace {

constexpr std::string_view Format = ZDAWNIK_FUZZ_FORMAT;

void Read(const ImportSource& source, ConvertedBank& bank, ConvertReports& reports)
{
    if (Format == "moodle")
        ReadMoodleXml(source, bank, reports);
    else if (Format == "gift")
        ReadGift(source, bank, reports);
    else if (Format == "aiken")
        ReadAiken(source, bank, reports);
    else
        ReadCsvBank(source, bank, reports);
}

// What the window is handed of a question file.
class ReadBackView : public QuestionView
{
public:
    void showFileName(const std::string&) override {}
    void beginChoiceQuestion() override {}
    void beginSentenceQuestion() override {}
    void showQuestionLine(const Question&) override {}
    void placeAnswers(int count) override { Answers = count; }
    void showAnswer(int, const Question&) override {}
    void hideLists() override {}
    void showList(int, const std::vector<std::string>& options, const Question&) override
    {
        Lists.push_back(options);
    }
    void reportError(const std::string&, const std::string&) override { Failed = true; }

    int Answers = 0;
    std::vector<std::vector<std::string>> Lists;
    bool Failed = false;
};

QString Shown(const std::string& text, TextEncoding encoding)
{
    return CaptionText(QString::fromStdString(ToUtf8(text, encoding)));
}

// The question as the program reads the file the bank writer makes of it.
void ReadBack(const ConvertedQuestion& question)
{
    std::map<int, QString> pictures;
    for (const ItemText* item : {&question.Body})
        if (item->hasPicture())
            pictures[item->Picture] = QStringLiteral("p.png");
    for (const ChoiceAnswer& answer : question.Answers)
        if (answer.Content.hasPicture())
            pictures[answer.Content.Picture] = QStringLiteral("p.png");
    const QuestionFileBytes file = QuestionFile(question, pictures, false);
    const QuestionLines lines =
        ReadQuestionLines(std::string_view(file.Bytes.constData(), std::size_t(file.Bytes.size())));
    Require(IsShownLineCount(lines.LineCount), "the file is one the program shows");
    Question read;
    ReadBackView view;
    ShowQuestionLines(lines, read, view);
    Require(!view.Failed, "the reader takes the file without an error");
    const TextEncoding encoding = read.Encoding;
    Require((encoding == TextEncoding::Utf8) == file.Utf8,
            "the file is read in the encoding it was written in");
    const auto sameItem = [&](const std::string& line, const ItemText& item, bool sentence) {
        Require(HasPictureTag(line) == item.hasPicture(), "a picture line comes back as a picture line");
        if (!item.hasPicture() || sentence)
            Require(Shown(item.hasPicture() ? WithoutPictureTag(line) : line, encoding) == item.Text,
                    "a text comes back as it went");
    };
    if (question.Kind == QuestionKind::Choice) {
        Require(read.isChoice(), "a choice question comes back as one");
        sameItem(read.Body, question.Body, false);
        Require(view.Answers == int(question.Answers.size()), "every answer comes back");
        for (int k = 1; k <= view.Answers; ++k) {
            sameItem(read.Lines[k], question.Answers[std::size_t(k - 1)].Content, false);
            Require(read.isRightAnswer(k) == question.Answers[std::size_t(k - 1)].Right, "flags come back");
        }
        return;
    }
    Require(!read.isChoice(), "a sentence question comes back as one");
    sameItem(read.Body, question.Body, true);
    Require(view.Lists.size() == question.Lists.size(), "every list comes back");
    for (std::size_t n = 0; n < view.Lists.size(); ++n) {
        QStringList options;
        for (const std::string& option : view.Lists[n])
            options << Shown(option, encoding);
        Require(options == question.Lists[n].Options, "options come back");
        Require(read.Keys[int(n + 1)] == std::to_string(question.Lists[n].Right), "keys come back");
    }
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    // HTML is read by Qt's text documents.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static QGuiApplication application(*argc, *argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    // Pictures a spreadsheet names are looked up in a folder that holds none.
    const ImportSource source{QByteArray(reinterpret_cast<const char*>(data), qsizetype(size)),
                              QStringLiteral("wejscie"), QDir(QStringLiteral("/nonexistent"))};
    ConvertedBank bank;
    ConvertReports reports;
    Read(source, bank, reports);
    for (const ConvertReport& report : reports) {
        Require(report.Line >= 0 && report.Column >= 0, "a report stands on a line, or on none");
        const std::string printed = VisibleText(ReportLine(report).toStdString());
        Require(printed.find('\n') == std::string::npos, "a report is printed as one line");
    }
    for (const ConvertedQuestion& question : bank.Questions) {
        Require(question.SourceLine >= 1, "a question stands on a line of its source");
        if (!WhyNotCarried(question, bank))
            ReadBack(question);
    }
    return 0;
}
