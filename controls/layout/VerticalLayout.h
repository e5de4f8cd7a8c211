// Stacks its non-floating children from top to bottom ("VerticalLayout" in the skin). The optional
// separator is "sepheight" pixels on the bottom edge (or the top edge when negative). Everything but
// the identity and that name lives in CLinearLayoutUI.
#pragma once

#include "controls/layout/LinearLayout.h"

namespace SkinUI {

class CVerticalLayoutUI : public CLinearLayoutUI {
public:
    CVerticalLayoutUI();

    const char* GetTypeName() const override;
    static constexpr const char* kCastName = "VerticalLayout";
    void* CastTo(const char* name) override;
    void SetAttribute(const char* name, const char* value) override;
    static void AppendAttributeNames(TAttributeNames& names);

private:
    static CAttributeTable<CVerticalLayoutUI> OwnAttributes();
};

}  // namespace SkinUI
