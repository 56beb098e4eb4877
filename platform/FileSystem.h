#pragma once
// File system queries of the platform.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

struct stat;

namespace sc {

// Last-write time as nanoseconds since the epoch; 0 means "cannot be opened".
using FileTime = std::uint64_t;

// True when `path` names an existing regular file whose
// name matches exactly (a wildcard pattern never counts as existing).
bool FileExists(std::string_view path);

// The existing regular file `path` names as a Windows file system would
// find it: the path itself when it exists, else the file whose every
// component matches the written one without regard to case (where two
// names match, the one in the written case wins, else the first by name).
// The result names the file as it is on disk; empty when there is none.
// Collections written on Windows or DOS name their files in any case.
std::string FindFileAnyCase(std::string_view path);

// True when `path` (a trailing separator allowed) is an existing directory.
// An empty path is false.
bool DirectoryExists(std::string_view path);

// `path` when it is an existing directory, else its nearest existing parent;
// empty when not even the root of a relative path exists.
std::string NearestExistingDirectory(std::string_view path);

// True when something (a file, directory, fifo, device ...) exists at `path`.
bool PathExists(std::string_view path);

// The file's last-write time when it can be opened for reading, else 0.
FileTime LastWriteTime(std::string_view path);
// The same from what fstat or stat reported for a file already opened.
FileTime LastWriteTimeOf(const struct stat& status);

// True for a name the platform treats as hidden (leading dot on Linux).
bool IsHiddenName(std::string_view name);

struct DirectoryItem {
    std::string name;
    bool isDirectory = false;
    bool isHidden = false;
};

// True when `name` matches the shell wildcard `pattern` as a directory
// listing would match it (a leading dot only by a leading dot).
bool MatchesWildcard(std::string_view name, std::string_view pattern);

// Lists the entries of a directory (without "." and ".."), sorted by name.
// `pattern` is a shell wildcard ("*.inc"); empty matches everything.
// An unreadable directory gives an empty list.
std::vector<DirectoryItem> ListDirectory(std::string_view directory, std::string_view pattern = {});

// The path with every symbolic link, "." and ".." resolved; empty when it
// does not exist. Lets directory walks notice that they went round in a loop.
std::string CanonicalPath(std::string_view path);

// Reads a whole file; false when it cannot be read.
bool ReadWholeFile(std::string_view path, std::string& contents);

// Writes `contents` into a temporary file beside `path`, flushes it to disk
// and renames it over `path`; a `path` the process may not write (a
// read-only file) is refused as opening it for writing would be. The old
// file stays untouched on any failure, a write beyond the process's
// file-size limit included. When `path` is a symbolic link, its final
// target is written and the link stays. Temporary files that an earlier,
// killed save left beside the target are removed.
bool WriteFileAtomically(std::string_view path, std::string_view contents);

// The same without the flush to disk and the look for leftovers, for the
// many files of an export that can be written again: a failed write (a
// full disk) still leaves the old file, or none, never a truncated one.
bool WriteFileWhole(std::string_view path, std::string_view contents);

// The file a path finally names once every symbolic link on its last
// component is followed (a link may point at a file not yet created); the
// path itself when it is no link.
std::string LinkTarget(std::string_view path);

// Makes writes beyond the process's file-size limit fail with an error
// instead of ending the process, so they are reported like a full disk.
void TreatFileSizeLimitAsWriteError();

// Deletes a file; true when it is gone afterwards.
bool RemoveFile(std::string_view path);

// Creates a directory and its missing parents; true when it exists afterwards.
bool CreateDirectories(std::string_view path);

}  // namespace sc
