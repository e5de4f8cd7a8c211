// Lazy layout and painting.
//
// Layout runs here, at the start of WM_PAINT, and only for what asked for it: the whole tree when
// the root is flagged (the off-screen bitmaps are then dropped and rebuilt at the new size),
// otherwise each flagged control at its current position. Painting goes through one client-sized
// off-screen bitmap; only the update rectangle is copied to the screen.
#include "host/WindowHost.h"

#include "controls/base/Control.h"
#include "render/ImageSpec.h"

namespace SkinUI {

namespace {

CControlUI* FirstNeedingLayout(CControlUI* control, void*) { return control->NeedsLayout() ? control : nullptr; }

// A control that stays flagged after SetPosition must not keep the paint in a loop for ever.
const int kMaxLayoutPasses = 10000;

}  // namespace

HPEN CWindowHostUI::DirtyPen()
{
    // Process-wide, lives as long as the process.
    static const HPEN pen = ::CreatePen(PS_SOLID, 1, RGB(220, 0, 0));
    return pen;
}

void CWindowHostUI::DropOffscreen()
{
    if (m_offscreenDc != nullptr)
        ::DeleteDC(m_offscreenDc);
    if (m_backgroundDc != nullptr)
        ::DeleteDC(m_backgroundDc);
    if (m_offscreenBitmap != nullptr)
        ::DeleteObject(m_offscreenBitmap);
    if (m_backgroundBitmap != nullptr)
        ::DeleteObject(m_backgroundBitmap);
    m_offscreenDc = nullptr;
    m_backgroundDc = nullptr;
    m_offscreenBitmap = nullptr;
    m_backgroundBitmap = nullptr;
}

void CWindowHostUI::LayOutPending()
{
    m_layoutPending = false;
    RECT client = {};
    ::GetClientRect(m_hWndPaint, &client);
    if (::IsRectEmpty(&client))
        return;
    if (m_root->NeedsLayout()) {
        m_root->SetPosition(client);
        DropOffscreen();
    } else {
        for (int pass = 0; pass < kMaxLayoutPasses; ++pass) {
            // Down the marked paths only: a flagged control marks its ancestors when it asks.
            const unsigned path = m_layoutSearchWhole ? 0u : FindLayoutPath;
            m_layoutSearchWhole = false;
            CControlUI* control = m_root->FindControl(FirstNeedingLayout, nullptr, FindVisible | FindMeFirst | path);
            if (control == nullptr)
                break;
            control->SetPosition(control->GetPosition());
        }
    }
    if (m_firstLayoutPending) {
        m_firstLayoutPending = false;
        SendNotification(m_root, "windowinit");
    }
}

void CWindowHostUI::OnDpiChanged(int dpi, const RECT* suggested)
{
    const int oldDpi = GetDpi();
    SetDpi(dpi);
    if (suggested != nullptr) {
        ::SetWindowPos(m_hWndPaint, nullptr, suggested->left, suggested->top, suggested->right - suggested->left,
            suggested->bottom - suggested->top, SWP_NOZORDER | SWP_NOACTIVATE);
    }
    if (m_root != nullptr) {
        m_root->RequestLayout();
        LayOutPending();
        ::InvalidateRect(m_hWndPaint, nullptr, FALSE);
    }
    // The system tells top-level windows one by one; an owned pop-up (a drop-down) that hosts
    // controls is told here, at its own place, grown or shrunk by the same factor.
    if (GetDpi() == oldDpi)
        return;
    CPtrVectorUI owned;
    for (int i = 0; i < LiveHosts().GetSize(); ++i) {
        CWindowHostUI* host = static_cast<CWindowHostUI*>(LiveHosts().GetAt(i));
        if (host != this && host->m_hWndPaint != nullptr && ::GetWindow(host->m_hWndPaint, GW_OWNER) == m_hWndPaint)
            owned.Add(host->m_hWndPaint);
    }
    for (int i = 0; i < owned.GetSize(); ++i) {
        const HWND popup = static_cast<HWND>(owned.GetAt(i));
        RECT r = {};
        if (!::IsWindow(popup) || !::GetWindowRect(popup, &r))
            continue;
        r.right = r.left + ::MulDiv(r.right - r.left, GetDpi(), oldDpi);
        r.bottom = r.top + ::MulDiv(r.bottom - r.top, GetDpi(), oldDpi);
        ::SendMessageA(popup, WM_DPICHANGED, MAKEWPARAM(GetDpi(), GetDpi()), reinterpret_cast<LPARAM>(&r));
    }
}

void CWindowHostUI::AimBackground(CControlUI* root, SIZE client, bool start)
{
    bool first = true;
    ReadImageSpec(
        RECT{0, 0, client.cx, client.cy}, root->GetBackgroundImage(), nullptr,
        [&](const TImageParams& params) {
            if (first && params.resType.IsEmpty()) {
                if (start)
                    PrefetchImage(params.name, params.mask, WholeImageDrawnSize(params));
                else
                    SettlePrefetch(params.name, WholeImageDrawnSize(params));
            }
            first = false;
        },
        GetDpi());
}

void CWindowHostUI::OnPaint()
{
    RECT update = {};
    if (!::GetUpdateRect(m_hWndPaint, &update, FALSE))
        return;
    PAINTSTRUCT ps = {};
    if (m_root == nullptr) {
        ::BeginPaint(m_hWndPaint, &ps);
        ::EndPaint(m_hWndPaint, &ps);
        return;
    }
    if (m_layoutPending)
        LayOutPending();
    if (m_focusPending)
        MoveFocusByTab(true);
    // A "windowinit" or focus listener may have replaced or dropped the tree.
    if (m_root == nullptr) {
        ::BeginPaint(m_hWndPaint, &ps);
        ::EndPaint(m_hWndPaint, &ps);
        return;
    }
    AnnounceCreated();

    RECT client = {};
    ::GetClientRect(m_hWndPaint, &client);
    if (m_offscreenPaint && m_offscreenBitmap == nullptr) {
        if (m_offscreenDc == nullptr)
            m_offscreenDc = ::CreateCompatibleDC(m_hDcPaint);
        m_offscreenBitmap
            = ::CreateCompatibleBitmap(m_hDcPaint, client.right - client.left, client.bottom - client.top);
    }

    ::BeginPaint(m_hWndPaint, &ps);
    const CRectUI paintRect = ps.rcPaint;
    const int width = paintRect.GetWidth();
    const int height = paintRect.GetHeight();
    if (m_offscreenPaint && m_offscreenDc != nullptr && m_offscreenBitmap != nullptr) {
        const HGDIOBJ oldBitmap = ::SelectObject(m_offscreenDc, m_offscreenBitmap);
        const int saved = ::SaveDC(m_offscreenDc);
        if (m_backgroundSnapshot) {
            if (m_backgroundBitmap == nullptr) {
                // The first paint's screen content becomes the background from then on.
                if (m_backgroundDc == nullptr)
                    m_backgroundDc = ::CreateCompatibleDC(m_hDcPaint);
                m_backgroundBitmap
                    = ::CreateCompatibleBitmap(m_hDcPaint, client.right - client.left, client.bottom - client.top);
                ::SelectObject(m_backgroundDc, m_backgroundBitmap);
                ::BitBlt(m_backgroundDc, paintRect.left, paintRect.top, width, height, ps.hdc, paintRect.left,
                    paintRect.top, SRCCOPY);
            } else {
                ::SelectObject(m_backgroundDc, m_backgroundBitmap);
            }
            ::BitBlt(m_offscreenDc, paintRect.left, paintRect.top, width, height, m_backgroundDc, paintRect.left,
                paintRect.top, SRCCOPY);
        }
        m_root->Paint(m_offscreenDc, paintRect);
        const CPtrVectorUI overlays = m_overlayPainters;
        for (int i = 0; i < overlays.GetSize(); ++i) {
            CControlUI* painter = static_cast<CControlUI*>(overlays.GetAt(i));
            if (m_overlayPainters.Find(painter) >= 0)
                painter->PaintOverlay(m_offscreenDc, paintRect);
        }
        PaintFocusCue(m_offscreenDc, paintRect);
        ::RestoreDC(m_offscreenDc, saved);
        ::BitBlt(ps.hdc, paintRect.left, paintRect.top, width, height, m_offscreenDc, paintRect.left, paintRect.top,
            SRCCOPY);
        ::SelectObject(m_offscreenDc, oldBitmap);
        if (m_showDirty) {
            const HGDIOBJ oldPen = ::SelectObject(ps.hdc, DirtyPen());
            const HGDIOBJ oldBrush = ::SelectObject(ps.hdc, ::GetStockObject(NULL_BRUSH));
            ::Rectangle(ps.hdc, update.left, update.top, update.right, update.bottom);
            ::SelectObject(ps.hdc, oldBrush);
            ::SelectObject(ps.hdc, oldPen);
        }
    } else {
        const int saved = ::SaveDC(ps.hdc);
        m_root->Paint(ps.hdc, paintRect);
        PaintFocusCue(ps.hdc, paintRect);
        ::RestoreDC(ps.hdc, saved);
    }
    ::EndPaint(m_hWndPaint, &ps);
    if (m_layoutPending)
        ::InvalidateRect(m_hWndPaint, nullptr, FALSE);
}

void CWindowHostUI::OnPrintClient(HDC hdc, LPARAM flags)
{
    if (hdc == nullptr)
        return;
    RECT client = {};
    ::GetClientRect(m_hWndPaint, &client);
    const int saved = ::SaveDC(hdc);
    if (m_root != nullptr)
        m_root->Paint(hdc, client);
    if ((flags & PRF_CHILDREN) != 0) {
        flags |= PRF_NONCLIENT;
        for (HWND child = ::GetWindow(m_hWndPaint, GW_CHILD); child != nullptr;
             child = ::GetWindow(child, GW_HWNDNEXT)) {
            RECT rc = {};
            ::GetWindowRect(child, &rc);
            ::MapWindowPoints(HWND_DESKTOP, m_hWndPaint, reinterpret_cast<POINT*>(&rc), 2);
            ::SetWindowOrgEx(hdc, -rc.left, -rc.top, nullptr);
            ::SendMessageA(child, WM_PRINT, reinterpret_cast<WPARAM>(hdc), flags);
        }
    }
    ::RestoreDC(hdc, saved);
}

}  // namespace SkinUI
