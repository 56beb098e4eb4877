#include "ui/ColorOrder.h"

#include <algorithm>

namespace sc {
namespace {

constexpr int kRgbMax = 255;
constexpr int kHlsMax = 36;
constexpr int kUndefinedHue = kHlsMax * 2 / 3;

int Channel(float value) { return static_cast<int>(std::clamp(value, 0.0f, 1.0f) * kRgbMax); }

// The distance of a channel from the maximum, on the hue scale.
int Delta(int max, int min, int channel) { return ((max - channel) * (kHlsMax / 6) + (max - min) / 2) / (max - min); }

int Sign(int value) { return (value > 0) - (value < 0); }

// Higher values first.
int Descending(double a, double b) { return a > b ? -1 : (a < b ? 1 : 0); }

double Luminance(const EntryColor& c) { return 0.212671 * c.red + 0.71516 * c.green + 0.072169 * c.blue; }

bool IsGrey(const EntryColor& c) { return c.red == c.green && c.green == c.blue; }

}  // namespace

HlsColor ToHls(const EntryColor& color) {
    const int r = Channel(color.red), g = Channel(color.green), b = Channel(color.blue);
    const int max = std::max({r, g, b}), min = std::min({r, g, b});
    HlsColor hls;
    hls.lightness = ((max + min) * kHlsMax + kRgbMax) / (2 * kRgbMax);
    if (max == min) {
        hls.hue = kUndefinedHue;
        return hls;
    }
    const int sum = max + min, span = max - min;
    if (hls.lightness <= kHlsMax / 2) hls.saturation = (span * kHlsMax + sum / 2) / sum;
    else hls.saturation = (span * kHlsMax + (2 * kRgbMax - sum) / 2) / (2 * kRgbMax - sum);
    const int dr = Delta(max, min, r), dg = Delta(max, min, g), db = Delta(max, min, b);
    if (r == max) hls.hue = db - dg;
    else if (g == max) hls.hue = kHlsMax / 3 + dr - db;
    else hls.hue = 2 * kHlsMax / 3 + dg - dr;
    if (hls.hue < 0) hls.hue += kHlsMax;
    if (hls.hue > kHlsMax) hls.hue -= kHlsMax;
    return hls;
}

int CompareColors(const EntryColor& a, const EntryColor& b) {
    const HlsColor x = ToHls(a), y = ToHls(b);
    const bool greyA = IsGrey(a), greyB = IsGrey(b);
    if (greyA != greyB) return greyA ? -1 : 1;
    if (greyA) return Descending(x.lightness, y.lightness);
    if (x.hue != y.hue) return Descending(x.hue, y.hue);
    if (x.lightness != y.lightness) return Descending(x.lightness, y.lightness);
    if (x.saturation != y.saturation) return Descending(x.saturation, y.saturation);
    return Sign(Descending(Luminance(a), Luminance(b)));
}

}  // namespace sc
