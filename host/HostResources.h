// What the skin shares among the controls of one window: the default font and the added fonts,
// the image table, the default attribute list of each control element, the window settings of the
// skin's Window element, the default text colours and the window's transparency. This is the base
// class of CWindowHostUI; the host fills the protected window, paint DC and mouse fields.
//
// A host may name another host as its resource parent (a drop-down names the window that opened
// it). Fonts and default attribute lists are then found along that chain (a host without fonts of
// its own reads font indices in the nearest parent that has some); default colours, the default
// font and out-of-range font indices come from the chain's root. Images are never shared.
//
// Display scale: the host keeps one DPI, its window's (read when the window is bound, changed by
// WM_DPICHANGED). Everything stored here stays in 96-DPI units as the skin gives it: the window
// settings' getters answer those units, the Scaled helpers give device pixels of this window, and
// TFontEntry::size is in 96-DPI units while its font is made for this window's DPI.
//
// Ownership: every font handle, font entry, image entry and attribute list here belongs to this
// object and is freed by FreeResources (at the latest by the destructor). The resource parent is
// not owned; it must outlive this host.
//
// Implemented in HostResources.cpp and HostResourcesPrefetch.cpp (the background picture decoded
// on a worker while the window is created).
#pragma once
#include <windows.h>
#include "core/Geometry.h"
#include "core/NameMap.h"
#include "core/PtrVector.h"
#include "core/UIString.h"
#include "render/ImageEntry.h"

namespace SkinUI {

struct TFontEntry {
    HFONT font = nullptr;  // owned by the host whose table holds the entry
    CUIString face;  // face as given (may be longer than a LOGFONT holds)
    int size = 0;  // 96-DPI pixels; the font is made with height -MulDiv(size, dpi, 96)
    bool bold = false;
    bool underline = false;
    bool italic = false;
    TEXTMETRICA metrics = {};  // all zero until first needed (see GetFontEntry)
};

class CHostResources {
public:
    CHostResources();
    virtual ~CHostResources();
    CHostResources(const CHostResources&) = delete;
    CHostResources& operator=(const CHostResources&) = delete;

    //--- window settings (values of the skin's Window element, in 96-DPI units) ---------------
    const CSizeUI& GetInitialSize() const { return m_initialSize; }
    // Also resizes the bound window while no root control is attached yet.
    void SetInitialSize(int cx, int cy);
    const CRectUI& GetSizeBox() const { return m_sizeBox; }
    void SetSizeBox(const RECT& rcSizeBox);
    const CRectUI& GetCaptionRect() const { return m_caption; }
    void SetCaptionRect(const RECT& rcCaption);
    const CSizeUI& GetRoundCorner() const { return m_roundCorner; }
    void SetRoundCorner(int cx, int cy);
    const CSizeUI& GetMinInfo() const { return m_minSize; }
    void SetMinInfo(int cx, int cy);
    const CSizeUI& GetMaxInfo() const { return m_maxSize; }
    void SetMaxInfo(int cx, int cy);
    int GetTransparency() const { return m_opacity; }
    // Stores alpha clamped to 0..255; on a bound window makes it layered with that alpha (an alpha
    // above 255 removes the layered style but still passes its low byte on).
    void SetTransparency(int alpha);

    //--- display scale ---------------------------------------------------------------------------
    int GetDpi() const { return m_dpi; }
    // Makes every font of this host again for the new DPI (font handles change; the entries stay)
    // and has every image chosen again on its next use (ReloadImagesForDpi). A DPI outside
    // 24..1536 is refused (false), as is the current one.
    bool SetDpi(int dpi);
    // The window's DPI: GetDpiForWindow where the system has it, else the screen's LOGPIXELSX.
    static int ReadWindowDpi(HWND hwnd);
    // 96-DPI units to this window's device pixels.
    int Scaled(int value) const;
    CSizeUI Scaled(const SIZE& size) const;
    CRectUI Scaled(const RECT& rect) const;

    // Client coordinates of the last mouse message the host saw; (-1, -1) before the first.
    POINT GetMousePos() const { return m_ptLastMousePos; }

    //--- resource parent -----------------------------------------------------------------------
    // Null clears the parent; this host itself or a host whose chain already leads back here is
    // refused silently (no cycles).
    void SetResourceParent(CHostResources* parent);
    CHostResources* GetResourceParent() const { return m_resourceParent; }

    //--- default colours (0xAARRGGBB); the getters answer the chain root's values --------------
    DWORD GetDefaultDisabledColor() const;
    void SetDefaultDisabledColor(DWORD color) { m_defaultDisabledColor = color; }
    DWORD GetDefaultFontColor() const;
    void SetDefaultFontColor(DWORD color) { m_defaultFontColor = color; }
    DWORD GetDefaultLinkColor() const;
    void SetDefaultLinkColor(DWORD color) { m_defaultLinkColor = color; }
    DWORD GetDefaultLinkHoverColor() const;
    void SetDefaultLinkHoverColor(DWORD color) { m_defaultLinkHoverColor = color; }
    DWORD GetDefaultSelectedColor() const;
    void SetDefaultSelectedColor(DWORD color) { m_defaultSelectedColor = color; }

    //--- fonts ---------------------------------------------------------------------------------
    // Both start from the stock GUI font; bold adds FW_BOLD to its weight. A failure leaves the
    // default font as it was / returns null.
    void ReplaceDefaultFont(const char* face, int size, bool bold, bool underline, bool italic);
    HFONT AppendFont(const char* face, int size, bool bold, bool underline, bool italic);
    int GetFontCount() const { return m_customFonts.GetSize(); }
    // Added font at index; out of range: the chain root's default font.
    HFONT FontHandleAt(int index) const;
    // First font of this host, then of each resource parent, with exactly this face, size and flags.
    HFONT FindFont(const char* face, int size, bool bold, bool underline, bool italic) const;
    // Entries with their text metrics filled on first request (never null).
    TFontEntry* GetFontEntry(int index);
    TFontEntry* GetFontEntryOf(HFONT hFont);
    TFontEntry* GetDefaultFontEntry();
    // Grows whenever a font is replaced or added here or on a resource parent: a size measured
    // with the fonts of an earlier count may be out of date.
    unsigned FontChanges() const;

    //--- images (this host only; never removed before FreeResources) ---------------------------
    // An entry whose image is only ever drawn shrunk keeps just its scaled copies (the render kit
    // drops the full-size bitmap); the full bitmap is decoded again from the skin file when a
    // caller needs it, and then kept (TImageEntry::keepFull).
    enum class ImageUse { FullBitmap, ScaledCopiesSuffice };

    // With a resource type the name must be a decimal resource id. Null when the image cannot be
    // loaded or the name is taken (the image already there stays). `drawn` as for
    // CRenderKit::LoadSkinImage: the size a plain stretch draws the whole image at, 0 x 0 unknown.
    TImageEntry* AddImageEntry(const char* name, const char* resType, DWORD mask, SIZE drawn = SIZE());
    // The entry under name, loaded and added when absent (from a prefetch when one was started).
    // The first type and mask used for a name stay in force for it. With FullBitmap the entry's
    // bitmap is there (made of its pixels, or decoded again if it was dropped; null when that
    // fails); with ScaledCopiesSuffice it may be null, and an entry loaded now for `drawn` may hold
    // only reduced pixels (TImageEntry::reduction).
    TImageEntry* FindOrLoadImage(
        const char* name, const char* resType, DWORD mask, ImageUse use = ImageUse::FullBitmap, SIZE drawn = SIZE());
    // Starts decoding a skin file image (no resource type) on a worker thread, so it is ready by
    // the first paint; the bytes are read here, on the calling (UI) thread. Does nothing when the
    // name is already loaded or prefetched, or cannot be read; when no thread can be started the
    // image simply loads on first use. `drawn` as for AddImageEntry.
    void PrefetchImage(const char* name, DWORD mask, SIZE drawn = SIZE());
    // The window has settled (it is shown): the image prefetched under `name`, if any, is drawn at
    // `drawn`, and its worker makes the shrunk copy for that size once decoded. Until then, or until
    // the image is taken, the worker waits after decoding. The decode itself stays sized as started.
    void SettlePrefetch(const char* name, SIZE drawn);
    bool HasPrefetches() const { return !m_prefetches.IsEmpty(); }
    // After a DPI change: every entry is chosen and decoded again for the window's DPI on its next
    // use (another variant, or the 1x file, may fit now), keeping its name, type and mask; entries
    // stay where they are, so pointers to them remain valid. Prefetches made for the old DPI are
    // dropped. An entry that cannot be loaded again keeps its old pixels.
    void ReloadImagesForDpi();

    //--- default attribute lists per control element name --------------------------------------
    // The first list stored for a name wins.
    void StoreClassDefaults(const char* elementName, const char* attributes);
    // This host's list, else the nearest resource parent's; null when none has one.
    const char* ClassDefaultsFor(const char* elementName) const;

protected:
    // Frees every font (the default font too), image and attribute list. Meant for destruction: the
    // host calls it at its place in the destruction order; the destructor calls it again.
    void FreeResources();
    // Whether the host has a root control attached (SetInitialSize resizes only before that).
    virtual bool HasRootControl() const { return false; }

    HWND m_hWndPaint = nullptr;  // the bound window; not owned
    HDC m_hDcPaint = nullptr;  // the window's DC; owned by the host (released there)
    POINT m_ptLastMousePos = {-1, -1};  // client coordinates; kept by the host

private:
    const CHostResources* Root() const;
    // The host whose font table font indices address: this one, or, when it has no fonts of its
    // own, the nearest resource parent that has (else the chain's root).
    const CHostResources* FontTableOwner() const;
    CHostResources* Root();
    // Fills entry->metrics once, with hDC or a temporary screen-compatible DC when hDC is null.
    static void FillMetrics(TFontEntry* entry, HDC hDC);
    HFONT MakeFont(const char* face, int size, bool bold, bool underline, bool italic) const;
    // Replaces the entry's font by one made at the current DPI; false (entry unchanged) on failure.
    bool RemakeFont(TFontEntry* entry);
    // The decode of a prefetched image, when one was started for this name, type and mask; the
    // worker is waited for and forgotten. Null when there is none or it failed. A copy the worker
    // made for another size than a known `drawn` is freed: nothing would draw it.
    TImageEntry* TakePrefetched(const char* name, const char* resType, DWORD mask, SIZE drawn);
    // Waits for every worker and frees what they made.
    void DropPrefetches();
    // LoadSkinImage at this window's DPI, with the name read as a resource id when a type is given.
    TImageEntry* LoadImageEntry(const char* name, const char* resType, DWORD mask, SIZE drawn) const;
    // Loads an entry chosen for another DPI again, in place; keeps it as it is on failure.
    void ReloadForDpi(const char* name, TImageEntry& entry, SIZE drawn);

    int m_dpi = 96;
    int m_opacity = 255;
    CSizeUI m_minSize;
    CSizeUI m_maxSize;
    CSizeUI m_initialSize;
    CRectUI m_sizeBox;
    CSizeUI m_roundCorner;
    CRectUI m_caption;
    CHostResources* m_resourceParent = nullptr;  // not owned
    DWORD m_defaultDisabledColor = 0xFFA7A6AA;
    DWORD m_defaultFontColor = 0xFF000000;
    DWORD m_defaultLinkColor = 0xFF0000FF;
    DWORD m_defaultLinkHoverColor = 0xFFD3215F;
    DWORD m_defaultSelectedColor = 0xFFBAE4FF;
    TFontEntry m_defaultFont;  // its font is owned here
    CPtrVectorUI m_customFonts;  // TFontEntry*, owned
    unsigned m_fontChanges = 0;  // fonts replaced or added here
    CNameMapUI m_images;  // TImageEntry*, owned
    CPtrVectorUI m_prefetches;  // TImagePrefetch* (HostResourcesPrefetch.cpp), owned
    CNameMapUI m_defaultAttributes;  // CUIString*, owned
};

}  // namespace SkinUI
