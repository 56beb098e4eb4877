// Searches a generated tree of more than 100 MB of include files (copies of
// POV-Ray's standard include files with renamed identifiers), compares the
// speed with grep reading the same tree, and loads every declaration of the
// standard include files with its dependencies.
#include <sys/resource.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "library/LibraryController.h"
#include "platform/FileSystem.h"
#include "platform/PathUtil.h"
#include "platform/UserInterface.h"
#include "preview/PreviewCodec.h"
#include "scanner/DeclarationReader.h"
#include "scanner/DeclarationScanner.h"
#include "scanner/IncludeIndexer.h"
#include "scanner/TextureSearch.h"
#include "scanner/WordTables.h"

namespace {

using Clock = std::chrono::steady_clock;
const std::string kIncludeDir = "/usr/share/povray-3.7/include";
constexpr std::uintmax_t kTreeBytes = 105ull << 20;

double Seconds(Clock::time_point start) { return std::chrono::duration<double>(Clock::now() - start).count(); }

// Processor time (user and system) of this process or of its waited-for
// children: a fair measure on a machine other work keeps busy.
double CpuSeconds(int who) {
    rusage usage{};
    getrusage(who, &usage);
    auto seconds = [](const timeval& t) { return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_usec) / 1e6; };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

struct Timing {
    double wall = 1e9;
    double cpu = 1e9;
    void Keep(double w, double c) {
        wall = std::min(wall, w);
        cpu = std::min(cpu, c);
    }
};

// Every name the file declares, as the index variant finds them.
std::set<std::string> DeclaredNames(const std::string& path) {
    std::set<std::string> names;
    sc::ScanStream stream(sc::kIndexLineCapacity);
    if (!stream.reader.Open(path)) return names;
    std::string name;
    std::int64_t offset = 0;
    std::int32_t line = 0;
    int kind;
    while ((kind = sc::ScanDeclarations(stream, name, offset, line)) != sc::kScanEnd)
        if (kind != sc::kScanInclude) names.insert(name);
    return names;
}

// The file's text with every declared identifier followed by "_@", to be
// replaced by the copy's number.
std::string Template(const std::string& text, const std::set<std::string>& names) {
    std::string out;
    out.reserve(text.size() + text.size() / 8);
    for (size_t i = 0; i < text.size();) {
        if (!sc::IsIdentifierChar(text[i])) {
            out += text[i++];
            continue;
        }
        size_t j = i;
        while (j < text.size() && sc::IsIdentifierChar(text[j])) ++j;
        const std::string word = text.substr(i, j - i);
        out += word;
        if (names.count(word)) out += "_@";
        i = j;
    }
    return out;
}

std::uintmax_t GenerateTree(const std::string& root) {
    std::vector<std::pair<std::string, std::string>> templates;
    std::set<std::string> names;
    for (const auto& item : sc::ListDirectory(kIncludeDir, "*.inc")) names.merge(DeclaredNames(sc::JoinPath(kIncludeDir, item.name)));
    for (const auto& item : sc::ListDirectory(kIncludeDir, "*.inc")) {
        std::string text;
        if (sc::ReadWholeFile(sc::JoinPath(kIncludeDir, item.name), text)) templates.emplace_back(item.name, Template(text, names));
    }
    std::uintmax_t total = 0;
    for (int copy = 0; total < kTreeBytes; ++copy) {
        const std::string folder = root + "/set" + std::to_string(copy / 20) + "/copy" + std::to_string(copy);
        sc::CreateDirectories(folder);
        const std::string suffix = std::to_string(copy);
        for (const auto& [name, tmpl] : templates) {
            std::string text;
            text.reserve(tmpl.size() + tmpl.size() / 16);
            for (size_t i = 0; i < tmpl.size(); ++i) {
                if (tmpl[i] == '@' && i > 0 && tmpl[i - 1] == '_') text += suffix;
                else text += tmpl[i];
            }
            sc::WriteFileAtomically(folder + "/" + name, text);
            total += text.size();
        }
    }
    return total;
}

// Kinds: "mtp" (the default), "" (recognising only, nothing added) or "all".
int Search(const std::string& root, bool followIncludes, const std::string& kinds, Timing& timing) {
    sc::SilentUserInterface ui;
    sc::LibraryController controller(ui);
    controller.SetDeclarations(&sc::ReaderDeclarations());
    controller.SetPictureCheck(&sc::CodecPictureCheck());
    sc::SearchOptions options;
    options.otherDirectory = root;
    options.subdirectories = true;
    options.followIncludes = followIncludes;
    if (kinds == "all") options.kinds.fill(true);
    else if (kinds.empty()) options.kinds.fill(false);
    const auto start = Clock::now();
    const double cpu = CpuSeconds(RUSAGE_SELF);
    sc::TextureSearch search(controller, options);
    search.RunPasses();
    timing.Keep(Seconds(start), CpuSeconds(RUSAGE_SELF) - cpu);
    return search.Counts().textures;
}

void Grep(const std::string& root, Timing& timing) {
    const auto start = Clock::now();
    const double cpu = CpuSeconds(RUSAGE_CHILDREN);
    const std::string command = "grep -rc '#declare' '" + root + "' > /dev/null";
    if (std::system(command.c_str()) < 0) return;
    timing.Keep(Seconds(start), CpuSeconds(RUSAGE_CHILDREN) - cpu);
}

void LoadStandardDeclarations() {
    sc::TextureLibrary library;
    library.SetLibraryPaths({kIncludeDir});
    const auto start = Clock::now();
    int count = 0;
    size_t dependencies = 0;
    for (int i = 0; i < sc::kStandardIncludeCount; ++i) {
        std::int64_t running = 0;
        sc::IncludeIndex* index = sc::ScanIncludeFile(library, sc::StandardIncludeName(i), running);
        if (!index) continue;
        std::vector<std::pair<std::string, int>> names;
        for (const auto& record : index->records)
            if (!record.IsInclude() && sc::IsLibraryKind(record.kind)) names.emplace_back(record.name, record.kind);
        for (const auto& [name, kind] : names) {
            sc::TextureEntry* entry =
                library.AddEntry(sc::WithTrailingSeparator(kIncludeDir), sc::StandardIncludeName(i), name, kind, {}, 0, nullptr);
            if (sc::LoadDeclaration(library, *entry, true)) ++count;
            dependencies += entry->dependencies.size();
        }
    }
    const double seconds = Seconds(start);
    std::printf("load: %d declarations of the standard include files with %zu dependencies in %.3f s: %.1f us per declaration\n",
                count, dependencies, seconds, count ? seconds * 1e6 / count : 0.0);
}

}  // namespace

// Usage: bench_SearchBench [TREE]   (TREE: a tree an earlier run kept with
// KEEP=1 in the environment, searched again without being generated anew)
int main(int argc, char** argv) {
    const char* base = std::getenv("TMPDIR");
    std::string root = std::string(base && *base ? base : "/tmp") + "/swatchcraft-searchbench-XXXXXX";
    std::uintmax_t bytes = 0;
    if (argc > 1) {
        root = argv[1];
        std::error_code ec;
        for (const auto& item : std::filesystem::recursive_directory_iterator(root, ec))
            if (item.is_regular_file()) bytes += item.file_size();
    } else {
        if (!mkdtemp(root.data())) return 1;
        bytes = GenerateTree(root);
    }
    const double mb = static_cast<double>(bytes) / (1 << 20);
    std::printf("tree: %.1f MB of include files in %s\n", mb, root.c_str());

    Timing warm, grep, plain, scanOnly, all, follow;
    Grep(root, warm);  // fills the page cache
    int textures = 0, followed = 0;
    for (int run = 0; run < 3; ++run) {
        Grep(root, grep);
        textures = Search(root, false, "mtp", plain);
        Search(root, false, "", scanOnly);
    }
    const int allKinds = Search(root, false, "all", all);
    followed = Search(root, true, "mtp", follow);
    std::printf("grep -c '#declare': %.3f s (%.3f s processor), %.1f MB/s (%.1f MB/s processor)\n", grep.wall, grep.cpu,
                mb / grep.wall, mb / grep.cpu);
    std::printf("search (materials, textures, pigments; no includes): %.3f s (%.3f s processor), %.1f MB/s "
                "(%.1f MB/s processor), %d entries\n",
                plain.wall, plain.cpu, mb / plain.wall, mb / plain.cpu, textures);
    std::printf("recognising only (no kind wanted): %.3f s (%.3f s processor), %.1f MB/s (%.1f MB/s processor)\n",
                scanOnly.wall, scanOnly.cpu, mb / scanOnly.wall, mb / scanOnly.cpu);
    std::printf("search for all six kinds (colors resolved as they are added): %.3f s (%.3f s processor), %d entries\n",
                all.wall, all.cpu, allKinds);
    std::printf("search speed relative to grep: %.2f (processor time %.2f)\n", grep.wall / plain.wall,
                grep.cpu / plain.cpu);
    std::printf("search following includes (mtp): %.3f s (%.3f s processor), %.1f MB/s of tree, %d entries\n", follow.wall,
                follow.cpu, mb / follow.wall, followed);
    LoadStandardDeclarations();

    std::error_code ec;
    if (argc == 1 && !std::getenv("KEEP")) std::filesystem::remove_all(root, ec);
    return 0;
}
