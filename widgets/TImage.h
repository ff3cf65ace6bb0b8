#pragma once

#include "widgets/TControl.h"

#include <QImage>

namespace zdawnik {

// A picture on its parent, drawn at its natural size and never scaled: from the top-left corner or
// centred, cut off at the widget's edges when larger. Nothing else of the rectangle is painted, so
// what lies beneath shows around the picture. An auto-sized image takes the size of its picture.
//
// A transparent image leaves out of a bitmap picture every pixel whose colour equals the colour of
// the picture's bottom-left pixel. A picture with an alpha channel is blended over what lies beneath;
// any other picture is drawn opaque, transparent or not.
class TImage : public TControl
{
    Q_OBJECT

public:
    explicit TImage(QWidget* parent = nullptr);

    // bitmap: the picture came from a bitmap file, whose bottom-left colour a transparent image
    // leaves out.
    void setPicture(const QImage& picture, bool bitmap);
    void clearPicture();
    bool hasPicture() const { return !m_picture.isNull(); }
    QImage picture() const { return m_picture; }

    bool center() const { return m_center; }
    void setCenter(bool on);

    bool autoSize() const { return m_autoSize; }
    void setAutoSize(bool on);

    bool transparent() const { return m_transparent; }
    void setTransparent(bool on);

    // Where the picture's top-left corner lies in the widget.
    QPoint pictureOrigin() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void preparePicture();
    void fitToPicture();

    QImage m_picture;
    // The picture as it is drawn, the transparent colour of a bitmap left out.
    QImage m_drawn;
    bool m_bitmap = false;
    bool m_center = false;
    bool m_autoSize = false;
    bool m_transparent = false;
};

} // namespace zdawnik
