#pragma once
#include <deque>
#include <string>

#include "library/DeclarationRecord.h"
#include "platform/FileSystem.h"

namespace sc {

// A scanned include file in the library's cache. Records live in a deque so
// that entries may keep pointers to them while the index grows.
struct IncludeIndex {
    std::string path;  // the full path the file was found at
    FileTime lastWrite = 0;
    // Indexed for the constant search: top-level #local constants and macro
    // names besides the declarations; a macro record has kind 11.
    bool constants = false;
    std::deque<DeclarationRecord> records;
};

}  // namespace sc
