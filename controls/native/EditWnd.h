// CEditWnd: the native editor an open CEditUI places over its text area, a superclass of the
// system "Edit" class so the platform does the editing. Its rectangle is in the host window's
// client coordinates (it is a child of the host window).
//
// It lives on the heap from Open until its window is gone and then deletes itself, clearing the
// owner's pointer. An owner that goes first calls Detach before destroying the window, so the
// editor never reaches a dead owner. Every notification it raises is the last thing its handler
// does: a listener may destroy the owner, and with it this editor, from inside the call.
#pragma once

#include "core/Geometry.h"
#include "window/WindowWnd.h"

namespace SkinUI {

class CEditUI;

class CEditWnd final : public CWindowWnd {
public:
    // Creates the editor over `owner` and gives it the native focus; sets and answers the owner's
    // editor pointer. Null when the native window cannot be made: the owner stays a plain label
    // and may try again at the next focus.
    static CEditWnd* Open(CEditUI* owner);

    // The owner is going away; nothing here touches it again.
    void Detach() { m_owner = nullptr; }
    // The owner's position less its text padding, narrowed to one line of its font, centred.
    CRectUI ComputeEditRect() const;

    const char* WindowClassName() const override;
    const char* SuperclassName() const override;
    LRESULT ProcessMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void OnWindowGone(HWND hwnd) override;

private:
    explicit CEditWnd(CEditUI* owner)
        : m_owner(owner)
    {
    }
    ~CEditWnd();

    bool Init();
    void OnTextChanged();
    // The reflected WM_CTLCOLOREDIT / WM_CTLCOLORSTATIC: the owner's "nativebkcolor", if any.
    LRESULT OnColorMessage(HDC hdc);

    CEditUI* m_owner;  // not owned; null once detached
    HBRUSH m_bkBrush = nullptr;  // owned; made at the first colour message, then kept
    bool m_initialised = false;  // the owner's text is in; changes from now on are edits
};

}  // namespace SkinUI
