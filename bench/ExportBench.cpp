// Sharing the standard include folder's library: the web page (index.html
// with every declaration, one PNG per preview) and the contact sheet, both
// timed on a list file with a rendered preview for every entry.
//
// Usage: bench_ExportBench [LIST.swl]
// Without a list file, the standard include folder is scanned and rendered
// once (swatchcraft-cli render --jobs 16, several minutes) into
// /tmp/swatchcraft-export-bench/standard.swl, which later runs reuse.
#include <chrono>
#include <ctime>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "export/ContactSheet.h"
#include "export/LibraryWebExport.h"
#include "library/LibraryController.h"
#include "library/LibraryFile.h"
#include "platform/FileSystem.h"
#include "platform/UserInterface.h"
#include "preview/PreviewCodec.h"
#include "scanner/DeclarationReader.h"
#include "ui/StatusText.h"

namespace {

using Clock = std::chrono::steady_clock;
constexpr char kIncludeDir[] = "/usr/share/povray-3.7/include";
constexpr char kCacheDir[] = "/tmp/swatchcraft-export-bench";

double Seconds(Clock::time_point start) { return std::chrono::duration<double>(Clock::now() - start).count(); }

// The process's processor time: on a machine shared with other work the wall
// time says more about the others than about the export.
double CpuSeconds() { return static_cast<double>(std::clock()) / CLOCKS_PER_SEC; }

std::string ProgramDir() { return std::filesystem::canonical("/proc/self/exe").parent_path().string(); }

// The cached list file, made on first use.
std::string StandardList() {
    const std::string list = std::string(kCacheDir) + "/standard.swl";
    if (sc::FileExists(list)) return list;
    std::filesystem::create_directories(kCacheDir);
    const std::string cli = ProgramDir() + "/swatchcraft-cli";
    const std::string unfinished = std::string(kCacheDir) + "/unfinished.swl";
    const std::string scan = cli + " scan --kinds mtpcfn --library-path " + kIncludeDir + " -o " + unfinished + " " +
                             kIncludeDir + " >/dev/null";
    const std::string render = cli + " render --library-path " + kIncludeDir + " " + unfinished + " --all --jobs 16";
    std::printf("rendering the standard include folder once into %s ...\n", list.c_str());
    std::fflush(stdout);
    if (std::system(scan.c_str()) != 0 || std::system(render.c_str()) != 0) return {};
    std::filesystem::rename(unfinished, list);
    return list;
}

}  // namespace

int main(int argc, char** argv) {
    const std::string list = argc > 1 ? argv[1] : StandardList();
    if (list.empty()) {
        std::fprintf(stderr, "no list file\n");
        return 1;
    }
    sc::SilentUserInterface ui;
    sc::LibraryController controller(ui);
    controller.SetDeclarations(&sc::ReaderDeclarations());
    controller.SetPictureCheck(&sc::CodecPictureCheck());
    controller.Library().SetLibraryPaths({kIncludeDir});
    float version = 0;
    std::string povHome;
    auto start = Clock::now();
    if (!sc::LoadLibrary(controller, list, povHome, version, false)) return 1;
    const double loadSeconds = Seconds(start);
    std::vector<sc::TextureEntry*> entries;
    int previews = 0;
    for (sc::TextureEntry* e = controller.Library().NextEntry(nullptr); e; e = controller.Library().NextEntry(e)) {
        entries.push_back(e);
        if (!e->preview.IsEmpty()) ++previews;
    }
    std::printf("%zu entries, %d with preview; list loaded in %.3f s\n", entries.size(), previews, loadSeconds);

    // The parts every export repeats per entry: decoding the stored JPEG and
    // encoding the PNG.
    std::vector<sc::RgbPicture> pictures(entries.size());
    double cpu = CpuSeconds();
    for (std::size_t i = 0; i < entries.size(); ++i) sc::DecodeUprightPreview(entries[i]->preview, pictures[i]);
    const double decodeCpu = CpuSeconds() - cpu;
    cpu = CpuSeconds();
    std::size_t pngBytes = 0;
    for (const sc::RgbPicture& picture : pictures) pngBytes += sc::EncodePng(picture).size();
    std::printf("per entry: decoding %.2f ms, PNG encoding %.2f ms (%zu bytes on average), processor time\n",
                decodeCpu * 1000 / static_cast<double>(entries.size()),
                (CpuSeconds() - cpu) * 1000 / static_cast<double>(entries.size()), pngBytes / entries.size());

    const std::string out = std::string(kCacheDir) + "/page";
    std::filesystem::remove_all(out);
    start = Clock::now();
    cpu = CpuSeconds();
    sc::LibraryWebExport page(controller.Library(),
                              {"Standard-Includes", sc::StatusText(sc::CountEntries(entries), 0)});
    const sc::WebExportResult result = page.Write(entries, out);
    const double pageSeconds = Seconds(start), pageCpu = CpuSeconds() - cpu;
    if (!result.error.empty()) std::fprintf(stderr, "%s\n", result.error.c_str());
    std::printf("web page: %.3f s, processor %.3f s (%d entries, %d pictures, %d without text; "
                "index.html %ju bytes)\n",
                pageSeconds, pageCpu, result.entries, result.pictures, result.withoutText,
                static_cast<std::uintmax_t>(std::filesystem::file_size(out + "/index.html")));
    // A second export: declarations are already read, so this is the writing alone.
    start = Clock::now();
    cpu = CpuSeconds();
    page.Write(entries, out);
    std::printf("web page again (declarations read): %.3f s, processor %.3f s\n", Seconds(start), CpuSeconds() - cpu);

    start = Clock::now();
    cpu = CpuSeconds();
    const sc::ContactSheet layout({entries.begin(), entries.end()}, 0);
    sc::RgbPicture sheet;
    std::string error;
    layout.Compose(sheet, error);
    const double composeSeconds = Seconds(start);
    const std::string sheetFile = std::string(kCacheDir) + "/sheet.png";
    sc::WritePictureFile(sheetFile, sheet);
    const double sheetSeconds = Seconds(start), sheetCpu = CpuSeconds() - cpu;
    std::printf("contact sheet: %.3f s, processor %.3f s (%d x %d pixels, composed in %.3f s, %ju bytes PNG)\n",
                sheetSeconds, sheetCpu, sheet.width, sheet.height, composeSeconds,
                static_cast<std::uintmax_t>(std::filesystem::file_size(sheetFile)));
    return 0;
}
