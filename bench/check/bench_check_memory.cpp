// The checker's peak memory over question files of hundreds of megabytes, and over a file whose
// kept lines are all as long as the reader keeps them, above its peak over an empty bank; and the
// size of its JSON report of such a file. Each figure is the checker program itself, run in a
// fresh process.

#include "bank/Question.h"
#include "bank/QuestionLineReader.h"

#include <algorithm>
#include <cstdio>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <spawn.h>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <vector>

#include "bench/BenchOutput.h"
#include "bench/BigQuestionFiles.h"

extern char** environ;

using namespace zdawnik;
using namespace zdawnik::bench;

namespace {

struct CheckerRun
{
    long peakKilobytes = 0;
    std::uintmax_t outputBytes = 0;
};

// One run of the checker over bank, its report written to a file; its peak resident memory.
CheckerRun RunChecker(const std::vector<std::string>& arguments, const std::filesystem::path& report)
{
    std::vector<std::string> all{ZDAWNIK_CHECK_PROGRAM};
    all.insert(all.end(), arguments.begin(), arguments.end());
    std::vector<char*> argv;
    for (std::string& argument : all)
        argv.push_back(argument.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, report.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    pid_t child = 0;
    CheckerRun run;
    if (posix_spawn(&child, argv[0], &actions, nullptr, argv.data(), environ) == 0) {
        int status = 0;
        rusage usage{};
        wait4(child, &status, 0, &usage);
        run.peakKilobytes = usage.ru_maxrss;
    }
    posix_spawn_file_actions_destroy(&actions);
    run.outputBytes = std::filesystem::file_size(report);
    return run;
}

// The median of a few runs.
CheckerRun MedianRun(const std::vector<std::string>& arguments, const std::filesystem::path& report)
{
    std::vector<CheckerRun> runs;
    for (int round = 0; round < 3; ++round)
        runs.push_back(RunChecker(arguments, report));
    std::sort(runs.begin(), runs.end(),
              [](const CheckerRun& a, const CheckerRun& b) { return a.peakKilobytes < b.peakKilobytes; });
    return runs[runs.size() / 2];
}

// A choice question of twelve answers in which every kept line is as long as the reader keeps, all of
// control bytes, the text that JSON escapes at six bytes a byte: the largest report of one file.
void WriteLongestKeptLines(const std::filesystem::path& path)
{
    std::filesystem::create_directories(path.parent_path());
    std::ofstream out(path, std::ios::binary);
    out << "X" << std::string(MaxAnswers, '1') << "\r\n";
    const std::string line(MaxLineBytes, '\x01');
    for (int k = 0; k <= MaxAnswers; ++k)
        out << line << "\r\n";
}

} // namespace

int main()
{
    char pattern[] = "/tmp/zdawnik-bench-XXXXXX";
    const std::filesystem::path root = mkdtemp(pattern);
    const std::filesystem::path report = root / "report";
    std::filesystem::create_directories(root / "empty");

    const long keptLines = long(MaxQuestionLines) * long(MaxLineBytes) / 1024;
    OneLineOf256MB.write(root / OneLineOf256MB.Name / "q.txt");
    WriteLongestKeptLines(root / "longest-kept-lines" / "q.txt");
    struct Case
    {
        std::string name;
        long limitKilobytes;
    };
    const Case cases[] = {{OneLineOf256MB.Name, 32 * 1024}, {"longest-kept-lines", keptLines + 8 * 1024}};
    for (const bool json : {false, true}) {
        const std::string mode = json ? "json-" : "";
        std::vector<std::string> arguments;
        if (json)
            arguments.push_back("--json");
        arguments.push_back((root / "empty").string());
        const long empty = MedianRun(arguments, report).peakKilobytes;
        for (const Case& bank : cases) {
            arguments.back() = (root / bank.name).string();
            const CheckerRun run = MedianRun(arguments, report);
            const long above = std::max(0L, run.peakKilobytes - empty);
            Report("check-" + mode + bank.name + "-peak-above-empty", std::to_string(above) + "kB",
                   std::to_string(bank.limitKilobytes) + "kB", double(above) / double(bank.limitKilobytes),
                   1.0);
            if (json) {
                const long outputKilobytes = long(run.outputBytes / 1024);
                Report("check-json-" + bank.name + "-report-size", std::to_string(outputKilobytes) + "kB",
                       std::to_string(bank.limitKilobytes) + "kB",
                       double(outputKilobytes) / double(bank.limitKilobytes), 1.0);
            }
        }
    }
    std::filesystem::remove_all(root);
    return 0;
}
