// Saving and loading a list file of 20,000 entries with 116 x 116 previews,
// and decoding every picture of it. Prints the times of each step.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "library/LibraryController.h"
#include "library/LibraryFile.h"
#include "platform/FileSystem.h"
#include "platform/UserInterface.h"
#include "preview/PreviewCodec.h"
#include "scanner/DeclarationReader.h"

namespace {

using Clock = std::chrono::steady_clock;

double SecondsSince(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

constexpr int kEntries = 20000;
constexpr int kSide = 116;
constexpr int kDistinctPictures = 64;

// Rendered-looking pictures: smooth gradients with some grain, which
// compress like real previews.
std::vector<sc::PreviewImage> MakePictures(double& encodeSeconds) {
    std::vector<sc::PreviewImage> pictures(kDistinctPictures);
    std::mt19937 rng(42);
    std::vector<std::uint8_t> pixels(kSide * kSide * 3);
    const auto start = Clock::now();
    for (int p = 0; p < kDistinctPictures; ++p) {
        for (int y = 0; y < kSide; ++y)
            for (int x = 0; x < kSide; ++x)
                for (int c = 0; c < 3; ++c)
                    pixels[(y * kSide + x) * 3 + c] =
                        static_cast<std::uint8_t>((x * (c + 1) + y * (p % 5 + 1) + p * 9) % 256 / 2 +
                                                  rng() % 64);
        sc::Encode(pictures[p], pixels.data(), pixels.size(), kSide, kSide, p % 2 ? 90 : 60,
                   nullptr);
        sc::ComputeStats(pictures[p], pixels.data(), pixels.size(), kSide, kSide);
    }
    encodeSeconds = SecondsSince(start) / kDistinctPictures;
    return pictures;
}

void Fill(sc::LibraryController& controller, const std::string& directory, int files,
          const std::vector<sc::PreviewImage>& pictures) {
    for (int f = 0; f < files; ++f)
        sc::WriteFileAtomically(directory + "lib" + std::to_string(f) + ".inc", "");
    for (int i = 0; i < kEntries; ++i) {
        const int kind = 1 + i % 6;
        const sc::EntryColor color{0.5f, 0.25f, 1.0f};
        sc::TextureEntry* e = controller.Library().AddEntry(
            directory, "lib" + std::to_string(i % files) + ".inc", "Entry_" + std::to_string(i),
            kind, i % 3 ? "Stein" : "-", 3.1f, &color);
        e->preview = pictures[i % pictures.size()];
        e->previewValid = true;
        e->previewCrc = static_cast<std::uint32_t>(i * 2654435761u);
        controller.RegisterAddedEntry(e);
    }
}

void Run(const char* label, int files, const std::vector<sc::PreviewImage>& pictures,
         const std::string& folder) {
    sc::SilentUserInterface ui;
    const std::string directory = folder + "/inc" + std::to_string(files) + "/";
    sc::CreateDirectories(directory);
    const std::string path = folder + "/bench" + std::to_string(files) + ".swl";

    sc::LibraryController source(ui);
    source.SetDeclarations(&sc::ReaderDeclarations());
    source.SetPictureCheck(&sc::CodecPictureCheck());
    Fill(source, directory, files, pictures);
    auto start = Clock::now();
    const bool saved = sc::SaveLibrary(source, path, "/usr");
    const double save = SecondsSince(start);

    sc::LibraryController loaded(ui);
    loaded.SetDeclarations(&sc::ReaderDeclarations());
    loaded.SetPictureCheck(&sc::CodecPictureCheck());
    std::string povHome;
    float version = 0;
    start = Clock::now();
    const bool ok = sc::LoadLibrary(loaded, path, povHome, version, false);
    const double load = SecondsSince(start);

    start = Clock::now();
    sc::LoadLibrary(loaded, path, povHome, version, true);
    const double addLoad = SecondsSince(start);

    start = Clock::now();
    int decoded = 0;
    sc::DecodedPicture picture;
    const sc::TextureLibrary& library = loaded.Library();
    for (const sc::TextureEntry* e = library.NextEntry(nullptr); e; e = library.NextEntry(e))
        decoded += sc::Decode(e->preview, picture, nullptr) ? 1 : 0;
    const double decode = SecondsSince(start);

    std::printf("%s (%d entries in %d files, %.1f MB file):\n", label, kEntries, files,
                std::filesystem::file_size(path) / 1e6);
    std::printf("  save          %7.3f s%s\n", save, saved ? "" : "  (FAILED)");
    std::printf("  load replace  %7.3f s  (%d entries%s)\n", load, loaded.EntryCount(),
                ok ? "" : ", FAILED");
    std::printf("  load add      %7.3f s  (same file again: nothing new)\n", addLoad);
    std::printf("  decode all    %7.3f s  (%d pictures, %.1f us each)\n", decode, decoded,
                decode / decoded * 1e6);
}

}  // namespace

int main() {
    const std::string folder = std::filesystem::temp_directory_path() / "swatchcraft-bench-XXXXXX";
    std::string templ = folder;
    if (!mkdtemp(templ.data())) return 1;
    double encodeSeconds = 0;
    const auto pictures = MakePictures(encodeSeconds);
    std::size_t bytes = 0;
    for (const auto& p : pictures) bytes += p.jpegSize();
    std::printf("encode 116x116: %.1f us per picture, %zu bytes on average\n", encodeSeconds * 1e6,
                bytes / pictures.size());
    Run("library of 200 files", 200, pictures, templ);
    if (!std::getenv("KEEP")) Run("library of one file", 1, pictures, templ);
    if (!std::getenv("KEEP")) std::filesystem::remove_all(templ); else std::printf("%s\n", templ.c_str());
    return 0;
}
