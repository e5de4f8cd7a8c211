// Plain and markup text: extents, line breaks, link rectangles, inline images, alignment,
// where the ink lands, and malformed markup.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "RenderTestSupport.h"
#include "render/RenderKit.h"

using namespace SkinUI;
using namespace rendertest;

namespace {

const uint32_t kWhite = 0xFFFFFFFF;

class Text : public ::testing::Test {
protected:
    Text()
        : canvas(300, 120, kWhite)
    {
        host.SetPaintDc(canvas.Dc());
    }

    // Width of `text` in `font` (the default font when null).
    LONG Ext(const char* text, HFONT font = nullptr)
    {
        HGDIOBJ old = SelectObject(canvas.Dc(), font != nullptr ? font : host.FontHandleAt(-1));
        SIZE sz = {0, 0};
        GetTextExtentPoint32A(canvas.Dc(), text, static_cast<int>(strlen(text)), &sz);
        SelectObject(canvas.Dc(), old);
        return sz.cx;
    }
    LONG LineHeight()
    {
        const TFontEntry* f = host.GetDefaultFontEntry();
        return f->metrics.tmHeight + f->metrics.tmExternalLeading;
    }
    RECT Measure(const char* text, UINT style = 0, RECT rc = RECT{0, 0, 9999, 100})
    {
        int none = 0;
        CRenderKit::PaintMarkupText(
            canvas.Dc(), &host, rc, text, 0xFF000000, nullptr, nullptr, none, style | DT_CALCRECT);
        return rc;
    }
    // Leftmost / rightmost column and top / bottom row holding a non-white pixel in `area`.
    RECT Ink(const RECT& area)
    {
        RECT ink = {LONG_MAX, LONG_MAX, LONG_MIN, LONG_MIN};
        for (LONG y = area.top; y < area.bottom; ++y) {
            for (LONG x = area.left; x < area.right; ++x) {
                if (Rgb(canvas.Pixel(x, y)) != 0xFFFFFF) {
                    ink.left = std::min(ink.left, x);
                    ink.top = std::min(ink.top, y);
                    ink.right = std::max(ink.right, x + 1);
                    ink.bottom = std::max(ink.bottom, y + 1);
                }
            }
        }
        return ink;
    }

    testbed::DibCanvas canvas;
    TestHost host;
};

}  // namespace

TEST_F(Text, PlainTextDrawsInsideItsRectangleInItsColour)
{
    RECT rc = {10, 10, 200, 40};
    CRenderKit::PaintPlainText(canvas.Dc(), &host, rc, "Hello & goodbye", 0xFFFF0000, -1, DT_SINGLELINE);
    const RECT ink = Ink(RECT{0, 0, 300, 120});
    ASSERT_LT(ink.left, ink.right) << "something was drawn";
    EXPECT_GE(ink.left, 10);
    EXPECT_GE(ink.top, 10);
    EXPECT_LE(ink.bottom, 40);
    // The darkest pixel is red: green and blue fall while red stays.
    int reds = 0;
    for (LONG y = ink.top; y < ink.bottom; ++y) {
        for (LONG x = ink.left; x < ink.right; ++x) {
            const uint32_t p = canvas.Pixel(x, y);
            if (((p >> 8) & 0xFF) < 64)
                reds += ((p >> 16) & 0xFF) > 200;
        }
    }
    EXPECT_GT(reds, 5);

    RECT calc = {0, 0, 500, 100};
    CRenderKit::PaintPlainText(canvas.Dc(), &host, calc, "a&b", 0xFF000000, 7, DT_CALCRECT | DT_SINGLELINE);
    EXPECT_EQ(Ext("a&b"), calc.right) << "no prefix processing; index 7 is the default font";

    RECT untouched = rc;
    CRenderKit::PaintPlainText(canvas.Dc(), nullptr, untouched, "x", 0, -1, 0);
    CRenderKit::PaintPlainText(canvas.Dc(), &host, untouched, nullptr, 0, -1, 0);
    EXPECT_TRUE(EqualRect(&untouched, &rc));
}

TEST_F(Text, MeasuringGivesWidthAndHeight)
{
    const RECT r = Measure("Hello world");
    EXPECT_EQ(0, r.left);
    EXPECT_EQ(0, r.top);
    EXPECT_EQ(Ext("Hello world"), r.right);
    EXPECT_EQ(LineHeight(), r.bottom);

    EXPECT_EQ(20 + Ext("ab"), Measure("<x 20>ab").right);
    EXPECT_EQ(30, Measure("<y 30>ab").bottom);
    EXPECT_EQ(10 + LineHeight() + LineHeight(), Measure("<p 10>one</p>two").bottom) << "paragraph spacing";
    EXPECT_EQ(2 * LineHeight(), Measure("one\ntwo").bottom);
    EXPECT_EQ(2 * LineHeight(), Measure("one<n>two").bottom);
    const RECT single = Measure("one<n>two", DT_SINGLELINE);
    EXPECT_EQ(LineHeight(), single.bottom);
    EXPECT_EQ(Ext("onetwo"), single.right);
}

TEST_F(Text, BoldVariantIsAddedToTheFontTable)
{
    const TFontEntry* def = host.GetDefaultFontEntry();
    ASSERT_EQ(0, host.GetFontCount());
    const RECT r = Measure("Hello <b>world</b>");
    ASSERT_EQ(1, host.GetFontCount());
    HFONT bold = host.FindFont(def->face, def->size, true, false, false);
    ASSERT_NE(nullptr, bold);
    EXPECT_EQ(Ext("Hello ") + Ext("world", bold), r.right);
    Measure("<b>again</b>");
    EXPECT_EQ(1, host.GetFontCount()) << "found, not added again";

    Measure("<f Arial 20 Bold Italic>x</f>");
    EXPECT_NE(nullptr, host.FindFont("Arial", 20, true, false, true));
    Measure("<f Arial>x</f>");
    EXPECT_NE(nullptr, host.FindFont("Arial", 10, false, false, false)) << "size 10 by default";
    // A face too long for a LOGFONT still makes a font, cut and terminated.
    const std::string longFace(40, 'F');
    Measure(("<f " + longFace + " 12>x</f>").c_str());
    HFONT cut = host.FindFont(longFace.c_str(), 12, false, false, false);
    ASSERT_NE(nullptr, cut);
    LOGFONTA lf = {};
    GetObjectA(cut, sizeof(lf), &lf);
    EXPECT_EQ(0, lf.lfFaceName[31]);
    const int count = host.GetFontCount();
    EXPECT_EQ(Ext("x", host.FontHandleAt(0)), Measure("<f 0>x</f>").right) << "a number names a table index";
    EXPECT_EQ(count, host.GetFontCount());
}

TEST_F(Text, ColourTagsAndTheirEnd)
{
    RECT rc = {0, 0, 300, 40};
    int none = 0;
    CRenderKit::PaintMarkupText(
        canvas.Dc(), &host, rc, "<c #FFFF0000>red</c> plain", 0xFF000000, nullptr, nullptr, none, 0);
    const LONG split = Ext("red");
    int redInFirst = 0, redInSecond = 0, inkInSecond = 0;
    for (LONG y = 0; y < 40; ++y) {
        for (LONG x = 0; x < 300; ++x) {
            const uint32_t p = canvas.Pixel(x, y);
            const bool red = ((p >> 16) & 0xFF) > 150 && ((p >> 8) & 0xFF) < 100;
            if (x < split)
                redInFirst += red;
            else {
                redInSecond += red;
                inkInSecond += Rgb(p) != 0xFFFFFF;
            }
        }
    }
    EXPECT_GT(redInFirst, 5);
    EXPECT_EQ(0, redInSecond) << "the default colour is back after </c>";
    EXPECT_GT(inkInSecond, 5);
}

TEST_F(Text, LinkRectanglesAndTexts)
{
    RECT links[2] = {};
    CUIString texts[2];
    int count = 1;
    RECT rc = {5, 5, 300, 100};
    CRenderKit::PaintMarkupText(canvas.Dc(), &host, rc, "<a more>click</a> here", 0xFF000000, links, texts, count, 0);
    ASSERT_EQ(1, count);
    EXPECT_STREQ("more", texts[0]);
    const TFontEntry* def = host.GetDefaultFontEntry();
    HFONT underlined = host.FindFont(def->face, def->size, false, true, false);
    ASSERT_NE(nullptr, underlined);
    EXPECT_EQ(5, links[0].left);
    EXPECT_EQ(5, links[0].top);
    EXPECT_EQ(5 + Ext("click", underlined), links[0].right);
    EXPECT_EQ(5 + LineHeight(), links[0].bottom);
    EXPECT_EQ(0, links[1].right) << "nothing beyond the capacity";

    count = 0;
    RECT rc2 = {5, 5, 300, 100};
    CRenderKit::PaintMarkupText(canvas.Dc(), &host, rc2, "<a more>click</a>", 0xFF000000, links, texts, count, 0);
    EXPECT_EQ(0, count);

    // Two links, capacity one: the count never exceeds what the arrays hold.
    count = 1;
    RECT rc3 = {5, 5, 300, 100};
    CRenderKit::PaintMarkupText(canvas.Dc(), &host, rc3, "<a x>1</a><a y>2</a>", 0xFF000000, links, texts, count, 0);
    EXPECT_EQ(1, count);
}

TEST_F(Text, LinkWrappingOntoTheNextLineGivesTwoEntries)
{
    const LONG width = Ext("aaaa b");  // "aaaa " fits, "bbbb" does not
    const TFontEntry* def = host.GetDefaultFontEntry();
    RECT links[4] = {};
    CUIString texts[4];
    int count = 4;
    RECT rc = {0, 0, width, 100};
    CRenderKit::PaintMarkupText(
        canvas.Dc(), &host, rc, "<a go>aaaa bbbb</a>", 0xFF000000, links, texts, count, DT_WORDBREAK);
    ASSERT_EQ(2, count);
    EXPECT_STREQ("go", texts[0]);
    EXPECT_STREQ("go", texts[1]);
    HFONT underlined = host.FindFont(def->face, def->size, false, true, false);
    EXPECT_EQ(Ext("aaaa ", underlined), links[0].right) << "cut after the blank";
    EXPECT_EQ(LineHeight(), links[0].bottom);
    EXPECT_EQ(0, links[1].left);
    EXPECT_EQ(LineHeight(), links[1].top);
    EXPECT_EQ(Ext("bbbb", underlined), links[1].right);
    EXPECT_EQ(2 * LineHeight(), links[1].bottom);
}

TEST_F(Text, HoveredLinksUseTheHoverColour)
{
    RECT links[1] = {};
    CUIString texts[1];
    int count = 1;
    RECT rc = {0, 0, 300, 40};
    CRenderKit::PaintMarkupText(canvas.Dc(), &host, rc, "<a l>WWWW</a>", 0xFF000000, links, texts, count, 0);
    auto reddish = [&] {
        int n = 0;
        for (LONG y = 0; y < 40; ++y)
            for (LONG x = 0; x < 100; ++x) {
                const uint32_t p = canvas.Pixel(x, y);
                n += ((p >> 16) & 0xFF) > ((p & 0xFF) + 40);
            }
        return n;
    };
    EXPECT_EQ(0, reddish()) << "link colour is blue";
    host.SetMouse(links[0].left + 2, links[0].top + 2);
    canvas.Fill(kWhite);
    RECT again = {0, 0, 300, 40};
    CRenderKit::PaintMarkupText(canvas.Dc(), &host, again, "<a l>WWWW</a>", 0xFF000000, links, texts, count, 0);
    EXPECT_GT(reddish(), 5) << "hover colour 0xFFD3215F";
}

TEST_F(Text, EscapesUnknownTagsAndRawText)
{
    EXPECT_EQ(Ext("a") + Ext("<") + Ext("b"), Measure("a{<}b").right);
    EXPECT_EQ(Ext("{") + Ext("}") + Ext(">"), Measure("<{><}>{>}").right);
    EXPECT_EQ(Ext("<abc>"), Measure("<abc>").right) << "an opener not followed by a tag is text";
    EXPECT_EQ(Ext("<B >"), Measure("<B >").right) << "opening tag letters are lowercase";
    EXPECT_EQ(Ext("ab"), Measure("a</B>b").right) << "a closing tag takes any letter";
    EXPECT_EQ(Ext("a</1>b"), Measure("a</1>b").right) << "but not a digit";
    EXPECT_EQ(Ext("<b>x"), Measure("<r><b>x").right) << "raw text to the end";
    EXPECT_EQ(0, host.GetFontCount());
    const TFontEntry* def = host.GetDefaultFontEntry();
    EXPECT_EQ(nullptr, host.FindFont(def->face, def->size, true, false, false)) << "raw text made no bold font";
    EXPECT_EQ(Ext("<b>") + Ext("y"), Measure("<r><b>{/r}y").right);
    EXPECT_EQ(LineHeight(), Measure("<r>a\nb</r>").bottom) << "raw text runs to its close, newlines included";
    EXPECT_EQ(2 * LineHeight(), Measure("<r>a</r>\nb").bottom);
}

TEST_F(Text, ACloseWithoutAnOpenLinkRecordsNothing)
{
    // The caller's arrays still hold an earlier layout's link.
    RECT links[2] = {{1, 2, 3, 4}, {}};
    CUIString texts[2] = {"old", ""};
    int count = 2;
    RECT rc = {0, 0, 300, 40};
    CRenderKit::PaintMarkupText(canvas.Dc(), &host, rc, "x</a>y<a new>z</a></a>", 0xFF000000, links, texts, count, 0);
    ASSERT_EQ(1, count);
    EXPECT_STREQ("new", texts[0]);
    EXPECT_EQ(Ext("xy"), links[0].left);
}

TEST_F(Text, InlineImagesPickTheirSubImage)
{
    Image strip = SolidImage(40, 10, 0xFFFF0000);
    for (int y = 0; y < 10; ++y) {
        for (int x = 10; x < 20; ++x)
            strip.At(x, y) = 0xFF00FF00;
        for (int x = 20; x < 30; ++x)
            strip.At(x, y) = 0xFF0000FF;
        for (int x = 30; x < 40; ++x)
            strip.At(x, y) = 0xFF000000;
    }
    WritePng("icons.png", strip);
    RECT rc = {0, 0, 300, 40};
    int none = 0;
    CRenderKit::PaintMarkupText(canvas.Dc(), &host, rc, "<i icons.png 4 2>x", 0xFF000000, nullptr, nullptr, none, 0);
    const LONG lh = std::max<LONG>(LineHeight(), 10);
    // Vertically centred on the line when shorter than it.
    const LONG bottom = lh - (lh - 10) / 2;
    EXPECT_EQ(0x0000FFu, Rgb(canvas.Pixel(0, bottom - 10)));
    EXPECT_EQ(0x0000FFu, Rgb(canvas.Pixel(9, bottom - 1)));
    EXPECT_EQ(0xFFFFFFu, Rgb(canvas.Pixel(5, bottom))) << "10 pixels high";
    EXPECT_EQ(10 + Ext("x"), Measure("<i icons.png 4 2>x").right);
    EXPECT_EQ(40, Measure("<i icons.png>").right) << "one sub-image by default";
    EXPECT_EQ(10, Measure("<i icons.png 4 9>").right) << "index out of range: the first";
    EXPECT_EQ(Ext("x"), Measure("<i nothing.png 2 1>x").right) << "a missing image is skipped";
    EXPECT_EQ(40, Measure("<i file='icons.png' restype='' 2>").right) << "the attribute form takes no count";
    EXPECT_EQ(40, Measure("<i file = 'icons.png'>").right) << "blanks as in every image attribute string";
    EXPECT_EQ(40, Measure("<i res ='icons.png'>").right);
}

TEST_F(Text, AnInlineImageThatDoesNotFitMovesToTheNextLine)
{
    WritePng("wide.png", SolidImage(30, 12, 0xFF0000FF));
    const LONG ab = Ext("ab");
    const LONG width = ab + 20;  // "ab" fits, the 30-pixel image after it does not
    // The image opens the second line, which is at least as high as the image.
    const LONG first = LineHeight();
    const LONG second = std::max<LONG>(LineHeight(), 12);
    const RECT r = Measure("ab<i wide.png>", 0, RECT{0, 0, width, 200});
    EXPECT_EQ(first + second, r.bottom);
    EXPECT_EQ(std::min<LONG>(width, std::max<LONG>(ab, 30)), r.right);

    RECT rc = {0, 0, width, 200};
    int none = 0;
    CRenderKit::PaintMarkupText(canvas.Dc(), &host, rc, "ab<i wide.png>", 0xFF000000, nullptr, nullptr, none, 0);
    // Image bottom on the line bottom, or centred when the line is taller: (second - 12) / 2 up.
    const LONG bottom = first + second - (second - 12) / 2;
    const LONG visible = std::min<LONG>(width, 30);
    EXPECT_EQ(0x0000FFu, Rgb(canvas.Pixel(0, bottom - 12)));
    EXPECT_EQ(0x0000FFu, Rgb(canvas.Pixel(visible - 1, bottom - 1)));
    EXPECT_EQ(0, CountRgb(canvas, 0x0000FF, RECT{0, 0, 300, first})) << "nothing of it on the first line";

    // With DT_SINGLELINE it stays on the line: ab + 30 wide, cut to the rectangle.
    const RECT single = Measure("ab<i wide.png>", DT_SINGLELINE, RECT{0, 0, width, 200});
    EXPECT_EQ(width, single.right);
    EXPECT_EQ(second, single.bottom);
}

TEST_F(Text, ALineStartingOnTheBottomEdgeIsStillLaidOut)
{
    // Line 2 starts at rc.bottom exactly: it is laid out (clipped), so its link counts; one pixel
    // less and it starts below the rectangle, where drawing stops.
    RECT links[2] = {};
    CUIString texts[2];
    int count = 2;
    RECT rc = {0, 0, 300, LineHeight()};
    CRenderKit::PaintMarkupText(canvas.Dc(), &host, rc, "x<n><a l>y</a>", 0xFF000000, links, texts, count, 0);
    EXPECT_EQ(1, count);
    EXPECT_EQ(LineHeight(), links[0].top);
    count = 2;
    RECT shorter = {0, 0, 300, LineHeight() - 1};
    CRenderKit::PaintMarkupText(canvas.Dc(), &host, shorter, "x<n><a l>y</a>", 0xFF000000, links, texts, count, 0);
    EXPECT_EQ(0, count);
}

TEST_F(Text, ARunAtTheLeftEdgeKeepsTheCharacterThatOverflows)
{
    const LONG w = Ext("W");
    // Two and a half characters wide: the third W overflows but the run started at the left edge,
    // so it stays (cut by the clip): "WWW", then "WW".
    const LONG width = w * 2 + w / 2;
    const RECT r = Measure("WWWWW", 0, RECT{0, 0, width, 100});
    EXPECT_EQ(2 * LineHeight(), r.bottom);
    EXPECT_EQ(width, r.right) << "min(rectangle, 3 w)";
    // Away from the left edge the overflowing character goes to the next line: "xWW" would need
    // x + 2 w + w, so "W" moves down and the second line holds "WW".
    const LONG x = w / 2;
    EXPECT_EQ(2 * LineHeight(), Measure("<x 1>WWWW", 0, RECT{0, 0, 1 + 2 * w + x, 100}).bottom);
    // Narrower than one character: one per line.
    EXPECT_EQ(3 * LineHeight(), Measure("WWW", 0, RECT{0, 0, 1, 100}).bottom);
    // An ellipsis in a rectangle that holds no character still ends.
    Measure("WWW", DT_END_ELLIPSIS, RECT{0, 0, 1, 100});

    // Drawn: the clipped third W is inked right up to the rectangle's edge on the first line.
    RECT rc = {0, 0, width, 100};
    int none = 0;
    CRenderKit::PaintMarkupText(canvas.Dc(), &host, rc, "WWWWW", 0xFF000000, nullptr, nullptr, none, 0);
    const RECT firstLine = Ink(RECT{2 * w, 0, 300, LineHeight()});
    ASSERT_LT(firstLine.left, firstLine.right) << "part of the third W is on the first line";
    EXPECT_LE(firstLine.right, width);
}

TEST_F(Text, EllipsisShortensTheRunAndFollowsIt)
{
    const char* text = "abcdefghijklmnop";
    const LONG width = Ext("abcdefgh") + 2;
    // The characters that fit and the one that overflowed (the run starts at the left edge), then
    // two fewer for the ellipsis.
    int fit = 0;
    char buf[32];
    for (int n = 1; n <= 16; ++n) {
        memcpy(buf, text, n);
        buf[n] = 0;
        if (Ext(buf) <= width)
            fit = n;
    }
    const std::string kept(text, fit + 1 - 2);
    RECT rc = {0, 0, width, 30};
    int none = 0;
    CRenderKit::PaintMarkupText(
        canvas.Dc(), &host, rc, text, 0xFF000000, nullptr, nullptr, none, DT_SINGLELINE | DT_END_ELLIPSIS);

    testbed::DibCanvas expected(300, 120, kWhite);
    HGDIOBJ old = SelectObject(expected.Dc(), host.FontHandleAt(-1));
    SetBkMode(expected.Dc(), TRANSPARENT);
    IntersectClipRect(expected.Dc(), 0, 0, width, 30);
    TextOutA(expected.Dc(), 0, 0, kept.c_str(), static_cast<int>(kept.size()));
    TextOutA(expected.Dc(), Ext(kept.c_str()), 0, "...", 3);
    SelectObject(expected.Dc(), old);
    int differ = 0;
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 300; ++x)
            differ += Rgb(canvas.Pixel(x, y)) != Rgb(expected.Pixel(x, y));
    EXPECT_EQ(0, differ) << "kept " << kept;
}

TEST_F(Text, AlignmentMovesTheText)
{
    const char* text = "Middle";
    const LONG w = Ext(text);
    RECT rc = {0, 0, 300, 100};
    int none = 0;
    CRenderKit::PaintMarkupText(
        canvas.Dc(), &host, rc, text, 0xFF000000, nullptr, nullptr, none, DT_SINGLELINE | DT_CENTER | DT_VCENTER);
    EXPECT_EQ(150 - w / 2, rc.left);
    EXPECT_EQ(rc.left + w, rc.right);
    EXPECT_EQ(50 - LineHeight() / 2, rc.top);
    const RECT ink = Ink(RECT{0, 0, 300, 120});
    EXPECT_GE(ink.left, rc.left);
    EXPECT_LE(ink.right, rc.right);
    EXPECT_GE(ink.top, rc.top);
    EXPECT_LE(ink.bottom, rc.top + LineHeight());

    canvas.Fill(kWhite);
    RECT right = {0, 0, 300, 100};
    CRenderKit::PaintMarkupText(
        canvas.Dc(), &host, right, text, 0xFF000000, nullptr, nullptr, none, DT_SINGLELINE | DT_RIGHT | DT_BOTTOM);
    EXPECT_EQ(300 - w, right.left);
    EXPECT_EQ(100 - LineHeight(), right.top);
    EXPECT_GE(Ink(RECT{0, 0, 300, 120}).left, 300 - w);
}

TEST_F(Text, SelectionDrawsTheSelectedBackground)
{
    RECT rc = {0, 0, 300, 40};
    int none = 0;
    CRenderKit::PaintMarkupText(canvas.Dc(), &host, rc, "<s>sel</s> not", 0xFF000000, nullptr, nullptr, none, 0);
    EXPECT_EQ(0xBAE4FFu, Rgb(canvas.Pixel(1, 1)));
    EXPECT_EQ(0xFFFFFFu, Rgb(canvas.Pixel(Ext("sel") + Ext(" ") + 1, 1)));
}

TEST_F(Text, MalformedMarkupNeverCrashesAndStaysInItsRectangle)
{
    const char* cases[] = {
        "<b>unclosed bold",
        "</b></c></f></a></p></s></u></i>",
        "<c #FF",
        "<c",
        "<",
        "{",
        "<a",
        "<a link",
        "<f",
        "<f >",
        "<f 99999>x",
        "<f -1>x",
        "<i>",
        "<i >",
        "<i icons.png -3 -7>",
        "<i file='",
        "<p -50>x",
        "<x -1000>x",
        "<y -5>x<n>y",
        "<y 100000>x",
        "text<",
        "text{",
        "{/r}",
        "<r>",
        "<r>abc{/",
        "<a x>a<n>b",
        "\n\n\n",
        "<p><p><p>x</p>",
        "<{>",
        "<}",
        "{<",
        "<b}x{/b>",
        "\xD6\xD0<b>\xCE",
        "\xFF",
    };
    const RECT area = {50, 30, 150, 60};
    for (const char* text : cases) {
        canvas.Fill(kWhite);
        RECT rc = area;
        RECT links[2] = {};
        CUIString texts[2];
        int count = 2;
        CRenderKit::PaintMarkupText(canvas.Dc(), &host, rc, text, 0xFF000000, links, texts, count, DT_WORDBREAK);
        EXPECT_LE(count, 2) << text;
        const RECT ink = Ink(RECT{0, 0, 300, 120});
        if (ink.left < ink.right) {
            EXPECT_GE(ink.left, area.left) << text;
            EXPECT_LE(ink.right, area.right) << text;
            EXPECT_GE(ink.top, area.top) << text;
            EXPECT_LE(ink.bottom, area.bottom) << text;
        }
        Measure(text);
    }
    // Random markup soup.
    const char alphabet[] = "<>{}/abcfinprsuxy #0123456789 \nW\xB0";
    srand(12345);
    for (int i = 0; i < 1500; ++i) {
        char text[40];
        const int len = rand() % 39;
        for (int k = 0; k < len; ++k)
            text[k] = alphabet[rand() % (sizeof(alphabet) - 1)];
        text[len] = 0;
        RECT rc = {0, 0, 1 + rand() % 60, 1 + rand() % 40};
        int count = 2;
        RECT links[2];
        CUIString texts[2];
        CRenderKit::PaintMarkupText(canvas.Dc(), &host, rc, text, 0xFF000000, links, texts, count,
            static_cast<UINT>(rand())
                & (DT_WORDBREAK | DT_SINGLELINE | DT_END_ELLIPSIS | DT_CENTER | DT_VCENTER | DT_CALCRECT));
        ASSERT_LE(count, 2);
    }
    // Nothing at all for an empty rectangle or a null text.
    RECT empty = {10, 10, 10, 20};
    int count = 0;
    canvas.Fill(kWhite);
    CRenderKit::PaintMarkupText(canvas.Dc(), &host, empty, "x", 0xFF000000, nullptr, nullptr, count, 0);
    CRenderKit::PaintMarkupText(canvas.Dc(), &host, empty, nullptr, 0xFF000000, nullptr, nullptr, count, 0);
    EXPECT_EQ(0, canvas.CountNot(kWhite, RECT{0, 0, 300, 120}));
}
