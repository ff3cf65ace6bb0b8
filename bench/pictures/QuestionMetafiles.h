#pragma once

#include <QImage>
#include <QPainter>

namespace zdawnik::bench {

// A picture as large as a question may show, of 8192 x 8192 pixels, with shapes that keep a PNG of it
// from shrinking to nothing.
inline QImage LargeQuestionPicture()
{
    QImage large(8192, 8192, QImage::Format_RGB32);
    large.fill(QColor(230, 240, 250));
    QPainter painter(&large);
    painter.setBrush(QColor(200, 60, 40));
    for (int k = 0; k < 16; ++k)
        painter.drawEllipse(QPoint(512 * k + 256, 4096), 200, 3000);
    painter.end();
    return large;
}

// Six WMF and six EMF pictures of different makers, as one question's twelve answers; below
// tests/data/pictures/metafiles.
inline const char* const QuestionMetafiles[12] = {
    "wmf-libwmf/2doorvan.wmf",
    "wmf-libwmf/ant.wmf",
    "wmf-libwmf/formula1.wmf",
    "wmf-libwmf/sample.wmf",
    "wmf-libreoffice/pri-mail_l_200000430000271100001205CAE80946.wmf",
    "made-here/inkscape-matplotlib.wmf",
    "emf-libemf2svg/test-007.emf",
    "emf-libemf2svg/test-022.emf",
    "emf-libemf2svg/test-041.emf",
    "emf-libemf2svg/test-062.emf",
    "made-here/inkscape-matplotlib.emf",
    "made-here/libreoffice-polish_question.emf",
};

} // namespace zdawnik::bench
