#include "scanner/TextureSearch.h"

#include <charconv>

#include "library/LibraryController.h"
#include "platform/FileSystem.h"
#include "platform/PathUtil.h"
#include "platform/UserInterface.h"
#include "scanner/DirectoryCompletion.h"
#include "scanner/IncludeIndexer.h"

namespace sc {
namespace {

void AppendCount(std::string& out, int n, std::string_view singular, std::string_view suffix) {
    char digits[16];
    const auto end = std::to_chars(digits, digits + sizeof digits, n).ptr;
    out.append(digits, end);
    out += singular;
    if (n != 1) out += suffix;
}

void AppendSearchResultText(std::string& out, int textures, int files, int directories) {
    AppendCount(out, textures, " Textur", "en");
    out += " in ";
    AppendCount(out, files, " Datei", "en");
    out += " und ";
    AppendCount(out, directories, " Verzeichnis", "sen");
    out += " gefunden.";
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

std::string SearchResultText(int textures, int files, int directories) {
    std::string text;
    AppendSearchResultText(text, textures, files, directories);
    return text;
}

TextureSearch::TextureSearch(LibraryController& controller, SearchOptions options)
    : controller_(controller), ui_(controller.Ui()), options_(std::move(options)) {}

TextureSearch::TextureSearch(LibraryController& controller, SearchOptions options, UserInterface& progress)
    : controller_(controller), ui_(progress), options_(std::move(options)) {}

void TextureSearch::Run() {
    RunPasses();
    OfferDirectoryCompletion();
}

void TextureSearch::OfferDirectoryCompletion() {
    UserInterface& ui = controller_.Ui();
    const auto& paths = controller_.Library().LibraryPaths();
    if (controller_.noDirectoryCount > 0 && !paths.empty()) {
        const std::string question =
            "Die Liste enthält " + std::to_string(controller_.noDirectoryCount) +
            " Texturen in Dateien denen kein Verzeichnis zugeordnet ist.\n" +
            "Das Vorhandensein der Textur und ggf. dessen Anzeige" + " kann aus diesem Grund\n" +
            "nicht gewährleistet werden.\n\n" + "Soll deshalb versucht werden, die betreffenden Texturen " +
            "innerhalb der vorhandenen\nBibliotheksverzeichnisse zu suchen?";
        if (ui.Ask(question, QuestionButtons::YesNo, Answer::No, MessageIcon::Question) == Answer::Yes)
            CompleteDirectories(controller_);
    }
    controller_.Views().Refresh();
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
    ui_.SetCancelled(false);
    ui_.HideProgress();
}

void TextureSearch::Pass(bool countOnly) {
    countOnly_ = countOnly;
    visited_.clear();
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

void TextureSearch::SearchDirectory(const std::string& directory, bool countOnly) {
    if (!directory.empty()) {
        // A directory reached again through a symbolic link is not searched twice.
        const std::string resolved = CanonicalPath(directory);
        if (resolved.empty() || !visited_.insert(resolved).second) return;
    }
    Walk(directory, countOnly);
}

void TextureSearch::Walk(const std::string& directory, bool countOnly) {
    if (countOnly) ++counts_.directoriesCounted;
    else if (!directory.empty()) ui_.SetStatusText("Durchsuche Verzeichnis: " + WithoutTrailingSeparator(directory));
    if (PumpAndCheckCancel()) return;
    bool firstInDirectory = true;
    for (const auto& pattern : patterns_) {
        for (const auto& file : FilesMatching(directory, pattern)) {
            if (countOnly) {
                ++counts_.filesCounted;
                ui_.SetStatusText("Zähle " + std::to_string(counts_.filesCounted) + " Dateien in " +
                                  std::to_string(counts_.directoriesCounted) + " Verzeichnissen.");
            } else {
                ui_.SetStatusText("Durchsuche Datei: " + FileNameOf(file));
                int includeCounter = 0;
                SearchFile(file, &includeCounter, &firstInDirectory);
                ui_.StepProgress();
            }
            if (Cancelled()) return;
        }
    }
    if (!options_.subdirectories || options_.libraryDirectories || !options_.explicitFiles.empty()) return;
    for (const auto& item : ListDirectory(directory, "*")) {
        if (!item.isDirectory || item.isHidden) continue;
        if (Cancelled()) return;
        SearchDirectory(WithTrailingSeparator(JoinPath(directory, item.name)), countOnly);
    }
}

std::vector<std::string> TextureSearch::FilesMatching(const std::string& directory, const std::string& pattern) const {
    std::vector<std::string> files;
    if (!options_.explicitFiles.empty()) {
        if (FileExists(pattern)) files.push_back(MakeAbsolute(pattern));
        return files;
    }
    std::string folder, wildcard;
    SplitPath(JoinPath(directory, pattern), folder, wildcard);
    for (const auto& item : ListDirectory(folder, wildcard))
        if (!item.isDirectory) files.push_back(MakeAbsolute(JoinPath(folder, item.name)));
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
    ScanStream stream(kSearchLineCapacity);
    if (!stream.reader.Open(path)) return 0;
    // Finds in included files count for the directory being searched, too.
    if (!included) firstInDirectory_ = firstInDirectory;
    else firstInDirectory = firstInDirectory_;
    const std::string absolute = MakeAbsolute(path);
    int added = 0;
    std::string name;
    int kind;
    while ((kind = ScanDeclarationsForSearch(&absolute, stream, &name, includeCounter, true, *this)) != kScanEnd) {
        if (!options_.WantsKind(kind)) continue;
        if (!controller_.AddScannedEntry(absolute, name, kind, {}, 0)) continue;
        ++counts_.textures;
        if (firstInDirectory && *firstInDirectory) {
            *firstInDirectory = false;
            ++counts_.directories;
        }
        if (++added == 1) ++counts_.files;
        // Once per entry: the text is rebuilt in place rather than anew.
        statusText_.clear();
        AppendSearchResultText(statusText_, counts_.textures, counts_.files, counts_.directories);
        ui_.SetStatusText(statusText_);
    }
    return added;
}

bool TextureSearch::PumpAndCheckCancel() {
    controller_.Library().PumpMessages();
    return ui_.IsCancelled();
}

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
