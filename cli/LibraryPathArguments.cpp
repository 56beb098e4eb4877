#include "cli/LibraryPathArguments.h"

namespace sc::cli {

std::vector<std::string> DefaultLibraryPaths() { return {}; }

std::vector<std::string> TakeLibraryPaths(ArgumentList& arguments) {
    auto paths = arguments.TakeValues("--library-path");
    return paths.empty() ? DefaultLibraryPaths() : paths;
}

}  // namespace sc::cli
