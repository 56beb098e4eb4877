#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "preview/FrameBuffer.h"

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

}  // namespace
}  // namespace sc
