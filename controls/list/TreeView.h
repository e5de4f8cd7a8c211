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
    static constexpr const char* kCastName = "TreeView";
    void* CastTo(const char* name) override;
    void SetAttribute(const char* name, const char* value) override;
    static void AppendAttributeNames(TAttributeNames& names);

    // IContainerUI: nodes come in and leave through the node operations below, always with their
    // descendants; captions and a header go to the list, and any other row is refused (it would
    // split a node from its descendants).
    bool InsertChild(CControlUI* control, int index) override;
    // A node moves among its siblings with its whole subtree: `newIndex` is where the node itself
    // ends up and must fall between two siblings' subtrees.
    bool MoveChild(CControlUI* control, int newIndex) override;
    bool RemoveChild(CControlUI* control) override;
    // A leaf at the index is refused (false); a node with children leaves with them.
    bool RemoveChildAt(int index) override;

    virtual bool AppendNode(CControlUI* node);
    virtual bool InsertNodeBefore(CControlUI* node, CControlUI* existingNode);
    // Inserts a top-level node at `index` (the row count, or the position of a top-level node) with
    // its descendants after it; answers the position after the last inserted node, or -1. A node
    // that belongs to a parent node joins a tree only through that parent.
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
    friend class CTreeNodeUI;  // places its child subtrees through InsertSubtree

    // Lists `node` and its subtree from `index` on, in depth-first order, and applies a selection
    // the nodes were given before they were in a view. Answers the position after the subtree.
    int InsertSubtree(CTreeNodeUI* node, int index);
    // Lists the nodes of `order` from `index` on without announcing each; answers the position after
    // them (-1 when the list refused one) and the last node marked selected in `marked`.
    int ListSubtree(const std::vector<CTreeNodeUI*>& order, int index, CTreeNodeUI*& marked);
    void Subscribe(CTreeNodeUI* node);
    // The one way a node leaves: its whole subtree, one block of rows, dropped from its parent.
    bool RemoveNode(CTreeNodeUI* node);
    // The position after the last row of the node's subtree.
    int SubtreeEnd(CTreeNodeUI* node) const;
    // Where the node's block goes so that the node lands at `newIndex` among its siblings: the
    // sibling it then follows (null: it goes first) in `after`; false when no such place exists.
    bool SiblingBefore(CTreeNodeUI* node, int newIndex, CTreeNodeUI*& after) const;
    // Visits the descendants of `node` (every row when null) in list order; `visit` answers
    // whether to go on below the visited node, and must do nothing (and raise nothing) when what
    // it does is done already: a walk whose rows a listener changed starts over, and one whose
    // node a listener removed ends.
    template <class Visit> void WalkDescendants(CTreeNodeUI* node, Visit visit);
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
    // Set while a check runs down a subtree: the toggles it causes below are its own work.
    bool m_checking = false;

    static CAttributeTable<CTreeViewUI> OwnAttributes();
};

}  // namespace SkinUI
