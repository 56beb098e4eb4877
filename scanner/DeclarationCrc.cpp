#include "scanner/DeclarationCrc.h"

#include <array>
#include <string>

#include "library/TextureEntry.h"
#include "scanner/DeclarationText.h"

namespace sc {
namespace {

std::array<std::uint32_t, 256> MakeTable() {
    std::array<std::uint32_t, 256> table{};
    for (std::uint32_t i = 0; i < 256; ++i) {
        std::uint32_t c = i;
        for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
        table[i] = c;
    }
    return table;
}

}  // namespace

std::uint32_t Crc32(std::string_view bytes) {
    static const auto table = MakeTable();
    std::uint32_t crc = 0xFFFFFFFFu;
    for (const char b : bytes) crc = table[(crc ^ static_cast<unsigned char>(b)) & 0xFF] ^ (crc >> 8);
    return crc ^ 0xFFFFFFFFu;
}

std::uint32_t DeclarationCrc(const TextureEntry& entry) {
    if (!entry.record || !entry.record->text) return 0;
    std::string text;
    for (const DeclarationRecord* dependency : entry.dependencies) {
        if (dependency->IsInclude() && dependency->foundElsewhere) {
            text += DependencyLine(*dependency) + "\r\n";
            continue;
        }
        text += "#declare " + dependency->name + " = ";
        if (dependency->text) text += *dependency->text;
        text += "\r\n";
    }
    text += "#declare " + entry.name + " = " + *entry.record->text;
    return Crc32(text);
}

bool IsChanged(const TextureEntry& entry) { return DeclarationCrc(entry) != entry.previewCrc; }

}  // namespace sc
