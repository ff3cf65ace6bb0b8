// The bank's costs against the system's own: reading a question, and question files of hundreds of
// megabytes with and without line feeds, against a bare read of the same file, scanning a bank and building
// its pool against a bare listing of the same folder, and how the pool's operations grow with the number of
// pending questions.

#include "bank/Question.h"
#include "bank/QuestionReader.h"
#include "bank/QuestionView.h"
#include "drill/Random.h"
#include "drill/StudyPool.h"

#include <cstdlib>
#include <dirent.h>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <unistd.h>

#include "bench/BenchOutput.h"
#include "bench/BigQuestionFiles.h"
#include "bench/SilentView.h"

using namespace zdawnik;
using namespace zdawnik::bench;

namespace {

const char TypicalQuestion[] = "X0101\r\nKt\xf3re z podanych port\xf3w s\xb9 domy\x9clnie u\xbfywane przez "
                               "protok\xf3\xb3 HTTP i HTTPS?\r\n80\r\n21\r\n443\r\n25\r\n110\r\n";

void BareRead(const std::string& path)
{
    char buffer[64 * 1024];
    const int fd = ::open(path.c_str(), O_RDONLY);
    while (::read(fd, buffer, sizeof buffer) > 0) {
    }
    ::close(fd);
}

std::size_t BareListing(const std::string& dir)
{
    std::size_t count = 0;
    DIR* stream = opendir(dir.c_str());
    while (const dirent* entry = readdir(stream))
        count += entry->d_name[0] != '\0';
    closedir(stream);
    return count;
}

std::filesystem::path MakeBank(const std::filesystem::path& root, int files)
{
    const std::filesystem::path dir = root / ("bank" + std::to_string(files));
    std::filesystem::create_directories(dir);
    for (int i = 0; i < files; ++i)
        std::ofstream(dir / ("pytanie" + std::to_string(i) + ".txt")) << TypicalQuestion;
    return dir;
}

} // namespace

int main()
{
    char pattern[] = "/tmp/zdawnik-bench-XXXXXX";
    const std::filesystem::path root = mkdtemp(pattern);

    // Reading one typical question.
    const std::filesystem::path bank = MakeBank(root, 1);
    const std::string file = (bank / "pytanie0.txt").string();
    Question question;
    SilentView view;
    const PairedTimes reading = MedianPairedMicroseconds(
        [&] { LoadQuestionFile(bank, "pytanie0.txt", question, view); }, [&] { BareRead(file); }, 200);
    ReportTimes("reader-vs-bare-read", reading.work, reading.limit, 2.0);

    // Huge files: the reader searches for line ends and byte 26 instead of looking at every byte, so
    // it keeps up with the bare read whether the file has line feeds or none.
    for (const BigFile& huge : {OneLineOf256MB, TwentyLinesOf10MB}) {
        const std::filesystem::path hugeBank = root / huge.Name;
        huge.write(hugeBank / "q.txt");
        const PairedTimes times =
            MedianPairedMicroseconds([&] { LoadQuestionFile(hugeBank, "q.txt", question, view); },
                                     [&] { BareRead((hugeBank / "q.txt").string()); }, 1, 9);
        ReportTimes(std::string("reader-") + huge.Name + "-vs-bare-read", times.work, times.limit, 1.5);
        std::filesystem::remove_all(hugeBank);
    }

    // Scanning a bank and building its pool.
    for (const int files : {1000, 100000}) {
        const std::filesystem::path dir = MakeBank(root, files);
        Random random;
        const int repeat = files > 10000 ? 3 : 100;
        const PairedTimes scanning = MedianPairedMicroseconds(
            [&] {
                StudyPool pool(random);
                pool.BuildPool(ScanBank(dir));
            },
            [&] { BareListing(dir.string()); }, repeat, 9);
        ReportTimes("scan-and-pool-" + std::to_string(files) + "-vs-listing", scanning.work, scanning.limit,
                    1.5);
    }

    // Pool operations against the pending count: a draw and a showing cost the same at any size;
    // a mastering moves the pending entries behind it, linear at worst. Growth from 1,000 to
    // 100,000 pending questions is compared with linear growth (100x).
    auto perRun = [](int pending) {
        std::vector<std::string> names(static_cast<std::size_t>(pending), "q.txt");
        std::uint32_t tick = 1;
        Random random([&] { return tick += 2654435761u; });
        StudyPool pool(random);
        pool.BuildPool(names);
        const int operations = 3000;
        const auto start = std::chrono::steady_clock::now();
        for (int i = 0; i < operations && pool.PendingCount() > 0; ++i) {
            pool.DrawQuestion();
            pool.MarkShown();
            pool.ApplyVerdict(Verdict::Good);
        }
        const std::chrono::duration<double, std::micro> spent = std::chrono::steady_clock::now() - start;
        return spent.count() / operations;
    };
    const double small = perRun(1000);
    const double large = perRun(100000);
    Report("pool-operation-growth-1k-to-100k", FormatMicroseconds(large), FormatMicroseconds(small),
           large / small, 100.0);

    std::filesystem::remove_all(root);
    return 0;
}
