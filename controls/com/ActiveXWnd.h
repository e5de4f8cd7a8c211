// CActiveXWnd: the native child window a windowed embedded object lives in.
//
// Made by the site (CActiveXCtrl) the first time a windowed object asks for a window, as a child of
// the skin window; the site owns the object and destroys the window before deleting it. The window
// focuses and activates the object; it paints nothing itself. Without an owning control (after the
// control let go of the object) it only passes messages on.
#pragma once

#include <windows.h>

#include "window/WindowWnd.h"

namespace SkinUI {

class CActiveXCtrl;

class CActiveXWnd final : public CWindowWnd {
public:
    explicit CActiveXWnd(CActiveXCtrl* site);
    ~CActiveXWnd();

    // Creates the window as a child of `parent`, sized 0; null on failure.
    HWND Init(HWND parent);

    const char* WindowClassName() const override;
    LRESULT ProcessMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void OnWindowGone(HWND hwnd) override;

#ifndef NDEBUG
    // Instances alive now (debug builds keep a registry to catch double deletes).
    static int LiveInstances();
#endif

private:
    void OnSetFocus();
    LRESULT OnMouseActivate(UINT message, WPARAM wParam, LPARAM lParam);

    CActiveXCtrl* m_site;  // not owned; the site owns this object
};

}  // namespace SkinUI
