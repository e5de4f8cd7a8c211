#include "controls/layout/HorizontalLayout.h"

#include "controls/base/CastChain.h"
#include "core/ValueParse.h"

namespace SkinUI {

CHorizontalLayoutUI::CHorizontalLayoutUI()
    : CLinearLayoutUI(false)
{
}

const char* CHorizontalLayoutUI::GetTypeName() const { return "HorizontalLayoutUI"; }

void* CHorizontalLayoutUI::CastTo(const char* name) { return CastToSelfOrBase<CLinearLayoutUI>(this, name); }

// The separator's name follows the axis; everything else about it is the linear layout's.
CAttributeTable<CHorizontalLayoutUI> CHorizontalLayoutUI::OwnAttributes()
{
    static constexpr TAttributeHandler<CHorizontalLayoutUI> kTable[] = {
        {"sepwidth", [](CHorizontalLayoutUI& c, const char* v) { c.SetSeparatorSize(ParseInt(v)); }},
    };
    return kTable;
}

void CHorizontalLayoutUI::SetAttribute(const char* name, const char* value)
{
    OwnAttributes().ApplyOrBase<CLinearLayoutUI>(*this, name, value);
}

void CHorizontalLayoutUI::AppendAttributeNames(TAttributeNames& names)
{
    OwnAttributes().AppendWithBase<CLinearLayoutUI>(names);
}

}  // namespace SkinUI
