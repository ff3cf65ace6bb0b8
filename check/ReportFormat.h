#pragma once

#include <iosfwd>
#include <string>
#include <vector>

namespace zdawnik {

struct FileReport;
struct Finding;

// One line of JSON (no line end) with the report's fields, texts in UTF-8; "problems" lists the
// findings as {line, code, message}, line null for the whole file. Written straight to out, so that a
// report of long lines is never held twice.
void WriteJson(const FileReport& report, std::ostream& out);
std::string ToJson(const FileReport& report);

// The JSON line for a folder that has no question to ask: {bank, problems}.
void WriteBankJson(const std::string& folder, const Finding& finding, std::ostream& out);

// One line per finding, "path:line: message" or "path: message" for the whole file, as editors and
// terminals jump to. With summary, a first line tells what the program shows of the file.
std::vector<std::string> ToTextLines(const FileReport& report, bool summary);

// The last line of a text report that has something to say: how many files were checked and how
// many problems they hold.
std::string CountLine(int files, int problems);

} // namespace zdawnik
