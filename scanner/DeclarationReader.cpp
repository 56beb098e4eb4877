#include "scanner/DeclarationReader.h"

#include <algorithm>
#include <limits>
#include <set>
#include <string>
#include <vector>

#include "library/DeclarationSource.h"
#include "library/IncludeIndex.h"
#include "library/SourceFile.h"
#include "library/TextureLibrary.h"
#include "platform/FileSystem.h"
#include "platform/PathUtil.h"
#include "scanner/ColorEvaluator.h"
#include "scanner/DeclarationCrc.h"
#include "scanner/DeclarationBody.h"
#include "scanner/IncludeIndexer.h"
#include "scanner/ValueTokens.h"
#include "scanner/WordTables.h"

namespace sc {
namespace {

constexpr std::int64_t kAfterEverything = std::numeric_limits<std::int64_t>::max();

bool SameNameIgnoringCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && ToLowerAscii(a) == ToLowerAscii(b);
}

// The records an entry's own lookups run over.
std::deque<DeclarationRecord>* OwnRecords(const TextureEntry& entry) {
    SourceFile* file = entry.sourceFile;
    if (!file) return nullptr;
    return file->standardInclude ? &file->standardInclude->records : &file->declarations;
}

// A cached include file is stale when it changed on disk since it was scanned;
// its records' offsets no longer fit the file.
bool IncludeCacheIsStale(TextureLibrary& library) {
    for (const auto& index : library.IncludeCache())
        if (LastWriteTime(index->path) != index->lastWrite) return true;
    return false;
}

class Resolver {
public:
    Resolver(TextureLibrary& library, TextureEntry& entry) : library_(library), entry_(entry) {}

    void Text(std::string_view text, std::int64_t position, IncludeIndex* index) {
        ValueTokens tokens(text);
        std::string_view token;
        while (tokens.Next(token)) {
            if (!ValueTokens::IsIdentifier(token) || IsReservedWord(token)) continue;
            Identifier(token, position, index);
        }
    }

private:
    // Resolves one name; true when a declaration of it was found.
    bool Identifier(std::string_view name, std::int64_t position, IncludeIndex* index) {
        DeclarationRecord* r = FindPrecedingDeclaration(entry_, name, position, index);
        while (r && r->IsInclude()) {
            if (SearchInclude(name, IncludeFor(r->origin))) return true;
            r = FindPrecedingDeclaration(entry_, name, r->position, index);
        }
        if (r) {
            Append(r, index);
            return true;
        }
        if (index) {
            if (SameFileName(FileNameOf(index->path), StandardIncludeName(0))) return false;
            return SearchInclude(name, IncludeFor(StandardIncludeName(0)));
        }
        for (const DeclarationRecord* d : entry_.dependencies)
            if (d->name == name) return true;
        for (int i = 0; i < kStandardIncludeCount; ++i)
            if (SearchInclude(name, IncludeFor(StandardIncludeName(i)))) return true;
        entry_.AddPlaceholderDependency(std::string(name));
        return false;
    }

    bool SearchInclude(std::string_view name, IncludeIndex* index) {
        if (!index || std::find(searching_.begin(), searching_.end(), index) != searching_.end()) return false;
        // Include files reached along many paths are searched for a name once.
        auto key = std::make_pair(std::string(name), static_cast<const IncludeIndex*>(index));
        if (notFound_.count(key)) return false;
        searching_.push_back(index);
        const bool found = Identifier(name, kAfterEverything, index);
        searching_.pop_back();
        if (!found) notFound_.insert(std::move(key));
        return found;
    }

    void Append(DeclarationRecord* r, IncludeIndex* index) {
        auto& deps = entry_.dependencies;
        if (std::find(deps.begin(), deps.end(), r) != deps.end()) return;
        if (std::find(inProgress_.begin(), inProgress_.end(), r) != inProgress_.end()) return;
        if (!r->text) {
            const std::string& path =
                index ? index->path : (r->HasOrigin() ? r->origin : entry_.sourceFile->path);
            std::string text;
            ReadDeclarationAt(path, r->offset, library_.LibraryPaths(), text, &entry_);
            r->text = std::move(text);
        } else {
            ApplyTextFlags(*r->text, entry_);
        }
        inProgress_.push_back(r);
        Text(*r->text, r->position, index);
        inProgress_.pop_back();
        deps.push_back(r);
    }

    // The cached index of an included file, by file name, else scanned now.
    IncludeIndex* IncludeFor(const std::string& includedName) {
        const std::string name = FileNameOf(includedName);
        for (const auto& cached : library_.IncludeCache())
            if (SameFileName(FileNameOf(cached->path), name)) return cached.get();
        const std::string lower = ToLowerAscii(name);
        for (const auto& cached : library_.IncludeCache())
            if (SameFileName(FileNameOf(cached->path), lower)) return cached.get();
        std::int64_t running = 0;
        return ScanIncludeFile(library_, includedName, running);
    }

    TextureLibrary& library_;
    TextureEntry& entry_;
    std::vector<const DeclarationRecord*> inProgress_;
    std::vector<const IncludeIndex*> searching_;
    std::set<std::pair<std::string, const IncludeIndex*>> notFound_;
};

}  // namespace

DeclarationRecord* FindRecordForEntry(const TextureEntry& entry) {
    auto* records = OwnRecords(entry);
    if (!records) return nullptr;
    const bool standard = entry.sourceFile->standardInclude != nullptr;
    DeclarationRecord* anyCase = nullptr;
    for (auto it = records->rbegin(); it != records->rend(); ++it) {
        DeclarationRecord& r = *it;
        if (r.kind != entry.kind || (r.HasOrigin() && !standard)) continue;
        if (r.name == entry.name) return &r;
        if (!anyCase && SameNameIgnoringCase(r.name, entry.name)) anyCase = &r;
    }
    return anyCase;
}

DeclarationRecord* FindPrecedingDeclaration(const TextureEntry& entry, std::string_view name, std::int64_t position,
                                            IncludeIndex* includeIndex) {
    auto* records = includeIndex ? &includeIndex->records : OwnRecords(entry);
    if (!records) return nullptr;
    for (auto it = records->rbegin(); it != records->rend(); ++it)
        if (it->position < position && (it->IsInclude() || it->name == name)) return &*it;
    return nullptr;
}

void ResolveDependencies(TextureLibrary& library, TextureEntry& entry, std::string_view text, std::int64_t position,
                         IncludeIndex* includeIndex) {
    Resolver(library, entry).Text(text, position, includeIndex);
}

bool PreviewOutdated(TextureLibrary& library, TextureEntry& entry) {
    if (entry.preview.IsEmpty()) return false;
    LoadDeclaration(library, entry, true);
    return IsChanged(entry);
}

DeclarationSource& ReaderDeclarations() {
    class Reader : public DeclarationSource {
    public:
        void Reload(TextureLibrary& library, TextureEntry& entry) override { LoadDeclaration(library, entry, true); }
    };
    static Reader reader;
    return reader;
}

bool LoadDeclaration(TextureLibrary& library, TextureEntry& entry, bool force) {
    SourceFile* file = entry.sourceFile;
    if (!file || entry.name.empty()) return false;
    const FileTime now = LastWriteTime(file->path);
    if (now != file->lastWrite || file->IncludedFileChanged()) {
        file->ClearFileIndex();
        force = true;
    }
    if (IncludeCacheIsStale(library)) {
        library.ClearIndexes();
        force = true;
    }
    if (entry.record && entry.record->text && (!force || entry.textLoaded)) {
        if (force && entry.kind == kKindColor) ResolveColor(entry);
        return true;
    }
    file->lastWrite = now;
    if (file->declarations.empty()) {
        std::int64_t running = 0;
        IndexSourceFile(library, *file, file->path, running);
    }
    DeclarationRecord* record = FindRecordForEntry(entry);
    if (!record) return false;
    const std::string& path = record->HasOrigin() ? record->origin : file->path;
    entry.missingFiles = false;
    entry.acceptedBy30 = true;
    entry.acceptedBy31 = true;
    entry.requiredVersion = 0;
    std::string text;
    if (!ReadDeclarationAt(path, record->offset, library.LibraryPaths(), text, &entry)) return false;
    record->text = std::move(text);
    entry.record = record;
    if (force) {
        entry.ClearDependencies();
        ResolveDependencies(library, entry, *record->text, record->position, nullptr);
        if (entry.kind == kKindColor) ResolveColor(entry);
        entry.textLoaded = true;
    }
    return true;
}

}  // namespace sc
