#include "controls/text/CheckBox.h"

namespace SkinUI {

const char* CCheckBoxUI::GetTypeName() const { return "CheckBoxUI"; }

}  // namespace SkinUI
