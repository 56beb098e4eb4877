#pragma once
// The five most recently used list files, most recent first, and the texts
// of their menu entries.
#include <array>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace sc {

class RecentFileList {
public:
    static constexpr int kSize = 5;
    static constexpr int kFirstCommandId = 1300;

    virtual ~RecentFileList() = default;

    // Adds a path. With `moveToFront` (a file just opened) it becomes entry 0,
    // moving an equal entry up or pushing the oldest out. Without it (reading
    // the settings at start-up) it is appended unless it is listed already or
    // the list is full. Empty paths are ignored. Paths compare byte-wise.
    void AddRecentFile(const std::string& path, bool moveToFront);

    // Slot `index` (0 = most recent); empty when unused.
    const std::string& File(int index) const { return files_[static_cast<size_t>(index)]; }
    int Count() const;
    void Clear() { files_ = {}; }

    // Measures a text in the menu font (pixels).
    using TextWidth = std::function<int(std::string_view)>;

    // The menu texts "&1 name", ... for the used slots. The first entry shows
    // only the file name when it is the open file; the others show the
    // folder shortened with "..." to fit 140 pixels beside the file name.
    std::vector<std::string> MenuTexts(const std::string& openFile, const TextWidth& width = {}) const;

    // One entry's display name (without the "&n " prefix).
    static std::string DisplayName(const std::string& path, bool isOpenFile, const TextWidth& width = {});

private:
    std::array<std::string, kSize> files_;
};

}  // namespace sc
