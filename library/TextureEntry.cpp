#include "library/TextureEntry.h"

#include <algorithm>

#include "library/SourceFile.h"

namespace sc {

TextureEntry::TextureEntry(std::string entryName, int entryKind)
    : name(std::move(entryName)), category(entryKind == kKindPlaceholder ? "" : "-"), kind(entryKind) {
    if (kind == kKindColor) color = std::make_unique<EntryColor>();
}

TextureEntry::~TextureEntry() = default;

DeclarationRecord* TextureEntry::AddPlaceholderDependency(const std::string& dependencyName) {
    auto record = std::make_unique<DeclarationRecord>();
    record->name = dependencyName;
    DeclarationRecord* raw = record.get();
    placeholders_.push_back(std::move(record));
    dependencies.push_back(raw);
    return raw;
}

void TextureEntry::ClearDependencies() {
    dependencies.clear();
    placeholders_.clear();
}

void TextureEntry::ClearPlaceholderDependencies() {
    auto owned = [this](DeclarationRecord* r) {
        return std::any_of(placeholders_.begin(), placeholders_.end(), [r](const auto& p) { return p.get() == r; });
    };
    dependencies.erase(std::remove_if(dependencies.begin(), dependencies.end(), owned), dependencies.end());
    placeholders_.clear();
}

const std::string& TextureEntry::Directory() const {
    static const std::string kNone;
    return sourceFile ? sourceFile->directory : kNone;
}

}  // namespace sc
