#include "library/TextureLibrary.h"

#include "platform/PathUtil.h"

namespace sc {

EntryKey KeyOf(const TextureEntry& entry) {
    return {entry.sourceFile->directory, entry.sourceFile->fileName, entry.name};
}

TextureLibrary::~TextureLibrary() { Clear(); }

void TextureLibrary::SetLibraryPaths(std::vector<std::string> paths) {
    libraryPaths_ = std::move(paths);
    ComputeLibraryPathIndex();
}

void TextureLibrary::RereadLibraryPaths() {
    if (!pathSource_) return;
    std::vector<std::string> paths = pathSource_();
    if (paths == libraryPaths_) return;
    SetLibraryPaths(std::move(paths));
    ClearIndexes();
}

std::string TextureLibrary::FileKey(const std::string& directory, const std::string& fileName) {
    return FileNameKey(directory) + '\0' + FileNameKey(fileName);
}

SourceFile* TextureLibrary::FindFile(const std::string& directory, const std::string& fileName) const {
    const auto it = filesByKey_.find(FileKey(directory, fileName));
    return it == filesByKey_.end() ? nullptr : it->second;
}

SourceFile* TextureLibrary::FindOrAddFile(const std::string& directory, const std::string& fileName,
                                          std::optional<FileTime> lastWrite) {
    if (SourceFile* existing = FindFile(directory, fileName)) return existing;
    auto* file = new SourceFile(directory, fileName);
    ComputeLibraryPathIndex(file);
    file->lastWrite = lastWrite ? *lastWrite : LastWriteTime(file->path);
    file->older = newestFile_;
    if (newestFile_) newestFile_->newer = file;
    newestFile_ = file;
    filesByKey_[FileKey(directory, fileName)] = file;
    ++fileCount_;
    return file;
}

TextureEntry* TextureLibrary::FindEntry(const std::string& directory, const std::string& fileName,
                                        const std::string& name) const {
    const SourceFile* file = FindFile(directory, fileName);
    return file ? file->FindEntry(name) : nullptr;
}

TextureEntry* TextureLibrary::AddEntry(const std::string& directory, const std::string& fileName,
                                       const std::string& name, int kind, const std::string& category,
                                       float previewVersion, const EntryColor* color) {
    return AddEntryToFile(*FindOrAddFile(directory, fileName), name, kind, category, previewVersion, color);
}

TextureEntry* TextureLibrary::AddEntryToFile(SourceFile& file, const std::string& name, int kind,
                                             const std::string& category, float previewVersion,
                                             const EntryColor* color) {
    TextureEntry* entry = file.FindEntry(name);
    if (!entry) {
        entry = new TextureEntry(name, kind);
        if (!category.empty()) entry->category = category;
        entry->previewVersion = previewVersion;
        file.AppendEntry(entry);
    }
    if (entry->kind == kKindColor) SetColor(entry, color);
    return entry;
}

TextureEntry* TextureLibrary::AddNewEntryToFile(SourceFile& file, const std::string& name, int kind) {
    TextureEntry* entry = file.AppendNewEntry(name, kind);
    if (entry && entry->kind == kKindColor) SetColor(entry, nullptr);
    return entry;
}

void TextureLibrary::SetColor(TextureEntry* entry, const EntryColor* color) {
    if (!entry->color) entry->color = std::make_unique<EntryColor>();
    if (color && !color->IsAllZero()) *entry->color = *color;
}

void TextureLibrary::UnlinkFile(SourceFile* file) {
    if (file->newer) file->newer->older = file->older;
    else newestFile_ = file->older;
    if (file->older) file->older->newer = file->newer;
    file->newer = file->older = nullptr;
    filesByKey_.erase(FileKey(file->directory, file->fileName));
    --fileCount_;
    ++fileRemovals_;
}

void TextureLibrary::RemoveEntry(TextureEntry* entry) {
    SourceFile* file = entry->sourceFile;
    entry->ClearDependencies();
    file->TakeEntry(entry);
    delete entry;
    if (file->entryCount <= 0) {
        UnlinkFile(file);
        delete file;
    }
}

bool TextureLibrary::MoveEntryToDirectory(TextureEntry* entry, const std::string& directory,
                                          const std::string& fileName) {
    SourceFile* from = entry->sourceFile;
    SourceFile* to = FindOrAddFile(directory, fileName.empty() ? from->fileName : fileName);
    if (to == from) return false;
    // The entry's record and dependencies belong to the old file's index.
    entry->ClearDependencies();
    entry->record = nullptr;
    entry->textLoaded = false;
    from->TakeEntry(entry);
    to->AppendEntry(entry);
    if (from->entryCount <= 0) {
        UnlinkFile(from);
        delete from;
    }
    return true;
}

TextureEntry* TextureLibrary::NextEntry(const TextureEntry* entry) const {
    TextureEntry* candidate = nullptr;
    const SourceFile* file = newestFile_;
    if (entry) {
        candidate = entry->next;
        file = entry->sourceFile->older;
    } else if (file) {
        candidate = file->placeholder->next;
        file = file->older;
    }
    while (!candidate && file) {
        candidate = file->placeholder->next;
        file = file->older;
    }
    return candidate;
}

SourceFile* TextureLibrary::NextFile(const SourceFile* file) const { return file ? file->older : newestFile_; }

void TextureLibrary::ComputeLibraryPathIndex(SourceFile* file) const {
    file->libraryPathIndex = kNoLibraryPath;
    for (size_t i = 0; i < libraryPaths_.size() && i < kNoLibraryPath; ++i) {
        if (!file->directory.empty() && SameFileName(WithTrailingSeparator(libraryPaths_[i]), file->directory)) {
            file->libraryPathIndex = static_cast<std::uint8_t>(i);
            return;
        }
    }
}

void TextureLibrary::ComputeLibraryPathIndex() {
    for (SourceFile* file = newestFile_; file; file = file->older) ComputeLibraryPathIndex(file);
}

void TextureLibrary::ClearIndexes() {
    for (SourceFile* file = newestFile_; file; file = file->older) file->ClearFileIndex();
    includeCache_.clear();
    constantCache_.clear();
}

void TextureLibrary::Clear() {
    while (newestFile_) {
        SourceFile* file = newestFile_;
        newestFile_ = file->older;
        delete file;
    }
    fileCount_ = 0;
    ++fileRemovals_;
    filesByKey_.clear();
    includeCache_.clear();
}

}  // namespace sc
