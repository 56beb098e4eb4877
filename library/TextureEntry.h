#pragma once
#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "library/DeclarationRecord.h"
#include "library/EntryColor.h"
#include "library/EntryKind.h"
#include "library/PreviewImage.h"

namespace sc {

class SourceFile;

// One declared material, texture, pigment, color, finish or normal.
class TextureEntry {
public:
    TextureEntry(std::string name, int kind);
    virtual ~TextureEntry();
    TextureEntry(const TextureEntry&) = delete;
    TextureEntry& operator=(const TextureEntry&) = delete;

    bool overviewDropped = false;  // left out by the overview writer's validation
    bool missingFiles = false;     // names an image or data file that was not found
    bool acceptedBy31 = true;      // POV-Ray 3.1 accepts the declaration
    bool acceptedBy30 = true;      // POV-Ray 3.0 accepts the declaration
    std::uint32_t previewCrc = 0;  // declaration CRC when the preview was rendered
    bool marked = false;
    std::string name;
    std::string category;
    int kind = 0;
    PreviewImage preview;
    std::uint8_t previewAttempt = 0;
    bool previewFaulty = false;
    bool previewValid = false;
    std::array<std::uint8_t, 10> reserved{};
    SourceFile* sourceFile = nullptr;
    bool textLoaded = false;
    float previewVersion = 0;
    float requiredVersion = 0;
    std::unique_ptr<EntryColor> color;  // only for color entries
    DeclarationRecord* record = nullptr;
    // The declarations this one refers to, deepest first. Records point into
    // a file index or the include cache, except placeholders owned below.
    std::vector<DeclarationRecord*> dependencies;
    TextureEntry* previous = nullptr;
    TextureEntry* next = nullptr;

    // Appends a placeholder dependency (a name without text) owned by the entry.
    DeclarationRecord* AddPlaceholderDependency(const std::string& dependencyName);
    // Drops all dependencies and the placeholders the entry owns.
    void ClearDependencies();
    // Drops only the placeholder dependencies (records without text).
    void ClearPlaceholderDependencies();
    // True for the node that stands for a whole file rather than one
    // declaration: it is the one entry without a name.
    bool IsFileNode() const { return name.empty(); }
    // The directory of the entry's source file (empty when none).
    const std::string& Directory() const;

private:
    std::vector<std::unique_ptr<DeclarationRecord>> placeholders_;
};

}  // namespace sc
