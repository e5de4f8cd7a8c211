// Places its non-floating children from left to right ("HorizontalLayout" in the skin). The
// optional separator is "sepwidth" pixels on the right edge (or the left edge when negative).
// Everything but the identity and that name lives in CLinearLayoutUI.
#pragma once

#include "controls/layout/LinearLayout.h"

namespace SkinUI {

class CHorizontalLayoutUI : public CLinearLayoutUI {
public:
    CHorizontalLayoutUI();

    const char* GetTypeName() const override;
    static constexpr const char* kCastName = "HorizontalLayout";
    void* CastTo(const char* name) override;
    void SetAttribute(const char* name, const char* value) override;
    static void AppendAttributeNames(TAttributeNames& names);

private:
    static CAttributeTable<CHorizontalLayoutUI> OwnAttributes();
};

}  // namespace SkinUI
