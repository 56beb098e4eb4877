#pragma once
// POV-Ray's library paths: the Library_Path lines of the povray.ini that
// POV-Ray for Unix reads, read in file order and rewritten safely (a backup
// beside the file, the new text written to a temporary file first).
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/UserInterface.h"

namespace sc {

// The "major.minor" folder name POV-Ray uses for its ini files of `home`
// (from its executable, else the newest folder found, else "3.7").
std::string PovIniVersionOf(std::string_view home);
// /etc/povray/<v>/povray.ini for home /usr, home/etc/povray/<v>/povray.ini otherwise.
std::string SystemPovrayIniPath(std::string_view home);
// $HOME/.povray/<v>/povray.ini.
std::string UserPovrayIniPath(std::string_view home);
// The povray.ini POV-Ray reads: the user's when it exists, else the system's.
std::string PovrayIniPath(std::string_view home);
// The povray.ini a change goes to: the user's, created as a copy of the
// system file when missing (or empty when there is none). Empty on failure.
std::string WritablePovrayIniPath(std::string_view home);

// When `line` (leading blanks allowed) is a library path line with a
// non-empty value, stores the value (trimmed, unquoted, without a trailing
// "; comment" and without trailing separator) and returns true.
bool ParseLibraryPathLine(std::string_view line, std::string& value);

// Replaces `list` with the library paths of the home's povray.ini; returns
// their number, 0 when the file cannot be read.
int ReadLibraryPaths(std::string_view home, std::vector<std::string>& list);
// The same for a given ini file.
int ReadLibraryPathsFromFile(std::string_view iniPath, std::vector<std::string>& list);

// True when `directory` is one of the home's library paths.
bool IsLibraryPath(std::string_view home, std::string_view directory);
// True when `fileName` exists as a file in one of the home's library paths.
bool FindInLibraryPaths(std::string_view home, std::string_view fileName);

// The font that stands in for a Windows font file on this system
// ("courbd.ttf" -> "FreeMonoBold.ttf"); other names are returned unchanged.
std::string FontStandIn(std::string_view fileName);
// Looks for `fileName` and then its stand-in in the library paths; returns
// the name found, or empty.
std::string FindFontInLibraryPaths(std::string_view home, std::string_view fileName);
// The folders of the fonts fontconfig knows (`fc-list`), sorted, unique.
std::vector<std::string> FontDirectories();

// Rewrites the library path lines of the ini file in place so that they name
// `paths` in order: a line whose path stays keeps its bytes (and comment),
// a path no longer wanted loses its line, a new one gets a "Library_Path = "
// line (quoted so that POV-Ray reads it whole) among the others, or, in a
// file without any, before the first section label. Every other line keeps
// its bytes. The previous file stays as <name>.bak; on any failure, or for a
// path no ini line can carry, the ini file is left as it was and false is
// returned.
bool RewriteLibraryPaths(std::string_view iniPath, const std::vector<std::string>& paths);

// Removes the lines "library_path = " + path (letter case of the word
// ignored, exactly one blank on each side of "=") from the home's writable
// povray.ini, with the same backup and safety.
bool RemoveLibraryPath(std::string_view home, std::string_view path);

// The POV-Ray home to use when the caller names none: the one configured in
// the settings file at `settingsPath` ("Locations"/"PovHome") when it holds
// POV-Ray, else the first one found on this system; empty when there is none.
std::string DefaultPovHome(std::string_view settingsPath);

// The library paths to use when the caller names none: those of
// DefaultPovHome. Empty when it has no povray.ini.
std::vector<std::string> DefaultLibraryPaths(std::string_view settingsPath);

// A Yes/No question with a "Nicht &erneut fragen" box.
struct SuppressibleAnswer {
    bool yes = false;
    bool dontAskAgain = false;
};
using SuppressibleQuestion = std::function<SuppressibleAnswer(const std::string& text)>;

// Once at start-up: when "Ask"/"DelFontDir" in the settings file is not 0
// and a fontconfig font folder is one of the library paths, asks whether to
// remove it, stores the box at once and removes the path on Yes, reporting
// the result. `fontDirectories` defaults to FontDirectories().
void CheckFontDirectory(std::string_view home, std::string_view settingsPath, UserInterface& ui,
                        const SuppressibleQuestion& ask,
                        const std::vector<std::string>* fontDirectories = nullptr);

// The entry check of the texture search's "Suche in POV-Ray
// &Include-Verzeichnissen": true when the library paths can be searched.
// Missing povray.ini or unusable paths are reported; `editPaths` opens the
// library path dialog (true on OK) when the user wants to fix them.
bool CheckLibraryPathsForSearch(std::string_view home, UserInterface& ui,
                                const std::function<bool()>& editPaths);

}  // namespace sc
