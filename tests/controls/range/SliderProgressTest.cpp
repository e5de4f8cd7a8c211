// Progress bars and sliders: fills read back from the host's off-screen bitmap, thumb and pointer
// arithmetic (also for ranges beyond 32-bit products), and sliders driven by real mouse messages
// posted to the host window.
#include <gtest/gtest.h>

#include <climits>
#include <string>

#include "support/HostBed.h"
#include "controls/range/Slider.h"
#include "controls/layout/VerticalLayout.h"

using namespace SkinUI;
using testbed::HostBed;
using testbed::ImageSpec;
using testbed::RectIs;
using testbed::Screen;

namespace {

const uint32_t kWhite = 0xFFFFFF;
const uint32_t kRed = 0xFF0000;
const uint32_t kBlue = 0x0000FF;
const uint32_t kGreen = 0x00FF00;

// `control` (fixed 200 x 20 unless its attributes say otherwise) at the top-left of a white window.
template <class T> T* PlaceOnWhite(HostBed& bed, const char* attributes)
{
    auto* root = new CVerticalLayoutUI;
    root->SetAttribute("bkcolor", "#FFFFFFFF");
    auto* control = new T;
    control->SetFixedWidth(200);
    control->SetFixedHeight(20);
    control->ApplyAttributeText(attributes);
    root->AddChild(control);
    bed.Attach(root);
    return control;
}

// A 200 x 20 image, red on the left half and blue on the right.
std::string SplitImageSpec()
{
    testbed::DibCanvas canvas(200, 20, 0xFF000000u | kRed);
    for (int y = 0; y < 20; ++y)
        for (int x = 100; x < 200; ++x)
            canvas.Bits()[y * 200 + x] = 0xFF000000u | kBlue;
    char folder[MAX_PATH];
    GetTempPathA(MAX_PATH, folder);
    std::string path = std::string(folder) + "split_fore.bmp";
    canvas.SaveBmp(path.c_str());
    return "file='" + path + "'";
}

void PostMouse(HostBed& bed, UINT message, WPARAM wParam, int x, int y)
{
    PostMessageA(bed.Hwnd(), message, wParam, testbed::Pt(x, y));
    bed.Pump();
}

void PostWheel(HostBed& bed, int delta, int x, int y)
{
    POINT screen = {x, y};
    ClientToScreen(bed.Hwnd(), &screen);
    PostMessageA(bed.Hwnd(), WM_MOUSEWHEEL, MAKEWPARAM(0, delta), MAKELPARAM(screen.x, screen.y));
    bed.Pump();
}

}  // namespace

//--- progress ----------------------------------------------------------------------------------------

TEST(Progress, FillsItsShareOfTheRange)
{
    struct TCase {
        const char* what;
        const char* attributes;
        bool horizontal;
        int edge;  // right edge of a horizontal fill, top edge of a vertical one
        int storedMax;
    };
    const TCase cases[] = {
        {"200 * 50 / 100 = 100", "value=\"50\"", true, 100, 100},
        {"200 * 10^9 / (2 * 10^9) = 100, in 64 bits", "max=\"2000000000\" value=\"1000000000\"", true, 100, 2000000000},
        {"a range wider than INT_MAX: 200 * 2 * 10^9 / (4 * 10^9) = 100", "min=\"-2000000000\" max=\"2000000000\"",
            true, 100, 2000000000},
        {"max = min paints as max + 1 and stores it: nothing filled", "min=\"5\" max=\"5\" value=\"5\"", true, 0, 6},
        {"a value above the maximum is ignored: 200 * 30 / 100 = 60", "value=\"30\" value=\"150\"", true, 60, 100},
        {"vertical from the bottom: top 20 * (100 - 25) / 100 = 15", "hor=\"false\" value=\"25\"", false, 15, 100},
        {"vertical at the minimum fills nothing", "hor=\"false\"", false, 20, 100},
        {"a value below a raised minimum is clamped at paint: 200 * 0 / 50 = 0", "min=\"50\"", true, 0, 100},
    };
    const std::string fore = ImageSpec("progress_fore.bmp", kRed);
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.what);
        HostBed bed(220, 40);
        auto* progress = PlaceOnWhite<CProgressUI>(bed, c.attributes);
        progress->SetAttribute("foreimage", fore.c_str());
        Screen screen(bed);
        // The first pixel inside the fill (none when it is empty) and the last one outside it.
        const bool filled = c.horizontal ? c.edge > 0 : c.edge < 20;
        const POINT in = c.horizontal ? POINT{filled ? c.edge - 1 : 0, 10} : POINT{100, filled ? c.edge : 19};
        const POINT out = c.horizontal ? POINT{c.edge, 10} : POINT{100, c.edge - 1};
        EXPECT_EQ(filled ? kRed : kWhite, screen.At(in.x, in.y));
        EXPECT_EQ(kWhite, screen.At(out.x, out.y));
        EXPECT_EQ(c.storedMax, progress->GetMaxValue());
    }
}

TEST(Progress, ForeImageIsStretchedOverTheFillOrCutToIt)
{
    const std::string split = SplitImageSpec();
    for (bool stretch : {true, false}) {
        SCOPED_TRACE(stretch ? "stretched" : "cut");
        HostBed bed(220, 40);
        auto* progress = PlaceOnWhite<CProgressUI>(bed, "value=\"50\"");
        progress->SetStretchForeImage(stretch);
        progress->SetAttribute("foreimage", split.c_str());
        Screen screen(bed);
        EXPECT_EQ(kRed, screen.At(25, 10));
        // Squeezed, the blue half lands in the fill's right half; cut, only red is shown.
        EXPECT_EQ(stretch ? kBlue : kRed, screen.At(75, 10));
        EXPECT_EQ(kWhite, screen.At(150, 10));
    }
}

//--- slider geometry ---------------------------------------------------------------------------------

TEST(Slider, ThumbFollowsTheValueWithoutOverflowOrDivisionByZero)
{
    struct TCase {
        const char* what;
        const char* attributes;
        CRectUI position;
        CRectUI thumb;
    };
    const TCase cases[] = {
        // left 10 + (110 - 10) * 50 / 100 = 60; top (0 + 20 - 10) / 2 = 5.
        {"half way", "value=\"50\"", {10, 0, 120, 20}, {60, 5, 70, 15}},
        {"10^9 of 2 * 10^9", "max=\"2000000000\" value=\"1000000000\"", {10, 0, 120, 20}, {60, 5, 70, 15}},
        {"0 in -2 * 10^9 .. 2 * 10^9", "min=\"-2000000000\" max=\"2000000000\"", {10, 0, 120, 20}, {60, 5, 70, 15}},
        {"min = max divides by 1", "min=\"5\" max=\"5\" value=\"5\"", {10, 0, 120, 20}, {10, 5, 20, 15}},
        // bottom 120 - (110 - 10) * 25 / 100 = 95; left (0 + 20 - 10) / 2 = 5.
        {"vertical, a quarter up", "hor=\"false\" value=\"25\"", {0, 10, 20, 120}, {5, 85, 15, 95}},
        // top (0 + 20 - 2147483647) / 2 = -1073741813; right 10 + 2147483647 is held at the limit.
        {"thumb size at the int limit", "thumbsize=\"2147483647,2147483647\"", {10, 0, 120, 20},
            {10, -1073741813, INT_MAX, 1073741834}},
        // left (0 + 20 - 2147483647) / 2 = -1073741813; bottom 120 - 0, top 120 - 2147483647.
        {"vertical thumb size at the int limit", "hor=\"false\" thumbsize=\"2147483647,2147483647\"", {0, 10, 20, 120},
            {-1073741813, -2147483527, 1073741834, 120}},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.what);
        CSliderUI slider;
        slider.ApplyAttributeText(c.attributes);
        slider.SetPosition(c.position);
        EXPECT_TRUE(RectIs(slider.GetThumbRect(), c.thumb.left, c.thumb.top, c.thumb.right, c.thumb.bottom));
        // Before any paint normalised the range: the cursor and a press on the thumb must be safe.
        TInputEvent event = {};
        event.MousePoint = POINT{c.thumb.left, c.thumb.top};
        for (int kind : {InputEventKind::SetCursor, InputEventKind::ButtonDown}) {
            event.Type = kind;
            slider.DispatchEvent(event);
        }
        EXPECT_EQ(StateCaptured, slider.GetButtonState());
    }
}

TEST(Slider, PointerPositionsGiveValuesAlongTheTrack)
{
    struct TCase {
        const char* what;
        const char* attributes;
        CRectUI position;
        POINT point;
        int value;
    };
    const TCase cases[] = {
        {"x <= left + 5 gives the minimum", "max=\"1000\"", {0, 0, 100, 20}, {4, 10}, 0},
        {"1000 * (55 - 5) / 90 = 555", "max=\"1000\"", {0, 0, 100, 20}, {55, 10}, 555},
        {"x >= right - 5 gives the maximum", "max=\"1000\"", {0, 0, 100, 20}, {96, 10}, 1000},
        {"2 * 10^9 * 45 / 90, in 64 bits", "max=\"2000000000\"", {0, 0, 100, 20}, {50, 10}, 1000000000},
        {"vertical: (100 - 5 - 50) * 1000 / 90 = 500", "hor=\"false\" max=\"1000\"", {0, 0, 20, 100}, {10, 50}, 500},
        {"vertical bottom end is the minimum", "hor=\"false\" max=\"1000\"", {0, 0, 20, 100}, {10, 96}, 0},
        {"vertical top end is the maximum", "hor=\"false\" max=\"1000\"", {0, 0, 20, 100}, {10, 4}, 1000},
        {"a slider no wider than its thumb has only ends", "max=\"1000\"", {0, 0, 10, 20}, {5, 10}, 1000},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.what);
        CSliderUI slider;
        slider.ApplyAttributeText(c.attributes);
        slider.SetPosition(c.position);
        EXPECT_EQ(c.value, slider.ValueAtPoint(c.point));
    }
}

//--- slider input ------------------------------------------------------------------------------------

TEST(Slider, DraggedThumbFollowsThePointerAndIsAnnouncedOnRelease)
{
    HostBed bed(220, 40);
    auto* slider = PlaceOnWhite<CSliderUI>(bed, "max=\"1000\"");
    slider->SetFixedWidth(100);
    slider->SetAttribute("thumbimage", ImageSpec("slider_thumb.bmp", kGreen).c_str());
    bed.Repaint();
    ASSERT_TRUE(RectIs(slider->GetThumbRect(), 0, 5, 10, 15));

    PostMouse(bed, WM_MOUSEMOVE, 0, 5, 10);
    PostMouse(bed, WM_LBUTTONDOWN, MK_LBUTTON, 5, 10);
    PostMouse(bed, WM_MOUSEMOVE, MK_LBUTTON, 55, 10);
    EXPECT_EQ(555, slider->GetValue());  // 1000 * (55 - 5) / 90
    PostMouse(bed, WM_MOUSEMOVE, MK_LBUTTON, 300, 10);
    EXPECT_EQ(1000, slider->GetValue()) << "the captured thumb follows beyond the slider";
    EXPECT_EQ(0, bed.Count("valuechanged")) << "nothing is announced during the drag";

    PostMouse(bed, WM_LBUTTONUP, 0, 60, 10);
    EXPECT_EQ(611, slider->GetValue());  // 1000 * (60 - 5) / 90
    EXPECT_EQ(1, bed.Count("valuechanged"));
    EXPECT_EQ(0u, slider->GetButtonState() & StateCaptured);

    // thumb left 0 + 90 * 611 / 1000 = 54.
    Screen screen(bed);
    EXPECT_EQ(kGreen, screen.At(54, 10));
    EXPECT_EQ(kGreen, screen.At(63, 10));
    EXPECT_EQ(kWhite, screen.At(53, 10));
    EXPECT_EQ(kWhite, screen.At(64, 10));

    // Released where the last move left the thumb: the drag changed the value, so it is announced.
    PostMouse(bed, WM_LBUTTONDOWN, MK_LBUTTON, 59, 10);
    PostMouse(bed, WM_MOUSEMOVE, MK_LBUTTON, 20, 10);
    PostMouse(bed, WM_LBUTTONUP, 0, 20, 10);
    EXPECT_EQ(166, slider->GetValue());  // 1000 * (20 - 5) / 90
    EXPECT_EQ(2, bed.Count("valuechanged"));
    // Pressed and released on the thumb without a move: nothing changed, nothing is announced.
    PostMouse(bed, WM_LBUTTONDOWN, MK_LBUTTON, 20, 10);
    PostMouse(bed, WM_LBUTTONUP, 0, 20, 10);
    EXPECT_EQ(2, bed.Count("valuechanged"));
}

TEST(Slider, AReleaseAnywhereMovesItAndAnnouncesOnlyChanges)
{
    struct TStep {
        int x;
        int value;
        int announced;  // "valuechanged" so far
    };
    const TStep steps[] = {
        {4, 0, 0},  // the minimum it already has
        {55, 555, 1},  // pressed off the thumb, released on the track
        {55, 555, 1},  // the same place again
        {96, 1000, 2},
    };
    HostBed bed(220, 40);
    auto* slider = PlaceOnWhite<CSliderUI>(bed, "max=\"1000\"");
    slider->SetFixedWidth(100);
    bed.Repaint();
    for (const TStep& s : steps) {
        SCOPED_TRACE(s.x);
        bed.Click(s.x, 10);
        EXPECT_EQ(s.value, slider->GetValue());
        EXPECT_EQ(s.announced, bed.Count("valuechanged"));
    }
}

TEST(Slider, WheelStepsAndAnnouncesEvenAtTheEnds)
{
    struct TCase {
        const char* what;
        const char* attributes;
        int delta;
        int value;
    };
    const TCase cases[] = {
        {"up adds the step", "step=\"7\" value=\"10\"", WHEEL_DELTA, 17},
        {"down takes it off", "step=\"7\" value=\"10\"", -WHEEL_DELTA, 3},
        {"at the maximum nothing changes", "value=\"100\"", WHEEL_DELTA, 100},
        {"no wrap below INT_MIN", "min=\"-2147483648\" max=\"2147483647\" value=\"-2147483648\" step=\"5\"",
            -WHEEL_DELTA, INT_MIN},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.what);
        HostBed bed(220, 40);
        auto* slider = PlaceOnWhite<CSliderUI>(bed, c.attributes);
        bed.MoveTo(50, 10);
        PostWheel(bed, c.delta, 50, 10);
        EXPECT_EQ(c.value, slider->GetValue());
        EXPECT_EQ(1, bed.Count("valuechanged"));
    }
}

TEST(Slider, ThumbImageFollowsHoverAndPressAndDisablingClearsThem)
{
    HostBed bed(220, 40);
    auto* slider = PlaceOnWhite<CSliderUI>(bed, "");
    slider->SetAttribute("thumbimage", ImageSpec("slider_thumb.bmp", kGreen).c_str());
    slider->SetAttribute("thumbhotimage", ImageSpec("slider_hot.bmp", kRed).c_str());
    slider->SetAttribute("thumbpushedimage", ImageSpec("slider_pushed.bmp", kBlue).c_str());
    bed.Repaint();
    EXPECT_EQ(kGreen, Screen(bed).At(5, 10));
    bed.MoveTo(100, 10);
    EXPECT_EQ(kRed, Screen(bed).At(5, 10));
    bed.Press(5, 10);
    EXPECT_EQ(kBlue, Screen(bed).At(5, 10));
    EXPECT_EQ(CapabilityTabStop | CapabilityWantsCursor, slider->GetCapabilities());

    slider->SetEnabled(false);
    EXPECT_EQ(0u, slider->GetButtonState());
    EXPECT_EQ(0u, slider->GetCapabilities());
    EXPECT_EQ(kGreen, Screen(bed).At(5, 10));
}
