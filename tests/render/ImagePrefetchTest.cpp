// A prefetched image is decoded on a worker thread; whatever the worker made, the entry the host
// hands out must be the one a load on first use would give, and a host that goes away first must
// wait for its worker and free what it made.
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

}  // namespace

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
