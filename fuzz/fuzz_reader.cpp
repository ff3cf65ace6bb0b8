// Fuzz target: the bytes of a question file through the line reader and the parser, into the record
// and a view, as the window reads a file.
//
// The reader is fed the bytes twice, whole and in pieces whose sizes the bytes themselves choose,
// and must come to the same lines both times: the window reads a file in 64 KB blocks, so a byte-order
// mark, a CR LF or a byte 26 may fall on any boundary. The view then reads everything it is handed,
// as the window does, so that the sanitizers see every text the parser produced.

#include "bank/PictureName.h"
#include "bank/Question.h"
#include "bank/QuestionReader.h"
#include "bank/QuestionView.h"
#include "base/Errors.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "fuzz/FuzzSupport.h"

using namespace zdawnik;
using zdawnik::fuzz::IsValidUtf8;
using zdawnik::fuzz::Require;

namespace {

constexpr std::string_view StopMarker = "[stop]";

// Reads bytes in pieces of 1 to 8 bytes, each size taken from the byte that starts the piece.
QuestionLines ReadInPieces(std::string_view bytes)
{
    QuestionLineReader reader;
    while (!bytes.empty()) {
        const std::size_t size = std::min<std::size_t>(bytes.size(), (unsigned char)bytes.front() % 8 + 1);
        reader.feed(bytes.substr(0, size));
        bytes.remove_prefix(size);
    }
    return reader.finish();
}

void CheckLines(const QuestionLines& lines)
{
    const int kept = std::min(lines.LineCount, MaxQuestionLines);
    Require(lines.LineCount >= 0, "a line count is never negative");
    Require((lines.LineCount == 0) == lines.JoinedText.empty(),
            "the joined text is empty exactly without lines");
    Require(kept == 0 || lines.JoinedText.ends_with(StopMarker), "every kept line ends with [stop]");
    Require(lines.JoinedText.find_first_of(std::string_view("\n\r\x1A", 3)) == std::string::npos,
            "line ends, carriage returns and byte 26 never reach the text");
    Require(lines.StopMarkers.size() == std::size_t(kept), "every kept line says how many [stop] it holds");
    int previousCut = 0;
    for (const int line : lines.CutLines) {
        Require(line > previousCut && line <= kept, "cut lines are kept lines, in order");
        previousCut = line;
    }
    Require(lines.JoinedText.size() <= std::size_t(kept) * (MaxLineBytes + StopMarker.size()),
            "no kept line is longer than the bound");
    // Every "[stop]" is either a line end or one that a kept line holds.
    std::size_t markers = 0;
    for (std::size_t at = lines.JoinedText.find(StopMarker); at != std::string::npos;
         at = lines.JoinedText.find(StopMarker, at + StopMarker.size()))
        ++markers;
    std::size_t held = 0;
    for (const int count : lines.StopMarkers) {
        Require(count >= 0, "a line holds no negative number of [stop]");
        held += std::size_t(count);
    }
    Require(markers == std::size_t(kept) + held, "one [stop] per kept line, and those the lines hold");
}

// The file line of a field: 0 only for a field the file had no line for, otherwise a kept line, and
// never before the line of an earlier field.
void CheckFieldLine(int line, int& previous, const QuestionLines& lines)
{
    Require(line >= 0 && line <= std::min(lines.LineCount, MaxQuestionLines),
            "a field's line is a kept line");
    if (line == 0)
        return;
    Require(line >= previous, "fields come from the file's lines in order");
    previous = line;
}

void CheckText(const std::string& text, TextEncoding encoding)
{
    const std::string utf8 = ToUtf8(text, encoding);
    Require(IsValidUtf8(utf8), "texts convert to valid UTF-8");
    if (HeldEncoding(encoding) == TextEncoding::Utf8 && IsValidUtf8(text))
        Require(utf8 == text, "valid UTF-8 converts to itself");
    if (HasPictureTag(text)) {
        const std::string name = PictureName(text);
        Require(name.size() <= text.size() && text.find(name) != std::string::npos,
                "a picture name is a piece of its line");
        Require(WithoutPictureTag(text).size() < text.size(), "taking out a picture tag shortens the line");
        IsPictureExtension(PictureExtension(ToUtf8(name, encoding)));
    } else {
        Require(WithoutPictureTag(text) == text, "a line without a picture tag stays as it is");
    }
}

void CheckKey(const std::string& key, TextEncoding encoding)
{
    Require(key.size() <= 4, "a key is one character");
    if (encoding == TextEncoding::Windows1250)
        Require(key.size() <= 1, "a Windows-1250 character is one byte");
    CheckText(key, encoding);
}

// A view that takes in everything the parser hands it, as the window does, and checks the order of
// the calls against the promises of QuestionView.
class ReadingView : public QuestionView
{
public:
    explicit ReadingView(int lineCount) : m_lineCount(lineCount) {}

    void showFileName(const std::string&) override { Require(false, "the parser never shows a file name"); }
    void beginChoiceQuestion() override
    {
        Require(m_step == Step::Start, "a question begins once");
        m_step = Step::Begun;
        m_choice = true;
    }
    void beginSentenceQuestion() override
    {
        Require(m_step == Step::Start, "a question begins once");
        m_step = Step::Begun;
        m_choice = false;
    }
    void showQuestionLine(const Question& question) override
    {
        Require(m_step == Step::Begun, "the question line comes right after the beginning");
        Require(question.isChoice() == m_choice, "the record's kind is the kind begun");
        m_step = Step::Body;
        CheckText(question.Header, question.Encoding);
        CheckText(question.Body, question.Encoding);
    }
    void placeAnswers(int count) override
    {
        Require(m_step == Step::Body && m_choice, "answers are placed once, after the question line");
        Require(count == m_lineCount - 2 && count <= MaxAnswers, "one answer per line after the second");
        m_step = Step::Answers;
        m_expected = count;
    }
    void showAnswer(int n, const Question& question) override
    {
        Require(m_step == Step::Answers, "answers are shown after they are placed");
        Require(n == m_shown + 1 && n <= m_expected, "answers are shown in order, each once");
        m_shown = n;
        CheckText(question.Lines[n], question.Encoding);
        CheckKey(question.Keys[n], question.Encoding);
        Require(question.Keys[n] == CharacterAt(question.Header, std::size_t(n) + 1, question.Encoding),
                "the key of answer n is character n + 1 of the header");
    }
    void hideLists() override
    {
        Require(m_step == Step::Body && !m_choice, "lists are hidden once, after the question line");
        m_step = Step::Lists;
    }
    void showList(int n, const std::vector<std::string>& options, const Question& question) override
    {
        Require(m_step == Step::Lists, "lists are shown after they are hidden");
        Require(n == m_shown + 1 && n <= MaxLists, "lists are shown in order, at most four");
        m_shown = n;
        for (const std::string& option : options) {
            Require(option.find(";;") == std::string::npos, "an option holds no separator");
            CheckText(option, question.Encoding);
        }
        CheckText(question.Lines[n], question.Encoding);
        Require(question.Lines[n].find(";;") == std::string::npos,
                "what is left of a list line has no separator");
        CheckKey(question.Keys[n], question.Encoding);
    }
    void reportError(const std::string&, const std::string&) override
    {
        Require(false, "the parser throws its errors, it does not report them");
    }

    void finished(const Question& question) const
    {
        Require(m_step != Step::Start && m_step != Step::Begun, "a parsed question shows its question line");
        if (m_choice)
            Require(m_step == Step::Answers && m_shown == std::max(m_expected, 0), "every answer is shown");
        else
            Require(m_step == Step::Lists, "a sentence question hides its lists");
        for (int k = m_shown + 1; k <= MaxAnswers; ++k)
            Require(question.Lines[k].empty() && question.Keys[k] == "0",
                    "slots past the shown ones are reset");
    }

private:
    enum class Step
    {
        Start,
        Begun,
        Body,
        Answers,
        Lists,
    };
    int m_lineCount;
    Step m_step = Step::Start;
    bool m_choice = false;
    int m_expected = 0;
    int m_shown = 0;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const QuestionLines lines = ReadQuestionLines(bytes);
    CheckLines(lines);

    const QuestionLines pieces = ReadInPieces(bytes);
    Require(pieces.JoinedText == lines.JoinedText && pieces.LineCount == lines.LineCount &&
                pieces.Encoding == lines.Encoding && pieces.StopMarkers == lines.StopMarkers &&
                pieces.CutLines == lines.CutLines && pieces.UnmarkedUtf16 == lines.UnmarkedUtf16,
            "reading in pieces gives the lines of reading whole");

    if (!IsShownLineCount(lines.LineCount))
        return 0; // the window never shows such a file

    Question question;
    ReadingView view(lines.LineCount);
    try {
        ShowQuestion(lines, question, view);
    } catch (const ELineTooLong&) {
        Require(!lines.CutLines.empty(), "only a file with a cut line has a line too long");
        return 0;
    } catch (const ETooManyAnswers&) {
        Require(lines.LineCount - 2 > MaxAnswers, "only a question of more than twelve answers has too many");
        return 0;
    } catch (const EConvertError&) {
        return 0; // a sentence header whose list count is no number
    }
    view.finished(question);
    int previous = 0;
    CheckFieldLine(question.FileLines.Header, previous, lines);
    Require(question.FileLines.Header == 1, "the header is the first line");
    CheckFieldLine(question.FileLines.Body, previous, lines);
    for (int k = 1; k <= MaxAnswers; ++k)
        CheckFieldLine(question.FileLines.Lines[k], previous, lines);
    return 0;
}
