#include "render/ImageSpec.h"

#include <algorithm>
#include <limits>

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

void ApplyGeometry(const CUIString& key, const CUIString& value, const RECT& rcItem, TImageParams& params)
{
    if (key == "dest") {
        const CRectUI d = ParseRect(value);
        params.dest.left = OffsetSaturated(rcItem.left, d.left);
        params.dest.top = OffsetSaturated(rcItem.top, d.top);
        params.dest.right = std::min<LONG>(OffsetSaturated(rcItem.left, d.right), rcItem.right);
        params.dest.bottom = std::min<LONG>(OffsetSaturated(rcItem.top, d.bottom), rcItem.bottom);
    } else if (key == "source") {
        params.source = ParseRect(value);
    } else if (key == "corner") {
        params.corner = ParseRect(value);
    }
}

void ApplyLook(const CUIString& key, const CUIString& value, TImageParams& params)
{
    if (key == "mask") {
        params.mask = ParseColor(value);
    } else if (key == "fade") {
        params.fade = static_cast<BYTE>(ParseInt(value));
    } else if (key == "hole") {
        params.hole = ParseFlag(value);
    } else if (key == "xtiled") {
        params.xTiled = ParseFlag(value);
    } else if (key == "ytiled") {
        params.yTiled = ParseFlag(value);
    }
}

}  // namespace

void ReadImageSpec(
    const RECT& rcItem, const char* image, const char* modify, const std::function<void(const TImageParams&)>& draw)
{
    TImageParams params;
    // A bare file name is a whole image string of its own.
    params.name = image;
    params.dest = rcItem;

    const char* strings[2] = {image, modify};
    for (const char* text : strings) {
        if (text == nullptr)
            continue;
        int begun = 0;  // images named so far in this string; a further name draws the pending one
        CImagePairReader reader(text);
        while (reader.Next()) {
            const CUIString& key = reader.key;
            const CUIString& value = reader.value;
            if (!value.IsEmpty()) {
                if (key == "file" || key == "res") {
                    if (begun > 0)
                        draw(params);
                    params.name = value;
                    if (key == "file")
                        ++begun;
                } else if (key == "restype") {
                    if (begun > 0)
                        draw(params);
                    params.resType = value;
                    ++begun;
                } else {
                    ApplyGeometry(key, value, rcItem, params);
                    ApplyLook(key, value, params);
                }
            }
            if (!reader.More())
                break;
        }
    }
    draw(params);
}

}  // namespace SkinUI
