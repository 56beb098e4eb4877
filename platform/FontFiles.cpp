#include "platform/FontFiles.h"

#include <cstdio>

#include "platform/PathUtil.h"

namespace sc {

const std::vector<std::string>& InstalledFontFiles() {
    static const std::vector<std::string> files = [] {
        std::vector<std::string> result;
        FILE* pipe = popen("fc-list --format '%{file}\\n' 2>/dev/null", "r");
        if (!pipe) return result;
        std::string line;
        char buffer[4096];
        while (fgets(buffer, sizeof buffer, pipe)) {
            line += buffer;
            if (line.empty() || line.back() != '\n') continue;
            line.pop_back();
            if (!line.empty()) result.push_back(line);
            line.clear();
        }
        pclose(pipe);
        return result;
    }();
    return files;
}

std::string FindInstalledFont(std::string_view fileName) {
    for (const auto& file : InstalledFontFiles())
        if (FileNameOf(file) == fileName) return file;
    return {};
}

}  // namespace sc
