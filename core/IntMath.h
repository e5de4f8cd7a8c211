// Integer helpers for arithmetic that works in 64 bits and stores into int (scroll and slider
// values times pixel lengths overflow 32 bits once ranges reach a few million).
#pragma once

#include <climits>
#include <cstdint>

namespace SkinUI {

inline int ClampToInt(int64_t v) { return v > INT_MAX ? INT_MAX : (v < INT_MIN ? INT_MIN : static_cast<int>(v)); }

// v * num / den rounded half away from zero, as MulDiv rounds, but held within int where MulDiv
// answers -1 (skin numbers reach INT_MAX). den must be positive.
inline int MulDivSaturated(int v, int num, int den)
{
    const int64_t product = static_cast<int64_t>(v) * num;
    const int64_t half = product < 0 ? -(den / 2) : den / 2;
    return ClampToInt((product + half) / den);
}

}  // namespace SkinUI
