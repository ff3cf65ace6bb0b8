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

// The most bytes of one line that the reader keeps. The rest of a longer line is read and belongs to
// the line all the same (its line feed ends it, its byte 26 counts), but it is not kept: no label
// shows so much, and a file of one endless line costs no memory.
inline constexpr std::size_t MaxLineBytes = 64 * 1024;

// The lines of a question file joined for the parser: each line followed by "[stop]".
struct QuestionLines
{
    std::string JoinedText;
    int LineCount = 0;
    TextEncoding Encoding = TextEncoding::Windows1250;
    // For each kept line in order, how many "[stop]" its own text holds: each one splits the line
    // once more, and every later field moves down by one.
    std::vector<int> StopMarkers;
    // Numbers (from 1) of the kept lines longer than MaxLineBytes: only their first MaxLineBytes
    // bytes are in JoinedText.
    std::vector<int> CutLines;
    // For a file without a byte-order mark whose bytes look like UTF-16 text (a zero byte in most
    // second places), which one: TextEncoding::Utf16Le or Utf16Be. The file is read by the line
    // rules all the same, byte by byte.
    std::optional<TextEncoding> UnmarkedUtf16;
};

// Splits bytes into lines by the question file's line rules as they stream past. UTF-16 behind its
// byte-order mark is turned into UTF-8 first, and the rules apply to its characters. A line ends at a
// line feed, carriage returns never belong to a line's text, byte 26 at the start of a line ends the
// file and inside a line ends that line's text. Only the lines a question may have (MaxQuestionLines)
// are kept, each
// up to MaxLineBytes; the others are counted, so a huge file costs time but no memory. The bytes
// past what is kept are searched for line ends and byte 26, not looked at one by one, so a file
// without line feeds reads as fast as one with them.
class QuestionLineReader
{
public:
    QuestionLineReader();
    ~QuestionLineReader();
    QuestionLineReader(QuestionLineReader&&) noexcept;
    QuestionLineReader& operator=(QuestionLineReader&&) noexcept;

    void feed(std::string_view bytes);
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
    void takeText(std::string_view run);
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

// Reads an open file to its end by the line rules, in blocks. Read failures throw EInOutError.
QuestionLines ReadQuestionLines(platform::InputFile& file);

} // namespace zdawnik
