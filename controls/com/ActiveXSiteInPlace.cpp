// The site's in-place side: activation, the window context, capture, focus and drawing surfaces
// for a windowless object, and the window of a windowed one.
#include <new>

#include "controls/com/ActiveX.h"
#include "controls/com/ActiveXFrame.h"
#include "controls/com/ActiveXSite.h"
#include "controls/com/ActiveXWnd.h"
#include "host/WindowHost.h"

namespace SkinUI {

HRESULT CActiveXCtrl::CreateObjectWindow()
{
    if (m_window != nullptr)
        return S_OK;
    m_window = new (std::nothrow) CActiveXWnd(this);
    if (m_window == nullptr)
        return E_OUTOFMEMORY;
    m_owner->SetHostWindow(m_window->Init(m_owner->GetSkinWindow()));
    return S_OK;
}

void CActiveXCtrl::DestroyObjectWindow()
{
    if (m_window == nullptr)
        return;
    const HWND hwnd = m_window->GetHWND();
    // The control must not keep handing out a handle that is about to die.
    if (m_owner != nullptr && hwnd != nullptr && m_owner->GetHostWindow() == hwnd)
        m_owner->SetHostWindow(nullptr);
    if (hwnd != nullptr)
        ::DestroyWindow(hwnd);
    delete m_window;
    m_window = nullptr;
}

//--- IOleWindow ---------------------------------------------------------------------------------

STDMETHODIMP CActiveXCtrl::GetWindow(HWND* out)
{
    if (out == nullptr)
        return E_POINTER;
    *out = nullptr;
    if (m_owner == nullptr)
        return E_UNEXPECTED;
    if (m_owner->GetHostWindow() == nullptr)
        CreateObjectWindow();
    *out = m_owner->GetHostWindow();
    return *out != nullptr ? S_OK : E_FAIL;
}

STDMETHODIMP CActiveXCtrl::ContextSensitiveHelp(BOOL /*enterMode*/) { return S_OK; }

//--- IOleInPlaceSite ----------------------------------------------------------------------------

STDMETHODIMP CActiveXCtrl::CanInPlaceActivate() { return S_OK; }
STDMETHODIMP CActiveXCtrl::OnInPlaceActivate() { return OnInPlaceActivateEx(nullptr, 0); }

STDMETHODIMP CActiveXCtrl::OnUIActivate()
{
    m_uiActivated = true;
    return S_OK;
}

STDMETHODIMP CActiveXCtrl::GetWindowContext(IOleInPlaceFrame** frame, IOleInPlaceUIWindow** document, LPRECT position,
    LPRECT clip, LPOLEINPLACEFRAMEINFO frameInfo)
{
    if (frame == nullptr || document == nullptr || position == nullptr || clip == nullptr || frameInfo == nullptr)
        return E_POINTER;
    *frame = nullptr;
    *document = nullptr;
    if (m_owner == nullptr)
        return E_UNEXPECTED;
    if (m_window != nullptr && m_window->GetHWND() != nullptr)
        ::GetClientRect(m_window->GetHWND(), position);
    else
        *position = ObjectRect();
    *clip = *position;
    *frame = new CActiveXFrameWnd(this);
    ACCEL none = {};
    // The caller has set frameInfo->cb for the structure it knows; it stays as it is.
    frameInfo->fMDIApp = FALSE;
    frameInfo->hwndFrame = m_owner->GetSkinWindow();
    frameInfo->haccel = ::CreateAcceleratorTableA(&none, 1);
    frameInfo->cAccelEntries = 1;
    return S_OK;
}

STDMETHODIMP CActiveXCtrl::Scroll(SIZE /*extent*/) { return E_NOTIMPL; }

STDMETHODIMP CActiveXCtrl::OnUIDeactivate(BOOL /*undoable*/)
{
    m_uiActivated = false;
    return S_OK;
}

STDMETHODIMP CActiveXCtrl::OnInPlaceDeactivate() { return OnInPlaceDeactivateEx(TRUE); }
STDMETHODIMP CActiveXCtrl::DiscardUndoState() { return E_NOTIMPL; }
STDMETHODIMP CActiveXCtrl::DeactivateAndUndo() { return E_NOTIMPL; }
STDMETHODIMP CActiveXCtrl::OnPosRectChange(LPCRECT /*position*/) { return E_NOTIMPL; }

//--- IOleInPlaceSiteEx --------------------------------------------------------------------------

STDMETHODIMP CActiveXCtrl::OnInPlaceActivateEx(BOOL* /*noRedraw*/, DWORD flags)
{
    if (m_owner == nullptr || m_owner->GetOleObject() == nullptr)
        return E_UNEXPECTED;
    IOleObject* object = m_owner->GetOleObject();
    ::OleLockRunning(object, TRUE, FALSE);
    if (m_inPlaceObject != nullptr)
        m_inPlaceObject->Release();
    m_inPlaceObject = nullptr;
    m_windowlessObject = nullptr;
    HRESULT hr = E_FAIL;
    if ((flags & ACTIVATE_WINDOWLESS) != 0) {
        m_windowless = true;
        hr = object->QueryInterface(IID_IOleInPlaceObjectWindowless, reinterpret_cast<void**>(&m_windowlessObject));
        if (SUCCEEDED(hr) && m_windowlessObject != nullptr) {
            m_inPlaceObject = m_windowlessObject;
            m_owner->SetHostWindow(m_owner->GetSkinWindow());
            m_owner->RegisterMessageFilter();
        } else {
            m_windowlessObject = nullptr;
        }
    }
    if (m_inPlaceObject == nullptr) {
        m_windowless = false;
        hr = CreateObjectWindow();
        if (FAILED(hr))
            return hr;
        hr = object->QueryInterface(IID_IOleInPlaceObject, reinterpret_cast<void**>(&m_inPlaceObject));
        if (FAILED(hr))
            m_inPlaceObject = nullptr;
    }
    if (m_inPlaceObject != nullptr) {
        const RECT rect = ObjectRect();
        m_inPlaceObject->SetObjectRects(&rect, &rect);
    }
    m_inPlaceActive = SUCCEEDED(hr);
    return hr;
}

STDMETHODIMP CActiveXCtrl::OnInPlaceDeactivateEx(BOOL /*noRedraw*/)
{
    m_inPlaceActive = false;
    if (m_inPlaceObject != nullptr)
        m_inPlaceObject->Release();
    m_inPlaceObject = nullptr;
    m_windowlessObject = nullptr;
    DestroyObjectWindow();
    return S_OK;
}

STDMETHODIMP CActiveXCtrl::RequestUIActivate() { return S_OK; }

//--- IOleInPlaceSiteWindowless ------------------------------------------------------------------

STDMETHODIMP CActiveXCtrl::CanWindowlessActivate() { return S_OK; }
STDMETHODIMP CActiveXCtrl::GetCapture() { return m_captured ? S_OK : S_FALSE; }

STDMETHODIMP CActiveXCtrl::SetCapture(BOOL capture)
{
    if (m_owner == nullptr)
        return E_UNEXPECTED;
    CWindowHostUI* host = m_owner->GetHost();
    if (host == nullptr)
        return E_UNEXPECTED;
    // Through the host, which ends it when the control is hidden, disabled or removed. The flag
    // is set first and cleared first, so our own release is not taken for a loss.
    const bool wasCaptured = m_captured;
    m_captured = capture != FALSE;
    if (m_captured)
        host->CaptureMouseFor(m_owner);
    else if (wasCaptured)
        host->ReleaseMouseFor(m_owner);
    return S_OK;
}

STDMETHODIMP CActiveXCtrl::GetFocus() { return m_focused ? S_OK : S_FALSE; }

STDMETHODIMP CActiveXCtrl::SetFocus(BOOL focus)
{
    if (m_owner == nullptr)
        return E_UNEXPECTED;
    if (focus != FALSE)
        m_owner->TakeFocus();
    m_focused = focus == TRUE;
    return S_OK;
}

STDMETHODIMP CActiveXCtrl::GetDC(LPCRECT /*rect*/, DWORD flags, HDC* out)
{
    if (out == nullptr)
        return E_POINTER;
    *out = nullptr;
    if (m_owner == nullptr)
        return E_UNEXPECTED;
    // Without a window of our own, GetDC(NULL) would be the whole screen.
    const HWND window = OwnerWindow();
    if (window == nullptr)
        return E_FAIL;
    *out = ::GetDC(window);
    if (*out == nullptr)
        return E_FAIL;
    if ((flags & OLEDC_PAINTBKGND) != 0) {
        const RECT rect = ObjectRect();
        ::FillRect(*out, &rect, reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_WINDOW + 1)));
    }
    return S_OK;
}

STDMETHODIMP CActiveXCtrl::ReleaseDC(HDC dc)
{
    if (m_owner == nullptr)
        return E_UNEXPECTED;
    ::ReleaseDC(OwnerWindow(), dc);
    return S_OK;
}

STDMETHODIMP CActiveXCtrl::InvalidateRect(LPCRECT rect, BOOL erase)
{
    if (m_owner == nullptr)
        return E_UNEXPECTED;
    // A null window would invalidate every window of the desktop.
    const HWND window = OwnerWindow();
    return window != nullptr && ::InvalidateRect(window, rect, erase) ? S_OK : E_FAIL;
}

STDMETHODIMP CActiveXCtrl::InvalidateRgn(HRGN region, BOOL erase)
{
    if (m_owner == nullptr)
        return E_UNEXPECTED;
    // A null window would invalidate every window of the desktop.
    const HWND window = OwnerWindow();
    return window != nullptr && ::InvalidateRgn(window, region, erase) ? S_OK : E_FAIL;
}

STDMETHODIMP CActiveXCtrl::ScrollRect(INT /*dx*/, INT /*dy*/, LPCRECT /*scroll*/, LPCRECT /*clip*/) { return S_OK; }
STDMETHODIMP CActiveXCtrl::AdjustRect(LPRECT /*rect*/) { return S_OK; }

STDMETHODIMP CActiveXCtrl::OnDefWindowMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    if (result == nullptr)
        return E_POINTER;
    if (m_owner == nullptr)
        return E_UNEXPECTED;
    *result = ::DefWindowProcA(OwnerWindow(), message, wParam, lParam);
    return S_OK;
}

}  // namespace SkinUI
