#pragma once

#include "base/TextEncoding.h"

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace zdawnik {

struct Question;
class QuestionView;

// The lines of a question file joined for the parser: each line followed by "[stop]".
struct QuestionLines
{
    std::string JoinedText;
    int LineCount = 0;
    TextEncoding Encoding = TextEncoding::Windows1250;
    // For each kept line in order, how many "[stop]" its own text holds: each one splits the line
    // once more, and every later field moves down by one.
    std::vector<int> StopMarkers;
};

// Splits bytes into lines by the question file's line rules as they stream past: a line ends at a
// line feed, carriage returns never belong to a line's text, byte 26 at the start of a line ends the
// file and inside a line ends that line's text. Only the lines a question may have are kept; the
// others are counted, so a huge file costs time but no memory.
class QuestionLineReader
{
public:
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
    void feedText(std::string_view bytes);
    void endLine();

    State m_state = State::LineStart;
    std::string m_probe; // the first bytes of the file, until it is known whether they are a byte-order mark
    bool m_probing = true;
    bool m_byteOrderMark = false;
    std::string m_line;
    Utf8Validator m_validator;
    QuestionLines m_result;
};

// Reads a whole byte string by the line rules.
QuestionLines ReadQuestionLines(std::string_view bytes);

// The first field of the joined lines: the header, also of a file that is not shown.
std::string HeaderField(const QuestionLines& lines);

// The flag of answer k in a choice header (character k + 1), and the key of list n in a sentence
// header (character n + 2); empty when the header is shorter.
std::string ChoiceFlag(std::string_view header, int k, TextEncoding encoding);
std::string ListKey(std::string_view header, int n, TextEncoding encoding);

// Fills question and view from the joined lines of one file (1 to 19 lines): the record is reset, the
// header decides the kind, and the parse and the display run interleaved. The record also keeps the
// file line each of its fields came from. Throws the bank's errors (and whatever the view throws); the
// record then holds what was filled up to that point. A choice question of more than twelve answers is
// refused before anything is reset or shown.
void ShowQuestion(const QuestionLines& lines, Question& question, QuestionView& view);

// Shows the lines when the file has 1 to 19, as ShowQuestion does, but reports every error through
// view.reportError instead of throwing it.
void ShowQuestionLines(const QuestionLines& lines, Question& question, QuestionView& view);

// Shows fileName in the view, then reads the file of that name in bankDir and, when it has 1 to 19
// lines, shows it. A file that cannot be opened throws EInOutError to the caller; every later error is
// reported through view.reportError and goes no further. Returns what was read, for those who judge
// the file rather than show it.
QuestionLines LoadQuestionFile(const std::filesystem::path& bankDir, const std::string& fileName,
                               Question& question, QuestionView& view);

// The reader's own error report: "<typeName> error raised, with message : <message>".
std::string ErrorReportText(const std::string& typeName, const std::string& message);

} // namespace zdawnik
