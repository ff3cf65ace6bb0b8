#include "devtools/make-screenshots/ScreenshotScenes.h"

#include "app/MessageBoxes.h"
#include "app/TMainForm.h"
#include "drill/ExamRun.h"
#include "pictures/PictureLoader.h"
#include "widgets/TPanel.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QTemporaryDir>

namespace zdawnik {

namespace {

// Boxes that no one sees: a scene never meets one that matters.
class UnseenBoxes : public MessageBoxes
{
public:
    void show(QWidget*, Icon, const QString&, const QString&) override {}
    bool ask(QWidget*, const QString&, const QString&) override { return true; }
};

// A bank of some files of the sample bank, with every picture it has.
std::filesystem::path CopyBank(const std::filesystem::path& sample, const std::filesystem::path& to,
                               const QStringList& questions)
{
    std::filesystem::create_directories(to);
    for (const auto& entry : std::filesystem::directory_iterator(sample)) {
        const QString name = QString::fromStdString(entry.path().filename().string());
        if (!name.endsWith(".txt") || questions.isEmpty() || questions.contains(name))
            std::filesystem::copy_file(entry.path(), to / entry.path().filename(),
                                       std::filesystem::copy_options::overwrite_existing);
    }
    return to;
}

void Settle()
{
    for (int round = 0; round < 3; ++round)
        QCoreApplication::processEvents();
}

// Ticks the right answers of the choice question on screen, as clicks on their panels do.
void AnswerRight(TMainForm& window)
{
    for (int n = 1; n <= MaxAnswers; ++n)
        if (window.CurrentQuestion().isRightAnswer(n))
            emit window.Find<TPanel>(Numbered("pnlOdp", n))->clicked();
}

} // namespace

QStringList ScreenshotScenes()
{
    return {"start", "question", "sentence", "end", "exam"};
}

QString ScreenshotFileName(const QString& scene, bool doubled)
{
    return doubled ? QStringLiteral("screenshot-scale2.png") : QStringLiteral("screenshot-%1.png").arg(scene);
}

Screenshot RenderScene(const QString& scene, const std::filesystem::path& sampleBank)
{
    QTemporaryDir dir;
    const std::filesystem::path root = dir.path().toStdString();
    const QStringList files = scene == "question"   ? QStringList{"obraz-01-ksztalty.txt"}
                              : scene == "sentence" ? QStringList{"zdanie-01-protokol.txt"}
                              : scene == "end"      ? QStringList{"ogolne-01-stolica.txt"}
                              : scene == "exam" ? QStringList{"ogolne-01-stolica.txt", "ogolne-02-rzeka.txt",
                                                              "siec-02-porty.txt", "siec-05-dns.txt"}
                                                : QStringList{};
    UnseenBoxes boxes;
    PictureLoader pictures;
    MainFormEnvironment environment;
    environment.BankDir = CopyBank(sampleBank, root / "baza", files);
    environment.Clock = [] { return 20261208u; };
    qint64 studyMs = 0;
    environment.StudyClock = [&studyMs] { return studyMs += 67'000; };
    environment.Messages = &boxes;
    environment.StateDir = dir.filePath("stan");
    environment.Pictures = &pictures;
    if (scene == "exam")
        environment.Exam = ExamSettings{4, 30, 60};
    TMainForm window(environment);
    window.show();
    Settle();

    Screenshot shot;
    if (scene == "start") {
        shot.MachineDependent =
            window.FindComponent("lblBaza")->geometry().translated(window.FindComponent("pnlStart")->pos());
    } else if (scene == "question" || scene == "end") {
        window.btnStartClick();
        for (int showing = 1; showing <= (scene == "end" ? 3 : 1); ++showing) {
            window.TimerTimer();
            AnswerRight(window);
            window.btnCheckClick();
            if (scene == "end")
                window.btnDalejClick();
        }
    } else if (scene == "sentence") {
        window.btnStartClick();
        window.TimerTimer();
        window.Find<QComboBox>("ComboOpcja1")->setCurrentIndex(0);
        window.btnGenerujClick();
        window.btnCheckClick();
    } else if (scene == "exam") {
        for (int k = 0; k < window.Exam()->Count(); ++k) {
            if (k != 2)
                AnswerRight(window);
            window.btnDalejClick();
        }
        window.TimerTimer();
        window.btnZakonczClick();
    }
    Settle();
    shot.Image = window.grab().toImage();
    window.close();
    return shot;
}

double DifferentShare(const QImage& made, const QImage& kept, const QRect& ignored)
{
    if (made.size() != kept.size())
        return 1;
    const QImage a = made.convertToFormat(QImage::Format_RGB32);
    const QImage b = kept.convertToFormat(QImage::Format_RGB32);
    const qreal scale = made.devicePixelRatio();
    const QRect skipped(ignored.topLeft() * scale, ignored.size() * scale);
    qint64 differing = 0, counted = 0;
    for (int y = 0; y < a.height(); ++y) {
        const auto* lineA = reinterpret_cast<const QRgb*>(a.constScanLine(y));
        const auto* lineB = reinterpret_cast<const QRgb*>(b.constScanLine(y));
        for (int x = 0; x < a.width(); ++x) {
            if (skipped.contains(x, y))
                continue;
            ++counted;
            const QRgb p = lineA[x], q = lineB[x];
            differing += std::abs(qRed(p) - qRed(q)) > 48 || std::abs(qGreen(p) - qGreen(q)) > 48 ||
                         std::abs(qBlue(p) - qBlue(q)) > 48;
        }
    }
    return counted ? double(differing) / double(counted) : 0;
}

} // namespace zdawnik
