#include "bank/QuestionReader.h"

#include "bank/Question.h"
#include "bank/QuestionView.h"
#include "base/Errors.h"
#include "base/Platform.h"
#include "base/StrToInt.h"

#include <algorithm>
#include <array>
#include <new>
#include <vector>

namespace zdawnik {

namespace {

constexpr std::string_view StopMarker = "[stop]";
constexpr std::string_view OptionSeparator = ";;";
constexpr std::string_view ByteOrderMark = "\xEF\xBB\xBF";
constexpr char LineFeed = 10;
constexpr char CarriageReturn = 13;
constexpr char EndOfText = 26;

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

std::size_t CountOf(std::string_view text, std::string_view part)
{
    std::size_t count = 0;
    for (std::size_t at = text.find(part); at != std::string_view::npos;
         at = text.find(part, at + part.size()))
        ++count;
    return count;
}

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

void QuestionLineReader::feed(std::string_view bytes)
{
    if (m_probing) {
        // A byte-order mark is only a mark at the very start of the file.
        while (!bytes.empty() && m_probe.size() < ByteOrderMark.size()) {
            m_probe += bytes.front();
            bytes.remove_prefix(1);
            if (ByteOrderMark.substr(0, m_probe.size()) != m_probe)
                break;
        }
        if (m_probe.size() < ByteOrderMark.size() && ByteOrderMark.substr(0, m_probe.size()) == m_probe)
            return; // need more bytes to decide
        m_probing = false;
        m_byteOrderMark = m_probe == ByteOrderMark;
        if (!m_byteOrderMark)
            feedText(m_probe);
        m_probe.clear();
    }
    feedText(bytes);
}

void QuestionLineReader::feedText(std::string_view bytes)
{
    std::size_t i = 0;
    const std::size_t size = bytes.size();
    while (i < size && m_state != State::Ended) {
        const char c = bytes[i];
        switch (m_state) {
        case State::LineStart:
            if (c == EndOfText) {
                m_state = State::Ended;
                break;
            }
            m_state = State::InLine;
            continue; // the same byte, now inside the line
        case State::InLine: {
            // Take the run of ordinary bytes in one step.
            std::size_t end = i;
            while (end < size && bytes[end] != LineFeed && bytes[end] != CarriageReturn &&
                   bytes[end] != EndOfText)
                ++end;
            if (end > i) {
                const std::string_view run = bytes.substr(i, end - i);
                m_validator.feed(run);
                if (m_result.LineCount < MaxQuestionLines)
                    m_line.append(run);
                i = end;
                continue;
            }
            if (c == LineFeed) {
                endLine();
                m_state = State::LineStart;
            } else if (c == EndOfText) {
                endLine();
                m_state = State::SkippingRest;
            }
            // A carriage return never belongs to the text: before a line feed it is part of the line
            // end, anywhere else it is dropped and the line goes on.
            break;
        }
        case State::SkippingRest:
            if (c == LineFeed)
                m_state = State::LineStart;
            else if (c == EndOfText)
                m_state = State::Ended;
            break;
        case State::Ended:
            break;
        }
        ++i;
    }
}

void QuestionLineReader::endLine()
{
    m_validator.feed(LineFeed);
    ++m_result.LineCount;
    if (m_result.LineCount <= MaxQuestionLines) {
        m_result.StopMarkers.push_back(static_cast<int>(CountOf(m_line, StopMarker)));
        m_result.JoinedText += m_line;
        m_result.JoinedText += StopMarker;
    }
    m_line.clear();
}

QuestionLines QuestionLineReader::finish()
{
    if (m_probing) {
        m_probing = false;
        m_byteOrderMark = m_probe == ByteOrderMark;
        if (!m_byteOrderMark)
            feedText(m_probe);
        m_probe.clear();
    }
    if (m_state == State::InLine)
        endLine();
    m_state = State::Ended;
    const bool utf8 = m_byteOrderMark || (m_validator.valid() && m_validator.sawMultiByte());
    m_result.Encoding = utf8 ? TextEncoding::Utf8 : TextEncoding::Windows1250;
    return std::move(m_result);
}

QuestionLines ReadQuestionLines(std::string_view bytes)
{
    QuestionLineReader reader;
    reader.feed(bytes);
    return reader.finish();
}

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
        view.reportError(error.typeName(), error.what());
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
    const bool read = ReportingErrors(view, [&] {
        QuestionLineReader reader;
        std::array<char, 64 * 1024> buffer;
        for (std::size_t done; (done = file.read(buffer.data(), buffer.size())) > 0;)
            reader.feed(std::string_view(buffer.data(), done));
        lines = reader.finish();
    });
    file.close();
    if (read)
        ShowQuestionLines(lines, question, view);
    return lines;
}

} // namespace zdawnik
