#pragma once
// Change detection of a declaration against its rendered preview.
#include <cstdint>
#include <string_view>

namespace sc {

class TextureEntry;

// CRC-32 (reflected polynomial EDB88320, initial FFFFFFFF, final complement).
std::uint32_t Crc32(std::string_view bytes);

// CRC-32 of the entry's declaration with its dependencies, as it would be
// declared in a scene; 0 when the entry has no text. Load the declaration
// with force first.
std::uint32_t DeclarationCrc(const TextureEntry& entry);

// True when the declaration changed since its preview was rendered.
bool IsChanged(const TextureEntry& entry);

}  // namespace sc
