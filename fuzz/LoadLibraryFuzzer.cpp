// Loads arbitrary bytes as a list file, in replace mode and then again in add
// mode over the result: damaged input must end the load cleanly, never crash
// or allocate without bound (also when the file is far larger than
// memory), and the counters must match the library.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "library/LibraryController.h"
#include "library/LibraryFile.h"
#include "platform/UserInterface.h"
#include "preview/PreviewCodec.h"
#include "scanner/DeclarationReader.h"

namespace {

constexpr std::uint8_t kSparseTailMarker = 0xA5;
constexpr off_t kSparseTail = off_t{64} << 30;

std::string& InputPath() {
    static std::string path = [] {
        char dir[] = "/tmp/swl-fuzz-XXXXXX";
        if (!mkdtemp(dir)) std::abort();
        return std::string(dir) + "/input.swl";
    }();
    return path;
}

void CheckCounters(sc::LibraryController& controller) {
    int entries = 0;
    const sc::TextureLibrary& library = controller.Library();
    for (const sc::TextureEntry* e = library.NextEntry(nullptr); e; e = library.NextEntry(e)) {
        if (!sc::IsLibraryKind(e->kind) || e->IsFileNode()) std::abort();
        ++entries;
    }
    if (entries != controller.EntryCount()) std::abort();
    if (controller.KindCount(sc::kFilesSlot) != library.FileCount()) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string& path = InputPath();
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) std::abort();
    if (size > 0 && std::fwrite(data, 1, size, f) != size) std::abort();
    std::fclose(f);
    // Inputs ending in the marker byte get a huge sparse tail of zeros, so
    // sizes read from the file meet far more remaining bytes than memory.
    if (size > 0 && data[size - 1] == kSparseTailMarker && truncate(path.c_str(), kSparseTail) != 0) std::abort();

    sc::SilentUserInterface ui;
    sc::LibraryController controller(ui);
    controller.SetDeclarations(&sc::ReaderDeclarations());
    controller.SetPictureCheck(&sc::CodecPictureCheck());
    std::string povHome;
    float version = 0;
    sc::LoadLibrary(controller, path, povHome, version, false);
    if (povHome.size() > sc::kMaxListFilePath) std::abort();
    CheckCounters(controller);
    const int entries = controller.EntryCount();
    sc::LoadLibrary(controller, path, povHome, version, true);
    // Loading the same file again adds nothing.
    if (controller.EntryCount() != entries) std::abort();
    CheckCounters(controller);
    return 0;
}
