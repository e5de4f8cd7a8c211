#include "controls/layout/TileLayout.h"

#include "controls/base/CastChain.h"
#include "controls/layout/LayoutLimits.h"
#include "controls/range/ScrollBar.h"
#include "core/ValueParse.h"

namespace SkinUI {

CTileLayoutUI::CTileLayoutUI() = default;

CTileLayoutUI::~CTileLayoutUI() = default;

const char* CTileLayoutUI::GetTypeName() const { return "TileLayoutUI"; }

void* CTileLayoutUI::CastTo(const char* name) { return CastToSelfOrBase<CContainerUI>(this, name); }

void CTileLayoutUI::SetItemSize(const CSizeUI& size)
{
    if (size == m_itemSize)
        return;
    m_itemSize = size;
    RequestLayout();
}

void CTileLayoutUI::SetColumns(int columns)
{
    if (columns <= 0)
        return;
    m_columns = columns;
    RequestLayout();
}

CAttributeTable<CTileLayoutUI> CTileLayoutUI::OwnAttributes()
{
    using C = CTileLayoutUI;
    static constexpr TAttributeHandler<C> kTable[] = {
        {"itemsize", [](C& c, const char* v) { c.SetItemSize(ParseSize(v)); }},
        {"columns", [](C& c, const char* v) { c.SetColumns(ParseInt(v)); }},
    };
    return kTable;
}

void CTileLayoutUI::SetAttribute(const char* name, const char* value)
{
    OwnAttributes().ApplyOrBase<CContainerUI>(*this, name, value);
}

void CTileLayoutUI::AppendAttributeNames(TAttributeNames& names)
{
    OwnAttributes().AppendWithBase<CContainerUI>(names);
}

int CTileLayoutUI::MeasureRow(int first, int cellWidth) const
{
    // Kept as skins expect it: every tile of the row is measured against the first tile's limits.
    const CControlUI* lead = ChildAt(first);
    const int half = Scaled(m_childPadding) / 2;
    int rowHeight = 0;
    int measured = 0;
    for (int j = first; j < m_children.GetSize() && measured < m_columns; ++j) {
        CControlUI* tile = ChildAt(j);
        if (!tile->IsVisible() || tile->IsFloating())
            continue;
        const CRectUI q = tile->ScaledPadding();
        const bool outer = measured == 0 || measured == m_columns - 1;
        int w = cellWidth - q.left - q.right - (outer ? half : Scaled(m_childPadding));
        w = ClampToWidthLimits(lead, w);
        const int h = ClampToHeightLimits(lead, tile->MeasureSize(CSizeUI(w, 9999)).cy);
        if (q.top + h + q.bottom > rowHeight)
            rowHeight = q.top + h + q.bottom;
        ++measured;
    }
    return rowHeight;
}

void CTileLayoutUI::SetPosition(const CRectUI& rect)
{
    CControlUI::SetPosition(rect);
    if (m_children.IsEmpty()) {
        UpdateScrollBars(InsetRect(), 0, 0);
        return;
    }
    const CRectUI r = ClientRect();
    const bool vbar = VerticalBarShown();
    const bool hbar = HorizontalBarShown();

    if (m_itemSize.cx > 0)
        m_columns = r.GetWidth() / Scaled(m_itemSize.cx);
    // A client narrower than nothing would give a negative count; one column is the least.
    if (m_columns < 1)
        m_columns = 1;
    const int cellWidth = (r.GetWidth() + (hbar ? m_horizontalScrollBar->GetRange() : 0)) / m_columns;
    const int half = Scaled(m_childPadding) / 2;
    const int rowStartX = r.left - (hbar ? m_horizontalScrollBar->GetValue() : 0);
    const int scrollY = vbar ? m_verticalScrollBar->GetValue() : 0;
    int x = rowStartX;
    int y = r.top - scrollY;
    int rowHeight = 0;
    int placed = 0;
    int required = 0;
    for (int i = 0; i < m_children.GetSize(); ++i) {
        CControlUI* child = ChildAt(i);
        if (!child->IsVisible())
            continue;
        if (child->IsFloating()) {
            PlaceFloatingChild(i);
            continue;
        }
        const int cellRight = x + cellWidth;
        const int column = placed % m_columns;
        if (column == 0)
            rowHeight = MeasureRow(i, cellWidth);
        const CRectUI p = child->ScaledPadding();
        const CRectUI tile(x + p.left + (column == 0 ? 0 : half), y + p.top,
            cellRight - p.right - (column == m_columns - 1 ? 0 : half), y + rowHeight);
        ++placed;

        CSizeUI s = child->MeasureSize(CSizeUI(tile.GetWidth(), tile.GetHeight()));
        if (s.cx == 0)
            s.cx = tile.GetWidth();
        if (s.cy == 0)
            s.cy = tile.GetHeight();
        s.cx = ClampToWidthLimits(child, s.cx);
        s.cy = ClampToHeightLimits(child, s.cy);
        const int left = (tile.left + tile.right - s.cx) / 2;
        const int top = (tile.top + tile.bottom - s.cy) / 2;
        child->SetPosition(CRectUI(left, top, left + s.cx, top + s.cy));

        if (placed % m_columns == 0) {
            x = rowStartX;
            y += rowHeight + Scaled(m_childPadding);
        } else {
            x = cellRight;
        }
        required = tile.bottom - r.top + scrollY;
    }
    UpdateScrollBars(r, 0, required);
}

}  // namespace SkinUI
