// zdawnik-metafile: draws metafiles for the picture loader, one after another, for as long as the
// loader keeps its input open. The metafile libraries are linked here and in no other program.

#include "pictures/metafile/EmfRenderer.h"
#include "pictures/metafile/MetafileService.h"
#include "pictures/metafile/WmfRenderer.h"

int main(int argc, char** argv)
{
    using namespace zdawnik;
    return ServeMetafiles(argc, argv, [](MetafileKind kind, const QByteArray& data) {
        return kind == MetafileKind::Emf ? RenderEmf(data) : RenderWmf(data);
    });
}
