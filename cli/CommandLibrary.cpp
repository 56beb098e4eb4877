#include "cli/CommandLibrary.h"

#include <iostream>

#include "cli/ConsoleUserInterface.h"
#include "library/LibraryController.h"
#include "library/LibraryFile.h"
#include "library/ListFileGuard.h"
#include "platform/FileLock.h"
#include "platform/FileSystem.h"
#include "platform/PathUtil.h"
#include "platform/Translate.h"
#include "platform/UserInterface.h"
#include "povray/PovInstallation.h"
#include "povray/PovInstallationSource.h"
#include "scanner/TextureSearch.h"

namespace sc::cli {

bool OpenCommandLibrary(LibraryController& controller, const std::string& source) {
    // A damaged list file is refused as a whole: working on the records
    // before the damage would silently leave entries out.
    if (ToLowerAscii(ExtensionOf(source)) == ".swl") return LoadLibraryReporting(controller, MakeAbsolute(source), false);
    SearchOptions options;
    options.kinds.fill(true);
    options.kinds[0] = false;
    if (DirectoryExists(source))
        options.otherDirectory = MakeAbsolute(source);
    else if (FileExists(source))
        options.explicitFiles.push_back(MakeAbsolute(source));
    else {
        controller.Ui().ShowMessage(NoFileMessage(source), MessageIcon::Exclamation);
        return false;
    }
    TextureSearch search(controller, options);
    search.RunPasses();
    if (!controller.Library().NextEntry(nullptr)) {
        std::cerr << FillIn(Tr("No textures were found in \"%1\"."), {source}) << "\n";
        return false;
    }
    return true;
}

bool LockListFile(FileLock& lock, const std::string& path) {
    const bool locked = AcquireListFileLock(
        lock, path,
        [&path] {
            std::cerr << FillIn(Tr("The file \"%1\" is being edited by another program; waiting..."), {path})
                      << "\n";
        },
        [] { return !ConsoleUserInterface::Interrupted(); });
    if (!locked) std::cerr << FileInUseMessage(path) << "\n";
    return locked;
}

std::vector<TextureEntry*> FindNamedEntries(const TextureLibrary& library, const std::string& name,
                                            const std::string& file) {
    std::vector<TextureEntry*> found;
    for (TextureEntry* e = library.NextEntry(nullptr); e; e = library.NextEntry(e)) {
        const SourceFile& source = *e->sourceFile;
        if (e->name == name && (file.empty() || SameFileName(source.fileName, file) || SameFileName(source.path, file)))
            found.push_back(e);
    }
    return found;
}

void PrintSameNamedEntries(const std::string& name, const std::vector<TextureEntry*>& entries) {
    std::cerr << FillIn(Tr("The entry \"%1\" is declared in several files:"), {name}) << "\n";
    for (const TextureEntry* e : entries) std::cerr << "  " << e->sourceFile->path << "\n";
    std::cerr << Tr("Use --file FILE to choose one of them.") << "\n";
}

double AssumedPovVersion() {
    for (const auto& home : PovInstallationProbe::CandidateHomes()) {
        const std::string text = PovInstallationProbe::VersionTextOf(home);
        const float version = ParsePovVersionText(text).version;
        if (version > 0) return version;
    }
    return 3.7;
}

}  // namespace sc::cli
