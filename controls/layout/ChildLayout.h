// A container that fills itself with the control tree of another skin document ("ChildLayout" in
// the skin, document named by "xmlfile": a skin file name, or literal XML text starting with '<').
//
// The document is built once, when the host first adopts the layout with initialisation (the
// control base's OnInitialize and InitListeners are not run for it); later adoptions, such as a
// subtree moved between containers or a drop-down re-initialising its items, keep what was built.
// A new "xmlfile" allows one more build. The build counts against the skin builder's nesting cap,
// so a document that contains its own child layout ends instead of recursing, and against the
// budget of the skin build that created the layout; a build over budget leaves the layout empty. The layout does not
// answer ControlCast<IContainerUI>: child elements written inside it in a skin are not attached; its
// children come only from its document. Children are placed as by the container base.
#pragma once

#include "controls/base/Container.h"
#include "skin/SkinBuilder.h"

namespace SkinUI {

class CChildLayoutUI : public CContainerUI {
public:
    CChildLayoutUI();
    ~CChildLayoutUI() override;

    const char* GetTypeName() const override;
    static constexpr const char* kCastName = "ChildLayout";
    void* CastTo(const char* name) override;
    void Initialize() override;
    void SetAttribute(const char* name, const char* value) override;
    static void AppendAttributeNames(TAttributeNames& names);

    const CUIString& GetXmlFile() const { return m_xmlFile; }
    void SetXmlFile(const char* xmlFile);

private:
    // How deep the built tree will hang: below where a skin build created this layout, or below
    // its current ancestors (bounded: a longer chain counts as the cap).
    int TreeDepth() const;

    // Tree depth of the sibling list a skin build created this layout in (0 outside builds). The
    // ancestors cannot tell it while a built tree is being adopted: their parent links are set
    // from the leaves upwards.
    const int m_documentDepth;
    // The budget of the skin build that created this layout (null outside builds): its own build
    // spends from it too, however late it runs, so a skin cannot multiply its work through child
    // layouts.
    const CSkinBuilder::BudgetPtr m_buildBudget;
    CUIString m_xmlFile;
    bool m_built = false;  // the current document has been built into this layout

    static CAttributeTable<CChildLayoutUI> OwnAttributes();
};

}  // namespace SkinUI
