#include "controls/list/TreeView.h"

#include <vector>

#include "controls/text/CheckBox.h"
#include "controls/list/ListHeader.h"
#include "controls/list/TreeNode.h"
#include "core/ValueParse.h"
#include "host/ControlAliveGuard.h"
#include "host/WindowHost.h"

namespace SkinUI {

namespace {

// Holds the host's announcements of rows joining, shown or hidden for a scope.
class CStructureHold {
public:
    explicit CStructureHold(CWindowHostUI* host)
        : m_host(host)
    {
        if (m_host != nullptr)
            m_host->HoldStructureAnnouncements();
    }
    ~CStructureHold()
    {
        if (m_host != nullptr)
            m_host->ReleaseStructureAnnouncements();
    }
    CStructureHold(const CStructureHold&) = delete;
    CStructureHold& operator=(const CStructureHold&) = delete;

private:
    CWindowHostUI* m_host;
};

}  // namespace

CTreeViewUI::CTreeViewUI() { GetHeader()->SetVisible(false); }

const char* CTreeViewUI::GetTypeName() const { return "TreeViewUI"; }

void* CTreeViewUI::CastTo(const char* name)
{
    if (CUIString(name) == kCastName)
        return this;
    return CListUI::CastTo(name);
}

CTreeNodeUI* CTreeViewUI::NodeAt(int index) const { return AsTreeNode(ChildAt(index)); }

//--- insertion -----------------------------------------------------------------------------------

void CTreeViewUI::Subscribe(CTreeNodeUI* node)
{
    node->NotifyListeners += MakeDelegate(this, &CTreeViewUI::HandleNodeDoubleClick);
    node->GetFolderButton()->NotifyListeners += MakeDelegate(this, &CTreeViewUI::HandleFolderToggle);
    node->GetCheckBox()->NotifyListeners += MakeDelegate(this, &CTreeViewUI::HandleCheckToggle);
    node->GetFolderButton()->SetVisible(m_visibleFolderButtons);
    node->GetCheckBox()->SetVisible(m_visibleCheckBoxes);
    if (m_itemMinWidth != 0)
        node->SetMinWidth(m_itemMinWidth);
}

int CTreeViewUI::InsertSubtree(CTreeNodeUI* node, int index)
{
    // A node already in a tree would be listed (and owned) twice.
    if (node == nullptr || node->GetTreeView() != nullptr || index < 0 || index > ChildCount())
        return -1;
    // Depth-first order without recursion: trees made in code may be any depth.
    std::vector<CTreeNodeUI*> order;
    std::vector<CTreeNodeUI*> pending(1, node);
    while (!pending.empty()) {
        CTreeNodeUI* next = pending.back();
        pending.pop_back();
        order.push_back(next);
        for (int i = next->ChildNodeCount() - 1; i >= 0; --i)
            pending.push_back(next->ChildNodeAt(i));
    }
    CTreeNodeUI* marked = nullptr;
    const int position = ListSubtree(order, index, marked);
    if (position < 0)
        return -1;
    CControlAliveGuard alive(m_host, this);
    if (marked != nullptr) {
        SelectItem(marked->ListPosition(), false);
        if (!alive.IsAlive())
            return -1;
    }
    // One announcement for the whole subtree: a single node is a new row; more rows are the
    // tree's children changed, which a screen reader reads afresh.
    if (m_host != nullptr) {
        CControlAliveGuard nodeAlive(m_host, node);
        if (order.size() == 1 && nodeAlive.IsAlive())
            m_host->AnnounceAccessibleChange(node, EVENT_OBJECT_CREATE);
        else if (order.size() > 1)
            m_host->AnnounceAccessibleChange(this, EVENT_OBJECT_REORDER);
    }
    return alive.IsAlive() ? position : -1;
}

int CTreeViewUI::ListSubtree(const std::vector<CTreeNodeUI*>& order, int index, CTreeNodeUI*& marked)
{
    CStructureHold hold(m_host);
    int position = index;
    for (CTreeNodeUI* each : order) {
        Subscribe(each);
        // Cannot fail: the index was checked, and a node outside a tree is in no list.
        if (!CListUI::InsertChild(each, position))
            return -1;
        each->SetTreeView(this);
        ++position;
        // A node marked selected before it had a view ("selected" in markup) takes the selection
        // now; only the last such mark counts, as in a list.
        if (each->IsSelected()) {
            if (marked != nullptr)
                marked->Select(false);
            marked = each;
        }
    }
    return position;
}

int CTreeViewUI::InsertNodeAt(CControlUI* control, int index)
{
    CTreeNodeUI* node = AsTreeNode(control);
    if (node == nullptr || node->GetParentNode() != nullptr)
        return -1;
    // Between two top-level subtrees only: anywhere else would cut a subtree in two.
    CTreeNodeUI* before = NodeAt(index);
    if (index != ChildCount() && (before == nullptr || before->GetParentNode() != nullptr))
        return -1;
    return InsertSubtree(node, index);
}

bool CTreeViewUI::AppendNode(CControlUI* node) { return InsertNodeAt(node, ChildCount()) >= 0; }

bool CTreeViewUI::InsertNodeBefore(CControlUI* node, CControlUI* existingNode)
{
    const int index = existingNode != nullptr ? IndexOfChild(existingNode) : -1;
    return index >= 0 && InsertNodeAt(node, index) >= 0;
}

bool CTreeViewUI::InsertChild(CControlUI* control, int index)
{
    if (AsTreeNode(control) != nullptr)
        return InsertNodeAt(control, index) >= 0;
    if (control != nullptr && (IsCaption(control) || ControlCast<CListHeaderUI>(control) != nullptr))
        return CListUI::InsertChild(control, index);
    return false;
}

//--- moves ---------------------------------------------------------------------------------------

int CTreeViewUI::SubtreeEnd(CTreeNodeUI* node) const { return node->LastDescendant()->ListPosition() + 1; }

bool CTreeViewUI::SiblingBefore(CTreeNodeUI* node, int newIndex, CTreeNodeUI*& after) const
{
    const int first = node->ListPosition();
    const int count = SubtreeEnd(node) - first;
    after = nullptr;
    CTreeNodeUI* parent = node->GetParentNode();
    // The siblings in order: the parent's children, or the top-level nodes.
    int at = parent != nullptr ? parent->ListPosition() + 1 : 0;
    const int end = parent != nullptr ? SubtreeEnd(parent) : ChildCount();
    while (at < end) {
        CTreeNodeUI* sibling = NodeAt(at);
        if (sibling == nullptr)
            return false;
        if (sibling != node) {
            // Where the node's block would start if it went right before this sibling.
            const int start = at < first ? at : at - count;
            if (start == newIndex)
                return true;
            after = sibling;
        }
        at = SubtreeEnd(sibling);
    }
    // After the last sibling.
    return end - count == newIndex;
}

bool CTreeViewUI::MoveChild(CControlUI* control, int newIndex)
{
    CTreeNodeUI* node = AsTreeNode(control);
    // Every row of a tree is a node.
    if (node == nullptr || node->GetTreeView() != this)
        return false;
    const int first = node->ListPosition();
    if (first < 0)
        return false;
    if (first == newIndex)
        return true;
    CTreeNodeUI* after = nullptr;
    if (!SiblingBefore(node, newIndex, after))
        return false;
    const int count = SubtreeEnd(node) - first;
    if (!MoveRows(first, count, newIndex))
        return false;
    if (CTreeNodeUI* parent = node->GetParentNode())
        parent->ReorderChildNode(node, after);
    return true;
}

//--- removal -------------------------------------------------------------------------------------

bool CTreeViewUI::RemoveNode(CTreeNodeUI* node)
{
    const int first = node->ListPosition();
    if (first < 0)
        return false;
    const int end = SubtreeEnd(node);
    if (CTreeNodeUI* parent = node->GetParentNode())
        parent->ForgetChildNode(node);
    // The list owns every node of the block; none may still name another once they go.
    for (int i = first; i < end; ++i) {
        if (CTreeNodeUI* each = NodeAt(i))
            each->LeaveTree();
    }
    return RemoveRows(first, end - first);
}

bool CTreeViewUI::DetachNode(CControlUI* control)
{
    CTreeNodeUI* node = AsTreeNode(control);
    if (node == nullptr || node->GetTreeView() != this)
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
    // A toggle caused by a check already running below an ancestor: that walk reaches this
    // node's descendants too.
    if (m_checking)
        return true;
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

template <class Visit> void CTreeViewUI::WalkDescendants(CTreeNodeUI* node, Visit visit)
{
    // The walk's own node, or the view itself for a walk over every row.
    CControlAliveGuard rootAlive(m_host, node != nullptr ? static_cast<CControlUI*>(node) : this);
    bool again = true;
    while (again && rootAlive.IsAlive()) {
        again = false;
        int at = node != nullptr ? node->ListPosition() + 1 : 0;
        if (node != nullptr && at <= 0)
            return;
        const unsigned changes = RowChanges();
        while (at < (node != nullptr ? SubtreeEnd(node) : ChildCount())) {
            CTreeNodeUI* each = NodeAt(at);
            if (each == nullptr)
                return;
            CControlAliveGuard alive(m_host, each);
            const bool below = visit(each);
            // A listener changed the rows: start over from the top, where what is done already
            // changes nothing and raises nothing.
            if (!alive.IsAlive() || RowChanges() != changes) {
                again = true;
                break;
            }
            at = below ? at + 1 : SubtreeEnd(each);
        }
    }
}

void CTreeViewUI::ShowDescendants(bool expand, CTreeNodeUI* node)
{
    bool changed = false;
    CControlAliveGuard alive(m_host, this);
    {
        CStructureHold hold(m_host);
        WalkDescendants(node, [&](CTreeNodeUI* each) {
            changed = changed || each->IsOwnVisible() != expand;
            each->SetVisible(expand);
            // A collapsed node keeps its own children hidden; for the whole list every row follows.
            return node == nullptr || !each->GetFolderButton()->IsSelected();
        });
    }
    // The rows shown or hidden are one change of the tree's children for a screen reader.
    if (changed && alive.IsAlive() && m_host != nullptr)
        m_host->AnnounceAccessibleChange(this, EVENT_OBJECT_REORDER);
}

void CTreeViewUI::CheckDescendants(bool checked, CTreeNodeUI* node)
{
    const bool outer = !m_checking;
    m_checking = true;
    CControlAliveGuard alive(m_host, this);
    WalkDescendants(node, [&](CTreeNodeUI* each) {
        each->GetCheckBox()->SetSelected(checked);
        return true;
    });
    if (alive.IsAlive() && outer)
        m_checking = false;
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
