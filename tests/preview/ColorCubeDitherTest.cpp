#include <gtest/gtest.h>

#include "preview/ColorCubeDither.h"

namespace sc {
namespace {

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

}  // namespace
}  // namespace sc
