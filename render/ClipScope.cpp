#include "render/ClipScope.h"

namespace SkinUI {

namespace {

// Clip regions are in device coordinates while GetClipBox and the callers' rectangles are
// logical; the two differ once a window origin is set (scrolled painting).
HRGN DeviceRectRgn(HDC hdc, const RECT& logical)
{
    POINT pts[2] = {{logical.left, logical.top}, {logical.right, logical.bottom}};
    LPtoDP(hdc, pts, 2);
    return CreateRectRgn(pts[0].x, pts[0].y, pts[1].x, pts[1].y);
}

}  // namespace

CClipScope::~CClipScope() { Restore(); }

void CClipScope::Restore()
{
    if (m_dc != nullptr && m_savedRegion != nullptr)
        SelectClipRgn(m_dc, m_savedRegion);
    if (m_savedRegion != nullptr)
        DeleteObject(m_savedRegion);
    if (m_region != nullptr)
        DeleteObject(m_region);
    m_savedRegion = nullptr;
    m_region = nullptr;
    m_dc = nullptr;
}

void CClipScope::NarrowToRect(HDC hdc, const RECT& rect, CClipScope& clip) { Narrow(hdc, rect, nullptr, 0, 0, clip); }

void CClipScope::NarrowToRoundRect(
    HDC hdc, const RECT& rect, const RECT& roundRect, int width, int height, CClipScope& clip)
{
    Narrow(hdc, rect, &roundRect, width, height, clip);
}

void CClipScope::Narrow(HDC hdc, const RECT& rect, const RECT* roundItem, int width, int height, CClipScope& clip)
{
    clip.Restore();
    if (hdc == nullptr)
        return;
    RECT box = {0, 0, 0, 0};
    GetClipBox(hdc, &box);
    clip.m_dc = hdc;
    clip.m_savedRegion = DeviceRectRgn(hdc, box);
    clip.m_region = DeviceRectRgn(hdc, rect);
    if (clip.m_region == nullptr)
        return;
    if (roundItem != nullptr) {
        // A rounded region leaves out one more column and row than a rectangular one; the extra
        // pixel brings the item's last column and row back in.
        POINT pts[2] = {{roundItem->left, roundItem->top}, {roundItem->right + 1, roundItem->bottom + 1}};
        LPtoDP(hdc, pts, 2);
        HRGN round = CreateRoundRectRgn(pts[0].x, pts[0].y, pts[1].x, pts[1].y, width, height);
        if (round != nullptr) {
            CombineRgn(clip.m_region, clip.m_region, round, RGN_AND);
            DeleteObject(round);
        }
    }
    ExtSelectClipRgn(hdc, clip.m_region, RGN_AND);
}

}  // namespace SkinUI
