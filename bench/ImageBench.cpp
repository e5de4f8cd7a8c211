// Loading the shipped background picture against the pipeline it is made of: the same file read,
// stb_image decode to RGBA, premultiplication into a 32 bpp top-down DIB section.
#include <windows.h>

#include <vector>

#include "bench/BenchClock.h"
#include "bench/BenchPaths.h"
#include "host/ResourceLocation.h"
#include "render/RenderKit.h"
#include "stb_image.h"

namespace {

HBITMAP DecodeToDib(const SkinUI::TSkinFileBytes& bytes)
{
    int width = 0, height = 0, channels = 0;
    unsigned char* rgba
        = stbi_load_from_memory(bytes.data.get(), static_cast<int>(bytes.size), &width, &height, &channels, 4);
    if (rgba == nullptr)
        return nullptr;
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HBITMAP bitmap = ::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    DWORD* out = static_cast<DWORD*>(bits);
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
    bench::Print("image load background", "stb_image+premultiply+DIB", bench::Summarize(reference));
    return 0;
}
