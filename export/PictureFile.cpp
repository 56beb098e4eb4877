// Ordinary picture files from upright RGB pixels.
#include "export/PictureFile.h"

#include <zlib.h>

#include <algorithm>

#include "platform/FileSystem.h"
#include "platform/PathUtil.h"

namespace sc {
namespace {

// Rendered previews are smooth gradients: the "sub" filter (each byte minus
// its left neighbour) lets deflate find far more repeats than raw rows. The
// fastest level halves the files against stored blocks; higher levels gain
// a few per cent at twice the time, which a thousand pictures notice.
constexpr int kCompressionLevel = 1;
constexpr char kFilterSub = 1;

void PutU32BigEndian(std::string& out, std::uint32_t v) {
    for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<char>(v >> shift));
}

void PutChunk(std::string& out, const char* type, const std::string& data) {
    PutU32BigEndian(out, static_cast<std::uint32_t>(data.size()));
    const std::size_t start = out.size();
    out.append(type, 4);
    out.append(data);
    const auto* typeAndData = reinterpret_cast<const Bytef*>(out.data() + start);
    PutU32BigEndian(out, static_cast<std::uint32_t>(crc32(0, typeAndData, static_cast<uInt>(out.size() - start))));
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
    z_stream stream{};
    if (deflateInit2(&stream, kCompressionLevel, Z_DEFLATED, 15, 8, Z_DEFAULT_STRATEGY) != Z_OK) return {};
    std::string z(deflateBound(&stream, static_cast<uLong>(raw.size())), '\0');
    stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(raw.data()));
    stream.avail_in = static_cast<uInt>(raw.size());
    stream.next_out = reinterpret_cast<Bytef*>(z.data());
    stream.avail_out = static_cast<uInt>(z.size());
    const bool done = deflate(&stream, Z_FINISH) == Z_STREAM_END;
    z.resize(stream.total_out);
    deflateEnd(&stream);
    return done ? z : std::string();
}

}  // namespace

RgbPicture UprightPicture(const DecodedPicture& decoded) {
    RgbPicture picture{decoded.width, decoded.height, {}};
    picture.pixels.resize(decoded.pixels.size());
    const std::size_t rowLength = static_cast<std::size_t>(decoded.width) * 3;
    for (int row = 0; row < decoded.height; ++row) {
        const std::size_t storedRow = static_cast<std::size_t>(decoded.height - 1 - row);
        const std::uint8_t* from = decoded.pixels.data() + rowLength * storedRow;
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
