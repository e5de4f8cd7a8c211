// JPEG pictures decode reduced to the least size that still covers the size they are drawn at, and
// only then; hostile files (cut short, no size, absurd sizes, not JPEG at all) fail before anything
// their size is allocated. A picture decoded reduced draws like the whole one shrunk, and whatever
// needs the whole picture gets it decoded again.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "RenderTestSupport.h"
#include "render/JpegDecode.h"
#include "render/RenderKit.h"

#include "jpeglib.h"

using namespace SkinUI;
using namespace rendertest;

namespace {

// A width x height baseline JPEG of a smooth gradient (so scaling shows as small differences only),
// in the given colour space (3 components, or 4 for CMYK); at most 2500 pixels along both edges.
std::vector<unsigned char> EncodeJpeg(int width, int height, J_COLOR_SPACE space = JCS_RGB)
{
    jpeg_compress_struct cinfo;
    jpeg_error_mgr error;
    cinfo.err = jpeg_std_error(&error);
    jpeg_create_compress(&cinfo);
    unsigned char* out = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&cinfo, &out, &size);
    const int components = space == JCS_CMYK ? 4 : 3;
    cinfo.image_width = static_cast<JDIMENSION>(width);
    cinfo.image_height = static_cast<JDIMENSION>(height);
    cinfo.input_components = components;
    cinfo.in_color_space = space;
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, 95, TRUE);
    jpeg_start_compress(&cinfo, TRUE);
    std::vector<unsigned char> row(static_cast<size_t>(width) * components);
    while (cinfo.next_scanline < cinfo.image_height) {
        const int y = static_cast<int>(cinfo.next_scanline);
        for (int x = 0; x < width; ++x) {
            for (int c = 0; c < components; ++c)
                row[static_cast<size_t>(x) * components + c] = static_cast<unsigned char>((x + y + c * 60) / 10);
        }
        JSAMPROW rows = row.data();
        jpeg_write_scanlines(&cinfo, &rows, 1);
    }
    jpeg_finish_compress(&cinfo);
    std::vector<unsigned char> bytes(out, out + size);
    jpeg_destroy_compress(&cinfo);
    std::free(out);
    return bytes;
}

// The frame header's height and width (two bytes each, big-endian) replaced.
std::vector<unsigned char> WithDeclaredSize(std::vector<unsigned char> bytes, int width, int height)
{
    for (size_t i = 0; i + 9 < bytes.size(); ++i) {
        if (bytes[i] == 0xFF && bytes[i + 1] == 0xC0) {
            bytes[i + 5] = static_cast<unsigned char>(height >> 8);
            bytes[i + 6] = static_cast<unsigned char>(height & 0xFF);
            bytes[i + 7] = static_cast<unsigned char>(width >> 8);
            bytes[i + 8] = static_cast<unsigned char>(width & 0xFF);
            break;
        }
    }
    return bytes;
}

std::vector<unsigned char> FirstBytes(const std::vector<unsigned char>& bytes, size_t count)
{
    return std::vector<unsigned char>(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(count));
}

}  // namespace

TEST(JpegDecode, ReducesToTheLeastSizeCoveringTheDrawnSize)
{
    struct {
        int width, height, drawWidth, drawHeight, expected;
    } cases[] = {
        {1017, 1316, 360, 543, 2},  // the shipped background in its window: 509 x 658
        {1017, 1316, 540, 815, 1},  // at 150 %: half would be 509 wide, too narrow
        {1017, 1316, 128, 165, 8},  // eighths round up: 128 x 165 exactly
        {1017, 1316, 128, 166, 4},  // one pixel taller than an eighth gives
        {1017, 1316, 509, 658, 2}, {1017, 1316, 510, 100, 1},  // too wide for half, however short
        {100, 100, 200, 200, 1},  // drawn enlarged
        {1017, 1316, 0, 0, 1},  // drawn size unknown
        {1017, 1316, 360, 0, 1}, {1017, 1316, -5, -5, 1},
        {1, 1, 1, 1, 8},  // a single pixel stays one at every reduction
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.width << "x" << c.height << " at " << c.drawWidth << "x" << c.drawHeight);
        EXPECT_EQ(c.expected, JpegReduction(c.width, c.height, c.drawWidth, c.drawHeight));
    }
}

TEST(JpegDecode, DecodesReducedOnlyWhenDrawnSmallAndRefusesHostileFiles)
{
    const std::vector<unsigned char> picture = EncodeJpeg(200, 120);
    const std::vector<unsigned char> truncated = FirstBytes(picture, picture.size() / 2);
    struct {
        const char* what;
        std::vector<unsigned char> bytes;
        size_t maxPixels;
        int drawWidth, drawHeight;
        JpegResult result;
        int width, height, reduction;
    } cases[] = {
        {"whole", picture, 1u << 20, 0, 0, JpegResult::Decoded, 200, 120, 1},
        {"drawn at a quarter", picture, 1u << 20, 50, 30, JpegResult::Decoded, 50, 30, 4},
        {"drawn a bit larger than a quarter", picture, 1u << 20, 51, 30, JpegResult::Decoded, 100, 60, 2},
        {"drawn enlarged", picture, 1u << 20, 400, 240, JpegResult::Decoded, 200, 120, 1},
        // The limit is on the whole picture, whatever it is drawn at.
        {"larger than allowed", picture, 200 * 120 - 1, 25, 15, JpegResult::Failed, 0, 0, 1},
        {"absurd declared size", WithDeclaredSize(picture, 65000, 65000), 64u << 20, 0, 0, JpegResult::Failed, 0, 0, 1},
        {"zero width", WithDeclaredSize(picture, 0, 120), 64u << 20, 0, 0, JpegResult::Failed, 0, 0, 1},
        {"zero height", WithDeclaredSize(picture, 200, 0), 64u << 20, 0, 0, JpegResult::Failed, 0, 0, 1},
        {"cut in half", truncated, 1u << 20, 0, 0, JpegResult::Failed, 0, 0, 1},
        {"cut in half, reduced", truncated, 1u << 20, 50, 30, JpegResult::Failed, 0, 0, 1},
        {"start marker only", FirstBytes(picture, 3), 1u << 20, 0, 0, JpegResult::Failed, 0, 0, 1},
        {"empty", {}, 1u << 20, 0, 0, JpegResult::Failed, 0, 0, 1},
        {"not a JPEG", {0x89, 'P', 'N', 'G', 0, 0, 0, 0}, 1u << 20, 0, 0, JpegResult::Failed, 0, 0, 1},
        {"CMYK, left to the other decoder", EncodeJpeg(40, 30, JCS_CMYK), 1u << 20, 0, 0, JpegResult::Unsupported, 0, 0,
            1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        TJpegImage image;
        EXPECT_EQ(c.result, DecodeJpeg(c.bytes.data(), c.bytes.size(), c.maxPixels, c.drawWidth, c.drawHeight, image));
        EXPECT_EQ(c.width, image.width);
        EXPECT_EQ(c.height, image.height);
        EXPECT_EQ(c.reduction, image.reduction);
        EXPECT_EQ(c.result == JpegResult::Decoded, image.pixels != nullptr);
        if (image.pixels == nullptr)
            continue;
        EXPECT_EQ(200, image.fullWidth);
        EXPECT_EQ(120, image.fullHeight);
        // Opaque, in the byte order of the bitmaps, with the gradient's colour where it starts: red 0,
        // green 6, blue 12.
        EXPECT_EQ(0xFFu, image.pixels[0] >> 24);
        EXPECT_NEAR(0, static_cast<int>(image.pixels[0] >> 16 & 0xFF), 3);
        EXPECT_NEAR(6, static_cast<int>(image.pixels[0] >> 8 & 0xFF), 3);
        EXPECT_NEAR(12, static_cast<int>(image.pixels[0] & 0xFF), 3);
        std::free(image.pixels);
    }
}

TEST(JpegDecode, ALargePictureDrawnShrunkDecodesReducedAndIsDecodedWholeWhenNeeded)
{
    const std::string name = "reduced-large.jpg";
    ASSERT_TRUE(WriteFile(ScratchFolder() + name, EncodeJpeg(1017, 1316)));
    TestHost reference;
    TImageEntry* whole = reference.FindOrLoadImage(name.c_str(), nullptr, 0);
    ASSERT_NE(whole, nullptr);
    ASSERT_EQ(1, whole->reduction);
    const RECT window = {0, 0, 360, 543};
    testbed::DibCanvas direct(360, 543, 0);
    CRenderKit::BlitImage(direct.Dc(), whole->bitmap, window, window, RECT{0, 0, 1017, 1316}, RECT(), false);

    // Prefetched for the window it is drawn over, or loaded by its first paint.
    for (bool prefetched : {true, false}) {
        SCOPED_TRACE(prefetched);
        TestHost host;
        if (prefetched)
            host.PrefetchImage(name.c_str(), 0, SIZE{360, 543});
        TImageEntry* entry = host.FindOrLoadImage(
            name.c_str(), nullptr, 0, CHostResources::ImageUse::ScaledCopiesSuffice, SIZE{360, 543});
        ASSERT_NE(entry, nullptr);
        if (prefetched) {
            // The worker has already shrunk what it decoded and let go of it, as the first paint does.
            EXPECT_EQ(nullptr, entry->pixels);
        } else {
            EXPECT_NE(nullptr, entry->pixels);
            EXPECT_EQ(2, entry->reduction);
        }
        EXPECT_EQ(nullptr, entry->bitmap);
        EXPECT_EQ(1017, entry->width) << "sizes stay those of the whole picture";
        EXPECT_EQ(1316, entry->height);

        testbed::DibCanvas drawn(360, 543, 0);
        ASSERT_TRUE(CRenderKit::PaintImageSpec(drawn.Dc(), &host, window, window, name.c_str()));
        // Shrunk from half the pixels rather than all: the same picture within a few levels.
        EXPECT_EQ(0, CountApart(direct, drawn, window, 3, 6));

        // Drawn larger than the reduced pixels, then by a caller of the bitmap: the whole picture.
        testbed::DibCanvas larger(600, 800, 0);
        ASSERT_TRUE(
            CRenderKit::PaintImageSpec(larger.Dc(), &host, RECT{0, 0, 600, 800}, RECT{0, 0, 600, 800}, name.c_str()));
        TImageEntry* full = host.FindOrLoadImage(name.c_str(), nullptr, 0);
        ASSERT_NE(full, nullptr);
        ASSERT_NE(nullptr, full->bitmap);
        EXPECT_EQ(1, full->reduction);
        BITMAP info = {};
        ASSERT_NE(0, ::GetObjectA(full->bitmap, sizeof(info), &info));
        EXPECT_EQ(1017, info.bmWidth);
        EXPECT_EQ(1316, info.bmHeight);
    }
}

TEST(JpegDecode, AReducedPictureNeverBecomesTheFullBitmap)
{
    const std::string name = "reduced-bitmap.jpg";
    ASSERT_TRUE(WriteFile(ScratchFolder() + name, EncodeJpeg(800, 600)));
    TestHost host;
    host.PrefetchImage(name.c_str(), 0, SIZE{100, 75});
    TImageEntry* entry = host.FindOrLoadImage(name.c_str(), nullptr, 0);
    ASSERT_NE(entry, nullptr);
    ASSERT_NE(nullptr, entry->bitmap);
    BITMAP info = {};
    ASSERT_NE(0, ::GetObjectA(entry->bitmap, sizeof(info), &info));
    EXPECT_EQ(800, info.bmWidth);
    EXPECT_EQ(600, info.bmHeight);
    EXPECT_EQ(nullptr, entry->pixels);
    EXPECT_EQ(1, entry->reduction);
}
