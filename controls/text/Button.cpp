#include "controls/text/Button.h"

#include "controls/base/CastChain.h"
#include "core/ValueParse.h"
#include "host/ControlAliveGuard.h"
#include "host/WindowHost.h"
#include "render/RenderKit.h"

namespace SkinUI {

CButtonUI::CButtonUI() { m_textStyle = DT_CENTER | DT_VCENTER | DT_SINGLELINE; }

CButtonUI::~CButtonUI() = default;

const char* CButtonUI::GetTypeName() const { return "ButtonUI"; }

void* CButtonUI::CastTo(const char* name) { return CastToSelfOrBase<CLabelUI>(this, name); }

unsigned CButtonUI::GetCapabilities() const
{
    return (IsEnabled() ? CapabilityWantsCursor : 0u) | (AcceptsKeyboard() ? CapabilityTabStop : 0u);
}

bool CButtonUI::TriggerAction()
{
    if (!CLabelUI::TriggerAction())
        return false;
    if (m_host)
        m_host->SendNotification(this, "click");
    return true;
}

void CButtonUI::SetEnabled(bool enabled)
{
    CLabelUI::SetEnabled(enabled);
    if (!IsEnabled())
        m_buttonState = 0;
}

// The press state machine. Only this routine reads StateHot, StatePushed and StateCaptured
// (painting reads the bits it leaves). The host captures the mouse for the pressed control, so
// moves and the release reach the button even outside its rectangle.
//
//   event                              state bits after                notification
//   ---------------------------------  ------------------------------  ------------
//   ButtonDown/DoubleClick inside,     +Pushed +Captured               -
//     enabled
//   ButtonDown outside or disabled     unchanged                       -
//   MouseMove while Captured, inside   +Pushed                         -
//   MouseMove while Captured, outside  -Pushed (Captured stays)        -
//   MouseMove without Captured         unchanged                       -
//   ButtonUp while Captured, inside    -Pushed -Captured               "click" (before the bits clear)
//   ButtonUp while Captured, outside   -Pushed -Captured               -
//   ButtonUp without Captured          unchanged                       -
//   ButtonUp cancelled by the host     -Pushed -Captured               -
//   MouseEnter while enabled           +Hot                            -
//   MouseLeave while enabled           -Hot                            -
//   KeyDown Space/Return, keyboard on  unchanged                       "click"
//   SetEnabled(false)                  all cleared                     -
//
// So press inside + release inside clicks once; press, move out, release does not; press, out,
// back in, release clicks once; a disabled button never gets Captured and never clicks.
void CButtonUI::OnEvent(TInputEvent& event)
{
    if (PassOnRefusedMouse(*this, m_parent, event, [this](TInputEvent& e) { CLabelUI::OnEvent(e); }))
        return;
    const int kind = event.Type;
    const bool inside = m_position.Contains(event.MousePoint);
    switch (kind) {
    case InputEventKind::FocusGained:
    case InputEventKind::FocusLost:
        Invalidate();
        CLabelUI::OnEvent(event);
        return;
    case InputEventKind::KeyDown:
        if ((event.KeyChar == ' ' || event.KeyChar == '\r') && AcceptsKeyboard()) {
            TriggerAction();
            return;
        }
        break;
    case InputEventKind::ButtonDown:
    case InputEventKind::DoubleClick:
        if (inside && IsEnabled()) {
            m_buttonState |= StatePushed | StateCaptured;
            Invalidate();
        }
        return;
    case InputEventKind::MouseMove:
        if (m_buttonState & StateCaptured) {
            if (inside)
                m_buttonState |= StatePushed;
            else
                m_buttonState &= ~StatePushed;
            Invalidate();
        }
        return;
    case InputEventKind::ButtonUp:
        if (m_buttonState & StateCaptured) {
            // "click" goes out while the button still reads as pushed; a listener may destroy it
            // (a container that does not defer), so the press ends only if it survived.
            CControlAliveGuard alive(m_host, this);
            if (inside && !event.Cancelled)
                TriggerAction();
            if (!alive.IsAlive())
                return;
            m_buttonState &= ~(StatePushed | StateCaptured);
            Invalidate();
        }
        return;
    case InputEventKind::ContextMenu:
        if (WantsContextMenu() && m_host)
            m_host->SendNotification(this, "menu", event.WParam, event.LParam);
        return;
    case InputEventKind::MouseEnter:
        if (IsEnabled()) {
            m_buttonState |= StateHot;
            Invalidate();
        }
        break;
    case InputEventKind::MouseLeave:
        if (IsEnabled()) {
            m_buttonState &= ~StateHot;
            Invalidate();
        }
        break;
    case InputEventKind::SetCursor:
        ::SetCursor(::LoadCursorA(nullptr, IDC_HAND));
        return;
    default:
        break;
    }
    CLabelUI::OnEvent(event);
}

CAttributeTable<CButtonUI> CButtonUI::OwnAttributes()
{
    using C = CButtonUI;
    static constexpr TAttributeHandler<C> kTable[] = {
        {"normalimage", [](C& c, const char* v) { c.SetNormalImage(v); }},
        {"hotimage", [](C& c, const char* v) { c.SetHotImage(v); }},
        {"pushedimage", [](C& c, const char* v) { c.SetPushedImage(v); }},
        {"focusedimage", [](C& c, const char* v) { c.SetFocusedImage(v); }},
        {"disabledimage", [](C& c, const char* v) { c.SetDisabledImage(v); }},
        {"foreimage", [](C& c, const char* v) { c.SetForeImage(v); }},
        {"hotforeimage", [](C& c, const char* v) { c.SetHotForeImage(v); }},
        {"hotbkcolor", [](C& c, const char* v) { c.SetHotBkColor(ParseColor(v)); }},
        {"hottextcolor", [](C& c, const char* v) { c.SetHotTextColor(ParseColor(v)); }},
        {"pushedtextcolor", [](C& c, const char* v) { c.SetPushedTextColor(ParseColor(v)); }},
        {"focusedtextcolor", [](C& c, const char* v) { c.SetFocusedTextColor(ParseColor(v)); }},
    };
    return kTable;
}

void CButtonUI::SetAttribute(const char* name, const char* value)
{
    OwnAttributes().ApplyOrBase<CLabelUI>(*this, name, value);
}

void CButtonUI::AppendAttributeNames(TAttributeNames& names) { OwnAttributes().AppendWithBase<CLabelUI>(names); }

CSizeUI CButtonUI::MeasureSize(CSizeUI /*available*/) { return MeasureOneLine(8); }

//--- painting ------------------------------------------------------------------------------------

void CButtonUI::RefreshFocusAndDisabled()
{
    if (HasFocus())
        m_buttonState |= StateFocused;
    else
        m_buttonState &= ~StateFocused;
    if (IsEnabled())
        m_buttonState &= ~StateDisabled;
    else
        m_buttonState |= StateDisabled;
}

DWORD CButtonUI::AdjustedColor(DWORD color) const
{
    return m_colorHsl ? CRenderKit::ShiftColorHsl(color, 180, 100, 100) : color;
}

void CButtonUI::PaintStateImage(HDC hdc)
{
    RefreshFocusAndDisabled();
    const TStateLooks& looks = m_looks.Get();
    // The first state bit that is set picks the image; when that state has no usable image the
    // normal image is drawn (states further down the list are not tried).
    if (m_buttonState & StateDisabled) {
        if (DrawImageOrForget(hdc, m_looks, &TStateLooks::disabledImage)) {
            DrawForeImage(hdc);
            return;
        }
    } else if (m_buttonState & StatePushed) {
        if (!looks.pushedImage.IsEmpty()) {
            DrawImageOrForget(hdc, m_looks, &TStateLooks::pushedImage);
            DrawForeImage(hdc);
            return;
        }
    } else if (m_buttonState & StateHot) {
        if (!looks.hotImage.IsEmpty()) {
            DrawImageOrForget(hdc, m_looks, &TStateLooks::hotImage);
            if (!looks.hotForeImage.IsEmpty())
                DrawImageOrForget(hdc, m_looks, &TStateLooks::hotForeImage);
            else
                DrawForeImage(hdc);
            return;
        }
        if (looks.hotBkColor != 0) {
            CRenderKit::FillColor(hdc, m_paintRect, AdjustedColor(looks.hotBkColor));
            return;
        }
    } else if (m_buttonState & StateFocused) {
        if (DrawImageOrForget(hdc, m_looks, &TStateLooks::focusedImage)) {
            DrawForeImage(hdc);
            return;
        }
    }
    DrawImageOrForget(hdc, m_looks, &TStateLooks::normalImage);
    DrawForeImage(hdc);
}

void CButtonUI::PaintTextInColor(HDC hdc, DWORD color)
{
    const CUIString text = GetText();
    if (text.IsEmpty())
        return;
    CRectUI r = TextRect();
    if (m_showHtml) {
        int links = 0;
        CRenderKit::PaintMarkupText(hdc, m_host, r, text, color, nullptr, nullptr, links, m_textStyle);
    } else {
        CRenderKit::PaintPlainText(hdc, m_host, r, text, color, m_fontIndex, m_textStyle);
    }
}

void CButtonUI::PaintText(HDC hdc)
{
    RefreshFocusAndDisabled();
    ResolveDefaultColors();
    DWORD color = CurrentTextColor();
    const TStateLooks& looks = m_looks.Get();
    if ((m_buttonState & StatePushed) && looks.pushedTextColor != 0)
        color = looks.pushedTextColor;
    else if ((m_buttonState & StateHot) && looks.hotTextColor != 0)
        color = looks.hotTextColor;
    else if ((m_buttonState & StateFocused) && looks.focusedTextColor != 0)
        color = looks.focusedTextColor;
    PaintTextInColor(hdc, color);
}

}  // namespace SkinUI
