// The image attribute string reader: the input is split at its first NUL into the image string
// and the modifier string; every image handed over must keep its destination inside the item's
// right and bottom edges (at the extremes of LONG too) and a name taken from the input.
#include "render/ImageSpec.h"
#include "tests/fuzz/FuzzInput.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const uint8_t* split = static_cast<const uint8_t*>(std::memchr(data, '\0', size));
    const size_t imageSize = split ? static_cast<size_t>(split - data) : size;
    const std::unique_ptr<char[]> image = Fuzz::TextCopy(data, imageSize);
    std::unique_ptr<char[]> modify;
    if (split)
        modify = Fuzz::TextCopy(split + 1, size - imageSize - 1);

    static const RECT kItems[] = {{10, 20, 110, 70}, {-5, -5, 0, 0}, {2147483000, -2147483000, 2147483647, 5}};
    for (const RECT& item : kItems) {
        int images = 0;
        SkinUI::ReadImageSpec(item, image.get(), modify.get(), [&](const SkinUI::TImageParams& params) {
            ++images;
            Fuzz::Require(params.dest.right <= item.right && params.dest.bottom <= item.bottom,
                "destination within the item's right and bottom");
            Fuzz::Require(params.name.GetLength() <= static_cast<int>(size), "name no longer than the input");
        });
        Fuzz::Require(images >= 1, "at least one image handed over");
    }
    return 0;
}
