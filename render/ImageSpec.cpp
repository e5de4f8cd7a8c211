#include "render/ImageSpec.h"

#include <algorithm>
#include <limits>

#include "core/AttributeTable.h"
#include "core/DpiScale.h"
#include "core/IntMath.h"
#include "core/ValueParse.h"
#include "render/ImagePairReader.h"

namespace SkinUI {

namespace {

// base + offset, held within LONG: skin numbers reach INT_MAX, and the sum must not wrap.
LONG OffsetSaturated(LONG base, int offset)
{
    const long long sum = static_cast<long long>(base) + offset;
    const long long high = std::numeric_limits<LONG>::max();
    const long long low = std::numeric_limits<LONG>::min();
    return static_cast<LONG>(sum > high ? high : (sum < low ? low : sum));
}

// One reading of the strings: the image being filled and how many images this string has named.
struct TImageReading {
    const RECT& rcItem;
    int dpi;
    const std::function<void(const TImageParams&)>& draw;
    TImageParams params;
    int begun;  // images named so far in this string; a further name draws the pending one

    // A further "file"/"restype"/"res" first hands over the image named so far.
    void FinishPending()
    {
        if (begun > 0)
            draw(params);
    }
};

using R = TImageReading;

constexpr TAttributeHandler<R> kImageKeyTable[] = {
    {"file",
        [](R& r, const char* v) {
            r.FinishPending();
            r.params.name = v;
            ++r.begun;
        }},
    {"res",
        [](R& r, const char* v) {
            r.FinishPending();
            r.params.name = v;
        }},
    {"restype",
        [](R& r, const char* v) {
            r.FinishPending();
            r.params.resType = v;
            ++r.begun;
        }},
    {"dest",
        [](R& r, const char* v) {
            CRectUI d = ParseRect(v);
            d = CRectUI(ScaleToDpi(d.left, r.dpi), ScaleToDpi(d.top, r.dpi), ScaleToDpi(d.right, r.dpi),
                ScaleToDpi(d.bottom, r.dpi));
            r.params.dest.left = OffsetSaturated(r.rcItem.left, d.left);
            r.params.dest.top = OffsetSaturated(r.rcItem.top, d.top);
            r.params.dest.right = std::min<LONG>(OffsetSaturated(r.rcItem.left, d.right), r.rcItem.right);
            r.params.dest.bottom = std::min<LONG>(OffsetSaturated(r.rcItem.top, d.bottom), r.rcItem.bottom);
        }},
    {"source", [](R& r, const char* v) { r.params.source = ParseRect(v); }},
    {"corner", [](R& r, const char* v) { r.params.corner = ParseRect(v); }},
    {"mask", [](R& r, const char* v) { r.params.mask = ParseColor(v); }},
    {"fade", [](R& r, const char* v) { r.params.fade = static_cast<BYTE>(ParseInt(v)); }},
    {"hole", [](R& r, const char* v) { r.params.hole = ParseFlag(v); }},
    {"xtiled", [](R& r, const char* v) { r.params.xTiled = ParseFlag(v); }},
    {"ytiled", [](R& r, const char* v) { r.params.yTiled = ParseFlag(v); }},
};
const CAttributeTable<R> kImageKeys(kImageKeyTable);

}  // namespace

void ReadImageSpec(const RECT& rcItem, const char* image, const char* modify,
    const std::function<void(const TImageParams&)>& draw, int dpi)
{
    TImageReading reading{rcItem, dpi, draw, TImageParams(), 0};
    // A bare file name is a whole image string of its own.
    reading.params.name = image;
    reading.params.dest = rcItem;

    const char* strings[2] = {image, modify};
    for (const char* text : strings) {
        if (text == nullptr)
            continue;
        reading.begun = 0;
        CImagePairReader reader(text);
        while (reader.Next()) {
            // Unknown keys and empty values change nothing.
            if (!reader.value.IsEmpty())
                kImageKeys.Apply(reading, reader.key, reader.value);
            if (!reader.More())
                break;
        }
    }
    draw(reading.params);
}

void AppendImageKeyNames(TAttributeNames& names) { kImageKeys.AppendNames(names); }

bool IsPlainStretch(const TImageParams& image)
{
    return image.fade == 255 && !image.hole && !image.xTiled && !image.yTiled && image.corner.left == 0
        && image.corner.top == 0 && image.corner.right == 0 && image.corner.bottom == 0;
}

SIZE WholeImageDrawnSize(const TImageParams& image)
{
    const RECT& s = image.source;
    if (!IsPlainStretch(image) || s.left != 0 || s.top != 0 || s.right != 0 || s.bottom != 0)
        return SIZE{0, 0};
    return SIZE{
        std::max<LONG>(0, image.dest.right - image.dest.left), std::max<LONG>(0, image.dest.bottom - image.dest.top)};
}

}  // namespace SkinUI
