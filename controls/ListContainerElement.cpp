#include "controls/ListContainerElement.h"

namespace SkinUI {

CListContainerElementUI::CListContainerElementUI()
    : m_item(*this)
{
}

const char* CListContainerElementUI::GetTypeName() const { return "ListContainerElementUI"; }

void* CListContainerElementUI::CastTo(const char* name)
{
    const CUIString n(name);
    if (n == "ListItem")
        return static_cast<IListItemUI*>(this);
    if (n == "ListContainerElement")
        return this;
    return CContainerUI::CastTo(name);
}

bool CListContainerElementUI::TriggerAction()
{
    if (!CContainerUI::TriggerAction())
        return false;
    m_item.Activate();
    return true;
}

void CListContainerElementUI::SetVisible(bool visible)
{
    CContainerUI::SetVisible(visible);
    m_item.AfterVisibilityChange();
}

void CListContainerElementUI::SetEnabled(bool enabled)
{
    CContainerUI::SetEnabled(enabled);
    if (!enabled)
        m_item.itemState = 0;
}

void CListContainerElementUI::OnEvent(TInputEvent& event)
{
    if (IsMouseEventKind(event.Type) && !AcceptsMouse()) {
        if (!m_item.Forward(event))
            CContainerUI::OnEvent(event);
        return;
    }
    if (m_item.HandleRowEvent(event))
        return;
    if (!m_item.Forward(event))
        CContainerUI::OnEvent(event);
}

void CListContainerElementUI::SetAttribute(const char* name, const char* value)
{
    // Any value selects, as for the other rows.
    if (CUIString(name) == "selected")
        Select(true);
    else
        CContainerUI::SetAttribute(name, value);
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
