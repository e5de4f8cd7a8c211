// CTxtWinHost: the host side of the windowless rich text services that CRichEditUI embeds.
//
// The text services component does the editing, layout and drawing; it asks this object for
// everything a window would otherwise give it (device context, caret, timers, capture, scroll
// bars, invalidation, formats) and this object maps each request onto the owning control, its
// window host and the control's own scroll bars. Rectangles are client coordinates of the host
// window; the extent is in HIMETRIC units.
//
// Reference counted (COM rules): the control holds one reference and drops it in its destructor;
// the services never hold one. The control detaches itself first (Detach), so a late call from the
// services after the control is gone answers harmlessly instead of touching freed memory.
#pragma once

#include <richedit.h>
#include <textserv.h>
#include <windows.h>

#include <cstdint>

#include "core/Geometry.h"

namespace SkinUI {

class CRichEditUI;
class CWindowHostUI;

// What the control hands the text host when it is created.
struct TTextHostSettings {
    DWORD Style;  // ES_ and WS_ bits
    int MaxLength;
    bool Rich;
    uint32_t TextColor;  // 0xAARRGGBB
    HFONT Font;  // the window host's font for the control, not owned
};

class CTxtWinHost : public ITextHost {
public:
    // Flag bits kept by the host.
    enum : unsigned {
        FlagAutoWordSelect = 0x01u,
        FlagWordWrap = 0x02u,
        FlagAllowBeep = 0x04u,
        FlagRich = 0x08u,
        FlagSaveSelection = 0x10u,
        FlagInPlaceActive = 0x20u,
        FlagTransparent = 0x40u,
        FlagTimer = 0x80u,
        FlagCaptured = 0x100u,
    };

    // The services stand-in: the system library's entry point, or another component's.
    typedef HRESULT(WINAPI* TCreateServices)(IUnknown* outer, ITextHost* host, IUnknown** services);

    // A host with one reference, with its services created through `create`; null when the
    // services cannot be had (nothing to release then).
    static CTxtWinHost* Create(CRichEditUI* owner, const TTextHostSettings& settings, TCreateServices create);

    // The control is going away: no call reaches it from here on.
    void Detach() { m_owner = nullptr; }
    ITextServices* GetServices() const { return m_services; }
    const CRectUI& GetClientRect() const { return m_client; }
    // Stores the rectangle, derives the extent from it and tells the services.
    void SetClientRect(const CRectUI& rect);
    bool IsCaptured() const { return (m_flags & FlagCaptured) != 0; }
    // Another window took the mouse: the services no longer hold it.
    void ForgetCapture() { m_flags &= ~FlagCaptured; }
    bool IsInPlaceActive() const { return (m_flags & FlagInPlaceActive) != 0; }
    void SetRich(bool rich);
    void SetTextColor(uint32_t argb);
    void SetFont(HFONT font);

    // IUnknown
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;

    // ITextHost, in the interface's order
    HDC TxGetDC() override;
    INT TxReleaseDC(HDC hdc) override;
    WINBOOL TxShowScrollBar(INT bar, WINBOOL show) override;
    WINBOOL TxEnableScrollBar(INT bar, INT arrows) override;
    WINBOOL TxSetScrollRange(INT bar, LONG minPos, INT maxPos, WINBOOL redraw) override;
    WINBOOL TxSetScrollPos(INT bar, INT pos, WINBOOL redraw) override;
    void TxInvalidateRect(LPCRECT rect, WINBOOL mode) override;
    void TxViewChange(WINBOOL update) override;
    WINBOOL TxCreateCaret(HBITMAP bitmap, INT width, INT height) override;
    WINBOOL TxShowCaret(WINBOOL show) override;
    WINBOOL TxSetCaretPos(INT x, INT y) override;
    WINBOOL TxSetTimer(UINT id, UINT timeout) override;
    void TxKillTimer(UINT id) override;
    void TxScrollWindowEx(
        INT dx, INT dy, LPCRECT scroll, LPCRECT clip, HRGN update, LPRECT updateRect, UINT flags) override;
    void TxSetCapture(WINBOOL capture) override;
    void TxSetFocus() override;
    void TxSetCursor(HCURSOR cursor, WINBOOL text) override;
    WINBOOL TxScreenToClient(LPPOINT pt) override;
    WINBOOL TxClientToScreen(LPPOINT pt) override;
    HRESULT TxActivate(LONG* oldState) override;
    HRESULT TxDeactivate(LONG newState) override;
    HRESULT TxGetClientRect(LPRECT rect) override;
    HRESULT TxGetViewInset(LPRECT rect) override;
    HRESULT TxGetCharFormat(const CHARFORMATW** format) override;
    HRESULT TxGetParaFormat(const PARAFORMAT** format) override;
    COLORREF TxGetSysColor(int index) override;
    HRESULT TxGetBackStyle(TXTBACKSTYLE* style) override;
    HRESULT TxGetMaxLength(DWORD* length) override;
    HRESULT TxGetScrollBars(DWORD* bars) override;
    HRESULT TxGetPasswordChar(TCHAR* ch) override;
    HRESULT TxGetAcceleratorPos(LONG* cp) override;
    HRESULT TxGetExtent(LPSIZEL extent) override;
    HRESULT OnTxCharFormatChange(const CHARFORMATW* format) override;
    HRESULT OnTxParaFormatChange(const PARAFORMAT* format) override;
    HRESULT TxGetPropertyBits(DWORD mask, DWORD* bits) override;
    HRESULT TxNotify(DWORD code, void* record) override;
    HIMC TxImmGetContext() override;
    void TxImmReleaseContext(HIMC context) override;
    HRESULT TxGetSelectionBarWidth(LONG* width) override;

private:
    // The client's length along `bar` in the units of a scroll range spanning `span`.
    long long ScaledPage(INT bar, long long span) const;

    CTxtWinHost(CRichEditUI* owner, const TTextHostSettings& settings);
    virtual ~CTxtWinHost();
    bool CreateServices(TCreateServices create);
    // Stores the rectangle and the extent that goes with it.
    void StoreClientRect(const CRectUI& rect);
    // Size, effects, character set and face of the font; the colour is left alone.
    void TakeFont(HFONT font);
    CWindowHostUI* WindowHost() const;
    HWND Window() const;

    CRichEditUI* m_owner;  // not owned; null once the control has gone
    ULONG m_refs = 1;
    ITextServices* m_services = nullptr;  // one reference, owned
    DWORD m_style;
    unsigned m_flags = 0;
    LONG m_selectionBarWidth = 0;
    DWORD m_maxLength;
    SIZEL m_extent = {0, 0};  // HIMETRIC
    CHARFORMAT2W m_charFormat;
    PARAFORMAT2 m_paraFormat;
    CRectUI m_client;  // client coordinates of the host window
    WCHAR m_passwordChar = 0;
};

// Keeps a text host, and with it the services, alive across a call into the services that may
// destroy the control (a listener of a notification raised inside the call): the services return
// into live objects, and the last reference goes when the hold does.
class CTextHostHold {
public:
    explicit CTextHostHold(CTxtWinHost* host)
        : m_host(host)
    {
        if (m_host != nullptr)
            m_host->AddRef();
    }
    ~CTextHostHold()
    {
        if (m_host != nullptr)
            m_host->Release();
    }
    CTextHostHold(const CTextHostHold&) = delete;
    CTextHostHold& operator=(const CTextHostHold&) = delete;

private:
    CTxtWinHost* m_host;
};

}  // namespace SkinUI
