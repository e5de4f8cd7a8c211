// One decoded skin image, ready to blit. The bitmap is a 32 bpp top-down DIB section whose words,
// read as little-endian uint32, are 0xAARRGGBB with the colour bytes premultiplied by alpha (opaque
// pixels are stored as decoded), which is the form AlphaBlend expects. Entries are made by
// CRenderKit::LoadSkinImage and owned by one host's image table (CHostResources), which frees them
// with CRenderKit::ReleaseSkinImage when it goes away; nobody else deletes them.
#pragma once
#include <windows.h>
#include "core/UIString.h"

namespace SkinUI {

struct TImageEntry {
    HBITMAP hBitmap = nullptr;  // owned; released with the entry
    int nWidth = 0;             // pixels
    int nHeight = 0;            // pixels
    bool bAlpha = false;        // some pixel is not opaque, or the mask colour removed one
    CUIString sResType;         // resource type the image was loaded with; empty for files
    DWORD dwMask = 0;           // 0xAARRGGBB mask colour it was loaded with; 0 = none
};

}  // namespace SkinUI
