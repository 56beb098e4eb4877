#pragma once
// The ordered 8 x 8 dither into the six-level colour cube of the 8-bit
// display palette (entries 20 to 235, entry 20 + r + 6g + 36b holding the
// colour (51r, 51g, 51b)). Used wherever pictures are drawn on a palette
// display: the preview window and the picture view.
#include <cstdint>

namespace sc {

// First palette entry of the colour cube.
inline constexpr int kColorCubeFirstEntry = 20;

// Cube level (0 to 5) of one channel value at a target pixel's column and row.
int DitherLevel(std::uint8_t value, int column, int row);

// Palette entry for a pixel of the given colour at a target column and row.
std::uint8_t DitherPaletteIndex(std::uint8_t red, std::uint8_t green, std::uint8_t blue,
                                int column, int row);

}  // namespace sc
