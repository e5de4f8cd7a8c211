// Colours, fills, outlines and the hue/saturation/lightness shift.
#include "render/RenderKit.h"

#include "render/RenderDetail.h"

namespace SkinUI {

namespace {

COLORREF ToColorRef(DWORD argb) { return RGB((argb >> 16) & 0xFF, (argb >> 8) & 0xFF, argb & 0xFF); }

// A gradient corner: each 8-bit channel c as the 16-bit c * 256, opaque.
TRIVERTEX Vertex(LONG x, LONG y, DWORD argb)
{
    TRIVERTEX v = {};
    v.x = x;
    v.y = y;
    v.Red = static_cast<COLOR16>(((argb >> 16) & 0xFF) << 8);
    v.Green = static_cast<COLOR16>(((argb >> 8) & 0xFF) << 8);
    v.Blue = static_cast<COLOR16>((argb & 0xFF) << 8);
    v.Alpha = 0xFF00;
    return v;
}

// Selects a pen and the hollow brush, and puts the previous ones back on every path.
class CPenScope {
public:
    CPenScope(HDC hDC, HPEN pen)
        : m_hDC(hDC)
        , m_pen(pen)
    {
        m_oldPen = SelectObject(hDC, pen);
        m_oldBrush = SelectObject(hDC, GetStockObject(NULL_BRUSH));
    }
    ~CPenScope()
    {
        SelectObject(m_hDC, m_oldBrush);
        SelectObject(m_hDC, m_oldPen);
        DeleteObject(m_pen);
    }
    CPenScope(const CPenScope&) = delete;
    CPenScope& operator=(const CPenScope&) = delete;

private:
    HDC m_hDC;
    HPEN m_pen;  // owned
    HGDIOBJ m_oldPen;
    HGDIOBJ m_oldBrush;
};

// Runs `draw` with an inside-frame pen of `size` pixels and no fill selected; nothing when there
// is no DC or the pen cannot be made.
template <class Draw> void StrokeInsideFrame(HDC hDC, int size, DWORD color, Draw draw)
{
    if (hDC == nullptr)
        return;
    HPEN pen = CreatePen(PS_INSIDEFRAME, size, ToColorRef(color));
    if (pen == nullptr)
        return;
    CPenScope scope(hDC, pen);
    draw();
}

}  // namespace

void CRenderKit::FillColor(HDC hDC, const RECT& rc, DWORD color)
{
    if (hDC == nullptr || color <= 0x00FFFFFF)
        return;
    if (color >= 0xFF000000) {
        SetBkColor(hDC, ToColorRef(color));
        ExtTextOutA(hDC, 0, 0, ETO_OPAQUE, &rc, nullptr, 0, nullptr);
        return;
    }
    // One pixel holding the colour as given (not premultiplied), stretched and blended per pixel.
    DWORD* bits = nullptr;
    HBITMAP pixel = render_detail::CreateDib32(1, 1, &bits);
    if (pixel == nullptr)
        return;
    bits[0] = color;
    const RECT source = {0, 0, 1, 1};
    const RECT corner = {0, 0, 0, 0};
    BlitImage(hDC, pixel, rc, rc, source, corner, true, 255);
    DeleteObject(pixel);
}

void CRenderKit::FillGradient(HDC hDC, const RECT& rc, DWORD color1, DWORD color2, int steps)
{
    if (hDC == nullptr)
        return;
    const int alpha = static_cast<int>(((color1 >> 24) + (color2 >> 24)) / 2);
    if (alpha == 0)
        return;
    const int width = rc.right - rc.left;
    const int height = rc.bottom - rc.top;
    if (width <= 0 || height <= 0)
        return;

    HDC target = hDC;
    RECT area = rc;
    HDC mem = nullptr;
    HBITMAP dib = nullptr;
    HGDIOBJ oldBitmap = nullptr;
    DWORD* bits = nullptr;
    if (alpha < 255) {
        mem = CreateCompatibleDC(hDC);
        dib = render_detail::CreateDib32(width, height, &bits);
        if (mem == nullptr || dib == nullptr) {
            if (mem != nullptr)
                DeleteDC(mem);
            if (dib != nullptr)
                DeleteObject(dib);
            return;
        }
        oldBitmap = SelectObject(mem, dib);
        target = mem;
        area = RECT{0, 0, width, height};
    }

    render_detail::GradientFillFn gradientFill = render_detail::GradientFillEntry();
    if (gradientFill != nullptr) {
        TRIVERTEX v[2] = {Vertex(area.left, area.top, color1), Vertex(area.right, area.bottom, color2)};
        GRADIENT_RECT mesh = {0, 1};
        gradientFill(target, v, 2, &mesh, 1, GRADIENT_FILL_RECT_V);
    } else {
        const int shift = steps < 16 ? 3 : 4;
        const int bands = 1 << shift;
        for (int i = 0; i < bands; ++i) {
            const LONG bottom = area.bottom - ((height * i) >> shift);
            const LONG top = area.bottom - ((height * (i + 1)) >> shift);
            if (bottom - top <= 0)
                continue;
            DWORD rgb[3];
            for (int c = 0; c < 3; ++c) {
                const int sh = 16 - 8 * c;
                const DWORD c1 = (color1 >> sh) & 0xFF;
                const DWORD c2 = (color2 >> sh) & 0xFF;
                rgb[c] = (c2 * static_cast<DWORD>(bands - i) + c1 * static_cast<DWORD>(i)) >> shift;
            }
            HBRUSH brush = CreateSolidBrush(RGB(rgb[0], rgb[1], rgb[2]));
            if (brush == nullptr)
                continue;
            const RECT band = {area.left, top, area.right, bottom};
            FillRect(target, &band, brush);
            DeleteObject(brush);
        }
    }

    if (mem != nullptr) {
        // GDI fills leave the alpha byte of a DIB at 0; both fills paint opaque colour, and the
        // blend's per-pixel alpha must say so or the own blend would draw nothing.
        GdiFlush();
        const size_t count = static_cast<size_t>(width) * static_cast<size_t>(height);
        for (size_t i = 0; i < count; ++i)
            bits[i] |= 0xFF000000;
        render_detail::Blend(hDC, rc.left, rc.top, width, height, mem, 0, 0, width, height, static_cast<BYTE>(alpha));
        SelectObject(mem, oldBitmap);
        DeleteObject(dib);
        DeleteDC(mem);
    }
}

void CRenderKit::StrokeLine(HDC hDC, const RECT& rc, int size, DWORD color, int style)
{
    if (hDC == nullptr)
        return;
    LOGPEN lg = {};
    lg.lopnStyle = static_cast<UINT>(style);
    lg.lopnWidth.x = size;
    lg.lopnColor = ToColorRef(color);
    HPEN pen = CreatePenIndirect(&lg);
    if (pen == nullptr)
        return;
    HGDIOBJ old = SelectObject(hDC, pen);
    MoveToEx(hDC, rc.left, rc.top, nullptr);
    LineTo(hDC, rc.right, rc.bottom);
    SelectObject(hDC, old);
    DeleteObject(pen);
}

void CRenderKit::StrokeRect(HDC hDC, const RECT& rc, int size, DWORD color)
{
    StrokeInsideFrame(hDC, size, color, [&] { Rectangle(hDC, rc.left, rc.top, rc.right, rc.bottom); });
}

void CRenderKit::StrokeRoundRect(HDC hDC, const RECT& rc, int size, int width, int height, DWORD color)
{
    StrokeInsideFrame(hDC, size, color, [&] { RoundRect(hDC, rc.left, rc.top, rc.right, rc.bottom, width, height); });
}

//--- hue, saturation, lightness ---------------------------------------------------------------
// The low byte plays red and bits 16-23 blue here, the reverse of the ARGB layout; both
// directions use the same roles, so the identity shift (180, 100, 100) is exact either way.

namespace {

void RgbToHsl(DWORD color, float* h, float* s, float* l)
{
    const float r = static_cast<float>(color & 0xFF) / 255.0f;
    const float g = static_cast<float>((color >> 8) & 0xFF) / 255.0f;
    const float b = static_cast<float>((color >> 16) & 0xFF) / 255.0f;
    const float mx = r > g ? (r > b ? r : b) : (g > b ? g : b);
    const float mn = r < g ? (r < b ? r : b) : (g < b ? g : b);
    *l = (mx + mn) / 2.0f;
    if (mx == mn) {
        *h = 0.0f;
        *s = 0.0f;
        return;
    }
    const float delta = mx - mn;
    *s = *l <= 0.5f ? delta / (mx + mn) : delta / (2.0f - mx - mn);
    float sixths;
    if (r == mn) {
        sixths = 3.0f - (g - b) / delta;
    } else if (b == mn) {
        sixths = 1.0f - (r - g) / delta;
    } else {
        sixths = 5.0f - (b - r) / delta;
    }
    if (sixths >= 6.0f)
        sixths -= 6.0f;
    *h = sixths * 60.0f;
}

float HueToChannel(float p, float q, float t)
{
    if (t < 0.0f)
        t += 1.0f;
    if (t > 1.0f)
        t -= 1.0f;
    if (6.0f * t < 1.0f)
        return p + (q - p) * 6.0f * t;
    if (2.0f * t < 1.0f)
        return q;
    if (3.0f * t < 2.0f)
        return p + (q - p) * (2.0f / 3.0f - t) * 6.0f;
    return p;
}

DWORD HslToRgb(float h, float s, float l)
{
    const float q = l < 0.5f ? l * (1.0f + s) : l + s - l * s;
    const float p = 2.0f * l - q;
    const float t = h / 360.0f;
    const float channels[3]
        = {HueToChannel(p, q, t + 1.0f / 3.0f), HueToChannel(p, q, t), HueToChannel(p, q, t - 1.0f / 3.0f)};
    DWORD out = 0;
    for (int i = 0; i < 3; ++i) {
        float v = channels[i] * 255.0f;
        if (v < 0.0f)
            v = 0.0f;
        if (v > 255.0f)
            v = 255.0f;
        out |= static_cast<DWORD>(v) << (8 * i);
    }
    return out;
}

}  // namespace

DWORD CRenderKit::ShiftColorHsl(DWORD color, short H, short S, short L)
{
    if (H == 180 && S == 100 && L == 100)
        return color;
    float h = 0.0f;
    float s = 0.0f;
    float l = 0.0f;
    RgbToHsl(color, &h, &s, &l);
    h += static_cast<float>(H - 180);
    if (h <= 0.0f)
        h += 360.0f;
    s = s * S / 100.0f;
    l = l * L / 100.0f;
    return (color & 0xFF000000) | HslToRgb(h, s, l);
}

}  // namespace SkinUI
