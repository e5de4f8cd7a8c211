// Binding, the control tree, and the message handler: mouse, keyboard and tooltip routing.
//
// Re-entrancy rule used throughout: an event handler may destroy controls (ForgetControl then
// clears the host's pointers), so after delivering an event the host re-reads its own pointer
// fields instead of trusting a local copy, and it stores a new hover/pressed pointer before the
// event that announces it.
#include "host/WindowHost.h"

#include <cstring>
#include <vector>

#include "controls/base/Container.h"
#include "controls/base/Control.h"
#include "core/SystemLibrary.h"
#include "host/ControlAliveGuard.h"
#include "host/ReflectedMessages.h"
#include "host/ResourceLocation.h"

namespace SkinUI {

namespace {

const UINT kDeferredDestroyMessage = WM_APP + 1;

POINT PointFromLParam(LPARAM lParam)
{
    // Signed: positions left of or above the client area (multi-monitor, captured drags) are negative.
    POINT pt = {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
    return pt;
}

CControlUI* ControlUnderPoint(CControlUI* control, void* data)
{
    return control->GetPosition().Contains(*static_cast<const POINT*>(data)) ? control : nullptr;
}

bool IsInSubtree(const CControlUI* top, const CControlUI* control)
{
    for (const CControlUI* c = control; c != nullptr; c = c->GetParent()) {
        if (c == top)
            return true;
    }
    return false;
}

// Takes a control out of its container without destroying it, through the container's own
// RemoveChild so its bookkeeping runs.
bool TakeOutOfParent(CControlUI* control)
{
    CControlUI* parentControl = control->GetParent();
    CContainerUI* parent = ControlCast<CContainerUI>(parentControl);
    if (parent == nullptr)
        return false;
    const bool owns = parent->OwnsChildren();
    parent->SetOwnsChildren(false);
    const bool removed = parent->RemoveChild(control);
    parent->SetOwnsChildren(owns);
    return removed;
}

}  // namespace

//--- construction and binding -------------------------------------------------------------------

CPtrVectorUI& CWindowHostUI::LiveHosts()
{
    static CPtrVectorUI hosts;
    return hosts;
}

CWindowHostUI::CWindowHostUI()
    : m_toolInfo()
{
    static bool processReady = false;
    if (!processReady) {
        processReady = true;
        // The render kit blends through it when the process has it loaded.
        LoadSystemLibrary("msimg32.dll");
        DirtyPen();
    }
}

CWindowHostUI::~CWindowHostUI()
{
    MarkGuardsDead(nullptr);
    ReleaseAccessibles();
    DestroyDeferred();
    m_names.RemoveAll();
    m_namesOf.clear();
    CControlUI* root = m_root;
    m_root = nullptr;
    delete root;
    FreeResources();
    FreeOptionGroups();
    ReleaseTimers();
    if (m_tooltip != nullptr && ::IsWindow(m_tooltip))
        ::DestroyWindow(m_tooltip);
    m_tooltip = nullptr;
    DropOffscreen();
    if (m_hDcPaint != nullptr)
        ::ReleaseDC(m_hWndPaint, m_hDcPaint);
    m_hDcPaint = nullptr;
    const int index = LiveHosts().Find(this);
    if (index >= 0)
        LiveHosts().Remove(index);
}

void CWindowHostUI::BindWindow(HWND hwnd)
{
    if (m_hDcPaint != nullptr)
        ::ReleaseDC(m_hWndPaint, m_hDcPaint);
    m_hWndPaint = hwnd;
    m_hDcPaint = ::GetDC(hwnd);
    SetDpi(ReadWindowDpi(hwnd));
    if (LiveHosts().Find(this) < 0)
        LiveHosts().Add(this);
}

//--- the control tree ---------------------------------------------------------------------------

bool CWindowHostUI::AttachRoot(CControlUI* root)
{
    if (root != nullptr && root == m_root)
        return true;
    // A part of the current tree leaves its parent first; otherwise it would die with the old root.
    if (root != nullptr && m_root != nullptr && IsInSubtree(m_root, root) && !TakeOutOfParent(root))
        return false;
    SetFocusControl(nullptr);
    m_keyTarget = nullptr;
    m_hover = nullptr;
    m_pressed = nullptr;
    // With no pressed control left, nothing would ever release a capture still held.
    if (m_mouseCaptured)
        ReleaseMouse();
    if (m_root != nullptr) {
        m_overlayPainters.Clear();
        DeferDestroy(m_root);
    }
    m_root = root;
    m_firstLayoutPending = true;
    m_layoutPending = true;
    m_focusPending = true;
    return AdoptSubtree(root);
}

bool CWindowHostUI::AdoptSubtree(CControlUI* control, CControlUI* parent)
{
    if (control == nullptr)
        return false;
    control->AttachHost(this, parent != nullptr ? parent : control->GetParent(), true);
    // With flags 0 a container is visited after its children, so for duplicate names the
    // outermost control wins.
    auto registerName = [](CControlUI* c, void* data) -> CControlUI* {
        CWindowHostUI* host = static_cast<CWindowHostUI*>(data);
        const CUIString name = c->GetName();
        if (!name.IsEmpty())
            host->RegisterName(name, c);
        return nullptr;
    };
    control->FindControl(registerName, this, 0);
    // A control added to a live tree (a list filled, a node added) is news to assistive technology.
    if (control != m_root && !m_firstLayoutPending)
        NoteCreated(control);
    return true;
}

void CWindowHostUI::ForgetControl(CControlUI* control)
{
    if (control == nullptr)
        return;
    if (m_keyTarget == control)
        m_keyTarget = nullptr;
    if (m_hover == control)
        m_hover = nullptr;
    if (m_pressed == control) {
        m_pressed = nullptr;
        // The captured control is gone: keep the window from holding the mouse for nobody.
        if (m_mouseCaptured)
            ReleaseMouse();
    }
    if (m_focus == control)
        m_focus = nullptr;
    // Taken by the control for itself: nobody would ever end it.
    ReleaseMouseFor(control);
    KillControlTimers(control);
    ForgetNames(control);
    for (int i = m_overlayPainters.GetSize() - 1; i >= 0; --i) {
        if (m_overlayPainters.GetAt(i) == control)
            m_overlayPainters.Remove(i);
    }
    if (!m_createdSet.empty())
        m_createdSet.erase(control);
    if (!m_createdParents.empty())
        m_createdParents.erase(control);
    if (m_deferredSet.erase(control) != 0)
        m_deferredDestroy.Remove(m_deferredDestroy.Find(control));
    ForgetOption(control);
    MarkGuardsDead(control);
    ForgetAccessible(control);
}

void CWindowHostUI::AddAliveGuard(CControlAliveGuard* guard) { m_aliveGuards.Add(guard); }

void CWindowHostUI::RemoveAliveGuard(CControlAliveGuard* guard)
{
    const int index = m_aliveGuards.Find(guard);
    if (index >= 0)
        m_aliveGuards.Remove(index);
}

void CWindowHostUI::MarkGuardsDead(CControlUI* control)
{
    for (int i = m_aliveGuards.GetSize() - 1; i >= 0; --i) {
        CControlAliveGuard* guard = static_cast<CControlAliveGuard*>(m_aliveGuards.GetAt(i));
        if (control != nullptr && guard->m_control != control)
            continue;
        guard->MarkDead();
        m_aliveGuards.Remove(i);
    }
}

void CWindowHostUI::ForgetSubtree(CControlUI* control)
{
    if (control == nullptr)
        return;
    auto forget = [](CControlUI* c, void* data) -> CControlUI* {
        static_cast<CWindowHostUI*>(data)->ForgetControl(c);
        return nullptr;
    };
    control->FindControl(forget, this, 0);
}

void CWindowHostUI::RegisterName(const CUIString& name, CControlUI* control)
{
    m_names.Set(name, control);
    std::vector<CUIString>& names = m_namesOf[control];
    for (const CUIString& known : names) {
        if (known == name)
            return;
    }
    names.push_back(name);
}

void CWindowHostUI::ForgetNames(CControlUI* control)
{
    const auto found = m_namesOf.find(control);
    if (found == m_namesOf.end())
        return;
    // A control renamed after adoption is listed under its old name too; a name another control
    // took over since is that control's now.
    for (const CUIString& name : found->second) {
        if (m_names.Find(name, false) == control)
            m_names.Remove(name);
    }
    m_namesOf.erase(found);
}

void CWindowHostUI::DeferDestroy(CControlUI* control)
{
    if (control == nullptr)
        return;
    // From now on no event reaches the doomed subtree, though it lives until the queue runs.
    ForgetSubtree(control);
    control->AttachHost(this, nullptr, false);
    // One message runs the whole queue: a list emptied row by row posts once.
    if (m_deferredDestroy.IsEmpty())
        ::PostMessageA(m_hWndPaint, kDeferredDestroyMessage, 0, 0);
    m_deferredDestroy.Add(control);
    m_deferredSet.insert(control);
}

void CWindowHostUI::DestroyDeferred()
{
    // Destructors may queue more controls; those wait for their own message.
    const CPtrVectorUI doomed = m_deferredDestroy;
    m_deferredDestroy.Clear();
    m_deferredSet.clear();
    for (int i = 0; i < doomed.GetSize(); ++i)
        delete static_cast<CControlUI*>(doomed.GetAt(i));
}

CControlUI* CWindowHostUI::FindControlAt(POINT pt) const
{
    if (m_root == nullptr)
        return nullptr;
    return m_root->FindControl(ControlUnderPoint, &pt, FindVisible | FindHitTest | FindTopFirst);
}

CControlUI* CWindowHostUI::OwnControlAt(POINT pt) const
{
    CControlUI* control = FindControlAt(pt);
    // A control of a nested host is that host's business.
    return control != nullptr && control->GetHost() == this ? control : nullptr;
}

CControlUI* CWindowHostUI::FindControlByName(const char* name) const
{
    if (name == nullptr || *name == '\0')
        return nullptr;
    return static_cast<CControlUI*>(m_names.Find(name));
}

void CWindowHostUI::CaptureMouse()
{
    m_captureOwner = nullptr;
    ::SetCapture(m_hWndPaint);
    m_mouseCaptured = true;
}

void CWindowHostUI::ReleaseMouse()
{
    // The flag goes first, so our own release is not taken for a loss at WM_CAPTURECHANGED.
    m_mouseCaptured = false;
    m_captureOwner = nullptr;
    ::ReleaseCapture();
}

void CWindowHostUI::CaptureMouseFor(CControlUI* control)
{
    CaptureMouse();
    m_captureOwner = control;
}

void CWindowHostUI::ReleaseMouseFor(CControlUI* control)
{
    if (control != nullptr && m_captureOwner == control && m_mouseCaptured)
        ReleaseMouse();
}

//--- the message handler ------------------------------------------------------------------------

TInputEvent CWindowHostUI::MakeEvent(int kind, CControlUI* sender, POINT pt) const
{
    TInputEvent event = {};
    event.Type = kind;
    event.Sender = sender;
    event.Timestamp = ::GetTickCount();
    event.MousePoint = pt;
    return event;
}

bool CWindowHostUI::AskFilters(const CPtrVectorUI& filters, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    // A filter may remove itself (or others) while being asked: walk a snapshot, skip the removed.
    const CPtrVectorUI snapshot = filters;
    for (int i = 0; i < snapshot.GetSize(); ++i) {
        IMessageFilterUI* filter = static_cast<IMessageFilterUI*>(snapshot.GetAt(i));
        if (filters.Find(filter) < 0)
            continue;
        bool handled = false;
        const LRESULT answer = filter->FilterMessage(message, wParam, lParam, handled);
        if (handled) {
            result = answer;
            return true;
        }
    }
    return false;
}

void CWindowHostUI::SendKeyEvent(int kind, CControlUI* target, WPARAM wParam)
{
    TInputEvent event = MakeEvent(kind, target, m_ptLastMousePos);
    event.KeyChar = static_cast<char>(LOBYTE(wParam));
    target->DispatchEvent(event);
}

bool CWindowHostUI::HandleWindowMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    if (m_hWndPaint == nullptr)
        return false;

    if (AskFilters(m_messageFilters, message, wParam, lParam, result))
        return true;

    switch (message) {
    case WM_SIZE:
        if (m_focus != nullptr) {
            TInputEvent event = MakeEvent(InputEventKind::WindowSize, m_focus, POINT{0, 0});
            m_focus->DispatchEvent(event);
        }
        if (m_root != nullptr)
            m_root->RequestLayout();
        return true;

    case WM_PAINT:
        OnPaint();
        return true;

    case WM_SHOWWINDOW: {
        // Shown, the window has the size its first paint draws the background at (it may have
        // been centred and grown since its skin was built): the background's worker may shrink
        // it now, while the system activates the window. The window's own handling goes on.
        RECT client = {};
        if (wParam != FALSE && HasPrefetches() && m_root != nullptr && ::GetClientRect(m_hWndPaint, &client))
            AimBackground(m_root, SIZE{client.right, client.bottom}, false);
        return false;
    }

    case WM_DPICHANGED:
        OnDpiChanged(LOWORD(wParam), reinterpret_cast<const RECT*>(lParam));
        result = 0;
        return true;

    case WM_CLOSE: {
        // Ends hover and press so no control is left hot or pushed; the pointers stay set.
        if (m_hover != nullptr) {
            TInputEvent event = MakeEvent(InputEventKind::MouseLeave, m_hover, m_ptLastMousePos);
            m_hover->DispatchEvent(event);
        }
        if (m_pressed != nullptr) {
            TInputEvent event = MakeEvent(InputEventKind::ButtonUp, m_pressed, m_ptLastMousePos);
            m_pressed->DispatchEvent(event);
        }
        SetFocusControl(nullptr);
        const HWND owner = ::GetWindow(m_hWndPaint, GW_OWNER);
        if (owner != nullptr)
            ::SetFocus(owner);
        return false;
    }

    case WM_ERASEBKGND:
        result = 1;
        return true;

    case WM_SETCURSOR:
        return OnSetCursor(wParam, lParam);

    case WM_GETMINMAXINFO: {
        MINMAXINFO* info = reinterpret_cast<MINMAXINFO*>(lParam);
        if (info == nullptr)
            return false;
        const CSizeUI minSize = Scaled(GetMinInfo());
        const CSizeUI maxSize = Scaled(GetMaxInfo());
        if (minSize.cx > 0)
            info->ptMinTrackSize.x = minSize.cx;
        if (minSize.cy > 0)
            info->ptMinTrackSize.y = minSize.cy;
        if (maxSize.cx > 0)
            info->ptMaxTrackSize.x = maxSize.cx;
        if (maxSize.cy > 0)
            info->ptMaxTrackSize.y = maxSize.cy;
        return false;
    }

    case WM_NOTIFY:
        // Reflected to the native child that sent it.
        if (lParam != 0)
            result = ::SendMessageA(reinterpret_cast<const NMHDR*>(lParam)->hwndFrom, kReflectedNotify, wParam, lParam);
        return true;

    case WM_COMMAND:
        if (lParam == 0)
            return false;
        result = ::SendMessageA(reinterpret_cast<HWND>(lParam), kReflectedCommand, wParam, lParam);
        return true;

    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC:
        if (lParam == 0)
            return false;
        result = ::SendMessageA(reinterpret_cast<HWND>(lParam), ReflectedMessage(message), wParam, lParam);
        return true;

    case WM_CONTEXTMENU: {
        POINT pt = PointFromLParam(lParam);
        ::ScreenToClient(m_hWndPaint, &pt);
        m_ptLastMousePos = pt;
        if (m_pressed != nullptr) {
            CControlUI* pressed = m_pressed;
            ReleaseMouse();
            TInputEvent event = MakeEvent(InputEventKind::ContextMenu, pressed, pt);
            event.KeyState = LOWORD(wParam);
            event.LParam = reinterpret_cast<LPARAM>(pressed);
            pressed->DispatchEvent(event);
            m_pressed = nullptr;
        }
        return false;
    }

    case WM_KEYDOWN:
        if (m_focus != nullptr) {
            m_keyTarget = m_focus;
            SendKeyEvent(InputEventKind::KeyDown, m_focus, wParam);
        }
        return false;

    case WM_KEYUP:
        if (m_keyTarget != nullptr) {
            CControlUI* target = m_keyTarget;
            m_keyTarget = nullptr;
            SendKeyEvent(InputEventKind::KeyUp, target, wParam);
        }
        return false;

    case WM_CHAR:
        if (m_focus != nullptr)
            SendKeyEvent(InputEventKind::Char, m_focus, wParam);
        return false;

    case WM_TIMER:
        for (int i = 0; i < m_timers.GetSize(); ++i) {
            const TControlTimer* timer = static_cast<const TControlTimer*>(m_timers.GetAt(i));
            if (timer->window == m_hWndPaint && timer->nativeId == LOWORD(wParam) && !timer->killed) {
                TInputEvent event = MakeEvent(InputEventKind::Timer, timer->owner, POINT{0, 0});
                event.WParam = timer->ownId;
                timer->owner->DispatchEvent(event);
                break;
            }
        }
        return false;

    case WM_MOUSEMOVE:
        OnMouseMove(lParam);
        return false;

    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDOWN:
        OnButtonMessage(message, wParam, lParam);
        return false;

    case WM_CAPTURECHANGED:
        OnCaptureChanged(reinterpret_cast<HWND>(lParam));
        return false;

    case WM_MOUSEWHEEL: {
        POINT pt = PointFromLParam(lParam);
        ::ScreenToClient(m_hWndPaint, &pt);
        m_ptLastMousePos = pt;
        CControlUI* control = OwnControlAt(pt);
        if (control == nullptr)
            return false;
        TInputEvent event = MakeEvent(InputEventKind::ScrollWheel, control, POINT{0, 0});
        event.WParam = static_cast<short>(HIWORD(wParam)) < 0 ? 1 : 0;
        event.LParam = lParam;
        control->DispatchEvent(event);
        // Hover follows the content that scrolled under the pointer.
        ::SendMessageA(m_hWndPaint, WM_MOUSEMOVE, 0, MAKELPARAM(m_ptLastMousePos.x, m_ptLastMousePos.y));
        return false;
    }

    case WM_MOUSEHOVER:
        return OnMouseHover(lParam);

    case WM_MOUSELEAVE:
        OnMouseLeave();
        return false;

    case WM_PRINTCLIENT:
        OnPrintClient(reinterpret_cast<HDC>(wParam), lParam);
        return false;

    case kDeferredDestroyMessage:
        DestroyDeferred();
        return false;

    case kAccessibleActionMessage:
        RunAccessibleAction(static_cast<long>(lParam));
        return true;

    case WM_GETOBJECT:
        return OnGetObject(wParam, lParam, result);

    default:
        return false;
    }
}

bool CWindowHostUI::OnSetCursor(WPARAM wParam, LPARAM lParam)
{
    if (LOWORD(lParam) != HTCLIENT)
        return false;
    if (m_mouseCaptured)
        return true;
    POINT pt = {};
    ::GetCursorPos(&pt);
    ::ScreenToClient(m_hWndPaint, &pt);
    CControlUI* control = FindControlAt(pt);
    if (control == nullptr)
        return false;
    if ((control->GetCapabilities() & CapabilityWantsCursor) != 0) {
        TInputEvent event = MakeEvent(InputEventKind::SetCursor, nullptr, pt);
        event.WParam = wParam;
        event.LParam = lParam;
        control->DispatchEvent(event);
    }
    return true;
}

void CWindowHostUI::OnButtonMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    const POINT pt = PointFromLParam(lParam);
    if (message != WM_LBUTTONUP) {
        ::SetFocus(m_hWndPaint);
        m_keyboardCue = false;
    }
    m_ptLastMousePos = pt;

    if (message == WM_LBUTTONUP) {
        if (m_pressed == nullptr)
            return;
        ReleaseMouse();
        // Releasing may have run handlers (WM_CAPTURECHANGED); read the pointer again.
        if (m_pressed != nullptr) {
            TInputEvent event = MakeEvent(InputEventKind::ButtonUp, m_pressed, pt);
            event.WParam = wParam;
            event.LParam = lParam;
            event.KeyState = LOWORD(wParam);
            m_pressed->DispatchEvent(event);
        }
        m_pressed = nullptr;
        return;
    }

    // A second button while one is held: the first press ends as a capture loss would end it.
    if (m_pressed != nullptr) {
        if (m_mouseCaptured)
            ReleaseMouse();
        CancelPress();
    }
    CControlUI* control = OwnControlAt(pt);
    if (control == nullptr)
        return;
    m_pressed = control;
    if (message != WM_LBUTTONDBLCLK) {
        control->TakeFocus();
        if (m_pressed != control)
            return;  // destroyed by a focus listener
    }
    CaptureMouse();
    int kind = InputEventKind::ButtonDown;
    if (message == WM_RBUTTONDOWN)
        kind = InputEventKind::RightButtonDown;
    else if (message == WM_LBUTTONDBLCLK)
        kind = InputEventKind::DoubleClick;
    TInputEvent event = MakeEvent(kind, control, pt);
    event.KeyState = LOWORD(wParam);
    if (kind != InputEventKind::DoubleClick) {
        event.WParam = wParam;
        event.LParam = lParam;
    }
    control->DispatchEvent(event);
}

void CWindowHostUI::OnCaptureChanged(HWND newCapture)
{
    // Only a loss we did not cause: our own releases clear the flag first.
    if (!m_mouseCaptured || newCapture == m_hWndPaint)
        return;
    m_mouseCaptured = false;
    m_captureOwner = nullptr;
    CancelPress();
}

void CWindowHostUI::CancelPress()
{
    CControlUI* pressed = m_pressed;
    m_pressed = nullptr;
    if (pressed != nullptr) {
        // (-1, -1) for controls that only look at the point; the flag is what tells a cancel.
        TInputEvent event = MakeEvent(InputEventKind::ButtonUp, pressed, POINT{-1, -1});
        event.Cancelled = true;
        pressed->DispatchEvent(event);
    }
}

void CWindowHostUI::OnMouseMove(LPARAM lParam)
{
    if (!m_mouseTracking) {
        TRACKMOUSEEVENT track = {};
        track.cbSize = sizeof(track);
        track.dwFlags = TME_HOVER | TME_LEAVE;
        track.hwndTrack = m_hWndPaint;
        track.dwHoverTime = m_tooltip != nullptr
            ? static_cast<DWORD>(::SendMessageA(m_tooltip, TTM_GETDELAYTIME, TTDT_INITIAL, 0))
            : 400;
        ::TrackMouseEvent(&track);
        m_mouseTracking = true;
    }

    const POINT pt = PointFromLParam(lParam);
    m_ptLastMousePos = pt;
    CControlUI* control = FindControlAt(pt);
    if (control != nullptr && control->GetHost() != this)
        return;

    if (control != m_hover && m_hover != nullptr) {
        CControlUI* left = m_hover;
        TInputEvent event = MakeEvent(InputEventKind::MouseLeave, left, pt);
        left->DispatchEvent(event);
        m_hover = nullptr;
        HideTooltip();
        // The leave handler may have destroyed or moved what is under the point.
        control = FindControlAt(pt);
        if (control != nullptr && control->GetHost() != this)
            return;
    }
    if (control != m_hover && control != nullptr) {
        m_hover = control;
        TInputEvent event = MakeEvent(InputEventKind::MouseEnter, control, pt);
        control->DispatchEvent(event);
    }
    if (m_pressed != nullptr) {
        TInputEvent event = MakeEvent(InputEventKind::MouseMove, m_pressed, pt);
        m_pressed->DispatchEvent(event);
    } else if (control != nullptr && m_hover == control) {
        TInputEvent event = MakeEvent(InputEventKind::MouseMove, control, pt);
        control->DispatchEvent(event);
    }
}

bool CWindowHostUI::OnMouseHover(LPARAM lParam)
{
    m_mouseTracking = false;
    const POINT pt = PointFromLParam(lParam);
    CControlUI* control = FindControlAt(pt);
    if (control == nullptr)
        return false;
    if (m_hover != nullptr) {
        TInputEvent event = MakeEvent(InputEventKind::MouseHover, m_hover, pt);
        m_hover->DispatchEvent(event);
        // The hover handler may have taken the control under the point with it.
        control = FindControlAt(pt);
        if (control == nullptr)
            return true;
    }
    m_tooltipText = control->GetTooltip();
    if (m_tooltipText.IsEmpty())
        return true;

    m_toolInfo = TTTOOLINFOA();
    // The V2 layout is what every comctl32 accepts; its size differs between 32 and 64 bits.
    m_toolInfo.cbSize = TTTOOLINFOA_V2_SIZE;
    m_toolInfo.uFlags = TTF_IDISHWND;
    m_toolInfo.hwnd = m_hWndPaint;
    m_toolInfo.uId = reinterpret_cast<UINT_PTR>(m_hWndPaint);
    m_toolInfo.hinst = CResourceLocation::GetModuleInstance();
    m_toolInfo.lpszText = const_cast<char*>(m_tooltipText.GetData());
    m_toolInfo.rect = control->GetPosition();
    if (m_tooltip == nullptr) {
        // comctl32 binds on first use (cmake/DelayImports.cmake): the first tooltip loads it, not start-up.
        ::InitCommonControls();
        m_tooltip = ::CreateWindowExA(0, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP,
            CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, m_hWndPaint, nullptr,
            CResourceLocation::GetModuleInstance(), nullptr);
        if (m_tooltip == nullptr)
            return true;
        ::SendMessageA(m_tooltip, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&m_toolInfo));
    }
    ::SendMessageA(m_tooltip, TTM_SETMAXTIPWIDTH, 0, Scaled(control->GetTooltipWidth()));
    ::SendMessageA(m_tooltip, TTM_SETTOOLINFOA, 0, reinterpret_cast<LPARAM>(&m_toolInfo));
    ::SendMessageA(m_tooltip, TTM_TRACKACTIVATE, TRUE, reinterpret_cast<LPARAM>(&m_toolInfo));
    return true;
}

void CWindowHostUI::OnMouseLeave()
{
    HideTooltip();
    if (m_mouseTracking)
        ::SendMessageA(m_hWndPaint, WM_MOUSEMOVE, 0, static_cast<LPARAM>(-1));  // (-1, -1): outside everything
    m_mouseTracking = false;
}

void CWindowHostUI::HideTooltip()
{
    if (m_tooltip != nullptr)
        ::SendMessageA(m_tooltip, TTM_TRACKACTIVATE, FALSE, reinterpret_cast<LPARAM>(&m_toolInfo));
}

}  // namespace SkinUI
