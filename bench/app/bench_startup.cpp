// Start-up to the first shown window: the real program's window against a bare window with as many
// widgets. Each start is a fresh process, timed from its start until it says that its window has
// been painted, so the toolkit's own start-up is in both figures and the ending of the process in
// neither.
//
//   bench_startup                 runs both, many times, and prints the figure
//   bench_startup real            one start of the program's window, quitting once it is shown
//   bench_startup bare N          the same with a plain window of N widgets

#include "app/Application.h"
#include "app/TMainForm.h"
#include "base/Platform.h"
#include "pictures/PictureLoader.h"

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QProcess>
#include <QPushButton>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

#include "bench/BenchOutput.h"

using namespace zdawnik;

namespace {

// Says "shown" on the standard output and quits the application once the window it watches has
// painted, children and all.
class FirstPaint : public QObject
{
public:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Paint && !m_seen) {
            m_seen = true;
            QMetaObject::invokeMethod(
                qApp,
                [] {
                    std::puts("shown");
                    std::fflush(stdout);
                    QApplication::quit();
                },
                Qt::QueuedConnection);
        }
        return QObject::eventFilter(watched, event);
    }

private:
    bool m_seen = false;
};

// The number of widgets of the program's window.
int CountWidgets(int argc, char** argv)
{
    QApplication application(argc, argv);
    std::printf("%d\n", static_cast<int>(TMainForm().findChildren<QWidget*>().size()));
    return 0;
}

int StartOnce(int argc, char** argv, bool real, int widgets)
{
    QApplication application(argc, argv);
    // The program's one picture loader, whose metafile helper it starts once the window is up.
    PictureLoader pictures;
    std::unique_ptr<QWidget> window;
    if (real) {
        InitialiseApplication(application);
        MainFormEnvironment environment;
        environment.BankDir = platform::JoinName(platform::ExecutableDirectory(), "baza");
        environment.Pictures = &pictures;
        window = std::make_unique<TMainForm>(environment);
    } else {
        // As many widgets as the program's window, of the same kinds, but plain.
        window = std::make_unique<QWidget>();
        window->resize(952, 690);
        for (int i = 0; i < widgets; ++i) {
            QWidget* widget = i % 10 == 0   ? static_cast<QWidget*>(new QPushButton("x", window.get()))
                              : i % 10 == 1 ? static_cast<QWidget*>(new QCheckBox("x", window.get()))
                                            : static_cast<QWidget*>(new QLabel("x", window.get()));
            widget->setGeometry(i % 30 * 30, i / 30 * 20, 28, 18);
        }
    }
    // As the program does it.
    if (real)
        StartHelperOnceShown(*window, pictures);
    // "Shown" is when the window has been painted for the first time.
    FirstPaint firstPaint;
    window->installEventFilter(&firstPaint);
    window->show();
    return application.exec();
}

// Microseconds from the start of a process until it says its window is shown.
double StartOnceAsProcess(const QString& program, const QStringList& arguments)
{
    QProcess process;
    const auto start = std::chrono::steady_clock::now();
    process.start(program, arguments);
    while (!process.canReadLine() && process.waitForReadyRead(-1)) {
    }
    const std::chrono::duration<double, std::micro> spent = std::chrono::steady_clock::now() - start;
    if (process.readLine().trimmed() != "shown")
        std::fprintf(stderr, "a start did not show its window\n");
    process.waitForFinished(-1);
    return spent.count();
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    if (argc > 1 && std::strcmp(argv[1], "count") == 0)
        return CountWidgets(argc, argv);
    if (argc > 1 && std::strcmp(argv[1], "real") == 0)
        return StartOnce(argc, argv, true, 0);
    if (argc > 2 && std::strcmp(argv[1], "bare") == 0)
        return StartOnce(argc, argv, false, std::atoi(argv[2]));
    QCoreApplication application(argc, argv);
    const QString self = QCoreApplication::applicationFilePath();
    QProcess counter;
    counter.start(self, {"count"});
    counter.waitForFinished(-1);
    const QString widgets = QString::fromLatin1(counter.readAllStandardOutput()).trimmed();
    // One start of each in turn, so that a change in the machine's load falls on both alike.
    StartOnceAsProcess(self, {"real"}); // warm the disk cache
    StartOnceAsProcess(self, {"bare", widgets});
    std::vector<double> real;
    std::vector<double> bare;
    for (int round = 0; round < 61; ++round) {
        real.push_back(StartOnceAsProcess(self, {"real"}));
        bare.push_back(StartOnceAsProcess(self, {"bare", widgets}));
    }
    bench::ReportTimes("startup-vs-bare-window", bench::detail::Median(real), bench::detail::Median(bare),
                       1.3);
    return 0;
}
