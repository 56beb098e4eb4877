#pragma once
// Large previews kept between runs: a picture rendered at the preview pane's
// size is stored under $XDG_CACHE_HOME/swatchcraft/large, named after what
// made it (the declaration text's CRC, the size and the scene's settings), so
// returning to an entry shows it without rendering. Pictures are stored
// losslessly as binary PPM files; the folder is kept below a size limit by
// dropping the pictures used longest ago.
#include <cstdint>
#include <string>
#include <vector>

namespace sc {

class FrameBuffer;
struct PreviewRenderSettings;

// Everything a large picture depends on.
struct LargePreviewKey {
    std::uint32_t declarationCrc = 0;
    int side = 0;
    int templateIndex = 0;
    bool antialias = false;
    bool small = false;
    double povVersion = 3.7;
    std::uint32_t finishColorCrc = 0;  // what finishes and normals are shown on
    // The written scene (sample scene included) and the files it names:
    // an edited template or picture file makes another key.
    std::uint32_t sceneCrc = 0;

    // The key of a picture rendered from `declarationLines` with the settings.
    static LargePreviewKey For(const std::vector<std::string>& declarationLines, int side,
                               const PreviewRenderSettings& settings, double povVersion);
    // Takes the scene file a picture is rendered from into the key; false
    // when it cannot be read (then no cached picture can be trusted).
    bool TakeScene(const std::string& scenePath);
    // The cache file's name: every field, so that no two keys share a file.
    std::string FileName() const;
};

class LargePreviewCache {
public:
    static constexpr std::uintmax_t kDefaultLimitBytes = 256u << 20;

    // The folder; empty for "large" below CacheDir(). Created on the first store.
    explicit LargePreviewCache(std::string folder = {}, std::uintmax_t limitBytes = kDefaultLimitBytes);

    const std::string& Folder() const { return folder_; }
    // Stores the frame's picture; false when it is empty or cannot be written
    // (a cache that cannot be written only costs a render later).
    bool Store(const LargePreviewKey& key, const FrameBuffer& frame);
    // Loads the picture into `frame` (resized to it); false, the frame
    // untouched, when there is none or the file is damaged.
    bool Load(const LargePreviewKey& key, FrameBuffer& frame) const;
    bool Contains(const LargePreviewKey& key) const;

private:
    std::string PathOf(const LargePreviewKey& key) const;
    void Trim() const;

    std::string folder_;
    std::uintmax_t limitBytes_;
};

}  // namespace sc
