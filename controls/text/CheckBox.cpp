#include "controls/text/CheckBox.h"

#include <cstring>

namespace SkinUI {

const char* CCheckBoxUI::GetTypeName() const { return "CheckBoxUI"; }

void* CCheckBoxUI::CastTo(const char* name)
{
    // Assistive technology tells a check box from a radio option by this.
    if (std::strcmp(name, kCastName) == 0)
        return this;
    return COptionUI::CastTo(name);
}

}  // namespace SkinUI
