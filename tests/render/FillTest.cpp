// Fills with alpha, gradients (msimg32's and the own banded one), the HSL shift, clip scopes and
// where the blend and gradient entry points come from. Outlines are covered by the reference
// drawings.
#include <gtest/gtest.h>

#include "RenderTestSupport.h"
#include "render/ClipScope.h"
#include "render/RenderKit.h"

using namespace SkinUI;
using namespace rendertest;

namespace {

int Ch(uint32_t p, int shift) { return static_cast<int>((p >> shift) & 0xFF); }

class Fill : public ::testing::Test {
protected:
    void TearDown() override { CRenderKit::UseOwnBlending(false); }
};

}  // namespace

TEST_F(Fill, ColorByAlpha)
{
    testbed::DibCanvas canvas(30, 10, 0xFF000000);
    CRenderKit::FillColor(canvas.Dc(), RECT{0, 0, 10, 10}, 0x00FF0000);
    EXPECT_EQ(0, canvas.CountNot(0xFF000000, RECT{0, 0, 30, 10})) << "alpha 0 draws nothing";
    CRenderKit::FillColor(canvas.Dc(), RECT{0, 0, 10, 10}, 0xFFFF0000);
    EXPECT_EQ(0xFF0000u, Rgb(canvas.Pixel(0, 0)));
    EXPECT_EQ(0xFF0000u, Rgb(canvas.Pixel(9, 9)));
    EXPECT_EQ(0xFF000000u, canvas.Pixel(10, 9));

    // The colour is blended as given (not premultiplied): over black the full colour comes out.
    // (Over white the red channel overflows: Windows saturates it at 255, Wine wraps it.)
    CRenderKit::FillColor(canvas.Dc(), RECT{10, 0, 20, 10}, 0x80FF0000);
    EXPECT_EQ(255, Ch(canvas.Pixel(15, 5), 16));
    EXPECT_EQ(0, Ch(canvas.Pixel(15, 5), 8));
    testbed::DibCanvas white(10, 10, 0xFFFFFFFF);
    CRenderKit::FillColor(white.Dc(), RECT{0, 0, 10, 10}, 0x80FF0000);
    EXPECT_NEAR(127, Ch(white.Pixel(5, 5), 8), 1);
    EXPECT_NEAR(127, Ch(white.Pixel(5, 5), 0), 1);
}

TEST_F(Fill, ColorThroughTheOwnBlendIsATrueHalfBlend)
{
    CRenderKit::UseOwnBlending(true);
    testbed::DibCanvas black(10, 10, 0xFF000000);
    CRenderKit::FillColor(black.Dc(), RECT{0, 0, 10, 10}, 0x80FF0000);
    EXPECT_NEAR(128, Ch(black.Pixel(5, 5), 16), 1);
    testbed::DibCanvas white(10, 10, 0xFFFFFFFF);
    CRenderKit::FillColor(white.Dc(), RECT{0, 0, 10, 10}, 0x80FF0000);
    EXPECT_EQ(255, Ch(white.Pixel(5, 5), 16));
    EXPECT_NEAR(127, Ch(white.Pixel(5, 5), 8), 1);
}

TEST_F(Fill, GradientRunsFromTopToBottom)
{
    testbed::DibCanvas canvas(10, 64, 0xFF000000);
    CRenderKit::FillGradient(canvas.Dc(), RECT{0, 0, 10, 64}, 0xFF0000FF, 0xFFFF0000, 8);
    EXPECT_NEAR(255, Ch(canvas.Pixel(5, 0), 0), 8) << "blue on top";
    EXPECT_NEAR(0, Ch(canvas.Pixel(5, 0), 16), 8);
    EXPECT_NEAR(255, Ch(canvas.Pixel(5, 63), 16), 8) << "red at the bottom";
    for (int y = 1; y < 64; ++y)
        EXPECT_GE(Ch(canvas.Pixel(5, y), 16), Ch(canvas.Pixel(5, y - 1), 16));

    // Alphas 0xFF and 0x00 blend at 127: a white gradient over black comes out near 127.
    testbed::DibCanvas half(10, 10, 0xFF000000);
    CRenderKit::FillGradient(half.Dc(), RECT{0, 0, 10, 10}, 0xFFFFFFFF, 0x00FFFFFF, 8);
    EXPECT_NEAR(127, Ch(half.Pixel(5, 5), 8), 1);
    // Two transparent colours: nothing.
    CRenderKit::FillGradient(half.Dc(), RECT{0, 0, 10, 10}, 0x00FFFFFF, 0x01FFFFFF, 8);
    EXPECT_NEAR(127, Ch(half.Pixel(5, 5), 8), 1);
}

TEST_F(Fill, OwnGradientIsBanded)
{
    CRenderKit::UseOwnBlending(true);
    const uint32_t c1 = 0xFF0000F8;  // blue 248 on top
    const uint32_t c2 = 0xFF800000;  // red 128 at the bottom
    testbed::DibCanvas canvas(4, 64, 0xFF000000);
    CRenderKit::FillGradient(canvas.Dc(), RECT{0, 0, 4, 64}, c1, c2, 8);
    for (int band = 0; band < 8; ++band) {
        // Band i counted from the bottom: channel = (c2 * (8 - i) + c1 * i) >> 3, 8 pixels high.
        const uint32_t red = (128u * (8 - band)) >> 3;
        const uint32_t blue = (248u * band) >> 3;
        for (int row = 0; row < 8; ++row) {
            const int y = 63 - band * 8 - row;
            EXPECT_EQ((red << 16) | blue, Rgb(canvas.Pixel(2, y))) << "band " << band << " y " << y;
        }
    }
    EXPECT_EQ(0x800000u, Rgb(canvas.Pixel(0, 63))) << "the bottom band is colour 2 exactly";

    // 16 bands from 16 steps on: 4-pixel bands over 64 pixels.
    testbed::DibCanvas fine(4, 64, 0xFF000000);
    CRenderKit::FillGradient(fine.Dc(), RECT{0, 0, 4, 64}, c1, c2, 16);
    EXPECT_EQ(Rgb(fine.Pixel(0, 60)), Rgb(fine.Pixel(0, 63)));
    EXPECT_NE(Rgb(fine.Pixel(0, 59)), Rgb(fine.Pixel(0, 60)));

    // With alpha the own path still blends the bands (they are opaque paint).
    testbed::DibCanvas blended(4, 8, 0xFF000000);
    CRenderKit::FillGradient(blended.Dc(), RECT{0, 0, 4, 8}, 0xFFFFFFFF, 0x00FFFFFF, 8);
    EXPECT_NEAR(127, Ch(blended.Pixel(1, 4), 8), 2);
}

TEST(HslShift, IdentityBlackAndGrey)
{
    for (uint32_t c : {0x12345678u, 0xFFFF0000u, 0x00000000u, 0x80FFFFFFu}) {
        EXPECT_EQ(c, CRenderKit::ShiftColorHsl(c, 180, 100, 100));
        EXPECT_EQ(c & 0xFF000000u, CRenderKit::ShiftColorHsl(c, 180, 100, 0)) << "black, alpha kept";
    }
    // Saturation 0: a grey of the colour's lightness ((max + min) / 2).
    const uint32_t grey = CRenderKit::ShiftColorHsl(0x80FF0000u, 180, 0, 100);
    EXPECT_EQ(0x80u, grey >> 24);
    EXPECT_NEAR(127, Ch(grey, 16), 1);
    EXPECT_EQ(Ch(grey, 16), Ch(grey, 8));
    EXPECT_EQ(Ch(grey, 8), Ch(grey, 0));
    // A hue turn of 120 degrees moves a pure primary to another primary.
    const uint32_t turned = CRenderKit::ShiftColorHsl(0xFF0000FFu, 300, 100, 100);
    EXPECT_EQ(0xFF000000u, turned & 0xFF000000u);
    EXPECT_LT(Ch(turned, 0), 5) << "the primary has moved";
    EXPECT_EQ(1, (Ch(turned, 16) > 250) + (Ch(turned, 8) > 250)) << "onto one other primary";
    // The low byte plays red: 0x0000FF is read as hue 0, turned by 120 degrees to the primary in
    // bits 8-15. (Read as blue it would have turned to 240 + 120 = red, 0xFF0000.)
    EXPECT_EQ(0xFF00FF00u, turned);
}

TEST(ClipScope, NestedScopesNarrowAndRestore)
{
    testbed::DibCanvas canvas(50, 50, 0xFF000000);
    RECT box;
    GetClipBox(canvas.Dc(), &box);
    const RECT before = box;
    {
        CClipScope a;
        CClipScope::NarrowToRect(canvas.Dc(), RECT{10, 10, 40, 40}, a);
        {
            CClipScope b;
            CClipScope::NarrowToRect(canvas.Dc(), RECT{0, 20, 30, 50}, b);
            GetClipBox(canvas.Dc(), &box);
            const RECT both = {10, 20, 30, 40};
            EXPECT_TRUE(EqualRect(&box, &both));
            CRenderKit::FillColor(canvas.Dc(), RECT{0, 0, 50, 50}, 0xFFFFFFFF);
        }
        GetClipBox(canvas.Dc(), &box);
        EXPECT_EQ(10, box.left);
        EXPECT_EQ(40, box.bottom);
    }
    GetClipBox(canvas.Dc(), &box);
    EXPECT_TRUE(EqualRect(&box, &before));
    EXPECT_EQ(20 * 20, CountRgb(canvas, 0xFFFFFF, RECT{0, 0, 50, 50}));
    EXPECT_EQ(0xFFFFFFu, Rgb(canvas.Pixel(10, 20)));
    EXPECT_EQ(0xFFFFFFu, Rgb(canvas.Pixel(29, 39)));
    EXPECT_EQ(0xFF000000u, canvas.Pixel(30, 39));
    EXPECT_EQ(0xFF000000u, canvas.Pixel(9, 25));
}

TEST(ClipScope, AClipThatWasNotARectangleComesBackAsItsBoundingBox)
{
    testbed::DibCanvas canvas(40, 40, 0xFF000000);
    HRGN round = CreateRoundRectRgn(0, 0, 41, 41, 20, 20);
    SelectClipRgn(canvas.Dc(), round);
    DeleteObject(round);
    {
        CClipScope clip;
        CClipScope::NarrowToRect(canvas.Dc(), RECT{10, 10, 30, 30}, clip);
    }
    // The corner was outside the rounded clip before the scope; now it is inside the restored box.
    CRenderKit::FillColor(canvas.Dc(), RECT{0, 0, 40, 40}, 0xFFFFFFFF);
    EXPECT_EQ(0xFFFFFFu, Rgb(canvas.Pixel(0, 0)));
    SelectClipRgn(canvas.Dc(), nullptr);
}

TEST(ClipScope, RoundedClipCutsTheCorners)
{
    testbed::DibCanvas canvas(40, 40, 0xFF000000);
    {
        CClipScope clip;
        CClipScope::NarrowToRoundRect(canvas.Dc(), RECT{0, 0, 40, 40}, RECT{0, 0, 40, 40}, 16, 16, clip);
        CRenderKit::FillColor(canvas.Dc(), RECT{0, 0, 40, 40}, 0xFFFFFFFF);
    }
    EXPECT_EQ(0xFF000000u, canvas.Pixel(0, 0));
    EXPECT_EQ(0xFF000000u, canvas.Pixel(39, 39));
    EXPECT_EQ(0xFFFFFFu, Rgb(canvas.Pixel(20, 0)));
    EXPECT_EQ(0xFFFFFFu, Rgb(canvas.Pixel(39, 20))) << "the item's right column stays in";
    CRenderKit::FillColor(canvas.Dc(), RECT{0, 0, 40, 40}, 0xFFFFFFFF);
    EXPECT_EQ(0xFFFFFFu, Rgb(canvas.Pixel(0, 0))) << "restored";
}

TEST(ClipScope, WorksInLogicalCoordinatesUnderAWindowOrigin)
{
    testbed::DibCanvas canvas(50, 50, 0xFF000000);
    POINT old;
    SetWindowOrgEx(canvas.Dc(), 100, 0, &old);  // logical x 100 is device x 0
    {
        CClipScope clip;
        CClipScope::NarrowToRect(canvas.Dc(), RECT{110, 10, 120, 20}, clip);
        CRenderKit::FillColor(canvas.Dc(), RECT{100, 0, 150, 50}, 0xFFFFFFFF);
    }
    SetWindowOrgEx(canvas.Dc(), old.x, old.y, nullptr);
    EXPECT_EQ(0xFFFFFFu, Rgb(canvas.Pixel(10, 10)));
    EXPECT_EQ(0xFFFFFFu, Rgb(canvas.Pixel(19, 19)));
    EXPECT_EQ(0xFF000000u, canvas.Pixel(20, 15));
    EXPECT_EQ(100, canvas.CountNot(0xFF000000, RECT{0, 0, 50, 50}));
}

// The kit uses AlphaBlend and GradientFill only from a msimg32 the process has loaded; it never
// loads one. The check needs a process in which msimg32 was never loaded, so the test program runs
// itself again with the child test below selected.
TEST(BlendLookup, WithoutMsimg32TheOwnBlendAndBandsAreUsedAndNothingIsLoaded)
{
    if (RunsWithoutMsimg32())
        GTEST_SKIP() << "this is the child run";
    char self[MAX_PATH + 1] = {};
    ASSERT_GT(GetModuleFileNameA(nullptr, self, MAX_PATH), 0u);
    const std::string result = ScratchFolder() + "without-msimg32.txt";
    DeleteFileA(result.c_str());
    std::string command = std::string("\"") + self + "\" --gtest_filter=BlendLookup.ChildWithoutMsimg32";
    std::vector<char> line(command.begin(), command.end());
    line.push_back('\0');

    ASSERT_TRUE(SetEnvironmentVariableA(kWithoutMsimg32, result.c_str()));
    STARTUPINFOA si = {};
    si.cb = sizeof(si);
    PROCESS_INFORMATION pi = {};
    const BOOL started = CreateProcessA(self, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi);
    SetEnvironmentVariableA(kWithoutMsimg32, nullptr);
    ASSERT_TRUE(started);
    EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(pi.hProcess, 60000));
    DWORD code = 1;
    GetExitCodeProcess(pi.hProcess, &code);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    EXPECT_EQ(0u, code);
    char text[3] = {};
    HANDLE f = CreateFileA(result.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, f) << "the child ran its checks";
    DWORD got = 0;
    ReadFile(f, text, 2, &got, nullptr);
    CloseHandle(f);
    EXPECT_STREQ("ok", text);
}

TEST(BlendLookup, ChildWithoutMsimg32)
{
    if (!RunsWithoutMsimg32())
        GTEST_SKIP() << "runs only as the child of the test above";
    ASSERT_EQ(nullptr, GetModuleHandleA("msimg32.dll")) << "precondition: nothing loaded it yet";

    // Half red over black: AlphaBlend would give the full red of the unpremultiplied pixel, the
    // own blend a true half blend.
    testbed::DibCanvas black(10, 10, 0xFF000000);
    CRenderKit::FillColor(black.Dc(), RECT{0, 0, 10, 10}, 0x80FF0000);
    EXPECT_NEAR(128, Ch(black.Pixel(5, 5), 16), 1);

    // Without GradientFill: 8 bands of 8 pixels, the bottom one colour 2 exactly.
    testbed::DibCanvas bands(4, 64, 0xFF000000);
    CRenderKit::FillGradient(bands.Dc(), RECT{0, 0, 4, 64}, 0xFF0000F8, 0xFF800000, 8);
    EXPECT_EQ(0x800000u, Rgb(bands.Pixel(0, 56)));
    EXPECT_EQ(0x800000u, Rgb(bands.Pixel(0, 63)));
    EXPECT_NE(0x800000u, Rgb(bands.Pixel(0, 55)));

    EXPECT_EQ(nullptr, GetModuleHandleA("msimg32.dll")) << "the kit loads no library";

    if (!HasFailure()) {
        const std::string path = WithoutMsimg32ResultFile();
        HANDLE f = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        ASSERT_NE(INVALID_HANDLE_VALUE, f);
        DWORD written = 0;
        WriteFile(f, "ok", 2, &written, nullptr);
        CloseHandle(f);
    }
}
