#pragma once

#include "check/FileReport.h"
#include "check/TextFit.h"

#include <filesystem>
#include <string>
#include <string_view>

namespace zdawnik {

struct QuestionLines;

// Checks question files: reads each as the program does, through the program's own reader, and
// finds every mistake that shows in the window, at its line. Needs a QGuiApplication, for measuring
// texts as the window's labels do.
class FileChecker
{
public:
    // The file of that name in folder; path is how the report names it.
    FileReport checkFile(const std::filesystem::path& folder, const std::string& name,
                         const std::string& path) const;

    // A file's bytes, its pictures looked up in folder.
    FileReport checkBytes(std::string_view bytes, const std::string& name,
                          const std::filesystem::path& folder) const;

private:
    void judge(FileReport& report, const QuestionLines& lines, const std::filesystem::path& folder) const;

    TextFit m_fit;
};

} // namespace zdawnik
