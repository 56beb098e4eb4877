#include "ui/EntrySort.h"

#include <cstdint>
#include <string_view>

#include "library/NaturalCompare.h"
#include "library/SourceFile.h"
#include "library/TextureEntry.h"
#include "ui/ColorOrder.h"

namespace sc {
namespace {

constexpr std::uint8_t kNoLibraryPath = 255;

int Natural(std::string_view a, std::string_view b) { return NaturalCompare(a, b, false); }

int ByteWise(std::string_view a, std::string_view b) {
    const int c = a.compare(b);
    return (c > 0) - (c < 0);
}

template <typename T>
int Numbers(T a, T b) { return (a > b) - (a < b); }

const std::string& FileName(const TextureEntry& e) {
    static const std::string none;
    return e.sourceFile ? e.sourceFile->fileName : none;
}

std::uint8_t PathIndex(const TextureEntry& e) { return e.sourceFile ? e.sourceFile->libraryPathIndex : kNoLibraryPath; }

// Files outside every library path first: the index read as a signed byte.
int LibraryIndexNoneFirst(const TextureEntry& a, const TextureEntry& b) {
    return Numbers(static_cast<std::int8_t>(PathIndex(a)), static_cast<std::int8_t>(PathIndex(b)));
}

// Files outside every library path last: none counts as 127.
int LibraryIndexNoneLast(const TextureEntry& a, const TextureEntry& b) {
    const auto index = [](const TextureEntry& e) { return PathIndex(e) == kNoLibraryPath ? 127 : int{PathIndex(e)}; };
    return Numbers(index(a), index(b));
}

int Directory(const TextureEntry& a, const TextureEntry& b) { return Natural(a.Directory(), b.Directory()); }

int Colors(const TextureEntry& a, const TextureEntry& b) {
    if (a.kind != kKindColor || b.kind != kKindColor || !a.color || !b.color) return 0;
    return CompareColors(*a.color, *b.color);
}

// The category "-" (none) after every named one.
int Category(const TextureEntry& a, const TextureEntry& b) {
    const bool noneA = a.category == "-", noneB = b.category == "-";
    if (noneA != noneB) return noneA ? 1 : -1;
    return Natural(a.category, b.category);
}

// Applies the steps in turn until one tells the entries apart.
template <typename... Steps>
int FirstDifference(const TextureEntry& a, const TextureEntry& b, Steps... steps) {
    int result = 0;
    ((result = result != 0 ? result : steps(a, b)), ...);
    return result;
}

int ByName(const TextureEntry& a, const TextureEntry& b) {
    return FirstDifference(
        a, b, [](auto& x, auto& y) { return Natural(x.name, y.name); },
        [](auto& x, auto& y) { return ByteWise(x.name, y.name); },
        [](auto& x, auto& y) { return Natural(FileName(x), FileName(y)); }, LibraryIndexNoneFirst, Directory);
}

int NameOnly(const TextureEntry& a, const TextureEntry& b) { return Natural(a.name, b.name); }
int FileOnly(const TextureEntry& a, const TextureEntry& b) { return Natural(FileName(a), FileName(b)); }

}  // namespace

int CompareEntries(const TextureEntry& a, const TextureEntry& b, int key) {
    switch (key) {
    case kSortByName: return ByName(a, b);
    case kSortByType:
        return FirstDifference(a, b, [](auto& x, auto& y) { return Numbers(x.kind, y.kind); }, Colors, ByName);
    case kSortByCategory:
        return FirstDifference(a, b, Category, Colors, NameOnly, FileOnly, LibraryIndexNoneFirst, Directory);
    case kSortByVersion:
        return FirstDifference(
            a, b, [](auto& x, auto& y) { return Numbers(x.previewVersion, y.previewVersion); },
            LibraryIndexNoneFirst, Directory, NameOnly);
    case kSortByFile: return FirstDifference(a, b, FileOnly, LibraryIndexNoneFirst, Directory, NameOnly);
    case kSortByDirectory: return FirstDifference(a, b, LibraryIndexNoneLast, Directory, FileOnly, NameOnly);
    case kSortByPicture:
        return FirstDifference(a, b, [](auto& x, auto& y) { return Compare(x.preview, y.preview); }, ByName);
    default: return 0;
    }
}

int CompareEntries(const TextureEntry& a, const TextureEntry& b, SortOrder order) {
    const int result = CompareEntries(a, b, order.key);
    return order.ascending ? result : -result;
}

ListSortState::ListSortState(int storedKey, bool ascending) {
    user_.key = storedKey >= kSortByName && storedKey <= kSortByDirectory ? storedKey : kSortByName;
    user_.ascending = ascending;
}

bool ListSortState::Choose(int key) {
    if (key < 0 || key >= kSortKeyCount) return false;
    user_.ascending = key == user_.key ? !user_.ascending : true;
    user_.key = key;
    return true;
}

std::optional<SortOrder> ListSortState::BeginTemporary(Temporary kind) {
    const SortOrder wanted{kind == Temporary::ByName ? kSortByName
                           : kind == Temporary::ByFile ? kSortByFile
                                                       : kSortByPicture,
                           true};
    temporary_ = wanted;
    // The picture order is always made afresh: pictures may have changed.
    resorted_ = kind == Temporary::ByPicture || !(user_ == wanted);
    if (!resorted_) return std::nullopt;
    return wanted;
}

std::optional<SortOrder> ListSortState::EndTemporary() {
    const bool restore = temporary_ && resorted_ && user_.key != kSortByPicture;
    temporary_.reset();
    resorted_ = false;
    if (!restore) return std::nullopt;
    return user_;
}

}  // namespace sc
