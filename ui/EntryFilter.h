#pragma once
// The filter field of the toolbar: which entries stay shown while the user
// types. Every word of the filter text must occur, without regard to case,
// in the entry's name, its file name or its category.
#include <string>
#include <string_view>
#include <vector>

namespace sc {

class TextureEntry;

class EntryFilter {
public:
    explicit EntryFilter(std::string_view text = {});
    virtual ~EntryFilter() = default;

    // True when the filter lets every entry through.
    bool IsEmpty() const { return words_.empty(); }
    bool Matches(const TextureEntry& entry) const;

private:
    std::vector<std::string> words_;  // lower-case
};

}  // namespace sc
