// Large previews: a texture of textures.inc rendered at 512 x 512 through the
// bridge and the render host (already running, as in a window that rendered
// before), from the press to the last row, and the same picture loaded from
// the large-picture cache. Also a 256 x 256 render of an edited declaration,
// as the live preview starts it once typing rests, split into where the
// time goes (writing the scene and handing it over, POV-Ray parsing until
// the first row, the rows, the end). Then, with a rest between two measured
// renders as a person takes (the render host starts the next POV-Ray ahead
// meanwhile), the first live picture from the last key (the debounce plus
// that render, at several pane sides, then the whole picture) and
// "&Anzeigen" to the 116 x 116 and the 512 x 512 picture: best and median.
//
// Usage: bench_LargePreviewBench [TEXTURE]   (default: Gold_Metal)
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <sstream>
#include <vector>

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
#include "ui/LivePreviewScheduler.h"

namespace {

using Clock = std::chrono::steady_clock;
constexpr char kTextures[] = "/usr/share/povray-3.7/include/textures.inc";
constexpr int kRuns = 5;
constexpr int kRestMs = 1500;

double Ms(Clock::time_point start) { return std::chrono::duration<double, std::milli>(Clock::now() - start).count(); }

class OneEntryWindow : public sc::RenderRunWindow {
public:
    explicit OneEntryWindow(sc::TextureEntry* entry) : entry_(entry) {}
    sc::TextureEntry* CurrentEntry() override { return entry_; }
    void ShowEntry(sc::TextureEntry*) override {}
    std::vector<sc::TextureEntry*> SelectedEntries() override { return {entry_}; }
    const std::vector<std::string>* DeclarationLines() override { return lines_; }
    void SetLines(const std::vector<std::string>* lines) { lines_ = lines; }
    void RunStateChanged(const sc::RenderRunState& state) override { state_ = state; }
    const sc::RenderRunState& State() const { return state_; }

private:
    sc::TextureEntry* entry_;
    sc::RenderRunState state_;
    const std::vector<std::string>* lines_ = nullptr;
};

// When the first and the last row of a large render arrived.
class RowClock : public sc::PreviewRenderEvents {
public:
    void Reset() { first_.reset(); }
    void RowStored(int /*row*/) override {
        if (!first_) first_ = Clock::now();
        last_ = Clock::now();
    }
    std::optional<Clock::time_point> First() const { return first_; }
    Clock::time_point Last() const { return last_; }

private:
    std::optional<Clock::time_point> first_;
    Clock::time_point last_;
};

double Between(Clock::time_point a, Clock::time_point b) {
    return std::chrono::duration<double, std::milli>(b - a).count();
}

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
    window.SetLines(&lines);
    sc::PreviewRenderSession session(controller, window, sc::bridge::Connection(), installation, settings);
    sc::LargePreviewCache cache;
    session.SetLargeCache(&cache);
    RowClock rows;
    session.SetEvents(&rows);
    int reported = -1;
    const auto hostStart = Clock::now();
    if (!session.Configuration().CheckSettings() || session.Launcher().StartPov(true, [&](int r) { reported = r; }))
        reported = 1;
    while (reported < 0) session.ProcessEvents(5);
    if (reported != 0) {
        std::fprintf(stderr, "the render host did not start\n");
        return 1;
    }
    std::printf("render host started (once per window session)  %8.1f ms\n", Ms(hostStart));

    // The whole time, and for a render where it went: handing over, parsing, rows, end.
    const auto render = [&](const std::vector<std::string>& text, int side, const char* label) {
        rows.Reset();
        const auto start = Clock::now();
        const sc::LargeRenderStart how = session.StartLargeRender(entry, text, side);
        const double handed = Ms(start);
        while (session.LargeRendering()) session.ProcessEvents(2);
        const double total = Ms(start);
        const sc::FrameBuffer& frame = session.LargeFrame();
        std::printf("  %-38s %8.1f ms  (%dx%d, %s)\n", label, total, frame.Width(), frame.Height(),
                    how == sc::LargeRenderStart::FromCache ? "from the cache"
                    : how == sc::LargeRenderStart::Rendering ? "rendered"
                                                             : "FAILED");
        if (rows.First())
            std::printf("    scene written and handed over %6.1f, to the first row %6.1f, rows %6.1f, end %6.1f ms\n",
                        handed, Between(start, *rows.First()) - handed, Between(*rows.First(), rows.Last()),
                        total - Between(start, rows.Last()));
        return total;
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

    // Between two measured clicks (or two edits) the session rests as long as
    // a person looks at the picture: the POV-Ray started ahead for the next
    // render gets to its gate, as it does in use.
    const auto rest = [&] {
        for (const auto begun = Clock::now(); Ms(begun) < kRestMs;) session.ProcessEvents(20);
    };
    const auto median = [](std::vector<double> values) {
        std::sort(values.begin(), values.end());
        return values[values.size() / 2];
    };
    const auto best = [](const std::vector<double>& values) { return *std::min_element(values.begin(), values.end()); };

    // The first live picture after the last key: the debounce, then one render
    // of a text not in the cache at the side the pane's area gives (a draft
    // for a large area), and the whole picture after it.
    const int quiet = sc::LivePreviewScheduler::kQuietMs;
    std::printf("live preview after typing stops (debounce %d ms), %d edits each, %d ms apart; best and median:\n", quiet,
                kRuns, kRestMs);
    int variant = 0;
    for (const int side : {128, 256, 320, 384, 512}) {
        const int first = sc::LivePreviewScheduler::FirstSide(side);
        std::vector<double> firsts, wholes;
        for (int attempt = 0; attempt < kRuns; ++attempt) {
            rest();
            edited.back() = "// edited " + std::to_string(++variant);
            char label[64];
            std::snprintf(label, sizeof label, "edited text at %d x %d", first, first);
            firsts.push_back(quiet + render(edited, first, label));
            if (first == side) continue;
            std::snprintf(label, sizeof label, "then the whole at %d x %d", side, side);
            wholes.push_back(firsts.back() + render(edited, side, label));
        }
        if (first == side) {
            std::printf("  => area %d: the picture %.0f / %.0f ms after the last key\n", side, best(firsts),
                        median(firsts));
            continue;
        }
        std::printf("  => area %d: the %d draft %.0f / %.0f ms after the last key, the whole picture %.0f / %.0f ms\n",
                    side, first, best(firsts), median(firsts), best(wholes), median(wholes));
    }

    // "&Anzeigen" in a pane with room for 512 x 512: the run renders the
    // picture to be taken over, and once it is over the large one follows.
    std::printf("\"&Anzeigen\" until the 116 x 116 and the 512 x 512 picture are shown (a text not in the cache), "
                "%d clicks, %d ms apart:\n",
                kRuns, kRestMs);
    {
        std::vector<double> normals, larges;
        for (int attempt = 0; attempt < kRuns; ++attempt) {
            rest();
            edited.back() = "// pressed " + std::to_string(attempt);
            const auto start = Clock::now();
            session.Step();
            bool ran = false;
            for (const auto begun = Clock::now(); Ms(begun) < 30000;) {
                ran |= window.State().running;
                if (ran && !window.State().running) break;
                session.ProcessEvents(2);
            }
            if (!window.State().pendingPicture) {
                std::fprintf(stderr, "\"&Anzeigen\" brought no picture\n");
                return 1;
            }
            normals.push_back(Ms(start));
            session.StartLargeRender(entry, edited, 512);
            while (session.LargeRendering()) session.ProcessEvents(2);
            larges.push_back(Ms(start));
            std::printf("  116 x 116 picture waits at %7.1f ms, the 512 x 512 one shown at %7.1f ms\n", normals.back(),
                        larges.back());
        }
        std::printf("  => the 116 picture %.0f / %.0f ms, the 512 picture %.0f / %.0f ms (best / median)\n",
                    best(normals), median(normals), best(larges), median(larges));
        // The large picture of the same text again: from the cache.
        std::vector<double> cached;
        for (int attempt = 0; attempt < kRuns; ++attempt) {
            const auto start = Clock::now();
            session.StartLargeRender(entry, edited, 512);
            while (session.LargeRendering()) session.ProcessEvents(2);
            cached.push_back(Ms(start));
        }
        std::printf("  => the 512 picture from the cache %.1f / %.1f ms\n", best(cached), median(cached));
    }

    session.CloseStartedPov();
    while (session.Closing()) session.ProcessEvents(50);
    if (!std::getenv("KEEP")) std::filesystem::remove_all(root);
    return 0;
}
