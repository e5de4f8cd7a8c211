// Pictures drawn for higher display scales. Beside "name.png" a skin may carry "name@1.5x.png",
// "name@2x.png" and so on (any image type); an image string names the 1x file, and a window whose
// scale (DPI / 96) is above 1 gets the nearest variant at or above its scale, or else the 1x file,
// which the drawing then scales. A variant holds the 1x picture's pixels times its factor, so a
// `source` rectangle (96-DPI units of the 1x picture) is multiplied by the factor to address it.
//
// Image names come from skin text, hence untrusted: a variant is only ever looked for inside the
// skin (its archive or folder, never as a plain path), only for names that stay inside it, and the
// look-up tries at most the few factors listed here.
#pragma once

#include "core/UIString.h"

namespace SkinUI {

struct TSkinFileBytes;

// The factors a variant may carry, in percent, ascending: "@1.25x" is 125.
constexpr int kImageVariantPercents[] = {125, 150, 175, 200, 250, 300, 400};

// "dir/name@1.5x.png" for "dir/name.png" and 150 (a name without extension gets the suffix at its
// end). False, with `out` empty, when the name gets no variant: empty, longer than MAX_PATH, rooted
// or carrying a drive or stream colon, climbing out with a ".." part, or ending in a separator.
bool ImageVariantName(const char* name, int percent, CUIString& out);

// Reads the nearest variant at or above the scale of `dpi`, trying larger factors in turn while a
// file is missing. True with the bytes and the factor's percent when one was read; false (nothing
// read) at 96 DPI or below, for a name that gets no variant, or when none is there or the nearest
// present one cannot be read (too large, damaged).
bool ReadImageVariant(const char* name, int dpi, TSkinFileBytes& out, int& percent);

}  // namespace SkinUI
