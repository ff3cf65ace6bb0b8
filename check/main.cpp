// zdawnik-check [--json] [DIR]: reads every question file of a bank exactly as Zdawnik does and
// reports what the program will show and what is wrong. Exit status: 0 no problems, 1 problems,
// 2 the directory cannot be read.

#include "bank/StudyPool.h"
#include "base/Platform.h"
#include "check/BankCheck.h"

#include <cstdio>
#include <cstring>
#include <iostream>

using namespace zdawnik;

int main(int argc, char** argv)
{
    bool json = false;
    std::filesystem::path bankDir;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--json") == 0) {
            json = true;
        } else if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
            std::cout << "Usage: zdawnik-check [--json] [DIR]\n"
                         "Checks the question files (*.txt) of a Zdawnik bank; DIR defaults to the\n"
                         "folder \"baza\" beside this program.\n"
                         "Exit status: 0 no problems, 1 some files have problems, 2 DIR cannot be read.\n";
            return 0;
        } else if (bankDir.empty()) {
            bankDir = argv[i];
        } else {
            std::cerr << "zdawnik-check: one directory only (see --help)\n";
            return 2;
        }
    }
    if (bankDir.empty())
        bankDir = platform::JoinName(platform::ExecutableDirectory(), "baza");

    std::vector<std::string> names;
    const bool listed = platform::ListDirectory(bankDir, [&](std::string_view name) {
        if (IsQuestionFileName(name))
            names.emplace_back(name);
    });
    if (!listed) {
        std::cerr << "zdawnik-check: cannot read the directory " << bankDir.string() << "\n";
        return 2;
    }

    int withProblems = 0;
    for (const std::string& name : names) {
        const FileReport report = CheckQuestionFile(bankDir, name);
        if (!report.Problems.empty())
            ++withProblems;
        if (json) {
            std::cout << ToJson(report) << '\n';
        } else {
            for (const std::string& line : ToTextLines(report))
                std::cout << line << '\n';
        }
    }
    if (!json)
        std::cout << names.size() << " question file(s), " << withProblems << " with problems\n";
    return withProblems == 0 ? 0 : 1;
}
