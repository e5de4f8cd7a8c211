// Layout arithmetic of containers and the vertical and horizontal layouts, with probe controls in
// a real host. Expected rectangles carry their integer sums.
#include <gtest/gtest.h>

#include "support/HostBed.h"
#include "controls/layout/HorizontalLayout.h"
#include "controls/range/ScrollBar.h"
#include "controls/layout/VerticalLayout.h"

using namespace SkinUI;
using testbed::HostBed;
using testbed::Probe;
using testbed::RectIs;

namespace {

// A layout of the given kind holding the probes, attached to the bed and laid out in `rect`.
template <class Layout> Layout* Build(HostBed& bed, std::initializer_list<CControlUI*> children, const CRectUI& rect)
{
    auto* layout = new Layout;
    for (CControlUI* c : children)
        layout->AddChild(c);
    bed.Host().AttachRoot(layout);
    layout->SetPosition(rect);
    return layout;
}

}  // namespace

TEST(VerticalLayout, FixedAndAdjustableChildrenShareTheHeight)
{
    HostBed bed;
    auto* a = new Probe("a", 0, 30);
    auto* b = new Probe("b");
    auto* layout = Build<CVerticalLayoutUI>(bed, {a, b}, CRectUI(0, 0, 50, 100));
    EXPECT_TRUE(RectIs(a->GetPosition(), 0, 0, 50, 30));
    EXPECT_TRUE(RectIs(b->GetPosition(), 0, 30, 50, 100));  // 100 - 30 = 70 high

    layout->SetChildPadding(5);
    layout->SetPosition(CRectUI(0, 0, 50, 100));
    // fixed total 30 + 5 = 35; b starts at 30 + 5 and gets 65 - fixedLeft 5 = 60, not 65.
    EXPECT_TRUE(RectIs(b->GetPosition(), 0, 35, 50, 95));
}

TEST(VerticalLayout, RemaindersGoToTheLastAdjustableChild)
{
    HostBed bed;
    auto* a = new Probe("a");
    auto* b = new Probe("b");
    auto* c = new Probe("c");
    auto* layout = Build<CVerticalLayoutUI>(bed, {a, b, c}, CRectUI(0, 0, 50, 100));
    EXPECT_TRUE(RectIs(a->GetPosition(), 0, 0, 50, 33));  // 100 / 3 = 33
    EXPECT_TRUE(RectIs(b->GetPosition(), 0, 33, 50, 66));
    EXPECT_TRUE(RectIs(c->GetPosition(), 0, 66, 50, 100));  // 100 - 33 - 33 = 34

    layout->RemoveChild(c);
    layout->SetChildPadding(10);
    layout->SetPosition(CRectUI(0, 0, 50, 100));
    // fixed total 10: share (100 - 10) / 2 = 45; the last gets 100 - 45 - 10 - fixedLeft 10 = 35.
    EXPECT_TRUE(RectIs(a->GetPosition(), 0, 0, 50, 45));
    EXPECT_TRUE(RectIs(b->GetPosition(), 0, 55, 50, 90));
}

TEST(VerticalLayout, LimitsClampAndTheMaximumWins)
{
    HostBed bed;
    auto* capped = new Probe("capped");
    capped->SetMaxHeight(20);
    auto* crossed = new Probe("crossed", 0, 30);
    crossed->SetMinHeight(50);
    crossed->SetMaxHeight(40);
    auto* narrow = new Probe("narrow", 0, 10);
    narrow->SetMaxWidth(25);
    Build<CVerticalLayoutUI>(bed, {capped, crossed, narrow}, CRectUI(0, 0, 50, 100));
    // capped: share 100 - (40 + 10) = 50, clamped to 20; the rest stays empty.
    EXPECT_TRUE(RectIs(capped->GetPosition(), 0, 0, 50, 20));
    EXPECT_TRUE(RectIs(crossed->GetPosition(), 0, 20, 50, 60));  // min 50 > max 40: 40
    EXPECT_TRUE(RectIs(narrow->GetPosition(), 0, 60, 25, 70));  // width 50 clamped to 25
}

TEST(VerticalLayout, NegativeFreeSpaceLeavesAdjustableChildrenEmpty)
{
    HostBed bed;
    auto* a = new Probe("a", 0, 80);
    auto* b = new Probe("b", 0, 50);
    auto* c = new Probe("c");
    Build<CVerticalLayoutUI>(bed, {a, b, c}, CRectUI(0, 0, 50, 100));
    EXPECT_TRUE(RectIs(a->GetPosition(), 0, 0, 50, 80));
    EXPECT_TRUE(RectIs(b->GetPosition(), 0, 80, 50, 130));  // overflows the layout
    EXPECT_TRUE(RectIs(c->GetPosition(), 0, 130, 50, 130));  // (100 - 130) / 1 < 0: 0
}

TEST(VerticalLayout, PaddingInsetHiddenAndFloatingChildren)
{
    HostBed bed;
    auto* padded = new Probe("padded", 0, 20);
    padded->SetPadding(CRectUI(5, 3, 7, 4));
    auto* hidden = new Probe("hidden", 0, 40);
    hidden->SetVisible(false);
    auto* after = new Probe("after", 0, 10);
    auto* floating = new Probe("floating");
    floating->SetFloating(true);
    floating->SetFloatOffset(CSizeUI(-10, 5));
    floating->SetFixedWidth(24);
    floating->SetFixedHeight(20);
    auto* layout = Build<CVerticalLayoutUI>(bed, {padded, hidden, after, floating}, CRectUI(0, 0, 360, 100));
    // x 0 + 5, width 360 - 5 - 7 = 348; height 20, plus the bottom padding 4 inside the rectangle.
    EXPECT_TRUE(RectIs(padded->GetPosition(), 5, 3, 353, 27));
    EXPECT_TRUE(RectIs(after->GetPosition(), 0, 27, 360, 37));  // 3 + 20 + 4; the hidden one takes nothing
    // Offset -10 counts from the right edge: 360 - 10 - 24 = 326.
    EXPECT_TRUE(RectIs(floating->GetPosition(), 326, 5, 350, 25));

    layout->SetInset(CRectUI(10, 6, 10, 6));
    layout->SetPosition(CRectUI(0, 0, 360, 100));
    EXPECT_TRUE(RectIs(padded->GetPosition(), 15, 9, 343, 33));  // 10 + 5, 360 - 10 - 7
    // Floating children measure from the position, not the inset: unchanged.
    EXPECT_TRUE(RectIs(floating->GetPosition(), 326, 5, 350, 25));
}

TEST(HorizontalLayout, DistributesWidthAndPaddingLiesInsideOnTheRightOnly)
{
    HostBed bed;
    auto* a = new Probe("a", 30, 0);
    auto* b = new Probe("b");
    auto* layout = Build<CHorizontalLayoutUI>(bed, {a, b}, CRectUI(0, 0, 100, 40));
    EXPECT_TRUE(RectIs(a->GetPosition(), 0, 0, 30, 40));
    EXPECT_TRUE(RectIs(b->GetPosition(), 30, 0, 100, 40));

    layout->SetChildPadding(5);
    a->SetPadding(CRectUI(2, 3, 4, 5));
    layout->SetPosition(CRectUI(0, 0, 100, 40));
    // a: 2 + 30 + 4 wide in its rectangle; height 40 - 3 - 5 = 32 below top padding 3.
    EXPECT_TRUE(RectIs(a->GetPosition(), 2, 3, 36, 35));
    // fixed total 36 + 5 = 41; b starts at 36 + 5 = 41, gets (100 - 36 - 5) - fixedLeft 11 = 48.
    EXPECT_TRUE(RectIs(b->GetPosition(), 41, 0, 89, 40));
}

TEST(Container, RelativeRuleFollowsTheContainerSize)
{
    HostBed bed;
    auto* mover = new Probe("mover");
    mover->SetAttribute("float", "true");
    mover->SetAttribute("pos", "10,10,30,30");
    mover->SetAttribute("relativepos", "50,50,0,0");
    auto* zoomer = new Probe("zoomer");
    zoomer->SetAttribute("float", "true");
    zoomer->SetAttribute("pos", "10,10,30,30");
    zoomer->SetAttribute("relativepos", "0,0,50,100");
    auto* layout = Build<CVerticalLayoutUI>(bed, {mover, zoomer}, CRectUI(0, 0, 100, 100));
    // The first placement only records the base size.
    EXPECT_TRUE(RectIs(mover->GetPosition(), 10, 10, 30, 30));

    layout->SetPosition(CRectUI(0, 0, 200, 150));
    // dx = 100, dy = 50: left 10 + 100 * 50 / 100 = 60, top 10 + 50 * 50 / 100 = 35.
    EXPECT_TRUE(RectIs(mover->GetPosition(), 60, 35, 80, 55));
    // right 10 + 100 * 50 / 100 + 20 = 80, bottom 10 + 50 * 100 / 100 + 20 = 80.
    EXPECT_TRUE(RectIs(zoomer->GetPosition(), 10, 10, 80, 80));

    layout->SetPosition(CRectUI(0, 0, 100, 100));
    // Back again: the written-back offsets and sizes move by the negative differences.
    EXPECT_TRUE(RectIs(mover->GetPosition(), 10, 10, 30, 30));
    EXPECT_TRUE(RectIs(zoomer->GetPosition(), 10, 10, 30, 30));  // 80 - 50, 80 - 50
}

TEST(Container, VerticalBarShowsScrollsAndHidesWithTheContent)
{
    HostBed bed;
    auto* a = new Probe("a", 0, 50);
    auto* b = new Probe("b", 0, 50);
    auto* c = new Probe("c", 0, 50);
    auto* pinned = new Probe("pinned", 10, 10);
    pinned->SetFloating(true);
    auto* layout = Build<CVerticalLayoutUI>(bed, {a, b, c, pinned}, CRectUI(0, 0, 100, 100));
    layout->SetAttribute("vscrollbar", "true");
    CScrollBarUI* bar = layout->GetVerticalScrollBar();
    ASSERT_NE(bar, nullptr);
    layout->SetAttribute("vscrollbar", "true");  // still the same, single bar
    EXPECT_EQ(layout->GetVerticalScrollBar(), bar);
    layout->SetPosition(CRectUI(0, 0, 100, 100));

    ASSERT_TRUE(bar->IsVisible());
    EXPECT_EQ(bar->GetRange(), 50);  // content 150 - client 100
    EXPECT_TRUE(RectIs(a->GetPosition(), 0, 0, 84, 50));  // 100 - bar width 16
    EXPECT_TRUE(RectIs(bar->GetPosition(), 84, 0, 100, 100));

    layout->SetScrollPosition(CSizeUI(0, 30));
    EXPECT_TRUE(RectIs(a->GetPosition(), 0, -30, 84, 20));
    EXPECT_TRUE(RectIs(pinned->GetPosition(), 0, 0, 10, 10));  // floating children stay
    layout->SetScrollPosition(CSizeUI(0, 999));  // clamped to the range 50
    EXPECT_EQ(bar->GetValue(), 50);
    EXPECT_TRUE(RectIs(a->GetPosition(), 0, -50, 84, 0));
    layout->SetPosition(CRectUI(0, 0, 100, 100));  // a re-layout keeps the scroll
    EXPECT_TRUE(RectIs(c->GetPosition(), 0, 50, 84, 100));  // 100 - 50

    b->SetVisible(false);
    c->SetVisible(false);
    layout->SetPosition(CRectUI(0, 0, 100, 100));
    EXPECT_FALSE(bar->IsVisible());
    EXPECT_EQ(bar->GetValue(), 0);
    EXPECT_TRUE(RectIs(a->GetPosition(), 0, 0, 100, 50));

    layout->SetAttribute("vscrollbar", "false");
    EXPECT_EQ(layout->GetVerticalScrollBar(), nullptr);
}

TEST(Container, HorizontalLayoutHidesTheVerticalBar)
{
    HostBed bed;
    auto* tall = new Probe("tall", 0, 500);
    auto* layout = Build<CHorizontalLayoutUI>(bed, {tall}, CRectUI(0, 0, 100, 100));
    layout->SetAttribute("vscrollbar", "true");
    layout->SetPosition(CRectUI(0, 0, 100, 100));
    // Only the vertical extent ranges the bar, and a horizontal layout reports none.
    EXPECT_FALSE(layout->GetVerticalScrollBar()->IsVisible());
    EXPECT_TRUE(RectIs(tall->GetPosition(), 0, 0, 100, 500));
}

TEST(Container, LineStepsFollowTheDefaultFont)
{
    CVerticalLayoutUI detached;
    detached.SetAttribute("vscrollbar", "true");
    detached.GetVerticalScrollBar()->SetRange(100);
    detached.ScrollLineDown();
    EXPECT_EQ(detached.GetVerticalScrollBar()->GetValue(), 8);  // no host: 8

    HostBed bed;
    auto* tall = new Probe("tall", 0, 500);
    auto* layout = Build<CVerticalLayoutUI>(bed, {tall}, CRectUI(0, 0, 100, 100));
    layout->SetAttribute("vscrollbar", "true");
    layout->SetPosition(CRectUI(0, 0, 100, 100));
    const int step = bed.Host().GetDefaultFontEntry()->metrics.tmHeight + 8;
    layout->ScrollLineDown();
    EXPECT_EQ(layout->GetVerticalScrollBar()->GetValue(), step);
    layout->ScrollPageDown();  // page = 100
    EXPECT_EQ(layout->GetVerticalScrollBar()->GetValue(), step + 100);
    layout->ScrollToBottom();
    EXPECT_EQ(layout->GetVerticalScrollBar()->GetValue(), 400);
    EXPECT_TRUE(RectIs(tall->GetPosition(), 0, -400, 84, 100));
}

TEST(Container, ChildListOperationsValidateFirst)
{
    HostBed bed;
    auto* a = new Probe("a");
    auto* b = new Probe("b");
    auto* c = new Probe("c");
    auto* layout = Build<CVerticalLayoutUI>(bed, {a, b, c}, CRectUI(0, 0, 50, 90));
    IContainerUI* list = ControlCast<IContainerUI>(layout);
    ASSERT_NE(list, nullptr);

    EXPECT_FALSE(list->MoveChild(a, 3));  // count: would orphan the child
    EXPECT_FALSE(list->MoveChild(a, -1));
    EXPECT_EQ(list->IndexOfChild(a), 0);
    EXPECT_EQ(list->ChildCount(), 3);
    Probe stranger("stranger");
    EXPECT_FALSE(list->MoveChild(&stranger, 0));
    EXPECT_TRUE(list->MoveChild(a, 2));
    EXPECT_EQ(list->ChildAt(0), b);
    EXPECT_EQ(list->ChildAt(2), a);
    EXPECT_EQ(list->ChildAt(3), nullptr);

    EXPECT_FALSE(list->AddChild(nullptr));
    EXPECT_FALSE(list->AddChild(b));  // already a child: a second entry would be destroyed twice
    // A refused insert leaves the control untouched: not attached, so no parent pointer can dangle.
    Probe outsider("outsider");
    EXPECT_FALSE(list->InsertChild(&outsider, 4));
    EXPECT_EQ(outsider.GetParent(), nullptr);
    EXPECT_EQ(outsider.GetHost(), nullptr);
    EXPECT_EQ(bed.Host().FindControlByName("outsider"), nullptr);
    EXPECT_TRUE(list->RemoveChild(b));
    EXPECT_FALSE(list->RemoveChild(b));
    EXPECT_FALSE(list->RemoveChildAt(5));
    bed.Pump();  // the deferred destroy runs
    EXPECT_EQ(list->ChildCount(), 2);
}

TEST(Container, HitTestsHonourMouseChildAndTheClientArea)
{
    HostBed bed;
    auto* a = new Probe("a", 0, 150);
    auto* layout = Build<CVerticalLayoutUI>(bed, {a}, CRectUI(0, 0, 100, 100));
    layout->SetAttribute("vscrollbar", "true");
    layout->SetPosition(CRectUI(0, 0, 100, 100));
    EXPECT_EQ(bed.Host().FindControlAt(POINT{10, 10}), a);
    EXPECT_EQ(bed.Host().FindControlAt(POINT{90, 10}), layout->GetVerticalScrollBar());

    layout->SetAttribute("mousechild", "false");
    EXPECT_EQ(bed.Host().FindControlAt(POINT{10, 10}), layout);
    EXPECT_EQ(bed.Host().FindControlAt(POINT{90, 10}), layout->GetVerticalScrollBar());

    layout->SetAttribute("mousechild", "true");
    layout->SetInset(CRectUI(0, 20, 0, 0));
    layout->SetPosition(CRectUI(0, 0, 100, 100));
    layout->SetScrollPosition(CSizeUI(0, 30));  // a now spans y -10..140, partly above the client
    EXPECT_EQ(bed.Host().FindControlAt(POINT{10, 5}), layout);  // inset area: not the scrolled child
    EXPECT_EQ(bed.Host().FindControlAt(POINT{10, 25}), a);
}

TEST(VerticalLayout, SeparatorDragStopsAtTheMinimumAndResizesOnRelease)
{
    HostBed bed(200, 200);
    auto* root = new CVerticalLayoutUI;
    root->SetBackgroundColor(0xFFFFFFFF);
    auto* panel = new CVerticalLayoutUI;
    panel->SetAttribute("height", "100");
    panel->SetAttribute("sepheight", "4");
    panel->SetAttribute("minheight", "40");
    auto* rest = new Probe("rest");
    root->AddChild(panel);
    root->AddChild(rest);
    bed.Attach(root);
    ASSERT_TRUE(RectIs(panel->GetPosition(), 0, 0, 200, 100));
    EXPECT_TRUE(RectIs(panel->GetSeparatorRect(false), 0, 96, 200, 100));

    bed.MoveTo(50, 98);
    bed.Press(50, 98);
    ASSERT_TRUE(panel->IsDraggingSeparator());
    bed.MoveTo(50, 60);  // d = -38: bottom 62
    EXPECT_TRUE(RectIs(panel->GetSeparatorRect(true), 0, 58, 200, 62));
    bed.MoveTo(50, 10);  // 12 high would pass the minimum: stops at 40
    EXPECT_TRUE(RectIs(panel->GetSeparatorRect(true), 0, 36, 200, 40));
    bed.MoveTo(50, 5);  // already at the minimum: ignored
    EXPECT_TRUE(RectIs(panel->GetSeparatorRect(true), 0, 36, 200, 40));
    // The layout itself has not moved yet; only the preview has.
    EXPECT_TRUE(RectIs(panel->GetPosition(), 0, 0, 200, 100));

    bed.Repaint();
    int w = 0, h = 0;
    std::vector<uint32_t> pixels = testbed::ReadBitmap(bed.Host().GetOffscreenBitmap(), w, h);
    ASSERT_EQ(w, 200);
    // The translucent black preview darkens the white background where the edge will be.
    EXPECT_LT(pixels[38 * w + 100] & 0xFF, 0x80u);
    EXPECT_EQ(pixels[70 * w + 100] & 0xFFFFFF, 0xFFFFFFu);

    bed.Release(50, 5);
    EXPECT_FALSE(panel->IsDraggingSeparator());
    bed.Repaint();
    EXPECT_TRUE(RectIs(panel->GetPosition(), 0, 0, 200, 40));
    EXPECT_TRUE(RectIs(rest->GetPosition(), 0, 40, 200, 200));
}

TEST(HorizontalLayout, LeftEdgeSeparatorResizesAtOnceUpToTheMaximum)
{
    HostBed bed(200, 100);
    auto* root = new CHorizontalLayoutUI;
    auto* rest = new Probe("rest");
    auto* panel = new CHorizontalLayoutUI;
    panel->SetAttribute("width", "100");
    panel->SetAttribute("sepwidth", "-4");
    panel->SetAttribute("sepimm", "true");
    panel->SetAttribute("maxwidth", "130");
    root->AddChild(rest);
    root->AddChild(panel);
    bed.Attach(root);
    ASSERT_TRUE(RectIs(panel->GetPosition(), 100, 0, 200, 100));
    EXPECT_TRUE(RectIs(panel->GetSeparatorRect(false), 100, 0, 104, 100));  // left - (-4)

    bed.MoveTo(102, 50);
    bed.Press(102, 50);
    ASSERT_TRUE(panel->IsDraggingSeparator());
    bed.MoveTo(80, 50);  // d = -22: left 78, 122 wide, applied at once
    EXPECT_TRUE(RectIs(panel->GetPosition(), 78, 0, 200, 100));
    EXPECT_EQ(panel->GetFixedWidth(), 122);
    bed.MoveTo(50, 50);  // left 48 would make 152 > maximum 130: stops at 200 - 130 = 70
    EXPECT_TRUE(RectIs(panel->GetPosition(), 70, 0, 200, 100));
    bed.MoveTo(60, 50);  // moving right but still left of the edge at 70: ignored
    EXPECT_TRUE(RectIs(panel->GetPosition(), 70, 0, 200, 100));
    bed.MoveTo(75, 50);  // d = +15 from 60, pointer past the edge: left 85
    EXPECT_TRUE(RectIs(panel->GetPosition(), 85, 0, 200, 100));
    bed.Release(75, 50);
    EXPECT_FALSE(panel->IsDraggingSeparator());
    bed.Repaint();
    EXPECT_TRUE(RectIs(rest->GetPosition(), 0, 0, 85, 100));  // 200 - fixed width 115
    EXPECT_TRUE(RectIs(panel->GetPosition(), 85, 0, 200, 100));
}

TEST(Container, KeysAndWheelScrollThroughTheFocusedChild)
{
    HostBed bed(100, 100);
    auto* tall = new Probe("tall", 0, 500);
    auto* layout = new CVerticalLayoutUI;
    layout->AddChild(tall);
    bed.Host().StoreClassDefaults("VScrollBar", "width=\"10\"");
    bed.Attach(layout);
    layout->SetAttribute("vscrollbar", "true");  // attached: the bar gets the host's defaults
    bed.Repaint();
    CScrollBarUI* bar = layout->GetVerticalScrollBar();
    EXPECT_EQ(bar->GetFixedWidth(), 10);  // the host's default list for "VScrollBar"
    EXPECT_TRUE(RectIs(tall->GetPosition(), 0, 0, 90, 500));
    const int step = bed.Host().GetDefaultFontEntry()->metrics.tmHeight + 8;

    // Keys reach the focused probe, which passes them to its container.
    bed.Host().SetFocusControl(tall);
    bed.Key(VK_DOWN);
    EXPECT_EQ(bar->GetValue(), step);
    bed.Key(VK_NEXT);
    EXPECT_EQ(bar->GetValue(), step + 100);
    bed.Key(VK_END);
    EXPECT_EQ(bar->GetValue(), 400);
    bed.Key(VK_HOME);
    EXPECT_EQ(bar->GetValue(), 0);

    POINT screen = {50, 50};
    ClientToScreen(bed.Hwnd(), &screen);
    bed.Send(WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-WHEEL_DELTA)), MAKELPARAM(screen.x, screen.y));
    EXPECT_EQ(bar->GetValue(), step);  // towards the user: down
    bed.Send(WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA), MAKELPARAM(screen.x, screen.y));
    EXPECT_EQ(bar->GetValue(), 0);

    bar->SetEnabled(false);  // a disabled bar does not scroll
    bed.Key(VK_DOWN);
    EXPECT_EQ(bar->GetValue(), 0);
}

TEST(Container, FloatingChildrenAnchorToAnyEdge)
{
    HostBed bed;
    auto* bottomRight = new Probe("br");
    bottomRight->SetAttribute("float", "true");
    bottomRight->SetAttribute("pos", "-30,-25,-10,-5");  // 20 x 20, 10 from the right, 5 from the bottom
    auto* layout = Build<CVerticalLayoutUI>(bed, {bottomRight}, CRectUI(0, 0, 360, 100));
    EXPECT_EQ(bottomRight->GetFloatOffset(), CSizeUI(-10, -5));
    EXPECT_TRUE(RectIs(bottomRight->GetPosition(), 330, 75, 350, 95));  // 360 - 10 - 20, 100 - 5 - 20
    layout->SetPosition(CRectUI(100, 50, 200, 150));
    EXPECT_TRUE(RectIs(bottomRight->GetPosition(), 170, 125, 190, 145));
}

namespace {

class ListItemProbe : public Probe {
public:
    void* CastTo(const char* name) override { return CUIString(name) == "ListItem" ? this : Probe::CastTo(name); }
};

}  // namespace

TEST(Container, FindSelectableChildSkipsHiddenDisabledAndNonItems)
{
    CVerticalLayoutUI list;
    EXPECT_EQ(list.FindSelectableChild(0, true), -1);
    auto* plain = new Probe("plain");
    auto* item1 = new ListItemProbe;
    auto* hidden = new ListItemProbe;
    hidden->SetVisible(false);
    auto* disabled = new ListItemProbe;
    disabled->SetEnabled(false);
    auto* item4 = new ListItemProbe;
    for (CControlUI* c : {static_cast<CControlUI*>(plain), static_cast<CControlUI*>(item1),
             static_cast<CControlUI*>(hidden), static_cast<CControlUI*>(disabled), static_cast<CControlUI*>(item4)})
        list.AddChild(c);
    EXPECT_EQ(list.FindSelectableChild(0, true), 1);
    EXPECT_EQ(list.FindSelectableChild(2, true), 4);
    EXPECT_EQ(list.FindSelectableChild(99, false), 4);  // start clamped to the last child
    EXPECT_EQ(list.FindSelectableChild(3, false), 1);
    EXPECT_EQ(list.FindSelectableChild(0, false), 1);  // none backwards: first forwards
    EXPECT_EQ(list.FindSelectableChild(-5, true), 1);
}
