// A prefetched image is decoded on a worker thread; whatever the worker made, the entry the host
// hands out must be the one a load on first use would give, and a host that goes away first must
// wait for its worker and free what it made. A background prefetched for the size it is drawn at
// comes with its shrunk copy made, and paints as one loaded by its first paint.
#include <gtest/gtest.h>

#include <vector>

#include "RenderTestSupport.h"
#include "render/RenderKit.h"

using namespace SkinUI;
using namespace rendertest;

namespace {

std::vector<DWORD> BitsOf(const TImageEntry* entry)
{
    DIBSECTION dib = {};
    if (entry == nullptr || GetObjectA(entry->bitmap, sizeof(dib), &dib) != sizeof(dib))
        return {};
    const DWORD* words = static_cast<const DWORD*>(dib.dsBm.bmBits);
    return std::vector<DWORD>(words, words + static_cast<size_t>(dib.dsBm.bmWidth) * dib.dsBm.bmHeight);
}

// Two colours, one of which a mask can remove.
std::string TwoColourImage()
{
    Image img = SolidImage(40, 30, 0xFF204080);
    for (int x = 0; x < 40; ++x)
        img.At(x, 7) = 0xFFFF00FF;
    return WritePng("prefetch-two-colours.png", img);
}

// Large enough that only its shrunk copies are kept once drawn; smooth, so that its pixels resampled
// come out within a few levels of its bitmap stretched, and a wrong part or size does not.
// Translucent where `alpha` is set.
std::string PatternImage(const char* name, bool alpha)
{
    Image img = SolidImage(700, 900, 0xFF000000);
    for (int y = 0; y < 900; ++y) {
        for (int x = 0; x < 700; ++x)
            img.At(x, y) = 0xFF000000u | (x * 255u / 699u) << 16 | (y * 255u / 899u) << 8 | ((x + y) * 255u / 1598u);
    }
    img.At(3, 4) = 0xFFFF00FF;  // what the mask of the masked case removes
    if (alpha)
        img.At(10, 10) = 0x80402010;
    return WritePng(name, img);
}

HBITMAP CopyOfSize(const TImageEntry& entry, SIZE size)
{
    for (const TScaledCopy& copy : entry.scaled) {
        if (copy.bitmap != nullptr && copy.width == size.cx && copy.height == size.cy)
            return copy.bitmap;
    }
    return nullptr;
}

}  // namespace

TEST(ImagePrefetch, ABackgroundComesWithTheCopyItsFirstPaintDrawsAndPaintsTheSame)
{
    const std::string opaque = PatternImage("prefetch-opaque.png", false);
    const std::string translucent = PatternImage("prefetch-alpha.png", true);
    const SIZE drawn = {360, 543};
    struct {
        const char* what;
        std::string image;  // image string of the paint
        const char* name;
        DWORD mask;
        SIZE prefetchedFor;
        SIZE settledAt;  // the window shown at this size before the paint; 0 x 0 not
        bool copyReady;  // the paint finds the copy it draws made by the worker
    } cases[] = {
        {"opaque, for the size painted", opaque, opaque.c_str(), 0, drawn, SIZE{}, true},
        {"opaque, for another size, taken at the size painted", opaque, opaque.c_str(), 0, SIZE{300, 400}, SIZE{},
            true},
        {"opaque, for another size, settled at the size painted", opaque, opaque.c_str(), 0, SIZE{300, 400}, drawn,
            true},
        {"opaque, size unknown when prefetched", opaque, opaque.c_str(), 0, SIZE{}, SIZE{}, true},
        {"translucent", translucent, translucent.c_str(), 0, drawn, SIZE{}, false},
        {"masked", "file='" + opaque + "' mask='#FFFF00FF'", opaque.c_str(), 0xFFFF00FF, drawn, SIZE{}, false},
    };
    const RECT window = {0, 0, drawn.cx, drawn.cy};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        TestHost plain;
        testbed::DibCanvas expected(drawn.cx, drawn.cy, 0xFF102030);
        ASSERT_TRUE(CRenderKit::PaintImageSpec(expected.Dc(), &plain, window, window, c.image.c_str()));
        const TImageEntry* loaded
            = plain.FindOrLoadImage(c.name, nullptr, c.mask, CHostResources::ImageUse::ScaledCopiesSuffice);
        ASSERT_NE(loaded, nullptr);

        TestHost prefetching;
        prefetching.PrefetchImage(c.name, c.mask, c.prefetchedFor);
        if (c.settledAt.cx > 0)
            prefetching.SettlePrefetch(c.name, c.settledAt);
        const TImageEntry* entry = prefetching.FindOrLoadImage(
            c.name, nullptr, c.mask, CHostResources::ImageUse::ScaledCopiesSuffice, drawn);
        ASSERT_NE(entry, nullptr);
        const HBITMAP ready = CopyOfSize(*entry, drawn);
        EXPECT_EQ(c.copyReady, ready != nullptr);
        for (const TScaledCopy& copy : entry->scaled)
            EXPECT_TRUE(copy.bitmap == nullptr || copy.bitmap == ready) << "no copy of a size nothing draws";
        testbed::DibCanvas painted(drawn.cx, drawn.cy, 0xFF102030);
        ASSERT_TRUE(CRenderKit::PaintImageSpec(painted.Dc(), &prefetching, window, window, c.image.c_str()));

        // A copy of the worker's pixels is resampled, the first paint's of its bitmap stretched: the
        // two differ by a few levels, but for around the one pixel in the mask's colour.
        EXPECT_LE(CountApart(expected, painted, window, 1, c.copyReady ? 2 : 0), c.copyReady ? 1 : 0);
        if (ready != nullptr) {
            EXPECT_EQ(ready, CopyOfSize(*entry, drawn)) << "drawn from the worker's copy, not one made again";
        }
        EXPECT_EQ(loaded->bitmap == nullptr, entry->bitmap == nullptr) << "keeps what a first paint keeps";
        EXPECT_EQ(loaded->pixels == nullptr, entry->pixels == nullptr);
    }
}

TEST(ImagePrefetch, GivesWhatALoadOnFirstUseGives)
{
    const std::string image = TwoColourImage();
    WriteFile(ScratchFolder() + "prefetch-broken.png", {0x89, 'P', 'N', 'G', 1, 2, 3});
    struct {
        const char* name;
        DWORD prefetchMask;
        DWORD useMask;  // a different mask at use: the worker's decode is not the one asked for
    } cases[] = {
        {image.c_str(), 0, 0},
        {image.c_str(), 0xFFFF00FF, 0xFFFF00FF},
        {image.c_str(), 0, 0xFFFF00FF},
        {"prefetch-missing.png", 0, 0},
        {"prefetch-broken.png", 0, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.name << " " << c.prefetchMask << " " << c.useMask);
        TestHost plain;
        const TImageEntry* expected = plain.FindOrLoadImage(c.name, nullptr, c.useMask);
        TestHost prefetching;
        prefetching.PrefetchImage(c.name, c.prefetchMask);
        const TImageEntry* entry = prefetching.FindOrLoadImage(c.name, nullptr, c.useMask);
        ASSERT_EQ(expected == nullptr, entry == nullptr);
        if (entry == nullptr)
            continue;
        EXPECT_EQ(expected->hasAlpha, entry->hasAlpha);
        EXPECT_EQ(c.useMask, entry->mask);
        EXPECT_EQ(BitsOf(expected), BitsOf(entry));
        EXPECT_EQ(entry, prefetching.FindOrLoadImage(c.name, nullptr, 0)) << "one entry per name";
    }
}

TEST(ImagePrefetch, AHostGoneBeforeUseWaitsForItsWorkerAndFreesItsWork)
{
    const std::string image = WritePng("prefetch-large.png", SolidImage(900, 700, 0xFF336699));
    const DWORD before = ::GetGuiResources(::GetCurrentProcess(), GR_GDIOBJECTS);
    for (int round = 0; round < 3; ++round) {
        TestHost host;
        host.PrefetchImage(image.c_str(), 0);
        host.PrefetchImage(image.c_str(), 0);  // a second request for the name starts nothing
    }
    EXPECT_EQ(before, ::GetGuiResources(::GetCurrentProcess(), GR_GDIOBJECTS));
}
