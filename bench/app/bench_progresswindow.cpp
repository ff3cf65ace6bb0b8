// The progress window on a bank of 3,000 questions whose history holds 1,000,000 answers: opening it
// (the store's queries, the window made, its models filled, its chart drawn and shown) against the bare
// SQL queries behind it plus filling the models with their rows; and opening it again after a check.

#include "app/ExamsModel.h"
#include "app/HardestQuestionsModel.h"
#include "app/HistoryReading.h"
#include "app/ProgressWindow.h"
#include "app/SittingsModel.h"
#include "bench/BenchOutput.h"
#include "drill/Random.h"
#include "progress/HistoryStore.h"
#include "progress/SqliteDatabase.h"
#include "tests/progress/HistoryTestSupport.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

using namespace zdawnik;
using namespace zdawnik::bench;

namespace {

constexpr int BankSize = 3'000;
constexpr int HistoryAnswers = 1'000'000;
constexpr int AnswersPerSitting = 400;

std::string QuestionName(int q)
{
    return "pytanie-" + std::to_string(10000 + q) + ".txt";
}

void WriteBank(const QString& bankDir)
{
    QDir().mkpath(bankDir);
    for (int q = 0; q < BankSize; ++q) {
        QFile file(bankDir + '/' + QString::fromStdString(QuestionName(q)));
        if (file.open(QIODevice::WriteOnly))
            file.write("X0100\nKt\xc3\xb3ra odpowied\xc5\xba jest dobra w pytaniu " + QByteArray::number(q) +
                       "?\nA\nB\nC\nD\n");
    }
}

// A million answers over the bank in sittings of 400, two days in three over about three years, with
// an exam now and then, added to the store's database.
void AddHistory(const QString& path)
{
    SqliteDatabase db;
    db.Open(path, true, 10'000);
    db.QueryText("PRAGMA journal_mode = WAL");
    SqliteTransaction fill(db);
    Random draw;
    std::vector<std::int64_t> questions;
    SqliteStatement ids(db.handle(), "SELECT id FROM questions ORDER BY id");
    while (ids.Step())
        questions.push_back(ids.Integer(0));
    SqliteStatement sitting(
        db.handle(), "INSERT INTO sittings (bank, kind, start, end, study_seconds, answers, good_answers, "
                     "mastered_after, exam_questions, exam_pass_mark, exam_score, exam_finished) VALUES "
                     "(1, ?2, ?1, ?1 + 3600000, 2800, 400, 300, ?3, ?4, ?5, ?6, ?7) RETURNING id");
    SqliteStatement answer(db.handle(),
                           "INSERT INTO answers (sitting, question, at, verdict, seconds, chosen, "
                           "correct, mastered) VALUES (?1, ?2, ?3, ?4, 7, '1,3', '1,3', ?5)");
    std::int64_t at = QDateTime::currentMSecsSinceEpoch() - 1100LL * 24 * 3600 * 1000;
    std::int64_t sittingId = 0;
    for (int i = 0; i < HistoryAnswers; ++i) {
        if (i % AnswersPerSitting == 0) {
            at += (draw.RandomBelow(3) == 0 ? 2 : 1) * 24LL * 3600 * 1000;
            const bool exam = draw.RandomBelow(20) == 0;
            sitting.Bind(1, at).Bind(2, exam ? 2 : 0).Bind(3, std::min(i / 300, BankSize));
            if (exam)
                sitting.Bind(4, 40).Bind(5, 50).Bind(6, std::int64_t(draw.RandomBelow(41))).Bind(7, 1);
            else
                sitting.BindNull(4).BindNull(5).BindNull(6).BindNull(7);
            sitting.Step();
            sittingId = sitting.Integer(0);
            sitting.Reset();
        }
        answer.Bind(1, sittingId)
            .Bind(2, questions[draw.RandomBelow(std::uint32_t(questions.size()))])
            .Bind(3, at + 7000LL * (i % AnswersPerSitting))
            .Bind(4, std::int64_t(draw.RandomBelow(4) == 0   ? 2
                                  : draw.RandomBelow(8) == 0 ? 1
                                                             : 0))
            .Bind(5, std::min(i / 300, BankSize))
            .Run();
    }
    fill.Commit();
    db.Execute("PRAGMA wal_checkpoint(TRUNCATE)");
}

// The queries behind the window, bare: a connection of its own, each statement prepared and its rows
// read into the figures; then the models filled with them.
void BareQueriesAndModels(const QString& database, const std::filesystem::path& bankDir, QObject& owner)
{
    SqliteDatabase db;
    db.Open(database, false, 10'000);
    std::vector<DayFigures> days;
    SqliteStatement dayRows(db.handle(),
                            "SELECT a.at / 900000 AS quarter, count(*), sum(a.verdict = 0), sum(a.seconds), "
                            "max(CASE WHEN a.mastered IS NOT NULL THEN a.id END), a.mastered "
                            "FROM answers a JOIN sittings s ON s.id = a.sitting WHERE s.bank = 1 GROUP BY "
                            "quarter ORDER BY quarter");
    while (dayRows.Step()) {
        const QDate day = QDateTime::fromMSecsSinceEpoch(dayRows.Integer(0) * 900000).date();
        if (days.empty() || days.back().Day != day)
            days.push_back({day, 0, 0, 0, 0});
        days.back().Answers += int(dayRows.Integer(1));
        days.back().GoodAnswers += int(dayRows.Integer(2));
        days.back().StudySeconds += dayRows.Integer(3);
        if (!dayRows.IsNull(4))
            days.back().MasteredAtEnd = int(dayRows.Integer(5));
    }
    std::vector<QuestionFigures> questions;
    SqliteStatement questionRows(
        db.handle(), "SELECT q.name, count(*), sum(a.verdict = 2), sum(a.verdict = 1), sum(a.verdict = 0), "
                     "max(CASE WHEN a.verdict <> 0 THEN a.at END) FROM questions q JOIN answers a ON "
                     "a.question = q.id WHERE q.bank = 1 GROUP BY q.id ORDER BY sum(a.verdict <> 0) DESC, "
                     "CAST(sum(a.verdict = 0) AS REAL) / count(*), q.name");
    while (questionRows.Step())
        questions.push_back({questionRows.Bytes(0), int(questionRows.Integer(1)),
                             int(questionRows.Integer(2)), int(questionRows.Integer(3)),
                             int(questionRows.Integer(4)),
                             QDateTime::fromMSecsSinceEpoch(questionRows.Integer(5))});
    std::vector<SittingFigures> sittings;
    SqliteStatement sittingRows(
        db.handle(), "SELECT id, kind, start, end, study_seconds, answers, good_answers, mastered_after, "
                     "exam_questions, exam_pass_mark, exam_score, exam_finished FROM sittings "
                     "WHERE bank = 1 ORDER BY start, id");
    while (sittingRows.Step())
        sittings.push_back(
            {sittingRows.Integer(0), sittingRows.Integer(1) == 2 ? SittingKind::Exam : SittingKind::Drill,
             QDateTime::fromMSecsSinceEpoch(sittingRows.Integer(2)),
             QDateTime::fromMSecsSinceEpoch(sittingRows.Integer(3)), sittingRows.Integer(4),
             int(sittingRows.Integer(5)), int(sittingRows.Integer(6)), int(sittingRows.Integer(7)),
             int(sittingRows.Integer(8)), int(sittingRows.Integer(9)), int(sittingRows.Integer(10)),
             sittingRows.Integer(11) != 0});
    HardestQuestionsModel hardest(&owner);
    hardest.SetQuestions(bankDir, questions);
    SittingsModel sittingsModel(&owner);
    sittingsModel.SetSittings(sittings);
    ExamsModel exams(&owner);
    exams.SetSittings(sittings);
}

} // namespace

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    QTemporaryDir dir;
    const QString stateDir = dir.filePath("stan");
    const QString bankDir = dir.filePath("baza");
    WriteBank(bankDir);
    std::vector<std::string> names;
    for (int q = 0; q < BankSize; ++q)
        names.push_back(QuestionName(q));

    // The store writes the bank, its questions and the kept run; the history is added behind it.
    auto writer = std::make_unique<HistoryStore>(stateDir, bankDir.toStdString());
    if (writer->Open() != HistoryStore::Access::Writing)
        return 1;
    zdawnik::test::RunOfChecks run(bankDir.toStdString(), names);
    QString error;
    writer->BeginSitting(SittingKind::Drill, QDateTime::currentDateTime());
    if (!run.Check(*writer, 0, Verdict::Wrong, QDateTime::currentDateTime(), error))
        std::fprintf(stderr, "check: %s\n", qPrintable(error));
    const QString database = writer->databasePath();
    AddHistory(database);

    const std::filesystem::path bank = bankDir.toStdString();
    auto open = [&] {
        HistoryStore reader(stateDir, bankDir.toStdString());
        ProgressWindow window;
        window.ShowHistory(ReadHistory(reader, bank, BankSize, 1000, QDateTime::currentDateTime()));
        window.show();
        QCoreApplication::processEvents();
    };
    auto bare = [&] {
        QObject owner;
        BareQueriesAndModels(database, bank, owner);
    };
    const auto [opening, bareOpening] = MedianPairedMicroseconds(open, bare, 1, 3);
    ReportTimes("progress-window-open-1000000-answers-vs-bare-queries", opening, bareOpening, 2.0);

    // A check, and the window opened again.
    int question = 1;
    const auto [reopening, bareReopening] = MedianPairedMicroseconds(
        [&] {
            if (!run.Check(*writer, question++, Verdict::Partial, QDateTime::currentDateTime(), error))
                std::fprintf(stderr, "check: %s\n", qPrintable(error));
            open();
        },
        [&] {
            if (!run.Check(*writer, question++, Verdict::Partial, QDateTime::currentDateTime(), error))
                std::fprintf(stderr, "check: %s\n", qPrintable(error));
            bare();
        },
        1, 3);
    ReportTimes("progress-window-reopen-after-check-vs-bare-queries", reopening, bareReopening, 2.0);
    return 0;
}
