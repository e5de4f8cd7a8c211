// The software picture of the shadow: outline scan, erosion, blurred dilation, hole.
#include "shadow/WndShadow.h"

#include <algorithm>
#include <cmath>

namespace SkinUI {

namespace {

// Columns start..end-1 of one row; start >= end is empty.
struct TSpan {
    int start;
    int end;
};

// Writes `value` into columns [from, to) of one row, clipped to the row.
void FillRow(DWORD* row, int width, int from, int to, DWORD value)
{
    from = std::max(from, 0);
    to = std::min(to, width);
    for (int j = from; j < to; ++j)
        row[j] = value;
}

}  // namespace

DWORD CWndShadow::ScaleColorByAlpha(COLORREF color, BYTE alpha)
{
    const DWORD red = GetRValue(color) * alpha / 255;
    const DWORD green = GetGValue(color) * alpha / 255;
    const DWORD blue = GetBValue(color) * alpha / 255;
    return red << 16 | green << 8 | blue;
}

std::vector<DWORD> CWndShadow::BuildKernel(const TShadowLook& look)
{
    const int sharpness = look.sharpness;
    const int radius = std::max<int>(look.spread, sharpness);
    // Inside this distance the kernel is solid; the blur runs over the `sharpness` pixels beyond.
    const int solid = look.spread > sharpness ? look.spread - sharpness : 0;
    const int side = 2 * radius + 1;
    std::vector<DWORD> kernel(static_cast<size_t>(side) * side, 0);
    for (int a = 0; a < side; ++a) {
        for (int b = 0; b < side; ++b) {
            const double d = std::sqrt(static_cast<double>((a - radius) * (a - radius) + (b - radius) * (b - radius)));
            DWORD value = 0;
            if (d < solid) {
                value = static_cast<DWORD>(look.darkness) << 24 | ScaleColorByAlpha(look.color, look.darkness);
            } else if (d <= radius) {
                const BYTE f = static_cast<BYTE>((1.0 - (d - solid) / (sharpness + 1)) * look.darkness);
                value = static_cast<DWORD>(f) << 24 | ScaleColorByAlpha(look.color, f);
            }
            kernel[static_cast<size_t>(a) * side + b] = value;
        }
    }
    return kernel;
}

bool CWndShadow::RenderShadow(DWORD* pixels, int parentWidth, int parentHeight, HRGN outline, const TShadowLook& look)
{
    const int pw = parentWidth;
    const int ph = parentHeight;
    const int s = look.spread;
    const int sw = pw + 2 * s;
    const int sh = ph + 2 * s;
    if (pixels == nullptr || pw < 0 || ph < 0 || sw <= 0 || sh <= 0)
        return false;
    const int sharpness = look.sharpness;
    const int dx = look.offsetX;
    const int dy = look.offsetY;
    const TSpan kEmpty = {pw, 0};

    // Row spans of the outline. `rows` has a guard entry above and below; for a positive spread the
    // spread rows at both ends stay empty and the parent's rows are shifted down and right by s.
    const int n = std::max(ph, sh);
    std::vector<TSpan> rows(static_cast<size_t>(n) + 2, kEmpty);
    std::vector<TSpan> parentRows(static_cast<size_t>(ph), kEmpty);
    const int shift = s > 0 ? s : 0;
    for (int y = 0; y < ph; ++y) {
        int x = 0;
        while (x < pw && outline != nullptr && !PtInRegion(outline, x, y))
            ++x;
        if (x == pw)
            continue;
        int last = pw - 1;
        while (last > x && outline != nullptr && !PtInRegion(outline, last, y))
            --last;
        rows[static_cast<size_t>(shift + y + 1)] = {x + s, last + 1 + s};
        parentRows[static_cast<size_t>(y)] = {x, last + 1};
    }

    // Erosion: each pass pulls every span in by one pixel and intersects it with its neighbours,
    // so the blur added back below ends where the spread ends.
    std::vector<TSpan> scratch(rows.size(), kEmpty);
    for (int pass = sharpness - s; pass > 0; --pass) {
        for (int k = 1; k <= n; ++k) {
            scratch[k].start = std::max({rows[k - 1].start, rows[k].start, rows[k + 1].start}) + 1;
            scratch[k].end = std::min({rows[k - 1].end, rows[k].end, rows[k + 1].end}) - 1;
        }
        rows.swap(scratch);
    }
    // Span of shadow row i (from the top), in shadow columns.
    const int first = 1 + (s < 0 ? -s : 0);
    auto span = [&](int i) -> const TSpan& { return rows[static_cast<size_t>(i + first)]; };
    // Shadow row i from the top is memory row sh - 1 - i of the bottom-up bitmap.
    auto row = [&](int i) { return pixels + static_cast<size_t>(sh - 1 - i) * sw; };

    // Blurred border: stamp the kernel along the left and right edges of every span.
    const int radius = std::max(s, sharpness);
    const int side = 2 * radius + 1;
    const std::vector<DWORD> kernel = BuildKernel(look);
    auto stamp = [&](int i, int j) {
        for (int k = 0; k < side; ++k) {
            const int r = i - radius + k;
            if (r < 0 || r >= sh)
                continue;
            DWORD* line = row(r);
            const DWORD* source = &kernel[static_cast<size_t>(k) * side];
            const int from = std::max(0, radius - j);
            const int to = std::min(side, sw - j + radius);
            for (int l = from; l < to; ++l) {
                DWORD& pixel = line[j - radius + l];
                if (source[l] > pixel)
                    pixel = source[l];
            }
        }
    };
    for (int i = radius; i < sh - radius; ++i) {
        const TSpan& cur = span(i);
        if (cur.start >= cur.end)
            continue;
        const TSpan& above = span(i - 1);
        const TSpan& below = span(i + 1);
        int j = cur.start;
        for (const int stop = std::min(std::max(above.start, below.start) + 1, cur.end); j < stop; ++j)
            stamp(i, j);
        for (j = std::max(j, std::min(above.end, below.end) - 1); j < cur.end; ++j)
            stamp(i, j);
    }

    // Solid inside, and a fully transparent hole exactly where the parent covers the shadow.
    const DWORD centre = static_cast<DWORD>(look.darkness) << 24 | ScaleColorByAlpha(look.color, look.darkness);
    const int q = s - dx;
    const int endRow = std::max(sh - radius, std::min(ph + s - dy, ph + 2 * s));
    for (int i = std::min(radius, std::max(s - dy, 0)); i < endRow; ++i) {
        const TSpan& cur = span(i);
        DWORD* line = row(i);
        const int p = i - s + dy;
        if (p < 0 || p >= ph) {
            FillRow(line, sw, cur.start, cur.end, centre);
            continue;
        }
        const TSpan& parent = parentRows[static_cast<size_t>(p)];
        FillRow(line, sw, cur.start, std::min(parent.start + q, cur.end), centre);
        FillRow(line, sw, parent.start + q, parent.end + q, 0);
        FillRow(line, sw, std::max(parent.end + q, cur.start), cur.end, centre);
    }
    return true;
}

}  // namespace SkinUI
