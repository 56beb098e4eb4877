#pragma once

namespace sc {

class LibraryController;

// Gives entries whose file has no directory the library path directory where
// a file of that name declares them (same name and kind), and tells how many
// could not be completed.
void CompleteDirectories(LibraryController& controller);

}  // namespace sc
