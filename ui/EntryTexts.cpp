#include "ui/EntryTexts.h"

#include "library/EntryKind.h"
#include "library/SourceFile.h"
#include "library/TextureEntry.h"
#include "platform/NumberText.h"
#include "platform/PathUtil.h"
#include "platform/Translate.h"
#include "ui/MainCommands.h"

namespace sc {

std::string TypeLetter(int kind) {
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

std::string KindPrefix(int kind) {
    const std::string letter = TypeLetter(kind);
    return (letter == "?" ? "N" : letter) + ": ";
}

std::string VersionText(float previewVersion) {
    if (previewVersion == 0) return "?";
    return FormatFixed(previewVersion, 1);
}

std::string DirectoryText(const std::string& directory) {
    return directory.empty() ? "?" : WithoutTrailingSeparator(directory);
}

std::string FileNodeRest(const SourceFile& file) {
    // Appended piece by piece: GCC 12 at -O3 misreads " " + text (a prepend) as an overlapping copy.
    std::string rest(1, ' ');
    rest.append(WithoutTrailingSeparator(file.directory)).append(" (").append(std::to_string(file.entryCount));
    return rest.append(") ");
}

std::string FileNodeLabel(const SourceFile& file) { return file.fileName + FileNodeRest(file); }

std::string EntryNodeLabel(const TextureEntry& entry) { return KindPrefix(entry.kind) + entry.name; }

std::string CopyItemText(const TextureEntry* current) {
    if (!current || current->IsFileNode()) return Tr(FindCommand(static_cast<int>(Command::CopyTexture))->text);
    // TRANSLATORS: the copy item for the current entry: Copy "Jade".
    return FillIn(Tr("Copy \"%1\""), {current->name});
}

std::string EditItemText(const TextureEntry* current, bool editorTakesLine) {
    if (!current) return Tr(FindCommand(static_cast<int>(Command::EditWithPov))->text);
    const bool byFile = current->IsFileNode() || !editorTakesLine;
    const std::string shown = byFile && current->sourceFile ? current->sourceFile->fileName : current->name;
    // TRANSLATORS: %1 is an entry's or a file's name.
    return FillIn(Tr("View/Edit \"%1\" with POV-Ray"), {shown});
}

std::string OnlySelectedHeading(int lastSelectionKind, bool duplicatesByPicture) {
    switch (lastSelectionKind) {
    case 1: return Tr("-- Failed Previews --");
    case 2: return Tr("-- Empty Previews --");
    case 3: return Tr("-- Skipped Textures --");
    case 4: return Tr("-- Changed Textures --");
    case 5: return Tr("-- Textures Incompatible with 3.0 --");
    case 6: return Tr("-- Textures Incompatible with 3.1 --");
    case 7:
        return duplicatesByPicture ? Tr("-- Duplicates (by Picture) --") : Tr("-- Duplicates (by Name) --");
    default: return Tr("-- Selected Textures --");
    }
}

}  // namespace sc
