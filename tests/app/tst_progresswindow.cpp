// The window "Zdawnik — postępy": what its chart draws, what its tables hold and in which order, what
// "zapisz…" writes and what "ćwicz te pytania" asks for.

#include "app/DaysChart.h"
#include "app/HistoryReading.h"
#include "app/ProgressWindow.h"
#include "app/SaveDialogs.h"
#include "tests/progress/HistoryTestSupport.h"

#include <QAbstractItemModel>
#include <QChartView>
#include <QFile>
#include <QImage>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineSeries>
#include <QPushButton>
#include <QScatterSeries>
#include <QSignalSpy>
#include <QStackedWidget>
#include <QTabWidget>
#include <QTableView>
#include <QTemporaryDir>
#include <QtTest>

#include <map>
#include <random>

#include "HistoryGenerator.h"

using namespace zdawnik;
using zdawnik::testing::GenerateHistory;
using zdawnik::testing::HistoryShape;

Q_DECLARE_METATYPE(std::vector<std::string>)

namespace {

// Answers every save dialog with one path.
class AnsweringSaveDialogs : public SaveDialogs
{
public:
    QString Answer;
    QString saveFileName(QWidget*, const QString&, const QString&, const QString&) override { return Answer; }
};

QScatterSeries* PointsNamed(QChartView& view, const QString& name)
{
    for (QAbstractSeries* series : view.chart()->series())
        if (series->name() == name)
            return qobject_cast<QScatterSeries*>(series);
    return nullptr;
}

QStringList Column(const QTableView& table, int column)
{
    QStringList cells;
    for (int row = 0; row < table.model()->rowCount(); ++row)
        cells.append(table.model()->index(row, column).data().toString());
    return cells;
}

DayFigures Day(QDate day, int answers, int good, int mastered)
{
    return {day, answers, good, answers * 20, mastered};
}

} // namespace

class TestProgressWindow : public QObject
{
    Q_OBJECT

private slots:
    void fromDatabase_data();
    void fromDatabase();
    void daysChart_data();
    void daysChart();
    void examsChart();
    void hardestQuestionsTable();
    void saving_data();
    void saving();
    void drill_data();
    void drill();
};

void TestProgressWindow::fromDatabase_data()
{
    QTest::addColumn<std::uint32_t>("seed");
    for (std::uint32_t seed : {1u, 2u, 3u})
        QTest::addRow("seed %u", seed) << seed;
}

// A real history: a seeded run of checks kept by the store, sittings on days with gaps between them.
void TestProgressWindow::fromDatabase()
{
    QFETCH(std::uint32_t, seed);
    QTemporaryDir folder;
    QDir(folder.path()).mkdir("baza");
    const QString bankDir = folder.filePath("baza");
    std::vector<std::string> names;
    for (int q = 1; q <= 12; ++q) {
        names.push_back(zdawnik::testing::GeneratedFileName(q));
        QFile file(bankDir + '/' + QString::fromStdString(names.back()));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("X01\nPytanie " + QByteArray::number(q) + "\nA\nB\n");
    }
    HistoryStore store(folder.filePath("stan"), bankDir.toStdString());
    QCOMPARE(store.Open(), HistoryStore::Access::Writing);
    zdawnik::test::RunOfChecks run(bankDir.toStdString(), names);

    std::mt19937 random(seed);
    const QDate first = QDate::currentDate().addDays(-20);
    std::map<QDate, DayFigures> days;
    std::map<std::string, std::pair<int, int>> misses; // wrong, partial
    QString error;
    for (int d = 0; d < 20; ++d) {
        if (random() % 3 == 0)
            continue;
        const QDateTime start(first.addDays(d), QTime(10, 0));
        store.BeginSitting(SittingKind::Drill, start);
        const int answers = 1 + int(random() % 15);
        DayFigures& day = days[start.date()];
        day.Day = start.date();
        for (int a = 0; a < answers; ++a) {
            const int question = int(random() % names.size());
            const auto verdict = Verdict(random() % 3);
            QVERIFY2(run.Check(store, question, verdict, start.addSecs(60 * a), error, 5), qPrintable(error));
            ++day.Answers;
            day.GoodAnswers += verdict == Verdict::Good;
            day.StudySeconds += 5;
            misses[names[std::size_t(question)]].first += verdict == Verdict::Wrong;
            misses[names[std::size_t(question)]].second += verdict == Verdict::Partial;
        }
        day.MasteredAtEnd = int(std::count_if(run.Run.Questions.begin(), run.Run.Questions.end(),
                                              [](const QuestionProgress& q) { return q.Mastered; }));
        QVERIFY(store.EndSitting(start.addSecs(3600), 5 * answers, nullptr, error));
    }

    ProgressWindow window;
    window.ShowHistory(ReadHistory(store, bankDir.toStdString(), 12, days.rbegin()->second.MasteredAtEnd,
                                   QDateTime::currentDateTime()));
    window.show();
    auto* chart = window.findChild<QChartView*>("chartDni");
    const QScatterSeries* answers = PointsNamed(*chart, "odpowiedzi");
    const QScatterSeries* mastered = PointsNamed(*chart, "opanowane pytania");
    QCOMPARE(answers->count(), int(days.size()));
    int i = 0;
    for (const auto& [date, day] : days) {
        QCOMPARE(QDateTime::fromMSecsSinceEpoch(qint64(answers->at(i).x())).date(), date);
        QCOMPARE(answers->at(i).y(), qreal(day.Answers));
        QCOMPARE(mastered->at(i).y(), qreal(day.MasteredAtEnd));
        ++i;
    }
    QCOMPARE(window.findChild<QTableView*>("tblSesje")->model()->rowCount(), int(days.size()));

    // Every question missed at least once, each once, the most often missed first, read from its file.
    const auto* table = window.findChild<QTableView*>("tblNajtrudniejsze");
    const auto missed = std::count_if(misses.begin(), misses.end(), [](const auto& entry) {
        return entry.second.first + entry.second.second > 0;
    });
    QCOMPARE(table->model()->rowCount(), int(missed));
    int before = INT_MAX;
    for (int row = 0; row < table->model()->rowCount(); ++row) {
        const std::string name = table->model()->index(row, 0).data().toString().toStdString();
        const auto [wrong, partial] = misses.at(name);
        QCOMPARE(table->model()->index(row, 3).data().toInt(), wrong);
        QCOMPARE(table->model()->index(row, 4).data().toInt(), partial);
        QVERIFY(wrong + partial <= before);
        before = wrong + partial;
        QCOMPARE(table->model()->index(row, 1).data().toString(),
                 "Pytanie " + QString::number(std::stoi(name.substr(7, 4))));
    }
}

void TestProgressWindow::daysChart_data()
{
    QTest::addColumn<std::vector<DayFigures>>("days");
    QTest::addColumn<int>("lines");
    QTest::addColumn<QString>("summary");
    const QDate d(2026, 12, 1);
    QTest::newRow("no history") << std::vector<DayFigures>{} << 0
                                << "opanowane pytania: 0 z 300, 0 dni nauki";
    QTest::newRow("a single day") << std::vector<DayFigures>{Day(d, 40, 30, 12)} << 0
                                  << "opanowane pytania: 12 z 300, 1 dzień nauki";
    // Three days in a row, a gap of two days, two days in a row, a gap, one day: each run of days a
    // line of its own for each of the four measures, the lone day a point alone.
    QTest::newRow("runs and gaps") << std::vector<DayFigures>{Day(d, 40, 30, 12),
                                                              Day(d.addDays(1), 100, 50, 20),
                                                              Day(d.addDays(2), 10, 10, 25),
                                                              Day(d.addDays(5), 60, 45, 40),
                                                              Day(d.addDays(6), 80, 60, 60),
                                                              Day(d.addDays(9), 7, 1, 61)}
                                   << 2 * 4 << "opanowane pytania: 61 z 300, 6 dni nauki";
}

void TestProgressWindow::daysChart()
{
    QFETCH(std::vector<DayFigures>, days);
    QFETCH(int, lines);
    QFETCH(QString, summary);
    HistorySnapshot history;
    history.BankQuestions = 300;
    history.Mastered = days.empty() ? 0 : days.back().MasteredAtEnd;
    history.Days = days;
    for (const DayFigures& day : days)
        history.Sittings.push_back({.Start = QDateTime(day.Day, QTime(9, 0)), .Answers = day.Answers});
    ProgressWindow window;
    window.ShowHistory(history);
    window.show();

    auto* chart = window.findChild<QChartView*>("chartDni");
    auto* pages = window.findChild<QStackedWidget*>();
    QVERIFY(chart && pages);
    QCOMPARE(chart->accessibleName(), summary);
    if (days.empty()) {
        // One sentence, and no axes.
        QVERIFY(window.findChild<QLabel*>("lblPustaHistoria")->isVisible());
        QVERIFY(!chart->isVisible());
        return;
    }
    QVERIFY(chart->isVisible());
    QCOMPARE(static_cast<DaysChart*>(chart)->LineCount(), lines);
    const QScatterSeries* mastered = PointsNamed(*chart, "opanowane pytania");
    const QScatterSeries* answers = PointsNamed(*chart, "odpowiedzi");
    const QScatterSeries* good = PointsNamed(*chart, "dobre odpowiedzi (%)");
    const QScatterSeries* time = PointsNamed(*chart, "czas nauki (min)");
    QVERIFY(mastered && answers && good && time);
    QCOMPARE(mastered->count(), int(days.size()));
    for (int i = 0; i < int(days.size()); ++i) {
        const DayFigures& day = days[std::size_t(i)];
        QCOMPARE(QDateTime::fromMSecsSinceEpoch(qint64(mastered->at(i).x())).date(), day.Day);
        QCOMPARE(mastered->at(i).y(), qreal(day.MasteredAtEnd));
        QCOMPARE(answers->at(i).y(), qreal(day.Answers));
        QCOMPARE(good->at(i).y(), qreal(day.GoodAnswers * 100 / day.Answers));
        QCOMPARE(time->at(i).y(), day.StudySeconds / 60.0);
    }
}

void TestProgressWindow::examsChart()
{
    HistorySnapshot history = GenerateHistory({.Seed = 7, .Questions = 50, .CalendarDays = 10, .Exams = 0});
    const QDateTime start(QDate(2026, 11, 3), QTime(20, 0));
    // Passed at 50%, failed at 40% (mark 50), unfinished, failed at 55% under a mark raised to 60.
    const int scores[] = {20, 16, 5, 22};
    const int marks[] = {50, 50, 50, 60};
    for (int e = 0; e < 4; ++e)
        history.Sittings.push_back({.Id = 100 + e,
                                    .Kind = SittingKind::Exam,
                                    .Start = start.addDays(e),
                                    .ExamQuestions = 40,
                                    .ExamPassMark = marks[e],
                                    .ExamScore = scores[e],
                                    .ExamFinished = e != 2});
    ProgressWindow window;
    window.ShowHistory(history);
    window.show();
    window.findChild<QTabWidget*>()->setCurrentIndex(2);

    auto* chart = window.findChild<QChartView*>("chartEgzaminy");
    QVERIFY(chart->isVisible());
    QCOMPARE(chart->accessibleName(), "egzaminy próbne: 4, zdane: 1, ostatni wynik: 55% przy progu 60%");
    QCOMPARE(PointsNamed(*chart, "zdany")->points(),
             (QList<QPointF>{{qreal(start.toMSecsSinceEpoch()), 50}}));
    QCOMPARE(PointsNamed(*chart, "niezdany")->count(), 2);
    QCOMPARE(PointsNamed(*chart, "nieukończony")->at(0).y(), 12.0);
    const QList<QAbstractSeries*> series = chart->chart()->series();
    const auto* passMark = qobject_cast<QLineSeries*>(*std::find_if(
        series.begin(), series.end(), [](QAbstractSeries* s) { return s->name() == "próg zaliczenia"; }));
    QList<qreal> markHeights;
    for (const QPointF& point : passMark->points())
        markHeights.append(point.y());
    QCOMPARE(markHeights, (QList<qreal>{50, 50, 50, 50, 50, 60, 60}));

    const auto* table = window.findChild<QTableView*>("tblEgzaminy");
    QCOMPARE(Column(*table, 3), (QStringList{"22 z 40", "5 z 40", "16 z 40", "20 z 40"}));
    QCOMPARE(Column(*table, 6), (QStringList{"niezdany", "nieukończony", "niezdany", "zdany"}));
    QCOMPARE(Column(*table, 0).last(), "3.11.2026");
}

void TestProgressWindow::hardestQuestionsTable()
{
    QTemporaryDir bank;
    auto write = [&](const char* name, const QByteArray& bytes) {
        QFile file(bank.filePath(name));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    };
    write("tekst.txt", "X0100\r\nIle to jest  2 + 2?\r\n3\r\n4\r\n");
    write("rysunek.txt", "X01\n[img]mapa.png[/img]\nA\nB\n");
    write("cp1250.txt", "X01\n\xa3\xf3\x64\x9f? (Windows-1250)\nA\nB\n");
    write("zdanie.txt", "Y21\n{wyb\xc3\xb3r 1} to stolica\nKrak\xc3\xb3w;;Warszawa;;\n");
    const QDateTime when(QDate(2026, 12, 2), QTime(18, 5));
    HistorySnapshot history;
    history.BankDir = bank.path().toStdString();
    history.BankQuestions = 6;
    history.Days = {Day(QDate(2026, 12, 2), 30, 10, 0)};
    // Never missed: not listed. Ties on misses go to the lower share of good answers, then to the latest
    // miss.
    history.Questions = {{"dobre.txt", 5, 0, 0, 5, {}},
                         {"tekst.txt", 10, 2, 1, 7, when},
                         {"rysunek.txt", 9, 5, 0, 4, when},
                         {"cp1250.txt", 4, 2, 1, 1, when},
                         {"zdanie.txt", 4, 1, 2, 1, when.addDays(-1)},
                         {"brak.txt", 3, 1, 0, 2, when}};
    ProgressWindow window;
    window.ShowHistory(history);
    auto* table = window.findChild<QTableView*>("tblNajtrudniejsze");
    QCOMPARE(Column(*table, 0),
             (QStringList{"rysunek.txt", "cp1250.txt", "zdanie.txt", "tekst.txt", "brak.txt"}));
    QCOMPARE(Column(*table, 1), (QStringList{"rysunek: mapa.png", "Łódź? (Windows-1250)",
                                             "{wybór 1} to stolica", "Ile to jest 2 + 2?", ""}));
    QCOMPARE(Column(*table, 3), (QStringList{"5", "2", "1", "2", "1"}));
    QCOMPARE(Column(*table, 5), (QStringList{"44%", "25%", "25%", "70%", "66%"}));
    QCOMPARE(Column(*table, 6).first(), "2.12.2026 18:05");

    // Sorted by a title: shares as numbers, not as texts.
    table->sortByColumn(5, Qt::DescendingOrder);
    QCOMPARE(Column(*table, 0).first(), "tekst.txt");
    QCOMPARE(Column(*table, 0).at(1), "brak.txt");
}

void TestProgressWindow::saving_data()
{
    QTest::addColumn<int>("tab");
    QTest::addColumn<QString>("title");
    QTest::addColumn<bool>("withChart");
    QTest::newRow("hardest questions")
        << 0 << "plik;pytanie;zadane;złe;częściowo dobre;dobre;ostatnio źle" << true;
    QTest::newRow("sittings") << 1 << "dzień;początek;rodzaj;czas nauki;odpowiedzi;dobre;opanowane po"
                              << true;
    QTest::newRow("exams") << 2 << "dzień;początek;pytania;wynik;procent;próg;egzamin" << true;
    QTest::newRow("no exams") << 2 << "dzień;początek;pytania;wynik;procent;próg;egzamin" << false;
}

void TestProgressWindow::saving()
{
    QFETCH(int, tab);
    QFETCH(QString, title);
    QFETCH(bool, withChart);
    QTemporaryDir folder;
    AnsweringSaveDialogs dialogs;
    dialogs.Answer = folder.filePath("postępy"); // the extension added
    ProgressWindow window(&dialogs);
    window.resize(900, 700);
    window.ShowHistory(
        GenerateHistory({.Seed = 3, .Questions = 80, .CalendarDays = 12, .Exams = withChart ? 3 : 0}));
    window.show();
    window.findChild<QTabWidget*>()->setCurrentIndex(tab);
    QTest::mouseClick(window.findChild<QPushButton*>("btnZapisz"), Qt::LeftButton);

    QFile csv(folder.filePath("postępy.csv"));
    QVERIFY(csv.open(QIODevice::ReadOnly));
    const QByteArray bytes = csv.readAll();
    QVERIFY(bytes.startsWith("\xEF\xBB\xBF"));
    const QStringList lines = QString::fromUtf8(bytes.mid(3)).split("\r\n");
    QCOMPARE(lines.first(), title);
    const QTableView* table = window.findChild<QTabWidget*>()->currentWidget()->findChild<QTableView*>();
    if (!table)
        table = qobject_cast<QTableView*>(window.findChild<QTabWidget*>()->currentWidget());
    QCOMPARE(lines.size(), table->model()->rowCount() + 2); // the titles, the rows, and the empty end
    for (int row = 0; row < table->model()->rowCount(); ++row) {
        QStringList cells;
        for (int column = 0; column < table->model()->columnCount(); ++column)
            cells.append(table->model()->index(row, column).data().toString());
        QCOMPARE(lines[row + 1], cells.join(';'));
    }
    const QImage chart(folder.filePath("postępy.png"));
    QCOMPARE(!chart.isNull(), withChart);
    if (withChart)
        QCOMPARE(chart.size(),
                 window.findChild<QChartView*>(tab == 2 ? "chartEgzaminy" : "chartDni")->size());
    QVERIFY(window.findChild<QLabel*>("lblKomunikat")->text().startsWith("Zapisano"));
}

void TestProgressWindow::drill_data()
{
    QTest::addColumn<QList<int>>("selectedRows");
    QTest::addColumn<bool>("withDefault");
    QTest::addColumn<bool>("emitted");
    QTest::newRow("the selection") << QList<int>{4, 0, 2} << true << true;
    QTest::newRow("the default") << QList<int>{} << true << true;
    QTest::newRow("nothing to drill") << QList<int>{} << false << false;
}

void TestProgressWindow::drill()
{
    QFETCH(QList<int>, selectedRows);
    QFETCH(bool, withDefault);
    QFETCH(bool, emitted);
    HistorySnapshot history = GenerateHistory({.Seed = 11, .Questions = 60});
    if (!withDefault)
        history.DefaultDrill.clear();
    ProgressWindow window;
    window.ShowHistory(history);
    window.show();
    auto* table = window.findChild<QTableView*>("tblNajtrudniejsze");
    QStringList expected;
    std::sort(selectedRows.begin(), selectedRows.end());
    for (int row : selectedRows) {
        table->selectionModel()->select(table->model()->index(row, 0),
                                        QItemSelectionModel::Select | QItemSelectionModel::Rows);
        expected.append(table->model()->index(row, 0).data().toString());
    }
    if (selectedRows.isEmpty())
        for (const std::string& name : history.DefaultDrill)
            expected.append(QString::fromStdString(name));

    std::vector<std::vector<std::string>> requests;
    QObject::connect(&window, &ProgressWindow::DrillRequested,
                     [&](const std::vector<std::string>& files) { requests.push_back(files); });
    QTest::mouseClick(window.findChild<QPushButton*>("btnCwicz"), Qt::LeftButton);

    const QString told = window.findChild<QLabel*>("lblKomunikat")->text();
    if (!emitted) {
        QVERIFY(requests.empty());
        QVERIFY2(told.startsWith("Nie ma czego ćwiczyć"), qPrintable(told));
        return;
    }
    QCOMPARE(requests.size(), std::size_t(1));
    QStringList files;
    for (const std::string& name : requests.front())
        files.append(QString::fromStdString(name));
    QCOMPARE(files, expected);
    QVERIFY(told.isEmpty());
}

QTEST_MAIN(TestProgressWindow)
#include "tst_progresswindow.moc"
