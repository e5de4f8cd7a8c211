// Whole drawings compared with committed reference PNGs (tests/render/data), so that a change in
// any drawing path shows up. Image and fill drawings are compared almost exactly (a channel may
// differ by 2 on at most 1% of the pixels: smoothing filters differ slightly between systems);
// text rasterisation differs more between platforms, so the markup drawing allows a channel
// difference of 64 on at most 4% of its pixels. Set QUORIL_WRITE_REFERENCES=1 to rewrite them.
#include <gtest/gtest.h>

#include "RenderTestSupport.h"
#include "render/ClipScope.h"
#include "render/RenderKit.h"

using namespace SkinUI;
using namespace rendertest;

namespace {

// A 24 x 24 frame: 6-pixel blue border with a white inner line, a checked middle, rounded
// transparent corners.
Image FrameImage()
{
    Image img = SolidImage(24, 24, 0xFF2060C0);
    for (int y = 0; y < 24; ++y) {
        for (int x = 0; x < 24; ++x) {
            if (x >= 6 && x < 18 && y >= 6 && y < 18) {
                img.At(x, y) = ((x / 3 + y / 3) % 2) ? 0xFFF0C040 : 0xFF40A040;
            } else if (x == 4 || y == 4 || x == 19 || y == 19) {
                img.At(x, y) = 0xFFFFFFFF;
            }
            const int dx = x < 3 ? 3 - x : (x > 20 ? x - 20 : 0);
            const int dy = y < 3 ? 3 - y : (y > 20 ? y - 20 : 0);
            if (dx * dx + dy * dy > 9)
                img.At(x, y) = 0x00000000;
            else if (dx * dx + dy * dy > 4)
                img.At(x, y) = 0x802060C0;
        }
    }
    return img;
}

}  // namespace

TEST(Reference, ImageDrawing)
{
    WritePng("ref-frame.png", FrameImage());
    Image spot = SolidImage(8, 8, 0xFFFF00FF);
    for (int i = 0; i < 8; ++i)
        spot.At(i, i) = spot.At(7 - i, i) = 0xFF000000;
    WritePng("ref-spot.png", spot);

    testbed::DibCanvas canvas(200, 120, 0xFFE0E0E0);
    TestHost host;
    const RECT all = {0, 0, 200, 120};
    auto paint = [&](const RECT& item, const char* image) {
        CRenderKit::PaintImageSpec(canvas.Dc(), &host, item, all, image);
    };
    paint(RECT{4, 4, 96, 56}, "file='ref-frame.png' corner='6,6,6,6'");
    paint(RECT{104, 4, 196, 56}, "file='ref-frame.png' corner='6,6,6,6' xtiled='true' ytiled='true'");
    paint(RECT{4, 64, 96, 116}, "file='ref-frame.png' corner='6,6,6,6' hole='true' fade='160'");
    paint(RECT{104, 64, 150, 116}, "file='ref-frame.png' corner='6,6,6,6' ytiled='true' dest='0,0,40,52'");
    paint(RECT{156, 64, 196, 116}, "file='ref-spot.png' mask='#FFFF00FF' xtiled='true' ytiled='true'");
    EXPECT_TRUE(MatchesReference(canvas, "ref-images.png", 2, 200));
}

TEST(Reference, FillsOutlinesAndClips)
{
    testbed::DibCanvas canvas(200, 120, 0xFFFFFFFF);
    HDC dc = canvas.Dc();
    CRenderKit::FillGradient(dc, RECT{0, 0, 60, 120}, 0xFF203080, 0xFFA0D0F0, 8);
    CRenderKit::FillGradient(dc, RECT{60, 0, 120, 60}, 0xFFFF8000, 0x80FF8000, 16);
    CRenderKit::FillColor(dc, RECT{30, 20, 150, 50}, 0x60000000);
    CRenderKit::FillColor(dc, RECT{130, 10, 190, 40}, 0xFF30A030);
    CRenderKit::StrokeRect(dc, RECT{70, 70, 120, 110}, 3, 0xFFC02020);
    CRenderKit::StrokeRoundRect(dc, RECT{130, 60, 190, 110}, 2, 12, 12, 0xFF2020C0);
    CRenderKit::StrokeLine(dc, RECT{5, 115, 195, 65}, 1, 0xFF000000, PS_DOT);
    {
        CClipScope clip;
        CClipScope::NarrowToRoundRect(dc, RECT{140, 70, 180, 100}, RECT{130, 60, 190, 110}, 12, 12, clip);
        CRenderKit::FillColor(dc, RECT{0, 0, 200, 120}, 0xFFFFD040);
    }
    EXPECT_TRUE(MatchesReference(canvas, "ref-fills.png", 2, 240));
}

TEST(Reference, MarkupText)
{
    WritePng("ref-icons.png", FrameImage());
    testbed::DibCanvas canvas(240, 120, 0xFFFFFFFF);
    TestHost host;
    host.SetPaintDc(canvas.Dc());
    RECT rc = {6, 6, 234, 114};
    RECT links[4];
    CUIString texts[4];
    int count = 4;
    CRenderKit::PaintMarkupText(canvas.Dc(), &host, rc,
        "<b>Bold</b> and <i>italic</i>, <u>under</u> <c #FFC02020>red <b>strong</b></c> "
        "then a <a site>long link that wraps round the end of a line</a> and <i ref-icons.png 2 1> an icon.<n>"
        "<p 4><s>selected</s> <f Arial 16 bold>Arial</f> a{<}b</p>",
        0xFF000000, links, texts, count, DT_WORDBREAK);
    EXPECT_EQ(2, count);
    EXPECT_TRUE(MatchesReference(canvas, "ref-markup.png", 64, 1100));
}
