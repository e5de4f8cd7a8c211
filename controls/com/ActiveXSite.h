// CActiveXCtrl: the container site of one embedded object (see ActiveX.h).
//
// One COM object with five sides: client site (primary), windowless in-place site, control site,
// object-with-site and container. The owning control holds one reference; the object holds others
// for as long as it likes. When the control lets go (ReleaseObject) the owner pointer is cut and
// every method that needs the control answers E_UNEXPECTED from then on. The site owns the
// in-place object and view object references it took during activation, and the CActiveXWnd of a
// windowed object. Single-threaded apartment: plain reference counts.
//
// Implemented in ActiveXSite.cpp (client, control and container sides) and ActiveXSiteInPlace.cpp
// (the windowless in-place site).
#pragma once

#include <ocidl.h>
#include <ole2.h>
#include <windows.h>

namespace SkinUI {

class CActiveXUI;
class CActiveXWnd;

class CActiveXCtrl final : public IOleClientSite,
                           public IOleInPlaceSiteWindowless,
                           public IOleControlSite,
                           public IObjectWithSite,
                           public IOleContainer {
public:
    explicit CActiveXCtrl(CActiveXUI* owner);
    CActiveXCtrl(const CActiveXCtrl&) = delete;
    CActiveXCtrl& operator=(const CActiveXCtrl&) = delete;

    CActiveXUI* GetOwner() const { return m_owner; }
    // Cuts the link to the control and destroys a window the object left behind.
    void DropOwner();
    // Takes the object's best view interface (IViewObjectEx, IViewObject2, IViewObject).
    void TakeViewObject(IUnknown* object);
    IViewObject* GetViewObject() const { return m_viewObject; }
    IViewObjectEx* GetViewObjectEx() const { return m_viewObjectEx; }
    IOleInPlaceObject* GetInPlaceObject() const { return m_inPlaceObject; }
    IOleInPlaceObjectWindowless* GetWindowlessObject() const { return m_windowlessObject; }
    CActiveXWnd* GetObjectWindow() const { return m_window; }
    bool IsWindowless() const { return m_windowless; }
    bool IsInPlaceActive() const { return m_inPlaceActive; }
    bool IsUIActivated() const { return m_uiActivated; }
    bool IsCaptured() const { return m_captured; }
    // The capture went elsewhere: the object no longer holds the mouse.
    void ForgetCapture() { m_captured = false; }
    void SetFocused(bool focused) { m_focused = focused; }
    // The owner's position, moved to the origin for a windowed object.
    RECT ObjectRect() const;

    // IUnknown
    STDMETHODIMP QueryInterface(REFIID iid, void** out) override;
    STDMETHODIMP_(ULONG) AddRef() override;
    STDMETHODIMP_(ULONG) Release() override;

    // IOleClientSite
    STDMETHODIMP SaveObject() override;
    STDMETHODIMP GetMoniker(DWORD assign, DWORD whichMoniker, IMoniker** out) override;
    STDMETHODIMP GetContainer(IOleContainer** out) override;
    STDMETHODIMP ShowObject() override;
    STDMETHODIMP OnShowWindow(BOOL show) override;
    STDMETHODIMP RequestNewObjectLayout() override;

    // IOleWindow, IOleInPlaceSite, IOleInPlaceSiteEx, IOleInPlaceSiteWindowless
    STDMETHODIMP GetWindow(HWND* out) override;
    STDMETHODIMP ContextSensitiveHelp(BOOL enterMode) override;
    STDMETHODIMP CanInPlaceActivate() override;
    STDMETHODIMP OnInPlaceActivate() override;
    STDMETHODIMP OnUIActivate() override;
    STDMETHODIMP GetWindowContext(IOleInPlaceFrame** frame, IOleInPlaceUIWindow** document, LPRECT position,
        LPRECT clip, LPOLEINPLACEFRAMEINFO frameInfo) override;
    STDMETHODIMP Scroll(SIZE extent) override;
    STDMETHODIMP OnUIDeactivate(BOOL undoable) override;
    STDMETHODIMP OnInPlaceDeactivate() override;
    STDMETHODIMP DiscardUndoState() override;
    STDMETHODIMP DeactivateAndUndo() override;
    STDMETHODIMP OnPosRectChange(LPCRECT position) override;
    STDMETHODIMP OnInPlaceActivateEx(BOOL* noRedraw, DWORD flags) override;
    STDMETHODIMP OnInPlaceDeactivateEx(BOOL noRedraw) override;
    STDMETHODIMP RequestUIActivate() override;
    STDMETHODIMP CanWindowlessActivate() override;
    STDMETHODIMP GetCapture() override;
    STDMETHODIMP SetCapture(BOOL capture) override;
    STDMETHODIMP GetFocus() override;
    STDMETHODIMP SetFocus(BOOL focus) override;
    STDMETHODIMP GetDC(LPCRECT rect, DWORD flags, HDC* out) override;
    STDMETHODIMP ReleaseDC(HDC dc) override;
    STDMETHODIMP InvalidateRect(LPCRECT rect, BOOL erase) override;
    STDMETHODIMP InvalidateRgn(HRGN region, BOOL erase) override;
    STDMETHODIMP ScrollRect(INT dx, INT dy, LPCRECT scroll, LPCRECT clip) override;
    STDMETHODIMP AdjustRect(LPRECT rect) override;
    STDMETHODIMP OnDefWindowMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override;

    // IOleControlSite
    STDMETHODIMP OnControlInfoChanged() override;
    STDMETHODIMP LockInPlaceActive(BOOL lock) override;
    STDMETHODIMP GetExtendedControl(IDispatch** out) override;
    STDMETHODIMP TransformCoords(POINTL* himetric, POINTF* container, DWORD flags) override;
    STDMETHODIMP TranslateAccelerator(MSG* msg, DWORD modifiers) override;
    STDMETHODIMP OnFocus(BOOL gotFocus) override;
    STDMETHODIMP ShowPropertyFrame() override;

    // IObjectWithSite
    STDMETHODIMP SetSite(IUnknown* site) override;
    STDMETHODIMP GetSite(REFIID iid, void** out) override;

    // IOleContainer (IParseDisplayName)
    STDMETHODIMP ParseDisplayName(IBindCtx* context, LPOLESTR name, ULONG* eaten, IMoniker** out) override;
    STDMETHODIMP EnumObjects(DWORD flags, IEnumUnknown** out) override;
    STDMETHODIMP LockContainer(BOOL lock) override;

private:
    ~CActiveXCtrl();
    // The window of a windowed object, made once per site.
    HRESULT CreateObjectWindow();
    void DestroyObjectWindow();
    void ReleaseObjectInterfaces();
    HWND OwnerWindow() const;

    ULONG m_refs = 1;
    CActiveXUI* m_owner;  // not owned; null once the control let go
    CActiveXWnd* m_window = nullptr;  // owned
    IUnknown* m_outerSite = nullptr;  // one reference
    IViewObject* m_viewObject = nullptr;  // one reference
    IViewObjectEx* m_viewObjectEx = nullptr;  // the same object as m_viewObject when it offers it
    IOleInPlaceObject* m_inPlaceObject = nullptr;  // one reference
    IOleInPlaceObjectWindowless* m_windowlessObject = nullptr;  // the same, when windowless
    bool m_locked = false;
    bool m_focused = false;
    bool m_captured = false;
    bool m_uiActivated = false;
    bool m_inPlaceActive = false;
    bool m_windowless = true;
};

}  // namespace SkinUI
