// Painting read back from pixels: backgrounds, borders and clipping of containers, button state
// images through the host's off-screen bitmap, and label and text drawing.
#include <gtest/gtest.h>

#include "support/HostBed.h"
#include "controls/text/Button.h"
#include "controls/text/Label.h"
#include "controls/text/Option.h"
#include "controls/range/ScrollBar.h"
#include "controls/text/Text.h"
#include "controls/layout/VerticalLayout.h"

using namespace SkinUI;
using testbed::HostBed;
using testbed::ImageSpec;
using testbed::Probe;
using testbed::Screen;

TEST(ContainerPaint, BackgroundBorderAndChildClipping)
{
    HostBed bed(100, 60);
    auto* root = new CVerticalLayoutUI;
    root->SetAttribute("bkcolor", "#FF336699");
    root->SetAttribute("bordercolor", "#FFFF0000");
    root->SetAttribute("bordersize", "2");
    root->SetAttribute("inset", "10,10,10,10");
    auto* tall = new Probe("tall", 0, 200);  // taller than the client: clipped to it
    tall->SetAttribute("bkcolor", "#FF00FF00");
    auto* corner = new Probe("corner", 6, 6);  // floating children may cover the inset
    corner->SetAttribute("float", "true");
    corner->SetAttribute("bkcolor", "#FFFFFF00");
    root->AddChild(tall);
    root->AddChild(corner);
    bed.Attach(root);

    Screen screen(bed);
    ASSERT_EQ(screen.Width(), 100);
    EXPECT_EQ(screen.At(0, 30), 0xFF0000u);  // 2-pixel border
    EXPECT_EQ(screen.At(1, 30), 0xFF0000u);
    EXPECT_EQ(screen.At(5, 30), 0x336699u);  // inset area shows the background
    EXPECT_EQ(screen.At(50, 30), 0x00FF00u);  // the child
    EXPECT_EQ(screen.At(50, 55), 0x336699u);  // the child's part below the client is clipped
    EXPECT_EQ(screen.At(3, 3), 0xFFFF00u);  // the floating child inside the inset
}

TEST(ButtonPaint, StateImagesFollowHotPushedAndDisabled)
{
    HostBed bed(200, 100);
    auto* root = new CVerticalLayoutUI;
    root->SetAttribute("bkcolor", "#FFFFFFFF");
    auto* button = new CButtonUI;
    button->SetFixedWidth(100);
    button->SetFixedHeight(40);
    button->SetAttribute("normalimage", ImageSpec("ctl_normal.bmp", 0xFF0000).c_str());
    button->SetAttribute("hotimage", ImageSpec("ctl_hot.bmp", 0x00FF00).c_str());
    button->SetAttribute("pushedimage", ImageSpec("ctl_pushed.bmp", 0x0000FF).c_str());
    button->SetAttribute("disabledimage", ImageSpec("ctl_disabled.bmp", 0x808080).c_str());
    auto* flat = new CButtonUI;  // no hot image: the hot colour fills it instead of the normal image
    flat->SetFixedWidth(100);
    flat->SetFixedHeight(40);
    flat->SetAttribute("normalimage", ImageSpec("ctl_normal.bmp", 0xFF0000).c_str());
    flat->SetAttribute("hotbkcolor", "#FF00FFFF");
    root->AddChild(button);
    root->AddChild(flat);
    bed.Attach(root);

    EXPECT_EQ(Screen(bed).At(50, 20), 0xFF0000u);
    bed.MoveTo(50, 20);
    EXPECT_EQ(Screen(bed).At(50, 20), 0x00FF00u);
    bed.Press(50, 20);
    EXPECT_EQ(Screen(bed).At(50, 20), 0x0000FFu);
    bed.MoveTo(150, 20);  // out while pressed: captured only, neither pushed nor hot
    EXPECT_EQ(Screen(bed).At(50, 20), 0xFF0000u);
    bed.Release(150, 20);
    button->SetEnabled(false);
    EXPECT_EQ(Screen(bed).At(50, 20), 0x808080u);

    EXPECT_EQ(Screen(bed).At(50, 60), 0xFF0000u);
    bed.MoveTo(50, 60);
    EXPECT_EQ(Screen(bed).At(50, 60), 0x00FFFFu);
}

TEST(ButtonPaint, SelectedOptionUsesItsImageAndColour)
{
    HostBed bed(200, 100);
    auto* root = new CVerticalLayoutUI;
    auto* option = new COptionUI;
    option->SetFixedHeight(40);
    option->SetAttribute("normalimage", ImageSpec("ctl_normal.bmp", 0xFF0000).c_str());
    option->SetAttribute("selectedimage", ImageSpec("ctl_selected.bmp", 0x00FF00).c_str());
    auto* tinted = new COptionUI;
    tinted->SetFixedHeight(40);
    tinted->SetAttribute("normalimage", ImageSpec("ctl_normal.bmp", 0xFF0000).c_str());
    tinted->SetAttribute("selectedbkcolor", "#FF0000FF");
    tinted->SetAttribute("selected", "true");
    root->AddChild(option);
    root->AddChild(tinted);
    bed.Attach(root);
    EXPECT_EQ(Screen(bed).At(50, 20), 0xFF0000u);
    bed.Click(50, 20);
    EXPECT_EQ(Screen(bed).At(50, 20), 0x00FF00u);  // selected; never a pushed image
    EXPECT_EQ(Screen(bed).At(50, 60), 0x0000FFu);
}

TEST(LabelPaint, TextIsDrawnInTheTextColourOnlyWhenThereIsText)
{
    HostBed bed(200, 100);
    auto* root = new CVerticalLayoutUI;
    root->SetAttribute("bkcolor", "#FFFFFFFF");
    auto* label = new CLabelUI;
    label->SetFixedHeight(30);
    label->SetAttribute("text", "MMMM");
    label->SetAttribute("textcolor", "FFFF0000");  // without "#": read the same
    auto* empty = new CLabelUI;
    empty->SetFixedHeight(30);
    auto* effect = new CLabelUI;
    effect->SetFixedHeight(30);
    effect->SetAttribute("enabledeffect", "true");
    effect->SetAttribute("text", "MMMM");
    effect->SetAttribute("textcolor", "#FF000000");
    effect->SetAttribute("transtext", "255");
    effect->SetAttribute("transtext1", "255");
    root->AddChild(label);
    root->AddChild(empty);
    root->AddChild(effect);
    bed.Attach(root);

    Screen screen(bed);
    const RECT labelRect = {0, 0, 200, 30};
    EXPECT_GT(screen.CountNot(0xFFFFFF, labelRect), 10);
    int red = 0;
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 200; ++x)
            red += screen.At(x, y) == 0xFF0000u ? 1 : 0;
    EXPECT_GT(red, 0);
    EXPECT_EQ(screen.CountNot(0xFFFFFF, RECT{0, 30, 200, 60}), 0);
    // Effect text (GDI+, or plain text where GDI+ is missing) draws something too.
    EXPECT_GT(screen.CountNot(0xFFFFFF, RECT{0, 60, 200, 90}), 10)
        << "GDI+ available: " << CLabelUI::IsEffectRendererAvailable();
    EXPECT_EQ(effect->GetText(), "MMMM");
    EXPECT_EQ(CUIString(effect->CControlUI::GetText()), "");
}

TEST(LabelPaint, EffectTextStrokesUnderTheFill)
{
    if (!CLabelUI::IsEffectRendererAvailable())
        GTEST_SKIP() << "no GDI+ on this system: effect text falls back to plain text";
    HostBed bed(200, 40);
    auto* root = new CVerticalLayoutUI;
    root->SetAttribute("bkcolor", "#FFFFFFFF");
    auto* effect = new CLabelUI;
    effect->SetAttribute("enabledeffect", "true");
    effect->SetAttribute("enabledstroke", "true");
    effect->SetAttribute("strokecolor", "#FFFF0000");
    effect->SetAttribute("textcolor", "#FF000000");
    effect->SetAttribute("transtext", "255");
    effect->SetAttribute("transtext1", "255");
    effect->SetAttribute("text", "HHHH");
    root->AddChild(effect);
    bed.Attach(root);
    Screen screen(bed);
    int red = 0;
    int dark = 0;
    for (int y = 0; y < 40; ++y) {
        for (int x = 0; x < 200; ++x) {
            uint32_t p = screen.At(x, y);
            red += ((p >> 16) & 0xFF) > 0xC0 && ((p >> 8) & 0xFF) < 0x40 ? 1 : 0;
            dark += (p & 0xFFFFFF) < 0x404040 ? 1 : 0;
        }
    }
    EXPECT_GT(red, 0);  // the outline shows around the glyphs
    EXPECT_GT(dark, 0);  // the text itself is drawn over it
}

TEST(ScrollBarPaint, ThumbImageFollowsItsStateAndTheGripSitsOnItsMiddle)
{
    HostBed bed(100, 200);
    auto* root = new CVerticalLayoutUI;
    auto* bar = new CScrollBarUI;
    bar->SetAttribute("range", "300");
    bar->SetAttribute("value", "150");
    bar->SetAttribute("thumbnormalimage", ImageSpec("ctl_thumb.bmp", 0x0000FF).c_str());
    bar->SetAttribute("thumbhotimage", ImageSpec("ctl_thumbhot.bmp", 0x00FF00).c_str());
    bar->SetAttribute("railnormalimage", ImageSpec("ctl_rail.bmp", 0xFF0000).c_str());
    root->AddChild(bar);
    bed.Attach(root);
    // rail 168; thumb 200 * 168 / 500 = 67 long at (168 - 67) * 150 / 300 + 16 = 66: y 66..133.
    ASSERT_TRUE(testbed::RectIs(bar->GetThumbRect(), 0, 66, 16, 133));

    // The grip is a 16-pixel square at (66 + 133) / 2 - 16 / 2 = 91.
    Screen normal(bed);
    EXPECT_EQ(normal.At(8, 70), 0x0000FFu);
    EXPECT_EQ(normal.At(8, 90), 0x0000FFu);
    EXPECT_EQ(normal.At(8, 91), 0xFF0000u);
    EXPECT_EQ(normal.At(8, 106), 0xFF0000u);
    EXPECT_EQ(normal.At(8, 107), 0x0000FFu);

    bed.MoveTo(8, 70);  // onto the thumb: its hot image; the rail has none and keeps its normal one
    Screen hot(bed);
    EXPECT_EQ(hot.At(8, 70), 0x00FF00u);
    EXPECT_EQ(hot.At(8, 95), 0xFF0000u);

    bar->SetEnabled(false);  // no disabled image: the normal one
    EXPECT_EQ(Screen(bed).At(8, 70), 0x0000FFu);
}

// Destroying what was removed repaints nothing: the removal asked for its repaint already, and a
// removed subtree of many containers would otherwise invalidate the window once for each of them.
TEST(ContainerPaint, DestroyingARemovedSubtreeInvalidatesNothing)
{
    HostBed bed(100, 60);
    auto* root = new CVerticalLayoutUI;
    auto* removed = new CVerticalLayoutUI;
    auto* inner = new CVerticalLayoutUI;
    inner->AddChild(new Probe("probe", 0, 10));
    removed->AddChild(inner);
    root->AddChild(removed);
    bed.Attach(root);
    ASSERT_TRUE(root->RemoveChild(removed));
    ::UpdateWindow(bed.Hwnd());  // the removal's own repaint; the destruction is still queued
    RECT update = {};
    ASSERT_FALSE(::GetUpdateRect(bed.Hwnd(), &update, FALSE));
    // Only the posted messages (the deferred destruction among them), no paint.
    MSG msg;
    while (::PeekMessageA(&msg, bed.Hwnd(), WM_APP, 0xBFFF, PM_REMOVE))
        ::DispatchMessageA(&msg);
    EXPECT_FALSE(::GetUpdateRect(bed.Hwnd(), &update, FALSE))
        << update.left << "," << update.top << "," << update.right << "," << update.bottom;
}
