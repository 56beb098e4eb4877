#include "cli/ImageFileWriter.h"

#include <algorithm>

#include "platform/FileSystem.h"
#include "platform/PathUtil.h"
#include "scanner/DeclarationCrc.h"

namespace sc::cli {
namespace {

constexpr std::size_t kStoredBlockLimit = 65535;

std::uint32_t Adler32(const std::string& bytes) {
    std::uint32_t a = 1, b = 0;
    for (char c : bytes) {
        a = (a + static_cast<std::uint8_t>(c)) % 65521u;
        b = (b + a) % 65521u;
    }
    return (b << 16) | a;
}

void PutU32BigEndian(std::string& out, std::uint32_t v) {
    for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<char>(v >> shift));
}

void PutChunk(std::string& out, const char* type, const std::string& data) {
    PutU32BigEndian(out, static_cast<std::uint32_t>(data.size()));
    const std::size_t start = out.size();
    out.append(type, 4);
    out.append(data);
    PutU32BigEndian(out, Crc32(std::string_view(out).substr(start)));
}

// A zlib stream of stored (uncompressed) deflate blocks.
std::string StoredZlib(const std::string& raw) {
    std::string z = {'\x78', '\x01'};
    std::size_t pos = 0;
    do {
        const std::size_t length = std::min(kStoredBlockLimit, raw.size() - pos);
        const bool last = pos + length == raw.size();
        z.push_back(last ? 1 : 0);
        z.push_back(static_cast<char>(length & 0xFF));
        z.push_back(static_cast<char>(length >> 8));
        z.push_back(static_cast<char>(~length & 0xFF));
        z.push_back(static_cast<char>((~length >> 8) & 0xFF));
        z.append(raw, pos, length);
        pos += length;
    } while (pos < raw.size());
    PutU32BigEndian(z, Adler32(raw));
    return z;
}

}  // namespace

std::string EncodePpm(const RgbPicture& picture) {
    std::string out = "P6\n" + std::to_string(picture.width) + " " +
                      std::to_string(picture.height) + "\n255\n";
    out.append(picture.pixels.begin(), picture.pixels.end());
    return out;
}

std::string EncodePng(const RgbPicture& picture) {
    std::string out = "\x89PNG\r\n\x1a\n";
    std::string header;
    PutU32BigEndian(header, static_cast<std::uint32_t>(picture.width));
    PutU32BigEndian(header, static_cast<std::uint32_t>(picture.height));
    header += std::string("\x08\x02\x00\x00\x00", 5);  // 8 bits, RGB, no interlace
    PutChunk(out, "IHDR", header);
    const std::size_t rowLength = static_cast<std::size_t>(picture.width) * 3;
    std::string raw;
    raw.reserve((rowLength + 1) * static_cast<std::size_t>(picture.height));
    for (int row = 0; row < picture.height; ++row) {
        raw.push_back('\0');  // filter: none
        const auto begin = picture.pixels.begin() + static_cast<long>(rowLength * row);
        raw.append(begin, begin + static_cast<long>(rowLength));
    }
    PutChunk(out, "IDAT", StoredZlib(raw));
    PutChunk(out, "IEND", {});
    return out;
}

bool WritePictureFile(const std::string& path, const RgbPicture& picture) {
    const std::string extension = ToLowerAscii(ExtensionOf(path));
    if (extension == ".png") return WriteFileAtomically(path, EncodePng(picture));
    if (extension == ".ppm") return WriteFileAtomically(path, EncodePpm(picture));
    return false;
}

}  // namespace sc::cli
