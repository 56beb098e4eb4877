#include <gtest/gtest.h>

#include <string>

#include "preview/FrameBuffer.h"

namespace sc {
namespace {

const std::uint8_t* Bytes(const std::string& s) { return reinterpret_cast<const std::uint8_t*>(s.data()); }

TEST(FrameBufferTest, RowsLandBottomUpWithRedAndBlueSwapped) {
    FrameBuffer frame;
    frame.SetSize(2, 3);
    const std::string top("\x01\x02\x03\x04\x05\x06", 6);
    const std::string bottom("\x0a\x0b\x0c\x0d\x0e\x0f", 6);
    EXPECT_TRUE(frame.PutRow(0, 2, Bytes(top), top.size()));
    EXPECT_TRUE(frame.PutRow(2, 2, Bytes(bottom), bottom.size()));
    const std::string pixels(reinterpret_cast<const char*>(frame.Pixels()), frame.Size());
    EXPECT_EQ(pixels, std::string("\x0c\x0b\x0a\x0f\x0e\x0d", 6) + std::string(6, '\0') +
                          std::string("\x03\x02\x01\x06\x05\x04", 6));
    frame.Clear();
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(frame.Pixels()), frame.Size()), std::string(18, '\0'));
}

TEST(FrameBufferTest, RowsThatDoNotFitAreRefused) {
    FrameBuffer frame;
    const std::string row(6, 'x');
    EXPECT_FALSE(frame.PutRow(0, 2, Bytes(row), row.size()));  // no buffer yet
    frame.SetSize(2, 2);
    EXPECT_FALSE(frame.PutRow(2, 2, Bytes(row), row.size()));
    EXPECT_FALSE(frame.PutRow(-1, 2, Bytes(row), row.size()));
    EXPECT_FALSE(frame.PutRow(0, 3, Bytes(row), row.size()));
    EXPECT_FALSE(frame.PutRow(0, 2, Bytes(row), 5));
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(frame.Pixels()), frame.Size()), std::string(12, '\0'));
    // The same size keeps the picture; another size starts afresh.
    EXPECT_TRUE(frame.PutRow(0, 2, Bytes(row), row.size()));
    frame.SetSize(2, 2);
    EXPECT_EQ(frame.Pixels()[6], 'x');
    frame.SetSize(1, 1);
    EXPECT_EQ(frame.Size(), 3u);
    EXPECT_EQ(frame.Pixels()[0], 0);
}

}  // namespace
}  // namespace sc
