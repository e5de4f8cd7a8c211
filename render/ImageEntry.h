// One decoded skin image, ready to blit. The bitmap is a 32 bpp top-down DIB section whose words,
// read as little-endian uint32, are 0xAARRGGBB with the colour bytes premultiplied by alpha (opaque
// pixels are stored as decoded), which is the form AlphaBlend expects. Entries are made by
// CRenderKit::LoadSkinImage and owned by one host's image table (CHostResources), which frees them
// with CRenderKit::ReleaseSkinImage when it goes away; nobody else deletes them.
#pragma once
#include <windows.h>
#include "core/UIString.h"

namespace SkinUI {

// The image already scaled to a size it is drawn stretched at: an opaque image drawn without
// corners, tiling or hole at another size is rescaled once, not on every paint.
struct TScaledCopy {
    HBITMAP bitmap = nullptr;  // owned by the entry holding it; null = slot unused
    RECT source = {};  // the part of the image that was scaled
    int width = 0;  // destination size it was scaled to
    int height = 0;
    unsigned lastUse = 0;  // the entry's use counter when last drawn; the oldest slot is reused
};

struct TImageEntry {
    static constexpr int kScaledCopies = 3;  // a button's normal, hot and pushed pictures

    HBITMAP bitmap = nullptr;  // owned; released with the entry; null while only scaled copies are kept
    // The words bitmap would hold (width x height, top-down) while no bitmap was made of them
    // yet: a prefetched image starts so, since it is usually only ever drawn shrunk. Owned;
    // released with the entry or when the bitmap is made (CRenderKit::MakeFullBitmap). Allocated
    // with malloc by either decoder.
    DWORD* pixels = nullptr;
    // pixels hold the image reduced by this factor, (width / n) x (height / n) rounded up: a
    // JPEG decoded no larger than the size it is drawn shrunk at. Such pixels only ever feed
    // scaled copies no larger than themselves; a bitmap is never made of them.
    int reduction = 1;
    int width = 0;  // pixels of the whole image, whatever size pixels hold
    int height = 0;  // pixels
    bool hasAlpha = false;  // some pixel is not opaque, or the mask colour removed one
    // Pixels of the loaded file per 96-DPI unit of the 1x picture, in percent: 100 for the 1x file,
    // 200 for its "@2x" variant (render/ImageVariant.h). Source rectangles and corners of image
    // strings are multiplied by it.
    int scale = 100;
    // The window DPI the file was chosen for; the host loads the entry again when its DPI differs.
    int loadedDpi = 96;
    // The full image had to be decoded again after only copies were kept: it is drawn at changing
    // sizes (a window being resized), so it stays rather than being decoded for every new size.
    bool keepFull = false;
    CUIString resType;  // resource type the image was loaded with; empty for files
    DWORD mask = 0;  // 0xAARRGGBB mask colour it was loaded with; 0 = none
    TScaledCopy scaled[kScaledCopies];  // released with the entry
    unsigned useCounter = 0;
};

}  // namespace SkinUI
