#include "assets/BuiltInPictures.h"

#include <QBitmap>
#include <QFile>
#include <QFileInfo>
#include <QIcon>
#include <QIconEngine>
#include <QImageReader>
#include <QMap>
#include <QPainter>
#include <QPixmap>
#include <QtEndian>

#include <algorithm>
#include <mutex>

// A resource compiled into a static library is registered only when something calls its
// initialiser; the linker would otherwise drop it, and the pictures with it. Q_INIT_RESOURCE has to
// be used outside any namespace.
static void RegisterBuiltInResources()
{
    Q_INIT_RESOURCE(builtin);
}

namespace zdawnik::assets {

namespace {

void EnsureRegistered()
{
    static std::once_flag once;
    std::call_once(once, RegisterBuiltInResources);
}

QImage Read(Picture picture)
{
    const QString path = ResourcePath(picture);
    // The format is known: left to guess it from the content, the reader would load every image
    // plug-in to ask each one, which costs the window's start a good part of its time.
    QImageReader reader(path, QFileInfo(path).suffix().toLatin1());
    reader.setAutoDetectImageFormat(false);
    // The pictures are built in and must be shown exactly as drawn.
    reader.setAutoTransform(false);
    return reader.read();
}

// Each picture is decoded once in a run; the copies share its pixels. The window shows the tick in
// twelve places.
QImage Load(Picture picture)
{
    static std::mutex mutex;
    static QMap<Picture, QImage> decoded;
    const std::lock_guard lock(mutex);
    auto found = decoded.find(picture);
    if (found == decoded.end())
        found = decoded.insert(picture, Read(picture));
    return *found;
}

quint16 U16(const QByteArray& bytes, qsizetype at)
{
    return qFromLittleEndian<quint16>(bytes.constData() + at);
}

quint32 U32(const QByteArray& bytes, qsizetype at)
{
    return qFromLittleEndian<quint32>(bytes.constData() + at);
}

// Reads the one monochrome image of a CUR file into Qt's cursor bitmap and mask. Qt's icon reader
// gives the picture but not the hot spot, and a cursor made from the bitmap pair stays a true
// two-colour cursor on every platform.
QCursor ReadMonochromeCursor(const QByteArray& file)
{
    constexpr qsizetype DirectorySize = 6 + 16;
    if (file.size() < DirectorySize + 40 || U16(file, 0) != 0 || U16(file, 2) != 2 || U16(file, 4) < 1)
        return QCursor(Qt::PointingHandCursor);
    const int hotX = U16(file, 6 + 4);
    const int hotY = U16(file, 6 + 6);
    const qsizetype dib = U32(file, 6 + 12);
    if (dib < DirectorySize || dib + 40 > file.size())
        return QCursor(Qt::PointingHandCursor);
    const int width = static_cast<int>(U32(file, dib + 4));
    const int height = static_cast<int>(U32(file, dib + 8)) / 2; // colour rows, then mask rows
    const int bitCount = U16(file, dib + 14);
    const qsizetype paletteAt = dib + U32(file, dib);
    const qsizetype rowBytes = (width + 31) / 32 * 4;
    const qsizetype colourAt = paletteAt + 2 * 4;
    const qsizetype maskAt = colourAt + rowBytes * height;
    if (bitCount != 1 || width < 1 || width > 256 || height < 1 || height > 256 ||
        maskAt + rowBytes * height > file.size())
        return QCursor(Qt::PointingHandCursor);

    // Which of the two palette colours is the dark one.
    const auto brightness = [&](int index) {
        const auto* p = reinterpret_cast<const uchar*>(file.constData() + paletteAt + 4 * index);
        return p[0] + p[1] + p[2];
    };
    const int darkIndex = brightness(0) <= brightness(1) ? 0 : 1;

    // Qt's pair: bitmap bit 1 is black, 0 white; mask bit 1 shows the pixel, 0 leaves it out.
    const int bytesPerLine = (width + 7) / 8;
    QByteArray bits(bytesPerLine * height, '\0');
    QByteArray mask(bytesPerLine * height, '\0');
    for (int y = 0; y < height; ++y) {
        const qsizetype fileRow = height - 1 - y; // the file's rows run bottom-up
        const auto* colour = reinterpret_cast<const uchar*>(file.constData() + colourAt + fileRow * rowBytes);
        const auto* clear = reinterpret_cast<const uchar*>(file.constData() + maskAt + fileRow * rowBytes);
        for (int x = 0; x < width; ++x) {
            const uchar bit = 0x80 >> (x % 8);
            if (clear[x / 8] & bit)
                continue;
            mask[y * bytesPerLine + x / 8] = static_cast<char>(mask[y * bytesPerLine + x / 8] | bit);
            const int index = (colour[x / 8] & bit) ? 1 : 0;
            if (index == darkIndex)
                bits[y * bytesPerLine + x / 8] = static_cast<char>(bits[y * bytesPerLine + x / 8] | bit);
        }
    }
    const QSize size(width, height);
    const auto* bitData = reinterpret_cast<const uchar*>(bits.constData());
    const auto* maskData = reinterpret_cast<const uchar*>(mask.constData());
    return QCursor(QBitmap::fromData(size, bitData, QImage::Format_Mono),
                   QBitmap::fromData(size, maskData, QImage::Format_Mono), hotX, hotY);
}

} // namespace

QString ResourcePath(Picture picture)
{
    EnsureRegistered();
    switch (picture) {
    case Picture::Tick:
        return QStringLiteral(":/zdawnik/tick.bmp");
    case Picture::GoodFace:
        return QStringLiteral(":/zdawnik/face-good.png");
    case Picture::PartialFace:
        return QStringLiteral(":/zdawnik/face-partial.png");
    case Picture::WrongFace:
        return QStringLiteral(":/zdawnik/face-wrong.png");
    case Picture::EndPhotograph:
        return QStringLiteral(":/zdawnik/end-photograph.jpg");
    case Picture::ApplicationIcon:
        return QStringLiteral(":/zdawnik/zdawnik.ico");
    case Picture::HandCursor:
        return QStringLiteral(":/zdawnik/hand.cur");
    }
    return {};
}

QList<int> DesktopIconSizes()
{
    return {16, 32, 48, 64, 128, 256};
}

QString DesktopIconResourcePath(int size)
{
    EnsureRegistered();
    return QStringLiteral(":/zdawnik/icons/%1.png").arg(size);
}

QImage Tick()
{
    return Load(Picture::Tick);
}

QImage GoodFace()
{
    return Load(Picture::GoodFace);
}

QImage PartialFace()
{
    return Load(Picture::PartialFace);
}

QImage WrongFace()
{
    return Load(Picture::WrongFace);
}

QImage EndPhotograph()
{
    return Load(Picture::EndPhotograph);
}

namespace {

// An icon drawn at several sizes, one file each, read only when a size is first asked for: a window
// whose icon is never shown never pays for reading and decoding the files (QIcon's own file engine
// opens each file as it is added, to learn its format).
class SizedFilesIconEngine : public QIconEngine
{
public:
    explicit SizedFilesIconEngine(QMap<int, QString> files) : m_files(std::move(files)) {}

    QPixmap pixmap(const QSize& size, QIcon::Mode, QIcon::State) override
    {
        if (m_files.isEmpty() || size.isEmpty())
            return {};
        const int side = best(size);
        QPixmap& drawn = m_drawn[side];
        if (drawn.isNull())
            drawn = QPixmap(m_files.value(side));
        if (drawn.isNull() || drawn.size() == size)
            return drawn;
        return drawn.scaled(size, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    }
    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State state) override
    {
        painter->drawPixmap(rect, pixmap(rect.size(), mode, state));
    }
    QSize actualSize(const QSize& size, QIcon::Mode, QIcon::State) override
    {
        if (m_files.isEmpty())
            return {};
        const int side = std::min({best(size), size.width(), size.height()});
        return {side, side};
    }
    QList<QSize> availableSizes(QIcon::Mode, QIcon::State) override
    {
        QList<QSize> sizes;
        for (const int side : m_files.keys())
            sizes.append(QSize(side, side));
        return sizes;
    }
    QIconEngine* clone() const override { return new SizedFilesIconEngine(m_files); }
    QString key() const override { return QStringLiteral("zdawnik-sized-files"); }

private:
    // The smallest drawn size at least as large as the one asked for, or else the largest.
    int best(const QSize& size) const
    {
        const auto it = m_files.lowerBound(std::max(size.width(), size.height()));
        return it != m_files.end() ? it.key() : m_files.lastKey();
    }

    QMap<int, QString> m_files;
    QMap<int, QPixmap> m_drawn;
};

} // namespace

QIcon ApplicationIcon()
{
    // The 16-colour icon stands for 32 x 32, as on Windows; the other sizes are drawn for them.
    QMap<int, QString> files;
    for (const int size : DesktopIconSizes())
        files.insert(size,
                     size == 32 ? ResourcePath(Picture::ApplicationIcon) : DesktopIconResourcePath(size));
    return QIcon(new SizedFilesIconEngine(std::move(files)));
}

QCursor HandCursor()
{
    QFile file(ResourcePath(Picture::HandCursor));
    if (!file.open(QIODevice::ReadOnly))
        return QCursor(Qt::PointingHandCursor);
    return ReadMonochromeCursor(file.readAll());
}

} // namespace zdawnik::assets
