// The preview picture in memory: the frame buffer POV-Ray's rows land in,
// its dithering for a screen of few colours, and the stored JPEG stream.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <tuple>

#include "TestEnvironment.h"
#include "preview/ColorCubeDither.h"
#include "preview/FrameBuffer.h"
#include "preview/PreviewCodec.h"

namespace sc {
namespace {

bool Put(FrameBuffer& frame, int y, int width, const std::string& row, size_t size = std::string::npos) {
    return frame.PutRow(y, width, reinterpret_cast<const std::uint8_t*>(row.data()), std::min(size, row.size()));
}
std::string Text(const FrameBuffer& frame) { return std::string(reinterpret_cast<const char*>(frame.Pixels()), frame.Size()); }

TEST(FrameBufferTest, RowsLandBottomUpWithRedAndBlueSwapped) {
    FrameBuffer frame;
    frame.SetSize(2, 3);
    EXPECT_TRUE(Put(frame, 0, 2, std::string("\x01\x02\x03\x04\x05\x06", 6)));
    EXPECT_TRUE(Put(frame, 2, 2, std::string("\x0a\x0b\x0c\x0d\x0e\x0f", 6)));
    EXPECT_EQ(Text(frame), std::string("\x0c\x0b\x0a\x0f\x0e\x0d", 6) + std::string(6, '\0') +
                               std::string("\x03\x02\x01\x06\x05\x04", 6));
    frame.Clear();
    EXPECT_EQ(Text(frame), std::string(18, '\0'));
}

TEST(FrameBufferTest, RowsThatDoNotFitAreRefused) {
    FrameBuffer frame;
    const std::string row(6, 'x');
    EXPECT_FALSE(Put(frame, 0, 2, row));  // no buffer yet
    frame.SetSize(2, 2);
    EXPECT_FALSE(Put(frame, 2, 2, row));
    EXPECT_FALSE(Put(frame, -1, 2, row));
    EXPECT_FALSE(Put(frame, 0, 3, row));
    EXPECT_FALSE(Put(frame, 0, 2, row, 5));
    EXPECT_EQ(Text(frame), std::string(12, '\0'));
    // The same size keeps the picture; another size starts afresh.
    EXPECT_TRUE(Put(frame, 0, 2, row));
    frame.SetSize(2, 2);
    EXPECT_EQ(frame.Pixels()[6], 'x');
    frame.SetSize(1, 1);
    EXPECT_EQ(Text(frame), std::string(3, '\0'));
}

TEST(ColorCubeDither, LevelsFollowTheThresholdMatrix) {
    EXPECT_EQ(DitherPaletteIndex(0, 0, 0, 3, 5), 20);
    EXPECT_EQ(DitherPaletteIndex(255, 255, 255, 3, 5), 235);
    EXPECT_EQ(DitherPaletteIndex(102, 0, 0, 0, 0), 22);  // exact cube levels never round up
    // 25 = 0 x 51 + 25: up where the threshold is below 25.
    EXPECT_EQ(DitherLevel(25, 0, 0), 1);   // t 0
    EXPECT_EQ(DitherLevel(25, 0, 1), 0);   // t 38
    EXPECT_EQ(DitherLevel(25, 7, 7), 1);   // t 16
    EXPECT_EQ(DitherLevel(25, 3, 0), 0);   // t 31
    EXPECT_EQ(DitherLevel(254, 0, 7), 4);  // t 50 is not below 50
    EXPECT_EQ(DitherLevel(254, 1, 7), 5);
    // Columns and rows wrap every 8 pixels; the outer index is the column.
    EXPECT_EQ(DitherLevel(30, 9, 0), DitherLevel(30, 1, 0));
    EXPECT_EQ(DitherLevel(30, 1, 0), 1);  // t 25
    EXPECT_EQ(DitherLevel(30, 0, 1), 0);  // t 38
    EXPECT_EQ(DitherPaletteIndex(0, 60, 120, 0, 0), 20 + 0 + 6 * 2 + 36 * 3);
}

std::vector<std::uint8_t> Filled(int width, int height, std::uint8_t b, std::uint8_t g, std::uint8_t r) {
    std::vector<std::uint8_t> pixels(static_cast<size_t>(width) * height * 3);
    for (size_t i = 0; i < pixels.size(); i += 3) pixels[i] = b, pixels[i + 1] = g, pixels[i + 2] = r;
    return pixels;
}

std::vector<std::uint8_t> Noise(int width, int height, unsigned seed) {
    std::vector<std::uint8_t> pixels(static_cast<size_t>(width) * height * 3);
    std::mt19937 rng(seed);
    for (auto& p : pixels) p = static_cast<std::uint8_t>(rng());
    return pixels;
}

PreviewImage Encoded(const std::vector<std::uint8_t>& pixels, int width, int height, int quality = 90) {
    PreviewImage image;
    EXPECT_TRUE(Encode(image, pixels.data(), pixels.size(), width, height, quality, nullptr));
    return image;
}

DecodedPicture Decoded(const PreviewImage& image, int size) {
    DecodedPicture picture;
    EXPECT_TRUE(Decode(image, picture, nullptr));
    EXPECT_EQ(std::tuple(picture.width, picture.height, picture.pixels.size()),
              std::tuple(size, size, size_t(size) * size * 3));
    return picture;
}

TEST(PreviewCodec, RoundTripsKeepSizeSumsAndColour) {
    const auto pixels = Filled(56, 56, 30, 120, 200);
    PreviewImage image = Encoded(pixels, 56, 56);
    ComputeStats(image, pixels.data(), pixels.size(), 56, 56);
    EXPECT_EQ(std::tuple(image.sumRed, image.sumGreen, image.sumBlue),
              std::tuple(56u * 56u * 200u, 56u * 56u * 120u, 56u * 56u * 30u));
    const DecodedPicture picture = Decoded(image, 56);
    ASSERT_FALSE(picture.pixels.empty());
    for (int channel : {0, 1, 2}) EXPECT_NEAR(picture.pixels[channel], pixels[channel], 6) << channel;

    // A noisy stream grows beyond one destination step; lower quality makes it smaller.
    const auto noise = Noise(116, 116, 7);
    const PreviewImage large = Encoded(noise, 116, 116, 90);
    EXPECT_GT(large.jpegSize(), 10000u);
    Decoded(large, 116);
    EXPECT_LT(Encoded(noise, 116, 116, 60).jpegSize(), large.jpegSize());
}

// The window's buffer is bottom-up blue-green-red; the stream must hold it
// unchanged, so an ordinary reader sees the picture upside down with red and
// blue exchanged, and decoding gives the buffer's rows back in its order.
TEST(PreviewCodec, StreamKeepsBufferOrderAndChannelBytes) {
    const int w = 32, h = 32;
    std::vector<std::uint8_t> buffer(w * h * 3, 0);
    // The picture's top half is red: with bottom-up rows that is the buffer's
    // second half. Pixels are stored blue, green, red.
    for (int row = 0; row < h; ++row)
        for (int x = 0; x < w; ++x) buffer[(row * w + x) * 3 + (row >= h / 2 ? 2 : 0)] = 255;
    PreviewImage image = Encoded(buffer, w, h);
    // Baseline frame, three components, standard JFIF stream.
    const auto& s = image.jpegData;
    ASSERT_GT(s.size(), 4u);
    EXPECT_EQ(std::tuple(s[0], s[1], s[s.size() - 2], s.back()), std::tuple(0xFF, 0xD8, 0xFF, 0xD9));
    bool baseline = false;
    for (size_t i = 0; i + 9 < s.size(); ++i) baseline |= s[i] == 0xFF && s[i + 1] == 0xC0 && s[i + 9] == 3;
    EXPECT_TRUE(baseline);

    const DecodedPicture picture = Decoded(image, w);
    ASSERT_FALSE(picture.pixels.empty());
    const std::uint8_t* first = &picture.pixels[(2 * w + 4) * 3];       // buffer row 2
    const std::uint8_t* last = &picture.pixels[((h - 3) * w + 4) * 3];  // buffer row h-3
    EXPECT_TRUE(first[0] > 200 && first[2] < 60);  // blue byte first: the picture's bottom
    EXPECT_TRUE(last[2] > 200 && last[0] < 60);    // red in byte 2: the picture's top
}

TEST(PreviewCodec, EncodeRefusesShortBufferAndDropsOldStream) {
    PreviewImage image = Encoded(Filled(8, 8, 1, 2, 3), 8, 8);
    SetStats(image, 1, 2, 3, 4);
    const auto small = Filled(8, 7, 1, 2, 3);
    test::RecordingUserInterface ui;
    EXPECT_FALSE(Encode(image, small.data(), small.size(), 8, 8, 90, &ui));
    EXPECT_TRUE(image.IsEmpty() && ui.messages.empty());
    EXPECT_EQ(image.sumRed, 1u);  // sums are the caller's business
    EXPECT_FALSE(Encode(image, small.data(), small.size(), 0, 7, 90, &ui));
}

TEST(PreviewCodec, DamagedStreamsFailWithOneMessageEach) {
    PreviewImage good = Encoded(Noise(40, 40, 3), 40, 40);
    PreviewImage truncated = good, headerOnly = good, garbage, huge = Encoded(Filled(16, 16, 9, 9, 9), 16, 16);
    truncated.jpegData.resize(good.jpegData.size() / 2);
    // Bad codes and a stray marker amid the picture data: libjpeg only warns
    // and would hand out a garbled picture.
    PreviewImage corrupted = good;
    for (size_t i = good.jpegData.size() * 2 / 3; i < good.jpegData.size() * 2 / 3 + 24; i += 2) {
        corrupted.jpegData[i] = 0xFF;
        corrupted.jpegData[i + 1] = 0xD3;
    }
    headerOnly.jpegData.resize(2);
    garbage.jpegData = {'n', 'o', 't', ' ', 'a', ' ', 'j', 'p', 'e', 'g'};
    // A declared size of 60000 x 60000 is refused before anything is allocated.
    auto& s = huge.jpegData;
    for (size_t i = 0; i + 8 < s.size(); ++i)
        if (s[i] == 0xFF && s[i + 1] == 0xC0) {
            s[i + 5] = s[i + 7] = 0xEA;
            s[i + 6] = s[i + 8] = 0x60;
            break;
        }
    for (const PreviewImage* image : {&truncated, &corrupted, &garbage, &headerOnly, &huge}) {
        test::RecordingUserInterface ui;
        DecodedPicture picture;
        EXPECT_FALSE(Decode(*image, picture, &ui));
        ASSERT_TRUE(picture.pixels.empty() && ui.messages.size() == 1u);
        EXPECT_EQ(ui.messages[0].title, "JPEG Fatal Error");
        EXPECT_EQ(ui.messages[0].text.rfind("Das Vorschaubild ist beschädigt", 0), 0u) << ui.messages[0].text;
    }
    // Without an interface nothing is shown; the text is still available.
    std::string text;
    DecodedPicture picture;
    EXPECT_FALSE(Decode(huge, picture, nullptr, &text));
    EXPECT_NE(text.find("4096"), std::string::npos);
    // An empty image simply has nothing to decode.
    test::RecordingUserInterface ui;
    EXPECT_FALSE(Decode(PreviewImage{}, picture, &ui));
    EXPECT_TRUE(ui.messages.empty());
}

}  // namespace
}  // namespace sc
