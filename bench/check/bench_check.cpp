// The checker's cost against the program's own: checking a bank of 100,000 question files against
// scanning the bank, building its pool and reading every file as the program reads it.

#include "bank/Question.h"
#include "bank/QuestionReader.h"
#include "drill/Random.h"
#include "drill/StudyPool.h"
#include "check/CheckRun.h"
#include "widgets/LayoutFonts.h"

#include <QGuiApplication>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>

#include "bench/BenchOutput.h"
#include "bench/SilentView.h"

using namespace zdawnik;
using namespace zdawnik::bench;

namespace {

// A bank of typical questions, each its own: choice questions of five answers and sentence
// questions of two lists, in Windows-1250, every text different from file to file.
std::filesystem::path MakeBank(const std::filesystem::path& root, int files)
{
    const std::filesystem::path dir = root / ("bank" + std::to_string(files));
    std::filesystem::create_directories(dir);
    for (int i = 0; i < files; ++i) {
        const std::string n = std::to_string(i);
        std::ofstream file(dir / ("pytanie" + n + ".txt"), std::ios::binary);
        if (i % 4 == 3)
            file << "Z212\r\nProtok\xf3\xb3 numer " << n << " {wyb\xf3r 1} port {wyb\xf3r 2}.\r\n"
                 << "u\xbfywa;;nie u\xbfywa;;\r\n"
                 << n << ";;" << i + 1 << ";;\r\n";
        else
            file << "X01010\r\nKt\xf3re z podanych port\xf3w (zestaw " << n
                 << ") s\xb9 domy\x9clnie u\xbfywane przez protok\xf3\xb3 HTTP i HTTPS?\r\n"
                 << i % 100 << "\r\n"
                 << i % 7 + 20 << "\r\n443\r\n"
                 << n << "5\r\n110\r\n";
    }
    return dir;
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    InstallFontSubstitutes();

    char pattern[] = "/tmp/zdawnik-bench-XXXXXX";
    const std::filesystem::path root = mkdtemp(pattern);
    const int files = 100000;
    const std::filesystem::path bank = MakeBank(root, files);
    std::ofstream nowhere("/dev/null");

    const PairedTimes checking = MedianPairedMicroseconds(
        [&] {
            CheckRun run(CheckOptions{}, nowhere, std::cerr);
            if (run.run({bank}) != NoProblems)
                std::fprintf(stderr, "the benchmark bank has problems\n");
        },
        [&] {
            Random random;
            StudyPool pool(random);
            const std::vector<std::string> names = ScanBank(bank);
            pool.BuildPool(names);
            Question question;
            SilentView view;
            for (const std::string& name : names)
                LoadQuestionFile(bank, name, question, view);
        },
        1, 5);
    ReportTimes("check-100000-vs-scan-pool-and-read", checking.work, checking.limit, 2.0);

    std::filesystem::remove_all(root);
    return 0;
}
