// Long lists of control rows: indexes after mixed insertions and removals in both owners that
// number lazily (the list and the combo), and a list body that paints only the rows an update
// rectangle meets, found by their place, with the rows scrolled into view where they belong.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <set>
#include <vector>

#include "support/HostBed.h"
#include "controls/list/List.h"
#include "controls/list/ListContainerElement.h"
#include "controls/list/ListTextElement.h"
#include "controls/native/Combo.h"
#include "controls/range/ScrollBar.h"
#include "controls/text/Label.h"
#include "controls/text/Text.h"
#include "host/Accessible.h"

using namespace SkinUI;
using testbed::HostBed;

namespace {

// Counts how often its owner numbers it, and paints itself in a colour of its own when asked.
class MarkedRow : public CListTextElementUI {
public:
    MarkedRow(int id, int& numbered, std::vector<int>* painted = nullptr)
        : m_id(id)
        , m_numbered(numbered)
        , m_painted(painted)
    {
        SetFixedHeight(20);
    }
    void SetIndex(int index) override
    {
        ++m_numbered;
        CListTextElementUI::SetIndex(index);
    }
    void Paint(HDC hdc, const CRectUI& paintRect) override
    {
        CRectUI r = paintRect;
        if (!r.Intersect(m_position))
            return;
        if (m_painted != nullptr)
            m_painted->push_back(m_id);
        HBRUSH brush = ::CreateSolidBrush(ColorOf(m_id));
        ::FillRect(hdc, &r, brush);
        ::DeleteObject(brush);
    }
    static COLORREF ColorOf(int id) { return RGB(id % 251, (id / 251) % 251, 200); }
    int Id() const { return m_id; }

private:
    int m_id;
    int& m_numbered;
    std::vector<int>* m_painted;
};

int IndexHeld(CControlUI* row) { return ControlCast<IListItemUI>(row)->GetIndex(); }

}  // namespace

// Insertions and removals anywhere, in runs down and up the rows: after every step each row reads
// its true position, IndexOfChild finds it, the selection stays on its row (or moves as a removal
// of the selected row moves it), and the numbering done stays near the rows the steps passed.
TEST(RowsAtScale, IndexesAndSelectionAfterMixedInsertionsAndRemovals)
{
    const int kRows = 1500;
    for (const bool combo : {false, true}) {
        SCOPED_TRACE(combo ? "combo" : "list");
        HostBed bed(300, 200);
        CListUI* list = combo ? nullptr : new CListUI;
        CComboUI* box = combo ? new CComboUI : nullptr;
        CControlUI* ownerControl = combo ? static_cast<CControlUI*>(box) : list;
        IContainerUI& rows = *ControlCast<IContainerUI>(ownerControl);
        IListOwnerUI& owner = *ControlCast<IListOwnerUI>(ownerControl);
        bed.Attach(ownerControl);
        int numbered = 0;
        int nextId = 0;
        std::vector<CControlUI*> model;
        for (int i = 0; i < kRows; ++i) {
            model.push_back(new MarkedRow(nextId++, numbered));
            ASSERT_TRUE(rows.AddChild(model.back()));
        }
        ASSERT_TRUE(owner.SelectItem(700, false));
        CControlUI* selected = model[700];
        numbered = 0;
        unsigned state = 99;
        auto next = [&state](int bound) {
            state = state * 1103515245u + 12345u;
            return static_cast<int>((state >> 8) % static_cast<unsigned>(bound));
        };
        int touched = 0;
        for (int step = 0; step < 60; ++step) {
            // A run of edits going down (or up) the rows from a random place, then reads.
            const bool down = next(2) == 0;
            int at = next(static_cast<int>(model.size()));
            for (int k = 0; k < 20 && at >= 0 && at < static_cast<int>(model.size()); ++k) {
                if (next(3) == 0) {
                    CControlUI* row = new MarkedRow(nextId++, numbered);
                    ASSERT_TRUE(rows.InsertChild(row, at));
                    model.insert(model.begin() + at, row);
                } else if (model[static_cast<size_t>(at)] != selected) {
                    ASSERT_TRUE(rows.RemoveChild(model[static_cast<size_t>(at)]));
                    model.erase(model.begin() + at);
                }
                at += down ? 2 : -2;
                ++touched;
            }
            ASSERT_EQ(rows.ChildCount(), static_cast<int>(model.size()));
            for (int probe : {0, next(static_cast<int>(model.size())), static_cast<int>(model.size()) - 1}) {
                CControlUI* row = model[static_cast<size_t>(probe)];
                ASSERT_EQ(rows.ChildAt(probe), row) << "step " << step;
                EXPECT_EQ(IndexHeld(row), probe) << "step " << step;
                EXPECT_EQ(rows.IndexOfChild(row), probe) << "step " << step;
            }
            const int selectedAt = static_cast<int>(std::find(model.begin(), model.end(), selected) - model.begin());
            EXPECT_EQ(owner.GetCurrentIndex(), selectedAt) << "step " << step;
        }
        // Every row, read in order once more.
        for (size_t i = 0; i < model.size(); ++i)
            ASSERT_EQ(IndexHeld(model[i]), static_cast<int>(i));
        // Each run of edits renumbers at most the rows from its first edit to the end when read:
        // an owner renumbering the tail at every edit would number about touched * rows / 2.
        EXPECT_LE(numbered, 2 * 60 * (kRows + 400) + touched) << "edits " << touched;

        // Removing the selected row hands the selection to the row now in its place.
        const int selectedAt = owner.GetCurrentIndex();
        CControlUI* successor = model[static_cast<size_t>(selectedAt) + 1];
        ASSERT_TRUE(rows.RemoveChild(selected));
        EXPECT_EQ(owner.GetCurrentIndex(), selectedAt);
        EXPECT_TRUE(ControlCast<IListItemUI>(successor)->IsSelected());
        EXPECT_EQ(IndexHeld(successor), selectedAt);
        bed.Pump();
    }
}

// A list of 3,000 rows of 20 pixels scrolled into its middle: rows in view are placed under the
// header by their index, and painting an update rectangle paints exactly the rows it meets (their
// colours read back), with hidden rows skipped and rows that overlap still painted in order.
TEST(RowsAtScale, PaintingAnUpdateRectanglePaintsTheRowsItMeets)
{
    const int kRows = 3000;
    struct Case {
        const char* what;
        int childPadding;  // negative: the rows overlap
        int hideEvery;  // hide every n-th row; 0 none
        int scrollTo;
        int top, bottom;  // update rectangle, client y
    } cases[] = {
        {"one row's middle", 0, 0, 20 * 1500, 55, 60},
        {"across three rows", 0, 0, 20 * 1500 + 7, 40, 95},
        {"with hidden rows", 0, 3, 20 * 700, 30, 130},
        {"overlapping rows", -5, 0, 15 * 1000, 30, 80},
        {"the whole body at the top", 0, 0, 0, 0, 200},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        HostBed bed(300, 200);
        CListUI* list = new CListUI;
        list->SetAttribute("vscrollbar", "true");
        list->SetChildPadding(c.childPadding);
        bed.Attach(list);
        int numbered = 0;
        std::vector<int> painted;
        std::vector<MarkedRow*> all;
        for (int i = 0; i < kRows; ++i) {
            all.push_back(new MarkedRow(i, numbered, &painted));
            ASSERT_TRUE(list->AddChild(all.back()));
            if (c.hideEvery > 0 && i % c.hideEvery == 0)
                all.back()->SetVisible(false);
        }
        bed.Repaint();
        list->SetScrollPosition(CSizeUI(0, c.scrollTo));
        bed.Repaint();
        const int scroll = list->GetScrollPosition().cy;
        const CRectUI body = list->GetBody()->GetPosition();
        // Where each shown row belongs: stacked under the body's top by the rows shown before it.
        std::set<int> expected;
        int shown = 0;
        for (MarkedRow* row : all) {
            if (!row->IsVisible())
                continue;
            const int top = body.top + shown * (20 + c.childPadding) - scroll;
            ++shown;
            if (top + 20 <= body.top || top >= body.bottom)
                continue;
            EXPECT_EQ(row->GetPosition().top, top) << "row " << row->Id();
            EXPECT_EQ(row->GetPosition().bottom, top + 20) << "row " << row->Id();
            if (top + 20 > c.top && top < c.bottom && top < body.bottom && top + 20 > body.top)
                expected.insert(row->Id());
        }
        ASSERT_FALSE(expected.empty());

        testbed::DibCanvas canvas(300, 200, 0xFF000000);
        painted.clear();
        list->Paint(canvas.Dc(), CRectUI(0, c.top, 300, c.bottom));
        EXPECT_EQ(std::set<int>(painted.begin(), painted.end()), expected);
        EXPECT_EQ(painted.size(), expected.size());  // each once
        EXPECT_TRUE(std::is_sorted(painted.begin(), painted.end()));
        // The last row painted over each pixel row is the one seen there.
        for (int y = c.top; y < c.bottom && y < body.bottom; ++y) {
            int seen = -1;
            for (int id : painted) {
                const CRectUI& p = all[static_cast<size_t>(id)]->GetPosition();
                if (y >= p.top && y < p.bottom)
                    seen = id;
            }
            if (seen < 0)
                continue;
            const COLORREF color = MarkedRow::ColorOf(seen);
            const uint32_t rgb = (GetRValue(color) << 16) | (GetGValue(color) << 8) | GetBValue(color);
            ASSERT_EQ(canvas.Pixel(10, y) & 0xFFFFFF, rgb) << "y " << y;
        }
        if (c.top > 0) {
            EXPECT_EQ(canvas.Pixel(10, c.top - 1) & 0xFFFFFF, 0u);  // outside the rectangle: untouched
        }
    }
}

namespace {

// A shown list of rows of 20 pixels, laid out once; each row is made as Row(i, count).
template <class Row> struct RowsBed {
    explicit RowsBed(int rows)
    {
        list->SetAttribute("vscrollbar", "true");
        bed.Attach(list);
        for (int i = 0; i < rows; ++i) {
            all.push_back(new Row(i, count));
            list->AddChild(all.back());
        }
        bed.Repaint();
    }

    HostBed bed{300, 200};
    int count = 0;  // what the rows count
    std::vector<Row*> all;
    CListUI* list = new CListUI;  // owned by the bed's host once attached
};

// Its rows count how often the list numbers them.
using LongListBed = RowsBed<MarkedRow>;

// Where the shown row at `position` among the shown rows belongs at the list's scroll.
CRectUI RowPlace(CListUI* list, int position)
{
    const CRectUI body = list->GetBody()->GetPosition();
    const int top = body.top + 20 * position - list->GetScrollPosition().cy;
    return CRectUI(body.left, top, body.left + 1, top + 20);
}

bool MeetsBody(CListUI* list, const CRectUI& r)
{
    CRectUI body = list->GetBody()->GetPosition();
    return body.Intersect(r);
}

}  // namespace

// Scrolling a list of 10,000 rows moves the rows shown before and after, not every row; a row in
// view is always where it belongs, and a row out of view asked for (as a screen reader or
// EnsureVisible asks) is laid out where it belongs too.
TEST(RowsAtScale, ScrollingMovesOnlyTheRowsShownAndARowAskedForIsPlaced)
{
    const int kRows = 10000;
    LongListBed t(kRows);
    CListUI* list = t.list;
    std::vector<MarkedRow*>& all = t.all;
    struct Step {
        const char* what;
        std::function<void()> scroll;
    } steps[] = {
        {"to the middle", [&] { list->SetScrollPosition(CSizeUI(0, 20 * 5000 + 7)); }},
        {"a line down", [&] { list->ScrollLineDown(); }},
        {"a page up", [&] { list->ScrollPageUp(); }},
        {"to the end", [&] { list->ScrollToBottom(); }},
        {"back to the top", [&] { list->ScrollToTop(); }},
        {"to the middle again", [&] { list->SetScrollPosition(CSizeUI(0, 20 * 5000 + 7)); }},
    };
    const int shownRows = list->GetBody()->GetPosition().GetHeight() / 20 + 2;
    for (const Step& step : steps) {
        SCOPED_TRACE(step.what);
        std::vector<CRectUI> before;
        for (MarkedRow* row : all)
            before.push_back(row->GetPosition());
        step.scroll();
        int moved = 0;
        for (size_t i = 0; i < all.size(); ++i) {
            const CRectUI& now = all[i]->GetPosition();
            moved += now == before[i] ? 0 : 1;
            const CRectUI place = RowPlace(list, static_cast<int>(i));
            if (MeetsBody(list, now) || MeetsBody(list, place)) {
                ASSERT_EQ(now.top, place.top) << "row " << i;
                ASSERT_EQ(now.bottom, place.bottom) << "row " << i;
            }
        }
        EXPECT_LE(moved, 2 * shownRows);
        for (int distant : {0, 1234, 5000, kRows - 1}) {
            const CRectUI& asked = CurrentPosition(all[static_cast<size_t>(distant)]);
            EXPECT_EQ(asked.top, RowPlace(list, distant).top) << "row " << distant;
        }
    }
    // Selecting a distant row scrolls it into view from wherever the rows were left.
    for (int distant : {9000, 17, kRows - 1, 0, 4999}) {
        ASSERT_TRUE(list->SelectItem(distant, false));
        const CRectUI& row = all[static_cast<size_t>(distant)]->GetPosition();
        const CRectUI body = list->GetBody()->GetPosition();
        EXPECT_GE(row.top, body.top) << "row " << distant;
        EXPECT_LE(row.bottom, body.bottom) << "row " << distant;
        EXPECT_EQ(row.top, RowPlace(list, distant).top) << "row " << distant;
    }
}

// The control under the point is the row the stack puts there, after scrolling, insertions,
// removals, hiding and moves, and after a row removed by its own click; a click selects it.
TEST(RowsAtScale, HitTestingFindsTheRowUnderThePoint)
{
    LongListBed t(10000);
    HostBed& bed = t.bed;
    CListUI* list = t.list;
    std::vector<CControlUI*> model(t.all.begin(), t.all.end());
    int& numbered = t.count;
    int nextId = static_cast<int>(model.size());
    auto shownAt = [&](int y) -> CControlUI* {
        int position = 0;
        for (CControlUI* row : model) {
            if (!row->IsVisible())
                continue;
            const CRectUI place = RowPlace(list, position++);
            if (y >= place.top && y < place.bottom)
                return row;
        }
        return nullptr;
    };
    struct Step {
        const char* what;
        std::function<void()> edit;
    } steps[] = {
        {"scrolled to the middle", [&] { list->SetScrollPosition(CSizeUI(0, 20 * 6000 + 5)); }},
        {"a row inserted at the top",
            [&] {
                model.insert(model.begin(), new MarkedRow(nextId++, numbered));
                list->InsertChild(model.front(), 0);
            }},
        {"the rows above the view removed",
            [&] {
                for (int i = 0; i < 100; ++i) {
                    list->RemoveChild(model[1000]);
                    model.erase(model.begin() + 1000);
                }
            }},
        {"the row under the point hidden", [&] { shownAt(100)->SetVisible(false); }},
        {"a distant row moved under the point",
            [&] {
                const int to = list->GetBody()->IndexOfChild(shownAt(100));
                CControlUI* distant = model[10];
                ASSERT_TRUE(list->MoveChild(distant, to));
                model.erase(model.begin() + 10);
                model.insert(model.begin() + to, distant);
            }},
        {"scrolled a page down", [&] { list->ScrollPageDown(); }},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.what);
        step.edit();
        bed.Repaint();
        for (int y : {30, 100, 170}) {
            CControlUI* expected = shownAt(y);
            ASSERT_NE(expected, nullptr);
            EXPECT_EQ(bed.Host().FindControlAt(POINT{50, y}), expected) << "y " << y;
        }
        CControlUI* clicked = shownAt(100);
        bed.Click(50, 100);
        EXPECT_EQ(list->GetCurrentIndex(), list->GetBody()->IndexOfChild(clicked));
        EXPECT_TRUE(ControlCast<IListItemUI>(clicked)->IsSelected());
    }
    // A row that removes itself when clicked: nothing more reaches it, and the row now under the
    // point is the one hit.
    CControlUI* doomed = shownAt(100);
    bed.hook = [&](TNotifyEvent& event) {
        if (event.Sender == doomed && event.Type == "itemclick") {
            list->RemoveChild(doomed);
            model.erase(std::find(model.begin(), model.end(), doomed));
        }
    };
    bed.Click(50, 100);
    bed.hook = nullptr;
    bed.Pump();
    bed.Repaint();
    EXPECT_EQ(std::find(model.begin(), model.end(), doomed), model.end());
    EXPECT_EQ(bed.Host().FindControlAt(POINT{50, 100}), shownAt(100));

    // The bar's value set directly moves no row: the row hit is the one painted under the point.
    CControlUI* under = shownAt(100);
    list->GetVerticalScrollBar()->SetValue(list->GetVerticalScrollBar()->GetValue() + 333);
    EXPECT_EQ(bed.Host().FindControlAt(POINT{50, 100}), under);
}

// The scroll bar's thumb held and dragged while the rows are removed under it, half and then all
// of them: the drag goes on against the rows that are left, and the rows left are hit where they are.
TEST(RowsAtScale, ThumbDraggedWhileTheRowsGo)
{
    LongListBed t(12000);
    HostBed& bed = t.bed;
    CListUI* list = t.list;
    std::vector<MarkedRow*>& all = t.all;
    list->SetScrollPosition(CSizeUI(0, 20 * 6000));
    bed.Repaint();
    CScrollBarUI* bar = list->GetVerticalScrollBar();
    const CRectUI thumb = bar->GetThumbRect();
    const int x = (thumb.left + thumb.right) / 2;
    int y = (thumb.top + thumb.bottom) / 2;
    bed.Press(x, y);
    ASSERT_NE(bed.Host().NativeTimerId(bar, CScrollBarUI::kRepeatTimerId), 0u) << "the thumb is held";
    for (int step = 0; step < 3; ++step) {
        SCOPED_TRACE(step);
        if (step == 0) {
            for (int i = 0; i < 6000; ++i)
                list->RemoveChild(all[static_cast<size_t>(2 * i)]);
        } else if (step == 2) {
            list->RemoveAllChildren();
        }
        y += 15;
        bed.MoveTo(x, y);
        bed.Send(WM_TIMER, bed.Host().NativeTimerId(bar, CScrollBarUI::kRepeatTimerId));
        bed.Repaint();
        CControlUI* hit = bed.Host().FindControlAt(POINT{50, 100});
        if (list->ChildCount() == 0) {
            EXPECT_EQ(ControlCast<IListItemUI>(hit), nullptr);
            continue;
        }
        ASSERT_NE(ControlCast<IListItemUI>(hit), nullptr);
        EXPECT_TRUE(hit->GetPosition().Contains(POINT{50, 100}));
        EXPECT_EQ(hit->GetPosition().top, RowPlace(list, list->GetBody()->IndexOfChild(hit)).top);
    }
    bed.Release(x, y);
    bed.Pump();
    EXPECT_EQ(list->ChildCount(), 0);
}

namespace {

struct THeardEvent {
    DWORD event;
    LONG child;
};
std::vector<THeardEvent>* g_heardEvents = nullptr;
HWND g_heardWindow = nullptr;

void CALLBACK HearEvent(HWINEVENTHOOK, DWORD event, HWND hwnd, LONG idObject, LONG idChild, DWORD, DWORD)
{
    if (g_heardEvents != nullptr && hwnd == g_heardWindow && idObject == OBJID_CLIENT)
        g_heardEvents->push_back(THeardEvent{event, idChild});
}

}  // namespace

// Rows added to a shown list are news to a screen reader: a few are each announced as created,
// a list filled with many says once that its children changed, with no object made for each row.
TEST(RowsAtScale, RowsAddedToAShownListAreAnnouncedOnceWhenMany)
{
    struct Case {
        int added;
        int creates;
        int reorders;
    } cases[] = {{1, 1, 0}, {16, 16, 0}, {17, 0, 1}, {3000, 0, 1}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.added);
        HostBed bed(300, 200);
        CListUI* list = new CListUI;
        bed.Attach(list);
        bed.Pump();
        std::vector<THeardEvent> heard;
        g_heardEvents = &heard;
        g_heardWindow = bed.Hwnd();
        const HWINEVENTHOOK hook = ::SetWinEventHook(EVENT_OBJECT_CREATE, EVENT_OBJECT_REORDER, nullptr, HearEvent,
            ::GetCurrentProcessId(), 0, WINEVENT_OUTOFCONTEXT);
        ASSERT_NE(hook, nullptr);
        for (int i = 0; i < c.added; ++i) {
            CListTextElementUI* row = new CListTextElementUI;
            row->SetText("row");
            list->AddChild(row);
        }
        bed.Repaint();
        const long listId = bed.Host().AccessibleObjectOf(list)->GetId();
        auto count = [&](DWORD event, bool ofList) {
            int n = 0;
            for (const THeardEvent& e : heard)
                n += e.event == event && (!ofList || e.child == listId) ? 1 : 0;
            return n;
        };
        const int expected = c.creates + c.reorders;
        testbed::PumpUntil(
            [&] { return count(EVENT_OBJECT_CREATE, false) + count(EVENT_OBJECT_REORDER, true) >= expected; }, 3000);
        testbed::PumpUntil([] { return false; }, 100);  // anything more would come now
        EXPECT_EQ(count(EVENT_OBJECT_CREATE, false), c.creates);
        EXPECT_EQ(count(EVENT_OBJECT_REORDER, true), c.reorders);
        ::UnhookWinEvent(hook);
        g_heardEvents = nullptr;
    }
}

// Rows changed after the list scrolled (rows out of view left where they were), then, before the
// next paint lays them out, scrolled again or a far row selected: no row out of place shows in the
// view, and the row selected is scrolled to where it belongs.
TEST(RowsAtScale, RowsChangedAfterAScrollThenScrolledOrSelectedBeforeThePaint)
{
    struct Case {
        const char* what;
        int edit;  // 0: a row inserted at the top, 1: the first row removed, 2: a row above hidden
        int select;  // -1: scroll a page down instead
    } cases[] = {
        {"inserted, then scrolled", 0, -1},
        {"removed, then scrolled", 1, -1},
        {"hidden, then scrolled", 2, -1},
        {"inserted, then a far row selected", 0, 9000},
        {"removed, then a row above selected", 1, 100},
        {"hidden, then the last row selected", 2, 9998},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        LongListBed t(10000);
        CListUI* list = t.list;
        list->SetScrollPosition(CSizeUI(0, 20 * 5000));
        list->ScrollLineDown();
        if (c.edit == 0)
            list->InsertChild(new MarkedRow(-1, t.count), 0);
        else if (c.edit == 1)
            list->RemoveChildAt(0);
        else
            t.all[3]->SetVisible(false);
        if (c.select < 0)
            list->ScrollPageDown();
        else
            ASSERT_TRUE(list->SelectItem(c.select, false));
        const CRectUI body = list->GetBody()->GetPosition();
        std::vector<std::pair<int, int>> shown;
        for (int i = 0; i < list->ChildCount(); ++i) {
            CControlUI* row = list->ChildAt(i);
            if (!row->IsVisible() || !MeetsBody(list, row->GetPosition()))
                continue;
            shown.push_back(std::make_pair(row->GetPosition().top, row->GetPosition().bottom));
            // Only rows near the scroll, as it was or is, may show: never one from far away.
            EXPECT_NEAR(i, list->GetScrollPosition().cy / 20, 30) << "row " << i;
        }
        std::sort(shown.begin(), shown.end());
        ASSERT_FALSE(shown.empty());
        for (size_t k = 1; k < shown.size(); ++k)
            EXPECT_GE(shown[k].first, shown[k - 1].second) << "rows overlap at y " << shown[k].first;
        if (c.select >= 0) {
            const CRectUI& row = list->ChildAt(c.select)->GetPosition();
            EXPECT_GE(row.top, body.top);
            EXPECT_LE(row.bottom, body.bottom);
        }
        t.bed.Repaint();
        int position = 0;
        for (int i = 0; i < list->ChildCount(); ++i) {
            CControlUI* row = list->ChildAt(i);
            if (!row->IsVisible())
                continue;
            const CRectUI place = RowPlace(list, position++);
            if (MeetsBody(list, row->GetPosition()) || MeetsBody(list, place)) {
                ASSERT_EQ(row->GetPosition().top, place.top) << "row " << i;
            }
        }
    }
}

namespace {

// A row 20 pixels high that counts how often a layout measures it.
class CountedRow : public CListTextElementUI {
public:
    CountedRow(int /*id*/, int& measured)
        : m_measured(measured)
    {
        SetFixedHeight(20);
    }
    CSizeUI MeasureSize(CSizeUI available) override
    {
        ++m_measured;
        return CListTextElementUI::MeasureSize(available);
    }

private:
    int& m_measured;
};

// Its rows count how often a layout measures them.
using CountedListBed = RowsBed<CountedRow>;

// A row of controls 20 pixels high that counts, in the same count, how often a layout measures it.
class CountedHolder : public CListContainerElementUI {
public:
    explicit CountedHolder(int& measured)
        : m_measured(measured)
    {
        SetFixedHeight(20);
    }
    CSizeUI MeasureSize(CSizeUI available) override
    {
        ++m_measured;
        return CListContainerElementUI::MeasureSize(available);
    }

private:
    int& m_measured;
};

// Every shown row, asked for its place, lies right below the shown row before it, from the body's
// top at the list's scroll; the last one ends where the scroll range lets the view end.
void ExpectRowsStacked(CListUI* list)
{
    CContainerUI* body = list->GetBody();
    const CRectUI client = body->GetPosition();
    int top = client.top - list->GetScrollPosition().cy;
    for (int i = 0; i < list->ChildCount(); ++i) {
        CControlUI* row = list->ChildAt(i);
        if (!row->IsVisible())
            continue;
        const CRectUI& place = CurrentPosition(row);
        ASSERT_EQ(place.top, top) << "row " << i;
        top = place.bottom;
    }
    const CScrollBarUI* hbar = list->GetHorizontalScrollBar();
    const int content = top - (client.top - list->GetScrollPosition().cy);
    const int view = client.GetHeight() - (hbar != nullptr && hbar->IsVisible() ? hbar->ScaledFixedHeight() : 0);
    EXPECT_EQ(list->GetVerticalScrollBar()->GetRange(), content - view) << "scroll range";
}

}  // namespace

// A row whose size changes after the list was laid out (its fixed height set, hidden or shown,
// its text wrapping onto more lines) moves every row after it at the next layout, the rows out of
// view too, as they are asked for or scrolled into view.
TEST(RowsAtScale, ARowChangingSizeMovesTheRowsAfterIt)
{
    const int kRows = 3000;
    const int kChanged = 40;
    struct Case {
        const char* what;
        int change;  // 0: taller, 1: shorter, 2: hidden, 3: shown, 4: text wrapped
    } cases[] = {
        {"fixed height raised", 0},
        {"fixed height lowered", 1},
        {"hidden", 2},
        {"shown", 3},
        {"text wrapped", 4},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        int measured = 0;
        HostBed bed(300, 200);
        CListUI* list = new CListUI;
        list->SetAttribute("vscrollbar", "true");
        bed.Attach(list);
        CTextUI* text = nullptr;
        for (int i = 0; i < kRows; ++i) {
            if (i == kChanged && c.change == 4) {
                text = new CTextUI;
                text->SetText("short");
                list->AddChild(text);
                continue;
            }
            list->AddChild(new CountedRow(i, measured));
        }
        CControlUI* changed = list->ChildAt(kChanged);
        if (c.change == 3)
            changed->SetVisible(false);
        bed.Repaint();
        const int before = CurrentPosition(changed).GetHeight();
        list->SetScrollPosition(CSizeUI(0, 20 * 10));
        bed.Repaint();
        if (c.change == 0)
            changed->SetFixedHeight(55);
        else if (c.change == 1)
            changed->SetFixedHeight(5);
        else if (c.change != 4)
            changed->SetVisible(c.change == 3);
        if (c.change == 4) {
            text->SetText("a line of many words that cannot fit the width of the list in one line of text");
            text->GetParent()->RequestLayout();
        }
        bed.Repaint();
        ASSERT_NO_FATAL_FAILURE(ExpectRowsStacked(list));
        if (c.change == 0 || c.change == 1 || c.change == 3) {
            EXPECT_EQ(CurrentPosition(changed).GetHeight(), c.change == 0 ? 55 : c.change == 1 ? 5 : 20);
        }
        if (c.change == 4) {
            EXPECT_GE(CurrentPosition(changed).GetHeight(), 2 * before) << "the text did not wrap";
        }
        // Rows far below, brought into view by the scroll, show where the stack puts them.
        list->SetScrollPosition(CSizeUI(0, 20 * 2500));
        bed.Repaint();
        const int left = list->GetBody()->GetPosition().left;
        int top = list->GetBody()->GetPosition().top - list->GetScrollPosition().cy;
        for (int i = 0; i < kRows; ++i) {
            CControlUI* row = list->ChildAt(i);
            if (!row->IsVisible())
                continue;
            const int height = i == kChanged ? CurrentPosition(changed).GetHeight() : 20;
            if (i > kChanged && MeetsBody(list, CRectUI(left, top, left + 1, top + height))) {
                ASSERT_EQ(row->GetPosition().top, top) << "row " << i;
            }
            top += height;
        }
    }
}

// A layout measures only the rows that may measure differently: none when nothing changed, the
// row changed or added, and every row once when the width they get changed. The first layout,
// which brings the vertical bar, measures every row once and the rows of one view once more.
TEST(RowsAtScale, ALayoutMeasuresOnlyTheRowsThatChanged)
{
    {
        CountedListBed first(2000);
        EXPECT_TRUE(first.list->GetVerticalScrollBar()->IsVisible());
        EXPECT_GE(first.count, 2000);
        EXPECT_LE(first.count, 2000 + 200 / 20 + 1) << "the first layout measured rows again";
    }
    struct Case {
        const char* what;
        std::function<void(CountedListBed&)> change;
        int measures;
    } cases[] = {
        {"nothing changed", [](CountedListBed& t) { t.list->GetBody()->RequestLayout(); }, 0},
        {"a fixed height set", [](CountedListBed& t) { t.all[700]->SetFixedHeight(30); }, 1},
        {"a text set",
            [](CountedListBed& t) {
                t.all[5]->SetText("new");
                t.list->GetBody()->RequestLayout();
            },
            1},
        {"a row hidden and shown",
            [](CountedListBed& t) {
                t.all[9]->SetVisible(false);
                t.bed.Repaint();
                t.all[9]->SetVisible(true);
            },
            1},
        {"a row added", [](CountedListBed& t) { t.list->AddChild(new CountedRow(0, t.count)); }, 1},
        {"the rows narrowed", [](CountedListBed& t) { t.list->SetInset(CRectUI(0, 0, 10, 0)); }, 2000},
        {"the default font replaced",
            [](CountedListBed& t) {
                t.bed.Host().ReplaceDefaultFont("Tahoma", 20, true, false, false);
                t.list->GetBody()->RequestLayout();
            },
            2000},
        {"a font added",
            [](CountedListBed& t) {
                t.bed.Host().AppendFont("Tahoma", 20, true, false, false);
                t.list->GetBody()->RequestLayout();
            },
            2000},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        CountedListBed t(2000);
        t.count = 0;
        c.change(t);
        t.bed.Repaint();
        EXPECT_EQ(t.count, c.measures);
    }
    // A row that holds controls measures again when one of them asks it for a layout: the row's
    // size may follow its content.
    CountedListBed t(2000);
    CountedHolder* holder = new CountedHolder(t.count);
    CLabelUI* inner = new CLabelUI;
    holder->AddChild(inner);
    t.list->InsertChild(holder, 3);
    t.bed.Repaint();
    struct Inner {
        const char* what;
        std::function<void()> change;
    } inners[] = {
        {"its fixed height", [&] { inner->SetFixedHeight(30); }},
        {"its font", [&] { inner->SetFont(0); }},
        {"its text style", [&] { inner->SetTextStyle(DT_LEFT | DT_WORDBREAK); }},
        {"its text padding", [&] { inner->SetTextPadding(CRectUI(2, 2, 2, 2)); }},
        {"its markup", [&] { inner->SetShowHtml(true); }},
    };
    for (const Inner& c : inners) {
        SCOPED_TRACE(c.what);
        t.count = 0;
        c.change();
        t.list->GetBody()->RequestLayout();
        t.bed.Repaint();
        EXPECT_EQ(t.count, 1) << "the row holding the changed control was not measured again";
    }
}

namespace {

// Counts, in one count, every place a layout gives it (a rectangle only recorded too) and every
// time it is measured: what a layout visits.
class VisitedRow : public CListTextElementUI {
public:
    VisitedRow(int /*id*/, int& visits)
        : m_visits(visits)
    {
        SetFixedHeight(20);
        ResizeListeners += MakeDelegate(this, &VisitedRow::OnPlaced);
    }
    CSizeUI MeasureSize(CSizeUI available) override
    {
        ++m_visits;
        return CListTextElementUI::MeasureSize(available);
    }

private:
    bool OnPlaced(void*)
    {
        ++m_visits;
        return true;
    }

    int& m_visits;
};

using VisitedListBed = RowsBed<VisitedRow>;

// Every shown row, at the list's scroll, against a full layout of the same rows: the rows' tops
// stacked from the body's top, their heights and the scroll range. Rows whose place meets the
// body must be there already; the others are asked for.
void ExpectRowsAsLaidOutWhole(CListUI* list, const std::vector<int>& heights)
{
    const CRectUI body = list->GetBody()->GetPosition();
    const int gap = list->GetChildPadding();
    int top = body.top - list->GetScrollPosition().cy;
    int content = -gap;
    for (int i = 0; i < list->ChildCount(); ++i) {
        CControlUI* row = list->ChildAt(i);
        if (!row->IsVisible())
            continue;
        const int height = heights[static_cast<size_t>(i)];
        if (MeetsBody(list, CRectUI(body.left, top, body.right, top + height))) {
            ASSERT_EQ(row->GetPosition().top, top) << "row " << i << " in view";
            ASSERT_EQ(row->GetPosition().GetHeight(), height) << "row " << i << " in view";
        } else {
            ASSERT_FALSE(MeetsBody(list, row->GetPosition())) << "row " << i << " shows out of place";
        }
        const CRectUI& asked = CurrentPosition(row);
        ASSERT_EQ(asked.top, top) << "row " << i;
        ASSERT_EQ(asked.GetHeight(), height) << "row " << i;
        top += height + gap;
        content += height + gap;
    }
    EXPECT_EQ(list->GetVerticalScrollBar()->GetRange(), content - body.GetHeight()) << "scroll range";
}

}  // namespace

// A layout where nothing changed visits no row; one where a row changed, was added or went
// visits that row and the rows of the view, not the thousands out of it; and every row is where
// a full layout of the same rows would put it, in view and out of it.
TEST(RowsAtScale, ALayoutVisitsOnlyTheRowsChangedAndShown)
{
    const int kRows = 5000;
    const int kView = 200 / 20 + 2;
    struct Case {
        const char* what;
        std::function<void(VisitedListBed&, std::vector<int>&)> change;
        int most;  // visits
    } cases[] = {
        {"nothing changed", [](VisitedListBed& t, std::vector<int>&) { t.list->GetBody()->RequestLayout(); }, 0},
        {"a row above the view taller",
            [](VisitedListBed& t, std::vector<int>& h) {
                t.all[100]->SetFixedHeight(33);
                h[100] = 33;
            },
            1 + 2 * kView},
        {"a row in view shorter",
            [](VisitedListBed& t, std::vector<int>& h) {
                t.all[2503]->SetFixedHeight(7);
                h[2503] = 7;
            },
            1 + 2 * kView},
        {"a row below the view taller",
            [](VisitedListBed& t, std::vector<int>& h) {
                t.all[4000]->SetFixedHeight(45);
                h[4000] = 45;
            },
            1},
        {"a row above the view hidden", [](VisitedListBed& t, std::vector<int>&) { t.all[7]->SetVisible(false); },
            2 * kView},
        {"a row inserted above the view",
            [](VisitedListBed& t, std::vector<int>& h) {
                t.list->InsertChild(new VisitedRow(0, t.count), 10);
                h.insert(h.begin() + 10, 20);
            },
            2 + 2 * kView},
        {"a row removed above the view",
            [](VisitedListBed& t, std::vector<int>& h) {
                t.list->RemoveChildAt(10);
                h.erase(h.begin() + 10);
            },
            2 * kView},
        {"a row inserted in view",
            [](VisitedListBed& t, std::vector<int>& h) {
                t.list->InsertChild(new VisitedRow(0, t.count), 2504);
                h.insert(h.begin() + 2504, 20);
            },
            2 + 2 * kView},
        // A bulk change measures again from its first row: only the places are checked.
        {"every other row of forty removed across the view",
            [](VisitedListBed& t, std::vector<int>& h) {
                for (int k = 0; k < 20; ++k) {
                    t.list->RemoveChildAt(2490 + k);
                    h.erase(h.begin() + 2490 + k);
                }
            },
            2 * kRows},
        {"a gap between the rows", [](VisitedListBed& t, std::vector<int>&) { t.list->SetChildPadding(3); }, 2 * kView},
        // Hidden where it showed, the row keeps that place; shown again out of view, it must not
        // claim it (to a screen reader, say), whether the list was shown or hidden meanwhile.
        {"a row hidden in view, scrolled away, shown again",
            [](VisitedListBed& t, std::vector<int>&) {
                t.all[2503]->SetVisible(false);
                t.bed.Repaint();
                t.list->SetScrollPosition(CSizeUI(0, 20 * 100));
                t.bed.Repaint();
                t.all[2503]->SetVisible(true);
            },
            6 * kView},
        {"a row hidden in view, scrolled away, shown again in a hidden list",
            [](VisitedListBed& t, std::vector<int>&) {
                t.all[2503]->SetVisible(false);
                t.bed.Repaint();
                t.list->SetScrollPosition(CSizeUI(0, 20 * 4000));
                t.bed.Repaint();
                t.list->SetVisible(false);
                t.all[2503]->SetVisible(true);
                t.list->SetVisible(true);
            },
            6 * kView},
        // The rows' width changed: every row is measured and placed again, as before.
        {"the list narrowed",
            [](VisitedListBed& t, std::vector<int>& h) {
                t.list->SetInset(CRectUI(0, 0, 10, 0));
                t.all[4990]->SetFixedHeight(21);
                h[4990] = 21;
            },
            3 * kRows},
        {"rows taller above and below, one row removed in view",
            [](VisitedListBed& t, std::vector<int>& h) {
                t.all[30]->SetFixedHeight(25);
                t.all[4900]->SetFixedHeight(26);
                t.list->RemoveChildAt(2502);
                h[30] = 25;
                h[4900] = 26;
                h.erase(h.begin() + 2502);
            },
            2 + 2 * kView},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        VisitedListBed t(kRows);
        std::vector<int> heights(kRows, 20);
        t.list->SetScrollPosition(CSizeUI(0, 20 * 2500));
        t.bed.Repaint();
        t.count = 0;
        c.change(t, heights);
        t.bed.Repaint();
        EXPECT_LE(t.count, c.most);
        ASSERT_NO_FATAL_FAILURE(ExpectRowsAsLaidOutWhole(t.list, heights));
        // Scrolled to either end, the rows there are where the full layout puts them.
        for (int scroll : {0, 20 * kRows}) {
            t.list->SetScrollPosition(CSizeUI(0, scroll));
            t.bed.Repaint();
            ASSERT_NO_FATAL_FAILURE(ExpectRowsAsLaidOutWhole(t.list, heights));
        }
    }
}

// Rows changed after a layout, then scrolled before the next paint: the rows the layout left
// where they were are not moved into the view by the scroll, and the paint puts every row where
// a full layout would.
TEST(RowsAtScale, RowsChangedThenScrolledBeforeThePaint)
{
    const int kRows = 5000;
    struct Case {
        const char* what;
        std::function<void(VisitedListBed&, std::vector<int>&)> change;
        int scrollBy;
    } cases[] = {
        {"a row hidden, scrolled down", [](VisitedListBed& t, std::vector<int>&) { t.all[7]->SetVisible(false); }, 300},
        {"a row taller, scrolled up",
            [](VisitedListBed& t, std::vector<int>& h) {
                t.all[100]->SetFixedHeight(33);
                h[100] = 33;
            },
            -1000},
        {"a row inserted, scrolled down",
            [](VisitedListBed& t, std::vector<int>& h) {
                t.list->InsertChild(new VisitedRow(0, t.count), 10);
                h.insert(h.begin() + 10, 20);
            },
            1500},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        // Laid out at the top, scrolled and laid out again: the rows passed keep the places the
        // top gave them.
        VisitedListBed t(kRows);
        std::vector<int> heights(kRows, 20);
        t.list->SetScrollPosition(CSizeUI(0, 20 * 100));
        t.bed.Repaint();
        t.list->GetBody()->RequestLayout();
        t.bed.Repaint();
        c.change(t, heights);
        t.list->SetScrollPosition(CSizeUI(0, 20 * 100 + c.scrollBy));
        std::vector<std::pair<int, int>> shown;
        for (int i = 0; i < t.list->ChildCount(); ++i) {
            CControlUI* row = t.list->ChildAt(i);
            if (row->IsVisible() && MeetsBody(t.list, row->GetPosition())) {
                shown.push_back(std::make_pair(row->GetPosition().top, row->GetPosition().bottom));
                // Rows near the scroll as it was or is may show until the paint; never one from
                // far away.
                const bool nearScroll = std::abs(i - 100) <= 30 || std::abs(i - (100 + c.scrollBy / 20)) <= 30;
                EXPECT_TRUE(nearScroll) << "row " << i << " shows far from the scroll";
            }
        }
        std::sort(shown.begin(), shown.end());
        for (size_t k = 1; k < shown.size(); ++k)
            EXPECT_GE(shown[k].first, shown[k - 1].second) << "rows overlap at y " << shown[k].first;
        t.bed.Repaint();
        ASSERT_NO_FATAL_FAILURE(ExpectRowsAsLaidOutWhole(t.list, heights));
    }
}

namespace {

// Runs its action once, the first time the row it listens to is placed.
struct TPlacedOnce {
    std::function<void()> action;
    bool OnPlaced(void*)
    {
        std::function<void()> run;
        run.swap(action);
        if (run)
            run();
        return true;
    }
};

}  // namespace

// A row that grew is placed by the next layout; its listener then inserts, removes, hides or
// resizes rows while the list is placing the others. The layout stops where the rows changed
// under it and the one they asked for puts every row where a full layout would, at the end of
// the list too, where the rows removed were still to be placed.
TEST(RowsAtScale, RowsChangedByARowsListenerWhileTheListPlacesThem)
{
    const int kRows = 400;
    struct Case {
        const char* what;
        int scrollRow;  // the first row in view; the row at scrollRow + 2 listens
        std::function<void(LongListBed&, std::vector<int>&, int)> change;  // given the listening row
    } cases[] = {
        {"the rows after it removed, at the end", 385,
            [](LongListBed& t, std::vector<int>& h, int at) {
                while (t.list->ChildCount() > at + 1) {
                    t.list->RemoveChildAt(at + 1);
                    h.pop_back();
                }
            }},
        {"twelve rows after it removed, in the middle", 200,
            [](LongListBed& t, std::vector<int>& h, int at) {
                for (int k = 0; k < 12; ++k) {
                    t.list->RemoveChildAt(at + 1);
                    h.erase(h.begin() + at + 1);
                }
            }},
        {"twelve rows inserted after it", 200,
            [](LongListBed& t, std::vector<int>& h, int at) {
                for (int k = 0; k < 12; ++k) {
                    t.list->InsertChild(new MarkedRow(0, t.count), at + 1);
                    h.insert(h.begin() + at + 1, 20);
                }
            }},
        {"the first rows removed", 200,
            [](LongListBed& t, std::vector<int>& h, int) {
                for (int k = 0; k < 12; ++k) {
                    t.list->RemoveChildAt(0);
                    h.erase(h.begin());
                }
            }},
        {"the row after it taller", 385,
            [](LongListBed& t, std::vector<int>& h, int at) {
                t.list->ChildAt(at + 1)->SetFixedHeight(37);
                h[static_cast<size_t>(at) + 1] = 37;
            }},
        {"the row after it hidden", 200,
            [](LongListBed& t, std::vector<int>&, int at) { t.list->ChildAt(at + 1)->SetVisible(false); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        LongListBed t(kRows);
        std::vector<int> heights(kRows, 20);
        t.list->SetScrollPosition(CSizeUI(0, 20 * c.scrollRow));
        t.bed.Repaint();
        const int at = c.scrollRow + 2;
        TPlacedOnce listener;
        listener.action = [&] { c.change(t, heights, at); };
        t.list->ChildAt(at)->ResizeListeners += MakeDelegate(&listener, &TPlacedOnce::OnPlaced);
        t.list->ChildAt(at)->SetFixedHeight(31);
        heights[static_cast<size_t>(at)] = 31;
        t.bed.Repaint();
        ASSERT_FALSE(listener.action) << "the row was not placed";
        ASSERT_NO_FATAL_FAILURE(ExpectRowsAsLaidOutWhole(t.list, heights));
        t.list->SetScrollPosition(CSizeUI(0, 0));
        t.bed.Repaint();
        ASSERT_NO_FATAL_FAILURE(ExpectRowsAsLaidOutWhole(t.list, heights));
    }
}
