// Previews per second: every texture of textures.inc rendered at 116 x 116
// through the bridge and the render host (as the render run does it), beside
// a plain shell loop of povray over the same scenes, beside the batch
// renderer with several numbers of renders at once. Every batch must store
// the very bytes the one-at-a-time run stored.
//
// Usage: bench_PreviewRenderBench [JOBS...]   (default: 4 8 16 32, then the default number)
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <optional>
#include <sstream>

#include "bridge/BridgeConnection.h"
#include "library/LibraryController.h"
#include "platform/ProgramFolders.h"
#include "platform/UserInterface.h"
#include "povray/PovInstallation.h"
#include "preview/BatchRenderer.h"
#include "preview/PreviewImage.h"
#include "preview/PreviewRenderSession.h"
#include "scanner/DeclarationReader.h"
#include "scanner/DeclarationText.h"
#include "scanner/TextureSearch.h"

namespace {

using Clock = std::chrono::steady_clock;
constexpr char kIncludeDir[] = "/usr/share/povray-3.7/include";

double Seconds(Clock::time_point start) { return std::chrono::duration<double>(Clock::now() - start).count(); }

// What an entry's stored preview consists of.
struct Stored {
    std::vector<std::uint8_t> jpeg;
    std::uint32_t sums[4];
    float version;
    int attempt;
    bool valid;
    bool faulty;
    bool operator==(const Stored& o) const {
        return jpeg == o.jpeg && std::equal(sums, sums + 4, o.sums) && version == o.version &&
               attempt == o.attempt && valid == o.valid && faulty == o.faulty;
    }
};

std::vector<Stored> StoredOf(const std::vector<sc::TextureEntry*>& entries) {
    std::vector<Stored> all;
    for (const sc::TextureEntry* e : entries) {
        const sc::PreviewImage& p = e->preview;
        all.push_back({p.jpegData, {p.sumRed, p.sumGreen, p.sumBlue, p.sumMiddleRow}, e->previewVersion,
                       e->previewAttempt, e->previewValid, e->previewFaulty});
    }
    return all;
}

// Seconds the batch renderer takes for `entries`, starting from no previews.
double BatchSeconds(sc::LibraryController& controller, const sc::PovInstallation& installation,
                    const std::vector<sc::TextureEntry*>& entries, int jobs) {
    for (sc::TextureEntry* e : entries) {
        sc::Clear(e->preview);
        e->previewVersion = 0;
        e->previewAttempt = 0;
        controller.SetPreviewState(e, sc::PreviewState::Empty);
    }
    sc::BatchRenderSettings settings;
    settings.jobs = jobs;
    sc::BatchRenderer batch(controller, installation, settings);
    const auto start = Clock::now();
    if (!batch.Start(entries)) return -1;
    while (batch.Running()) batch.Poll(1000);
    return Seconds(start);
}

class BenchWindow : public sc::RenderRunWindow {
public:
    BenchWindow(sc::LibraryController& controller, std::vector<sc::TextureEntry*> entries)
        : controller_(controller), entries_(std::move(entries)) {}
    sc::TextureEntry* CurrentEntry() override { return current_; }
    void ShowEntry(sc::TextureEntry* entry) override {
        current_ = entry;
        lines_.clear();
        if (!sc::LoadDeclaration(controller_.Library(), *entry, true)) return;
        std::istringstream in(sc::DeclarationBoxText(*entry));
        for (std::string line; std::getline(in, line);) lines_.push_back(line);
    }
    std::vector<sc::TextureEntry*> SelectedEntries() override { return entries_; }
    const std::vector<std::string>* DeclarationLines() override { return &lines_; }

private:
    sc::LibraryController& controller_;
    std::vector<sc::TextureEntry*> entries_;
    sc::TextureEntry* current_ = nullptr;
    std::vector<std::string> lines_;
};

}  // namespace

int main(int argc, char** argv) {
    std::vector<int> jobCounts;
    for (int i = 1; i < argc; ++i) jobCounts.push_back(std::atoi(argv[i]));
    if (jobCounts.empty()) jobCounts = {4, 8, 16, 32};
    jobCounts.push_back(sc::BatchRenderer::DefaultJobs());

    // A private session: the user's settings, sockets and folders stay untouched.
    char pattern[] = "/tmp/swatchcraft-bench-XXXXXX";
    const std::string root = mkdtemp(pattern);
    for (const char* name : {"XDG_CONFIG_HOME", "XDG_RUNTIME_DIR"}) {
        const std::string dir = root + "/" + name;
        std::filesystem::create_directories(dir);
        setenv(name, dir.c_str(), 1);
    }
    sc::SetProgramDataDirOverride(root + "/data");

    sc::SilentUserInterface ui;
    sc::LibraryController controller(ui);
    controller.SetDeclarations(&sc::ReaderDeclarations());
    sc::SearchOptions options;
    options.kinds = {false, false, true, false, false, false, false};
    options.followIncludes = false;
    options.explicitFiles.push_back(std::string(kIncludeDir) + "/textures.inc");
    sc::TextureSearch search(controller, options);
    search.RunPasses();
    std::vector<sc::TextureEntry*> entries;
    for (sc::TextureEntry* e = controller.Library().NextEntry(nullptr); e; e = controller.Library().NextEntry(e))
        entries.push_back(e);
    if (entries.empty()) {
        std::cerr << "no textures found in textures.inc\n";
        return 1;
    }

    sc::PovInstallation installation(0, "/usr", 3.7f, 0);
    sc::PreviewRenderSettings settings;
    BenchWindow window(controller, entries);
    window.ShowEntry(entries.front());
    sc::PreviewRenderSession session(controller, window, sc::bridge::Connection(), installation, settings);
    // The one-second step after each render is left out: it is a fixed wait, not work.
    session.SetStepDelay(0);
    // The host starts before the clock does: its start is not rendering.
    int reported = -1;
    if (!session.Configuration().CheckSettings() || session.Launcher().StartPov(true, [&](int r) { reported = r; }))
        reported = 1;
    while (reported < 0) session.ProcessEvents(50);
    if (reported != 0) {
        std::cerr << "the render host did not start\n";
        return 1;
    }

    // The scenes of the run, kept for the shell loop.
    const std::string scenes = root + "/scenes";
    std::filesystem::create_directories(scenes);
    const auto start = Clock::now();
    session.StepWithAutoStore();
    const sc::PreviewRenderRun& run = session.Run();
    int copied = 0;
    const sc::TextureEntry* lastCopied = nullptr;
    while (!run.Idle()) {
        if (run.RunEntry() != lastCopied && run.Busy()) {
            lastCopied = run.RunEntry();
            std::filesystem::copy_file(sc::ProgramFolder("preview") + "/TexturePreview.pov",
                                       scenes + "/scene" + std::to_string(copied++) + ".pov",
                                       std::filesystem::copy_options::overwrite_existing);
        }
        session.ProcessEvents(1);
    }
    const double bridgeSeconds = Seconds(start);
    int stored = 0;
    for (const sc::TextureEntry* e : entries) stored += e->previewValid ? 1 : 0;
    session.CloseStartedPov();
    while (session.Closing()) session.ProcessEvents(50);
    const std::vector<Stored> oneAtATime = StoredOf(entries);

    const std::string loop = "cd '" + scenes + "' && for f in scene*.pov; do /usr/bin/povray \"+I$f\" -w116 -h116 "
                             "-a -c +FP +O- -D >/dev/null 2>&1; done";
    const auto shellStart = Clock::now();
    const int status = std::system(loop.c_str());
    const double shellSeconds = Seconds(shellStart);

    std::printf("textures of textures.inc:        %zu (stored %d, scenes %d)\n", entries.size(), stored, copied);
    std::printf("through bridge and render host:  %.2f s, %.2f previews/s (without the 1 s step per render)\n",
                bridgeSeconds, stored / bridgeSeconds);
    std::printf("as the render run paces it:      %.2f previews/s (adding the 1 s step)\n",
                stored / (bridgeSeconds + entries.size()));
    std::printf("plain shell loop of povray:      %.2f s, %.2f scenes/s (status %d)\n", shellSeconds,
                copied / shellSeconds, status);
    for (int jobs : jobCounts) {
        const double seconds = BatchSeconds(controller, installation, entries, jobs);
        // crand draws new grain on every run of POV-Ray: such pictures never repeat, whoever renders them.
        const std::vector<Stored> now = StoredOf(entries);
        std::string differing;
        int random = 0;
        for (size_t i = 0; i < entries.size(); ++i) {
            if (now[i] == oneAtATime[i]) continue;
            if (sc::DeclarationBoxText(*entries[i]).find("crand") != std::string::npos)
                ++random;
            else
                differing += " " + entries[i]->name;
        }
        const std::string verdict = differing.empty() ? "same bytes" : "PICTURES DIFFER:" + differing;
        std::printf("side by side, %2d at once:        %.2f s, %.2f previews/s, %s", jobs, seconds,
                    entries.size() / seconds, verdict.c_str());
        if (random) std::printf(" (%d with crand grain left out)", random);
        std::printf("\n");
    }
    std::filesystem::remove_all(root);
    return 0;
}
