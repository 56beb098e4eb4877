#pragma once
// Reading the PNG files the program writes (8-bit RGB, not interlaced), so
// tests can compare their pixels with what was stored.
#include <string>

#include "export/PictureFile.h"

namespace sc::test {

// Decodes a PNG file image; false for anything else, a damaged stream or a
// checksum that does not match.
bool DecodePng(const std::string& png, RgbPicture& picture);

}  // namespace sc::test
