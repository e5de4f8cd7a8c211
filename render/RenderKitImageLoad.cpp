// Image loading: skin file bytes -> stb_image RGBA -> premultiplied top-down BGRA DIB section.
#include "render/RenderKit.h"

#include <cstdlib>
#include <cstring>

#include "host/ResourceLocation.h"
#include "render/RenderDetail.h"
#include "stb_image.h"

namespace SkinUI {

namespace {

// stb_image's buffer, freed on every path.
struct TDecoded {
    unsigned char* pixels = nullptr;
    ~TDecoded()
    {
        if (pixels != nullptr)
            stbi_image_free(pixels);
    }
};

}  // namespace

TImageEntry* CRenderKit::LoadSkinImage(LPCSTR name, LPCSTR resType, DWORD mask)
{
    if (name == nullptr)
        return nullptr;
    TSkinFileBytes bytes;
    if (CResourceLocation::ReadSkinFile(name, resType, kSkinImageMaxBytes, true, bytes) != SkinFileStatus::Found) {
        return nullptr;
    }
    return DecodeSkinImage(bytes, mask);
}

namespace {

// stb_image's RGBA bytes to premultiplied 0xAARRGGBB words; `out` may be the same memory as `rgba`
// (each pixel is read before its word is written). True when some pixel is not opaque.
bool ConvertPixels(const unsigned char* rgba, DWORD* out, size_t count, DWORD mask)
{
    bool alpha = false;
    const unsigned char* src = rgba;
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
        out[i] = pixel;
    }
    return alpha;
}

}  // namespace

TImageEntry* CRenderKit::DecodeSkinImage(TSkinFileBytes& bytes, DWORD mask, DecodedForm form)
{
    // ReadSkinFile keeps sizes within INT_MAX, which is what stb_image's length can carry.
    if (bytes.data == nullptr || bytes.size == 0 || bytes.size > 0x7FFFFFFFu)
        return nullptr;

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
    decoded.pixels
        = stbi_load_from_memory(bytes.data.get(), static_cast<int>(bytes.size), &width, &height, &channels, 4);
    // The file's bytes go before the bitmap is made, so the two never add up.
    bytes.data.reset();
    bytes.size = 0;
    if (decoded.pixels == nullptr || width <= 0 || height <= 0)
        return nullptr;

    const size_t count = static_cast<size_t>(width) * static_cast<size_t>(height);
    TImageEntry* entry = new TImageEntry;
    entry->nWidth = width;
    entry->nHeight = height;
    if (form == DecodedForm::Pixels) {
        entry->pPixels = reinterpret_cast<DWORD*>(decoded.pixels);
        decoded.pixels = nullptr;
        entry->bAlpha = ConvertPixels(reinterpret_cast<unsigned char*>(entry->pPixels), entry->pPixels, count, mask);
        return entry;
    }
    DWORD* bits = nullptr;
    entry->hBitmap = render_detail::CreateDib32(width, height, &bits);
    if (entry->hBitmap == nullptr) {
        delete entry;
        return nullptr;
    }
    entry->bAlpha = ConvertPixels(decoded.pixels, bits, count, mask);
    return entry;
}

bool CRenderKit::MakeFullBitmap(TImageEntry& entry)
{
    if (entry.pPixels == nullptr)
        return false;
    DWORD* bits = nullptr;
    entry.hBitmap = render_detail::CreateDib32(entry.nWidth, entry.nHeight, &bits);
    if (entry.hBitmap == nullptr)
        return false;
    std::memcpy(bits, entry.pPixels, static_cast<size_t>(entry.nWidth) * static_cast<size_t>(entry.nHeight) * 4);
    stbi_image_free(entry.pPixels);
    entry.pPixels = nullptr;
    return true;
}

void CRenderKit::DropFullImage(TImageEntry& entry)
{
    if (entry.hBitmap != nullptr)
        DeleteObject(entry.hBitmap);
    if (entry.pPixels != nullptr)
        stbi_image_free(entry.pPixels);
    entry.hBitmap = nullptr;
    entry.pPixels = nullptr;
}

void CRenderKit::ReleaseSkinImage(TImageEntry* entry)
{
    if (entry == nullptr)
        return;
    DropFullImage(*entry);
    for (const TScaledCopy& copy : entry->scaled) {
        if (copy.hBitmap != nullptr)
            DeleteObject(copy.hBitmap);
    }
    delete entry;
}

}  // namespace SkinUI
