// CRectUI and CSizeUI: the platform RECT and SIZE layouts with a few helpers.
//
// Coordinates are whatever space the owner says (client pixels of the host window for control
// positions). Right and bottom are exclusive: a rect (0,0,10,5) covers 10 x 5 pixels. A rect whose
// right <= left or bottom <= top is empty, as for IsRectEmpty; intersections follow IntersectRect.
#pragma once

#include <windows.h>

namespace SkinUI {

class CRectUI : public RECT {
public:
    CRectUI() { left = top = right = bottom = 0; }
    CRectUI(const RECT& rc)
    {
        left = rc.left;
        top = rc.top;
        right = rc.right;
        bottom = rc.bottom;
    }
    CRectUI(LONG l, LONG t, LONG r, LONG b)
    {
        left = l;
        top = t;
        right = r;
        bottom = b;
    }

    LONG GetWidth() const { return right - left; }
    LONG GetHeight() const { return bottom - top; }
    // Empty or inverted.
    bool IsEmpty() const { return right <= left || bottom <= top; }
    // All four fields zero.
    bool IsNull() const { return left == 0 && top == 0 && right == 0 && bottom == 0; }
    void SetEmpty() { left = top = right = bottom = 0; }

    // Widens this rect to the union with `other` (no emptiness test on either side).
    void Join(const RECT& other);
    // Becomes the intersection with `other`; an empty result is stored as all zeros and gives false.
    bool Intersect(const RECT& other);
    void Offset(LONG dx, LONG dy)
    {
        left += dx;
        right += dx;
        top += dy;
        bottom += dy;
    }
    void Inflate(LONG dx, LONG dy)
    {
        left -= dx;
        right += dx;
        top -= dy;
        bottom += dy;
    }
    void Deflate(LONG dx, LONG dy) { Inflate(-dx, -dy); }
    // Half-open test, as PtInRect.
    bool Contains(POINT pt) const { return pt.x >= left && pt.x < right && pt.y >= top && pt.y < bottom; }

    bool operator==(const RECT& o) const
    {
        return left == o.left && top == o.top && right == o.right && bottom == o.bottom;
    }
    bool operator!=(const RECT& o) const { return !(*this == o); }
};

class CSizeUI : public SIZE {
public:
    CSizeUI() { cx = cy = 0; }
    CSizeUI(const SIZE& s)
    {
        cx = s.cx;
        cy = s.cy;
    }
    CSizeUI(LONG x, LONG y)
    {
        cx = x;
        cy = y;
    }
    bool operator==(const SIZE& o) const { return cx == o.cx && cy == o.cy; }
    bool operator!=(const SIZE& o) const { return !(*this == o); }
};

inline void CRectUI::Join(const RECT& other)
{
    if (other.left < left)
        left = other.left;
    if (other.top < top)
        top = other.top;
    if (other.right > right)
        right = other.right;
    if (other.bottom > bottom)
        bottom = other.bottom;
}

inline bool CRectUI::Intersect(const RECT& other)
{
    CRectUI o(other);
    if (IsEmpty() || o.IsEmpty()) {
        SetEmpty();
        return false;
    }
    CRectUI r(left > o.left ? left : o.left, top > o.top ? top : o.top, right < o.right ? right : o.right,
        bottom < o.bottom ? bottom : o.bottom);
    if (r.IsEmpty()) {
        SetEmpty();
        return false;
    }
    *this = r;
    return true;
}

}  // namespace SkinUI
