#include "TestObject.h"

namespace testctl {

namespace {

// The player's main interface, answered with the dispatch side like the player does.
const IID kPlayerIid = {0xD27CDB6C, 0xAE6D, 0x11CF, {0x96, 0xB8, 0x44, 0x45, 0x53, 0x54, 0x00, 0x00}};
CTestObject* g_newest = nullptr;

template <class T> void ReleaseAndNull(T*& p)
{
    if (p != nullptr)
        p->Release();
    p = nullptr;
}

}  // namespace

TState& State()
{
    static TState state = {};
    return state;
}

//--- connection point ---------------------------------------------------------------------------

void CTestConnectionPoint::DropSink()
{
    if (m_sink != nullptr)
        --State().advisedSinks;
    ReleaseAndNull(m_sink);
}

STDMETHODIMP CTestConnectionPoint::QueryInterface(REFIID iid, void** out)
{
    if (out == nullptr)
        return E_POINTER;
    *out = nullptr;
    if (iid != IID_IUnknown && iid != IID_IConnectionPoint)
        return E_NOINTERFACE;
    *out = static_cast<IConnectionPoint*>(this);
    AddRef();
    return S_OK;
}

STDMETHODIMP_(ULONG) CTestConnectionPoint::AddRef() { return static_cast<IOleObject*>(m_owner)->AddRef(); }
STDMETHODIMP_(ULONG) CTestConnectionPoint::Release() { return static_cast<IOleObject*>(m_owner)->Release(); }

STDMETHODIMP CTestConnectionPoint::GetConnectionInterface(IID* iid)
{
    if (iid == nullptr)
        return E_POINTER;
    *iid = m_iid;
    return S_OK;
}

STDMETHODIMP CTestConnectionPoint::GetConnectionPointContainer(IConnectionPointContainer** out)
{
    return static_cast<IOleObject*>(m_owner)->QueryInterface(
        IID_IConnectionPointContainer, reinterpret_cast<void**>(out));
}

STDMETHODIMP CTestConnectionPoint::Advise(IUnknown* sink, DWORD* cookie)
{
    if (sink == nullptr || cookie == nullptr)
        return E_POINTER;
    if (m_sink != nullptr)
        return CONNECT_E_ADVISELIMIT;
    if (FAILED(sink->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&m_sink))) || m_sink == nullptr) {
        m_sink = nullptr;
        return CONNECT_E_CANNOTCONNECT;
    }
    ++State().advisedSinks;
    *cookie = 7;
    return S_OK;
}

STDMETHODIMP CTestConnectionPoint::Unadvise(DWORD cookie)
{
    if (cookie != 7 || m_sink == nullptr)
        return CONNECT_E_NOCONNECTION;
    DropSink();
    return S_OK;
}

STDMETHODIMP CTestConnectionPoint::EnumConnections(IEnumConnections** out)
{
    if (out != nullptr)
        *out = nullptr;
    return E_NOTIMPL;
}

//--- object life --------------------------------------------------------------------------------

CTestObject::CTestObject(Variant variant)
    : m_variant(variant)
    , m_point(this)
{
    ++State().liveObjects;
    ++State().objectsMade;
    g_newest = this;
}

CTestObject::~CTestObject()
{
    m_point.DropSink();
    if (m_window != nullptr)
        ::DestroyWindow(m_window);
    ReleaseAndNull(m_inPlaceSite);
    ReleaseAndNull(m_clientSite);
    --State().liveObjects;
    if (g_newest == this)
        g_newest = nullptr;
}

CTestObject* CTestObject::Newest() { return g_newest; }

HRESULT CTestObject::Fire(DISPID id, DISPPARAMS* params)
{
    if (m_point.Sink() == nullptr)
        return E_UNEXPECTED;
    return m_point.Sink()->Invoke(
        id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, params, nullptr, nullptr, nullptr);
}

HRESULT CTestObject::DeactivateSpontaneously()
{
    if (m_inPlaceSite == nullptr)
        return E_UNEXPECTED;
    Deactivate(true);
    return S_OK;
}

STDMETHODIMP CTestObject::QueryInterface(REFIID iid, void** out)
{
    if (out == nullptr)
        return E_POINTER;
    *out = nullptr;
    if (iid == IID_IUnknown || iid == IID_IOleObject)
        *out = static_cast<IOleObject*>(this);
    else if (iid == IID_IOleControl)
        *out = static_cast<IOleControl*>(this);
    else if (iid == IID_IOleInPlaceObjectWindowless || iid == IID_IOleInPlaceObject
        || (iid == IID_IOleWindow && m_variant != Variant::Windowed))
        *out = static_cast<IOleInPlaceObjectWindowless*>(this);
    else if (iid == IID_IOleInPlaceActiveObject)
        *out = static_cast<IOleInPlaceActiveObject*>(this);
    else if (iid == IID_IViewObjectEx || iid == IID_IViewObject2 || iid == IID_IViewObject)
        *out = static_cast<IViewObjectEx*>(this);
    else if (iid == IID_IPersistStreamInit || iid == IID_IPersist)
        *out = static_cast<IPersistStreamInit*>(this);
    else if (iid == IID_IConnectionPointContainer)
        *out = static_cast<IConnectionPointContainer*>(this);
    else if (iid == IID_IDispatch || iid == kPlayerIid)
        *out = static_cast<IDispatch*>(this);
    // The windowed variant stands in for objects that cannot draw windowless.
    if (m_variant == Variant::Windowed && iid == IID_IOleInPlaceObjectWindowless)
        *out = nullptr;
    if (*out == nullptr)
        return E_NOINTERFACE;
    AddRef();
    return S_OK;
}

STDMETHODIMP_(ULONG) CTestObject::AddRef() { return ++m_refs; }

STDMETHODIMP_(ULONG) CTestObject::Release()
{
    const ULONG refs = --m_refs;
    if (refs == 0)
        delete this;
    return refs;
}

//--- activation ---------------------------------------------------------------------------------

HRESULT CTestObject::Activate()
{
    if (m_inPlaceSite != nullptr)
        return S_OK;
    if (m_clientSite == nullptr)
        return E_UNEXPECTED;
    IOleInPlaceSiteWindowless* windowless = nullptr;
    HRESULT hr = E_FAIL;
    if (m_variant != Variant::Windowed
        && SUCCEEDED(
            m_clientSite->QueryInterface(IID_IOleInPlaceSiteWindowless, reinterpret_cast<void**>(&windowless)))) {
        BOOL noRedraw = FALSE;
        if (windowless->CanWindowlessActivate() == S_OK)
            hr = windowless->OnInPlaceActivateEx(&noRedraw, ACTIVATE_WINDOWLESS);
        m_inPlaceSite = windowless;
    } else if (SUCCEEDED(m_clientSite->QueryInterface(IID_IOleInPlaceSite, reinterpret_cast<void**>(&m_inPlaceSite)))) {
        hr = m_inPlaceSite->OnInPlaceActivate();
    }
    if (FAILED(hr)) {
        ReleaseAndNull(m_inPlaceSite);
        return hr;
    }
    IOleInPlaceFrame* frame = nullptr;
    IOleInPlaceUIWindow* document = nullptr;
    OLEINPLACEFRAMEINFO info = {};
    info.cb = sizeof(info);
    TState& state = State();
    ++state.windowContextCalls;
    if (SUCCEEDED(m_inPlaceSite->GetWindowContext(
            &frame, &document, &state.windowContextPosition, &state.windowContextClip, &info))) {
        state.frameInfoSize = info.cb;
        if (info.haccel != nullptr)
            ::DestroyAcceleratorTable(info.haccel);
    }
    ReleaseAndNull(frame);
    ReleaseAndNull(document);
    HWND parent = nullptr;
    if (m_variant == Variant::Windowed && SUCCEEDED(m_inPlaceSite->GetWindow(&parent))) {
        const RECT& r = state.windowContextPosition;
        m_window = ::CreateWindowExA(0, "STATIC", "", WS_CHILD | WS_VISIBLE, r.left, r.top, r.right - r.left,
            r.bottom - r.top, parent, nullptr, nullptr, nullptr);
        state.objectWindow = m_window;
    }
    return S_OK;
}

void CTestObject::Deactivate(bool tellSite)
{
    if (m_window != nullptr)
        ::DestroyWindow(m_window);
    m_window = nullptr;
    if (m_inPlaceSite != nullptr && tellSite)
        m_inPlaceSite->OnInPlaceDeactivate();
    ReleaseAndNull(m_inPlaceSite);
}

//--- IOleObject ---------------------------------------------------------------------------------

STDMETHODIMP CTestObject::SetClientSite(IOleClientSite* site)
{
    if (site != nullptr)
        site->AddRef();
    ReleaseAndNull(m_clientSite);
    m_clientSite = site;
    return S_OK;
}

STDMETHODIMP CTestObject::GetClientSite(IOleClientSite** out)
{
    if (out == nullptr)
        return E_POINTER;
    *out = m_clientSite;
    if (m_clientSite != nullptr)
        m_clientSite->AddRef();
    return S_OK;
}

STDMETHODIMP CTestObject::SetHostNames(LPCOLESTR, LPCOLESTR) { return S_OK; }

STDMETHODIMP CTestObject::Close(DWORD /*option*/)
{
    ++State().closes;
    Deactivate(true);
    return S_OK;
}

STDMETHODIMP CTestObject::SetMoniker(DWORD, IMoniker*) { return E_NOTIMPL; }
STDMETHODIMP CTestObject::GetMoniker(DWORD, DWORD, IMoniker**) { return E_NOTIMPL; }
STDMETHODIMP CTestObject::InitFromData(IDataObject*, BOOL, DWORD) { return E_NOTIMPL; }
STDMETHODIMP CTestObject::GetClipboardData(DWORD, IDataObject**) { return E_NOTIMPL; }

STDMETHODIMP CTestObject::DoVerb(LONG verb, LPMSG, IOleClientSite*, LONG, HWND, LPCRECT)
{
    if (verb == OLEIVERB_INPLACEACTIVATE || verb == OLEIVERB_UIACTIVATE || verb == OLEIVERB_SHOW)
        return Activate();
    return OLEOBJ_S_INVALIDVERB;
}

STDMETHODIMP CTestObject::EnumVerbs(IEnumOLEVERB**) { return E_NOTIMPL; }
STDMETHODIMP CTestObject::Update() { return S_OK; }
STDMETHODIMP CTestObject::IsUpToDate() { return S_OK; }
STDMETHODIMP CTestObject::GetUserClassID(CLSID*) { return E_NOTIMPL; }
STDMETHODIMP CTestObject::GetUserType(DWORD, LPOLESTR*) { return E_NOTIMPL; }
STDMETHODIMP CTestObject::SetExtent(DWORD, SIZEL*) { return S_OK; }
STDMETHODIMP CTestObject::GetExtent(DWORD, SIZEL*) { return E_NOTIMPL; }
STDMETHODIMP CTestObject::Advise(IAdviseSink*, DWORD*) { return E_NOTIMPL; }
STDMETHODIMP CTestObject::Unadvise(DWORD) { return E_NOTIMPL; }
STDMETHODIMP CTestObject::EnumAdvise(IEnumSTATDATA**) { return E_NOTIMPL; }

STDMETHODIMP CTestObject::GetMiscStatus(DWORD, DWORD* status)
{
    if (status == nullptr)
        return E_POINTER;
    *status = m_variant == Variant::Windowless ? OLEMISC_SETCLIENTSITEFIRST : 0;
    return S_OK;
}

STDMETHODIMP CTestObject::SetColorScheme(LOGPALETTE*) { return E_NOTIMPL; }

//--- IOleControl --------------------------------------------------------------------------------

STDMETHODIMP CTestObject::GetControlInfo(CONTROLINFO*) { return E_NOTIMPL; }
STDMETHODIMP CTestObject::OnMnemonic(MSG*) { return E_NOTIMPL; }
STDMETHODIMP CTestObject::OnAmbientPropertyChange(DISPID) { return S_OK; }
STDMETHODIMP CTestObject::FreezeEvents(BOOL) { return S_OK; }

//--- in-place -----------------------------------------------------------------------------------

STDMETHODIMP CTestObject::GetWindow(HWND* out)
{
    if (out == nullptr)
        return E_POINTER;
    *out = m_window;
    return m_window != nullptr ? S_OK : E_FAIL;
}

STDMETHODIMP CTestObject::ContextSensitiveHelp(BOOL) { return S_OK; }

STDMETHODIMP CTestObject::InPlaceDeactivate()
{
    Deactivate(true);
    return S_OK;
}

STDMETHODIMP CTestObject::UIDeactivate() { return S_OK; }

STDMETHODIMP CTestObject::SetObjectRects(LPCRECT position, LPCRECT)
{
    if (position == nullptr)
        return E_POINTER;
    State().objectRects = *position;
    if (m_window != nullptr)
        ::MoveWindow(m_window, position->left, position->top, position->right - position->left,
            position->bottom - position->top, TRUE);
    return S_OK;
}

STDMETHODIMP CTestObject::ReactivateAndUndo() { return E_NOTIMPL; }

// Answers S_OK to every message, as the components this stands in for do.
STDMETHODIMP CTestObject::OnWindowMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    TState& state = State();
    if (state.messageCount < kMaxRecords)
        state.messages[state.messageCount++] = TMessage{message, wParam, lParam};
    if (result != nullptr)
        *result = 0;
    return S_OK;
}

STDMETHODIMP CTestObject::GetDropTarget(IDropTarget**) { return E_NOTIMPL; }
STDMETHODIMP CTestObject::TranslateAccelerator(LPMSG) { return S_FALSE; }
STDMETHODIMP CTestObject::OnFrameWindowActivate(BOOL) { return S_OK; }
STDMETHODIMP CTestObject::OnDocWindowActivate(BOOL) { return S_OK; }
STDMETHODIMP CTestObject::ResizeBorder(LPCRECT, IOleInPlaceUIWindow*, BOOL) { return S_OK; }
STDMETHODIMP CTestObject::EnableModeless(BOOL) { return S_OK; }

//--- view ---------------------------------------------------------------------------------------

STDMETHODIMP CTestObject::Draw(DWORD, LONG, void*, DVTARGETDEVICE*, HDC, HDC dc, LPCRECTL bounds, LPCRECTL,
    BOOL(STDMETHODCALLTYPE*)(ULONG_PTR), ULONG_PTR)
{
    if (dc == nullptr || bounds == nullptr)
        return E_INVALIDARG;
    const RECT rect = {bounds->left, bounds->top, bounds->right, bounds->bottom};
    const HBRUSH brush = ::CreateSolidBrush(kPaintColor);
    ::FillRect(dc, &rect, brush);
    ::DeleteObject(brush);
    return S_OK;
}

STDMETHODIMP CTestObject::GetColorSet(DWORD, LONG, void*, DVTARGETDEVICE*, HDC, LOGPALETTE**) { return E_NOTIMPL; }
STDMETHODIMP CTestObject::Freeze(DWORD, LONG, void*, DWORD*) { return E_NOTIMPL; }
STDMETHODIMP CTestObject::Unfreeze(DWORD) { return E_NOTIMPL; }
STDMETHODIMP CTestObject::SetAdvise(DWORD, DWORD, IAdviseSink*) { return S_OK; }
STDMETHODIMP CTestObject::GetAdvise(DWORD*, DWORD*, IAdviseSink**) { return E_NOTIMPL; }
STDMETHODIMP CTestObject::GetExtent(DWORD, LONG, DVTARGETDEVICE*, LPSIZEL) { return E_NOTIMPL; }
STDMETHODIMP CTestObject::GetRect(DWORD, LPRECTL) { return E_NOTIMPL; }
STDMETHODIMP CTestObject::GetViewStatus(DWORD*) { return E_NOTIMPL; }

STDMETHODIMP CTestObject::QueryHitPoint(DWORD, LPCRECT bounds, POINT pt, LONG, DWORD* hit)
{
    if (bounds == nullptr || hit == nullptr)
        return E_POINTER;
    TState& state = State();
    if (state.hitCount < kMaxRecords)
        state.hits[state.hitCount++] = pt;
    *hit = ::PtInRect(bounds, pt) ? HITRESULT_HIT : HITRESULT_OUTSIDE;
    return S_OK;
}

STDMETHODIMP CTestObject::QueryHitRect(DWORD, LPCRECT, LPCRECT, LONG, DWORD*) { return E_NOTIMPL; }
STDMETHODIMP CTestObject::GetNaturalExtent(DWORD, LONG, DVTARGETDEVICE*, HDC, DVEXTENTINFO*, LPSIZEL)
{
    return E_NOTIMPL;
}

//--- persistence --------------------------------------------------------------------------------

STDMETHODIMP CTestObject::GetClassID(CLSID*) { return E_NOTIMPL; }
STDMETHODIMP CTestObject::IsDirty() { return S_FALSE; }
STDMETHODIMP CTestObject::Load(LPSTREAM) { return E_NOTIMPL; }
STDMETHODIMP CTestObject::Save(LPSTREAM, BOOL) { return E_NOTIMPL; }
STDMETHODIMP CTestObject::GetSizeMax(ULARGE_INTEGER*) { return E_NOTIMPL; }
STDMETHODIMP CTestObject::InitNew() { return m_variant == Variant::InitFails ? E_FAIL : S_OK; }

//--- events -------------------------------------------------------------------------------------

STDMETHODIMP CTestObject::EnumConnectionPoints(IEnumConnectionPoints**) { return E_NOTIMPL; }

STDMETHODIMP CTestObject::FindConnectionPoint(REFIID iid, IConnectionPoint** out)
{
    if (out == nullptr)
        return E_POINTER;
    m_point.SetInterface(iid);
    *out = &m_point;
    m_point.AddRef();
    return S_OK;
}

STDMETHODIMP CTestObject::GetTypeInfoCount(UINT* count)
{
    if (count != nullptr)
        *count = 0;
    return S_OK;
}

STDMETHODIMP CTestObject::GetTypeInfo(UINT, LCID, ITypeInfo**) { return E_NOTIMPL; }
STDMETHODIMP CTestObject::GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) { return E_NOTIMPL; }
STDMETHODIMP CTestObject::Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*)
{
    return DISP_E_MEMBERNOTFOUND;
}

}  // namespace testctl
