#include "ui/EntryTexts.h"

#include "library/EntryKind.h"
#include "library/SourceFile.h"
#include "library/TextureEntry.h"
#include "platform/NumberText.h"
#include "platform/PathUtil.h"

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
    if (!current || current->IsFileNode()) return "Kopiere Textur\tStrg+C";
    return "Kopiere \"" + current->name + "\"\tStrg+C";
}

std::string EditItemText(const TextureEntry* current, bool editorTakesLine) {
    const char* tail = " ansehen/bearbeiten mit POV-Ray\tStrg+E";
    if (!current) return "Ansehen/bearbeiten mit POV-Ray\tStrg+E";
    const bool byFile = current->IsFileNode() || !editorTakesLine;
    const std::string shown = byFile && current->sourceFile ? current->sourceFile->fileName : current->name;
    return "\"" + shown + "\"" + tail;
}

std::string OnlySelectedHeading(int lastSelectionKind, bool duplicatesByPicture) {
    switch (lastSelectionKind) {
    case 1: return "-- Fehlerhafte Vorschaubilder --";
    case 2: return "-- Leere Vorschaubilder --";
    case 3: return "-- Ausgelassene Texturen --";
    case 4: return "-- Geänderte Texturen --";
    case 5: return "-- 3.0-inkompatible Texturen --";
    case 6: return "-- 3.1-inkompatible Texturen --";
    case 7:
        return duplicatesByPicture ? "-- Duplikate (Vergleich der Bilder) --" : "-- Duplikate (Vergleich der Namen) --";
    default: return "-- Ausgewählte Texturen --";
    }
}

}  // namespace sc
