#include "shadow/WndShadow.h"

#include <gtest/gtest.h>

#include <vector>

using SkinUI::CWndShadow;
using SkinUI::TShadowLook;

namespace {

// Alpha of the default blur at distance d from an edge stamp: (1 - d / 6) * 150, truncated,
// worked out by hand in double precision (so d = 5 gives 24, not 25).
const DWORD kBlur[6] = {150, 125, 100, 75, 50, 24};

// A rendered picture, read from the top row down (the bitmap itself is bottom-up). Guard words
// around the pixels catch writes outside the picture.
class CPicture {
public:
    CPicture(int parentWidth, int parentHeight, const TShadowLook& look, HRGN outline = nullptr)
        : m_width(parentWidth + 2 * look.spread)
        , m_height(parentHeight + 2 * look.spread)
    {
        const size_t count = m_width > 0 && m_height > 0 ? static_cast<size_t>(m_width) * m_height : 0;
        m_store.assign(count + 2 * kGuard, kGuardValue);
        std::fill(m_store.begin() + kGuard, m_store.end() - kGuard, 0u);
        m_rendered = CWndShadow::RenderShadow(m_store.data() + kGuard, parentWidth, parentHeight, outline, look);
    }
    bool Rendered() const { return m_rendered; }
    int Width() const { return m_width; }
    int Height() const { return m_height; }
    DWORD At(int x, int y) const { return m_store[kGuard + static_cast<size_t>(m_height - 1 - y) * m_width + x]; }
    bool GuardsIntact() const
    {
        for (size_t i = 0; i < kGuard; ++i) {
            if (m_store[i] != kGuardValue || m_store[m_store.size() - 1 - i] != kGuardValue)
                return false;
        }
        return true;
    }
    // Every pixel of the rectangle [left, right) x [top, bottom) is fully transparent.
    bool Clear(int left, int top, int right, int bottom) const
    {
        for (int y = top; y < bottom; ++y) {
            for (int x = left; x < right; ++x) {
                if (At(x, y) != 0)
                    return false;
            }
        }
        return true;
    }

private:
    static constexpr size_t kGuard = 64;
    static constexpr DWORD kGuardValue = 0xA5A5A5A5;
    int m_width;
    int m_height;
    bool m_rendered;
    std::vector<DWORD> m_store;
};

TShadowLook MainWindowLook()
{
    TShadowLook look;
    look.spread = 2;
    look.offsetX = 0;
    look.offsetY = 0;
    return look;
}

}  // namespace

TEST(ShadowColour, ScaleColorByAlphaPremultipliesIntoArgbOrder)
{
    for (int a = 0; a <= 255; a += 15)
        EXPECT_EQ(CWndShadow::ScaleColorByAlpha(RGB(0, 0, 0), static_cast<BYTE>(a)), 0u);
    EXPECT_EQ(CWndShadow::ScaleColorByAlpha(0x00FFFFFF, 150), 0x969696u);
    EXPECT_EQ(CWndShadow::ScaleColorByAlpha(RGB(255, 0, 0), 150), 0x960000u);  // red goes high
    EXPECT_EQ(CWndShadow::ScaleColorByAlpha(RGB(0, 0, 255), 255), 0x0000FFu);
    EXPECT_EQ(CWndShadow::ScaleColorByAlpha(RGB(100, 200, 50), 128), 0x326419u);  // 50, 100, 25 truncated
}

TEST(ShadowKernel, FadesFromAFullDarknessCentre)
{
    const std::vector<DWORD> kernel = CWndShadow::BuildKernel(TShadowLook());
    ASSERT_EQ(kernel.size(), 11u * 11u);  // K = max(0, 5) = 5
    auto at = [&](int row, int col) { return kernel[static_cast<size_t>(row) * 11 + col]; };
    EXPECT_EQ(at(5, 5), 0x96000000u);  // d = 0: alpha = darkness
    for (int d = 1; d <= 5; ++d)
        EXPECT_EQ(at(5 - d, 5), kBlur[d] << 24) << d;
    EXPECT_EQ(at(3, 3), 79u << 24);  // d = 2.83
    EXPECT_EQ(at(0, 0), 0u);  // d = 7.07, outside the radius

    TShadowLook white;
    white.color = 0x00FFFFFF;
    EXPECT_EQ(CWndShadow::BuildKernel(white)[5 * 11 + 5], 0x96969696u);

    TShadowLook wide;  // spread 8 > sharpness 5: K = 8, solid within 3 pixels
    wide.spread = 8;
    const std::vector<DWORD> big = CWndShadow::BuildKernel(wide);
    ASSERT_EQ(big.size(), 17u * 17u);
    EXPECT_EQ(big[8 * 17 + 10], 0x96000000u);  // d = 2
    EXPECT_EQ(big[8 * 17 + 11], 150u << 24);  // d = 3: the blur starts at full darkness
    EXPECT_EQ(big[8 * 17 + 16], 24u << 24);  // d = 8
}

// Defaults on a 40 x 30 parent: the picture has the parent's size and sits 5 pixels right and down,
// so the parent covers columns 0..34 and rows 0..24 of it. Five erosions leave the spans at
// columns 5..34 of rows 5..24; the blur is stamped along their edges.
TEST(ShadowPicture, DefaultSettings)
{
    const CPicture pic(40, 30, TShadowLook());
    ASSERT_TRUE(pic.Rendered());
    ASSERT_EQ(pic.Width(), 40);
    ASSERT_EQ(pic.Height(), 30);
    EXPECT_TRUE(pic.GuardsIntact());

    EXPECT_TRUE(pic.Clear(0, 0, 35, 25));  // behind the parent
    for (int d = 1; d <= 5; ++d) {
        EXPECT_EQ(pic.At(34 + d, 15), kBlur[d] << 24) << "right strip, " << d;
        EXPECT_EQ(pic.At(20, 24 + d), kBlur[d] << 24) << "bottom strip, " << d;
    }
    EXPECT_EQ(pic.At(36, 26), 79u << 24);  // 2.83 from the last stamp at (34, 24)
    EXPECT_EQ(pic.At(39, 29), 0u);  // rounded corner: 7.07 away
    // The first stamped row is 5, so row 0 is 5 away from it and row 1 is 4.
    EXPECT_EQ(pic.At(35, 0), 0u);  // sqrt(1 + 25) > 5
    EXPECT_EQ(pic.At(35, 1), 46u << 24);  // sqrt(1 + 16)
}

// The main window's settings (spread 2, offsets 0): 4 pixels larger than the parent, 2 up and
// left; three erosions; a fully transparent hole exactly behind the parent.
TEST(ShadowPicture, MainWindowSettings)
{
    const CPicture pic(40, 30, MainWindowLook());
    ASSERT_TRUE(pic.Rendered());
    ASSERT_EQ(pic.Width(), 44);
    ASSERT_EQ(pic.Height(), 34);
    EXPECT_TRUE(pic.GuardsIntact());

    EXPECT_TRUE(pic.Clear(2, 2, 42, 32));
    // Spans end up at columns 5..38 of rows 5..28, so the 2-pixel border sees the blur 4 and 5
    // pixels away from the nearest stamp on every side.
    EXPECT_EQ(pic.At(1, 17), kBlur[4] << 24);
    EXPECT_EQ(pic.At(0, 17), kBlur[5] << 24);
    EXPECT_EQ(pic.At(42, 17), kBlur[4] << 24);
    EXPECT_EQ(pic.At(43, 17), kBlur[5] << 24);
    EXPECT_EQ(pic.At(22, 1), kBlur[4] << 24);
    EXPECT_EQ(pic.At(22, 0), kBlur[5] << 24);
    EXPECT_EQ(pic.At(22, 32), kBlur[4] << 24);
    EXPECT_EQ(pic.At(22, 33), kBlur[5] << 24);
    EXPECT_EQ(pic.At(0, 0), 0u);
    EXPECT_EQ(pic.At(43, 33), 0u);
}

// The hole and the spans follow the window region: an L-shaped parent (top half 20 wide, bottom
// half 40 wide) shows shadow to the right of its narrow part.
TEST(ShadowPicture, OutlineFollowsTheWindowRegion)
{
    HRGN outline = CreateRectRgn(0, 0, 20, 15);
    HRGN bottom = CreateRectRgn(0, 15, 40, 30);
    CombineRgn(outline, outline, bottom, RGN_OR);
    DeleteObject(bottom);
    const CPicture pic(40, 30, MainWindowLook(), outline);
    DeleteObject(outline);
    ASSERT_TRUE(pic.Rendered());

    EXPECT_TRUE(pic.Clear(2, 2, 22, 17));  // behind the narrow part
    EXPECT_TRUE(pic.Clear(2, 17, 42, 32));  // behind the wide part
    EXPECT_EQ(pic.At(22, 8), kBlur[4] << 24);  // right of the narrow part: its edge stamp is at 18
    EXPECT_EQ(pic.At(23, 8), kBlur[5] << 24);
    EXPECT_EQ(pic.At(30, 8), 0u);
}

// A parent moved far away from its shadow leaves the eroded spans painted solid.
TEST(ShadowPicture, SolidWhereNoParentCovers)
{
    TShadowLook look;
    look.offsetY = 100;
    look.color = RGB(255, 0, 0);
    const CPicture pic(20, 20, look);
    ASSERT_TRUE(pic.Rendered());
    EXPECT_EQ(pic.At(10, 10), 0x96960000u);  // darkness 150, red premultiplied
    EXPECT_EQ(pic.At(5, 5), 0x96960000u);
    EXPECT_EQ(pic.At(14, 14), 0x96960000u);
    EXPECT_EQ(pic.At(19, 10), kBlur[5] << 24 | CWndShadow::ScaleColorByAlpha(RGB(255, 0, 0), 24));
}

// Negative spreads shrink the picture; one that eats the parent leaves nothing to draw.
TEST(ShadowPicture, NegativeSpreads)
{
    TShadowLook look;
    look.spread = -100;
    const CPicture none(50, 50, look);
    EXPECT_FALSE(none.Rendered());
    EXPECT_TRUE(none.GuardsIntact());

    look.spread = -25;  // exactly zero wide
    EXPECT_FALSE(CPicture(50, 50, look).Rendered());

    look.spread = -24;
    const CPicture tiny(50, 50, look);
    EXPECT_TRUE(tiny.Rendered());
    EXPECT_EQ(tiny.Width(), 2);
    EXPECT_TRUE(tiny.GuardsIntact());
}

// Every combination of awkward settings and outlines stays inside the picture.
TEST(ShadowPicture, NeverWritesOutsideThePicture)
{
    HRGN ellipse = CreateEllipticRgn(3, 0, 27, 17);
    HRGN empty = CreateRectRgn(0, 0, 0, 0);
    const HRGN outlines[] = {nullptr, ellipse, empty};
    const int spreads[] = {-12, -3, 0, 1, 4, 9, 20};
    const int sharpnesses[] = {0, 1, 5, 12};
    const int offsets[] = {-40, -6, 0, 3, 30};
    for (HRGN outline : outlines) {
        for (int s : spreads) {
            for (int h : sharpnesses) {
                for (int o : offsets) {
                    TShadowLook look;
                    look.spread = static_cast<signed char>(s);
                    look.sharpness = static_cast<BYTE>(h);
                    look.offsetX = static_cast<signed char>(o);
                    look.offsetY = static_cast<signed char>(-o / 2);
                    const CPicture pic(30, 17, look, outline);
                    ASSERT_TRUE(pic.GuardsIntact()) << s << ' ' << h << ' ' << o;
                    ASSERT_EQ(pic.Rendered(), 30 + 2 * s > 0 && 17 + 2 * s > 0);
                }
            }
        }
    }
    DeleteObject(ellipse);
    DeleteObject(empty);
}
