// Internal to the render kit: msimg32's AlphaBlend and GradientFill, resolved once on first use
// from a msimg32 already loaded in the process (never loaded here); the blend every kit function
// goes through, which falls back to CRenderKit::SoftAlphaBlend when AlphaBlend is unavailable or
// own blending is on; and the one way the kit makes 32 bpp top-down DIB sections.
#pragma once
#include <windows.h>

namespace SkinUI {
namespace render_detail {

typedef BOOL(WINAPI* GradientFillFn)(HDC, PTRIVERTEX, ULONG, PVOID, ULONG, ULONG);

// Source-over blend of a premultiplied 32 bpp source with constant alpha and per-pixel alpha.
bool Blend(HDC hDC, int x, int y, int cx, int cy, HDC hSrcDC, int xs, int ys, int cxs, int cys, BYTE alpha);
// Null when msimg32 has none or own blending is on.
GradientFillFn GradientFillEntry();
// A 32 bpp top-down DIB section of width x height (both > 0) and its pixel words; null (and bits
// null) when it cannot be made.
HBITMAP CreateDib32(int width, int height, DWORD** bits);

}  // namespace render_detail
}  // namespace SkinUI
