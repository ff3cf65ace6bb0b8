#include "check/BankCheck.h"

#include "bank/PictureName.h"
#include "bank/Question.h"
#include "bank/QuestionReader.h"
#include "bank/QuestionView.h"
#include "base/Errors.h"
#include "base/Platform.h"
#include "pictures/PictureLoader.h"

#include <algorithm>
#include <array>
#include <nlohmann/json.hpp>

namespace zdawnik {

namespace {

using Json = nlohmann::ordered_json;

std::string Quoted(const std::string& utf8)
{
    return "\"" + utf8 + "\"";
}

// Collects what the reader shows, in the report's terms.
class ReportView : public QuestionView
{
public:
    explicit ReportView(FileReport& report) : m_report(report) {}

    void showFileName(const std::string&) override {}
    void beginChoiceQuestion() override {}
    void beginSentenceQuestion() override {}
    void showQuestionLine(const Question& question) override
    {
        m_report.Body = question.Body;
        if (HasPictureTag(question.Body))
            m_report.QuestionPicture = PictureName(question.Body);
    }
    void placeAnswers(int) override {}
    void showAnswer(int n, const Question& question) override
    {
        FileReport::Answer answer{question.Lines[n], question.Keys[n], std::nullopt};
        if (HasPictureTag(question.Lines[n]))
            answer.Picture = PictureName(question.Lines[n]);
        m_report.Answers.push_back(std::move(answer));
    }
    void hideLists() override {}
    void showList(int n, const std::vector<std::string>& options, const Question& question) override
    {
        m_report.Lists.push_back(FileReport::List{question.Keys[n], options, question.Lines[n]});
    }
    void reportError(const std::string&, const std::string&) override {}

private:
    FileReport& m_report;
};

std::string LowerAscii(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(),
                   [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; });
    return text;
}

std::vector<std::string> Fields(const std::string& joinedText)
{
    std::vector<std::string> fields;
    std::size_t start = 0;
    for (std::size_t stop; (stop = joinedText.find("[stop]", start)) != std::string::npos; start = stop + 6)
        fields.push_back(joinedText.substr(start, stop - start));
    return fields;
}

class Analysis
{
public:
    Analysis(FileReport& report, const QuestionLines& lines, const std::filesystem::path& bankDir,
             const PictureCheck& pictureCheck)
        : m_report(report), m_lines(lines), m_bankDir(bankDir), m_pictureCheck(pictureCheck)
    {
    }

    void run()
    {
        lineCount();
        if (!m_report.Shown)
            return;
        for (std::size_t i = 0; i < m_lines.StopMarkers.size(); ++i)
            if (m_lines.StopMarkers[i] > 0)
                problem("line " + std::to_string(i + 1) +
                        " contains \"[stop]\", which the program takes as a line break: every later line "
                        "moves down");
        tagCase();
        if (m_report.ReaderError)
            problem("the program reports: " +
                    ErrorReportText(m_report.ReaderError->Type, text(m_report.ReaderError->Message)));
        picture(2, m_report.QuestionPicture);
        if (m_report.Choice)
            choice();
        else
            sentence();
    }

private:
    std::string text(const std::string& raw) const { return ToUtf8(raw, m_report.Encoding); }
    void problem(std::string text) { m_report.Problems.push_back(std::move(text)); }

    void lineCount()
    {
        if (m_report.Lines == 0)
            problem("the file holds no line: the program never shows it");
        else if (m_report.Lines > MaxQuestionLines)
            problem("the file has " + std::to_string(m_report.Lines) + " lines, more than " +
                    std::to_string(MaxQuestionLines) + ": the program never shows it");
    }

    void tagCase()
    {
        const std::vector<std::string> fields = Fields(m_lines.JoinedText);
        for (std::size_t i = 0; i < fields.size(); ++i) {
            for (const std::string tag : {"[img]", "[/img]"}) {
                const std::string lower = LowerAscii(fields[i]);
                for (std::size_t at = lower.find(tag); at != std::string::npos;
                     at = lower.find(tag, at + 1)) {
                    const std::string written = fields[i].substr(at, tag.size());
                    if (written != tag) {
                        problem("line " + std::to_string(i + 1) + ": " + Quoted(written) +
                                " is no picture tag: the tags are written " + Quoted(tag) +
                                ", in small letters");
                        break;
                    }
                }
            }
        }
    }

    void picture(int line, const std::optional<std::string>& name)
    {
        if (!name)
            return;
        if (name->empty()) {
            problem("line " + std::to_string(line) +
                    ": the picture tag names no file (write [img]name[/img])");
            return;
        }
        if (const auto reason = m_pictureCheck(m_bankDir, *name, m_report.Encoding))
            problem("line " + std::to_string(line) + ": picture " + Quoted(text(*name)) + ": " + *reason);
    }

    void choice()
    {
        if (m_report.ReaderError)
            return;
        const int answers = m_report.Lines - 2;
        if (answers <= 0) {
            problem("the choice question has no answers");
            return;
        }
        int correct = 0;
        for (std::size_t k = 0; k < m_report.Answers.size(); ++k) {
            if (m_report.Answers[k].Key == RightAnswerKey)
                ++correct;
            picture(static_cast<int>(k) + 3, m_report.Answers[k].Picture);
        }
        if (correct == 0)
            problem("no answer is marked correct (no flag \"1\" in the header): the question can never be "
                    "answered right");
    }

    void sentence()
    {
        if (m_report.ReaderError)
            return;
        const std::string sentence = WithoutPictureTag(m_report.Body);
        for (std::size_t i = 0; i < m_report.Lists.size(); ++i) {
            const FileReport::List& list = m_report.Lists[i];
            const int n = static_cast<int>(i) + 1;
            const std::string name = "list " + std::to_string(n);
            if (n + 2 > m_report.Lines)
                problem(name + " has no line in the file: it offers no options");
            else if (list.Options.empty())
                problem(name + " (line " + std::to_string(n + 2) + ") has no \";;\": it offers no options");
            if (list.Key.empty())
                problem(name + " has no key: the header is too short");
            else if (list.Key.size() != 1 || list.Key[0] < '0' || list.Key[0] > '9')
                problem(name + ": the key " + Quoted(text(list.Key)) + " is not a digit");
            else if (static_cast<std::size_t>(list.Key[0] - '0') > list.Options.size())
                problem(name + ": the key " + list.Key + " points past its " +
                        std::to_string(list.Options.size()) +
                        " option(s): the question can never be answered right");
            const std::string placeholder =
                (m_report.Encoding == TextEncoding::Utf8 ? "{wyb\xC3\xB3r " : "{wyb\xF3r ") +
                std::to_string(n) + "}";
            if (sentence.find(placeholder) == std::string::npos)
                problem("the sentence has no {wybór " + std::to_string(n) + "} for " + name);
        }
    }

    FileReport& m_report;
    const QuestionLines& m_lines;
    const std::filesystem::path& m_bankDir;
    const PictureCheck& m_pictureCheck;
};

} // namespace

std::optional<std::string> CheckPicture(const std::filesystem::path& bankDir, const std::string& name,
                                        TextEncoding encoding)
{
    const std::string extension = PictureExtension(ToUtf8(name, encoding));
    if (!IsPictureExtension(extension))
        return "the program cannot show pictures of the extension " + Quoted(extension) +
               " (bmp, ico, emf, wmf, png, jpg and jpeg only)";
    const std::optional<std::filesystem::path> file = FindPictureFile(bankDir, name, encoding);
    if (!file)
        return std::string("no such file in the bank");
    // Loaded as the window loads it, so a damaged picture shows here before a user meets it.
    const PictureResult picture = LoadPicture(*file);
    if (!picture.ok())
        return "the program cannot show it: " + picture.error.toStdString();
    return std::nullopt;
}

FileReport CheckQuestionLines(const QuestionLines& lines, const std::string& fileName,
                              const std::filesystem::path& bankDir, const PictureCheck& pictureCheck)
{
    FileReport report;
    report.File = fileName;
    report.Lines = lines.LineCount;
    report.Encoding = lines.Encoding;
    report.Shown = IsShownLineCount(lines.LineCount);
    report.Header = HeaderField(lines);
    report.Choice = IsChoiceHeader(report.Header);
    if (report.Shown) {
        Question question;
        ReportView view(report);
        try {
            ShowQuestion(lines, question, view);
        } catch (const NamedError& error) {
            report.ReaderError = FileReport::Error{error.typeName(), error.what()};
        }
    }
    Analysis(report, lines, bankDir, pictureCheck).run();
    return report;
}

FileReport CheckQuestionBytes(std::string_view bytes, const std::string& fileName,
                              const std::filesystem::path& bankDir, const PictureCheck& pictureCheck)
{
    return CheckQuestionLines(ReadQuestionLines(bytes), fileName, bankDir, pictureCheck);
}

FileReport CheckQuestionFile(const std::filesystem::path& bankDir, const std::string& fileName,
                             const PictureCheck& pictureCheck)
{
    QuestionLineReader reader;
    try {
        platform::InputFile file(platform::JoinName(bankDir, fileName));
        std::array<char, 64 * 1024> buffer;
        for (std::size_t done; (done = file.read(buffer.data(), buffer.size())) > 0;)
            reader.feed(std::string_view(buffer.data(), done));
    } catch (const EInOutError& error) {
        FileReport report;
        report.File = fileName;
        report.ReaderError = FileReport::Error{error.typeName(), error.what()};
        report.Problems.push_back(std::string("the file cannot be opened or read: ") + error.what());
        return report;
    }
    return CheckQuestionLines(reader.finish(), fileName, bankDir, pictureCheck);
}

std::string ToJson(const FileReport& report)
{
    const auto text = [&](const std::string& raw) { return ToUtf8(raw, report.Encoding); };
    const auto optionalText = [&](const std::optional<std::string>& raw) {
        return raw ? Json(text(*raw)) : Json(nullptr);
    };
    Json answers = Json::array();
    for (const FileReport::Answer& answer : report.Answers)
        answers.push_back(Json{{"text", text(answer.Text)},
                               {"key", text(answer.Key)},
                               {"picture", optionalText(answer.Picture)}});
    Json lists = Json::array();
    for (const FileReport::List& list : report.Lists) {
        Json options = Json::array();
        for (const std::string& option : list.Options)
            options.push_back(text(option));
        lists.push_back(Json{{"key", text(list.Key)}, {"options", options}, {"rest", text(list.Rest)}});
    }
    Json json;
    json["file"] = ToUtf8(report.File, TextEncoding::Utf8);
    json["lines"] = report.Lines;
    json["shown"] = report.Shown;
    json["encoding"] = EncodingName(report.Encoding);
    json["kind"] = report.Choice ? "choice" : "sentence";
    json["header"] = text(report.Header);
    json["body"] = text(report.Body);
    json["questionPicture"] = optionalText(report.QuestionPicture);
    json["answers"] = answers;
    json["lists"] = lists;
    json["error"] = report.ReaderError ? Json{{"type", report.ReaderError->Type},
                                              {"message", text(report.ReaderError->Message)}}
                                       : Json(nullptr);
    json["problems"] = report.Problems;
    return json.dump(-1, ' ', false, Json::error_handler_t::replace);
}

std::vector<std::string> ToTextLines(const FileReport& report)
{
    const std::string file = ToUtf8(report.File, TextEncoding::Utf8);
    std::string summary;
    if (!report.Shown)
        summary = "not shown (" + std::to_string(report.Lines) + " lines)";
    else if (report.Choice)
        summary = "choice question, " + std::to_string(report.Answers.size()) + " answer(s), " +
                  std::to_string(
                      std::count_if(report.Answers.begin(), report.Answers.end(),
                                    [](const FileReport::Answer& a) { return a.Key == RightAnswerKey; })) +
                  " correct";
    else
        summary = "sentence question, " + std::to_string(report.Lists.size()) + " list(s)";
    summary += ", " + std::string(EncodingName(report.Encoding));
    std::vector<std::string> lines{file + ": " + summary};
    for (const std::string& problem : report.Problems)
        lines.push_back(file + ": problem: " + problem);
    return lines;
}

} // namespace zdawnik
