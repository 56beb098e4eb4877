#pragma once
// The library a command works on: a list file, or, in its place, an include
// file or a directory of include files searched for every kind of entry.
#include <string>
#include <vector>

namespace sc {
class FileLock;
class LibraryController;
class TextureEntry;
class TextureLibrary;
}

namespace sc::cli {

// Fills the controller's library from `source`: a list file (*.swl) is
// loaded; an include file, or the *.inc files of a directory, are searched
// for materials, textures, pigments, colors, finishes and normals. False,
// with the message shown through the controller's interface, when the list
// file is missing or damaged or nothing could be found.
bool OpenCommandLibrary(LibraryController& controller, const std::string& source);

// Locks the list file a command is about to read, change and save, so that
// a second command on the same file waits for this one instead of
// overwriting its work. Waits a while (Ctrl+C ends the wait) for another
// program holding it; false, with the message printed, when it stays busy.
bool LockListFile(FileLock& lock, const std::string& path);

// The entries named `name`, in NextEntry order; a non-empty `file` keeps
// only those declared in a file of that name or full path.
std::vector<TextureEntry*> FindNamedEntries(const TextureLibrary& library, const std::string& name,
                                            const std::string& file);

// Tells on standard error that several entries are named `name`, with their
// files, and how to choose one.
void PrintSameNamedEntries(const std::string& name, const std::vector<TextureEntry*>& entries);

// The installed POV-Ray version to assume when none is given: that of the
// first POV-Ray found on the system, else 3.7.
double AssumedPovVersion();

}  // namespace sc::cli
