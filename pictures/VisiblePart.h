#pragma once

#include <QImage>
#include <QRect>
#include <QSize>

namespace zdawnik {

// The part of a picture that a place shows when the picture is centred in it and not scaled: all of
// it along a side where it fits, otherwise the middle stretch as long as the place, cut where the
// window's centring cuts it (the left or top margin is half the overhang, rounded down). The place
// is in the picture's pixels; an empty place keeps the whole picture.
inline QRect VisiblePart(QSize picture, QSize place)
{
    if (place.isEmpty())
        return QRect(QPoint(0, 0), picture);
    const auto stretch = [](int length, int room) {
        return length <= room ? std::pair{0, length} : std::pair{(length - room) / 2, room};
    };
    const auto [left, width] = stretch(picture.width(), place.width());
    const auto [top, height] = stretch(picture.height(), place.height());
    return QRect(left, top, width, height);
}

// The part of a whole picture that the place shows (see VisiblePart); the picture itself, not a
// copy, when all of it is shown.
inline QImage KeepVisiblePart(const QImage& picture, QSize place)
{
    const QRect shown = VisiblePart(picture.size(), place);
    return shown.size() == picture.size() ? picture : picture.copy(shown);
}

} // namespace zdawnik
