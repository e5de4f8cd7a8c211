// Image drawing: image attribute strings, nine-grid blits, tiling, holes, fades and the
// framework's own blend for systems without AlphaBlend.
#include "render/RenderKit.h"

#include <algorithm>
#include <climits>

#include "core/ValueParse.h"
#include "host/HostResources.h"
#include "render/ImagePairReader.h"
#include "render/RenderDetail.h"

namespace SkinUI {

namespace {

// base + offset, held within LONG: skin numbers reach INT_MAX, and the sum must not wrap.
LONG OffsetSaturated(LONG base, int offset)
{
    const long long sum = static_cast<long long>(base) + offset;
    return sum > LONG_MAX ? LONG_MAX : (sum < LONG_MIN ? LONG_MIN : static_cast<LONG>(sum));
}

bool Touches(const RECT& a, const RECT& b)
{
    RECT tmp;
    return IntersectRect(&tmp, &a, &b) != FALSE;
}

// Everything one image draw needs, filled from the attribute strings.
struct TImageParams {
    CUIString name;
    CUIString resType;
    RECT dest;
    RECT source = {0, 0, 0, 0};
    RECT corner = {0, 0, 0, 0};
    DWORD mask = 0;
    BYTE fade = 255;
    bool hole = false;
    bool xTiled = false;
    bool yTiled = false;
};

}  // namespace

//--- attribute strings -----------------------------------------------------------------------

bool CRenderKit::PaintImageSpec(HDC hDC, CHostResources* host, const RECT& rcItem, const RECT& rcPaint,
                                const char* image, const char* modify)
{
    if (hDC == nullptr || host == nullptr) return false;

    TImageParams params;
    // A bare file name is a whole image string of its own.
    params.name = image;
    params.dest = rcItem;

    auto draw = [&] {
        PaintImageEntry(hDC, host, rcItem, rcPaint, params.name, params.resType.IsEmpty() ? nullptr : params.resType.GetData(),
                        params.dest, params.source, params.corner, params.mask, params.fade, params.hole,
                        params.xTiled, params.yTiled);
    };

    const char* strings[2] = {image, modify};
    for (const char* text : strings) {
        if (text == nullptr) continue;
        int begun = 0;  // images named so far in this string; a further name draws the pending one
        CImagePairReader reader(text);
        while (reader.Next()) {
            const CUIString& key = reader.key;
            const CUIString& value = reader.value;
            if (!value.IsEmpty()) {
                if (key == "file" || key == "res") {
                    if (begun > 0) draw();
                    params.name = value;
                    if (key == "file") ++begun;
                } else if (key == "restype") {
                    if (begun > 0) draw();
                    params.resType = value;
                    ++begun;
                } else if (key == "dest") {
                    const CRectUI d = ParseRect(value);
                    params.dest.left = OffsetSaturated(rcItem.left, d.left);
                    params.dest.top = OffsetSaturated(rcItem.top, d.top);
                    params.dest.right = std::min<LONG>(OffsetSaturated(rcItem.left, d.right), rcItem.right);
                    params.dest.bottom = std::min<LONG>(OffsetSaturated(rcItem.top, d.bottom), rcItem.bottom);
                } else if (key == "source") {
                    params.source = ParseRect(value);
                } else if (key == "corner") {
                    params.corner = ParseRect(value);
                } else if (key == "mask") {
                    params.mask = ParseColor(value);
                } else if (key == "fade") {
                    params.fade = static_cast<BYTE>(ParseInt(value));
                } else if (key == "hole") {
                    params.hole = ParseFlag(value);
                } else if (key == "xtiled") {
                    params.xTiled = ParseFlag(value);
                } else if (key == "ytiled") {
                    params.yTiled = ParseFlag(value);
                }
            }
            if (!reader.More()) break;
        }
    }
    draw();
    return true;
}

bool CRenderKit::PaintImageEntry(HDC hDC, CHostResources* host, const RECT& rcItem, const RECT& rcPaint,
                                 const char* name, const char* resType, const RECT& dest,
                                 const RECT& source, const RECT& corner, DWORD mask, BYTE fade,
                                 bool hole, bool xTiled, bool yTiled)
{
    if (host == nullptr || name == nullptr || name[0] == '\0') return false;
    const TImageEntry* image = host->FindOrLoadImage(name, resType, mask);
    if (image == nullptr) return false;

    RECT src = source;
    if (src.left == 0 && src.top == 0 && src.right == 0 && src.bottom == 0) {
        src.right = image->nWidth;
        src.bottom = image->nHeight;
    }
    src.right = std::min<LONG>(src.right, image->nWidth);
    src.bottom = std::min<LONG>(src.bottom, image->nHeight);

    if (Touches(dest, rcItem) && Touches(dest, rcPaint)) {
        BlitImage(hDC, image->hBitmap, dest, rcPaint, src, corner, image->bAlpha, fade, hole, xTiled, yTiled);
    }
    return true;
}

//--- nine-grid blit --------------------------------------------------------------------------

void CRenderKit::BlitImage(HDC hDC, HBITMAP hBitmap, const RECT& dest, const RECT& rcPaint,
                           const RECT& source, const RECT& corner, bool alpha, BYTE fade, bool hole,
                           bool xTiled, bool yTiled)
{
    if (hDC == nullptr || hBitmap == nullptr) return;
    HDC mem = CreateCompatibleDC(hDC);
    if (mem == nullptr) return;
    HGDIOBJ oldBitmap = SelectObject(mem, hBitmap);
    SetStretchBltMode(hDC, HALFTONE);

    const bool opaque = !alpha && fade == 255;
    // Copies source rectangle s onto destination rectangle d, whole; the clip does the rest.
    auto copy = [&](const RECT& d, const RECT& s) {
        const int dw = d.right - d.left;
        const int dh = d.bottom - d.top;
        const int sw = s.right - s.left;
        const int sh = s.bottom - s.top;
        if (dw <= 0 || dh <= 0 || sw <= 0 || sh <= 0 || !Touches(d, rcPaint)) return;
        if (!opaque) {
            render_detail::Blend(hDC, d.left, d.top, dw, dh, mem, s.left, s.top, sw, sh, fade);
        } else if (dw == sw && dh == sh) {
            BitBlt(hDC, d.left, d.top, dw, dh, mem, s.left, s.top, SRCCOPY);
        } else {
            StretchBlt(hDC, d.left, d.top, dw, dh, mem, s.left, s.top, sw, sh, SRCCOPY);
        }
    };

    const int cl = corner.left;
    const int ct = corner.top;
    const int cr = corner.right;
    const int cb = corner.bottom;
    const bool noCorners = cl == 0 && ct == 0 && cr == 0 && cb == 0;

    if (opaque && noCorners && dest.right - dest.left == source.right - source.left &&
        dest.bottom - dest.top == source.bottom - source.top) {
        // The common case of an unscaled opaque image: only the damaged part is copied.
        RECT part;
        if (IntersectRect(&part, &dest, &rcPaint)) {
            BitBlt(hDC, part.left, part.top, part.right - part.left, part.bottom - part.top, mem,
                   source.left + part.left - dest.left, source.top + part.top - dest.top, SRCCOPY);
        }
    } else {
        const RECT mid = {dest.left + cl, dest.top + ct, dest.right - cr, dest.bottom - cb};
        const RECT midSrc = {source.left + cl, source.top + ct, source.right - cr, source.bottom - cb};
        const int tw = midSrc.right - midSrc.left;
        const int th = midSrc.bottom - midSrc.top;
        if (!hole && tw > 0 && th > 0 && Touches(mid, rcPaint)) {
            if (xTiled && yTiled) {
                for (LONG y = mid.top; y < mid.bottom; y += th) {
                    const LONG h = std::min<LONG>(th, mid.bottom - y);
                    for (LONG x = mid.left; x < mid.right; x += tw) {
                        const LONG w = std::min<LONG>(tw, mid.right - x);
                        copy(RECT{x, y, x + w, y + h}, RECT{midSrc.left, midSrc.top, midSrc.left + w, midSrc.top + h});
                    }
                }
            } else if (xTiled) {
                for (LONG x = mid.left; x < mid.right; x += tw) {
                    const LONG w = std::min<LONG>(tw, mid.right - x);
                    copy(RECT{x, mid.top, x + w, mid.bottom}, RECT{midSrc.left, midSrc.top, midSrc.left + w, midSrc.bottom});
                }
            } else if (yTiled) {
                for (LONG y = mid.top; y < mid.bottom; y += th) {
                    const LONG h = std::min<LONG>(th, mid.bottom - y);
                    copy(RECT{mid.left, y, mid.right, y + h}, RECT{midSrc.left, midSrc.top, midSrc.right, midSrc.top + h});
                }
            } else {
                copy(mid, midSrc);
            }
        }
        // Frame pieces: corners keep their size, edges stretch along their length.
        if (cl > 0 && ct > 0) {
            copy(RECT{dest.left, dest.top, dest.left + cl, dest.top + ct},
                 RECT{source.left, source.top, source.left + cl, source.top + ct});
        }
        if (ct > 0) {
            copy(RECT{dest.left + cl, dest.top, dest.right - cr, dest.top + ct},
                 RECT{source.left + cl, source.top, source.right - cr, source.top + ct});
        }
        if (cr > 0 && ct > 0) {
            copy(RECT{dest.right - cr, dest.top, dest.right, dest.top + ct},
                 RECT{source.right - cr, source.top, source.right, source.top + ct});
        }
        if (cl > 0) {
            copy(RECT{dest.left, dest.top + ct, dest.left + cl, dest.bottom - cb},
                 RECT{source.left, source.top + ct, source.left + cl, source.bottom - cb});
        }
        if (cr > 0) {
            copy(RECT{dest.right - cr, dest.top + ct, dest.right, dest.bottom - cb},
                 RECT{source.right - cr, source.top + ct, source.right, source.bottom - cb});
        }
        if (cl > 0 && cb > 0) {
            copy(RECT{dest.left, dest.bottom - cb, dest.left + cl, dest.bottom},
                 RECT{source.left, source.bottom - cb, source.left + cl, source.bottom});
        }
        if (cb > 0) {
            copy(RECT{dest.left + cl, dest.bottom - cb, dest.right - cr, dest.bottom},
                 RECT{source.left + cl, source.bottom - cb, source.right - cr, source.bottom});
        }
        if (cr > 0 && cb > 0) {
            copy(RECT{dest.right - cr, dest.bottom - cb, dest.right, dest.bottom},
                 RECT{source.right - cr, source.bottom - cb, source.right, source.bottom});
        }
    }

    SelectObject(mem, oldBitmap);
    DeleteDC(mem);
}

//--- own blend -------------------------------------------------------------------------------

bool CRenderKit::SoftAlphaBlend(HDC hDC, int x, int y, int cx, int cy, HDC hSrcDC, int xs, int ys,
                                int cxs, int cys, BYTE alpha)
{
    HDC mem = CreateCompatibleDC(hDC);
    if (mem == nullptr) return false;
    DWORD* srcBits = nullptr;
    DWORD* dstBits = nullptr;
    HBITMAP srcDib = render_detail::CreateDib32(cx, cy, &srcBits);
    HBITMAP dstDib = render_detail::CreateDib32(cx, cy, &dstBits);
    if (srcDib == nullptr || dstDib == nullptr) {
        if (srcDib != nullptr) DeleteObject(srcDib);
        if (dstDib != nullptr) DeleteObject(dstDib);
        DeleteDC(mem);
        return false;
    }

    HGDIOBJ old = SelectObject(mem, srcDib);
    // A memory DC stretches with BLACKONWHITE, which ANDs the pixels it drops together; picking
    // pixels keeps colours and their alpha intact.
    SetStretchBltMode(mem, COLORONCOLOR);
    StretchBlt(mem, 0, 0, cx, cy, hSrcDC, xs, ys, cxs, cys, SRCCOPY);
    SelectObject(mem, dstDib);
    BitBlt(mem, 0, 0, cx, cy, hDC, x, y, SRCCOPY);
    GdiFlush();

    const size_t count = static_cast<size_t>(cx) * static_cast<size_t>(cy);
    for (size_t i = 0; i < count; ++i) {
        const DWORD s = srcBits[i];
        const DWORD d = dstBits[i];
        float a = static_cast<float>(s >> 24) * alpha / 255.0f / 255.0f;
        if (a < 0.0f) a = 0.0f;
        DWORD out = 0;
        for (int shift = 0; shift <= 16; shift += 8) {
            const float sc = static_cast<float>((s >> shift) & 0xFF);
            const float dc = static_cast<float>((d >> shift) & 0xFF);
            const DWORD c = static_cast<DWORD>(sc * a + dc * (1.0f - a));
            out |= (c > 255 ? 255 : c) << shift;
        }
        dstBits[i] = out;
    }

    BitBlt(hDC, x, y, cx, cy, mem, 0, 0, SRCCOPY);
    SelectObject(mem, old);
    DeleteObject(srcDib);
    DeleteObject(dstDib);
    DeleteDC(mem);
    return true;
}

}  // namespace SkinUI
