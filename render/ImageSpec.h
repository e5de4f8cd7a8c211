// Image attribute strings: "file='btn.png' source='0,0,20,20' corner='4,4,4,4'" or a bare file
// name. The reader turns the strings into one TImageParams per image they name and leaves the
// drawing to the caller, so the strings (skin text, hence untrusted) can be read without a DC.
//
// Pairs are key='value' separated by exactly one space; the first malformed pair ends a string and
// what came before it stands. A second "file" or "restype" in one string first hands over the image
// named so far; the last image is handed over when both strings are read.
#pragma once
#include <windows.h>

#include <functional>

#include "core/AttributeTable.h"
#include "core/UIString.h"

namespace SkinUI {

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

// Reads `image` and then `modify` (either may be null); `dest` offsets are 96-DPI units relative to
// rcItem (device pixels), scaled to `dpi` and clipped to its right and bottom edges. `source` and
// `corner` stay as written: 96-DPI units of the 1x picture. `draw` is called once per image named,
// at least once.
void ReadImageSpec(const RECT& rcItem, const char* image, const char* modify,
    const std::function<void(const TImageParams&)>& draw, int dpi = 96);
// Drawn without corners, tiling, hole or fade: a stretch of the source, nothing more.
bool IsPlainStretch(const TImageParams& image);
// The size a plain stretch draws the whole image at, which is as much of it as a decoder need
// produce; 0 x 0 (unknown) when the image is drawn otherwise or only a part of it is.
SIZE WholeImageDrawnSize(const TImageParams& image);
// The keys ReadImageSpec acts on ("file", "dest", ...); other keys are ignored.
void AppendImageKeyNames(TAttributeNames& names);

}  // namespace SkinUI
