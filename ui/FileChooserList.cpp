#include "ui/FileChooserList.h"

#include <sys/stat.h>

#include <cstdio>
#include <set>

#include "platform/FileSystem.h"
#include "platform/PathUtil.h"
#include "scanner/TextureSearch.h"
#include "platform/Translate.h"

namespace sc {

const std::vector<FileTypeFilter>& FileChooserFilters() {
    static const std::vector<FileTypeFilter> filters = {
        {N_("POV-Ray include files"), "*.inc"},
        {N_("POV-Ray files"), "*.pov;*.inc"},
        {N_("All files"), "*.*"},
    };
    return filters;
}

std::string FileSizeText(std::uint64_t bytes) { return std::to_string((bytes + 1023) / 1024) + " KB"; }

std::string FileDateText(std::time_t time) {
    std::tm parts{};
    localtime_r(&time, &parts);
    char text[32];
    std::snprintf(text, sizeof text, "%02i.%02i.%i", parts.tm_mday, parts.tm_mon + 1, parts.tm_year + 1900);
    return text;
}

std::vector<FileChooserRow> ListChooserFiles(const std::vector<std::string>& directories, const std::string& patterns) {
    std::vector<FileChooserRow> rows;
    std::set<std::string> seen;
    for (const auto& directory : directories) {
        std::set<std::string> names;
        for (std::string pattern : SplitPatterns(patterns)) {
            // Names without a dot have no extension on this platform, yet "*.*" means every file.
            if (pattern == "*.*") pattern = "*";
            for (const auto& item : ListDirectory(directory, pattern))
                if (!item.isDirectory) names.insert(item.name);
        }
        for (const auto& name : names) {
            if (!seen.insert(FileNameKey(name)).second) continue;
            struct stat info {};
            if (stat(JoinPath(directory, name).c_str(), &info) != 0) continue;
            rows.push_back({name, WithoutTrailingSeparator(directory), static_cast<std::uint64_t>(info.st_size),
                            info.st_mtime});
        }
    }
    return rows;
}

}  // namespace sc
