#include "povray/PpmStreamReader.h"

#include <sys/stat.h>

#include <cctype>

#include "platform/FileSystem.h"

namespace sc {
namespace {

constexpr int kMaxDimension = 65535;

}  // namespace

bool ReadWholePpmFile(const std::string& path, std::string& bytes) {
    struct stat status {};
    // The header alone is some ten bytes: nothing smaller can be a picture yet.
    if (stat(path.c_str(), &status) != 0 || status.st_size < 16) return false;
    if (!ReadWholeFile(path, bytes)) return false;
    PpmStreamReader probe;
    return probe.Feed(bytes) && probe.Pictures() >= 1 && probe.Complete();
}

bool PpmStreamReader::Feed(std::string_view bytes) {
    while (!bytes.empty()) {
        if (state_ == State::Failed) return false;
        if (state_ == State::Header) {
            header_.push_back(bytes.front());
            bytes.remove_prefix(1);
            if (header_.size() > 256) {
                state_ = State::Failed;
                return false;
            }
            if (!ParseHeader()) return false;
        } else if (!TakePixels(bytes)) {
            return false;
        }
    }
    return state_ != State::Failed;
}

// Tries to read "P6 width height maxval" plus one white-space byte from the
// bytes gathered so far; true while the header is fine (complete or not).
bool PpmStreamReader::ParseHeader() {
    if (header_.size() < 2) return true;
    if (header_[0] != 'P' || header_[1] != '6') {
        state_ = State::Failed;
        return false;
    }
    long values[3] = {0, 0, 0};
    int count = 0;
    std::size_t i = 2;
    while (count < 3) {
        while (i < header_.size() && (std::isspace(static_cast<unsigned char>(header_[i])) || header_[i] == '#')) {
            if (header_[i] == '#') {
                while (i < header_.size() && header_[i] != '\n') ++i;
                if (i == header_.size()) return true;
            }
            ++i;
        }
        if (i == header_.size()) return true;
        if (!std::isdigit(static_cast<unsigned char>(header_[i]))) {
            state_ = State::Failed;
            return false;
        }
        long value = 0;
        while (i < header_.size() && std::isdigit(static_cast<unsigned char>(header_[i]))) {
            value = value * 10 + (header_[i] - '0');
            if (value > kMaxDimension) {
                state_ = State::Failed;
                return false;
            }
            ++i;
        }
        // A number is complete only when a separator follows it.
        if (i == header_.size()) return true;
        values[count++] = value;
    }
    if (!std::isspace(static_cast<unsigned char>(header_[i]))) {
        state_ = State::Failed;
        return false;
    }
    if (values[0] <= 0 || values[1] <= 0 || values[2] <= 0) {
        state_ = State::Failed;
        return false;
    }
    width_ = static_cast<int>(values[0]);
    height_ = static_cast<int>(values[1]);
    maxValue_ = static_cast<int>(values[2]);
    bytesPerChannel_ = maxValue_ > 255 ? 2 : 1;
    header_.clear();
    row_ = 0;
    pending_.clear();
    rgb_.assign(static_cast<std::size_t>(width_) * 3, 0);
    state_ = State::Pixels;
    ++pictures_;
    if (onImage) onImage(width_, height_);
    return true;
}

bool PpmStreamReader::TakePixels(std::string_view& bytes) {
    const std::size_t rowBytes = static_cast<std::size_t>(width_) * 3 * bytesPerChannel_;
    const std::size_t take = std::min(bytes.size(), rowBytes - pending_.size());
    pending_.insert(pending_.end(), bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(take));
    bytes.remove_prefix(take);
    if (pending_.size() < rowBytes) return true;
    for (std::size_t i = 0; i < rgb_.size(); ++i) {
        unsigned value = bytesPerChannel_ == 1 ? pending_[i] : (pending_[2 * i] << 8) | pending_[2 * i + 1];
        if (maxValue_ != 255) value = (value * 255u + static_cast<unsigned>(maxValue_) / 2) / static_cast<unsigned>(maxValue_);
        rgb_[i] = static_cast<std::uint8_t>(value > 255 ? 255 : value);
    }
    pending_.clear();
    const int row = row_++;
    if (row_ == height_) state_ = State::Header;
    if (onRow && !onRow(row, rgb_.data(), width_)) {
        state_ = State::Failed;
        return false;
    }
    return true;
}

}  // namespace sc
