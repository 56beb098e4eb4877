#pragma once
// A small built-in bitmap font for labels in pictures the program composes
// itself, so no font library or renderer is needed: 5 x 8 pixel glyphs in
// cells of 6 x 9 pixels.
#include <cstdint>
#include <string>
#include <string_view>

namespace sc {

struct RgbPicture;

class BitmapFont {
public:
    static constexpr int kCellWidth = 6;
    static constexpr int kCellHeight = 9;

    // The number of glyphs a text takes: one per UTF-8 character, one per
    // byte that is not valid UTF-8.
    static int GlyphCount(std::string_view text);

    // The text as drawn (one byte per glyph, '?' for characters beyond
    // ASCII), shortened to at most `maxGlyphs` glyphs; a shortened text ends
    // in "..".
    static std::string Fit(std::string_view text, int maxGlyphs);

    // Draws the text with its top left corner at (x, y) in `color`; parts
    // outside the picture are clipped. Characters beyond ASCII are drawn as '?'.
    static void Draw(RgbPicture& picture, int x, int y, std::string_view text, const std::uint8_t color[3]);
};

}  // namespace sc
