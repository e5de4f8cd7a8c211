// Stacks its non-floating children from top to bottom ("VerticalLayout" in the skin). The optional
// separator is "sepheight" pixels on the bottom edge (or the top edge when negative). Everything but
// the identity lives in CLinearLayoutUI.
#pragma once

#include "controls/LinearLayout.h"

namespace SkinUI {

class CVerticalLayoutUI : public CLinearLayoutUI {
public:
    CVerticalLayoutUI();

    const char* GetTypeName() const override;
    void* CastTo(const char* name) override;
};

}  // namespace SkinUI
