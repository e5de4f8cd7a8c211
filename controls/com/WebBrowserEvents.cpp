// The web browser control's navigation event sink. Arguments arrive from the browser in reverse
// order; each event's are checked before they are read or handed to the handler.
#include "controls/com/ComSupport.h"
#include "controls/com/WebBrowser.h"

namespace SkinUI {

namespace {

const DISPID kStatusTextChange = 102;
const DISPID kCommandStateChange = 105;
const DISPID kBeforeNavigate2 = 250;
const DISPID kNavigateComplete2 = 252;
const DISPID kNavigateError = 271;
const DISPID kNewWindow3 = 273;

const VARTYPE kByRefVariant = VT_VARIANT | VT_BYREF;
const VARTYPE kByRefBool = VT_BOOL | VT_BYREF;

}  // namespace

STDMETHODIMP CWebBrowserUI::GetTypeInfoCount(UINT* count)
{
    if (count != nullptr)
        *count = 0;
    return E_NOTIMPL;
}

STDMETHODIMP CWebBrowserUI::GetTypeInfo(UINT /*index*/, LCID /*locale*/, ITypeInfo** /*out*/) { return E_NOTIMPL; }

STDMETHODIMP CWebBrowserUI::GetIDsOfNames(
    REFIID /*iid*/, LPOLESTR* /*names*/, UINT /*count*/, LCID /*locale*/, DISPID* /*ids*/)
{
    return E_NOTIMPL;
}

STDMETHODIMP CWebBrowserUI::Invoke(DISPID id, REFIID iid, LCID /*locale*/, WORD /*flags*/, DISPPARAMS* params,
    VARIANT* /*result*/, EXCEPINFO* /*exception*/, UINT* /*argError*/)
{
    if (iid != IID_NULL)
        return E_INVALIDARG;
    switch (id) {
    case kStatusTextChange:
        return S_OK;
    case kNavigateComplete2:
        return OnNavigateComplete(params);
    case kCommandStateChange:
    case kBeforeNavigate2:
    case kNavigateError:
    case kNewWindow3:
        // Without a handler nothing is read: the browser's answer is the same either way.
        return m_eventHandler != nullptr ? OnHandlerEvent(id, params) : S_OK;
    default:
        return DISP_E_MEMBERNOTFOUND;
    }
}

HRESULT CWebBrowserUI::OnNavigateComplete(const DISPPARAMS* params)
{
    // Every completed navigation (frames too) may bring a new document: take its UI questions.
    SetDocumentUIHandler(static_cast<IDocHostUIHandler*>(this));
    if (m_eventHandler == nullptr)
        return S_OK;
    static const VARTYPE kTypes[] = {VT_DISPATCH, kByRefVariant};
    const HRESULT hr = CheckEventArgs(params, kTypes, 2);
    if (FAILED(hr))
        return hr;
    m_eventHandler->NavigateComplete2(V_DISPATCH(&EventArg(params, 0)), V_VARIANTREF(&EventArg(params, 1)));
    return S_OK;
}

HRESULT CWebBrowserUI::OnHandlerEvent(DISPID id, const DISPPARAMS* params)
{
    static const VARTYPE kCommand[] = {VT_I4, VT_BOOL};
    static const VARTYPE kBefore[]
        = {VT_DISPATCH, kByRefVariant, kByRefVariant, kByRefVariant, kByRefVariant, kByRefVariant, kByRefBool};
    static const VARTYPE kError[] = {VT_DISPATCH, kByRefVariant, kByRefVariant, kByRefVariant, kByRefBool};
    static const VARTYPE kNewWindow[] = {VT_DISPATCH | VT_BYREF, kByRefBool, VT_I4, VT_BSTR, VT_BSTR};
    const auto arg = [params](UINT index) -> VARIANT& { return EventArg(params, index); };
    HRESULT hr = S_OK;
    switch (id) {
    case kCommandStateChange:
        hr = CheckEventArgs(params, kCommand, 2);
        if (SUCCEEDED(hr))
            m_eventHandler->CommandStateChange(V_I4(&arg(0)), V_BOOL(&arg(1)));
        return hr;
    case kBeforeNavigate2:
        hr = CheckEventArgs(params, kBefore, 7);
        if (SUCCEEDED(hr))
            m_eventHandler->BeforeNavigate2(V_DISPATCH(&arg(0)), V_VARIANTREF(&arg(1)), V_VARIANTREF(&arg(2)),
                V_VARIANTREF(&arg(3)), V_VARIANTREF(&arg(4)), V_VARIANTREF(&arg(5)), V_BOOLREF(&arg(6)));
        return hr;
    case kNavigateError:
        hr = CheckEventArgs(params, kError, 5);
        if (SUCCEEDED(hr))
            m_eventHandler->NavigateError(V_DISPATCH(&arg(0)), V_VARIANTREF(&arg(1)), V_VARIANTREF(&arg(2)),
                V_VARIANTREF(&arg(3)), V_BOOLREF(&arg(4)));
        return hr;
    default:  // kNewWindow3
        hr = CheckEventArgs(params, kNewWindow, 5);
        if (SUCCEEDED(hr))
            m_eventHandler->NewWindow3(V_DISPATCHREF(&arg(0)), V_BOOLREF(&arg(1)), static_cast<DWORD>(V_I4(&arg(2))),
                V_BSTR(&arg(3)), V_BSTR(&arg(4)));
        return hr;
    }
}

}  // namespace SkinUI
