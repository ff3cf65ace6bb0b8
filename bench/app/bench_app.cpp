// The window's costs against the plain toolkit: the next action on a text question, in a window that
// keeps its run, against setting the same texts on bare labels, a picture question against decoding its
// picture alone, and the memory of a long run.

#include "app/Application.h"
#include "app/MessageBoxes.h"
#include "app/TMainForm.h"

#include <QApplication>
#include <QCheckBox>
#include <QImageReader>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QVBoxLayout>

#include <fstream>

#include "bench/BenchOutput.h"
#include "bench/app/SilentBoxes.h"

using namespace zdawnik;
using namespace zdawnik::bench;

namespace {

const char TextQuestion[] =
    "X0101\r\nKt\xf3re z podanych port\xf3w s\xb9 domy\x9clnie u\xbfywane przez protok\xf3\xb3 "
    "HTTP i HTTPS?\r\n80\r\n21\r\n443\r\n25\r\n";

void Write(const std::filesystem::path& path, const QByteArray& bytes)
{
    std::filesystem::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary).write(bytes.constData(), bytes.size());
}

// stateDir: where the window keeps its run; empty, it keeps none.
std::unique_ptr<TMainForm> OpenWindow(const std::filesystem::path& bank, MessageBoxes& boxes,
                                      const QString& stateDir = QString())
{
    MainFormEnvironment environment;
    environment.BankDir = bank;
    environment.Messages = &boxes;
    environment.StateDir = stateDir;
    static std::uint32_t tick = 0;
    environment.Clock = [] { return tick += 2654435761u; };
    auto window = std::make_unique<TMainForm>(environment);
    window->show();
    QApplication::processEvents();
    return window;
}

// Resident memory in kilobytes.
long ResidentKilobytes()
{
    std::ifstream statm("/proc/self/statm");
    long size = 0, resident = 0;
    statm >> size >> resident;
    return resident * 4;
}

// Two questions of the same shape, and the texts the window shows for each.
const char* const Questions[2] = {TextQuestion, "X1010\r\nKt\xf3ry protok\xf3\xb3 dzia\xb3"
                                                "a w warstwie sieciowej?\r\nIP\r\nTCP\r\nICMP\r\nUDP\r\n"};
const QStringList ShownTexts[2] = {
    {"Które z podanych portów są domyślnie używane przez protokół HTTP i HTTPS?", "80", "21", "443", "25",
     "a.txt", "2", "[zaznacz przynajmniej jedną odpowiedź]"},
    {"Który protokół działa w warstwie sieciowej?", "IP", "TCP", "ICMP", "UDP", "b.txt", "1",
     "[zaznacz przynajmniej jedną odpowiedź]"},
};

void NextActionAgainstBareLabels(const std::filesystem::path& root)
{
    // The window brings up one of two questions at random; whatever changed on screen is painted.
    const std::filesystem::path bank = root / "tekst";
    Write(bank / "a.txt", QByteArray(Questions[0]));
    Write(bank / "b.txt", QByteArray(Questions[1]));
    SilentBoxes boxes;
    // The window as users have it: keeping its run.
    auto window = OpenWindow(bank, boxes, QString::fromStdString((root / "stan").string()));
    window->findChild<QPushButton*>("btnStart")->click();
    auto* next = window->findChild<QPushButton*>("btnDalej");
    const auto nextAction = [&] {
        next->setEnabled(true);
        next->click();
        QApplication::processEvents();
    };

    // The same texts on plain labels in a window of the same size, the two questions in turn.
    QWidget bare;
    bare.resize(952, 690);
    QList<QLabel*> labels;
    for (int i = 0; i < ShownTexts[0].size(); ++i) {
        labels << new QLabel(&bare);
        labels.last()->setGeometry(10, 10 + 70 * i, 440, 60);
    }
    bare.show();
    QApplication::processEvents();
    int turn = 0;
    const auto labelsOnly = [&] {
        const QStringList& texts = ShownTexts[++turn % 2];
        for (int i = 0; i < labels.size(); ++i)
            labels[i]->setText(texts[i]);
        QApplication::processEvents();
    };

    const auto [action, bareLabels] = MedianPairedMicroseconds(nextAction, labelsOnly, 20, 31);
    ReportTimes("next-action-vs-bare-labels", action, bareLabels, 1.5);
}

void PictureQuestionAgainstDecoding(const std::filesystem::path& root)
{
    const std::filesystem::path bank = root / "obraz";
    std::filesystem::create_directories(bank);
    QImage photo(1920, 1080, QImage::Format_RGB32);
    for (int y = 0; y < photo.height(); ++y)
        for (int x = 0; x < photo.width(); ++x)
            photo.setPixel(x, y, qRgb((x * 7 + y) & 255, (x ^ y) & 255, (y * 3) & 255));
    const QString file = QString::fromStdString((bank / "zdjecie.jpg").string());
    photo.save(file, "JPG", 90);
    Write(bank / "pytanie.txt", "X1\r\n[img]zdjecie.jpg[/img]\r\nA\r\n");
    SilentBoxes boxes;
    auto window = OpenWindow(bank, boxes);
    window->findChild<QPushButton*>("btnStart")->click();
    auto* next = window->findChild<QPushButton*>("btnDalej");
    const double question = MedianMicroseconds(
        [&] {
            next->setEnabled(true);
            next->click();
        },
        5, 9);
    const double decode = MedianMicroseconds(
        [&] {
            QImageReader reader(file);
            const QImage image = reader.read();
            (void)image;
        },
        5, 9);
    ReportTimes("picture-question-1080p-jpeg-vs-decode", question, decode, 1.15);
}

void LongRunMemory(const std::filesystem::path& root)
{
    const std::filesystem::path bank = root / "tysiac";
    for (int i = 0; i < 1000; ++i)
        Write(bank / std::filesystem::path(QStringLiteral("q%1.txt").arg(i).toStdString()),
              QByteArray(TextQuestion));
    SilentBoxes boxes;
    auto window = OpenWindow(bank, boxes);
    window->findChild<QPushButton*>("btnStart")->click();
    auto* check = window->findChild<QPushButton*>("btnCheck");
    auto* next = window->findChild<QPushButton*>("btnDalej");
    long at100 = 0;
    int shown = 0;
    while (window->Pool()->PendingCount() > 0) {
        const Question& question = window->CurrentQuestion();
        for (int n = 1; n <= 12; ++n)
            if (question.Keys[n] == "1")
                window->findChild<QCheckBox*>(Numbered("CheckBox", n))->setChecked(true);
        check->click();
        next->click();
        QApplication::processEvents();
        if (++shown == 100)
            at100 = ResidentKilobytes();
    }
    const long atEnd = ResidentKilobytes();
    Report("run-1000-questions-memory-end-vs-100th", std::to_string(atEnd) + "kB",
           std::to_string(at100) + "kB", double(atEnd) / double(at100), 1.05);
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    InitialiseApplication(application);
    QTemporaryDir dir;
    const std::filesystem::path root = dir.path().toStdString();
    // One benchmark by name, or all of them.
    const QString only = argc > 1 ? QString(argv[1]) : QString();
    if (only.isEmpty() || only == "next")
        NextActionAgainstBareLabels(root);
    if (only.isEmpty() || only == "picture")
        PictureQuestionAgainstDecoding(root);
    if (only.isEmpty() || only == "run")
        LongRunMemory(root);
    return 0;
}
