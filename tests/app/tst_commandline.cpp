// The command line and the choice of the bank: what zdawnik [options] [KATALOG] asks for, and which
// folder the window opens on with and without a folder named.

#include "app/BankChoice.h"
#include "app/CommandLine.h"
#include "app/PathText.h"

#include <QCoreApplication>
#include <QDir>
#include <QSettings>
#include <QTemporaryDir>
#include <QtTest>

using namespace zdawnik;

Q_DECLARE_METATYPE(CommandLine::Action)

class TestCommandLine : public QObject
{
    Q_OBJECT

private slots:
    void parse_data();
    void parse();
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
    using A = CommandLine::Action;
    QTest::newRow("nothing") << QStringList{} << A::OpenWindow << "";
    QTest::newRow("a folder") << QStringList{"/home/ola/egzamin"} << A::OpenWindow << "/home/ola/egzamin";
    QTest::newRow("a Polish folder") << QStringList{"~/źródła/pytania"} << A::OpenWindow
                                     << "~/źródła/pytania";
    QTest::newRow("--help") << QStringList{"--help"} << A::ShowHelp << "";
    QTest::newRow("-h with a folder") << QStringList{"baza", "-h"} << A::ShowHelp << "";
    QTest::newRow("--version") << QStringList{"--version"} << A::ShowVersion << "";
    QTest::newRow("-v") << QStringList{"-v"} << A::ShowVersion << "";
    QTest::newRow("unknown long option") << QStringList{"--baza=x"} << A::UsageError << "";
    QTest::newRow("Qt's help of its own options") << QStringList{"--help-all"} << A::UsageError << "";
    QTest::newRow("unknown short option") << QStringList{"-x"} << A::UsageError << "";
    QTest::newRow("two folders") << QStringList{"a", "b"} << A::UsageError << "";
    QTest::newRow("toolkit's option")
        << QStringList{"-platform", "offscreen", "baza"} << A::OpenWindow << "baza";
    QTest::newRow("toolkit's option, two dashes") << QStringList{"--style", "fusion"} << A::OpenWindow << "";
    QTest::newRow("toolkit's flag") << QStringList{"baza", "-reverse"} << A::OpenWindow << "baza";
    QTest::newRow("toolkit's option without its value") << QStringList{"-platform"} << A::UsageError << "";
    QTest::newRow("a folder that looks like an option")
        << QStringList{"--", "-pytania"} << A::OpenWindow << "-pytania";
}

void TestCommandLine::parse()
{
    QFETCH(QStringList, arguments);
    QFETCH(CommandLine::Action, action);
    QFETCH(QString, bankFolder);
    const CommandLine command = ParseCommandLine(QStringList{"zdawnik"} + arguments);
    QCOMPARE(command.action, action);
    QCOMPARE(command.bankFolder, bankFolder);
    QCOMPARE(command.error.isEmpty(), action != CommandLine::Action::UsageError);
}

void TestCommandLine::helpDescribesTheBankAndHidesTheToolkit()
{
    const QString help = CommandLineHelp();
    QVERIFY2(help.contains("[KATALOG]"), qPrintable(help));
    QVERIFY(help.contains("--version"));
    QVERIFY(help.contains("baza"));
    QVERIFY(!help.contains("platform"));
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

QTEST_GUILESS_MAIN(TestCommandLine)
#include "tst_commandline.moc"
