// Scroll bar geometry (including very large ranges), clamping, owned and free bars driven by real
// mouse and timer messages, and the outline drawn when a bar has no images.
#include <gtest/gtest.h>

#include <climits>

#include "support/HostBed.h"
#include "controls/range/ScrollBar.h"
#include "controls/layout/VerticalLayout.h"

using namespace SkinUI;
using testbed::HostBed;
using testbed::Probe;
using testbed::RectIs;

TEST(ScrollBar, ThumbIsProportionalAndPlacedByValue)
{
    CScrollBarUI bar;
    bar.SetRange(300);
    bar.SetValue(150);
    bar.SetPosition(CRectUI(0, 0, 16, 200));
    EXPECT_TRUE(RectIs(bar.GetButton1Rect(), 0, 0, 16, 16));
    EXPECT_TRUE(RectIs(bar.GetButton2Rect(), 0, 184, 16, 200));
    // rail 200 - 32 = 168; thumb 200 * 168 / 500 = 67; top (168 - 67) * 150 / 300 + 16 = 66.
    EXPECT_TRUE(RectIs(bar.GetThumbRect(), 0, 66, 16, 133));

    bar.SetRange(0);  // no range: the thumb fills the rail
    EXPECT_TRUE(RectIs(bar.GetThumbRect(), 0, 16, 16, 184));

    CScrollBarUI hor;
    hor.SetHorizontal(true);
    EXPECT_EQ(hor.GetFixedHeight(), 16);
    EXPECT_EQ(hor.GetFixedWidth(), 0);
    hor.SetRange(300);
    hor.SetValue(150);
    hor.SetPosition(CRectUI(0, 0, 200, 16));
    EXPECT_TRUE(RectIs(hor.GetThumbRect(), 66, 0, 133, 16));
}

TEST(ScrollBar, HugeRangesNeitherOverflowNorDivideByZero)
{
    CScrollBarUI bar;
    bar.SetPosition(CRectUI(0, 0, 16, 200));
    bar.SetRange(5000000);
    bar.SetValue(2500000);
    // thumb at least 16; top (168 - 16) * 2 500 000 / 5 000 000 + 16 = 92: centred on 100.
    EXPECT_TRUE(RectIs(bar.GetThumbRect(), 0, 92, 16, 108));

    bar.SetRange(INT_MAX);
    bar.SetValue(INT_MAX);
    EXPECT_TRUE(RectIs(bar.GetThumbRect(), 0, 168, 16, 184));  // at the end of the rail, not wrapped
    bar.SetValue(INT_MAX / 2);
    EXPECT_GE(bar.GetThumbRect().top, 16);
    EXPECT_LE(bar.GetThumbRect().bottom, 184);

    bar.SetRange(1);
    bar.SetValue(1);
    // thumb 200 * 168 / 201 = 167; top (168 - 167) * 1 / 1 + 16 = 17.
    EXPECT_TRUE(RectIs(bar.GetThumbRect(), 0, 17, 16, 184));
}

TEST(ScrollBar, ValueAndRangeAreClamped)
{
    CScrollBarUI bar;
    bar.SetValue(500);
    EXPECT_EQ(bar.GetValue(), 100);
    bar.SetRange(50);
    EXPECT_EQ(bar.GetValue(), 50);
    bar.SetRange(-3);
    EXPECT_EQ(bar.GetRange(), 0);
    EXPECT_EQ(bar.GetValue(), 0);
    bar.SetValue(-7);
    EXPECT_EQ(bar.GetValue(), 0);
}

TEST(ScrollBar, ShortBarsHaveNoThumbAndShrinkTheirArrows)
{
    CScrollBarUI bar;
    bar.SetPosition(CRectUI(0, 0, 16, 48));  // rail 16 is not more than the thickness
    EXPECT_TRUE(bar.GetThumbRect().IsNull());
    EXPECT_TRUE(RectIs(bar.GetButton2Rect(), 0, 32, 16, 48));

    bar.SetPosition(CRectUI(0, 0, 16, 30));  // shorter than two thicknesses: arrows 30 / 2 = 15 high
    EXPECT_TRUE(bar.GetThumbRect().IsNull());
    EXPECT_TRUE(RectIs(bar.GetButton1Rect(), 0, 0, 16, 15));
    EXPECT_TRUE(RectIs(bar.GetButton2Rect(), 0, 15, 16, 30));

    bar.SetAttribute("showbutton1", "false");
    bar.SetPosition(CRectUI(0, 0, 16, 200));
    EXPECT_TRUE(RectIs(bar.GetButton1Rect(), 0, 0, 0, 0));
    EXPECT_EQ(bar.GetThumbRect().top, 0);  // the thumb starts where the missing arrow would end
}

TEST(ScrollBar, OwnedBarScrollsItsContainerByLinePageAndDragAndNeverNotifies)
{
    HostBed bed(100, 100);
    auto* layout = new CVerticalLayoutUI;
    layout->AddChild(new Probe("tall", 0, 500));
    layout->SetAttribute("vscrollbar", "true");
    layout->SetAttribute("vscrollbarstyle", "linesize=\"50\"");
    bed.Attach(layout);
    CScrollBarUI* bar = layout->GetVerticalScrollBar();
    ASSERT_TRUE(bar->IsVisible());
    ASSERT_TRUE(RectIs(bar->GetPosition(), 84, 0, 100, 100));

    bed.Click(90, 95);  // arrow 2
    const int step = bed.Host().GetDefaultFontEntry()->metrics.tmHeight + 8;
    EXPECT_EQ(bar->GetValue(), step);  // the container's step, not "linesize"
    bed.Click(90, 95);
    bed.Click(90, 5);  // arrow 1
    EXPECT_EQ(bar->GetValue(), step);
    bed.Click(90, 74);  // the rail below the thumb (16 long near the top) pages down by the client height
    EXPECT_EQ(bar->GetValue(), step + 100);

    // A thumb drag goes through the container too, on the bar's axis.
    layout->ScrollToTop();
    ASSERT_EQ(bar->GetRange(), 400);  // 500 - 100
    ASSERT_TRUE(RectIs(bar->GetThumbRect(), 84, 16, 100, 32));  // 100 * 68 / 500 = 13, raised to 16
    bed.MoveTo(90, 20);
    bed.Press(90, 20);
    bed.MoveTo(90, 40);
    bed.Send(WM_TIMER, bed.Host().NativeTimerId(bar, CScrollBarUI::kRepeatTimerId));
    EXPECT_EQ(bar->GetValue(), 153);  // 20 * 400 / (100 - 2 * 16 - 16)
    EXPECT_EQ(layout->ChildAt(0)->GetPosition().top, -153);
    bed.Release(90, 40);
    EXPECT_EQ(bed.Count("scroll"), 0);
}

namespace {

// A free vertical bar filling the left of a 100 x 200 window: range 1000, line size 10.
CScrollBarUI* FreeBar(HostBed& bed)
{
    auto* root = new CVerticalLayoutUI;
    auto* bar = new CScrollBarUI;
    bar->SetAttribute("name", "free");
    bar->SetAttribute("range", "1000");
    bar->SetAttribute("linesize", "10");
    root->AddChild(bar);
    bed.Attach(root);
    return bar;
}

}  // namespace

TEST(ScrollBar, HeldArrowRepeatsFromTheSixthTickAndStopsOnRelease)
{
    HostBed bed(100, 200);
    CScrollBarUI* bar = FreeBar(bed);
    ASSERT_TRUE(RectIs(bar->GetPosition(), 0, 0, 16, 200));

    bed.MoveTo(8, 190);
    bed.Press(8, 190);
    EXPECT_EQ(bar->GetValue(), 10);
    EXPECT_EQ(bed.Count("scroll"), 1);
    const UINT timer = bed.Host().NativeTimerId(bar, CScrollBarUI::kRepeatTimerId);
    ASSERT_NE(timer, 0u);
    for (int tick = 1; tick <= 5; ++tick)
        bed.Send(WM_TIMER, timer);
    EXPECT_EQ(bar->GetValue(), 10);  // the first five ticks only wait
    bed.Send(WM_TIMER, timer);
    EXPECT_EQ(bar->GetValue(), 20);
    bed.Send(WM_TIMER, timer);
    EXPECT_EQ(bar->GetValue(), 30);
    EXPECT_EQ(bed.Count("scroll"), 3);

    bed.Release(8, 190);
    bed.Send(WM_TIMER, timer);  // the timer was killed: no event
    EXPECT_EQ(bar->GetValue(), 30);
    EXPECT_EQ(bed.Count("scroll"), 3);
    EXPECT_EQ(bar->GetButton2State() & StatePushed, 0u);
}

TEST(ScrollBar, HeldArrowStopsWhenASecondButtonTakesOverThePress)
{
    HostBed bed(100, 200);
    CScrollBarUI* bar = FreeBar(bed);
    bed.MoveTo(8, 190);
    bed.Press(8, 190);
    const UINT timer = bed.Host().NativeTimerId(bar, CScrollBarUI::kRepeatTimerId);
    ASSERT_NE(timer, 0u);
    bed.Send(WM_RBUTTONDOWN, MK_LBUTTON | MK_RBUTTON, testbed::Pt(60, 100));  // beside the bar
    bed.Release(8, 190);
    for (int tick = 1; tick <= 8; ++tick)
        bed.Send(WM_TIMER, timer);
    EXPECT_EQ(bar->GetValue(), 10);
    EXPECT_EQ(bar->GetButton2State() & StatePushed, 0u);
}

TEST(ScrollBar, ThumbDragIsAppliedOnTheTimer)
{
    HostBed bed(100, 200);
    auto* root = new CVerticalLayoutUI;
    auto* bar = new CScrollBarUI;
    bar->SetAttribute("range", "300");
    root->AddChild(bar);
    bed.Attach(root);
    ASSERT_TRUE(RectIs(bar->GetThumbRect(), 0, 16, 16, 83));  // 200 * 168 / 500 = 67 long

    bed.MoveTo(8, 40);
    bed.Press(8, 40);
    EXPECT_NE(bar->GetThumbState() & StateCaptured, 0u);
    bed.MoveTo(8, 90);
    EXPECT_EQ(bar->GetValue(), 0);  // moves only compute the offset
    bed.Send(WM_TIMER, bed.Host().NativeTimerId(bar, CScrollBarUI::kRepeatTimerId));
    EXPECT_EQ(bar->GetValue(), 148);  // 50 * 300 / (200 - 32 - 67) = 148
    bed.Release(8, 90);
    EXPECT_EQ(bar->GetThumbState() & (StateCaptured | StatePushed), 0u);
}

TEST(ScrollBar, PartsWithoutImagesAreOutlined)
{
    CScrollBarUI bar;
    bar.SetPosition(CRectUI(0, 0, 16, 200));
    testbed::DibCanvas canvas(16, 200, 0);
    bar.Paint(canvas.Dc(), CRectUI(0, 0, 16, 200));
    const uint32_t outline = 0x85E4FF;
    EXPECT_EQ(canvas.Pixel(0, 8) & 0xFFFFFF, outline);  // arrow 1, 2-pixel frame
    EXPECT_EQ(canvas.Pixel(1, 8) & 0xFFFFFF, outline);
    EXPECT_EQ(canvas.Pixel(8, 8) & 0xFFFFFF, 0u);  // inside the frame
    EXPECT_EQ(canvas.Pixel(15, 190) & 0xFFFFFF, outline);  // arrow 2
    EXPECT_EQ(canvas.Pixel(8, 16) & 0xFFFFFF, outline);  // thumb top edge (range 100: 16..)
}
