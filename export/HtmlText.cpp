// Escaping and file naming for the exported web page.
#include "export/HtmlText.h"

#include <cstdint>
#include <cstdio>

#include "library/EntryKind.h"

namespace sc {
namespace {

// Length of the valid UTF-8 sequence at `pos`, or 0. Overlong forms,
// surrogates and code points beyond U+10FFFF do not count as valid.
std::size_t Utf8SequenceLength(std::string_view text, std::size_t pos) {
    const auto byte = [&](std::size_t i) { return static_cast<std::uint8_t>(text[i]); };
    const std::uint8_t lead = byte(pos);
    if (lead < 0x80) return 1;
    std::size_t length = 0;
    std::uint32_t code = 0;
    if (lead >= 0xC2 && lead <= 0xDF) length = 2, code = lead & 0x1Fu;
    else if (lead >= 0xE0 && lead <= 0xEF) length = 3, code = lead & 0x0Fu;
    else if (lead >= 0xF0 && lead <= 0xF4) length = 4, code = lead & 0x07u;
    else return 0;
    if (pos + length > text.size()) return 0;
    for (std::size_t i = 1; i < length; ++i) {
        if ((byte(pos + i) & 0xC0) != 0x80) return 0;
        code = (code << 6) | (byte(pos + i) & 0x3Fu);
    }
    if ((length == 3 && (code < 0x800 || (code >= 0xD800 && code <= 0xDFFF))) ||
        (length == 4 && (code < 0x10000 || code > 0x10FFFF)))
        return 0;
    return length;
}

bool IsSafeFileNameChar(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' || c == '_';
}

}  // namespace

std::string ValidUtf8(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t pos = 0; pos < text.size();) {
        const std::size_t length = Utf8SequenceLength(text, pos);
        if (length > 0) {
            out.append(text.substr(pos, length));
            pos += length;
            continue;
        }
        const auto latin1 = static_cast<std::uint8_t>(text[pos++]);
        out.push_back(static_cast<char>(0xC0 | (latin1 >> 6)));
        out.push_back(static_cast<char>(0x80 | (latin1 & 0x3F)));
    }
    return out;
}

std::string EscapeHtml(std::string_view text) {
    std::string out;
    for (char c : ValidUtf8(text)) {
        switch (c) {
        case '&': out += "&amp;"; break;
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        case '"': out += "&quot;"; break;
        case '\'': out += "&#39;"; break;
        default: out.push_back(c);
        }
    }
    return out;
}

std::string SafePictureFileName(int number, std::string_view name) {
    char prefix[16];
    std::snprintf(prefix, sizeof prefix, "%04d", number);
    std::string out = prefix;
    std::string safe;
    for (char c : name)
        if (IsSafeFileNameChar(c) && safe.size() < 40) safe.push_back(c);
    if (!safe.empty()) out += "-" + safe;
    return out + ".png";
}

std::string KindWord(int kind) {
    switch (kind) {
    case kKindMaterial: return "Material";
    case kKindTexture: return "Textur";
    case kKindPigment: return "Pigment";
    case kKindColor: return "Color";
    case kKindFinish: return "Finish";
    case kKindNormal: return "Normal";
    default: return "Sonstige";
    }
}

}  // namespace sc
