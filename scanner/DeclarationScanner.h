#pragma once
// The recogniser of "#declare Name = keyword" and "#include" statements, in
// its two variants: the index variant reports positions and returns includes;
// the search variant follows includes through its caller and can be cancelled.
#include <cstdint>
#include <string>
#include <string_view>

#include "scanner/LineReader.h"

namespace sc {

// Result kinds besides the entry kinds 1 to 6 and 8.
inline constexpr int kScanInclude = 10;
inline constexpr int kScanEnd = -1;

// Line and token capacities of the two variants.
inline constexpr size_t kIndexLineCapacity = 512;
inline constexpr size_t kSearchLineCapacity = 511;

// The stream of one scanned file with the text left over from the last call.
struct ScanStream {
    explicit ScanStream(size_t lineCapacity) : reader(lineCapacity) {}
    LineReader reader;
    std::string_view rest;              // unscanned text of the current line
    const char* lineData = nullptr;     // the current line's first byte
    std::int64_t lineStart = 0;         // its stream position
};

// Index variant. Returns the kind of the next declaration (1-6, 8) with its
// name, the stream position just after the name and the line counter, or 10
// for an #include with the file name in `nameOut`, or -1 at the end with the
// stream position in `positionOut`.
int ScanDeclarations(ScanStream& stream, std::string& nameOut, std::int64_t& positionOut, std::int32_t& lineNumber);

// What the search variant needs from the search that runs it.
class SearchScanHooks {
public:
    virtual ~SearchScanHooks() = default;
    // True when the search has been cancelled.
    virtual bool StopRequested() { return false; }
    // Counts one line read.
    virtual void LineRead() {}
    // Counts `n` lines read.
    virtual void LinesRead(long long n) {
        while (n-- > 0) LineRead();
    }
    // An #include of `fileName` in the file `path`; the hook searches it at once
    // when it follows includes.
    virtual void IncludeFound(const std::string& /*path*/, const std::string& /*fileName*/, int* /*includeCounter*/) {}
};

// Search variant. Returns the kind of the next declaration, or -1 at the end
// or when cancelled (with `checkCancel`). #include statements are recognised
// only when `path` is given; they go to the hooks. The name is stored only
// when `nameOut` is given.
int ScanDeclarationsForSearch(const std::string* path, ScanStream& stream, std::string* nameOut, int* includeCounter,
                              bool checkCancel, SearchScanHooks& hooks);

}  // namespace sc
