#include "controls/list/TreeView.h"

#include <vector>

#include "controls/text/CheckBox.h"
#include "controls/list/TreeNode.h"
#include "core/ValueParse.h"
#include "host/ControlAliveGuard.h"
#include "host/WindowHost.h"

namespace SkinUI {

CTreeViewUI::CTreeViewUI() { GetHeader()->SetVisible(false); }

const char* CTreeViewUI::GetTypeName() const { return "TreeViewUI"; }

void* CTreeViewUI::CastTo(const char* name)
{
    if (CUIString(name) == "TreeView")
        return this;
    return CListUI::CastTo(name);
}

CTreeNodeUI* CTreeViewUI::NodeAt(int index) const { return AsTreeNode(ChildAt(index)); }

//--- insertion -----------------------------------------------------------------------------------

int CTreeViewUI::InsertNodeAt(CControlUI* control, int index)
{
    CTreeNodeUI* node = AsTreeNode(control);
    // A node already in a tree would be listed (and owned) twice.
    if (node == nullptr || node->GetTreeView() != nullptr || index < 0 || index > ChildCount())
        return -1;
    node->NotifyListeners += MakeDelegate(this, &CTreeViewUI::HandleNodeDoubleClick);
    node->GetFolderButton()->NotifyListeners += MakeDelegate(this, &CTreeViewUI::HandleFolderToggle);
    node->GetCheckBox()->NotifyListeners += MakeDelegate(this, &CTreeViewUI::HandleCheckToggle);
    node->GetFolderButton()->SetVisible(m_visibleFolderButtons);
    node->GetCheckBox()->SetVisible(m_visibleCheckBoxes);
    if (m_itemMinWidth != 0)
        node->SetMinWidth(m_itemMinWidth);
    if (!CListUI::InsertChild(node, index))
        return -1;
    node->SetTreeView(this);
    int next = index + 1;
    for (int i = 0; i < node->ChildNodeCount() && next >= 0; ++i)
        next = InsertNodeAt(node->ChildNodeAt(i), next);
    return next;
}

bool CTreeViewUI::AppendNode(CControlUI* node) { return InsertNodeAt(node, ChildCount()) >= 0; }

bool CTreeViewUI::InsertNodeBefore(CControlUI* node, CControlUI* existingNode)
{
    const int index = existingNode != nullptr ? IndexOfChild(existingNode) : -1;
    return index >= 0 && InsertNodeAt(node, index) >= 0;
}

//--- removal -------------------------------------------------------------------------------------

bool CTreeViewUI::RemoveNode(CTreeNodeUI* node)
{
    if (CTreeNodeUI* parent = node->GetParentNode())
        return parent->RemoveChild(node);
    while (node->ChildNodeCount() > 0)
        node->RemoveChild(node->ChildNodeAt(0));
    node->SetTreeView(nullptr);
    return CListUI::RemoveChild(node);
}

bool CTreeViewUI::DetachNode(CControlUI* control)
{
    CTreeNodeUI* node = AsTreeNode(control);
    if (node == nullptr || node->GetTreeView() != this || IndexOfChild(node) < 0)
        return false;
    return RemoveNode(node);
}

bool CTreeViewUI::RemoveChild(CControlUI* control)
{
    if (AsTreeNode(control) != nullptr)
        return DetachNode(control);
    return CListUI::RemoveChild(control);
}

bool CTreeViewUI::RemoveChildAt(int index)
{
    CTreeNodeUI* node = NodeAt(index);
    if (node == nullptr || node->ChildNodeCount() == 0)
        return false;
    return DetachNode(node);
}

//--- notifications -------------------------------------------------------------------------------

CTreeNodeUI* CTreeViewUI::NodeOfPart(void* param, const char* type)
{
    const TNotifyEvent* event = static_cast<const TNotifyEvent*>(param);
    if (event == nullptr || event->Type != type || event->Sender == nullptr)
        return nullptr;
    // part -> item row -> node
    CControlUI* row = event->Sender->GetParent();
    return row != nullptr ? AsTreeNode(row->GetParent()) : nullptr;
}

bool CTreeViewUI::HandleFolderToggle(void* param)
{
    CTreeNodeUI* node = NodeOfPart(param, "selectchanged");
    if (node == nullptr || static_cast<TNotifyEvent*>(param)->Sender != node->GetFolderButton())
        return false;
    node->SetNodeExpanded(!node->GetFolderButton()->IsSelected());
    ShowDescendants(node->IsNodeExpanded(), node);
    return true;
}

bool CTreeViewUI::HandleCheckToggle(void* param)
{
    CTreeNodeUI* node = NodeOfPart(param, "selectchanged");
    if (node == nullptr || static_cast<TNotifyEvent*>(param)->Sender != node->GetCheckBox())
        return false;
    CheckDescendants(node->GetCheckBox()->IsSelected(), node);
    return true;
}

bool CTreeViewUI::HandleNodeDoubleClick(void* param)
{
    const TNotifyEvent* event = static_cast<const TNotifyEvent*>(param);
    CTreeNodeUI* node = event != nullptr && event->Type == "itemdbclick" ? AsTreeNode(event->Sender) : nullptr;
    if (node == nullptr)
        return false;
    CCheckBoxUI* folder = node->GetFolderButton();
    // The toggle's own "selectchanged" shows or hides the children already, and its listeners may
    // remove the node.
    CControlAliveGuard alive(m_host, node);
    folder->SetSelected(!folder->IsSelected());
    if (!alive.IsAlive())
        return true;
    node->SetNodeExpanded(!folder->IsSelected());
    ShowDescendants(node->IsNodeExpanded(), node);
    return true;
}

//--- walks over the nodes ------------------------------------------------------------------------

std::vector<CTreeNodeUI*> CTreeViewUI::ChildrenOf(CTreeNodeUI* node) const
{
    std::vector<CTreeNodeUI*> nodes;
    if (node != nullptr) {
        for (int i = 0; i < node->ChildNodeCount(); ++i)
            nodes.push_back(node->ChildNodeAt(i));
    } else {
        ForEachNode([&](CTreeNodeUI* row) { nodes.push_back(row); });
    }
    return nodes;
}

void CTreeViewUI::ShowDescendants(bool expand, CTreeNodeUI* node)
{
    for (CTreeNodeUI* child : ChildrenOf(node)) {
        child->SetVisible(expand);
        // A collapsed child keeps its own children hidden.
        if (child->ChildNodeCount() > 0 && !child->GetFolderButton()->IsSelected())
            ShowDescendants(expand, child);
    }
}

void CTreeViewUI::CheckDescendants(bool checked, CTreeNodeUI* node)
{
    for (CTreeNodeUI* child : ChildrenOf(node)) {
        CControlAliveGuard alive(m_host, child);
        child->GetCheckBox()->SetSelected(checked);
        if (alive.IsAlive() && child->ChildNodeCount() > 0)
            CheckDescendants(checked, child);
    }
}

//--- settings ------------------------------------------------------------------------------------

void CTreeViewUI::ShowFolderButtons(bool show)
{
    m_visibleFolderButtons = show;
    ForEachNode([&](CTreeNodeUI* node) { node->GetFolderButton()->SetVisible(show); });
}

void CTreeViewUI::ShowCheckBoxes(bool show)
{
    m_visibleCheckBoxes = show;
    ForEachNode([&](CTreeNodeUI* node) { node->GetCheckBox()->SetVisible(show); });
}

void CTreeViewUI::SetNodeMinWidth(int width)
{
    m_itemMinWidth = width;
    ForEachNode([&](CTreeNodeUI* node) { node->SetMinWidth(width); });
    RequestLayout();
}

void CTreeViewUI::SetNodeTextColor(uint32_t color)
{
    ForEachNode([&](CTreeNodeUI* node) { node->SetItemTextColor(color); });
}

void CTreeViewUI::SetNodeHotTextColor(uint32_t color)
{
    ForEachNode([&](CTreeNodeUI* node) { node->SetItemHotTextColor(color); });
}

void CTreeViewUI::SetSelectedNodeTextColor(uint32_t color)
{
    ForEachNode([&](CTreeNodeUI* node) { node->SetSelectedItemTextColor(color); });
}

void CTreeViewUI::SetSelectedNodeHotTextColor(uint32_t color)
{
    ForEachNode([&](CTreeNodeUI* node) { node->SetSelectedItemHotTextColor(color); });
}

CAttributeTable<CTreeViewUI> CTreeViewUI::OwnAttributes()
{
    using C = CTreeViewUI;
    static constexpr TAttributeHandler<C> kTable[] = {
        {"visiblefolderbtn", [](C& c, const char* v) { c.ShowFolderButtons(ParseFlag(v)); }},
        {"visiblecheckbtn", [](C& c, const char* v) { c.ShowCheckBoxes(ParseFlag(v)); }},
        {"itemminwidth", [](C& c, const char* v) { c.SetNodeMinWidth(ParseInt(v)); }},
        {"itemtextcolor", [](C& c, const char* v) { c.SetNodeTextColor(ParseColor(v)); }},
        {"itemhottextcolor", [](C& c, const char* v) { c.SetNodeHotTextColor(ParseColor(v)); }},
        {"selitemtextcolor", [](C& c, const char* v) { c.SetSelectedNodeTextColor(ParseColor(v)); }},
        {"selitemhottextcolor", [](C& c, const char* v) { c.SetSelectedNodeHotTextColor(ParseColor(v)); }},
    };
    return kTable;
}

void CTreeViewUI::SetAttribute(const char* name, const char* value)
{
    if (!OwnAttributes().Apply(*this, name, value))
        CListUI::SetAttribute(name, value);
}

void CTreeViewUI::AppendAttributeNames(TAttributeNames& names)
{
    OwnAttributes().AppendNames(names);
    CListUI::AppendAttributeNames(names);
}

}  // namespace SkinUI
