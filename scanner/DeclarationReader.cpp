#include "scanner/DeclarationReader.h"

#include <algorithm>
#include <limits>
#include <optional>
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
#include "scanner/ConstantIndex.h"
#include "scanner/DeclarationCrc.h"
#include "scanner/DeclarationBody.h"
#include "scanner/DeclarationScanner.h"
#include "scanner/IncludeIndexer.h"
#include "scanner/ValueTokens.h"
#include "scanner/WordTables.h"

namespace sc {
namespace {

constexpr std::int64_t kAfterEverything = std::numeric_limits<std::int64_t>::max();

// Without copies: it runs for every record an entry's lookup passes.
bool SameNameIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
    for (std::size_t i = 0; i < a.size(); ++i)
        if (lower(a[i]) != lower(b[i])) return false;
    return true;
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
    for (const auto& [path, index] : library.ConstantCache())
        if (LastWriteTime(path) != index->lastWrite) return true;
    return false;
}

// Names a declaration's text defines for itself: #local and #declare lines,
// #for loop variables, macro and function parameters. They are never looked
// up outside the text.
std::set<std::string, std::less<>> NamesDefinedIn(std::string_view text) {
    std::set<std::string, std::less<>> names;
    ValueTokens tokens(text);
    std::string_view token, previous, beforePrevious;
    int parameters = 0;  // 1 inside a parameter list, 2 after '#for ('
    while (tokens.Next(token)) {
        if (parameters > 0 && ValueTokens::IsIdentifier(token)) {
            names.emplace(token);
            if (parameters == 2) parameters = 0;
        } else if (token == ")") {
            parameters = 0;
        } else if (token == "(") {
            if (previous == "for" && beforePrevious == "#") parameters = 2;
            else if (previous == "function" || beforePrevious == "macro") parameters = 1;
        } else if (ValueTokens::IsIdentifier(token) && beforePrevious == "#" &&
                   (previous == "local" || previous == "declare" || previous == "macro")) {
            names.emplace(token);
        }
        beforePrevious = previous;
        previous = token;
    }
    return names;
}

bool HasExtension(std::string_view fileName, std::string_view lowerExtension) {
    return ToLowerAscii(ExtensionOf(fileName)) == lowerExtension;
}

class Resolver {
public:
    Resolver(TextureLibrary& library, TextureEntry& entry, std::int64_t position)
        : library_(library), entry_(entry), topPosition_(position) {}

    void Text(std::string_view text, std::int64_t position, IncludeIndex* index) {
        const auto own = NamesDefinedIn(text);
        ValueTokens tokens(text);
        std::string_view token;
        while (tokens.Next(token)) {
            if (!ValueTokens::IsIdentifier(token) || IsReservedWord(token) || own.count(token)) continue;
            Identifier(token, position, index);
        }
    }

private:
    // Resolves one name; true when a declaration of it was found.
    bool Identifier(std::string_view name, std::int64_t position, IncludeIndex* index) {
        if (index && index->constants)
            return InConstantFile(name, position, index) || Identifier(name, topPosition_, nullptr);
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
        if (Elsewhere(name)) return true;
        entry_.AddPlaceholderDependency(std::string(name));
        return false;
    }

    bool SearchInclude(std::string_view name, IncludeIndex* index) {
        if (!index || std::find(searching_.begin(), searching_.end(), index) != searching_.end()) return false;
        // Include files reached along many paths are searched for a name once.
        auto key = std::make_pair(std::string(name), static_cast<const IncludeIndex*>(index));
        if (notFound_.count(key)) return false;
        searching_.push_back(index);
        const bool found = index->constants ? InConstantFile(name, kAfterEverything, index)
                                            : Identifier(name, kAfterEverything, index);
        searching_.pop_back();
        if (!found) notFound_.insert(std::move(key));
        return found;
    }

    // Where collections keep constants that the entry's file does not
    // declare or include, nearest first. Each name is searched there once.
    bool Elsewhere(std::string_view name) {
        std::string key(name);
        if (missingElsewhere_.count(key) || !elsewhereActive_.insert(key).second) return false;
        const bool found = SearchElsewhere(name);
        elsewhereActive_.erase(key);
        if (!found) missingElsewhere_.insert(std::move(key));
        return found;
    }

    bool SearchElsewhere(std::string_view name) {
        const DeclarationRecord* own = entry_.record;
        const std::string ownPath = own && own->HasOrigin() ? own->origin : entry_.sourceFile->path;
        // #local constants at file level before the declaration.
        if (IncludeIndex* index = ConstantIndexOf(library_, ownPath))
            if (InConstantFile(name, own ? own->offset : kAfterEverything, index)) return true;
        // POV-Ray's own include files, included whole: macros need the file.
        for (const std::string& path : LibraryIncludeFiles()) {
            const IncludeIndex* index = ConstantIndexOf(library_, path);
            if (index && DeclaresAtAll(*index, name)) return IncludeWhole(name, path);
        }
        for (const std::string& path : FolderFiles())
            if (SearchInclude(name, ConstantIndexOf(library_, path))) return true;
        const SourceFile* ownFile = entry_.sourceFile;
        for (SourceFile* file = library_.NextFile(nullptr); file; file = library_.NextFile(file)) {
            if (file == ownFile || SameFileName(file->directory, ownFile->directory)) continue;
            if (SearchInclude(name, ConstantIndexOf(library_, file->path))) return true;
        }
        return false;
    }

    // The last declaration of `name` before `limit` in a constant index,
    // through the files it includes.
    bool InConstantFile(std::string_view name, std::int64_t limit, IncludeIndex* index) {
        auto& records = index->records;
        for (auto it = records.rbegin(); it != records.rend(); ++it) {
            DeclarationRecord& r = *it;
            if (r.position >= limit) continue;
            if (r.kind == kScanInclude) {
                if (SearchInclude(name, IncludedConstants(*index, r.origin))) return true;
            } else if (r.name != name) {
                continue;
            } else if (r.kind != kConstantMacro) {
                Append(&r, index);
                return true;
            } else if (HasExtension(index->path, ".inc")) {
                return IncludeWhole(name, index->path);
            }
        }
        return false;
    }

    // True when the file includes a file of that name (in any case).
    static bool Includes(const IncludeIndex& index, const std::string& fileName) {
        const std::string lower = ToLowerAscii(fileName);
        return std::any_of(index.records.begin(), index.records.end(), [&](const DeclarationRecord& r) {
            return r.kind == kScanInclude && ToLowerAscii(FileNameOf(r.origin)) == lower;
        });
    }

    static bool DeclaresAtAll(const IncludeIndex& index, std::string_view name) {
        return std::any_of(index.records.begin(), index.records.end(),
                           [&](const DeclarationRecord& r) { return r.kind != kScanInclude && r.name == name; });
    }

    bool IncludeWhole(std::string_view name, const std::string& path) {
        DeclarationRecord* line = entry_.AddPlaceholderDependency(std::string(name));
        line->kind = kScanInclude;
        line->origin = path;
        line->foundElsewhere = true;
        return true;
    }

    IncludeIndex* IncludedConstants(const IncludeIndex& including, const std::string& writtenName) {
        const std::string path = ResolveIncludeFile(writtenName, DirectoryOf(including.path), library_.LibraryPaths());
        return path.empty() ? nullptr : ConstantIndexOf(library_, path);
    }

    const std::vector<std::string>& LibraryIncludeFiles() {
        if (libraryFiles_) return *libraryFiles_;
        libraryFiles_.emplace();
        for (const std::string& directory : library_.LibraryPaths()) {
            if (directory.empty()) continue;
            for (const DirectoryItem& item : ListDirectory(directory))
                if (!item.isDirectory && HasExtension(item.name, ".inc"))
                    libraryFiles_->push_back(JoinPath(directory, item.name));
        }
        return *libraryFiles_;
    }

    // The other scene and include files beside the entry's file: those that
    // include it first, then the rest, each group in name order.
    const std::vector<std::string>& FolderFiles() {
        if (folderFiles_) return *folderFiles_;
        folderFiles_.emplace();
        const SourceFile& own = *entry_.sourceFile;
        if (own.directory.empty()) return *folderFiles_;
        std::vector<std::string> rest;
        for (const DirectoryItem& item : ListDirectory(own.directory)) {
            if (item.isDirectory || SameFileName(item.name, own.fileName)) continue;
            if (!HasExtension(item.name, ".inc") && !HasExtension(item.name, ".pov")) continue;
            std::string path = JoinPath(own.directory, item.name);
            const IncludeIndex* index = ConstantIndexOf(library_, path);
            (index && Includes(*index, own.fileName) ? *folderFiles_ : rest).push_back(std::move(path));
        }
        folderFiles_->insert(folderFiles_->end(), rest.begin(), rest.end());
        return *folderFiles_;
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
    std::int64_t topPosition_;
    std::vector<const DeclarationRecord*> inProgress_;
    std::vector<const IncludeIndex*> searching_;
    std::set<std::pair<std::string, const IncludeIndex*>> notFound_;
    std::set<std::string, std::less<>> elsewhereActive_;
    std::set<std::string, std::less<>> missingElsewhere_;
    std::optional<std::vector<std::string>> libraryFiles_;
    std::optional<std::vector<std::string>> folderFiles_;
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
    Resolver(library, entry, position).Text(text, position, includeIndex);
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
    if (!file || entry.IsFileNode()) return false;
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
