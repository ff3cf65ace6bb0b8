// Picture questions in the window: a question of thirteen pictures shown again, its pictures in the
// cache, against a text question of as many answers; and the memory a question of thirteen pictures
// of 8192 x 8192 takes, at its peak and once the next question, a text question, is shown.
//
//   bench_picture_questions [again|memory]     one of the two, or both

#include "app/Application.h"
#include "app/TMainForm.h"
#include "pictures/PictureLoader.h"
#include "widgets/TImage.h"
#include "widgets/TLabel.h"

#include <QApplication>
#include <QDir>
#include <QPainter>
#include <QPushButton>
#include <QTemporaryDir>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>

#include "bench/BenchOutput.h"
#include "bench/app/SilentBoxes.h"
#include "bench/pictures/QuestionMetafiles.h"

using namespace zdawnik;
using namespace zdawnik::bench;

namespace {

void Write(const std::filesystem::path& path, const QByteArray& bytes)
{
    std::filesystem::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary).write(bytes.constData(), bytes.size());
}

std::unique_ptr<TMainForm> OpenWindow(const std::filesystem::path& bank, PictureLoader& pictures,
                                      SilentBoxes& boxes)
{
    MainFormEnvironment environment;
    environment.BankDir = bank;
    environment.Messages = &boxes;
    environment.Pictures = &pictures;
    static std::uint32_t tick = 0;
    environment.Clock = [] { return tick += 2654435761u; };
    auto window = std::make_unique<TMainForm>(environment);
    window->show();
    window->findChild<QPushButton*>("btnStart")->click();
    QApplication::processEvents();
    return window;
}

// The next action, whatever state the window is in, and the painting of what it changed.
void Next(TMainForm& window)
{
    auto* next = window.findChild<QPushButton*>("btnDalej");
    next->setEnabled(true);
    next->click();
    QApplication::processEvents();
}

QString ShownFile(TMainForm& window)
{
    return window.findChild<TLabel*>("lblPytanieInfo")->caption();
}

// The next action until the window shows the given file.
bool NextUntil(TMainForm& window, const QString& file)
{
    for (int tries = 0; tries < 200; ++tries) {
        Next(window);
        if (ShownFile(window) == file)
            return true;
    }
    std::fprintf(stderr, "%s never came up\n", qPrintable(file));
    return false;
}

QByteArray ChoiceQuestion(const QByteArray& body, const QList<QByteArray>& answers)
{
    QByteArray file = "X" + QByteArray(answers.size(), '0') + "\r\n" + body + "\r\n";
    for (const QByteArray& answer : answers)
        file += answer + "\r\n";
    return file;
}

QByteArray Picture(const QString& name)
{
    return "[img]" + name.toUtf8() + "[/img]";
}

void ShownAgainAgainstText(const std::filesystem::path& root)
{
    // Two picture questions that share their answers' pictures, and two text questions of the same
    // shape; the window brings up one of its two at random.
    const std::filesystem::path pictureBank = root / "obrazy";
    const std::filesystem::path textBank = root / "tekst";
    QList<QByteArray> pictureAnswers;
    for (const char* file : QuestionMetafiles) {
        const QString name = QFileInfo(file).fileName();
        std::filesystem::create_directories(pictureBank);
        std::filesystem::copy_file(ZDAWNIK_SOURCE_DIR "/tests/data/pictures/metafiles/" + std::string(file),
                                   pictureBank / name.toStdString());
        pictureAnswers << Picture(name);
    }
    std::filesystem::copy_file(ZDAWNIK_SOURCE_DIR "/baza/wykres.png", pictureBank / "wykres.png");
    QList<QByteArray> textAnswers;
    for (int n = 1; n <= 12; ++n)
        textAnswers << "Odpowied\xbc numer " + QByteArray::number(n);
    for (const char* name : {"a.txt", "b.txt"}) {
        Write(pictureBank / name, ChoiceQuestion(Picture("wykres.png"), pictureAnswers));
        Write(textBank / name, ChoiceQuestion("Kt\xf3ra z odpowiedzi jest dobra?", textAnswers));
    }
    SilentBoxes boxes;
    PictureLoader pictures;
    pictures.StartHelper();
    auto pictureWindow = OpenWindow(pictureBank, pictures, boxes);
    auto textWindow = OpenWindow(textBank, pictures, boxes);
    // Both picture questions shown once: from here on their pictures are in the cache.
    NextUntil(*pictureWindow, "a.txt");
    NextUntil(*pictureWindow, "b.txt");
    const auto [again, text] =
        MedianPairedMicroseconds([&] { Next(*pictureWindow); }, [&] { Next(*textWindow); }, 10, 61);
    ReportTimes("picture-question-shown-again-vs-text-question", again, text, 1.2);
}

// Resident memory now, and at its peak since the last ResetPeak, in kilobytes.
long ResidentKilobytes(const char* field)
{
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind(field, 0) == 0)
            return std::atol(line.c_str() + std::strlen(field));
    }
    return 0;
}

void ResetPeak()
{
    std::ofstream("/proc/self/clear_refs") << "5";
}

std::string Megabytes(long kilobytes)
{
    return std::to_string(kilobytes / 1024) + "MB";
}

void ThirteenLargePictures(const std::filesystem::path& root)
{
    // A picture of 8192 x 8192 pixels, mostly flat, so that its PNG is a few hundred kilobytes; the
    // question shows it thirteen times, as its own picture and as each of its twelve answers.
    const std::filesystem::path bank = root / "duze";
    std::filesystem::create_directories(bank);
    {
        const QImage large = LargeQuestionPicture();
        large.save(QString::fromStdString((bank / "duzy.png").string()));
    }
    std::printf("8192 x 8192 PNG: %lld bytes\n", qint64(std::filesystem::file_size(bank / "duzy.png")));
    QList<QByteArray> answers;
    for (int n = 1; n <= 12; ++n)
        answers << Picture("duzy.png");
    Write(bank / "obraz.txt", ChoiceQuestion(Picture("duzy.png"), answers));
    Write(bank / "tekst.txt", ChoiceQuestion("Pytanie", {"Tak", "Nie"}));

    // The text question comes first and the picture question is shown for the first time after it,
    // its pictures not yet loaded: the window draws its questions at random, so a window that
    // begins with the picture question is set aside for another.
    SilentBoxes boxes;
    for (int attempt = 0; attempt < 50; ++attempt) {
        PictureLoader pictures;
        auto window = OpenWindow(bank, pictures, boxes);
        if (ShownFile(*window) != QLatin1String("tekst.txt"))
            continue;
        const long before = ResidentKilobytes("VmRSS:");
        ResetPeak();
        if (!NextUntil(*window, "obraz.txt"))
            return;
        const long peak = ResidentKilobytes("VmHWM:");
        int shown = 0;
        for (TImage* image : window->findChildren<TImage*>())
            shown += image->isVisible() && image->hasPicture() && image->picture().width() > 400;
        std::printf("the large picture shown in %d places of 13\n", shown);
        if (!NextUntil(*window, "tekst.txt"))
            return;
        const long after = ResidentKilobytes("VmRSS:");
        constexpr long Limit = 600 * 1024;
        Report("question-13-pictures-8192-peak-memory", Megabytes(peak), Megabytes(Limit),
               double(peak) / Limit, 1.0);
        Report("memory-after-next-text-question-vs-before", Megabytes(after), Megabytes(before),
               double(after) / double(before), 1.1);
        return;
    }
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    InitialiseApplication(application);
    QTemporaryDir dir;
    const std::filesystem::path root = dir.path().toStdString();
    const QString only = argc > 1 ? QString(argv[1]) : QString();
    // The memory first, while the process holds little else.
    if (only.isEmpty() || only == "memory")
        ThirteenLargePictures(root);
    if (only.isEmpty() || only == "again")
        ShownAgainAgainstText(root);
    return 0;
}
