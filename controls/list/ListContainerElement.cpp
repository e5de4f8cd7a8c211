#include "controls/list/ListContainerElement.h"

namespace SkinUI {

const char* CListContainerElementUI::GetTypeName() const { return "ListContainerElementUI"; }

void* CListContainerElementUI::CastTo(const char* name)
{
    if (CUIString(name) == kCastName)
        return this;
    return CListRowUI<CContainerUI>::CastTo(name);
}

void CListContainerElementUI::SetEnabled(bool enabled)
{
    CContainerUI::SetEnabled(enabled);
    if (!enabled)
        m_item.itemState = 0;
}

void CListContainerElementUI::OnEvent(TInputEvent& event)
{
    const bool refused = IsMouseEventKind(event.Type) && !AcceptsMouse();
    if (!refused && m_item.HandleRowEvent(event))
        return;
    ForwardOrPassOn(event);
}

void CListContainerElementUI::Paint(HDC hdc, const CRectUI& paintRect)
{
    m_paintRect = paintRect;
    if (!m_paintRect.Intersect(m_position))
        return;
    DrawItemBackground(hdc);
    CContainerUI::Paint(hdc, paintRect);
}

void CListContainerElementUI::DrawItemText(HDC hdc, const CRectUI& rect) { PaintControlAt(*this, hdc, rect); }

}  // namespace SkinUI
