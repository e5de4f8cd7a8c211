#include "render/ImageSpec.h"

#include <algorithm>
#include <limits>

#include "core/ValueParse.h"

namespace SkinUI {

namespace {

bool IsBlank(char c) { return c >= 0x01 && c <= 0x20; }

const char* SkipBlanks(const char* p)
{
    while (IsBlank(*p))
        ++p;
    return p;
}

// base + offset, held within LONG: skin numbers reach INT_MAX, and the sum must not wrap.
LONG OffsetSaturated(LONG base, int offset)
{
    const long long sum = static_cast<long long>(base) + offset;
    const long long high = std::numeric_limits<LONG>::max();
    const long long low = std::numeric_limits<LONG>::min();
    return static_cast<LONG>(sum > high ? high : (sum < low ? low : sum));
}

// One key='value' pair of an image attribute string.
struct TPairReader {
    const char* p;
    CUIString key;
    CUIString value;

    // False at the end of the string or at the first malformed pair; what came before stands.
    bool Next()
    {
        p = SkipBlanks(p);
        const char* keyStart = p;
        while (*p != '\0' && *p != '=' && !IsBlank(*p))
            p = CharNextA(p);
        key.Assign(keyStart, static_cast<int>(p - keyStart));
        p = SkipBlanks(p);
        if (*p != '=')
            return false;
        p = SkipBlanks(p + 1);
        if (*p != '\'')
            return false;
        const char* valueStart = ++p;
        while (*p != '\0' && *p != '\'')
            p = CharNextA(p);
        if (*p != '\'')
            return false;
        value.Assign(valueStart, static_cast<int>(p - valueStart));
        ++p;
        return true;
    }

    // Another pair may follow only after one space that is not the last byte; any other byte
    // after a closing quote, a tab or line break included, ends the string.
    bool More()
    {
        if (*p != ' ' || p[1] == '\0')
            return false;
        ++p;
        return true;
    }
};

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
        TPairReader reader = {text, CUIString(), CUIString()};
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
