// zdawnik-metafile: draws metafiles for the picture loader, one after another, for as long as the
// loader keeps its input open. The metafile libraries are linked here and in no other program.

#include "pictures/metafile/EmfRenderer.h"
#include "pictures/metafile/MetafileService.h"
#include "pictures/metafile/WmfRenderer.h"

#include <QString>
#include <QtGlobal>

namespace {

QtMessageHandler QtHandler = nullptr;

} // namespace

int main(int argc, char** argv)
{
    using namespace zdawnik;
    // Qt looks into the runtime folder to learn whether it runs in a sandbox, and warns where the
    // system names none (cron, CI, containers); the helper keeps nothing there.
    QtHandler =
        qInstallMessageHandler([](QtMsgType type, const QMessageLogContext& context, const QString& text) {
            if (!text.startsWith(QLatin1String("QStandardPaths: XDG_RUNTIME_DIR not set")))
                QtHandler(type, context, text);
        });
    return ServeMetafiles(argc, argv, [](MetafileKind kind, const QByteArray& data) {
        return kind == MetafileKind::Emf ? RenderEmf(data) : RenderWmf(data);
    });
}
