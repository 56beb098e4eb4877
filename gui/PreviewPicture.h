#pragma once
// An entry's stored preview as a Qt picture, upright and in true colours.
#include <QImage>

namespace sc {

struct PreviewImage;

// Decodes the preview; a null image when there is none or it is damaged.
QImage PreviewToImage(const PreviewImage& preview);

}  // namespace sc
