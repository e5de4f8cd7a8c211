// An option under its own type name ("CheckBox" in the skin); without a group it toggles.
#pragma once

#include "controls/text/Option.h"

namespace SkinUI {

class CCheckBoxUI : public COptionUI {
public:
    const char* GetTypeName() const override;
    static constexpr const char* kCastName = "CheckBox";
    void* CastTo(const char* name) override;
};

}  // namespace SkinUI
