// One node of a tree view ("TreeNode" in the skin): a list row whose content is a horizontal item
// row of an indentation spacer, a folder (expand/collapse) button, an optional check box and the
// node's text on an option.
//
// Every node of a tree, at every depth, is a row of the tree view's list, in depth-first order;
// the node itself only references its child nodes. A node outside a tree view owns its child nodes
// (nobody else could), so a subtree built before it joins a tree is destroyed with its root; once
// in a tree view, the list owns every node and destroys removed ones through the host's deferred
// destroy.
//
// Controls other than nodes added through the container interface join the node's own children
// beside the item row.
#pragma once

#include <cstdint>

#include "controls/list/ListContainerElement.h"
#include "core/PtrVector.h"

namespace SkinUI {

class CCheckBoxUI;
class CHorizontalLayoutUI;
class CLabelUI;
class COptionUI;
class CTreeViewUI;

class CTreeNodeUI : public CListContainerElementUI {
public:
    CTreeNodeUI();
    ~CTreeNodeUI() override;

    const char* GetTypeName() const override;
    static constexpr const char* kCastName = "TreeNode";
    void* CastTo(const char* name) override;
    void OnEvent(TInputEvent& event) override;
    void SetAttribute(const char* name, const char* value) override;
    static void AppendAttributeNames(TAttributeNames& names);

    // IContainerUI: child nodes go into the tree, other controls beside the item row.
    bool AddChild(CControlUI* control) override;
    bool InsertChild(CControlUI* control, int index) override;
    // Only a direct child node; it leaves with its descendants.
    bool RemoveChild(CControlUI* control) override;

    // IListItemUI: the text colour follows the selection.
    bool Select(bool select) override;

    bool AttachChildNode(CControlUI* child);
    CTreeNodeUI* ChildNodeAt(int index) const;
    int ChildNodeCount() const { return m_childNodes.GetSize(); }
    CPtrVectorUI ChildNodeList() const { return m_childNodes; }
    // Position in the tree view's list, -1 outside a tree.
    int ListPosition() const;
    // The last node of this subtree in depth-first order (this node when it has no children).
    CTreeNodeUI* LastDescendant();
    CUIString NodeText() const;
    // Makes `child` one of this node's children: indentation, parent, item group, tree.
    CTreeNodeUI* PlaceChild(CTreeNodeUI* child);

    CTreeNodeUI* GetParentNode() const { return m_parentNode; }
    CTreeViewUI* GetTreeView() const { return m_treeView; }
    void SetTreeView(CTreeViewUI* view) { m_treeView = view; }
    bool IsNodeExpanded() const { return m_expanded; }
    void SetNodeExpanded(bool expanded) { m_expanded = expanded; }

    // Tree bookkeeping, done by the tree view: `child` is no longer one of this node's children;
    // `child` moves to follow `after` among them (first when null); this node leaves its tree with
    // all its descendants at once, so it names none of them any more.
    void ForgetChildNode(CTreeNodeUI* child);
    void ReorderChildNode(CTreeNodeUI* child, CTreeNodeUI* after);
    void LeaveTree();

    CHorizontalLayoutUI* GetItemRow() const { return m_row; }
    CLabelUI* GetDottedLine() const { return m_dottedLine; }
    CCheckBoxUI* GetFolderButton() const { return m_folderButton; }
    CCheckBoxUI* GetCheckBox() const { return m_checkBox; }
    COptionUI* GetItemButton() const { return m_itemButton; }

    void SetItemTextColor(uint32_t color);
    void SetItemHotTextColor(uint32_t color);
    void SetSelectedItemTextColor(uint32_t color);
    void SetSelectedItemHotTextColor(uint32_t color);
    uint32_t GetItemTextColor() const { return m_itemTextColor; }

private:
    // Inserts `child` (with its subtree) into the tree view's list at `position` and records it
    // among the children at `slot`; nothing changes when the list refuses it.
    bool AddChildNodeAt(CTreeNodeUI* child, int slot, int position);
    void OnHoverChange(bool entering);
    bool AddOwnChild(CControlUI* control);

    bool m_expanded = true;
    uint32_t m_itemTextColor = 0;
    uint32_t m_itemHotTextColor = 0;
    uint32_t m_selItemTextColor = 0;
    uint32_t m_selItemHotTextColor = 0;
    CTreeViewUI* m_treeView = nullptr;  // not owned; null until the node is in a tree
    CHorizontalLayoutUI* m_row;  // owned as a child
    CCheckBoxUI* m_folderButton;  // owned by the row; selected = collapsed
    CLabelUI* m_dottedLine;  // owned by the row; its fixed width is the indentation
    CCheckBoxUI* m_checkBox;  // owned by the row
    COptionUI* m_itemButton;  // owned by the row
    CTreeNodeUI* m_parentNode = nullptr;  // not owned; null at the top level
    CPtrVectorUI m_childNodes;  // CTreeNodeUI*, owned only while this node is outside a tree

    static CAttributeTable<CTreeNodeUI> OwnAttributes();
};

// The node `control` is, or null (checked by type name, as every node operation does).
CTreeNodeUI* AsTreeNode(CControlUI* control);

}  // namespace SkinUI
