#include "cli/CommandLibrary.h"

#include <iostream>

#include "library/LibraryController.h"
#include "library/LibraryFile.h"
#include "platform/FileSystem.h"
#include "platform/PathUtil.h"
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
        controller.Ui().ShowMessage(FileMissingMessage(source), MessageIcon::Exclamation);
        return false;
    }
    TextureSearch search(controller, options);
    search.RunPasses();
    if (!controller.Library().NextEntry(nullptr)) {
        std::cerr << "In \"" << source << "\" wurden keine Texturen gefunden.\n";
        return false;
    }
    return true;
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
