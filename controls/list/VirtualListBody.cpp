#include "controls/list/VirtualListBody.h"

#include <climits>

#include "controls/list/VirtualList.h"
#include "controls/list/VirtualListRow.h"
#include "controls/range/ScrollBar.h"

namespace SkinUI {

CVirtualListBodyUI::CVirtualListBodyUI(CListUI* owner)
    : CListBodyUI(owner)
{
}

void* CVirtualListBodyUI::CastTo(const char* name)
{
    if (CUIString(name) == kCastName)
        return this;
    return CListBodyUI::CastTo(name);
}

CVirtualListRowUI* CVirtualListBodyUI::RowControl(int slot) const
{
    return static_cast<CVirtualListRowUI*>(OwnChild(slot));
}

int CVirtualListBodyUI::ContentHeight() const
{
    const long long height = static_cast<long long>(m_list->GetRowCount()) * m_rowHeight;
    return height < INT_MAX / 2 ? static_cast<int>(height) : INT_MAX / 2;
}

void CVirtualListBodyUI::MeasureRowHeight()
{
    int height = Scaled(m_list->GetFixedRowHeight());
    if (height <= 0 && m_host != nullptr) {
        EnsureRowControls(1);
        height = RowControl(0)->NaturalHeight();
    }
    m_rowHeight = height > kMinRowHeight ? height : kMinRowHeight;
}

void CVirtualListBodyUI::EnsureRowControls(int wanted)
{
    if (wanted > kMaxRowControls)
        wanted = kMaxRowControls;
    while (m_children.GetSize() < wanted) {
        auto* row = new CVirtualListRowUI;
        row->SetOwner(m_list);
        if (!CContainerUI::AddChild(row)) {
            delete row;
            return;
        }
    }
}

void CVirtualListBodyUI::SetPosition(const CRectUI& rect)
{
    if (m_list == nullptr) {
        CListBodyUI::SetPosition(rect);
        return;
    }
    MeasureRowHeight();
    // A line partly shown at the top and one at the bottom: a view's worth plus two.
    const int lines = rect.GetHeight() / m_rowHeight + 2;
    const int count = m_list->GetRowCount();
    EnsureRowControls(lines < count ? lines : count);
    for (int i = 0; i < m_children.GetSize(); ++i)
        RowControl(i)->SetRowHeight(m_rowHeight);
    CListBodyUI::SetPosition(rect);
    PlaceRows();
    m_list->OnRowsLaidOut();
}

void CVirtualListBodyUI::FinishLayout(CRectUI& client, int content)
{
    CListBodyUI::FinishLayout(client, m_list != nullptr ? ContentHeight() : content);
}

void CVirtualListBodyUI::SetScrollPosition(const CSizeUI& position)
{
    const CSizeUI old = GetScrollPosition();
    if (m_list == nullptr || position.cx != old.cx || !VerticalBarShown()) {
        CListBodyUI::SetScrollPosition(position);
        PlaceRows();
        return;
    }
    // Vertical only: the rows are placed afresh, so moving each by the change first is wasted.
    m_verticalScrollBar->SetValue(position.cy);
    if (m_verticalScrollBar->GetValue() == old.cy)
        return;
    PlaceRows();
    Invalidate();
}

void CVirtualListBodyUI::PlaceRows()
{
    const int slots = m_children.GetSize();
    if (m_list == nullptr || slots == 0)
        return;
    const CRectUI client = ClientRect();
    const CSizeUI scroll = GetScrollPosition();
    const int count = m_list->GetRowCount();
    const int first = scroll.cy / m_rowHeight;
    // Across, every row is as the list body lays rows out: the client width or the widest row,
    // moved by the horizontal scroll.
    const int left = client.left - scroll.cx;
    const int right = left + (client.GetWidth() > GetWidestRow() ? client.GetWidth() : GetWidestRow());
    for (int index = first; index < first + slots; ++index) {
        CVirtualListRowUI* row = RowControl(index % slots);
        if (index >= count) {
            row->Unbind();
            row->Place(CRectUI());
            continue;
        }
        if (row->BoundIndex() != index)
            m_list->FillRowControl(index, *row);
        row->SetLook(m_list->IsRowSelected(index), index == m_list->GetHotIndex());
        const int top = static_cast<int>(client.top + static_cast<long long>(index) * m_rowHeight - scroll.cy);
        row->Place(CRectUI(left, top, right, top + m_rowHeight));
    }
    m_list->ApplyDeferredChanges();
}

void CVirtualListBodyUI::MarkStale(int first, int last)
{
    for (int i = 0; i < m_children.GetSize(); ++i) {
        CVirtualListRowUI* row = RowControl(i);
        const int bound = row->BoundIndex();
        if (bound >= first && bound <= last)
            row->Unbind();
    }
}

void CVirtualListBodyUI::RefreshLooks()
{
    for (int i = 0; i < m_children.GetSize(); ++i) {
        CVirtualListRowUI* row = RowControl(i);
        const int index = row->BoundIndex();
        if (index == CVirtualListRowUI::kUnbound)
            continue;
        const bool selected = m_list->IsRowSelected(index);
        const bool hot = index == m_list->GetHotIndex();
        if (selected == row->IsSelected() && hot == row->IsHot())
            continue;
        row->SetLook(selected, hot);
        row->Invalidate();
    }
}

int CVirtualListBodyUI::RowAt(POINT point) const
{
    const CRectUI client = ClientRect();
    if (m_list == nullptr || !client.Contains(point))
        return -1;
    const long long offset = static_cast<long long>(point.y) - client.top + GetScrollPosition().cy;
    const long long index = offset / m_rowHeight;
    return index < m_list->GetRowCount() ? static_cast<int>(index) : -1;
}

int CVirtualListBodyUI::FirstVisibleRow() const { return GetScrollPosition().cy / m_rowHeight; }

int CVirtualListBodyUI::PageRows() const
{
    const int rows = ClientRect().GetHeight() / m_rowHeight;
    return rows > 1 ? rows : 1;
}

void CVirtualListBodyUI::ScrollRowIntoView(int index)
{
    const int height = ClientRect().GetHeight();
    const int top = static_cast<int>(static_cast<long long>(index) * m_rowHeight < INT_MAX / 2
            ? static_cast<long long>(index) * m_rowHeight
            : INT_MAX / 2);
    const CSizeUI pos = GetScrollPosition();
    int y = pos.cy;
    if (top < y)
        y = top;
    else if (top + m_rowHeight > y + height)
        y = top + m_rowHeight - height;
    if (y != pos.cy)
        SetScrollPosition(CSizeUI(pos.cx, y));
}

}  // namespace SkinUI
