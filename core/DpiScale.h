// Lengths from skins and from code are in 96-DPI units; a window lays out and draws in the device
// pixels of its own DPI. These two turn one into the other, rounding to the nearest pixel. Going up
// and back down again (dpi >= 96) gives the first value back exactly.
#pragma once

#include <cstdint>

#include "core/IntMath.h"

namespace SkinUI {

const int kBaseDpi = 96;

// value * to / from rounded half away from zero, as MulDiv does, but clamped to the int range
// instead of answering -1 (skins may give sizes up to the int limits). `from` is positive.
inline int MulDivClamped(int value, int to, int from)
{
    const int64_t product = static_cast<int64_t>(value) * to;
    const int64_t half = from / 2;
    return ClampToInt(product >= 0 ? (product + half) / from : -((-product + half) / from));
}

inline int ScaleToDpi(int value, int dpi) { return dpi == kBaseDpi ? value : MulDivClamped(value, dpi, kBaseDpi); }
inline int ScaleFromDpi(int pixels, int dpi) { return dpi == kBaseDpi ? pixels : MulDivClamped(pixels, kBaseDpi, dpi); }

}  // namespace SkinUI
