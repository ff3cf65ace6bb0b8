// An installation into a temporary prefix, started through its links as a user starts it: the
// program must find its bank and its metafile helper beside its real executable, and the desktop
// files must name what was installed.

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QRegularExpression>
#include <QSettings>
#include <QTemporaryDir>
#include <QXmlStreamReader>
#include <QtTest>

#include <filesystem>

#include "InstallTestSupport.h"

using namespace zdawnik::install_test;

namespace {

QByteArray Digest(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha256);
}

QString ReadText(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(file.readAll());
}

// The value of key in the [Desktop Entry] group of a desktop entry.
QString DesktopValue(const QString& entry, const QString& key)
{
    const QRegularExpression line(QStringLiteral("^%1=(.*)$").arg(QRegularExpression::escape(key)),
                                  QRegularExpression::MultilineOption);
    return line.match(ReadText(entry)).captured(1);
}

} // namespace

class TestInstallTree : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_root;
    QString m_prefix;
    QString m_elsewhere; // an empty working folder: the bank must not be found through it

    QString Prefixed(const QString& relative) const { return m_prefix + QLatin1Char('/') + relative; }
    QString ProgramDir() const { return Prefixed(QStringLiteral(ZDAWNIK_INSTALL_PROGRAMDIR)); }
    QString Command(const QString& name) const
    {
        return Prefixed(QStringLiteral(ZDAWNIK_INSTALL_BINDIR "/") + name);
    }
    QString AppFile(const QString& folder, const QString& suffix) const
    {
        return Prefixed(QStringLiteral(ZDAWNIK_INSTALL_DATADIR "/") + folder +
                        QStringLiteral("/" ZDAWNIK_APP_ID) + suffix);
    }

    void VerifyProgramFindsSampleBank(const QString& program)
    {
        const ProbeReport report = RunWithProbe(program, m_elsewhere);
        QVERIFY2(report.process.finished && report.process.exitCode == 0,
                 qPrintable(report.process.describe(program)));
        QVERIFY2(report.windowFound && report.ended, qPrintable(report.process.describe(program)));
        QVERIFY2(report.messages.isEmpty(), qPrintable(report.messages.join(QLatin1Char('\n'))));
        QCOMPARE(report.questions, QString::number(SampleQuestionFiles().size()));
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_root.isValid());
        m_prefix = m_root.filePath(QStringLiteral("prefix"));
        m_elsewhere = m_root.filePath(QStringLiteral("elsewhere"));
        QVERIFY(QDir().mkpath(m_elsewhere));
        const ProcessResult install = InstallBuildTree(m_prefix, m_elsewhere);
        QVERIFY2(install.finished && install.exitCode == 0,
                 qPrintable(install.describe(QStringLiteral("cmake --install"))));
    }

    void programFolderHoldsProgramHelperCheckerAndBank()
    {
        for (const QString& name : {QStringLiteral("zdawnik"), QStringLiteral("zdawnik-metafile"),
                                    QStringLiteral("zdawnik-check")}) {
            const QFileInfo program(ProgramDir() + QLatin1Char('/') + name);
            QVERIFY2(program.isFile() && !program.isSymLink(), qPrintable(program.filePath()));
            QVERIFY2(program.isExecutable(), qPrintable(program.filePath()));
        }
        const QString bank = ProgramDir() + QStringLiteral("/baza");
        QCOMPARE(FilesIn(bank), SampleBankFiles());
        for (const QString& name : SampleBankFiles())
            QVERIFY2(Digest(bank + QLatin1Char('/') + name) ==
                         Digest(QStringLiteral(ZDAWNIK_SOURCE_DIR "/baza/") + name),
                     qPrintable(name));
    }

    void commandsAreRelativeLinksToTheProgramFolder()
    {
        for (const QString& name : {QStringLiteral("zdawnik"), QStringLiteral("zdawnik-check")}) {
            const QFileInfo link(Command(name));
            QVERIFY2(link.isSymLink(), qPrintable(link.filePath()));
            const std::filesystem::path target = std::filesystem::read_symlink(link.filePath().toStdString());
            QVERIFY2(target.is_relative(), target.c_str());
            QCOMPARE(link.canonicalFilePath(),
                     QFileInfo(ProgramDir() + QLatin1Char('/') + name).canonicalFilePath());
        }
    }

    void programStartedThroughItsLinkFindsItsBank()
    {
        VerifyProgramFindsSampleBank(Command(QStringLiteral("zdawnik")));
    }

    void programStartedThroughAChainOfLinksFindsItsBank()
    {
        // A user's own link to the installed command, from a folder with no bank of its own.
        const QString link = m_root.filePath(QStringLiteral("my-links/zdawnik"));
        QVERIFY(QDir().mkpath(QFileInfo(link).path()));
        QVERIFY(QFile::link(Command(QStringLiteral("zdawnik")), link));
        VerifyProgramFindsSampleBank(link);
    }

    void programWithoutItsBankSaysSo()
    {
        // The same run with the bank moved away: the window reports it, so the runs above that
        // report no message and the sample's count did find the bank.
        const QString bank = ProgramDir() + QStringLiteral("/baza");
        const QString away = ProgramDir() + QStringLiteral("/baza-away");
        QVERIFY(QDir().rename(bank, away));
        const ProbeReport report = RunWithProbe(Command(QStringLiteral("zdawnik")), m_elsewhere);
        QVERIFY(QDir().rename(away, bank));
        QVERIFY2(report.process.finished && report.ended,
                 qPrintable(report.process.describe(QStringLiteral("zdawnik"))));
        QVERIFY2(report.messages.join(QLatin1Char('\n')).contains(QStringLiteral("katalog \"baza\"")),
                 qPrintable(report.process.out));
        QVERIFY(report.questions != QString::number(SampleQuestionFiles().size()));
    }

    void programDrawsEveryPictureFormatWithItsHelper()
    {
        const ProbeReport report =
            RunWithProbe(Command(QStringLiteral("zdawnik")), m_elsewhere, AllFormatsQuestion);
        QVERIFY2(report.process.finished && report.ended,
                 qPrintable(report.process.describe(QStringLiteral("zdawnik"))));
        QVERIFY2(report.messages.isEmpty(), qPrintable(report.messages.join(QLatin1Char('\n'))));
        QVERIFY2(report.questionShown, qPrintable(report.process.out));
        for (int n = 1; n <= AllFormatsAnswers; ++n) {
            // A picture that cannot be loaded leaves its image hidden and "rysunek" in its label.
            QVERIFY2(report.answers.value(n).first, qPrintable(QStringLiteral("answer %1").arg(n)));
            QCOMPARE(report.answers.value(n).second, QString());
        }
    }

    void helpAndVersionNeedNoWindow_data()
    {
        QTest::addColumn<QString>("option");
        QTest::addColumn<QString>("printed");
        QTest::newRow("--help") << QStringLiteral("--help") << QStringLiteral("[KATALOG]");
        QTest::newRow("-h") << QStringLiteral("-h") << QStringLiteral("--version");
        QTest::newRow("--version") << QStringLiteral("--version")
                                   << QStringLiteral("zdawnik " ZDAWNIK_VERSION "\n");
    }

    void helpAndVersionNeedNoWindow()
    {
        QFETCH(QString, option);
        QFETCH(QString, printed);
        // A platform that does not exist: the program would fail at once, were it to open a window.
        QProcessEnvironment environment = ProbeEnvironment(QString(), m_elsewhere);
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("nie-ma-takiej"));
        const ProcessResult result =
            Run(Command(QStringLiteral("zdawnik")), {option}, m_elsewhere, environment);
        QVERIFY2(result.finished && result.exitCode == 0, qPrintable(result.describe(option)));
        QVERIFY2(result.out.contains(printed), qPrintable(result.out));
        QVERIFY2(!result.out.contains(QStringLiteral("window found")), qPrintable(result.out));
        QCOMPARE(result.err, QString());
    }

    void usageErrorsOpenNoWindow_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::newRow("unknown option") << QStringList{QStringLiteral("--nie-ma-takiej")};
        QTest::newRow("unknown short option") << QStringList{QStringLiteral("-q")};
        QTest::newRow("two folders") << QStringList{QStringLiteral("baza"), QStringLiteral("inna")};
    }

    void usageErrorsOpenNoWindow()
    {
        QFETCH(QStringList, arguments);
        // With the probe loaded, a window that opened would say so.
        const ProbeReport report =
            RunWithProbe(Command(QStringLiteral("zdawnik")), m_elsewhere, {}, arguments);
        QVERIFY2(report.process.finished && report.process.exitCode == 2,
                 qPrintable(report.process.describe(QStringLiteral("zdawnik"))));
        QVERIFY(!report.windowFound);
        QCOMPARE(report.process.out, QString());
        QVERIFY2(report.process.err.startsWith(QStringLiteral("zdawnik: ")), qPrintable(report.process.err));
        QVERIFY(report.process.err.contains(QStringLiteral("--help")));
    }

    void folderArgumentIsTheBank()
    {
        const QString bank = m_root.filePath(QStringLiteral("moje pytania/łatwe"));
        QVERIFY(QDir().mkpath(bank));
        for (const char* name : {"a.txt", "b.txt"}) {
            QFile file(bank + QLatin1Char('/') + QLatin1String(name));
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write("X1\r\nPytanie\r\ntak\r\n");
        }
        const QString home = m_root.filePath(QStringLiteral("home-folder"));
        const ProbeReport report =
            RunWithProbe(Command(QStringLiteral("zdawnik")), m_elsewhere, {}, {bank}, home);
        QVERIFY2(report.process.finished && report.ended,
                 qPrintable(report.process.describe(QStringLiteral("zdawnik"))));
        QVERIFY2(report.messages.isEmpty(), qPrintable(report.messages.join(QLatin1Char('\n'))));
        QCOMPARE(report.questions, QStringLiteral("2"));
        QCOMPARE(report.bank, QStringLiteral("Baza pytań: %1 (plików z pytaniami: 2)").arg(bank));
        // Remembered: the next start without a folder opens it again.
        const ProbeReport again = RunWithProbe(Command(QStringLiteral("zdawnik")), m_elsewhere, {}, {}, home);
        QCOMPARE(again.questions, QStringLiteral("2"));
    }

    void missingFolderIsShownOnTheStartPanel()
    {
        const QString missing = m_root.filePath(QStringLiteral("nie ma mnie"));
        const ProbeReport report =
            RunWithProbe(Command(QStringLiteral("zdawnik")), m_elsewhere, {}, {missing});
        QVERIFY2(report.process.finished && report.ended,
                 qPrintable(report.process.describe(QStringLiteral("zdawnik"))));
        QVERIFY(report.windowFound);
        QCOMPARE(report.bank, QStringLiteral("Baza pytań: %1 (nie ma takiego katalogu)").arg(missing));
        // A chosen bank that is missing offers no start: no box of the empty bank comes up.
        QCOMPARE(report.messages, QStringList());
    }

    void checkerStartedThroughItsLinkChecksTheInstalledBank()
    {
        const ProcessResult check =
            Run(Command(QStringLiteral("zdawnik-check")), {QStringLiteral("--verbose")}, m_elsewhere);
        const QString problem = CheckerFoundTheSampleBank(check);
        QVERIFY2(problem.isEmpty(), qPrintable(problem));
    }

    void desktopEntryNamesTheInstalledCommandAndIcon()
    {
        const QString entry = AppFile(QStringLiteral("applications"), QStringLiteral(".desktop"));
        QCOMPARE(Digest(entry),
                 Digest(QStringLiteral(ZDAWNIK_SOURCE_DIR "/data/" ZDAWNIK_APP_ID ".desktop")));
        const QString exec = DesktopValue(entry, QStringLiteral("Exec")).section(QLatin1Char(' '), 0, 0);
        QCOMPARE(QFileInfo(Command(exec)).canonicalFilePath(),
                 QFileInfo(ProgramDir() + QStringLiteral("/zdawnik")).canonicalFilePath());
        QCOMPARE(DesktopValue(entry, QStringLiteral("TryExec")), exec);
        QCOMPARE(DesktopValue(entry, QStringLiteral("Icon")), QStringLiteral(ZDAWNIK_APP_ID));
    }

    void iconIsInstalledInEverySizeItIsDrawnIn()
    {
        const QString assets = QStringLiteral(ZDAWNIK_SOURCE_DIR "/assets/icons/hicolor");
        const QStringList sizes = QDir(assets).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
        QVERIFY(sizes.contains(QStringLiteral("scalable")));
        // AppStream asks for 64 and 128 pixels; menus and docks for 16 to 48 and the largest.
        for (const int pixels : {16, 32, 48, 64, 128, 256})
            QVERIFY2(sizes.contains(QStringLiteral("%1x%1").arg(pixels)),
                     qPrintable(QString::number(pixels)));
        for (const QString& size : sizes) {
            const bool scalable = size == QLatin1String("scalable");
            const QString icon = AppFile(QStringLiteral("icons/hicolor/") + size + QStringLiteral("/apps"),
                                         scalable ? QStringLiteral(".svg") : QStringLiteral(".png"));
            QVERIFY2(QFileInfo(icon).isFile(), qPrintable(icon));
            if (scalable) {
                QVERIFY(ReadText(icon).contains(QStringLiteral("<svg")));
                continue;
            }
            const QImage image(icon);
            QVERIFY2(!image.isNull(), qPrintable(icon));
            QCOMPARE(QStringLiteral("%1x%2").arg(image.width()).arg(image.height()), size);
        }
    }

    void metainfoNamesTheInstalledFiles()
    {
        const QString metainfo = AppFile(QStringLiteral("metainfo"), QStringLiteral(".metainfo.xml"));
        QFile file(metainfo);
        QVERIFY2(file.open(QIODevice::ReadOnly), qPrintable(metainfo));
        QXmlStreamReader xml(&file);
        QString id;
        QString launchable;
        QStringList binaries;
        QString release;
        while (!xml.atEnd()) {
            if (xml.readNext() != QXmlStreamReader::StartElement)
                continue;
            const auto name = xml.name();
            if (name == QLatin1String("id"))
                id = xml.readElementText();
            else if (name == QLatin1String("launchable"))
                launchable = xml.readElementText();
            else if (name == QLatin1String("binary"))
                binaries << xml.readElementText();
            else if (name == QLatin1String("release") && release.isEmpty())
                release = xml.attributes().value(QLatin1String("version")).toString();
        }
        QVERIFY2(!xml.hasError(), qPrintable(xml.errorString()));
        QCOMPARE(id, QStringLiteral(ZDAWNIK_APP_ID));
        QCOMPARE(launchable, QStringLiteral(ZDAWNIK_APP_ID ".desktop"));
        QVERIFY(QFileInfo(AppFile(QStringLiteral("applications"), QStringLiteral(".desktop"))).isFile());
        QCOMPARE(binaries, QStringList({QStringLiteral("zdawnik"), QStringLiteral("zdawnik-check")}));
        for (const QString& binary : binaries)
            QVERIFY2(QFileInfo(Command(binary)).isExecutable(), qPrintable(binary));
        // The newest release comes first; it is the version being installed.
        QCOMPARE(release, QStringLiteral(ZDAWNIK_VERSION));
    }

    void appstreamAcceptsTheInstalledTree()
    {
        // validate-tree checks the metadata together with the desktop entry it names as its launchable.
        const ProcessResult result = Run(QStringLiteral("appstreamcli"),
                                         {QStringLiteral("validate-tree"), QStringLiteral("--pedantic"),
                                          QStringLiteral("--strict"), QStringLiteral("--no-net"), m_prefix},
                                         m_elsewhere);
        QVERIFY2(result.finished && result.exitCode == 0,
                 qPrintable(result.describe(QStringLiteral("appstreamcli"))));
        QVERIFY2(!QRegularExpression(QStringLiteral("(^|\n)[EWIP]: ")).match(result.out).hasMatch(),
                 qPrintable(result.out));
    }

    void manualPagesAndDocumentsAreInstalled()
    {
        for (const QString& page : {QStringLiteral("zdawnik.1"), QStringLiteral("zdawnik-check.1")}) {
            const QString text = ReadText(Prefixed(QStringLiteral(ZDAWNIK_INSTALL_MANDIR "/man1/") + page));
            QVERIFY2(text.startsWith(QStringLiteral(".TH ")), qPrintable(page));
            QVERIFY2(text.contains(QStringLiteral("\"Zdawnik " ZDAWNIK_VERSION "\"")), qPrintable(page));
        }
        for (const QString& document :
             {QStringLiteral("README.md"), QStringLiteral("docs/INSTALL.md"), QStringLiteral("LICENSE")})
            QVERIFY2(QFileInfo(Prefixed(QStringLiteral(ZDAWNIK_INSTALL_DOCDIR "/") + document)).isFile(),
                     qPrintable(document));
        // Every link of the installed README leads to a file installed beside it.
        const QStringList unresolved =
            UnresolvedReadmeLinks(Prefixed(QStringLiteral(ZDAWNIK_INSTALL_DOCDIR "/README.md")));
        QVERIFY2(unresolved.isEmpty(), qPrintable(unresolved.join(QStringLiteral(", "))));
    }

    void stagedInstallKeepsItsLinksInsideTheStage()
    {
        // Packagers install into a staging folder with DESTDIR; the links must point within it.
        const QString stage = m_root.filePath(QStringLiteral("stage"));
        const ProcessResult install = InstallBuildTree(QStringLiteral("/usr"), m_elsewhere, stage);
        QVERIFY2(install.finished && install.exitCode == 0,
                 qPrintable(install.describe(QStringLiteral("cmake --install"))));
        const QString command = stage + QStringLiteral("/usr/" ZDAWNIK_INSTALL_BINDIR "/zdawnik");
        QCOMPARE(QFileInfo(command).canonicalFilePath(),
                 QFileInfo(stage + QStringLiteral("/usr/" ZDAWNIK_INSTALL_PROGRAMDIR "/zdawnik"))
                     .canonicalFilePath());
        VerifyProgramFindsSampleBank(command);
    }
};

QTEST_GUILESS_MAIN(TestInstallTree)
#include "tst_installtree.moc"
