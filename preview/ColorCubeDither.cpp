#include "preview/ColorCubeDither.h"

namespace sc {
namespace {

// Thresholds, outer index column mod 8, inner index row mod 8.
constexpr std::uint8_t kThresholds[8][8] = {
    {0, 38, 9, 47, 2, 40, 11, 50},   {25, 12, 35, 22, 27, 15, 37, 24},
    {6, 44, 3, 41, 8, 47, 5, 43},    {31, 19, 28, 15, 34, 21, 31, 18},
    {1, 39, 11, 49, 0, 39, 10, 48},  {27, 14, 36, 23, 26, 13, 35, 23},
    {7, 46, 4, 43, 7, 45, 3, 42},    {33, 20, 30, 17, 32, 19, 29, 16},
};

}  // namespace

int DitherLevel(std::uint8_t value, int column, int row) {
    // Negative positions (pictures drawn partly off the target) still wrap
    // into the matrix.
    const int t = kThresholds[column & 7][row & 7];
    return value / 51 + (t < value % 51 ? 1 : 0);
}

std::uint8_t DitherPaletteIndex(std::uint8_t red, std::uint8_t green, std::uint8_t blue,
                                int column, int row) {
    return static_cast<std::uint8_t>(kColorCubeFirstEntry + DitherLevel(red, column, row) +
                                     6 * DitherLevel(green, column, row) +
                                     36 * DitherLevel(blue, column, row));
}

}  // namespace sc
