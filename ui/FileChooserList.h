#pragma once
// The rows of the file chooser "Datei(en) auswählen": every file of the
// library directories that matches the type filter, a name found in several
// directories listed once (first directory).
#include <cstdint>
#include <ctime>
#include <string>
#include <vector>

namespace sc {

struct FileChooserRow {
    std::string name;
    std::string directory;  // without trailing separator
    std::uint64_t size = 0;
    std::time_t modified = 0;
};

// The type filters of the chooser, as shown, and their patterns.
struct FileTypeFilter {
    const char* label;     // marked only: Tr() it where shown
    const char* patterns;  // semicolon-separated
};
const std::vector<FileTypeFilter>& FileChooserFilters();

// "%u KB", the size in kilobytes rounded up.
std::string FileSizeText(std::uint64_t bytes);
// "%02i.%02i.%i": day, month and year of the local date.
std::string FileDateText(std::time_t time);

// The matching files of the directories, sorted by name within each
// directory; "*.*" matches every file.
std::vector<FileChooserRow> ListChooserFiles(const std::vector<std::string>& directories, const std::string& patterns);

}  // namespace sc
