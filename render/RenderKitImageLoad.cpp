// Image loading: skin file bytes -> stb_image RGBA -> premultiplied top-down BGRA DIB section.
#include "render/RenderKit.h"

#include <cstdlib>

#include "host/ResourceLocation.h"
#include "render/RenderDetail.h"
#include "stb_image.h"

namespace SkinUI {

namespace {

// stb_image's buffer, freed on every path.
struct TDecoded {
    unsigned char* pixels = nullptr;
    ~TDecoded() { if (pixels != nullptr) stbi_image_free(pixels); }
};

}  // namespace

TImageEntry* CRenderKit::LoadSkinImage(LPCSTR name, LPCSTR resType, DWORD mask)
{
    if (name == nullptr) return nullptr;
    TSkinFileBytes bytes;
    if (CResourceLocation::ReadSkinFile(name, resType, kSkinImageMaxBytes, true, bytes) != SkinFileStatus::Found) {
        return nullptr;
    }
    return DecodeSkinImage(bytes, mask);
}

TImageEntry* CRenderKit::DecodeSkinImage(TSkinFileBytes& bytes, DWORD mask)
{
    // ReadSkinFile keeps sizes within INT_MAX, which is what stb_image's length can carry.
    if (bytes.data == nullptr || bytes.size == 0 || bytes.size > 0x7FFFFFFFu) return nullptr;

    int width = 0;
    int height = 0;
    int channels = 0;
    // The header's size decides what decoding would allocate; ask before decoding anything. A
    // top-down BMP reports its height negative here.
    if (!stbi_info_from_memory(bytes.data.get(), static_cast<int>(bytes.size), &width, &height, &channels)) {
        return nullptr;
    }
    const unsigned long long declared = static_cast<unsigned long long>(std::llabs(static_cast<long long>(width)))
        * static_cast<unsigned long long>(std::llabs(static_cast<long long>(height)));
    if (declared == 0 || declared > kSkinImageMaxPixels)
        return nullptr;
    TDecoded decoded;
    decoded.pixels = stbi_load_from_memory(bytes.data.get(), static_cast<int>(bytes.size), &width, &height,
                                           &channels, 4);
    // The file's bytes go before the bitmap is made, so the two never add up.
    bytes.data.reset();
    bytes.size = 0;
    if (decoded.pixels == nullptr || width <= 0 || height <= 0) return nullptr;

    DWORD* bits = nullptr;
    HBITMAP bitmap = render_detail::CreateDib32(width, height, &bits);
    if (bitmap == nullptr) return nullptr;

    bool alpha = false;
    const size_t count = static_cast<size_t>(width) * static_cast<size_t>(height);
    const unsigned char* src = decoded.pixels;
    for (size_t i = 0; i < count; ++i, src += 4) {
        const DWORD a = src[3];
        DWORD r = src[0];
        DWORD g = src[1];
        DWORD b = src[2];
        if (a != 255) {
            r = r * a / 255;
            g = g * a / 255;
            b = b * a / 255;
            alpha = true;
        }
        DWORD pixel = (a << 24) | (r << 16) | (g << 8) | b;
        // The mask is compared with the stored (premultiplied) value, so it normally names an
        // opaque colour.
        if (pixel == mask) {
            pixel = 0;
            alpha = true;
        }
        bits[i] = pixel;
    }

    TImageEntry* entry = new TImageEntry;
    entry->hBitmap = bitmap;
    entry->nWidth = width;
    entry->nHeight = height;
    entry->bAlpha = alpha;
    return entry;
}

void CRenderKit::ReleaseSkinImage(TImageEntry* entry)
{
    if (entry == nullptr) return;
    if (entry->hBitmap != nullptr) DeleteObject(entry->hBitmap);
    for (const TScaledCopy& copy : entry->scaled) {
        if (copy.hBitmap != nullptr)
            DeleteObject(copy.hBitmap);
    }
    delete entry;
}

}  // namespace SkinUI
