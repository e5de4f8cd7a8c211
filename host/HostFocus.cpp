// Keyboard focus, tab order, Alt shortcut keys and the process-wide pre-translation step.
//
// Tab order is the visiting order of FindControl with FindMeFirst (a container before its
// children, children first to last); Tab wraps from the last tab stop to the first and Shift+Tab
// the other way. Shortcut keys are searched top-first, and a label's shortcut lands on the next
// non-label control visited after it.
#include "host/WindowHost.h"

#include <cstring>

#include "controls/base/Control.h"
#include "controls/richedit/RichEdit.h"
#include "host/ControlAliveGuard.h"

namespace SkinUI {

namespace {

struct TTabSearch {
    CControlUI* Focus;  // where the walk starts; null: the first tab stop
    CControlUI* Last;  // the last tab stop visited so far
    bool Forward;
    bool NextIsIt;
};

CControlUI* VisitTabStop(CControlUI* control, void* data)
{
    TTabSearch* search = static_cast<TTabSearch*>(data);
    if (control == search->Focus) {
        if (!search->Forward)
            return search->Last;
        search->NextIsIt = true;
        return nullptr;
    }
    if ((control->GetCapabilities() & CapabilityTabStop) != 0) {
        search->Last = control;
        if (search->NextIsIt || search->Focus == nullptr)
            return control;
    }
    return nullptr;
}

unsigned UpperAscii(unsigned key) { return key >= 'a' && key <= 'z' ? key - ('a' - 'A') : key; }

// A rich edit that wants Tab characters gets the key instead of the tab order; Ctrl+Tab still
// moves on, so a keyboard user is never shut in it.
bool FocusWantsTab(CControlUI* focus)
{
    if (focus == nullptr || !focus->IsVisible() || !focus->IsEnabled() || ::GetKeyState(VK_CONTROL) < 0)
        return false;
    const CRichEditUI* edit = ControlCast<CRichEditUI>(focus);
    return edit != nullptr && edit->WantsTab();
}

struct TShortcutSearch {
    unsigned Key;
    bool Found;
};

CControlUI* VisitShortcut(CControlUI* control, void* data)
{
    TShortcutSearch* search = static_cast<TShortcutSearch*>(data);
    if (!control->IsVisible())
        return nullptr;
    if (UpperAscii(static_cast<unsigned char>(control->GetShortcutKey())) == search->Key)
        search->Found = true;
    if (search->Found && std::strstr(control->GetTypeName(), "LabelUI") == nullptr)
        return control;
    return nullptr;
}

}  // namespace

//--- focus --------------------------------------------------------------------------------------

void CWindowHostUI::DropFocus(CControlUI* gaining)
{
    if (m_focus == nullptr)
        return;
    // Cleared first: a handler that moves the focus elsewhere sets it, and that choice stands.
    CControlUI* old = m_focus;
    m_focus = nullptr;
    CControlAliveGuard alive(this, old);
    TInputEvent event = MakeEvent(InputEventKind::FocusLost, gaining, POINT{0, 0});
    old->DispatchEvent(event);
    // The old focus may have been destroyed by its handler; no notification names a dead sender.
    if (alive.IsAlive())
        SendNotification(old, "killfocus");
}

void CWindowHostUI::SetFocusControl(CControlUI* control)
{
    if (::GetFocus() != m_hWndPaint) {
        if (control == m_focus)
            return;
        ::SetFocus(m_hWndPaint);
    }
    if (control == m_focus)
        return;
    CControlAliveGuard alive(this, control);
    DropFocus(control);
    // The old focus's handlers may have destroyed `control`, or moved the focus themselves.
    if (control == nullptr || !alive.IsAlive() || m_focus != nullptr)
        return;
    if (control->GetHost() != this || !control->IsVisible() || !control->IsEnabled())
        return;
    m_focus = control;
    TInputEvent event = MakeEvent(InputEventKind::FocusGained, control, POINT{0, 0});
    control->DispatchEvent(event);
    if (m_focus == control)
        SendNotification(control, "setfocus");
    // Last: a listener in the process may act on it.
    if (m_focus == control)
        AnnounceAccessibleChange(control, EVENT_OBJECT_FOCUS);
}

CControlUI* CWindowHostUI::FindTabNeighbour(CControlUI* from, bool forward, CControlUI** lastTabStop) const
{
    TTabSearch search = {from, nullptr, forward, false};
    CControlUI* found = nullptr;
    if (m_root != nullptr)
        found = m_root->FindControl(VisitTabStop, &search, FindVisible | FindEnabled | FindMeFirst);
    if (lastTabStop != nullptr)
        *lastTabStop = search.Last;
    return found;
}

bool CWindowHostUI::MoveFocusByTab(bool forward)
{
    if (m_layoutPending && forward) {
        // Positions and visibility settle at the next paint; resolve the move after it.
        m_focusPending = true;
        ::InvalidateRect(m_hWndPaint, nullptr, FALSE);
        return true;
    }
    CControlUI* last = nullptr;
    CControlUI* next = FindTabNeighbour(m_focus, forward, &last);
    if (next == nullptr) {
        if (forward)
            next = FindTabNeighbour(nullptr, true, nullptr);  // wrap to the first
        else
            next = last;  // wrap to the last
    }
    if (next != nullptr)
        SetFocusControl(next);
    m_focusPending = false;
    return true;
}

void CWindowHostUI::ScheduleFocus(CControlUI* control)
{
    ::SetFocus(m_hWndPaint);
    if (control == nullptr)
        return;
    DropFocus(control);
    // Silently parked on the tab stop before `control`; the forward move at the next paint lands
    // on `control` itself.
    m_focus = FindTabNeighbour(control, false, nullptr);
    m_focusPending = true;
    if (m_root != nullptr)
        m_root->RequestLayout();
}

//--- pre-translation ----------------------------------------------------------------------------

bool CWindowHostUI::TranslateForHosts(const MSG* msg)
{
    if (msg == nullptr)
        return false;
    const CPtrVectorUI& hosts = LiveHosts();
    CWindowHostUI* taker = nullptr;
    if ((::GetWindowLongA(msg->hwnd, GWL_STYLE) & WS_CHILD) != 0) {
        for (int i = 0; i < hosts.GetSize() && taker == nullptr; ++i) {
            CWindowHostUI* host = static_cast<CWindowHostUI*>(hosts.GetAt(i));
            if (host->m_hWndPaint == msg->hwnd) {
                taker = host;
                break;
            }
            // Depth bound: a native child chain is short; never walk a broken chain for ever.
            int depth = 0;
            for (HWND ancestor = ::GetParent(msg->hwnd); ancestor != nullptr && depth < 256;
                 ancestor = ::GetParent(ancestor), ++depth) {
                if (host->m_hWndPaint == ancestor) {
                    taker = host;
                    break;
                }
            }
        }
    } else {
        for (int i = 0; i < hosts.GetSize(); ++i) {
            CWindowHostUI* host = static_cast<CWindowHostUI*>(hosts.GetAt(i));
            if (host->m_hWndPaint == msg->hwnd) {
                taker = host;
                break;
            }
        }
    }
    if (taker == nullptr)
        return false;
    if (taker->TranslateAccelerators(msg))
        return true;
    LRESULT result = 0;
    return taker->PreTranslate(msg->message, msg->wParam, msg->lParam, result);
}

bool CWindowHostUI::TranslateAccelerators(const MSG* msg)
{
    const CPtrVectorUI translators = m_acceleratorTranslators;
    for (int i = 0; i < translators.GetSize(); ++i) {
        ITranslateAccelerator* translator = static_cast<ITranslateAccelerator*>(translators.GetAt(i));
        if (m_acceleratorTranslators.Find(translator) < 0)
            continue;
        if (translator->Translate(msg) == 0)
            return true;
    }
    return false;
}

bool CWindowHostUI::PreTranslate(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    if (AskFilters(m_preTranslateFilters, message, wParam, lParam, result))
        return true;

    switch (message) {
    case WM_KEYDOWN:
        if (wParam != VK_TAB || FocusWantsTab(m_focus))
            return false;
        m_keyboardCue = true;
        MoveFocusByTab(::GetKeyState(VK_SHIFT) >= 0);
        return true;
    case WM_SYSKEYDOWN:
        if (m_focus != nullptr)
            SendKeyEvent(InputEventKind::SysKey, m_focus, wParam);
        return false;
    case WM_SYSCHAR:
        return OnShortcutKey(wParam);
    default:
        return false;
    }
}

bool CWindowHostUI::OnShortcutKey(WPARAM key)
{
    // Controls without a shortcut hold 0; a NUL character must not match them all.
    if (key == 0 || m_root == nullptr)
        return false;
    TShortcutSearch search = {UpperAscii(static_cast<unsigned>(key)), false};
    CControlUI* target = m_root->FindControl(VisitShortcut, &search, FindEnabled | FindTopFirst | FindMeFirst);
    if (target == nullptr)
        return false;
    // Focus listeners may destroy the target.
    CControlAliveGuard alive(this, target);
    target->TakeFocus();
    if (alive.IsAlive())
        target->TriggerAction();
    return true;
}

}  // namespace SkinUI
