// zdawnik-metafile-hanging: the metafile helper for tests of a hang. It draws as the real helper
// does, but a metafile whose bytes begin with "HANG" it never finishes, as a library caught in a
// loop would not.

#include "pictures/metafile/EmfRenderer.h"
#include "pictures/metafile/MetafileService.h"
#include "pictures/metafile/WmfRenderer.h"

#include <chrono>
#include <thread>

int main(int argc, char** argv)
{
    using namespace zdawnik;
    return ServeMetafiles(argc, argv, [](MetafileKind kind, const QByteArray& data) {
        while (data.startsWith("HANG"))
            std::this_thread::sleep_for(std::chrono::hours(1));
        return kind == MetafileKind::Emf ? RenderEmf(data) : RenderWmf(data);
    });
}
