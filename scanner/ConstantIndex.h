#pragma once
// The constants a file offers to declarations of other files: what a scene
// that includes or reads the file would have declared. Unlike the index of
// entries, it holds #local constants at file level (POV-Ray keeps them for
// the rest of the file) and the names of macros, and leaves out whatever is
// declared inside a macro, which only exists while the macro runs.
#include <string>
#include <string_view>

namespace sc {

class TextureLibrary;
struct IncludeIndex;

// Record kind of a macro name in a constant index.
inline constexpr int kConstantMacro = 11;

// Indexes the text of a file into `index`: one record per file-level
// #declare or #local (kind 8) and #macro (kConstantMacro) with the offset
// just after the name, one per #include (kind 10, `origin` the name as
// written). Positions are the offsets.
void IndexConstants(std::string_view text, IncludeIndex& index);

// The cached constant index of the file at `path`, read now when needed;
// null when the file cannot be read.
IncludeIndex* ConstantIndexOf(TextureLibrary& library, const std::string& path);

}  // namespace sc
