// The site's identity and lifetime, and its client-site, control-site, object-with-site and
// container sides. The in-place side is in ActiveXSiteInPlace.cpp.
#include "controls/com/ActiveXSite.h"

#include "controls/com/ActiveX.h"
#include "controls/com/ActiveXEnum.h"
#include "controls/com/ActiveXWnd.h"

namespace SkinUI {

CActiveXCtrl::CActiveXCtrl(CActiveXUI* owner)
    : m_owner(owner)
{
}

CActiveXCtrl::~CActiveXCtrl()
{
    DestroyObjectWindow();
    if (m_outerSite != nullptr)
        m_outerSite->Release();
    ReleaseObjectInterfaces();
}

void CActiveXCtrl::DropOwner()
{
    // An object that never deactivated leaves its window here; nothing may reach the control now.
    DestroyObjectWindow();
    m_owner = nullptr;
    // Whoever still holds the site must not keep the object alive through it (nor close a cycle
    // with an object that keeps its client site).
    ReleaseObjectInterfaces();
}

void CActiveXCtrl::ReleaseObjectInterfaces()
{
    m_inPlaceActive = false;
    if (m_viewObject != nullptr)
        m_viewObject->Release();
    m_viewObject = nullptr;
    m_viewObjectEx = nullptr;
    if (m_inPlaceObject != nullptr)
        m_inPlaceObject->Release();
    m_inPlaceObject = nullptr;
    m_windowlessObject = nullptr;
}

void CActiveXCtrl::TakeViewObject(IUnknown* object)
{
    if (m_viewObject != nullptr)
        m_viewObject->Release();
    m_viewObject = nullptr;
    m_viewObjectEx = nullptr;
    void* view = nullptr;
    if (SUCCEEDED(object->QueryInterface(IID_IViewObjectEx, &view)) && view != nullptr) {
        m_viewObjectEx = static_cast<IViewObjectEx*>(view);
        m_viewObject = m_viewObjectEx;
    } else if (SUCCEEDED(object->QueryInterface(IID_IViewObject2, &view)) && view != nullptr) {
        m_viewObject = static_cast<IViewObject2*>(view);
    } else if (SUCCEEDED(object->QueryInterface(IID_IViewObject, &view)) && view != nullptr) {
        m_viewObject = static_cast<IViewObject*>(view);
    }
}

RECT CActiveXCtrl::ObjectRect() const
{
    CRectUI rect = m_owner != nullptr ? m_owner->GetPosition() : CRectUI();
    if (!m_windowless)
        rect.Offset(-rect.left, -rect.top);
    return rect;
}

HWND CActiveXCtrl::OwnerWindow() const { return m_owner != nullptr ? m_owner->GetHostWindow() : nullptr; }

//--- IUnknown -----------------------------------------------------------------------------------

STDMETHODIMP CActiveXCtrl::QueryInterface(REFIID iid, void** out)
{
    if (out == nullptr)
        return E_POINTER;
    *out = nullptr;
    if (iid == IID_IUnknown || iid == IID_IOleInPlaceSiteWindowless || iid == IID_IOleInPlaceSiteEx
        || iid == IID_IOleInPlaceSite || iid == IID_IOleWindow)
        *out = static_cast<IOleInPlaceSiteWindowless*>(this);
    else if (iid == IID_IOleClientSite)
        *out = static_cast<IOleClientSite*>(this);
    else if (iid == IID_IOleControlSite)
        *out = static_cast<IOleControlSite*>(this);
    else if (iid == IID_IObjectWithSite)
        *out = static_cast<IObjectWithSite*>(this);
    else if (iid == IID_IOleContainer || iid == IID_IParseDisplayName)
        *out = static_cast<IOleContainer*>(this);
    if (*out == nullptr)
        return E_NOINTERFACE;
    AddRef();
    return S_OK;
}

STDMETHODIMP_(ULONG) CActiveXCtrl::AddRef() { return ++m_refs; }

STDMETHODIMP_(ULONG) CActiveXCtrl::Release()
{
    const ULONG refs = --m_refs;
    if (refs == 0)
        delete this;
    return refs;
}

//--- IOleClientSite -----------------------------------------------------------------------------

STDMETHODIMP CActiveXCtrl::SaveObject() { return E_NOTIMPL; }

STDMETHODIMP CActiveXCtrl::GetMoniker(DWORD /*assign*/, DWORD /*whichMoniker*/, IMoniker** out)
{
    if (out != nullptr)
        *out = nullptr;
    return E_NOTIMPL;
}

STDMETHODIMP CActiveXCtrl::GetContainer(IOleContainer** out)
{
    if (out == nullptr)
        return E_POINTER;
    *out = nullptr;
    if (m_owner == nullptr)
        return E_UNEXPECTED;
    if (m_outerSite != nullptr
        && SUCCEEDED(m_outerSite->QueryInterface(IID_IOleContainer, reinterpret_cast<void**>(out))))
        return S_OK;
    *out = static_cast<IOleContainer*>(this);
    AddRef();
    return S_OK;
}

STDMETHODIMP CActiveXCtrl::ShowObject()
{
    if (m_owner == nullptr)
        return E_UNEXPECTED;
    // Without a window of our own, GetDC(NULL) would be the whole screen.
    const HWND window = OwnerWindow();
    if (window == nullptr)
        return E_FAIL;
    const HDC dc = ::GetDC(window);
    if (dc == nullptr)
        return E_FAIL;
    if (m_viewObject != nullptr) {
        const CRectUI& position = m_owner->GetPosition();
        RECTL bounds = {position.left, position.top, position.right, position.bottom};
        m_viewObject->Draw(DVASPECT_CONTENT, -1, nullptr, nullptr, nullptr, dc, &bounds, nullptr, nullptr, 0);
    }
    ::ReleaseDC(window, dc);
    return S_OK;
}

STDMETHODIMP CActiveXCtrl::OnShowWindow(BOOL /*show*/) { return E_NOTIMPL; }
STDMETHODIMP CActiveXCtrl::RequestNewObjectLayout() { return E_NOTIMPL; }

//--- IOleControlSite ----------------------------------------------------------------------------

STDMETHODIMP CActiveXCtrl::OnControlInfoChanged() { return S_OK; }
STDMETHODIMP CActiveXCtrl::LockInPlaceActive(BOOL /*lock*/) { return S_OK; }

STDMETHODIMP CActiveXCtrl::GetExtendedControl(IDispatch** out)
{
    if (out == nullptr)
        return E_POINTER;
    *out = nullptr;
    if (m_owner == nullptr || m_owner->GetOleObject() == nullptr)
        return E_UNEXPECTED;
    return m_owner->GetOleObject()->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(out));
}

STDMETHODIMP CActiveXCtrl::TransformCoords(POINTL* /*himetric*/, POINTF* /*container*/, DWORD /*flags*/)
{
    return S_OK;
}
STDMETHODIMP CActiveXCtrl::TranslateAccelerator(MSG* /*msg*/, DWORD /*modifiers*/) { return S_FALSE; }

STDMETHODIMP CActiveXCtrl::OnFocus(BOOL gotFocus)
{
    m_focused = gotFocus == TRUE;
    return S_OK;
}

STDMETHODIMP CActiveXCtrl::ShowPropertyFrame() { return E_NOTIMPL; }

//--- IObjectWithSite ----------------------------------------------------------------------------

STDMETHODIMP CActiveXCtrl::SetSite(IUnknown* site)
{
    if (site != nullptr)
        site->AddRef();
    if (m_outerSite != nullptr)
        m_outerSite->Release();
    m_outerSite = site;
    return S_OK;
}

STDMETHODIMP CActiveXCtrl::GetSite(REFIID iid, void** out)
{
    if (out == nullptr)
        return E_POINTER;
    *out = nullptr;
    if (m_outerSite == nullptr)
        return E_FAIL;
    return m_outerSite->QueryInterface(iid, out);
}

//--- IOleContainer ------------------------------------------------------------------------------

STDMETHODIMP CActiveXCtrl::ParseDisplayName(
    IBindCtx* /*context*/, LPOLESTR /*name*/, ULONG* /*eaten*/, IMoniker** /*out*/)
{
    return E_NOTIMPL;
}

STDMETHODIMP CActiveXCtrl::EnumObjects(DWORD /*flags*/, IEnumUnknown** out)
{
    if (out == nullptr)
        return E_POINTER;
    *out = nullptr;
    if (m_owner == nullptr)
        return E_UNEXPECTED;
    *out = new CActiveXEnum(m_owner->GetOleObject());
    return S_OK;
}

STDMETHODIMP CActiveXCtrl::LockContainer(BOOL lock)
{
    m_locked = lock != FALSE;
    return S_OK;
}

}  // namespace SkinUI
