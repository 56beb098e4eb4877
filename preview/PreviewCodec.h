#pragma once
// The in-memory JPEG encoder and decoder of preview pictures (libjpeg,
// version 6 interface). Pixel buffers are stored exactly as given: the
// preview window's bottom-up blue-green-red rows go into the stream declared
// as RGB, and decoding gives the rows back in stream order.
//
// A fatal libjpeg error makes the operation fail. With a user interface the
// failure is shown once as the "JPEG Fatal Error" message; code that must not
// open dialogs (painting, fuzzing) passes no interface and may collect the
// library's text through `errorText` instead.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "library/PictureCheck.h"
#include "library/PreviewImage.h"

namespace sc {

class UserInterface;

// Decoded pictures larger than this on either side are refused: no preview
// comes near it, and a damaged header must not make the decoder allocate
// without bound.
inline constexpr int kMaxDecodedSide = 4096;

// A decoded picture: width x height pixels of 3 bytes, rows packed.
struct DecodedPicture {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> pixels;
};

// Compresses `pixels` (width x height x 3 bytes, `size` bytes available)
// into the image's stream at `quality` (0 to 100, baseline tables). The old
// stream is dropped first, so a failure leaves the image without stream; the
// colour sums are not touched. False on any libjpeg error or when the buffer
// is too short for the given size.
bool Encode(PreviewImage& image, const std::uint8_t* pixels, std::size_t size, int width,
            int height, int quality, UserInterface* ui, std::string* errorText = nullptr);

// Decompresses the image's stream into `picture`, 3 bytes per pixel exactly
// as stored. False (and `picture` emptied) on a missing or damaged stream, a
// picture beyond kMaxDecodedSide, or missing memory.
bool Decode(const PreviewImage& image, DecodedPicture& picture, UserInterface* ui,
            std::string* errorText = nullptr);

// The picture's size from its stream's header, without decoding its pixels.
// False for a missing stream, a damaged header or a picture beyond
// kMaxDecodedSide; a stream whose pixels are damaged may still pass.
bool ReadPictureSize(const PreviewImage& image, int& width, int& height);

// The picture check the program hands its library controllers: decodes with
// this codec and computes the colour sums as a render would.
PictureCheck& CodecPictureCheck();

}  // namespace sc
