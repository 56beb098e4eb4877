#pragma once
// Where the program keeps its settings file and its own folders (preview,
// templates, ini, samples, libs): beside the executable when that folder is
// writable (build tree, portable install), else in the user's XDG folders.
#include <string>
#include <string_view>

namespace sc {

// The folder of the running executable (where the bridge and the render host
// lie), without a trailing separator.
std::string ExecutableDir();

// The program's data folder: the executable's folder when writable, else
// $XDG_DATA_HOME/swatchcraft (created). Without a trailing separator.
std::string ProgramDataDir();

// The full path of a program folder such as "preview" or "templates" below
// ProgramDataDir(); created when missing unless `create` is false.
std::string ProgramFolder(std::string_view name, bool create = true);

// The settings file: swatchcraft.ini beside the executable when its folder
// is writable, else $XDG_CONFIG_HOME/swatchcraft/swatchcraft.ini (its folder
// is created).
std::string SettingsFilePath();

// The program's folder under $XDG_CONFIG_HOME (swatchcraft), created.
std::string ConfigDir();

// The program's folder under $XDG_CACHE_HOME (swatchcraft), created: what
// it holds can always be made again.
std::string CacheDir();

// A file or folder shipped with the program (tips, help page): beside the
// executable in a build tree, else in the installed share/swatchcraft folder.
// The path beside the executable when it is found in neither.
std::string ProgramResourcePath(std::string_view name);

// The user's documents folder: XDG_DOCUMENTS_DIR from the environment or
// from $XDG_CONFIG_HOME/user-dirs.dirs when that folder exists, else $HOME.
std::string UserDocumentsDir();

// Makes sure the user's own copy of a shipped file (an overview template, a
// render ini file) lies at `path`: a missing one is copied from the shipped
// file `resource` (ProgramResourcePath); one the user has is never replaced.
void ProvideUserCopy(const std::string& path, std::string_view resource);

// Redirects the data folder and the settings file into `dir` (tests and
// callers that want a private place); an empty text restores the rule above.
// The environment variable SWATCHCRAFT_DATA_DIR has the same effect.
void SetProgramDataDirOverride(std::string dir);

}  // namespace sc
