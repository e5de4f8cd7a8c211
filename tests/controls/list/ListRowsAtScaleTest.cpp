// Long lists of control rows: indexes after mixed insertions and removals in both owners that
// number lazily (the list and the combo), and a list body that paints only the rows an update
// rectangle meets, found by their place, with the rows scrolled into view where they belong.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <vector>

#include "support/HostBed.h"
#include "controls/list/List.h"
#include "controls/list/ListTextElement.h"
#include "controls/native/Combo.h"

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
