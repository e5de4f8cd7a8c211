// Windows for the control benchmarks: one that hosts a control tree, one that holds a system
// control, and the figures both sides share (messages run to the end, the process's resident bytes).
#pragma once

#include <windows.h>

#include <psapi.h>

#include "bench/BenchClock.h"
#include "host/WindowHost.h"

namespace bench {

// A top-level window whose messages go to a control host first.
class CHostWindow {
public:
    CHostWindow(int width, int height)
    {
        static const ATOM atom = RegisterHostClass();
        (void)atom;
        m_hwnd = ::CreateWindowExA(0, "QuorilBenchHost", "bench", WS_POPUP | WS_VISIBLE, 0, 0, width, height, nullptr,
            nullptr, ::GetModuleHandleA(nullptr), nullptr);
        m_host.BindWindow(m_hwnd);
        ::SetWindowLongPtrA(m_hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&m_host));
    }
    ~CHostWindow()
    {
        ::SetWindowLongPtrA(m_hwnd, GWLP_USERDATA, 0);
        ::DestroyWindow(m_hwnd);
    }
    CHostWindow(const CHostWindow&) = delete;
    CHostWindow& operator=(const CHostWindow&) = delete;

    SkinUI::CWindowHostUI& Host() { return m_host; }
    HWND Hwnd() const { return m_hwnd; }

private:
    static LRESULT CALLBACK Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
    {
        auto* host = reinterpret_cast<SkinUI::CWindowHostUI*>(::GetWindowLongPtrA(hwnd, GWLP_USERDATA));
        LRESULT result = 0;
        if (host != nullptr && host->HandleWindowMessage(message, wParam, lParam, result))
            return result;
        return ::DefWindowProcA(hwnd, message, wParam, lParam);
    }
    static ATOM RegisterHostClass()
    {
        WNDCLASSA wc = {};
        wc.lpfnWndProc = Proc;
        wc.hInstance = ::GetModuleHandleA(nullptr);
        wc.hCursor = ::LoadCursorA(nullptr, IDC_ARROW);
        wc.lpszClassName = "QuorilBenchHost";
        return ::RegisterClassA(&wc);
    }

    SkinUI::CWindowHostUI m_host;
    HWND m_hwnd = nullptr;
};

// The procedure of a window that draws nothing: its paints are only validated, so what a figure
// measures against it is the bare cost of the message.
inline LRESULT CALLBACK DrawNothingProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_PAINT) {
        PAINTSTRUCT ps;
        ::BeginPaint(hwnd, &ps);
        ::EndPaint(hwnd, &ps);
        return 0;
    }
    return ::DefWindowProcA(hwnd, message, wParam, lParam);
}

// A system control filling a popup window of its own.
inline HWND CreateSystemControl(const char* className, DWORD style, int width, int height)
{
    return ::CreateWindowExA(0, className, "", WS_POPUP | WS_VISIBLE | style, 0, 0, width, height, nullptr, nullptr,
        ::GetModuleHandleA(nullptr), nullptr);
}

// Runs every posted message (the host's deferred destroys among them).
inline void RunMessages()
{
    MSG msg;
    while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
    }
}

// Paints a window now, whatever it needs.
inline void PaintNow(HWND hwnd)
{
    ::InvalidateRect(hwnd, nullptr, FALSE);
    ::UpdateWindow(hwnd);
}

// The process's resident bytes: what Wine reports reliably (it leaves the private-bytes counter
// at zero), and what rows cost once they are made and touched.
inline double ResidentBytes()
{
    PROCESS_MEMORY_COUNTERS counters = {};
    counters.cb = sizeof(counters);
    ::GetProcessMemoryInfo(::GetCurrentProcess(), &counters, sizeof(counters));
    return static_cast<double>(counters.WorkingSetSize);
}

// Figures that are not times (bytes a row) go through the same line format.
inline void PrintValue(const char* figure, const char* subject, double value)
{
    TFigure f;
    f.minUs = value;
    f.medianUs = value;
    Print(figure, subject, f);
}

}  // namespace bench
