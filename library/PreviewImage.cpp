#include "library/PreviewImage.h"

#include <algorithm>
#include <cstring>

namespace sc {
namespace {

bool BufferHolds(std::size_t size, int width, int height) {
    if (width <= 0 || height <= 0) return false;
    const std::uint64_t needed =
        static_cast<std::uint64_t>(width) * static_cast<std::uint64_t>(height) * 3u;
    return size >= needed;
}

// Larger over smaller as a single-precision float; 99 when the smaller is 0.
float SumRatio(std::uint32_t a, std::uint32_t b) {
    const std::uint32_t larger = std::max(a, b);
    const std::uint32_t smaller = std::min(a, b);
    if (smaller == 0) return 99.0f;
    return static_cast<float>(larger) / static_cast<float>(smaller);
}

bool SumsAlike(const PreviewImage& a, const PreviewImage& b) {
    return SumRatio(a.sumRed, b.sumRed) < 1.002 && SumRatio(a.sumGreen, b.sumGreen) < 1.002 &&
           SumRatio(a.sumBlue, b.sumBlue) < 1.002 &&
           SumRatio(a.sumMiddleRow, b.sumMiddleRow) < 1.002;
}

}  // namespace

void ComputeStats(PreviewImage& image, const std::uint8_t* pixels, std::size_t size, int width,
                  int height) {
    if (!pixels || !BufferHolds(size, width, height)) return;
    const std::size_t n = static_cast<std::size_t>(width) * static_cast<std::size_t>(height);
    std::uint32_t red = 0, green = 0, blue = 0;
    for (std::size_t i = 0; i < n; ++i) {
        const std::uint8_t* p = pixels + i * 3;
        blue += p[0];
        green += p[1];
        red += p[2];
    }
    // One row's length of bytes from the middle of the buffer. For a picture
    // of one row that run would leave the buffer, so it stops at the end.
    const std::size_t start = n * 3 / 2;
    const std::size_t end = std::min(start + static_cast<std::size_t>(width) * 3, n * 3);
    std::uint32_t middle = 0;
    for (std::size_t i = start; i < end; ++i) middle += pixels[i];
    image.sumRed = red;
    image.sumGreen = green;
    image.sumBlue = blue;
    image.sumMiddleRow = middle * static_cast<std::uint32_t>(height) / 3u;
    image.statsValid = true;
}

void ScaleStats(PreviewImage& image, std::uint32_t factor) {
    image.sumRed *= factor;
    image.sumGreen *= factor;
    image.sumBlue *= factor;
    image.sumMiddleRow *= factor;
}

void SetStats(PreviewImage& image, std::uint32_t red, std::uint32_t green, std::uint32_t blue,
              std::uint32_t middleRow) {
    image.sumRed = red;
    image.sumGreen = green;
    image.sumBlue = blue;
    image.sumMiddleRow = middleRow;
    image.statsValid = true;
}

void Clear(PreviewImage& image) {
    image.jpegData.clear();
    image.jpegData.shrink_to_fit();
    SetStats(image, 0, 0, 0, 0);
    image.statsValid = false;
}

int Compare(const PreviewImage& a, const PreviewImage& b) {
    if (a.IsEmpty() && b.IsEmpty()) return 0;
    if (a.IsEmpty()) return 1;
    if (b.IsEmpty()) return -1;
    if (a.statsValid && b.statsValid && SumsAlike(a, b)) return 0;
    // Totals in 64 bits so that large sums cannot wrap into a wrong order.
    const std::uint64_t totalA = std::uint64_t{a.sumRed} + a.sumGreen + a.sumBlue;
    const std::uint64_t totalB = std::uint64_t{b.sumRed} + b.sumGreen + b.sumBlue;
    if (totalA != totalB) return totalA < totalB ? -1 : 1;
    const std::size_t common = std::min(a.jpegData.size(), b.jpegData.size());
    const int bytes = std::memcmp(a.jpegData.data(), b.jpegData.data(), common);
    return bytes < 0 ? -1 : (bytes > 0 ? 1 : 0);
}

std::vector<std::uint8_t> PaddedCopy(const std::uint8_t* pixels, std::size_t size, int width,
                                     int height, int& paddedRowLength) {
    paddedRowLength = 0;
    if (!pixels || !BufferHolds(size, width, height)) return {};
    const std::size_t rowLength = static_cast<std::size_t>(width) * 3;
    const std::size_t padded = (rowLength + 3) & ~static_cast<std::size_t>(3);
    std::vector<std::uint8_t> copy(padded * static_cast<std::size_t>(height), 0);
    for (int row = 0; row < height; ++row)
        std::memcpy(copy.data() + padded * row, pixels + rowLength * row, rowLength);
    paddedRowLength = static_cast<int>(padded);
    return copy;
}

}  // namespace sc
