// Opaque images drawn stretched are rescaled once and then copied: the copy must give exactly the
// pixels a direct stretch gives, follow the size it is drawn at, and go away with the image. A large
// image drawn shrunk keeps only its copies, is decoded again when another draw needs it, and is kept
// whole from then on.
#include <gtest/gtest.h>

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

// Large enough that only its shrunk copies are kept once drawn.
const char* LargeImage()
{
    Image img = SolidImage(640, 480, 0xFF000000);
    for (int y = 0; y < 480; ++y) {
        for (int x = 0; x < 640; ++x)
            img.At(x, y) = 0xFF000000u | (x & 0xFFu) << 16 | (y & 0xFFu) << 8 | ((x ^ y) & 0xFFu);
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
            int differing = 0;
            for (int y = 0; y < 700; y += 3) {
                for (int x = 0; x < 900; x += 3)
                    differing += Rgb(direct.Pixel(x, y)) != Rgb(drawn.Pixel(x, y)) ? 1 : 0;
            }
            EXPECT_EQ(0, differing);
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
