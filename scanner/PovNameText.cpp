#include "scanner/PovNameText.h"

#include <algorithm>

namespace sc {
namespace {

bool IsControl(char c) {
    const auto u = static_cast<unsigned char>(c);
    return u < 0x20 || u == 0x7F;
}

}  // namespace

std::string PovLineText(std::string_view name) {
    std::string text(name);
    std::replace_if(text.begin(), text.end(), IsControl, '?');
    return text;
}

std::string PovStringText(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        if (c == '"' || c == '\\') out += '\\';
        out += IsControl(c) ? '?' : c;
    }
    return out;
}

bool PovIncludeNameWritable(std::string_view path) {
    return std::none_of(path.begin(), path.end(), [](char c) { return c == '\\' || IsControl(c); });
}

std::string PovIncludeNameText(std::string_view path) {
    std::string out;
    out.reserve(path.size());
    for (char c : path) {
        if (c == '"') out += '\\';
        out += c;
    }
    return out;
}

}  // namespace sc
