#include "controls/PopupTestSupport.h"

namespace testbed {

std::string RefusedWindowClass::s_className;
int RefusedWindowClass::s_refusals = 0;

RefusedWindowClass::RefusedWindowClass(const char* className)
{
    s_className = className;
    s_refusals = 0;
    m_hook = ::SetWindowsHookExA(WH_CBT, &RefusedWindowClass::Hook, nullptr, ::GetCurrentThreadId());
}

RefusedWindowClass::~RefusedWindowClass()
{
    if (m_hook != nullptr)
        ::UnhookWindowsHookEx(m_hook);
}

LRESULT CALLBACK RefusedWindowClass::Hook(int code, WPARAM wParam, LPARAM lParam)
{
    if (code == HCBT_CREATEWND) {
        char name[64] = {};
        ::GetClassNameA(reinterpret_cast<HWND>(wParam), name, sizeof(name));
        if (s_className == name) {
            ++s_refusals;
            return 1;
        }
    }
    return ::CallNextHookEx(nullptr, code, wParam, lParam);
}

volatile LONG FaultCounter::s_faults = 0;

FaultCounter::FaultCounter()
{
    s_faults = 0;
    m_handler = ::AddVectoredExceptionHandler(1, &FaultCounter::Count);
}

FaultCounter::~FaultCounter()
{
    if (m_handler != nullptr)
        ::RemoveVectoredExceptionHandler(m_handler);
}

LONG CALLBACK FaultCounter::Count(EXCEPTION_POINTERS* info)
{
    if (info->ExceptionRecord->ExceptionCode == EXCEPTION_ACCESS_VIOLATION)
        ::InterlockedIncrement(&s_faults);
    return EXCEPTION_CONTINUE_SEARCH;
}

PopupBed::PopupBed(SkinUI::CControlUI* control, const char* name, bool fullWidth)
{
    root = new WheelColumn;
    other = new SkinUI::CButtonUI;
    other->SetName("other");
    other->SetFixedWidth(200);
    other->SetFixedHeight(30);
    control->SetName(name);
    if (!fullWidth)
        control->SetFixedWidth(200);
    control->SetFixedHeight(30);
    root->AddChild(other);
    root->AddChild(control);
    bed.Attach(root);
}

SkinUI::CRectUI ChildRect(HWND child)
{
    RECT r = {};
    ::GetWindowRect(child, &r);
    ::MapWindowPoints(HWND_DESKTOP, ::GetParent(child), reinterpret_cast<POINT*>(&r), 2);
    return SkinUI::CRectUI(r.left, r.top, r.right, r.bottom);
}

}  // namespace testbed
