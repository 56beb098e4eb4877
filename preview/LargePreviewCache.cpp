#include "preview/LargePreviewCache.h"

#include <sys/stat.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <system_error>

#include "platform/FileSystem.h"
#include "platform/PathUtil.h"
#include "platform/ProgramFolders.h"
#include "preview/FinishColor.h"
#include "preview/FrameBuffer.h"
#include "preview/PovText.h"
#include "preview/PreviewRenderRun.h"
#include "scanner/DeclarationCrc.h"

namespace sc {
namespace {

constexpr int kLargestSide = 4096;

// A PPM's header: "P6", width, height and 255, then one whitespace byte.
bool ReadHeader(const std::string& data, int& width, int& height, std::size_t& start) {
    int maxValue = 0, consumed = 0;
    if (std::sscanf(data.c_str(), "P6 %d %d %d%n", &width, &height, &maxValue, &consumed) != 3) return false;
    if (maxValue != 255 || width <= 0 || height <= 0 || width > kLargestSide || height > kLargestSide) return false;
    start = static_cast<std::size_t>(consumed) + 1;
    return data.size() == start + static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 3;
}

}  // namespace

LargePreviewKey LargePreviewKey::For(const std::vector<std::string>& declarationLines, int side,
                                     const PreviewRenderSettings& settings, double povVersion) {
    std::string text;
    for (const std::string& line : declarationLines) text += WithoutLineEnd(line) + '\n';
    LargePreviewKey key;
    key.declarationCrc = Crc32(text);
    key.side = side;
    key.templateIndex = settings.templateIndex;
    key.antialias = settings.antialias;
    key.small = settings.small;
    key.povVersion = povVersion;
    key.finishColorCrc = Crc32(FinishPigment(settings.finishColor));
    return key;
}

bool LargePreviewKey::TakeScene(const std::string& scenePath) {
    std::string text;
    if (!ReadWholeFile(scenePath, text)) return false;
    // Files the scene names by their full path (pictures beside an include
    // file, fonts): their size and time stand for their contents.
    std::string stamps;
    for (std::size_t open = text.find("\"/"); open != std::string::npos; open = text.find("\"/", open + 1)) {
        const std::size_t close = text.find('"', open + 1);
        if (close == std::string::npos) break;
        struct stat status {};
        if (stat(text.substr(open + 1, close - open - 1).c_str(), &status) == 0 && S_ISREG(status.st_mode))
            stamps += std::to_string(status.st_size) + ':' + std::to_string(status.st_mtim.tv_sec) + '.' +
                      std::to_string(status.st_mtim.tv_nsec) + '\n';
        open = close;
    }
    sceneCrc = Crc32(text + '\0' + stamps);
    return true;
}

std::string LargePreviewKey::FileName() const {
    char name[160];
    std::snprintf(name, sizeof name, "%08x-%d-t%d-a%d-s%d-v%d-f%08x-c%08x.ppm", static_cast<unsigned>(declarationCrc),
                  side, templateIndex + 1, antialias ? 1 : 0, small ? 1 : 0, static_cast<int>(povVersion * 100 + 0.5),
                  static_cast<unsigned>(finishColorCrc), static_cast<unsigned>(sceneCrc));
    return name;
}

LargePreviewCache::LargePreviewCache(std::string folder, std::uintmax_t limitBytes)
    : folder_(folder.empty() ? JoinPath(CacheDir(), "large") : std::move(folder)), limitBytes_(limitBytes) {}

std::string LargePreviewCache::PathOf(const LargePreviewKey& key) const { return JoinPath(folder_, key.FileName()); }

bool LargePreviewCache::Contains(const LargePreviewKey& key) const { return FileExists(PathOf(key)); }

bool LargePreviewCache::Store(const LargePreviewKey& key, const FrameBuffer& frame) {
    if (frame.Empty() || frame.Width() > kLargestSide || frame.Height() > kLargestSide) return false;
    if (!DirectoryExists(folder_) && !CreateDirectories(folder_)) return false;
    const int width = frame.Width(), height = frame.Height();
    std::string data = "P6\n" + std::to_string(width) + " " + std::to_string(height) + "\n255\n";
    const std::size_t start = data.size();
    data.resize(start + static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 3);
    // The frame holds its rows bottom-up in blue, green, red; a PPM top-down in red, green, blue.
    for (int y = 0; y < height; ++y) {
        const std::uint8_t* source = frame.Pixels() + static_cast<std::size_t>(height - 1 - y) * width * 3;
        char* target = data.data() + start + static_cast<std::size_t>(y) * width * 3;
        for (int x = 0; x < width; ++x) {
            target[x * 3] = static_cast<char>(source[x * 3 + 2]);
            target[x * 3 + 1] = static_cast<char>(source[x * 3 + 1]);
            target[x * 3 + 2] = static_cast<char>(source[x * 3]);
        }
    }
    if (!WriteFileAtomically(PathOf(key), data)) return false;
    Trim();
    return true;
}

bool LargePreviewCache::Load(const LargePreviewKey& key, FrameBuffer& frame) const {
    const std::string path = PathOf(key);
    std::string data;
    if (!ReadWholeFile(path, data)) return false;
    int width = 0, height = 0;
    std::size_t start = 0;
    if (!ReadHeader(data, width, height, start)) return false;
    frame.SetSize(width, height);
    const auto* pixels = reinterpret_cast<const std::uint8_t*>(data.data() + start);
    const std::size_t rowBytes = static_cast<std::size_t>(width) * 3;
    for (int y = 0; y < height; ++y) frame.PutRow(y, width, pixels + y * rowBytes, rowBytes);
    // Used now: the last to go when the folder is trimmed.
    std::error_code ignored;
    std::filesystem::last_write_time(path, std::filesystem::file_time_type::clock::now(), ignored);
    return true;
}

void LargePreviewCache::Trim() const {
    namespace fs = std::filesystem;
    struct Item {
        fs::path path;
        fs::file_time_type time;
        std::uintmax_t size;
    };
    std::vector<Item> items;
    std::uintmax_t total = 0;
    std::error_code error;
    for (const fs::directory_entry& e : fs::directory_iterator(folder_, error)) {
        if (e.path().extension() != ".ppm" || !e.is_regular_file(error)) continue;
        const Item item{e.path(), e.last_write_time(error), e.file_size(error)};
        if (error) continue;
        total += item.size;
        items.push_back(item);
    }
    if (total <= limitBytes_) return;
    std::sort(items.begin(), items.end(), [](const Item& a, const Item& b) { return a.time < b.time; });
    for (const Item& item : items) {
        if (total <= limitBytes_) break;
        if (fs::remove(item.path, error)) total -= item.size;
    }
}

}  // namespace sc
