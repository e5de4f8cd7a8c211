#include "core/DpiScale.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <climits>

using SkinUI::ScaleFromDpi;
using SkinUI::ScaleToDpi;

TEST(DpiScale, RoundsHalfAwayFromZeroLikeMulDivAndClampsInsteadOfFailing)
{
    struct {
        int value, dpi, scaled;
    } const cases[] = {
        {0, 144, 0},
        {1, 144, 2},  // 1.5 rounds up
        {-1, 144, -2},  // and away from zero below it
        {3, 144, 5},  // 4.5
        {33, 144, 50},  // 49.5
        {13, 120, 16},  // 16.25
        {7, 96, 7},
        {360, 192, 720},
        {466, 144, 699},
        {9999, 288, 29997},
        {INT_MAX, 192, INT_MAX},  // MulDiv would answer -1
        {INT_MIN, 192, INT_MIN},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.scaled, ScaleToDpi(c.value, c.dpi)) << c.value << " at " << c.dpi;
        if (c.value > -1000000 && c.value < 1000000)
            EXPECT_EQ(::MulDiv(c.value, c.dpi, 96), ScaleToDpi(c.value, c.dpi)) << c.value << " at " << c.dpi;
    }
}

TEST(DpiScale, GoingUpAndBackDownGivesTheFirstValueExactly)
{
    // The host keeps 96-DPI values and a floating control stores what its pixels come back to: a
    // trip up to any scale at or above 100 % must never move a value by a pixel.
    for (const int dpi : {96, 120, 144, 168, 192, 240, 288, 384}) {
        for (int value = -2000; value <= 2000; ++value) {
            ASSERT_EQ(value, ScaleFromDpi(ScaleToDpi(value, dpi), dpi)) << value << " at " << dpi;
        }
    }
}
