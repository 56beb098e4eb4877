#pragma once
// An entry's preview: a JPEG stream made in memory from the rendered pixels,
// plus four colour sums that let alike-looking previews be found without
// decoding them.
//
// Pixel buffers handed to and taken from the codec are width x height pixels
// of 3 bytes, rows packed without gaps. The preview window's buffer holds its
// rows bottom-up and each pixel as blue, green, red; the codec stores that
// buffer as it is (declared RGB), and stored list files depend on it.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/Translate.h"

namespace sc {

// Caption of the message that reports a fatal libjpeg error (the list file
// reader names it too when a stored picture does not decode).
// Translated where shown.
inline constexpr const char* kJpegFatalErrorTitle = N_("JPEG Fatal Error");

struct PreviewImage {
    std::vector<std::uint8_t> jpegData;  // empty when the entry has no preview
    std::uint32_t sumRed = 0;
    std::uint32_t sumGreen = 0;
    std::uint32_t sumBlue = 0;
    std::uint32_t sumMiddleRow = 0;
    bool statsValid = false;

    std::uint32_t jpegSize() const { return static_cast<std::uint32_t>(jpegData.size()); }
    bool IsEmpty() const { return jpegData.empty(); }
};

// Sets the four colour sums from a pixel buffer (bytes 2, 1, 0 of each pixel
// are red, green, blue) and marks them valid. A buffer shorter than
// width x height x 3 bytes leaves the image untouched.
void ComputeStats(PreviewImage& image, const std::uint8_t* pixels, std::size_t size, int width,
                  int height);

// Multiplies the four sums by `factor` (4 for previews of the small size).
void ScaleStats(PreviewImage& image, std::uint32_t factor);

// Takes the sums as read from a list file and marks them valid.
void SetStats(PreviewImage& image, std::uint32_t red, std::uint32_t green, std::uint32_t blue,
              std::uint32_t middleRow);

// Drops the stream and zeroes every sum and the valid flag.
void Clear(PreviewImage& image);

// Orders previews for sorting and duplicate search: -1, 0 or 1. Previews
// without a stream sort last; previews whose four sums all agree within
// 0.2 % compare equal; otherwise the colour total decides, then the streams.
int Compare(const PreviewImage& a, const PreviewImage& b);

// A copy of a pixel buffer whose rows are padded with zero bytes to a
// multiple of 4 bytes (the row layout of device-independent bitmaps).
// `paddedRowLength` receives the padded row length. Empty when the buffer is
// shorter than width x height x 3 bytes or a size is not positive.
std::vector<std::uint8_t> PaddedCopy(const std::uint8_t* pixels, std::size_t size, int width,
                                     int height, int& paddedRowLength);

}  // namespace sc
