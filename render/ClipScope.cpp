#include "render/ClipScope.h"

namespace SkinUI {

namespace {

// Clip regions are in device coordinates while GetClipBox and the callers' rectangles are
// logical; the two differ once a window origin is set (scrolled painting).
HRGN DeviceRectRgn(HDC hDC, const RECT& logical)
{
    POINT pts[2] = {{logical.left, logical.top}, {logical.right, logical.bottom}};
    LPtoDP(hDC, pts, 2);
    return CreateRectRgn(pts[0].x, pts[0].y, pts[1].x, pts[1].y);
}

}  // namespace

CClipScope::~CClipScope() { Restore(); }

void CClipScope::Restore()
{
    if (m_hDC != nullptr && m_hOldRgn != nullptr)
        SelectClipRgn(m_hDC, m_hOldRgn);
    if (m_hOldRgn != nullptr)
        DeleteObject(m_hOldRgn);
    if (m_hRgn != nullptr)
        DeleteObject(m_hRgn);
    m_hOldRgn = nullptr;
    m_hRgn = nullptr;
    m_hDC = nullptr;
}

void CClipScope::NarrowToRect(HDC hDC, const RECT& rc, CClipScope& clip) { Narrow(hDC, rc, nullptr, 0, 0, clip); }

void CClipScope::NarrowToRoundRect(HDC hDC, const RECT& rc, const RECT& rcItem, int width, int height, CClipScope& clip)
{
    Narrow(hDC, rc, &rcItem, width, height, clip);
}

void CClipScope::Narrow(HDC hDC, const RECT& rc, const RECT* roundItem, int width, int height, CClipScope& clip)
{
    clip.Restore();
    if (hDC == nullptr)
        return;
    RECT box = {0, 0, 0, 0};
    GetClipBox(hDC, &box);
    clip.m_hDC = hDC;
    clip.m_rcItem = rc;
    clip.m_hOldRgn = DeviceRectRgn(hDC, box);
    clip.m_hRgn = DeviceRectRgn(hDC, rc);
    if (clip.m_hRgn == nullptr)
        return;
    if (roundItem != nullptr) {
        // A rounded region leaves out one more column and row than a rectangular one; the extra
        // pixel brings the item's last column and row back in.
        POINT pts[2] = {{roundItem->left, roundItem->top}, {roundItem->right + 1, roundItem->bottom + 1}};
        LPtoDP(hDC, pts, 2);
        HRGN round = CreateRoundRectRgn(pts[0].x, pts[0].y, pts[1].x, pts[1].y, width, height);
        if (round != nullptr) {
            CombineRgn(clip.m_hRgn, clip.m_hRgn, round, RGN_AND);
            DeleteObject(round);
        }
    }
    ExtSelectClipRgn(hDC, clip.m_hRgn, RGN_AND);
}

}  // namespace SkinUI
