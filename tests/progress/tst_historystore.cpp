// The history database as the window and the statistics window use it: the kept run comes back as it
// was written, a fresh run replaces it at its first check, every answer is kept and counted by day, by
// question and by sitting, two windows share the database, runs kept by earlier versions are taken in,
// and a database of this layout is brought up to the next.

#include "progress/HistorySchema.h"
#include "progress/RunRecord.h"
#include "progress/SqliteDatabase.h"

#include <QCryptographicHash>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <ctime>
#include <sys/stat.h>

#include "HistoryTestSupport.h"

using namespace zdawnik;
using zdawnik::test::Query;
using zdawnik::test::RunOfChecks;

namespace {

const std::string Bank = "/home/ola/egzamin/baza";

std::vector<std::string> Names(int count, const char* stem = "pytanie")
{
    std::vector<std::string> names;
    for (int i = 0; i < count; ++i)
        names.push_back(std::string(stem) + "-" + std::to_string(i) + ".txt");
    return names;
}

QDateTime LocalNoon(int day)
{
    return QDateTime(QDate(2026, 3, 1).addDays(day), QTime(12, 0)).toUTC();
}

QString RunFileName(const std::string& bank)
{
    return QString::fromLatin1(
               QCryptographicHash::hash(QByteArray::fromStdString(bank), QCryptographicHash::Sha256)
                   .left(16)
                   .toHex()) +
           QStringLiteral(".json");
}

} // namespace

class TestHistoryStore : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        m_state = m_dir->filePath("stan");
    }

    void keptRunComesBack();
    void onlyTheDatabaseAndItsLockStay();
    void freshRunReplacesKeptRunAtItsFirstCheck();
    void historyByDayAndQuestion();
    void daysFollowTheLocalCalendar_data();
    void daysFollowTheLocalCalendar();
    void questionsToDrill_data();
    void questionsToDrill();
    void sittingsAndExams();
    void twoWindows();
    void runFilesAreTakenIn_data();
    void runFilesAreTakenIn();
    void layoutIsBroughtUpToTheNextVersion();

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_state;
};

void TestHistoryStore::keptRunComesBack()
{
    RunOfChecks run(Bank, Names(5));
    {
        HistoryStore store(m_state, Bank);
        QCOMPARE(store.Open(), HistoryStore::Access::Writing);
        QCOMPARE(store.LoadRun().found, HistoryStore::Found::Nothing);
        store.BeginSitting(SittingKind::Drill, LocalNoon(0));
        QString error;
        QVERIFY2(run.Check(store, 1, Verdict::Good, LocalNoon(0), error), qPrintable(error));
        QVERIFY2(run.Check(store, 3, Verdict::Wrong, LocalNoon(0), error), qPrintable(error));
        QVERIFY2(run.Check(store, 1, Verdict::Partial, LocalNoon(0), error), qPrintable(error));
        run.Run.StudySeconds = 400;
        RunChange closing;
        closing.Answers = run.Run.Answers;
        closing.GoodAnswers = run.Run.GoodAnswers;
        closing.StudySeconds = 400;
        closing.SavedAt = run.Run.SavedAt;
        QVERIFY2(store.EndSitting(LocalNoon(0).addSecs(600), 400, &closing, error), qPrintable(error));
    }
    HistoryStore store(m_state, Bank);
    QCOMPARE(store.Open(), HistoryStore::Access::Writing);
    const HistoryStore::Loaded loaded = store.LoadRun();
    QCOMPARE(loaded.found, HistoryStore::Found::Record);
    QVERIFY(zdawnik::test::SameRun(loaded.record, run.Run));
    QCOMPARE(loaded.record.Questions[1].Repeats, 5);
}

void TestHistoryStore::onlyTheDatabaseAndItsLockStay()
{
    {
        HistoryStore store(m_state, Bank);
        store.Open();
        RunOfChecks run(Bank, Names(2));
        QString error;
        QVERIFY(run.Check(store, 0, Verdict::Good, LocalNoon(0), error));
        // While it is open, SQLite's log and index beside it.
        QCOMPARE(QDir(m_state).entryList(QDir::Files | QDir::System | QDir::Hidden),
                 QStringList({"zdawnik.lock", "zdawnik.sqlite", "zdawnik.sqlite-shm", "zdawnik.sqlite-wal"}));
    }
    QCOMPARE(QDir(m_state).entryList(QDir::Files | QDir::System | QDir::Hidden),
             QStringList({"zdawnik.lock", "zdawnik.sqlite"}));
}

void TestHistoryStore::freshRunReplacesKeptRunAtItsFirstCheck()
{
    QString error;
    RunOfChecks kept(Bank, Names(4, "stare"));
    {
        HistoryStore store(m_state, Bank);
        store.Open();
        store.BeginSitting(SittingKind::Drill, LocalNoon(0));
        QVERIFY2(kept.Check(store, 0, Verdict::Good, LocalNoon(0), error), qPrintable(error));
    }
    HistoryStore store(m_state, Bank);
    store.Open();
    QVERIFY(zdawnik::test::SameRun(store.LoadRun().record, kept.Run));
    // A fresh run begun: nothing is replaced until its first check.
    store.BeginSitting(SittingKind::Drill, LocalNoon(1));
    RunOfChecks fresh(Bank, Names(3, "nowe"));
    {
        HistoryStore reader(m_state, Bank);
        reader.Open();
        QVERIFY(zdawnik::test::SameRun(reader.LoadRun().record, kept.Run));
    }
    QVERIFY2(fresh.Check(store, 2, Verdict::Wrong, LocalNoon(1), error), qPrintable(error));
    QVERIFY2(fresh.Check(store, 0, Verdict::Good, LocalNoon(1), error), qPrintable(error));
    HistoryStore reader(m_state, Bank);
    reader.Open();
    QCOMPARE(reader.access(), HistoryStore::Access::HeldByAnother);
    QVERIFY(zdawnik::test::SameRun(reader.LoadRun().record, fresh.Run));
    // Both runs' answers stay in the history.
    QCOMPARE(reader.Questions().size(), std::size_t(3));
}

void TestHistoryStore::historyByDayAndQuestion()
{
    HistoryStore store(m_state, Bank);
    store.Open();
    RunOfChecks run(Bank, Names(3));
    QString error;
    store.BeginSitting(SittingKind::Drill, LocalNoon(0));
    // Day 0: question 0 good twice (mastering needs its counter down first), question 1 wrong.
    QVERIFY(run.Check(store, 0, Verdict::Good, LocalNoon(0), error, 10));
    QVERIFY(run.Check(store, 0, Verdict::Good, LocalNoon(0).addSecs(60), error, 20));
    QVERIFY(run.Check(store, 0, Verdict::Good, LocalNoon(0).addSecs(120), error, 30));
    QVERIFY(run.Check(store, 1, Verdict::Wrong, LocalNoon(0).addSecs(180), error, 40));
    // Day 2: question 2 partly right, question 1 wrong again.
    QVERIFY(run.Check(store, 2, Verdict::Partial, LocalNoon(2), error, 7));
    QVERIFY(run.Check(store, 1, Verdict::Wrong, LocalNoon(2).addSecs(60), error, 8));

    const std::vector<DayFigures> days = store.Days();
    QCOMPARE(days.size(), std::size_t(2));
    QCOMPARE(days[0].Day, QDate(2026, 3, 1));
    QCOMPARE(days[0].Answers, 4);
    QCOMPARE(days[0].GoodAnswers, 3);
    QCOMPARE(days[0].StudySeconds, 100);
    QCOMPARE(days[0].MasteredAtEnd, 1);
    QCOMPARE(days[1].Day, QDate(2026, 3, 3));
    QCOMPARE(days[1].Answers, 2);
    QCOMPARE(days[1].GoodAnswers, 0);
    QCOMPARE(days[1].MasteredAtEnd, 1);

    const std::vector<QuestionFigures> questions = store.Questions();
    QCOMPARE(questions.size(), std::size_t(3));
    QCOMPARE(questions[0].FileName, std::string("pytanie-1.txt"));
    QCOMPARE(questions[0].Wrong, 2);
    QCOMPARE(questions[0].LastMissed, LocalNoon(2).addSecs(60));
    QCOMPARE(questions[1].FileName, std::string("pytanie-2.txt"));
    QCOMPARE(questions[1].Partial, 1);
    QCOMPARE(questions[2].FileName, std::string("pytanie-0.txt"));
    QCOMPARE(questions[2].Asked, 3);
    QCOMPARE(questions[2].Good, 3);
    QVERIFY(!questions[2].LastMissed.isValid());
    // What was chosen and what was right, as the statistics window reads them.
    QCOMPARE(Query(store.databasePath(), "SELECT chosen || '/' || correct FROM answers ORDER BY id LIMIT 1"),
             QStringList({"1,3/1,3"}));
}

void TestHistoryStore::daysFollowTheLocalCalendar_data()
{
    QTest::addColumn<QByteArray>("zone");
    QTest::newRow("UTC") << QByteArray("UTC");
    QTest::newRow("Warsaw") << QByteArray("Europe/Warsaw");
    QTest::newRow("a quarter past the hour") << QByteArray("Asia/Kathmandu");
    QTest::newRow("half past, behind UTC") << QByteArray("America/St_Johns");
}

void TestHistoryStore::daysFollowTheLocalCalendar()
{
    QFETCH(QByteArray, zone);
    const QByteArray before = qgetenv("TZ");
    qputenv("TZ", zone);
    ::tzset();
    HistoryStore store(m_state, Bank);
    store.Open();
    RunOfChecks run(Bank, Names(1));
    QString error;
    // The last minute of one local day, and the first of the next.
    const QDateTime midnight(QDate(2026, 3, 29), QTime(0, 0));
    for (const QDateTime& at : {midnight.addSecs(-60), midnight, midnight.addSecs(60)})
        QVERIFY(run.Check(store, 0, Verdict::Wrong, at.toUTC(), error));
    const std::vector<DayFigures> days = store.Days();
    qputenv("TZ", before);
    ::tzset();
    QCOMPARE(days.size(), std::size_t(2));
    QCOMPARE(days[0].Day, QDate(2026, 3, 28));
    QCOMPARE(days[0].Answers, 1);
    QCOMPARE(days[1].Day, QDate(2026, 3, 29));
    QCOMPARE(days[1].Answers, 2);
}

void TestHistoryStore::questionsToDrill_data()
{
    QTest::addColumn<int>("missed");      // questions missed, once each
    QTest::addColumn<int>("daysAgo");     // when
    QTest::addColumn<int>("missedTwice"); // of them, those missed once more
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("none missed") << 0 << 1 << 0 << QStringList();
    QTest::newRow("within 14 days, most missed first")
        << 3 << 13 << 1 << QStringList({"pytanie-0.txt", "pytanie-1.txt", "pytanie-2.txt"});
    QTest::newRow("older than 14 days") << 3 << 15 << 0 << QStringList();
    // Ties in misses and share go by name, as the bytes sort.
    QStringList rest;
    for (int i = 2; i < 40; ++i)
        rest << QStringLiteral("pytanie-%1.txt").arg(i);
    std::sort(rest.begin(), rest.end());
    QTest::newRow("at most 30") << 40 << 2 << 2
                                << QStringList({"pytanie-0.txt", "pytanie-1.txt"}) + rest.mid(0, 28);
}

void TestHistoryStore::questionsToDrill()
{
    QFETCH(int, missed);
    QFETCH(int, daysAgo);
    QFETCH(int, missedTwice);
    QFETCH(QStringList, expected);
    HistoryStore store(m_state, Bank);
    store.Open();
    RunOfChecks run(Bank, Names(std::max(missed, 1) + 1));
    const QDateTime now = LocalNoon(30);
    const QDateTime then = now.addDays(-daysAgo);
    QString error;
    QVERIFY(run.Check(store, int(run.Run.Questions.size()) - 1, Verdict::Good, then, error));
    for (int i = 0; i < missed; ++i)
        QVERIFY(run.Check(store, i, Verdict::Wrong, then, error));
    for (int i = 0; i < missedTwice; ++i)
        QVERIFY(run.Check(store, i, Verdict::Partial, then, error));
    QStringList drill;
    for (const std::string& name : store.QuestionsToDrill(now))
        drill << QString::fromStdString(name);
    QCOMPARE(drill, expected);
}

void TestHistoryStore::sittingsAndExams()
{
    QString error;
    {
        HistoryStore store(m_state, Bank);
        store.Open();
        RunOfChecks run(Bank, Names(2));
        store.BeginSitting(SittingKind::Drill, LocalNoon(0));
        QVERIFY(run.Check(store, 0, Verdict::Good, LocalNoon(0), error));
        QVERIFY(run.Check(store, 1, Verdict::Wrong, LocalNoon(0), error));
        QVERIFY(store.EndSitting(LocalNoon(0).addSecs(300), 290, nullptr, error));
        // A sitting without an answer leaves no row.
        store.BeginSitting(SittingKind::Hardest, LocalNoon(1));
        QVERIFY(store.EndSitting(LocalNoon(1).addSecs(5), 5, nullptr, error));

        store.BeginSitting(SittingKind::Exam, LocalNoon(2));
        const AnswerEntry answer{"pytanie-1.txt", LocalNoon(2), Verdict::Good, 30, "2", "2", 30};
        QVERIFY(store.RecordExam({40, 50, 1, false}, {answer}, error));
    } // closed with the exam under way: kept unfinished, without an end
    HistoryStore store(m_state, Bank);
    const std::vector<SittingFigures> sittings = store.Sittings();
    QCOMPARE(sittings.size(), std::size_t(2));
    QCOMPARE(sittings[0].Kind, SittingKind::Drill);
    QCOMPARE(sittings[0].Start, LocalNoon(0));
    QCOMPARE(sittings[0].End, LocalNoon(0).addSecs(300));
    QCOMPARE(sittings[0].StudySeconds, 290);
    QCOMPARE(sittings[0].Answers, 2);
    QCOMPARE(sittings[0].GoodAnswers, 1);
    QCOMPARE(sittings[1].Kind, SittingKind::Exam);
    QVERIFY(!sittings[1].End.isValid());
    QCOMPARE(sittings[1].ExamQuestions, 40);
    QCOMPARE(sittings[1].ExamPassMark, 50);
    QCOMPARE(sittings[1].ExamScore, 1);
    QCOMPARE(sittings[1].ExamFinished, false);
    QCOMPARE(sittings[1].Answers, 1);
}

void TestHistoryStore::twoWindows()
{
    QString error;
    auto first = std::make_unique<HistoryStore>(m_state, Bank);
    HistoryStore second(m_state, Bank);
    HistoryStore other(m_state, "/home/ola/inna-baza");
    QCOMPARE(first->Open(), HistoryStore::Access::Writing);
    QCOMPARE(second.Open(), HistoryStore::Access::HeldByAnother);
    QCOMPARE(other.Open(), HistoryStore::Access::Writing);
    RunOfChecks firstRun(Bank, Names(3)), secondRun(Bank, Names(3)),
        otherRun("/home/ola/inna-baza", Names(2));
    for (int i = 0; i < 3; ++i) {
        QVERIFY(firstRun.Check(*first, i, Verdict::Good, LocalNoon(0), error));
        QVERIFY(secondRun.Check(second, i, Verdict::Wrong, LocalNoon(0), error));
        QVERIFY(otherRun.Check(other, i % 2, Verdict::Good, LocalNoon(0), error));
    }
    // The second window's answers are in the history; the kept run is the first window's.
    QCOMPARE(first->Questions()[0].Asked, 2);
    QVERIFY(zdawnik::test::SameRun(second.LoadRun().record, firstRun.Run));
    QVERIFY(zdawnik::test::SameRun(other.LoadRun().record, otherRun.Run));
    // Once the first window closes, the bank is free for the next one.
    first.reset();
    HistoryStore third(m_state, Bank);
    QCOMPARE(third.Open(), HistoryStore::Access::Writing);
}

void TestHistoryStore::runFilesAreTakenIn_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<int>("found");
    QTest::addColumn<QString>("suffix");
    QTest::newRow("unfinished") << "unfinished" << int(HistoryStore::Found::Record) << ".imported";
    QTest::newRow("finished") << "finished" << int(HistoryStore::Found::Record) << ".imported";
    QTest::newRow("damaged") << "damaged" << int(HistoryStore::Found::Damaged) << ".damaged";
    QTest::newRow("another bank's") << "other" << int(HistoryStore::Found::Nothing) << ".imported";
    QTest::newRow("a FIFO") << "fifo" << int(HistoryStore::Found::Damaged) << ".damaged";
}

void TestHistoryStore::runFilesAreTakenIn()
{
    QFETCH(QString, kind);
    QFETCH(int, found);
    QFETCH(QString, suffix);
    QDir().mkpath(m_state);
    RunRecord record;
    record.BankPath = kind == "other" ? "/inna/baza" : Bank;
    record.SavedAt = QDateTime(QDate(2026, 3, 12), QTime(14, 5, 7), Qt::UTC);
    record.StudySeconds = 4521;
    record.Answers = 12;
    record.GoodAnswers = 9;
    record.Finished = kind == "finished";
    record.Questions = {{"a.txt", 0, kind == "finished"}, {"b.txt", 0, true}, {"c.txt", 7, false}};
    if (kind == "finished")
        record.Questions[2] = {"c.txt", 0, true};
    const QString file = QDir(m_state).filePath(RunFileName(record.BankPath));
    if (kind == "fifo") {
        QCOMPARE(::mkfifo(QFile::encodeName(file).constData(), 0600), 0);
    } else {
        std::string bytes = EncodeRunRecord(record);
        if (kind == "damaged")
            bytes.resize(bytes.size() / 2);
        QFile out(file);
        QVERIFY(out.open(QIODevice::WriteOnly));
        out.write(bytes.data(), qint64(bytes.size()));
    }
    // What an interrupted save and a window of the earlier version left behind is cleared away.
    const QString oldLock = file.chopped(5) + ".lock";
    for (const QString& leftOver : {file + ".Ab12Cd", oldLock}) {
        QFile out(leftOver);
        QVERIFY(out.open(QIODevice::WriteOnly));
    }

    HistoryStore store(m_state, Bank);
    QCOMPARE(store.Open(), HistoryStore::Access::Writing);
    const HistoryStore::Loaded loaded = store.LoadRun();
    QCOMPARE(int(loaded.found), found);
    if (loaded.found == HistoryStore::Found::Record)
        QVERIFY(zdawnik::test::SameRun(loaded.record, record));
    if (loaded.found == HistoryStore::Found::Damaged) {
        QCOMPARE(loaded.keptAside, file + ".damaged");
        QCOMPARE(loaded.notice,
                 QStringLiteral("Zapisanego postępu nie udało się odczytać (plik odłożono z końcówką "
                                ".damaged) – można zacząć naukę od nowa."));
    }
    QVERIFY(QFileInfo::exists(file + suffix) || QFileInfo(file + suffix).isSymLink());
    QVERIFY(!QFileInfo::exists(file));
    QVERIFY(!QFileInfo::exists(file + ".Ab12Cd"));
    QVERIFY(!QFileInfo::exists(oldLock));
    if (kind == "other") {
        HistoryStore other(m_state, "/inna/baza");
        other.Open();
        QVERIFY(zdawnik::test::SameRun(other.LoadRun().record, record));
    }
}

void TestHistoryStore::layoutIsBroughtUpToTheNextVersion()
{
    QString error;
    RunOfChecks run(Bank, Names(2));
    {
        HistoryStore store(m_state, Bank);
        store.Open();
        QVERIFY(run.Check(store, 0, Verdict::Wrong, LocalNoon(0), error));
    }
    const QString path = QDir(m_state).filePath("zdawnik.sqlite");
    {
        SqliteDatabase db;
        QCOMPARE(db.Open(path, false, 1000), 0);
        std::vector<SchemaStep> steps = SchemaSteps();
        steps.push_back([](SqliteDatabase& next) {
            next.Execute("ALTER TABLE answers ADD COLUMN hint TEXT NOT NULL DEFAULT 'brak'");
        });
        MigrateSchema(db, steps);
        QCOMPARE(db.QueryInteger("PRAGMA user_version"), 2);
        // Brought up twice is brought up once.
        MigrateSchema(db, steps);
    }
    QCOMPARE(Query(path, "SELECT verdict || ',' || hint FROM answers"), QStringList({"2,brak"}));
    QCOMPARE(Query(path, "SELECT answers FROM runs"), QStringList({"1"}));
    // This version does not read what a newer one wrote: it is set aside, kept whole.
    HistoryStore store(m_state, Bank);
    QCOMPARE(store.Open(), HistoryStore::Access::Writing);
    QVERIFY(!store.databaseNotice().isEmpty());
    QCOMPARE(Query(store.databaseAside(), "PRAGMA user_version"), QStringList({"2"}));
    QCOMPARE(store.LoadRun().found, HistoryStore::Found::Nothing);
}

QTEST_GUILESS_MAIN(TestHistoryStore)
#include "tst_historystore.moc"
