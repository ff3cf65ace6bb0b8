#pragma once

#include "base/TextEncoding.h"
#include "base/Utf16Sniffer.h"

#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zdawnik {

namespace platform {
class InputFile;
}
class Utf16Decoder;

// The most bytes of one line that the reader takes. A line that goes on past them makes the file one
// the program refuses, and the reader stops there: no label shows so much, and a file of one endless
// line costs no more than this.
inline constexpr std::size_t MaxLineBytes = 64 * 1024;

// The lines of a question file joined for the parser: each line followed by "[stop]".
struct QuestionLines
{
    std::string JoinedText;
    // The lines read. The reader stops at the start of a line past MaxQuestionLines, so a count of
    // MaxQuestionLines + 1 stands for that many lines or more.
    int LineCount = 0;
    TextEncoding Encoding = TextEncoding::Windows1250;
    // For each kept line in order, how many "[stop]" its own text holds: each one splits the line
    // once more, and every later field moves down by one.
    std::vector<int> StopMarkers;
    // The number (from 1) of the line that went on past MaxLineBytes, the last line read: only its
    // first MaxLineBytes bytes are in JoinedText.
    std::vector<int> CutLines;
    // For a file without a byte-order mark whose bytes look like UTF-16 text (a zero byte in most
    // second places), which one: TextEncoding::Utf16Le or Utf16Be. The file is read by the line
    // rules all the same, byte by byte.
    std::optional<TextEncoding> UnmarkedUtf16;
};

// Splits bytes into lines by the question file's line rules as they stream past. UTF-16 behind its
// byte-order mark is turned into UTF-8 first, and the rules apply to its characters. A line ends at a
// line feed, carriage returns never belong to a line's text, byte 26 at the start of a line ends the
// file and inside a line ends that line's text. The reader takes the lines a question may have
// (MaxQuestionLines), each up to MaxLineBytes, and stops as soon as the file shows it is no question
// the program shows: a line goes on past MaxLineBytes, or a line past MaxQuestionLines begins. So any
// file costs at most about MaxQuestionLines x MaxLineBytes of reading and of memory, however large it
// is or however fast it grows. Past a byte 26 inside a line, the rest of the line is searched for its
// end, not looked at one by one.
class QuestionLineReader
{
public:
    QuestionLineReader();
    ~QuestionLineReader();
    QuestionLineReader(QuestionLineReader&&) noexcept;
    QuestionLineReader& operator=(QuestionLineReader&&) noexcept;

    void feed(std::string_view bytes);
    // True once the reader needs no more bytes: the file has ended (byte 26) or is refused. Later
    // bytes are ignored.
    bool done() const;
    // Call once after the last byte.
    QuestionLines finish();

private:
    enum class State
    {
        LineStart,
        InLine,
        SkippingRest,
        Ended,
    };
    void probe(char byte);
    void endProbe(std::optional<TextEncoding> mark);
    void feedAfterMark(std::string_view bytes);
    void feedText(std::string_view text);
    // False when the line went past MaxLineBytes, which ends the reading.
    bool takeText(std::string_view run);
    void keep(std::string_view text);
    void endLine();

    State m_state = State::LineStart;
    std::string m_probe; // the first bytes of the file, until it is known whether they are a byte-order mark
    bool m_probing = true;
    std::optional<TextEncoding> m_mark; // the encoding the byte-order mark names
    std::unique_ptr<Utf16Decoder> m_utf16;
    std::string m_decoded; // UTF-16 turned into UTF-8, on its way to the line rules
    Utf16Sniffer m_sniffer;
    std::string m_line;
    bool m_lineCut = false; // the line has more text than it keeps
    Utf8Validator m_validator;
    QuestionLines m_result;
};

// Reads a whole byte string by the line rules.
QuestionLines ReadQuestionLines(std::string_view bytes);

// Reads an open file by the line rules, in blocks, until its end or until the reader is done.
// Read failures throw EInOutError.
QuestionLines ReadQuestionLines(platform::InputFile& file);

} // namespace zdawnik
