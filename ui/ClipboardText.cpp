#include "ui/ClipboardText.h"

#include <cstdio>

#include "library/EntryColor.h"

namespace sc {

std::string ClipboardTextOfLines(const std::vector<std::string>& lines) {
    constexpr size_t kMaxLine = 511;
    std::string text;
    for (const std::string& line : lines) {
        text += line.substr(0, kMaxLine);
        text += "\r\n";
    }
    return text;
}

std::string RgbVectorText(const EntryColor& color) {
    char text[128];
    std::snprintf(text, sizeof text, "color rgb <%f, %f, %f>", static_cast<double>(color.red),
                  static_cast<double>(color.green), static_cast<double>(color.blue));
    return text;
}

}  // namespace sc
