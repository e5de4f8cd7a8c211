// Integer helpers for arithmetic that works in 64 bits and stores into int (scroll and slider
// values times pixel lengths overflow 32 bits once ranges reach a few million).
#pragma once

#include <climits>
#include <cstdint>

namespace SkinUI {

inline int ClampToInt(int64_t v) { return v > INT_MAX ? INT_MAX : (v < INT_MIN ? INT_MIN : static_cast<int>(v)); }

}  // namespace SkinUI
