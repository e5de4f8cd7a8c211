// Opaque images drawn stretched are rescaled once and then copied: the copy of a bitmap must give
// exactly the pixels a direct stretch gives (pixels held in memory are resampled instead, within a few
// levels), follow the size it is drawn at, and go away with the image. A large image drawn shrunk
// keeps only its copies, is decoded again when another draw needs it, and is kept whole from then on.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>

#include "RenderTestSupport.h"
#include "render/RenderKit.h"

using namespace SkinUI;
using namespace rendertest;

namespace {

// Seven by five pixels of different colours, so any filter difference shows.
const char* GradientImage()
{
    Image img = SolidImage(7, 5, 0xFF000000);
    for (int y = 0; y < 5; ++y) {
        for (int x = 0; x < 7; ++x)
            img.At(x, y) = 0xFF000000u | (x * 36u) << 16 | (y * 60u) << 8 | ((x * y * 13u) & 0xFF);
    }
    WritePng("scaled-gradient.png", img);
    return "scaled-gradient.png";
}

// Large enough that only its shrunk copies are kept once drawn; smooth, so that pixels resampled
// rather than stretched come out within a few levels of the stretch, and a wrong part or size does not.
const char* LargeImage()
{
    Image img = SolidImage(640, 480, 0xFF000000);
    for (int y = 0; y < 480; ++y) {
        for (int x = 0; x < 640; ++x)
            img.At(x, y) = 0xFF000000u | (x * 255u / 639u) << 16 | (y * 255u / 479u) << 8 | ((x + y) * 255u / 1118u);
    }
    WritePng("scaled-large.png", img);
    return "scaled-large.png";
}

int UsedSlots(const TImageEntry& entry)
{
    int used = 0;
    for (const TScaledCopy& copy : entry.scaled)
        used += copy.bitmap != nullptr ? 1 : 0;
    return used;
}

}  // namespace

TEST(ScaledCopy, GivesTheSamePixelsAsADirectStretch)
{
    const char* name = GradientImage();
    struct {
        RECT dest;
        RECT paint;
    } cases[] = {
        {{3, 2, 53, 33}, {0, 0, 64, 40}},  // enlarged by a ratio that is no whole number
        {{0, 0, 3, 2}, {0, 0, 64, 40}},  // shrunk
        {{5, 4, 45, 38}, {10, 9, 30, 20}},  // only part of it damaged
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.dest.right);
        TestHost host;
        TImageEntry* entry = host.FindOrLoadImage(name, nullptr, 0);
        ASSERT_NE(entry, nullptr);
        const RECT source = {0, 0, entry->width, entry->height};
        testbed::DibCanvas direct(64, 40, 0xFF102030);
        CRenderKit::BlitImage(direct.Dc(), entry->bitmap, c.dest, c.paint, source, RECT(), false);
        // Twice: the first paint makes the copy, the second draws from it.
        for (int round = 0; round < 2; ++round) {
            testbed::DibCanvas cached(64, 40, 0xFF102030);
            ASSERT_TRUE(CRenderKit::PaintImageSpec(cached.Dc(), &host, c.dest, c.paint, name));
            int differing = 0;
            RECT inside;
            IntersectRect(&inside, &c.dest, &c.paint);
            for (int y = inside.top; y < inside.bottom; ++y) {
                for (int x = inside.left; x < inside.right; ++x)
                    differing += Rgb(direct.Pixel(x, y)) != Rgb(cached.Pixel(x, y)) ? 1 : 0;
            }
            EXPECT_EQ(0, differing) << "round " << round;
            EXPECT_EQ(1, UsedSlots(*entry));
        }
    }
}

TEST(ScaledCopy, PixelsInMemoryAreResampledFromThePartDrawnAtTheSizeDrawn)
{
    // Red climbs with x, green with y, blue is flat: every filter keeps a ramp a ramp, so each pixel
    // of a copy can be told from where in the source it should come from.
    Image img = SolidImage(64, 48, 0xFF000000);
    for (int y = 0; y < 48; ++y) {
        for (int x = 0; x < 64; ++x)
            img.At(x, y) = 0xFF000040u | (x * 4u + 2u) << 16 | (y * 5u + 2u) << 8;
    }
    const std::string name = WritePng("scaled-ramps.png", img);
    struct {
        const char* what;
        RECT dest;
        RECT source;  // all zero: the whole image
    } cases[] = {
        {"shrunk", {0, 0, 32, 24}, {}},
        {"enlarged", {0, 0, 100, 70}, {}},
        {"narrower only", {0, 0, 20, 48}, {}},
        {"taller only", {0, 0, 64, 90}, {}},
        {"part of it, shrunk", {5, 3, 21, 15}, {16, 12, 48, 36}},
        {"part of it, enlarged", {0, 0, 90, 50}, {40, 30, 64, 48}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        TestHost host;
        host.PrefetchImage(name.c_str(), 0);  // held as pixels, not as a bitmap
        const TImageEntry* entry
            = host.FindOrLoadImage(name.c_str(), nullptr, 0, CHostResources::ImageUse::ScaledCopiesSuffice);
        ASSERT_NE(entry, nullptr);
        ASSERT_NE(nullptr, entry->pixels);
        const bool whole = c.source.right == 0;
        const RECT source = whole ? RECT{0, 0, 64, 48} : c.source;
        const std::string imageText = whole
            ? name
            : "file='" + name + "' source='" + std::to_string(source.left) + "," + std::to_string(source.top) + ","
                + std::to_string(source.right) + "," + std::to_string(source.bottom) + "'";
        testbed::DibCanvas canvas(110, 100, 0xFF000000);
        ASSERT_TRUE(CRenderKit::PaintImageSpec(canvas.Dc(), &host, c.dest, RECT{0, 0, 110, 100}, imageText.c_str()));
        EXPECT_EQ(1, UsedSlots(*entry)) << "drawn from a copy";
        EXPECT_NE(nullptr, entry->pixels) << "a small image keeps its pixels";
        const int w = c.dest.right - c.dest.left;
        const int h = c.dest.bottom - c.dest.top;
        int wrong = 0;
        for (int y = 0; y < h; ++y) {
            for (int x = 0; x < w; ++x) {
                // The source point under the pixel's centre, inside the part drawn.
                const double u = std::min(std::max(source.left + (x + 0.5) * (source.right - source.left) / w - 0.5,
                                              static_cast<double>(source.left)),
                    source.right - 1.0);
                const double v = std::min(std::max(source.top + (y + 0.5) * (source.bottom - source.top) / h - 0.5,
                                              static_cast<double>(source.top)),
                    source.bottom - 1.0);
                const uint32_t p = canvas.Pixel(c.dest.left + x, c.dest.top + y);
                wrong += std::abs(static_cast<int>(p >> 16 & 0xFF) - (u * 4 + 2)) > 3
                    || std::abs(static_cast<int>(p >> 8 & 0xFF) - (v * 5 + 2)) > 3 || (p & 0xFF) != 0x40;
            }
        }
        EXPECT_EQ(0, wrong);
        EXPECT_EQ(0u, Rgb(canvas.Pixel(c.dest.right, c.dest.bottom))) << "nothing outside the destination";
    }
}

TEST(ScaledCopy, APartReachingOutsideThePixelsInMemoryIsStretchedDirectlyInstead)
{
    const char* name = GradientImage();
    TestHost loaded;
    const TImageEntry* bitmap = loaded.FindOrLoadImage(name, nullptr, 0);
    ASSERT_NE(bitmap, nullptr);
    for (const RECT source : {RECT{-3, -2, 5, 4}, RECT{1, -1, 7, 5}}) {
        SCOPED_TRACE(testing::Message() << source.left << "," << source.top);
        const RECT dest = {2, 2, 50, 30};
        testbed::DibCanvas direct(64, 40, 0xFF102030);
        CRenderKit::BlitImage(direct.Dc(), bitmap->bitmap, dest, RECT{0, 0, 64, 40}, source, RECT(), false);
        TestHost prefetching;
        prefetching.PrefetchImage(name, 0);  // held as pixels, not as a bitmap
        const std::string imageText = std::string("file='") + name + "' source='" + std::to_string(source.left) + ","
            + std::to_string(source.top) + "," + std::to_string(source.right) + "," + std::to_string(source.bottom)
            + "'";
        testbed::DibCanvas drawn(64, 40, 0xFF102030);
        ASSERT_TRUE(CRenderKit::PaintImageSpec(drawn.Dc(), &prefetching, dest, RECT{0, 0, 64, 40}, imageText.c_str()));
        EXPECT_EQ(0, CountApart(direct, drawn, RECT{0, 0, 64, 40}, 1, 0));
    }
}

TEST(ScaledCopy, KeepsTheLatestSizesAndSkipsUnscaledAndHugeDraws)
{
    const char* name = GradientImage();
    TestHost host;
    TImageEntry* entry = host.FindOrLoadImage(name, nullptr, 0);
    ASSERT_NE(entry, nullptr);
    testbed::DibCanvas canvas(64, 64, 0);
    auto paint = [&](const RECT& dest) {
        return CRenderKit::PaintImageSpec(canvas.Dc(), &host, dest, RECT{0, 0, 64, 64}, name);
    };

    ASSERT_TRUE(paint(RECT{0, 0, 7, 5}));  // its own size: nothing to keep
    EXPECT_EQ(0, UsedSlots(*entry));
    paint(RECT{0, 0, 10, 10});
    const HBITMAP first = entry->scaled[0].bitmap;
    paint(RECT{0, 0, 20, 10});
    paint(RECT{0, 0, 10, 10});
    EXPECT_EQ(first, entry->scaled[0].bitmap) << "a size drawn again reuses its copy";
    paint(RECT{0, 0, 30, 10});
    EXPECT_EQ(TImageEntry::kScaledCopies, UsedSlots(*entry));
    paint(RECT{0, 0, 40, 10});  // the least recently drawn size (20 x 10) makes room
    bool has20 = false, has10 = false;
    for (const TScaledCopy& copy : entry->scaled) {
        has20 = has20 || copy.width == 20;
        has10 = has10 || copy.width == 10;
    }
    EXPECT_FALSE(has20);
    EXPECT_TRUE(has10);

    // A stretch over thousands of pixels each way is drawn directly rather than kept.
    paint(RECT{0, 0, 5000, 5000});
    for (const TScaledCopy& copy : entry->scaled)
        EXPECT_NE(5000, copy.width);
}

TEST(ScaledCopy, AreFreedWithTheirImage)
{
    const char* name = GradientImage();
    const DWORD before = ::GetGuiResources(::GetCurrentProcess(), GR_GDIOBJECTS);
    {
        TestHost host;
        testbed::DibCanvas canvas(64, 64, 0);
        for (int width = 10; width < 16; ++width)
            CRenderKit::PaintImageSpec(canvas.Dc(), &host, RECT{0, 0, width, 9}, RECT{0, 0, 64, 64}, name);
    }
    EXPECT_EQ(before, ::GetGuiResources(::GetCurrentProcess(), GR_GDIOBJECTS));
}

TEST(ScaledCopy, ALargeImageDrawnShrunkKeepsOnlyItsCopiesUntilItIsDecodedAgain)
{
    const char* name = LargeImage();
    TestHost reference;
    TImageEntry* full = reference.FindOrLoadImage(name, nullptr, 0);
    ASSERT_NE(full, nullptr);
    struct {
        RECT dest;
        RECT source;  // all zero: the whole image
        bool keepsFullImage;
    } draws[] = {
        {{0, 0, 150, 100}, {10, 20, 410, 320}, false},  // part of it shrunk: only the copy stays
        {{0, 0, 200, 150}, {}, true},  // all of it: decoded again, and kept for the sizes to come
        {{0, 0, 333, 251}, {}, true},  // another size: shrunk from what was kept
        {{10, 10, 650, 490}, {}, true},  // its own size needs the full bitmap
        {{0, 0, 900, 700}, {}, true},  // enlarged: the copy is larger than the image
    };
    // Loaded on first use (a bitmap) or prefetched (pixels in memory until a bitmap is needed).
    for (bool prefetched : {false, true}) {
        TestHost host;
        if (prefetched)
            host.PrefetchImage(name, 0);
        for (const auto& d : draws) {
            SCOPED_TRACE(testing::Message() << prefetched << " " << d.dest.right);
            const bool whole = d.source.right == 0;
            const RECT source = whole ? RECT{0, 0, 640, 480} : d.source;
            testbed::DibCanvas direct(900, 700, 0xFF102030);
            CRenderKit::BlitImage(direct.Dc(), full->bitmap, d.dest, RECT{0, 0, 900, 700}, source, RECT(), false);
            const std::string imageText
                = whole ? std::string(name) : "file='" + std::string(name) + "' source='10,20,410,320'";
            testbed::DibCanvas drawn(900, 700, 0xFF102030);
            ASSERT_TRUE(CRenderKit::PaintImageSpec(drawn.Dc(), &host, d.dest, RECT{0, 0, 900, 700}, imageText.c_str()));
            // The prefetched pixels make the first copy by resampling; every later one is a stretch
            // of the bitmap decoded again.
            const int tolerance = prefetched && &d == &draws[0] ? 2 : 0;
            EXPECT_EQ(0, CountApart(direct, drawn, RECT{0, 0, 900, 700}, 3, tolerance));
            const TImageEntry* entry
                = host.FindOrLoadImage(name, nullptr, 0, CHostResources::ImageUse::ScaledCopiesSuffice);
            ASSERT_NE(entry, nullptr);
            EXPECT_EQ(d.keepsFullImage, entry->bitmap != nullptr || entry->pixels != nullptr);
            EXPECT_EQ(640, entry->width);
        }
        testbed::DibCanvas small(64, 64, 0);
        CRenderKit::PaintImageSpec(small.Dc(), &host, RECT{0, 0, 20, 20}, RECT{0, 0, 64, 64}, name);
        EXPECT_NE(nullptr, host.FindOrLoadImage(name, nullptr, 0)->bitmap) << "callers of the full bitmap get it back";
    }
}
