// IWebBrowserEventHandler: the application's side of a CWebBrowserUI.
//
// The control forwards navigation events and every document-host question here, in this slot
// order. Each operation's own body is the control's answer when no handler is set, so a handler
// overrides only what it cares about. The arguments are the platform's, unchanged; the URL
// variants are checked to be by-reference variants before a handler sees them.
#pragma once

#include <docobj.h>
#include <downloadmgr.h>
#include <mshtmhst.h>
#include <ole2.h>
#include <windows.h>

namespace SkinUI {

class IWebBrowserEventHandler {
public:
    virtual void BeforeNavigate2(IDispatch* /*browser*/, VARIANT* /*url*/, VARIANT* /*flags*/, VARIANT* /*targetFrame*/,
        VARIANT* /*postData*/, VARIANT* /*headers*/, VARIANT_BOOL* /*cancel*/)
    {
    }
    virtual void NavigateError(
        IDispatch* /*browser*/, VARIANT* /*url*/, VARIANT* /*frame*/, VARIANT* /*status*/, VARIANT_BOOL* /*cancel*/)
    {
    }
    virtual void NavigateComplete2(IDispatch* /*browser*/, VARIANT* /*url*/) { }
    // Kept for the slot order that handlers are written against; the control never calls it.
    virtual void ReservedEvent() { }
    virtual void NewWindow3(
        IDispatch** /*browser*/, VARIANT_BOOL* /*cancel*/, DWORD /*flags*/, BSTR /*urlContext*/, BSTR /*url*/)
    {
    }
    virtual void CommandStateChange(LONG /*command*/, VARIANT_BOOL /*enable*/) { }

    virtual HRESULT ShowContextMenu(DWORD /*id*/, POINT* /*pt*/, IUnknown* /*target*/, IDispatch* /*object*/)
    {
        return S_FALSE;
    }
    virtual HRESULT GetHostInfo(DOCHOSTUIINFO* /*info*/) { return E_NOTIMPL; }
    virtual HRESULT ShowUI(DWORD /*id*/, IOleInPlaceActiveObject* /*active*/, IOleCommandTarget* /*target*/,
        IOleInPlaceFrame* /*frame*/, IOleInPlaceUIWindow* /*document*/)
    {
        return S_OK;
    }
    virtual HRESULT HideUI() { return S_OK; }
    virtual HRESULT UpdateUI() { return S_OK; }
    virtual HRESULT EnableModeless(BOOL /*enable*/) { return E_NOTIMPL; }
    virtual HRESULT OnDocWindowActivate(BOOL /*activate*/) { return E_NOTIMPL; }
    virtual HRESULT OnFrameWindowActivate(BOOL /*activate*/) { return E_NOTIMPL; }
    virtual HRESULT ResizeBorder(LPCRECT /*border*/, IOleInPlaceUIWindow* /*window*/, BOOL /*frame*/)
    {
        return E_NOTIMPL;
    }
    virtual HRESULT TranslateAccelerator(LPMSG /*msg*/, const GUID* /*group*/, DWORD /*command*/) { return S_FALSE; }
    virtual HRESULT GetOptionKeyPath(LPOLESTR* /*key*/, DWORD /*reserved*/) { return E_NOTIMPL; }
    virtual HRESULT GetDropTarget(IDropTarget* /*target*/, IDropTarget** /*out*/) { return S_FALSE; }
    virtual HRESULT GetExternal(IDispatch** /*out*/) { return S_FALSE; }
    virtual HRESULT TranslateUrl(DWORD /*translate*/, LPWSTR /*url*/, LPWSTR* out)
    {
        if (out != nullptr)
            *out = nullptr;
        return E_NOTIMPL;
    }
    virtual HRESULT FilterDataObject(IDataObject* /*object*/, IDataObject** out)
    {
        if (out != nullptr)
            *out = nullptr;
        return E_NOTIMPL;
    }
    virtual HRESULT Download(IMoniker* /*moniker*/, IBindCtx* /*context*/, DWORD /*verb*/, LONG /*flags*/,
        BINDINFO* /*info*/, LPCOLESTR /*headers*/, LPCOLESTR /*redirect*/, UINT /*codePage*/)
    {
        return S_OK;
    }

protected:
    ~IWebBrowserEventHandler() = default;
};

}  // namespace SkinUI
