#include "library/SourceFile.h"

#include "platform/PathUtil.h"

namespace sc {

EntryList::~EntryList() {
    TextureEntry* entry = head;
    while (entry) {
        TextureEntry* next = entry->next;
        delete entry;
        entry = next;
    }
}

void EntryList::Append(TextureEntry* entry) {
    entry->previous = tail;
    entry->next = nullptr;
    if (tail) tail->next = entry;
    else head = entry;
    tail = entry;
}

void EntryList::Unlink(TextureEntry* entry) {
    if (entry->previous) entry->previous->next = entry->next;
    else head = entry->next;
    if (entry->next) entry->next->previous = entry->previous;
    else tail = entry->previous;
    entry->previous = entry->next = nullptr;
}

SourceFile::SourceFile(std::string dir, std::string name)
    : directory(std::move(dir)), fileName(std::move(name)), path(JoinPath(directory, fileName)) {
    placeholder = new TextureEntry("", kKindPlaceholder);
    placeholder->sourceFile = this;
    entries.Append(placeholder);
}

SourceFile::~SourceFile() = default;

void SourceFile::ClearFileIndex() {
    // Every dependency may point into the records about to go, so all of
    // them are dropped, not only the placeholders.
    for (TextureEntry* entry = entries.head; entry; entry = entry->next) {
        entry->ClearDependencies();
        entry->record = nullptr;
        entry->textLoaded = false;
    }
    declarations.clear();
    includedFiles.clear();
    standardInclude = nullptr;
}

bool SourceFile::IncludedFileChanged() const {
    for (const auto& [includedPath, written] : includedFiles)
        if (LastWriteTime(includedPath) != written) return true;
    return false;
}

TextureEntry* SourceFile::FindEntry(const std::string& name) const {
    const auto it = entriesByName_.find(name);
    return it == entriesByName_.end() ? nullptr : it->second;
}

void SourceFile::AppendEntry(TextureEntry* entry) {
    entries.Append(entry);
    entry->sourceFile = this;
    entriesByName_[entry->name] = entry;
    ++entryCount;
}

TextureEntry* SourceFile::AppendNewEntry(const std::string& name, int kind) {
    const auto [it, inserted] = entriesByName_.try_emplace(name, nullptr);
    if (!inserted) return nullptr;
    auto* entry = new TextureEntry(name, kind);
    it->second = entry;
    entries.Append(entry);
    entry->sourceFile = this;
    ++entryCount;
    return entry;
}

void SourceFile::TakeEntry(TextureEntry* entry) {
    entries.Unlink(entry);
    entriesByName_.erase(entry->name);
    --entryCount;
}

}  // namespace sc
