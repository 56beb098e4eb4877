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

namespace {

std::size_t HashName(std::string_view name) { return std::hash<std::string_view>{}(name); }

}  // namespace

// Open addressing with linear probing; erasing shifts the run behind the
// gap back, so no slot is ever marked as deleted.
std::size_t EntryNameIndex::FindSlot(std::string_view name, std::size_t hash) const {
    const std::size_t mask = slots_.size() - 1;
    std::size_t i = hash & mask;
    while (slots_[i].entry && (slots_[i].hash != hash || slots_[i].entry->name != name)) i = (i + 1) & mask;
    return i;
}

TextureEntry* EntryNameIndex::Find(std::string_view name) const {
    if (count_ == 0) return nullptr;
    return slots_[FindSlot(name, HashName(name))].entry;
}

TextureEntry* EntryNameIndex::Insert(TextureEntry* entry, bool replace) {
    // At most three quarters full, so that a probe ends soon.
    if ((count_ + 1) * 4 > slots_.size() * 3) Grow();
    const std::size_t hash = HashName(entry->name);
    Slot& slot = slots_[FindSlot(entry->name, hash)];
    if (slot.entry) {
        TextureEntry* existing = slot.entry;
        if (replace) slot.entry = entry;
        return existing;
    }
    slot = {entry, hash};
    ++count_;
    return nullptr;
}

void EntryNameIndex::Erase(const TextureEntry* entry) {
    if (count_ == 0) return;
    const std::size_t mask = slots_.size() - 1;
    std::size_t gap = FindSlot(entry->name, HashName(entry->name));
    if (slots_[gap].entry != entry) return;
    slots_[gap] = {};
    --count_;
    for (std::size_t i = (gap + 1) & mask; slots_[i].entry; i = (i + 1) & mask) {
        // An entry whose home lies cyclically in (gap, i] stays; any other
        // moves into the gap, which then opens where it was.
        const std::size_t home = slots_[i].hash & mask;
        const bool stays = gap < i ? (home > gap && home <= i) : (home > gap || home <= i);
        if (stays) continue;
        slots_[gap] = slots_[i];
        slots_[i] = {};
        gap = i;
    }
}

void EntryNameIndex::Grow() {
    std::vector<Slot> old = std::move(slots_);
    slots_.assign(old.empty() ? 16 : old.size() * 2, Slot{});
    const std::size_t mask = slots_.size() - 1;
    for (const Slot& s : old) {
        if (!s.entry) continue;
        std::size_t i = s.hash & mask;
        while (slots_[i].entry) i = (i + 1) & mask;
        slots_[i] = s;
    }
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

TextureEntry* SourceFile::FindEntry(const std::string& name) const { return entriesByName_.Find(name); }

void SourceFile::AppendEntry(TextureEntry* entry) {
    entries.Append(entry);
    entry->sourceFile = this;
    entriesByName_.Insert(entry, true);
    ++entryCount;
}

TextureEntry* SourceFile::AppendNewEntry(const std::string& name, int kind) {
    if (entriesByName_.Find(name)) return nullptr;
    auto* entry = new TextureEntry(name, kind);
    entriesByName_.Insert(entry);
    entries.Append(entry);
    entry->sourceFile = this;
    ++entryCount;
    return entry;
}

void SourceFile::TakeEntry(TextureEntry* entry) {
    entries.Unlink(entry);
    entriesByName_.Erase(entry);
    --entryCount;
}

}  // namespace sc
