#pragma once
// Writing upright RGB pictures as ordinary image files for the tool's users:
// binary PPM, and PNG without compression (stored deflate blocks), so no
// image library is needed.
#include <cstdint>
#include <string>
#include <vector>

namespace sc::cli {

// An upright picture: rows top to bottom, pixels red, green, blue.
struct RgbPicture {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> pixels;
};

// The picture as a binary PPM (P6) or PNG file image.
std::string EncodePpm(const RgbPicture& picture);
std::string EncodePng(const RgbPicture& picture);

// Writes the picture in the format its extension names (.png or .ppm,
// without regard to case). False for another extension or a write failure.
bool WritePictureFile(const std::string& path, const RgbPicture& picture);

}  // namespace sc::cli
