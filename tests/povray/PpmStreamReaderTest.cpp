#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "povray/PpmStreamReader.h"

namespace sc {
namespace {

struct Collected {
    std::vector<std::pair<int, int>> images;
    std::vector<std::string> rows;
};

void Attach(PpmStreamReader& reader, Collected& collected) {
    reader.onImage = [&](int w, int h) { collected.images.push_back({w, h}); };
    reader.onRow = [&](int row, const std::uint8_t* rgb, int width) {
        collected.rows.push_back(std::to_string(row) + ":" +
                                 std::string(reinterpret_cast<const char*>(rgb), static_cast<size_t>(width) * 3));
        return true;
    };
}

TEST(PpmStreamReaderTest, RowsComeOutWhateverTheChunkBoundaries) {
    const std::string stream = std::string("P6\n# Software: POV-Ray\n2 2\n255\n") + "abcdefghijkl" + "P6 1 1 255 xyz";
    for (size_t chunk : {1u, 3u, 7u, 100u}) {
        PpmStreamReader reader;
        Collected collected;
        Attach(reader, collected);
        for (size_t i = 0; i < stream.size(); i += chunk) ASSERT_TRUE(reader.Feed(stream.substr(i, chunk)));
        EXPECT_EQ(collected.images, (std::vector<std::pair<int, int>>{{2, 2}, {1, 1}}));
        EXPECT_EQ(collected.rows, (std::vector<std::string>{"0:abcdef", "1:ghijkl", "0:xyz"}));
        EXPECT_TRUE(reader.Complete());
        EXPECT_EQ(reader.Pictures(), 2);
    }
}

TEST(PpmStreamReaderTest, SixteenBitChannelsAreScaledAndTruncatedStreamsNoticed) {
    PpmStreamReader reader;
    Collected collected;
    Attach(reader, collected);
    ASSERT_TRUE(reader.Feed(std::string("P6 1 1 65535\n\xff\xff\x80\x00\x00\x00", 19)));
    EXPECT_EQ(collected.rows, std::vector<std::string>{std::string("0:\xff\x80\x00", 5)});
    EXPECT_TRUE(reader.Feed("P6 2 1 255\nabc"));
    EXPECT_FALSE(reader.Complete());
    for (const char* bad : {"P3 1 1 255\n", "P6 0 1 255\n", "P6 1 1 0\n", "P6 99999 1 255\n", "P6 a"}) {
        PpmStreamReader broken;
        EXPECT_FALSE(broken.Feed(bad)) << bad;
    }
}

}  // namespace
}  // namespace sc
