#include "cli/LibraryPathArguments.h"

#include "platform/ProgramFolders.h"
#include "povray/LibraryPaths.h"

namespace sc::cli {

std::vector<std::string> TakeLibraryPaths(ArgumentList& arguments) {
    auto paths = arguments.TakeValues("--library-path");
    return paths.empty() ? sc::DefaultLibraryPaths(SettingsFilePath()) : paths;
}

}  // namespace sc::cli
