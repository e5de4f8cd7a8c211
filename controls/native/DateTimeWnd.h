// CDateTimeWnd: the picker an open CDateTimeUI places over its own rectangle, a superclass of the
// platform's "SysDateTimePick32" so the platform draws and edits it; a child of the host window.
//
// It lives on the heap from Make until its window is gone and then deletes itself, clearing the
// owner's pointer; an owner that goes first calls Detach before destroying the window. The picker
// takes its date when the native focus leaves it for anything but its own drop-down calendar, when
// that calendar closes with the focus elsewhere, and when the owner loses the host's focus. A
// notification it raises is the last thing its handler does: a listener may end the owner, and
// with it this picker.
#pragma once

#include "window/WindowWnd.h"

namespace SkinUI {

class CDateTimeUI;

class CDateTimeWnd final : public CWindowWnd {
public:
    // Creates a picker for `owner`, opens it and sets the owner's pointer; null when the native
    // window cannot be made (the owner stays a plain label and may try again).
    static CDateTimeWnd* Make(CDateTimeUI* owner);

    // Shows the owner's date (the local time when its text is empty) in the picker, making the
    // window first if there is none, and gives it the native focus. False without a window.
    bool Open(CDateTimeUI* owner);
    // The owner is going away; nothing here touches it again.
    void Detach() { m_owner = nullptr; }
    // Takes the picked date when the open picker has not been answered yet, then closes.
    void TakeDateAndClose();
    // After the picker moved from `pickerBefore` (screen coordinates), for example grown by a DPI
    // change: an open drop-down calendar goes where it would open now, under the picker at the
    // platform's offset and at the size its font needs.
    void PlaceOpenCalendar(const RECT& pickerBefore);

    const char* WindowClassName() const override;
    const char* SuperclassName() const override;
    LRESULT ProcessMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void OnWindowGone(HWND hwnd) override;

private:
    CDateTimeWnd() = default;
    ~CDateTimeWnd() = default;

    bool MakeWindow();
    // Delete, Backspace and Escape answer the picker (`mode`) and close it.
    LRESULT OnAnswerKey(int mode, UINT message, WPARAM wParam, LPARAM lParam);
    // Runs the owner's text update for `mode`; "datetimechanged" when the text changed. Last.
    void ApplyMode(int mode);

    CDateTimeUI* m_owner = nullptr;  // not owned; null once detached
};

}  // namespace SkinUI
