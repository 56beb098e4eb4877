#pragma once
// Path text rules of the platform. Paths are byte strings (UTF-8 on Linux).
#include <climits>
#include <string>
#include <string_view>

namespace sc {

// The directory separator of the platform.
inline constexpr char kPathSeparator = '/';

// The longest path the platform's file functions accept (PATH_MAX).
inline constexpr std::size_t kMaxPathLength = PATH_MAX;

// Joins a directory and a name: a separator is inserted unless the directory
// is empty or already ends in one.
std::string JoinPath(std::string_view directory, std::string_view name);

// Appends a separator to a non-empty directory that does not end in one.
std::string WithTrailingSeparator(std::string_view directory);

// Removes one trailing separator, except from the root "/".
std::string WithoutTrailingSeparator(std::string_view directory);

// Splits a full path into its directory (with trailing separator, or empty
// when the path has none) and its file name (name and extension).
void SplitPath(std::string_view path, std::string& directory, std::string& fileName);

// The file name part (after the last separator).
std::string FileNameOf(std::string_view path);

// The directory part, with trailing separator; empty when there is none.
std::string DirectoryOf(std::string_view path);

// The extension including its dot, or empty.
std::string ExtensionOf(std::string_view path);

// Lower-cases A to Z only (as the scanner and the sort keys do).
std::string ToLowerAscii(std::string_view text);

// True when two file or directory names denote the same name on this
// platform: exact on Linux (case-sensitive file system).
bool SameFileName(std::string_view a, std::string_view b);

// A lookup key under which names that SameFileName calls equal coincide.
std::string FileNameKey(std::string_view name);

// True when `path` starts with a root (absolute path).
bool IsAbsolutePath(std::string_view path);

// Makes a path absolute against the current directory and removes "." and
// ".." segments lexically.
std::string MakeAbsolute(std::string_view path);

// A path (or any text) as one word for the POSIX shell: in single quotes,
// each single quote written as '\''.
std::string ShellQuoted(std::string_view text);

}  // namespace sc
