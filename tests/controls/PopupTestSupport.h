// Helpers for the controls that open native windows over themselves (edit, date picker), on top of
// the host test bed: a control whose freed bytes stay in the bed's quarantine, a hook that makes the platform refuse to
// create a window of one class, and a child window's rectangle in its parent's client coordinates.
#pragma once

#include <windows.h>

#include <cstddef>
#include <string>

#include "support/HostBed.h"
#include "controls/text/Button.h"
#include "controls/layout/VerticalLayout.h"
#include "core/Geometry.h"

namespace testbed {

// A T whose deletion leaves its bytes in the test bed's quarantine, filled with kFreedFill, so
// anything that writes into the dead object afterwards shows in FreedBytesUntouched.
template <class T> class Watched final : public T {
public:
    static const unsigned char kFreedFill = 0xDD;

    static void* operator new(std::size_t size)
    {
        s_live = true;
        s_freed = false;
        return ::operator new(size);
    }
    static void operator delete(void* p, std::size_t size)
    {
        Quarantine(p, size, kFreedFill);
        s_live = false;
        s_freed = true;
    }
    static bool IsLive() { return s_live; }
    // The last instance was deleted and no quarantined byte has changed since (empties the
    // quarantine).
    static bool FreedBytesUntouched() { return s_freed && QuarantineIntact(); }

private:
    static bool s_live;
    static bool s_freed;
};

template <class T> bool Watched<T>::s_live = false;
template <class T> bool Watched<T>::s_freed = false;

// While it lives, the platform refuses to create windows of `className` on this thread (a
// computer-based-training hook answering "no" at creation), before any message reaches them.
class RefusedWindowClass {
public:
    explicit RefusedWindowClass(const char* className);
    ~RefusedWindowClass();
    RefusedWindowClass(const RefusedWindowClass&) = delete;
    RefusedWindowClass& operator=(const RefusedWindowClass&) = delete;
    int Refusals() const { return s_refusals; }

private:
    static LRESULT CALLBACK Hook(int code, WPARAM wParam, LPARAM lParam);
    static std::string s_className;
    static int s_refusals;
    HHOOK m_hook = nullptr;
};

// Counts the access violations raised on any thread while it lives. The platform swallows faults
// inside some window procedure calls, so a read through a freed control would pass unseen.
class FaultCounter {
public:
    FaultCounter();
    ~FaultCounter();
    FaultCounter(const FaultCounter&) = delete;
    FaultCounter& operator=(const FaultCounter&) = delete;
    int Faults() const { return s_faults; }

private:
    static LONG CALLBACK Count(EXCEPTION_POINTERS* info);
    static volatile LONG s_faults;
    void* m_handler = nullptr;
};

// A column that counts the wheel turns bubbling up to it.
class WheelColumn : public SkinUI::CVerticalLayoutUI {
public:
    void OnEvent(SkinUI::TInputEvent& event) override
    {
        if (event.Type == SkinUI::InputEventKind::ScrollWheel)
            ++wheels;
        SkinUI::CVerticalLayoutUI::OnEvent(event);
    }
    int wheels = 0;
};

// Turns the wheel once over the client point (x, y) of a host window placed at the screen origin.
inline void TurnWheel(HWND hostWindow, int x, int y)
{
    ::SendMessageA(hostWindow, WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-120)), MAKELPARAM(x, y));
}

// A 300x200 host: a button "other" at (0,0)-(200,30) takes the first focus, and `control`, named
// `name`, lies at (0,30)-(200,60), or full width when `fullWidth`.
struct PopupBed {
    PopupBed(SkinUI::CControlUI* control, const char* name, bool fullWidth);
    // Clicks into the control (which opens its native window) or into the other button.
    void ClickControl() { bed.Click(50, 45); }
    void LeaveForOther()
    {
        bed.Click(50, 15);
        bed.Pump();
    }

    HostBed bed;
    WheelColumn* root = nullptr;
    SkinUI::CButtonUI* other = nullptr;
};

// The window rectangle of a child in its parent's client coordinates.
SkinUI::CRectUI ChildRect(HWND child);

}  // namespace testbed
