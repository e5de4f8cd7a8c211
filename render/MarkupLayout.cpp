#include "render/MarkupLayout.h"

#include <cstring>

#include "core/IntMath.h"
#include "core/ValueParse.h"
#include "render/ImagePairReader.h"
#include "render/RenderKit.h"

namespace SkinUI {

namespace {

bool IsOpener(char c) { return c == '<' || c == '{'; }
bool IsCloser(char c) { return c == '>' || c == '}'; }
bool IsLower(char c) { return c >= 'a' && c <= 'z'; }
bool IsAsciiLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

COLORREF ToColorRef(DWORD argb) { return RGB((argb >> 16) & 0xFF, (argb >> 8) & 0xFF, argb & 0xFF); }

int FontHeight(const TFontEntry* f) { return f->metrics.tmHeight + f->metrics.tmExternalLeading; }

// Where the closing tag of raw text starts, or the end of the text.
const char* FindRawEnd(const char* p)
{
    for (; *p != '\0'; ++p) {
        if ((p[0] == '<' || p[0] == '{') && p[1] == '/' && p[2] == 'r' && IsCloser(p[3]))
            return p;
    }
    return p;
}

}  // namespace

CMarkupLayout::CMarkupLayout(HDC hDC, CHostResources* host, RECT& rc, DWORD color, RECT* linkRects,
    CUIString* linkTexts, int capacity, UINT style)
    : m_hDC(hDC)
    , m_host(host)
    , m_rc(rc)
    , m_defaultColor(color)
    , m_linkRects(linkRects)
    , m_linkTexts(linkTexts)
    , m_capacity(capacity < 0 ? 0 : capacity)
    , m_style(style)
    , m_draw((style & DT_CALCRECT) == 0)
{
}

void CMarkupLayout::AppendTagNames(TAttributeNames& names)
{
    OpeningTags().AppendNames(names);
    ClosingTags().AppendNames(names);
}

TFontEntry* CMarkupLayout::Variant(bool bold, bool underline, bool italic)
{
    const TFontEntry* cur = CurrentFont();
    HFONT f = m_host->FindFont(cur->face, cur->size, bold, underline, italic);
    if (f == nullptr)
        f = m_host->AppendFont(cur->face, cur->size, bold, underline, italic);
    // A font that cannot be made leaves the text in the current one.
    return f != nullptr ? m_host->GetFontEntryOf(f) : CurrentFont();
}

void CMarkupLayout::PushFont(TFontEntry* f)
{
    m_line.fonts.push_back(f);
    SelectCurrentFont();
}

void CMarkupLayout::PopFont()
{
    const TFontEntry* left = CurrentFont();
    if (!m_line.fonts.empty())
        m_line.fonts.pop_back();
    const TFontEntry* now = CurrentFont();
    SelectCurrentFont();
    if (left->metrics.tmItalic && !now->metrics.tmItalic) {
        // Leaving italics: make room for the slanted last letter.
        ABC abc = {};
        if (GetCharABCWidthsA(m_hDC, ' ', ' ', &abc))
            m_line.x += static_cast<LONG>(abc.abcC) / 2;
    }
}

void CMarkupLayout::SetLinkRect(int index, const RECT& r)
{
    if (m_linkRects != nullptr && index < m_capacity)
        m_linkRects[index] = r;
}

void CMarkupLayout::DoFontTag(const CUIString& arg)
{
    const char* p = arg.GetData();
    if (*p >= '0' && *p <= '9') {
        PushFont(m_host->GetFontEntry(ParseInt(p)));
        return;
    }
    const char* faceEnd = p;
    while (*faceEnd != '\0' && *faceEnd != ' ')
        faceEnd = CharNextA(faceEnd);
    const CUIString face(p, static_cast<int>(faceEnd - p));
    const char* q = faceEnd;
    while (*q == ' ')
        ++q;
    int size = 10;
    if (*q >= '0' && *q <= '9') {
        size = ParseInt(q);
        while (*q >= '0' && *q <= '9')
            ++q;
    }
    CUIString words;
    for (; *q != '\0'; ++q)
        words.AppendChar(*q >= 'A' && *q <= 'Z' ? static_cast<char>(*q - 'A' + 'a') : *q);
    const bool bold = words.Find("bold") >= 0;
    const bool underline = words.Find("underline") >= 0;
    const bool italic = words.Find("italic") >= 0;
    HFONT f = m_host->FindFont(face, size, bold, underline, italic);
    if (f == nullptr)
        f = m_host->AppendFont(face, size, bold, underline, italic);
    PushFont(f != nullptr ? m_host->GetFontEntryOf(f) : CurrentFont());
}

bool CMarkupLayout::DoImage(const CUIString& arg)
{
    CUIString name;
    CUIString resType;
    int count = 1;
    int index = 0;
    CImagePairReader reader(arg);
    if (reader.Next()) {
        // Attribute-string form: only the name and the resource type are used.
        do {
            if (reader.key == "file" || reader.key == "res")
                name = reader.value;
            else if (reader.key == "restype")
                resType = reader.value;
        } while (reader.More() && reader.Next());
    } else {
        const char* p = arg.GetData();
        const char* end = p;
        while (*end != '\0' && *end != ' ')
            end = CharNextA(end);
        name.Assign(p, static_cast<int>(end - p));
        int numbers[2] = {1, 0};
        ParseIntList(end, numbers, 2);
        count = numbers[0] < 1 ? 1 : numbers[0];
        index = (numbers[1] < 0 || numbers[1] >= count) ? 0 : numbers[1];
    }
    const TImageEntry* image = m_host->FindOrLoadImage(name, resType.IsEmpty() ? nullptr : resType.GetData(), 0);
    if (image == nullptr)
        return true;

    // The picture's 1x size, at the window's scale: a variant's pixels are not its size.
    const LONG sw = image->width / count;
    const LONG sh = image->height;
    const int screenScale = m_host->GetDpi() * 100;
    const int pictureScale = image->scale * 96;
    const LONG w = MulDivSaturated(sw, screenScale, pictureScale);
    const LONG h = MulDivSaturated(sh, screenScale, pictureScale);
    if (!(m_rc.right >= m_line.x + w || m_line.x <= m_rc.left || SingleLine())) {
        m_lineFull = true;
        return false;
    }
    if (!Measuring()) {
        LONG bottom = m_lineTop + m_lineHeight;
        if (h < m_lineHeight)
            bottom = m_lineTop + m_lineHeight - (m_lineHeight - h) / 2;
        const RECT dest = {m_line.x, bottom - h, m_line.x + w, bottom};
        const RECT source = {sw * index, 0, sw * (index + 1), sh};
        const RECT corner = {0, 0, 0, 0};
        CRenderKit::BlitImage(m_hDC, image->bitmap, dest, m_rc, source, corner, image->hasAlpha, 255);
    }
    m_line.x += w;
    if (m_lineHeight < h)
        m_lineHeight = h;
    if (m_maxImageBottom < m_lineTop + h)
        m_maxImageBottom = m_lineTop + h;
    if (m_maxX < m_line.x)
        m_maxX = m_line.x;
    return true;
}

// A tag is one lower-case letter; the opening tag's argument is the text after it up to the closer.
CAttributeTable<CMarkupLayout, bool> CMarkupLayout::OpeningTags()
{
    using L = CMarkupLayout;
    static constexpr TAttributeHandler<L, bool> kTable[] = {
        {"a",
            [](L& l, const char* arg) {
                const CUIString text(arg);
                const TFontEntry* cur = l.CurrentFont();
                if (l.Measuring() && l.m_linkTexts != nullptr && l.m_line.linkIndex < l.m_capacity)
                    l.m_linkTexts[l.m_line.linkIndex] = text;
                const DWORD c = (l.m_hasHover && text == l.m_hoverLink) ? l.m_host->GetDefaultLinkHoverColor()
                                                                        : l.m_host->GetDefaultLinkColor();
                l.m_line.colors.push_back(c);
                SetTextColor(l.m_hDC, ToColorRef(c));
                // An already underlined font is pushed again so that </a> pops what <a> pushed.
                l.PushFont(cur->underline ? l.CurrentFont() : l.Variant(cur->bold, true, cur->italic));
                l.m_line.inLink = true;
                l.m_line.linkStartX = l.m_line.x;
                l.m_line.linkStartTop = l.m_lineTop;
                return true;
            }},
        {"b",
            [](L& l, const char*) {
                const TFontEntry* cur = l.CurrentFont();
                l.PushFont(cur->bold ? l.CurrentFont() : l.Variant(true, cur->underline, cur->italic));
                return true;
            }},
        {"c",
            [](L& l, const char* arg) {
                const DWORD c = ParseColor(arg);
                l.m_line.colors.push_back(c);
                SetTextColor(l.m_hDC, ToColorRef(c));
                return true;
            }},
        {"f",
            [](L& l, const char* arg) {
                l.DoFontTag(arg);
                return true;
            }},
        {"i",
            [](L& l, const char* arg) {
                if (arg[0] != '\0')
                    return l.DoImage(arg);
                const TFontEntry* cur = l.CurrentFont();
                l.PushFont(l.Variant(cur->bold, cur->underline, true));
                return true;
            }},
        {"n",
            [](L& l, const char*) {
                if (!l.SingleLine())
                    l.m_lineFull = true;
                return true;
            }},
        {"p",
            [](L& l, const char* arg) {
                if (l.m_line.x > l.m_rc.left)
                    l.m_lineFull = true;
                const int spacing = ParseInt(arg);
                l.m_line.paragraphs.push_back(spacing);
                const LONG h = spacing + FontHeight(l.CurrentFont());
                if (l.m_lineHeight < h)
                    l.m_lineHeight = h;
                return true;
            }},
        {"r",
            [](L& l, const char*) {
                l.m_line.raw = true;
                return true;
            }},
        {"s",
            [](L& l, const char*) {
                l.m_line.selected = !l.m_line.selected;
                return true;
            }},
        {"u",
            [](L& l, const char*) {
                const TFontEntry* cur = l.CurrentFont();
                l.PushFont(cur->underline ? l.CurrentFont() : l.Variant(cur->bold, true, cur->italic));
                return true;
            }},
        {"x",
            [](L& l, const char* arg) {
                l.m_line.x += ParseInt(arg);
                return true;
            }},
        {"y",
            [](L& l, const char* arg) {
                l.m_lineHeight = ParseInt(arg);
                return true;
            }},
    };
    return kTable;
}

CAttributeTable<CMarkupLayout> CMarkupLayout::ClosingTags()
{
    using L = CMarkupLayout;
    static constexpr auto popFont = [](L& l, const char*) { l.PopFont(); };
    static constexpr TAttributeHandler<L> kTable[] = {
        {"a",
            [](L& l, const char*) {
                // A stray close would record a link the arrays still hold from an earlier layout.
                if (!l.m_line.inLink)
                    return;
                if (l.Measuring()) {
                    l.SetLinkRect(l.m_line.linkIndex,
                        RECT{l.m_line.linkStartX, l.m_line.linkStartTop, l.m_line.x,
                            l.m_lineTop + FontHeight(l.CurrentFont())});
                }
                ++l.m_line.linkIndex;
                l.m_line.inLink = false;
                if (!l.m_line.colors.empty())
                    l.m_line.colors.pop_back();
                SetTextColor(l.m_hDC, ToColorRef(l.CurrentColor()));
                l.PopFont();
            }},
        {"b", popFont},
        {"f", popFont},
        {"i", popFont},
        {"u", popFont},
        {"c",
            [](L& l, const char*) {
                if (!l.m_line.colors.empty())
                    l.m_line.colors.pop_back();
                SetTextColor(l.m_hDC, ToColorRef(l.CurrentColor()));
            }},
        {"p",
            [](L& l, const char*) {
                if (l.m_line.x > l.m_rc.left)
                    l.m_lineFull = true;
                if (!l.m_line.paragraphs.empty())
                    l.m_line.paragraphs.pop_back();
            }},
        {"r", [](L& l, const char*) { l.m_line.raw = false; }},
        {"s", [](L& l, const char*) { l.m_line.selected = !l.m_line.selected; }},
    };
    return kTable;
}

bool CMarkupLayout::DoTag(char letter, bool closing, const char* arg, const char* argEnd)
{
    while (arg < argEnd && *arg == ' ')
        ++arg;
    const char name[2] = {letter, '\0'};
    // Unknown tags are dropped.
    if (closing) {
        ClosingTags().Apply(*this, name, nullptr);
        return true;
    }
    const auto* tag = OpeningTags().Find(name);
    return tag == nullptr || tag->Apply(*this, CUIString(arg, static_cast<int>(argEnd - arg)));
}

void CMarkupLayout::DrawRun(const char* s, int len, LONG runWidth)
{
    LONG x = m_line.x;
    if (!SingleLine()) {
        const LONG free = (m_rc.right - m_rc.left) - runWidth;
        if (m_style & DT_CENTER)
            x += free / 2;
        else if (m_style & DT_RIGHT)
            x += free;
    }
    SetBkMode(m_hDC, m_line.selected ? OPAQUE : TRANSPARENT);
    TextOutA(m_hDC, x, m_lineTop + m_lineHeight - FontHeight(CurrentFont()), s, len);
    SetBkMode(m_hDC, TRANSPARENT);
}

// Where a text run starting at p ends: a blank where a run would start is a run of its own; raw
// text runs to its closing tag, newlines included; other text to the next newline or tag opener.
const char* CMarkupLayout::RunEnd(const char* p) const
{
    if (*p == ' ')
        return p + 1;
    const char* end;
    if (m_line.raw)
        return FindRawEnd(p);
    end = p;
    do {
        end = CharNextA(end);
    } while (*end != '\0' && *end != '\n' && !IsOpener(*end));
    return end;
}

// Lays out the run [p, end) as far as it fits; returns where the characters kept end.
const char* CMarkupLayout::DoText(const char* p, const char* end)
{
    const TFontEntry* font = CurrentFont();
    // Take characters while they fit; measure exactly only near the right edge.
    const bool atLeft = m_line.x <= m_rc.left;
    const char* q = p;
    const char* lastBreak = nullptr;
    const char* overflowEnd = nullptr;  // end of the character that no longer fitted
    int chars = 0;
    while (q < end) {
        const char* next = CharNextA(q);
        if (next > end || next == q)
            next = end;
        ++chars;
        if (m_line.x + static_cast<LONG>(font->metrics.tmMaxCharWidth) * chars >= m_rc.right) {
            SIZE sz = {0, 0};
            GetTextExtentPoint32A(m_hDC, p, static_cast<int>(next - p), &sz);
            if (m_line.x + sz.cx > m_rc.right) {
                overflowEnd = next;
                break;
            }
        }
        if (!IsAsciiLetter(*q))
            lastBreak = next;
        q = next;
    }

    const char* cut = q;  // the characters kept end here
    bool ellipsis = false;
    if (overflowEnd != nullptr) {
        // A run that starts at the left edge keeps the character that overflowed (the clip cuts
        // it), so every line takes at least one character; elsewhere it goes to the next line.
        if (atLeft)
            cut = overflowEnd;
        if ((m_style & DT_WORDBREAK) && lastBreak != nullptr)
            cut = lastBreak;
        if (m_style & DT_END_ELLIPSIS) {
            int drop = 0;
            for (const char* c = p; c < cut; c = CharNextA(c))
                ++drop;
            drop = drop >= 2 ? 2 : drop;
            for (int i = 0; i < drop; ++i)
                cut = CharPrevA(p, cut);
            ellipsis = true;
        }
        m_lineFull = true;
    }

    const int len = static_cast<int>(cut - p);
    SIZE sz = {0, 0};
    if (len > 0)
        GetTextExtentPoint32A(m_hDC, p, len, &sz);
    if (!Measuring()) {
        if (len > 0)
            DrawRun(p, len, sz.cx);
        if (ellipsis)
            TextOutA(m_hDC, m_line.x + sz.cx, m_lineTop, "...", 3);
    }
    m_line.x = ellipsis ? m_rc.right : m_line.x + sz.cx;
    if (m_maxX < m_line.x)
        m_maxX = m_line.x;
    return cut;
}

// Centred, right- and bottom-aligned text is measured first, then drawn in the block it needs.
void CMarkupLayout::AlignBlock(const char* text)
{
    RECT measured = {0, 0, 9999, 100};
    int none = 0;
    CRenderKit::PaintMarkupText(
        m_hDC, m_host, measured, text, m_defaultColor, nullptr, nullptr, none, m_style | DT_CALCRECT);
    const LONG w = measured.right - measured.left;
    const LONG h = measured.bottom - measured.top;
    if (SingleLine()) {
        if (m_style & DT_CENTER) {
            m_rc.left = m_rc.left + (m_rc.right - m_rc.left) / 2 - w / 2;
            m_rc.right = m_rc.left + w;
        } else if (m_style & DT_RIGHT) {
            m_rc.left = m_rc.right - w;
        }
    }
    if (m_style & DT_VCENTER) {
        m_rc.top = m_rc.top + (m_rc.bottom - m_rc.top) / 2 - h / 2;
        m_rc.bottom = m_rc.top + h;
    } else if (m_style & DT_BOTTOM) {
        m_rc.top = m_rc.bottom - h;
    }
}

// The link under the mouse, as the previous layout recorded it, is drawn in the hover colour.
void CMarkupLayout::FindHoverLink()
{
    const POINT mouse = m_host->GetMousePos();
    for (int i = 0; i < m_capacity; ++i) {
        if (PtInRect(&m_linkRects[i], mouse)) {
            m_hoverLink = m_linkTexts[i];
            m_hasHover = true;
            return;
        }
    }
}

// One token: a newline, a tag, an escape or a text run. Returns where the next token starts (the
// same place when a tag or an escape has to be taken up again on the next line).
const char* CMarkupLayout::DoToken(const char* p)
{
    if (*p == '\n') {
        m_lineFull = true;
        return p + 1;
    }
    if (m_line.raw && IsOpener(p[0]) && p[1] == '/' && p[2] == 'r' && IsCloser(p[3])) {
        m_line.raw = false;
        return p + 4;
    }
    if (m_line.raw)
        return DoText(p, RunEnd(p));
    if (IsOpener(p[0]) && IsLower(p[1]) && (p[2] == ' ' || IsCloser(p[2]))) {
        const char* close = p + 2;
        while (*close != '\0' && !IsCloser(*close))
            ++close;
        if (!DoTag(p[1], false, p + 2, close))
            return p;
        return *close != '\0' ? close + 1 : close;
    }
    if (IsOpener(p[0]) && p[1] == '/' && IsAsciiLetter(p[2])) {
        const char* close = p + 3;
        while (*close != '\0' && !IsCloser(*close))
            ++close;
        DoTag(p[2], true, close, close);
        return *close != '\0' ? close + 1 : close;
    }
    if ((p[0] == '<' && (p[1] == '{' || p[1] == '}') && p[2] == '>')
        || (p[0] == '{' && (p[1] == '<' || p[1] == '>') && p[2] == '}')) {
        // Escapes: <{> <}> {<} {>} stand for the middle character; one that does not fit is taken
        // up again on the next line.
        return DoText(p + 1, p + 2) == p + 2 ? p + 3 : p;
    }
    return DoText(p, RunEnd(p));
}

// A line is full or the text ended: finish its links, then either run the same line again to
// draw it (p goes back to its start), start the next line, or stop.
CMarkupLayout::ELineEnd CMarkupLayout::EndLine(const char*& p, const char* lineStart, const TLineState& saved)
{
    // An open link ends here and goes on as a new entry on the next line.
    if (m_line.inLink) {
        if (Measuring()) {
            SetLinkRect(m_line.linkIndex,
                RECT{m_line.linkStartX, m_line.linkStartTop, m_line.x < m_rc.right ? m_line.x : m_rc.right, 0});
            if (m_linkTexts != nullptr && m_line.linkIndex + 1 < m_capacity)
                m_linkTexts[m_line.linkIndex + 1] = m_linkTexts[m_line.linkIndex];
        }
        ++m_line.linkIndex;
    }
    if (Measuring() && m_linkRects != nullptr) {
        for (int i = m_firstLinkOfLine; i < m_line.linkIndex && i < m_capacity; ++i)
            m_linkRects[i].bottom = m_lineTop + m_lineHeight;
    }
    if (Measuring() && m_draw) {
        p = lineStart;
        m_line = saved;
        SelectCurrentFont();
        SetTextColor(m_hDC, ToColorRef(CurrentColor()));
        m_lineFull = false;
        m_drawPass = true;
        return ELineEnd::DrawAgain;
    }
    // A line that took nothing would come back unchanged forever (a rectangle narrower than one
    // character with an ellipsis); the layout ends there.
    const bool stuck = p == lineStart && *p != '\0';
    if (SingleLine() || *p == '\0' || stuck)
        return ELineEnd::Done;
    m_drawPass = false;
    m_lineFull = false;
    m_lineTop += m_lineHeight;
    if (m_draw && m_lineTop > m_rc.bottom)
        return ELineEnd::Done;
    m_line.x = m_rc.left;
    m_lineHeight = Spacing() + FontHeight(CurrentFont());
    m_firstLinkOfLine = m_line.linkIndex;
    m_line.linkStartX = m_rc.left;
    m_line.linkStartTop = m_lineTop;
    return ELineEnd::NextLine;
}

int CMarkupLayout::Run(const char* text)
{
    HGDIOBJ oldFont = SelectObject(m_hDC, m_host->GetDefaultFontEntry()->font);
    m_defaultFont = m_host->GetDefaultFontEntry();
    SetBkMode(m_hDC, TRANSPARENT);
    SetTextColor(m_hDC, ToColorRef(m_defaultColor));
    SetBkColor(m_hDC, ToColorRef(m_host->GetDefaultSelectedColor()));

    if (m_draw && (m_style & (DT_CENTER | DT_RIGHT | DT_VCENTER | DT_BOTTOM)))
        AlignBlock(text);
    if (m_draw && m_linkRects != nullptr && m_linkTexts != nullptr)
        FindHoverLink();

    m_line.x = m_rc.left;
    m_lineTop = m_rc.top;
    m_maxX = m_rc.left;
    m_lineHeight = FontHeight(CurrentFont());
    const char* p = text;
    const char* lineStart = p;
    TLineState saved = m_line;
    m_drawPass = false;
    for (;;) {
        if (!m_lineFull && *p != '\0' && m_line.x < m_rc.right) {
            p = DoToken(p);
            continue;
        }
        const ELineEnd next = EndLine(p, lineStart, saved);
        if (next == ELineEnd::Done)
            break;
        if (next == ELineEnd::NextLine) {
            lineStart = p;
            saved = m_line;
        }
    }

    if (!m_draw) {
        const LONG bottom = m_lineTop + m_lineHeight;
        m_rc.bottom = bottom > m_maxImageBottom ? bottom : m_maxImageBottom;
        if (m_maxX < m_rc.right)
            m_rc.right = m_maxX;
    }
    SelectObject(m_hDC, oldFont);
    return m_line.linkIndex;
}

}  // namespace SkinUI
