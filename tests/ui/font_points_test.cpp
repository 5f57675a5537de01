#include "ui/font_points.h"

#include <gtest/gtest.h>

#include <climits>

TEST(FontPoints, ReadsCharacterHeightAsRoundedPoints) {
    struct Case {
        long height;
        int dpi;
        int points;
    };
    const Case cases[] = {
        {-20, 96, 15},  // the captions' starting font
        {-21, 96, 16},  // 15.75
        {-19, 96, 14},  // 14.25
        {-2, 96, 2},    // 1.5: halves go up
        {-1, 96, 1},    // 0.75
        {0, 96, 0},     // default height
        {20, 96, 15},   // a positive (cell) height reads by its magnitude
        {-20, 120, 12}, // 12.0
        {-25, 120, 15}, // 15.0
        {-13, 144, 7},  // 6.5
        {-20, 0, 0},    // no resolution
    };
    for (const Case& c : cases)
        EXPECT_EQ(PointsFromLogFontHeight(c.height, c.dpi), c.points)
            << "height " << c.height << " at " << c.dpi << " dpi";
}

TEST(FontPoints, WritesPointsAsNegativeRoundedCharacterHeight) {
    struct Case {
        int points;
        int dpi;
        long height;
    };
    const Case cases[] = {
        {16, 96, -21},                // 21.33
        {15, 96, -20}, {14, 96, -19}, // 18.67
        {1, 96, -1},                  // 1.33
        {3, 96, -4},                  // 4.0
        {0, 96, 0},    {-1, 96, 0},   // below zero: the font's default height
        {-50, 96, 0},  {9, 120, -15}, // 15.0
        {7, 144, -14},                // 14.0
        {1, 108, -2},                 // 1.5: halves go up
    };
    for (const Case& c : cases)
        EXPECT_EQ(LogFontHeightFromPoints(c.points, c.dpi), c.height)
            << c.points << " points at " << c.dpi << " dpi";
}

TEST(FontPoints, StepsOfOnePointFromFifteenAt96Dpi) {
    // A spin control steps the size one point at a time from the read value; walking up
    // and back down must come back to where it started.
    long height = -20;
    for (int i = 0; i < 40; ++i)
        height = LogFontHeightFromPoints(PointsFromLogFontHeight(height, 96) + 1, 96);
    EXPECT_EQ(PointsFromLogFontHeight(height, 96), 55);
    for (int i = 0; i < 40; ++i)
        height = LogFontHeightFromPoints(PointsFromLogFontHeight(height, 96) - 1, 96);
    EXPECT_EQ(height, -20);
    for (int i = 0; i < 20; ++i)
        height = LogFontHeightFromPoints(PointsFromLogFontHeight(height, 96) - 1, 96);
    EXPECT_EQ(height, 0); // stays at the default height, never below
}

TEST(FontPoints, HugeSizesDoNotOverflow) {
    EXPECT_EQ(LogFontHeightFromPoints(INT_MAX, 96), -2147483647L);
    EXPECT_EQ(PointsFromLogFontHeight(-2147483647L, 96), 1610612735);
    EXPECT_EQ(PointsFromLogFontHeight(-2147483647L, 1), INT_MAX);
}
