#include "scanner/IncludeIndexer.h"

#include <algorithm>
#include <array>

#include "library/IncludeIndex.h"
#include "library/SourceFile.h"
#include "library/TextureLibrary.h"
#include "platform/FileSystem.h"
#include "platform/PathUtil.h"
#include "scanner/DeclarationScanner.h"

namespace sc {
namespace {

const std::array<const char*, kStandardIncludeCount> kStandardIncludes = {
    "colors.inc", "textures.inc", "stones.inc", "woods.inc", "stoneold.inc", "metals.inc", "golds.inc", "glass.inc",
};

std::string FindIn(std::string_view name, std::string_view besideDirectory, const std::vector<std::string>& paths) {
    if (name.empty()) return {};
    if (IsAbsolutePath(name)) return FindFileAnyCase(name);
    if (!besideDirectory.empty()) {
        std::string found = FindFileAnyCase(JoinPath(besideDirectory, name));
        if (!found.empty()) return found;
    }
    for (const auto& path : paths) {
        if (path.empty()) continue;
        std::string found = FindFileAnyCase(JoinPath(path, name));
        if (!found.empty()) return found;
    }
    return {};
}

IncludeIndex* ScanIncludeFileAt(TextureLibrary& library, std::string_view fileName, std::int64_t& running, int depth);

// One result of the index variant with its running position.
struct Find {
    int kind;
    const std::string& name;
    std::int64_t offset;
    std::int64_t position;
    std::int32_t line;

    DeclarationRecord Record() const {
        DeclarationRecord record;
        if (kind != kScanInclude) record.name = name;
        record.offset = offset;
        record.position = position;
        record.line = line;
        record.kind = kind;
        return record;
    }
};

// Runs the index variant over the stream; the running position ends after the file.
template <class Callback>
void ForEachFind(ScanStream& stream, std::int64_t& running, Callback callback) {
    std::string name;
    std::int64_t offset = 0;
    std::int32_t line = 0;
    int kind;
    while ((kind = ScanDeclarations(stream, name, offset, line)) != kScanEnd) {
        callback(Find{kind, name, offset, running + offset, line});
    }
    running += offset;
}

// Scans an opened include file into its cache entry.
void FillIncludeIndex(TextureLibrary& library, IncludeIndex& index, ScanStream& stream, std::int64_t& running,
                      int depth) {
    ForEachFind(stream, running, [&](const Find& find) {
        DeclarationRecord record = find.Record();
        if (find.kind != kScanInclude) {
            record.origin = index.path;
            index.records.push_back(std::move(record));
            return;
        }
        record.origin = find.name;
        index.records.push_back(std::move(record));
        if (depth + 1 >= kMaxIncludeDepth) return;
        std::int64_t nested = find.position;
        ScanIncludeFileAt(library, find.name, nested, depth + 1);
        running = nested - find.offset;
    });
}

IncludeIndex* ScanIncludeFileAt(TextureLibrary& library, std::string_view fileName, std::int64_t& running, int depth) {
    const std::string path = ResolveIncludeFile(fileName, {}, library.LibraryPaths());
    if (path.empty()) return nullptr;
    auto& cache = library.IncludeCache();
    for (const auto& cached : cache)
        if (cached->path == path) return cached.get();
    ScanStream stream(kIndexLineCapacity);
    if (!stream.reader.Open(path)) return nullptr;
    auto index = std::make_unique<IncludeIndex>();
    index->path = path;
    index->lastWrite = LastWriteTime(path);
    IncludeIndex* raw = index.get();
    // Cached before it is scanned, so a file that includes itself again,
    // at any depth, finds it and stops there.
    cache.push_back(std::move(index));
    FillIncludeIndex(library, *raw, stream, running, depth);
    return raw;
}

struct SourceIndexer {
    TextureLibrary& library;
    SourceFile& file;
    std::vector<std::string> chain;  // the files being indexed, outermost first

    void Index(const std::string& path, std::int64_t& running) {
        ScanStream stream(kIndexLineCapacity);
        if (!stream.reader.Open(path)) return;
        chain.push_back(MakeAbsolute(path));
        const std::string directory = DirectoryOf(path);
        const bool ownFile = SameFileName(path, file.path);
        ForEachFind(stream, running, [&](const Find& find) {
            if (find.kind == kScanInclude) {
                Include(find, directory, running);
                return;
            }
            DeclarationRecord record = find.Record();
            if (!ownFile) record.origin = path;
            file.declarations.push_back(std::move(record));
        });
        chain.pop_back();
    }

    void Include(const Find& find, const std::string& directory, std::int64_t& running) {
        const int standard = StandardIncludeIndex(library, directory, find.name);
        if (standard >= 0) {
            DeclarationRecord record = find.Record();
            record.origin = kStandardIncludes[standard];
            record.kind = 0;
            file.declarations.push_back(std::move(record));
            std::int64_t scratch = 0;
            ScanIncludeFile(library, kStandardIncludes[standard], scratch);
            return;
        }
        const std::string resolved = ResolveIncludeFile(find.name, directory, library.LibraryPaths());
        if (resolved.empty() || static_cast<int>(chain.size()) >= kMaxIncludeDepth) return;
        const std::string absolute = MakeAbsolute(resolved);
        if (SameFileName(absolute, MakeAbsolute(file.path))) return;
        if (std::any_of(chain.begin(), chain.end(), [&](const std::string& p) { return SameFileName(p, absolute); }))
            return;
        file.includedFiles.emplace_back(resolved, LastWriteTime(resolved));
        std::int64_t nested = find.position;
        Index(resolved, nested);
        running = nested - find.offset;
    }
};

}  // namespace

const char* StandardIncludeName(int index) {
    return index >= 0 && index < kStandardIncludeCount ? kStandardIncludes[index] : "";
}

std::string ResolveIncludeFile(std::string_view name, std::string_view besideDirectory,
                               const std::vector<std::string>& libraryPaths) {
    return FindIn(name, besideDirectory, libraryPaths);
}

int StandardIncludeIndex(const TextureLibrary& library, std::string_view directory, std::string_view fileName) {
    const std::string name = FileNameOf(fileName);
    const std::string lower = ToLowerAscii(name);
    const auto it = std::find_if(kStandardIncludes.begin(), kStandardIncludes.end(),
                                 [&](const char* s) { return lower == s; });
    if (it == kStandardIncludes.end()) return -1;
    const int index = static_cast<int>(it - kStandardIncludes.begin());
    const std::string local = ResolveIncludeFile(name, {}, {JoinPath(directory, "")});
    if (directory.empty() || local.empty()) return index;
    const std::string found = ResolveIncludeFile(name, {}, library.LibraryPaths());
    if (found.empty()) return -1;
    return SameFileName(MakeAbsolute(found), MakeAbsolute(local)) ? index : -1;
}

IncludeIndex* ScanIncludeFile(TextureLibrary& library, std::string_view fileName, std::int64_t& runningPosition) {
    return ScanIncludeFileAt(library, fileName, runningPosition, 0);
}

void IndexSourceFile(TextureLibrary& library, SourceFile& file, const std::string& path, std::int64_t& runningPosition) {
    const int standard = StandardIncludeIndex(library, file.directory, path);
    if (standard >= 0) {
        std::int64_t start = 0;
        IncludeIndex* index = ScanIncludeFile(library, kStandardIncludes[standard], start);
        if (index && !index->records.empty()) {
            DeclarationRecord record;
            record.origin = kStandardIncludes[standard];
            record.kind = 0;
            file.declarations.push_back(std::move(record));
            file.standardInclude = index;
            return;
        }
    }
    SourceIndexer indexer{library, file, {}};
    indexer.Index(path, runningPosition);
}

}  // namespace sc
