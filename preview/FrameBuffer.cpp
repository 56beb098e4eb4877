#include "preview/FrameBuffer.h"

#include <algorithm>

namespace sc {

void FrameBuffer::SetSize(int width, int height) {
    if (width < 0 || height < 0) width = height = 0;
    if (width == width_ && height == height_) return;
    width_ = width;
    height_ = height;
    pixels_.assign(static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 3, 0);
}

void FrameBuffer::Clear() { std::fill(pixels_.begin(), pixels_.end(), 0); }

bool FrameBuffer::PutRow(int row, int width, const std::uint8_t* rgb, std::size_t size) {
    if (pixels_.empty() || !rgb || row < 0 || row >= height_ || width != width_ ||
        size < static_cast<std::size_t>(width) * 3)
        return false;
    std::uint8_t* target = pixels_.data() + static_cast<std::size_t>(height_ - 1 - row) * width_ * 3;
    for (int x = 0; x < width; ++x) {
        target[x * 3] = rgb[x * 3 + 2];
        target[x * 3 + 1] = rgb[x * 3 + 1];
        target[x * 3 + 2] = rgb[x * 3];
    }
    return true;
}

}  // namespace sc
