// CActiveXUI: a control that embeds a COM object with in-place activation.
//
// The object comes from a class id (a GUID in braces or a programmatic id), either through the
// class factory of a DLL named by "modulename" (loaded beside the program, never by search path)
// or through the system registry. The control is the object's container through one site object
// (CActiveXCtrl, ActiveXSite.h). A windowless object draws into the host's off-screen bitmap in
// Paint and gets window messages through this control's message filter; a windowed object lives in
// a native child window of the skin window (CActiveXWnd). Positions are client coordinates of the
// host window; a windowed object's own rectangles start at the origin of its CActiveXWnd.
//
// The control holds one reference to the object and one to the site. ReleaseObject gives both back
// and cuts the site's link to this control, after which the site answers E_UNEXPECTED to anything
// that needs it; derived controls release their own interfaces first and then chain here.
#pragma once

#include <ocidl.h>
#include <ole2.h>
#include <windows.h>

#include "controls/base/Control.h"
#include "core/UIString.h"
#include "host/Events.h"

namespace SkinUI {

class CActiveXCtrl;

class CActiveXUI : public CControlUI, public IMessageFilterUI {
public:
    CActiveXUI();
    ~CActiveXUI() override;

    const char* GetTypeName() const override;
    static constexpr const char* kCastName = "ActiveX";
    void* CastTo(const char* name) override;
    void SetPosition(const CRectUI& rect) override;
    void SetVisible(bool visible) override;
    void SetVisibleByParent(bool visible) override;
    void AttachHost(CWindowHostUI* host, CControlUI* parent, bool initNow) override;
    void SetAttribute(const char* name, const char* value) override;
    static void AppendAttributeNames(TAttributeNames& names);
    void Paint(HDC hdc, const CRectUI& paintRect) override;
    virtual void ReleaseObject();
    virtual bool CreateObject();

    LRESULT FilterMessage(UINT message, WPARAM wParam, LPARAM lParam, bool& handled) override;

    // False, with nothing changed, for a text that names no class (or is 100 characters or more).
    bool SetClassId(const char* text);
    const CLSID& GetClassId() const { return m_clsid; }
    void SetModuleName(const char* path);
    void SetDelayCreate(bool delay);
    bool IsCreated() const { return m_created; }
    // E_POINTER without `out`, E_PENDING while no object exists, else the object's answer.
    HRESULT QueryObject(REFIID iid, void** out);

    //--- for the site and the object's window
    // The window the object draws in (windowless: the skin window) or lives in (its CActiveXWnd).
    HWND GetHostWindow() const { return m_hostWindow; }
    void SetHostWindow(HWND window) { m_hostWindow = window; }
    // The host's native window, or null while the control has no host or the host no window.
    HWND GetSkinWindow() const;
    IOleObject* GetOleObject() const { return m_object; }
    // Adds this control to the host's message filters once; remembers which host took it.
    void RegisterMessageFilter();

protected:
    // The accelerator step of a hosted object: key messages only, and only while the keyboard focus
    // is in the host window or below it. E_NOTIMPL without an object; S_FALSE when not taken.
    LRESULT TranslateForObject(IUnknown* object, const MSG* msg) const;
    void MarkNotCreated() { m_created = false; }

private:
    // The object from the DllGetClassObject of the module, or null (the caller falls back).
    IOleControl* CreateFromModule() const;
    // Steps after the object exists: client site, initialisation, activation. `alive` turns false
    // when a listener of "showactivex" destroys the control; nothing of it may be touched then.
    HRESULT ActivateObject(bool& alive);
    void UnregisterMessageFilter();
    // The point a mouse-range message or WM_SETCURSOR refers to, in client coordinates.
    POINT MessagePoint(UINT message, LPARAM lParam) const;
    bool HitsObject(UINT message, LPARAM lParam) const;
    void ShowObjectWindow();

    CLSID m_clsid = {};
    CUIString m_moduleName;
    bool m_created = false;
    bool m_delayCreate = true;
    IOleObject* m_object = nullptr;  // one reference owned
    CActiveXCtrl* m_site = nullptr;  // one reference owned
    HWND m_hostWindow = nullptr;  // not owned
    CWindowHostUI* m_filterHost = nullptr;  // the host our message filter is registered with
    bool* m_aliveFlag = nullptr;  // cleared by the destructor while a notification runs

    static CAttributeTable<CActiveXUI> OwnAttributes();
};

}  // namespace SkinUI
