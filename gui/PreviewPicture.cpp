#include "gui/PreviewPicture.h"

#include "library/PreviewImage.h"
#include "preview/PreviewCodec.h"

namespace sc {

QImage PreviewToImage(const PreviewImage& preview) {
    DecodedPicture picture;
    // No user interface: a damaged picture must not open a dialog while painting.
    if (preview.IsEmpty() || !Decode(preview, picture, nullptr)) return {};
    // Stored as the render window keeps it: rows bottom-up, blue-green-red.
    const QImage stored(picture.pixels.data(), picture.width, picture.height, picture.width * 3, QImage::Format_BGR888);
    return stored.mirrored(false, true);
}

}  // namespace sc
