#include "scanner/LineReader.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstring>

namespace sc {

LineReader::LineReader(size_t capacity, size_t chunk)
    : capacity_(capacity < 2 ? 2 : capacity), chunk_(chunk < 512 ? 512 : chunk) {}

LineReader::~LineReader() {
    if (file_) std::fclose(file_);
}

bool LineReader::Open(const std::string& path, std::int64_t offset) {
    if (file_) std::fclose(file_);
    // Only regular files: a pipe or a device could block or never end.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return false;
    struct stat st {};
    if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || !(file_ = fdopen(fd, "rb"))) {
        ::close(fd);
        return false;
    }
    if (offset > 0 && fseeko(file_, static_cast<off_t>(offset), SEEK_SET) != 0) {
        std::fclose(file_);
        file_ = nullptr;
        return false;
    }
    if (!buffer_) {
        bufferSize_ = chunk_ + capacity_;
        buffer_ = std::make_unique_for_overwrite<char[]>(bufferSize_);
    }
    data_ = buffer_.get();
    pos_ = end_ = 0;
    base_ = lineStart_ = offset > 0 ? offset : 0;
    eof_ = false;
    return true;
}

void LineReader::OpenMemory(std::string_view data, std::int64_t offset) {
    if (file_) std::fclose(file_);
    file_ = nullptr;
    data_ = data.data();
    end_ = data.size();
    pos_ = offset > 0 ? std::min(static_cast<size_t>(offset), end_) : 0;
    base_ = 0;
    lineStart_ = static_cast<std::int64_t>(pos_);
    eof_ = true;
}

// Keeps at least one whole line's capacity in the buffer while the file has more.
bool LineReader::Fill() {
    if (eof_ || !file_) return false;
    if (pos_ > 0) {
        std::memmove(buffer_.get(), buffer_.get() + pos_, end_ - pos_);
        base_ += static_cast<std::int64_t>(pos_);
        end_ -= pos_;
        pos_ = 0;
    }
    while (end_ < bufferSize_) {
        const size_t n = std::fread(buffer_.get() + end_, 1, bufferSize_ - end_, file_);
        if (n == 0) {
            eof_ = true;
            break;
        }
        end_ += n;
    }
    return true;
}

}  // namespace sc
