// The window both start-up references open: a 360 x 543 popup at (100, 100), the size of Quoril's,
// whose paints go to the caller and whose destruction ends the message loop. One window for both,
// so their figures differ only by the work each does beyond it.
#pragma once

#include <windows.h>

namespace bench {

const int kReferenceWidth = 360;
const int kReferenceHeight = 543;

// Paints the part of the client area that needs it.
using ReferencePaint = void (*)(HDC dc, const RECT& dirty);

namespace detail {

inline ReferencePaint& CurrentPaint()
{
    static ReferencePaint paint = nullptr;
    return paint;
}

inline LRESULT CALLBACK ReferenceProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = ::BeginPaint(hwnd, &ps);
        CurrentPaint()(dc, ps.rcPaint);
        ::EndPaint(hwnd, &ps);
        return 0;
    }
    case WM_DESTROY:
        ::PostQuitMessage(0);
        return 0;
    default:
        return ::DefWindowProcA(hwnd, message, wParam, lParam);
    }
}

}  // namespace detail

// Registers `className` and creates the window (shown at once when `style` has WS_VISIBLE).
inline HWND CreateReferenceWindow(
    HINSTANCE instance, const char* className, const char* title, DWORD style, ReferencePaint paint)
{
    detail::CurrentPaint() = paint;
    WNDCLASSA wc = {};
    wc.lpfnWndProc = detail::ReferenceProc;
    wc.hInstance = instance;
    wc.lpszClassName = className;
    ::RegisterClassA(&wc);
    return ::CreateWindowExA(WS_EX_APPWINDOW, className, title, style, 100, 100, kReferenceWidth, kReferenceHeight,
        nullptr, nullptr, instance, nullptr);
}

// Runs the thread's messages until the window is destroyed.
inline void RunMessages()
{
    MSG msg;
    while (::GetMessageA(&msg, nullptr, 0, 0) > 0) {
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
    }
}

}  // namespace bench
