// Fuzz target: the bytes of a picture file of one format (ZDAWNIK_FUZZ_FORMAT) through the picture
// loader, as the window loads a picture. A loaded picture must be an image within the loader's size
// limits, whose pixels are all there.
//
// libpng stops at the first chunk whose checksum is wrong, before it reads the chunk, so nearly
// every mutation of a PNG would end there. The PNG target makes the checksums of the chunks that lie
// whole in the input right before it decodes it: such a file is as much one a bank could hold, and
// the decoder and Qt's handling of what it reads get tried. (Replaying an input through the target
// repairs it the same way.)
//
// Metafiles go to the zdawnik-metafile helper beside this executable, as in the program: the loader
// promises that whatever the helper does costs only the picture, and that is what is tried here. The
// helper's own crashes are no failure of this target. To study them, set ZDAWNIK_FUZZ_HELPER_CRASHES
// to a folder: every input on which the helper crashed, hung or gave no reply is written there, and
// the helper's sanitizer reports land there too.

#include "pictures/PictureLimits.h"
#include "pictures/PictureLoader.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QRect>
#include <QtEndian>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <zlib.h>

#include "fuzz/FuzzSupport.h"

using namespace zdawnik;
using zdawnik::fuzz::Require;

namespace {

const QString Format = QStringLiteral(ZDAWNIK_FUZZ_FORMAT);

// Where pixel sums go, so that the reads that make them are not optimised away.
volatile unsigned PixelSink;

bool IsMetafile()
{
    return Format == QLatin1String("emf") || Format == QLatin1String("wmf");
}

QString HelperCrashFolder()
{
    return qEnvironmentVariable("ZDAWNIK_FUZZ_HELPER_CRASHES");
}

// Qt's readers warn about every damaged file they meet; at thousands of files a second the warnings
// would cost more than the decoding, and bury libFuzzer's own report.
void DropMessage(QtMsgType, const QMessageLogContext&, const QString&) {}

void RepairPngChecksums(QByteArray& data)
{
    qsizetype chunk = 8; // after the signature
    while (data.size() - chunk >= 12) {
        const quint32 length = qFromBigEndian<quint32>(data.constData() + chunk);
        if (length > quint64(data.size() - chunk - 12))
            break;
        const auto* typeAndData = reinterpret_cast<const Bytef*>(data.constData() + chunk + 4);
        const quint32 checksum = quint32(crc32(0, typeAndData, uInt(length) + 4));
        qToBigEndian(checksum, data.data() + chunk + 8 + length);
        chunk += 12 + qsizetype(length);
    }
}

// The sanitizer settings the helper inherits. Its leaks are not looked for: the metafile libraries
// keep what they allocate for the life of the process, which the loader ends when it has to. When its
// failures are kept, a sanitizer report aborts it, so that the loader sees a crash and the input is
// kept; otherwise the report ends it with an error status, which the loader contains all the same.
void SetHelperEnvironment()
{
    QByteArray asan = "detect_leaks=0";
    QByteArray ubsan = "print_stacktrace=1:halt_on_error=1";
    const QString folder = HelperCrashFolder();
    if (!folder.isEmpty()) {
        QDir().mkpath(folder);
        const QByteArray log = QFile::encodeName(QDir(folder).absoluteFilePath(QStringLiteral("helper")));
        asan += ":abort_on_error=1:log_path=" + log;
        ubsan += ":abort_on_error=1:log_path=" + log;
    }
    qputenv("ASAN_OPTIONS", asan);
    qputenv("UBSAN_OPTIONS", ubsan);
}

// Keeps an input the helper could not cope with, under the hash of its bytes.
void KeepHelperFailure(const QByteArray& data, const QString& error)
{
    const QString folder = HelperCrashFolder();
    if (folder.isEmpty())
        return;
    if (!error.contains(QLatin1String("crashed")) && !error.contains(QLatin1String("gave no picture")) &&
        !error.contains(QLatin1String("too long")))
        return;
    const QString name =
        QString::fromLatin1(QCryptographicHash::hash(data, QCryptographicHash::Sha1).toHex());
    QFile file(QDir(folder).filePath(name + QLatin1Char('.') + Format));
    if (file.open(QIODevice::WriteOnly))
        file.write(data);
}

bool WithinLimits(QSize size)
{
    if (!IsMetafile())
        return picture_limits::IsSaneSize(size);
    return size.width() > 0 && size.height() > 0 && size.width() <= picture_limits::MaxMetafileSide &&
           size.height() <= picture_limits::MaxMetafileSide &&
           qint64(size.width()) * size.height() <= picture_limits::MaxMetafilePixels;
}

// Reads the first and the last row of pixels, so that an image with less memory than its size needs
// shows up under the sanitizer.
void ReadCorners(const QImage& image)
{
    const qsizetype row = image.bytesPerLine();
    Require(row >= qsizetype(image.width()) * image.depth() / 8, "a row holds the image's width");
    unsigned sum = 0;
    for (const int y : {0, image.height() - 1}) {
        const uchar* line = image.constScanLine(y);
        for (qsizetype x = 0; x < row; ++x)
            sum += line[x];
    }
    PixelSink = sum;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    // The program has its application object; plugins and the helper's path are found through it.
    static QCoreApplication application(*argc, *argv);
    qInstallMessageHandler(DropMessage);
    if (IsMetafile())
        SetHelperEnvironment();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    if (Format == QLatin1String("png"))
        RepairPngChecksums(bytes);
    // One loader for the run, as in the program: one helper draws every metafile input.
    static PictureLoader* const loader = new PictureLoader();
    // Half the inputs are shown in an answer's place, so that decoding a part is tried as well.
    const QSize place = size % 2 ? QSize(441, 70) : QSize();
    const PictureResult result = loader->Decode(bytes, Format, place);
    if (!result.ok()) {
        if (IsMetafile())
            KeepHelperFailure(bytes, result.error);
        return 0;
    }
    Require(!result.image.isNull(), "a loaded picture is an image");
    Require(WithinLimits(result.naturalSize), "a loaded picture is within the size limits");
    Require(QRect(QPoint(0, 0), result.naturalSize).contains(QRect(QPoint(0, 0), result.image.size())),
            "what is kept of a picture lies within it");
    Require(place.isEmpty() ||
                (result.image.width() <= place.width() && result.image.height() <= place.height()),
            "no more is kept than the place shows");
    Require(result.bitmap == (Format == QLatin1String("bmp")), "only a BMP is marked a bitmap");
    ReadCorners(result.image);
    return 0;
}
