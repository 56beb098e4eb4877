#pragma once
// Declaration indexes: the include cache of the library and the index of a
// source file, with POV-Ray's standard include files referenced, not copied.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace sc {

class TextureLibrary;
class SourceFile;
struct IncludeIndex;

// The standard include files by index: colors.inc, textures.inc, stones.inc,
// woods.inc, stoneold.inc, metals.inc, golds.inc, glass.inc.
inline constexpr int kStandardIncludeCount = 8;
const char* StandardIncludeName(int index);

// Include files nest at most this deep; deeper #include statements are ignored.
inline constexpr int kMaxIncludeDepth = 64;

// Finds an included file beside the including file (when `besideDirectory`
// is given), then along the library paths in order; in each place the name
// is matched as Windows would match it, without regard to case (the written
// case first). The result names the file as it is on disk; empty when
// nowhere.
std::string ResolveIncludeFile(std::string_view name, std::string_view besideDirectory,
                               const std::vector<std::string>& libraryPaths);

// 0 to 7 when `fileName` in `directory` is that standard include file: its
// name matches and either no such file lies in `directory` or the one there
// is the one the library paths find. Otherwise -1.
int StandardIncludeIndex(const TextureLibrary& library, std::string_view directory, std::string_view fileName);

// Finds `fileName` along the library paths and returns its cached index,
// scanning it (and the files it includes) first when needed. Null when the
// file is found nowhere or cannot be read. `runningPosition` orders the
// declarations found and ends after the last one.
IncludeIndex* ScanIncludeFile(TextureLibrary& library, std::string_view fileName, std::int64_t& runningPosition);

// Fills the file's declaration index from `path` (normally its own path),
// expanding ordinary #include files in place and referencing standard ones.
void IndexSourceFile(TextureLibrary& library, SourceFile& file, const std::string& path, std::int64_t& runningPosition);

}  // namespace sc
