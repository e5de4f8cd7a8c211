#include "controls/com/Flash.h"

#include "controls/base/CastChain.h"
#include "controls/com/ComSupport.h"

namespace SkinUI {

namespace {

const char kPlayerClassId[] = "{D27CDB6E-AE6D-11CF-96B8-444553540000}";
const IID kPlayerIid = {0xD27CDB6C, 0xAE6D, 0x11CF, {0x96, 0xB8, 0x44, 0x45, 0x53, 0x54, 0x00, 0x00}};
const IID kPlayerEventsIid = {0xD27CDB6D, 0xAE6D, 0x11CF, {0x96, 0xB8, 0x44, 0x45, 0x53, 0x54, 0x00, 0x00}};

const DISPID kReadyStateChange = -609;
const DISPID kProgress = 1958;
const DISPID kFSCommand = 150;
const DISPID kFlashCall = 197;

}  // namespace

CFlashUI::CFlashUI() { SetClassId(kPlayerClassId); }

CFlashUI::~CFlashUI()
{
    if (m_eventHandler != nullptr)
        m_eventHandler->Release();
    m_eventHandler = nullptr;
    // While the whole control still exists: the player's last calls may still reach the event side.
    CFlashUI::ReleaseObject();
}

const char* CFlashUI::GetTypeName() const { return "Flash"; }

void* CFlashUI::CastTo(const char* name) { return CastToSelfOrBase<CActiveXUI>(this, name); }

CAttributeTable<CFlashUI> CFlashUI::OwnAttributes()
{
    using C = CFlashUI;
    static constexpr TAttributeHandler<C> kTable[] = {
        // Accepted for skins written for the web browser control; the player has no use for them.
        {"homepage", [](C&, const char*) {}},
        {"autonavi", [](C&, const char*) {}},
    };
    return kTable;
}

void CFlashUI::SetAttribute(const char* name, const char* value)
{
    OwnAttributes().ApplyOrBase<CActiveXUI>(*this, name, value);
}

void CFlashUI::AppendAttributeNames(TAttributeNames& names) { OwnAttributes().AppendWithBase<CActiveXUI>(names); }

void CFlashUI::SetEventHandler(IFlashEventHandler* handler)
{
    if (m_eventHandler != nullptr)
        m_eventHandler->Release();
    m_eventHandler = handler;
}

bool CFlashUI::CreateObject()
{
    if (!CActiveXUI::CreateObject())
        return false;
    void* player = nullptr;
    if (SUCCEEDED(QueryObject(kPlayerIid, &player)))
        m_player = static_cast<IDispatch*>(player);
    AdviseEvents(true);
    return true;
}

void CFlashUI::ReleaseObject()
{
    AdviseEvents(false);
    if (m_player != nullptr)
        m_player->Release();
    m_player = nullptr;
    CActiveXUI::ReleaseObject();
}

void CFlashUI::AdviseEvents(bool subscribe)
{
    if (m_player != nullptr)
        SubscribeEvents(m_player, kPlayerEventsIid, static_cast<IDispatch*>(this), m_cookie, subscribe);
}

LRESULT CFlashUI::Translate(const MSG* msg) { return TranslateForObject(m_player, msg); }

//--- event side ---------------------------------------------------------------------------------

STDMETHODIMP CFlashUI::QueryInterface(REFIID iid, void** out)
{
    if (out == nullptr)
        return E_POINTER;
    *out = nullptr;
    if (iid != IID_IUnknown && iid != IID_IDispatch && iid != kPlayerEventsIid)
        return E_NOINTERFACE;
    *out = static_cast<IDispatch*>(this);
    AddRef();
    return S_OK;
}

STDMETHODIMP_(ULONG) CFlashUI::AddRef() { return static_cast<ULONG>(::InterlockedIncrement(&m_eventRefs)); }
STDMETHODIMP_(ULONG) CFlashUI::Release() { return static_cast<ULONG>(::InterlockedDecrement(&m_eventRefs)); }
STDMETHODIMP CFlashUI::GetTypeInfoCount(UINT* /*count*/) { return E_NOTIMPL; }
STDMETHODIMP CFlashUI::GetTypeInfo(UINT /*index*/, LCID /*locale*/, ITypeInfo** /*out*/) { return E_NOTIMPL; }

STDMETHODIMP CFlashUI::GetIDsOfNames(
    REFIID /*iid*/, LPOLESTR* /*names*/, UINT /*count*/, LCID /*locale*/, DISPID* /*ids*/)
{
    return E_NOTIMPL;
}

STDMETHODIMP CFlashUI::Invoke(DISPID id, REFIID /*iid*/, LCID /*locale*/, WORD /*flags*/, DISPPARAMS* params,
    VARIANT* /*result*/, EXCEPINFO* /*exception*/, UINT* /*argError*/)
{
    if (m_eventHandler == nullptr)
        return S_OK;
    static const VARTYPE kState[] = {VT_I4};
    static const VARTYPE kPercent[] = {VT_I4 | VT_BYREF};
    HRESULT hr = S_OK;
    switch (id) {
    case kReadyStateChange:
        hr = CheckEventArgs(params, kState, 1);
        return SUCCEEDED(hr) ? m_eventHandler->OnReadyStateChange(V_I4(&EventArg(params, 0))) : hr;
    case kProgress:
        hr = CheckEventArgs(params, kPercent, 1);
        return SUCCEEDED(hr) ? m_eventHandler->OnProgress(*V_I4REF(&EventArg(params, 0))) : hr;
    case kFSCommand:
        return OnFSCommand(params);
    case kFlashCall:
        return OnFlashCall(params);
    default:
        return S_OK;
    }
}

HRESULT CFlashUI::OnFSCommand(const DISPPARAMS* params)
{
    static const VARTYPE kTexts[] = {VT_BSTR, VT_BSTR};
    const HRESULT hr = CheckEventArgs(params, kTexts, 2);
    if (FAILED(hr))
        return hr;
    // Copies: the handler may do anything, including things that free the argument array.
    BSTR command = ::SysAllocString(V_BSTR(&EventArg(params, 0)));
    BSTR args = ::SysAllocString(V_BSTR(&EventArg(params, 1)));
    const HRESULT answer = m_eventHandler->OnFSCommand(command, args);
    ::SysFreeString(command);
    ::SysFreeString(args);
    return answer;
}

HRESULT CFlashUI::OnFlashCall(const DISPPARAMS* params)
{
    static const VARTYPE kText[] = {VT_BSTR};
    if (FAILED(CheckEventArgs(params, kText, 1)))
        return E_INVALIDARG;
    BSTR request = ::SysAllocString(V_BSTR(&EventArg(params, 0)));
    const HRESULT answer = m_eventHandler->OnFlashCall(request);
    ::SysFreeString(request);
    return answer;
}

}  // namespace SkinUI
