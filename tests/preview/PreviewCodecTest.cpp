#include <gtest/gtest.h>

#include <cstdlib>
#include <random>

#include "TestEnvironment.h"
#include "preview/PreviewCodec.h"

namespace sc {
namespace {

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
    EXPECT_EQ(picture.width, size);
    EXPECT_EQ(picture.height, size);
    EXPECT_EQ(picture.pixels.size(), size_t(size) * size * 3);
    return picture;
}

TEST(PreviewCodec, RoundTripsKeepSizeSumsAndColour) {
    const auto pixels = Filled(56, 56, 30, 120, 200);
    PreviewImage image = Encoded(pixels, 56, 56);
    ComputeStats(image, pixels.data(), pixels.size(), 56, 56);
    EXPECT_EQ(image.sumRed, 56u * 56u * 200u);
    EXPECT_EQ(image.sumGreen, 56u * 56u * 120u);
    EXPECT_EQ(image.sumBlue, 56u * 56u * 30u);
    const DecodedPicture picture = Decoded(image, 56);
    ASSERT_FALSE(picture.pixels.empty());
    EXPECT_NEAR(picture.pixels[0], 30, 6);
    EXPECT_NEAR(picture.pixels[1], 120, 6);
    EXPECT_NEAR(picture.pixels[2], 200, 6);

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
    EXPECT_EQ(std::vector<std::uint8_t>(s.begin(), s.begin() + 2), (std::vector<std::uint8_t>{0xFF, 0xD8}));
    EXPECT_EQ(std::vector<std::uint8_t>(s.end() - 2, s.end()), (std::vector<std::uint8_t>{0xFF, 0xD9}));
    bool baseline = false;
    for (size_t i = 0; i + 9 < s.size(); ++i) baseline |= s[i] == 0xFF && s[i + 1] == 0xC0 && s[i + 9] == 3;
    EXPECT_TRUE(baseline);

    const DecodedPicture picture = Decoded(image, w);
    ASSERT_FALSE(picture.pixels.empty());
    const std::uint8_t* first = &picture.pixels[(2 * w + 4) * 3];       // buffer row 2
    const std::uint8_t* last = &picture.pixels[((h - 3) * w + 4) * 3];  // buffer row h-3
    EXPECT_GT(first[0], 200);  // blue byte first: the picture's bottom
    EXPECT_LT(first[2], 60);
    EXPECT_GT(last[2], 200);   // red in byte 2: the picture's top
    EXPECT_LT(last[0], 60);
}

TEST(PreviewCodec, EncodeRefusesShortBufferAndDropsOldStream) {
    PreviewImage image = Encoded(Filled(8, 8, 1, 2, 3), 8, 8);
    SetStats(image, 1, 2, 3, 4);
    const auto small = Filled(8, 7, 1, 2, 3);
    test::RecordingUserInterface ui;
    EXPECT_FALSE(Encode(image, small.data(), small.size(), 8, 8, 90, &ui));
    EXPECT_TRUE(image.IsEmpty());
    EXPECT_TRUE(ui.messages.empty());
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
        EXPECT_TRUE(picture.pixels.empty());
        ASSERT_EQ(ui.messages.size(), 1u);
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
