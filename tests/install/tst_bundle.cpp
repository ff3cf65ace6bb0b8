// The portable archives cpack makes: each holds one folder with the program, its helper, the
// checker and the sample bank side by side, and that folder runs where it is unpacked, after it is
// moved, and through a link from elsewhere.

#include <QDir>
#include <QFileInfo>
#include <QSet>
#include <QTemporaryDir>
#include <QtTest>

#include "InstallTestSupport.h"

using namespace zdawnik::install_test;

namespace {

const QString TopFolder = QStringLiteral(ZDAWNIK_PACKAGE_FILE_NAME);

// Every file the archive must hold, relative to its top folder, and nothing more.
QStringList ExpectedFiles()
{
    QStringList files{QStringLiteral("zdawnik"), QStringLiteral("zdawnik-metafile"),
                      QStringLiteral("zdawnik-check"), QStringLiteral("README.md"),
                      QStringLiteral("LICENSE")};
    for (const QString& name : SampleBankFiles())
        files << QStringLiteral("baza/") + name;
    // What the README links to, beside it as in the source tree.
    files << ReadmeLinks();
    files.removeDuplicates();
    files.sort();
    return files;
}

} // namespace

class TestBundle : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_root;
    QString m_packages;

    QString Archive(const QString& extension) const
    {
        return m_packages + QLatin1Char('/') + TopFolder + extension;
    }

    // Unpacks the archive into a folder of its own and returns that folder.
    QString Unpack(const QString& extension)
    {
        const QString target = m_root.filePath(QStringLiteral("unpacked") + extension);
        if (!QDir().mkpath(target))
            return {};
        const ProcessResult unpack = Run(
            QStringLiteral(ZDAWNIK_CMAKE_COMMAND),
            {QStringLiteral("-E"), QStringLiteral("tar"), QStringLiteral("xf"), Archive(extension)}, target);
        return unpack.finished && unpack.exitCode == 0 ? target : QString();
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_root.isValid());
        m_packages = m_root.filePath(QStringLiteral("packages"));
        const ProcessResult pack =
            Run(QStringLiteral(ZDAWNIK_CPACK_COMMAND),
                {QStringLiteral("--config"), QStringLiteral(ZDAWNIK_BUILD_DIR "/CPackConfig.cmake"),
                 QStringLiteral("-B"), m_packages},
                m_root.path());
        QVERIFY2(pack.finished && pack.exitCode == 0, qPrintable(pack.describe(QStringLiteral("cpack"))));
    }

    void archiveHoldsOneFolderWithProgramHelperCheckerAndBank_data()
    {
        QTest::addColumn<QString>("extension");
        QTest::newRow("tar.gz") << QStringLiteral(".tar.gz");
        QTest::newRow("zip") << QStringLiteral(".zip");
    }

    void archiveHoldsOneFolderWithProgramHelperCheckerAndBank()
    {
        QFETCH(QString, extension);
        QVERIFY2(QFileInfo(Archive(extension)).isFile(), qPrintable(Archive(extension)));
        const ProcessResult list =
            Run(QStringLiteral(ZDAWNIK_CMAKE_COMMAND),
                {QStringLiteral("-E"), QStringLiteral("tar"), QStringLiteral("tf"), Archive(extension)},
                m_root.path());
        QVERIFY2(list.finished && list.exitCode == 0,
                 qPrintable(list.describe(QStringLiteral("cmake -E tar tf"))));
        QStringList files;
        for (const QString& entry : list.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
            QVERIFY2(entry == TopFolder || entry.startsWith(TopFolder + QLatin1Char('/')), qPrintable(entry));
            const QString inside = entry.mid(TopFolder.size() + 1);
            if (!inside.isEmpty() && !inside.endsWith(QLatin1Char('/')) && inside != QLatin1String("baza"))
                files << inside;
        }
        files.sort();
        QCOMPARE(files, ExpectedFiles());
    }

    void unpackedFolderRunsWhereverItIsMoved_data()
    {
        archiveHoldsOneFolderWithProgramHelperCheckerAndBank_data();
    }

    void unpackedFolderRunsWhereverItIsMoved()
    {
        QFETCH(QString, extension);
        const QString unpacked = Unpack(extension);
        QVERIFY2(!unpacked.isEmpty(), qPrintable(Archive(extension)));
        for (const QString& name : {QStringLiteral("zdawnik"), QStringLiteral("zdawnik-metafile"),
                                    QStringLiteral("zdawnik-check")}) {
            const QFileInfo program(unpacked + QLatin1Char('/') + TopFolder + QLatin1Char('/') + name);
            QVERIFY2(program.isFile() && !program.isSymLink() && program.isExecutable(),
                     qPrintable(program.filePath()));
        }

        // Moved to a folder whose name has a space and a Polish letter, and started through a
        // link from a folder without a bank, with the working folder elsewhere again.
        const QString moved = unpacked + QStringLiteral("/mój zdawnik");
        QVERIFY(QDir().rename(unpacked + QLatin1Char('/') + TopFolder, moved));
        const QString links = unpacked + QStringLiteral("/links");
        const QString elsewhere = unpacked + QStringLiteral("/elsewhere");
        QVERIFY(QDir().mkpath(links) && QDir().mkpath(elsewhere));
        QVERIFY(QFile::link(moved + QStringLiteral("/zdawnik"), links + QStringLiteral("/zdawnik")));

        const ProbeReport report =
            RunWithProbe(links + QStringLiteral("/zdawnik"), elsewhere, AllFormatsQuestion);
        QVERIFY2(report.process.finished && report.process.exitCode == 0 && report.ended,
                 qPrintable(report.process.describe(QStringLiteral("zdawnik"))));
        QVERIFY2(report.messages.isEmpty(), qPrintable(report.messages.join(QLatin1Char('\n'))));
        QCOMPARE(report.questions, QString::number(SampleQuestionFiles().size()));
        QVERIFY2(report.questionShown, qPrintable(report.process.out));
        for (int n = 1; n <= AllFormatsAnswers; ++n) {
            QVERIFY2(report.answers.value(n).first, qPrintable(QStringLiteral("answer %1").arg(n)));
            QCOMPARE(report.answers.value(n).second, QString());
        }

        const ProcessResult check =
            Run(moved + QStringLiteral("/zdawnik-check"), {QStringLiteral("--verbose")}, elsewhere);
        const QString problem = CheckerFoundTheSampleBank(check);
        QVERIFY2(problem.isEmpty(), qPrintable(problem));
    }
};

QTEST_GUILESS_MAIN(TestBundle)
#include "tst_bundle.moc"
