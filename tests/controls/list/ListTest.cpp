// The list control built from markup and driven by real messages: keyboard selection kept in
// view with exact scroll positions, captions dragged with the mouse and every row's columns
// following, horizontal scrolling, and the child routing with its refusals.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/HostBed.h"
#include "controls/LinkTestSupport.h"
#include "controls/list/List.h"
#include "controls/list/ListHeader.h"
#include "controls/list/ListTextElement.h"
#include "controls/range/ScrollBar.h"
#include "controls/layout/VerticalLayout.h"
#include "skin/SkinBuilder.h"

using namespace SkinUI;
using testbed::HostBed;
using testbed::RectIs;

namespace {

// Three captions of 100, 80 and 120 over `rows` text rows of 20 pixels; header 24 high.
std::string ListMarkup(int rows, const char* listAttributes = "", const char* rowKind = "ListTextElement")
{
    std::string xml = "<Window><List name=\"list\" vscrollbar=\"true\" " + std::string(listAttributes)
        + "><ListHeader height=\"24\">"
          "<ListHeaderItem text=\"A\" width=\"100\"/><ListHeaderItem text=\"B\" width=\"80\"/>"
          "<ListHeaderItem text=\"C\" width=\"120\"/></ListHeader>";
    for (int i = 0; i < rows; ++i)
        xml += "<" + std::string(rowKind) + " name=\"r" + std::to_string(i) + "\" text=\"row " + std::to_string(i)
            + "\" height=\"20\"/>";
    return xml + "</List></Window>";
}

CListUI* BuildList(HostBed& bed, const std::string& xml)
{
    CSkinBuilder builder;
    CControlUI* root = builder.BuildFrom(xml.c_str(), nullptr, nullptr, &bed.Host(), nullptr);
    bed.Attach(root);
    return ControlCast<CListUI>(root);
}

int ScrollY(CListUI* list) { return list->GetScrollPosition().cy; }

int SelectedRows(CListUI* list)
{
    int n = 0;
    for (int i = 0; i < list->ChildCount(); ++i)
        n += ControlCast<IListItemUI>(list->ChildAt(i))->IsSelected() ? 1 : 0;
    return n;
}

// Column texts that are links, so a painted row tells where it put each column.
class LinkTexts : public IListTextProvider {
public:
    CUIString GetItemText(CControlUI*, int, int column) override
    {
        return CUIString(("<a>c" + std::to_string(column) + "</a>").c_str());
    }
};

}  // namespace

// 300 rows of 20 in a body 176 high (200 - 24): the scroll range is 6000 - 176 = 5824.
TEST(List, KeyboardSelectionIsKeptInViewWithExactScrollPositions)
{
    HostBed bed(300, 200);
    CListUI* list = BuildList(bed, ListMarkup(300));
    ASSERT_NE(list, nullptr);
    ASSERT_EQ(list->ChildCount(), 300);
    EXPECT_EQ(list->GetScrollExtent().cy, 5824);

    bed.Click(50, 24 + 10);  // the first row: selected and focused
    EXPECT_EQ(list->GetCurrentIndex(), 0);
    struct Step {
        UINT key;
        int index;
        int scroll;
    } steps[] = {
        {VK_DOWN, 1, 0}, {VK_DOWN, 2, 0}, {VK_DOWN, 3, 0}, {VK_DOWN, 4, 0}, {VK_DOWN, 5, 0}, {VK_DOWN, 6, 0},
        {VK_DOWN, 7, 0}, {VK_DOWN, 8, 4},  // bottom 180 + 20 = 200 + 4 past the body's 176
        {VK_DOWN, 9, 24},  // 10 * 20 - 176
        {VK_UP, 8, 24},  // still inside
        {VK_END, 299, 5824}, {VK_UP, 298, 5824}, {VK_HOME, 0, 0}, {VK_UP, 0, 0},
        {VK_NEXT, 0, 176},  // a page is the body's height; the selection stays
        {VK_NEXT, 0, 352}, {VK_PRIOR, 0, 176}, {VK_DOWN, 1, 20},  // back into view: the row's top at the body's top
    };
    for (const Step& s : steps) {
        SCOPED_TRACE(testing::Message() << "key " << s.key << " to " << s.index);
        bed.Key(s.key);
        EXPECT_EQ(list->GetCurrentIndex(), s.index);
        EXPECT_EQ(ScrollY(list), s.scroll);
        EXPECT_EQ(SelectedRows(list), 1);
    }
    EXPECT_EQ(bed.notes.back().type, "itemselect");
    EXPECT_EQ(bed.notes.back().wParam, 1u);

    bed.Key(VK_RETURN);
    EXPECT_EQ(bed.notes.back().type, "itemactivate");
    EXPECT_EQ(bed.notes.back().sender, "r1");
}

TEST(List, WheelScrollsOrWithScrollSelectMovesTheSelection)
{
    HostBed bed(300, 200);
    CListUI* list = BuildList(bed, ListMarkup(300));
    const int line = bed.Host().GetDefaultFontEntry()->metrics.tmHeight + 8;
    POINT screen = {50, 60};
    ClientToScreen(bed.Hwnd(), &screen);
    const LPARAM at = MAKELPARAM(screen.x, screen.y);
    bed.Send(WM_MOUSEWHEEL, MAKEWPARAM(0, -WHEEL_DELTA), at);
    EXPECT_EQ(ScrollY(list), line);
    EXPECT_EQ(list->GetCurrentIndex(), -1);

    list->SetAttribute("scrollselect", "true");
    list->SelectItem(8, false);
    EXPECT_EQ(ScrollY(list), line > 4 ? line : 4);
    bed.Send(WM_MOUSEWHEEL, MAKEWPARAM(0, -WHEEL_DELTA), at);
    EXPECT_EQ(list->GetCurrentIndex(), 9);
    EXPECT_EQ(ScrollY(list), 24 > line ? 24 : line);
    bed.Send(WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA), at);
    EXPECT_EQ(list->GetCurrentIndex(), 8);
}

TEST(List, DraggedCaptionsResizeAndEveryRowsColumnsFollow)
{
    HostBed bed(300, 200);
    CListUI* list = BuildList(bed, ListMarkup(5, "itemshowhtml=\"true\" itemalign=\"left\""));
    ASSERT_NE(list, nullptr);
    LinkTexts provider;
    list->SetTextProvider(&provider);
    bed.Repaint();
    TListItemStyle* style = list->GetItemStyle();
    ASSERT_EQ(style->columnCount, 3);

    // Each step: the pointer's x (press at the first caption's separator, x 98), the first
    // caption's width afterwards. Widths at or under 16 are refused: the drag stops at 17.
    struct Step {
        int x;
        int width;
    } steps[] = {{130, 132}, {30, 32}, {10, 32}, {15, 17}, {14, 17}, {60, 62}};
    bed.MoveTo(98, 12);
    bed.Press(98, 12);
    for (const Step& s : steps) {
        SCOPED_TRACE(s.x);
        bed.MoveTo(s.x, 12);
        bed.Repaint();
        EXPECT_EQ(list->GetHeader()->ChildAt(0)->GetWidth(), s.width);
        const int lefts[3] = {0, s.width, s.width + 80};
        for (int c = 0; c < 3; ++c)
            EXPECT_EQ(style->columnRects[c].left, lefts[c]);
        for (int r = 0; r < list->ChildCount(); ++r) {
            auto* row = ControlCast<CListTextElementUI>(list->ChildAt(r));
            ASSERT_EQ(row->GetLinkCount(), 3);
            for (int c = 0; c < 3; ++c)
                EXPECT_EQ(row->GetLinkRect(c).left, lefts[c]) << "row " << r << " column " << c;
        }
    }
    bed.Release(60, 12);
    EXPECT_FALSE(static_cast<CListHeaderItemUI*>(list->GetHeader()->ChildAt(0))->IsDragging());
    EXPECT_EQ(bed.Count("headerclick"), 0);

    bed.Click(200, 12);  // away from any separator: a header click
    EXPECT_EQ(bed.Count("headerclick"), 1);
    list->SetTextProvider(nullptr);
}

TEST(List, ColumnsFollowTheHorizontalScrollAndTheBarFollowsTheWidestRow)
{
    HostBed bed(300, 200);
    CListUI* list = BuildList(bed, ListMarkup(5, "hscrollbar=\"true\""));
    CScrollBarUI* bar = list->GetHorizontalScrollBar();
    ASSERT_NE(bar, nullptr);
    // Captions 300 wide over a client of 300 without a vertical bar (5 rows fit).
    EXPECT_FALSE(bar->IsVisible());
    list->GetHeader()->ChildAt(2)->SetFixedWidth(150);  // 330 wide now
    bed.Repaint();
    ASSERT_TRUE(bar->IsVisible());
    EXPECT_EQ(bar->GetRange(), 30);
    EXPECT_EQ(list->ChildAt(0)->GetWidth(), 330);

    list->SetScrollPosition(CSizeUI(20, 0));
    TListItemStyle* style = list->GetItemStyle();
    EXPECT_TRUE(RectIs(style->columnRects[0], -20, 0, 80, 24));
    EXPECT_EQ(style->columnRects[2].left, 160);
    EXPECT_EQ(list->ChildAt(0)->GetPosition().left, -20);
    bed.Repaint();  // a new layout keeps the shift
    EXPECT_EQ(style->columnRects[0].left, -20);

    list->GetHeader()->ChildAt(2)->SetFixedWidth(100);  // 280 wide: the bar goes
    bed.Repaint();
    EXPECT_FALSE(bar->IsVisible());
    // Placed again without the old bar's range and offset.
    EXPECT_TRUE(RectIs(list->ChildAt(0)->GetPosition(), 0, 24, 300, 44));
    EXPECT_EQ(style->columnRects[0].left, 0);

    // A hidden header still gives the columns.
    list->SetAttribute("header", "hidden");
    bed.Repaint();
    EXPECT_EQ(style->columnCount, 3);
    EXPECT_EQ(style->columnRects[1].left, 100);
    EXPECT_EQ(list->ChildAt(0)->GetPosition().top, 0);
}

TEST(List, RemovingRowsKeepsTheListConsistent)
{
    struct Case {
        const char* what;
        int selected;
        int hot;  // row under the mouse, -1 none
        int removed;
        int expected;
    } cases[] = {
        {"the selected row", 2, -1, 2, 2},
        {"the last row while selected", 4, -1, 4, 3},
        {"a row before the selection", 3, -1, 0, 2},
        {"the hot row", 1, 0, 0, 0},
        {"a row after the hot one", 1, 0, 3, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        HostBed bed(300, 200);
        CListUI* list = BuildList(bed, ListMarkup(5));
        list->SelectItem(c.selected, false);
        if (c.hot >= 0)
            bed.MoveTo(50, 24 + 20 * c.hot + 10);
        CControlUI* removed = list->ChildAt(c.removed);
        EXPECT_TRUE(list->RemoveChildAt(c.removed));
        EXPECT_EQ(list->IndexOfChild(removed), -1);
        EXPECT_EQ(list->GetCurrentIndex(), c.expected);
        EXPECT_EQ(SelectedRows(list), 1);
        for (int i = 0; i < list->ChildCount(); ++i)
            EXPECT_EQ(ControlCast<IListItemUI>(list->ChildAt(i))->GetIndex(), i);
        bed.Pump();
        bed.Repaint();
        // The mouse moves on over the rows that are left.
        bed.MoveTo(50, 24 + 10);
        bed.MoveTo(50, 24 + 50);
        bed.Pump();
    }
}

TEST(List, RefusesToLoseItsPartsOrMoveRowsPastTheEnd)
{
    HostBed bed(300, 200);
    CListUI* list = BuildList(bed, ListMarkup(3));
    CContainerUI* header = list->GetHeader();
    EXPECT_FALSE(list->RemoveChild(header));
    EXPECT_FALSE(list->RemoveChild(list->GetBody()));
    list->SetPosition(CRectUI(0, 0, 250, 150));
    EXPECT_EQ(list->GetHeader(), header);
    EXPECT_EQ(list->GetItemStyle()->columnCount, 3);

    list->SelectItem(1, false);
    CControlUI* r0 = list->ChildAt(0);
    EXPECT_FALSE(list->MoveChild(r0, 3));
    EXPECT_EQ(list->ChildAt(0), r0);
    EXPECT_EQ(list->GetCurrentIndex(), 1);
    EXPECT_TRUE(list->MoveChild(r0, 2));
    EXPECT_EQ(list->GetCurrentIndex(), 0);
    EXPECT_EQ(ControlCast<IListItemUI>(r0)->GetIndex(), 2);

    // A disabled row loses its mark when the selection moves on; it still cannot be selected.
    list->ChildAt(0)->SetEnabled(false);
    EXPECT_TRUE(list->SelectItem(1, false));
    list->ChildAt(0)->SetEnabled(true);
    EXPECT_EQ(SelectedRows(list), 1);
    list->ChildAt(2)->SetEnabled(false);
    EXPECT_FALSE(ControlCast<IListItemUI>(list->ChildAt(2))->Select(true));

    // VK_END onto a disabled last row clears the selection.
    list->ChildAt(1)->TakeFocus();
    bed.Key(VK_END);
    EXPECT_EQ(list->GetCurrentIndex(), -1);
    EXPECT_EQ(SelectedRows(list), 0);
    EXPECT_TRUE(list->SelectItem(0, false));
    EXPECT_FALSE(list->SelectItem(-1, false));  // clears, and answers false
    EXPECT_EQ(SelectedRows(list), 0);
}

TEST(List, CaptionsAndHeadersAreRouted)
{
    HostBed bed(300, 200);
    CListUI* list = BuildList(bed, ListMarkup(2));
    for (int i = 0; i < 30; ++i)
        EXPECT_TRUE(list->AddChild(new CListHeaderItemUI));
    EXPECT_EQ(list->GetHeader()->ChildCount(), 33);
    list->SetPosition(list->GetPosition());
    EXPECT_EQ(list->GetItemStyle()->columnCount, 32);  // the 33rd caption is no column
    EXPECT_EQ(list->ChildCount(), 2);

    // A second header while the first has captions becomes a row.
    auto* second = new CListHeaderUI;
    EXPECT_TRUE(list->AddChild(second));
    EXPECT_EQ(list->ChildCount(), 3);
    EXPECT_EQ(list->IndexOfChild(second), 2);

    CControlUI* caption = list->GetHeader()->ChildAt(5);
    EXPECT_EQ(list->IndexOfChild(caption), 5);
    EXPECT_TRUE(list->RemoveChild(caption));
    EXPECT_EQ(list->GetHeader()->ChildCount(), 32);

    // An empty header is replaced by the next one.
    CListUI bare;
    auto* header = new CListHeaderUI;
    header->AddChild(new CListHeaderItemUI);
    EXPECT_TRUE(bare.AddChild(header));
    EXPECT_EQ(bare.GetHeader(), header);
    EXPECT_EQ(bare.GetItemStyle()->columnCount, 1);
    bed.Pump();
}

TEST(ListHeaderItem, DragsOutsideAList)
{
    HostBed bed(300, 200);
    CSkinBuilder builder;
    CControlUI* root = builder.BuildFrom("<Window><VerticalLayout><ListHeaderItem sepwidth=\"4\" width=\"80\"/>"
                                         "</VerticalLayout></Window>",
        nullptr, nullptr, &bed.Host(), nullptr);
    ASSERT_NE(root, nullptr);
    bed.Attach(root);
    CControlUI* caption = ControlCast<CContainerUI>(root)->ChildAt(0);
    bed.MoveTo(78, 5);
    bed.Press(78, 5);
    bed.MoveTo(100, 5);
    bed.Release(100, 5);
    EXPECT_EQ(caption->GetFixedWidth(), 102);
    EXPECT_EQ(caption->GetWidth(), 102);
}

TEST(List, LinkInARowRaisesLink)
{
    HostBed bed(300, 200);
    CListUI* list = BuildList(bed, ListMarkup(2, "itemshowhtml=\"true\" itemalign=\"left\""));
    LinkTexts provider;
    list->SetTextProvider(&provider);
    bed.Repaint();
    auto* row = ControlCast<CListTextElementUI>(list->ChildAt(1));
    ASSERT_EQ(row->GetLinkCount(), 3);
    ASSERT_NO_FATAL_FAILURE(testbed::ClickLink(bed, *row, 2));
    EXPECT_EQ(bed.notes.back().sender, "r1");
    EXPECT_EQ(list->GetCurrentIndex(), 1);  // the press selected the row as well
    const CRectUI link = row->GetLinkRect(2);
    bed.MoveTo((link.left + link.right) / 2, 24 + 5);  // onto the first row: no link hovered any more
    EXPECT_EQ(row->GetHoveredLink(), -1);
    list->SetTextProvider(nullptr);
}

// Captions taken away through the header itself, not through the list: the next horizontal scroll
// shifts only the captions that are left and the columns follow their number.
TEST(List, CaptionsRemovedThroughTheHeaderLeaveTheColumnsToTheRest)
{
    struct Case {
        const char* what;
        int removeFrom;  // captions from this position on leave
        int columns;
    } cases[] = {{"every caption", 0, 0}, {"the last two", 1, 1}, {"the last one", 2, 2}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        HostBed bed(300, 200);
        CListUI* list = BuildList(bed, ListMarkup(5, "hscrollbar=\"true\""));
        list->GetHeader()->ChildAt(2)->SetFixedWidth(150);  // 330 wide: the bar shows
        bed.Repaint();
        ASSERT_TRUE(list->GetHorizontalScrollBar()->IsVisible());
        while (list->GetHeader()->ChildCount() > c.removeFrom)
            list->GetHeader()->RemoveChildAt(c.removeFrom);
        list->SetScrollPosition(CSizeUI(20, 0));
        TListItemStyle* style = list->GetItemStyle();
        EXPECT_EQ(style->columnCount, c.columns);
        if (c.columns > 0) {
            EXPECT_EQ(style->columnRects[0].left, -20);
        }
        bed.Pump();
        bed.Repaint();
    }
}

namespace {

// A row that counts how often its owner numbers it.
class CountedRow : public CListTextElementUI {
public:
    explicit CountedRow(int& numbered)
        : m_numbered(numbered)
    {
        SetFixedHeight(20);
    }
    void SetIndex(int index) override
    {
        ++m_numbered;
        CListTextElementUI::SetIndex(index);
    }

private:
    int& m_numbered;
};

}  // namespace

// Removing a row renumbers only what is read afterwards: a list emptied from the front or thinned
// out costs the rows it passes, not every row after each removal, and every index read is right.
TEST(List, RemovalsNumberOnlyTheRowsTheyPass)
{
    const int kRows = 2000;
    struct Case {
        const char* what;
        int step;  // remove every step-th row, from `first` on
        int first;
        int selected;  // before; -1 none
        int expectedSelected;  // after
        int mostNumberings;  // SetIndex calls the removals and the reads may take
    } cases[] = {
        {"every other row from the front", 2, 0, 1, 0, 3 * kRows},
        {"every other row from the back", -2, kRows - 2, 1, 0, 3 * kRows},
        {"one row near the front, then every index read", 0, 3, 1999, 1998, 2 * kRows},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        HostBed bed(300, 200);
        CListUI* list = BuildList(bed, ListMarkup(0));
        ASSERT_NE(list, nullptr);
        int numbered = 0;
        std::vector<CControlUI*> rows;
        for (int i = 0; i < kRows; ++i) {
            rows.push_back(new CountedRow(numbered));
            ASSERT_TRUE(list->AddChild(rows.back()));
        }
        list->SelectItem(c.selected, false);
        numbered = 0;
        std::vector<CControlUI*> kept;
        if (c.step == 0) {
            EXPECT_TRUE(list->RemoveChild(rows[c.first]));
            for (int i = 0; i < kRows; ++i) {
                if (i != c.first)
                    kept.push_back(rows[i]);
            }
        } else {
            for (int i = c.first; i >= 0 && i < kRows; i += c.step)
                EXPECT_TRUE(list->RemoveChild(rows[i]));
            for (int i = 0; i < kRows; ++i) {
                if ((i - c.first) % 2 != 0)
                    kept.push_back(rows[i]);
            }
        }
        ASSERT_EQ(list->ChildCount(), static_cast<int>(kept.size()));
        EXPECT_EQ(list->GetCurrentIndex(), c.expectedSelected);
        for (int i = 0; i < list->ChildCount(); ++i) {
            ASSERT_EQ(list->ChildAt(i), kept[static_cast<size_t>(i)]);
            EXPECT_EQ(ControlCast<IListItemUI>(kept[static_cast<size_t>(i)])->GetIndex(), i);
            EXPECT_EQ(list->IndexOfChild(kept[static_cast<size_t>(i)]), i);
        }
        EXPECT_LE(numbered, c.mostNumberings);
        EXPECT_EQ(SelectedRows(list), 1);
        // A click after the removals selects the row under the mouse by its true index (from the
        // top: selecting a row scrolls it into view).
        list->SetScrollPosition(CSizeUI(0, 0));
        bed.Repaint();
        bed.Click(50, 24 + 20 * 2 + 10);
        EXPECT_EQ(list->GetCurrentIndex(), 2);
        EXPECT_EQ(SelectedRows(list), 1);
        bed.Pump();
    }
}

namespace {

struct RowAction {
    CListUI* list = nullptr;
    const char* type = "";
    bool hide = false;
    int fired = 0;
};
RowAction g_rowAction;

void ActOnRow(HostBed&, TNotifyEvent& event)
{
    if (g_rowAction.fired > 0 || event.Type != g_rowAction.type)
        return;
    ++g_rowAction.fired;
    // "itemselect" comes from the list with the row's index; "itemclick" from the row itself.
    CControlUI* row
        = event.Sender == g_rowAction.list ? g_rowAction.list->ChildAt(static_cast<int>(event.WParam)) : event.Sender;
    if (g_rowAction.hide)
        row->SetVisible(false);
    else
        g_rowAction.list->RemoveChild(row);
}

}  // namespace

// A row of a long list removed or hidden by a listener while it is being pressed: nothing more
// reaches it, no row is left marked without being the selection, and the rows stay numbered.
TEST(List, RowsRemovedOrHiddenMidPressInALongList)
{
    const int kRows = 12000;
    struct Case {
        const char* what;
        const char* type;
        bool hide;
        int rows;
        int current;
        int marked;
    } cases[] = {
        {"removed by its itemclick", "itemclick", false, kRows - 1, -1, 0},
        {"hidden by its itemclick", "itemclick", true, kRows, -1, 0},
        {"removed by its itemselect", "itemselect", false, kRows - 1, 2, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        HostBed bed(300, 200);
        CListUI* list = BuildList(bed, ListMarkup(0));
        ASSERT_NE(list, nullptr);
        for (int i = 0; i < kRows; ++i) {
            CListTextElementUI* row = new CListTextElementUI;
            row->SetFixedHeight(20);
            ASSERT_TRUE(list->AddChild(row));
        }
        bed.Repaint();
        CControlUI* pressed = list->ChildAt(2);
        g_rowAction = RowAction();
        g_rowAction.list = list;
        g_rowAction.type = c.type;
        g_rowAction.hide = c.hide;
        bed.onNotify = ActOnRow;
        bed.Click(50, 24 + 20 * 2 + 10);
        bed.onNotify = nullptr;
        EXPECT_EQ(g_rowAction.fired, 1);
        EXPECT_EQ(list->ChildCount(), c.rows);
        EXPECT_EQ(list->GetCurrentIndex(), c.current);
        EXPECT_EQ(SelectedRows(list), c.marked);
        if (c.hide) {
            EXPECT_FALSE(ControlCast<IListItemUI>(pressed)->IsSelected());
        }
        for (int i : {0, 1, 2, 3, kRows / 2, c.rows - 1})
            EXPECT_EQ(ControlCast<IListItemUI>(list->ChildAt(i))->GetIndex(), i);
        bed.Pump();
        bed.Repaint();
    }
}
