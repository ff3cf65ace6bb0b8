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
            m_utf16->feed(slice, m_decoded);
            feedText(m_decoded);
            m_decoded.clear();
            continue;
        }
        if (!m_mark)
            m_sniffer.feed(slice);
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
            if (text[i] == EndOfText) {
                m_state = State::Ended;
                return;
            }
            m_state = State::InLine;
            break;
        case State::InLine: {
            const std::size_t stop = std::min(lineFeed.from(i), endOfText.from(i));
            takeText(text.substr(i, stop - i));
            if (stop == text.size())
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

void QuestionLineReader::takeText(std::string_view run)
{
    if (m_result.LineCount >= MaxQuestionLines)
        return;
    // A carriage return never belongs to the text: before a line feed it is part of the line end,
    // anywhere else it is dropped and the line goes on. Only the part that is kept is searched.
    while (!run.empty() && !m_lineCut) {
        const std::size_t room = MaxLineBytes - m_line.size();
        const std::size_t carriageReturn = run.substr(0, room + 1).find(CarriageReturn);
        const std::string_view piece = run.substr(0, carriageReturn);
        keep(piece.substr(0, room));
        if (piece.size() > room) {
            m_lineCut = true;
            m_validator.dropOpenSequence();
            // Where one line is this long, others may be: room for all of them at once spares the
            // joined text its copies as it grows.
            m_result.JoinedText.reserve(MaxQuestionLines * (MaxLineBytes + StopMarker.size()));
        }
        if (carriageReturn == std::string_view::npos)
            return;
        run.remove_prefix(carriageReturn + 1);
    }
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
    if (m_result.LineCount <= MaxQuestionLines) {
        m_validator.feed(LineFeed);
        m_result.StopMarkers.push_back(static_cast<int>(CountOf(m_line, StopMarker)));
        if (m_lineCut)
            m_result.CutLines.push_back(m_result.LineCount);
        m_result.JoinedText += m_line;
        m_result.JoinedText += StopMarker;
    }
    m_line.clear();
    m_lineCut = false;
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
    for (std::size_t done; (done = file.read(buffer.data(), buffer.size())) > 0;)
        reader.feed(std::string_view(buffer.data(), done));
    return reader.finish();
}

} // namespace zdawnik
