#pragma once
// The red, green and blue value of a color declaration, computed from its text
// and the texts of the colors it names.
#include <string_view>

namespace sc {

class TextureEntry;
struct EntryColor;

// Sets the entry's color from its declaration text and dependencies, each
// component rounded to six decimals; black when there is no text.
void ResolveColor(TextureEntry& entry);

// Evaluates `text` from left to right without precedence into `color`; names
// are looked up among the entry's dependencies from `lastDependencyIndex`
// down. A name not found there makes the color black and returns false.
// True when any value was taken.
bool EvaluateColor(const TextureEntry& entry, std::string_view text, int lastDependencyIndex, EntryColor& color);

}  // namespace sc
