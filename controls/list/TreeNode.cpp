#include "controls/list/TreeNode.h"

#include <utility>
#include <vector>

#include "controls/text/CheckBox.h"
#include "controls/layout/HorizontalLayout.h"
#include "controls/text/Label.h"
#include "controls/list/TreeView.h"
#include "core/ValueParse.h"
#include "host/ControlAliveGuard.h"
#include "host/WindowHost.h"

namespace SkinUI {

namespace {

const int kNodeHeight = 18;
const int kNodeWidth = 250;
const int kTopIndent = 2;
const int kIndentStep = 16;
const int kCheckBoxWidth = 18;

}  // namespace

CTreeNodeUI* AsTreeNode(CControlUI* control)
{
    if (control == nullptr || CUIString(control->GetTypeName()).CompareNoCase("TreeNodeUI") != 0)
        return nullptr;
    return ControlCast<CTreeNodeUI>(control);
}

//--- construction, identity ----------------------------------------------------------------------

CTreeNodeUI::CTreeNodeUI()
    : m_row(new CHorizontalLayoutUI)
    , m_folderButton(new CCheckBoxUI)
    , m_dottedLine(new CLabelUI)
    , m_checkBox(new CCheckBoxUI)
    , m_itemButton(new COptionUI)
{
    SetFixedHeight(kNodeHeight);
    SetFixedWidth(kNodeWidth);
    m_dottedLine->SetVisible(false);
    m_dottedLine->SetFixedWidth(kTopIndent);
    m_folderButton->SetFixedWidth(GetFixedHeight());
    m_checkBox->SetVisible(false);
    m_checkBox->SetFixedWidth(kCheckBoxWidth);
    m_itemButton->SetTextStyle(DT_LEFT | DT_VCENTER | DT_SINGLELINE);
    // The node takes the clicks on its text: they select the row.
    m_itemButton->SetAcceptsMouse(false);
    m_row->AddChild(m_dottedLine);
    m_row->AddChild(m_folderButton);
    m_row->AddChild(m_checkBox);
    m_row->AddChild(m_itemButton);
    AddOwnChild(m_row);
}

CTreeNodeUI::~CTreeNodeUI()
{
    // Outside a tree nobody else holds the child nodes; inside one the list destroys them. The
    // subtree is gathered first and its links cut, so deleting it never recurses on its depth.
    if (m_treeView != nullptr)
        return;
    std::vector<CTreeNodeUI*> doomed;
    size_t next = 0;
    for (CTreeNodeUI* node = this; node != nullptr; node = next < doomed.size() ? doomed[next++] : nullptr) {
        for (int i = 0; i < node->ChildNodeCount(); ++i)
            doomed.push_back(node->ChildNodeAt(i));
        node->m_childNodes.Clear();
    }
    for (CTreeNodeUI* node : doomed)
        delete node;
}

const char* CTreeNodeUI::GetTypeName() const { return "TreeNodeUI"; }

void* CTreeNodeUI::CastTo(const char* name)
{
    if (CUIString(name) == kCastName)
        return this;
    return CListContainerElementUI::CastTo(name);
}

//--- child nodes ---------------------------------------------------------------------------------

CTreeNodeUI* CTreeNodeUI::ChildNodeAt(int index) const
{
    if (index < 0 || index >= m_childNodes.GetSize())
        return nullptr;
    return static_cast<CTreeNodeUI*>(m_childNodes.GetAt(index));
}

int CTreeNodeUI::ListPosition() const { return m_treeView != nullptr ? m_treeView->IndexOfChild(this) : -1; }

CTreeNodeUI* CTreeNodeUI::LastDescendant()
{
    CTreeNodeUI* node = this;
    while (node->ChildNodeCount() > 0)
        node = node->ChildNodeAt(node->ChildNodeCount() - 1);
    return node;
}

CUIString CTreeNodeUI::NodeText() const { return m_itemButton->GetText(); }

CTreeNodeUI* CTreeNodeUI::PlaceChild(CTreeNodeUI* child)
{
    child->m_parentNode = this;
    // A subtree built elsewhere follows its root to the new depth (without recursing on it).
    std::vector<std::pair<CTreeNodeUI*, CTreeNodeUI*>> pending(1, std::make_pair(this, child));
    while (!pending.empty()) {
        CTreeNodeUI* parent = pending.back().first;
        CTreeNodeUI* node = pending.back().second;
        pending.pop_back();
        node->m_dottedLine->SetVisible(true);
        node->m_dottedLine->SetFixedWidth(parent->m_dottedLine->GetFixedWidth() + kIndentStep);
        node->m_itemButton->SetGroup(parent->m_itemButton->GetGroup().GetData());
        for (int i = 0; i < node->ChildNodeCount(); ++i)
            pending.push_back(std::make_pair(node, node->ChildNodeAt(i)));
    }
    return child;
}

void CTreeNodeUI::ForgetChildNode(CTreeNodeUI* child)
{
    const int slot = m_childNodes.Find(child);
    if (slot >= 0)
        m_childNodes.Remove(slot);
    child->m_parentNode = nullptr;
}

void CTreeNodeUI::ReorderChildNode(CTreeNodeUI* child, CTreeNodeUI* after)
{
    const int slot = m_childNodes.Find(child);
    if (slot < 0)
        return;
    m_childNodes.Remove(slot);
    m_childNodes.InsertAt(after != nullptr ? m_childNodes.Find(after) + 1 : 0, child);
}

void CTreeNodeUI::LeaveTree()
{
    m_treeView = nullptr;
    m_parentNode = nullptr;
    m_childNodes.Clear();
}

bool CTreeNodeUI::AddChildNodeAt(CTreeNodeUI* child, int slot, int position)
{
    // A node lives in one place only; placing an ancestor below itself would make a cycle.
    if (child->m_parentNode != nullptr || child->m_treeView != nullptr)
        return false;
    // Only a node with children can be an ancestor of this one; a new leaf needs no walk up,
    // which keeps a chain built in code linear.
    for (CTreeNodeUI* up = this; up != nullptr; up = child->ChildNodeCount() > 0 ? up->m_parentNode : nullptr) {
        if (up == child)
            return false;
    }
    PlaceChild(child);
    if (m_treeView != nullptr && m_treeView->InsertSubtree(child, position) < 0) {
        child->m_parentNode = nullptr;
        return false;
    }
    m_childNodes.InsertAt(slot, child);
    return true;
}

bool CTreeNodeUI::AttachChildNode(CControlUI* control)
{
    CTreeNodeUI* child = AsTreeNode(control);
    if (child == nullptr)
        return false;
    const int position = m_treeView != nullptr ? LastDescendant()->ListPosition() + 1 : -1;
    if (m_treeView != nullptr && position <= 0)
        return false;
    return AddChildNodeAt(child, m_childNodes.GetSize(), position);
}

bool CTreeNodeUI::AddChild(CControlUI* control)
{
    if (AsTreeNode(control) != nullptr)
        return AttachChildNode(control);
    return AddOwnChild(control);
}

bool CTreeNodeUI::AddOwnChild(CControlUI* control)
{
    // The container's own insertion: InsertChild here takes nodes only.
    return CContainerUI::InsertChild(control, CContainerUI::ChildCount());
}

bool CTreeNodeUI::InsertChild(CControlUI* control, int index)
{
    CTreeNodeUI* child = AsTreeNode(control);
    if (child == nullptr)
        return false;
    CTreeNodeUI* before = ChildNodeAt(index);
    // Without a child at the index the new one goes last, after this node's whole subtree.
    if (before == nullptr)
        return AttachChildNode(child);
    const int position = before->ListPosition();
    if (m_treeView != nullptr && position < 0)
        return false;
    return AddChildNodeAt(child, index, position);
}

bool CTreeNodeUI::RemoveChild(CControlUI* control)
{
    CTreeNodeUI* child = AsTreeNode(control);
    const int slot = child != nullptr ? m_childNodes.Find(child) : -1;
    if (slot < 0)
        return false;
    // In a tree the view takes the whole subtree out and drops it from here.
    if (m_treeView != nullptr)
        return m_treeView->DetachNode(child);
    ForgetChildNode(child);
    delete child;
    return true;
}

//--- selection, input, colours -------------------------------------------------------------------

bool CTreeNodeUI::Select(bool select)
{
    // The owner's "itemselect" listeners may remove this node.
    CControlAliveGuard alive(m_host, this);
    const bool result = CListContainerElementUI::Select(select);
    if (alive.IsAlive())
        m_itemButton->SetTextColor(IsSelected() ? m_selItemTextColor : m_itemTextColor);
    return result;
}

void CTreeNodeUI::OnHoverChange(bool entering)
{
    if (!IsEnabled()) {
        m_itemButton->SetTextColor(m_itemButton->GetDisabledTextColor());
        return;
    }
    if (entering) {
        const bool selectedHot = IsSelected() && m_selItemHotTextColor != 0;
        m_itemButton->SetTextColor(selectedHot ? m_selItemHotTextColor : m_itemHotTextColor);
    } else if (!IsSelected()) {
        m_itemButton->SetTextColor(m_itemTextColor);
    } else if (m_selItemTextColor != 0) {
        m_itemButton->SetTextColor(m_selItemTextColor);
    }
}

void CTreeNodeUI::OnEvent(TInputEvent& event)
{
    // A node that refuses the mouse passes it on unchanged: the row handling does that.
    const bool ownMouse = !IsMouseEventKind(event.Type) || AcceptsMouse();
    CControlAliveGuard alive(m_host, this);
    CListContainerElementUI::OnEvent(event);
    if (!ownMouse || !alive.IsAlive())
        return;
    switch (event.Type) {
    case InputEventKind::DoubleClick:
        if (IsEnabled() && m_host != nullptr) {
            m_host->SendNotification(this, "itemdbclick");
            if (alive.IsAlive())
                Invalidate();
        }
        break;
    case InputEventKind::MouseEnter:
        OnHoverChange(true);
        break;
    case InputEventKind::MouseLeave:
        OnHoverChange(false);
        break;
    default:
        break;
    }
}

void CTreeNodeUI::SetItemTextColor(uint32_t color)
{
    m_itemTextColor = color;
    m_itemButton->SetTextColor(color);
}

void CTreeNodeUI::SetItemHotTextColor(uint32_t color)
{
    m_itemHotTextColor = color;
    Invalidate();
}

void CTreeNodeUI::SetSelectedItemTextColor(uint32_t color)
{
    m_selItemTextColor = color;
    Invalidate();
}

void CTreeNodeUI::SetSelectedItemHotTextColor(uint32_t color)
{
    m_selItemHotTextColor = color;
    Invalidate();
}

CAttributeTable<CTreeNodeUI> CTreeNodeUI::OwnAttributes()
{
    using C = CTreeNodeUI;
    static constexpr TAttributeHandler<C> kTable[] = {
        {"text", [](C& c, const char* v) { c.m_itemButton->SetText(v); }},
        {"horizattr", [](C& c, const char* v) { c.m_row->ApplyAttributeText(v); }},
        {"dotlineattr", [](C& c, const char* v) { c.m_dottedLine->ApplyAttributeText(v); }},
        {"folderattr", [](C& c, const char* v) { c.m_folderButton->ApplyAttributeText(v); }},
        {"checkboxattr", [](C& c, const char* v) { c.m_checkBox->ApplyAttributeText(v); }},
        {"itemattr", [](C& c, const char* v) { c.m_itemButton->ApplyAttributeText(v); }},
        {"itemtextcolor", [](C& c, const char* v) { c.SetItemTextColor(ParseColor(v)); }},
        {"itemhottextcolor", [](C& c, const char* v) { c.SetItemHotTextColor(ParseColor(v)); }},
        {"selitemtextcolor", [](C& c, const char* v) { c.SetSelectedItemTextColor(ParseColor(v)); }},
        {"selitemhottextcolor", [](C& c, const char* v) { c.SetSelectedItemHotTextColor(ParseColor(v)); }},
    };
    return kTable;
}

void CTreeNodeUI::SetAttribute(const char* name, const char* value)
{
    if (!OwnAttributes().Apply(*this, name, value))
        CListContainerElementUI::SetAttribute(name, value);
}

void CTreeNodeUI::AppendAttributeNames(TAttributeNames& names)
{
    OwnAttributes().AppendNames(names);
    CListContainerElementUI::AppendAttributeNames(names);
}

}  // namespace SkinUI
