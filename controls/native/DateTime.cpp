#include "controls/native/DateTime.h"

#include <cstdio>

#include "controls/base/CastChain.h"
#include "controls/native/DateTimeWnd.h"
#include "host/WindowHost.h"

namespace SkinUI {

CDateTimeUI::CDateTimeUI()
{
    ::GetLocalTime(&m_time);
    m_updateMode = ShowTime;
    UpdateText();
    m_updateMode = KeepText;
}

CDateTimeUI::~CDateTimeUI()
{
    // The picker's window would outlive us and write its date into freed memory.
    if (m_popup != nullptr) {
        CDateTimeWnd* picker = m_popup;
        m_popup = nullptr;
        picker->Detach();
        ::DestroyWindow(picker->GetHWND());
    }
}

const char* CDateTimeUI::GetTypeName() const { return "DateTimeUI"; }

void* CDateTimeUI::CastTo(const char* name) { return CastToSelfOrBase<CLabelUI>(this, name); }

unsigned CDateTimeUI::GetCapabilities() const { return IsEnabled() ? (CapabilityTabStop | CapabilityWantsCursor) : 0u; }

void CDateTimeUI::SetEnabled(bool enabled)
{
    CLabelUI::SetEnabled(enabled);
    if (IsEnabled() || m_popup == nullptr)
        return;
    // Whatever the picker shows now was not picked into an enabled control.
    m_updateMode = Escaped;
    CloseOverlayIfUnusable(m_popup);
}

void CDateTimeUI::SetVisible(bool visible)
{
    CLabelUI::SetVisible(visible);
    CloseOverlayIfUnusable(m_popup);
}

void CDateTimeUI::SetVisibleByParent(bool visible)
{
    CLabelUI::SetVisibleByParent(visible);
    CloseOverlayIfUnusable(m_popup);
}

void CDateTimeUI::SetPosition(const CRectUI& rect)
{
    CLabelUI::SetPosition(rect);
    // The picker covers the control wherever a layout moves it.
    if (m_popup != nullptr && m_popup->GetHWND() != nullptr) {
        if (m_host != nullptr)
            m_popup->UseFont(m_host->FontHandleAt(GetFont()));
        RECT before = {};
        ::GetWindowRect(m_popup->GetHWND(), &before);
        ::SetWindowPos(m_popup->GetHWND(), nullptr, m_position.left, m_position.top, m_position.GetWidth(),
            m_position.GetHeight(), SWP_NOZORDER | SWP_NOACTIVATE);
        m_popup->PlaceOpenCalendar(before);
    }
}

void CDateTimeUI::LetClosingPickerGo()
{
    if (m_popup == nullptr || !m_popup->ClosePosted())
        return;
    // It closes on its own, touching nothing of ours; a fresh one opens when one is needed.
    CDateTimeWnd* closing = m_popup;
    m_popup = nullptr;
    closing->Detach();
}

HWND CDateTimeUI::GetPickerWindow() const { return m_popup != nullptr ? m_popup->GetHWND() : nullptr; }

void CDateTimeUI::UpdateText()
{
    if (m_updateMode == ClearText) {
        SetText("");
    } else if (m_updateMode == ShowTime) {
        char text[32];
        std::snprintf(text, sizeof(text), "%4d-%02d-%02d", m_time.wYear, m_time.wMonth, m_time.wDay);
        SetText(text);
    }
}

void CDateTimeUI::OpenPicker()
{
    if (m_popup == nullptr) {
        CDateTimeWnd::Make(this);
    } else if (m_popup->Open(this)) {
        m_popup->Show();
    }
}

void CDateTimeUI::OnPress()
{
    if (!IsEnabled())
        return;
    if (m_host != nullptr)
        m_host->ReleaseMouse();
    LetClosingPickerGo();
    // Opens a new picker only for a focused control, but answers the click on an open one too.
    if (HasFocus() || m_popup != nullptr)
        OpenPicker();
}

void CDateTimeUI::OnEvent(TInputEvent& event)
{
    if (HandleOverlayEvent(event, m_popup != nullptr))
        return;
    switch (event.Type) {
    case InputEventKind::FocusGained:
        if (!IsEnabled())
            break;
        // Focused again while the picker closes (a "killfocus" listener handed the focus back).
        LetClosingPickerGo();
        if (m_popup != nullptr)
            return;
        OpenPicker();
        break;
    case InputEventKind::FocusLost:
        if (IsEnabled())
            Invalidate();
        CLabelUI::OnEvent(event);
        // The calendar may hold the native focus, so the picker never saw a focus loss of its own.
        if (m_popup != nullptr)
            m_popup->TakeDateAndClose();
        return;
    case InputEventKind::ButtonDown:
    case InputEventKind::DoubleClick:
    case InputEventKind::RightButtonDown:
        OnPress();
        return;
    case InputEventKind::MouseMove:
    case InputEventKind::ButtonUp:
    case InputEventKind::ContextMenu:
    case InputEventKind::MouseEnter:
    case InputEventKind::MouseLeave:
        return;
    default:
        break;
    }
    CLabelUI::OnEvent(event);
}

}  // namespace SkinUI
