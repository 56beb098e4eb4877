#pragma once
// The search for declarations on disk ("Texturen suchen") without its dialog:
// a counting pass and a search pass over directories or given files, adding
// every declaration of a wanted kind to the library.
#include <array>
#include <memory>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "platform/FileSystem.h"
#include "scanner/DeclarationScanner.h"

namespace sc {

class LibraryController;
class UserInterface;

struct SearchOptions {
    std::string patterns = "*.inc";  // semicolon-separated file patterns or names
    bool libraryDirectories = false; // search the library paths (never their subdirectories)
    std::string otherDirectory;      // else this directory
    bool subdirectories = false;     // with otherDirectory: also its non-hidden subdirectories
    // Wanted kinds by EntryKind 1 (material) to 6 (normal); the default is
    // materials, textures and pigments.
    std::array<bool, 7> kinds{false, true, true, true, false, false, false};
    bool followIncludes = true;      // search files named by #include statements too
    // Files given directly (dropped on the window): searched instead of any
    // directory, with the patterns ignored.
    std::vector<std::string> explicitFiles;

    bool WantsKind(int kind) const { return kind >= 1 && kind <= 6 && kinds[static_cast<size_t>(kind)]; }
};

// Splits pattern text at semicolons; pieces are trimmed, empty ones dropped.
std::vector<std::string> SplitPatterns(std::string_view text);

// "N Textur(en) in N Datei(en) und N Verzeichnis(sen) gefunden.", followed by
// "N Deklaration(en) mit zu langem Namen übersprungen." when `skipped` is not 0.
std::string SearchResultText(int textures, int files, int directories, int skipped = 0);

// The note shown after a search that skipped `skipped` declarations of a
// wanted kind for their names' length, naming the first and its file.
std::string SkippedNamesMessage(int skipped, const std::string& firstName, const std::string& firstFile);

// At most this many #include files are followed from one searched file.
inline constexpr int kMaxFollowedIncludes = 10;

struct SearchCounts {
    int filesCounted = 0;
    int directoriesCounted = 0;
    int textures = 0;     // entries added
    int files = 0;        // files with entries added
    int directories = 0;  // directories with entries added
    long long lines = 0;  // lines read by the search pass
    // Declarations of a wanted kind whose name the list file cannot hold:
    // how many, and the first of them with its file.
    int skippedNames = 0;
    std::string firstSkippedName;
    std::string firstSkippedFile;
};

class TextureSearch : private SearchScanHooks {
public:
    // Both are borrowed and must outlive the search.
    TextureSearch(LibraryController& controller, SearchOptions options);
    // The same with the passes' progress, texts and cancel flag on `progress`
    // (a progress window) instead of the controller's interface.
    TextureSearch(LibraryController& controller, SearchOptions options, UserInterface& progress);

    // The whole command after the dialog: both passes, then the offer to
    // complete directories, then a refresh of the views.
    void Run();
    // The steps after the passes: a note on declarations skipped for their
    // names' length and the offer to complete directories (both through the
    // controller's interface), then a refresh of the views.
    void OfferDirectoryCompletion();
    // The same for a search that ran elsewhere (on a copy of the library) and
    // whose finds were added to the controller's library. Without
    // `refreshViews` the views are refreshed only before a note or a
    // question, and otherwise left to the caller.
    static void OfferDirectoryCompletion(LibraryController& controller, const SearchCounts& counts,
                                         bool refreshViews = true);
    // The counting pass and, when files were counted and nothing cancelled, the search pass.
    void RunPasses();
    // Counts or searches the matching files of one directory (and its
    // subdirectories when wanted). Counting also notes the walk, which the
    // search pass of RunPasses then takes instead of listing again.
    void SearchDirectory(const std::string& directory, bool countOnly);
    // Searches one file and the files it includes; returns the entries added.
    // `firstInDirectory` (may be null) is cleared at the first entry added.
    int SearchFile(const std::string& path, int* includeCounter, bool* firstInDirectory);

    const SearchCounts& Counts() const { return counts_; }
    std::string ResultText() const {
        return SearchResultText(counts_.textures, counts_.files, counts_.directories, counts_.skippedNames);
    }

private:
    // A directory the counting pass walked with the files it counted there,
    // in the order the search pass takes them.
    struct WalkedDirectory {
        std::string directory;
        std::vector<std::string> files;
    };

    bool StopRequested() override;
    void LineRead() override;
    void LinesRead(long long n) override;
    void IncludeFound(const std::string& path, const std::string& fileName, int* includeCounter) override;

    int SearchFileAt(const std::string& path, int* includeCounter, bool* firstInDirectory, bool included);
    void SkipName(const std::string& name, const std::string& path);
    void ShowResult();
    void Pass(bool countOnly);
    void SearchWalkedDirectories();
    void Walk(const std::string& directory, bool countOnly);
    bool EnterDirectory(const std::string& directory, bool countOnly);
    bool TakeFiles(const std::vector<std::string>& files, bool countOnly);
    std::vector<std::string> FilesMatching(const std::string& directory, const std::vector<DirectoryItem>& items) const;
    bool Cancelled() const;

    LibraryController& controller_;
    UserInterface& ui_;
    SearchOptions options_;
    std::vector<std::string> patterns_;
    SearchCounts counts_;
    bool countOnly_ = false;
    bool* firstInDirectory_ = nullptr;  // the flag of the directory being searched
    std::set<std::string> visited_;  // directories walked in this pass, resolved
    std::vector<WalkedDirectory> walked_;  // the counting pass's walk, for the search pass
    // One stream per depth of followed includes, kept from file to file so
    // that their buffers are not allocated for every file.
    std::vector<std::unique_ptr<ScanStream>> streams_;
    size_t streamDepth_ = 0;
    DirectoryHandle directory_;      // the directory of the searched files, held while they are read
    std::string statusText_;         // the result text shown while searching
};

// Runs the search with the given options (the dialog's part is the caller's).
SearchCounts SearchTextures(LibraryController& controller, const SearchOptions& options);

}  // namespace sc
