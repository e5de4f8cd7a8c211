#include <gtest/gtest.h>
#include <windows.h>
#include "support/TestBed.h"
TEST(Smoke, WindowAndDib) {
    testbed::TestWindow w;
    ASSERT_NE(w.Handle(), nullptr);
    testbed::DibCanvas c(4, 4, 0xFF112233);
    EXPECT_EQ(c.Pixel(1, 1), 0xFF112233u);
}
TEST(SmokeCp936, CodePage) { EXPECT_EQ(GetACP(), 936u); }
