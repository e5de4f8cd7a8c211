// Drawing images from image attribute strings: keys, nine-grid pieces, tiling, holes, fades,
// masks, several images in one string, malformed strings, and the own blend.
#include <gtest/gtest.h>

#include "RenderTestSupport.h"
#include "core/ValueParse.h"
#include "render/ImageSpec.h"
#include "render/RenderKit.h"

using namespace SkinUI;
using namespace rendertest;

namespace {

const uint32_t kBack = 0xFF000000;  // black canvas
const uint32_t kRed = 0xFFFF0000;
const uint32_t kBlue = 0xFF0000FF;
const uint32_t kGreen = 0xFF00FF00;

class ImagePaint : public ::testing::Test {
protected:
    void TearDown() override { CRenderKit::UseOwnBlending(false); }

    bool Paint(testbed::DibCanvas& canvas, const RECT& item, const char* image, const char* modify = nullptr)
    {
        return CRenderKit::PaintImageSpec(canvas.Dc(), &host, item, item, image, modify);
    }

    // A premultiplied half-transparent red pixel (stored 0x80800000) stretched over white.
    uint32_t HalfRedOverWhite()
    {
        WritePng("halfred.png", SolidImage(1, 1, 0x80FF0000));
        testbed::DibCanvas white(4, 4, 0xFFFFFFFF);
        Paint(white, RECT{0, 0, 4, 4}, "halfred.png");
        return white.Pixel(1, 1);
    }

    TestHost host;
};

int Channel(uint32_t p, int shift) { return static_cast<int>((p >> shift) & 0xFF); }

}  // namespace

TEST_F(ImagePaint, BareNameStretchesTheWholeImageOverTheItem)
{
    Image img = SolidImage(2, 1, kRed);
    img.At(1, 0) = kBlue;
    WritePng("halves.png", img);
    testbed::DibCanvas canvas(40, 20, kBack);
    EXPECT_TRUE(Paint(canvas, RECT{10, 5, 30, 15}, "halves.png"));
    EXPECT_EQ(kBack, canvas.Pixel(9, 10));
    // The smoothing filter runs from pure red at the left edge to pure blue at the right one.
    EXPECT_EQ(Rgb(kRed), Rgb(canvas.Pixel(10, 5)));
    EXPECT_EQ(Rgb(kBlue), Rgb(canvas.Pixel(29, 14)));
    for (int x = 11; x < 30; ++x)
        EXPECT_LE(Channel(canvas.Pixel(x, 10), 16), Channel(canvas.Pixel(x - 1, 10), 16));
    EXPECT_EQ(kBack, canvas.Pixel(30, 10));
    EXPECT_EQ(kBack, canvas.Pixel(20, 15));
}

TEST_F(ImagePaint, SourceIsCutToTheImageAndPicksAPart)
{
    Image img = SolidImage(4, 2, kRed);
    img.At(2, 0) = img.At(3, 0) = img.At(2, 1) = img.At(3, 1) = kGreen;
    img.At(0, 1) = kBlue;
    WritePng("parts.png", img);
    testbed::DibCanvas canvas(8, 4, kBack);
    Paint(canvas, RECT{0, 0, 4, 2}, "file='parts.png' source='0,0,5000,5000'");
    for (int y = 0; y < 2; ++y) {
        for (int x = 0; x < 4; ++x)
            EXPECT_EQ(img.At(x, y), canvas.Pixel(x, y)) << x << "," << y;
    }
    Paint(canvas, RECT{4, 0, 8, 4}, "file='parts.png' source='2,0,4,2'");
    for (int y = 0; y < 4; ++y) {
        for (int x = 4; x < 8; ++x)
            EXPECT_EQ(Rgb(kGreen), Rgb(canvas.Pixel(x, y))) << "only the green part, stretched";
    }
}

TEST_F(ImagePaint, DestIsRelativeToTheItemAndCutToIt)
{
    WritePng("red.png", SolidImage(1, 1, kRed));
    testbed::DibCanvas canvas(220, 170, kBack);
    Paint(canvas, RECT{100, 100, 200, 150}, "file='red.png' dest='10,10,1000,1000'");
    EXPECT_EQ(kBack, canvas.Pixel(109, 110));
    EXPECT_EQ(kBack, canvas.Pixel(110, 109));
    EXPECT_EQ(Rgb(kRed), Rgb(canvas.Pixel(110, 110)));
    EXPECT_EQ(Rgb(kRed), Rgb(canvas.Pixel(199, 149)));
    EXPECT_EQ(kBack, canvas.Pixel(200, 149));
    EXPECT_EQ(kBack, canvas.Pixel(199, 150));

    // The largest numbers do not wrap around when added to the item's corner: still cut to it.
    testbed::DibCanvas distant(220, 170, kBack);
    Paint(distant, RECT{100, 100, 200, 150}, "file='red.png' dest='10,10,2147483647,2147483647'");
    EXPECT_EQ(Rgb(kRed), Rgb(distant.Pixel(110, 110)));
    EXPECT_EQ(Rgb(kRed), Rgb(distant.Pixel(199, 149)));
    EXPECT_EQ(kBack, distant.Pixel(200, 149));
}

namespace {

// 20 x 20: 4 x 4 corners red, green, blue, white; edges cyan (top), magenta (bottom),
// grey (left), yellow (right); the middle dark blue.
Image NineGridImage()
{
    Image img = SolidImage(20, 20, 0xFF000080);
    for (int y = 0; y < 20; ++y) {
        for (int x = 0; x < 20; ++x) {
            const bool l = x < 4, r = x >= 16, t = y < 4, b = y >= 16;
            uint32_t c = 0xFF000080;
            if (t && l)
                c = kRed;
            else if (t && r)
                c = kGreen;
            else if (b && l)
                c = kBlue;
            else if (b && r)
                c = 0xFFFFFFFF;
            else if (t)
                c = 0xFF00FFFF;
            else if (b)
                c = 0xFFFF00FF;
            else if (l)
                c = 0xFF808080;
            else if (r)
                c = 0xFFFFFF00;
            img.At(x, y) = c;
        }
    }
    return img;
}

}  // namespace

TEST_F(ImagePaint, NineGridKeepsCornersAndStretchesEdgesAndMiddle)
{
    WritePng("nine.png", NineGridImage());
    testbed::DibCanvas canvas(100, 40, 0xFF123456);
    Paint(canvas, RECT{0, 0, 100, 40}, "file='nine.png' corner='4,4,4,4'");
    // Corners, 1:1, exactly 4 x 4.
    EXPECT_EQ(Rgb(kRed), Rgb(canvas.Pixel(0, 0)));
    EXPECT_EQ(Rgb(kRed), Rgb(canvas.Pixel(3, 3)));
    EXPECT_EQ(Rgb(kGreen), Rgb(canvas.Pixel(96, 0)));
    EXPECT_EQ(Rgb(kGreen), Rgb(canvas.Pixel(99, 3)));
    EXPECT_EQ(Rgb(kBlue), Rgb(canvas.Pixel(0, 36)));
    EXPECT_EQ(Rgb(kBlue), Rgb(canvas.Pixel(3, 39)));
    EXPECT_EQ(0xFFFFFFu, Rgb(canvas.Pixel(96, 36)));
    EXPECT_EQ(0xFFFFFFu, Rgb(canvas.Pixel(99, 39)));
    // Edges and middle, away from the seams.
    EXPECT_EQ(0x00FFFFu, Rgb(canvas.Pixel(50, 1)));
    EXPECT_EQ(0xFF00FFu, Rgb(canvas.Pixel(50, 38)));
    EXPECT_EQ(0x808080u, Rgb(canvas.Pixel(1, 20)));
    EXPECT_EQ(0xFFFF00u, Rgb(canvas.Pixel(98, 20)));
    EXPECT_EQ(0x000080u, Rgb(canvas.Pixel(50, 20)));

    // With a hole the middle keeps what was there.
    testbed::DibCanvas framed(100, 40, 0xFF123456);
    Paint(framed, RECT{0, 0, 100, 40}, "file='nine.png' corner='4,4,4,4' hole='true'");
    EXPECT_EQ(0, framed.CountNot(0xFF123456, RECT{4, 4, 96, 36}));
    EXPECT_EQ(Rgb(kRed), Rgb(framed.Pixel(0, 0)));
    EXPECT_EQ(0x00FFFFu, Rgb(framed.Pixel(50, 1)));
}

TEST_F(ImagePaint, TilingRepeatsTheMiddle)
{
    Image both = SolidImage(3, 2, kRed);
    both.At(1, 0) = kGreen;
    both.At(2, 0) = kBlue;
    both.At(0, 1) = 0xFFFFFFFF;
    both.At(1, 1) = 0xFF808080;
    both.At(2, 1) = 0xFFFFFF00;
    Image row = SolidImage(3, 1, kRed);
    row.At(1, 0) = kGreen;
    row.At(2, 0) = kBlue;
    Image column = SolidImage(1, 2, kRed);
    column.At(0, 1) = kBlue;

    struct Case {
        const char* file;
        Image* image;
        const char* tiling;
        int width, height;
    };
    const Case cases[] = {
        {"tile.png", &both, "xtiled='true' ytiled='true'", 10, 5},
        {"row.png", &row, "xtiled='true'", 7, 4},
        {"column.png", &column, "ytiled='true'", 3, 5},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        WritePng(c.file, *c.image);
        testbed::DibCanvas canvas(c.width, c.height, kBack);
        const std::string imageString = std::string("file='") + c.file + "' " + c.tiling;
        Paint(canvas, RECT{0, 0, c.width, c.height}, imageString.c_str());
        for (int y = 0; y < c.height; ++y) {
            for (int x = 0; x < c.width; ++x) {
                const uint32_t expected = c.image->At(x % c.image->width, y % c.image->height);
                EXPECT_EQ(Rgb(expected), Rgb(canvas.Pixel(x, y))) << x << "," << y;
            }
        }
    }
}

TEST_F(ImagePaint, FadeMaskAndPartlyTransparentPixels)
{
    WritePng("red.png", SolidImage(1, 1, kRed));
    testbed::DibCanvas canvas(30, 10, kBack);
    Paint(canvas, RECT{0, 0, 10, 10}, "file='red.png' fade='128'");
    EXPECT_NEAR(128, Channel(canvas.Pixel(5, 5), 16), 1);
    EXPECT_EQ(0, Channel(canvas.Pixel(5, 5), 8));
    // fade is taken modulo 256.
    Paint(canvas, RECT{10, 0, 20, 10}, "file='red.png' fade='384'");
    EXPECT_EQ(canvas.Pixel(5, 5), canvas.Pixel(15, 5));

    Image spot = SolidImage(2, 1, kBlue);
    spot.At(1, 0) = 0xFFFF00FF;
    WritePng("spot.png", spot);
    testbed::DibCanvas masked(2, 1, 0xFF101010);
    Paint(masked, RECT{0, 0, 2, 1}, "file='spot.png' mask='#FFFF00FF'");
    EXPECT_EQ(Rgb(kBlue), Rgb(masked.Pixel(0, 0)));
    EXPECT_EQ(0x101010u, Rgb(masked.Pixel(1, 0))) << "magenta is transparent";

    // AlphaBlend: red = 128 + 255 (1 - 128/255) = 255, green = 255 (1 - 128/255) = 127.
    const uint32_t half = HalfRedOverWhite();
    EXPECT_NEAR(255, Channel(half, 16), 1);
    EXPECT_NEAR(127, Channel(half, 8), 1);
}

TEST_F(ImagePaint, OwnBlendMatchesForOpaqueFadesAndIsDarkerForPartlyTransparentPixels)
{
    CRenderKit::UseOwnBlending(true);
    WritePng("red.png", SolidImage(1, 1, kRed));
    testbed::DibCanvas canvas(10, 10, kBack);
    Paint(canvas, RECT{0, 0, 10, 10}, "file='red.png' fade='128'");
    EXPECT_NEAR(128, Channel(canvas.Pixel(5, 5), 16), 1);
    EXPECT_EQ(0u, canvas.Pixel(5, 5) >> 24) << "the own blend leaves alpha 0";

    // a = 128/255: red = 128 a + 255 (1 - a) = 191, green = 255 (1 - a) = 127.
    const uint32_t half = HalfRedOverWhite();
    EXPECT_NEAR(191, Channel(half, 16), 1);
    EXPECT_NEAR(127, Channel(half, 8), 1);
}

TEST_F(ImagePaint, OwnBlendShrinksWithoutMixingPixelsTogether)
{
    CRenderKit::UseOwnBlending(true);
    Image stripes = SolidImage(8, 1, kGreen);
    for (int x = 1; x < 8; x += 2)
        stripes.At(x, 0) = kRed;
    stripes.At(7, 0) = 0x80800000;  // makes the image blend
    WritePng("stripes.png", stripes);
    testbed::DibCanvas canvas(4, 1, kBack);
    Paint(canvas, RECT{0, 0, 4, 1}, "stripes.png");
    for (int x = 0; x < 3; ++x) {
        const uint32_t p = Rgb(canvas.Pixel(x, 0));
        EXPECT_TRUE(p == Rgb(kGreen) || p == Rgb(kRed)) << x << ": " << std::hex << p;
    }
}

TEST_F(ImagePaint, SeveralImagesInOneStringAndTheModifier)
{
    WritePng("a.png", SolidImage(1, 1, kRed));
    WritePng("b.png", SolidImage(1, 1, kBlue));
    testbed::DibCanvas canvas(20, 20, kBack);
    Paint(canvas, RECT{0, 0, 20, 20}, "file='a.png' file='b.png' dest='0,0,10,10'");
    EXPECT_EQ(Rgb(kRed), Rgb(canvas.Pixel(15, 15)));
    EXPECT_EQ(Rgb(kBlue), Rgb(canvas.Pixel(5, 5)));

    // A name in the modifier replaces the pending image without drawing it.
    testbed::DibCanvas modified(20, 20, kBack);
    Paint(modified, RECT{0, 0, 20, 20}, "file='a.png'", "file='b.png' dest='0,0,10,10'");
    EXPECT_EQ(kBack, modified.Pixel(15, 15));
    EXPECT_EQ(Rgb(kBlue), Rgb(modified.Pixel(5, 5)));

    // "restype" after a begun image draws it first; the second draw finds the same entry.
    testbed::DibCanvas twice(10, 10, kBack);
    Paint(twice, RECT{0, 0, 10, 10}, "fade='128' file='a.png' restype='PNG'");
    EXPECT_NEAR(191, Channel(twice.Pixel(5, 5), 16), 2) << "half red blended twice";
}

TEST_F(ImagePaint, PaintRectangleLimitsTheOpaqueCopy)
{
    WritePng("big.png", SolidImage(20, 20, kGreen));
    testbed::DibCanvas canvas(20, 20, kBack);
    EXPECT_TRUE(CRenderKit::PaintImageSpec(canvas.Dc(), &host, RECT{0, 0, 20, 20}, RECT{0, 0, 10, 10}, "big.png"));
    EXPECT_EQ(Rgb(kGreen), Rgb(canvas.Pixel(9, 9)));
    EXPECT_EQ(kBack, canvas.Pixel(10, 10));
    EXPECT_EQ(kBack, canvas.Pixel(15, 2));
}

TEST_F(ImagePaint, MalformedStringsKeepWhatWasParsedAndNeverReadPastTheEnd)
{
    WritePng("a.png", SolidImage(1, 1, kRed));
    const RECT item = {0, 0, 20, 20};
    struct Case {
        const char* image;
        bool drawsAt5;  // red at (5,5)
        bool drawsAt15;  // red at (15,15)
    } cases[] = {
        {"file='a.png' dest='0,0,10", true, true},  // unterminated value: dest ignored
        {"file='a.png' colour='x' dest='0,0,10,10'", true, false},  // unknown key ignored
        {"file='a.png' source='x,y,z,w'", true, true},  // broken numbers read as 0: whole image
        {"file='a.png' dest='a,b'", false, false},  // empty destination
        {"file='a.png' source", true, true},  // key without value ends the string
        {"file='a.png' source='5'", false, false},  // source (5,0,0,0): nothing to copy
        {"file='a.png'dest='0,0,10,10'", true, true},  // no blank after the quote ends the string
        {"file='a.png'\tdest='0,0,10,10'", true, true},  // only a space separates pairs
        {"file='a.png'\n dest='0,0,10,10'", true, true},
        {"file='a.png'  dest='0,0,10,10'", true, false},  // one space, then blanks are skipped
        {"file='a.png' ", true, true},
        {"file=a.png", false, false},  // no quote: the whole text is the name
        {"file='' dest='0,0,10,10'", false, false},  // empty value ignored: name is the text
        {"", false, false},
        {"file='missing.png' source", false, false},
    };
    for (const Case& c : cases) {
        testbed::DibCanvas canvas(20, 20, kBack);
        EXPECT_TRUE(Paint(canvas, item, c.image)) << c.image;
        EXPECT_EQ(c.drawsAt5, Rgb(canvas.Pixel(5, 5)) == Rgb(kRed)) << c.image;
        EXPECT_EQ(c.drawsAt15, Rgb(canvas.Pixel(15, 15)) == Rgb(kRed)) << c.image;
    }
    // The shared list reader stops at the terminator: the bytes after it are not numbers.
    const char guarded[] = "5\0,9,9,9";
    const CRectUI r = ParseRect(guarded);
    EXPECT_EQ(5, r.left);
    EXPECT_EQ(0, r.top);
    EXPECT_EQ(0, r.right);
    EXPECT_EQ(0, r.bottom);
}

TEST_F(ImagePaint, NullArgumentsAndMissingImages)
{
    testbed::DibCanvas canvas(4, 4, kBack);
    const RECT item = {0, 0, 4, 4};
    EXPECT_FALSE(CRenderKit::PaintImageSpec(nullptr, &host, item, item, "a.png"));
    EXPECT_FALSE(CRenderKit::PaintImageSpec(canvas.Dc(), nullptr, item, item, "a.png"));
    EXPECT_TRUE(CRenderKit::PaintImageSpec(canvas.Dc(), &host, item, item, nullptr));
    TImageParams unnamed;
    unnamed.dest = item;
    EXPECT_FALSE(CRenderKit::PaintImageEntry(canvas.Dc(), &host, item, item, unnamed));
    TImageParams missing = unnamed;
    missing.name = "nothing.png";
    EXPECT_FALSE(CRenderKit::PaintImageEntry(canvas.Dc(), &host, item, item, missing));
    const RECT zero = {0, 0, 0, 0};
    CRenderKit::BlitImage(canvas.Dc(), nullptr, item, item, item, zero, false);
    EXPECT_EQ(0, canvas.CountNot(kBack, item));
}
