#pragma once
#include <cstdint>

namespace sc {

// What a declaration declares. Stored as one byte in list files.
enum EntryKind : std::uint8_t {
    kKindPlaceholder = 0,  // a file's anonymous entry; also a standard-include reference record
    kKindMaterial = 1,
    kKindTexture = 2,
    kKindPigment = 3,
    kKindColor = 4,
    kKindFinish = 5,
    kKindNormal = 6,
    kKindOther = 8,     // any other declaration; never added by a search
    kKindInclude = 10,  // an #include statement; only in declaration records
};

// True for the kinds a library entry may have (1 to 6 and 8).
inline bool IsLibraryKind(int kind) { return (kind >= kKindMaterial && kind <= kKindNormal) || kind == kKindOther; }

}  // namespace sc
