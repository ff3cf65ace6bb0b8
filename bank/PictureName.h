#pragma once

#include "base/Platform.h"
#include "base/TextEncoding.h"

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zdawnik {

// The tags around a picture name, letter for letter.
inline constexpr std::string_view PictureOpenTag = "[img]";
inline constexpr std::string_view PictureCloseTag = "[/img]";

// The parts of a picture name between its separators, a backslash or a slash, empty parts
// included.
std::vector<std::string> PictureNameParts(std::string_view name);

// True when a question or answer line is a picture line: it holds "[img]", letter for letter.
bool HasPictureTag(std::string_view line);

// The picture name of a picture line: the text between the end of its first "[img]" and the start
// of its first "[/img]"; empty when there is no "[/img]" after the "[img]".
std::string PictureName(std::string_view line);

// The line with its picture tag taken out: from the first "[img]" to the end of the first "[/img]"
// after it, or to the end of the line when no "[/img]" follows.
std::string WithoutPictureTag(std::string_view line);

// The extension after the last dot of a picture name, in lower case; empty when there is none.
std::string PictureExtension(std::string_view name);

// True for the extensions the program can show (see pictures/PictureFormats.h).
bool IsPictureExtension(std::string_view extension);

// The file a picture name stands for in the bank directory. A backslash in the name separates
// directories. When no file has the exact name, a file whose name matches without regard to case
// is taken, so banks made on case-insensitive systems keep their pictures. The name is tried as
// UTF-8 and, for a Windows-1250 question, also as its own bytes. Nothing when no entry matches.
// The look-up takes time in proportion to the name's length, and lists each directory at most once.
// When facts is given and the exact name is a regular file, it receives that file's facts from the
// same look-up, so the caller need not ask the system again; otherwise it is left empty.
std::optional<std::filesystem::path> FindPictureFile(const std::filesystem::path& bankDir,
                                                     std::string_view name, TextEncoding encoding,
                                                     std::optional<platform::FileFacts>* facts = nullptr);

} // namespace zdawnik
