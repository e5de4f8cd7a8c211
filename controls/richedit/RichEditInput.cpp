// CRichEditUI input: the window message filter that feeds the text services, the events the host
// still delivers, characters from the ANSI window, and the services' notifications.
//
// Mouse messages reach the services only when they concern the editor: inside its text area, or
// while the services or this control hold the mouse. A press held by any other control (a
// button, a slider thumb, the editor's own scroll bar) keeps its moves and its release.
#include "controls/richedit/RichEdit.h"

#include <imm.h>

#include "core/CodePage.h"
#include "core/SystemLibrary.h"
#include "host/ControlAliveGuard.h"
#include "host/WindowHost.h"

namespace SkinUI {

namespace {

// The ranges the filter works with, as numbers: the toolchain's WM_MOUSELAST and WM_KEYLAST move
// with the target version.
bool IsMouseMessage(UINT message) { return message >= 0x200 && message <= 0x20D; }
bool IsKeyboardMessage(UINT message) { return message >= 0x100 && message <= 0x108; }
bool IsFilteredKeyMessage(UINT message) { return message >= WM_KEYDOWN && message <= WM_SYSDEADCHAR; }

bool IsButtonMessage(UINT message)
{
    switch (message) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
    case WM_RBUTTONDBLCLK:
        return true;
    default:
        return false;
    }
}

bool GivesFocus(UINT message)
{
    return message == WM_LBUTTONDOWN || message == WM_LBUTTONDBLCLK || message == WM_RBUTTONDOWN
        || message == WM_RBUTTONDBLCLK;
}

POINT SignedPoint(LPARAM lParam)
{
    POINT pt = {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
    return pt;
}

// The input method library is looked up when first needed rather than imported, so the program
// keeps its short list of imports.
void MoveCompositionWindow(HWND window)
{
    typedef HIMC(WINAPI * TGetContext)(HWND);
    typedef BOOL(WINAPI * TSetCompositionWindow)(HIMC, COMPOSITIONFORM*);
    typedef BOOL(WINAPI * TReleaseContext)(HWND, HIMC);
    static const HMODULE imm = LoadSystemLibrary("imm32.dll");
    static const TGetContext getContext = LookUpProc<TGetContext>(imm, "ImmGetContext");
    static const TSetCompositionWindow setWindow = LookUpProc<TSetCompositionWindow>(imm, "ImmSetCompositionWindow");
    static const TReleaseContext releaseContext = LookUpProc<TReleaseContext>(imm, "ImmReleaseContext");
    if (getContext == nullptr || setWindow == nullptr || releaseContext == nullptr)
        return;
    HIMC context = getContext(window);
    if (context == nullptr)
        return;
    COMPOSITIONFORM form = {};
    form.dwStyle = CFS_POINT;
    ::GetCaretPos(&form.ptCurrentPos);
    setWindow(context, &form);
    releaseContext(window, context);
}

}  // namespace

//--- events --------------------------------------------------------------------------------------

void CRichEditUI::OnEvent(TInputEvent& event)
{
    if (PassOnRefusedMouse(*this, m_parent, event, [this](TInputEvent& e) { CContainerUI::OnEvent(e); }))
        return;
    ITextServices* services = m_textHost != nullptr ? m_textHost->GetServices() : nullptr;
    switch (event.Type) {
    case InputEventKind::SetCursor:
        if (services != nullptr && IsEnabled() && m_textHost->GetClientRect().Contains(event.MousePoint)) {
            const CRectUI& client = m_textHost->GetClientRect();
            services->OnTxSetCursor(DVASPECT_CONTENT, -1, nullptr, nullptr, m_host->GetPaintDC(), nullptr,
                m_textHost->IsInPlaceActive() ? nullptr : &client, event.MousePoint.x, event.MousePoint.y);
            return;
        }
        break;
    case InputEventKind::FocusGained:
    case InputEventKind::FocusLost: {
        const bool gained = event.Type == InputEventKind::FocusGained;
        if (services != nullptr) {
            CControlAliveGuard alive(m_host, this);
            services->OnTxInPlaceActivate(nullptr);
            SendTextMessage(gained ? WM_SETFOCUS : WM_KILLFOCUS, 0, 0, nullptr);
            if (!alive.IsAlive())
                return;
        }
        m_focused = gained;
        Invalidate();
        return;
    }
    case InputEventKind::Timer: {
        // The services' own timers also raise "timer", once they are done with them.
        CControlAliveGuard alive(m_host, this);
        SendTextMessage(WM_TIMER, event.WParam, event.LParam, nullptr);
        if (!alive.IsAlive())
            return;
        break;
    }
    case InputEventKind::ScrollWheel:
        if ((event.KeyState & MK_CONTROL) != 0)
            return;
        break;
    case InputEventKind::ButtonDown:
    case InputEventKind::DoubleClick:
    case InputEventKind::MouseMove:
    case InputEventKind::ButtonUp:
    case InputEventKind::MouseEnter:
    case InputEventKind::MouseLeave:
        // The filter has given the native message to the services already.
        return;
    default:
        if (IsKeyEventKind(event.Type))
            return;
        break;
    }
    CContainerUI::OnEvent(event);
}

//--- the message filter --------------------------------------------------------------------------

LRESULT CRichEditUI::FilterMessage(UINT message, WPARAM wParam, LPARAM lParam, bool& handled)
{
    // Without services nothing is forwarded; a detached control (waiting for its destruction)
    // has no say in its former window.
    if (m_textHost == nullptr || m_host == nullptr || m_host->GetPaintWindow() == nullptr)
        return 0;
    if (message == WM_CAPTURECHANGED) {
        // Lost while the services held it: they are told, and stop getting every mouse message.
        if (m_textHost->IsCaptured() && reinterpret_cast<HWND>(lParam) != m_host->GetPaintWindow()) {
            m_textHost->ForgetCapture();
            SendTextMessage(message, wParam, lParam, nullptr);
        }
        return 0;
    }
    const bool mouse = IsMouseMessage(message);
    if (!IsVisible() || !IsEnabled() || (mouse && !AcceptsMouse()))
        return 0;
    if (message == WM_MOUSEWHEEL && (GET_KEYSTATE_WPARAM(wParam) & MK_CONTROL) == 0)
        return 0;
    if (message == WM_IME_COMPOSITION) {
        MoveCompositionWindow(m_host->GetPaintWindow());
        return 0;
    }
    if (mouse || message == WM_SETCURSOR)
        return FilterMouse(message, wParam, lParam, handled);
    if (message == WM_HELP) {
        SendTextMessage(message, wParam, lParam, nullptr);
        return 0;
    }
    if (message == WM_CONTEXTMENU) {
        POINT pt = SignedPoint(lParam);
        ::ScreenToClient(m_host->GetPaintWindow(), &pt);
        if (m_host->FindControlAt(pt) != this)
            return 0;
        return ForwardToServices(message, wParam, lParam, handled);
    }
    if (!(IsFilteredKeyMessage(message) || message == WM_IME_CHAR) || !HasFocus())
        return 0;
    if (message == WM_CHAR || message == WM_IME_CHAR)
        return FilterChar(message, wParam, lParam, handled);
    if (message == WM_KEYDOWN)
        m_returnTaken = false;
    return ForwardToServices(message, wParam, lParam, handled);
}

LRESULT CRichEditUI::FilterMouse(UINT message, WPARAM wParam, LPARAM lParam, bool& handled)
{
    HWND window = m_host->GetPaintWindow();
    POINT pt = SignedPoint(lParam);
    if (message == WM_SETCURSOR) {
        ::GetCursorPos(&pt);
        ::ScreenToClient(window, &pt);
    } else if (message == WM_MOUSEWHEEL) {
        ::ScreenToClient(window, &pt);
    }
    const bool servicesCapture = m_textHost->IsCaptured();
    CControlUI* pressed = m_host->GetPressedControl();
    if (!servicesCapture) {
        if (pressed != nullptr && pressed != this)
            return 0;
        if (IsButtonMessage(message) && m_host->FindControlAt(pt) != this)
            return 0;
        if (!m_host->IsMouseCaptured() && !m_textHost->GetClientRect().Contains(pt))
            return 0;
    }
    if (message == WM_SETCURSOR) {
        SendTextMessage(message, wParam, lParam, nullptr);
        return 0;
    }
    if (GivesFocus(message)) {
        CControlAliveGuard alive(m_host, this);
        TakeFocus();
        if (!alive.IsAlive())
            return 0;  // a focus listener destroyed the editor: the host handles the press
    }
    const LRESULT answer = ForwardToServices(message, wParam, lParam, handled);
    // A press the host holds for this control (it began outside the text) is ended by the host.
    if (pressed == this && (message == WM_LBUTTONUP || message == WM_RBUTTONUP))
        handled = false;
    return answer;
}

LRESULT CRichEditUI::ForwardToServices(UINT message, WPARAM wParam, LPARAM lParam, bool& handled)
{
    LRESULT answer = 0;
    CControlAliveGuard alive(m_host, this);
    const HRESULT hr = SendTextMessage(message, wParam, lParam, &answer);
    if (!alive.IsAlive()) {
        // The editor went away while handling it; nobody else is owed the message.
        handled = true;
        return answer;
    }
    if (hr != S_OK && !IsKeyboardMessage(message)) {
        handled = message == WM_IME_CHAR || (IsMouseMessage(message) && m_textHost->IsCaptured());
        return answer;
    }
    handled = message != WM_SETCURSOR && message != WM_HELP;
    return answer;
}

//--- characters ----------------------------------------------------------------------------------

// The window is ANSI, so characters come as code page bytes; a double-byte character comes as
// its lead byte and then its trail byte. The services store UTF-16, so each complete character
// is converted and sent as UTF-16 WM_CHAR messages.
LRESULT CRichEditUI::FilterChar(UINT message, WPARAM wParam, LPARAM lParam, bool& handled)
{
    char bytes[2] = {0, 0};
    int count = 0;
    if (message == WM_IME_CHAR) {
        // One whole character, the lead byte in the high byte.
        if (HIBYTE(LOWORD(wParam)) != 0)
            bytes[count++] = static_cast<char>(HIBYTE(LOWORD(wParam)));
        bytes[count++] = static_cast<char>(LOBYTE(wParam));
    } else {
        if (wParam > 0xFF)
            return ForwardToServices(message, wParam, lParam, handled);  // not a code page byte
        const BYTE byte = static_cast<BYTE>(wParam);
        if (m_returnTaken) {
            m_returnTaken = false;
            if (byte == '\r') {
                handled = true;  // the Return announced as "return" inserts nothing
                return 0;
            }
        }
        if (m_accumulateDbcs) {
            if ((::GetKeyState(VK_KANA) & 1) != 0) {
                // Half-width kana are single bytes that look like lead bytes.
                m_accumulateDbcs = false;
                m_leadByte = 0;
            } else if (m_leadByte != 0) {
                bytes[count++] = static_cast<char>(HIBYTE(m_leadByte));
                m_leadByte = 0;
            } else if (::IsDBCSLeadByte(byte)) {
                m_leadByte = static_cast<uint16_t>(byte << 8);
                return 0;
            }
        }
        bytes[count++] = static_cast<char>(byte);
    }
    std::wstring units;
    WideFromCodePage(std::string_view(bytes, static_cast<size_t>(count)), CP_ACP, units);
    LRESULT answer = 0;
    CControlAliveGuard alive(m_host, this);
    for (size_t i = 0; i < units.size() && alive.IsAlive(); ++i)
        answer = ForwardToServices(WM_CHAR, units[i], lParam, handled);
    handled = true;
    return answer;
}

bool CRichEditUI::TakesReturn() const
{
    // A single-line editor has no use for Return: it is announced instead of lost.
    if ((m_editStyle & ES_MULTILINE) == 0 || !m_wantReturn)
        return true;
    return !m_wantCtrlReturn && ::GetKeyState(VK_CONTROL) < 0;
}

//--- notifications -------------------------------------------------------------------------------

void CRichEditUI::OnTextNotify(DWORD code, void* record)
{
    switch (code) {
    case EN_MSGFILTER:
    case EN_SELCHANGE:
    case EN_DROPFILES:
    case EN_PROTECTED:
    case EN_STOPNOUNDO:
    case EN_SAVECLIPBOARD:
    case EN_OLEOPFAILED:
    case EN_OBJECTPOSITIONS:
    case EN_LINK:
    case EN_DRAGDROPDONE:
        break;
    default:
        return;
    }
    HWND window = m_host != nullptr ? m_host->GetPaintWindow() : nullptr;
    if (record == nullptr || window == nullptr)
        return;
    // Each of these records begins with the header a parent window expects.
    NMHDR* header = static_cast<NMHDR*>(record);
    header->hwndFrom = window;
    header->idFrom = static_cast<UINT_PTR>(::GetWindowLongA(window, GWL_ID));
    header->code = code;
    ::SendMessageA(window, WM_NOTIFY, header->idFrom, reinterpret_cast<LPARAM>(record));
}

}  // namespace SkinUI
