#include "controls/text/CheckBox.h"

#include "controls/base/CastChain.h"

namespace SkinUI {

const char* CCheckBoxUI::GetTypeName() const { return "CheckBoxUI"; }

void* CCheckBoxUI::CastTo(const char* name)
{
    // Assistive technology tells a check box from a radio option by this.
    return CastToSelfOrBase<COptionUI>(this, name);
}

}  // namespace SkinUI
