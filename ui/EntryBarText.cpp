#include "ui/EntryBarText.h"

#include "library/SourceFile.h"
#include "library/TextureEntry.h"
#include "ui/EntryTexts.h"

namespace sc {

std::vector<std::string> EntryBarParts(const TextureEntry* entry) {
    if (!entry) return {std::string()};
    const SourceFile* file = entry->sourceFile;
    const std::string fileName = file ? file->fileName : std::string();
    const std::string directory = DirectoryText(file ? file->directory : std::string());
    if (entry->IsFileNode()) return {fileName, directory};
    return {entry->name, TypeLetter(entry->kind), entry->category, fileName, directory};
}

}  // namespace sc
