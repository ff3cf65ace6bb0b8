#pragma once

#include "pictures/PictureLoader.h"

#include <QByteArray>
#include <QString>

namespace zdawnik {

enum class MetafileKind
{
    Emf,
    Wmf,
};

// Draws a metafile by handing its bytes to the zdawnik-metafile helper and reading the picture back.
// The metafile libraries keep global state and have crashed on valid files, so they live only in
// that helper: its crash, its hang (past the time limit), an oversized or garbled answer, or its
// absence make an error here and never touch the calling process.
PictureResult RenderMetafile(const QByteArray& data, MetafileKind kind);

// Where the helper is looked for: beside the running program.
QString MetafileHelperPath();

} // namespace zdawnik
