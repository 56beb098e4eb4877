#include "ui/TipFile.h"

#include "platform/FileSystem.h"
#include "platform/IniFile.h"
#include "platform/Translate.h"

namespace sc {

std::vector<std::string> ReadTips(const std::string& path) {
    std::string text;
    std::vector<std::string> tips;
    if (!ReadWholeFile(path, text)) return tips;
    size_t pos = 0;
    while (pos < text.size()) {
        size_t end = text.find('\n', pos);
        if (end == std::string::npos) end = text.size();
        std::string line = text.substr(pos, end - pos);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        // The shipped tips are English and in the catalogue (scripts/update-po.sh
        // takes them from this file); a tip of the user's own stays as written.
        if (!line.empty() && line[0] != ';') tips.push_back(Tr(line.c_str()));
        pos = end + 1;
    }
    return tips;
}

std::string NextTip(const std::string& tipsPath, const std::string& settingsPath) {
    const std::vector<std::string> tips = ReadTips(tipsPath);
    if (tips.empty()) return {};
    const std::string stamp = std::to_string(LastWriteTime(tipsPath));
    int position = GetIniInt(settingsPath, "Tip", "FilePos", 0);
    if (GetIniString(settingsPath, "Tip", "TimeStamp") != stamp || position < 0 ||
        position >= static_cast<int>(tips.size()))
        position = 0;
    WriteIniString(settingsPath, "Tip", "FilePos", std::to_string(position + 1));
    WriteIniString(settingsPath, "Tip", "TimeStamp", stamp);
    return tips[static_cast<size_t>(position)];
}

}  // namespace sc
