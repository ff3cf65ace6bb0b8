// The Debian package, as cpack -G DEB makes it from the build tree: where each file lands, what it
// depends on, that its README's links resolve, what software centres read of it, and lintian's
// verdict where lintian is installed.

#include <QDir>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

#include "InstallTestSupport.h"

using namespace zdawnik::install_test;

namespace {

const QString ProgramDir = QStringLiteral("./usr/" ZDAWNIK_INSTALL_PROGRAMDIR "/");
const QString DocDir = QStringLiteral("./usr/" ZDAWNIK_INSTALL_DOCDIR "/");

} // namespace

class TestPackage : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_root;
    QString m_package;
    QStringList m_listing; // "<mode> <path>[ -> <target>]" per entry, from dpkg-deb --contents
    QString m_fields;      // the control fields, from dpkg-deb --info
    QString m_unpacked;    // the package's files, unpacked

    ProcessResult DpkgDeb(const QStringList& arguments) const
    {
        return Run(QStringLiteral("dpkg-deb"), arguments, m_root.path());
    }

    // The listing's entry for a path, empty when the package does not hold it.
    QString Entry(const QString& path) const
    {
        for (const QString& entry : m_listing) {
            if (entry.section(QLatin1Char(' '), 1, 1) == path)
                return entry;
        }
        return {};
    }

private slots:
    void initTestCase()
    {
        if (QStandardPaths::findExecutable(QStringLiteral("dpkg-deb")).isEmpty())
            QSKIP("no dpkg-deb: not a Debian system");
        QVERIFY(m_root.isValid());
        const QString output = m_root.filePath(QStringLiteral("packages"));
        const ProcessResult pack =
            Run(QStringLiteral(ZDAWNIK_CPACK_COMMAND),
                {QStringLiteral("-G"), QStringLiteral("DEB"), QStringLiteral("--config"),
                 QStringLiteral(ZDAWNIK_BUILD_DIR "/CPackConfig.cmake"), QStringLiteral("-B"), output},
                m_root.path());
        QVERIFY2(pack.finished && pack.exitCode == 0,
                 qPrintable(pack.describe(QStringLiteral("cpack -G DEB"))));
        const QStringList debs = QDir(output).entryList({QStringLiteral("*.deb")}, QDir::Files);
        QCOMPARE(debs.size(), 1);
        // The name apt install ./zdawnik_*.deb finds, in Debian's own form.
        QVERIFY2(QRegularExpression(QStringLiteral("^zdawnik_" ZDAWNIK_VERSION "-[0-9]+_[a-z0-9]+\\.deb$"))
                     .match(debs.first())
                     .hasMatch(),
                 qPrintable(debs.first()));
        m_package = output + QLatin1Char('/') + debs.first();

        const ProcessResult contents = DpkgDeb({QStringLiteral("--contents"), m_package});
        QVERIFY2(contents.finished && contents.exitCode == 0, qPrintable(contents.describe("dpkg-deb -c")));
        static const QRegularExpression Columns(
            QStringLiteral("^(\\S+)\\s+\\S+\\s+\\d+\\s+\\S+\\s+\\S+\\s+(.*)$"));
        for (const QString& line : contents.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
            const QRegularExpressionMatch match = Columns.match(line);
            QVERIFY2(match.hasMatch(), qPrintable(line));
            m_listing << match.captured(1) + QLatin1Char(' ') + match.captured(2);
        }
        const ProcessResult info = DpkgDeb({QStringLiteral("--info"), m_package});
        QVERIFY2(info.finished && info.exitCode == 0, qPrintable(info.describe("dpkg-deb -I")));
        m_fields = info.out;
        m_unpacked = m_root.filePath(QStringLiteral("unpacked"));
        const ProcessResult extract = DpkgDeb({QStringLiteral("--extract"), m_package, m_unpacked});
        QVERIFY2(extract.finished && extract.exitCode == 0, qPrintable(extract.describe("dpkg-deb -x")));
    }

    void filesLandInTheirPlaces_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("kind"); // the mode's first letters, and for a link its target
        for (const char* command : {"zdawnik", "zdawnik-check", "zdawnik-convert"})
            QTest::addRow("command %s", command)
                << QStringLiteral("./usr/bin/") + command
                << QStringLiteral("lrwxrwxrwx -> ../" ZDAWNIK_INSTALL_PROGRAMDIR "/") + command;
        for (const char* program : {"zdawnik", "zdawnik-check", "zdawnik-convert", "zdawnik-metafile"})
            QTest::addRow("program %s", program) << ProgramDir + program << QStringLiteral("-rwxr-xr-x");
        for (const QString& file : SampleBankFiles())
            QTest::addRow("bank %s", qPrintable(file))
                << ProgramDir + QStringLiteral("baza/") + file << QStringLiteral("-rw-r--r--");
        const QString share = QStringLiteral("./usr/share/");
        const QStringList others = {
            share + QStringLiteral("applications/" ZDAWNIK_APP_ID ".desktop"),
            share + QStringLiteral("metainfo/" ZDAWNIK_APP_ID ".metainfo.xml"),
            share + QStringLiteral("icons/hicolor/256x256/apps/" ZDAWNIK_APP_ID ".png"),
            share + QStringLiteral("icons/hicolor/scalable/apps/" ZDAWNIK_APP_ID ".svg"),
            share + QStringLiteral("man/man1/zdawnik.1.gz"),
            share + QStringLiteral("man/man1/zdawnik-check.1.gz"),
            DocDir + QStringLiteral("copyright"),
            DocDir + QStringLiteral("changelog.Debian.gz"),
            DocDir + QStringLiteral("README.md"),
        };
        for (const QString& path : others)
            QTest::newRow(qPrintable(path.mid(2))) << path << QStringLiteral("-rw-r--r--");
    }

    void filesLandInTheirPlaces()
    {
        QFETCH(QString, path);
        QFETCH(QString, kind);
        const QString entry = Entry(path);
        QVERIFY2(!entry.isEmpty(), qPrintable(path + QStringLiteral(" is not in the package")));
        const QString mode = entry.section(QLatin1Char(' '), 0, 0);
        QCOMPARE(mode, kind.section(QLatin1Char(' '), 0, 0));
        if (kind.contains(QLatin1String("->")))
            QVERIFY2(entry.endsWith(kind.section(QLatin1Char(' '), 1)), qPrintable(entry));
    }

    void nothingLandsOutsideUsr()
    {
        for (const QString& entry : m_listing) {
            const QString path = entry.section(QLatin1Char(' '), 1, 1);
            QVERIFY2(path == QLatin1String("./") || path.startsWith(QLatin1String("./usr/")),
                     qPrintable(entry));
            // Only the manual pages' compressed form: man finds either, Debian wants this one.
            QVERIFY2(!path.contains(QRegularExpression(QStringLiteral("/man1/.*\\.1$"))), qPrintable(entry));
        }
    }

    void dependsOnWhatTheProgramsLink()
    {
        const QRegularExpressionMatch depends =
            QRegularExpression(QStringLiteral("(?m)^ Depends: (.*)$")).match(m_fields);
        QVERIFY2(depends.hasMatch(), qPrintable(m_fields));
        // From dpkg-shlibdeps, with versions; and what is only loaded at run time, by name.
        for (const char* package : {"libqt6widgets6 (>=", "libqt6svg6 (>=", "libwmflite-0.2-7 (>=",
                                    "libemf2svg1 (>=", "libc6 (>=", "qt6-qpa-plugins", "fonts-dejavu-core"})
            QVERIFY2(depends.captured(1).contains(QLatin1String(package)), qPrintable(package));
        for (const char* field : {" Package: zdawnik\n", " Section: education\n", " Maintainer: "})
            QVERIFY2(m_fields.contains(QLatin1String(field)), field);
    }

    void readmeLinksResolveInThePackage()
    {
        QVERIFY(!ReadmeLinks().isEmpty());
        const QStringList unresolved =
            UnresolvedReadmeLinks(m_unpacked + DocDir.mid(1) + QStringLiteral("README.md"));
        QVERIFY2(unresolved.isEmpty(), qPrintable(unresolved.join(QStringLiteral(", "))));
    }

    void softwareCentresSeeTheContentRating()
    {
        // The end panel's photograph shows a glass of beer.
        QFile metainfo(m_unpacked + QStringLiteral("/usr/share/metainfo/" ZDAWNIK_APP_ID ".metainfo.xml"));
        QVERIFY(metainfo.open(QIODevice::ReadOnly));
        QVERIFY(
            metainfo.readAll().contains(R"(<content_attribute id="drugs-alcohol">mild</content_attribute>)"));
    }

    void lintianFindsNoError()
    {
        const QString lintian = QStandardPaths::findExecutable(QStringLiteral("lintian"));
        if (lintian.isEmpty())
            QSKIP("lintian is not installed");
#if defined(__SANITIZE_ADDRESS__)
        QSKIP("the sanitizers' build is no package to ship");
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
        QSKIP("the sanitizers' build is no package to ship");
#endif
#endif
        const ProcessResult check = Run(lintian, {m_package}, m_root.path());
        QVERIFY2(check.finished, qPrintable(check.describe(QStringLiteral("lintian"))));
        QVERIFY2(!QRegularExpression(QStringLiteral("(?m)^E: ")).match(check.out).hasMatch(),
                 qPrintable(check.out));
    }
};

QTEST_GUILESS_MAIN(TestPackage)
#include "tst_package.moc"
