// The virtual list driven by real messages over a million rows: selection ranges with the mouse
// and Shift/Ctrl, keyboard navigation at both ends with exact scroll positions, a count that
// shrinks under the current row, a source that changes rows while they are shown (and the list
// from inside its own fill), the same pixels as a List of the same rows, and listeners that
// destroy the list inside each of its notifications.
#include <gtest/gtest.h>

#include <algorithm>

#include <cstring>
#include <functional>
#include <set>
#include <string>
#include <vector>

#include "support/HostBed.h"
#include "controls/layout/VerticalLayout.h"
#include "controls/list/List.h"
#include "controls/list/ListHeader.h"
#include "controls/list/ListTextElement.h"
#include "controls/list/VirtualList.h"
#include "controls/list/VirtualListBody.h"
#include "controls/list/VirtualListRow.h"
#include "skin/SkinBuilder.h"

using namespace SkinUI;
using testbed::HostBed;
using testbed::Screen;

namespace {

const int kHeader = 24;
const int kRow = 20;
const int kBody = 200 - kHeader;  // 176: eight whole rows, a page

class NumberedRows : public IVirtualListSource {
public:
    void FillRow(int index, TVirtualRow& row) override
    {
        ++fills;
        row.texts[0] = (prefix + std::to_string(index)).c_str();
        row.texts[1] = std::to_string(index * 3).c_str();
        row.enabled = disabled.count(index) == 0;
        if (onFill)
            onFill(index);
    }

    int fills = 0;
    std::string prefix = "row ";
    std::set<int> disabled;
    std::function<void(int)> onFill;
};

std::string Markup(const char* attributes, const char* element = "VirtualList")
{
    return std::string("<Window><") + element + " name=\"list\" itemheight=\"20\" vscrollbar=\"true\" "
        + "itemselectedbkcolor=\"#FF3366CC\" itemhotbkcolor=\"#FFEEEEEE\" " + attributes
        + "><ListHeader height=\"24\"><ListHeaderItem text=\"A\" width=\"100\"/>"
          "<ListHeaderItem text=\"B\" width=\"80\"/></ListHeader></"
        + element + "></Window>";
}

CVirtualListUI* BuildList(HostBed& bed, NumberedRows& rows, int count, const char* attributes = "")
{
    CSkinBuilder builder;
    CControlUI* root = builder.BuildFrom(Markup(attributes).c_str(), nullptr, nullptr, &bed.Host(), nullptr);
    auto* list = ControlCast<CVirtualListUI>(root);
    if (list != nullptr) {
        list->SetSource(&rows);
        list->SetRowCount(count);
    }
    bed.Attach(root);
    return list;
}

std::string Ranges(const CVirtualListUI* list)
{
    std::string out;
    for (const TRowRange& r : list->GetSelection().Ranges())
        out += (out.empty() ? "" : ",") + std::to_string(r.first) + "-" + std::to_string(r.last);
    return out;
}

int ScrollY(CVirtualListUI* list) { return list->GetScrollPosition().cy; }

int RowY(int line) { return kHeader + line * kRow + kRow / 2; }

void HoldKeys(bool shift, bool ctrl)
{
    BYTE keys[256] = {};
    ::GetKeyboardState(keys);
    keys[VK_SHIFT] = shift ? 0x80 : 0;
    keys[VK_CONTROL] = ctrl ? 0x80 : 0;
    ::SetKeyboardState(keys);
}

// The row controls of the view, by the row each shows.
std::vector<CVirtualListRowUI*> BoundRows(CVirtualListUI* list)
{
    std::vector<CVirtualListRowUI*> rows;
    CContainerUI* body = list->GetBody();
    for (int i = 0; i < body->CContainerUI::ChildCount(); ++i) {
        auto* row = ControlCast<CVirtualListRowUI>(body->CContainerUI::ChildAt(i));
        if (row != nullptr && row->BoundIndex() >= 0)
            rows.push_back(row);
    }
    return rows;
}

std::string ShownText(CVirtualListUI* list, int index)
{
    for (CVirtualListRowUI* row : BoundRows(list)) {
        if (row->BoundIndex() == index)
            return row->Text(0).GetData();
    }
    return "(not shown)";
}

}  // namespace

TEST(VirtualList, MouseAndShiftCtrlSelectRangesOfAMillionRows)
{
    HostBed bed(300, 200);
    NumberedRows rows;
    CVirtualListUI* list = BuildList(bed, rows, 1000000, "multiselect=\"true\"");
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(list->GetScrollExtent().cy, 1000000 * kRow - kBody);

    const struct {
        int line;
        WPARAM keys;
        const char* ranges;
        int current;
    } clicks[] = {
        {1, 0, "1-1", 1},
        {4, MK_SHIFT, "1-4", 4},  // from the anchor
        {2, MK_CONTROL, "1-1,3-4", 2},  // toggled off; the anchor moves to it
        {6, MK_CONTROL | MK_SHIFT, "1-6", 6},  // the anchor's range added
        {0, MK_SHIFT, "0-2", 0},  // replaces, from the anchor
        {3, 0, "3-3", 3},
    };
    for (const auto& c : clicks) {
        bed.notes.clear();
        bed.Send(WM_LBUTTONDOWN, MK_LBUTTON | c.keys, testbed::Pt(50, RowY(c.line)));
        bed.Send(WM_LBUTTONUP, c.keys, testbed::Pt(50, RowY(c.line)));
        EXPECT_EQ(Ranges(list), c.ranges) << "line " << c.line;
        EXPECT_EQ(list->GetCurrentIndex(), c.current);
        ASSERT_EQ(bed.Count("itemclick"), 1);
        for (const auto& note : bed.notes) {
            if (note.type == "itemclick") {
                EXPECT_EQ(note.wParam, static_cast<WPARAM>(c.line));
            }
        }
        EXPECT_EQ(bed.Count("itemselect"), 1);
    }

    // Shift+End over the million: one range, and the source was asked only for rows shown.
    const int fillsBefore = rows.fills;
    HoldKeys(true, false);
    bed.Key(VK_END);
    HoldKeys(false, false);
    bed.Repaint();
    EXPECT_EQ(Ranges(list), "3-999999");
    EXPECT_EQ(list->GetSelection().Count(), 999997);
    EXPECT_EQ(ScrollY(list), 1000000 * kRow - kBody);
    EXPECT_LT(rows.fills - fillsBefore, 40);
    EXPECT_LE(list->GetRowsCreated(), kBody / kRow + 2);
    for (CVirtualListRowUI* row : BoundRows(list))
        EXPECT_TRUE(row->IsSelected()) << row->BoundIndex();

    // Ctrl+Up moves the current row only; Ctrl+Space toggles it.
    HoldKeys(false, true);
    bed.Key(VK_UP);
    bed.Key(VK_SPACE);
    HoldKeys(false, false);
    EXPECT_EQ(list->GetCurrentIndex(), 999998);
    EXPECT_EQ(Ranges(list), "3-999997,999999-999999");
}

TEST(VirtualList, SingleSelectionIgnoresShiftAndCtrl)
{
    HostBed bed(300, 200);
    NumberedRows rows;
    CVirtualListUI* list = BuildList(bed, rows, 50);
    bed.Click(50, RowY(1));
    bed.Send(WM_LBUTTONDOWN, MK_LBUTTON | MK_SHIFT, testbed::Pt(50, RowY(4)));
    bed.Send(WM_LBUTTONUP, MK_SHIFT, testbed::Pt(50, RowY(4)));
    EXPECT_EQ(Ranges(list), "4-4");
    bed.Send(WM_LBUTTONDOWN, MK_LBUTTON | MK_CONTROL, testbed::Pt(50, RowY(2)));
    bed.Send(WM_LBUTTONUP, MK_CONTROL, testbed::Pt(50, RowY(2)));
    EXPECT_EQ(Ranges(list), "2-2");
    // A disabled row ignores the press.
    rows.disabled = {5};
    list->RefreshRows(5, 5);
    bed.notes.clear();
    bed.Click(50, RowY(5));
    EXPECT_EQ(bed.notes.size(), 0u);
    EXPECT_EQ(Ranges(list), "2-2");
}

// A page is 8 rows of 20 in 176 pixels; the last row's bottom is at 20,000,000.
TEST(VirtualList, KeysAtBothEndsKeepTheCurrentRowInView)
{
    HostBed bed(300, 200);
    NumberedRows rows;
    CVirtualListUI* list = BuildList(bed, rows, 1000000);
    list->TakeFocus();
    const int end = 1000000 * kRow - kBody;
    const struct {
        UINT key;
        int current;
        int scroll;
    } steps[] = {
        {VK_UP, 0, 0},  // nothing current: the first row
        {VK_UP, 0, 0},
        {VK_PRIOR, 0, 0},
        {VK_HOME, 0, 0},
        {VK_NEXT, 8, 4},  // 8 * 20 + 20 - 176
        {VK_DOWN, 9, 24},
        {VK_END, 999999, end},
        {VK_DOWN, 999999, end},
        {VK_NEXT, 999999, end},
        {VK_PRIOR, 999991, 999991 * kRow},
        {VK_UP, 999990, 999990 * kRow},
        {VK_HOME, 0, 0},
    };
    for (const auto& s : steps) {
        bed.Key(s.key);
        EXPECT_EQ(list->GetCurrentIndex(), s.current) << "key " << s.key;
        EXPECT_EQ(ScrollY(list), s.scroll) << "key " << s.key;
        EXPECT_EQ(Ranges(list), std::to_string(s.current) + "-" + std::to_string(s.current));
    }

    // Disabled rows at both ends are stepped over, and a key with nowhere to go keeps the row.
    rows.disabled = {0, 1, 999999};
    list->RefreshRows(0, 1000000);
    const struct {
        UINT key;
        int current;
    } guarded[] = {{VK_HOME, 2}, {VK_UP, 2}, {VK_PRIOR, 2}, {VK_END, 999998}, {VK_DOWN, 999998}, {VK_NEXT, 999998}};
    for (const auto& s : guarded) {
        bed.Key(s.key);
        EXPECT_EQ(list->GetCurrentIndex(), s.current) << "key " << s.key;
    }
    EXPECT_FALSE(list->SelectItem(999999, false));
    EXPECT_EQ(list->GetCurrentIndex(), -1);
}

// 100 rows scrolled to the bottom (100 * 20 - 176 = 1824) with row 90 current; in the multiple
// case rows 40-60 are selected too (Shift+Down from 40, then Ctrl+Down to 90).
TEST(VirtualList, ACountThatShrinksUnderTheCurrentRow)
{
    const struct {
        bool multi;
        int newCount;
        int current;
        const char* ranges;
        int scroll;  // after the next layout
    } cases[] = {
        {false, 45, 44, "44-44", 45 * kRow - kBody},
        {true, 45, 44, "40-44", 45 * kRow - kBody},  // what is left of the range stays
        {true, 80, 79, "40-60,79-79", 80 * kRow - kBody},
        {true, 5, 4, "4-4", 0},
        {true, 0, -1, "", 0},
    };
    for (const auto& c : cases) {
        HostBed bed(300, 200);
        NumberedRows rows;
        CVirtualListUI* list = BuildList(bed, rows, 100, c.multi ? "multiselect=\"true\"" : "");
        if (c.multi) {
            list->SelectItem(40, false);
            for (int i = 0; i < 20; ++i)
                list->OnNavigationKey(VK_DOWN, true, false);
            for (int i = 0; i < 30; ++i)
                list->OnNavigationKey(VK_DOWN, false, true);
        } else {
            list->SelectItem(90, false);
        }
        list->SetScrollPosition(CSizeUI(0, 1824));
        ASSERT_EQ(list->GetCurrentIndex(), 90);
        ASSERT_EQ(Ranges(list), c.multi ? "40-60" : "90-90");
        bed.notes.clear();
        list->SetRowCount(c.newCount);
        bed.Repaint();
        EXPECT_EQ(list->GetCurrentIndex(), c.current) << c.newCount;
        EXPECT_EQ(Ranges(list), c.ranges) << c.newCount;
        ASSERT_EQ(bed.Count("itemselect"), 1);
        // The list, a tab stop, may also have taken the first focus at that paint.
        const auto select
            = std::find_if(bed.notes.begin(), bed.notes.end(), [](const auto& n) { return n.type == "itemselect"; });
        EXPECT_EQ(static_cast<int>(select->wParam), c.current);
        EXPECT_EQ(static_cast<int>(select->lParam), 90);
        EXPECT_EQ(ScrollY(list), c.scroll) << c.newCount;
        if (c.newCount <= kBody / kRow) {
            EXPECT_EQ(static_cast<int>(BoundRows(list).size()), c.newCount);
        }
        for (CVirtualListRowUI* row : BoundRows(list))
            EXPECT_LT(row->BoundIndex(), c.newCount);
    }
}

TEST(VirtualList, RowsChangedWhileShownAreAskedForAgain)
{
    HostBed bed(300, 200);
    NumberedRows rows;
    CVirtualListUI* list = BuildList(bed, rows, 1000);
    EXPECT_EQ(ShownText(list, 3), "row 3");

    // The program changed rows 2 and 3: only they are asked for again.
    rows.prefix = "new ";
    const int before = rows.fills;
    list->RefreshRows(2, 3);
    bed.Repaint();
    EXPECT_EQ(rows.fills - before, 2);
    EXPECT_EQ(ShownText(list, 2), "new 2");
    EXPECT_EQ(ShownText(list, 3), "new 3");
    EXPECT_EQ(ShownText(list, 4), "row 4");

    // Scrolling by a line asks for the one row that came into view.
    const int beforeScroll = rows.fills;
    list->SetScrollPosition(CSizeUI(0, kRow));
    EXPECT_EQ(rows.fills - beforeScroll, 1);

    // A source that shortens the list and refreshes from inside its own fill: the changes wait
    // for the fill to end, nothing is announced from the middle of a paint, and nothing shown is
    // beyond the new count.
    bool changed = false;
    rows.onFill = [&](int index) {
        if (index == 5 && !changed) {
            changed = true;
            list->SetRowCount(3);
            list->RefreshRows(0, 2);
        }
    };
    rows.prefix = "late ";
    bed.notes.clear();
    list->RefreshRows(0, 1000);
    bed.Repaint();
    bed.Repaint();
    EXPECT_TRUE(changed);
    EXPECT_EQ(list->GetRowCount(), 3);
    EXPECT_EQ(bed.Count("itemselect"), 0);
    ASSERT_EQ(BoundRows(list).size(), 3u);
    for (CVirtualListRowUI* row : BoundRows(list)) {
        EXPECT_LT(row->BoundIndex(), 3);
        EXPECT_EQ(std::string(row->Text(0).GetData()), "late " + std::to_string(row->BoundIndex()));
    }
}

// Captions of 100 and 80 pixels: a click on each raises "headerclick" and then "columnclick"
// with its column. Then captions of 250 more pixels make the rows wider than the body, and
// scrolling right moves every row and every column with the captions.
TEST(VirtualList, CaptionsAnnounceTheirColumnAndRowsFollowTheHorizontalScroll)
{
    HostBed bed(300, 200);
    NumberedRows rows;
    CVirtualListUI* list = BuildList(bed, rows, 100, "hscrollbar=\"true\"");
    const struct {
        int x;
        WPARAM column;
    } clicks[] = {{50, 0}, {140, 1}};
    for (const auto& c : clicks) {
        bed.notes.clear();
        bed.Click(c.x, kHeader / 2);
        std::vector<std::string> types;
        for (const auto& note : bed.notes) {
            if (note.type == "headerclick" || note.type == "columnclick")
                types.push_back(note.type);
        }
        ASSERT_EQ(types, (std::vector<std::string>{"headerclick", "columnclick"}));
        EXPECT_EQ(bed.notes.back().wParam, c.column);
        EXPECT_TRUE(bed.notes.back().senderPtr == list);
    }

    auto* wide = new CListHeaderItemUI;
    wide->SetFixedWidth(250);
    ASSERT_TRUE(list->AddChild(wide));
    bed.Repaint();
    const CRectUI before = BoundRows(list)[0]->GetPosition();
    const CRectUI column = list->GetItemStyle()->columnRects[2];
    EXPECT_EQ(before.GetWidth(), 430);  // the captions' width, more than the body's
    list->SetScrollPosition(CSizeUI(60, 0));
    ASSERT_EQ(list->GetScrollPosition().cx, 60);
    for (CVirtualListRowUI* row : BoundRows(list)) {
        EXPECT_EQ(row->GetPosition().left, before.left - 60) << row->BoundIndex();
        EXPECT_EQ(row->GetPosition().GetWidth(), 430);
    }
    EXPECT_EQ(list->GetItemStyle()->columnRects[2].left, column.left - 60);
    // Rows bound after the scroll come in where the others are.
    list->SetScrollPosition(CSizeUI(60, 50 * kRow));
    for (CVirtualListRowUI* row : BoundRows(list))
        EXPECT_EQ(row->GetPosition().left, before.left - 60) << row->BoundIndex();
}

// A row is as high as "itemheight" says, but never under 4 pixels (a skin cannot make the list
// build a row control per pixel), and without it as a text row of the item font.
TEST(VirtualList, ItemHeightIsBounded)
{
    const struct {
        const char* itemHeight;
        int rowHeight;  // 0: the font's, more than 4
    } cases[] = {{"20", 20}, {"1", 4}, {"4", 4}, {"0", 0}, {"-7", 0}};
    for (const auto& c : cases) {
        HostBed bed(300, 200);
        NumberedRows rows;
        CVirtualListUI* list = BuildList(bed, rows, 1000);
        list->SetAttribute("itemheight", c.itemHeight);
        bed.Repaint();
        const int height = static_cast<CVirtualListBodyUI*>(list->GetBody())->GetRowHeight();
        if (c.rowHeight > 0) {
            EXPECT_EQ(height, c.rowHeight) << c.itemHeight;
        } else {
            EXPECT_GT(height, 8) << c.itemHeight;
        }
        // The controls made for the first layout at 20 pixels stay; more come for smaller rows.
        const int lines = kBody / height + 2;
        EXPECT_EQ(list->GetRowsCreated(), lines > kBody / kRow + 2 ? lines : kBody / kRow + 2) << c.itemHeight;
        EXPECT_EQ(list->GetScrollExtent().cy, 1000 * height - kBody) << c.itemHeight;
    }
}

// The same rows as a List of text rows and as a virtual list paint the same pixels: background by
// state, alternate rows, the line, the texts in their columns.
TEST(VirtualList, LooksLikeAListOfTheSameRows)
{
    const char* look = "itemaltbk=\"true\" itembkcolor=\"#FFF0F4FA\" itemlinecolor=\"#FFCCCCCC\" "
                       "itemtextpadding=\"4,0,4,0\"";
    HostBed listBed(300, 200);
    CSkinBuilder builder;
    CControlUI* root = builder.BuildFrom(Markup(look, "List").c_str(), nullptr, nullptr, &listBed.Host(), nullptr);
    auto* plain = ControlCast<CListUI>(root);
    for (int i = 0; i < 12; ++i) {
        auto* row = new CListTextElementUI;
        row->SetFixedHeight(kRow);
        row->SetColumnText(0, ("row " + std::to_string(i)).c_str());
        row->SetColumnText(1, std::to_string(i * 3).c_str());
        plain->AddChild(row);
    }
    listBed.Attach(root);
    plain->SelectItem(2, false);
    listBed.MoveTo(50, RowY(4));

    HostBed virtualBed(300, 200);
    NumberedRows rows;
    CVirtualListUI* list = BuildList(virtualBed, rows, 12, look);
    list->SelectItem(2, false);
    virtualBed.MoveTo(50, RowY(4));

    listBed.Repaint();
    virtualBed.Repaint();
    const Screen a(listBed);
    const Screen b(virtualBed);
    int differing = 0;
    for (int y = kHeader; y < 200; ++y) {
        for (int x = 0; x < 280; ++x)
            differing += a.At(x, y) != b.At(x, y) ? 1 : 0;
    }
    EXPECT_EQ(differing, 0);
    EXPECT_EQ(b.At(250, RowY(2)), 0x3366CCu);  // selected
    EXPECT_EQ(b.At(250, RowY(4)), 0xEEEEEEu);  // under the mouse
}

// A row's image is drawn over the row where its "dest" puts it, as an icon, and only on that row;
// a disabled row shows the disabled background.
TEST(VirtualList, ARowsImageAndStateAreItsOwn)
{
    HostBed bed(300, 200);
    NumberedRows rows;
    const std::string icon = testbed::ImageSpec("vlist-icon.bmp", 0x11AA22) + " dest='2,2,10,10'";
    rows.disabled = {3};
    CVirtualListUI* list = BuildList(bed, rows, 10, "itemdisabledbkcolor=\"#FF808080\"");
    struct IconRows : IVirtualListSource {
        NumberedRows* texts;
        std::string icon;
        void FillRow(int index, TVirtualRow& row) override
        {
            texts->FillRow(index, row);
            if (index == 1)
                row.image = icon.c_str();
        }
    } source;
    source.texts = &rows;
    source.icon = icon;
    list->SetSource(&source);
    const Screen screen(bed);
    const int top1 = kHeader + kRow;
    EXPECT_EQ(screen.At(5, top1 + 5), 0x11AA22u);  // inside the icon of row 1
    EXPECT_NE(screen.At(12, top1 + 5), 0x11AA22u);  // beside it
    EXPECT_NE(screen.At(5, top1 + kRow + 5), 0x11AA22u);  // row 2 has none
    EXPECT_EQ(screen.At(250, kHeader + 3 * kRow + 5), 0x808080u);  // row 3 is disabled
}

//--- listeners that destroy the list -------------------------------------------------------------

namespace {

// Every int of a dead list reads as a large positive number, so code that wrongly goes on past a
// notification finds rows to act on, and writes.
const unsigned char kPoison = 0x7F;

// Freed lists stay poisoned instead of going back to the heap, so a write to a dead list shows.
class PoisonedList : public CVirtualListUI {
public:
    static void* operator new(size_t size) { return ::operator new(size); }
    static void operator delete(void* p, size_t size) { testbed::Quarantine(p, size, kPoison); }
};

struct TKillScene {
    CVerticalLayoutUI* root;
    CControlUI* list;
    const char* killer;
    bool killed = false;
};

void RemoveListOnItsNotification(HostBed& bed, TNotifyEvent& event)
{
    auto* scene = static_cast<TKillScene*>(bed.user);
    if (!scene->killed && event.Type == scene->killer && event.Sender == scene->list) {
        scene->killed = true;
        scene->root->RemoveChild(scene->list);
    }
}

}  // namespace

TEST(VirtualList, AListenerDestroysTheListInsideItsOwnNotification)
{
    enum Action { Click, DoubleClick, ReturnKey, DownKey, HeaderClick, Shrink, Wheel };
    const struct {
        Action action;
        const char* killer;
    } cases[] = {
        {Click, "itemclick"},
        {Click, "itemselect"},
        {DoubleClick, "itemactivate"},
        {ReturnKey, "itemactivate"},
        {DownKey, "itemselect"},
        {HeaderClick, "columnclick"},
        {Shrink, "itemselect"},
        {Wheel, "itemselect"},
    };
    for (const auto& c : cases) {
        HostBed bed(300, 200);
        NumberedRows rows;
        TKillScene scene;
        scene.root = new CVerticalLayoutUI;
        scene.root->SetDefersChildDestroy(false);
        auto* list = new PoisonedList;
        scene.list = list;
        scene.killer = c.killer;
        list->SetAttribute("itemheight", "20");
        list->SetAttribute("scrollselect", "true");
        auto* caption = new CListHeaderItemUI;
        caption->SetFixedWidth(100);
        caption->SetFixedHeight(kHeader);
        list->AddChild(caption);
        list->SetSource(&rows);
        list->SetRowCount(100);
        scene.root->AddChild(list);
        bed.Attach(scene.root);
        list->SelectItem(50, false);
        list->SetScrollPosition(CSizeUI(0, 0));
        bed.user = &scene;
        bed.onNotify = &RemoveListOnItsNotification;
        bed.notes.clear();

        switch (c.action) {
        case Click:
            bed.Click(50, RowY(1));
            break;
        case DoubleClick:
            bed.Send(WM_LBUTTONDBLCLK, MK_LBUTTON, testbed::Pt(50, RowY(1)));
            bed.Send(WM_LBUTTONUP, 0, testbed::Pt(50, RowY(1)));
            break;
        case ReturnKey:
            list->TakeFocus();
            bed.Key(VK_RETURN);
            break;
        case DownKey:
            list->TakeFocus();
            bed.Key(VK_DOWN);
            break;
        case HeaderClick:
            bed.Click(30, kHeader / 2);
            break;
        case Shrink:
            list->SetRowCount(10);
            break;
        case Wheel:
            bed.MoveTo(50, RowY(1));
            bed.Send(WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-WHEEL_DELTA)), testbed::Pt(50, RowY(1)));
            break;
        }
        EXPECT_TRUE(scene.killed) << c.killer << " after action " << c.action;
        // Nothing more came from the dead list, and nothing wrote to it.
        ASSERT_FALSE(bed.notes.empty());
        EXPECT_EQ(bed.notes.back().type, c.killer) << "action " << c.action;
        bed.Pump();
        bed.Repaint();
        EXPECT_TRUE(testbed::QuarantineIntact()) << c.killer << " after action " << c.action;
    }
}
