#pragma once

#include "pictures/PictureLoader.h"

#include <QByteArray>
#include <QString>

class QImage;

namespace zdawnik::metafile_protocol {

// What the zdawnik-metafile helper writes to its standard output, read back by the loader: a tag
// and either a picture or a reason. Both ends are the same build on the same machine, so numbers
// travel in the machine's own byte order.
//
//   "ZDMF" 'I' 0 0 0  width:u32 height:u32  width*height*4 bytes of premultiplied ARGB pixels
//   "ZDMF" 'E' 0 0 0  length:u32  length bytes of UTF-8 reason

inline constexpr int HeaderBytes = 16;

QByteArray EncodeImage(const QImage& image);
QByteArray EncodeError(const QString& reason);

// The most bytes a reply of a picture within the metafile bounds can take.
qint64 MaxReplyBytes();

// Reads a reply. Anything that is not exactly one well-formed reply within the metafile bounds
// counts as damage.
PictureResult DecodeReply(const QByteArray& reply);

// The helper's command-line argument for a metafile extension ("emf" or "wmf").
inline constexpr char EmfArgument[] = "emf";
inline constexpr char WmfArgument[] = "wmf";

} // namespace zdawnik::metafile_protocol
