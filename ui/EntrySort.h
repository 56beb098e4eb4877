#pragma once
// The seven orders of the texture list and the picture grid, with every
// tie-break, and the list's sort state (the user's key and direction plus the
// temporary orders that library walks and the duplicate search need).
#include <optional>

namespace sc {

class TextureEntry;

enum SortKey : int {
    kSortByName = 0,
    kSortByType = 1,
    kSortByCategory = 2,
    kSortByVersion = 3,
    kSortByFile = 4,
    kSortByDirectory = 5,
    kSortByPicture = 6,
};
inline constexpr int kSortKeyCount = 7;

// Compares two entries in ascending order of `key`: -1, 0 or 1. Every
// tie-break of the key applies, so only entries alike in all of them give 0.
int CompareEntries(const TextureEntry& a, const TextureEntry& b, int key);

// A key with its direction.
struct SortOrder {
    int key = kSortByName;
    bool ascending = true;
    bool operator==(const SortOrder&) const = default;
};

// Compares in the given order; descending negates the whole comparison.
int CompareEntries(const TextureEntry& a, const TextureEntry& b, SortOrder order);

// What the list is sorted by, as the user chose it.
class ListSortState {
public:
    // A stored key outside 0 to 5 opens sorted by name (the picture order is
    // never restored across runs).
    explicit ListSortState(int storedKey = kSortByName, bool ascending = true);
    virtual ~ListSortState() = default;

    SortOrder UserOrder() const { return user_; }
    // The order the list is in now (a temporary one while it lasts).
    SortOrder CurrentOrder() const { return temporary_.value_or(user_); }

    // A menu item or a header click: the current key flips the direction,
    // another key sorts ascending. False (nothing changes) for a key that is
    // not one of the seven.
    bool Choose(int key);

    enum class Temporary { ByName, ByFile, ByPicture };
    // Starts a temporary order; returns the order to sort by now, or nothing
    // when the list already is in it.
    std::optional<SortOrder> BeginTemporary(Temporary kind);
    // Ends it; returns the user's order to sort by again, or nothing when
    // there is nothing to restore (no temporary sort ran, or the user's own
    // order is the picture order, which is not restored).
    std::optional<SortOrder> EndTemporary();

private:
    SortOrder user_;
    std::optional<SortOrder> temporary_;
    bool resorted_ = false;
};

}  // namespace sc
