// Opening a list file of 20,000 entries with previews in the picture grid
// and scrolling it from top to bottom under Qt's offscreen platform. Prints
// the time until the first paint shows entries, and the frame times of a
// scroll by scroll-bar lines and by pages (every frame a full repaint), then
// of zooming through the cell sizes and paging at each of them.
#include <QApplication>
#include <QElapsedTimer>
#include <QScrollBar>

#include <time.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "gui/FileTreeModel.h"
#include "gui/FileTreeView.h"
#include "gui/LibraryViewStack.h"
#include "gui/PictureGridView.h"
#include "gui/TextureListModel.h"
#include "library/LibraryController.h"
#include "library/LibraryFile.h"
#include "platform/FileSystem.h"
#include "platform/UserInterface.h"
#include "preview/PreviewCodec.h"
#include "scanner/DeclarationReader.h"
#include "ui/Settings.h"

namespace {

constexpr int kEntries = 20000;
constexpr int kFiles = 200;
constexpr int kSide = 116;
constexpr int kDistinctPictures = 64;

double Ms(const QElapsedTimer& timer) { return timer.nsecsElapsed() / 1e6; }

// Processor time of this thread: on a machine shared with other work the
// wall clock also counts the waits for a processor.
double CpuMs() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
}

// Gradients with grain, which compress and decode like rendered previews.
sc::PreviewImage MakePicture(int seed, std::mt19937& rng) {
    std::vector<std::uint8_t> pixels(kSide * kSide * 3);
    for (int y = 0; y < kSide; ++y)
        for (int x = 0; x < kSide; ++x)
            for (int c = 0; c < 3; ++c)
                pixels[(y * kSide + x) * 3 + c] =
                    static_cast<std::uint8_t>((x * (c + 1) + y * (seed % 5 + 1) + seed * 9) % 256 / 2 + rng() % 64);
    sc::PreviewImage image;
    sc::Encode(image, pixels.data(), pixels.size(), kSide, kSide, 90, nullptr);
    sc::ComputeStats(image, pixels.data(), pixels.size(), kSide, kSide);
    return image;
}

void WriteListFile(const std::string& folder, const std::string& path) {
    sc::SilentUserInterface ui;
    sc::LibraryController controller(ui);
    controller.SetDeclarations(&sc::ReaderDeclarations());
    controller.SetPictureCheck(&sc::CodecPictureCheck());
    std::mt19937 rng(7);
    std::vector<sc::PreviewImage> pictures;
    for (int p = 0; p < kDistinctPictures; ++p) pictures.push_back(MakePicture(p, rng));
    for (int i = 0; i < kEntries; ++i) {
        const sc::EntryColor color{0.5f, 0.25f, 1.0f};
        sc::TextureEntry* e = controller.Library().AddEntry(folder + "/", "lib" + std::to_string(i % kFiles) + ".inc",
                                                            "Entry_with_a_long_name_" + std::to_string(i), 1 + i % 6,
                                                            i % 3 ? "Stein" : "-", 3.1f, &color);
        e->preview = pictures[static_cast<size_t>(i) % pictures.size()];
        e->previewValid = true;
        controller.RegisterAddedEntry(e);
    }
    sc::SaveLibrary(controller, path, "/usr");
}

// Notes when the loader has read the file: it names the load in the status
// text right after reading and before taking the records.
class TimingInterface : public sc::SilentUserInterface {
public:
    explicit TimingInterface(const QElapsedTimer& clock) : clock_(clock) {}
    void SetStatusText(const std::string&) override {
        if (readMs >= 0) return;
        readMs = Ms(clock_);
        readCpuMs = CpuMs();
    }
    double readMs = -1;
    double readCpuMs = 0;

private:
    const QElapsedTimer& clock_;
};

struct Frames {
    int count = 0;
    double total = 0, slowest = 0, totalCpu = 0, slowestCpu = 0;
    void Add(double ms, double cpuMs) {
        ++count;
        total += ms;
        slowest = std::max(slowest, ms);
        totalCpu += cpuMs;
        slowestCpu = std::max(slowestCpu, cpuMs);
    }
};

// Scrolls from the top to the bottom in steps of `step` pixels, repainting each frame.
Frames Scroll(sc::PictureGridView& grid, int step) {
    Frames frames;
    QScrollBar* bar = grid.verticalScrollBar();
    for (int value = 0;; value = std::min(bar->maximum(), value + step)) {
        QElapsedTimer timer;
        timer.start();
        double cpu = CpuMs();
        bar->setValue(value);
        grid.viewport()->repaint();
        frames.Add(Ms(timer), CpuMs() - cpu);
        // The event loop's next turn: pictures the paint left for later.
        if (grid.WaitingCount() > 0) {
            timer.restart();
            cpu = CpuMs();
            QApplication::processEvents();
            frames.Add(Ms(timer), CpuMs() - cpu);
        }
        if (value >= bar->maximum()) break;
    }
    return frames;
}

void Print(const char* label, const Frames& f, int decoded) {
    std::printf("  %-18s %5d frames, mean %6.2f ms (cpu %5.2f), slowest %6.2f ms (cpu %5.2f), %5d decoded\n", label,
                f.count, f.total / f.count, f.totalCpu / f.count, f.slowest, f.slowestCpu, decoded);
}

// Every zoom step from the middle of the library: the frame that shows the
// new size (with the pictures the paint left for later), then pages down
// and back up at that size with fresh pictures.
void ZoomAndScroll(sc::PictureGridView& grid) {
    std::printf("zooming (Strg+Plus / Strg+Minus) and scrolling by pages at each step:\n");
    QScrollBar* bar = grid.verticalScrollBar();
    bar->setValue(bar->maximum() / 2);
    grid.setCurrentIndex(grid.indexAt(QPoint(5, 5)));
    const auto frame = [&](Frames& frames) {
        QElapsedTimer timer;
        timer.start();
        double cpu = CpuMs();
        grid.viewport()->repaint();
        frames.Add(Ms(timer), CpuMs() - cpu);
        while (grid.WaitingCount() > 0) {
            timer.restart();
            cpu = CpuMs();
            QApplication::processEvents();
            frames.Add(Ms(timer), CpuMs() - cpu);
        }
    };
    const int steps[] = {1, 2, 3, 2, 1, 0};
    for (int step : steps) {
        Frames zoom;
        QElapsedTimer timer;
        timer.start();
        const double cpu = CpuMs();
        grid.SetZoomStep(step);
        zoom.Add(Ms(timer), CpuMs() - cpu);
        frame(zoom);
        Frames pages;
        const int before = grid.DecodedCount();
        const int start = bar->value();
        for (int i = 0; i < 40; ++i) {
            bar->setValue(std::min(bar->maximum(), start + i * bar->pageStep()));
            frame(pages);
        }
        for (int i = 40; i-- > 0;) {
            bar->setValue(std::min(bar->maximum(), start + i * bar->pageStep()));
            frame(pages);
        }
        // GRID_SHOT=folder keeps a picture of each step, to look at.
        if (const char* shots = std::getenv("GRID_SHOT"))
            grid.viewport()->grab().save(QString::fromLocal8Bit(shots) + QStringLiteral("/grid-step%1.png").arg(step));
        char label[64];
        std::snprintf(label, sizeof label, "to step %d (%d px):", step, sc::GridCellSize::PictureSide(step));
        Print(label, zoom, 0);
        std::snprintf(label, sizeof label, "  pages, %d cols:", grid.Geometry().Columns());
        Print(label, pages, grid.DecodedCount() - before);
    }
}

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    std::string folder = std::filesystem::temp_directory_path() / "swatchcraft-gridbench-XXXXXX";
    if (!mkdtemp(folder.data())) return 1;
    setenv("XDG_CONFIG_HOME", folder.c_str(), 1);
    const std::string path = folder + "/grid.swl";
    WriteListFile(folder, path);

    QApplication app(argc, argv);
    QElapsedTimer timer;
    TimingInterface ui(timer);
    sc::LibraryController controller(ui);
    controller.SetDeclarations(&sc::ReaderDeclarations());
    controller.SetPictureCheck(&sc::CodecPictureCheck());
    sc::Settings settings(folder + "/swatchcraft.ini", folder);
    settings.SetViewType(sc::kPictureListType);
    sc::LibraryViewStack views(controller, settings);
    controller.SetViews(&views);
    views.resize(800, 600);
    views.show();
    sc::PictureGridView& grid = views.Grid();
    QApplication::processEvents();

    timer.start();
    const double cpuStart = CpuMs();
    std::string povHome;
    float version = 0;
    const bool loaded = sc::LoadLibrary(controller, path, povHome, version, false);
    const double loadMs = Ms(timer);
    // What the event loop does next: lay the grid out and paint it.
    QApplication::processEvents();
    grid.viewport()->repaint();
    const double firstPaintMs = Ms(timer);
    const double firstPaintCpu = CpuMs() - cpuStart;

    std::printf("picture grid, %d entries with %dx%d previews (%.1f MB list file), 800x600 window, %d columns:\n",
                controller.EntryCount(), kSide, kSide, std::filesystem::file_size(path) / 1e6, grid.Geometry().Columns());
    std::printf("  reading the file                   %8.1f ms\n", ui.readMs);
    std::printf("  taking the records, filling views  %8.1f ms%s\n", loadMs - ui.readMs, loaded ? "" : "  (FAILED)");
    std::printf("  first paint after the file is read %8.1f ms  (layout and paint alone: %.1f ms)\n",
                firstPaintMs - ui.readMs, firstPaintMs - loadMs);
    std::printf("  processor time from load to paint  %8.1f ms  (after the file was read: %.1f ms)\n", firstPaintCpu,
                firstPaintCpu + cpuStart - ui.readCpuMs);
    std::printf("  thumbnails decoded for it          %8d\n", grid.DecodedCount());
    while (grid.WaitingCount() > 0) QApplication::processEvents();
    std::printf("  every shown picture in place after %8.1f ms  (%d decoded)\n", Ms(timer) - ui.readMs,
                grid.DecodedCount());
    const auto measure = [&](const char* label, const auto& step) {
        timer.restart();
        const double cpu = CpuMs();
        step();
        std::printf("  %-34s %8.1f ms  (cpu %.1f ms)\n", label, Ms(timer), CpuMs() - cpu);
    };
    measure("refilling the views", [&] { views.Refresh(); });
    measure("  of which the texture list", [&] { views.Model().Refill(); });
    measure("  of which the file list", [&] { static_cast<sc::FileTreeModel*>(views.Tree().model())->Refill(); });
    measure("filter typed (20,000 to 2,000)", [&] { views.SetFilterText(QStringLiteral("_1")); });
    measure("filter emptied", [&] { views.SetFilterText(QString()); });
    QApplication::processEvents();

    // NO_SCROLL leaves out the scrolls through the whole library.
    if (!std::getenv("NO_SCROLL")) {
        const int lineStep = grid.verticalScrollBar()->singleStep(), pageStep = grid.verticalScrollBar()->pageStep();
        int before = grid.DecodedCount();
        const Frames lines = Scroll(grid, lineStep);
        Print("by lines (fresh):", lines, grid.DecodedCount() - before);
        grid.ClearThumbnails();
        before = grid.DecodedCount();
        const Frames pages = Scroll(grid, pageStep);
        Print("by pages (fresh):", pages, grid.DecodedCount() - before);
        before = grid.DecodedCount();
        const Frames again = Scroll(grid, pageStep);
        Print("by pages (cached):", again, grid.DecodedCount() - before);
    }
    ZoomAndScroll(grid);

    controller.SetViews(nullptr);
    if (!std::getenv("KEEP")) std::filesystem::remove_all(folder);
    return 0;
}
