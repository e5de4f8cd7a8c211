// Text: plain text through DrawTextA, and markup through CMarkupLayout (MarkupLayout.h).
#include "render/RenderKit.h"

#include "host/HostResources.h"
#include "render/ClipScope.h"
#include "render/MarkupLayout.h"

namespace SkinUI {

void CRenderKit::PaintPlainText(
    HDC hDC, CHostResources* host, RECT& rc, const char* text, DWORD color, int font, UINT style)
{
    if (hDC == nullptr || host == nullptr || text == nullptr)
        return;
    SetBkMode(hDC, TRANSPARENT);
    SetTextColor(hDC, RGB((color >> 16) & 0xFF, (color >> 8) & 0xFF, color & 0xFF));
    HGDIOBJ old = SelectObject(hDC, host->FontHandleAt(font));
    DrawTextA(hDC, text, -1, &rc, style | DT_NOPREFIX);
    SelectObject(hDC, old);
}

void CRenderKit::AppendMarkupTagNames(TAttributeNames& names) { CMarkupLayout::AppendTagNames(names); }

void CRenderKit::PaintMarkupText(HDC hDC, CHostResources* host, RECT& rc, const char* text, DWORD color,
    RECT* linkRects, CUIString* linkTexts, int& linkCount, UINT style)
{
    if (hDC == nullptr || host == nullptr || text == nullptr || IsRectEmpty(&rc))
        return;
    CClipScope clip;
    if ((style & DT_CALCRECT) == 0)
        CClipScope::NarrowToRect(hDC, rc, clip);
    CMarkupLayout layout(hDC, host, rc, color, linkRects, linkTexts, linkCount, style);
    const int laidOut = layout.Run(text);
    // Callers size their arrays to the capacity and walk linkCount entries of them.
    linkCount = laidOut < linkCount ? laidOut : (linkCount < 0 ? 0 : linkCount);
}

}  // namespace SkinUI
