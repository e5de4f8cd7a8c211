#include "controls/com/ComSupport.h"

#include <ocidl.h>

#include <string>

#include "core/CodePage.h"

namespace SkinUI {

namespace {

bool TypeFits(const VARIANT& arg, VARTYPE wanted)
{
    const VARTYPE given = V_VT(&arg);
    const bool fits = given == wanted || (wanted == VT_I4 && given == VT_UI4)
        || (wanted == (VT_I4 | VT_BYREF) && given == (VT_UI4 | VT_BYREF));
    return fits && ((wanted & VT_BYREF) == 0 || V_BYREF(&arg) != nullptr);
}

}  // namespace

HRESULT CheckEventArgs(const DISPPARAMS* params, const VARTYPE* types, UINT count)
{
    if (params == nullptr || params->cArgs != count || (count > 0 && params->rgvarg == nullptr))
        return DISP_E_BADPARAMCOUNT;
    for (UINT i = 0; i < count; ++i)
        if (!TypeFits(EventArg(params, i), types[i]))
            return DISP_E_TYPEMISMATCH;
    return S_OK;
}

HRESULT SubscribeEvents(IUnknown* source, REFIID events, IUnknown* sink, DWORD& cookie, bool subscribe)
{
    if (source == nullptr)
        return E_POINTER;
    if (!subscribe && cookie == 0)
        return S_FALSE;
    IConnectionPointContainer* container = nullptr;
    HRESULT hr = source->QueryInterface(IID_IConnectionPointContainer, reinterpret_cast<void**>(&container));
    if (FAILED(hr) || container == nullptr)
        return FAILED(hr) ? hr : E_NOINTERFACE;
    IConnectionPoint* point = nullptr;
    hr = container->FindConnectionPoint(events, &point);
    if (SUCCEEDED(hr) && point != nullptr) {
        if (subscribe) {
            hr = point->Advise(sink, &cookie);
        } else {
            hr = point->Unadvise(cookie);
            cookie = 0;
        }
        point->Release();
    }
    container->Release();
    return hr;
}

BSTR AllocWideString(const char* text)
{
    if (text == nullptr)
        return nullptr;
    std::wstring wide;
    if (!WideFromCodePage(text, CP_ACP, wide))
        return nullptr;
    return ::SysAllocStringLen(wide.c_str(), static_cast<UINT>(wide.size()));
}

}  // namespace SkinUI
