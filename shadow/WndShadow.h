// CWndShadow: a soft drop shadow for a borderless top-level window.
//
// The shadow is a separate layered, click-through pop-up owned by the parent, a little larger than
// it and drawn in software: the parent's outline (its window region, or its rectangle) is eroded,
// then dilated again with a round blurred kernel, and the part straight behind the parent is left
// fully transparent. The object takes over the parent's window procedure to follow its moves,
// sizes, showing, hiding and destruction. The parent's WM_DESTROY destroys the shadow window; an
// object that ends before its parent simply stops following it (the parent keeps working).
//
// Display scale: spread, sharpness and offsets are kept in 96-DPI units (as set, as GetLook answers
// them) and drawn at the parent window's DPI, read when attaching and taken from the parent's
// WM_DPICHANGED.
//
// Coordinates (device pixels, the look scaled): the picture is SW x SH = (parent width + 2 * spread) x (parent height +
// 2 * spread) pixels, placed at (parent left + offset x - spread, parent top + offset y - spread) on the screen. Pixels
// are premultiplied 0xAARRGGBB in a bottom-up DIB, as UpdateLayeredWindow takes them. Without UpdateLayeredWindow
// (looked up at run time) shadows are silently off.
//
// Implemented in WndShadow.cpp (following the parent) and WndShadowRender.cpp (the picture).
#pragma once

#include <windows.h>

#include <vector>

namespace SkinUI {

// What the shadow looks like; the defaults are the class's defaults.
struct TShadowLook {
    BYTE darkness = 150;  // alpha of the solid part
    BYTE sharpness = 5;  // width of the blurred edge, pixels
    signed char spread = 0;  // how far the shadow reaches beyond the parent on each side
    signed char offsetX = 5;
    signed char offsetY = 5;
    COLORREF color = 0;  // 0x00BBGGRR
};

class CWndShadow {
public:
    // Status bits.
    enum : BYTE {
        StatusEnabled = 1,
        StatusVisible = 2,
        StatusParentVisible = 4,
        StatusDisabledByComposition = 8,
    };

    CWndShadow() = default;
    // Touches no window; the parent stops reaching this object.
    virtual ~CWndShadow();
    CWndShadow(const CWndShadow&) = delete;
    CWndShadow& operator=(const CWndShadow&) = delete;

    // Once per process, before any window: finds the layered-window update function and registers
    // the shadow window class (the composition query is looked up at the first composition change).
    // False when already done or when layered windows are not available (shadows then stay off).
    static bool InitSupport(HINSTANCE instance);

    // Creates the shadow window and takes over the parent's window procedure. Does nothing without
    // support, when this object is already attached, or when the parent already has a shadow.
    void AttachTo(HWND parent);
    // Both redraw at once when the shadow is visible.
    void SetSpread(int spread);
    void SetOffset(int x, int y);
    // Recomputes the visible bits from the parent's style and shows the shadow window (no-activate).
    void RefreshVisibility(HWND parent);
    // Renders the picture for the parent's current rectangle and outline and pushes it to the
    // shadow window; true when the window took it. Skipped (false) when the parent's rectangle is
    // unknown or the picture cannot be made (for example a spread that leaves no area).
    bool Redraw(HWND parent);

    HWND GetShadowWindow() const { return m_hWndShadow; }
    BYTE GetStatus() const { return m_status; }
    const TShadowLook& GetLook() const { return m_look; }

    //--- The software picture, exposed so it can be checked pixel by pixel.

    // COLORREF scaled by alpha into the 0x00RRGGBB part of a premultiplied pixel.
    static DWORD ScaleColorByAlpha(COLORREF color, BYTE alpha);
    // The (2K+1) x (2K+1) blur kernel, K = max(spread, sharpness), row by row.
    static std::vector<DWORD> BuildKernel(const TShadowLook& look);
    // Fills `pixels` (SW * SH values, bottom-up rows, all 0 on entry) with the shadow of a parent of
    // the given size whose outline is `outline` in parent window coordinates (null: the whole
    // rectangle). False, with nothing written, when SW or SH is not positive.
    static bool RenderShadow(DWORD* pixels, int parentWidth, int parentHeight, HRGN outline, const TShadowLook& look);

private:
    static LRESULT CALLBACK ParentProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
    // Reacts to one parent message; false means "pass it on as usual".
    bool OnParentMessage(HWND parent, UINT message, WPARAM wParam, LPARAM lParam, WNDPROC previous, LRESULT& result);
    bool IsActive() const;
    // m_look at the parent's DPI.
    TShadowLook ScaledLook() const;
    // What the shadow window shows was drawn for `parentSize`, `look` and the outline (owned).
    void RememberDrawn(HRGN outline, SIZE parentSize, const TShadowLook& look);
    // The shadow window shows the picture the parent's size, outline and the look call for now.
    bool IsPictureCurrent(HWND parent) const;

    HWND m_hWndShadow = static_cast<HWND>(INVALID_HANDLE_VALUE);
    BYTE m_status = 0;
    TShadowLook m_look;  // 96-DPI units
    int m_dpi = 96;  // the parent window's
    LPARAM m_lastParentSize = 0;  // lParam of the parent's last WM_SIZE
    bool m_updatePending = false;  // redraw at the parent's next WM_PAINT
    HRGN m_drawnOutline = nullptr;  // owned; null while no picture is known to be shown
    SIZE m_drawnSize = {0, 0};
    TShadowLook m_drawnLook;
};

}  // namespace SkinUI
