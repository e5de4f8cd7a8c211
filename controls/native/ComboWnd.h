// The combo's drop-down: a native WS_POPUP tool window with a control host of its own, whose root
// is a vertical layout holding the combo's rows on loan (the layout does not own them).
//
// It opens below the combo, or above it when it would reach below the primary monitor's work
// area. It closes on losing the focus, Return, Escape (restoring the selection it opened with) and
// a click on a row. However its window ends (a WM_CLOSE, or destroyed with its owner window, or by
// the combo), the rows go back to the combo exactly once, before the pop-up's host is destroyed,
// and that host keeps no pointer to them. The object deletes itself when its window is gone; when
// that happens inside one of its own messages, the deletion waits until that message returns.
#pragma once

#include "host/Events.h"
#include "window/WindowWnd.h"

namespace SkinUI {

class CComboUI;
class CVerticalLayoutUI;
class CWindowHostUI;

class CComboWnd final : public CWindowWnd {
public:
    // Makes and shows the pop-up for `owner`, which then holds it as its drop window. False when
    // the window could not be made (nothing is left behind then).
    static bool Open(CComboUI* owner);

    const char* WindowClassName() const override;
    LRESULT ProcessMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void OnWindowGone(HWND hwnd) override;

    // Scrolls the layout so that the row at `index` is inside it.
    void EnsureVisible(int index);
    // Destroys the window now.
    void Close();
    CWindowHostUI* GetPopupHost() const { return m_host; }
    CVerticalLayoutUI* GetLayout() const { return m_layout; }

private:
    CComboWnd() = default;
    ~CComboWnd();

    bool Init(CComboUI* owner);
    LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam);
    void OnCreate();
    // Below the combo (above it when the work area ends first), as wide as the combo or the drop
    // box and as tall as the rows up to the drop box's height; in screen coordinates.
    RECT DropRect() const;
    // WM_DPICHANGED: the host takes the new DPI, then the pop-up moves to where it would open now.
    void OnDpiChanged(WPARAM wParam, LPARAM lParam);
    // Gives the rows back to the combo (once). `restoreFocus`: also re-focus the combo, which is
    // skipped when the window is destroyed without a WM_CLOSE (its owner window may be dying).
    void ReturnRows(bool restoreFocus);
    // An input event for the combo; false when the pop-up went away meanwhile.
    bool PassToOwner(TInputEvent& event);

    CWindowHostUI* m_host = nullptr;  // owned
    CComboUI* m_owner = nullptr;  // not owned; null once the window is gone
    CVerticalLayoutUI* m_layout = nullptr;  // owned by m_host as its root
    int m_initialIndex = -1;
    bool m_rowsReturned = false;
    int m_depth = 0;  // nesting of ProcessMessage calls
    bool m_gone = false;  // the window is gone; delete when m_depth drops to 0
};

}  // namespace SkinUI
