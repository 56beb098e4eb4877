// Feeds arbitrary bytes to the preview decoder as a stored picture: it must
// fail cleanly (no dialog, no crash, bounded memory) or give a picture whose
// buffer matches its size.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "preview/PreviewCodec.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    sc::PreviewImage image;
    image.jpegData.assign(data, data + size);
    sc::DecodedPicture picture;
    std::string error;
    if (sc::Decode(image, picture, nullptr, &error)) {
        if (picture.pixels.size() !=
            static_cast<std::size_t>(picture.width) * static_cast<std::size_t>(picture.height) * 3)
            std::abort();
        sc::ComputeStats(image, picture.pixels.data(), picture.pixels.size(), picture.width,
                         picture.height);
    } else if (!picture.pixels.empty() || (size > 0 && error.empty())) {
        std::abort();
    }
    return 0;
}
