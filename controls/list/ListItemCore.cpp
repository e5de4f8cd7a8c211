#include "controls/list/ListItemCore.h"

#include "controls/base/Container.h"
#include "host/ControlAliveGuard.h"
#include "host/WindowHost.h"
#include "render/RenderKit.h"

namespace SkinUI {

void CListItemCore::SetOwner(CControlUI* ownerControl) { owner = ControlCast<IListOwnerUI>(ownerControl); }

bool CListItemCore::Select(bool select)
{
    if (select && !m_row.IsEnabled())
        return false;
    if (select == selected)
        return true;
    selected = select;
    if (select && owner != nullptr) {
        CControlAliveGuard alive(m_row.GetHost(), &m_row);
        const bool taken = owner->SelectItem(Index(), false);
        // The owner announced the selection; its listeners may have removed this row.
        if (!alive.IsAlive())
            return true;
        // An owner that refused the row because a listener hid it meanwhile has another
        // selection, or none: a mark left here would show a second selected row.
        if (!taken && !m_row.IsVisible()) {
            selected = false;
            return false;
        }
    }
    m_row.Invalidate();
    if (m_row.GetHost() != nullptr)
        m_row.GetHost()->AnnounceAccessibleChange(
            &m_row, select ? EVENT_OBJECT_SELECTION : EVENT_OBJECT_SELECTIONREMOVE);
    return true;
}

void CListItemCore::AfterVisibilityChange()
{
    if (m_row.IsVisible() || !selected)
        return;
    selected = false;
    if (owner != nullptr)
        owner->SelectItem(-1, false);
}

void CListItemCore::Activate()
{
    if (CWindowHostUI* host = m_row.GetHost())
        host->SendNotification(&m_row, "itemactivate");
}

bool CListItemCore::HandleRowEvent(TInputEvent& event)
{
    const bool enabled = m_row.IsEnabled();
    switch (event.Type) {
    case InputEventKind::ButtonDown:
    case InputEventKind::RightButtonDown: {
        if (!enabled)
            return true;
        CControlAliveGuard alive(m_row.GetHost(), &m_row);
        if (CWindowHostUI* host = m_row.GetHost())
            host->SendNotification(&m_row, "itemclick");
        if (!alive.IsAlive())
            return true;
        Select(true);
        if (alive.IsAlive())
            m_row.Invalidate();
        return true;
    }
    case InputEventKind::MouseEnter:
        if (enabled) {
            itemState |= StateHot;
            m_row.Invalidate();
        }
        return true;
    case InputEventKind::MouseLeave:
        if ((itemState & StateHot) != 0) {
            itemState &= ~StateHot;
            m_row.Invalidate();
        }
        return true;
    case InputEventKind::KeyDown:
        if (event.KeyChar != VK_RETURN)
            return false;
        [[fallthrough]];  // Return activates like a double click
    case InputEventKind::DoubleClick: {
        if (!enabled)
            return false;
        CControlAliveGuard alive(m_row.GetHost(), &m_row);
        if (m_row.TriggerAction() && alive.IsAlive())
            m_row.Invalidate();
        return true;
    }
    default:
        return false;
    }
}

bool CListItemCore::Forward(TInputEvent& event)
{
    if (owner == nullptr)
        return false;
    owner->ForwardEvent(event);
    return true;
}

uint32_t CListItemCore::TextColor() const
{
    const TListItemStyle* s = Style();
    if (s == nullptr)
        return 0;
    uint32_t color = s->itemTextColor;
    if ((itemState & StateHot) != 0)
        color = s->hotTextColor;
    if (selected)
        color = s->selectedTextColor;
    if (!m_row.IsEnabled())
        color = s->disabledTextColor;
    return color;
}

void CListItemCore::DrawBackground(HDC hdc)
{
    TListItemStyle* s = Style();
    if (s == nullptr)
        return;
    const bool disabled = !m_row.IsEnabled();
    const bool hot = (itemState & StateHot) != 0;
    const bool oddRow = s->alternateBk && (Index() % 2) != 0;
    const auto adjust
        = [this](uint32_t c) { return m_row.IsColorAdjusted() ? CRenderKit::ShiftColorHsl(c, 180, 100, 100) : c; };
    uint32_t color = oddRow ? 0 : s->itemBkColor;
    if (hot)
        color = s->hotBkColor;
    if (selected)
        color = s->selectedBkColor;
    if (disabled)
        color = s->disabledBkColor;
    if (color != 0)
        CRenderKit::FillColor(hdc, m_row.GetPosition(), adjust(color));

    // The first state image that draws stands for the whole background.
    CUIString* stateImages[] = {
        disabled ? &s->disabledImage : nullptr, selected ? &s->selectedImage : nullptr, hot ? &s->hotImage : nullptr};
    for (CUIString* image : stateImages) {
        if (image == nullptr || image->IsEmpty())
            continue;
        if (m_row.DrawSkinImage(hdc, *image))
            return;
        image->Clear();
    }
    if (!m_row.GetBackgroundImage().IsEmpty()) {
        if (!oddRow && !m_row.DrawSkinImage(hdc, m_row.GetBackgroundImage()))
            m_row.SetBackgroundImage("");
    } else if (!s->itemBkImage.IsEmpty()) {
        if (m_row.DrawSkinImage(hdc, s->itemBkImage))
            return;
        s->itemBkImage.Clear();
    }
    if (s->lineColor != 0) {
        const CRectUI& p = m_row.GetPosition();
        CRenderKit::StrokeLine(hdc, CRectUI(p.left, p.bottom - 1, p.right, p.bottom - 1), 1, adjust(s->lineColor));
    }
}

void PaintTextLine(HDC hdc, CWindowHostUI* host, const CRectUI& rect, const CRectUI& padding, const char* text,
    uint32_t color, int font, unsigned style, bool html)
{
    CRectUI r(
        rect.left + padding.left, rect.top + padding.top, rect.right - padding.right, rect.bottom - padding.bottom);
    if (html) {
        int links = 0;
        CRenderKit::PaintMarkupText(hdc, host, r, text, color, nullptr, nullptr, links, style | DT_SINGLELINE);
    } else {
        CRenderKit::PaintPlainText(hdc, host, r, text, color, font, style | DT_SINGLELINE);
    }
}

void PaintControlAt(CControlUI& control, HDC hdc, const CRectUI& rect)
{
    // The position is lent for this paint only: what the two moves invalidate is taken back, or
    // every paint would ask for the next one and the window would repaint for ever. Whatever was
    // waiting to be painted before the loan still waits after it.
    CWindowHostUI* host = control.GetHost();
    const HWND window = host != nullptr ? host->GetPaintWindow() : nullptr;
    const HRGN waiting = window != nullptr ? ::CreateRectRgn(0, 0, 0, 0) : nullptr;
    const bool anyWaiting = waiting != nullptr && ::GetUpdateRgn(window, waiting, FALSE) > NULLREGION;
    const CRectUI old = control.GetPosition();
    control.SetPosition(rect);
    control.Paint(hdc, rect);
    control.SetPosition(old);
    if (waiting == nullptr)
        return;
    ::ValidateRect(window, nullptr);
    if (anyWaiting)
        ::InvalidateRgn(window, waiting, FALSE);
    ::DeleteObject(waiting);
}

void NumberRow(CControlUI* row, CControlUI* owner, int index)
{
    IListItemUI* item = ControlCast<IListItemUI>(row);
    if (item == nullptr)
        return;
    item->SetOwner(owner);
    item->SetIndex(index);
}

void RenumberRows(const CContainerUI& rows, int from, int to)
{
    if (from > to) {
        const int t = from;
        from = to;
        to = t;
    }
    if (from < 0)
        from = 0;
    for (int i = from; i <= to && i < rows.ChildCount(); ++i) {
        CControlUI* row = rows.ChildAt(i);
        if (IListItemUI* item = ControlCast<IListItemUI>(row))
            item->SetIndex(i);
    }
}

bool MoveRow(CContainerUI& rows, CControlUI* row, int newIndex, int& currentIndex)
{
    const int oldIndex = rows.CContainerUI::IndexOfChild(row);
    if (oldIndex < 0)
        return false;
    if (oldIndex == newIndex)
        return true;
    const CControlUI* selected = rows.CContainerUI::ChildAt(currentIndex);
    if (!rows.CContainerUI::MoveChild(row, newIndex))
        return false;
    RenumberRows(rows, oldIndex, newIndex);
    currentIndex = selected != nullptr ? rows.CContainerUI::IndexOfChild(selected) : -1;
    return true;
}

void SelectionAfterRemoval(const CContainerUI& rows, IListOwnerUI& owner, int index, int count, int& currentIndex)
{
    if (currentIndex >= index && currentIndex < index + count) {
        currentIndex = -1;
        owner.SelectItem(rows.FindSelectableChild(index, false), false);
    } else if (currentIndex >= index + count) {
        currentIndex -= count;
    }
}

int CRowNumbering::RowIndex(const CControlUI* row, int stored)
{
    if (stored >= 0 && stored < m_numberedUpTo && m_rows.CContainerUI::ChildAt(stored) == row)
        return stored;
    // Numbering goes on from where it stopped until it reaches the row.
    const int count = m_rows.CContainerUI::ChildCount();
    while (m_numberedUpTo < count) {
        const int index = m_numberedUpTo++;
        CControlUI* control = m_rows.CContainerUI::ChildAt(index);
        if (IListItemUI* item = ControlCast<IListItemUI>(control))
            item->SetIndex(index);
        if (control == row)
            return index;
    }
    return -1;
}

int CRowNumbering::PositionOf(const IListOwnerUI* owner, const CControlUI* control) const
{
    IListItemUI* item = ControlCast<IListItemUI>(const_cast<CControlUI*>(control));
    if (item == nullptr)
        return m_rows.CContainerUI::IndexOfChild(control);
    if (item->GetOwner() != owner)
        return -1;
    const int index = item->GetIndex();
    return m_rows.CContainerUI::ChildAt(index) == control ? index : -1;
}

void CRowNumbering::Inserted(int index)
{
    ShiftedFrom(index);
    if (m_numberedUpTo == index)
        ++m_numberedUpTo;
}

}  // namespace SkinUI
