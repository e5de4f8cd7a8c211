// Loading skin images: premultiplication, the mask colour, where the bytes come from, and files
// that are damaged, empty or lie about their size.
#include <gtest/gtest.h>

#include <zlib.h>

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <memory>
#include <new>

#include "RenderTestSupport.h"
#include "host/ResourceLocation.h"
#include "render/RenderKit.h"

using namespace SkinUI;
using namespace rendertest;

// The largest array allocation seen, to prove a lying size never reaches the allocator.
static std::atomic<size_t> g_largestArray(0);

static void* TrackedArrayNew(size_t n)
{
    size_t seen = g_largestArray.load();
    while (n > seen && !g_largestArray.compare_exchange_weak(seen, n)) { }
    return std::malloc(n != 0 ? n : 1);
}

void* operator new[](size_t n)
{
    void* p = TrackedArrayNew(n);
    if (p == nullptr)
        throw std::bad_alloc();
    return p;
}
void* operator new[](size_t n, const std::nothrow_t&) noexcept { return TrackedArrayNew(n); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete[](void* p, size_t) noexcept { std::free(p); }
void operator delete[](void* p, const std::nothrow_t&) noexcept { std::free(p); }

namespace {

struct Bits {
    std::vector<uint32_t> words;
    uint32_t operator[](size_t i) const { return words[i]; }
};

// Reads the entry's DIB words (0xAARRGGBB, premultiplied, top-down).
Bits ReadBits(const TImageEntry* e)
{
    Bits b;
    DIBSECTION ds = {};
    if (GetObjectA(e->bitmap, sizeof(ds), &ds) != sizeof(ds))
        return b;
    EXPECT_EQ(32, ds.dsBm.bmBitsPixel);
    const uint32_t* p = static_cast<const uint32_t*>(ds.dsBm.bmBits);
    b.words.assign(p, p + static_cast<size_t>(e->width) * e->height);
    return b;
}

struct EntryDeleter {
    void operator()(TImageEntry* e) const { CRenderKit::ReleaseSkinImage(e); }
};
using EntryPtr = std::unique_ptr<TImageEntry, EntryDeleter>;

EntryPtr Load(const std::string& name, DWORD mask = 0)
{
    return EntryPtr(CRenderKit::LoadSkinImage(name.c_str(), nullptr, mask));
}

void Put16(std::vector<unsigned char>& v, uint32_t x)
{
    v.push_back(x & 0xFF);
    v.push_back((x >> 8) & 0xFF);
}
void Put32(std::vector<unsigned char>& v, uint32_t x)
{
    Put16(v, x & 0xFFFF);
    Put16(v, x >> 16);
}

// A zip of stored entries; `claimedSize` (when non-zero) replaces the sizes written for the first.
std::vector<unsigned char> MakeZip(
    const std::vector<std::pair<std::string, std::vector<unsigned char>>>& entries, uint32_t claimedSize = 0)
{
    std::vector<unsigned char> zip, dir;
    for (size_t i = 0; i < entries.size(); ++i) {
        const std::string& name = entries[i].first;
        const std::vector<unsigned char>& data = entries[i].second;
        const uint32_t crc = static_cast<uint32_t>(crc32(0L, data.data(), static_cast<uInt>(data.size())));
        const uint32_t size = (i == 0 && claimedSize != 0) ? claimedSize : static_cast<uint32_t>(data.size());
        const uint32_t offset = static_cast<uint32_t>(zip.size());
        Put32(zip, 0x04034b50);
        Put16(zip, 20);
        Put16(zip, 0);
        Put16(zip, 0);
        Put32(zip, 0);
        Put32(zip, crc);
        Put32(zip, size);
        Put32(zip, size);
        Put16(zip, static_cast<uint32_t>(name.size()));
        Put16(zip, 0);
        zip.insert(zip.end(), name.begin(), name.end());
        zip.insert(zip.end(), data.begin(), data.end());
        Put32(dir, 0x02014b50);
        Put16(dir, 20);
        Put16(dir, 20);
        Put16(dir, 0);
        Put16(dir, 0);
        Put32(dir, 0);
        Put32(dir, crc);
        Put32(dir, size);
        Put32(dir, size);
        Put16(dir, static_cast<uint32_t>(name.size()));
        Put16(dir, 0);
        Put16(dir, 0);
        Put16(dir, 0);
        Put16(dir, 0);
        Put32(dir, 0);
        Put32(dir, offset);
        dir.insert(dir.end(), name.begin(), name.end());
    }
    const uint32_t dirOffset = static_cast<uint32_t>(zip.size());
    zip.insert(zip.end(), dir.begin(), dir.end());
    Put32(zip, 0x06054b50);
    Put16(zip, 0);
    Put16(zip, 0);
    Put16(zip, static_cast<uint32_t>(entries.size()));
    Put16(zip, static_cast<uint32_t>(entries.size()));
    Put32(zip, static_cast<uint32_t>(dir.size()));
    Put32(zip, dirOffset);
    Put16(zip, 0);
    return zip;
}

void PutBig32(std::vector<unsigned char>& v, uint32_t x)
{
    for (int shift = 24; shift >= 0; shift -= 8)
        v.push_back(static_cast<unsigned char>(x >> shift));
}

void PutChunk(std::vector<unsigned char>& png, const char* type, const std::vector<unsigned char>& data)
{
    PutBig32(png, static_cast<uint32_t>(data.size()));
    std::vector<unsigned char> body(type, type + 4);
    body.insert(body.end(), data.begin(), data.end());
    png.insert(png.end(), body.begin(), body.end());
    PutBig32(png, static_cast<uint32_t>(crc32(0L, body.data(), static_cast<uInt>(body.size()))));
}

// A complete, valid black PNG of one bit per pixel: a few kilobytes for any size.
std::vector<unsigned char> BlackBitmapPng(uint32_t width, uint32_t height)
{
    std::vector<unsigned char> png = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    std::vector<unsigned char> header;
    PutBig32(header, width);
    PutBig32(header, height);
    header.insert(header.end(), {1, 0, 0, 0, 0});  // 1 bit grey, deflate, no filter, no interlace
    PutChunk(png, "IHDR", header);
    const std::vector<unsigned char> raw(static_cast<size_t>(height) * (1 + (width + 7) / 8), 0);
    uLongf packedSize = compressBound(static_cast<uLong>(raw.size()));
    std::vector<unsigned char> packed(packedSize);
    compress(packed.data(), &packedSize, raw.data(), static_cast<uLong>(raw.size()));
    packed.resize(packedSize);
    PutChunk(png, "IDAT", packed);
    PutChunk(png, "IEND", {});
    return png;
}

// Serves a zip from memory as the process's skin archive for one test.
class ArchiveScope {
public:
    explicit ArchiveScope(std::vector<unsigned char> zip)
        : m_zip(std::move(zip))
    {
        CResourceLocation::SetSkinArchiveMemory(m_zip.data(), static_cast<uint32_t>(m_zip.size()));
    }
    ~ArchiveScope() { CResourceLocation::CloseSkinArchive(); }

private:
    std::vector<unsigned char> m_zip;
};

}  // namespace

TEST(ImageLoad, PremultipliesPartlyTransparentPixelsAndCopiesOpaqueOnes)
{
    Image img = SolidImage(4, 1, 0xFF112233);
    img.At(1, 0) = 0x80804020;  // R 128, G 64, B 32, alpha 128
    img.At(2, 0) = 0x00FFFFFF;  // fully transparent white
    img.At(3, 0) = 0xFFFF00FF;
    EntryPtr e = Load(WritePng("premul.png", img));
    ASSERT_TRUE(e);
    EXPECT_EQ(4, e->width);
    EXPECT_EQ(1, e->height);
    EXPECT_TRUE(e->hasAlpha);
    Bits b = ReadBits(e.get());
    ASSERT_EQ(4u, b.words.size());
    EXPECT_EQ(0xFF112233u, b[0]);
    EXPECT_EQ(0x80402010u, b[1]) << "blue 16, green 32, red 64, alpha 128";
    EXPECT_EQ(0x00000000u, b[2]);
    EXPECT_EQ(0xFFFF00FFu, b[3]);
}

TEST(ImageLoad, OpaqueImagesHaveNoAlphaUnlessTheMaskRemovesAPixel)
{
    Image img = SolidImage(3, 2, 0xFF00FF00);
    img.At(2, 1) = 0xFFFF00FF;
    const std::string name = WritePng("opaque.png", img);
    EntryPtr plain = Load(name);
    ASSERT_TRUE(plain);
    EXPECT_FALSE(plain->hasAlpha);

    EntryPtr masked = Load(name, 0xFFFF00FF);
    ASSERT_TRUE(masked);
    EXPECT_TRUE(masked->hasAlpha);
    Bits b = ReadBits(masked.get());
    EXPECT_EQ(0u, b[5]) << "the magenta pixel is removed";
    EXPECT_EQ(0xFF00FF00u, b[0]);

    // The mask is compared after premultiplication: a half-transparent magenta stays.
    Image half = SolidImage(1, 1, 0x80FF00FF);
    EntryPtr kept = Load(WritePng("halfmagenta.png", half), 0xFFFF00FF);
    ASSERT_TRUE(kept);
    EXPECT_EQ(0x80800080u, ReadBits(kept.get())[0]);
}

TEST(ImageLoad, TheRealSkinImagesLoad)
{
    EntryPtr bk(CRenderKit::LoadSkinImage((SkinResourceFolder() + "bk.jpg").c_str(), nullptr, 0));
    ASSERT_TRUE(bk) << "JPEG";
    EXPECT_FALSE(bk->hasAlpha);
    EXPECT_GT(bk->width, 0);
    EntryPtr btn(CRenderKit::LoadSkinImage((SkinResourceFolder() + "btn.png").c_str(), nullptr, 0));
    ASSERT_TRUE(btn);
    EntryPtr close(CRenderKit::LoadSkinImage((SkinResourceFolder() + "btnClose.png").c_str(), nullptr, 0));
    ASSERT_TRUE(close);
}

TEST(ImageLoad, DamagedEmptyAndMissingFilesGiveNoImage)
{
    const std::vector<unsigned char> good = EncodePng(SolidImage(16, 16, 0xFF808080));
    std::vector<unsigned char> truncated(good.begin(), good.begin() + good.size() / 2);
    WriteFile(ScratchFolder() + "truncated.png", truncated);
    std::vector<unsigned char> corrupt = good;
    for (size_t i = 40; i < corrupt.size() - 12; ++i)
        corrupt[i] ^= 0x5A;
    WriteFile(ScratchFolder() + "corrupt.png", corrupt);
    WriteFile(ScratchFolder() + "empty.png", {});
    WriteFile(ScratchFolder() + "text.jpg", {'h', 'e', 'l', 'l', 'o'});
    // A JPEG cut inside its header.
    WriteFile(ScratchFolder() + "cut.jpg", {0xFF, 0xD8, 0xFF, 0xE0, 0x00, 0x10, 'J', 'F', 'I', 'F'});
    // A PNG header claiming a zero-width image.
    std::vector<unsigned char> zeroWidth = EncodePng(SolidImage(1, 1, 0xFF000000));
    zeroWidth[16] = zeroWidth[17] = zeroWidth[18] = zeroWidth[19] = 0;
    WriteFile(ScratchFolder() + "zero.png", zeroWidth);

    for (const char* name :
        {"truncated.png", "corrupt.png", "empty.png", "text.jpg", "cut.jpg", "zero.png", "no-such-file.png"}) {
        EXPECT_FALSE(Load(name)) << name;
    }
    EXPECT_EQ(nullptr, CRenderKit::LoadSkinImage(nullptr, nullptr, 0));
}

TEST(ImageLoad, MissingResourceGivesNoImageAndNoFallback)
{
    // A file of the same name exists, but a resource type means resources only.
    WritePng("104", SolidImage(2, 2, 0xFF000000));
    EXPECT_EQ(nullptr, CRenderKit::LoadSkinImage(MAKEINTRESOURCEA(104), "PNG", 0));
    EXPECT_EQ(nullptr, CRenderKit::LoadSkinImage("104", "PNG", 0));
}

TEST(ImageLoad, ArchiveEntriesAndThePlainPathFallback)
{
    const std::vector<unsigned char> inZip = EncodePng(SolidImage(2, 3, 0xFF0000FF));
    ArchiveScope archive(MakeZip({{"skin/inzip.png", inZip}}));
    EntryPtr e = Load("skin\\inzip.png");
    ASSERT_TRUE(e) << "found in the archive";
    EXPECT_EQ(3, e->height);

    // Absent from the archive: the name as a plain path (here absolute) still works.
    const std::string outside = ScratchFolder() + "outside.png";
    WriteFile(outside, EncodePng(SolidImage(5, 1, 0xFF00FF00)));
    EntryPtr f = Load(outside);
    ASSERT_TRUE(f);
    EXPECT_EQ(5, f->width);
}

TEST(ImageLoad, ArchiveVariantsAreChosenForTheDpi)
{
    // In an archive a missing variant is an absent entry: the next larger one stands in. A variant
    // whose entry is damaged (CRC) is no picture: the 1x entry stands in, not a larger variant.
    std::vector<unsigned char> damaged = EncodePng(SolidImage(15, 15, 0xFF00FF00));
    std::vector<unsigned char> zip = MakeZip({{"skin/a.png", EncodePng(SolidImage(10, 10, 0xFFFF0000))},
        {"skin/a@2x.png", EncodePng(SolidImage(20, 20, 0xFF0000FF))}, {"skin/a@1.25x.png", damaged},
        {"skin/a@3x.png", EncodePng(SolidImage(30, 30, 0xFF0000FF))}});
    // Flip a byte of the 1.25x entry's data, after its CRC was taken.
    const std::string marker = "skin/a@1.25x.png";
    const size_t at = std::search(zip.begin(), zip.end(), marker.begin(), marker.end()) - zip.begin() + marker.size();
    zip[at + 20] ^= 0xFF;
    ArchiveScope archive(std::move(zip));
    const struct {
        int dpi;
        int scale;
        int width;
    } cases[] = {
        {96, 100, 10}, {120, 100, 10}, {144, 200, 20}, {192, 200, 20}, {240, 300, 30}, {288, 300, 30}, {384, 100, 10}};
    for (const auto& c : cases) {
        EntryPtr e(CRenderKit::LoadSkinImage("skin/a.png", nullptr, 0, SIZE(), c.dpi));
        ASSERT_TRUE(e) << c.dpi;
        EXPECT_EQ(c.scale, e->scale) << c.dpi;
        EXPECT_EQ(c.width, e->width) << c.dpi;
    }
}

TEST(ImageLoad, EntryClaimingFourGigabytesIsRefusedBeforeAllocation)
{
    const std::vector<unsigned char> png = EncodePng(SolidImage(2, 2, 0xFF000000));
    ArchiveScope archive(MakeZip({{"huge.png", png}}, 0xFFFFFFF0u));
    g_largestArray = 0;
    EXPECT_FALSE(Load("huge.png"));
    EXPECT_LT(g_largestArray.load(), static_cast<size_t>(kSkinImageMaxBytes) + 1);
}

TEST(ImageLoad, DecodedSizeIsCappedWhateverTheFileSize)
{
    struct TCase {
        uint32_t width;
        uint32_t height;
        bool loads;
    };
    // The cap is 8192 x 8192 pixels; one more column is past it, whatever the shape.
    const TCase cases[] = {{2000, 3000, true}, {8193, 8192, false}, {20000, 20000, false}, {70000, 1000, false}};
    for (const TCase& c : cases) {
        const std::string name = "declared" + std::to_string(c.width) + "x" + std::to_string(c.height) + ".png";
        ASSERT_TRUE(WriteFile(ScratchFolder() + name, BlackBitmapPng(c.width, c.height)));
        EntryPtr e = Load(ScratchFolder() + name);
        EXPECT_EQ(c.loads, static_cast<bool>(e)) << name;
        if (e) {
            EXPECT_EQ(static_cast<int>(c.width), e->width);
        }
    }
    // A top-down bitmap declares a negative height; it is measured by its size all the same.
    std::vector<unsigned char> bmp(58, 0);
    const unsigned char header[] = {
        'B', 'M', 58, 0, 0, 0, 0, 0, 0, 0, 54, 0, 0, 0, 40, 0, 0, 0, 1, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF, 1, 0, 24, 0};
    std::copy(std::begin(header), std::end(header), bmp.begin());
    WriteFile(ScratchFolder() + "topdown.bmp", bmp);
    EXPECT_TRUE(Load(ScratchFolder() + "topdown.bmp")) << "1 x -1";
}
