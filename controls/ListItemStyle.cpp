#include <cstring>

#include "controls/ListInterfaces.h"
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

TItemStyleChange ApplyItemStyleAttribute(TListItemStyle& s, const char* name, const char* value)
{
    if (name == nullptr)
        return TItemStyleChange::NotStyle;
    const CUIString n(name);
    struct TColorSlot {
        const char* name;
        uint32_t TListItemStyle::*field;
    };
    static const TColorSlot kColors[] = {
        {"itembkcolor", &TListItemStyle::itemBkColor},
        {"itemselectedtextcolor", &TListItemStyle::selectedTextColor},
        {"itemselectedbkcolor", &TListItemStyle::selectedBkColor},
        {"itemhottextcolor", &TListItemStyle::hotTextColor},
        {"itemhotbkcolor", &TListItemStyle::hotBkColor},
        {"itemdisabledtextcolor", &TListItemStyle::disabledTextColor},
        {"itemdisabledbkcolor", &TListItemStyle::disabledBkColor},
        {"itemlinecolor", &TListItemStyle::lineColor},
    };
    for (const TColorSlot& slot : kColors) {
        if (n == slot.name) {
            s.*slot.field = ParseColor(value);
            return TItemStyleChange::Stored;
        }
    }
    struct TImageSlot {
        const char* name;
        CUIString TListItemStyle::*field;
    };
    static const TImageSlot kImages[] = {
        {"itembkimage", &TListItemStyle::itemBkImage},
        {"itemselectedimage", &TListItemStyle::selectedImage},
        {"itemhotimage", &TListItemStyle::hotImage},
        {"itemdisabledimage", &TListItemStyle::disabledImage},
    };
    for (const TImageSlot& slot : kImages) {
        if (n == slot.name) {
            s.*slot.field = value;
            return TItemStyleChange::Stored;
        }
    }
    if (n == "itemfont") {
        s.itemFont = ParseInt(value);
    } else if (n == "itemalign") {
        s.itemTextStyle = ApplyAlignment(s.itemTextStyle, value);
    } else if (n == "itemaltbk") {
        s.alternateBk = ParseFlag(value);
    } else if (n == "itemtextpadding") {
        s.itemTextPadding = ParseRect(value);
        return TItemStyleChange::TextPadding;
    } else if (n == "itemtextcolor") {
        s.itemTextColor = ParseColor(value);
        return TItemStyleChange::TextColor;
    } else if (n == "itemshowhtml") {
        const bool show = ParseFlag(value);
        if (show == s.showHtml)
            return TItemStyleChange::Stored;
        s.showHtml = show;
        return TItemStyleChange::ShowHtmlChanged;
    } else {
        return TItemStyleChange::NotStyle;
    }
    return TItemStyleChange::Stored;
}

}  // namespace SkinUI
