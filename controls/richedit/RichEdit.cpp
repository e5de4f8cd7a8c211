// CRichEditUI: creation of the text services, attributes, text, layout, painting and scrolling.
// Input (events, the message filter, characters, notifications) is in RichEditInput.cpp.
#include "controls/richedit/RichEdit.h"

#include <cstring>
#include <vector>

#include "controls/base/CastChain.h"
#include "controls/range/ScrollBar.h"
#include "core/CodePage.h"
#include "core/SystemLibrary.h"
#include "core/ValueParse.h"
#include "host/ControlAliveGuard.h"
#include "host/WindowHost.h"

namespace SkinUI {

namespace {

// Longest text GetText hands out; the services' own answer is outside input.
const LRESULT kMaxTextBytes = 64 * 1024 * 1024;

CTxtWinHost::TCreateServices& StandInServices()
{
    static CTxtWinHost::TCreateServices create = nullptr;
    return create;
}

CTxtWinHost::TCreateServices SystemServices()
{
    // The system folder only: the program runs elevated, and a bare name would be looked for
    // beside the program (often a download folder) first.
    static const HMODULE module = LoadSystemLibrary("msftedit.dll");
    return LookUpProc<CTxtWinHost::TCreateServices>(module, "CreateTextServices");
}

}  // namespace

void CRichEditUI::UseTextServicesFactory(CTxtWinHost::TCreateServices create) { StandInServices() = create; }

CRichEditUI::CRichEditUI() = default;

CRichEditUI::~CRichEditUI()
{
    Unregister();
    if (m_textHost != nullptr) {
        m_textHost->Detach();
        m_textHost->Release();
        m_textHost = nullptr;
    }
}

const char* CRichEditUI::GetTypeName() const { return "RichEditUI"; }

void* CRichEditUI::CastTo(const char* name) { return CastToSelfOrBase<CContainerUI>(this, name); }

unsigned CRichEditUI::GetCapabilities() const { return IsEnabled() ? CapabilityTabStop | CapabilityWantsCursor : 0; }

//--- the text services ---------------------------------------------------------------------------

void CRichEditUI::AttachHost(CWindowHostUI* host, CControlUI* parent, bool initNow)
{
    CContainerUI::AttachHost(host, parent, initNow);
    // Moved into another window (a drop-down lends it its rows): the messages to filter are that
    // window's now. Detached (host null), it keeps the old registration until it dies.
    if (m_filterHost == nullptr || host == nullptr || host == m_filterHost)
        return;
    Unregister();
    if (host->AddWindowMessageFilter(this))
        m_filterHost = host;
}

void CRichEditUI::OnInitialize() { CreateTextHost(); }

void CRichEditUI::CreateTextHost()
{
    // Without a window there is no device context or caret to give the services: wait for the
    // first layout in a host that has one.
    if (m_initialised || m_host == nullptr || m_host->GetPaintWindow() == nullptr)
        return;
    m_initialised = true;
    m_fontInUse = m_host->FontHandleAt(m_font);
    const TTextHostSettings settings = {m_editStyle, m_textLimit, m_rich, m_textColor, m_fontInUse};
    const CTxtWinHost::TCreateServices create = StandInServices() != nullptr ? StandInServices() : SystemServices();
    m_textHost = CTxtWinHost::Create(this, settings, create);
    if (m_textHost == nullptr)
        return;
    if (m_host->AddWindowMessageFilter(this))
        m_filterHost = m_host;
    // Text given before the services existed (a skin's "text") is what they start with.
    if (!m_text.IsEmpty())
        SetText(m_text.GetData());
}

void CRichEditUI::Unregister()
{
    if (m_filterHost != nullptr)
        m_filterHost->RemoveWindowMessageFilter(this);
    m_filterHost = nullptr;
}

HRESULT CRichEditUI::SendTextMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    LRESULT ignored = 0;
    if (result == nullptr)
        result = &ignored;
    if (m_textHost == nullptr)
        return S_FALSE;
    if (message == WM_KEYDOWN && wParam == VK_RETURN && TakesReturn()) {
        m_returnTaken = true;
        *result = 0;
        if (m_host != nullptr)
            m_host->SendNotification(this, "return");
        return S_OK;
    }
    CTextHostHold hold(m_textHost);
    return m_textHost->GetServices()->TxSendMessage(message, wParam, lParam, result);
}

bool CRichEditUI::OnViewChanged() { return true; }

//--- text ----------------------------------------------------------------------------------------

void CRichEditUI::SetText(const char* text)
{
    m_text = text;
    if (m_textHost == nullptr)
        return;
    std::wstring wide;
    if (!WideFromCodePage(m_text.GetData(), CP_ACP, wide))
        return;
    CHARRANGE all = {0, -1};
    CControlAliveGuard alive(m_host, this);
    SendTextMessage(EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&all), nullptr);
    if (!alive.IsAlive())
        return;  // a listener of the selection change took the editor away
    SendTextMessage(EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(wide.c_str()), nullptr);
}

CUIString CRichEditUI::GetText() const
{
    if (m_textHost == nullptr)
        return m_text;
    CRichEditUI* self = const_cast<CRichEditUI*>(this);
    // Counted in bytes of the ANSI code page: a character may take up to four of them.
    GETTEXTLENGTHEX length = {GTL_NUMBYTES | GTL_PRECISE, CP_ACP};
    LRESULT bytes = 0;
    self->SendTextMessage(EM_GETTEXTLENGTHEX, reinterpret_cast<WPARAM>(&length), 0, &bytes);
    if (bytes <= 0)
        return CUIString();
    if (bytes > kMaxTextBytes)
        bytes = kMaxTextBytes;
    std::vector<char> buffer(static_cast<size_t>(bytes) + 1, '\0');
    GETTEXTEX request = {};
    request.cb = static_cast<DWORD>(buffer.size());
    request.flags = GT_DEFAULT;
    request.codepage = CP_ACP;
    self->SendTextMessage(
        EM_GETTEXTEX, reinterpret_cast<WPARAM>(&request), reinterpret_cast<LPARAM>(buffer.data()), nullptr);
    buffer.back() = '\0';
    return CUIString(buffer.data());
}

//--- attributes ----------------------------------------------------------------------------------

CAttributeTable<CRichEditUI> CRichEditUI::OwnAttributes()
{
    using C = CRichEditUI;
    // The edit style bits first (read when the text services are created); the container acts on
    // the scroll bar and "autovscroll" names as well.
    static constexpr auto addStyle = [](C& c, const char* value, DWORD bits) {
        if (ParseFlag(value))
            c.m_editStyle |= bits;
    };
    static constexpr TAttributeHandler<C> kTable[] = {
        {"vscrollbar",
            [](C& c, const char* v) {
                addStyle(c, v, WS_VSCROLL | ES_DISABLENOSCROLL);
                c.CContainerUI::SetAttribute("vscrollbar", v);
            }},
        {"hscrollbar",
            [](C& c, const char* v) {
                addStyle(c, v, WS_HSCROLL | ES_DISABLENOSCROLL);
                c.CContainerUI::SetAttribute("hscrollbar", v);
            }},
        {"autovscroll",
            [](C& c, const char* v) {
                addStyle(c, v, ES_AUTOVSCROLL);
                c.CContainerUI::SetAttribute("autovscroll", v);
            }},
        {"autohscroll", [](C& c, const char* v) { addStyle(c, v, ES_AUTOHSCROLL); }},
        {"multiline",
            [](C& c, const char* v) {
                if (v != nullptr && std::strcmp(v, "false") == 0)
                    c.m_editStyle &= ~static_cast<DWORD>(ES_MULTILINE);
            }},
        {"readonly",
            [](C& c, const char* v) {
                if (ParseFlag(v)) {
                    c.m_editStyle |= ES_READONLY;
                    c.m_readOnly = true;
                }
            }},
        {"password", [](C& c, const char* v) { addStyle(c, v, ES_PASSWORD); }},
        {"align",
            [](C& c, const char* value) {
                const char* text = value != nullptr ? value : "";
                if (std::strstr(text, "left") != nullptr)
                    c.m_editStyle &= ~static_cast<DWORD>(ES_CENTER | ES_RIGHT);
                // One alignment at a time: the last word found wins.
                if (std::strstr(text, "center") != nullptr)
                    c.m_editStyle = (c.m_editStyle & ~static_cast<DWORD>(ES_RIGHT)) | ES_CENTER;
                if (std::strstr(text, "right") != nullptr)
                    c.m_editStyle = (c.m_editStyle & ~static_cast<DWORD>(ES_CENTER)) | ES_RIGHT;
            }},
        {"wanttab", [](C& c, const char* v) { c.m_wantTab = ParseFlag(v); }},
        {"wantreturn", [](C& c, const char* v) { c.m_wantReturn = ParseFlag(v); }},
        {"wantctrlreturn", [](C& c, const char* v) { c.m_wantCtrlReturn = ParseFlag(v); }},
        {"rich",
            [](C& c, const char* v) {
                c.m_rich = ParseFlag(v);
                if (c.m_textHost != nullptr)
                    c.m_textHost->SetRich(c.m_rich);
            }},
        {"font",
            [](C& c, const char* v) {
                c.m_font = ParseInt(v);
                if (c.m_textHost != nullptr && c.m_host != nullptr)
                    c.UseHostFont();
            }},
        {"textcolor",
            [](C& c, const char* v) {
                c.m_textColor = ParseColorSkipBlanks(v);
                if (c.m_textHost != nullptr)
                    c.m_textHost->SetTextColor(c.m_textColor);
            }},
    };
    return kTable;
}

void CRichEditUI::SetAttribute(const char* name, const char* value)
{
    OwnAttributes().ApplyOrBase<CContainerUI>(*this, name, value);
}

void CRichEditUI::AppendAttributeNames(TAttributeNames& names) { OwnAttributes().AppendWithBase<CContainerUI>(names); }

//--- layout and painting -------------------------------------------------------------------------

int CRichEditUI::NaturalHeight(int width) const
{
    if (m_textHost == nullptr || m_host == nullptr)
        return -1;
    SIZEL extent = {-1, -1};
    LONG naturalWidth = width;
    LONG naturalHeight = 0;
    CTextHostHold hold(m_textHost);
    const HRESULT hr = m_textHost->GetServices()->TxGetNaturalSize(DVASPECT_CONTENT, m_host->GetPaintDC(), nullptr,
        nullptr, TXTNS_FITTOCONTENT, &extent, &naturalWidth, &naturalHeight);
    return SUCCEEDED(hr) ? naturalHeight : -1;
}

void CRichEditUI::FitVerticalBar(const CRectUI& text, bool wasVisible)
{
    CScrollBarUI* bar = m_verticalScrollBar;
    if (bar == nullptr || !((wasVisible && !bar->IsVisible()) || m_verticalAutoShown))
        return;
    const int needed = NaturalHeight(text.GetWidth() + bar->ScaledFixedWidth());
    if (needed < 0)
        return;
    if (text.GetHeight() < needed) {
        bar->SetVisible(true);
        bar->SetValue(0);
        m_verticalAutoShown = true;
    } else if (m_verticalAutoShown) {
        bar->SetVisible(false);
        m_verticalAutoShown = false;
    }
}

void CRichEditUI::UseHostFont()
{
    m_fontInUse = m_host->FontHandleAt(m_font);
    m_textHost->SetFont(m_fontInUse);
}

void CRichEditUI::SetPosition(const CRectUI& rect)
{
    CControlUI::SetPosition(rect);
    // A root, or a control attached without initialisation, gets its services here.
    CreateTextHost();
    const CRectUI text = ClientRect();
    if (m_textHost != nullptr) {
        // A change of DPI remade the host's fonts: the editor takes the new one.
        if (m_host != nullptr && m_host->FontHandleAt(m_font) != m_fontInUse)
            UseHostFont();
        const bool wasVisible = VerticalBarShown();
        m_textHost->SetClientRect(text);
        FitVerticalBar(text, wasVisible);
    }
    if (VerticalBarShown()) {
        m_verticalScrollBar->SetPosition(
            CRectUI(text.right, text.top, text.right + m_verticalScrollBar->ScaledFixedWidth(), text.bottom));
    }
    if (HorizontalBarShown()) {
        m_horizontalScrollBar->SetPosition(
            CRectUI(text.left, text.bottom, text.right, text.bottom + m_horizontalScrollBar->ScaledFixedHeight()));
    }
    PlaceChildren(text);
}

void CRichEditUI::PaintText(HDC hdc)
{
    if (m_textHost == nullptr)
        return;
    const CRectUI& client = m_textHost->GetClientRect();
    RECTL bounds = {client.left, client.top, client.right, client.bottom};
    RECT update = m_paintRect;
    CTextHostHold hold(m_textHost);
    m_textHost->GetServices()->TxDraw(
        DVASPECT_CONTENT, 0, nullptr, nullptr, hdc, nullptr, &bounds, nullptr, &update, nullptr, 0, TXTVIEW_ACTIVE);
    if (m_verticalAutoShown && m_verticalScrollBar != nullptr) {
        // The bar may no longer be needed: the next layout decides.
        const int needed = NaturalHeight(client.GetWidth() + m_verticalScrollBar->ScaledFixedWidth());
        if (needed >= 0 && client.GetHeight() >= needed)
            RequestLayout();
    }
}

//--- scrolling -----------------------------------------------------------------------------------

void CRichEditUI::ScrollMessage(UINT message, WPARAM wParam) { SendTextMessage(message, wParam, 0, nullptr); }

void CRichEditUI::SetScrollPosition(const CSizeUI& position)
{
    const CSizeUI before = GetScrollPosition();
    if (VerticalBarShown())
        m_verticalScrollBar->SetValue(position.cy);
    if (HorizontalBarShown())
        m_horizontalScrollBar->SetValue(position.cx);
    const CSizeUI after = GetScrollPosition();
    if (after.cy != before.cy) {
        ScrollMessage(WM_VSCROLL, MAKEWPARAM(SB_THUMBPOSITION, after.cy));
        KeepPlainTextScroll(after.cy, before.cy);
    }
    if (after.cx != before.cx)
        ScrollMessage(WM_HSCROLL, MAKEWPARAM(SB_THUMBPOSITION, after.cx));
}

// Plain text is scrolled by whole lines: where the services' answer overshoots a downward move,
// the bar stays where it was dragged.
void CRichEditUI::KeepPlainTextScroll(int requested, int before)
{
    if (m_rich || m_textHost == nullptr || !VerticalBarShown() || requested <= before)
        return;
    if (m_verticalScrollBar->GetValue() >= requested)
        m_verticalScrollBar->SetValue(requested);
}

void CRichEditUI::ScrollLineDown()
{
    const int before = VerticalBarShown() ? m_verticalScrollBar->GetValue() : 0;
    ScrollMessage(WM_VSCROLL, SB_LINEDOWN);
    // The last partial line of plain text does not move the view: show the end as reached.
    if (!m_rich && m_textHost != nullptr && VerticalBarShown() && m_verticalScrollBar->GetValue() == before)
        m_verticalScrollBar->SetValue(m_verticalScrollBar->GetRange());
}

void CRichEditUI::ScrollLineUp() { ScrollMessage(WM_VSCROLL, SB_LINEUP); }
void CRichEditUI::ScrollPageUp() { ScrollMessage(WM_VSCROLL, SB_PAGEUP); }
void CRichEditUI::ScrollPageDown() { ScrollMessage(WM_VSCROLL, SB_PAGEDOWN); }
void CRichEditUI::ScrollToTop() { ScrollMessage(WM_VSCROLL, SB_TOP); }
void CRichEditUI::ScrollToBottom() { ScrollMessage(WM_VSCROLL, SB_BOTTOM); }
void CRichEditUI::ScrollLineLeft() { ScrollMessage(WM_HSCROLL, SB_LINEUP); }
void CRichEditUI::ScrollLineRight() { ScrollMessage(WM_HSCROLL, SB_LINEDOWN); }
void CRichEditUI::ScrollPageLeft() { ScrollMessage(WM_HSCROLL, SB_PAGEUP); }
void CRichEditUI::ScrollPageRight() { ScrollMessage(WM_HSCROLL, SB_PAGEDOWN); }
void CRichEditUI::ScrollToLeftEnd() { ScrollMessage(WM_HSCROLL, SB_TOP); }
void CRichEditUI::ScrollToRightEnd() { ScrollMessage(WM_HSCROLL, SB_BOTTOM); }

}  // namespace SkinUI
