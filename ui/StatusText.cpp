#include "ui/StatusText.h"

#include <string_view>
#include <unordered_set>

#include "library/TextureEntry.h"
#include "platform/Translate.h"

namespace sc {
namespace {

// "3 textures": `pattern` from TrN, the count put in.
std::string Counted(const char* pattern, int count) { return FillIn(pattern, {std::to_string(count)}); }

unsigned long Plural(int count) { return static_cast<unsigned long>(count < 0 ? 0 : count); }

std::string KindCount(int kind, int n) {
    switch (kind) {
        case kKindMaterial: return Counted(TrN("%1 material", "%1 materials", Plural(n)), n);
        case kKindTexture: return Counted(TrN("%1 texture", "%1 textures", Plural(n)), n);
        case kKindPigment: return Counted(TrN("%1 pigment", "%1 pigments", Plural(n)), n);
        case kKindColor: return Counted(TrN("%1 color", "%1 colors", Plural(n)), n);
        case kKindFinish: return Counted(TrN("%1 finish", "%1 finishes", Plural(n)), n);
        default: return Counted(TrN("%1 normal", "%1 normals", Plural(n)), n);
    }
}

}  // namespace

EntryCounts CountEntries(const std::vector<TextureEntry*>& entries) {
    EntryCounts counts;
    std::unordered_set<const void*> files;
    std::unordered_set<std::string_view> categories;
    for (const TextureEntry* e : entries) {
        ++counts.entries;
        if (e->kind >= kKindMaterial && e->kind <= kKindNormal) ++counts.perKind[e->kind];
        files.insert(e->sourceFile);
        categories.insert(e->category);
    }
    counts.files = static_cast<int>(files.size());
    counts.categories = static_cast<int>(categories.size());
    return counts;
}

std::string StatusText(const EntryCounts& counts, int selected) {
    std::string text = Counted(TrN("%1 entry", "%1 entries", Plural(counts.entries)), counts.entries);
    if (counts.entries > 0) {
        std::string kinds;
        for (int kind = kKindMaterial; kind <= kKindNormal; ++kind) {
            if (counts.perKind[kind] == 0) continue;
            if (!kinds.empty()) kinds += ", ";
            kinds += KindCount(kind, counts.perKind[kind]);
        }
        // TRANSLATORS: "12 entries (3 materials, 9 textures) in 2 files and 1 category".
        text = FillIn(Tr("%1 (%2) in %3 and %4"),
                      {text, kinds, Counted(TrN("%1 file", "%1 files", Plural(counts.files)), counts.files),
                       Counted(TrN("%1 category", "%1 categories", Plural(counts.categories)), counts.categories)});
    }
    if (selected != 0) text = FillIn(Tr("%1, %2 selected"), {text, std::to_string(selected)});
    return text;
}

}  // namespace sc
