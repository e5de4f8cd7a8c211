// The render kit: every drawing operation a control needs, as static functions without state of
// their own (the only process-wide state is the one-time look-up of AlphaBlend and GradientFill in
// a msimg32 the process has already loaded, and the own-blending switch). Coordinates are the
// DC's logical coordinates; rectangles are exclusive of their right and bottom edges. Colours are
// 0xAARRGGBB. Every function leaves the DC's selected objects and clip as it found them; text
// and fills do change its text colour, background colour, background mode and stretch mode.
//
// Images are named by image attribute strings ("file='btn.png' source='0,0,20,20' corner='4,4,4,4'"
// or just "bk.jpg") and are looked up in, or loaded into, the image table of the host given
// (CHostResources; callers pass their CWindowHostUI). Text comes in two kinds: plain text through
// DrawTextA, and the framework's own markup (<b>, <c #AARRGGBB>, <a link>, <i image>, <n> ...).
//
// Index:  images  - LoadSkinImage, ReleaseSkinImage, PaintImageSpec, PaintImageEntry, BlitImage
//         text    - PaintPlainText, PaintMarkupText
//         colours - FillColor, FillGradient, StrokeLine, StrokeRect, StrokeRoundRect, ShiftColorHsl
//
// Implemented in RenderKitImage.cpp, RenderKitImageLoad.cpp, RenderKitText.cpp (markup through
// MarkupLayout.cpp), RenderKitFill.cpp and RenderDetail.cpp (helpers shared by those files).
#pragma once
#include "core/AttributeTable.h"
#include "core/UIString.h"
#include "render/ImageEntry.h"
#include <windows.h>

namespace SkinUI {

struct TImageParams;

class CHostResources;
struct TSkinFileBytes;

class CRenderKit {
public:
    //--- images ---------------------------------------------------------------------------------
    // Finds the bytes (resource of `resType`; else the skin archive; else the skin folder; else the
    // name as a plain path), decodes them and returns a new entry, or null. `name` may be a numeric
    // resource id (MAKEINTRESOURCE) when `resType` is given. Pixels whose premultiplied value equals
    // `mask` (0 = none) become fully transparent.
    // A JPEG drawn whole at `drawn` (0 x 0: unknown) by a plain stretch may be decoded reduced, no
    // smaller than that (TImageEntry::reduction). Above 96 `dpi` a skin file's nearest variant at or
    // above the scale is taken when one is there and decodes (TImageEntry::scale), else the 1x file.
    static TImageEntry* LoadSkinImage(LPCSTR name, LPCSTR resType, DWORD mask, SIZE drawn = SIZE(), int dpi = 96);
    // The decoding half of LoadSkinImage, on bytes already read; frees them as soon as they are
    // decoded. Touches no state but its arguments (the decoders and a DIB section), so a worker
    // thread may run it. With Pixels the entry holds pixels and no bitmap: the decoder's own buffer,
    // converted in place, so no second full-size copy exists at any moment. A reduced decode always
    // comes as Pixels.
    enum class DecodedForm { Bitmap, Pixels };
    static TImageEntry* DecodeSkinImage(
        TSkinFileBytes& bytes, DWORD mask, DecodedForm form = DecodedForm::Bitmap, SIZE drawn = SIZE());
    // Makes the bitmap of the pixels and frees them; false when there are none, they are reduced (they are
    // freed then: the whole image must be decoded again) or no bitmap can be made.
    static bool MakeFullBitmap(TImageEntry& entry);
    // Makes the scaled copy PaintImageEntry keeps for the whole image drawn opaque by a plain stretch
    // at `drawn`, made as that paint would make it, so that paint only copies it, and frees
    // a large full image it shrinks, as that paint would (a paint at another size decodes it again).
    // False when paint would keep none (alpha, no size change, too large) or it cannot be made.
    // Touches nothing but the entry, so a worker may run it on an entry it alone holds.
    static bool MakeWholeScaledCopy(TImageEntry& entry, SIZE drawn);
    // Frees the full-size bitmap or pixels, keeping the size and the scaled copies.
    static void DropFullImage(TImageEntry& entry);
    // Frees every scaled copy, keeping the full image.
    static void DropScaledCopies(TImageEntry& entry);
    static void ReleaseSkinImage(TImageEntry* entry);

    // Parses the image attribute string, then the modifier string (null allowed) and draws each image
    // it names, at the host's DPI. False only when hdc or host is null; a missing image is no failure here.
    static bool PaintImageSpec(HDC hDC, CHostResources* host, const RECT& rcItem, const RECT& rcPaint,
        const char* image, const char* modify = nullptr);
    // Draws one image of the host's table (loaded on first use) as `image` describes it: its `dest`
    // is in DC coordinates already; a source of all zeros means the whole image. Source and corners
    // are 96-DPI units of the 1x picture: the source is multiplied by the loaded file's factor
    // (TImageEntry::scale), the corners by it in the picture and by the host's DPI on the screen.
    // False when the name is empty or the image missing.
    static bool PaintImageEntry(
        HDC hDC, CHostResources* host, const RECT& rcItem, const RECT& rcPaint, const TImageParams& image);
    // Nine-grid copy of `source` of a premultiplied 32 bpp bitmap into `dest`. `corner` holds the
    // left, top, right and bottom border widths (in the bitmap) that keep their size. A picture drawn
    // at another scale than its pixels gives the scale as screenScale / pictureScale: its borders and
    // tiles are then that much larger on the screen. Only pieces touching rcPaint are drawn; the DC's
    // clip region does the fine clipping.
    static void BlitImage(HDC hDC, HBITMAP hBitmap, const RECT& dest, const RECT& rcPaint, const RECT& source,
        const RECT& corner, bool alpha, BYTE fade = 255, bool hole = false, bool xTiled = false, bool yTiled = false,
        int screenScale = 1, int pictureScale = 1);
    // The blend used when msimg32 has no AlphaBlend: per-pixel source-over with the constant alpha,
    // reading the source colour as stored (premultiplied), so partly transparent pixels come out
    // darker than AlphaBlend's. False (nothing drawn) when its scratch DIBs cannot be made.
    static bool SoftAlphaBlend(
        HDC hDC, int x, int y, int cx, int cy, HDC hSrcDC, int xs, int ys, int cxs, int cys, BYTE alpha);
    // Makes every blend and gradient use the framework's own code (SoftAlphaBlend, banded gradient)
    // even where msimg32 offers AlphaBlend and GradientFill; lets both paths be checked on one system.
    static void UseOwnBlending(bool own);

    //--- text -----------------------------------------------------------------------------------
    // DrawTextA of `text` with the host's font `font` (out-of-range: the default font) and the colour;
    // DT_NOPREFIX is always added. With DT_CALCRECT the rectangle receives the extent.
    static void PaintPlainText(
        HDC hDC, CHostResources* host, RECT& rc, const char* text, DWORD color, int font, UINT style);
    // Lays out and draws markup text. `rc` may be changed (alignment, DT_CALCRECT extent). The link
    // arrays (may be null) hold `linkCount` entries on entry (capacity; the previous layout's
    // rectangles decide which link is hovered) and receive the links laid out now; on return
    // `linkCount` is the number of links laid out, at most the capacity.
    static void PaintMarkupText(HDC hDC, CHostResources* host, RECT& rc, const char* text, DWORD color, RECT* linkRects,
        CUIString* linkTexts, int& linkCount, UINT style);
    // The tag names PaintMarkupText acts on ("b" for <b> and </b>, ...); a name may appear twice.
    static void AppendMarkupTagNames(TAttributeNames& names);

    //--- colours, fills, outlines -----------------------------------------------------------------
    // Alpha 0: nothing. Alpha 255: opaque fill (leaves the DC's background colour changed).
    // Otherwise a blend of the colour as given, not premultiplied (brighter than a true blend).
    static void FillColor(HDC hDC, const RECT& rc, DWORD color);
    // Vertical gradient, colour1 at the top, colour2 at the bottom, at the mean of the two alphas.
    // `steps` only picks 8 or 16 bands when GradientFill is unavailable.
    static void FillGradient(HDC hDC, const RECT& rc, DWORD color1, DWORD color2, int steps);
    // Line from (left, top) to (right, bottom). Pen colours ignore alpha.
    static void StrokeLine(HDC hDC, const RECT& rc, int size, DWORD color, int style = PS_SOLID);
    static void StrokeRect(HDC hDC, const RECT& rc, int size, DWORD color);
    static void StrokeRoundRect(HDC hDC, const RECT& rc, int size, int width, int height, DWORD color);
    // Shifts hue by H-180 degrees and scales saturation and lightness by S% and L%; (180,100,100)
    // returns the colour unchanged. Alpha is kept.
    static DWORD ShiftColorHsl(DWORD color, short H, short S, short L);
};

}  // namespace SkinUI
