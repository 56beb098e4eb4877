// swatchcraft-cli scan: searches directories or files for declarations and
// prints the entries found with the search's result text, or stores them in
// a list file and prints only that text.
#include <iostream>
#include <set>
#include <sstream>

#include "cli/ArgumentList.h"
#include "cli/CommandHelp.h"
#include "cli/CommandLibrary.h"
#include "cli/CommandRegistry.h"
#include "cli/ConsoleUserInterface.h"
#include "cli/JsonText.h"
#include "cli/LibraryPathArguments.h"
#include "library/LibraryController.h"
#include "library/LibraryFile.h"
#include "platform/FileLock.h"
#include "platform/FileSystem.h"
#include "platform/Translate.h"
#include "preview/PreviewCodec.h"
#include "scanner/DeclarationReader.h"
#include "scanner/TextureSearch.h"

namespace sc::cli {
namespace {

constexpr const char* kUsage =
    N_("[--subdirs] [--kinds mtpcfn] [--pattern PATTERN] [--no-includes] [--json] [-o LIST.swl [--add]] PATH...");
constexpr std::string_view kKindLetters = "mtpcfn";

// Remembers the entries a search adds, in the order they were added.
class AddedEntries : public LibraryViews {
public:
    void EntryInserted(TextureEntry* entry) override { added.insert(entry); }
    std::set<const TextureEntry*> added;
};

bool ParseKinds(const std::string& letters, SearchOptions& options) {
    options.kinds.fill(false);
    for (char c : letters) {
        const auto at = kKindLetters.find(c);
        if (at == std::string_view::npos) return false;
        options.kinds[at + 1] = true;
    }
    return true;
}

SearchCounts& operator+=(SearchCounts& total, const SearchCounts& part) {
    total.textures += part.textures;
    total.files += part.files;
    total.directories += part.directories;
    if (total.skippedNames == 0) {
        total.firstSkippedName = part.firstSkippedName;
        total.firstSkippedFile = part.firstSkippedFile;
    }
    total.skippedNames += part.skippedNames;
    return total;
}

// Searches every directory on its own and all files together.
SearchCounts SearchPaths(LibraryController& controller, const SearchOptions& base, const std::vector<std::string>& paths) {
    SearchCounts total;
    SearchOptions files = base;
    for (const auto& path : paths) {
        if (DirectoryExists(path)) {
            SearchOptions options = base;
            options.otherDirectory = path;
            TextureSearch search(controller, options);
            search.RunPasses();
            total += search.Counts();
        } else {
            files.explicitFiles.push_back(path);
        }
    }
    if (!files.explicitFiles.empty()) {
        TextureSearch search(controller, files);
        search.RunPasses();
        total += search.Counts();
    }
    return total;
}

// Without `added` only the closing summary: the entries went into a list file.
void PrintText(const TextureLibrary& library, const AddedEntries* added, const SearchCounts& counts) {
    for (const TextureEntry* e = library.NextEntry(nullptr); added && e; e = library.NextEntry(e)) {
        if (!added->added.count(e)) continue;
        const char letter = e->kind >= 1 && e->kind <= 6 ? kKindLetters[static_cast<size_t>(e->kind - 1)] : '?';
        std::cout << letter << '\t' << e->name << '\t' << e->sourceFile->directory << '\t' << e->sourceFile->fileName
                  << '\n';
    }
    std::cout << SearchResultText(counts.textures, counts.files, counts.directories, counts.skippedNames) << '\n';
}

void PrintJson(const TextureLibrary& library, const AddedEntries* added, const SearchCounts& counts) {
    std::cout << "{\"textures\": " << counts.textures << ", \"files\": " << counts.files
              << ", \"directories\": " << counts.directories;
    if (counts.skippedNames > 0) std::cout << ", \"skippedNames\": " << counts.skippedNames;
    if (!added) {
        std::cout << "}\n";
        return;
    }
    std::cout << ", \"entries\": [";
    const char* separator = "\n  ";
    for (const TextureEntry* e = library.NextEntry(nullptr); e; e = library.NextEntry(e)) {
        if (!added->added.count(e)) continue;
        std::cout << separator << "{\"name\": " << JsonString(e->name) << ", \"kind\": " << e->kind
                  << ", \"category\": " << JsonString(e->category)
                  << ", \"directory\": " << JsonString(e->sourceFile->directory)
                  << ", \"fileName\": " << JsonString(e->sourceFile->fileName) << "}";
        separator = ",\n  ";
    }
    std::cout << "\n]}\n";
}

int RunScan(std::vector<std::string>& args) {
    ArgumentList list(args);
    const auto libraryPaths = TakeLibraryPaths(list);
    SearchOptions options;
    options.subdirectories = list.TakeFlag("--subdirs");
    options.followIncludes = !list.TakeFlag("--no-includes");
    const bool json = list.TakeFlag("--json");
    const auto kinds = list.TakeValue("--kinds");
    if (const auto pattern = list.TakeValue("--pattern")) options.patterns = *pattern;
    const auto output = list.TakeValue("-o");
    const bool addToOutput = list.TakeFlag("--add");
    if (!list.Error().empty() || !list.UnknownOption().empty() || list.Positional().empty() ||
        (kinds && !ParseKinds(*kinds, options)) || (addToOutput && !output)) {
        std::cerr << (list.Error().empty() ? UsageLine("scan", kUsage) : list.Error()) << "\n";
        return 1;
    }
    for (const auto& path : list.Positional()) {
        if (!FileExists(path) && !DirectoryExists(path)) {
            std::cerr << FillIn(Tr("The path \"%1\" does not exist."), {path}) << "\n";
            return 1;
        }
    }
    ConsoleUserInterface::CatchInterrupt();
    ConsoleUserInterface ui;
    LibraryController controller(ui);
    controller.SetDeclarations(&ReaderDeclarations());
    controller.SetPictureCheck(&CodecPictureCheck());
    AddedEntries added;
    controller.SetViews(&added);
    controller.Library().SetLibraryPaths(libraryPaths);
    const SearchCounts counts = SearchPaths(controller, options, list.Positional());
    controller.SetViews(nullptr);
    const AddedEntries* listed = output ? nullptr : &added;
    if (json) PrintJson(controller.Library(), listed, counts);
    else PrintText(controller.Library(), listed, counts);
    if (ConsoleUserInterface::Interrupted()) return 1;
    if (!output) return 0;
    FileLock lock;
    if (!LockListFile(lock, *output)) return 1;
    // With --add the existing list file is merged in add mode, keeping its pictures.
    if (!SaveScannedLibrary(controller, *output, addToOutput)) return 1;
    return 0;
}

const CommandRegistration kScan(
    {"scan", kUsage,
     N_("Searches include files for declarations and prints them or stores them in a list file."),
     {{N_("PATH..."), N_("Include files or folders to search.")},
      {"--subdirs", N_("Searches the subfolders too.")},
      {N_("--kinds mtpcfn"), N_("The kinds to look for: m material, t texture, p pigment, c color, f finish, "
                                "n normal (default: mtp).")},
      {N_("--pattern PATTERN"), N_("Only files whose name matches the pattern, e.g. \"*.inc\" (several separated "
                                   "by \";\").")},
      {"--no-includes", N_("Does not follow the #include statements of the files found.")},
      {"--json", N_("Prints the entries as JSON instead of text.")},
      {N_("-o LIST.swl"), N_("Stores the entries found in this list file instead of printing them; only the "
                             "summary at the end is printed.")},
      {"--add", N_("With -o, adds to an existing list file instead of replacing it.")}},
     N_("scan --subdirs -o my.swl /usr/share/povray-3.7/include"), RunScan});

}  // namespace
}  // namespace sc::cli
