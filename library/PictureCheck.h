#pragma once
// The library reads and writes previews as opaque streams; only list files
// older than those that store the colour sums need a picture decoded. That
// decoding belongs to the preview codec, which hands the library this check.
#include <string>

#include "library/PreviewImage.h"

namespace sc {

class PictureCheck {
public:
    virtual ~PictureCheck() = default;
    // Sets the image's colour sums from its decoded picture (scaled as the
    // sums of a full-size preview); false with `error` when the stream does
    // not decode, leaving the sums untouched.
    virtual bool ComputeStatsFromPicture(PreviewImage& image, std::string& error) = 0;
};

}  // namespace sc
