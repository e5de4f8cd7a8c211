// JPEG decoding through libjpeg-turbo, whole or reduced by its DCT scaling (1/2, 1/4, 1/8), straight
// into opaque 0xAARRGGBB words. A large picture drawn shrunk decodes at the smallest reduction that
// still covers the size it is drawn at: a quarter or less of the work and memory of a whole decode.
// Free of Win32, so it can build natively. The library reports corrupt data by jumping out of its
// own code; the jump lands in one C-style function that holds nothing needing destruction.
#pragma once
#include <cstddef>
#include <cstdint>

namespace SkinUI {

struct TJpegImage {
    uint32_t* pixels = nullptr;  // width x height words, top-down; owned by the caller (std::free)
    int width = 0;  // the decoded size: the file's size divided by reduction, rounded up
    int height = 0;
    int fullWidth = 0;  // the size the file declares
    int fullHeight = 0;
    int reduction = 1;  // 1, 2, 4 or 8
};

enum class JpegResult {
    Decoded,
    Failed,  // not a JPEG, corrupt or truncated data, too large a picture, no memory
    Unsupported,  // a colour space the library does not turn into RGB (CMYK, YCCK): for another decoder
};

// True when the bytes start with the JPEG start-of-image marker.
bool LooksLikeJpeg(const unsigned char* data, size_t size);
// The largest of 8, 4 and 2 by which a fullWidth x fullHeight picture can be reduced and still be at
// least drawWidth x drawHeight; 1 when none can or the drawn size is unknown (0 or less).
int JpegReduction(int fullWidth, int fullHeight, int drawWidth, int drawHeight);
// Decodes at JpegReduction of the drawn size. A picture declaring more than maxPixels (whole) is
// refused before anything the size of it is allocated. On Decoded `out` holds the pixels; otherwise
// it is left empty.
JpegResult DecodeJpeg(
    const unsigned char* data, size_t size, size_t maxPixels, int drawWidth, int drawHeight, TJpegImage& out);

}  // namespace SkinUI
