// The result panel of a practice exam as the student sees and hears it: the score, the verdict, the
// time and the pass mark, every question marked in words, and what choosing one or leaving asks for.
// With ZDAWNIK_EXAM_SCREENSHOT set to a file name, the first result is saved there as a picture.

#include "app/ExamResultPanel.h"
#include "app/LayoutColors.h"
#include "widgets/TLabel.h"

#include <QAccessible>
#include <QApplication>
#include <QListWidget>
#include <QPushButton>
#include <QSignalSpy>
#include <QtTest>

#include "MainFormFixture.h"
#include "drill/ExamRun.h"
#include "drill/Random.h"

using namespace zdawnik;

namespace {

const char* const Bodies[12] = {
    "Która z warstw modelu OSI odpowiada za routing pakietów?",
    "Ile bitów ma adres IPv4?",
    "Które z protokołów działają w warstwie transportowej?",
    "Co oznacza skrót DNS?",
    "Zadaniem przełącznika jest:",
    "Który port domyślnie obsługuje HTTPS?",
    "Maska /24 zapisana dziesiętnie to:",
    "Które polecenie pokazuje trasę pakietów do hosta?",
    "Protokół DHCP służy do:",
    "Który z adresów jest adresem prywatnym?",
    "Czym różni się koncentrator od przełącznika?",
    "Ramka Ethernet zawiera adres:",
};

// A choice question of four answers, the first and the third right, with one of the texts above.
Question Record(const std::string& fileName)
{
    Question question;
    question.Header = "X1010";
    question.Body = Bodies[std::stoi(fileName.substr(1)) - 1];
    question.Encoding = TextEncoding::Utf8;
    for (int n = 1; n <= MaxAnswers; ++n)
        question.Keys[n] = n <= 4 ? question.Header.substr(static_cast<std::size_t>(n), 1) : "0";
    return question;
}

} // namespace

class TestExamResult : public QObject
{
    Q_OBJECT

private slots:
    void result_data();
    void result();
};

void TestExamResult::result_data()
{
    // Per question in the order asked: g right, p partly right, w wrong, n unanswered, - never reached.
    QTest::addColumn<QString>("answers");
    QTest::addColumn<int>("minutes");
    QTest::addColumn<int>("passMark");
    QTest::addColumn<int>("secondsUsed");
    QTest::addColumn<QStringList>("captions");
    QTest::newRow("passed") << "ggpgggwgggng" << 60 << 60 << 1234
                            << QStringList{"Wynik: 9 z 12 (75%)", "egzamin zdany", "Czas: 20:34 z 60:00",
                                           "Próg zaliczenia: 60%"};
    QTest::newRow("time ran out") << "gpwn--" << 1 << 50 << 500
                                  << QStringList{"Wynik: 1 z 6 (16%)", "egzamin niezdany",
                                                 "Czas: 1:00 z 1:00", "Próg zaliczenia: 50%"};
}

void TestExamResult::result()
{
    QFETCH(QString, answers);
    QFETCH(int, minutes);
    QFETCH(int, passMark);
    QFETCH(int, secondsUsed);
    std::vector<std::string> bank;
    for (int i = 1; i <= answers.size(); ++i)
        bank.push_back("q" + std::to_string(i) + ".txt");
    std::int64_t now = 0;
    Random random([] { return 777u; });
    ExamRun exam(ExamSettings{static_cast<int>(bank.size()), minutes, passMark}, bank, random,
                 [&] { return now; });
    for (int k = 0; k < exam.Count(); exam.Next(), ++k) {
        const QChar answer = answers[k];
        if (answer == '-')
            continue;
        AnswerSheet offered;
        offered.Answers = 4;
        exam.RecordShown(Record(exam.Current().FileName), offered);
        for (int n : answer == 'g'   ? QList<int>{1, 3}
                     : answer == 'p' ? QList<int>{3}
                     : answer == 'w' ? QList<int>{1, 2}
                                     : QList<int>{})
            exam.Toggle(n);
    }
    now += secondsUsed * 1000;
    exam.Finish();

    // The panel over the run area of a window as large as the program's.
    QWidget window;
    window.setFixedSize(952, 690);
    QPalette palette = window.palette();
    palette.setColor(QPalette::Window, WindowBlue.toQColor());
    window.setPalette(palette);
    window.setAutoFillBackground(true);
    auto* panel = new ExamResultPanel(&window);
    panel->setGeometry(8, 8, window.width() - 16, window.height() - 16);
    panel->ShowResult(exam);

    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));

    QStringList captions;
    for (const char* name : {"lblWynik", "lblZdany", "lblCzasEgzaminu", "lblProgEgzaminu"})
        captions << panel->findChild<TLabel*>(name)->caption();
    QTEST(captions, "captions");
    // What a screen reader hears as the panel comes up (the bus test hears it said).
    QCOMPARE(
        QAccessible::queryAccessibleInterface(panel->findChild<TLabel*>("lblWynik"))->text(QAccessible::Name),
        captions[0] + ", " + captions[1]);

    auto* list = panel->findChild<QListWidget*>("lstPytaniaEgzaminu");
    QCOMPARE(list->count(), answers.size());
    for (int k = 0; k < list->count(); ++k) {
        const QChar answer = answers[k];
        const QString mark = answer == 'g'                    ? "✔ dobrze"
                             : answer == 'n' || answer == '-' ? "✘ źle, bez odpowiedzi"
                                                              : "✘ źle";
        const std::string& file = exam.At(k).FileName;
        const QString text =
            answer == '-' ? QString::fromStdString(file) : QString::fromUtf8(Record(file).Body);
        QCOMPARE(list->item(k)->text(), QStringLiteral("%1. %2 — %3").arg(k + 1).arg(mark, text));
    }

    if (const QString path = qEnvironmentVariable("ZDAWNIK_EXAM_SCREENSHOT");
        !path.isEmpty() && QTest::currentDataTag() == QLatin1String("passed"))
        QVERIFY(window.grab().save(path));

    QSignalSpy chosen(panel, &ExamResultPanel::questionChosen);
    QSignalSpy closed(panel, &ExamResultPanel::closeRequested);
    const QRect third = list->visualItemRect(list->item(2));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, third.center());
    QCOMPARE(chosen.size(), 1);
    QCOMPARE(chosen[0][0].toInt(), 2);
    QTest::mouseClick(panel->findChild<QPushButton*>("btnKoniecEgzaminu"), Qt::LeftButton);
    QCOMPARE(closed.size(), 1);
}

ZDAWNIK_GUI_TEST_MAIN(TestExamResult)
#include "tst_examresult.moc"
