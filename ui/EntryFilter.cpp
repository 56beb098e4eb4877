#include "ui/EntryFilter.h"

#include <algorithm>

#include "library/SourceFile.h"
#include "library/TextureEntry.h"
#include "platform/PathUtil.h"

namespace sc {
namespace {

char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

// Finds a lower-case word in a text of any case without copying the text:
// the filter runs over every entry on each key press.
bool ContainsLower(std::string_view text, std::string_view word) {
    const auto it = std::search(text.begin(), text.end(), word.begin(), word.end(),
                                [](char t, char w) { return Lower(t) == w; });
    return it != text.end() || word.empty();
}

}  // namespace

EntryFilter::EntryFilter(std::string_view text) {
    size_t i = 0;
    while (i < text.size()) {
        const size_t start = text.find_first_not_of(" \t", i);
        if (start == std::string_view::npos) break;
        size_t end = text.find_first_of(" \t", start);
        if (end == std::string_view::npos) end = text.size();
        words_.push_back(ToLowerAscii(text.substr(start, end - start)));
        i = end;
    }
}

bool EntryFilter::Matches(const TextureEntry& entry) const {
    const std::string_view fileName = entry.sourceFile ? std::string_view(entry.sourceFile->fileName) : "";
    return std::all_of(words_.begin(), words_.end(), [&](const std::string& word) {
        return ContainsLower(entry.name, word) || ContainsLower(fileName, word) || ContainsLower(entry.category, word);
    });
}

}  // namespace sc
