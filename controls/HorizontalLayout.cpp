#include "controls/HorizontalLayout.h"

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

}  // namespace SkinUI
