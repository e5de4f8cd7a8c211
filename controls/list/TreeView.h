// A hierarchy of CTreeNodeUI shown as an indented list ("TreeView" in the skin).
//
// The tree is a CListUI whose rows are all its nodes, at every depth, in depth-first order; a node's
// children follow it, and collapsing a node hides its descendants. The view listens to each node's
// own notifications ("itemdbclick"), its folder button and its check box ("selectchanged"), and
// answers them by showing or hiding, checking or unchecking the node's descendants.
//
// Every removal of a node, whichever entry it comes through, takes the node's descendants out
// first and drops the node from its parent's children, so no node is left referring to a removed
// one. The header is hidden from the start.
#pragma once

#include <cstdint>
#include <vector>

#include "controls/list/List.h"

namespace SkinUI {

class CTreeNodeUI;

class CTreeViewUI : public CListUI {
public:
    CTreeViewUI();

    const char* GetTypeName() const override;
    void* CastTo(const char* name) override;
    void SetAttribute(const char* name, const char* value) override;
    static void AppendAttributeNames(TAttributeNames& names);

    // IContainerUI: nodes leave through the node removal below.
    bool RemoveChild(CControlUI* control) override;
    // A leaf at the index is refused (false); a node with children leaves with them.
    bool RemoveChildAt(int index) override;

    virtual bool AppendNode(CControlUI* node);
    virtual bool InsertNodeBefore(CControlUI* node, CControlUI* existingNode);
    // Inserts at `index` (0 to the row count) with the node's descendants after it; answers the
    // position after the last inserted node, or -1.
    virtual int InsertNodeAt(CControlUI* node, int index);
    virtual bool DetachNode(CControlUI* node);
    // Notification handlers (the parameter is a TNotifyEvent); true when handled.
    virtual bool HandleCheckToggle(void* param);
    virtual bool HandleFolderToggle(void* param);
    virtual bool HandleNodeDoubleClick(void* param);
    // Null stands for every row of the list.
    virtual void CheckDescendants(bool checked, CTreeNodeUI* node);
    virtual void ShowDescendants(bool expand, CTreeNodeUI* node);
    virtual void ShowFolderButtons(bool show);
    virtual bool FolderButtonsShown() const { return m_visibleFolderButtons; }
    virtual void ShowCheckBoxes(bool show);
    virtual bool CheckBoxesShown() const { return m_visibleCheckBoxes; }
    virtual void SetNodeMinWidth(int width);
    virtual int NodeMinWidth() const { return m_itemMinWidth; }
    virtual void SetNodeTextColor(uint32_t color);
    virtual void SetNodeHotTextColor(uint32_t color);
    virtual void SetSelectedNodeTextColor(uint32_t color);
    virtual void SetSelectedNodeHotTextColor(uint32_t color);

private:
    // The one way a node leaves: through its parent when it has one, else its descendants and then
    // itself.
    bool RemoveNode(CTreeNodeUI* node);
    // A snapshot of the direct children of `node`, or of every node row when it is null: the
    // listeners of the parts may change the tree while it is walked.
    std::vector<CTreeNodeUI*> ChildrenOf(CTreeNodeUI* node) const;
    CTreeNodeUI* NodeAt(int index) const;
    template <class Fn> void ForEachNode(Fn fn) const
    {
        for (int i = 0; i < ChildCount(); ++i) {
            if (CTreeNodeUI* node = NodeAt(i))
                fn(node);
        }
    }
    // The node that owns a folder button or check box sending a notification.
    static CTreeNodeUI* NodeOfPart(void* param, const char* type);

    int m_itemMinWidth = 0;
    bool m_visibleFolderButtons = true;
    bool m_visibleCheckBoxes = false;

    static CAttributeTable<CTreeViewUI> OwnAttributes();
};

}  // namespace SkinUI
