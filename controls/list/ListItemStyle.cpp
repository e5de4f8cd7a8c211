#include <cstring>

#include "controls/list/ListInterfaces.h"
#include "core/AttributeTable.h"
#include "core/ValueParse.h"

namespace SkinUI {

unsigned ApplyAlignment(unsigned textStyle, const char* value)
{
    if (value == nullptr)
        return textStyle;
    // Tested as substrings, in this order: "left center" ends up centred.
    if (std::strstr(value, "left") != nullptr)
        textStyle &= ~(DT_CENTER | DT_RIGHT);
    if (std::strstr(value, "center") != nullptr) {
        textStyle &= ~DT_RIGHT;
        textStyle |= DT_CENTER;
    }
    if (std::strstr(value, "right") != nullptr) {
        textStyle &= ~DT_CENTER;
        textStyle |= DT_RIGHT;
    }
    return textStyle;
}

namespace {

using TStyle = TListItemStyle;
using TChange = TItemStyleChange;

TChange StoreColor(uint32_t& field, const char* value)
{
    field = ParseColor(value);
    return TChange::Stored;
}

TChange StoreImage(CUIString& field, const char* value)
{
    field = value;
    return TChange::Stored;
}

constexpr TAttributeHandler<TStyle, TChange> kItemStyleTable[] = {
    {"itembkcolor", [](TStyle& s, const char* v) { return StoreColor(s.itemBkColor, v); }},
    {"itemselectedtextcolor", [](TStyle& s, const char* v) { return StoreColor(s.selectedTextColor, v); }},
    {"itemselectedbkcolor", [](TStyle& s, const char* v) { return StoreColor(s.selectedBkColor, v); }},
    {"itemhottextcolor", [](TStyle& s, const char* v) { return StoreColor(s.hotTextColor, v); }},
    {"itemhotbkcolor", [](TStyle& s, const char* v) { return StoreColor(s.hotBkColor, v); }},
    {"itemdisabledtextcolor", [](TStyle& s, const char* v) { return StoreColor(s.disabledTextColor, v); }},
    {"itemdisabledbkcolor", [](TStyle& s, const char* v) { return StoreColor(s.disabledBkColor, v); }},
    {"itemlinecolor", [](TStyle& s, const char* v) { return StoreColor(s.lineColor, v); }},
    {"itembkimage", [](TStyle& s, const char* v) { return StoreImage(s.itemBkImage, v); }},
    {"itemselectedimage", [](TStyle& s, const char* v) { return StoreImage(s.selectedImage, v); }},
    {"itemhotimage", [](TStyle& s, const char* v) { return StoreImage(s.hotImage, v); }},
    {"itemdisabledimage", [](TStyle& s, const char* v) { return StoreImage(s.disabledImage, v); }},
    {"itemfont",
        [](TStyle& s, const char* v) {
            s.itemFont = ParseInt(v);
            return TChange::Stored;
        }},
    {"itemalign",
        [](TStyle& s, const char* v) {
            s.itemTextStyle = ApplyAlignment(s.itemTextStyle, v);
            return TChange::Stored;
        }},
    {"itemaltbk",
        [](TStyle& s, const char* v) {
            s.alternateBk = ParseFlag(v);
            return TChange::Stored;
        }},
    {"itemtextpadding",
        [](TStyle& s, const char* v) {
            s.itemTextPadding = ParseRect(v);
            return TChange::TextPadding;
        }},
    {"itemtextcolor",
        [](TStyle& s, const char* v) {
            s.itemTextColor = ParseColor(v);
            return TChange::TextColor;
        }},
    {"itemshowhtml",
        [](TStyle& s, const char* v) {
            const bool show = ParseFlag(v);
            if (show == s.showHtml)
                return TChange::Stored;
            s.showHtml = show;
            return TChange::ShowHtmlChanged;
        }},
};
const CAttributeTable<TStyle, TChange> kItemStyleAttributes(kItemStyleTable);

}  // namespace

TItemStyleChange ApplyItemStyleAttribute(TListItemStyle& style, const char* name, const char* value)
{
    const auto* entry = kItemStyleAttributes.Find(name);
    return entry != nullptr ? entry->Apply(style, value) : TItemStyleChange::NotStyle;
}

void AppendItemStyleAttributeNames(TAttributeNames& names) { kItemStyleAttributes.AppendNames(names); }

}  // namespace SkinUI
