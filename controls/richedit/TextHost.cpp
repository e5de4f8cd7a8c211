#include "controls/richedit/TextHost.h"

#include <climits>
#include <cstring>

#include "controls/richedit/RichEdit.h"
#include "controls/range/ScrollBar.h"
#include "core/CodePage.h"
#include "host/WindowHost.h"

namespace SkinUI {

namespace {

// The interface identifiers are defined here: the import libraries of the toolchain lack them.
const IID kIidTextServices = {0x8D33F740, 0xCF58, 0x11CE, {0xA8, 0x9D, 0x00, 0xAA, 0x00, 0x6C, 0xAD, 0xC5}};
const IID kIidTextHost = {0xC5BDD8D0, 0xD26E, 0x11CE, {0xA8, 0x9E, 0x00, 0xAA, 0x00, 0x6C, 0xAD, 0xC5}};
// Some builds of the services ask for the host under this identifier instead.
const IID kIidTextHostOther = {0x13E670F4, 0x1A5A, 0x11CF, {0xAB, 0xEB, 0x00, 0xAA, 0x00, 0xB6, 0x5E, 0xA1}};

const DWORD kScrollBarStyles = WS_VSCROLL | WS_HSCROLL | ES_AUTOVSCROLL | ES_AUTOHSCROLL | ES_DISABLENOSCROLL;
const LONG kHimetricPerInch = 2540;
const LONG kTwipsPerInch = 1440;

COLORREF ToColorRef(uint32_t argb) { return RGB((argb >> 16) & 0xFF, (argb >> 8) & 0xFF, argb & 0xFF); }

int ClampToInt(long long value)
{
    return value > INT_MAX ? INT_MAX : (value < INT_MIN ? INT_MIN : static_cast<int>(value));
}

}  // namespace

//--- creation and lifetime -----------------------------------------------------------------------

CTxtWinHost::CTxtWinHost(CRichEditUI* owner, const TTextHostSettings& settings)
    : m_owner(owner)
    , m_style(settings.Style)
    , m_maxLength(static_cast<DWORD>(settings.MaxLength))
    , m_charFormat()
    , m_paraFormat()
{
    if (settings.Rich)
        m_flags |= FlagRich;
    m_charFormat.cbSize = sizeof(m_charFormat);
    m_charFormat.crTextColor = ToColorRef(settings.TextColor);
    TakeFont(settings.Font);

    m_paraFormat.cbSize = sizeof(m_paraFormat);
    m_paraFormat.dwMask = PFM_ALL;
    m_paraFormat.wAlignment = PFA_LEFT;
    m_paraFormat.cTabCount = 1;
    m_paraFormat.rgxTabs[0] = 720;  // half an inch, in twips

    if ((m_style & (WS_HSCROLL | ES_AUTOHSCROLL)) == 0)
        m_flags |= FlagWordWrap;
    if ((m_style & ES_CENTER) != 0)
        m_paraFormat.wAlignment = PFA_CENTER;
    else if ((m_style & ES_RIGHT) != 0)
        m_paraFormat.wAlignment = PFA_RIGHT;
    // With the style but no character the services would draw the text in clear.
    if ((m_style & ES_PASSWORD) != 0)
        m_passwordChar = L'*';
    m_flags |= FlagInPlaceActive;
}

CTxtWinHost::~CTxtWinHost()
{
    if (m_services != nullptr) {
        m_services->OnTxInPlaceDeactivate();
        m_services->Release();
    }
}

CTxtWinHost* CTxtWinHost::Create(CRichEditUI* owner, const TTextHostSettings& settings, TCreateServices create)
{
    CTxtWinHost* host = new CTxtWinHost(owner, settings);
    if (!host->CreateServices(create)) {
        host->Release();
        return nullptr;
    }
    host->m_flags |= FlagTransparent;
    host->m_services->OnTxPropertyBitsChange(TXTBIT_BACKSTYLECHANGE, 0);
    LRESULT ignored = 0;
    host->m_services->TxSendMessage(EM_SETLANGOPTIONS, 0, 0, &ignored);
    if (FAILED(host->m_services->OnTxInPlaceActivate(nullptr)))
        host->m_flags &= ~FlagInPlaceActive;
    return host;
}

bool CTxtWinHost::CreateServices(TCreateServices create)
{
    if (create == nullptr)
        return false;
    IUnknown* unknown = nullptr;
    if (FAILED(create(nullptr, this, &unknown)) || unknown == nullptr)
        return false;
    void* services = nullptr;
    const HRESULT hr = unknown->QueryInterface(kIidTextServices, &services);
    unknown->Release();
    if (FAILED(hr) || services == nullptr)
        return false;
    m_services = static_cast<ITextServices*>(services);
    return true;
}

HRESULT CTxtWinHost::QueryInterface(REFIID iid, void** object)
{
    if (object == nullptr)
        return E_POINTER;
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, kIidTextHost) || IsEqualIID(iid, kIidTextHostOther)) {
        *object = static_cast<ITextHost*>(this);
        AddRef();
        return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
}

ULONG CTxtWinHost::AddRef() { return ++m_refs; }

ULONG CTxtWinHost::Release()
{
    const ULONG refs = --m_refs;
    if (refs == 0)
        delete this;
    return refs;
}

CWindowHostUI* CTxtWinHost::WindowHost() const { return m_owner != nullptr ? m_owner->GetHost() : nullptr; }

HWND CTxtWinHost::Window() const
{
    CWindowHostUI* host = WindowHost();
    return host != nullptr ? host->GetPaintWindow() : nullptr;
}

//--- settings from the control -------------------------------------------------------------------

void CTxtWinHost::SetClientRect(const CRectUI& rect)
{
    StoreClientRect(rect);
    // The services re-read the client rectangle only when told it changed.
    const DWORD bits = TXTBIT_EXTENTCHANGE | TXTBIT_CLIENTRECTCHANGE;
    if (m_services != nullptr)
        m_services->OnTxPropertyBitsChange(bits, bits);
}

void CTxtWinHost::StoreClientRect(const CRectUI& rect)
{
    m_client = rect;
    CWindowHostUI* host = WindowHost();
    HDC dc = host != nullptr ? host->GetPaintDC() : nullptr;
    const int dpiX = dc != nullptr ? ::GetDeviceCaps(dc, LOGPIXELSX) : 96;
    const int dpiY = dc != nullptr ? ::GetDeviceCaps(dc, LOGPIXELSY) : 96;
    m_extent.cx = ::MulDiv(rect.GetWidth(), kHimetricPerInch, dpiX > 0 ? dpiX : 96);
    m_extent.cy = ::MulDiv(rect.GetHeight(), kHimetricPerInch, dpiY > 0 ? dpiY : 96);
}

void CTxtWinHost::SetRich(bool rich)
{
    if (rich)
        m_flags |= FlagRich;
    else
        m_flags &= ~FlagRich;
    if (m_services != nullptr)
        m_services->OnTxPropertyBitsChange(TXTBIT_RICHTEXT, rich ? TXTBIT_RICHTEXT : 0);
}

void CTxtWinHost::SetTextColor(uint32_t argb)
{
    m_charFormat.crTextColor = ToColorRef(argb);
    if (m_services != nullptr)
        m_services->OnTxPropertyBitsChange(TXTBIT_CHARFORMATCHANGE, TXTBIT_CHARFORMATCHANGE);
}

void CTxtWinHost::SetFont(HFONT font)
{
    TakeFont(font);
    if (m_services != nullptr)
        m_services->OnTxPropertyBitsChange(TXTBIT_CHARFORMATCHANGE, TXTBIT_CHARFORMATCHANGE);
}

void CTxtWinHost::TakeFont(HFONT font)
{
    LOGFONTA logFont = {};
    // A host without fonts yet still gives the editor a readable face.
    if (font == nullptr || ::GetObjectA(font, sizeof(logFont), &logFont) != sizeof(logFont))
        ::GetObjectA(::GetStockObject(DEFAULT_GUI_FONT), sizeof(logFont), &logFont);
    CWindowHostUI* host = WindowHost();
    HDC dc = host != nullptr ? host->GetPaintDC() : nullptr;
    int dpiY = dc != nullptr ? ::GetDeviceCaps(dc, LOGPIXELSY) : 96;
    if (dpiY <= 0)
        dpiY = 96;
    m_charFormat.dwMask
        = CFM_SIZE | CFM_OFFSET | CFM_FACE | CFM_CHARSET | CFM_COLOR | CFM_BOLD | CFM_ITALIC | CFM_UNDERLINE;
    m_charFormat.yHeight = ::MulDiv(logFont.lfHeight, -kTwipsPerInch, dpiY);
    m_charFormat.dwEffects = 0;
    if (logFont.lfWeight > 699)
        m_charFormat.dwEffects |= CFE_BOLD;
    if (logFont.lfItalic)
        m_charFormat.dwEffects |= CFE_ITALIC;
    if (logFont.lfUnderline)
        m_charFormat.dwEffects |= CFE_UNDERLINE;
    m_charFormat.bCharSet = logFont.lfCharSet;
    m_charFormat.bPitchAndFamily = logFont.lfPitchAndFamily;
    std::memset(m_charFormat.szFaceName, 0, sizeof(m_charFormat.szFaceName));
    // LOGFONTA's face is terminated within its 32 bytes, so the conversion stops there; a face
    // whose wide form leaves no room for the terminator is left empty.
    std::wstring face;
    if (WideFromCodePage(logFont.lfFaceName, CP_ACP, face) && face.size() < LF_FACESIZE)
        face.copy(m_charFormat.szFaceName, face.size());
}

//--- device context and scroll bars --------------------------------------------------------------

HDC CTxtWinHost::TxGetDC()
{
    CWindowHostUI* host = WindowHost();
    return host != nullptr ? host->GetPaintDC() : nullptr;
}

INT CTxtWinHost::TxReleaseDC(HDC) { return 1; }

WINBOOL CTxtWinHost::TxShowScrollBar(INT bar, WINBOOL show)
{
    if (m_owner == nullptr)
        return FALSE;
    CScrollBarUI* vertical = m_owner->GetVerticalScrollBar();
    CScrollBarUI* horizontal = m_owner->GetHorizontalScrollBar();
    bool changed = false;
    if (vertical != nullptr && (bar == SB_VERT || bar == SB_BOTH)) {
        changed = changed || vertical->IsVisible() != (show != FALSE);
        vertical->SetVisible(show != FALSE);
    }
    if (horizontal != nullptr && (bar == SB_HORZ || bar == SB_BOTH)) {
        changed = changed || horizontal->IsVisible() != (show != FALSE);
        horizontal->SetVisible(show != FALSE);
    }
    // The bars take room from the text: place everything again at the next paint.
    if (changed)
        m_owner->RequestLayout();
    return TRUE;
}

WINBOOL CTxtWinHost::TxEnableScrollBar(INT bar, INT arrows)
{
    if (m_owner == nullptr)
        return FALSE;
    const bool vertical = bar == SB_VERT || bar == SB_BOTH;
    const bool horizontal = bar == SB_HORZ || bar == SB_BOTH;
    if (!vertical && !horizontal)
        return FALSE;
    m_owner->SetScrollBarsEnabled(vertical || m_owner->GetVerticalScrollBar() != nullptr,
        horizontal || m_owner->GetHorizontalScrollBar() != nullptr);
    if (arrows != ESB_DISABLE_BOTH) {
        if (vertical)
            m_owner->GetVerticalScrollBar()->SetVisible(true);
        if (horizontal)
            m_owner->GetHorizontalScrollBar()->SetVisible(true);
    }
    return TRUE;
}

long long CTxtWinHost::ScaledPage(INT bar, long long span) const
{
    const long long page = bar == SB_VERT ? m_client.GetHeight() : m_client.GetWidth();
    // Past 16 bits the services scale their range and positions down to 0..0xFFFF; the page is
    // in pixels, so it is scaled the same way, or the bar would end short of the text's end.
    LONG minimum = 0;
    LONG maximum = 0;
    LONG position = 0;
    LONG shown = 0;
    WINBOOL enabled = FALSE;
    const HRESULT hr = m_services == nullptr ? E_FAIL
        : bar == SB_VERT                     ? m_services->TxGetVScroll(&minimum, &maximum, &position, &shown, &enabled)
                         : m_services->TxGetHScroll(&minimum, &maximum, &position, &shown, &enabled);
    const long long full = static_cast<long long>(maximum) - minimum;
    if (FAILED(hr) || span <= 0 || full <= span)
        return page;
    return page * span / full;
}

WINBOOL CTxtWinHost::TxSetScrollRange(INT bar, LONG minPos, INT maxPos, WINBOOL)
{
    if (m_owner == nullptr || (bar != SB_VERT && bar != SB_HORZ))
        return FALSE;
    CScrollBarUI* scrollBar = bar == SB_VERT ? m_owner->GetVerticalScrollBar() : m_owner->GetHorizontalScrollBar();
    if (scrollBar == nullptr)
        return FALSE;
    const long long span = static_cast<long long>(maxPos) - minPos;
    const int range = ClampToInt(span - ScaledPage(bar, span));
    const bool wasVisible = scrollBar->IsVisible();
    if (range > 0) {
        scrollBar->SetVisible(true);
        scrollBar->SetRange(range);
    } else {
        scrollBar->SetVisible(false);
    }
    if (wasVisible != scrollBar->IsVisible())
        m_owner->RequestLayout();
    return TRUE;
}

WINBOOL CTxtWinHost::TxSetScrollPos(INT bar, INT pos, WINBOOL)
{
    if (m_owner == nullptr || (bar != SB_VERT && bar != SB_HORZ))
        return FALSE;
    CScrollBarUI* scrollBar = bar == SB_VERT ? m_owner->GetVerticalScrollBar() : m_owner->GetHorizontalScrollBar();
    if (scrollBar == nullptr)
        return FALSE;
    scrollBar->SetValue(pos);
    scrollBar->Invalidate();
    return TRUE;
}

//--- repainting, caret, timers, capture, focus, cursor -------------------------------------------

void CTxtWinHost::TxInvalidateRect(LPCRECT rect, WINBOOL)
{
    HWND window = Window();
    if (window != nullptr)
        ::InvalidateRect(window, rect != nullptr ? rect : &m_client, FALSE);
}

void CTxtWinHost::TxViewChange(WINBOOL)
{
    if (m_owner != nullptr && m_owner->OnViewChanged())
        m_owner->Invalidate();
}

WINBOOL CTxtWinHost::TxCreateCaret(HBITMAP bitmap, INT width, INT height)
{
    HWND window = Window();
    return window != nullptr ? ::CreateCaret(window, bitmap, width, height) : FALSE;
}

WINBOOL CTxtWinHost::TxShowCaret(WINBOOL show)
{
    HWND window = Window();
    if (window == nullptr)
        return FALSE;
    return show ? ::ShowCaret(window) : ::HideCaret(window);
}

WINBOOL CTxtWinHost::TxSetCaretPos(INT x, INT y) { return ::SetCaretPos(x, y); }

WINBOOL CTxtWinHost::TxSetTimer(UINT id, UINT timeout)
{
    CWindowHostUI* host = WindowHost();
    m_flags |= FlagTimer;
    return host != nullptr && host->SetControlTimer(m_owner, id, timeout);
}

void CTxtWinHost::TxKillTimer(UINT id)
{
    CWindowHostUI* host = WindowHost();
    if (host != nullptr)
        host->KillControlTimer(m_owner, id);
    m_flags &= ~FlagTimer;
}

void CTxtWinHost::TxScrollWindowEx(INT, INT, LPCRECT, LPCRECT, HRGN, LPRECT, UINT)
{
    // The whole control is repainted from the off-screen bitmap instead.
}

void CTxtWinHost::TxSetCapture(WINBOOL capture)
{
    CWindowHostUI* host = WindowHost();
    if (host == nullptr)
        return;
    if (capture) {
        // Through the host, which ends it when the editor is hidden, disabled or removed.
        host->CaptureMouseFor(m_owner);
        m_flags |= FlagCaptured;
    } else if (IsCaptured()) {
        // The bit goes first, so the capture change our own release causes is not taken for a loss.
        m_flags &= ~FlagCaptured;
        host->ReleaseMouseFor(m_owner);
    }
}

void CTxtWinHost::TxSetFocus()
{
    if (m_owner != nullptr)
        m_owner->TakeFocus();
}

void CTxtWinHost::TxSetCursor(HCURSOR cursor, WINBOOL) { ::SetCursor(cursor); }

WINBOOL CTxtWinHost::TxScreenToClient(LPPOINT pt)
{
    HWND window = Window();
    return window != nullptr && pt != nullptr ? ::ScreenToClient(window, pt) : FALSE;
}

WINBOOL CTxtWinHost::TxClientToScreen(LPPOINT pt)
{
    HWND window = Window();
    return window != nullptr && pt != nullptr ? ::ClientToScreen(window, pt) : FALSE;
}

HRESULT CTxtWinHost::TxActivate(LONG*) { return S_OK; }

HRESULT CTxtWinHost::TxDeactivate(LONG) { return S_OK; }

//--- properties asked by the services ------------------------------------------------------------

HRESULT CTxtWinHost::TxGetClientRect(LPRECT rect)
{
    if (rect == nullptr)
        return E_INVALIDARG;
    *rect = m_client;
    return S_OK;
}

HRESULT CTxtWinHost::TxGetViewInset(LPRECT rect)
{
    if (rect == nullptr)
        return E_INVALIDARG;
    ::SetRectEmpty(rect);
    return S_OK;
}

HRESULT CTxtWinHost::TxGetCharFormat(const CHARFORMATW** format)
{
    if (format == nullptr)
        return E_INVALIDARG;
    // CHARFORMAT2W begins with CHARFORMATW; the size field tells the services which one it is.
    *format = reinterpret_cast<const CHARFORMATW*>(&m_charFormat);
    return S_OK;
}

HRESULT CTxtWinHost::TxGetParaFormat(const PARAFORMAT** format)
{
    if (format == nullptr)
        return E_INVALIDARG;
    *format = &m_paraFormat;
    return S_OK;
}

COLORREF CTxtWinHost::TxGetSysColor(int index) { return ::GetSysColor(index); }

HRESULT CTxtWinHost::TxGetBackStyle(TXTBACKSTYLE* style)
{
    if (style == nullptr)
        return E_INVALIDARG;
    *style = (m_flags & FlagTransparent) != 0 ? TXTBACK_TRANSPARENT : TXTBACK_OPAQUE;
    return S_OK;
}

HRESULT CTxtWinHost::TxGetMaxLength(DWORD* length)
{
    if (length == nullptr)
        return E_INVALIDARG;
    *length = m_maxLength;
    return S_OK;
}

HRESULT CTxtWinHost::TxGetScrollBars(DWORD* bars)
{
    if (bars == nullptr)
        return E_INVALIDARG;
    *bars = m_style & kScrollBarStyles;
    return S_OK;
}

HRESULT CTxtWinHost::TxGetPasswordChar(TCHAR* ch)
{
    if (ch == nullptr)
        return E_INVALIDARG;
    // The services always pass a UTF-16 unit, whatever the toolchain's header makes of the type.
    std::memcpy(ch, &m_passwordChar, sizeof(m_passwordChar));
    return S_OK;
}

HRESULT CTxtWinHost::TxGetAcceleratorPos(LONG* cp)
{
    if (cp == nullptr)
        return E_INVALIDARG;
    *cp = -1;
    return S_OK;
}

HRESULT CTxtWinHost::TxGetExtent(LPSIZEL extent)
{
    if (extent == nullptr)
        return E_INVALIDARG;
    *extent = m_extent;
    return S_OK;
}

HRESULT CTxtWinHost::OnTxCharFormatChange(const CHARFORMATW*) { return S_OK; }

HRESULT CTxtWinHost::OnTxParaFormatChange(const PARAFORMAT*) { return S_OK; }

HRESULT CTxtWinHost::TxGetPropertyBits(DWORD mask, DWORD* bits)
{
    if (bits == nullptr)
        return E_INVALIDARG;
    DWORD all = 0;
    if ((m_style & ES_MULTILINE) != 0)
        all |= TXTBIT_MULTILINE;
    if ((m_flags & FlagRich) != 0)
        all |= TXTBIT_RICHTEXT;
    if ((m_style & ES_READONLY) != 0)
        all |= TXTBIT_READONLY;
    if ((m_style & ES_PASSWORD) != 0)
        all |= TXTBIT_USEPASSWORD;
    if ((m_style & ES_NOHIDESEL) == 0)
        all |= TXTBIT_HIDESELECTION;
    if ((m_flags & FlagAutoWordSelect) != 0)
        all |= TXTBIT_AUTOWORDSEL;
    if ((m_flags & FlagWordWrap) != 0)
        all |= TXTBIT_WORDWRAP;
    if ((m_flags & FlagAllowBeep) != 0)
        all |= TXTBIT_ALLOWBEEP;
    if ((m_flags & FlagSaveSelection) != 0)
        all |= TXTBIT_SAVESELECTION;
    *bits = all & mask;
    return S_OK;
}

HRESULT CTxtWinHost::TxNotify(DWORD code, void* record)
{
    if (code == EN_REQUESTRESIZE && record != nullptr) {
        const RECT& wanted = static_cast<const REQRESIZE*>(record)->rc;
        // The services asked for this size themselves: telling them again could only recurse.
        StoreClientRect(CRectUI(m_client.left, m_client.top, m_client.left + (wanted.right - wanted.left),
            m_client.top + (wanted.bottom - wanted.top)));
    }
    if (m_owner != nullptr)
        m_owner->OnTextNotify(code, record);
    return S_OK;
}

HIMC CTxtWinHost::TxImmGetContext() { return nullptr; }

void CTxtWinHost::TxImmReleaseContext(HIMC) { }

HRESULT CTxtWinHost::TxGetSelectionBarWidth(LONG* width)
{
    if (width == nullptr)
        return E_INVALIDARG;
    *width = m_selectionBarWidth;
    return S_OK;
}

}  // namespace SkinUI
