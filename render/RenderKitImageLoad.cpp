// Image loading: skin file bytes -> decoded pixels -> premultiplied top-down BGRA DIB section. JPEGs
// go through libjpeg-turbo (render/JpegDecode.h), which can decode them reduced; every other type,
// and JPEGs in colour spaces it does not convert, through stb_image.
#include "render/RenderKit.h"

#include <cstdlib>
#include <cstring>

#include "host/ResourceLocation.h"
#include "render/ImageVariant.h"
#include "render/JpegDecode.h"
#include "render/RenderDetail.h"
#include "stb_image.h"

namespace SkinUI {

TImageEntry* CRenderKit::LoadSkinImage(LPCSTR name, LPCSTR resType, DWORD mask, SIZE drawn, int dpi)
{
    if (name == nullptr)
        return nullptr;
    TSkinFileBytes bytes;
    int percent = 100;
    if (resType == nullptr && ReadImageVariant(name, dpi, bytes, percent)) {
        TImageEntry* entry = DecodeSkinImage(bytes, mask, DecodedForm::Bitmap, drawn);
        if (entry != nullptr) {
            entry->scale = percent;
            return entry;
        }
        // A variant that does not decode costs the crispness, not the picture: the 1x file stands in.
    }
    if (CResourceLocation::ReadSkinFile(name, resType, kSkinImageMaxBytes, true, bytes) != SkinFileStatus::Found) {
        return nullptr;
    }
    return DecodeSkinImage(bytes, mask, DecodedForm::Bitmap, drawn);
}

namespace {

// A pixel whose stored (premultiplied) value is the mask colour becomes transparent; the mask
// therefore normally names an opaque colour. True when it did.
bool MaskOut(DWORD& pixel, DWORD mask)
{
    if (pixel != mask)
        return false;
    pixel = 0;
    return true;
}

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
        out[i] = (a << 24) | (r << 16) | (g << 8) | b;
        alpha |= MaskOut(out[i], mask);
    }
    return alpha;
}

// The whole image's entry holding the decoded pixels (taken over), or its bitmap made of them.
TImageEntry* MakeEntry(DWORD* pixels, int width, int height, bool alpha, CRenderKit::DecodedForm form)
{
    TImageEntry* entry = new TImageEntry;
    entry->width = width;
    entry->height = height;
    entry->hasAlpha = alpha;
    if (form == CRenderKit::DecodedForm::Pixels) {
        entry->pixels = pixels;
        return entry;
    }
    DWORD* bits = nullptr;
    entry->bitmap = render_detail::CreateDib32(width, height, &bits);
    if (entry->bitmap != nullptr)
        std::memcpy(bits, pixels, static_cast<size_t>(width) * static_cast<size_t>(height) * 4);
    std::free(pixels);
    if (entry->bitmap == nullptr) {
        delete entry;
        return nullptr;
    }
    return entry;
}

// The file's bytes go as soon as they are decoded, before a bitmap is made, so the two never add up.
void FreeBytes(TSkinFileBytes& bytes)
{
    bytes.data.reset();
    bytes.size = 0;
}

TImageEntry* DecodeStb(TSkinFileBytes& bytes, DWORD mask, CRenderKit::DecodedForm form)
{
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
    unsigned char* rgba
        = stbi_load_from_memory(bytes.data.get(), static_cast<int>(bytes.size), &width, &height, &channels, 4);
    FreeBytes(bytes);
    if (rgba == nullptr)
        return nullptr;
    if (width <= 0 || height <= 0) {
        std::free(rgba);
        return nullptr;
    }
    DWORD* pixels = reinterpret_cast<DWORD*>(rgba);
    const bool alpha = ConvertPixels(rgba, pixels, static_cast<size_t>(width) * static_cast<size_t>(height), mask);
    return MakeEntry(pixels, width, height, alpha, form);
}

// Null when libjpeg-turbo could not decode it; `handled` false when it is left to stb_image.
TImageEntry* DecodeJpegEntry(TSkinFileBytes& bytes, DWORD mask, CRenderKit::DecodedForm form, SIZE drawn, bool& handled)
{
    TJpegImage jpeg;
    const JpegResult result = DecodeJpeg(bytes.data.get(), bytes.size, kSkinImageMaxPixels, drawn.cx, drawn.cy, jpeg);
    handled = result != JpegResult::Unsupported;
    if (handled)
        FreeBytes(bytes);
    if (result != JpegResult::Decoded)
        return nullptr;
    DWORD* pixels = reinterpret_cast<DWORD*>(jpeg.pixels);
    bool alpha = false;
    const size_t count = static_cast<size_t>(jpeg.width) * static_cast<size_t>(jpeg.height);
    for (size_t i = 0; mask != 0 && i < count; ++i)
        alpha |= MaskOut(pixels[i], mask);
    TImageEntry* entry = MakeEntry(
        pixels, jpeg.fullWidth, jpeg.fullHeight, alpha, jpeg.reduction != 1 ? CRenderKit::DecodedForm::Pixels : form);
    if (entry != nullptr)
        entry->reduction = jpeg.reduction;
    return entry;
}

}  // namespace

TImageEntry* CRenderKit::DecodeSkinImage(TSkinFileBytes& bytes, DWORD mask, DecodedForm form, SIZE drawn)
{
    // ReadSkinFile keeps sizes within INT_MAX, which is what stb_image's length can carry.
    if (bytes.data == nullptr || bytes.size == 0 || bytes.size > 0x7FFFFFFFu)
        return nullptr;
    bool handled = false;
    TImageEntry* entry = nullptr;
    if (LooksLikeJpeg(bytes.data.get(), bytes.size))
        entry = DecodeJpegEntry(bytes, mask, form, drawn, handled);
    if (!handled)
        entry = DecodeStb(bytes, mask, form);
    FreeBytes(bytes);  // also when stb_image refused them before decoding
    return entry;
}

bool CRenderKit::MakeFullBitmap(TImageEntry& entry)
{
    if (entry.pixels == nullptr)
        return false;
    if (entry.reduction != 1) {
        DropFullImage(entry);
        return false;
    }
    DWORD* bits = nullptr;
    entry.bitmap = render_detail::CreateDib32(entry.width, entry.height, &bits);
    if (entry.bitmap == nullptr)
        return false;
    std::memcpy(bits, entry.pixels, static_cast<size_t>(entry.width) * static_cast<size_t>(entry.height) * 4);
    std::free(entry.pixels);
    entry.pixels = nullptr;
    return true;
}

void CRenderKit::DropFullImage(TImageEntry& entry)
{
    if (entry.bitmap != nullptr)
        DeleteObject(entry.bitmap);
    std::free(entry.pixels);
    entry.bitmap = nullptr;
    entry.pixels = nullptr;
    entry.reduction = 1;
}

void CRenderKit::DropScaledCopies(TImageEntry& entry)
{
    for (TScaledCopy& copy : entry.scaled) {
        if (copy.bitmap != nullptr)
            DeleteObject(copy.bitmap);
        copy = TScaledCopy();
    }
}

void CRenderKit::ReleaseSkinImage(TImageEntry* entry)
{
    if (entry == nullptr)
        return;
    DropFullImage(*entry);
    DropScaledCopies(*entry);
    delete entry;
}

}  // namespace SkinUI
