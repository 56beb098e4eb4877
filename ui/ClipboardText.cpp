#include "ui/ClipboardText.h"

#include "library/EntryColor.h"
#include "platform/NumberText.h"

namespace sc {

std::string ClipboardTextOfLines(const std::vector<std::string>& lines) {
    constexpr size_t kMaxLine = 511;
    std::string text;
    for (const std::string& line : lines) {
        text += line.substr(0, kMaxLine);
        text += "\n";
    }
    return text;
}

std::string RgbVectorText(const EntryColor& color) {
    // POV-Ray reads only a point before the decimals, whatever the user's locale.
    return "color rgb <" + FormatFixed(color.red, 6) + ", " + FormatFixed(color.green, 6) + ", " +
           FormatFixed(color.blue, 6) + ">";
}

}  // namespace sc
