// Loading the shipped background picture against the pipeline it is made of: the same file read,
// the same decoder's pixels (libjpeg-turbo for a JPEG, else stb_image to RGBA and premultiplied)
// copied into a 32 bpp top-down DIB section. Then the load for the window's size (a JPEG decoded
// reduced) against a whole stb_image decode.
#include <windows.h>

#include <vector>

#include "bench/BenchClock.h"
#include "bench/BenchPaths.h"
#include "host/ResourceLocation.h"
#include "render/JpegDecode.h"
#include "render/RenderKit.h"
#include "stb_image.h"

#include <cstdlib>
#include <cstring>

namespace {

HBITMAP NewDib(int width, int height, DWORD** out)
{
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HBITMAP bitmap = ::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    *out = static_cast<DWORD*>(bits);
    return bitmap;
}

HBITMAP DecodeToDib(const SkinUI::TSkinFileBytes& bytes)
{
    SkinUI::TJpegImage jpeg;
    if (SkinUI::DecodeJpeg(bytes.data.get(), bytes.size, SkinUI::kSkinImageMaxPixels, 0, 0, jpeg)
        == SkinUI::JpegResult::Decoded) {
        DWORD* out = nullptr;
        HBITMAP bitmap = NewDib(jpeg.width, jpeg.height, &out);
        if (out != nullptr)
            std::memcpy(out, jpeg.pixels, static_cast<size_t>(jpeg.width) * static_cast<size_t>(jpeg.height) * 4);
        std::free(jpeg.pixels);
        return bitmap;
    }
    int width = 0, height = 0, channels = 0;
    unsigned char* rgba
        = stbi_load_from_memory(bytes.data.get(), static_cast<int>(bytes.size), &width, &height, &channels, 4);
    if (rgba == nullptr)
        return nullptr;
    DWORD* out = nullptr;
    HBITMAP bitmap = NewDib(width, height, &out);
    const size_t count = static_cast<size_t>(width) * static_cast<size_t>(height);
    for (size_t i = 0; out != nullptr && i < count; ++i) {
        const unsigned char* p = rgba + i * 4;
        const DWORD a = p[3];
        out[i] = (a << 24) | (p[0] * a / 255) << 16 | (p[1] * a / 255) << 8 | (p[2] * a / 255);
    }
    stbi_image_free(rgba);
    return bitmap;
}

}  // namespace

int main(int argc, char** argv)
{
    const bench::TOptions options = bench::ParseOptions(argc, argv);
    SkinUI::CResourceLocation::SetResourceFolder((bench::SourceFolder() + "resources\\").c_str());
    const char* name = options.quick ? "btn.png" : "bk.jpg";
    // In turn, so a change in the machine's load touches both alike.
    std::vector<double> ours, reference;
    for (int i = 0; i < options.runs; ++i) {
        ours.push_back(bench::Measure(1, [&] {
            SkinUI::CRenderKit::ReleaseSkinImage(SkinUI::CRenderKit::LoadSkinImage(name, nullptr, 0));
        }).minUs);
        reference.push_back(bench::Measure(1, [&] {
            SkinUI::TSkinFileBytes bytes;
            SkinUI::CResourceLocation::ReadSkinFile(name, nullptr, SkinUI::kSkinImageMaxBytes, true, bytes);
            ::DeleteObject(DecodeToDib(bytes));
        }).minUs);
    }
    bench::Print("image load background", "ours", bench::Summarize(ours));
    bench::Print("image load background", "decoder+premultiply+DIB", bench::Summarize(reference));

    // As the window loads it: for the size it is drawn at, against the whole decode it replaced.
    const SIZE window = {360, 543};
    std::vector<double> drawnSize, wholeStb;
    for (int i = 0; i < options.runs; ++i) {
        drawnSize.push_back(bench::Measure(1, [&] {
            SkinUI::CRenderKit::ReleaseSkinImage(SkinUI::CRenderKit::LoadSkinImage(name, nullptr, 0, window));
        }).minUs);
        wholeStb.push_back(bench::Measure(1, [&] {
            SkinUI::TSkinFileBytes bytes;
            SkinUI::CResourceLocation::ReadSkinFile(name, nullptr, SkinUI::kSkinImageMaxBytes, true, bytes);
            int width = 0, height = 0, channels = 0;
            stbi_image_free(
                stbi_load_from_memory(bytes.data.get(), static_cast<int>(bytes.size), &width, &height, &channels, 4));
        }).minUs);
    }
    bench::Print("image load for window", "ours", bench::Summarize(drawnSize));
    bench::Print("image load for window", "stb_image whole", bench::Summarize(wholeStb));
    return 0;
}
