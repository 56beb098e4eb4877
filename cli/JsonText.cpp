#include "cli/JsonText.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>

namespace sc::cli {
namespace {

// Length of the valid UTF-8 sequence starting at `i`, or 0.
std::size_t Utf8Length(std::string_view s, std::size_t i) {
    const auto byte = [&](std::size_t k) { return static_cast<std::uint8_t>(s[k]); };
    const std::uint8_t c = byte(i);
    std::size_t length = 0;
    std::uint32_t min = 0;
    if (c >= 0xC2 && c <= 0xDF) length = 2, min = 0x80;
    else if (c >= 0xE0 && c <= 0xEF) length = 3, min = 0x800;
    else if (c >= 0xF0 && c <= 0xF4) length = 4, min = 0x10000;
    else return 0;
    if (i + length > s.size()) return 0;
    std::uint32_t cp = c & (0x7F >> length);
    for (std::size_t k = 1; k < length; ++k) {
        if ((byte(i + k) & 0xC0) != 0x80) return 0;
        cp = (cp << 6) | (byte(i + k) & 0x3F);
    }
    if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return 0;
    return length;
}

void AppendEscape(std::string& out, unsigned code) {
    char buffer[8];
    std::snprintf(buffer, sizeof buffer, "\\u%04x", code);
    out += buffer;
}

}  // namespace

std::string JsonString(std::string_view text) {
    std::string out = "\"";
    for (std::size_t i = 0; i < text.size();) {
        const auto c = static_cast<std::uint8_t>(text[i]);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += static_cast<char>(c);
        } else if (c == '\n') {
            out += "\\n";
        } else if (c == '\t') {
            out += "\\t";
        } else if (c < 0x20 || c == 0x7F) {
            AppendEscape(out, c);
        } else if (c >= 0x80) {
            const std::size_t length = Utf8Length(text, i);
            if (length == 0) {
                AppendEscape(out, c);
                ++i;
                continue;
            }
            out.append(text.substr(i, length));
            i += length;
            continue;
        } else {
            out += static_cast<char>(c);
        }
        ++i;
    }
    return out + "\"";
}

std::string JsonNumber(float value) {
    if (!std::isfinite(value)) return "null";
    char buffer[32];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return std::string(buffer, result.ptr);
}

}  // namespace sc::cli
