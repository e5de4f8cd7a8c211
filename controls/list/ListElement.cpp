#include "controls/list/ListElement.h"

#include "host/WindowHost.h"
#include "render/RenderKit.h"

namespace SkinUI {

//--- the row behaviour on a control --------------------------------------------------------------

void* CListElementUI::CastTo(const char* name)
{
    if (CUIString(name) == kCastName)
        return this;
    return CListRowUI<CControlUI>::CastTo(name);
}

void CListElementUI::OnEvent(TInputEvent& event)
{
    const bool activation = event.Type == InputEventKind::DoubleClick
        || (event.Type == InputEventKind::KeyDown && event.KeyChar == VK_RETURN);
    // A mouse event the row does not accept is passed on whatever it is.
    if (activation && (!IsMouseEventKind(event.Type) || AcceptsMouse()) && m_item.HandleRowEvent(event))
        return;
    ForwardOrPassOn(event);
}

//--- the one-line text row -----------------------------------------------------------------------

const char* CListLabelElementUI::GetTypeName() const { return "ListLabelElementUI"; }

void* CListLabelElementUI::CastTo(const char* name)
{
    if (CUIString(name) == kCastName)
        return this;
    return CListElementUI::CastTo(name);
}

void CListLabelElementUI::OnEvent(TInputEvent& event)
{
    // A mouse event the row does not accept goes to the owner through the element's handling.
    if (!IsMouseEventKind(event.Type) || AcceptsMouse()) {
        switch (event.Type) {
        case InputEventKind::ButtonDown:
        case InputEventKind::RightButtonDown:
        case InputEventKind::MouseEnter:
        case InputEventKind::MouseLeave:
            m_item.HandleRowEvent(event);
            return;
        case InputEventKind::MouseMove:
        case InputEventKind::ButtonUp:
            return;
        default:
            break;
        }
    }
    CListElementUI::OnEvent(event);
}

int CListLabelElementUI::RowHeight()
{
    const TListItemStyle* s = m_item.Style();
    const int line = m_host != nullptr ? m_host->GetFontEntry(s->itemFont)->metrics.tmHeight : 0;
    const CRectUI padding = Scaled(s->itemTextPadding);
    return line + padding.top + padding.bottom + Scaled(8);
}

CSizeUI CListLabelElementUI::MeasureSize(CSizeUI /*available*/)
{
    const CSizeUI fixed = Scaled(m_fixedSize);
    const TListItemStyle* s = m_item.Style();
    if (s == nullptr)
        return CSizeUI();
    CSizeUI size = fixed;
    if (size.cy == 0 && m_host != nullptr)
        size.cy = RowHeight();
    if (size.cx == 0 && m_host != nullptr) {
        CRectUI r(0, 0, 9999, size.cy);
        const UINT style = (s->itemTextStyle & ~(DT_CENTER | DT_RIGHT)) | DT_CALCRECT | DT_SINGLELINE;
        HDC dc = ::CreateCompatibleDC(nullptr);
        CRenderKit::PaintPlainText(dc, m_host, r, m_text, 0, s->itemFont, style);
        ::DeleteDC(dc);
        const CRectUI padding = Scaled(s->itemTextPadding);
        size.cx = r.GetWidth() + padding.left + padding.right;
    }
    return size;
}

void CListLabelElementUI::Paint(HDC hdc, const CRectUI& paintRect)
{
    m_paintRect = paintRect;
    if (!m_paintRect.Intersect(m_position))
        return;
    DrawItemBackground(hdc);
    DrawItemText(hdc, m_position);
}

void CListLabelElementUI::DrawItemText(HDC hdc, const CRectUI& rect)
{
    const TListItemStyle* s = m_item.Style();
    if (m_text.IsEmpty() || s == nullptr)
        return;
    PaintTextLine(hdc, m_host, rect, Scaled(s->itemTextPadding), m_text, m_item.TextColor(), s->itemFont,
        s->itemTextStyle, s->showHtml);
}

}  // namespace SkinUI
