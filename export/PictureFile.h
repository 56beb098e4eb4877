#pragma once
// Writing upright RGB pictures as ordinary image files: binary PPM, and PNG
// compressed with zlib, so no image library is needed.
#include <cstdint>
#include <string>
#include <vector>

#include "preview/PreviewCodec.h"

namespace sc {

// An upright picture: rows top to bottom, pixels red, green, blue.
struct RgbPicture {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> pixels;
};

// A decoded preview turned upright: the stored rows run bottom-up with
// blue, green, red pixels.
RgbPicture UprightPicture(const DecodedPicture& decoded);

// Decodes an entry's stored preview into an upright picture. False (with
// `picture` emptied) for a missing or damaged stream; no message is shown.
bool DecodeUprightPreview(const PreviewImage& preview, RgbPicture& picture);

// The picture as a binary PPM (P6) or PNG file image.
std::string EncodePpm(const RgbPicture& picture);
std::string EncodePng(const RgbPicture& picture);

// Writes the picture in the format its extension names (.png or .ppm,
// without regard to case). False for another extension or a write failure.
bool WritePictureFile(const std::string& path, const RgbPicture& picture);

}  // namespace sc
