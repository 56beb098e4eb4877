#pragma once
#include <cstdint>
#include <optional>
#include <string>

namespace sc {

// One declaration or #include found by the scanner in a file.
struct DeclarationRecord {
    // The file holding the declaration when it is not the indexed file itself
    // (empty then); the included file's name for an #include record.
    std::string origin;
    std::string name;                 // the declared identifier; empty for #include records
    std::optional<std::string> text;  // the normalised value text, once read; none for placeholders
    std::int64_t offset = 0;          // byte offset just after the identifier in its own file
    std::int64_t position = 0;        // running position across included files; orders declarations
    std::int32_t line = 0;            // 1-based line of the declaration
    int kind = 0;                     // EntryKind, 10 for #include, 0 for a standard include reference
    // Found beyond the entry's own file, its includes and the standard include
    // files (the scene names its file); as a dependency with kind 10, the
    // file `origin` is included whole instead of copying a text.
    bool foundElsewhere = false;

    bool HasOrigin() const { return !origin.empty(); }
    bool IsInclude() const { return kind == 10 || (kind == 0 && name.empty()); }
};

}  // namespace sc
