#include "controls/HorizontalLayout.h"

#include "core/ValueParse.h"

namespace SkinUI {

CHorizontalLayoutUI::CHorizontalLayoutUI() : CLinearLayoutUI(false) {}

const char* CHorizontalLayoutUI::GetTypeName() const
{
    return "HorizontalLayoutUI";
}

void* CHorizontalLayoutUI::CastTo(const char* name)
{
    if (CUIString(name) == "HorizontalLayout")
        return this;
    return CLinearLayoutUI::CastTo(name);
}

void CHorizontalLayoutUI::SetAttribute(const char* name, const char* value)
{
    if (CUIString(name) == "sepwidth")
        SetSeparatorSize(ParseInt(value));
    else
        CLinearLayoutUI::SetAttribute(name, value);
}

}  // namespace SkinUI
