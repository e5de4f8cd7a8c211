// The tile and tab layouts with probe controls in a real host: tile rectangles (cells, columns from
// the item width, paddings, row heights, scrolling), page placement, and page selection with its
// visibility, focus and "tabselect" notifications. Expected rectangles carry their integer sums.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/HostBed.h"
#include "controls/text/Button.h"
#include "controls/range/ScrollBar.h"
#include "controls/layout/TabLayout.h"
#include "controls/layout/TileLayout.h"
#include "controls/layout/VerticalLayout.h"

using namespace SkinUI;
using testbed::HostBed;
using testbed::Probe;
using testbed::RectIs;

namespace {

struct TTile {
    int width, height;  // fixed size (0 = the cell decides)
    CRectUI padding;
    int maxHeight;
};

struct TTileCase {
    const char* what;
    int width;
    const char* attributes;
    std::vector<TTile> tiles;
    std::vector<CRectUI> expected;
    int columns;  // after the layout
};

const TTile kTile80x40 = {80, 40, CRectUI(), 9999};
const TTile kRow20 = {0, 20, CRectUI(), 9999};

const TTileCase kTileCases[] = {
    {"fixed tiles centred in cells 300 / 3 = 100 wide, rows 40 high", 300, "columns=\"3\"",
        {kTile80x40, kTile80x40, kTile80x40, kTile80x40, kTile80x40, kTile80x40},
        // (0 + 100 - 80) / 2 = 10; the fourth starts the second row at 0 + 40.
        {{10, 0, 90, 40}, {110, 0, 190, 40}, {210, 0, 290, 40}, {10, 40, 90, 80}, {110, 40, 190, 80},
            {210, 40, 290, 80}},
        3},
    {"item width 120 in 300 gives 300 / 120 = 2 columns of 150", 300, "itemsize=\"120,999\"", {kRow20, kRow20, kRow20},
        {{0, 0, 150, 20}, {150, 0, 300, 20}, {0, 20, 150, 40}}, 2},
    {"item width 120 in 100 gives 0 columns, taken as 1", 100, "columns=\"3\" itemsize=\"120,5\"", {kRow20, kRow20},
        {{0, 0, 100, 20}, {0, 20, 100, 40}}, 1},
    {"columns 0 is ignored; 100 / 3 = 33, the remainder 1 is dropped", 100, "columns=\"3\" columns=\"0\"",
        {kRow20, kRow20, kRow20}, {{0, 0, 33, 20}, {33, 0, 66, 20}, {66, 0, 99, 20}}, 3},
    {"child padding 10 (half 5) and a padded tile make the row 3 + 20 + 5 = 28 high", 300,
        "columns=\"3\" childpadding=\"10\"", {kRow20, {0, 20, CRectUI(2, 3, 4, 5), 9999}, kRow20, kRow20},
        // first tile: cell right 100 - 5; top (0 + 28 - 20) / 2 = 4.
        // middle: (100 + 2 + 5, 3) - (200 - 4 - 5, 28), top (3 + 28 - 20) / 2 = 5.
        // last: left 200 + 5, right 300. Second row at 28 + 10 = 38, 20 high.
        {{0, 4, 95, 24}, {107, 5, 191, 25}, {205, 4, 300, 24}, {0, 38, 95, 58}}, 3},
    {"the row is measured with the first tile's limits", 200, "columns=\"2\"",
        {{50, 10, CRectUI(), 15}, {50, 40, CRectUI(), 9999}},
        // row: max(10, 40 clamped to the first tile's 15) = 15. Second: top (0 + 15 - 40) / 2 = -12
        // (truncated toward zero), left (100 + 200 - 50) / 2 = 125.
        {{25, 2, 75, 12}, {125, -12, 175, 28}}, 2},
};

TEST(TileLayout, PlacesTilesInCellsAndRows)
{
    for (const TTileCase& c : kTileCases) {
        SCOPED_TRACE(c.what);
        HostBed bed;
        auto* layout = new CTileLayoutUI;
        layout->ApplyAttributeText(c.attributes);
        std::vector<Probe*> probes;
        for (const TTile& t : c.tiles) {
            probes.push_back(new Probe("", t.width, t.height));
            probes.back()->SetPadding(t.padding);
            probes.back()->SetMaxHeight(t.maxHeight);
            layout->AddChild(probes.back());
        }
        bed.Host().AttachRoot(layout);
        layout->SetPosition(CRectUI(0, 0, c.width, 200));
        EXPECT_EQ(c.columns, layout->GetColumns());
        for (size_t i = 0; i < c.expected.size(); ++i) {
            const CRectUI& e = c.expected[i];
            EXPECT_TRUE(RectIs(probes[i]->GetPosition(), e.left, e.top, e.right, e.bottom)) << "tile " << i;
        }
    }
}

TEST(TileLayout, SkipsHiddenTilesPlacesFloatingOnesAndScrollsVertically)
{
    HostBed bed;
    auto* layout = new CTileLayoutUI;
    layout->SetAttribute("vscrollbar", "true");
    auto* hidden = new Probe("hidden", 0, 30);
    hidden->SetVisible(false);
    auto* floating = new Probe("floating", 7, 7);
    floating->SetAttribute("float", "true");
    floating->SetFloatOffset(CSizeUI(3, 4));
    layout->AddChild(hidden);
    layout->AddChild(floating);
    std::vector<Probe*> tiles;
    for (int i = 0; i < 4; ++i) {
        tiles.push_back(new Probe("", 0, 30));
        layout->AddChild(tiles.back());
    }
    bed.Host().AttachRoot(layout);
    layout->SetPosition(CRectUI(0, 0, 100, 50));
    // 4 rows of 30 need 120 > 50: the bar shows with range 70 and takes 16 of the width.
    CScrollBarUI* bar = layout->GetVerticalScrollBar();
    ASSERT_TRUE(bar->IsVisible());
    EXPECT_EQ(70, bar->GetRange());
    EXPECT_TRUE(RectIs(tiles[1]->GetPosition(), 0, 30, 84, 60));
    EXPECT_TRUE(RectIs(floating->GetPosition(), 3, 4, 10, 11));
    EXPECT_EQ(0, hidden->placements);

    bar->SetValue(20);
    layout->SetPosition(CRectUI(0, 0, 100, 50));
    EXPECT_TRUE(RectIs(tiles[1]->GetPosition(), 0, 10, 84, 40));  // 0 - 20 + 30
    EXPECT_EQ(70, bar->GetRange()) << "required height counts the scrolled part";
}

//--- tab layout --------------------------------------------------------------------------------------

TEST(TabLayout, PlacesOnlyTheCurrentPageAtTheTopLeftOfItsPaddedArea)
{
    struct TCase {
        const char* what;
        int width, height, maxWidth;
        CRectUI padding;
        CRectUI expected;
    };
    const TCase cases[] = {
        // inset 5: area (5,5)-(195,95); padding (1,2,3,4) leaves (6,7)-(192,91).
        {"an adjustable page fills the padded area", 0, 0, 9999, CRectUI(1, 2, 3, 4), CRectUI(6, 7, 192, 91)},
        {"a fixed page keeps its size, clamped to its limits", 50, 20, 40, CRectUI(), CRectUI(5, 5, 45, 25)},
        // 190 - 300 < 0: an adjustable page gets nothing rather than a negative width.
        {"padding wider than the area gives no width", 0, 0, 9999, CRectUI(150, 0, 150, 0), CRectUI(155, 5, 155, 95)},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.what);
        HostBed bed;
        auto* tab = new CTabLayoutUI;
        tab->SetInset(CRectUI(5, 5, 5, 5));
        auto* page = new Probe("page", c.width, c.height);
        page->SetPadding(c.padding);
        page->SetMaxWidth(c.maxWidth);
        auto* other = new Probe("other");
        tab->AddChild(page);
        tab->AddChild(other);
        bed.Host().AttachRoot(tab);
        tab->SetPosition(CRectUI(0, 0, 200, 100));
        EXPECT_TRUE(RectIs(page->GetPosition(), c.expected.left, c.expected.top, c.expected.right, c.expected.bottom));
        EXPECT_FALSE(other->IsVisible());
        EXPECT_EQ(0, other->placements);
    }
}

// A tab layout of three pages, each a vertical layout holding one button, as the only content of
// the bed's window.
struct TTabBed {
    HostBed bed;
    CTabLayoutUI* tab = new CTabLayoutUI;
    CButtonUI* buttons[3] = {};
    CControlUI* pages[3] = {};

    TTabBed()
    {
        for (int i = 0; i < 3; ++i) {
            auto* page = new CVerticalLayoutUI;
            buttons[i] = new CButtonUI;
            buttons[i]->SetName(("button" + std::to_string(i)).c_str());
            page->AddChild(buttons[i]);
            pages[i] = page;
            tab->AddChild(page);
        }
        bed.Attach(tab);
        bed.notes.clear();
    }
    std::vector<bool> Visible() const { return {pages[0]->IsVisible(), pages[1]->IsVisible(), pages[2]->IsVisible()}; }
    std::vector<std::string> TabSelects() const
    {
        std::vector<std::string> out;
        for (const testbed::TRecordedNotify& n : bed.notes) {
            if (n.type == "tabselect")
                out.push_back(std::to_string(n.wParam) + "<-" + std::to_string(n.lParam));
        }
        return out;
    }
};

TEST(TabLayout, SelectionShowsOnePageMovesTheFocusIntoItAndNotifiesOnlyOnChange)
{
    typedef void (*Select)(CTabLayoutUI * tab, int index);
    const struct {
        const char* what;
        Select select;
    } ways[] = {
        {"selectedid",
            [](CTabLayoutUI* tab, int index) { tab->SetAttribute("selectedid", std::to_string(index).c_str()); }},
        {"SelectTab", [](CTabLayoutUI* tab, int index) { EXPECT_TRUE(tab->SelectTab(index)); }},
    };
    for (const auto& way : ways) {
        SCOPED_TRACE(way.what);
        TTabBed t;
        EXPECT_EQ(0, t.tab->GetCurrentIndex());
        EXPECT_EQ((std::vector<bool>{true, false, false}), t.Visible());

        way.select(t.tab, 2);
        EXPECT_EQ(2, t.tab->GetCurrentIndex());
        EXPECT_EQ((std::vector<bool>{false, false, true}), t.Visible());
        EXPECT_EQ(std::vector<std::string>{"2<-0"}, t.TabSelects());
        t.bed.Repaint();  // the focus moves on at the next paint, after layout
        EXPECT_EQ(t.buttons[2], t.bed.Host().GetFocusControl());
        EXPECT_FALSE(t.pages[2]->GetPosition().IsEmpty()) << "the new page is placed";

        way.select(t.tab, 2);
        EXPECT_EQ(std::vector<std::string>{"2<-0"}, t.TabSelects()) << "the current page again sends nothing";
    }
}

TEST(TabLayout, ALayoutDestroyedByAFocusListenerIsNotTouchedAgain)
{
    for (const char* killer : {"killfocus", "setfocus"}) {
        SCOPED_TRACE(killer);
        HostBed bed;
        auto* root = new CVerticalLayoutUI;
        root->SetDefersChildDestroy(false);
        auto* tab = new CTabLayoutUI;
        CButtonUI* buttons[2];
        for (CButtonUI*& button : buttons) {
            button = new CButtonUI;
            tab->AddChild(button);
        }
        root->AddChild(tab);
        bed.Attach(root);
        // No focus to begin with: the first "setfocus" comes from the new page taking the focus, the
        // first "killfocus" from the host moving it on to the next tab stop.
        bed.Host().SetFocusControl(nullptr);
        bed.user = const_cast<char*>(killer);
        bed.onNotify = [](HostBed& b, TNotifyEvent& event) {
            if (event.Type == static_cast<const char*>(b.user) && b.Host().GetRoot() != nullptr) {
                b.onNotify = nullptr;
                auto* top = ControlCast<IContainerUI>(b.Host().GetRoot());
                top->RemoveChildAt(0);  // destroys the tab layout at once
            }
        };
        tab->SelectTab(1);
        EXPECT_EQ(nullptr, bed.onNotify) << "the listener ran";
        EXPECT_EQ(0, bed.Count("tabselect"));
        EXPECT_EQ(0, root->ChildCount());
    }
}

TEST(TabLayout, SelectingOutsideThePagesFails)
{
    TTabBed t;
    for (int index : {5, 3, -1}) {
        EXPECT_FALSE(t.tab->SelectTab(index)) << index;
        EXPECT_EQ(0, t.tab->GetCurrentIndex());
    }
    EXPECT_TRUE(t.TabSelects().empty());
}

TEST(TabLayout, RemovingPagesKeepsTheCurrentIndexOnItsPageOrFallsBackToPageZero)
{
    TTabBed t;
    t.tab->SelectTab(2);
    t.bed.notes.clear();
    t.tab->RemoveChild(t.pages[0]);  // before the current page
    EXPECT_EQ(1, t.tab->GetCurrentIndex());
    EXPECT_TRUE(t.pages[2]->IsVisible());

    t.tab->RemoveChild(t.pages[2]);  // the current page: page 0 (the former page 1) takes over
    EXPECT_EQ(0, t.tab->GetCurrentIndex());
    EXPECT_TRUE(t.pages[1]->IsVisible());
    EXPECT_TRUE(t.TabSelects().empty()) << "a removal selects quietly";
    t.bed.Pump();
    t.bed.Repaint();
    EXPECT_FALSE(t.pages[1]->GetPosition().IsEmpty());

    t.tab->RemoveChild(t.pages[1]);
    EXPECT_EQ(-1, t.tab->GetCurrentIndex());
    EXPECT_FALSE(t.tab->RemoveChild(nullptr));
}

TEST(TabLayout, InsertedAndMovedPagesLeaveExactlyOneVisibleCurrentPage)
{
    HostBed bed;
    auto* tab = new CTabLayoutUI;
    auto* p0 = new Probe("p0");
    auto* p1 = new Probe("p1");
    tab->AddChild(p0);
    tab->AddChild(p1);
    bed.Attach(tab);
    ASSERT_EQ(0, tab->GetCurrentIndex());

    auto* inserted = new Probe("inserted");
    ASSERT_TRUE(tab->InsertChild(inserted, 0));
    EXPECT_EQ(1, tab->GetCurrentIndex());
    EXPECT_FALSE(inserted->IsVisible()) << "a page that does not become current is hidden";
    int visible = 0;
    for (int i = 0; i < tab->ChildCount(); ++i)
        visible += tab->ChildAt(i)->IsVisible() ? 1 : 0;
    EXPECT_EQ(1, visible);

    // [inserted, p0, p1] -> [inserted, p1, p0]: the index follows p0.
    ASSERT_TRUE(tab->MoveChild(p0, 2));
    EXPECT_EQ(2, tab->GetCurrentIndex());
    const int before = p0->placements;
    bed.Repaint();
    EXPECT_GT(p0->placements, before) << "the shown page is laid out again";
    EXPECT_EQ(0, p1->placements);
    EXPECT_TRUE(tab->SelectTab(1));
    EXPECT_TRUE(p1->IsVisible());
    EXPECT_FALSE(p0->IsVisible());
}

TEST(TabLayout, TheFirstVisiblePageAddedBecomesCurrent)
{
    HostBed bed;
    auto* tab = new CTabLayoutUI;
    auto* hidden = new Probe("hidden");
    hidden->SetVisible(false);
    auto* shown = new Probe("shown");
    auto* later = new Probe("later");
    tab->AddChild(hidden);
    tab->AddChild(shown);
    tab->AddChild(later);
    bed.Attach(tab);
    EXPECT_EQ(1, tab->GetCurrentIndex());
    EXPECT_FALSE(later->IsVisible());
    EXPECT_TRUE(RectIs(shown->GetPosition(), 0, 0, 300, 200));
}

// Pages are judged by their own flag, whatever hides the layout while it is filled.
TEST(TabLayout, PagesAddedWhileTheLayoutIsHiddenShowOnceItIs)
{
    struct TCase {
        const char* what;
        bool hideTab;  // the layout itself, else an outer page of another tab layout
        bool insert;  // InsertChild at 0 rather than AddChild
    };
    const TCase cases[] = {
        {"hidden layout, added", true, false},
        {"hidden layout, inserted", true, true},
        {"hidden outer page, added", false, false},
        {"hidden outer page, inserted", false, true},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.what);
        HostBed bed;
        auto* outer = new CTabLayoutUI;
        auto* page = new CVerticalLayoutUI;
        auto* tab = new CTabLayoutUI;
        page->AddChild(tab);
        outer->AddChild(new Probe("first outer page"));
        outer->AddChild(page);  // not current: hidden
        bed.Attach(outer);
        if (c.hideTab) {
            outer->SelectTab(1);
            tab->SetVisible(false);
        }
        auto* first = new Probe("first");
        auto* second = new Probe("second");
        if (c.insert) {
            tab->InsertChild(second, 0);
            tab->InsertChild(first, 0);
        } else {
            tab->AddChild(first);
            tab->AddChild(second);
        }
        if (c.hideTab)
            tab->SetVisible(true);
        else
            outer->SelectTab(1);
        bed.Repaint();
        // Inserted at 0 before the current page: the current index follows it.
        EXPECT_EQ(c.insert ? 1 : 0, tab->GetCurrentIndex());
        CControlUI* current = c.insert ? second : first;
        CControlUI* other = c.insert ? first : second;
        EXPECT_TRUE(current->IsVisible());
        EXPECT_FALSE(other->IsVisible());
        EXPECT_TRUE(RectIs(current->GetPosition(), 0, 0, 300, 200));
    }
}

}  // namespace
