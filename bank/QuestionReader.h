#pragma once

#include "bank/QuestionLineReader.h"
#include "base/TextEncoding.h"

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace zdawnik {

struct Question;
class QuestionView;

// The first field of the joined lines: the header, also of a file that is not shown.
std::string HeaderField(const QuestionLines& lines);

// The flag of answer k in a choice header (character k + 1), and the key of list n in a sentence
// header (character n + 2); empty when the header is shorter.
std::string ChoiceFlag(std::string_view header, int k, TextEncoding encoding);
std::string ListKey(std::string_view header, int n, TextEncoding encoding);

// Fills question and view from the joined lines of one file (1 to 19 lines): the record is reset, the
// header decides the kind, and the parse and the display run interleaved. The record also keeps the
// file line each of its fields came from. Throws the bank's errors (and whatever the view throws); the
// record then holds what was filled up to that point. A file with a line cut at MaxLineBytes
// (ELineTooLong: what is left of the line is not what the file says) and a choice question of more
// than twelve answers are refused before anything is reset or shown.
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
