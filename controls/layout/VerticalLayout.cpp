#include "controls/layout/VerticalLayout.h"

#include "controls/base/CastChain.h"
#include "core/ValueParse.h"

namespace SkinUI {

CVerticalLayoutUI::CVerticalLayoutUI()
    : CLinearLayoutUI(true)
{
}

const char* CVerticalLayoutUI::GetTypeName() const { return "VerticalLayoutUI"; }

void* CVerticalLayoutUI::CastTo(const char* name) { return CastToSelfOrBase<CLinearLayoutUI>(this, name); }

// The separator's name follows the axis; everything else about it is the linear layout's.
CAttributeTable<CVerticalLayoutUI> CVerticalLayoutUI::OwnAttributes()
{
    static constexpr TAttributeHandler<CVerticalLayoutUI> kTable[] = {
        {"sepheight", [](CVerticalLayoutUI& c, const char* v) { c.SetSeparatorSize(ParseInt(v)); }},
    };
    return kTable;
}

void CVerticalLayoutUI::SetAttribute(const char* name, const char* value)
{
    OwnAttributes().ApplyOrBase<CLinearLayoutUI>(*this, name, value);
}

void CVerticalLayoutUI::AppendAttributeNames(TAttributeNames& names)
{
    OwnAttributes().AppendWithBase<CLinearLayoutUI>(names);
}

}  // namespace SkinUI
