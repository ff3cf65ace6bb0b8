#pragma once

#include <QCursor>
#include <QIcon>
#include <QImage>
#include <QList>
#include <QString>

// The pictures the program carries inside itself, drawn by devtools/make-pictures and compiled in as
// Qt resources. Every function may be called from any program that links this library; the
// resources are registered on first use.
namespace zdawnik::assets {

enum class Picture
{
    Tick,            // tick.bmp: BMP, 8 bits per pixel, 255-colour palette, 50 x 50
    GoodFace,        // face-good.png: PNG, RGB, gAMA and sRGB, 63 x 63
    PartialFace,     // face-partial.png: PNG, RGB, gAMA, 63 x 63
    WrongFace,       // face-wrong.png: PNG, RGB, gAMA, 63 x 63
    EndPhotograph,   // end-photograph.jpg: baseline JFIF, 347 x 484
    ApplicationIcon, // zdawnik.ico: one 32 x 32 image, 16 colours and a 1-bit mask
    HandCursor,      // hand.cur: monochrome 32 x 32, hot spot (7, 1)
};

// The resource path of a picture's file, as the program holds it (":/zdawnik/..."): reading it
// gives the file's bytes unchanged.
QString ResourcePath(Picture picture);

// The sizes at which the application icon is also drawn smooth and in full colour, for desktops,
// and the resource path of each of those PNG files.
QList<int> DesktopIconSizes();
QString DesktopIconResourcePath(int size);

// The good-answer mark, 50 x 50, 8-bit indexed. The window draws it with colour-key transparency:
// its bottom-left pixel, and with it the ground, is pure white.
QImage Tick();

// The verdict faces, 63 x 63, opaque, on the window's colour RGB (7, 80, 152).
QImage GoodFace();
QImage PartialFace();
QImage WrongFace();

// The end panel's photograph, 347 x 484.
QImage EndPhotograph();

// The application icon: the 32 x 32 icon, with the desktop sizes beside it.
QIcon ApplicationIcon();

// The pointing-hand cursor shown over the answer panels.
QCursor HandCursor();

} // namespace zdawnik::assets
