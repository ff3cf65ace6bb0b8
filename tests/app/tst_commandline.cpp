// The command line and the start-up: what zdawnik [options] [KATALOG] asks for, what the program
// answers without a window, which folder the window opens on with and without a folder named, and the
// language of the dialogs Qt makes for it.

#include "app/Application.h"
#include "app/BankChoice.h"
#include "app/CommandLine.h"
#include "app/FolderDialogs.h"
#include "app/PathText.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QLabel>
#include <QProcess>
#include <QSettings>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

using namespace zdawnik;

Q_DECLARE_METATYPE(CommandLine::Action)

class TestCommandLine : public QObject
{
    Q_OBJECT

private slots:
    void parse_data();
    void parse();
    void program_data();
    void program();
    void folderDialogSpeaksPolish();
    void helpDescribesTheBankAndHidesTheToolkit();
    void initialBank_data();
    void initialBank();
    void relativeFolderIsTakenFromTheCurrentFolder();
};

void TestCommandLine::parse_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<CommandLine::Action>("action");
    QTest::addColumn<QString>("bankFolder");
    QTest::addColumn<QString>("exam"); // questions/minutes/pass mark, empty for none
    using A = CommandLine::Action;
    QTest::newRow("nothing") << QStringList{} << A::OpenWindow << ""
                             << "";
    QTest::newRow("a folder") << QStringList{"/home/ola/egzamin"} << A::OpenWindow << "/home/ola/egzamin"
                              << "";
    QTest::newRow("a Polish folder") << QStringList{"~/źródła/pytania"} << A::OpenWindow << "~/źródła/pytania"
                                     << "";
    QTest::newRow("--help") << QStringList{"--help"} << A::ShowHelp << ""
                            << "";
    QTest::newRow("-h with a folder") << QStringList{"baza", "-h"} << A::ShowHelp << ""
                                      << "";
    QTest::newRow("--version") << QStringList{"--version"} << A::ShowVersion << ""
                               << "";
    QTest::newRow("-v") << QStringList{"-v"} << A::ShowVersion << ""
                        << "";
    QTest::newRow("unknown long option") << QStringList{"--baza=x"} << A::UsageError << ""
                                         << "";
    QTest::newRow("help of all options, Qt's too") << QStringList{"--help-all"} << A::ShowHelp << ""
                                                   << "";
    QTest::newRow("unknown short option") << QStringList{"-x"} << A::UsageError << ""
                                          << "";
    QTest::newRow("two folders") << QStringList{"a", "b"} << A::UsageError << ""
                                 << "";
    QTest::newRow("toolkit's option")
        << QStringList{"-platform", "offscreen", "baza"} << A::OpenWindow << "baza"
        << "";
    QTest::newRow("toolkit's option, two dashes") << QStringList{"--style", "fusion"} << A::OpenWindow << ""
                                                  << "";
    QTest::newRow("toolkit's flag") << QStringList{"baza", "-reverse"} << A::OpenWindow << "baza"
                                    << "";
    QTest::newRow("toolkit's option without its value") << QStringList{"-platform"} << A::UsageError << ""
                                                        << "";
    QTest::newRow("a folder that looks like an option")
        << QStringList{"--", "-pytania"} << A::OpenWindow << "-pytania"
        << "";

    // A practice exam straight away.
    const auto exam = [](const char* tag, const QStringList& arguments, const QString& settings,
                         const QString& bank = {}) {
        QTest::newRow(tag) << arguments << (settings.isEmpty() ? A::UsageError : A::OpenWindow) << bank
                           << settings;
    };
    exam("exam of its defaults", {"--egzamin", "30"}, "30/60/50");
    exam("exam with its time and pass mark, on a bank",
         {"--egzamin", "5", "--czas", "1", "--prog", "100", "baza"}, "5/1/100", "baza");
    exam("exam, values after =", {"--egzamin=1", "--czas=600", "--prog=1"}, "1/600/1");
    exam("exam of no question", {"--egzamin", "0"}, "");
    exam("exam of a negative number", {"--egzamin", "-3"}, "");
    exam("exam of a number with its sign", {"--egzamin", "+3"}, "");
    exam("exam of no number", {"--egzamin", "trzydzieści"}, "");
    exam("exam of a number past any bank", {"--egzamin", "99999999999"}, "");
    exam("exam without its number", {"--egzamin"}, "");
    exam("exam of no time", {"--egzamin", "5", "--czas", "0"}, "");
    exam("exam longer than ten hours", {"--egzamin", "5", "--czas", "601"}, "");
    exam("exam of a pass mark over 100", {"--egzamin", "5", "--prog", "101"}, "");
    exam("exam of a pass mark of 0", {"--egzamin", "5", "--prog", "0"}, "");
    exam("time without an exam", {"--czas", "30"}, "");
    exam("pass mark without an exam", {"--prog", "60", "baza"}, "");
}

void TestCommandLine::parse()
{
    QFETCH(QStringList, arguments);
    QFETCH(CommandLine::Action, action);
    QFETCH(QString, bankFolder);
    QFETCH(QString, exam);
    const CommandLine command = ParseCommandLine(QStringList{"zdawnik"} + arguments);
    QCOMPARE(command.Asked, action);
    QCOMPARE(command.BankFolder, bankFolder);
    QCOMPARE(command.Error.isEmpty(), action != CommandLine::Action::UsageError);
    const QString settings = command.Exam ? QStringLiteral("%1/%2/%3")
                                                .arg(command.Exam->Questions)
                                                .arg(command.Exam->Minutes)
                                                .arg(command.Exam->PassMark)
                                          : QString();
    QCOMPARE(settings, exam);
}

void TestCommandLine::program_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("display"); // DISPLAY for the program; empty: none at all
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("out"); // a piece of it
    QTest::addColumn<QString>("err"); // the end of it
    const QString noDisplay = "zdawnik: no display to open the window on\n";
    QTest::newRow("no display") << QStringList{} << "" << 1 << "" << noDisplay;
    QTest::newRow("a display out of reach") << QStringList{"baza"} << ":93" << 1 << "" << noDisplay;
    QTest::newRow("unknown option")
        << QStringList{"--baza", "x"} << "" << 2 << ""
        << "zdawnik: Unknown option 'baza'.\nTry 'zdawnik --help' for more information.\n";
    QTest::newRow("exam of no question")
        << QStringList{"--egzamin", "0"} << "" << 2 << ""
        << "zdawnik: --egzamin wants the number of questions, a whole number from 1, not '0'.\n"
           "Try 'zdawnik --help' for more information.\n";
    QTest::newRow("time without an exam")
        << QStringList{"--czas", "30"} << "" << 2 << ""
        << "give --egzamin N as well.\nTry 'zdawnik --help' for more information.\n";
    QTest::newRow("help of all options, without a display")
        << QStringList{"--help-all"} << "" << 0 << "--egzamin <N>"
        << "";
}

void TestCommandLine::program()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, display);
    QFETCH(int, status);
    QFETCH(QString, out);
    QFETCH(QString, err);
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        environment.remove(name);
    if (!display.isEmpty())
        environment.insert("DISPLAY", display);
    QProcess program;
    program.setProcessEnvironment(environment);
    program.start(ZDAWNIK_PROGRAM, arguments);
    if (!program.waitForFinished(30000)) {
        program.kill();
        QFAIL("the program did not end: it opened a window");
    }
    QCOMPARE(program.exitStatus(), QProcess::NormalExit);
    QCOMPARE(program.exitCode(), status);
    const QString output = QString::fromLocal8Bit(program.readAllStandardOutput());
    const QString errors = QString::fromLocal8Bit(program.readAllStandardError());
    QVERIFY2(output.contains(out), qPrintable(output));
    QVERIFY2(err.isEmpty() ? errors.isEmpty() : errors.endsWith(err), qPrintable(errors));
    // Qt's own last word, which only confuses here.
    QVERIFY(!errors.contains("Reinstalling"));
}

void TestCommandLine::folderDialogSpeaksPolish()
{
    // The folder dialog Qt draws where the desktop offers none, as "zmień bazę…" opens it.
    QStringList shown;
    QTimer::singleShot(0, [&shown] {
        QWidget* dialog = QApplication::activeModalWidget();
        QVERIFY(dialog);
        for (const QLabel* label : dialog->findChildren<QLabel*>())
            if (label->isVisible())
                shown << label->text();
        for (const QAbstractButton* button : dialog->findChild<QDialogButtonBox*>()->buttons())
            shown << button->text();
        static_cast<QDialog*>(dialog)->reject();
    });
    QTemporaryDir dir;
    SystemFolderDialogs().chooseFolder(nullptr, QStringLiteral("Wybierz bazę pytań"), dir.path());
    // Qt's words for "Look in:", "Directory:", "Files of type:", "Choose" and "Cancel".
    QCOMPARE(shown, (QStringList{"Szukaj w:", "Katalog:", "Pliki rodzaju:", "&Wybierz", "Anuluj"}));
}

void TestCommandLine::helpDescribesTheBankAndHidesTheToolkit()
{
    const QString help = CommandLineHelp();
    QVERIFY2(help.contains("[KATALOG]"), qPrintable(help));
    QVERIFY(help.contains("--version"));
    QVERIFY(help.contains("baza"));
    for (const char* option : {"--egzamin <N>", "--czas <MINUTY>", "--prog <PROCENT>"})
        QVERIFY2(help.contains(option), option);
    QVERIFY(!help.contains("--platform"));
    QVERIFY(!help.contains("stylesheet"));
}

void TestCommandLine::initialBank_data()
{
    QTest::addColumn<QString>("named");      // relative to the fixture's folder
    QTest::addColumn<QString>("remembered"); // the same; "-" for no settings at all
    QTest::addColumn<bool>("rememberedExists");
    QTest::addColumn<QString>("expected"); // relative to the fixture's folder; "program" for baza beside it
    QTest::newRow("nothing remembered") << ""
                                        << "" << false << "program";
    QTest::newRow("no settings") << ""
                                 << "-" << false << "program";
    QTest::newRow("remembered and there") << ""
                                          << "moje/pytania" << true << "moje/pytania";
    QTest::newRow("remembered, Polish") << ""
                                        << "źródła/łąka" << true << "źródła/łąka";
    QTest::newRow("remembered but gone") << ""
                                         << "moje/pytania" << false << "program";
    QTest::newRow("named wins") << "inne"
                                << "moje/pytania" << true << "inne";
    QTest::newRow("named, even when missing") << "brak"
                                              << "" << false << "brak";
}

void TestCommandLine::initialBank()
{
    QFETCH(QString, named);
    QFETCH(QString, remembered);
    QFETCH(bool, rememberedExists);
    QFETCH(QString, expected);
    QTemporaryDir dir;
    const QString program = dir.filePath("program");
    std::unique_ptr<QSettings> settings;
    if (remembered != "-")
        settings = std::make_unique<QSettings>(dir.filePath("ustawienia.ini"), QSettings::IniFormat);
    if (!remembered.isEmpty() && settings) {
        if (rememberedExists)
            QVERIFY(QDir().mkpath(dir.filePath(remembered)));
        RememberBank(*settings, PathFromText(dir.filePath(remembered)));
    }
    const std::filesystem::path bank =
        InitialBank(named.isEmpty() ? QString() : dir.filePath(named), settings.get(), PathFromText(program));
    const QString want = expected == "program" ? program + "/baza" : dir.filePath(expected);
    QCOMPARE(TextFromPath(bank), want);
}

void TestCommandLine::relativeFolderIsTakenFromTheCurrentFolder()
{
    QTemporaryDir dir;
    const QString before = QDir::currentPath();
    QVERIFY(QDir::setCurrent(dir.path()));
    const std::filesystem::path bank = InitialBank("pytania/../baza", nullptr, PathFromText("/nigdzie"));
    QVERIFY(QDir::setCurrent(before));
    QCOMPARE(TextFromPath(bank), QDir(dir.path()).filePath("baza"));
}

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    InitialiseApplication(application);
    TestCommandLine test;
    return QTest::qExec(&test, argc, argv);
}
#include "tst_commandline.moc"
