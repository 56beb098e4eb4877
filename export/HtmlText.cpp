// Escaping and file naming for the exported web page.
#include "export/HtmlText.h"

#include <cstdint>
#include <cstdio>

#include "library/EntryKind.h"
#include "platform/Translate.h"

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

// Windows-1252 at 0x80 to 0x9F, where Latin-1 has control characters that
// a page must not hold; the five unassigned bytes become U+FFFD.
constexpr std::uint16_t kWindows1252High[32] = {
    0x20AC, 0xFFFD, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0xFFFD, 0x017D, 0xFFFD, 0xFFFD, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0xFFFD, 0x017E, 0x0178,
};

void AppendUtf8(std::string& out, std::uint32_t code) {
    if (code < 0x80) {
        out.push_back(static_cast<char>(code));
    } else if (code < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (code >> 6)));
        out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xE0 | (code >> 12)));
        out.push_back(static_cast<char>(0x80 | ((code >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
    }
}

// Control characters other than tab and line ends are not allowed in a page.
bool IsForbiddenControl(char c) {
    const auto byte = static_cast<std::uint8_t>(c);
    return (byte < 0x20 && c != '\t' && c != '\n' && c != '\r') || byte == 0x7F;
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
        const auto byte = static_cast<std::uint8_t>(text[pos++]);
        AppendUtf8(out, byte < 0xA0 ? kWindows1252High[byte - 0x80] : byte);
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
        default:
            if (IsForbiddenControl(c)) AppendUtf8(out, 0xFFFD);
            else out.push_back(c);
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
    default: return Tr("Other");
    }
}

}  // namespace sc
