#include "scanner/LineReader.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstring>

#ifdef __SSE2__
#include <emmintrin.h>
#if defined(__x86_64__) && defined(__GNUC__)
#include <immintrin.h>
#define SC_HAVE_WIDE_PATH 1
#endif
#endif

namespace sc {

size_t FindLineFeedOr(const char* p, size_t i, size_t end, char a, char b) {
#ifdef __SSE2__
    const __m128i feed = _mm_set1_epi8('\n'), va = _mm_set1_epi8(a), vb = _mm_set1_epi8(b);
    for (; i + 16 <= end; i += 16) {
        const __m128i x = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + i));
        const __m128i hit = _mm_or_si128(_mm_cmpeq_epi8(x, feed), _mm_or_si128(_mm_cmpeq_epi8(x, va), _mm_cmpeq_epi8(x, vb)));
        if (const int mask = _mm_movemask_epi8(hit)) return i + static_cast<size_t>(__builtin_ctz(static_cast<unsigned>(mask)));
    }
#endif
    for (; i < end; ++i)
        if (p[i] == '\n' || p[i] == a || p[i] == b) return i;
    return end;
}

namespace {

#ifdef __SSE2__
// Bit k tells whether p[k] is a line feed (`feeds`) or `a` or `b` (`marks`).
struct BlockMasks {
    std::uint64_t feeds = 0;
    std::uint64_t marks = 0;
};

#ifdef SC_HAVE_WIDE_PATH
// The same with 32-byte vectors, for processors that have them.
__attribute__((target("avx2"))) inline BlockMasks Masks64Wide(const char* p, char a, char b) {
    const __m256i feed = _mm256_set1_epi8('\n'), va = _mm256_set1_epi8(a), vb = _mm256_set1_epi8(b);
    BlockMasks m;
    for (int k = 0; k < 2; ++k) {
        const __m256i x = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p + 32 * k));
        const auto f = static_cast<std::uint32_t>(_mm256_movemask_epi8(_mm256_cmpeq_epi8(x, feed)));
        const auto g = static_cast<std::uint32_t>(
            _mm256_movemask_epi8(_mm256_or_si256(_mm256_cmpeq_epi8(x, va), _mm256_cmpeq_epi8(x, vb))));
        m.feeds |= static_cast<std::uint64_t>(f) << (32 * k);
        m.marks |= static_cast<std::uint64_t>(g) << (32 * k);
    }
    return m;
}
const bool kWideProcessor = [] {
    __builtin_cpu_init();  // this may run before the run-time library's own initialisation
    return __builtin_cpu_supports("avx2") && __builtin_cpu_supports("popcnt");
}();
#endif

BlockMasks Masks64(const char* p, char a, char b) {
    const __m128i feed = _mm_set1_epi8('\n'), va = _mm_set1_epi8(a), vb = _mm_set1_epi8(b);
    BlockMasks m;
    for (int k = 0; k < 4; ++k) {
        const __m128i x = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 16 * k));
        const auto f = static_cast<std::uint16_t>(_mm_movemask_epi8(_mm_cmpeq_epi8(x, feed)));
        const auto g = static_cast<std::uint16_t>(
            _mm_movemask_epi8(_mm_or_si128(_mm_cmpeq_epi8(x, va), _mm_cmpeq_epi8(x, vb))));
        m.feeds |= static_cast<std::uint64_t>(f) << (16 * k);
        m.marks |= static_cast<std::uint64_t>(g) << (16 * k);
    }
    return m;
}

// Set bits of `x`; the baseline target has no instruction for it.
template <bool kWide>
inline size_t CountBits(std::uint64_t x) {
    if constexpr (kWide) return static_cast<size_t>(__builtin_popcountll(x));
    x -= (x >> 1) & 0x5555555555555555u;
    x = (x & 0x3333333333333333u) + ((x >> 2) & 0x3333333333333333u);
    x = (x + (x >> 4)) & 0x0f0f0f0f0f0f0f0fu;
    return static_cast<size_t>((x * 0x0101010101010101u) >> 56);
}
#endif

}  // namespace

LineReader::LineReader(size_t capacity, size_t chunk)
    : capacity_(capacity < 2 ? 2 : capacity), chunk_(chunk < 512 ? 512 : chunk) {}

LineReader::~LineReader() { Close(); }

void LineReader::Close() {
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
}

bool DirectoryHandle::Hold(std::string_view directory) {
    if (fd_ >= 0 && directory == path_) return true;
    Release();
    path_.assign(directory);
    fd_ = ::open(path_.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC);
    return fd_ >= 0;
}

void DirectoryHandle::Release() {
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
    path_.clear();
}

// Only regular files: a pipe or a device could block or never end.
constexpr int kOpenFlags = O_RDONLY | O_NONBLOCK | O_CLOEXEC;

bool LineReader::Open(const std::string& path, std::int64_t offset) {
    Close();
    return Take(::open(path.c_str(), kOpenFlags), offset);
}

bool LineReader::OpenIn(const DirectoryHandle& directory, const char* name) {
    Close();
    return Take(::openat(directory.Fd(), name, kOpenFlags), 0);
}

bool LineReader::Take(int fd, std::int64_t offset) {
    fd_ = fd;
    if (fd_ < 0) return false;
    struct stat st {};
    if (fstat(fd_, &st) != 0 || !S_ISREG(st.st_mode) ||
        (offset > 0 && ::lseek(fd_, static_cast<off_t>(offset), SEEK_SET) < 0)) {
        Close();
        return false;
    }
    // Most files are read whole by one read; knowing the size spares the
    // read that would only report the end. (Files that claim no size, as
    // some system files do, are read until a read returns nothing.)
    lastWrite_ = LastWriteTimeOf(st);
    unread_ = st.st_size > 0 ? static_cast<std::int64_t>(st.st_size) - std::max<std::int64_t>(offset, 0) : -1;
    if (!buffer_) {
        bufferSize_ = chunk_ + capacity_;
        buffer_ = std::make_unique_for_overwrite<char[]>(bufferSize_);
    }
    data_ = buffer_.get();
    pos_ = end_ = 0;
    base_ = lineStart_ = offset > 0 ? offset : 0;
    eof_ = false;
    cut_ = false;
    return true;
}

void LineReader::OpenMemory(std::string_view data, std::int64_t offset) {
    Close();
    data_ = data.data();
    end_ = data.size();
    pos_ = offset > 0 ? std::min(static_cast<size_t>(offset), end_) : 0;
    base_ = 0;
    lineStart_ = static_cast<std::int64_t>(pos_);
    lastWrite_ = 0;
    cut_ = false;
    eof_ = true;
}

namespace {

// The work of SkipPlainLines on p[start, end), built twice: for the
// baseline processor and for one with 32-byte vectors and a bit count.
// Leaves in `start` where the next line to read begins.
template <bool kWide>
__attribute__((always_inline)) inline LineReader::Skip SkipBuffered(const char* p, size_t end, size_t& start, size_t piece,
                                                                    bool eof, char a, char b, LineReader::MarkJudge judge,
                                                                    size_t maxEmpty, long long& lines, size_t& empty) {
    using Skip = LineReader::Skip;
    size_t i = start;  // how far the text has been looked at
    Skip result = eof ? Skip::Line : Skip::More;

    // The rest of the line from the mark at j is passed over; false when its
    // end is not buffered yet.
    auto passRestOfLine = [&](size_t j) {
        const size_t stop = std::min(start + piece, end);
        if (const void* feed = std::memchr(p + j + 1, '\n', stop - (j + 1))) {
            ++lines;
            start = i = static_cast<size_t>(static_cast<const char*>(feed) - p) + 1;
            return true;
        }
        if (start + piece >= end) return false;
        ++lines;
        start += piece;
        if (p[start] == '\n') ++start;
        i = start;
        return true;
    };
    // A mark at j: false when the caller is to read its line. `nextFeed`,
    // when not 0, is where the next line feed after j is known to be.
    auto passMark = [&](size_t j, size_t nextFeed) {
        const size_t viewEnd = std::min(start + piece, end);
        const size_t passed = judge(std::string_view(p + j, viewEnd - j));
        if (passed == 0) return false;
        if (passed <= viewEnd - j) {
            i = j + passed;
            return true;
        }
        if (nextFeed != 0 && nextFeed < viewEnd) {
            ++lines;
            start = i = nextFeed + 1;
            return true;
        }
        return passRestOfLine(j);
    };

    while (true) {
#ifdef __SSE2__
        // 64 bytes at a time: lines are counted by their line feeds and marks
        // judged as they come, unless a line reaches a piece's length or the
        // empty lines run out; those go one by one below.
        bool oneByOne = false;
        while (!oneByOne && i + 64 <= end) {
            const size_t block = i;
            BlockMasks m;
#ifdef SC_HAVE_WIDE_PATH
            if constexpr (kWide) m = Masks64Wide(p + block, a, b);
            else m = Masks64(p + block, a, b);
#else
            m = Masks64(p + block, a, b);
#endif
            std::uint64_t live = ~std::uint64_t{0};
            while (true) {
                const std::uint64_t marks = m.marks & live;
                const size_t span = marks ? static_cast<size_t>(__builtin_ctzll(marks)) : 64;
                const std::uint64_t feeds = m.feeds & live & (span < 64 ? (std::uint64_t{1} << span) - 1 : ~std::uint64_t{0});
                if (feeds) {
                    const size_t first = block + static_cast<size_t>(__builtin_ctzll(feeds));
                    const std::uint64_t startBit = start >= block ? std::uint64_t{1} << (start - block) : 0;
                    const size_t emptyCount = CountBits<kWide>(feeds & ((feeds << 1) | startBit));
                    if (first - start >= piece || empty + emptyCount >= maxEmpty) {
                        oneByOne = true;
                        break;
                    }
                    lines += static_cast<long long>(CountBits<kWide>(feeds));
                    empty += emptyCount;
                    start = block + 64 - static_cast<size_t>(__builtin_clzll(feeds));
                } else if (block + span - start >= piece) {
                    oneByOne = true;
                    break;
                }
                if (!marks) {
                    i = block + 64;
                    break;
                }
                i = block + span;
                const std::uint64_t later = span < 63 ? m.feeds & (~std::uint64_t{0} << (span + 1)) : 0;
                if (!passMark(i, later ? block + static_cast<size_t>(__builtin_ctzll(later)) : 0)) return Skip::Line;
                if (i >= block + 64) break;
                live = ~std::uint64_t{0} << (i - block);
            }
        }
#endif
        const size_t j = FindLineFeedOr(p, i, end, a, b);
        // Full pieces of an overlong line before j; a line feed right after
        // one belongs to it.
        while (j >= start + piece && start + piece < end) {
            ++lines;
            start += piece;
            if (p[start] == '\n') ++start;
        }
        if (start > j) {
            i = start;
            continue;
        }
        if (j == end) break;
        if (p[j] == '\n') {
            ++lines;
            const bool isEmpty = j == start;
            start = i = j + 1;
            if (isEmpty && ++empty >= maxEmpty) {
                result = Skip::Empty;
                break;
            }
            continue;
        }
        if (!passMark(j, 0)) {
            result = Skip::Line;
            break;
        }
    }
    return result;
}

#ifdef SC_HAVE_WIDE_PATH
__attribute__((target("avx2,popcnt"))) LineReader::Skip SkipBufferedWide(const char* p, size_t end, size_t& start,
                                                                         size_t piece, bool eof, char a, char b,
                                                                         LineReader::MarkJudge judge, size_t maxEmpty,
                                                                         long long& lines, size_t& empty) {
    return SkipBuffered<true>(p, end, start, piece, eof, a, b, judge, maxEmpty, lines, empty);
}
#endif

}  // namespace

LineReader::Skip LineReader::SkipPlainLines(char a, char b, MarkJudge judge, size_t maxEmpty, long long& lines,
                                            size_t& empty) {
    if (end_ - pos_ < capacity_) Fill();
    const size_t piece = capacity_ - 1;  // the longest line ReadLine returns
    size_t start = pos_;
#ifdef SC_HAVE_WIDE_PATH
    const Skip result = kWideProcessor
                            ? SkipBufferedWide(data_, end_, start, piece, eof_, a, b, judge, maxEmpty, lines, empty)
                            : SkipBuffered<false>(data_, end_, start, piece, eof_, a, b, judge, maxEmpty, lines, empty);
#else
    const Skip result = SkipBuffered<false>(data_, end_, start, piece, eof_, a, b, judge, maxEmpty, lines, empty);
#endif
    pos_ = start;
    return result;
}

// Keeps at least one whole line's capacity in the buffer while the file has more.
bool LineReader::Fill() {
    if (eof_ || fd_ < 0) return false;
    if (pos_ > 0) {
        std::memmove(buffer_.get(), buffer_.get() + pos_, end_ - pos_);
        base_ += static_cast<std::int64_t>(pos_);
        end_ -= pos_;
        pos_ = 0;
    }
    while (end_ < bufferSize_) {
        if (unread_ == 0) {
            eof_ = true;
            break;
        }
        const ssize_t n = ::read(fd_, buffer_.get() + end_, bufferSize_ - end_);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            eof_ = true;
            break;
        }
        end_ += static_cast<size_t>(n);
        if (unread_ > 0) unread_ = std::max<std::int64_t>(unread_ - n, 0);
    }
    return true;
}

}  // namespace sc
