#include "controls/VerticalLayout.h"

#include "core/ValueParse.h"

namespace SkinUI {

CVerticalLayoutUI::CVerticalLayoutUI() : CLinearLayoutUI(true) {}

const char* CVerticalLayoutUI::GetTypeName() const
{
    return "VerticalLayoutUI";
}

void* CVerticalLayoutUI::CastTo(const char* name)
{
    if (CUIString(name) == "VerticalLayout")
        return this;
    return CLinearLayoutUI::CastTo(name);
}

void CVerticalLayoutUI::SetAttribute(const char* name, const char* value)
{
    if (CUIString(name) == "sepheight")
        SetSeparatorSize(ParseInt(value));
    else
        CLinearLayoutUI::SetAttribute(name, value);
}

}  // namespace SkinUI
