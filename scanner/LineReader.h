#pragma once
// Reading an include file line by line the way the scanner and the
// declaration reader need it: bounded lines, byte positions of line starts.
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>

#include "platform/FileSystem.h"

namespace sc {

// A directory held open, for opening many files in it.
class DirectoryHandle {
public:
    DirectoryHandle() = default;
    ~DirectoryHandle() { Release(); }
    DirectoryHandle(const DirectoryHandle&) = delete;
    DirectoryHandle& operator=(const DirectoryHandle&) = delete;

    // Holds `directory` (the part of a path up to and with its last
    // separator), unless it does already; false when it cannot be opened.
    bool Hold(std::string_view directory);
    void Release();
    int Fd() const { return fd_; }

private:
    int fd_ = -1;
    std::string path_;
};

// The first line feed, `a` or `b` in p[i, end), or `end`.
size_t FindLineFeedOr(const char* p, size_t i, size_t end, char a, char b);

class LineReader {
public:
    // Lines hold at most `capacity` - 1 bytes; a longer line arrives as
    // several lines. Files are read in chunks of `chunk` bytes: large for
    // whole files, small for one declaration.
    explicit LineReader(size_t capacity, size_t chunk = 1 << 16);
    ~LineReader();
    LineReader(const LineReader&) = delete;
    LineReader& operator=(const LineReader&) = delete;

    // Opens a file for reading from `offset`; false when it cannot be read.
    bool Open(const std::string& path, std::int64_t offset = 0);
    // The same for the file `name` in the directory `directory` holds: the
    // system need not walk the directory's path again for each of its files.
    bool OpenIn(const DirectoryHandle& directory, const char* name);
    // Lets the file go; the buffer stays for the next Open.
    void Close();
    // Reads from bytes in memory instead (borrowed; they must outlive the reader).
    void OpenMemory(std::string_view data, std::int64_t offset = 0);

    // The next line without its line feed (a carriage return stays);
    // false at the end. The view lives until the next call.
    bool ReadLine(std::string_view& line) {
        if (end_ - pos_ < capacity_) Fill();
        if (pos_ >= end_) return false;
        lineStart_ = base_ + static_cast<std::int64_t>(pos_);
        const size_t available = end_ - pos_;
        const size_t limit = capacity_ - 1 < available ? capacity_ - 1 : available;
        const char* start = data_ + pos_;
        if (const void* feed = std::memchr(start, '\n', limit)) {
            const size_t length = static_cast<size_t>(static_cast<const char*>(feed) - start);
            line = std::string_view(start, length);
            pos_ += length + 1;
            cut_ = false;
            return true;
        }
        line = std::string_view(start, limit);
        pos_ += limit;
        // A line that just fills the buffer still owns its line feed.
        cut_ = pos_ < end_ && data_[pos_] != '\n';
        if (pos_ < end_ && !cut_) ++pos_;
        return true;
    }
    // True when the last line ReadLine returned is a piece of a longer line
    // whose text goes on in the next one.
    bool LastLineCut() const { return cut_; }

    // What SkipPlainLines stopped at.
    enum class Skip {
        Line,   // the next line needs reading with ReadLine (it holds a mark, or it ends the file)
        More,   // the buffered text is used up; call again to go on
        Empty,  // the allowance of empty lines is used up
    };
    // Given the text from a mark to the end of its line as far as buffered
    // (a line feed may follow), says how many bytes from the mark on can be
    // passed over: 0 for none (the line is to be read), `kRestOfLine` for
    // the whole rest of the line.
    using MarkJudge = size_t (*)(std::string_view fromMark);
    static constexpr size_t kRestOfLine = ~size_t{0};
    // Passes over the lines ReadLine would return next as long as they hold
    // neither `a` nor `b` or `judge` lets the marks pass. Works on the text
    // buffered at the call (refilled first when short), so a caller can look
    // up between calls. Adds the lines passed over to `lines` and the empty
    // ones to `empty`, stopping after the `maxEmpty`-th empty line.
    Skip SkipPlainLines(char a, char b, MarkJudge judge, size_t maxEmpty, long long& lines, size_t& empty);

    // The opened file's last-write time as its opening found it (0 for bytes in memory).
    FileTime LastWrite() const { return lastWrite_; }

    // The stream position where the last line returned begins.
    std::int64_t LineStart() const { return lineStart_; }
    // The stream position after the last line returned.
    std::int64_t Position() const { return base_ + static_cast<std::int64_t>(pos_); }

private:
    bool Fill();
    bool Take(int fd, std::int64_t offset);

    size_t capacity_;
    size_t chunk_;
    int fd_ = -1;
    std::int64_t unread_ = -1;  // bytes the file holds beyond those read; -1 when unknown
    std::unique_ptr<char[]> buffer_;
    size_t bufferSize_ = 0;
    const char* data_ = nullptr;
    size_t pos_ = 0;
    size_t end_ = 0;
    std::int64_t base_ = 0;  // stream position of data_[0]
    std::int64_t lineStart_ = 0;
    FileTime lastWrite_ = 0;
    bool eof_ = true;
    bool cut_ = false;
};

}  // namespace sc
