#include "controls/list/ListTextElement.h"

#include "host/WindowHost.h"
#include "render/RenderKit.h"

namespace SkinUI {

CListTextElementUI::CListTextElementUI() = default;

const char* CListTextElementUI::GetTypeName() const { return "ListTextElementUI"; }

void* CListTextElementUI::CastTo(const char* name)
{
    if (CUIString(name) == kCastName)
        return this;
    return CListLabelElementUI::CastTo(name);
}

unsigned CListTextElementUI::GetCapabilities() const
{
    return (IsEnabled() && m_linkCount > 0) ? CapabilityWantsCursor : 0u;
}

void CListTextElementUI::SetOwner(CControlUI* owner)
{
    CListLabelElementUI::SetOwner(owner);
    m_listView = ControlCast<IListUI>(owner);
}

CUIString CListTextElementUI::GetColumnText(int column) const
{
    if (column < 0 || column >= static_cast<int>(m_columnTexts.size()))
        return CUIString();
    return m_columnTexts[column];
}

CUIString CListTextElementUI::GetShownText(int column)
{
    IListTextProvider* provider = m_listView != nullptr ? m_listView->GetTextProvider() : nullptr;
    return provider != nullptr ? provider->GetItemText(this, m_item.Index(), column) : GetColumnText(column);
}

void CListTextElementUI::SetColumnText(int column, const char* text)
{
    if (column < 0 || column >= kMaxListColumns)
        return;
    if (column >= static_cast<int>(m_columnTexts.size()))
        m_columnTexts.resize(column + 1);
    m_columnTexts[column] = text;
    Invalidate();
}

int CListTextElementUI::LinkAt(POINT point) const
{
    for (int i = 0; i < m_linkCount; ++i) {
        if (m_linkRects[i].Contains(point))
            return i;
    }
    return -1;
}

void CListTextElementUI::OnEvent(TInputEvent& event)
{
    if (IsMouseEventKind(event.Type) && !AcceptsMouse()) {
        if (m_listView != nullptr)
            m_listView->ForwardEvent(event);
        else
            CListLabelElementUI::OnEvent(event);
        return;
    }
    switch (event.Type) {
    case InputEventKind::SetCursor:
        if (LinkAt(event.MousePoint) >= 0) {
            ::SetCursor(::LoadCursorA(nullptr, IDC_HAND));
            return;
        }
        break;
    case InputEventKind::ButtonUp:
        if (IsEnabled() && m_host != nullptr && !event.Cancelled) {
            const int link = LinkAt(event.MousePoint);
            if (link >= 0) {
                m_host->SendNotification(this, "link", link);
                return;
            }
        }
        break;
    case InputEventKind::MouseMove:
        if (m_linkCount > 0) {
            const int link = LinkAt(event.MousePoint);
            if (link != m_hoveredLink) {
                m_hoveredLink = link;
                Invalidate();
            }
        }
        break;
    case InputEventKind::MouseLeave:
        if (m_hoveredLink >= 0) {
            m_hoveredLink = -1;
            Invalidate();
        }
        break;
    default:
        break;
    }
    CListLabelElementUI::OnEvent(event);
}

CSizeUI CListTextElementUI::MeasureSize(CSizeUI /*available*/)
{
    const CSizeUI fixed = Scaled(m_fixedSize);
    CSizeUI size = fixed;
    if (size.cy == 0 && m_host != nullptr && m_item.Style() != nullptr)
        size.cy = RowHeight();
    return size;
}

void CListTextElementUI::DrawItemText(HDC hdc, const CRectUI& /*rect*/)
{
    // The columns decide where the texts go, not the rectangle given.
    if (m_listView == nullptr)
        return;
    const TListItemStyle* s = m_listView->GetItemStyle();
    const uint32_t color = m_item.TextColor();
    const CRectUI pad = Scaled(s->itemTextPadding);
    const UINT style = s->itemTextStyle | DT_SINGLELINE;
    m_linkCount = 0;
    const int columns = s->columnCount < kMaxListColumns ? s->columnCount : kMaxListColumns;
    for (int c = 0; c < columns; ++c) {
        CRectUI r(s->columnRects[c].left + pad.left, m_position.top + pad.top, s->columnRects[c].right - pad.right,
            m_position.bottom - pad.bottom);
        const CUIString text = GetShownText(c);
        if (s->showHtml) {
            int links = kMaxLinks - m_linkCount;
            CRenderKit::PaintMarkupText(
                hdc, m_host, r, text, color, &m_linkRects[m_linkCount], &m_linkTexts[m_linkCount], links, style);
            m_linkCount += links;
        } else {
            CRenderKit::PaintPlainText(hdc, m_host, r, text, color, s->itemFont, style);
        }
    }
    for (int i = m_linkCount; i < kMaxLinks; ++i) {
        m_linkRects[i].SetEmpty();
        m_linkTexts[i].Clear();
    }
}

}  // namespace SkinUI
