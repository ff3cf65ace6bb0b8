#pragma once

#include "pictures/PictureResult.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QSize>

#include <optional>

namespace zdawnik {

enum class MetafileKind
{
    Emf,
    Wmf,
};

} // namespace zdawnik

namespace zdawnik::metafile_protocol {

// What the loader and the zdawnik-metafile helper say to each other over the helper's standard
// input and output, one request and its reply at a time. Both ends are the same build on the same
// machine, so numbers travel in the machine's own byte order.
//
// A request: the metafile and the place it is shown in (0 x 0 for the whole picture).
//   "ZDMQ" kind ('E' or 'W') 0 0 0  length:u32  placeWidth:u16 placeHeight:u16  length bytes
// Its reply: the part of the picture the place shows with the whole picture's size, or a reason.
//   "ZDMF" 'I' 0 0 0  naturalWidth:u32 naturalHeight:u32 width:u32 height:u32
//                     width*height*4 bytes of premultiplied ARGB pixels
//   "ZDMF" 'E' 0 0 0  length:u32 0:u32 0:u32 0:u32  length bytes of UTF-8 reason

inline constexpr int RequestHeaderBytes = 16;
inline constexpr int ReplyHeaderBytes = 24;

struct Request
{
    MetafileKind kind = MetafileKind::Emf;
    QSize place;
    qint64 length = 0;
};

// The header of a request for a metafile of the given length; the metafile's bytes follow it on the
// pipe as they are, not copied behind it.
QByteArray EncodeRequestHeader(MetafileKind kind, QSize place, qint64 length);

// The request a header announces; nothing when the header is no request header or announces more
// than a picture file may hold.
std::optional<Request> DecodeRequestHeader(QByteArrayView header);

// image is the part of a picture of naturalSize that is kept.
QByteArray EncodeImage(const QImage& image, QSize naturalSize);
QByteArray EncodeError(const QString& reason);

// The length of the whole reply that starts with this header (at least ReplyHeaderBytes long);
// nothing when it is no reply header or announces more than a picture within the metafile bounds.
std::optional<qint64> ReplyBytes(QByteArrayView header);

// Reads a reply. Anything that is not exactly one well-formed reply within the metafile bounds
// counts as damage.
PictureResult DecodeReply(const QByteArray& reply);

} // namespace zdawnik::metafile_protocol
