#include "ui/TextFit.h"

namespace sc {
namespace {

// The length of the text without its last character (a UTF-8 sequence).
size_t WithoutLastCharacter(std::string_view text) {
    size_t end = text.size();
    if (end == 0) return 0;
    --end;
    while (end > 0 && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80) --end;
    return end;
}

}  // namespace

std::string ShortenToWidth(std::string_view text, const TextWidth& width, int limit) {
    if (width(text) < limit) return std::string(text);
    std::string_view kept = text;
    std::string candidate;
    do {
        kept = kept.substr(0, WithoutLastCharacter(kept));
        candidate.assign(kept);
        candidate += "...";
    } while (!kept.empty() && width(candidate) >= limit);
    return candidate;
}

}  // namespace sc
