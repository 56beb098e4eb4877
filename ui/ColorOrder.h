#pragma once
// The order in which color entries follow each other in the sorted lists:
// greys first (lightest first), then by hue, lightness, saturation and
// luminance, each from high to low.
#include "library/EntryColor.h"

namespace sc {

// Hue, lightness and saturation on a scale of 0 to 36, from the integer
// conversion with an RGB range of 255. A grey has hue 24 and saturation 0.
struct HlsColor {
    int hue = 0;
    int lightness = 0;
    int saturation = 0;
};

// Converts a color whose channels lie in 0 to 1 (values outside are clamped).
HlsColor ToHls(const EntryColor& color);

// -1 when `a` comes first in ascending colour order, 1 when `b` does, 0 when
// the order cannot tell them apart.
int CompareColors(const EntryColor& a, const EntryColor& b);

}  // namespace sc
