#pragma once
// The POV-Ray library paths a command works with.
#include <string>
#include <vector>

#include "cli/ArgumentList.h"

namespace sc::cli {

// Takes every "--library-path DIR", in order; when none are given, the paths
// the configured POV-Ray reads from its povray.ini.
std::vector<std::string> TakeLibraryPaths(ArgumentList& arguments);

}  // namespace sc::cli
