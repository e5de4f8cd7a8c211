#include "controls/VerticalLayout.h"

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

}  // namespace SkinUI
