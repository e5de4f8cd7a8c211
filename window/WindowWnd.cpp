#include "window/WindowWnd.h"

#include "host/ResourceLocation.h"
#include "host/WindowHost.h"

namespace SkinUI {

namespace {

// Superclassed windows keep their user data for the system class, so the object rides in a
// window property instead.
const char kObjectProperty[] = "WndX";

bool RegistrationSucceeded(ATOM atom) { return atom != 0 || ::GetLastError() == ERROR_CLASS_ALREADY_EXISTS; }

}  // namespace

const char* CWindowWnd::SuperclassName() const { return nullptr; }

UINT CWindowWnd::ClassStyle() const { return 0; }

LRESULT CWindowWnd::ProcessMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    return CallPrevious(message, wParam, lParam);
}

void CWindowWnd::OnWindowGone(HWND) { }

LRESULT CWindowWnd::CallPrevious(UINT message, WPARAM wParam, LPARAM lParam)
{
    return ::CallWindowProcA(m_prevProc, m_hWnd, message, wParam, lParam);
}

HWND CWindowWnd::Create(HWND parent, const char* title, DWORD style, DWORD exStyle, int x, int y, int width, int height)
{
    const bool registered = SuperclassName() != nullptr ? RegisterSuperclass() : RegisterOwnClass();
    if (!registered)
        return nullptr;
    const HWND hwnd = ::CreateWindowExA(exStyle, WindowClassName(), title, style, x, y, width, height, parent, nullptr,
        CResourceLocation::GetModuleInstance(), this);
    // The procedure has stored the handle at WM_NCCREATE already. A creation that failed after
    // binding has run OnWindowGone, which may have deleted this object: leave it untouched then.
    if (hwnd != nullptr)
        m_hWnd = hwnd;
    return hwnd;
}

HWND CWindowWnd::Create(HWND parent, DWORD style, DWORD exStyle, const RECT& rect)
{
    return Create(parent, nullptr, style, exStyle, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top);
}

bool CWindowWnd::RegisterOwnClass()
{
    WNDCLASSA wc = {};
    wc.style = ClassStyle();
    wc.lpfnWndProc = &CWindowWnd::ClassWindowProc;
    wc.hInstance = CResourceLocation::GetModuleInstance();
    wc.hCursor = ::LoadCursorA(nullptr, IDC_ARROW);
    wc.lpszClassName = WindowClassName();
    return RegistrationSucceeded(::RegisterClassA(&wc));
}

bool CWindowWnd::RegisterSuperclass()
{
    WNDCLASSEXA wc = {};
    wc.cbSize = sizeof(wc);
    HINSTANCE instance = CResourceLocation::GetModuleInstance();
    if (!::GetClassInfoExA(nullptr, SuperclassName(), &wc) && !::GetClassInfoExA(instance, SuperclassName(), &wc))
        return false;
    m_prevProc = wc.lpfnWndProc;
    wc.cbSize = sizeof(wc);
    wc.hInstance = instance;
    wc.lpfnWndProc = &CWindowWnd::SuperclassWindowProc;
    wc.lpszClassName = WindowClassName();
    return RegistrationSucceeded(::RegisterClassExA(&wc));
}

CWindowWnd* CWindowWnd::BoundObject(HWND hwnd, bool superclass)
{
    if (superclass)
        return static_cast<CWindowWnd*>(::GetPropA(hwnd, kObjectProperty));
    return reinterpret_cast<CWindowWnd*>(::GetWindowLongPtrA(hwnd, GWLP_USERDATA));
}

void CWindowWnd::Bind(HWND hwnd, CWindowWnd* self, bool superclass)
{
    // A null object is how the last message unbinds; the property then goes, not just its value.
    if (superclass && self != nullptr)
        ::SetPropA(hwnd, kObjectProperty, static_cast<HANDLE>(self));
    else if (superclass)
        ::RemovePropA(hwnd, kObjectProperty);
    else
        ::SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
}

LRESULT CWindowWnd::LastMessage(
    CWindowWnd* self, HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, bool superclass)
{
    const LRESULT result = ::CallWindowProcA(self->m_prevProc, hwnd, message, wParam, lParam);
    if (!superclass)
        Bind(hwnd, nullptr, false);
    if (self->m_subclassed) {
        ::SetWindowLongPtrA(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(self->m_prevProc));
        self->m_subclassed = false;
    }
    if (superclass)
        Bind(hwnd, nullptr, true);
    self->m_hWnd = nullptr;
    // May delete the object: nothing below touches it.
    self->OnWindowGone(hwnd);
    return result;
}

LRESULT CWindowWnd::RouteMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, bool superclass)
{
    CWindowWnd* self = nullptr;
    if (message == WM_NCCREATE) {
        const CREATESTRUCTA* cs = reinterpret_cast<const CREATESTRUCTA*>(lParam);
        self = static_cast<CWindowWnd*>(cs->lpCreateParams);
        if (self != nullptr) {
            self->m_hWnd = hwnd;
            Bind(hwnd, self, superclass);
        }
    } else {
        self = BoundObject(hwnd, superclass);
        if (self != nullptr && message == WM_NCDESTROY)
            return LastMessage(self, hwnd, message, wParam, lParam, superclass);
    }
    if (self != nullptr)
        return self->ProcessMessage(message, wParam, lParam);
    return ::DefWindowProcA(hwnd, message, wParam, lParam);
}

LRESULT CALLBACK CWindowWnd::ClassWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    return RouteMessage(hwnd, message, wParam, lParam, false);
}

LRESULT CALLBACK CWindowWnd::SuperclassWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    return RouteMessage(hwnd, message, wParam, lParam, true);
}

void CWindowWnd::Show()
{
    if (::IsWindow(m_hWnd))
        ::ShowWindow(m_hWnd, SW_SHOWNORMAL);
}

UINT CWindowWnd::RunModal()
{
    // The object may delete itself in OnWindowGone, so the loop works only on copies.
    const HWND self = m_hWnd;
    const HWND owner = ::GetWindow(self, GW_OWNER);
    ::ShowWindow(self, SW_SHOWNORMAL);
    if (owner != nullptr)
        ::EnableWindow(owner, FALSE);

    UINT resultCode = 0;
    bool quit = false;
    WPARAM quitCode = 0;
    MSG msg = {};
    while (::IsWindow(self)) {
        if (::GetMessageA(&msg, nullptr, 0, 0) <= 0) {
            // 0 is WM_QUIT; -1 (an invalid call) would otherwise spin here for ever.
            quit = msg.message == WM_QUIT;
            quitCode = msg.wParam;
            break;
        }
        if (msg.message == WM_CLOSE && msg.hwnd == self) {
            resultCode = static_cast<UINT>(msg.wParam);
            // Without an owner there is nobody to hand the focus to; a null would take it from
            // this window, which may yet refuse to close.
            if (owner != nullptr) {
                ::EnableWindow(owner, TRUE);
                ::SetFocus(owner);
            }
        }
        if (!CWindowHostUI::TranslateForHosts(&msg)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageA(&msg);
        }
    }
    if (owner != nullptr) {
        ::EnableWindow(owner, TRUE);
        ::SetFocus(owner);
    }
    if (quit)
        ::PostQuitMessage(static_cast<int>(quitCode));
    return resultCode;
}

void CWindowWnd::PostClose(UINT resultCode)
{
    if (!::IsWindow(m_hWnd))
        return;
    m_closePosted = true;
    ::PostMessageA(m_hWnd, WM_CLOSE, resultCode, 0);
}

void CWindowWnd::UseFont(HFONT font)
{
    if (m_hWnd != nullptr && reinterpret_cast<HFONT>(::SendMessageA(m_hWnd, WM_GETFONT, 0, 0)) != font)
        ::SendMessageA(m_hWnd, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
}

void CWindowWnd::CenterOverOwner()
{
    RECT window = {};
    ::GetWindowRect(m_hWnd, &window);
    const int width = window.right - window.left;
    const int height = window.bottom - window.top;

    const HWND owner = ::GetWindow(m_hWnd, GW_OWNER);
    MONITORINFO monitor = {};
    monitor.cbSize = sizeof(monitor);
    ::GetMonitorInfoA(::MonitorFromWindow(owner != nullptr ? owner : m_hWnd, MONITOR_DEFAULTTONEAREST), &monitor);
    const RECT work = monitor.rcWork;
    RECT area = work;
    if (owner != nullptr)
        ::GetWindowRect(owner, &area);

    // The skin's stated height leaves out the room the window later needs below it.
    const int newHeight = height * 7 / 6;
    int x = (area.left + area.right) / 2 - width / 2;
    int y = (area.top + area.bottom) / 2 - newHeight / 2;
    if (x < work.left)
        x = work.left;
    else if (x + width > work.right)
        x = work.right - width;
    if (y < work.top)
        y = work.top;
    else if (y + newHeight > work.bottom)
        y = work.bottom - newHeight;
    ::SetWindowPos(m_hWnd, nullptr, x, y, width, newHeight, SWP_NOZORDER | SWP_NOACTIVATE);
}

void CWindowWnd::SetIcons(UINT resourceId)
{
    // Both icons are the large size, rounded up to a multiple of 16, which the system shrinks where
    // it shows the small one: one loaded image serves both, as two equal ones would, at half the
    // start-up cost.
    const int cx = (::GetSystemMetrics(SM_CXICON) + 15) & ~15;
    const int cy = (::GetSystemMetrics(SM_CYICON) + 15) & ~15;
    HINSTANCE instance = CResourceLocation::GetModuleInstance();
    HANDLE icon = ::LoadImageA(instance, MAKEINTRESOURCEA(resourceId), IMAGE_ICON, cx, cy, LR_DEFAULTCOLOR);
    ::SendMessageA(m_hWnd, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
    ::SendMessageA(m_hWnd, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon));
}

}  // namespace SkinUI
