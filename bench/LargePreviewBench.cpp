// Large previews: a texture of textures.inc rendered at 512 x 512 through the
// bridge and the render host (already running, as in a window that rendered
// before), from the press to the last row, and the same picture loaded from
// the large-picture cache. Also a 256 x 256 render of an edited declaration,
// as the live preview starts it once typing rests.
//
// Usage: bench_LargePreviewBench [TEXTURE]   (default: Gold_Metal)
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <sstream>

#include "bridge/BridgeConnection.h"
#include "library/EntryKind.h"
#include "library/LibraryController.h"
#include "platform/PathUtil.h"
#include "platform/ProgramFolders.h"
#include "platform/UserInterface.h"
#include "povray/PovInstallation.h"
#include "preview/LargePreviewCache.h"
#include "preview/PreviewCodec.h"
#include "preview/PreviewRenderSession.h"
#include "scanner/DeclarationReader.h"
#include "scanner/DeclarationText.h"

namespace {

using Clock = std::chrono::steady_clock;
constexpr char kTextures[] = "/usr/share/povray-3.7/include/textures.inc";

double Ms(Clock::time_point start) { return std::chrono::duration<double, std::milli>(Clock::now() - start).count(); }

class OneEntryWindow : public sc::RenderRunWindow {
public:
    explicit OneEntryWindow(sc::TextureEntry* entry) : entry_(entry) {}
    sc::TextureEntry* CurrentEntry() override { return entry_; }
    void ShowEntry(sc::TextureEntry*) override {}
    std::vector<sc::TextureEntry*> SelectedEntries() override { return {entry_}; }
    const std::vector<std::string>* DeclarationLines() override { return nullptr; }

private:
    sc::TextureEntry* entry_;
};

}  // namespace

int main(int argc, char** argv) {
    const std::string name = argc > 1 ? argv[1] : "Gold_Metal";
    char pattern[] = "/tmp/swatchcraft-largebench-XXXXXX";
    const std::string root = mkdtemp(pattern);
    for (const char* variable : {"XDG_CONFIG_HOME", "XDG_RUNTIME_DIR", "XDG_CACHE_HOME"}) {
        const std::string dir = root + "/" + variable;
        std::filesystem::create_directories(dir);
        setenv(variable, dir.c_str(), 1);
    }
    sc::SetProgramDataDirOverride(root + "/data");

    sc::SilentUserInterface ui;
    sc::LibraryController controller(ui);
    controller.SetDeclarations(&sc::ReaderDeclarations());
    controller.SetPictureCheck(&sc::CodecPictureCheck());
    controller.Library().SetLibraryPaths({sc::DirectoryOf(kTextures)});
    std::string directory, file;
    sc::SplitPath(kTextures, directory, file);
    sc::TextureEntry* entry = controller.Library().AddEntry(directory, file, name, sc::kKindTexture, {}, 0, nullptr);
    std::vector<std::string> lines;
    if (!sc::LoadDeclaration(controller.Library(), *entry, true)) {
        std::fprintf(stderr, "%s not found in textures.inc\n", name.c_str());
        return 1;
    }
    std::istringstream in(sc::DeclarationBoxText(*entry));
    for (std::string line; std::getline(in, line);) lines.push_back(line);

    sc::PovInstallation installation(0, "/usr", 3.7f, 0);
    sc::PreviewRenderSettings settings;
    OneEntryWindow window(entry);
    sc::PreviewRenderSession session(controller, window, sc::bridge::Connection(), installation, settings);
    sc::LargePreviewCache cache;
    session.SetLargeCache(&cache);
    int reported = -1;
    if (!session.Configuration().CheckSettings() || session.Launcher().StartPov(true, [&](int r) { reported = r; }))
        reported = 1;
    while (reported < 0) session.ProcessEvents(50);
    if (reported != 0) {
        std::fprintf(stderr, "the render host did not start\n");
        return 1;
    }

    const auto render = [&](const std::vector<std::string>& text, int side, const char* label) {
        const auto start = Clock::now();
        const sc::LargeRenderStart how = session.StartLargeRender(entry, text, side);
        while (session.LargeRendering()) session.ProcessEvents(5);
        const sc::FrameBuffer& frame = session.LargeFrame();
        std::printf("  %-38s %8.1f ms  (%dx%d, %s)\n", label, Ms(start), frame.Width(), frame.Height(),
                    how == sc::LargeRenderStart::FromCache ? "from the cache"
                    : how == sc::LargeRenderStart::Rendering ? "rendered"
                                                             : "FAILED");
    };
    std::printf("large preview of %s (textures.inc), POV-Ray running, no antialiasing:\n", name.c_str());
    render(lines, 512, "render at 512 x 512");
    render(lines, 512, "the same again, from the cache");
    settings.antialias = true;
    render(lines, 512, "render at 512 x 512, antialiased");
    settings.antialias = false;
    std::vector<std::string> edited = lines;
    edited.push_back("// edited");
    render(edited, 256, "edited text at 256 x 256 (live preview)");

    session.CloseStartedPov();
    while (session.Closing()) session.ProcessEvents(50);
    if (!std::getenv("KEEP")) std::filesystem::remove_all(root);
    return 0;
}
