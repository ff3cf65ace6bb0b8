// The history database against what the state folder may hold and what may happen to a writer: a
// damaged database of every kind is set aside under a fresh name and a fresh one started; links, FIFOs
// and stale lock files neither hang the start nor lead writes elsewhere; a full disk or a read-only
// folder loses no answer; and a writer killed at any moment leaves a whole database that holds every
// check it reported kept.

#include <QCoreApplication>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QtTest>

#include <fcntl.h>
#include <map>
#include <optional>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

#include "HistoryTestSupport.h"

using namespace zdawnik;
using zdawnik::test::Query;
using zdawnik::test::RunOfChecks;

namespace {

const std::string Bank = "/home/ola/egzamin/baza";
const QString DamagedNotice = QStringLiteral(
    "Bazy postępów nie udało się odczytać (plik odłożono z końcówką .damaged) – zaczęto nową.");

std::vector<std::string> Names(int count)
{
    std::vector<std::string> names;
    for (int i = 0; i < count; ++i)
        names.push_back("pytanie-" + std::to_string(i) + ".txt");
    return names;
}

QByteArray Contents(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void Write(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QCOMPARE(file.write(bytes), bytes.size());
}

// A small file system of its own, a tmpfs, for a disk that fills up or turns read-only.
class SmallDisk
{
public:
    SmallDisk(const QString& path, const char* size) : m_path(QFile::encodeName(path))
    {
        QDir().mkpath(path);
        m_mounted = size && ::mount("tmpfs", m_path.constData(), "tmpfs", 0, size) == 0;
    }
    ~SmallDisk()
    {
        if (m_mounted)
            ::umount2(m_path.constData(), MNT_DETACH);
    }
    bool mounted() const { return m_mounted; }
    bool SetReadOnly(bool readOnly)
    {
        return ::mount("tmpfs", m_path.constData(), "tmpfs", MS_REMOUNT | (readOnly ? MS_RDONLY : 0),
                       nullptr) == 0;
    }

private:
    QByteArray m_path;
    bool m_mounted = false;
};

// Fills the disk under dir to its last byte; the file is removed to free it again.
bool FillDisk(const QString& file)
{
    const int fd = ::open(QFile::encodeName(file).constData(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    if (fd < 0)
        return false;
    const QByteArray block(4096, 'x');
    while (::write(fd, block.constData(), std::size_t(block.size())) > 0) {
    }
    const bool full = errno == ENOSPC;
    ::close(fd);
    return full;
}

// A disk that is full on request, for machines that mount no tmpfs for a test: SQLite's own file layer,
// each of its files' writes refused as a full disk refuses them while Full is set.
class FullDiskLayer
{
public:
    static inline bool Full = false;

    FullDiskLayer() { sqlite3_vfs_register(&Layer(), 1); }
    ~FullDiskLayer() { sqlite3_vfs_unregister(&Layer()); }

private:
    static sqlite3_vfs& Layer()
    {
        static sqlite3_vfs layer = [] {
            sqlite3_vfs* real = sqlite3_vfs_find(nullptr);
            sqlite3_vfs copy = *real;
            copy.zName = "zdawnik-full-disk";
            copy.pAppData = real;
            copy.xOpen = &Open;
            return copy;
        }();
        return layer;
    }

    // The real layer's methods for each file, but for the write.
    static std::map<const sqlite3_io_methods*, sqlite3_io_methods>& Tables()
    {
        static std::map<const sqlite3_io_methods*, sqlite3_io_methods> tables;
        return tables;
    }
    static std::map<const sqlite3_io_methods*, const sqlite3_io_methods*>& Originals()
    {
        static std::map<const sqlite3_io_methods*, const sqlite3_io_methods*> originals;
        return originals;
    }

    static int Open(sqlite3_vfs* layer, const char* name, sqlite3_file* file, int flags, int* outFlags)
    {
        auto* real = static_cast<sqlite3_vfs*>(layer->pAppData);
        const int code = real->xOpen(real, name, file, flags, outFlags);
        if (code == SQLITE_OK && file->pMethods) {
            auto [table, added] = Tables().try_emplace(file->pMethods, *file->pMethods);
            if (added) {
                Originals()[&table->second] = file->pMethods;
                table->second.xWrite = &Write;
            }
            file->pMethods = &table->second;
        }
        return code;
    }

    static int Write(sqlite3_file* file, const void* data, int amount, sqlite3_int64 offset)
    {
        return Full ? SQLITE_FULL : Originals()[file->pMethods]->xWrite(file, data, amount, offset);
    }
};

} // namespace

class TestHistoryFaults : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        m_state = m_dir->filePath("stan");
        QDir().mkpath(m_state);
        m_database = QDir(m_state).filePath("zdawnik.sqlite");
    }

    void damagedDatabaseIsSetAside_data();
    void damagedDatabaseIsSetAside();
    void everyDamagedDatabaseKeepsItsOwnName();
    void damagedRunIsNeverUsed_data();
    void damagedRunIsNeverUsed();
    void strayFilesAreTakenOver_data();
    void strayFilesAreTakenOver();
    void fullDiskLosesNoAnswer_data();
    void fullDiskLosesNoAnswer();
    void readOnlyFolderLosesNoAnswer();
    void writerKilledAtRandomMoments();
    void writersOfTwoBanksAtOnce();

private:
    void MakeHistory(int checks);

    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_state;
    QString m_database;
};

void TestHistoryFaults::MakeHistory(int checks)
{
    HistoryStore store(m_state, Bank);
    QCOMPARE(store.Open(), HistoryStore::Access::Writing);
    RunOfChecks run(Bank, Names(5));
    QString error;
    for (int i = 0; i < checks; ++i)
        QVERIFY2(run.Check(store, i % 5, i % 2 ? Verdict::Good : Verdict::Wrong,
                           QDateTime::currentDateTimeUtc(), error),
                 qPrintable(error));
}

void TestHistoryFaults::damagedDatabaseIsSetAside_data()
{
    QTest::addColumn<QString>("damage");
    QTest::addColumn<QString>("problem"); // the start of what the store tells of it
    QTest::newRow("not a database") << "garbage"
                                    << "file is not a database";
    QTest::newRow("cut in half") << "cut"
                                 << "database disk image is malformed";
    QTest::newRow("a page overwritten") << "page"
                                        << "fails its quick check";
    QTest::newRow("written by a newer version") << "newer"
                                                << "written by a newer version";
    QTest::newRow("another program's database") << "foreign"
                                                << "not a database of this program";
    QTest::newRow("the history's tables dropped") << "tables"
                                                  << "tables of the history are missing";
    QTest::newRow("a link to a file elsewhere") << "symlink"
                                                << "not a regular file";
    QTest::newRow("a FIFO") << "fifo"
                            << "not a regular file";
    QTest::newRow("a folder") << "folder"
                              << "not a regular file";
}

void TestHistoryFaults::damagedDatabaseIsSetAside()
{
    QFETCH(QString, damage);
    QFETCH(QString, problem);
    MakeHistory(6);
    const QString elsewhere = m_dir->filePath("gdzie-indziej.sqlite");
    QFile::copy(m_database, elsewhere);
    const QByteArray outside = Contents(elsewhere);
    QByteArray bytes = Contents(m_database);
    QVERIFY(bytes.size() >= 5 * 4096);
    if (damage == "garbage") {
        Write(m_database, QByteArray("to nie jest baza\n").repeated(300));
    } else if (damage == "cut") {
        QVERIFY(QFile::resize(m_database, bytes.size() / 2));
    } else if (damage == "page") {
        bytes.replace(3 * 4096, 4096, QByteArray(4096, '\x55'));
        Write(m_database, bytes);
    } else if (damage == "newer") {
        Query(m_database, "PRAGMA user_version = 9");
    } else if (damage == "foreign") {
        QFile::remove(m_database);
        Query(m_database, "CREATE TABLE notatki (tekst TEXT)");
    } else if (damage == "tables") {
        Query(m_database, "DROP TABLE run_questions");
    } else if (damage == "symlink") {
        QFile::remove(m_database);
        QVERIFY(QFile::link(elsewhere, m_database));
    } else if (damage == "fifo") {
        QFile::remove(m_database);
        QCOMPARE(::mkfifo(QFile::encodeName(m_database).constData(), 0600), 0);
    } else {
        QFile::remove(m_database);
        QVERIFY(QDir().mkpath(m_database + "/plik"));
    }
    const QFileInfo before(m_database);
    const QByteArray damaged = before.isFile() && !before.isSymLink() ? Contents(m_database) : QByteArray();

    HistoryStore store(m_state, Bank);
    QCOMPARE(store.Open(), HistoryStore::Access::Writing);
    QCOMPARE(store.databaseNotice(), DamagedNotice);
    QVERIFY2(store.databaseProblem().startsWith(problem), qPrintable(store.databaseProblem()));
    QCOMPARE(store.databaseAside(), m_database + ".damaged");
    // Set aside as it was: a file byte for byte, a link as a link.
    const QFileInfo aside(store.databaseAside());
    QCOMPARE(aside.isSymLink(), damage == "symlink");
    QCOMPARE(aside.isDir(), damage == "folder");
    if (!damaged.isEmpty())
        QCOMPARE(Contents(store.databaseAside()), damaged);
    QCOMPARE(Contents(elsewhere), outside);

    // A fresh database, whole, that keeps checks.
    QCOMPARE(store.LoadRun().found, HistoryStore::Found::Nothing);
    RunOfChecks run(Bank, Names(3));
    QString error;
    QVERIFY2(run.Check(store, 0, Verdict::Good, QDateTime::currentDateTimeUtc(), error), qPrintable(error));
    QVERIFY(QFileInfo(m_database).isFile() && !QFileInfo(m_database).isSymLink());
    QCOMPARE(Query(m_database, "PRAGMA integrity_check"), QStringList({"ok"}));
    QCOMPARE(Query(m_database, "SELECT count(*) FROM answers"), QStringList({"1"}));
}

void TestHistoryFaults::everyDamagedDatabaseKeepsItsOwnName()
{
    Write(m_database + ".damaged", "pierwsza");
    Write(m_database + ".1.damaged", "druga");
    for (const char* damaged : {"trzecia", "czwarta"}) {
        Write(m_database, QByteArray(damaged).repeated(1000));
        HistoryStore store(m_state, Bank);
        QCOMPARE(store.Open(), HistoryStore::Access::Writing);
        QCOMPARE(Contents(store.databaseAside()), QByteArray(damaged).repeated(1000));
    }
    QCOMPARE(Contents(m_database + ".damaged"), QByteArray("pierwsza"));
    QCOMPARE(Contents(m_database + ".1.damaged"), QByteArray("druga"));
    QCOMPARE(Contents(m_database + ".2.damaged"), QByteArray("trzecia").repeated(1000));
    QCOMPARE(Contents(m_database + ".3.damaged"), QByteArray("czwarta").repeated(1000));
}

void TestHistoryFaults::damagedRunIsNeverUsed_data()
{
    QTest::addColumn<QString>("damage");
    QTest::newRow("a counter below zero") << "UPDATE run_questions SET repeats = -1 WHERE position = 2";
    QTest::newRow("a counter of a million years") << "UPDATE run_questions SET repeats = 1000001";
    QTest::newRow("mastered with showings due") << "UPDATE run_questions SET mastered = 1 WHERE repeats > 0";
    QTest::newRow("more good answers than answers") << "UPDATE runs SET good_answers = answers + 1";
    QTest::newRow("finished with questions pending") << "UPDATE runs SET finished = 1";
    QTest::newRow("a clock of a thousand years") << "UPDATE runs SET study_seconds = 40000000000";
    QTest::newRow("text for a number") << "UPDATE runs SET answers = 'dużo'";
    QTest::newRow("a name outside the bank")
        << "UPDATE questions SET name = CAST('../x.txt' AS BLOB) WHERE id = (SELECT min(id) FROM questions)";
    QTest::newRow("no questions") << "DELETE FROM run_questions";
    QTest::newRow("the mastered count off") << "UPDATE runs SET mastered = mastered + 1";
}

void TestHistoryFaults::damagedRunIsNeverUsed()
{
    QFETCH(QString, damage);
    MakeHistory(4);
    Query(m_database, damage.toUtf8().constData());
    {
        HistoryStore store(m_state, Bank);
        QCOMPARE(store.Open(), HistoryStore::Access::Writing);
        const HistoryStore::Loaded loaded = store.LoadRun();
        QCOMPARE(loaded.found, HistoryStore::Found::Damaged);
        QCOMPARE(loaded.notice,
                 QStringLiteral("Zapisanego postępu nie udało się odczytać – można zacząć naukę od nowa."));
        QVERIFY(loaded.record.Questions.empty());
    }
    // Dropped, never offered again; the answers stay in the history.
    HistoryStore store(m_state, Bank);
    store.Open();
    QCOMPARE(store.LoadRun().found, HistoryStore::Found::Nothing);
    QCOMPARE(Query(m_database, "SELECT count(*) FROM answers"), QStringList({"4"}));
}

void TestHistoryFaults::strayFilesAreTakenOver_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("kind");
    QTest::newRow("empty lock") << "zdawnik.lock"
                                << "empty";
    QTest::newRow("garbage lock") << "zdawnik.lock"
                                  << "garbage";
    QTest::newRow("stale lock of a process long gone") << "zdawnik.lock"
                                                       << "stale";
    QTest::newRow("lock as a FIFO") << "zdawnik.lock"
                                    << "fifo";
    QTest::newRow("lock as a link") << "zdawnik.lock"
                                    << "symlink";
    QTest::newRow("log as a FIFO") << "zdawnik.sqlite-wal"
                                   << "fifo";
    QTest::newRow("index as a link") << "zdawnik.sqlite-shm"
                                     << "symlink";
}

void TestHistoryFaults::strayFilesAreTakenOver()
{
    QFETCH(QString, name);
    QFETCH(QString, kind);
    const QString path = QDir(m_state).filePath(name);
    const QString elsewhere = m_dir->filePath("cel");
    Write(elsewhere, "nie do ruszenia");
    if (kind == "empty")
        Write(path, "");
    else if (kind == "garbage")
        Write(path, QByteArray("\xff\x00 śmieci", 10).repeated(50));
    else if (kind == "stale")
        Write(path, "4194000\nzdawnik\nkomputer\n");
    else if (kind == "fifo")
        QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
    else
        QVERIFY(QFile::link(elsewhere, path));

    // The test ends at all: nothing waits on a FIFO.
    HistoryStore store(m_state, Bank);
    QCOMPARE(store.Open(), HistoryStore::Access::Writing);
    RunOfChecks run(Bank, Names(2));
    QString error;
    QVERIFY2(run.Check(store, 1, Verdict::Wrong, QDateTime::currentDateTimeUtc(), error), qPrintable(error));
    QCOMPARE(Contents(elsewhere), QByteArray("nie do ruszenia"));
    QVERIFY(store.databaseNotice().isEmpty());
    // One writer still: the lock taken over is a lock.
    HistoryStore second(m_state, Bank);
    QCOMPARE(second.Open(), HistoryStore::Access::HeldByAnother);
}

void TestHistoryFaults::fullDiskLosesNoAnswer_data()
{
    QTest::addColumn<bool>("tmpfs");
    QTest::newRow("a small tmpfs filled up") << true;
    QTest::newRow("writes refused under SQLite") << false;
}

void TestHistoryFaults::fullDiskLosesNoAnswer()
{
    QFETCH(bool, tmpfs);
    SmallDisk disk(m_dir->filePath("dysk"), tmpfs ? "size=1m" : nullptr);
    if (tmpfs && !disk.mounted())
        QSKIP("this machine mounts no tmpfs for the test");
    std::optional<FullDiskLayer> layer;
    if (!tmpfs)
        layer.emplace();
    const QString state = tmpfs ? m_dir->filePath("dysk/stan") : m_state;
    const QString filler = m_dir->filePath("dysk/wypelniacz");
    const auto fill = [&] { return tmpfs ? FillDisk(filler) : (FullDiskLayer::Full = true); };
    const auto makeRoom = [&] { return tmpfs ? QFile::remove(filler) : !(FullDiskLayer::Full = false); };
    RunOfChecks run(Bank, Names(20));
    QString error;
    HistoryStore store(state, Bank);
    QCOMPARE(store.Open(), HistoryStore::Access::Writing);
    store.BeginSitting(SittingKind::Drill, QDateTime::currentDateTimeUtc());
    QVERIFY2(run.Check(store, 0, Verdict::Good, QDateTime::currentDateTimeUtc(), error), qPrintable(error));
    const RunRecord beforeFull = run.Run;

    QVERIFY(fill());
    for (int i = 1; i <= 3; ++i) {
        QVERIFY(!run.Check(store, i, Verdict::Wrong, QDateTime::currentDateTimeUtc(), error));
        QCOMPARE(error, QStringLiteral("brak miejsca na dysku"));
        QCOMPARE(store.PendingAnswers(), i);
    }
    {
        // Meanwhile the database holds the run of the last check it took, whole.
        HistoryStore reader(state, Bank);
        reader.Open();
        QVERIFY(zdawnik::test::SameRun(reader.LoadRun().record, beforeFull));
    }
    QVERIFY(makeRoom());
    QVERIFY2(run.Check(store, 4, Verdict::Good, QDateTime::currentDateTimeUtc(), error), qPrintable(error));
    QCOMPARE(store.PendingAnswers(), 0);
    QCOMPARE(Query(store.databasePath(), "PRAGMA integrity_check"), QStringList({"ok"}));
    QCOMPARE(Query(store.databasePath(), "SELECT count(*) FROM answers"), QStringList({"5"}));
    HistoryStore reader(state, Bank);
    reader.Open();
    QVERIFY(zdawnik::test::SameRun(reader.LoadRun().record, run.Run));
    QCOMPARE(reader.Sittings().at(0).Answers, 5);
}

void TestHistoryFaults::readOnlyFolderLosesNoAnswer()
{
    SmallDisk disk(m_dir->filePath("dysk"), "size=1m");
    if (!disk.mounted())
        QSKIP("this machine mounts no tmpfs for the test");
    const QString state = m_dir->filePath("dysk/stan");
    RunOfChecks run(Bank, Names(4));
    QString error;
    {
        HistoryStore earlier(state, Bank);
        earlier.Open();
        QVERIFY(run.Check(earlier, 3, Verdict::Wrong, QDateTime::currentDateTimeUtc(), error));
    }
    QVERIFY(disk.SetReadOnly(true));
    HistoryStore store(state, Bank);
    QCOMPARE(store.Open(), HistoryStore::Access::FolderUnwritable);
    // The kept run is still offered.
    QVERIFY(zdawnik::test::SameRun(store.LoadRun().record, run.Run));
    for (int i = 0; i < 2; ++i) {
        QVERIFY(!run.Check(store, i, Verdict::Good, QDateTime::currentDateTimeUtc(), error));
        QCOMPARE(error, QStringLiteral("nie można pisać w katalogu %1").arg(state));
    }
    QVERIFY(disk.SetReadOnly(false));
    QVERIFY2(run.Check(store, 2, Verdict::Good, QDateTime::currentDateTimeUtc(), error), qPrintable(error));
    QCOMPARE(store.access(), HistoryStore::Access::Writing);
    QCOMPARE(Query(store.databasePath(), "SELECT count(*) FROM answers"), QStringList({"4"}));
    QVERIFY(zdawnik::test::SameRun(store.LoadRun().record, run.Run));
}

void TestHistoryFaults::writerKilledAtRandomMoments()
{
    const QString writer = QCoreApplication::applicationDirPath() + "/zdawnik-history-writer";
    QRandomGenerator random(20261208);
    int keptBefore = 0;
    for (int kill = 0; kill < 60; ++kill) {
        QProcess process;
        process.start(writer, {m_state, QString::fromStdString(Bank)});
        QVERIFY(process.waitForStarted());
        // Killed as soon as it reports a check, or some milliseconds later, in the middle of another.
        QVERIFY2(process.waitForReadyRead(20000), qPrintable(process.readAllStandardError()));
        QThread::usleep(random.bounded(25'000));
        process.kill();
        process.waitForFinished();
        const QList<QByteArray> lines = process.readAllStandardOutput().trimmed().split('\n');
        const int reported = lines.last().mid(5).toInt();
        QVERIFY2(reported > keptBefore, lines.last().constData());

        QCOMPARE(Query(m_database, "PRAGMA integrity_check"), QStringList({"ok"}));
        // Every check reported kept is there, and the run agrees with the history.
        const int answers = Query(m_database, "SELECT count(*) FROM answers").value(0).toInt();
        QVERIFY2(answers >= reported, qPrintable(QStringLiteral("%1 < %2").arg(answers).arg(reported)));
        QCOMPARE(Query(m_database, "SELECT answers FROM runs"), QStringList({QString::number(answers)}));
        keptBefore = answers;
    }
    QCOMPARE(QDir(m_state).entryList({"*.damaged"}, QDir::AllEntries | QDir::System), QStringList());
    HistoryStore store(m_state, Bank);
    QCOMPARE(store.Open(), HistoryStore::Access::Writing);
    QVERIFY(store.databaseNotice().isEmpty());
    QCOMPARE(store.LoadRun().record.Answers, keptBefore);
}

void TestHistoryFaults::writersOfTwoBanksAtOnce()
{
    const QString writer = QCoreApplication::applicationDirPath() + "/zdawnik-history-writer";
    QProcess first, second;
    first.start(writer, {m_state, "/banki/pierwszy", "150"});
    second.start(writer, {m_state, "/banki/drugi", "150"});
    for (QProcess* process : {&first, &second}) {
        QVERIFY(process->waitForFinished(120000));
        QCOMPARE(process->exitCode(), 0);
        QVERIFY(process->readAllStandardOutput().endsWith("kept 150\n"));
    }
    QCOMPARE(Query(m_database, "SELECT count(*) FROM answers"), QStringList({"300"}));
    QCOMPARE(Query(m_database, "SELECT answers FROM runs ORDER BY bank"), QStringList({"150", "150"}));
}

QTEST_GUILESS_MAIN(TestHistoryFaults)
#include "tst_historyfaults.moc"
