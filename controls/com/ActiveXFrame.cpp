#include "controls/com/ActiveXFrame.h"

#include "controls/com/ActiveX.h"
#include "controls/com/ActiveXSite.h"

namespace SkinUI {

CActiveXFrameWnd::CActiveXFrameWnd(CActiveXCtrl* site)
    : m_site(site)
{
    m_site->AddRef();
}

CActiveXFrameWnd::~CActiveXFrameWnd()
{
    if (m_activeObject != nullptr)
        m_activeObject->Release();
    m_site->Release();
}

STDMETHODIMP CActiveXFrameWnd::QueryInterface(REFIID iid, void** out)
{
    if (out == nullptr)
        return E_POINTER;
    *out = nullptr;
    if (iid != IID_IUnknown && iid != IID_IOleWindow && iid != IID_IOleInPlaceUIWindow && iid != IID_IOleInPlaceFrame)
        return E_NOINTERFACE;
    *out = static_cast<IOleInPlaceFrame*>(this);
    AddRef();
    return S_OK;
}

STDMETHODIMP_(ULONG) CActiveXFrameWnd::AddRef() { return ++m_refs; }

STDMETHODIMP_(ULONG) CActiveXFrameWnd::Release()
{
    const ULONG refs = --m_refs;
    if (refs == 0)
        delete this;
    return refs;
}

STDMETHODIMP CActiveXFrameWnd::GetWindow(HWND* out)
{
    if (out == nullptr)
        return E_POINTER;
    *out = nullptr;
    const CActiveXUI* owner = m_site->GetOwner();
    if (owner == nullptr)
        return E_UNEXPECTED;
    *out = owner->GetSkinWindow();
    return S_OK;
}

STDMETHODIMP CActiveXFrameWnd::ContextSensitiveHelp(BOOL /*enterMode*/) { return S_OK; }
STDMETHODIMP CActiveXFrameWnd::GetBorder(LPRECT /*border*/) { return S_OK; }
STDMETHODIMP CActiveXFrameWnd::RequestBorderSpace(LPCBORDERWIDTHS /*widths*/) { return INPLACE_E_NOTOOLSPACE; }
STDMETHODIMP CActiveXFrameWnd::SetBorderSpace(LPCBORDERWIDTHS /*widths*/) { return S_OK; }

STDMETHODIMP CActiveXFrameWnd::SetActiveObject(IOleInPlaceActiveObject* object, LPCOLESTR /*name*/)
{
    if (object != nullptr)
        object->AddRef();
    if (m_activeObject != nullptr)
        m_activeObject->Release();
    m_activeObject = object;
    return S_OK;
}

STDMETHODIMP CActiveXFrameWnd::InsertMenus(HMENU /*menu*/, LPOLEMENUGROUPWIDTHS /*widths*/) { return S_OK; }
STDMETHODIMP CActiveXFrameWnd::SetMenu(HMENU /*menu*/, HOLEMENU /*shared*/, HWND /*activeObject*/) { return S_OK; }
STDMETHODIMP CActiveXFrameWnd::RemoveMenus(HMENU /*menu*/) { return S_OK; }
STDMETHODIMP CActiveXFrameWnd::SetStatusText(LPCOLESTR /*text*/) { return S_OK; }
STDMETHODIMP CActiveXFrameWnd::EnableModeless(BOOL /*enable*/) { return S_OK; }
STDMETHODIMP CActiveXFrameWnd::TranslateAccelerator(LPMSG /*msg*/, WORD /*id*/) { return S_FALSE; }

}  // namespace SkinUI
