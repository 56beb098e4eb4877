#include "ui/StatusText.h"

#include <string_view>
#include <unordered_set>

#include "library/TextureEntry.h"

namespace sc {
namespace {

struct KindWord {
    EntryKind kind;
    const char* word;
    const char* plural;  // appended for counts other than 1
};

constexpr KindWord kKindWords[] = {
    {kKindMaterial, "Material", "s"}, {kKindTexture, "Textur", "en"}, {kKindPigment, "Pigment", "s"},
    {kKindColor, "Color", "s"},       {kKindFinish, "Finish", "s"},   {kKindNormal, "Normal", "s"},
};

std::string Counted(int count, std::string_view word, std::string_view plural) {
    std::string text = std::to_string(count) + " ";
    text += word;
    if (count != 1) text += plural;
    return text;
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
    std::string text = std::to_string(counts.entries) + (counts.entries == 1 ? " Eintrag" : " Einträge");
    if (counts.entries > 0) {
        std::string kinds;
        for (const KindWord& k : kKindWords) {
            if (counts.perKind[k.kind] == 0) continue;
            if (!kinds.empty()) kinds += ", ";
            kinds += Counted(counts.perKind[k.kind], k.word, k.plural);
        }
        text += " (" + kinds + ") in " + Counted(counts.files, "Datei", "en") + " und " +
                Counted(counts.categories, "Kategorie", "n");
    }
    if (selected != 0) text += ", " + std::to_string(selected) + " ausgewählt";
    return text;
}

}  // namespace sc
