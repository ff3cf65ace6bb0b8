#pragma once

#include <QString>

#include <filesystem>
#include <string>

namespace zdawnik {

// How much of a question file is read to find its question line: the header and the question are at
// its head, and a table of thousands of questions must not read a huge file to its end.
inline constexpr std::size_t FirstLineReadBytes = 64 * 1024;

// The question line of a file in the bank, as the window would show it: its text, or "rysunek: NAME"
// for a picture question; empty when the file cannot be read or has no question line.
QString QuestionFirstLine(const std::filesystem::path& bankDir, const std::string& fileName);

} // namespace zdawnik
