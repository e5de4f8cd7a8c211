// A stand-in for the system's windowless text services that records every message it is sent
// and answers as told, for assertions at the message level. Install it with a FakeServicesScope:
// rich edits initialised inside the scope get a fake, reachable through Last().
#pragma once

#include <richedit.h>
#include <textserv.h>
#include <windows.h>

#include <string>
#include <vector>

namespace testbed {

struct TSentMessage {
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
};

class FakeTextServices : public ITextServices {
public:
    static HRESULT WINAPI Create(IUnknown* outer, ITextHost* host, IUnknown** services);
    // The fake made last, or null; cleared when it is destroyed.
    static FakeTextServices* Last();

    ITextHost* host = nullptr;  // not referenced, like the real services
    std::vector<TSentMessage> sent;
    HRESULT answer = S_OK;  // what TxSendMessage answers for ordinary messages
    std::string bytes;  // the stored text as the ANSI code page would give it
    LRESULT units = 0;  // its length in UTF-16 units
    LONG verticalMax = 0;  // the unscaled vertical range TxGetVScroll reports (0 to this)

    // wParams of the sent messages of one kind, in order.
    std::vector<WPARAM> Params(UINT message) const;
    int Count(UINT message) const;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override;
    ULONG STDMETHODCALLTYPE AddRef() override { return ++m_refs; }
    ULONG STDMETHODCALLTYPE Release() override;

    HRESULT TxSendMessage(UINT msg, WPARAM wparam, LPARAM lparam, LRESULT* result) override;
    HRESULT TxDraw(DWORD, LONG, void*, DVTARGETDEVICE*, HDC, HDC, LPCRECTL, LPCRECTL, LPRECT, WINBOOL(CALLBACK*)(DWORD),
        DWORD, LONG) override
    {
        return S_OK;
    }
    HRESULT TxGetHScroll(LONG*, LONG*, LONG*, LONG*, WINBOOL*) override { return S_OK; }
    HRESULT TxGetVScroll(LONG* min, LONG* max, LONG* pos, LONG* page, WINBOOL* enabled) override
    {
        *min = 0;
        *max = verticalMax;
        *pos = 0;
        *page = 0;
        *enabled = verticalMax > 0;
        return S_OK;
    }
    HRESULT OnTxSetCursor(DWORD, LONG, void*, DVTARGETDEVICE*, HDC, HDC, LPCRECT, INT, INT) override { return S_OK; }
    HRESULT TxQueryHitPoint(DWORD, LONG, void*, DVTARGETDEVICE*, HDC, HDC, LPCRECT, INT, INT, DWORD*) override
    {
        return S_OK;
    }
    HRESULT OnTxInPlaceActivate(LPCRECT) override { return S_OK; }
    HRESULT OnTxInPlaceDeactivate() override { return S_OK; }
    HRESULT OnTxUIActivate() override { return S_OK; }
    HRESULT OnTxUIDeactivate() override { return S_OK; }
    HRESULT TxGetText(BSTR*) override { return E_NOTIMPL; }
    HRESULT TxSetText(LPCWSTR) override { return S_OK; }
    HRESULT TxGetCurTargetX(LONG*) override { return E_NOTIMPL; }
    HRESULT TxGetBaseLinePos(LONG*) override { return E_NOTIMPL; }
    HRESULT TxGetNaturalSize(DWORD, HDC, HDC, DVTARGETDEVICE*, DWORD, const SIZEL*, LONG*, LONG*) override
    {
        return E_NOTIMPL;
    }
    HRESULT TxGetDropTarget(IDropTarget**) override { return E_NOTIMPL; }
    HRESULT OnTxPropertyBitsChange(DWORD, DWORD) override { return S_OK; }
    HRESULT TxGetCachedSize(DWORD*, DWORD*) override { return E_NOTIMPL; }

private:
    FakeTextServices() = default;
    virtual ~FakeTextServices();
    ULONG m_refs = 1;
};

// Rich edits initialised while it lives get a FakeTextServices.
class FakeServicesScope {
public:
    FakeServicesScope();
    ~FakeServicesScope();
    FakeServicesScope(const FakeServicesScope&) = delete;
    FakeServicesScope& operator=(const FakeServicesScope&) = delete;
};

}  // namespace testbed
