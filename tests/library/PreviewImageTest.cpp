#include <gtest/gtest.h>

#include "library/PreviewImage.h"

namespace sc {
namespace {

PreviewImage WithStats(std::uint32_t r, std::uint32_t g, std::uint32_t b, std::uint32_t m,
                       std::vector<std::uint8_t> stream = {1, 2, 3}, bool valid = true) {
    PreviewImage image;
    image.jpegData = std::move(stream);
    SetStats(image, r, g, b, m);
    image.statsValid = valid;
    return image;
}

TEST(PreviewImageStats, SumsChannelsAndMiddleRowInsideTheBuffer) {
    // 2 x 2 pixels, stored blue, green, red.
    const std::vector<std::uint8_t> pixels = {1, 2, 3, 10, 20, 30, 100, 0, 7, 5, 6, 200};
    PreviewImage image;
    ComputeStats(image, pixels.data(), pixels.size(), 2, 2);
    EXPECT_TRUE(image.statsValid);
    EXPECT_EQ(image.sumBlue, 1u + 10 + 100 + 5);
    EXPECT_EQ(image.sumGreen, 2u + 20 + 0 + 6);
    EXPECT_EQ(image.sumRed, 3u + 30 + 7 + 200);
    // Six bytes from offset 12 / 2 = 6: 100 0 7 5 6 200 = 318; x 2 / 3 = 212.
    EXPECT_EQ(image.sumMiddleRow, 212u);
    ScaleStats(image, 4);
    EXPECT_EQ(image.sumMiddleRow, 848u);
    EXPECT_EQ(image.sumRed, 4u * 240u);

    // 3 x 1: offset 4, only the last five bytes exist: 45 x 1 / 3.
    const std::vector<std::uint8_t> row(9, 9);
    ComputeStats(image, row.data(), row.size(), 3, 1);
    EXPECT_EQ(image.sumMiddleRow, 15u);
    PreviewImage untouched;
    ComputeStats(untouched, row.data(), row.size(), 3, 2);  // buffer too short
    EXPECT_FALSE(untouched.statsValid);
}

// Each case is checked both ways round: Compare must be antisymmetric.
TEST(PreviewImageCompare, OrdersBySumRatiosThenTotalsThenStreamBytes) {
    const PreviewImage base = WithStats(100000, 200000, 300000, 50000);
    const PreviewImage zeroRed = WithStats(0, 1000, 1000, 1000);
    struct Case {
        const char* what;
        PreviewImage a, b;
        int expected;
    } cases[] = {
        {"both without picture", PreviewImage{}, PreviewImage{}, 0},
        {"pictureless last", PreviewImage{}, WithStats(1, 1, 1, 1), 1},
        {"within two per mille", base, WithStats(100150, 200300, 300400, 50090, {9, 9, 9, 9}), 0},
        {"one sum 0.25 % off: totals decide", base, WithStats(100250, 200000, 300000, 50000), -1},
        {"zero against non-zero", zeroRed, WithStats(5, 1000, 1000, 1000), -1},
        {"both zero: streams decide", zeroRed, WithStats(0, 1000, 1000, 1000, {1, 2, 4}), -1},
        {"unsigned stream bytes", WithStats(10, 20, 30, 5, {1, 200, 3}), WithStats(30, 20, 10, 5, {1, 100, 3, 4}), 1},
        {"equal over the shorter stream", WithStats(10, 20, 30, 5, {1, 200, 3}), WithStats(30, 20, 10, 5, {1, 200}), 0},
        {"invalid sums skip the ratios", WithStats(1000, 1000, 1000, 1000, {5}, false),
         WithStats(1000, 1000, 1000, 1000, {6}), -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(Compare(c.a, c.b), c.expected);
        EXPECT_EQ(Compare(c.b, c.a), -c.expected);
    }
}

}  // namespace
}  // namespace sc
