#pragma once
// An entry's preview: a JPEG stream made in memory from the rendered pixels,
// plus four colour sums that let alike-looking previews be found without
// decoding them.
#include <cstdint>
#include <vector>

namespace sc {

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

}  // namespace sc
