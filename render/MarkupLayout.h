// CMarkupLayout: lays out and draws the framework's markup text (<b>, <c #AARRGGBB>, <a link>,
// <i image>, <n> ...) for CRenderKit::PaintMarkupText; nothing else uses it.
//
// Markup is laid out line by line. Each line is first run in a measure pass (no output; finds the
// line height and records link rectangles), then, when drawing, the line's saved state (TLineState:
// position, link, selection and raw flags, the style stacks) is put back and the same line runs
// again in a draw pass that puts text on the line's bottom with the height the measure pass found.
//
// Coordinates are the DC's logical coordinates; the rectangle is exclusive of its right and bottom
// edges and is updated in place (to the text's extent when measuring with DT_CALCRECT, to the
// aligned block when drawing centred or bottom-aligned). The layout lives for one call: it owns no
// GDI object, and the font entries on its stack belong to the host's font table.
#pragma once
#include "core/AttributeTable.h"
#include "core/UIString.h"
#include "host/HostResources.h"
#include <windows.h>

#include <vector>

namespace SkinUI {

class CMarkupLayout {
public:
    // The link arrays may be null; capacity is how many entries each holds.
    CMarkupLayout(HDC hDC, CHostResources* host, RECT& rc, DWORD color, RECT* linkRects, CUIString* linkTexts,
        int capacity, UINT style);

    // Returns the number of links laid out (not capped).
    int Run(const char* text);
    // Every tag name the layout acts on, opening and closing forms.
    static void AppendTagNames(TAttributeNames& names);

private:
    // Everything a line restarts from for its draw pass.
    struct TLineState {
        LONG x = 0;
        int linkIndex = 0;
        bool inLink = false;
        bool selected = false;
        bool raw = false;
        LONG linkStartX = 0;
        LONG linkStartTop = 0;
        std::vector<TFontEntry*> fonts;  // entries owned by the host's font table
        std::vector<DWORD> colors;
        std::vector<int> paragraphs;
    };
    enum class ELineEnd { DrawAgain, NextLine, Done };

    TFontEntry* CurrentFont() const { return m_line.fonts.empty() ? m_defaultFont : m_line.fonts.back(); }
    DWORD CurrentColor() const { return m_line.colors.empty() ? m_defaultColor : m_line.colors.back(); }
    int Spacing() const { return m_line.paragraphs.empty() ? 0 : m_line.paragraphs.back(); }
    void SelectCurrentFont() { SelectObject(m_hDC, CurrentFont()->font); }
    bool Measuring() const { return !m_drawPass; }
    bool SingleLine() const { return (m_style & DT_SINGLELINE) != 0; }

    void AlignBlock(const char* text);
    void FindHoverLink();
    const char* DoToken(const char* p);
    ELineEnd EndLine(const char*& p, const char* lineStart, const TLineState& saved);

    TFontEntry* Variant(bool bold, bool underline, bool italic);
    void PushFont(TFontEntry* f);
    void PopFont();
    void SetLinkRect(int index, const RECT& r);
    // False when the tag has to be taken up again on the next line (an image that did not fit).
    bool DoTag(char letter, bool closing, const char* arg, const char* argEnd);
    // Opening handlers answer as DoTag does; closing ones get no argument.
    static CAttributeTable<CMarkupLayout, bool> OpeningTags();
    static CAttributeTable<CMarkupLayout> ClosingTags();
    void DoFontTag(const CUIString& arg);
    bool DoImage(const CUIString& arg);
    const char* RunEnd(const char* p) const;
    const char* DoText(const char* p, const char* end);
    void DrawRun(const char* s, int len, LONG runWidth);

    HDC m_hDC;  // not owned
    CHostResources* m_host;  // not owned
    RECT& m_rc;
    DWORD m_defaultColor;
    RECT* m_linkRects;  // not owned; may be null
    CUIString* m_linkTexts;  // not owned; may be null
    int m_capacity;
    UINT m_style;
    bool m_draw;

    TFontEntry* m_defaultFont = nullptr;
    CUIString m_hoverLink;
    bool m_hasHover = false;

    bool m_drawPass = false;
    LONG m_lineTop = 0;
    LONG m_lineHeight = 0;
    LONG m_maxX = 0;
    LONG m_maxImageBottom = 0;
    int m_firstLinkOfLine = 0;
    bool m_lineFull = false;
    TLineState m_line;
};

}  // namespace SkinUI
