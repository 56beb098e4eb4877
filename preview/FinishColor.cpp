#include "preview/FinishColor.h"

#include <charconv>

#include "platform/IniFile.h"
#include "platform/ProgramFolders.h"

namespace sc {

double LeadingNumber(const std::string& text) {
    size_t start = text.find_first_not_of(" \t");
    if (start == std::string::npos) return 0.0;
    bool negative = false;
    if (text[start] == '+' || text[start] == '-') {
        negative = text[start] == '-';
        ++start;
    }
    double value = 0.0;
    const char* first = text.data() + start;
    const char* last = text.data() + text.size();
    if (first == last || *first == '+' || *first == '-') return 0.0;
    const auto result = std::from_chars(first, last, value, std::chars_format::general);
    if (result.ec == std::errc::invalid_argument) return 0.0;
    return negative ? -value : value;
}

FinishColor ReadFinishColor(const std::string& settingsPath) {
    IniFile ini(settingsPath);
    ini.Load();
    const std::string r = ini.GetString("FinishColor", "R");
    const std::string g = ini.GetString("FinishColor", "G");
    const std::string b = ini.GetString("FinishColor", "B");
    FinishColor color;
    if (!r.empty() && !g.empty() && !b.empty()) {
        color.red = LeadingNumber(r);
        color.green = LeadingNumber(g);
        color.blue = LeadingNumber(b);
    }
    color.filter = LeadingNumber(ini.GetString("FinishColor", "F"));
    return color;
}

FinishColor ReadFinishColor() { return ReadFinishColor(SettingsFilePath()); }

std::string FinishPigment(const FinishColor& color) {
    return " pigment { color rgbf<" + FormatStreamNumber(color.red) + "," + FormatStreamNumber(color.green) + "," +
           FormatStreamNumber(color.blue) + "," + FormatStreamNumber(color.filter) + "> }";
}

}  // namespace sc
