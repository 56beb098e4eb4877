// Previews per second: every texture of textures.inc rendered at 116 x 116
// one at a time through the bridge and the render host (as the render run
// does it), beside plain povray processes over the same scenes (16 side by
// side with xargs, one per scene), beside the batch renderer with
// one preview per process and with runs of several previews per process,
// for several numbers of processes at once. Every batch must store the very
// bytes the one-at-a-time run stored. The machine may be busy with other
// work: compare the figures of one run with each other, not across runs.
//
// Usage: bench_PreviewRenderBench [--rounds=N] [JOBSxFRAMES...]
//   (default: 3 rounds of 16x1 8x2 16x2 16x4 32x2, then the defaults; a run
//   is never longer than its share of the 54 textures, 4 with 16 processes)
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <optional>
#include <sys/resource.h>
#include <unistd.h>
#include <sstream>

#include "bridge/BridgeConnection.h"
#include "library/LibraryController.h"
#include "library/PreviewImage.h"
#include "platform/ProgramFolders.h"
#include "platform/UserInterface.h"
#include "povray/PovInstallation.h"
#include "povray/RenderScratch.h"
#include "preview/BatchRenderer.h"
#include "preview/PreviewCodec.h"
#include "preview/PreviewRenderSession.h"
#include "scanner/DeclarationReader.h"
#include "scanner/DeclarationText.h"
#include "scanner/TextureSearch.h"

namespace {

using Clock = std::chrono::steady_clock;
constexpr char kIncludeDir[] = "/usr/share/povray-3.7/include";

double Seconds(Clock::time_point start) { return std::chrono::duration<double>(Clock::now() - start).count(); }

// Processor seconds used so far by this program (`who` RUSAGE_SELF) or by its finished children.
double CpuSeconds(int who) {
    rusage usage{};
    getrusage(who, &usage);
    auto seconds = [](const timeval& t) { return t.tv_sec + t.tv_usec / 1e6; };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

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

struct Layout {
    int jobs;
    int frames;
};

// Seconds the batch renderer takes for `entries`, starting from no previews.
double BatchSeconds(sc::LibraryController& controller, const sc::PovInstallation& installation,
                    const std::vector<sc::TextureEntry*>& entries, Layout layout) {
    for (sc::TextureEntry* e : entries) {
        sc::Clear(e->preview);
        e->previewVersion = 0;
        e->previewAttempt = 0;
        controller.SetPreviewState(e, sc::PreviewState::Empty);
    }
    sc::BatchRenderSettings settings;
    settings.jobs = layout.jobs;
    settings.framesPerProcess = layout.frames;
    sc::BatchRenderer batch(controller, installation, settings);
    const auto start = Clock::now();
    if (!batch.Start(entries)) return -1;
    while (batch.Running()) batch.Poll(1000);
    return Seconds(start);
}

// One way of rendering over several rounds.
struct Measured {
    std::vector<double> seconds;
    double cpu = 0;  // processor seconds of one round, POV-Ray's and this program's
    std::string verdict = "same bytes";
    int random = 0;
};

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

double Best(const std::vector<double>& values) { return *std::min_element(values.begin(), values.end()); }

// Notes in `m` which stored pictures differ from the one-at-a-time run's.
void Compare(const std::vector<sc::TextureEntry*>& entries, const std::vector<Stored>& oneAtATime, Measured& m) {
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
    m.random = std::max(m.random, random);
    if (!differing.empty()) m.verdict = "PICTURES DIFFER:" + differing;
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
    std::vector<Layout> layouts;
    int rounds = 3;
    for (int i = 1; i < argc; ++i) {
        if (std::sscanf(argv[i], "--rounds=%d", &rounds) == 1 && rounds > 0) continue;
        Layout layout{0, 0};
        if (std::sscanf(argv[i], "%dx%d", &layout.jobs, &layout.frames) != 2 || layout.jobs < 1 || layout.frames < 1) {
            std::cerr << "usage: bench_PreviewRenderBench [--rounds=N] [JOBSxFRAMES...]\n";
            return 1;
        }
        layouts.push_back(layout);
    }
    if (layouts.empty()) layouts = {{16, 1}, {8, 2}, {16, 2}, {16, 4}, {32, 2}};
    layouts.push_back({sc::BatchRenderer::DefaultJobs(), sc::BatchRenderer::DefaultFramesPerProcess()});

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
    controller.SetPictureCheck(&sc::CodecPictureCheck());
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
    // The host starts before the clock does: its start is not rendering.
    int reported = -1;
    if (!session.Configuration().CheckSettings() || session.Launcher().StartPov(true, [&](int r) { reported = r; }))
        reported = 1;
    while (reported < 0) session.ProcessEvents(50);
    if (reported != 0) {
        std::cerr << "the render host did not start\n";
        return 1;
    }

    // The scenes of the run, kept for the plain povray processes.
    const std::string scenes = root + "/scenes";
    std::filesystem::create_directories(scenes);
    const std::string scratch = sc::kRenderScratchPrefix + std::to_string(getpid()) + "-";
    const auto start = Clock::now();
    session.StepWithAutoStore();
    const sc::PreviewRenderRun& run = session.Run();
    int copied = 0;
    const sc::TextureEntry* lastCopied = nullptr;
    while (!run.Idle()) {
        if (run.RunEntry() != lastCopied && run.Busy()) {
            lastCopied = run.RunEntry();
            // The run writes each scene into this process's scratch folder.
            for (const auto& item : std::filesystem::directory_iterator(sc::ProgramFolder("preview")))
                if (item.path().filename().string().rfind(scratch, 0) == 0 &&
                    std::filesystem::exists(item.path() / "TexturePreview.pov"))
                    std::filesystem::copy_file(item.path() / "TexturePreview.pov",
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

    // The same scenes, one plain povray after the other, right after: the
    // floor the one-at-a-time run is measured against.
    const auto sequentialStart = Clock::now();
    const std::string sequential = "cd '" + scenes + "' && ls scene*.pov | xargs -P1 -I{} /usr/bin/povray " +
                                   "-w116 -h116 -a -c +FP +O- -D +I{} >/dev/null 2>&1";
    const bool sequentialRan = std::system(sequential.c_str()) == 0;
    const double sequentialSeconds = Seconds(sequentialStart);

    std::printf("textures of textures.inc:           %zu (stored %d, scenes %d)\n", entries.size(), stored, copied);
    std::printf("one at a time, bridge and host:     %6.2f s, %6.2f previews/s, %.3f s per preview\n", bridgeSeconds,
                stored / bridgeSeconds, bridgeSeconds / std::max(1, stored));
    std::printf("plain povray, one after the other:  %6.2f s, %6.2f previews/s, %.3f s per preview%s\n",
                sequentialSeconds, copied / sequentialSeconds, sequentialSeconds / std::max(1, copied),
                sequentialRan ? "" : " (POV-RAY FAILED)");
    std::printf("one at a time relative to plain povray one after the other: %.2f of its time\n",
                bridgeSeconds / std::max(1, stored) / (sequentialSeconds / std::max(1, copied)));

    // Each round renders everything once in every way, so that a burst of
    // other work on the machine hits one round, not one way.
    const std::string xargs = "cd '" + scenes + "' && ls scene*.pov | xargs -P16 -I{} /usr/bin/povray " +
                              "-w116 -h116 -a -c +FP +O- -D +I{} >/dev/null 2>&1";
    Measured plain;
    std::vector<Measured> batches(layouts.size());
    for (int round = 0; round < rounds; ++round) {
        const double childrenBefore = CpuSeconds(RUSAGE_CHILDREN);
        const auto xargsStart = Clock::now();
        if (std::system(xargs.c_str()) != 0) plain.verdict = "POV-RAY FAILED";
        plain.seconds.push_back(Seconds(xargsStart));
        plain.cpu += (CpuSeconds(RUSAGE_CHILDREN) - childrenBefore) / rounds;
        for (size_t i = 0; i < layouts.size(); ++i) {
            const double ownBefore = CpuSeconds(RUSAGE_SELF);
            const double povBefore = CpuSeconds(RUSAGE_CHILDREN);
            batches[i].seconds.push_back(BatchSeconds(controller, installation, entries, layouts[i]));
            batches[i].cpu += (CpuSeconds(RUSAGE_CHILDREN) - povBefore + CpuSeconds(RUSAGE_SELF) - ownBefore) / rounds;
            Compare(entries, oneAtATime, batches[i]);
        }
    }
    const double xargsMedian = Median(plain.seconds);
    std::printf("%d rounds; median (best) seconds, previews/s at the median, processor seconds per round:\n", rounds);
    std::printf("plain povray, xargs -P16, 1 each:   %6.2f (%6.2f) s, %6.2f previews/s, %5.2f processor s, %s\n",
                xargsMedian, Best(plain.seconds), copied / xargsMedian, plain.cpu, plain.verdict.c_str());
    for (size_t i = 0; i < layouts.size(); ++i) {
        const Measured& m = batches[i];
        const double median = Median(m.seconds);
        std::printf("batch, %2d processes x %2d previews: %6.2f (%6.2f) s, %6.2f previews/s, %5.2f processor s, "
                    "%4.2fx xargs, %s",
                    layouts[i].jobs, layouts[i].frames, median, Best(m.seconds), entries.size() / median, m.cpu,
                    xargsMedian / median, m.verdict.c_str());
        // crand draws new grain on every run of POV-Ray: such pictures never repeat, whoever renders them.
        if (m.random) std::printf(" (%d with crand grain left out)", m.random);
        std::printf("\n");
    }
    std::filesystem::remove_all(root);
    return 0;
}
