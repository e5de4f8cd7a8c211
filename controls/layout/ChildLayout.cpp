#include "controls/layout/ChildLayout.h"

#include "controls/base/CastChain.h"
#include "skin/SkinBuilder.h"
#include "skin/SkinXml.h"

namespace SkinUI {

CChildLayoutUI::CChildLayoutUI()
    : m_documentDepth(CSkinBuilder::ElementDepth())
    , m_buildBudget(CSkinBuilder::CurrentBudget())
{
}

CChildLayoutUI::~CChildLayoutUI() = default;

const char* CChildLayoutUI::GetTypeName() const { return "ChildLayoutUI"; }

void* CChildLayoutUI::CastTo(const char* name)
{
    // Deliberately skips the container: the skin builder must not attach written children.
    return CastToSelfOrBase<CControlUI>(this, name);
}

void CChildLayoutUI::SetXmlFile(const char* xmlFile)
{
    if (m_xmlFile == xmlFile)
        return;
    m_xmlFile = xmlFile;
    m_built = false;
}

CAttributeTable<CChildLayoutUI> CChildLayoutUI::OwnAttributes()
{
    using C = CChildLayoutUI;
    static constexpr TAttributeHandler<C> kTable[] = {
        {"xmlfile", [](C& c, const char* v) { c.SetXmlFile(v); }},
    };
    return kTable;
}

void CChildLayoutUI::SetAttribute(const char* name, const char* value)
{
    OwnAttributes().ApplyOrBase<CContainerUI>(*this, name, value);
}

void CChildLayoutUI::AppendAttributeNames(TAttributeNames& names)
{
    OwnAttributes().AppendWithBase<CContainerUI>(names);
}

int CChildLayoutUI::TreeDepth() const
{
    int depth = 1;
    for (const CControlUI* a = m_parent; a != nullptr && depth < CSkinXml::kMaxDepth; a = a->GetParent())
        ++depth;
    return depth > m_documentDepth ? depth : m_documentDepth;
}

void CChildLayoutUI::Initialize()
{
    // Building again on every adoption would stack another copy of the tree each time.
    if (m_xmlFile.IsEmpty() || m_built)
        return;
    CSkinBuilder builder;
    m_built = builder.BuildInto(m_xmlFile.GetData(), m_host, *this, TreeDepth(), m_buildBudget);
    if (!m_built)
        RemoveAllChildren();
}

}  // namespace SkinUI
