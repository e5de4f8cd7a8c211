#include "controls/com/ActiveX.h"

#include <cstring>

#include "controls/base/CastChain.h"
#include "controls/com/ActiveXSite.h"
#include "controls/com/ActiveXWnd.h"
#include "core/CodePage.h"
#include "core/SystemLibrary.h"
#include "core/ValueParse.h"
#include "host/ControlAliveGuard.h"
#include "host/WindowHost.h"

namespace SkinUI {

namespace {

// Class id texts are GUIDs in braces (38) or programmatic ids (at most 39); anything at or past
// this length is refused rather than cut.
constexpr int kClassIdChars = 100;

bool IsMouseMessage(UINT message) { return message >= WM_MOUSEFIRST && message <= 0x20D; }
bool IsKeyMessage(UINT message) { return message >= WM_KEYFIRST && message <= 0x108; }

}  // namespace

CActiveXUI::CActiveXUI() = default;

CActiveXUI::~CActiveXUI() { CActiveXUI::ReleaseObject(); }

const char* CActiveXUI::GetTypeName() const { return "ActiveXUI"; }

void* CActiveXUI::CastTo(const char* name) { return CastToSelfOrBase<CControlUI>(this, name); }

HWND CActiveXUI::GetSkinWindow() const { return m_host != nullptr ? m_host->GetPaintWindow() : nullptr; }

void CActiveXUI::AttachHost(CWindowHostUI* host, CControlUI* parent, bool initNow)
{
    CControlUI::AttachHost(host, parent, initNow);
    // Moved into another window (a drop-down lends it its rows): a windowless object takes that
    // window's messages and draws in it now. Detached (host null), it keeps the old registration
    // until it dies.
    if (m_filterHost == nullptr || host == nullptr || host == m_filterHost)
        return;
    UnregisterMessageFilter();
    RegisterMessageFilter();
    if (m_site != nullptr && m_site->IsWindowless())
        m_hostWindow = GetSkinWindow();
}

//--- attributes ---------------------------------------------------------------------------------

CAttributeTable<CActiveXUI> CActiveXUI::OwnAttributes()
{
    using C = CActiveXUI;
    static constexpr TAttributeHandler<C> kTable[] = {
        {"clsid", [](C& c, const char* v) { c.SetClassId(v); }},
        {"modulename", [](C& c, const char* v) { c.SetModuleName(v); }},
        {"delaycreate", [](C& c, const char* v) { c.SetDelayCreate(ParseFlag(v)); }},
    };
    return kTable;
}

void CActiveXUI::SetAttribute(const char* name, const char* value)
{
    OwnAttributes().ApplyOrBase<CControlUI>(*this, name, value);
}

void CActiveXUI::AppendAttributeNames(TAttributeNames& names) { OwnAttributes().AppendWithBase<CControlUI>(names); }

bool CActiveXUI::SetClassId(const char* text)
{
    if (text == nullptr || std::strlen(text) >= kClassIdChars)
        return false;
    std::wstring wide;
    if (!WideFromCodePage(text, CP_ACP, wide))
        return false;
    CLSID clsid = {};
    const HRESULT hr
        = wide[0] == L'{' ? ::CLSIDFromString(wide.c_str(), &clsid) : ::CLSIDFromProgID(wide.c_str(), &clsid);
    if (FAILED(hr) || clsid == CLSID{})
        return false;
    m_created = false;
    m_clsid = clsid;
    if (!m_delayCreate)
        CreateObject();
    return true;
}

void CActiveXUI::SetModuleName(const char* path) { m_moduleName = path; }

void CActiveXUI::SetDelayCreate(bool delay)
{
    if (m_delayCreate == delay)
        return;
    if (!delay && !m_created && m_clsid != CLSID{})
        CreateObject();
    m_delayCreate = delay;
}

HRESULT CActiveXUI::QueryObject(REFIID iid, void** out)
{
    if (out == nullptr)
        return E_POINTER;
    *out = nullptr;
    if (m_object == nullptr)
        return E_PENDING;
    return m_object->QueryInterface(iid, out);
}

//--- creation and release -----------------------------------------------------------------------

IOleControl* CActiveXUI::CreateFromModule() const
{
    typedef HRESULT(WINAPI * GetClassObjectFn)(REFCLSID, REFIID, void**);
    // Never unloaded: the object's code must outlive every reference anyone still holds.
    const HMODULE module = LoadModuleBesideProgram(m_moduleName.GetData());
    const auto getClassObject = LookUpProc<GetClassObjectFn>(module, "DllGetClassObject");
    if (getClassObject == nullptr)
        return nullptr;
    IClassFactory* factory = nullptr;
    if (FAILED(getClassObject(m_clsid, IID_IClassFactory, reinterpret_cast<void**>(&factory))) || factory == nullptr)
        return nullptr;
    IOleControl* control = nullptr;
    if (FAILED(factory->CreateInstance(nullptr, IID_IOleControl, reinterpret_cast<void**>(&control))))
        control = nullptr;
    factory->Release();
    return control;
}

bool CActiveXUI::CreateObject()
{
    // Activation needs the skin window; the first SetPosition after attaching creates the object.
    if (GetSkinWindow() == nullptr)
        return false;
    ReleaseObject();
    m_created = true;
    IOleControl* control = m_moduleName.IsEmpty() ? nullptr : CreateFromModule();
    if (control == nullptr
        && FAILED(
            ::CoCreateInstance(m_clsid, nullptr, CLSCTX_ALL, IID_IOleControl, reinterpret_cast<void**>(&control))))
        return false;
    const HRESULT hr = control->QueryInterface(IID_IOleObject, reinterpret_cast<void**>(&m_object));
    control->Release();
    if (FAILED(hr) || m_object == nullptr) {
        m_object = nullptr;
        return false;
    }
    m_site = new CActiveXCtrl(this);
    bool alive = true;
    const HRESULT activated = ActivateObject(alive);
    if (!alive)
        return false;
    if (FAILED(activated)) {
        // Leave the control empty rather than talking to a half-initialised object later.
        ReleaseObject();
        return false;
    }
    return true;
}

HRESULT CActiveXUI::ActivateObject(bool& alive)
{
    DWORD status = 0;
    m_object->GetMiscStatus(DVASPECT_CONTENT, &status);
    IOleClientSite* clientSite = static_cast<IOleClientSite*>(m_site);
    clientSite->AddRef();
    bool siteSet = false;
    if ((status & OLEMISC_SETCLIENTSITEFIRST) != 0)
        siteSet = SUCCEEDED(m_object->SetClientSite(clientSite));
    HRESULT hr = S_OK;
    IPersistStreamInit* persist = nullptr;
    if (SUCCEEDED(m_object->QueryInterface(IID_IPersistStreamInit, reinterpret_cast<void**>(&persist)))
        && persist != nullptr) {
        hr = persist->InitNew();
        persist->Release();
    }
    if (SUCCEEDED(hr)) {
        if (!siteSet)
            m_object->SetClientSite(clientSite);
        m_site->TakeViewObject(m_object);
        m_object->SetHostNames(L"UIActiveX", nullptr);
        CControlAliveGuard guard(m_host, this);
        if (m_host != nullptr)
            m_host->SendNotification(this, "showactivex");
        if (!guard.IsAlive()) {
            alive = false;
            // A listener destroyed the control; the site outlives it through our reference.
            clientSite->Release();
            return E_ABORT;
        }
        if ((status & OLEMISC_INVISIBLEATRUNTIME) == 0) {
            RECT rect = m_position;
            hr = m_object->DoVerb(OLEIVERB_INPLACEACTIVATE, nullptr, clientSite, 0, GetSkinWindow(), &rect);
        }
        IObjectWithSite* withSite = nullptr;
        if (SUCCEEDED(m_object->QueryInterface(IID_IObjectWithSite, reinterpret_cast<void**>(&withSite)))
            && withSite != nullptr) {
            withSite->SetSite(static_cast<IOleClientSite*>(m_site));
            withSite->Release();
        }
    }
    clientSite->Release();
    return hr;
}

void CActiveXUI::ReleaseObject()
{
    m_hostWindow = nullptr;
    if (m_object != nullptr) {
        IObjectWithSite* withSite = nullptr;
        if (SUCCEEDED(m_object->QueryInterface(IID_IObjectWithSite, reinterpret_cast<void**>(&withSite)))
            && withSite != nullptr) {
            withSite->SetSite(nullptr);
            withSite->Release();
        }
        m_object->Close(OLECLOSE_NOSAVE);
        m_object->SetClientSite(nullptr);
        m_object->Release();
        m_object = nullptr;
    }
    if (m_site != nullptr) {
        m_site->DropOwner();
        m_site->Release();
        m_site = nullptr;
    }
    UnregisterMessageFilter();
}

void CActiveXUI::RegisterMessageFilter()
{
    if (m_filterHost != nullptr || m_host == nullptr)
        return;
    if (m_host->AddWindowMessageFilter(this))
        m_filterHost = m_host;
}

void CActiveXUI::UnregisterMessageFilter()
{
    // The host that took the filter, even when this control has moved or lost its host since.
    if (m_filterHost != nullptr)
        m_filterHost->RemoveWindowMessageFilter(this);
    m_filterHost = nullptr;
}

//--- position, visibility, painting -------------------------------------------------------------

void CActiveXUI::SetPosition(const CRectUI& rect)
{
    CControlUI::SetPosition(rect);
    if (!m_created)
        CreateObject();
    if (m_object == nullptr || m_site == nullptr)
        return;
    const HDC screen = ::GetDC(nullptr);
    SIZEL extent = {::MulDiv(2540, m_position.GetWidth(), ::GetDeviceCaps(screen, LOGPIXELSX)),
        ::MulDiv(2540, m_position.GetHeight(), ::GetDeviceCaps(screen, LOGPIXELSY))};
    ::ReleaseDC(nullptr, screen);
    m_object->SetExtent(DVASPECT_CONTENT, &extent);
    if (m_site->GetInPlaceObject() != nullptr) {
        const RECT objectRect = m_site->ObjectRect();
        m_site->GetInPlaceObject()->SetObjectRects(&objectRect, &objectRect);
    }
    const CActiveXWnd* window = m_site->GetObjectWindow();
    if (!m_site->IsWindowless() && window != nullptr && ::IsWindow(window->GetHWND()))
        ::MoveWindow(
            window->GetHWND(), m_position.left, m_position.top, m_position.GetWidth(), m_position.GetHeight(), TRUE);
}

void CActiveXUI::ShowObjectWindow()
{
    if (m_hostWindow != nullptr && m_site != nullptr && !m_site->IsWindowless() && ::IsWindow(m_hostWindow))
        ::ShowWindow(m_hostWindow, IsVisible() ? SW_SHOW : SW_HIDE);
}

void CActiveXUI::SetVisible(bool visible)
{
    CControlUI::SetVisible(visible);
    ShowObjectWindow();
}

void CActiveXUI::SetVisibleByParent(bool visible)
{
    CControlUI::SetVisibleByParent(visible);
    ShowObjectWindow();
}

void CActiveXUI::Paint(HDC hdc, const CRectUI& paintRect)
{
    CRectUI area = paintRect;
    if (!area.Intersect(m_position))
        return;
    if (m_site == nullptr || !m_site->IsWindowless() || m_site->GetViewObject() == nullptr)
        return;
    RECTL bounds = {m_position.left, m_position.top, m_position.right, m_position.bottom};
    m_site->GetViewObject()->Draw(DVASPECT_CONTENT, -1, nullptr, nullptr, nullptr, hdc, &bounds, &bounds, nullptr, 0);
}

LRESULT CActiveXUI::TranslateForObject(IUnknown* object, const MSG* msg) const
{
    if (msg == nullptr || !IsKeyMessage(msg->message))
        return S_FALSE;
    if (object == nullptr)
        return E_NOTIMPL;
    HWND window = ::GetFocus();
    while (window != nullptr && window != m_hostWindow)
        window = ::GetParent(window);
    if (window == nullptr || m_hostWindow == nullptr)
        return S_FALSE;
    IOleInPlaceActiveObject* active = nullptr;
    if (FAILED(object->QueryInterface(IID_IOleInPlaceActiveObject, reinterpret_cast<void**>(&active)))
        || active == nullptr)
        return S_FALSE;
    MSG copy = *msg;
    const HRESULT hr = active->TranslateAccelerator(&copy);
    active->Release();
    return hr;
}

//--- windowless message forwarding --------------------------------------------------------------

POINT CActiveXUI::MessagePoint(UINT message, LPARAM lParam) const
{
    POINT pt = {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
    // WM_SETCURSOR carries no point at all, and the wheel's point is on the screen.
    if (message == WM_SETCURSOR)
        ::GetCursorPos(&pt);
    if (message == WM_SETCURSOR || message == WM_MOUSEWHEEL)
        ::ScreenToClient(m_hostWindow, &pt);
    return pt;
}

bool CActiveXUI::HitsObject(UINT message, LPARAM lParam) const
{
    if (m_site->IsCaptured())
        return true;
    IViewObjectEx* view = m_site->GetViewObjectEx();
    if (view == nullptr)
        return false;
    DWORD hit = 0;
    const RECT position = m_position;
    return SUCCEEDED(view->QueryHitPoint(DVASPECT_CONTENT, &position, MessagePoint(message, lParam), 0, &hit))
        && hit == HITRESULT_HIT;
}

LRESULT CActiveXUI::FilterMessage(UINT message, WPARAM wParam, LPARAM lParam, bool& handled)
{
    if (m_site == nullptr || !m_site->IsInPlaceActive() || m_site->GetWindowlessObject() == nullptr)
        return 0;
    if (message == WM_CAPTURECHANGED) {
        // Lost while the object held it (taken by another window, or ended by the host because
        // this control was hidden, disabled or removed): the object is told.
        if (m_site->IsCaptured() && reinterpret_cast<HWND>(lParam) != m_hostWindow) {
            m_site->ForgetCapture();
            LRESULT ignored = 0;
            m_site->GetWindowlessObject()->OnWindowMessage(message, wParam, lParam, &ignored);
        }
        return 0;
    }
    // Hidden or disabled, it takes nothing meant for what is now under the pointer or focused,
    // unless it still holds the mouse.
    if (!m_site->IsCaptured() && (!IsVisible() || !IsEnabled()))
        return 0;
    const bool mouse = IsMouseMessage(message);
    if (mouse && !AcceptsMouse())
        return 0;
    bool markHandled = true;
    if (mouse || message == WM_SETCURSOR) {
        // Another control's drag or release belongs to the host, wherever the mouse is.
        const CControlUI* pressed = m_host != nullptr ? m_host->GetPressedControl() : nullptr;
        if (mouse && !m_site->IsCaptured() && pressed != nullptr && pressed != this)
            return 0;
        if (!HitsObject(message, lParam))
            return 0;
        if (message == WM_SETCURSOR)
            markHandled = false;
    } else if (IsKeyMessage(message)) {
        if (!HasFocus())
            return 0;
    } else if (message == WM_HELP || message == WM_CONTEXTMENU) {
        markHandled = false;
    } else {
        return 0;
    }
    LRESULT result = 0;
    if (m_site->GetWindowlessObject()->OnWindowMessage(message, wParam, lParam, &result) == S_OK)
        handled = markHandled;
    return result;
}

}  // namespace SkinUI
