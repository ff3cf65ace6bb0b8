#pragma once

#include "check/FileChecker.h"

#include <filesystem>
#include <iosfwd>
#include <string>
#include <vector>

namespace zdawnik {

// How a run reports.
struct CheckOptions
{
    bool Json = false;    // one JSON object per file instead of text lines
    bool Verbose = false; // text: a summary line for every file, before its problems
};

// Exit statuses of the checker.
enum CheckStatus : int
{
    NoProblems = 0,
    Problems = 1,
    CouldNotCheck = 2, // a folder or file could not be read, or the report could not be written
};

// One run of the checker over the folders and single files it was given, in that order, the files
// of a folder in the order of their names. Writes the report to out and what kept it from its job to
// err.
class CheckRun
{
public:
    CheckRun(CheckOptions options, std::ostream& out, std::ostream& err);

    CheckStatus run(const std::vector<std::filesystem::path>& paths);

private:
    void checkFolder(const std::filesystem::path& folder);
    void checkSingleFile(const std::filesystem::path& file);
    void report(const FileReport& report);
    void bankFinding(const std::filesystem::path& folder, FindingCode code, const std::string& message);
    void write(const std::string& line);
    // Ends a line of the report; false once the report cannot be written.
    bool endLine();
    void writeFailed();
    void cannot(const std::string& what);
    bool writing() const { return !m_writeFailed; }

    CheckOptions m_options;
    std::ostream& m_out;
    std::ostream& m_err;
    FileChecker m_checker;
    int m_files = 0;
    int m_problems = 0;
    bool m_couldNotCheck = false;
    bool m_writeFailed = false;
};

} // namespace zdawnik
