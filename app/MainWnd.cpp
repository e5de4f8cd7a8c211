#include "app/MainWnd.h"

#include "controls/base/Control.h"
#include "core/CodePage.h"

#include <string>

namespace Quoril {

namespace {

bool IsChineseLayoutLanguage(LANGID language)
{
    // Taiwan, mainland China and Hong Kong; other Chinese locales get the English layout.
    return language == 0x0404 || language == 0x0804 || language == 0x0C04;
}

}  // namespace

CMainWnd::CMainWnd() = default;

CMainWnd::CMainWnd(ISystemServices& services, AdapterList& adapters)
    : m_actions(services, adapters)
{
}

bool CMainWnd::IsEnglishInterface(LANGID language) { return !IsChineseLayoutLanguage(language); }

const char* CMainWnd::SkinFileForLanguage(LANGID language)
{
    return IsChineseLayoutLanguage(language) ? "MainWnd.xml" : "MainWnd.en.xml";
}

LANGID CMainWnd::InterfaceLanguage() const { return ::GetUserDefaultUILanguage(); }

const char* CMainWnd::WindowClassName() const { return kWindowClassName; }

SkinUI::CUIString CMainWnd::SkinFolder() { return "skin\\"; }

SkinUI::CUIString CMainWnd::SkinFile() { return SkinFileForLanguage(InterfaceLanguage()); }

SkinUI::SkinSource CMainWnd::SkinSourceKind() const { return SkinUI::SkinSourceZipResource; }

const char* CMainWnd::SkinResourceId() const { return MAKEINTRESOURCEA(kSkinResourceId); }

void CMainWnd::OnWindowReady()
{
    // A look-up already under way is taken at the first paint (TakeStartupLookup).
    if (m_startupLookup != nullptr)
        return;
    m_actions.DiscoverAdapters();
    m_actions.RefreshStatus();
}

void CMainWnd::TakeStartupLookup()
{
    CStartupLookup* lookup = m_startupLookup;
    m_startupLookup = nullptr;
    if (lookup != nullptr)
        ShowStatus(lookup->Finish());
}

void CMainWnd::ShowStatus(const std::wstring& text)
{
    SkinUI::CControlUI* status = m_host.FindControlByName(kStatusControl);
    if (status == nullptr)
        return;
    // Labels hold ANSI text; a character the code page lacks shows as its default character.
    std::string ansi;
    SkinUI::CodePageFromWide(text.c_str(), CP_ACP, ansi);
    status->SetText(ansi.c_str());
}

LRESULT CMainWnd::ProcessMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    // Only these have handlers here; the base's non-client, key and mouse handling stays out.
    bool handled = true;
    LRESULT result = 0;
    switch (message) {
    // clang-format off
    case WM_CREATE: result = OnMsgCreate(message, wParam, lParam, handled); break;
    case WM_SIZE: result = OnMsgSize(message, wParam, lParam, handled); break;
    case WM_CLOSE: result = OnMsgClose(message, wParam, lParam, handled); break;
    case WM_PAINT:
        // The status line is painted from the first paint on; the host paints.
        TakeStartupLookup();
        handled = false;
        break;
    case WM_NCHITTEST: result = OnMsgNcHitTest(message, wParam, lParam, handled); break;
    case WM_SETCURSOR:
        // While an action runs, whatever is under the pointer shows that the window is busy.
        handled = m_actions.IsBusy();
        if (handled) {
            ::SetCursor(::LoadCursorA(nullptr, IDC_WAIT));
            result = TRUE;
        }
        break;
    default: handled = false; break;
    }
    // clang-format on
    if (handled)
        return result;
    LRESULT hostResult = 0;
    if (m_host.HandleWindowMessage(message, wParam, lParam, hostResult))
        return hostResult;
    return CallPrevious(message, wParam, lParam);
}

LRESULT CMainWnd::OnMsgCreate(UINT, WPARAM, LPARAM, bool& handled)
{
    // No frame-changed resize here: the skin's size and the centring that follows settle the frame.
    ::SetWindowLongA(m_hWnd, GWL_STYLE, StyleWithoutCaption() | WS_CLIPSIBLINGS | WS_CLIPCHILDREN);
    BindHost();
    m_shadow.AttachTo(m_hWnd);
    m_shadow.SetSpread(2);
    m_shadow.SetOffset(0, 0);
    EnsureResourceFolder();

    // Without its skin the window would stay 0 x 0 and captionless: an invisible process.
    if (PrepareSkinSource() != SkinPrepared::Ready || !BuildAndAttachSkin()) {
        OnSkinUnusable();
        return 0;
    }
    m_actions.SetOwner(m_hWnd);
    m_actions.SetEnglish(IsEnglishInterface(InterfaceLanguage()));
    m_actions.SetStatusSink([this](const std::wstring& text) { ShowStatus(text); });
    OnWindowReady();
    handled = false;  // the host and the default procedure see WM_CREATE too
    return 0;
}

LRESULT CMainWnd::OnMsgClose(UINT, WPARAM, LPARAM, bool& handled)
{
    // Runs before the host sees WM_CLOSE, whose synthetic button-up would otherwise click a held
    // button. While an action runs the window stays; the actions post the close again afterwards.
    if (!m_actions.SetClosing(true))
        return 0;
    ReleaseSkinArchiveCopy();
    handled = false;
    return 0;
}

LRESULT CMainWnd::OnMsgNcHitTest(UINT, WPARAM, LPARAM lParam, bool&)
{
    RECT client;
    ::GetClientRect(m_hWnd, &client);
    return IsCaptionDragPoint(HitTestPoint(lParam), client) ? HTCAPTION : HTCLIENT;
}

void CMainWnd::OnWindowGone(HWND hwnd)
{
    WindowImplBase::OnWindowGone(hwnd);
    delete this;
}

void CMainWnd::OnNotification(SkinUI::TNotifyEvent& event)
{
    // A click may come before the first paint, and no action may see the list the worker still fills.
    if (event.Type == "click")
        TakeStartupLookup();
    const SkinUI::CUIString sender = event.Sender != nullptr ? event.Sender->GetName() : SkinUI::CUIString();
    m_actions.OnNotify(event.Type, event.Sender != nullptr ? sender.GetData() : nullptr);
    // The host leaves the cursor alone over controls that do not set their own, so the wait
    // cursor of an action that just ended would stay.
    const HCURSOR wait = ::LoadCursorA(nullptr, IDC_WAIT);
    if (::GetCursor() == wait)
        ::SetCursor(::LoadCursorA(nullptr, IDC_ARROW));
}

}  // namespace Quoril
