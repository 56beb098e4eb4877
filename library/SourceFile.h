#pragma once
#include <cstdint>
#include <deque>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "library/DeclarationRecord.h"
#include "library/IncludeIndex.h"
#include "library/TextureEntry.h"
#include "platform/FileSystem.h"

namespace sc {

// The chain of a file's entries: the placeholder first, then the named
// entries in insertion order. The list owns its entries.
class EntryList {
public:
    EntryList() = default;
    ~EntryList();
    EntryList(const EntryList&) = delete;
    EntryList& operator=(const EntryList&) = delete;

    TextureEntry* head = nullptr;
    TextureEntry* tail = nullptr;

    // Links an entry at the tail and takes ownership.
    void Append(TextureEntry* entry);
    // Unlinks an entry and gives up ownership (the caller deletes or re-links it).
    void Unlink(TextureEntry* entry);
};

// A file's named entries by name. The keys are the entries' own names, so
// a search that adds thousands of entries neither copies a name nor
// allocates a node for each; an entry's name must not change while it is in.
class EntryNameIndex {
public:
    TextureEntry* Find(std::string_view name) const;
    // Adds `entry` unless an entry of its name is in; returns that one then,
    // else null. With `replace`, `entry` takes the name's place either way.
    TextureEntry* Insert(TextureEntry* entry, bool replace = false);
    // Drops the name's entry, if it is this one.
    void Erase(const TextureEntry* entry);

private:
    struct Slot {
        TextureEntry* entry = nullptr;
        std::size_t hash = 0;
    };
    std::size_t FindSlot(std::string_view name, std::size_t hash) const;
    void Grow();

    std::vector<Slot> slots_;  // a power of two of them, or none
    std::size_t count_ = 0;
};

// The libraryPathIndex of a file that lies in no library path.
inline constexpr std::uint8_t kNoLibraryPath = 255;

// An include file that declares entries of the library.
class SourceFile {
public:
    SourceFile(std::string directory, std::string fileName);
    virtual ~SourceFile();
    SourceFile(const SourceFile&) = delete;
    SourceFile& operator=(const SourceFile&) = delete;

    IncludeIndex* standardInclude = nullptr;  // set when the file is a standard include
    std::uint8_t libraryPathIndex = kNoLibraryPath;
    std::int32_t entryCount = 0;              // named entries
    std::string directory;                    // with trailing separator, or empty
    std::string fileName;
    std::string path;
    EntryList entries;
    SourceFile* newer = nullptr;
    SourceFile* older = nullptr;
    TextureEntry* placeholder = nullptr;
    std::deque<DeclarationRecord> declarations;  // the file's declaration index
    FileTime lastWrite = 0;
    // The files expanded into the index through #include, with their
    // last-write times when they were read: a change in one of them
    // outdates the index as much as a change in the file itself.
    std::vector<std::pair<std::string, FileTime>> includedFiles;

    // Drops the declaration index: placeholder dependencies and record links
    // of the entries, all records, and the standard include link.
    void ClearFileIndex();
    // True when a file expanded into the index changed on disk since.
    bool IncludedFileChanged() const;
    // Finds a named entry by exact name.
    TextureEntry* FindEntry(const std::string& name) const;
    // Links a named entry at the tail and takes ownership.
    void AppendEntry(TextureEntry* entry);
    // A new entry of that name and kind at the tail; nullptr when the file
    // has one of that name already (looked up once, for a search that adds
    // thousands).
    TextureEntry* AppendNewEntry(const std::string& name, int kind);
    // Unlinks a named entry and gives up ownership.
    void TakeEntry(TextureEntry* entry);

private:
    // Large files hold thousands of entries; lookups by name must not walk them.
    EntryNameIndex entriesByName_;
};

}  // namespace sc
