#include "controls/native/ComboWnd.h"

#include <cstring>

#include "controls/native/Combo.h"
#include "controls/range/ScrollBar.h"
#include "controls/layout/VerticalLayout.h"
#include "host/ControlAliveGuard.h"
#include "host/WindowHost.h"

namespace SkinUI {

const char* CComboWnd::WindowClassName() const { return "ComboWnd"; }

CComboWnd::~CComboWnd() { delete m_host; }

bool CComboWnd::Open(CComboUI* owner)
{
    if (owner == nullptr || owner->GetHost() == nullptr || owner->GetHost()->GetPaintWindow() == nullptr)
        return false;
    CComboWnd* wnd = new CComboWnd;
    return wnd->Init(owner);
}

RECT CComboWnd::DropRect() const
{
    const HWND ownerWindow = m_owner->GetHost()->GetPaintWindow();
    const CSizeUI box = m_owner->Scaled(m_owner->GetDropBoxSize());
    CRectUI r = m_owner->GetPosition();
    const LONG ownerTop = r.top;
    r.top = r.bottom;
    r.bottom = r.top + box.cy;
    if (box.cx > 0)
        r.right = r.left + box.cx;
    int content = m_owner->Scaled(4);
    for (int i = 0; i < m_owner->ChildCount(); ++i) {
        CControlUI* row = m_owner->ChildAt(i);
        if (row->IsVisible())
            content += row->MeasureSize(CSizeUI(r.GetWidth(), box.cy)).cy;
    }
    const int height = content < box.cy ? content : box.cy;
    r.bottom = r.top + height;

    POINT top = {0, ownerTop};
    ::ClientToScreen(ownerWindow, &top);
    ::MapWindowPoints(ownerWindow, nullptr, reinterpret_cast<POINT*>(&r), 2);
    // Measured against the primary monitor, wherever the combo is.
    MONITORINFO monitor = {};
    monitor.cbSize = sizeof(monitor);
    ::GetMonitorInfoA(::MonitorFromPoint(POINT{0, 0}, MONITOR_DEFAULTTOPRIMARY), &monitor);
    if (r.bottom > monitor.rcWork.bottom) {
        r.bottom = top.y;
        r.top = r.bottom - height;
    }
    return r;
}

bool CComboWnd::Init(CComboUI* owner)
{
    m_owner = owner;
    m_initialIndex = owner->GetCurrentIndex();
    const HWND ownerWindow = owner->GetHost()->GetPaintWindow();
    const RECT r = DropRect();
    owner->m_dropWindow = this;
    if (Create(ownerWindow, WS_POPUP, WS_EX_TOOLWINDOW, r) == nullptr) {
        // A window that got as far as its first message has cleaned up in OnWindowGone.
        if (owner->m_dropWindow == this) {
            owner->m_dropWindow = nullptr;
            delete this;
        }
        return false;
    }
    ::ShowWindow(m_hWnd, SW_SHOW);
    // The main window keeps its active caption while its drop-down has the focus.
    ::SendMessageA(::GetAncestor(ownerWindow, GA_ROOT), WM_NCACTIVATE, TRUE, 0);
    return owner->m_dropWindow == this;
}

void CComboWnd::OnDpiChanged(WPARAM wParam, LPARAM lParam)
{
    LRESULT result = 0;
    // Fonts and rows at the new DPI first: the rows are measured with them.
    m_host->HandleWindowMessage(WM_DPICHANGED, wParam, lParam, result);
    if (m_gone || m_owner == nullptr || m_owner->GetHost() == nullptr)
        return;
    // Where it would open now: under the combo at its new place and size, not at its old corner.
    const RECT r = DropRect();
    ::SetWindowPos(m_hWnd, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top, SWP_NOZORDER | SWP_NOACTIVATE);
}

void CComboWnd::OnCreate()
{
    CWindowHostUI* ownerHost = m_owner->GetHost();
    m_host = new CWindowHostUI;
    m_host->BindWindow(m_hWnd);
    m_host->SetResourceParent(ownerHost);
    m_layout = new CVerticalLayoutUI;
    m_layout->AttachHost(m_host, nullptr, false);
    if (const char* defaults = m_host->ClassDefaultsFor("VerticalLayout"))
        m_layout->ApplyAttributeText(defaults);
    m_layout->SetInset(CRectUI(1, 1, 1, 1));
    m_layout->SetBackgroundColor(0xFFFFFFFF);
    m_layout->SetBorderColor(0xFFC6C7D2);
    m_layout->SetBorderSize(1);
    m_layout->SetOwnsChildren(false);
    m_layout->SetScrollBarsEnabled(true, false);
    m_layout->ApplyAttributeText(m_owner->GetDropBoxAttributes());
    for (int i = 0; i < m_owner->ChildCount(); ++i)
        m_layout->AddChild(m_owner->ChildAt(i));
    m_host->AttachRoot(m_layout);
}

void CComboWnd::ReturnRows(bool restoreFocus)
{
    if (m_rowsReturned || m_owner == nullptr)
        return;
    m_rowsReturned = true;
    CWindowHostUI* ownerHost = m_owner->GetHost();
    // The pop-up's host must hold no pointer to a row once the row has left it; and the objects
    // assistive technology had for the rows shown here go with the list they were shown in.
    auto forget = [](CControlUI* control, void* host) -> CControlUI* {
        static_cast<CWindowHostUI*>(host)->ForgetControl(control);
        return nullptr;
    };
    if (m_layout != nullptr) {
        for (int i = 0; i < m_layout->ChildCount(); ++i) {
            m_layout->ChildAt(i)->FindControl(forget, m_host, 0);
            if (ownerHost != nullptr)
                ownerHost->ForgetAccessible(m_layout->ChildAt(i));
        }
        m_layout->RemoveAllChildren();
    }
    m_owner->AttachHost(ownerHost, m_owner->GetParent(), false);
    m_owner->SetPosition(m_owner->GetPosition());
    if (!restoreFocus || ownerHost == nullptr)
        return;
    CControlAliveGuard alive(ownerHost, m_owner);
    m_owner->TakeFocus();
    if (alive.IsAlive())
        ownerHost->AnnounceAccessibleChange(m_owner, EVENT_OBJECT_STATECHANGE);
}

void CComboWnd::Close()
{
    if (m_hWnd != nullptr)
        ::DestroyWindow(m_hWnd);
}

bool CComboWnd::PassToOwner(TInputEvent& event)
{
    if (m_owner == nullptr)
        return false;
    m_owner->OnEvent(event);
    return !m_gone && m_owner != nullptr;
}

void CComboWnd::EnsureVisible(int index)
{
    if (m_owner == nullptr || m_layout == nullptr || m_owner->GetCurrentIndex() < 0)
        return;
    CControlUI* row = m_layout->ChildAt(index);
    if (row == nullptr)
        return;
    const CRectUI item = row->GetPosition();
    CRectUI area = m_layout->GetPosition();
    CScrollBarUI* bar = m_layout->GetHorizontalScrollBar();
    if (bar != nullptr && bar->IsVisible())
        area.bottom -= bar->ScaledFixedHeight();
    if (item.top >= area.top && item.bottom < area.bottom)
        return;
    const int d = item.top < area.top ? item.top - area.top : item.bottom - area.bottom;
    const CSizeUI pos = m_layout->GetScrollPosition();
    m_layout->SetScrollPosition(CSizeUI(pos.cx, pos.cy + d));
}

LRESULT CComboWnd::ProcessMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    ++m_depth;
    const LRESULT result = Handle(message, wParam, lParam);
    if (--m_depth == 0 && m_gone)
        delete this;
    return result;
}

LRESULT CComboWnd::Handle(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CREATE:
        OnCreate();
        return 0;
    case WM_DPICHANGED:
        if (m_host != nullptr && !m_gone)
            OnDpiChanged(wParam, lParam);
        return 0;
    case WM_KILLFOCUS:
        if (reinterpret_cast<HWND>(wParam) != m_hWnd)
            PostMessageA(m_hWnd, WM_CLOSE, 0, 0);
        break;
    case WM_CLOSE:
        ReturnRows(true);
        return CallPrevious(message, wParam, lParam);
    case WM_DESTROY:
        ReturnRows(false);
        break;
    case WM_KEYDOWN: {
        if (wParam == VK_RETURN) {
            PostMessageA(m_hWnd, WM_KILLFOCUS, 0, 0);
        } else if (wParam == VK_ESCAPE) {
            if (m_owner == nullptr)
                return 0;
            m_owner->SelectItem(m_initialIndex, true);
            if (m_gone)
                return 0;
            EnsureVisible(m_initialIndex);
            PostMessageA(m_hWnd, WM_KILLFOCUS, 0, 0);
        } else {
            TInputEvent event = {};
            event.Type = InputEventKind::KeyDown;
            event.Timestamp = ::GetTickCount();
            event.KeyChar = static_cast<char>(wParam);
            if (PassToOwner(event))
                EnsureVisible(m_owner->GetCurrentIndex());
        }
        return 0;
    }
    case WM_LBUTTONUP: {
        LRESULT result = 0;
        if (m_host->HandleWindowMessage(message, wParam, lParam, result) || m_gone)
            return result;
        POINT pt = {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
        CControlUI* control = m_host->FindControlAt(pt);
        // A click on a row closes the pop-up (the row's press has selected it); one on the bar does not.
        if (control != nullptr && std::strcmp(control->GetTypeName(), "ScrollBarUI") != 0)
            PostMessageA(m_hWnd, WM_KILLFOCUS, 0, 0);
        return CallPrevious(message, wParam, lParam);
    }
    case WM_MOUSEWHEEL: {
        TInputEvent event = {};
        event.Type = InputEventKind::ScrollWheel;
        event.WParam = static_cast<short>(HIWORD(wParam)) < 0 ? 1 : 0;
        event.LParam = lParam;
        event.Timestamp = ::GetTickCount();
        if (PassToOwner(event))
            EnsureVisible(m_owner->GetCurrentIndex());
        return 0;
    }
    default:
        break;
    }
    if (m_host != nullptr && !m_gone) {
        LRESULT result = 0;
        if (m_host->HandleWindowMessage(message, wParam, lParam, result))
            return result;
    }
    return CallPrevious(message, wParam, lParam);
}

void CComboWnd::OnWindowGone(HWND)
{
    // A creation refused before WM_CREATE never lent the rows.
    if (m_owner != nullptr) {
        if (m_owner->m_dropWindow == this)
            m_owner->OnDropWindowGone();
        m_owner = nullptr;
    }
    m_gone = true;
    if (m_depth == 0)
        delete this;
}

}  // namespace SkinUI
