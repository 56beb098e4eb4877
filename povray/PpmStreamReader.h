#pragma once
// Reads the binary PPM pictures POV-Ray writes to its standard output, as the
// bytes arrive, and hands out each finished row.
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace sc {

class PpmStreamReader {
public:
    // Called at each picture's header.
    std::function<void(int width, int height)> onImage;
    // Called with each finished row (top to bottom) as 8-bit red, green, blue;
    // return false to stop reading.
    std::function<bool(int row, const std::uint8_t* rgb, int width)> onRow;

    // Consumes more bytes; false once the stream is malformed or reading was stopped.
    bool Feed(std::string_view bytes);

    // True when every picture begun was completed.
    bool Complete() const { return state_ == State::Header && header_.empty(); }
    int Pictures() const { return pictures_; }

private:
    enum class State { Header, Pixels, Failed };
    bool ParseHeader();
    bool TakePixels(std::string_view& bytes);

    State state_ = State::Header;
    std::string header_;
    int width_ = 0;
    int height_ = 0;
    int bytesPerChannel_ = 1;
    int maxValue_ = 255;
    int row_ = 0;
    int pictures_ = 0;
    std::vector<std::uint8_t> pending_;
    std::vector<std::uint8_t> rgb_;
};

// The bytes of a PPM picture file that POV-Ray may still be writing: true,
// with them in `bytes`, once the file holds a whole picture (every row), so
// the picture can be had without waiting for POV-Ray to end.
bool ReadWholePpmFile(const std::string& path, std::string& bytes);

}  // namespace sc
