// Ordinary picture files from upright RGB pixels.
#include "export/PictureFile.h"

#include <zlib.h>

#include <algorithm>

#include "platform/FileSystem.h"
#include "platform/PathUtil.h"
#include "scanner/DeclarationCrc.h"

namespace sc {
namespace {

// Rendered previews are smooth gradients: the "sub" filter (each byte minus
// its left neighbour) lets deflate find far more repeats than raw rows, and
// a fast level keeps a thousand pictures well within a second.
constexpr int kCompressionLevel = 3;
constexpr char kFilterSub = 1;

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

std::string FilteredRows(const RgbPicture& picture) {
    const std::size_t rowLength = static_cast<std::size_t>(picture.width) * 3;
    std::string raw(static_cast<std::size_t>(picture.height) * (rowLength + 1), '\0');
    for (int row = 0; row < picture.height; ++row) {
        const std::uint8_t* from = picture.pixels.data() + rowLength * static_cast<std::size_t>(row);
        char* to = raw.data() + (rowLength + 1) * static_cast<std::size_t>(row);
        *to++ = kFilterSub;
        for (std::size_t i = 0; i < rowLength; ++i)
            to[i] = static_cast<char>(from[i] - (i >= 3 ? from[i - 3] : 0));
    }
    return raw;
}

std::string Deflated(const std::string& raw) {
    uLongf size = compressBound(static_cast<uLong>(raw.size()));
    std::string z(size, '\0');
    if (compress2(reinterpret_cast<Bytef*>(z.data()), &size, reinterpret_cast<const Bytef*>(raw.data()),
                  static_cast<uLong>(raw.size()), kCompressionLevel) != Z_OK)
        return {};
    z.resize(size);
    return z;
}

}  // namespace

RgbPicture UprightPicture(const DecodedPicture& decoded) {
    RgbPicture picture{decoded.width, decoded.height, {}};
    picture.pixels.resize(decoded.pixels.size());
    const std::size_t rowLength = static_cast<std::size_t>(decoded.width) * 3;
    for (int row = 0; row < decoded.height; ++row) {
        const std::uint8_t* from = decoded.pixels.data() + rowLength * static_cast<std::size_t>(decoded.height - 1 - row);
        std::uint8_t* to = picture.pixels.data() + rowLength * static_cast<std::size_t>(row);
        for (std::size_t i = 0; i < rowLength; i += 3) {
            to[i] = from[i + 2];
            to[i + 1] = from[i + 1];
            to[i + 2] = from[i];
        }
    }
    return picture;
}

bool DecodeUprightPreview(const PreviewImage& preview, RgbPicture& picture) {
    picture = {};
    DecodedPicture decoded;
    if (preview.IsEmpty() || !Decode(preview, decoded, nullptr)) return false;
    picture = UprightPicture(decoded);
    return true;
}

std::string EncodePpm(const RgbPicture& picture) {
    std::string out = "P6\n" + std::to_string(picture.width) + " " + std::to_string(picture.height) + "\n255\n";
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
    const std::string compressed = Deflated(FilteredRows(picture));
    if (compressed.empty()) return {};
    PutChunk(out, "IDAT", compressed);
    PutChunk(out, "IEND", {});
    return out;
}

bool WritePictureFile(const std::string& path, const RgbPicture& picture) {
    const std::string extension = ToLowerAscii(ExtensionOf(path));
    if (extension == ".png") {
        const std::string png = EncodePng(picture);
        return !png.empty() && WriteFileAtomically(path, png);
    }
    if (extension == ".ppm") return WriteFileAtomically(path, EncodePpm(picture));
    return false;
}

}  // namespace sc
