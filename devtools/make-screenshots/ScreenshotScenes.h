#pragma once

#include <QImage>
#include <QRect>
#include <QString>
#include <QStringList>

#include <filesystem>

namespace zdawnik {

// One picture of the window for docs/: what it shows, and a part of it that depends on the machine it
// was made on (the bank's path on the start panel), which comparisons leave out.
struct Screenshot
{
    QImage Image;
    QRect MachineDependent;
};

// The scenes the documents show: "start", "question", "sentence", "end" and "exam".
QStringList ScreenshotScenes();
// The file in docs/ a scene is kept in at the window's own scale; at scale 2 the question is kept as
// "screenshot-scale2.png".
QString ScreenshotFileName(const QString& scene, bool doubled);

// The main window in that scene, over the sample bank, drawn as it is on screen: the same questions,
// answers and clock every time. Pictures of metafiles need zdawnik-metafile beside the program.
Screenshot RenderScene(const QString& scene, const std::filesystem::path& sampleBank);

// The share of pixels outside `ignored` that differ visibly between two pictures of the same size; 1
// when the sizes differ.
double DifferentShare(const QImage& made, const QImage& kept, const QRect& ignored);

} // namespace zdawnik
