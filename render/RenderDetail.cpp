#include "render/RenderDetail.h"

#include <atomic>

#include "render/RenderKit.h"

namespace SkinUI {
namespace render_detail {

namespace {

typedef BOOL(WINAPI* AlphaBlendFn)(HDC, int, int, int, int, HDC, int, int, int, int, BLENDFUNCTION);

struct TEntryPoints {
    AlphaBlendFn alphaBlend = nullptr;
    GradientFillFn gradientFill = nullptr;
};

// Resolved once (a function-local static is initialised thread-safely). Only a msimg32 the
// process has already loaded is used: the kit never loads a library itself, so a process without
// it draws through the own blend and the banded gradient for the whole run.
const TEntryPoints& EntryPoints()
{
    static const TEntryPoints points = [] {
        TEntryPoints p;
        HMODULE lib = GetModuleHandleA("msimg32.dll");
        if (lib != nullptr) {
            p.alphaBlend = reinterpret_cast<AlphaBlendFn>(GetProcAddress(lib, "AlphaBlend"));
            p.gradientFill = reinterpret_cast<GradientFillFn>(GetProcAddress(lib, "GradientFill"));
        }
        return p;
    }();
    return points;
}

std::atomic<bool> g_ownBlending(false);

}  // namespace

bool Blend(HDC hDC, int x, int y, int cx, int cy, HDC hSrcDC, int xs, int ys, int cxs, int cys, BYTE alpha)
{
    AlphaBlendFn alphaBlend = g_ownBlending ? nullptr : EntryPoints().alphaBlend;
    if (alphaBlend == nullptr)
        return CRenderKit::SoftAlphaBlend(hDC, x, y, cx, cy, hSrcDC, xs, ys, cxs, cys, alpha);
    BLENDFUNCTION bf = {AC_SRC_OVER, 0, alpha, AC_SRC_ALPHA};
    return alphaBlend(hDC, x, y, cx, cy, hSrcDC, xs, ys, cxs, cys, bf) != FALSE;
}

GradientFillFn GradientFillEntry() { return g_ownBlending ? nullptr : EntryPoints().gradientFill; }

HBITMAP CreateDib32(int width, int height, DWORD** bits)
{
    *bits = nullptr;
    if (width <= 0 || height <= 0)
        return nullptr;
    const size_t bytes = static_cast<size_t>(width) * static_cast<size_t>(height) * 4u;
    if (bytes / 4u / static_cast<size_t>(width) != static_cast<size_t>(height) || bytes > 0x7FFFFFFFu) {
        return nullptr;
    }
    BITMAPINFO bmi = {};
    bmi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    bmi.bmiHeader.biWidth = width;
    bmi.bmiHeader.biHeight = -height;
    bmi.bmiHeader.biPlanes = 1;
    bmi.bmiHeader.biBitCount = 32;
    bmi.bmiHeader.biCompression = BI_RGB;
    bmi.bmiHeader.biSizeImage = static_cast<DWORD>(bytes);
    void* pixels = nullptr;
    HBITMAP bitmap = CreateDIBSection(nullptr, &bmi, DIB_RGB_COLORS, &pixels, nullptr, 0);
    if (bitmap != nullptr && pixels == nullptr) {
        DeleteObject(bitmap);
        return nullptr;
    }
    *bits = static_cast<DWORD*>(pixels);
    return bitmap;
}

}  // namespace render_detail

void CRenderKit::UseOwnBlending(bool own) { render_detail::g_ownBlending = own; }

}  // namespace SkinUI
