#include "host/HostResources.h"

#include <cstdlib>
#include <cstring>
#include <utility>

#include "core/DpiScale.h"
#include "core/SystemLibrary.h"
#include "render/RenderKit.h"

namespace SkinUI {

namespace {

// LOGFONT's face holds 31 bytes and its terminator. A longer face is cut at a character boundary
// of the ANSI code page so a double-byte character is never split.
void CopyFaceName(char (&out)[LF_FACESIZE], const char* face)
{
    const char* end = face;
    while (*end != '\0') {
        const char* next = CharNextA(end);
        if (next == end || next - face > LF_FACESIZE - 1)
            break;
        end = next;
    }
    const size_t n = static_cast<size_t>(end - face);
    std::memcpy(out, face, n);
    out[n] = '\0';
}

void DeleteFontEntry(TFontEntry* entry)
{
    if (entry->font != nullptr)
        DeleteObject(entry->font);
    delete entry;
}

}  // namespace

CHostResources::CHostResources()
{
    LOGFONTA lf = {};
    GetObjectA(GetStockObject(DEFAULT_GUI_FONT), sizeof(lf), &lf);
    lf.lfCharSet = DEFAULT_CHARSET;
    m_defaultFont.font = CreateFontIndirectA(&lf);
    m_defaultFont.face = lf.lfFaceName;
    // The stock font is sized for the screen's DPI; the entry keeps its 96-DPI size.
    HDC screen = ::GetDC(nullptr);
    const int screenDpi = screen != nullptr ? ::GetDeviceCaps(screen, LOGPIXELSY) : kBaseDpi;
    if (screen != nullptr)
        ::ReleaseDC(nullptr, screen);
    m_defaultFont.size = ScaleFromDpi(-lf.lfHeight, screenDpi > 0 ? screenDpi : kBaseDpi);
    m_defaultFont.bold = lf.lfWeight >= FW_BOLD;
    m_defaultFont.underline = lf.lfUnderline == 1;
    m_defaultFont.italic = lf.lfItalic == 1;
}

CHostResources::~CHostResources() { FreeResources(); }

void CHostResources::FreeResources()
{
    if (m_defaultFont.font != nullptr) {
        DeleteObject(m_defaultFont.font);
        m_defaultFont.font = nullptr;
    }
    for (int i = 0; i < m_customFonts.GetSize(); ++i) {
        DeleteFontEntry(static_cast<TFontEntry*>(m_customFonts.GetAt(i)));
    }
    m_customFonts.Clear();
    DropPrefetches();
    for (int i = 0; i < m_images.GetSize(); ++i) {
        CRenderKit::ReleaseSkinImage(static_cast<TImageEntry*>(m_images.GetAt(i)));
    }
    m_images.RemoveAll();
    for (int i = 0; i < m_defaultAttributes.GetSize(); ++i) {
        delete static_cast<CUIString*>(m_defaultAttributes.GetAt(i));
    }
    m_defaultAttributes.RemoveAll();
}

//--- window settings -------------------------------------------------------------------------

void CHostResources::SetInitialSize(int cx, int cy)
{
    m_initialSize = CSizeUI(cx, cy);
    if (m_hWndPaint != nullptr && !HasRootControl()) {
        SetWindowPos(m_hWndPaint, nullptr, 0, 0, Scaled(cx), Scaled(cy), SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

void CHostResources::SetSizeBox(const RECT& rcSizeBox) { m_sizeBox = rcSizeBox; }
void CHostResources::SetCaptionRect(const RECT& rcCaption) { m_caption = rcCaption; }
void CHostResources::SetRoundCorner(int cx, int cy) { m_roundCorner = CSizeUI(cx, cy); }
void CHostResources::SetMinInfo(int cx, int cy) { m_minSize = CSizeUI(cx, cy); }
void CHostResources::SetMaxInfo(int cx, int cy) { m_maxSize = CSizeUI(cx, cy); }

void CHostResources::SetTransparency(int alpha)
{
    m_opacity = alpha < 0 ? 0 : (alpha > 255 ? 255 : alpha);
    if (m_hWndPaint == nullptr)
        return;

    typedef BOOL(WINAPI * SetLayeredFn)(HWND, COLORREF, BYTE, DWORD);
    HMODULE user32 = GetModuleHandleA("User32.dll");
    if (user32 == nullptr)
        return;
    SetLayeredFn setLayered = reinterpret_cast<SetLayeredFn>(GetProcAddress(user32, "SetLayeredWindowAttributes"));
    if (setLayered == nullptr)
        return;

    // The stored value is clamped, but the style and the alpha byte follow the value as given:
    // an alpha beyond a byte un-layers the window yet still passes its low byte on.
    const LONG_PTR style = GetWindowLongPtrA(m_hWndPaint, GWL_EXSTYLE);
    LONG_PTR newStyle = static_cast<unsigned int>(alpha) <= 255 ? (style | WS_EX_LAYERED)
                                                                : (style & ~static_cast<LONG_PTR>(WS_EX_LAYERED));
    if (newStyle != style)
        SetWindowLongPtrA(m_hWndPaint, GWL_EXSTYLE, newStyle);
    setLayered(m_hWndPaint, 0, static_cast<BYTE>(alpha), LWA_ALPHA);
}

//--- display scale ---------------------------------------------------------------------------

int CHostResources::ReadWindowDpi(HWND hwnd)
{
    typedef UINT(WINAPI * GetDpiForWindowFn)(HWND);
    // user32 is loaded in every process with windows; the look-up never loads anything.
    GetDpiForWindowFn forWindow = LookUpProc<GetDpiForWindowFn>(::GetModuleHandleA("user32.dll"), "GetDpiForWindow");
    if (forWindow != nullptr && hwnd != nullptr) {
        const UINT dpi = forWindow(hwnd);
        if (dpi != 0)
            return static_cast<int>(dpi);
    }
    HDC screen = ::GetDC(nullptr);
    if (screen == nullptr)
        return kBaseDpi;
    const int dpi = ::GetDeviceCaps(screen, LOGPIXELSX);
    ::ReleaseDC(nullptr, screen);
    return dpi > 0 ? dpi : kBaseDpi;
}

bool CHostResources::SetDpi(int dpi)
{
    if (dpi < 24 || dpi > 1536 || dpi == m_dpi)
        return false;
    m_dpi = dpi;
    RemakeFont(&m_defaultFont);
    for (int i = 0; i < m_customFonts.GetSize(); ++i)
        RemakeFont(static_cast<TFontEntry*>(m_customFonts.GetAt(i)));
    ReloadImagesForDpi();
    return true;
}

bool CHostResources::RemakeFont(TFontEntry* entry)
{
    HFONT hFont = MakeFont(entry->face, entry->size, entry->bold, entry->underline, entry->italic);
    if (hFont == nullptr)
        return false;
    if (entry->font != nullptr)
        ::DeleteObject(entry->font);
    entry->font = hFont;
    entry->metrics = TEXTMETRICA();
    return true;
}

int CHostResources::Scaled(int value) const { return ScaleToDpi(value, m_dpi); }
CSizeUI CHostResources::Scaled(const SIZE& size) const { return CSizeUI(Scaled(size.cx), Scaled(size.cy)); }
CRectUI CHostResources::Scaled(const RECT& rect) const
{
    return CRectUI(Scaled(rect.left), Scaled(rect.top), Scaled(rect.right), Scaled(rect.bottom));
}

//--- resource parent and default colours -----------------------------------------------------

void CHostResources::SetResourceParent(CHostResources* parent)
{
    if (parent == nullptr) {
        m_resourceParent = nullptr;
        return;
    }
    for (const CHostResources* p = parent; p != nullptr; p = p->m_resourceParent) {
        if (p == this)
            return;
    }
    m_resourceParent = parent;
}

const CHostResources* CHostResources::Root() const
{
    const CHostResources* p = this;
    while (p->m_resourceParent != nullptr)
        p = p->m_resourceParent;
    return p;
}

CHostResources* CHostResources::Root()
{
    CHostResources* p = this;
    while (p->m_resourceParent != nullptr)
        p = p->m_resourceParent;
    return p;
}

DWORD CHostResources::GetDefaultDisabledColor() const { return Root()->m_defaultDisabledColor; }
DWORD CHostResources::GetDefaultFontColor() const { return Root()->m_defaultFontColor; }
DWORD CHostResources::GetDefaultLinkColor() const { return Root()->m_defaultLinkColor; }
DWORD CHostResources::GetDefaultLinkHoverColor() const { return Root()->m_defaultLinkHoverColor; }
DWORD CHostResources::GetDefaultSelectedColor() const { return Root()->m_defaultSelectedColor; }

//--- fonts -----------------------------------------------------------------------------------

HFONT CHostResources::MakeFont(const char* face, int size, bool bold, bool underline, bool italic) const
{
    LOGFONTA lf = {};
    GetObjectA(GetStockObject(DEFAULT_GUI_FONT), sizeof(lf), &lf);
    CopyFaceName(lf.lfFaceName, face != nullptr ? face : "");
    lf.lfCharSet = DEFAULT_CHARSET;
    lf.lfHeight = -Scaled(size);
    if (bold)
        lf.lfWeight += FW_BOLD;
    if (underline)
        lf.lfUnderline = 1;
    if (italic)
        lf.lfItalic = 1;
    return CreateFontIndirectA(&lf);
}

void CHostResources::FillMetrics(TFontEntry* entry, HDC hDC)
{
    if (entry->metrics.tmHeight != 0 || entry->font == nullptr)
        return;
    // Before the host has a window there is no paint DC; the screen's metrics serve until then.
    HDC scratch = hDC == nullptr ? CreateCompatibleDC(nullptr) : nullptr;
    HDC dc = hDC != nullptr ? hDC : scratch;
    if (dc == nullptr)
        return;
    HGDIOBJ old = SelectObject(dc, entry->font);
    GetTextMetricsA(dc, &entry->metrics);
    SelectObject(dc, old);
    if (scratch != nullptr)
        DeleteDC(scratch);
}

void CHostResources::ReplaceDefaultFont(const char* face, int size, bool bold, bool underline, bool italic)
{
    HFONT hFont = MakeFont(face, size, bold, underline, italic);
    if (hFont == nullptr)
        return;
    if (m_defaultFont.font != nullptr)
        DeleteObject(m_defaultFont.font);
    m_defaultFont.font = hFont;
    m_defaultFont.face = face;
    m_defaultFont.size = size;
    m_defaultFont.bold = bold;
    m_defaultFont.underline = underline;
    m_defaultFont.italic = italic;
    m_defaultFont.metrics = TEXTMETRICA();
    if (m_hDcPaint != nullptr)
        FillMetrics(&m_defaultFont, m_hDcPaint);
    ++m_fontChanges;
}

HFONT CHostResources::AppendFont(const char* face, int size, bool bold, bool underline, bool italic)
{
    HFONT hFont = MakeFont(face, size, bold, underline, italic);
    if (hFont == nullptr)
        return nullptr;
    TFontEntry* entry = new TFontEntry;
    entry->font = hFont;
    entry->face = face;
    entry->size = size;
    entry->bold = bold;
    entry->underline = underline;
    entry->italic = italic;
    if (m_hDcPaint != nullptr)
        FillMetrics(entry, m_hDcPaint);
    if (!m_customFonts.Add(entry)) {
        DeleteFontEntry(entry);
        return nullptr;
    }
    // An index that fell back to the default font names this one now.
    ++m_fontChanges;
    return hFont;
}

unsigned CHostResources::FontChanges() const
{
    unsigned changes = 0;
    for (const CHostResources* p = this; p != nullptr; p = p->m_resourceParent)
        changes += p->m_fontChanges;
    return changes;
}

const CHostResources* CHostResources::FontTableOwner() const
{
    // A host without fonts of its own (a drop-down) reads a font index as the host it borrows from.
    const CHostResources* p = this;
    while (p->m_customFonts.GetSize() == 0 && p->m_resourceParent != nullptr)
        p = p->m_resourceParent;
    return p;
}

HFONT CHostResources::FontHandleAt(int index) const
{
    const CHostResources* owner = FontTableOwner();
    if (index < 0 || index >= owner->m_customFonts.GetSize())
        return Root()->m_defaultFont.font;
    return static_cast<TFontEntry*>(owner->m_customFonts.GetAt(index))->font;
}

HFONT CHostResources::FindFont(const char* face, int size, bool bold, bool underline, bool italic) const
{
    for (const CHostResources* host = this; host != nullptr; host = host->m_resourceParent) {
        for (int i = 0; i < host->m_customFonts.GetSize(); ++i) {
            const TFontEntry* e = static_cast<const TFontEntry*>(host->m_customFonts.GetAt(i));
            if (e->face == face && e->size == size && e->bold == bold && e->underline == underline
                && e->italic == italic) {
                return e->font;
            }
        }
    }
    return nullptr;
}

TFontEntry* CHostResources::GetFontEntry(int index)
{
    const CHostResources* owner = FontTableOwner();
    if (index < 0 || index >= owner->m_customFonts.GetSize())
        return GetDefaultFontEntry();
    TFontEntry* entry = static_cast<TFontEntry*>(owner->m_customFonts.GetAt(index));
    FillMetrics(entry, owner->m_hDcPaint);
    return entry;
}

TFontEntry* CHostResources::GetFontEntryOf(HFONT hFont)
{
    for (CHostResources* host = this; host != nullptr; host = host->m_resourceParent) {
        for (int i = 0; i < host->m_customFonts.GetSize(); ++i) {
            TFontEntry* e = static_cast<TFontEntry*>(host->m_customFonts.GetAt(i));
            if (e->font == hFont) {
                FillMetrics(e, host->m_hDcPaint);
                return e;
            }
        }
    }
    return GetDefaultFontEntry();
}

TFontEntry* CHostResources::GetDefaultFontEntry()
{
    CHostResources* root = Root();
    FillMetrics(&root->m_defaultFont, root->m_hDcPaint);
    return &root->m_defaultFont;
}

//--- images ----------------------------------------------------------------------------------

TImageEntry* CHostResources::LoadImageEntry(const char* name, const char* resType, DWORD mask, SIZE drawn) const
{
    TImageEntry* entry = nullptr;
    if (resType == nullptr) {
        entry = CRenderKit::LoadSkinImage(name, nullptr, mask, drawn, m_dpi);
    } else if (name[0] >= '0' && name[0] <= '9') {
        const WORD id = static_cast<WORD>(std::strtol(name, nullptr, 10));
        entry = CRenderKit::LoadSkinImage(MAKEINTRESOURCEA(id), resType, mask, drawn, m_dpi);
    }
    if (entry != nullptr)
        entry->loadedDpi = m_dpi;
    return entry;
}

void CHostResources::ReloadForDpi(const char* name, TImageEntry& entry, SIZE drawn)
{
    TImageEntry* fresh
        = LoadImageEntry(name, entry.resType.IsEmpty() ? nullptr : entry.resType.GetData(), entry.mask, drawn);
    entry.loadedDpi = m_dpi;
    // Nothing loads now (the skin's archive closed?): the old pixels still draw, only less sharply.
    if (fresh == nullptr)
        return;
    fresh->resType = entry.resType;
    fresh->mask = entry.mask;
    std::swap(entry, *fresh);
    CRenderKit::ReleaseSkinImage(fresh);
}

void CHostResources::ReloadImagesForDpi()
{
    DropPrefetches();
    for (int i = 0; i < m_images.GetSize(); ++i)
        static_cast<TImageEntry*>(m_images.GetAt(i))->loadedDpi = 0;
}

TImageEntry* CHostResources::AddImageEntry(const char* name, const char* resType, DWORD mask, SIZE drawn)
{
    if (name == nullptr)
        return nullptr;
    TImageEntry* entry = TakePrefetched(name, resType, mask, drawn);
    if (entry == nullptr)
        entry = LoadImageEntry(name, resType, mask, drawn);
    if (entry == nullptr)
        return nullptr;
    if (resType != nullptr)
        entry->resType = resType;
    entry->mask = mask;
    if (!m_images.Insert(name, entry)) {
        CRenderKit::ReleaseSkinImage(entry);
        return nullptr;
    }
    return entry;
}

TImageEntry* CHostResources::FindOrLoadImage(
    const char* name, const char* resType, DWORD mask, ImageUse use, SIZE drawn)
{
    if (name == nullptr)
        return nullptr;
    const SIZE decodeFor = use == ImageUse::ScaledCopiesSuffice ? drawn : SIZE();
    TImageEntry* entry = static_cast<TImageEntry*>(m_images.Find(name));
    if (entry == nullptr) {
        AddImageEntry(name, resType, mask, decodeFor);
        entry = static_cast<TImageEntry*>(m_images.Find(name));
        if (entry == nullptr)
            return nullptr;
    } else if (entry->loadedDpi != m_dpi) {
        ReloadForDpi(name, *entry, decodeFor);
    }
    if (entry->bitmap != nullptr || use == ImageUse::ScaledCopiesSuffice || CRenderKit::MakeFullBitmap(*entry))
        return entry;
    // The full bitmap was dropped after scaling: decode it again, as it was first loaded.
    TImageEntry* again
        = LoadImageEntry(name, entry->resType.IsEmpty() ? nullptr : entry->resType.GetData(), entry->mask, SIZE());
    if (again == nullptr)
        return nullptr;
    if (again->width == entry->width && again->height == entry->height) {
        entry->bitmap = again->bitmap;
        entry->hasAlpha = again->hasAlpha;
        entry->keepFull = true;
        again->bitmap = nullptr;
    }
    CRenderKit::ReleaseSkinImage(again);
    return entry->bitmap != nullptr ? entry : nullptr;
}

//--- default attribute lists -----------------------------------------------------------------

void CHostResources::StoreClassDefaults(const char* elementName, const char* attributes)
{
    if (elementName == nullptr)
        return;
    if (m_defaultAttributes.Find(elementName) != nullptr)
        return;
    CUIString* copy = new CUIString(attributes);
    if (!m_defaultAttributes.Insert(elementName, copy))
        delete copy;
}

const char* CHostResources::ClassDefaultsFor(const char* elementName) const
{
    if (elementName == nullptr)
        return nullptr;
    for (const CHostResources* host = this; host != nullptr; host = host->m_resourceParent) {
        const CUIString* list = static_cast<const CUIString*>(host->m_defaultAttributes.Find(elementName));
        if (list != nullptr)
            return list->GetData();
    }
    return nullptr;
}

}  // namespace SkinUI
