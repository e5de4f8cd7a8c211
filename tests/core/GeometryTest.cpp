#include "core/Geometry.h"
#include "support/TestBed.h"

#include <gtest/gtest.h>

using SkinUI::CRectUI;

TEST(RectUI, EmptinessAndIntersectionMatchThePlatform)
{
    const RECT rects[] = {
        {0, 0, 10, 10},
        {5, 5, 15, 15},
        {10, 0, 20, 10},
        {0, 0, 0, 10},
        {3, 3, 1, 8},
        {-5, -5, 2, 2},
        {2, 2, 4, 4},
        {0, 10, 10, 20},
    };
    for (const RECT& a : rects) {
        EXPECT_EQ(CRectUI(a).IsEmpty(), IsRectEmpty(&a) != FALSE);
        for (const RECT& b : rects) {
            RECT expected;
            const bool overlap = IntersectRect(&expected, &a, &b) != FALSE;
            CRectUI r(a);
            EXPECT_EQ(r.Intersect(b), overlap);
            EXPECT_TRUE(EqualRect(&r, &expected))
                << a.left << ',' << a.top << ',' << a.right << ',' << a.bottom << " x " << b.left << ',' << b.top << ','
                << b.right << ',' << b.bottom;
        }
    }
}

TEST(RectUI, JoinWidensAndContainsExcludesRightAndBottom)
{
    CRectUI r(10, 10, 20, 20);
    r.Join(CRectUI(0, 15, 12, 30));
    EXPECT_EQ(r, CRectUI(0, 10, 20, 30));
    EXPECT_EQ(r.GetWidth(), 20);
    EXPECT_EQ(r.GetHeight(), 20);

    EXPECT_TRUE(r.Contains(POINT{0, 10}));
    EXPECT_FALSE(r.Contains(POINT{20, 15}));
    EXPECT_FALSE(r.Contains(POINT{5, 30}));

    r.Offset(1, -1);
    EXPECT_EQ(r, CRectUI(1, 9, 21, 29));
    r.Deflate(2, 3);
    EXPECT_EQ(r, CRectUI(3, 12, 19, 26));
    EXPECT_FALSE(r.IsNull());
    r.SetEmpty();
    EXPECT_TRUE(r.IsNull());
}

// The test bed itself: a real window and a DIB that reads back what was written.
TEST(TestBed, WindowAndDib)
{
    testbed::TestWindow window;
    ASSERT_NE(window.Handle(), nullptr);
    testbed::DibCanvas canvas(4, 4, 0xFF112233);
    EXPECT_EQ(canvas.Pixel(1, 1), 0xFF112233u);
}

// Guards the code page 936 run: the other Cp936 tests mean nothing under another code page.
TEST(TestBedCp936, CodePageIs936) { EXPECT_EQ(GetACP(), 936u); }
