// CWebBrowserUI: an ActiveX control preset to the platform's web browser object.
//
// After creation it registers as an accelerator translator with its host, takes the browser's
// IWebBrowser2, opens the home page when asked to, and subscribes its event side to the browser's
// navigation events. After each completed navigation it installs itself as the document's UI
// handler. Its COM sides (document host, service provider, command target, event sink, download
// manager) are part of the control and share one count that never deletes it; ReleaseObject takes
// them all back (unsubscribe, UI handler reset, browser released) before the base closes the
// object, so nothing the browser still holds reaches a control that has gone.
//
// Events, document-host questions and downloads go to the application's IWebBrowserEventHandler;
// without one the handler interface's own answers apply (WebBrowserHandler.h).
//
// Implemented in WebBrowser.cpp, WebBrowserHost.cpp (the document host and service sides) and
// WebBrowserEvents.cpp (the event sink and downloads).
#pragma once

#include <exdisp.h>
#include <ole2.h>
#include <windows.h>

#include "controls/com/ActiveX.h"
#include "controls/com/WebBrowserHandler.h"
#include "core/UIString.h"
#include "host/Events.h"

namespace SkinUI {

class CWebBrowserUI : public CActiveXUI,
                      public IDocHostUIHandler,
                      public IServiceProvider,
                      public IOleCommandTarget,
                      public IDispatch,
                      public ITranslateAccelerator,
                      public IDownloadManager {
public:
    CWebBrowserUI();
    ~CWebBrowserUI() override;

    const char* GetTypeName() const override;
    static constexpr const char* kCastName = "WebBrowser";
    void* CastTo(const char* name) override;
    void SetAttribute(const char* name, const char* value) override;
    static void AppendAttributeNames(TAttributeNames& names);
    void ReleaseObject() override;
    bool CreateObject() override;
    // The control's download step (its IDownloadManager side): to the handler.
    STDMETHODIMP Download(IMoniker* moniker, IBindCtx* context, DWORD verb, LONG flags, BINDINFO* info,
        LPCOLESTR headers, LPCOLESTR redirect, UINT codePage) override;

    void Navigate(const char* url);
    void SetHomePage(const char* url) { m_homePage = url; }
    void SetAutoNavigate(bool on) { m_autoNavigate = on; }
    // Not owned; null returns to the fixed answers.
    void SetEventHandler(IWebBrowserEventHandler* handler) { m_eventHandler = handler; }
    IWebBrowser2* GetBrowser() const { return m_browser; }

    // Shared by every COM side.
    STDMETHODIMP QueryInterface(REFIID iid, void** out) override;
    STDMETHODIMP_(ULONG) AddRef() override;
    STDMETHODIMP_(ULONG) Release() override;

    // IDocHostUIHandler (WebBrowserHost.cpp)
    STDMETHODIMP ShowContextMenu(DWORD id, POINT* pt, IUnknown* target, IDispatch* object) override;
    STDMETHODIMP GetHostInfo(DOCHOSTUIINFO* info) override;
    STDMETHODIMP ShowUI(DWORD id, IOleInPlaceActiveObject* active, IOleCommandTarget* target, IOleInPlaceFrame* frame,
        IOleInPlaceUIWindow* document) override;
    STDMETHODIMP HideUI() override;
    STDMETHODIMP UpdateUI() override;
    STDMETHODIMP EnableModeless(BOOL enable) override;
    STDMETHODIMP OnDocWindowActivate(BOOL activate) override;
    STDMETHODIMP OnFrameWindowActivate(BOOL activate) override;
    STDMETHODIMP ResizeBorder(LPCRECT border, IOleInPlaceUIWindow* window, BOOL frame) override;
    STDMETHODIMP TranslateAccelerator(LPMSG msg, const GUID* group, DWORD command) override;
    STDMETHODIMP GetOptionKeyPath(LPOLESTR* key, DWORD reserved) override;
    STDMETHODIMP GetDropTarget(IDropTarget* target, IDropTarget** out) override;
    STDMETHODIMP GetExternal(IDispatch** out) override;
    STDMETHODIMP TranslateUrl(DWORD translate, LPWSTR url, LPWSTR* out) override;
    STDMETHODIMP FilterDataObject(IDataObject* object, IDataObject** out) override;

    // IServiceProvider (WebBrowserHost.cpp)
    STDMETHODIMP QueryService(REFGUID service, REFIID iid, void** out) override;

    // IOleCommandTarget (WebBrowserHost.cpp)
    STDMETHODIMP QueryStatus(const GUID* group, ULONG count, OLECMD* commands, OLECMDTEXT* text) override;
    STDMETHODIMP Exec(const GUID* group, DWORD command, DWORD options, VARIANT* in, VARIANT* out) override;

    // IDispatch: the navigation event sink (WebBrowserEvents.cpp)
    STDMETHODIMP GetTypeInfoCount(UINT* count) override;
    STDMETHODIMP GetTypeInfo(UINT index, LCID locale, ITypeInfo** out) override;
    STDMETHODIMP GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID locale, DISPID* ids) override;
    STDMETHODIMP Invoke(DISPID id, REFIID iid, LCID locale, WORD flags, DISPPARAMS* params, VARIANT* result,
        EXCEPINFO* exception, UINT* argError) override;

    LRESULT Translate(const MSG* msg) override;

private:
    IWebBrowserEventHandler& Handler() const;
    void AdviseEvents(bool subscribe);
    // Installs `handler` as the UI handler of the browser's current document, if it has one.
    void SetDocumentUIHandler(IDocHostUIHandler* handler);
    HRESULT OnNavigateComplete(const DISPPARAMS* params);
    // WebBrowserEvents.cpp: each checks its arguments, then calls the handler.
    HRESULT OnHandlerEvent(DISPID id, const DISPPARAMS* params);

    IWebBrowser2* m_browser = nullptr;  // one reference
    volatile LONG m_refs = 0;  // the COM sides' shared count (never deletes)
    DWORD m_cookie = 0;
    CUIString m_homePage;
    bool m_autoNavigate = false;
    IWebBrowserEventHandler* m_eventHandler = nullptr;  // not owned
    CWindowHostUI* m_translatorHost = nullptr;  // the host our translator is registered with

    static CAttributeTable<CWebBrowserUI> OwnAttributes();
};

}  // namespace SkinUI
