#include "controls/text/Text.h"

#include "controls/base/CastChain.h"
#include "host/ControlAliveGuard.h"
#include "host/WindowHost.h"
#include "render/RenderKit.h"

namespace SkinUI {

CTextUI::CTextUI()
{
    m_textPadding.left = 2;
    m_textPadding.right = 2;
    m_textStyle = DT_WORDBREAK;
}

CTextUI::~CTextUI() = default;

const char* CTextUI::GetTypeName() const { return "TextUI"; }

void* CTextUI::CastTo(const char* name) { return CastToSelfOrBase<CLabelUI>(this, name); }

unsigned CTextUI::GetCapabilities() const { return (IsEnabled() && m_linkCount > 0) ? CapabilityWantsCursor : 0u; }

const CUIString* CTextUI::GetLinkText(int index) const
{
    return (index >= 0 && index < m_linkCount) ? &m_linkTexts[index] : nullptr;
}

CRectUI CTextUI::GetLinkRect(int index) const
{
    return (index >= 0 && index < m_linkCount) ? CRectUI(m_linkRects[index]) : CRectUI();
}

bool CTextUI::FollowLink(int index)
{
    if (index < 0 || index >= m_linkCount || !IsEnabled() || m_host == nullptr)
        return false;
    CControlAliveGuard alive(m_host, this);
    m_host->SendNotification(this, "link", static_cast<WPARAM>(index));
    return alive.IsAlive();
}

int CTextUI::LinkAt(POINT point) const
{
    for (int i = 0; i < m_linkCount; ++i) {
        if (::PtInRect(&m_linkRects[i], point))
            return i;
    }
    return -1;
}

void CTextUI::OnEvent(TInputEvent& event)
{
    if (PassOnRefusedMouse(*this, m_parent, event, [this](TInputEvent& e) { CLabelUI::OnEvent(e); }))
        return;
    const int kind = event.Type;
    const int link = LinkAt(event.MousePoint);
    switch (kind) {
    case InputEventKind::SetCursor:
        if (link < 0)
            break;
        ::SetCursor(::LoadCursorA(nullptr, IDC_HAND));
        return;
    case InputEventKind::ButtonDown:
    case InputEventKind::DoubleClick:
        if (link < 0 || (kind == InputEventKind::DoubleClick && !IsEnabled()))
            break;
        Invalidate();
        return;
    case InputEventKind::ButtonUp:
        if (link < 0 || !IsEnabled() || event.Cancelled)
            break;
        FollowLink(link);
        return;
    case InputEventKind::ContextMenu:
        return;
    case InputEventKind::MouseMove:
        if (!IsEnabled() || m_linkCount == 0)
            break;
        if (link != m_hoveredLink) {
            m_hoveredLink = link;
            Invalidate();
        }
        return;
    case InputEventKind::MouseLeave:
        if (!IsEnabled() || m_linkCount == 0 || m_hoveredLink == -1)
            break;
        m_hoveredLink = -1;
        Invalidate();
        return;
    default:
        break;
    }
    CLabelUI::OnEvent(event);
}

CSizeUI CTextUI::MeasureSize(CSizeUI available)
{
    const CSizeUI fixed = Scaled(m_fixedSize);
    if (!m_host)
        return fixed;
    int width = fixed.cx > available.cx ? fixed.cx : available.cx;
    const CRectUI padding = Scaled(m_textPadding);
    RECT rc = {padding.left, 0, width - padding.right, 9999};
    const UINT style = m_textStyle | DT_CALCRECT;
    HWND window = m_host->GetPaintWindow();
    HDC hdc = ::GetDC(window);
    if (hdc) {
        if (m_showHtml) {
            int links = 0;
            CRenderKit::PaintMarkupText(hdc, m_host, rc, GetText(), 0, nullptr, nullptr, links, style);
        } else {
            CRenderKit::PaintPlainText(hdc, m_host, rc, GetText(), 0, m_fontIndex, style);
        }
        ::ReleaseDC(window, hdc);
    }
    CSizeUI size(rc.right - rc.left + padding.left + padding.right, rc.bottom - rc.top + padding.top + padding.bottom);
    if (fixed.cy != 0)
        size.cy = fixed.cy;
    return size;
}

void CTextUI::PaintText(HDC hdc)
{
    const CUIString text = GetText();
    if (text.IsEmpty()) {
        m_linkCount = 0;
        return;
    }
    ResolveDefaultColors();
    CRectUI r = TextRect();
    if (m_showHtml) {
        int links = kMaxLinks;
        CRenderKit::PaintMarkupText(
            hdc, m_host, r, text, CurrentTextColor(), m_linkRects, m_linkTexts, links, m_textStyle);
        m_linkCount = links < 0 ? 0 : (links > kMaxLinks ? kMaxLinks : links);
    } else {
        CRenderKit::PaintPlainText(hdc, m_host, r, text, CurrentTextColor(), m_fontIndex, m_textStyle);
        m_linkCount = 0;
    }
}

}  // namespace SkinUI
