#include "preview/FinishColor.h"

#include "platform/IniFile.h"
#include "platform/NumberText.h"

namespace sc {

FinishColor FinishColorOf(const IniFile& ini) {
    const std::string r = ini.GetString("FinishColor", "R");
    const std::string g = ini.GetString("FinishColor", "G");
    const std::string b = ini.GetString("FinishColor", "B");
    FinishColor color;
    if (!r.empty() && !g.empty() && !b.empty()) {
        color.red = ParseNumber(r);
        color.green = ParseNumber(g);
        color.blue = ParseNumber(b);
    }
    color.filter = ParseNumber(ini.GetString("FinishColor", "F"));
    return color;
}

FinishColor ReadFinishColor(const std::string& settingsPath) {
    IniFile ini(settingsPath);
    ini.Load();
    return FinishColorOf(ini);
}

std::string FinishPigment(const FinishColor& color) {
    return " pigment { color rgbf<" + FormatGeneral(color.red) + "," + FormatGeneral(color.green) + "," +
           FormatGeneral(color.blue) + "," + FormatGeneral(color.filter) + "> }";
}

}  // namespace sc
