#include "controls/native/DateTimeWnd.h"

#include <commctrl.h>

#include "controls/native/DateTime.h"
#include "host/ReflectedMessages.h"
#include "host/WindowHost.h"

namespace SkinUI {

namespace {

// The picker class exists only once the date classes of the common controls are registered.
bool RegisterPickerClass()
{
    static const bool registered = [] {
        INITCOMMONCONTROLSEX init = {sizeof(init), ICC_DATE_CLASSES};
        return ::InitCommonControlsEx(&init) != FALSE;
    }();
    return registered;
}

}  // namespace

CDateTimeWnd* CDateTimeWnd::Make(CDateTimeUI* owner)
{
    CDateTimeWnd* picker = new CDateTimeWnd;
    owner->m_popup = picker;
    if (picker->Open(owner)) {
        picker->Show();
        return picker;
    }
    // A creation refused after the window was bound has ended the picker through OnWindowGone,
    // which cleared the owner's pointer; one refused earlier left both to us.
    if (owner->m_popup == picker) {
        owner->m_popup = nullptr;
        delete picker;
    }
    return nullptr;
}

const char* CDateTimeWnd::WindowClassName() const { return "DateTimeWnd"; }

const char* CDateTimeWnd::SuperclassName() const { return "SysDateTimePick32"; }

bool CDateTimeWnd::MakeWindow()
{
    CWindowHostUI* host = m_owner->GetHost();
    if (host == nullptr || !RegisterPickerClass())
        return false;
    if (Create(host->GetPaintWindow(), WS_CHILD, 0, m_owner->GetPosition()) == nullptr)
        return false;
    UseFont(host->FontHandleAt(m_owner->GetFont()));
    return true;
}

bool CDateTimeWnd::Open(CDateTimeUI* owner)
{
    m_owner = owner;
    owner->m_updateMode = CDateTimeUI::KeepText;
    if (m_hWnd == nullptr && !MakeWindow())
        return false;
    if (owner->GetText().IsEmpty())
        ::GetLocalTime(&owner->m_time);
    ::SendMessageA(m_hWnd, DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&owner->m_time));
    ::ShowWindow(m_hWnd, SW_SHOWNOACTIVATE);
    ::SetFocus(m_hWnd);
    return true;
}

void CDateTimeWnd::ApplyMode(int mode)
{
    if (m_owner == nullptr)
        return;
    CDateTimeUI* owner = m_owner;
    const CUIString before = owner->GetText();
    owner->m_updateMode = mode;
    owner->UpdateText();
    if (owner->GetText() != before && owner->GetHost() != nullptr)
        owner->GetHost()->SendNotification(owner, "datetimechanged");
}

void CDateTimeWnd::TakeDateAndClose()
{
    // Posted first: a listener of the change may end the owner and this picker with it.
    PostClose(0);
    if (m_owner == nullptr || m_owner->m_updateMode != CDateTimeUI::KeepText)
        return;
    ::SendMessageA(m_hWnd, DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&m_owner->m_time));
    ApplyMode(CDateTimeUI::ShowTime);
}

void CDateTimeWnd::PlaceOpenCalendar(const RECT& pickerBefore)
{
    const HWND calendar = reinterpret_cast<HWND>(::SendMessageA(m_hWnd, DTM_GETMONTHCAL, 0, 0));
    RECT needed = {};
    RECT shown = {};
    if (calendar == nullptr || !::IsWindowVisible(calendar) || !::GetWindowRect(calendar, &shown)
        || !::SendMessageA(calendar, MCM_GETMINREQRECT, 0, reinterpret_cast<LPARAM>(&needed)))
        return;
    RECT picker = {};
    ::GetWindowRect(m_hWnd, &picker);
    // The platform's own offset from the corner it hangs the calendar from is kept.
    const bool rightAligned = (::GetWindowLongA(m_hWnd, GWL_STYLE) & DTS_RIGHTALIGN) != 0;
    const int dx = rightAligned ? shown.right - pickerBefore.right : shown.left - pickerBefore.left;
    const int dy = shown.top - pickerBefore.bottom;
    const int width = needed.right - needed.left;
    const int left = (rightAligned ? picker.right - width : picker.left) + dx;
    ::SetWindowPos(
        calendar, nullptr, left, picker.bottom + dy, width, needed.bottom - needed.top, SWP_NOZORDER | SWP_NOACTIVATE);
}

LRESULT CDateTimeWnd::OnAnswerKey(int mode, UINT message, WPARAM wParam, LPARAM lParam)
{
    const LRESULT result = ::DefWindowProcA(m_hWnd, message, wParam, lParam);
    PostClose(0);
    ApplyMode(mode);
    return result;
}

LRESULT CDateTimeWnd::ProcessMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_KILLFOCUS: {
        const LRESULT result = ::DefWindowProcA(m_hWnd, message, wParam, lParam);
        // The drop-down calendar takes the focus while it is open; the picker is still in use.
        const HWND calendar = reinterpret_cast<HWND>(::SendMessageA(m_hWnd, DTM_GETMONTHCAL, 0, 0));
        if (calendar == nullptr || reinterpret_cast<HWND>(wParam) != calendar)
            TakeDateAndClose();
        return result;
    }
    case WM_KEYUP:
        if (wParam == VK_DELETE || wParam == VK_BACK)
            return OnAnswerKey(CDateTimeUI::ClearText, message, wParam, lParam);
        if (wParam == VK_ESCAPE)
            return OnAnswerKey(CDateTimeUI::Escaped, message, wParam, lParam);
        break;
    case kReflectedNotify: {
        const NMHDR* header = reinterpret_cast<const NMHDR*>(lParam);
        // The calendar closed and the focus did not come back: the user is done with the picker.
        if (header != nullptr && header->code == static_cast<UINT>(DTN_CLOSEUP) && ::GetFocus() != m_hWnd)
            TakeDateAndClose();
        return 0;
    }
    default:
        break;
    }
    return CallPrevious(message, wParam, lParam);
}

void CDateTimeWnd::OnWindowGone(HWND)
{
    if (m_owner != nullptr)
        m_owner->m_popup = nullptr;
    delete this;
}

}  // namespace SkinUI
