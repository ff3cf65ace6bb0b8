// Shows the window "Zdawnik — postępy" over a generated history of a generated bank, or saves a
// picture of it:
//   zdawnik-progress-preview [--empty] [--days N] [--tab 0|1|2] [--png FILE]

#include "app/Application.h"
#include "app/PathText.h"
#include "app/ProgressWindow.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QFile>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTimer>

#include "tests/app/HistoryGenerator.h"

using namespace zdawnik;

namespace {

const char* const Questions[] = {
    "Który organ wydaje decyzję o warunkach zabudowy?",
    "Ile wynosi minimalna szerokość drogi pożarowej?",
    "Wskaż elementy konstrukcyjne stropu gęstożebrowego.",
    "Kto zatwierdza projekt budowlany?",
    "Jaka jest dopuszczalna wysokość stopnia schodów w budynku mieszkalnym?",
};

void WriteBank(const QString& folder, int questions)
{
    for (int q = 1; q <= questions; ++q) {
        QFile file(folder + QLatin1Char('/') + QString::fromStdString(testing::GeneratedFileName(q)));
        if (!file.open(QIODevice::WriteOnly))
            continue;
        const QByteArray line = q % 7 == 0 ? QByteArray("[img]rzut") + QByteArray::number(q) + ".png[/img]"
                                           : QByteArray(Questions[q % std::size(Questions)]);
        file.write("X0100\n" + line + "\ntak\nnie\nzależy\n");
    }
}

} // namespace

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    InitialiseApplication(application);
    QCommandLineParser parser;
    parser.addOption({"empty", "an empty history"});
    parser.addOption({"days", "calendar days of the history", "N", "21"});
    parser.addOption({"tab", "the table shown", "N", "0"});
    parser.addOption({"png", "save a picture of the window to FILE and quit", "FILE"});
    parser.process(application);

    QTemporaryDir bank;
    HistorySnapshot history;
    if (!parser.isSet("empty")) {
        history = testing::GenerateHistory(
            {.Seed = 2026, .Questions = 300, .CalendarDays = parser.value("days").toInt(), .Exams = 6});
        WriteBank(bank.path(), history.BankQuestions);
    }
    history.BankDir = PathFromText(bank.path());
    history.BankQuestions = 300;

    ProgressWindow window;
    window.ShowHistory(history);
    window.findChild<QTabWidget*>()->setCurrentIndex(parser.value("tab").toInt());
    window.show();
    if (!parser.isSet("png"))
        return application.exec();
    QTimer::singleShot(300, [&] {
        window.grab().save(parser.value("png"));
        application.quit();
    });
    return application.exec();
}
