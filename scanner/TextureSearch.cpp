#include "scanner/TextureSearch.h"

#include <algorithm>
#include <charconv>

#include "library/LibraryController.h"
#include "library/LibraryFile.h"
#include "platform/FileSystem.h"
#include "platform/PathUtil.h"
#include "platform/Translate.h"
#include "platform/UserInterface.h"
#include "scanner/DirectoryCompletion.h"
#include "scanner/IncludeIndexer.h"

namespace sc {
namespace {

unsigned long Plural(int n) { return static_cast<unsigned long>(std::max(n, 0)); }

// The counts below are put into "%1 in %2 and %3 found." and "Counting %1 in %2.".
std::string TexturesText(int n) { return FillIn(TrN("%1 texture", "%1 textures", Plural(n)), {std::to_string(n)}); }
// TRANSLATORS: the place something is in: "Counting 3 files in 2 folders."
std::string FilesText(int n) { return FillIn(TrN("%1 file", "%1 files", Plural(n)), {std::to_string(n)}); }
// TRANSLATORS: the place something is in: "Counting 3 files in 2 folders."
std::string FoldersText(int n) { return FillIn(TrN("%1 folder", "%1 folders", Plural(n)), {std::to_string(n)}); }

void AppendSearchResultText(std::string& out, int textures, int files, int directories, int skipped) {
    out += FillIn(Tr("%1 in %2 and %3 found."),
                  {TexturesText(textures), FilesText(files), FoldersText(directories)});
    if (skipped == 0) return;
    out += ' ';
    out += FillIn(TrN("%1 declaration with too long a name skipped.", "%1 declarations with too long names skipped.",
                      static_cast<unsigned long>(skipped)),
                  {std::to_string(skipped)});
}

// The start of a name too long to show whole.
std::string NameStart(const std::string& name) {
    constexpr size_t kShown = 40;
    return name.size() <= kShown ? name : name.substr(0, kShown) + "...";
}

}  // namespace

std::vector<std::string> SplitPatterns(std::string_view text) {
    std::vector<std::string> patterns;
    size_t start = 0;
    while (start <= text.size()) {
        size_t end = text.find(';', start);
        if (end == std::string_view::npos) end = text.size();
        std::string_view piece = text.substr(start, end - start);
        while (!piece.empty() && static_cast<unsigned char>(piece.front()) <= ' ') piece.remove_prefix(1);
        while (!piece.empty() && static_cast<unsigned char>(piece.back()) <= ' ') piece.remove_suffix(1);
        if (!piece.empty()) patterns.emplace_back(piece);
        start = end + 1;
    }
    return patterns;
}

std::string SearchResultText(int textures, int files, int directories, int skipped) {
    std::string text;
    AppendSearchResultText(text, textures, files, directories, skipped);
    return text;
}

std::string SkippedNamesMessage(int skipped, const std::string& firstName, const std::string& firstFile) {
    return FillIn(TrN("%1 declaration was skipped because its name is longer than %2 characters.\n"
                      "Names this long cannot be stored in the list.\n\n"
                      "Name: \"%3\"\nFile: \"%4\"",
                      "%1 declarations were skipped because their names are longer than %2 characters.\n"
                      "Names this long cannot be stored in the list.\n\n"
                      "The first: \"%3\"\nFile: \"%4\"",
                      static_cast<unsigned long>(std::max(skipped, 0))),
                  {std::to_string(skipped), std::to_string(kMaxListFileString), NameStart(firstName), firstFile});
}

TextureSearch::TextureSearch(LibraryController& controller, SearchOptions options)
    : controller_(controller), ui_(controller.Ui()), options_(std::move(options)) {}

TextureSearch::TextureSearch(LibraryController& controller, SearchOptions options, UserInterface& progress)
    : controller_(controller), ui_(progress), options_(std::move(options)) {}

void TextureSearch::Run() {
    RunPasses();
    OfferDirectoryCompletion();
}

void TextureSearch::OfferDirectoryCompletion() { OfferDirectoryCompletion(controller_, counts_); }

void TextureSearch::OfferDirectoryCompletion(LibraryController& controller, const SearchCounts& counts,
                                             bool refreshViews) {
    UserInterface& ui = controller.Ui();
    const bool asks = controller.NoDirectoryCount() > 0 && !controller.Library().LibraryPaths().empty();
    // The finds show before any note or question about them.
    if (!refreshViews && (counts.skippedNames > 0 || asks)) controller.Views().Refresh();
    if (counts.skippedNames > 0)
        ui.ShowMessage(SkippedNamesMessage(counts.skippedNames, counts.firstSkippedName, counts.firstSkippedFile),
                       MessageIcon::Information);
    if (asks) {
        const int count = controller.NoDirectoryCount();
        const std::string question =
            FillIn(TrN("The list has %1 texture in files that have no folder.\n"
                       "So it cannot be sure that the texture exists and can be shown.\n\n"
                       "Search the library folders for these textures?",
                       "The list has %1 textures in files that have no folder.\n"
                       "So it cannot be sure that the textures exist and can be shown.\n\n"
                       "Search the library folders for these textures?",
                       static_cast<unsigned long>(count)),
                   {std::to_string(count)});
        // Ja preselected, as for the same question after loading a list file.
        if (ui.Ask(question, QuestionButtons::YesNo, Answer::Yes, MessageIcon::Question) == Answer::Yes)
            CompleteDirectories(controller);
    }
    if (refreshViews) controller.Views().Refresh();
}

void TextureSearch::RunPasses() {
    counts_ = SearchCounts{};
    patterns_ = options_.explicitFiles.empty() ? SplitPatterns(options_.patterns) : options_.explicitFiles;
    ui_.SetCancelled(false);
    Pass(true);
    if (!Cancelled() && counts_.filesCounted > 0) {
        ui_.SetProgressRange(counts_.filesCounted);
        ui_.SetProgressPosition(0);
        Pass(false);
    }
    directory_.Release();
    ui_.SetCancelled(false);
    ui_.HideProgress();
}

void TextureSearch::Pass(bool countOnly) {
    countOnly_ = countOnly;
    visited_.clear();
    if (!countOnly) {
        SearchWalkedDirectories();
        return;
    }
    walked_.clear();
    if (!options_.explicitFiles.empty()) {
        SearchDirectory({}, countOnly);
    } else if (!options_.libraryDirectories) {
        if (!options_.otherDirectory.empty()) SearchDirectory(WithTrailingSeparator(options_.otherDirectory), countOnly);
    } else {
        for (const auto& path : controller_.Library().LibraryPaths()) {
            if (Cancelled()) return;
            if (!path.empty()) SearchDirectory(WithTrailingSeparator(path), countOnly);
        }
    }
}

// The search pass follows the walk the counting pass has just made: the
// directories are neither resolved nor listed a second time.
void TextureSearch::SearchWalkedDirectories() {
    for (const auto& walked : walked_) {
        if (Cancelled() || !EnterDirectory(walked.directory, false) || !TakeFiles(walked.files, false)) return;
    }
}

void TextureSearch::SearchDirectory(const std::string& directory, bool countOnly) {
    if (!directory.empty()) {
        // A directory reached again through a symbolic link is not searched twice.
        const std::string resolved = CanonicalPath(directory);
        if (resolved.empty() || !visited_.insert(resolved).second) return;
    }
    Walk(directory, countOnly);
}

void TextureSearch::Walk(const std::string& directory, bool countOnly) {
    if (!EnterDirectory(directory, countOnly)) return;
    // One listing serves every pattern and the subdirectories.
    std::vector<DirectoryItem> items;
    if (options_.explicitFiles.empty()) items = ListDirectory(directory);
    std::vector<std::string> files = FilesMatching(directory, items);
    if (countOnly) {
        walked_.push_back({directory, std::move(files)});
        if (!TakeFiles(walked_.back().files, countOnly)) return;
    } else if (!TakeFiles(files, countOnly)) {
        return;
    }
    if (!options_.subdirectories || options_.libraryDirectories || !options_.explicitFiles.empty()) return;
    for (const auto& item : items) {
        if (!item.isDirectory || item.isHidden) continue;
        if (Cancelled()) return;
        SearchDirectory(WithTrailingSeparator(JoinPath(directory, item.name)), countOnly);
    }
}

bool TextureSearch::EnterDirectory(const std::string& directory, bool countOnly) {
    if (countOnly) ++counts_.directoriesCounted;
    else if (!directory.empty()) ui_.SetStatusText(FillIn(Tr("Searching folder: %1"), {WithoutTrailingSeparator(directory)}));
    return !StopRequested();
}

// Counts or searches the files; false when the user cancelled.
bool TextureSearch::TakeFiles(const std::vector<std::string>& files, bool countOnly) {
    bool firstInDirectory = true;
    for (const auto& file : files) {
        if (countOnly) {
            ++counts_.filesCounted;
            ui_.SetStatusText(FillIn(Tr("Counting %1 in %2."),
                                     {FilesText(counts_.filesCounted), FoldersText(counts_.directoriesCounted)}));
        } else {
            ui_.SetStatusText(FillIn(Tr("Searching file: %1"), {FileNameOf(file)}));
            int includeCounter = 0;
            SearchFile(file, &includeCounter, &firstInDirectory);
            ui_.StepProgress();
        }
        if (Cancelled()) return false;
    }
    return true;
}

// The files of one directory the patterns match, pattern by pattern; a file
// two patterns match comes twice, as each pattern's own listing would give it.
std::vector<std::string> TextureSearch::FilesMatching(const std::string& directory,
                                                      const std::vector<DirectoryItem>& items) const {
    std::vector<std::string> files;
    if (!options_.explicitFiles.empty()) {
        for (const auto& pattern : patterns_)
            if (FileExists(pattern)) files.push_back(MakeAbsolute(pattern));
        return files;
    }
    const std::string absolute = WithTrailingSeparator(MakeAbsolute(directory));
    for (const auto& pattern : patterns_) {
        if (pattern.find(kPathSeparator) == std::string::npos) {
            for (const auto& item : items)
                if (!item.isDirectory && MatchesWildcard(item.name, pattern)) files.push_back(absolute + item.name);
            continue;
        }
        // A pattern with a folder of its own lists that folder.
        std::string folder, wildcard;
        SplitPath(JoinPath(directory, pattern), folder, wildcard);
        for (const auto& item : ListDirectory(folder, wildcard))
            if (!item.isDirectory) files.push_back(MakeAbsolute(JoinPath(folder, item.name)));
    }
    return files;
}

int TextureSearch::SearchFile(const std::string& path, int* includeCounter, bool* firstInDirectory) {
    return SearchFileAt(path, includeCounter, firstInDirectory, false);
}

int TextureSearch::SearchFileAt(const std::string& path, int* includeCounter, bool* firstInDirectory, bool included) {
    if (included && includeCounter) {
        if (*includeCounter >= kMaxFollowedIncludes) return 0;
        ++*includeCounter;
    }
    // Followed includes nest: each depth has a stream of its own.
    if (streams_.size() <= streamDepth_) streams_.push_back(std::make_unique<ScanStream>(kSearchLineCapacity));
    ScanStream& stream = *streams_[streamDepth_];
    stream.rest = {};
    // The files a directory's walk found are opened through the directory;
    // included files, which lie anywhere, by their paths.
    const size_t slash = path.rfind(kPathSeparator);
    const bool inDirectory = !included && slash != std::string::npos &&
                             directory_.Hold(std::string_view(path).substr(0, slash + 1));
    if (!(inDirectory ? stream.reader.OpenIn(directory_, path.c_str() + slash + 1) : stream.reader.Open(path))) return 0;
    ++streamDepth_;
    // Finds in included files count for the directory being searched, too.
    if (!included) firstInDirectory_ = firstInDirectory;
    else firstInDirectory = firstInDirectory_;
    const std::string absolute = MakeAbsolute(path);
    ScannedFile target;
    SplitPath(absolute, target.directory, target.fileName);
    // The time the opening found, unless the name as given may lead elsewhere.
    if (absolute == path) target.lastWrite = stream.reader.LastWrite();
    int added = 0;
    std::string name;
    int kind;
    while ((kind = ScanDeclarationsForSearch(&absolute, stream, &name, includeCounter, true, *this)) != kScanEnd) {
        if (!options_.WantsKind(kind)) continue;
        if (name.size() > kMaxListFileString) {
            SkipName(name, absolute);
            continue;
        }
        if (!controller_.AddScannedEntry(target, name, kind)) continue;
        ++counts_.textures;
        if (firstInDirectory && *firstInDirectory) {
            *firstInDirectory = false;
            ++counts_.directories;
        }
        if (++added == 1) ++counts_.files;
    }
    // Once per file, not per entry: a file of many entries would otherwise
    // spend more on the text than on finding them.
    if (added > 0) ShowResult();
    stream.reader.Close();
    --streamDepth_;
    return added;
}

// A name the list file could not hold would make every later save fail.
void TextureSearch::SkipName(const std::string& name, const std::string& path) {
    if (counts_.skippedNames++ == 0) {
        counts_.firstSkippedName = name;
        counts_.firstSkippedFile = path;
    }
    ShowResult();
}

void TextureSearch::ShowResult() {
    // The text is rebuilt in place rather than anew.
    statusText_.clear();
    AppendSearchResultText(statusText_, counts_.textures, counts_.files, counts_.directories, counts_.skippedNames);
    ui_.SetStatusText(statusText_);
}

bool TextureSearch::StopRequested() { return ui_.IsCancelled(); }

void TextureSearch::LineRead() { ++counts_.lines; }

void TextureSearch::LinesRead(long long n) { counts_.lines += n; }

void TextureSearch::IncludeFound(const std::string& path, const std::string& fileName, int* includeCounter) {
    if (!options_.followIncludes || !includeCounter || countOnly_) return;
    const std::string found = ResolveIncludeFile(fileName, DirectoryOf(path), controller_.Library().LibraryPaths());
    if (!found.empty()) SearchFileAt(found, includeCounter, firstInDirectory_, true);
}

bool TextureSearch::Cancelled() const { return ui_.IsCancelled(); }

SearchCounts SearchTextures(LibraryController& controller, const SearchOptions& options) {
    TextureSearch search(controller, options);
    search.Run();
    return search.Counts();
}

}  // namespace sc
