#include "bank/QuestionReader.h"

#include "bank/Question.h"
#include "bank/QuestionView.h"
#include "base/Errors.h"
#include "base/Platform.h"
#include "base/StrToInt.h"

#include <algorithm>
#include <new>
#include <vector>

namespace zdawnik {

namespace {

constexpr std::string_view StopMarker = "[stop]";
constexpr std::string_view OptionSeparator = ";;";

// Takes the fields of the joined text from the front, one "[stop]" at a time, and knows the file
// line each came from.
class FieldCursor
{
public:
    explicit FieldCursor(const QuestionLines& lines)
        : m_rest(lines.JoinedText), m_stopMarkers(lines.StopMarkers)
    {
    }

    // The next field; line is set to the file line it came from, 0 when no field is left.
    std::string next(int& line)
    {
        const std::size_t stop = m_rest.find(StopMarker);
        if (stop == std::string_view::npos) {
            m_rest = {};
            line = 0;
            return {};
        }
        std::string field(m_rest.substr(0, stop));
        m_rest.remove_prefix(stop + StopMarker.size());
        line = m_line;
        // A line's own "[stop]" ends a field without ending the line.
        const std::size_t index = static_cast<std::size_t>(m_line - 1);
        const int splits = index < m_stopMarkers.size() ? m_stopMarkers[index] : 0;
        if (++m_fieldOfLine > splits) {
            ++m_line;
            m_fieldOfLine = 0;
        }
        return field;
    }

private:
    std::string_view m_rest;
    const std::vector<int>& m_stopMarkers;
    int m_line = 1;
    int m_fieldOfLine = 0;
};

// Takes the options out of a list line: each option is followed by ";;", and what follows the last
// ";;" is left in line.
std::vector<std::string> TakeOptions(std::string& line)
{
    std::vector<std::string> options;
    std::size_t start = 0;
    for (std::size_t separator; (separator = line.find(OptionSeparator, start)) != std::string::npos;) {
        options.emplace_back(line, start, separator - start);
        start = separator + OptionSeparator.size();
    }
    line.erase(0, start);
    return options;
}

} // namespace

std::string HeaderField(const QuestionLines& lines)
{
    int line = 0;
    return FieldCursor(lines).next(line);
}

std::string ChoiceFlag(std::string_view header, int k, TextEncoding encoding)
{
    return CharacterAt(header, static_cast<std::size_t>(k) + 1, encoding);
}

std::string ListKey(std::string_view header, int n, TextEncoding encoding)
{
    return CharacterAt(header, static_cast<std::size_t>(n) + 2, encoding);
}

void ShowQuestion(const QuestionLines& lines, Question& question, QuestionView& view)
{
    const TextEncoding encoding = lines.Encoding;
    FieldCursor fields(lines);
    int headerLine = 0;
    const std::string header = fields.next(headerLine);
    if (!lines.CutLines.empty())
        throw ELineTooLong("Line " + std::to_string(lines.CutLines.front()) + " is longer than " +
                           std::to_string(MaxLineBytes) + " bytes, the longest line the program reads");
    const bool choice = IsChoiceHeader(header);
    if (choice && lines.LineCount - 2 > MaxAnswers)
        throw ETooManyAnswers("The question has " + std::to_string(lines.LineCount - 2) +
                              " answers; at most " + std::to_string(MaxAnswers) + " can be shown");

    for (int k = 1; k <= MaxAnswers; ++k) {
        question.Lines[k].clear();
        question.Keys[k].assign(1, '0');
        question.FileLines.Lines[k] = 0;
    }
    question.Encoding = encoding;
    question.Header = header;
    question.FileLines.Header = headerLine;

    if (choice) {
        view.beginChoiceQuestion();
        question.Body = fields.next(question.FileLines.Body);
        view.showQuestionLine(question);
        const int answers = lines.LineCount - 2;
        for (int k = 1; k <= answers; ++k) {
            question.Lines[k] = fields.next(question.FileLines.Lines[k]);
            question.Keys[k] = ChoiceFlag(question.Header, k, encoding);
        }
        view.placeAnswers(answers);
        for (int n = 1; n <= answers; ++n)
            view.showAnswer(n, question);
        return;
    }

    view.beginSentenceQuestion();
    question.Body = fields.next(question.FileLines.Body);
    view.showQuestionLine(question);
    const int lists = std::min(StrToInt(CharacterAt(question.Header, 2, encoding)), MaxLists);
    view.hideLists();
    for (int n = 1; n <= lists; ++n) {
        question.Lines[n] = fields.next(question.FileLines.Lines[n]);
        question.Keys[n] = ListKey(question.Header, n, encoding);
        const std::vector<std::string> options = TakeOptions(question.Lines[n]);
        view.showList(n, options, question);
    }
}

std::string ErrorReportText(const std::string& typeName, const std::string& message)
{
    return typeName + " error raised, with message : " + message;
}

namespace {

// Runs work and reports any error it throws through the view, in the reader's words. Returns whether
// the work went through.
template <typename Work> bool ReportingErrors(QuestionView& view, const Work& work)
{
    try {
        work();
        return true;
    } catch (const NamedError& error) {
        view.reportError(error.typeName(), error.message());
    } catch (const std::bad_alloc&) {
        view.reportError("EOutOfMemory", "Out of memory");
    } catch (const std::exception& error) {
        view.reportError("Exception", error.what());
    }
    return false;
}

} // namespace

void ShowQuestionLines(const QuestionLines& lines, Question& question, QuestionView& view)
{
    if (IsShownLineCount(lines.LineCount))
        ReportingErrors(view, [&] { ShowQuestion(lines, question, view); });
}

QuestionLines LoadQuestionFile(const std::filesystem::path& bankDir, const std::string& fileName,
                               Question& question, QuestionView& view)
{
    view.showFileName(fileName);
    platform::InputFile file(platform::JoinName(bankDir, fileName));
    QuestionLines lines;
    const bool read = ReportingErrors(view, [&] { lines = ReadQuestionLines(file); });
    file.close();
    if (read)
        ShowQuestionLines(lines, question, view);
    return lines;
}

} // namespace zdawnik
