// CWindowWnd: binds one object to one native top-level or pop-up window.
//
// Create registers the window class (an own class, or a superclass of a system class) and passes
// the object as creation parameter; the class procedure binds it at WM_NCCREATE, so
// ProcessMessage sees every message from WM_NCCREATE on. After WM_NCDESTROY the handle is null
// and OnWindowGone runs, where an object that lives on the heap may delete itself; nothing here
// ever reads the object again after that call.
//
// The object pointer lives in the window's user data (own classes) or in the "WndX" property
// (superclasses, whose user data belongs to the system class). RunModal is the program's message
// loop: each queued message is first offered to the control hosts' pre-translation.
#pragma once

#include <windows.h>

namespace SkinUI {

class CWindowWnd {
public:
    CWindowWnd() = default;
    CWindowWnd(const CWindowWnd&) = delete;
    CWindowWnd& operator=(const CWindowWnd&) = delete;

    HWND GetHWND() const { return m_hWnd; }

    // Virtual operations, in slot order.
    virtual const char* WindowClassName() const = 0;
    virtual const char* SuperclassName() const;
    virtual UINT ClassStyle() const;
    virtual LRESULT ProcessMessage(UINT message, WPARAM wParam, LPARAM lParam);
    virtual void OnWindowGone(HWND hwnd);

    HWND Create(HWND parent, const char* title, DWORD style, DWORD exStyle, int x, int y, int width, int height);
    // The pop-up editors' form: no title, position from the rectangle.
    HWND Create(HWND parent, DWORD style, DWORD exStyle, const RECT& rect);
    void Show();
    // Runs until the window is gone; answers the wParam of the WM_CLOSE that reached it, else 0.
    UINT RunModal();
    // Posts WM_CLOSE. From then on ClosePosted answers true: an owner that relies on the window
    // treats it as closed already, though it lives until the message runs.
    void PostClose(UINT resultCode = 1);
    bool ClosePosted() const { return m_closePosted; }
    // Centres over the owner (or the work area) and grows the height by 7/6, kept on the work area.
    void CenterOverOwner();
    void SetIcons(UINT resourceId);
    // WM_SETFONT when the window draws with another font: a native editor takes its host's font
    // again after a change of DPI remade it.
    void UseFont(HFONT font);

protected:
    // No virtual destructor at this level: objects are deleted through their own class.
    ~CWindowWnd() = default;

    // Passes a message to where unhandled messages go.
    LRESULT CallPrevious(UINT message, WPARAM wParam, LPARAM lParam);

    HWND m_hWnd = nullptr;
    WNDPROC m_prevProc = ::DefWindowProcA;  // a system class's own procedure when superclassing
    bool m_subclassed = false;  // never set by this framework; restored on the last message

private:
    bool m_closePosted = false;

    bool RegisterOwnClass();
    bool RegisterSuperclass();
    static LRESULT CALLBACK ClassWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK SuperclassWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    // The class procedures differ only in where the object is kept (`superclass`: the property).
    static LRESULT RouteMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, bool superclass);
    static CWindowWnd* BoundObject(HWND hwnd, bool superclass);
    static void Bind(HWND hwnd, CWindowWnd* self, bool superclass);
    static LRESULT LastMessage(
        CWindowWnd* self, HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, bool superclass);
};

}  // namespace SkinUI
