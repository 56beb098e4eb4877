#include "ui/RecentFileList.h"

#include "platform/PathUtil.h"

namespace sc {
namespace {

constexpr int kMenuWidth = 140;

// Without a font at hand an average menu character is taken as 6 pixels.
int Measure(const RecentFileList::TextWidth& width, std::string_view text) {
    return width ? width(text) : static_cast<int>(text.size()) * 6;
}

std::vector<std::string> Components(std::string_view dir) {
    std::vector<std::string> parts;
    size_t pos = 0;
    while (pos < dir.size()) {
        const size_t slash = dir.find(kPathSeparator, pos);
        const size_t end = slash == std::string_view::npos ? dir.size() : slash;
        if (end > pos) parts.emplace_back(dir.substr(pos, end - pos));
        pos = end + 1;
    }
    return parts;
}

// Shortens a folder with "..." in its middle (keeping its first and as many
// of its last parts as fit) until it fits `available` pixels.
std::string CompactDirectory(const std::string& dir, int available, const RecentFileList::TextWidth& width) {
    if (Measure(width, dir) <= available) return dir;
    const std::vector<std::string> parts = Components(dir);
    const std::string root = IsAbsolutePath(dir) ? std::string(1, kPathSeparator) : std::string();
    const std::string head = parts.empty() ? root : root + parts.front() + kPathSeparator;
    for (const std::string& start : {head, root}) {
        for (size_t keep = parts.size() > 1 ? parts.size() - 1 : 0; keep >= 1; --keep) {
            std::string text = start + "..." + kPathSeparator;
            for (size_t i = parts.size() - keep; i < parts.size(); ++i) text += parts[i] + kPathSeparator;
            if (Measure(width, text) <= available) return text;
        }
    }
    return std::string("...") + kPathSeparator;
}

}  // namespace

void RecentFileList::AddRecentFile(const std::string& path, bool moveToFront) {
    if (path.empty()) return;
    if (!moveToFront && Count() >= kSize) return;
    int found = -1;
    for (int i = 0; i < kSize; ++i)
        if (files_[static_cast<size_t>(i)] == path) found = i;
    if (!moveToFront) {
        if (found < 0) files_[static_cast<size_t>(Count())] = path;
        return;
    }
    const int last = found >= 0 ? found : kSize - 1;
    for (int i = last; i > 0; --i) files_[static_cast<size_t>(i)] = files_[static_cast<size_t>(i - 1)];
    files_[0] = path;
}

int RecentFileList::Count() const {
    int count = 0;
    while (count < kSize && !files_[static_cast<size_t>(count)].empty()) ++count;
    return count;
}

std::string RecentFileList::DisplayName(const std::string& path, bool isOpenFile, const TextWidth& width) {
    std::string dir, name;
    SplitPath(path, dir, name);
    if (isOpenFile || dir.empty()) return name;
    return CompactDirectory(dir, kMenuWidth - Measure(width, name), width) + name;
}

std::vector<std::string> RecentFileList::MenuTexts(const std::string& openFile, const TextWidth& width) const {
    std::vector<std::string> texts;
    for (int i = 0; i < Count(); ++i) {
        const std::string& file = files_[static_cast<size_t>(i)];
        const bool open = i == 0 && !openFile.empty() && file == openFile;
        // Appended, not prepended: GCC 12 at -O3 misreads "&" + text as an overlapping copy.
        std::string text(1, '&');
        text.append(std::to_string(i + 1)).append(1, ' ').append(DisplayName(file, open, width));
        texts.push_back(std::move(text));
    }
    return texts;
}

}  // namespace sc
