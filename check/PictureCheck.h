#pragma once

#include "base/TextEncoding.h"
#include "check/Finding.h"
#include "check/TextFit.h"

#include <filesystem>
#include <string>
#include <vector>

namespace zdawnik {

class PictureLoader;

// The picture loader of the checker's run, with its one metafile helper. Each question file's
// pictures share a time budget, as a question's do in the window.
PictureLoader& CheckerPictures();

// What is wrong with a picture a question line or answer line names, judged as the window loads it
// into its place: the name, the extension, the file, whether it loads, and its size. Findings carry
// no line; the caller knows it.
std::vector<Finding> CheckPicture(const std::filesystem::path& bankDir, const std::string& name,
                                  TextEncoding encoding, QuestionPlace place);

// True when a picture name leads out of the bank folder: a ".." among its parts, an absolute path,
// or a drive letter. Both "/" and "\" separate the parts.
bool LeadsOutOfBank(std::string_view name);

} // namespace zdawnik
