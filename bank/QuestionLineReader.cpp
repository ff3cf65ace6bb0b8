#include "bank/QuestionLineReader.h"

#include "bank/Question.h"
#include "base/Platform.h"
#include "base/Utf16Decoder.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace zdawnik {

namespace {

constexpr std::string_view StopMarker = "[stop]";
struct ByteOrderMark
{
    std::string_view bytes;
    TextEncoding encoding;
};
constexpr ByteOrderMark ByteOrderMarks[] = {
    {"\xEF\xBB\xBF", TextEncoding::Utf8},
    {"\xFF\xFE", TextEncoding::Utf16Le},
    {"\xFE\xFF", TextEncoding::Utf16Be},
};
constexpr char LineFeed = 10;
constexpr char CarriageReturn = 13;
constexpr char EndOfText = 26;

// The size of the blocks a file is read in.
constexpr std::size_t ReadBlockBytes = 64 * 1024;
constexpr std::size_t SliceBytes = 16 * 1024;

// Where the next of one byte stands in a text, from a position on. Found by memchr and remembered
// until the reader has passed it, so a text is searched once for each byte however many lines it has.
class NextOf
{
public:
    NextOf(std::string_view text, char byte) : m_text(text), m_byte(byte) {}

    // The position of the first such byte at or after from, or the text's size when there is none.
    std::size_t from(std::size_t from)
    {
        if (!m_known || m_at < from) {
            const void* found = std::memchr(m_text.data() + from, m_byte, m_text.size() - from);
            m_at = found ? static_cast<std::size_t>(static_cast<const char*>(found) - m_text.data())
                         : m_text.size();
            m_known = true;
        }
        return m_at;
    }

private:
    std::string_view m_text;
    char m_byte;
    std::size_t m_at = 0;
    bool m_known = false;
};

std::size_t CountOf(std::string_view text, std::string_view part)
{
    std::size_t count = 0;
    for (std::size_t at = text.find(part); at != std::string_view::npos;
         at = text.find(part, at + part.size()))
        ++count;
    return count;
}

} // namespace

QuestionLineReader::QuestionLineReader() = default;
QuestionLineReader::~QuestionLineReader() = default;
QuestionLineReader::QuestionLineReader(QuestionLineReader&&) noexcept = default;
QuestionLineReader& QuestionLineReader::operator=(QuestionLineReader&&) noexcept = default;

void QuestionLineReader::feed(std::string_view bytes)
{
    // A byte-order mark is only a mark at the very start of the file.
    while (m_probing && !bytes.empty()) {
        probe(bytes.front());
        bytes.remove_prefix(1);
    }
    if (!m_probing)
        feedAfterMark(bytes);
}

void QuestionLineReader::probe(char byte)
{
    m_probe += byte;
    bool beginning = false;
    for (const ByteOrderMark& mark : ByteOrderMarks) {
        if (m_probe == mark.bytes) {
            endProbe(mark.encoding);
            return;
        }
        beginning = beginning || mark.bytes.starts_with(m_probe);
    }
    if (!beginning)
        endProbe(std::nullopt);
}

void QuestionLineReader::endProbe(std::optional<TextEncoding> mark)
{
    m_probing = false;
    m_mark = mark;
    if (mark == TextEncoding::Utf16Le || mark == TextEncoding::Utf16Be)
        m_utf16 = std::make_unique<Utf16Decoder>(*mark);
    const std::string probed = std::move(m_probe);
    m_probe.clear();
    if (!mark)
        feedAfterMark(probed); // no mark: the bytes are text
}

void QuestionLineReader::feedAfterMark(std::string_view bytes)
{
    // A slice at a time: every search passes over a slice while it is still in the processor's
    // nearest cache, and what UTF-16 turns into stays small whatever the size of the piece.
    for (std::size_t at = 0; at < bytes.size(); at += SliceBytes) {
        const std::string_view slice = bytes.substr(at, SliceBytes);
        if (m_utf16) {
            if (done())
                return;
            m_utf16->feed(slice, m_decoded);
            feedText(m_decoded);
            m_decoded.clear();
            continue;
        }
        // The sniffer sees its first bytes of the file even past where the lines end, so that its
        // guess does not depend on how the bytes come in; it looks at no more than its sample.
        if (!m_mark)
            m_sniffer.feed(slice);
        else if (done())
            return;
        feedText(slice);
    }
}

void QuestionLineReader::feedText(std::string_view text)
{
    NextOf lineFeed(text, LineFeed), endOfText(text, EndOfText);
    std::size_t i = 0;
    while (i < text.size()) {
        switch (m_state) {
        case State::LineStart:
            if (text[i] == EndOfText || m_result.LineCount == MaxQuestionLines) {
                // A line after the last a question may have begins: the file is refused whatever
                // follows, so nothing more is read, and it is counted as that one line more.
                if (text[i] != EndOfText)
                    ++m_result.LineCount;
                m_state = State::Ended;
                return;
            }
            m_state = State::InLine;
            break;
        case State::InLine: {
            const std::size_t stop = std::min(lineFeed.from(i), endOfText.from(i));
            if (!takeText(text.substr(i, stop - i)) || stop == text.size())
                return;
            endLine();
            m_state = text[stop] == LineFeed ? State::LineStart : State::SkippingRest;
            i = stop + 1;
            break;
        }
        case State::SkippingRest: {
            const std::size_t stop = std::min(lineFeed.from(i), endOfText.from(i));
            if (stop == text.size())
                return;
            m_state = text[stop] == LineFeed ? State::LineStart : State::Ended;
            i = stop + 1;
            break;
        }
        case State::Ended:
            return;
        }
    }
}

bool QuestionLineReader::takeText(std::string_view run)
{
    // A carriage return never belongs to the text: before a line feed it is part of the line end,
    // anywhere else it is dropped and the line goes on. Only the part that is kept is searched.
    while (!run.empty()) {
        const std::size_t room = MaxLineBytes - m_line.size();
        const std::size_t carriageReturn = run.substr(0, room + 1).find(CarriageReturn);
        const std::string_view piece = run.substr(0, carriageReturn);
        keep(piece.substr(0, room));
        if (piece.size() > room) {
            // The line passes the bound: the file is refused whatever follows, so nothing more is
            // read. A file of one endless line costs one line's bytes.
            m_lineCut = true;
            m_validator.dropOpenSequence();
            endLine();
            m_state = State::Ended;
            return false;
        }
        if (carriageReturn == std::string_view::npos)
            return true;
        run.remove_prefix(carriageReturn + 1);
    }
    return true;
}

void QuestionLineReader::keep(std::string_view text)
{
    // The encoding is judged by the text that is kept, which is the whole text of any file that can
    // be shown; a file's bytes past what is kept are only searched for line ends.
    m_validator.feed(text);
    m_line.append(text);
}

void QuestionLineReader::endLine()
{
    ++m_result.LineCount;
    m_validator.feed(LineFeed);
    m_result.StopMarkers.push_back(static_cast<int>(CountOf(m_line, StopMarker)));
    if (m_lineCut)
        m_result.CutLines.push_back(m_result.LineCount);
    m_result.JoinedText += m_line;
    m_result.JoinedText += StopMarker;
    m_line.clear();
    m_lineCut = false;
}

bool QuestionLineReader::done() const
{
    return m_state == State::Ended;
}

QuestionLines QuestionLineReader::finish()
{
    if (m_probing)
        endProbe(std::nullopt);
    if (m_utf16) {
        m_utf16->finish(m_decoded);
        feedText(m_decoded);
        m_decoded.clear();
    }
    if (m_state == State::InLine)
        endLine();
    m_state = State::Ended;
    if (m_mark) {
        m_result.Encoding = *m_mark;
    } else {
        const bool utf8 = m_validator.valid() && m_validator.sawMultiByte();
        m_result.Encoding = utf8 ? TextEncoding::Utf8 : TextEncoding::Windows1250;
        m_result.UnmarkedUtf16 = m_sniffer.guess();
    }
    return std::move(m_result);
}

QuestionLines ReadQuestionLines(std::string_view bytes)
{
    QuestionLineReader reader;
    reader.feed(bytes);
    return reader.finish();
}

QuestionLines ReadQuestionLines(platform::InputFile& file)
{
    QuestionLineReader reader;
    std::array<char, ReadBlockBytes> buffer;
    // Reading stops where the reader has seen enough to refuse the file, so a huge file, or one
    // that grows as it is read, costs no more reading than one of 19 lines at the bound.
    for (std::size_t got; !reader.done() && (got = file.read(buffer.data(), buffer.size())) > 0;)
        reader.feed(std::string_view(buffer.data(), got));
    return reader.finish();
}

} // namespace zdawnik
