// The rows area of a virtual list: a list body whose children are only the recycled row controls
// of its view, one per line that can show, while its scroll range covers every row.
//
// Row i lies at client top + i * rowHeight - scroll value (host client coordinates). The line a row
// control serves is fixed (row i always uses control i modulo the number of controls), so scrolling
// by a line binds one control afresh and leaves the others as they were. The header, the column
// extents and the horizontal bar work as in a List, whose body this is.
#pragma once

#include "controls/list/List.h"

namespace SkinUI {

class CVirtualListUI;
class CVirtualListRowUI;
struct TVirtualRow;

class CVirtualListBodyUI : public CListBodyUI {
public:
    explicit CVirtualListBodyUI(CListUI* owner);

    static constexpr const char* kCastName = "VirtualListBody";
    void* CastTo(const char* name) override;
    void SetPosition(const CRectUI& rect) override;
    void SetScrollPosition(const CSizeUI& position) override;

    // The list whose rows these are; set once by the list's constructor.
    void SetList(CVirtualListUI* list) { m_list = list; }
    int GetRowHeight() const { return m_rowHeight; }
    // The row under a client point, or -1 (outside the rows or below the last).
    int RowAt(POINT point) const;
    // The first row in view and how many whole rows a page holds (at least 1).
    int FirstVisibleRow() const;
    int PageRows() const;
    // Scrolls as little as makes row `index` lie wholly inside the client area.
    void ScrollRowIntoView(int index);
    // Binds the row controls to the rows in view again, asking the source only for rows whose
    // control served another row or was marked stale.
    void PlaceRows();
    // Rows first..last (inclusive) are asked for again at the next placement.
    void MarkStale(int first, int last);
    // Selection and hover of every bound row from the list; repaints the rows whose look changed.
    void RefreshLooks();
    // Row controls made so far: a view's worth at most, and never more than kMaxRowControls.
    int RowsCreated() const { return m_children.GetSize(); }

    // Bounds on what a skin's "itemheight" and a tall window can ask for.
    static const int kMinRowHeight = 4;
    static const int kMaxRowControls = 1024;

protected:
    void FinishLayout(CRectUI& client, int content) override;

private:
    CVirtualListRowUI* RowControl(int slot) const;
    void MeasureRowHeight();
    void EnsureRowControls(int wanted);
    // Pixel height of all rows, bounded so that it fits the scroll bar's int range.
    int ContentHeight() const;

    CVirtualListUI* m_list = nullptr;  // not owned; the list owns the body
    int m_rowHeight = kMinRowHeight;
};

}  // namespace SkinUI
