// zdawnik-metafile-faulty: the metafile helper for tests of a hang and of a crash. It draws as the
// real helper does, but a metafile whose bytes begin with "HANG" it never finishes, as a library
// caught in a loop would not, and on one whose bytes begin with "CRASH" it falls as a library
// reading memory it does not own does, every time.

#include "pictures/metafile/EmfRenderer.h"
#include "pictures/metafile/MetafileService.h"
#include "pictures/metafile/WmfRenderer.h"

#include <chrono>
#include <csignal>
#include <thread>

int main(int argc, char** argv)
{
    using namespace zdawnik;
    return ServeMetafiles(argc, argv, [](MetafileKind kind, const QByteArray& data) {
        while (data.startsWith("HANG"))
            std::this_thread::sleep_for(std::chrono::hours(1));
        if (data.startsWith("CRASH"))
            std::raise(SIGSEGV);
        return kind == MetafileKind::Emf ? RenderEmf(data) : RenderWmf(data);
    });
}
