// The JPEG decoder behind skin pictures: the whole input is the file, decoded whole and at each
// drawn size that picks a reduction. Whatever it holds, the answer is a known result, a decoded
// picture has the size its reduction gives, is opaque, and stays within the pixel limit.
#include <cstdlib>

#include "render/JpegDecode.h"
#include "tests/fuzz/FuzzInput.h"

namespace {

// Small enough that a run stays quick; larger declared pictures must be refused.
const size_t kMaxPixels = 1u << 20;

void DecodeAt(const unsigned char* bytes, size_t size, int drawWidth, int drawHeight)
{
    SkinUI::TJpegImage image;
    const SkinUI::JpegResult result = SkinUI::DecodeJpeg(bytes, size, kMaxPixels, drawWidth, drawHeight, image);
    if (result != SkinUI::JpegResult::Decoded) {
        Fuzz::Require(image.pixels == nullptr && image.width == 0 && image.height == 0, "a failure leaves nothing");
        return;
    }
    const int n = image.reduction;
    Fuzz::Require(n == 1 || n == 2 || n == 4 || n == 8, "reduction is 1, 2, 4 or 8");
    Fuzz::Require(image.width == (image.fullWidth + n - 1) / n && image.height == (image.fullHeight + n - 1) / n,
        "the decoded size is the whole size reduced, rounded up");
    Fuzz::Require(static_cast<size_t>(image.fullWidth) * static_cast<size_t>(image.fullHeight) <= kMaxPixels,
        "within the pixel limit");
    const size_t count = static_cast<size_t>(image.width) * static_cast<size_t>(image.height);
    for (size_t i = 0; i < count; ++i)
        Fuzz::Require(image.pixels[i] >> 24 == 0xFF, "every pixel opaque");
    std::free(image.pixels);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::unique_ptr<unsigned char[]> bytes = Fuzz::ExactCopy(data, size);
    DecodeAt(bytes.get(), size, 0, 0);
    DecodeAt(bytes.get(), size, 1, 1);
    DecodeAt(bytes.get(), size, 9, 7);
    return 0;
}
