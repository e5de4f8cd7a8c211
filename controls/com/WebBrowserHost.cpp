// The web browser control's document-host side: UI handler questions to the application's
// handler, the download service, and the script-error command.
#include <mshtml.h>

#include <initializer_list>

#include "controls/com/WebBrowser.h"

namespace SkinUI {

namespace {

// CGID_DocHostCommandHandler, which the import libraries do not carry.
const GUID kDocHostCommandGroup = {0xF38BC242, 0xB950, 0x11D1, {0x89, 0x18, 0x00, 0xC0, 0x4F, 0xC2, 0xC8, 0x36}};
const IID kDownloadManagerIid = {0x988934A4, 0x064B, 0x11D3, {0xBB, 0x80, 0x00, 0x10, 0x4B, 0x35, 0xE7, 0xF9}};

// Reads one property of a script error event; the values only need to be asked for.
void ReadEventProperty(IDispatch* event, const wchar_t* name)
{
    LPOLESTR names[] = {const_cast<LPOLESTR>(name)};
    DISPID id = 0;
    if (FAILED(event->GetIDsOfNames(IID_NULL, names, 1, LOCALE_SYSTEM_DEFAULT, &id)))
        return;
    DISPPARAMS none = {};
    VARIANT value;
    ::VariantInit(&value);
    event->Invoke(id, IID_NULL, LOCALE_SYSTEM_DEFAULT, DISPATCH_PROPERTYGET, &none, &value, nullptr, nullptr);
    ::VariantClear(&value);
}

// The current event of the document's window: the script error being reported, or null.
IDispatch* ScriptErrorEvent(IUnknown* input)
{
    IHTMLDocument2* document = nullptr;
    if (FAILED(input->QueryInterface(IID_IHTMLDocument2, reinterpret_cast<void**>(&document))) || document == nullptr)
        return nullptr;
    IHTMLWindow2* window = nullptr;
    IHTMLEventObj* event = nullptr;
    if (SUCCEEDED(document->get_parentWindow(&window)) && window != nullptr) {
        if (FAILED(window->get_event(&event)))
            event = nullptr;
        window->Release();
    }
    document->Release();
    IDispatch* dispatch = nullptr;
    if (event != nullptr) {
        if (FAILED(event->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&dispatch))))
            dispatch = nullptr;
        event->Release();
    }
    return dispatch;
}

}  // namespace

//--- IDocHostUIHandler --------------------------------------------------------------------------

STDMETHODIMP CWebBrowserUI::ShowContextMenu(DWORD id, POINT* pt, IUnknown* target, IDispatch* object)
{
    return Handler().ShowContextMenu(id, pt, target, object);
}

STDMETHODIMP CWebBrowserUI::GetHostInfo(DOCHOSTUIINFO* info) { return Handler().GetHostInfo(info); }

STDMETHODIMP CWebBrowserUI::ShowUI(DWORD id, IOleInPlaceActiveObject* active, IOleCommandTarget* target,
    IOleInPlaceFrame* frame, IOleInPlaceUIWindow* document)
{
    return Handler().ShowUI(id, active, target, frame, document);
}

STDMETHODIMP CWebBrowserUI::HideUI() { return Handler().HideUI(); }
STDMETHODIMP CWebBrowserUI::UpdateUI() { return Handler().UpdateUI(); }
STDMETHODIMP CWebBrowserUI::EnableModeless(BOOL enable) { return Handler().EnableModeless(enable); }
STDMETHODIMP CWebBrowserUI::OnDocWindowActivate(BOOL activate) { return Handler().OnDocWindowActivate(activate); }
STDMETHODIMP CWebBrowserUI::OnFrameWindowActivate(BOOL activate) { return Handler().OnFrameWindowActivate(activate); }

STDMETHODIMP CWebBrowserUI::ResizeBorder(LPCRECT border, IOleInPlaceUIWindow* window, BOOL frame)
{
    return Handler().ResizeBorder(border, window, frame);
}

STDMETHODIMP CWebBrowserUI::TranslateAccelerator(LPMSG msg, const GUID* group, DWORD command)
{
    return Handler().TranslateAccelerator(msg, group, command);
}

STDMETHODIMP CWebBrowserUI::GetOptionKeyPath(LPOLESTR* key, DWORD reserved)
{
    return Handler().GetOptionKeyPath(key, reserved);
}

STDMETHODIMP CWebBrowserUI::GetDropTarget(IDropTarget* target, IDropTarget** out)
{
    return Handler().GetDropTarget(target, out);
}

STDMETHODIMP CWebBrowserUI::GetExternal(IDispatch** out) { return Handler().GetExternal(out); }

STDMETHODIMP CWebBrowserUI::TranslateUrl(DWORD translate, LPWSTR url, LPWSTR* out)
{
    return Handler().TranslateUrl(translate, url, out);
}

STDMETHODIMP CWebBrowserUI::FilterDataObject(IDataObject* object, IDataObject** out)
{
    return Handler().FilterDataObject(object, out);
}

STDMETHODIMP CWebBrowserUI::Download(IMoniker* moniker, IBindCtx* context, DWORD verb, LONG flags, BINDINFO* info,
    LPCOLESTR headers, LPCOLESTR redirect, UINT codePage)
{
    return Handler().Download(moniker, context, verb, flags, info, headers, redirect, codePage);
}

//--- IServiceProvider ---------------------------------------------------------------------------

STDMETHODIMP CWebBrowserUI::QueryService(REFGUID service, REFIID iid, void** out)
{
    if (out == nullptr)
        return E_POINTER;
    *out = nullptr;
    if (service != kDownloadManagerIid || iid != kDownloadManagerIid)
        return E_NOINTERFACE;
    *out = static_cast<IDownloadManager*>(this);
    AddRef();
    return S_OK;
}

//--- IOleCommandTarget --------------------------------------------------------------------------

STDMETHODIMP CWebBrowserUI::QueryStatus(
    const GUID* /*group*/, ULONG /*count*/, OLECMD* /*commands*/, OLECMDTEXT* /*text*/)
{
    return OLECMDERR_E_NOTSUPPORTED;
}

STDMETHODIMP CWebBrowserUI::Exec(const GUID* group, DWORD command, DWORD /*options*/, VARIANT* in, VARIANT* out)
{
    if (group == nullptr || *group != kDocHostCommandGroup)
        return OLECMDERR_E_UNKNOWNGROUP;
    if (command != OLECMDID_SHOWSCRIPTERROR)
        return OLECMDERR_E_NOTSUPPORTED;
    if (out == nullptr)
        return E_POINTER;
    if (in == nullptr || (V_VT(in) != VT_UNKNOWN && V_VT(in) != VT_DISPATCH) || V_UNKNOWN(in) == nullptr)
        return E_INVALIDARG;
    IDispatch* event = ScriptErrorEvent(V_UNKNOWN(in));
    if (event != nullptr) {
        for (const wchar_t* name : {L"errorLine", L"errorCharacter", L"errorCode", L"errorMessage", L"errorUrl"})
            ReadEventProperty(event, name);
        event->Release();
    }
    // Keep running the page's scripts, and show no dialog, whatever the reads gave.
    ::VariantClear(out);
    V_VT(out) = VT_BOOL;
    V_BOOL(out) = VARIANT_TRUE;
    return S_OK;
}

}  // namespace SkinUI
