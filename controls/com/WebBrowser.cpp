// The web browser control's life: creation, release, navigation, subscription and identity.
// Document-host answers are in WebBrowserHost.cpp, navigation events in WebBrowserEvents.cpp.
#include "controls/com/WebBrowser.h"

#include "controls/base/CastChain.h"
#include "controls/com/ComSupport.h"
#include "core/ValueParse.h"
#include "host/WindowHost.h"

namespace SkinUI {

namespace {

const char kBrowserClassId[] = "{8856F961-340A-11D0-A96B-00C04FD705A2}";
const IID kCustomDocIid = {0x3050F3F0, 0x98B5, 0x11CF, {0xBB, 0x82, 0x00, 0xAA, 0x00, 0xBD, 0xCE, 0x0B}};

}  // namespace

CWebBrowserUI::CWebBrowserUI() { SetClassId(kBrowserClassId); }

CWebBrowserUI::~CWebBrowserUI()
{
    // While the whole control still exists: the document may still call its UI handler.
    CWebBrowserUI::ReleaseObject();
}

const char* CWebBrowserUI::GetTypeName() const { return "WebBrowserUI"; }

void* CWebBrowserUI::CastTo(const char* name) { return CastToSelfOrBase<CActiveXUI>(this, name); }

CAttributeTable<CWebBrowserUI> CWebBrowserUI::OwnAttributes()
{
    using C = CWebBrowserUI;
    static constexpr TAttributeHandler<C> kTable[] = {
        {"homepage", [](C& c, const char* v) { c.SetHomePage(v); }},
        {"autonavi", [](C& c, const char* v) { c.SetAutoNavigate(ParseFlag(v)); }},
    };
    return kTable;
}

void CWebBrowserUI::SetAttribute(const char* name, const char* value)
{
    OwnAttributes().ApplyOrBase<CActiveXUI>(*this, name, value);
}

void CWebBrowserUI::AppendAttributeNames(TAttributeNames& names) { OwnAttributes().AppendWithBase<CActiveXUI>(names); }

IWebBrowserEventHandler& CWebBrowserUI::Handler() const
{
    // The interface's own bodies are the answers without an application handler.
    static struct CFixedAnswers : IWebBrowserEventHandler {
    } fixed;
    return m_eventHandler != nullptr ? *m_eventHandler : fixed;
}

//--- creation and release -----------------------------------------------------------------------

bool CWebBrowserUI::CreateObject()
{
    if (!CActiveXUI::CreateObject())
        return false;
    if (m_host != nullptr && m_host->AddAcceleratorTranslator(this))
        m_translatorHost = m_host;
    void* browser = nullptr;
    if (SUCCEEDED(QueryObject(IID_IWebBrowser2, &browser)))
        m_browser = static_cast<IWebBrowser2*>(browser);
    if (m_autoNavigate && !m_homePage.IsEmpty())
        Navigate(m_homePage.GetData());
    AdviseEvents(true);
    return true;
}

void CWebBrowserUI::ReleaseObject()
{
    MarkNotCreated();
    if (m_translatorHost != nullptr)
        m_translatorHost->RemoveAcceleratorTranslator(this);
    m_translatorHost = nullptr;
    AdviseEvents(false);
    SetDocumentUIHandler(nullptr);
    if (m_browser != nullptr)
        m_browser->Release();
    m_browser = nullptr;
    CActiveXUI::ReleaseObject();
}

void CWebBrowserUI::Navigate(const char* url)
{
    if (url == nullptr || *url == '\0' || m_browser == nullptr)
        return;
    VARIANT target;
    ::VariantInit(&target);
    V_VT(&target) = VT_BSTR;
    V_BSTR(&target) = AllocWideString(url);
    if (V_BSTR(&target) != nullptr)
        m_browser->Navigate2(&target, nullptr, nullptr, nullptr, nullptr);
    ::VariantClear(&target);
}

void CWebBrowserUI::AdviseEvents(bool subscribe)
{
    if (m_browser != nullptr)
        SubscribeEvents(m_browser, DIID_DWebBrowserEvents2, static_cast<IDispatch*>(this), m_cookie, subscribe);
}

void CWebBrowserUI::SetDocumentUIHandler(IDocHostUIHandler* handler)
{
    if (m_browser == nullptr)
        return;
    IDispatch* document = nullptr;
    // Before any navigation the browser answers S_FALSE and no document.
    if (FAILED(m_browser->get_Document(&document)) || document == nullptr)
        return;
    ICustomDoc* custom = nullptr;
    if (SUCCEEDED(document->QueryInterface(kCustomDocIid, reinterpret_cast<void**>(&custom))) && custom != nullptr) {
        custom->SetUIHandler(handler);
        custom->Release();
    }
    document->Release();
}

LRESULT CWebBrowserUI::Translate(const MSG* msg) { return TranslateForObject(m_browser, msg); }

//--- identity -----------------------------------------------------------------------------------

STDMETHODIMP CWebBrowserUI::QueryInterface(REFIID iid, void** out)
{
    if (out == nullptr)
        return E_POINTER;
    *out = nullptr;
    if (iid == IID_IUnknown || iid == IID_IDocHostUIHandler)
        *out = static_cast<IDocHostUIHandler*>(this);
    else if (iid == IID_IDispatch)
        *out = static_cast<IDispatch*>(this);
    else if (iid == IID_IServiceProvider)
        *out = static_cast<IServiceProvider*>(this);
    else if (iid == IID_IOleCommandTarget)
        *out = static_cast<IOleCommandTarget*>(this);
    if (*out == nullptr)
        return E_NOINTERFACE;
    AddRef();
    return S_OK;
}

STDMETHODIMP_(ULONG) CWebBrowserUI::AddRef() { return static_cast<ULONG>(::InterlockedIncrement(&m_refs)); }
STDMETHODIMP_(ULONG) CWebBrowserUI::Release() { return static_cast<ULONG>(::InterlockedDecrement(&m_refs)); }

}  // namespace SkinUI
