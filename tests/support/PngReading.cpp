#include "PngReading.h"

#include <zlib.h>

#include <cstdlib>

#include "scanner/DeclarationCrc.h"

namespace sc::test {
namespace {

std::uint32_t U32(const std::string& s, std::size_t at) {
    std::uint32_t v = 0;
    for (std::size_t i = 0; i < 4; ++i) v = v << 8 | static_cast<std::uint8_t>(s[at + i]);
    return v;
}

int Paeth(int a, int b, int c) {
    const int p = a + b - c, pa = std::abs(p - a), pb = std::abs(p - b), pc = std::abs(p - c);
    return pa <= pb && pa <= pc ? a : pb <= pc ? b : c;
}

}  // namespace

bool DecodePng(const std::string& png, RgbPicture& picture) {
    if (png.size() < 8 || png.compare(0, 8, "\x89PNG\r\n\x1a\n") != 0) return false;
    std::string compressed;
    for (std::size_t at = 8; at + 12 <= png.size();) {
        const std::uint32_t length = U32(png, at);
        if (at + 12 + length > png.size()) return false;
        const std::string type = png.substr(at + 4, 4);
        if (Crc32(std::string_view(png).substr(at + 4, 4 + length)) != U32(png, at + 8 + length)) return false;
        if (type == "IHDR") {
            picture.width = static_cast<int>(U32(png, at + 8));
            picture.height = static_cast<int>(U32(png, at + 12));
            if (png.substr(at + 16, 5) != std::string("\x08\x02\x00\x00\x00", 5)) return false;
        } else if (type == "IDAT") {
            compressed += png.substr(at + 8, length);
        } else if (type == "IEND") {
            break;
        }
        at += 12 + length;
    }
    const std::size_t stride = static_cast<std::size_t>(picture.width) * 3;
    std::string raw((stride + 1) * static_cast<std::size_t>(picture.height), '\0');
    uLongf rawSize = static_cast<uLongf>(raw.size());
    if (uncompress(reinterpret_cast<Bytef*>(raw.data()), &rawSize, reinterpret_cast<const Bytef*>(compressed.data()),
                   static_cast<uLong>(compressed.size())) != Z_OK ||
        rawSize != raw.size())
        return false;
    picture.pixels.assign(stride * static_cast<std::size_t>(picture.height), 0);
    for (int y = 0; y < picture.height; ++y) {
        const char filter = raw[(stride + 1) * static_cast<std::size_t>(y)];
        const auto* in = reinterpret_cast<const std::uint8_t*>(raw.data()) + (stride + 1) * y + 1;
        std::uint8_t* out = picture.pixels.data() + stride * y;
        const std::uint8_t* up = y > 0 ? out - stride : nullptr;
        for (std::size_t i = 0; i < stride; ++i) {
            const int a = i >= 3 ? out[i - 3] : 0, b = up ? up[i] : 0, c = up && i >= 3 ? up[i - 3] : 0;
            const int predictor = filter == 0 ? 0 : filter == 1 ? a : filter == 2 ? b : filter == 3 ? (a + b) / 2
                                                                                                   : Paeth(a, b, c);
            if (filter < 0 || filter > 4) return false;
            out[i] = static_cast<std::uint8_t>(in[i] + predictor);
        }
    }
    return true;
}

}  // namespace sc::test
