// The window's peak memory when it reads question files of hundreds of megabytes, above its peak
// over an empty bank. Each figure is taken in a fresh process, so nothing one file leaves behind
// counts for the next. And the time the reader takes over a sparse file of 20 GB.
//
//   bench_reader_memory              writes the files, runs every case and prints the figures
//   bench_reader_memory peak BANK    one window over BANK: press start, print the peak in kilobytes

#include "app/Application.h"
#include "app/MessageBoxes.h"
#include "app/TMainForm.h"
#include "bank/Question.h"
#include "bank/QuestionLineReader.h"
#include "bank/QuestionReader.h"

#include <QApplication>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <utility>
#include <vector>

#include "bench/BenchOutput.h"
#include "bench/BigQuestionFiles.h"
#include "bench/SilentView.h"
#include "bench/app/SilentBoxes.h"

using namespace zdawnik;
using namespace zdawnik::bench;

namespace {

int PeakOfOneStart(int argc, char** argv)
{
    QApplication application(argc, argv);
    InitialiseApplication(application);
    SilentBoxes boxes;
    MainFormEnvironment environment;
    environment.BankDir = argv[2];
    environment.Messages = &boxes;
    TMainForm window(environment);
    window.show();
    QApplication::processEvents();
    window.findChild<QPushButton*>("btnStart")->click();
    QApplication::processEvents();
    std::printf("%ld\n", PeakResidentKilobytes());
    return 0;
}

// The median peak of a few starts over bank, in kilobytes.
long PeakOverBank(const QString& self, const std::filesystem::path& bank)
{
    std::vector<long> peaks;
    for (int round = 0; round < 3; ++round) {
        QProcess process;
        process.start(self, {"peak", QString::fromStdString(bank.string())});
        process.waitForFinished(-1);
        peaks.push_back(QString::fromLatin1(process.readAllStandardOutput()).trimmed().toLong());
    }
    std::sort(peaks.begin(), peaks.end());
    return peaks[peaks.size() / 2];
}

// Reading a sparse file of 20 GB, one line of zero bytes, against reading the largest file the
// window shows, 19 lines at the bound: the reader stops where the file is refused, so the huge file
// costs no more.
void SparseFileAgainstTheLargestShown(const std::filesystem::path& root)
{
    const std::filesystem::path sparse = root / "rzadki";
    const std::filesystem::path largest = root / "najwiekszy";
    std::filesystem::create_directories(sparse);
    std::ofstream(sparse / "q.txt").close();
    std::filesystem::resize_file(sparse / "q.txt", std::uintmax_t(20) << 30);
    const BigFile shown{"19-lines-at-the-bound", MaxQuestionLines, MaxLineBytes, 'a', "\n"};
    shown.write(largest / "q.txt");
    Question question;
    SilentView view;
    const PairedTimes times =
        MedianPairedMicroseconds([&] { LoadQuestionFile(sparse, "q.txt", question, view); },
                                 [&] { LoadQuestionFile(largest, "q.txt", question, view); }, 5, 15);
    ReportTimes("reader-sparse-20GB-vs-19-lines-at-the-bound", times.work, times.limit, 1.0);
    std::filesystem::remove_all(sparse);
    std::filesystem::remove_all(largest);
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    if (argc > 2 && std::strcmp(argv[1], "peak") == 0)
        return PeakOfOneStart(argc, argv);
    QCoreApplication application(argc, argv);
    const QString self = QCoreApplication::applicationFilePath();
    QTemporaryDir dir;
    const std::filesystem::path root = dir.path().toStdString();

    SparseFileAgainstTheLargestShown(root);

    std::filesystem::create_directories(root / "empty");
    const long empty = PeakOverBank(self, root / "empty");

    // The reader keeps at most 19 lines of 64 KiB; a few megabytes more cover the reading itself.
    const long keptLines = long(MaxQuestionLines) * long(MaxLineBytes) / 1024;
    const std::pair<BigFile, long> cases[] = {{OneLineOf256MB, 32 * 1024},
                                              {TwentyLinesOf10MB, keptLines + 4 * 1024}};
    for (const auto& [file, limitKilobytes] : cases) {
        const std::filesystem::path bank = root / file.Name;
        file.write(bank / "q.txt");
        const long above = std::max(0L, PeakOverBank(self, bank) - empty);
        Report(std::string("window-") + file.Name + "-peak-above-empty", std::to_string(above) + "kB",
               std::to_string(limitKilobytes) + "kB", double(above) / double(limitKilobytes), 1.0);
        std::filesystem::remove_all(bank);
    }
    return 0;
}
