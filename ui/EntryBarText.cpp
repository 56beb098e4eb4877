#include "ui/EntryBarText.h"

#include "library/EntryKind.h"
#include "library/SourceFile.h"
#include "library/TextureEntry.h"
#include "platform/PathUtil.h"

namespace sc {

const char* KindLetter(int kind) {
    switch (kind) {
    case kKindMaterial: return "M";
    case kKindTexture: return "T";
    case kKindPigment: return "P";
    case kKindColor: return "C";
    case kKindFinish: return "F";
    case kKindNormal: return "N";
    default: return "?";
    }
}

std::vector<std::string> EntryBarParts(const TextureEntry* entry) {
    if (!entry) return {std::string()};
    const SourceFile* file = entry->sourceFile;
    const std::string fileName = file ? file->fileName : std::string();
    const std::string directory = file && !file->directory.empty() ? WithoutTrailingSeparator(file->directory) : "?";
    if (entry->name.empty()) return {fileName, directory};
    return {entry->name, KindLetter(entry->kind), entry->category, fileName, directory};
}

}  // namespace sc
