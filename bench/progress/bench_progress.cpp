// The kept run of a bank of 100,000 questions against the bare file system: saving it after a check
// against writing the same bytes with a bare write-and-rename, and restoring it against a bare read
// and parse of the same file.

#include "drill/Random.h"
#include "drill/StudyPool.h"
#include "progress/ProgressStore.h"
#include "progress/RunRecordWriter.h"

#include <QCoreApplication>
#include <QFile>
#include <QJsonDocument>
#include <QTemporaryDir>

#include <cstdio>
#include <fcntl.h>
#include <unistd.h>

#include "bench/BenchOutput.h"

using namespace zdawnik;
using namespace zdawnik::bench;

namespace {

constexpr int BankSize = 100'000;

std::vector<std::string> BankNames()
{
    std::vector<std::string> names;
    names.reserve(BankSize);
    for (int i = 0; i < BankSize; ++i)
        names.push_back("pytanie-" + std::to_string(100000 + i) + ".txt");
    return names;
}

// A run well under way: a few thousand checks, some questions mastered, counters of every size.
void PlayRun(StudyPool& pool)
{
    Random verdicts;
    verdicts.setSeed(7);
    for (int check = 0; check < 300'000; ++check) {
        pool.DrawQuestion();
        pool.MarkShown();
        pool.ApplyVerdict(verdicts.RandomBelow(5) == 0 ? Verdict::Wrong : Verdict::Good);
    }
}

// The figures the window keeps after a check beside the questions: the clock and the statistics.
RunRecord FiguresOf(const std::string& bank)
{
    RunRecord figures;
    figures.BankPath = bank;
    figures.SavedAt = QDateTime::currentDateTimeUtc();
    figures.StudySeconds = 123456;
    figures.Answers = 300'000;
    figures.GoodAnswers = 240'000;
    return figures;
}

// Durable, as a save must be: written, flushed to the disk, renamed over the old file.
void BareWriteAndRename(const std::string& dir, const std::string& bytes)
{
    const std::string temporary = dir + "/stan.tmp", final = dir + "/stan.json";
    const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    if (fd < 0 || ::write(fd, bytes.data(), bytes.size()) != static_cast<ssize_t>(bytes.size()) ||
        ::fdatasync(fd) != 0)
        std::perror("bare write");
    ::close(fd);
    std::rename(temporary.c_str(), final.c_str());
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication application(argc, argv);
    QTemporaryDir dir;
    const QString stateDir = dir.filePath("stan");
    const std::string bank = "/home/uczen/egzamin/baza";
    const std::vector<std::string> names = BankNames();

    quint32 tick = 1;
    Random random([&] { return tick = tick * 69069u + 1u; });
    StudyPool pool(random);
    pool.BuildPool(names);
    PlayRun(pool);

    ProgressStore store(stateDir, bank);
    if (store.Open() != ProgressStore::Access::Writing)
        return 1;
    // The window makes the pool's writer when the run begins and keeps it for the run.
    RunRecordWriter writer(pool);
    const std::string bytes = writer.Encode(FiguresOf(bank));
    const std::string bareDir = dir.filePath("bare").toStdString();
    QDir().mkpath(QString::fromStdString(bareDir));

    const auto [save, bareWrite] = MedianPairedMicroseconds(
        [&] {
            QString error;
            if (!store.Save(writer.Encode(FiguresOf(bank)), error))
                std::fprintf(stderr, "save: %s\n", qPrintable(error));
        },
        [&] { BareWriteAndRename(bareDir, bytes); }, 1, 11);
    ReportTimes("save-100000-questions-vs-bare-write-rename", save, bareWrite, 2.0);

    // As the window does it: the kept run is read, and a new pool takes it up over the names of the
    // bank scan, which are handed over. The window keeps both; here they are let go of after the
    // timing. Every restore has its own scan and pool, made beforehand.
    constexpr int Rounds = 11;
    std::vector<std::vector<std::string>> scans(Rounds + 1, names);
    std::vector<StudyPool> pools(Rounds + 1, StudyPool(random));
    std::vector<ProgressStore::Loaded> kept;
    kept.reserve(Rounds + 1);
    const auto [restore, bareParse] = MedianPairedMicroseconds(
        [&] {
            kept.push_back(store.Load());
            if (kept.back().found != ProgressStore::Found::Record)
                std::fprintf(stderr, "restore: %s\n", qPrintable(kept.back().problem));
            pools[kept.size() - 1].RestorePool(std::move(scans[kept.size() - 1]),
                                               kept.back().record.Questions);
        },
        [&] {
            QFile file(store.filePath());
            file.open(QIODevice::ReadOnly);
            const QJsonDocument document = QJsonDocument::fromJson(file.readAll());
            if (!document.isObject())
                std::fprintf(stderr, "bare parse failed\n");
        },
        1, Rounds);
    ReportTimes("restore-100000-questions-vs-bare-read-parse", restore, bareParse, 2.0);
    if (pools.back().PendingList() != pool.PendingList())
        std::fprintf(stderr, "the restored run differs\n");
    return 0;
}
