#pragma once
// The preview window's picture as rendered: width x height pixels of 3 bytes,
// rows bottom to top and each pixel blue, green, red (a bottom-up 24-bit
// device-independent bitmap; the layout the preview codec stores).
#include <cstddef>
#include <cstdint>
#include <vector>

namespace sc {

class FrameBuffer {
public:
    // Sets the picture size; the buffer is reallocated (zeroed) only when it changes.
    void SetSize(int width, int height);
    // Sets every byte to zero (before each render).
    void Clear();

    // Stores one rendered row (red, green, blue per pixel, left to right) at
    // its place; false, nothing stored, when there is no buffer, the row lies
    // outside the picture, the width differs from the picture's or fewer than
    // width x 3 bytes were given.
    bool PutRow(int row, int width, const std::uint8_t* rgb, std::size_t size);

    int Width() const { return width_; }
    int Height() const { return height_; }
    const std::uint8_t* Pixels() const { return pixels_.data(); }
    std::size_t Size() const { return pixels_.size(); }
    bool Empty() const { return pixels_.empty(); }

private:
    int width_ = 0;
    int height_ = 0;
    std::vector<std::uint8_t> pixels_;
};

}  // namespace sc
