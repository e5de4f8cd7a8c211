// Pictures for higher display scales: which file a window's DPI picks, how image strings address a
// variant's pixels, and loading every entry again after a DPI change.
#include <gtest/gtest.h>

#include "RenderTestSupport.h"
#include "render/ImageVariant.h"
#include "render/RenderKit.h"

using namespace SkinUI;
using namespace rendertest;

namespace {

const uint32_t kBack = 0xFF000000;
const uint32_t kRed = 0xFFFF0000;
const uint32_t kBlue = 0xFF0000FF;
const uint32_t kGreen = 0xFF00FF00;
const uint32_t kYellow = 0xFFFFFF00;

// Bytes no decoder takes for a picture.
void WriteGarbage(const std::string& name)
{
    WriteFile(ScratchFolder() + name, std::vector<unsigned char>{0x89, 'P', 'N', 'G', 1, 2, 3, 4, 5});
}

// A left-red, right-blue picture of 2 x 1 units at `factor` pixels a unit; `left`/`right` colours
// tell the files apart.
void WriteHalves(const std::string& name, int factor, uint32_t left, uint32_t right)
{
    Image img = SolidImage(2 * factor, factor, left);
    for (int y = 0; y < factor; ++y) {
        for (int x = factor; x < 2 * factor; ++x)
            img.At(x, y) = right;
    }
    WritePng(name, img);
}

// A 3 x 3 unit nine-grid at `factor` pixels a unit: a one-unit border of `frame` around `middle`.
void WriteFrame(const std::string& name, int factor, uint32_t frame, uint32_t middle)
{
    Image img = SolidImage(3 * factor, 3 * factor, frame);
    for (int y = factor; y < 2 * factor; ++y) {
        for (int x = factor; x < 2 * factor; ++x)
            img.At(x, y) = middle;
    }
    WritePng(name, img);
}

}  // namespace

TEST(ImageVariant, NamesCarryTheFactorBeforeTheExtensionAndStayInsideTheSkin)
{
    const std::string tooLong = std::string(MAX_PATH - 3, 'a') + ".png";
    struct Case {
        const char* name;
        int percent;
        const char* expected;  // null: no variant for this name
    } cases[] = {
        {"btn.png", 200, "btn@2x.png"},
        {"btn.png", 150, "btn@1.5x.png"},
        {"btn.png", 125, "btn@1.25x.png"},
        {"bk.jpg", 300, "bk@3x.jpg"},
        {"skin/btn.png", 200, "skin/btn@2x.png"},
        {"dir.v2\\name", 200, "dir.v2\\name@2x"},  // a dot in a folder is no extension
        {"a.b.png", 200, "a.b@2x.png"},
        {"a/..b.png", 200, "a/..b@2x.png"},  // a name starting with two dots is still a name
        {tooLong.c_str(), 200, nullptr},
        {"", 200, nullptr},
        {"/abs.png", 200, nullptr},
        {"\\\\server\\share\\x.png", 200, nullptr},
        {"C:x.png", 200, nullptr},
        {"x.png:stream", 200, nullptr},
        {"a/../b.png", 200, nullptr},
        {"..\\b.png", 200, nullptr},
        {"a\\..", 200, nullptr},
        {"a/./b.png", 200, nullptr},  // dots and spaces only: the system trims them to "here" or "up"
        {"a/. ./b.png", 200, nullptr},
        {"dir/", 200, nullptr},
        {".png", 200, nullptr},
    };
    for (const Case& c : cases) {
        CUIString out("left over");
        const bool made = ImageVariantName(c.name, c.percent, out);
        EXPECT_EQ(c.expected != nullptr, made) << c.name;
        EXPECT_STREQ(c.expected != nullptr ? c.expected : "", out.GetData()) << c.name;
    }
}

TEST(ImageVariant, Cp936TrailByteIsNoSeparator)
{
    ASSERT_EQ(936u, GetACP());
    CUIString out;
    ASSERT_TRUE(ImageVariantName("\x81\x5C.png", 200, out));
    EXPECT_STREQ("\x81\x5C@2x.png", out.GetData());
}

TEST(ImageVariant, TheNearestVariantAtOrAboveTheScaleIsChosenElseThe1xPicture)
{
    // "v" has 1x, 1.5x and 2x; "only" has 1x alone; "bad" has a 2x that does not decode; "bad15"
    // has a 1.5x that does not decode beside a good 2x.
    WritePng("v.png", SolidImage(10, 10, kRed));
    WritePng("v@1.5x.png", SolidImage(15, 15, kGreen));
    WritePng("v@2x.png", SolidImage(20, 20, kBlue));
    WritePng("only.png", SolidImage(10, 10, kRed));
    WritePng("bad.png", SolidImage(10, 10, kRed));
    WriteGarbage("bad@2x.png");
    WritePng("bad15.png", SolidImage(10, 10, kRed));
    WriteGarbage("bad15@1.5x.png");
    WritePng("bad15@2x.png", SolidImage(20, 20, kBlue));
    struct Case {
        const char* name;
        int dpi;
        int scale;  // expected TImageEntry::scale
        int width;  // expected pixels of the file chosen
    } cases[] = {
        {"v.png", 96, 100, 10},  // scale 1: the 1x file, no look-up
        {"v.png", 72, 100, 10},
        {"v.png", 120, 150, 15},  // 1.25: no @1.25x, the next one up
        {"v.png", 144, 150, 15},  // 1.5
        {"v.png", 168, 200, 20},  // 1.75: no @1.75x
        {"v.png", 192, 200, 20},  // 2
        {"v.png", 200, 100, 10},  // just above 2: nothing at or above, the 1x file scaled
        {"v.png", 288, 100, 10},  // 3
        {"only.png", 192, 100, 10},
        {"bad.png", 192, 100, 10},  // a variant that does not decode falls back to 1x
        {"bad15.png", 144, 100, 10},  // ... and not to a larger variant
        {"bad15.png", 192, 200, 20},
    };
    for (const Case& c : cases) {
        TestHost host;
        host.SetDpi(c.dpi);
        const TImageEntry* entry = host.FindOrLoadImage(c.name, nullptr, 0);
        ASSERT_NE(nullptr, entry) << c.name << " at " << c.dpi;
        EXPECT_EQ(c.scale, entry->scale) << c.name << " at " << c.dpi;
        EXPECT_EQ(c.width, entry->width) << c.name << " at " << c.dpi;
        EXPECT_EQ(c.dpi, entry->loadedDpi) << c.name << " at " << c.dpi;

        TestHost prefetching;  // the background's worker chooses alike
        prefetching.SetDpi(c.dpi);
        prefetching.PrefetchImage(c.name, 0);
        const TImageEntry* prefetched = prefetching.FindOrLoadImage(c.name, nullptr, 0);
        ASSERT_NE(nullptr, prefetched) << c.name << " at " << c.dpi;
        EXPECT_EQ(c.scale, prefetched->scale) << c.name << " at " << c.dpi << " prefetched";
        EXPECT_EQ(c.width, prefetched->width) << c.name << " at " << c.dpi << " prefetched";
    }
}

TEST(ImageVariant, ResourceImagesAndPlainPathsGetNoVariant)
{
    // A plain path outside the skin folder is read as a last resort, but never searched for variants.
    const std::string outside = ScratchFolder() + "sub\\";
    CreateDirectoryA(outside.c_str(), nullptr);
    WriteFile(outside + "p.png", EncodePng(SolidImage(10, 10, kRed)));
    WriteFile(outside + "p@2x.png", EncodePng(SolidImage(20, 20, kBlue)));
    TestHost host;
    host.SetDpi(192);
    const TImageEntry* entry = host.FindOrLoadImage((outside + "p.png").c_str(), nullptr, 0);
    ASSERT_NE(nullptr, entry);
    EXPECT_EQ(100, entry->scale);
    EXPECT_EQ(10, entry->width);
    DeleteFileA((outside + "p.png").c_str());
    DeleteFileA((outside + "p@2x.png").c_str());
    RemoveDirectoryA(outside.c_str());
}

TEST(ImageVariant, SourceRectanglesAndCornersAreUnitsOfThe1xPicture)
{
    WriteHalves("s.png", 1, kRed, kBlue);
    WriteHalves("s@2x.png", 2, kGreen, kYellow);
    WriteFrame("f.png", 1, kRed, kBlue);
    WriteFrame("f@2x.png", 2, kGreen, kYellow);
    WriteFrame("g.png", 1, kRed, kBlue);  // no variant: the 1x picture scaled
    struct Case {
        const char* what;
        int dpi;
        RECT item;
        const char* image;
        POINT at;
        uint32_t expected;
    } cases[] = {
        // The right unit of "s" on a 2 x 2 item: the variant's right half, unscaled.
        {"variant source", 192, {0, 0, 2, 2}, "file='s.png' source='1,0,2,1'", {0, 0}, kYellow},
        {"variant source", 192, {0, 0, 2, 2}, "file='s.png' source='1,0,2,1'", {1, 1}, kYellow},
        {"variant source", 192, {0, 0, 2, 2}, "file='s.png' source='0,0,1,1'", {1, 1}, kGreen},
        {"1x source", 96, {0, 0, 2, 2}, "file='s.png' source='1,0,2,1'", {1, 1}, kBlue},
        // Corner 1 unit: 2 pixels on the screen at 192, from the variant's 2-pixel border.
        {"variant corner", 192, {0, 0, 12, 12}, "file='f.png' corner='1,1,1,1'", {1, 1}, kGreen},
        {"variant corner", 192, {0, 0, 12, 12}, "file='f.png' corner='1,1,1,1'", {2, 2}, kYellow},
        {"variant corner", 192, {0, 0, 12, 12}, "file='f.png' corner='1,1,1,1'", {9, 9}, kYellow},
        {"variant corner", 192, {0, 0, 12, 12}, "file='f.png' corner='1,1,1,1'", {10, 10}, kGreen},
        {"variant corner", 192, {0, 0, 12, 12}, "file='f.png' corner='1,1,1,1'", {11, 6}, kGreen},
        // The same from the 1x picture: its 1-pixel border grows to 2 on the screen.
        {"1x corner", 192, {0, 0, 12, 12}, "file='g.png' corner='1,1,1,1'", {1, 1}, kRed},
        {"1x corner", 192, {0, 0, 12, 12}, "file='g.png' corner='1,1,1,1'", {2, 2}, kBlue},
        {"1x corner", 192, {0, 0, 12, 12}, "file='g.png' corner='1,1,1,1'", {10, 1}, kRed},
        {"1x corner", 96, {0, 0, 12, 12}, "file='g.png' corner='1,1,1,1'", {1, 1}, kBlue},
        // dest offsets scale with the window: 2..4 units are pixels 4..8 at 192.
        {"dest", 192, {0, 0, 12, 12}, "file='g.png' dest='2,2,4,4'", {3, 3}, kBack},
        {"dest", 192, {0, 0, 12, 12}, "file='g.png' dest='2,2,4,4'", {4, 4}, kRed},
        {"dest", 192, {0, 0, 12, 12}, "file='g.png' dest='2,2,4,4'", {7, 7}, kRed},
        {"dest", 192, {0, 0, 12, 12}, "file='g.png' dest='2,2,4,4'", {8, 8}, kBack},
        {"dest", 96, {0, 0, 12, 12}, "file='g.png' dest='2,2,4,4'", {4, 4}, kBack},
    };
    for (const Case& c : cases) {
        TestHost host;
        host.SetDpi(c.dpi);
        testbed::DibCanvas canvas(12, 12, kBack);
        ASSERT_TRUE(CRenderKit::PaintImageSpec(canvas.Dc(), &host, c.item, c.item, c.image));
        EXPECT_EQ(Rgb(c.expected), Rgb(canvas.Pixel(c.at.x, c.at.y)))
            << c.what << " at " << c.dpi << ": " << c.image << " pixel " << c.at.x << "," << c.at.y;
    }
}

TEST(ImageVariant, TiledMiddlesRepeatAtTheScreenSizeOfATile)
{
    // A 3 x 1 unit tile (red, red, blue) tiled across 8 units: at 192 a tile spans 6 pixels, from
    // the 1x picture (stretched) and from the variant alike; drawn 1:1 it would repeat every 3.
    Image tile = SolidImage(3, 1, kRed);
    tile.At(2, 0) = kBlue;
    WritePng("t.png", tile);
    WritePng("u.png", tile);
    Image variant = SolidImage(6, 2, kRed);
    for (int y = 0; y < 2; ++y) {
        variant.At(4, y) = kBlue;
        variant.At(5, y) = kBlue;
    }
    WritePng("u@2x.png", variant);
    const struct {
        int x;
        uint32_t expected;
    } probes[] = {{0, kRed}, {2, kRed}, {5, kBlue}, {6, kRed}, {8, kRed}, {11, kBlue}};
    for (const char* image : {"file='t.png' xtiled='true'", "file='u.png' xtiled='true'"}) {
        TestHost host;
        host.SetDpi(192);
        testbed::DibCanvas canvas(16, 2, kBack);
        const RECT item = {0, 0, 16, 2};
        ASSERT_TRUE(CRenderKit::PaintImageSpec(canvas.Dc(), &host, item, item, image));
        for (const auto& p : probes)
            EXPECT_EQ(Rgb(p.expected), Rgb(canvas.Pixel(p.x, 1))) << image << " x " << p.x;
    }
}

TEST(ImageVariant, ReloadForANewDpiChoosesAgainInPlace)
{
    WritePng("r.png", SolidImage(10, 10, kRed));
    WritePng("r@2x.png", SolidImage(20, 20, kBlue));
    WritePng("bkr.png", SolidImage(10, 10, kRed));
    WritePng("bkr@2x.png", SolidImage(20, 20, kBlue));
    TestHost host;
    TImageEntry* entry = host.AddImageEntry("r.png", nullptr, 0xFF123456);
    ASSERT_NE(nullptr, entry);
    host.PrefetchImage("bkr.png", 0);  // made for 96: no longer fits once the DPI changed

    struct Step {
        int dpi;
        int scale;
        int width;
    } steps[] = {{192, 200, 20}, {96, 100, 10}, {144, 200, 20}, {288, 100, 10}, {192, 200, 20}};
    for (const Step& s : steps) {
        host.SetDpi(s.dpi);
        host.ReloadImagesForDpi();
        EXPECT_EQ(entry, host.FindOrLoadImage("r.png", nullptr, 0)) << "entries stay where they are";
        EXPECT_EQ(s.scale, entry->scale) << s.dpi;
        EXPECT_EQ(s.width, entry->width) << s.dpi;
        EXPECT_EQ(0xFF123456u, entry->mask) << "the mask it was registered with stays";
        const TImageEntry* background = host.FindOrLoadImage("bkr.png", nullptr, 0);
        ASSERT_NE(nullptr, background);
        EXPECT_EQ(s.width, background->width) << s.dpi;
    }

    // Drawn after the change, the picture of the new scale shows.
    testbed::DibCanvas canvas(4, 4, kBack);
    host.SetDpi(96);
    host.ReloadImagesForDpi();
    const RECT item = {0, 0, 4, 4};
    CRenderKit::PaintImageSpec(canvas.Dc(), &host, item, item, "r.png");
    EXPECT_EQ(Rgb(kRed), Rgb(canvas.Pixel(2, 2)));
    host.SetDpi(192);
    host.ReloadImagesForDpi();
    CRenderKit::PaintImageSpec(canvas.Dc(), &host, item, item, "r.png");
    EXPECT_EQ(Rgb(kBlue), Rgb(canvas.Pixel(2, 2)));

    // Files gone: the entry keeps what it had rather than losing the picture.
    DeleteFileA((ScratchFolder() + "r.png").c_str());
    DeleteFileA((ScratchFolder() + "r@2x.png").c_str());
    host.SetDpi(96);
    host.ReloadImagesForDpi();
    EXPECT_EQ(entry, host.FindOrLoadImage("r.png", nullptr, 0));
    EXPECT_EQ(20, entry->width);
    EXPECT_EQ(200, entry->scale);
}
