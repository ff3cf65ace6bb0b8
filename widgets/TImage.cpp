#include "widgets/TImage.h"

#include <QPainter>

namespace zdawnik {

TImage::TImage(QWidget* parent) : TControl(parent) {}

void TImage::setPicture(const QImage& picture, bool bitmap)
{
    m_picture = picture;
    m_bitmap = bitmap;
    preparePicture();
    fitToPicture();
    update();
}

void TImage::clearPicture()
{
    m_picture = QImage();
    m_drawn = QImage();
    m_bitmap = false;
    update();
}

void TImage::setCenter(bool on)
{
    if (on == m_center)
        return;
    m_center = on;
    update();
}

void TImage::setAutoSize(bool on)
{
    if (on == m_autoSize)
        return;
    m_autoSize = on;
    fitToPicture();
}

void TImage::setTransparent(bool on)
{
    if (on == m_transparent)
        return;
    m_transparent = on;
    preparePicture();
    update();
}

QPoint TImage::pictureOrigin() const
{
    if (!m_center)
        return QPoint(0, 0);
    // Integer division truncates toward zero, also for a picture larger than the widget.
    return QPoint((width() - m_picture.width()) / 2, (height() - m_picture.height()) / 2);
}

void TImage::paintEvent(QPaintEvent*)
{
    if (m_drawn.isNull())
        return;
    QPainter painter(this);
    // At 1:1 the pixels are copied as they are; on a high-density screen the enlarged picture is
    // smoothed rather than made blocky.
    painter.setRenderHint(QPainter::SmoothPixmapTransform, devicePixelRatioF() > 1);
    painter.drawImage(pictureOrigin(), m_drawn);
}

void TImage::preparePicture()
{
    if (m_picture.isNull() || !m_transparent || !m_bitmap) {
        m_drawn = m_picture;
        return;
    }
    const QRgb key = m_picture.pixel(0, m_picture.height() - 1);
    m_drawn = m_picture.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < m_drawn.height(); ++y) {
        auto* row = reinterpret_cast<QRgb*>(m_drawn.scanLine(y));
        for (int x = 0; x < m_drawn.width(); ++x) {
            if (row[x] == key)
                row[x] = 0;
        }
    }
}

void TImage::fitToPicture()
{
    if (m_autoSize && hasPicture())
        resize(m_picture.size());
}

} // namespace zdawnik
