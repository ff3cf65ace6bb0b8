// Makes the screenshots of docs/ from the program itself, over the sample bank:
//   zdawnik-make-screenshots [--out FOLDER] [--scene NAME]
// Every scene at the window's own scale, and the checked question again at scale 2 (by running itself
// with QT_SCALE_FACTOR=2). tests/app/tst_screenshots.cpp compares them with those kept in docs/.

#include "app/Application.h"
#include "devtools/make-screenshots/ScreenshotScenes.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QProcess>

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    zdawnik::InitialiseApplication(application);
    QCommandLineParser parser;
    parser.addHelpOption();
    const QCommandLineOption out("out", "Where the pictures go.", "FOLDER", ZDAWNIK_SOURCE_DIR "/docs");
    const QCommandLineOption scene("scene", "Only this scene.", "NAME");
    parser.addOptions({out, scene});
    parser.process(application);
    const bool doubled = qEnvironmentVariable("QT_SCALE_FACTOR") == "2";
    const QStringList scenes =
        parser.isSet(scene) ? QStringList{parser.value(scene)} : zdawnik::ScreenshotScenes();
    for (const QString& name : scenes) {
        const QString file = QDir(parser.value(out)).filePath(zdawnik::ScreenshotFileName(name, doubled));
        if (!zdawnik::RenderScene(name, ZDAWNIK_SOURCE_DIR "/baza").Image.save(file)) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(file));
            return 1;
        }
        std::printf("%s\n", qPrintable(file));
    }
    if (!doubled && !parser.isSet(scene)) {
        QProcess twice;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("QT_SCALE_FACTOR", "2");
        twice.setProcessEnvironment(environment);
        twice.setProcessChannelMode(QProcess::ForwardedChannels);
        twice.start(QCoreApplication::applicationFilePath(),
                    {"--out", parser.value(out), "--scene", "question"});
        if (!twice.waitForFinished(120'000) || twice.exitCode() != 0)
            return 1;
    }
    return 0;
}
