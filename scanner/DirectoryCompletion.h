#pragma once

namespace sc {

class LibraryController;

// Gives entries whose file has no directory the library path directory where
// a file of that name declares them (same name and kind), under the file
// name as found there, and tells how many could not be completed. The
// library paths are read again from their source first.
void CompleteDirectories(LibraryController& controller);

}  // namespace sc
