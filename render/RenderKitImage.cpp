// Image drawing: image attribute strings, nine-grid blits, tiling, holes, fades and the
// framework's own blend for systems without AlphaBlend.
#include "render/RenderKit.h"

#include <algorithm>

#include "core/IntMath.h"
#include "host/HostResources.h"
#include "render/ImageSpec.h"
#include "render/RenderDetail.h"
#include "stb_image_resize.h"

namespace SkinUI {

namespace {

bool Touches(const RECT& a, const RECT& b)
{
    RECT tmp;
    return IntersectRect(&tmp, &a, &b) != FALSE;
}

// Tile length on the screen along one axis: the picture's tile scaled, or the whole length when
// that axis is not tiled (one stretched piece).
int TileOnScreen(bool tiles, int pictureTile, int length, int screenScale, int pictureScale)
{
    return tiles ? std::max(1, MulDivSaturated(pictureTile, screenScale, pictureScale)) : length;
}

RECT ScaledRect(const RECT& r, int num, int den)
{
    return RECT{MulDivSaturated(r.left, num, den), MulDivSaturated(r.top, num, den), MulDivSaturated(r.right, num, den),
        MulDivSaturated(r.bottom, num, den)};
}

}  // namespace

//--- attribute strings -----------------------------------------------------------------------

bool CRenderKit::PaintImageSpec(
    HDC hDC, CHostResources* host, const RECT& rcItem, const RECT& rcPaint, const char* image, const char* modify)
{
    if (hDC == nullptr || host == nullptr)
        return false;

    ReadImageSpec(
        rcItem, image, modify, [&](const TImageParams& params) { PaintImageEntry(hDC, host, rcItem, rcPaint, params); },
        host->GetDpi());
    return true;
}

namespace {

// Largest scaled copy kept, in pixels; a larger stretch is drawn directly on every paint rather
// than holding a destination-sized bitmap for it.
const long long kMaxScaledPixels = 2048LL * 2048LL;

// A plain stretch worth a kept copy: a real size change of a size small enough to hold.
bool KeepsScaledCopy(const RECT& source, int width, int height)
{
    const int sw = source.right - source.left;
    const int sh = source.bottom - source.top;
    return width > 0 && height > 0 && sw > 0 && sh > 0 && (width != sw || height != sh)
        && static_cast<long long>(width) * height <= kMaxScaledPixels;
}

// The entry's copy of `source` at width x height, or null.
HBITMAP FindScaledCopy(TImageEntry& image, const RECT& source, int width, int height)
{
    for (TScaledCopy& copy : image.scaled) {
        if (copy.bitmap != nullptr && copy.width == width && copy.height == height
            && EqualRect(&copy.source, &source)) {
            copy.lastUse = ++image.useCounter;
            return copy.bitmap;
        }
    }
    return nullptr;
}

// An image at least this large (in pixels) keeps only its copies once it has been drawn shrunk:
// the full-size bitmap is decoded again if it is ever needed, and kept from then on.
const long long kDropFullBitmapPixels = 512LL * 512LL;

// `source` (in whole-image pixels) in the pixels held in memory, which may be reduced; their size.
RECT PixelSource(const TImageEntry& image, const RECT& source, SIZE& pixels)
{
    const int n = std::max(1, image.reduction);
    pixels = SIZE{(image.width + n - 1) / n, (image.height + n - 1) / n};
    auto along = [](LONG v, int count, int whole) {
        return static_cast<LONG>(static_cast<long long>(v) * count / std::max(1, whole));
    };
    return RECT{along(source.left, pixels.cx, image.width), along(source.top, pixels.cy, image.height),
        along(source.right, pixels.cx, image.width), along(source.bottom, pixels.cy, image.height)};
}

// The pixels in memory can make this copy: whole, or reduced yet no smaller than the copy.
bool PixelsCover(const TImageEntry& image, const RECT& source, int width, int height)
{
    if (image.pixels == nullptr)
        return false;
    SIZE pixels = {};
    const RECT s = PixelSource(image, source, pixels);
    return image.reduction == 1 || (s.right - s.left >= width && s.bottom - s.top >= height);
}

// `source` of the full image resampled from the pixels in memory (which may be reduced) into `to`
// (width x height words, top-down); false when nothing could be made, for instance for a source
// rectangle not inside them (a skin may name any). Not a GDI stretch: that would first copy the
// pixels whole into a buffer of its own, as large again as a window's decoded background, and it
// needs a DC, which a worker making the copy does not have. Each side is area-averaged where it
// shrinks and smoothly interpolated where it grows (averaging would repeat pixels there).
bool ResamplePixels(DWORD* to, const TImageEntry& image, const RECT& wholeSource, int width, int height)
{
    SIZE pixels = {};
    const RECT source = PixelSource(image, wholeSource, pixels);
    if (source.left < 0 || source.top < 0 || source.left >= source.right || source.top >= source.bottom
        || source.right > pixels.cx || source.bottom > pixels.cy)
        return false;
    const int sw = source.right - source.left;
    const int sh = source.bottom - source.top;
    const DWORD* from = image.pixels + static_cast<size_t>(source.top) * static_cast<size_t>(pixels.cx) + source.left;
    const stbir_filter across = width <= sw ? STBIR_FILTER_BOX : STBIR_FILTER_CATMULLROM;
    const stbir_filter down = height <= sh ? STBIR_FILTER_BOX : STBIR_FILTER_CATMULLROM;
    return stbir_resize(from, sw, sh, pixels.cx * 4, to, width, height, width * 4, STBIR_TYPE_UINT8, 4,
               STBIR_ALPHA_CHANNEL_NONE, 0, STBIR_EDGE_CLAMP, STBIR_EDGE_CLAMP, across, down, STBIR_COLORSPACE_LINEAR,
               nullptr)
        != 0;
}

// HALFTONE stretch of `source` of the full bitmap onto `to` at 0,0: the filter a direct stretch uses.
bool StretchFullBitmap(HDC to, const TImageEntry& image, const RECT& source, int width, int height)
{
    HDC from = CreateCompatibleDC(to);
    if (from == nullptr)
        return false;
    SetStretchBltMode(to, HALFTONE);
    HGDIOBJ oldFrom = SelectObject(from, image.bitmap);
    const bool drawn = StretchBlt(to, 0, 0, width, height, from, source.left, source.top, source.right - source.left,
                           source.bottom - source.top, SRCCOPY)
        != FALSE;
    SelectObject(from, oldFrom);
    DeleteDC(from);
    return drawn;
}

// Scales `source` of the full image to width x height into the least recently used slot: from the
// bitmap as a direct stretch draws it, else from the pixels in memory. hDC may be null when there
// is no bitmap (a worker has none). Null when the copy cannot be made.
HBITMAP MakeScaledCopy(HDC hDC, TImageEntry& image, const RECT& source, int width, int height)
{
    DWORD* bits = nullptr;
    HBITMAP bitmap = render_detail::CreateDib32(width, height, &bits);
    if (bitmap == nullptr)
        return nullptr;
    bool drawn = false;
    if (image.bitmap == nullptr) {
        drawn = ResamplePixels(bits, image, source, width, height);
    } else if (HDC to = CreateCompatibleDC(hDC)) {
        HGDIOBJ oldTo = SelectObject(to, bitmap);
        drawn = StretchFullBitmap(to, image, source, width, height);
        SelectObject(to, oldTo);
        DeleteDC(to);
    }
    if (!drawn) {
        DeleteObject(bitmap);
        return nullptr;
    }
    TScaledCopy* slot = &image.scaled[0];
    for (TScaledCopy& copy : image.scaled) {
        if (copy.lastUse < slot->lastUse)
            slot = &copy;
    }
    if (slot->bitmap != nullptr)
        DeleteObject(slot->bitmap);
    *slot = TScaledCopy{bitmap, source, width, height, ++image.useCounter};
    return bitmap;
}

// Once a large image is drawn from a shrunk copy, only its copies are kept; a paint at another size
// decodes it again.
void DropFullWhenDrawnShrunk(TImageEntry& image, int width, int height)
{
    const long long full = static_cast<long long>(image.width) * image.height;
    if (!image.keepFull && full >= kDropFullBitmapPixels && static_cast<long long>(width) * height < full)
        CRenderKit::DropFullImage(image);
}

}  // namespace

bool CRenderKit::MakeWholeScaledCopy(TImageEntry& image, SIZE drawn)
{
    const RECT whole = {0, 0, image.width, image.height};
    if (image.hasAlpha || !KeepsScaledCopy(whole, drawn.cx, drawn.cy)
        || (image.bitmap == nullptr && !PixelsCover(image, whole, drawn.cx, drawn.cy)))
        return false;
    if (MakeScaledCopy(nullptr, image, whole, drawn.cx, drawn.cy) == nullptr)
        return false;
    // Otherwise the decoded pixels would stay beside the copy until the first paint, while the window
    // and its shadow are shown.
    DropFullWhenDrawnShrunk(image, drawn.cx, drawn.cy);
    return true;
}

bool CRenderKit::PaintImageEntry(
    HDC hDC, CHostResources* host, const RECT& rcItem, const RECT& rcPaint, const TImageParams& params)
{
    const char* name = params.name.GetData();
    const char* resType = params.resType.IsEmpty() ? nullptr : params.resType.GetData();
    if (host == nullptr || name[0] == '\0')
        return false;
    TImageEntry* image = host->FindOrLoadImage(
        name, resType, params.mask, CHostResources::ImageUse::ScaledCopiesSuffice, WholeImageDrawnSize(params));
    if (image == nullptr)
        return false;

    // 96-DPI units of the 1x picture, into pixels of the file loaded (a variant holds more).
    RECT src = ScaledRect(params.source, image->scale, 100);
    if (src.left == 0 && src.top == 0 && src.right == 0 && src.bottom == 0) {
        src.right = image->width;
        src.bottom = image->height;
    }
    src.right = std::min<LONG>(src.right, image->width);
    src.bottom = std::min<LONG>(src.bottom, image->height);

    if (!Touches(params.dest, rcItem) || !Touches(params.dest, rcPaint))
        return true;
    const int width = params.dest.right - params.dest.left;
    const int height = params.dest.bottom - params.dest.top;
    const bool plainStretch = !image->hasAlpha && IsPlainStretch(params) && KeepsScaledCopy(src, width, height);
    // Each step below may need the full image that only scaled copies (or reduced pixels) replaced:
    // it is made again.
    auto fullImage = [&](bool pixelsDo) {
        return image->bitmap != nullptr || (pixelsDo && PixelsCover(*image, src, width, height))
            || host->FindOrLoadImage(name, resType, params.mask, CHostResources::ImageUse::FullBitmap) != nullptr;
    };
    HBITMAP scaled = plainStretch ? FindScaledCopy(*image, src, width, height) : nullptr;
    if (scaled == nullptr && plainStretch) {
        if (!fullImage(true))
            return false;
        scaled = MakeScaledCopy(hDC, *image, src, width, height);
    }
    if (scaled == nullptr && !fullImage(false))
        return false;
    if (scaled != nullptr) {
        DropFullWhenDrawnShrunk(*image, width, height);
        const RECT whole = {0, 0, width, height};
        BlitImage(hDC, scaled, params.dest, rcPaint, whole, RECT(), false);
    } else {
        // The file holds nScale / 100 pixels per 96-DPI unit, the screen dpi / 96 of them.
        const RECT corner = ScaledRect(params.corner, image->scale, 100);
        BlitImage(hDC, image->bitmap, params.dest, rcPaint, src, corner, image->hasAlpha, params.fade, params.hole,
            params.xTiled, params.yTiled, host->GetDpi() * 100, image->scale * 96);
    }
    return true;
}

//--- nine-grid blit --------------------------------------------------------------------------

void CRenderKit::BlitImage(HDC hDC, HBITMAP hBitmap, const RECT& dest, const RECT& rcPaint, const RECT& source,
    const RECT& corner, bool alpha, BYTE fade, bool hole, bool xTiled, bool yTiled, int screenScale, int pictureScale)
{
    if (screenScale <= 0 || pictureScale <= 0)
        screenScale = pictureScale = 1;
    if (hDC == nullptr || hBitmap == nullptr)
        return;
    HDC mem = CreateCompatibleDC(hDC);
    if (mem == nullptr)
        return;
    HGDIOBJ oldBitmap = SelectObject(mem, hBitmap);
    SetStretchBltMode(hDC, HALFTONE);

    const bool opaque = !alpha && fade == 255;
    // Copies source rectangle s onto destination rectangle d, whole; the clip does the rest.
    auto copy = [&](const RECT& d, const RECT& s) {
        const int dw = d.right - d.left;
        const int dh = d.bottom - d.top;
        const int sw = s.right - s.left;
        const int sh = s.bottom - s.top;
        if (dw <= 0 || dh <= 0 || sw <= 0 || sh <= 0 || !Touches(d, rcPaint))
            return;
        if (!opaque) {
            render_detail::Blend(hDC, d.left, d.top, dw, dh, mem, s.left, s.top, sw, sh, fade);
        } else if (dw == sw && dh == sh) {
            BitBlt(hDC, d.left, d.top, dw, dh, mem, s.left, s.top, SRCCOPY);
        } else {
            StretchBlt(hDC, d.left, d.top, dw, dh, mem, s.left, s.top, sw, sh, SRCCOPY);
        }
    };

    // Picture pixels to screen pixels: border widths and tiles are drawn at screenScale / pictureScale.
    auto onScreen = [&](int v) { return MulDivSaturated(v, screenScale, pictureScale); };
    const int sl = corner.left;
    const int st = corner.top;
    const int sr = corner.right;
    const int sb = corner.bottom;
    const int cl = onScreen(sl);
    const int ct = onScreen(st);
    const int cr = onScreen(sr);
    const int cb = onScreen(sb);
    const bool noCorners = sl == 0 && st == 0 && sr == 0 && sb == 0;

    if (opaque && noCorners && dest.right - dest.left == source.right - source.left
        && dest.bottom - dest.top == source.bottom - source.top) {
        // The common case of an unscaled opaque image: only the damaged part is copied.
        RECT part;
        if (IntersectRect(&part, &dest, &rcPaint)) {
            BitBlt(hDC, part.left, part.top, part.right - part.left, part.bottom - part.top, mem,
                source.left + part.left - dest.left, source.top + part.top - dest.top, SRCCOPY);
        }
    } else {
        const RECT mid = {dest.left + cl, dest.top + ct, dest.right - cr, dest.bottom - cb};
        const RECT midSrc = {source.left + sl, source.top + st, source.right - sr, source.bottom - sb};
        const int tw = midSrc.right - midSrc.left;
        const int th = midSrc.bottom - midSrc.top;
        // A tile's size on the screen; the last tile of a row or column is cut, in the picture too.
        const int dtw = TileOnScreen(xTiled, tw, mid.right - mid.left, screenScale, pictureScale);
        const int dth = TileOnScreen(yTiled, th, mid.bottom - mid.top, screenScale, pictureScale);
        if (!hole && tw > 0 && th > 0 && dtw > 0 && dth > 0 && Touches(mid, rcPaint)) {
            for (LONG y = mid.top; y < mid.bottom; y += dth) {
                const LONG h = std::min<LONG>(dth, mid.bottom - y);
                const LONG sh = h == dth ? th : MulDivSaturated(h, pictureScale, screenScale);
                for (LONG x = mid.left; x < mid.right; x += dtw) {
                    const LONG w = std::min<LONG>(dtw, mid.right - x);
                    const LONG sw = w == dtw ? tw : MulDivSaturated(w, pictureScale, screenScale);
                    copy(RECT{x, y, x + w, y + h}, RECT{midSrc.left, midSrc.top, midSrc.left + sw, midSrc.top + sh});
                }
            }
        }
        // Frame pieces: corners keep their size, edges stretch along their length.
        if (sl > 0 && st > 0) {
            copy(RECT{dest.left, dest.top, dest.left + cl, dest.top + ct},
                RECT{source.left, source.top, source.left + sl, source.top + st});
        }
        if (st > 0) {
            copy(RECT{dest.left + cl, dest.top, dest.right - cr, dest.top + ct},
                RECT{source.left + sl, source.top, source.right - sr, source.top + st});
        }
        if (sr > 0 && st > 0) {
            copy(RECT{dest.right - cr, dest.top, dest.right, dest.top + ct},
                RECT{source.right - sr, source.top, source.right, source.top + st});
        }
        if (sl > 0) {
            copy(RECT{dest.left, dest.top + ct, dest.left + cl, dest.bottom - cb},
                RECT{source.left, source.top + st, source.left + sl, source.bottom - sb});
        }
        if (sr > 0) {
            copy(RECT{dest.right - cr, dest.top + ct, dest.right, dest.bottom - cb},
                RECT{source.right - sr, source.top + st, source.right, source.bottom - sb});
        }
        if (sl > 0 && sb > 0) {
            copy(RECT{dest.left, dest.bottom - cb, dest.left + cl, dest.bottom},
                RECT{source.left, source.bottom - sb, source.left + sl, source.bottom});
        }
        if (sb > 0) {
            copy(RECT{dest.left + cl, dest.bottom - cb, dest.right - cr, dest.bottom},
                RECT{source.left + sl, source.bottom - sb, source.right - sr, source.bottom});
        }
        if (sr > 0 && sb > 0) {
            copy(RECT{dest.right - cr, dest.bottom - cb, dest.right, dest.bottom},
                RECT{source.right - sr, source.bottom - sb, source.right, source.bottom});
        }
    }

    SelectObject(mem, oldBitmap);
    DeleteDC(mem);
}

//--- own blend -------------------------------------------------------------------------------

bool CRenderKit::SoftAlphaBlend(
    HDC hDC, int x, int y, int cx, int cy, HDC hSrcDC, int xs, int ys, int cxs, int cys, BYTE alpha)
{
    HDC mem = CreateCompatibleDC(hDC);
    if (mem == nullptr)
        return false;
    DWORD* srcBits = nullptr;
    DWORD* dstBits = nullptr;
    HBITMAP srcDib = render_detail::CreateDib32(cx, cy, &srcBits);
    HBITMAP dstDib = render_detail::CreateDib32(cx, cy, &dstBits);
    if (srcDib == nullptr || dstDib == nullptr) {
        if (srcDib != nullptr)
            DeleteObject(srcDib);
        if (dstDib != nullptr)
            DeleteObject(dstDib);
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
        if (a < 0.0f)
            a = 0.0f;
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
