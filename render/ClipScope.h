// Scoped narrowing of a device context's clip region while a control paints itself or its
// children. A scope remembers the clip box in force when it was narrowed and puts it back when it
// is destroyed, so scopes must end in the reverse order of their narrowing and before the DC is
// released. Restoring uses the saved clip box: a non-rectangular clip that was in force before comes
// back as its bounding rectangle (containers only ever narrow rectangles and rounded corners, so
// that loss never shows). All rectangles are in the DC's logical coordinates.
#pragma once
#include <windows.h>

namespace SkinUI {

class CClipScope {
public:
    CClipScope() = default;
    ~CClipScope();
    CClipScope(const CClipScope&) = delete;
    CClipScope& operator=(const CClipScope&) = delete;

    // The clip becomes (current clip AND rect).
    static void NarrowToRect(HDC hdc, const RECT& rect, CClipScope& clip);
    // The clip becomes (current clip AND rect AND the rounded rectangle of roundRect with the given
    // ellipse size).
    static void NarrowToRoundRect(
        HDC hdc, const RECT& rect, const RECT& roundRect, int width, int height, CClipScope& clip);

private:
    // Puts the saved clip back and frees both regions; a scope may be narrowed again afterwards.
    void Restore();
    // Installs (current clip AND rect AND, when given, the rounded rectangle of roundItem).
    static void Narrow(HDC hdc, const RECT& rect, const RECT* roundItem, int width, int height, CClipScope& clip);

    HDC m_dc = nullptr;  // not owned
    HRGN m_region = nullptr;  // owned: the region installed
    HRGN m_savedRegion = nullptr;  // owned: the clip box to restore
};

}  // namespace SkinUI
