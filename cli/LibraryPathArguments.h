#pragma once
// The POV-Ray library paths a command works with.
#include <string>
#include <vector>

#include "cli/ArgumentList.h"

namespace sc::cli {

// The paths POV-Ray itself would use when none are given on the command line.
// None for now: reading them from POV-Ray's settings comes with the library
// path management.
std::vector<std::string> DefaultLibraryPaths();

// Takes every "--library-path DIR", in order; the default paths when none.
std::vector<std::string> TakeLibraryPaths(ArgumentList& arguments);

}  // namespace sc::cli
