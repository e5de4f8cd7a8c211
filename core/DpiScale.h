// Lengths from skins and from code are in 96-DPI units; a window lays out and draws in the device
// pixels of its own DPI. These two turn one into the other, rounding to the nearest pixel. Going up
// and back down again (dpi >= 96) gives the first value back exactly.
#pragma once

#include "core/IntMath.h"

namespace SkinUI {

const int kBaseDpi = 96;

inline int ScaleToDpi(int value, int dpi) { return dpi == kBaseDpi ? value : MulDivSaturated(value, dpi, kBaseDpi); }
inline int ScaleFromDpi(int pixels, int dpi)
{
    return dpi == kBaseDpi ? pixels : MulDivSaturated(pixels, kBaseDpi, dpi);
}

}  // namespace SkinUI
