// CActiveXFrameWnd: the in-place frame handed to an embedded object by GetWindowContext.
//
// It keeps the site (not the control) with a reference, so an object that holds on to its frame
// after the control has gone gets E_UNEXPECTED instead of reaching a dead control. It holds the
// active object the embedded object names, with a reference, until its own last release.
#pragma once

#include <ole2.h>
#include <windows.h>

namespace SkinUI {

class CActiveXCtrl;

class CActiveXFrameWnd final : public IOleInPlaceFrame {
public:
    explicit CActiveXFrameWnd(CActiveXCtrl* site);
    CActiveXFrameWnd(const CActiveXFrameWnd&) = delete;
    CActiveXFrameWnd& operator=(const CActiveXFrameWnd&) = delete;

    STDMETHODIMP QueryInterface(REFIID iid, void** out) override;
    STDMETHODIMP_(ULONG) AddRef() override;
    STDMETHODIMP_(ULONG) Release() override;
    STDMETHODIMP GetWindow(HWND* out) override;
    STDMETHODIMP ContextSensitiveHelp(BOOL enterMode) override;
    STDMETHODIMP GetBorder(LPRECT border) override;
    STDMETHODIMP RequestBorderSpace(LPCBORDERWIDTHS widths) override;
    STDMETHODIMP SetBorderSpace(LPCBORDERWIDTHS widths) override;
    STDMETHODIMP SetActiveObject(IOleInPlaceActiveObject* object, LPCOLESTR name) override;
    STDMETHODIMP InsertMenus(HMENU menu, LPOLEMENUGROUPWIDTHS widths) override;
    STDMETHODIMP SetMenu(HMENU menu, HOLEMENU shared, HWND activeObject) override;
    STDMETHODIMP RemoveMenus(HMENU menu) override;
    STDMETHODIMP SetStatusText(LPCOLESTR text) override;
    STDMETHODIMP EnableModeless(BOOL enable) override;
    STDMETHODIMP TranslateAccelerator(LPMSG msg, WORD id) override;

private:
    ~CActiveXFrameWnd();

    ULONG m_refs = 1;
    CActiveXCtrl* m_site;  // one reference
    IOleInPlaceActiveObject* m_activeObject = nullptr;  // one reference
};

}  // namespace SkinUI
