// CFlashUI: an ActiveX control preset to the player object, forwarding its events.
//
// After creation the control subscribes its event side (an IDispatch that is part of the control
// and never deleted through COM) to the player's event interface and hands ready-state, progress,
// FSCommand and FlashCall events to the application's handler. Event arguments come from the
// player and are checked before they are read. ReleaseObject unsubscribes and lets go of the player
// before the base closes the object, so the player never calls into a control that has gone.
#pragma once

#include <ole2.h>
#include <windows.h>

#include "controls/com/ActiveX.h"
#include "host/Events.h"

namespace SkinUI {

// The application's receiver of player events. The control calls Release once when it is
// destroyed (the reference handed over with SetEventHandler); AddRef is never called by it.
class IFlashEventHandler {
public:
    virtual ULONG Release() = 0;
    virtual ULONG AddRef() = 0;
    virtual HRESULT OnReadyStateChange(LONG state) = 0;
    virtual HRESULT OnProgress(LONG percentDone) = 0;
    virtual HRESULT OnFSCommand(const wchar_t* command, const wchar_t* args) = 0;
    virtual HRESULT OnFlashCall(const wchar_t* request) = 0;

protected:
    ~IFlashEventHandler() = default;
};

class CFlashUI : public CActiveXUI, public IDispatch, public ITranslateAccelerator {
public:
    CFlashUI();
    ~CFlashUI() override;

    const char* GetTypeName() const override;
    static constexpr const char* kCastName = "Flash";
    void* CastTo(const char* name) override;
    void SetAttribute(const char* name, const char* value) override;
    static void AppendAttributeNames(TAttributeNames& names);
    void ReleaseObject() override;
    bool CreateObject() override;

    // Takes over the caller's reference; a handler set before is released.
    void SetEventHandler(IFlashEventHandler* handler);
    IDispatch* GetPlayer() const { return m_player; }

    // The event side.
    STDMETHODIMP QueryInterface(REFIID iid, void** out) override;
    STDMETHODIMP_(ULONG) AddRef() override;
    STDMETHODIMP_(ULONG) Release() override;
    STDMETHODIMP GetTypeInfoCount(UINT* count) override;
    STDMETHODIMP GetTypeInfo(UINT index, LCID locale, ITypeInfo** out) override;
    STDMETHODIMP GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID locale, DISPID* ids) override;
    STDMETHODIMP Invoke(DISPID id, REFIID iid, LCID locale, WORD flags, DISPPARAMS* params, VARIANT* result,
        EXCEPINFO* exception, UINT* argError) override;

    LRESULT Translate(const MSG* msg) override;

private:
    void AdviseEvents(bool subscribe);
    HRESULT OnFSCommand(const DISPPARAMS* params);
    HRESULT OnFlashCall(const DISPPARAMS* params);

    IDispatch* m_player = nullptr;  // one reference; the player's main interface
    volatile LONG m_eventRefs = 0;  // the event side's count (never deletes)
    DWORD m_cookie = 0;
    IFlashEventHandler* m_eventHandler = nullptr;  // one reference

    static CAttributeTable<CFlashUI> OwnAttributes();
};

}  // namespace SkinUI
