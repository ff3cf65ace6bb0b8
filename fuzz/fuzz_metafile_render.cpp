// Fuzz target: the bytes of a metafile of one kind (ZDAWNIK_FUZZ_FORMAT) through the helper's own
// renderer, in this process. The loader's targets reach the helper only as a separate process, whose
// code libFuzzer cannot see; here the coverage of our record walk and of the device layer that draws
// for libwmf steers the fuzzer, and the sanitizers watch them. A crash inside libwmf or libemf2svg
// stops this target although the program would only lose the picture: the input then shows what the
// helper contains.

#include "pictures/PictureLimits.h"
#include "pictures/metafile/EmfRenderer.h"
#include "pictures/metafile/WmfRenderer.h"

#include <QByteArray>
#include <QGuiApplication>
#include <QImage>

#include <cstddef>
#include <cstdint>

#include "fuzz/FuzzSupport.h"

using namespace zdawnik;
using zdawnik::fuzz::Require;

namespace {

const QString Format = QStringLiteral(ZDAWNIK_FUZZ_FORMAT);

void DropMessage(QtMsgType, const QMessageLogContext&, const QString&) {}

} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    // As the helper does: drawing needs fonts but never a screen.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static QGuiApplication application(*argc, *argv);
    qInstallMessageHandler(DropMessage);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    const PictureResult result = Format == QLatin1String("emf") ? RenderEmf(bytes) : RenderWmf(bytes);
    if (!result.ok())
        return 0;
    const QSize picture = result.image.size();
    Require(!result.image.isNull(), "a drawn metafile is an image");
    Require(picture.width() <= picture_limits::MaxMetafileSide &&
                picture.height() <= picture_limits::MaxMetafileSide &&
                qint64(picture.width()) * picture.height() <= picture_limits::MaxMetafilePixels,
            "a drawn metafile is within the metafile bounds");
    return 0;
}
