// Where a bank's run is kept: one file per bank, written whole, a damaged file put aside under a
// name of its own, and one writer per bank.

#include "progress/ProgressStore.h"
#include "progress/RunRecordWriter.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

using namespace zdawnik;

namespace {

RunRecord Record(const std::string& bank, int answers)
{
    RunRecord record;
    record.BankPath = bank;
    record.SavedAt = QDateTime::currentDateTimeUtc();
    record.StudySeconds = 61;
    record.Answers = answers;
    record.GoodAnswers = answers;
    record.Questions = {{"a.txt", 1, false}, {"b.txt", 0, true}};
    return record;
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

} // namespace

class TestProgressStore : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        m_state = m_dir->filePath("stan/zdawnik");
    }

    void savedRecordIsLoaded();
    void nothingKept();
    void oneFilePerBank();
    void damagedFileIsPutAside_data();
    void damagedFileIsPutAside();
    void everyDamagedFileKeepsItsOwnName();
    void secondStoreOnTheSameBankOnlyReads();
    void lockIsFreedWithItsStore();
    void unwritableFolder();
    void folderRemovedWhileOpen();

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_state;
};

void TestProgressStore::savedRecordIsLoaded()
{
    ProgressStore store(m_state, "/banki/pierwszy");
    QCOMPARE(store.Open(), ProgressStore::Access::Writing);
    QString error;
    QVERIFY2(store.Save(EncodeRunRecord(Record("/banki/pierwszy", 5)), error), qPrintable(error));
    QVERIFY2(store.Save(EncodeRunRecord(Record("/banki/pierwszy", 6)), error), qPrintable(error));
    // Only the file and its lock: no temporary files left behind.
    QCOMPARE(QDir(m_state).entryList(QDir::Files).size(), 2);

    const ProgressStore::Loaded loaded = store.Load();
    QCOMPARE(loaded.found, ProgressStore::Found::Record);
    QCOMPARE(loaded.record.Answers, 6);
    QCOMPARE(loaded.record.Questions.size(), std::size_t(2));
}

void TestProgressStore::nothingKept()
{
    ProgressStore store(m_state, "/banki/pierwszy");
    QCOMPARE(store.Open(), ProgressStore::Access::Writing);
    QCOMPARE(store.Load().found, ProgressStore::Found::Nothing);
}

void TestProgressStore::oneFilePerBank()
{
    // Banks whose paths differ only in case, or in a byte that is no UTF-8, keep runs of their own.
    const std::string banks[] = {"/banki/baza", "/banki/Baza", "/banki/b\xb3\x61", "/banki/b\xb3\x62"};
    QStringList files;
    int answers = 1;
    for (const std::string& bank : banks) {
        ProgressStore store(m_state, bank);
        QCOMPARE(store.Open(), ProgressStore::Access::Writing);
        QString error;
        QVERIFY(store.Save(EncodeRunRecord(Record(bank, answers++)), error));
        files << store.filePath();
    }
    files.removeDuplicates();
    QCOMPARE(files.size(), 4);
    answers = 1;
    for (const std::string& bank : banks) {
        ProgressStore store(m_state, bank);
        QCOMPARE(store.Load().record.Answers, answers++);
    }
}

void TestProgressStore::damagedFileIsPutAside_data()
{
    QTest::addColumn<QByteArray>("contents");
    QTest::addColumn<qint64>("size"); // a file of this size instead, when not 0
    const QByteArray good = QByteArray::fromStdString(EncodeRunRecord(Record("/banki/pierwszy", 3)));
    QTest::newRow("truncated") << good.left(good.size() / 2) << qint64(0);
    QTest::newRow("not JSON") << QByteArray("\x89PNG\r\n\x1a\n") << qint64(0);
    QTest::newRow("wrong types") << QByteArray(good).replace("\"answers\":3", "\"answers\":[3]") << qint64(0);
    QTest::newRow("negative counter") << QByteArray(good).replace("\"a.txt\",1", "\"a.txt\",-1") << qint64(0);
    QTest::newRow("huge counter") << QByteArray(good).replace("\"a.txt\",1", "\"a.txt\",1e12") << qint64(0);
    QTest::newRow("name with a path") << QByteArray(good).replace("\"a.txt\"", "\"/etc/a.txt\"") << qint64(0);
    QTest::newRow("another bank's record") << QByteArray(good).replace("pierwszy", "drugi") << qint64(0);
    QTest::newRow("100 MB") << QByteArray() << qint64(100) * 1024 * 1024;
}

void TestProgressStore::damagedFileIsPutAside()
{
    QFETCH(QByteArray, contents);
    QFETCH(qint64, size);
    ProgressStore store(m_state, "/banki/pierwszy");
    QCOMPARE(store.Open(), ProgressStore::Access::Writing);
    if (size > 0) {
        QFile file(store.filePath());
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("{\"format\": \"zdawnik-progress\", \"questions\": [");
        QVERIFY(file.resize(size));
    } else {
        Write(store.filePath(), contents);
    }

    const ProgressStore::Loaded loaded = store.Load();
    QCOMPARE(loaded.found, ProgressStore::Found::Damaged);
    QVERIFY(!loaded.problem.isEmpty());
    QCOMPARE(loaded.keptAside, store.filePath() + ".damaged");
    QVERIFY(!QFile::exists(store.filePath()));
    if (size > 0)
        QCOMPARE(QFileInfo(loaded.keptAside).size(), size);
    else
        QCOMPARE(Contents(loaded.keptAside), contents);

    // The place is free for a fresh run.
    QString error;
    QVERIFY(store.Save(EncodeRunRecord(Record("/banki/pierwszy", 1)), error));
    QCOMPARE(store.Load().found, ProgressStore::Found::Record);
}

void TestProgressStore::everyDamagedFileKeepsItsOwnName()
{
    ProgressStore store(m_state, "/banki/pierwszy");
    QCOMPARE(store.Open(), ProgressStore::Access::Writing);
    QStringList aside;
    for (int i = 0; i < 3; ++i) {
        Write(store.filePath(), "zepsuty " + QByteArray::number(i));
        aside << store.Load().keptAside;
    }
    QCOMPARE(aside, QStringList({store.filePath() + ".damaged", store.filePath() + ".1.damaged",
                                 store.filePath() + ".2.damaged"}));
    QCOMPARE(Contents(aside[0]), QByteArray("zepsuty 0"));
    QCOMPARE(Contents(aside[2]), QByteArray("zepsuty 2"));
}

void TestProgressStore::secondStoreOnTheSameBankOnlyReads()
{
    ProgressStore first(m_state, "/banki/pierwszy");
    QCOMPARE(first.Open(), ProgressStore::Access::Writing);
    QString error;
    QVERIFY(first.Save(EncodeRunRecord(Record("/banki/pierwszy", 4)), error));

    ProgressStore second(m_state, "/banki/pierwszy");
    QCOMPARE(second.Open(), ProgressStore::Access::HeldByAnother);
    QCOMPARE(second.Load().record.Answers, 4);
    QVERIFY(!second.Save(EncodeRunRecord(Record("/banki/pierwszy", 9)), error));
    QCOMPARE(first.Load().record.Answers, 4);

    // A damaged file is left where it is for the window that holds the lock.
    Write(first.filePath(), "{");
    const ProgressStore::Loaded loaded = second.Load();
    QCOMPARE(loaded.found, ProgressStore::Found::Damaged);
    QVERIFY(QFile::exists(first.filePath()));

    // Another bank is not held.
    ProgressStore other(m_state, "/banki/drugi");
    QCOMPARE(other.Open(), ProgressStore::Access::Writing);
}

void TestProgressStore::lockIsFreedWithItsStore()
{
    {
        ProgressStore first(m_state, "/banki/pierwszy");
        QCOMPARE(first.Open(), ProgressStore::Access::Writing);
    }
    ProgressStore second(m_state, "/banki/pierwszy");
    QCOMPARE(second.Open(), ProgressStore::Access::Writing);
}

void TestProgressStore::unwritableFolder()
{
    // The state folder would have to be made inside a file: it cannot be created, whoever runs this.
    Write(m_dir->filePath("plik"), "nie katalog");
    ProgressStore store(m_dir->filePath("plik/zdawnik"), "/banki/pierwszy");
    QCOMPARE(store.Open(), ProgressStore::Access::FolderUnwritable);
    QCOMPARE(store.Load().found, ProgressStore::Found::Nothing);
    QString error;
    QVERIFY(!store.Save(EncodeRunRecord(Record("/banki/pierwszy", 1)), error));
    QVERIFY(!error.isEmpty());
}

void TestProgressStore::folderRemovedWhileOpen()
{
    ProgressStore store(m_state, "/banki/pierwszy");
    QCOMPARE(store.Open(), ProgressStore::Access::Writing);
    QString error;
    QVERIFY(store.Save(EncodeRunRecord(Record("/banki/pierwszy", 1)), error));
    QVERIFY(QDir(m_state).removeRecursively());
    QVERIFY(store.Save(EncodeRunRecord(Record("/banki/pierwszy", 2)), error));
    QCOMPARE(store.Load().record.Answers, 2);

    // Now a file stands where the folder was: the save fails and says why, and the next one, once
    // the folder can be made again, succeeds.
    QVERIFY(QDir(m_state).removeRecursively());
    Write(m_state, "zajęte");
    QVERIFY(!store.Save(EncodeRunRecord(Record("/banki/pierwszy", 3)), error));
    QVERIFY(!error.isEmpty());
    QVERIFY(QFile::remove(m_state));
    QVERIFY(store.Save(EncodeRunRecord(Record("/banki/pierwszy", 4)), error));
    QCOMPARE(store.Load().record.Answers, 4);
}

QTEST_GUILESS_MAIN(TestProgressStore)
#include "tst_progressstore.moc"
