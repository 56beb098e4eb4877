#pragma once
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "library/EntryKind.h"
#include "library/LibraryViews.h"
#include "library/TextureLibrary.h"

namespace sc {

class DeclarationSource;
class PictureCheck;
class UserInterface;

// What a preview render made of an entry's picture.
enum class PreviewState { Present, Empty, Faulty };

// The KindCount slots that count no kind: the placeholder kind's slot holds
// the number of files, the unused kind 7 the number of categories.
inline constexpr int kFilesSlot = kKindPlaceholder;
inline constexpr int kCategoriesSlot = 7;

// A user category with its use count.
struct Category {
    std::string name;
    int useCount = 0;
};

// The file a search is reading, held so that its entries are added without
// the file being looked up again for each.
struct ScannedFile {
    std::string directory;  // with trailing separator
    std::string fileName;
    std::optional<FileTime> lastWrite;  // as the search found it when it opened the file
    SourceFile* file = nullptr;
    std::uint64_t removals = 0;  // the library's file removals when `file` was taken
};

// Owns the one library, keeps its counters and categories in step with it
// and tells the views about every change.
class LibraryController {
public:
    // `ui` is borrowed and must outlive the controller.
    explicit LibraryController(UserInterface& ui);
    virtual ~LibraryController();

    TextureLibrary& Library() { return library_; }
    const TextureLibrary& Library() const { return library_; }
    UserInterface& Ui() { return ui_; }

    // The views to notify; null (the default) for none.
    void SetViews(LibraryViews* views) { views_ = views ? views : &noViews_; }
    LibraryViews& Views() { return *views_; }
    // Where colour entries without a colour get theirs; null (the default)
    // leaves them black. Borrowed.
    void SetDeclarations(DeclarationSource* declarations) { declarations_ = declarations; }
    // Decodes stored pictures whose colour sums a list file lacks; null (the
    // default) leaves such sums unset. Borrowed.
    void SetPictureCheck(PictureCheck* check) { pictureCheck_ = check; }
    PictureCheck* Pictures() const { return pictureCheck_; }

    // Adds an entry found by a search; false when it already exists.
    bool AddScannedEntry(const std::string& fullPath, const std::string& name, int kind,
                         const std::string& category, float previewVersion);
    // The same for the file a search is reading, without category or version.
    bool AddScannedEntry(ScannedFile& target, const std::string& name, int kind);
    // Counts an entry just added by AddEntry from a list file or a search,
    // registers its category and tells the views (unless `tellViews` is
    // false: then the caller refreshes them once after many). A colour entry
    // added without a colour first reads it from its declaration.
    void RegisterAddedEntry(TextureEntry* entry, bool tellViews = true);
    // Deletes one entry with its counters, category and view nodes.
    void DeleteEntry(TextureEntry* entry);
    // Moves an entry to another directory, into the file of that name (its
    // own file's name when empty), and refreshes it. A file never holds two
    // entries of one name: when the target has one, the one with a picture
    // stays (the one already there when both or neither have one) and the
    // other is deleted. Returns the entry that stays.
    TextureEntry* ChangeEntryDirectory(TextureEntry* entry, const std::string& directory,
                                       const std::string& fileName = {});
    // Empties the library (or, while only marked entries are shown, deletes those).
    void NewLibrary();
    // Empties views, library, counters and categories (replace-mode loading).
    void ResetLibrary();

    // Marks.
    int MarkAll(bool value);
    void MarkSelected(bool value);
    void MarkFile(SourceFile* file, bool value);
    int CountMarked() const;

    // Stores the CRC and counts a modification when it differs.
    void SetPreviewCrc(TextureEntry* entry, std::uint32_t crc);

    // Categories.
    void AddCategoryRef(const std::string& name);
    void ReleaseCategoryRef(const std::string& name);
    void ClearCategories();
    const std::vector<Category>& Categories() const { return categories_; }

    // Sets the entry's preview flags (present: valid; empty: neither;
    // faulty: faulty) with their counters, counts a modification and
    // redraws the entry.
    void SetPreviewState(TextureEntry* entry, PreviewState state);
    // Sets both preview flags, keeping PreviewCount and FaultyCount in step;
    // no modification is counted and no view told.
    void SetPreviewFlags(TextureEntry* entry, bool valid, bool faulty);

    // Asks, then deletes the pictures of the selected entries.
    void DeletePreviews();
    // Selects the entries with faulty previews, or says there are none.
    void SelectFaulty();

    // Counters, kept in step with the library by the operations above.
    int EntryCount() const { return entryCount_; }
    int PreviewCount() const { return previewCount_; }
    // Entries whose picture is faulty and not also valid.
    int FaultyCount() const { return faultyCount_; }
    // Entries whose source file lost its directory.
    int NoDirectoryCount() const { return noDirectoryCount_; }
    // Entries of one EntryKind; kFilesSlot holds the number of files,
    // kCategoriesSlot that of categories.
    int KindCount(int slot) const { return kindCounts_[slot]; }

    // Changes since the last save or load; the document and the edits count
    // theirs here too.
    int modified = 0;
    bool onlyMarkedShown = false;

private:
    void ZeroCounters();
    void CountKind(int kind, int delta);
    void CountPreview(const TextureEntry* entry, int delta);
    void ReloadColor(TextureEntry* entry);

    UserInterface& ui_;
    TextureLibrary library_;
    LibraryViews noViews_;
    LibraryViews* views_ = &noViews_;
    DeclarationSource* declarations_ = nullptr;
    PictureCheck* pictureCheck_ = nullptr;
    std::vector<Category> categories_;
    int entryCount_ = 0;
    int previewCount_ = 0;
    int faultyCount_ = 0;
    int noDirectoryCount_ = 0;
    std::array<int, 10> kindCounts_{};
};

}  // namespace sc
