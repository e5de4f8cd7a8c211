// The tree view built from markup and driven by real clicks on the folder buttons and check boxes:
// visible rows and indentation read back from the layout, nodes inserted and removed through every
// entry with the list order and the child lists checked, and removed nodes really destroyed.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "support/HostBed.h"
#include "controls/text/CheckBox.h"
#include "controls/layout/HorizontalLayout.h"
#include "controls/text/Label.h"
#include "controls/list/TreeNode.h"
#include "controls/list/TreeView.h"
#include "skin/SkinBuilder.h"

using namespace SkinUI;
using testbed::HostBed;
using testbed::Pt;

namespace {

// Rows are 18 high from the top of the window (the header is hidden). Columns of a row: the
// indentation (hidden at the top level, 2 + 16 per level below), the folder button (18), the
// check box (18, when shown), then the text.
const char* const kTreeMarkup
    = "<Window><TreeView name=\"tree\" visiblecheckbtn=\"true\">"
      "<TreeNode name=\"A\" text=\"A\"><TreeNode name=\"A1\" text=\"A1\"><TreeNode name=\"A11\" text=\"A11\"/>"
      "</TreeNode><TreeNode name=\"A2\" text=\"A2\"/></TreeNode>"
      "<TreeNode name=\"B\" text=\"B\"/></TreeView></Window>";

CTreeViewUI* BuildTree(HostBed& bed, const char* xml = kTreeMarkup)
{
    CSkinBuilder builder;
    CControlUI* root = builder.BuildFrom(xml, nullptr, nullptr, &bed.Host(), nullptr);
    bed.Attach(root);
    CTreeViewUI* tree = ControlCast<CTreeViewUI>(root);
    // The tests walk their nodes by name: without rows there is nothing to test.
    return tree != nullptr && tree->ChildCount() > 0 ? tree : nullptr;
}

CTreeNodeUI* Node(HostBed& bed, const char* name) { return AsTreeNode(bed.Host().FindControlByName(name)); }

// The node texts of the list in order, of every row or only the visible ones.
std::string Rows(CTreeViewUI* tree, bool visibleOnly = false)
{
    std::string text;
    for (int i = 0; i < tree->ChildCount(); ++i) {
        CTreeNodeUI* node = AsTreeNode(tree->ChildAt(i));
        if (node != nullptr && (!visibleOnly || node->IsVisible()))
            text += (text.empty() ? "" : " ") + std::string(node->NodeText().GetData());
    }
    return text;
}

std::string ChildTexts(CTreeNodeUI* node)
{
    std::string text;
    for (int i = 0; i < node->ChildNodeCount(); ++i)
        text += (i == 0 ? "" : " ") + std::string(node->ChildNodeAt(i)->NodeText().GetData());
    return text;
}

std::string Checked(CTreeViewUI* tree)
{
    std::string text;
    for (int i = 0; i < tree->ChildCount(); ++i) {
        CTreeNodeUI* node = AsTreeNode(tree->ChildAt(i));
        if (node->GetCheckBox()->IsSelected())
            text += (text.empty() ? "" : " ") + std::string(node->NodeText().GetData());
    }
    return text;
}

// Clicks the middle of a control as laid out now.
void ClickOn(HostBed& bed, CControlUI* control)
{
    const CRectUI& r = control->GetPosition();
    bed.Click((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    bed.Repaint();
}

CTreeNodeUI* NewNode(const char* text)
{
    CTreeNodeUI* node = new CTreeNodeUI;
    node->SetAttribute("text", text);
    return node;
}

// Records the controls destroyed while it listens.
struct DestroyLog {
    bool OnDestroyed(void* control)
    {
        destroyed.push_back(control);
        return true;
    }
    void Watch(CControlUI* control) { control->DestroyListeners += MakeDelegate(this, &DestroyLog::OnDestroyed); }
    std::vector<void*> destroyed;
};

}  // namespace

TEST(TreeView, MarkupBuildsIndentedRowsInDepthFirstOrder)
{
    HostBed bed(300, 200);
    CTreeViewUI* tree = BuildTree(bed);
    ASSERT_NE(tree, nullptr);
    EXPECT_EQ(Rows(tree), "A A1 A11 A2 B");
    EXPECT_FALSE(tree->GetHeader()->IsVisible());
    EXPECT_EQ(ChildTexts(Node(bed, "A")), "A1 A2");
    EXPECT_EQ(Node(bed, "A11")->GetParentNode(), Node(bed, "A1"));
    EXPECT_EQ(Node(bed, "B")->GetParentNode(), nullptr);
    struct Case {
        const char* name;
        int row;  // visible position
        bool lineShown;
        int indent;  // dotted line width
        int textLeft;  // indent (when shown) + folder 18 + check box 18
    } cases[] = {
        {"A", 0, false, 2, 36},
        {"A1", 1, true, 18, 54},
        {"A11", 2, true, 34, 70},
        {"A2", 3, true, 18, 54},
        {"B", 4, false, 2, 36},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CTreeNodeUI* node = Node(bed, c.name);
        ASSERT_NE(node, nullptr);
        EXPECT_EQ(node->ListPosition(), c.row);
        EXPECT_EQ(node->GetTop(), 18 * c.row);
        EXPECT_EQ(node->GetDottedLine()->IsVisible(), c.lineShown);
        EXPECT_EQ(node->GetDottedLine()->GetFixedWidth(), c.indent);
        EXPECT_EQ(node->GetItemButton()->GetLeft(), c.textLeft);
    }
}

TEST(TreeView, FolderButtonClicksCollapseAndExpandKeepingCollapsedChildrenHidden)
{
    HostBed bed(300, 200);
    CTreeViewUI* tree = BuildTree(bed);
    ASSERT_NE(tree, nullptr);
    CTreeNodeUI* a = Node(bed, "A");
    CTreeNodeUI* a1 = Node(bed, "A1");
    struct Step {
        CTreeNodeUI* node;
        const char* visible;
        int bTop;
    } steps[] = {
        {a1, "A A1 A2 B", 54},  // A1 collapses: A11 hides
        {a, "A B", 18},  // A collapses
        {a, "A A1 A2 B", 54},  // A expands; the collapsed A1 keeps A11 hidden
        {a1, "A A1 A11 A2 B", 72},
    };
    for (const Step& s : steps) {
        const bool wasExpanded = s.node->IsNodeExpanded();
        ClickOn(bed, s.node->GetFolderButton());
        EXPECT_EQ(s.node->IsNodeExpanded(), !wasExpanded);
        EXPECT_EQ(s.node->GetFolderButton()->IsSelected(), wasExpanded);
        EXPECT_EQ(Rows(tree, true), s.visible);
        EXPECT_EQ(Node(bed, "B")->GetTop(), s.bTop);
    }
}

TEST(TreeView, DoubleClickOnANodeTogglesItsFolder)
{
    HostBed bed(300, 200);
    CTreeViewUI* tree = BuildTree(bed);
    ASSERT_NE(tree, nullptr);
    CTreeNodeUI* a = Node(bed, "A");
    for (const char* visible : {"A B", "A A1 A11 A2 B"}) {
        const LPARAM at = Pt(100, 9);
        bed.Send(WM_LBUTTONDOWN, MK_LBUTTON, at);
        bed.Send(WM_LBUTTONUP, 0, at);
        bed.Send(WM_LBUTTONDBLCLK, MK_LBUTTON, at);
        bed.Send(WM_LBUTTONUP, 0, at);
        bed.Repaint();
        EXPECT_EQ(Rows(tree, true), visible);
        EXPECT_EQ(a->IsNodeExpanded(), a->IsVisible() && Node(bed, "A1")->IsVisible());
    }
    EXPECT_EQ(bed.Count("itemdbclick"), 2);
    EXPECT_EQ(tree->GetCurrentIndex(), 0) << "the press selected the row";
}

TEST(TreeView, CheckBoxClicksCheckAndUncheckTheDescendants)
{
    HostBed bed(300, 200);
    CTreeViewUI* tree = BuildTree(bed);
    ASSERT_NE(tree, nullptr);
    struct Step {
        const char* node;
        const char* checked;
    } steps[] = {
        {"A1", "A1 A11"},
        {"A", "A A1 A11 A2"},
        {"A1", "A A2"},
        {"B", "A A2 B"},
        {"A", "B"},
    };
    for (const Step& s : steps) {
        ClickOn(bed, Node(bed, s.node)->GetCheckBox());
        EXPECT_EQ(Checked(tree), s.checked) << "after clicking " << s.node;
    }
    tree->ShowCheckBoxes(false);
    tree->ShowFolderButtons(false);
    bed.Repaint();
    EXPECT_FALSE(Node(bed, "A11")->GetCheckBox()->IsVisible());
    EXPECT_EQ(Node(bed, "A11")->GetItemButton()->GetLeft(), 34) << "only the indentation is left";
}

// Every way of removing a nested node takes its descendants along and drops it from its parent.
TEST(TreeView, RemovingANestedNodeLeavesNoDanglingChildLinks)
{
    const char* routes[] = {"RemoveChild", "RemoveChildAt", "DetachNode", "parent's RemoveChild"};
    for (const char* route : routes) {
        SCOPED_TRACE(route);
        HostBed bed(300, 200);
        CTreeViewUI* tree = BuildTree(bed);
        ASSERT_NE(tree, nullptr);
        CTreeNodeUI* a = Node(bed, "A");
        CTreeNodeUI* a1 = Node(bed, "A1");
        DestroyLog log;
        log.Watch(a1);
        log.Watch(Node(bed, "A11"));
        const std::string r(route);
        bool removed = false;
        if (r == "RemoveChild")
            removed = tree->RemoveChild(a1);
        else if (r == "RemoveChildAt")
            removed = tree->RemoveChildAt(a1->ListPosition());
        else if (r == "DetachNode")
            removed = tree->DetachNode(a1);
        else
            removed = a->RemoveChild(a1);
        EXPECT_TRUE(removed);
        bed.Pump();
        EXPECT_EQ(log.destroyed.size(), 2u) << "A1 and A11 are destroyed once each";
        EXPECT_EQ(Rows(tree), "A A2 B");
        EXPECT_EQ(ChildTexts(a), "A2");
        ClickOn(bed, a->GetFolderButton());
        EXPECT_EQ(Rows(tree, true), "A B");
        ClickOn(bed, a->GetCheckBox());
        EXPECT_EQ(Checked(tree), "A A2");
        a->AttachChildNode(NewNode("X"));
        EXPECT_EQ(Rows(tree), "A A2 X B");
    }
}

TEST(TreeView, RemovalsThatDoNotApplyChangeNothing)
{
    HostBed bed(300, 200);
    CTreeViewUI* tree = BuildTree(bed);
    ASSERT_NE(tree, nullptr);
    CTreeNodeUI* a = Node(bed, "A");
    EXPECT_FALSE(tree->RemoveChildAt(Node(bed, "A11")->ListPosition())) << "a leaf stays";
    EXPECT_FALSE(tree->RemoveChildAt(Node(bed, "B")->ListPosition()));
    EXPECT_FALSE(tree->RemoveChildAt(99));
    EXPECT_FALSE(a->RemoveChild(Node(bed, "A11"))) << "not a direct child";
    EXPECT_FALSE(a->RemoveChild(Node(bed, "B")));
    CTreeNodeUI* stray = NewNode("S");
    EXPECT_FALSE(tree->DetachNode(stray));
    delete stray;
    bed.Pump();
    EXPECT_EQ(Rows(tree), "A A1 A11 A2 B");
    EXPECT_EQ(ChildTexts(a), "A1 A2");

    // Removing a top-level node takes its whole subtree; clearing empties the selection too.
    tree->SelectItem(Node(bed, "B")->ListPosition(), false);
    EXPECT_TRUE(tree->RemoveChild(a));
    bed.Pump();
    EXPECT_EQ(Rows(tree), "B");
    EXPECT_EQ(tree->GetCurrentIndex(), 0);
    tree->RemoveAllChildren();
    bed.Pump();
    EXPECT_EQ(tree->ChildCount(), 0);
    EXPECT_EQ(tree->GetCurrentIndex(), -1);
}

// Nodes added after the tree is built land after their parent's whole subtree, in the list and in
// the child list alike.
TEST(TreeView, InsertedNodesFollowTheirParentsSubtree)
{
    HostBed bed(300, 200);
    CTreeViewUI* tree = BuildTree(bed,
        "<Window><TreeView><TreeNode name=\"A\" text=\"A\"><TreeNode text=\"A1\"/><TreeNode text=\"A2\"/></TreeNode>"
        "<TreeNode name=\"B\" text=\"B\"/></TreeView></Window>");
    ASSERT_NE(tree, nullptr);
    CTreeNodeUI* a = Node(bed, "A");
    CTreeNodeUI* b = Node(bed, "B");
    CTreeNodeUI* x = NewNode("X");
    EXPECT_TRUE(a->InsertChild(x, 9));
    EXPECT_EQ(Rows(tree), "A A1 A2 X B");
    EXPECT_EQ(ChildTexts(a), "A1 A2 X");
    EXPECT_EQ(x->GetDottedLine()->GetFixedWidth(), 18);
    EXPECT_EQ(x->GetTreeView(), tree);

    EXPECT_TRUE(b->AddChild(NewNode("Y"))) << "below the node that ends the list";
    EXPECT_EQ(Rows(tree), "A A1 A2 X B Y");
    EXPECT_TRUE(a->AddChild(NewNode("Z")));
    EXPECT_EQ(Rows(tree), "A A1 A2 X Z B Y");
    EXPECT_TRUE(a->InsertChild(NewNode("W"), 1));
    EXPECT_EQ(Rows(tree), "A A1 W A2 X Z B Y");
    EXPECT_EQ(ChildTexts(a), "A1 W A2 X Z");

    // A subtree made in code joins in depth-first order at its new depth.
    CTreeNodeUI* p = NewNode("P");
    CTreeNodeUI* q = NewNode("Q");
    EXPECT_TRUE(p->AddChild(q));
    EXPECT_EQ(q->GetTreeView(), nullptr);
    EXPECT_TRUE(x->AddChild(p));
    EXPECT_EQ(Rows(tree), "A A1 W A2 X P Q Z B Y");
    EXPECT_EQ(q->GetDottedLine()->GetFixedWidth(), 50);
    EXPECT_EQ(q->GetParentNode(), p);

    CTreeNodeUI* end = NewNode("E");
    EXPECT_EQ(tree->InsertNodeAt(end, tree->ChildCount() + 1), -1);
    const int count = tree->ChildCount();
    EXPECT_EQ(tree->InsertNodeAt(end, count), count + 1) << "appending is inserting at the count";
    EXPECT_EQ(tree->InsertNodeAt(end, 0), -1) << "already in the tree";
    EXPECT_FALSE(a->AddChild(b)) << "already in the tree";
    CLabelUI label;
    EXPECT_EQ(tree->InsertNodeAt(&label, 0), -1);
    EXPECT_EQ(Rows(tree), "A A1 W A2 X P Q Z B Y E");
}

TEST(TreeView, NodeOutsideATreeOwnsItsChildren)
{
    DestroyLog log;
    CTreeNodeUI* root = NewNode("R");
    CTreeNodeUI* child = NewNode("C");
    CTreeNodeUI* grandchild = NewNode("G");
    log.Watch(child);
    log.Watch(grandchild);
    EXPECT_TRUE(root->AddChild(child));
    EXPECT_TRUE(child->AddChild(grandchild));
    EXPECT_EQ(grandchild->GetDottedLine()->GetFixedWidth(), 34);
    EXPECT_EQ(root->ListPosition(), -1);
    EXPECT_FALSE(grandchild->AddChild(root)) << "a node cannot go below its own descendant";
    // Anything else joins the node's own children, beside the item row, and stays there.
    CLabelUI* label = new CLabelUI;
    EXPECT_TRUE(root->AddChild(label));
    EXPECT_EQ(root->ChildCount(), 2);
    EXPECT_EQ(root->ChildAt(1), label);
    EXPECT_FALSE(root->RemoveChild(label));
    delete root;
    EXPECT_EQ(log.destroyed.size(), 2u);
}

TEST(TreeView, NodeColoursFollowHoverAndSelection)
{
    HostBed bed(300, 200);
    CTreeViewUI* tree = BuildTree(bed,
        "<Window><TreeView itemtextcolor=\"#FF000001\" itemhottextcolor=\"#FF000002\" "
        "selitemtextcolor=\"#FF000003\"><TreeNode name=\"A\" text=\"A\"/><TreeNode name=\"B\" text=\"B\" "
        "selitemhottextcolor=\"#FF000004\"/></TreeView></Window>");
    ASSERT_NE(tree, nullptr);
    COptionUI* a = Node(bed, "A")->GetItemButton();
    COptionUI* b = Node(bed, "B")->GetItemButton();
    EXPECT_EQ(a->GetTextColor(), 0xFF000001u);
    bed.MoveTo(100, 9);
    EXPECT_EQ(a->GetTextColor(), 0xFF000002u);
    bed.Click(100, 9);
    EXPECT_EQ(a->GetTextColor(), 0xFF000003u);
    bed.MoveTo(100, 27);
    EXPECT_EQ(a->GetTextColor(), 0xFF000003u) << "the selected node keeps its colour";
    EXPECT_EQ(b->GetTextColor(), 0xFF000002u);
    bed.Click(100, 27);
    EXPECT_EQ(a->GetTextColor(), 0xFF000001u);
    bed.MoveTo(100, 9);
    bed.MoveTo(100, 27);
    EXPECT_EQ(b->GetTextColor(), 0xFF000004u);
}

// A node that belongs to a parent node joins a tree only through that parent; a node added through
// the container interface joins with its subtree and can be removed again; other rows are refused.
TEST(TreeView, NodesJoinWholeAndOnlyFromWhereTheyBelong)
{
    const char* routes[] = {"AppendNode", "InsertNodeAt", "InsertNodeBefore", "AddChild", "InsertChild"};
    for (const char* route : routes) {
        SCOPED_TRACE(route);
        HostBed bed(300, 200);
        CTreeViewUI* tree = BuildTree(bed);
        ASSERT_NE(tree, nullptr);
        const std::string r(route);
        auto add = [&](CControlUI* node) {
            IContainerUI* container = ControlCast<IContainerUI>(tree);
            if (r == "AppendNode")
                return tree->AppendNode(node);
            if (r == "InsertNodeAt")
                return tree->InsertNodeAt(node, 0) >= 0;
            if (r == "InsertNodeBefore")
                return tree->InsertNodeBefore(node, Node(bed, "B"));
            if (r == "AddChild")
                return container->AddChild(node);
            return container->InsertChild(node, 0);
        };
        // Owned by a parent outside any tree: refused, and destroyed once with that parent.
        DestroyLog log;
        CTreeNodeUI* outside = NewNode("O");
        CTreeNodeUI* owned = NewNode("P");
        log.Watch(owned);
        ASSERT_TRUE(outside->AddChild(owned));
        EXPECT_FALSE(add(owned));
        EXPECT_EQ(owned->GetTreeView(), nullptr);
        EXPECT_EQ(Rows(tree), "A A1 A11 A2 B");
        delete outside;
        EXPECT_EQ(log.destroyed.size(), 1u);

        // A child node of the tree itself cannot be listed a second time either.
        EXPECT_FALSE(add(Node(bed, "A1")));
        CLabelUI* label = new CLabelUI;
        EXPECT_FALSE(add(label));
        delete label;

        // A free subtree joins whole, and leaves whole again.
        CTreeNodeUI* x = NewNode("X");
        ASSERT_TRUE(x->AddChild(NewNode("X1")));
        ASSERT_TRUE(add(x));
        EXPECT_EQ(x->GetTreeView(), tree);
        EXPECT_EQ(x->ChildNodeAt(0)->GetTreeView(), tree);
        EXPECT_EQ(tree->ChildCount(), 7);
        EXPECT_TRUE(tree->RemoveChild(x));
        bed.Pump();
        EXPECT_EQ(Rows(tree), "A A1 A11 A2 B");
    }
}

// A node moves among its siblings with its whole subtree, in the list and in its parent's child
// list; a place that is not between two siblings is refused. The selection stays on its row.
TEST(TreeView, MovedNodesTakeTheirSubtreeAlong)
{
    struct Case {
        const char* node;
        int newIndex;
        bool moved;
        const char* rows;
        const char* childrenOfA;
    } cases[] = {
        {"B", 0, true, "B A A1 A11 A2", "A1 A2"},
        {"A", 1, true, "B A A1 A11 A2", "A1 A2"},
        {"A2", 1, true, "A A2 A1 A11 B", "A2 A1"},
        {"A1", 2, true, "A A2 A1 A11 B", "A2 A1"},
        {"A1", 3, false, "A A1 A11 A2 B", "A1 A2"},
        {"A1", 4, false, "A A1 A11 A2 B", "A1 A2"},
        {"A11", 0, false, "A A1 A11 A2 B", "A1 A2"},
        {"A", 2, false, "A A1 A11 A2 B", "A1 A2"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.node) + " to " + std::to_string(c.newIndex));
        HostBed bed(300, 200);
        CTreeViewUI* tree = BuildTree(bed);
        ASSERT_NE(tree, nullptr);
        CTreeNodeUI* selected = Node(bed, "A11");
        tree->SelectItem(selected->ListPosition(), false);
        EXPECT_EQ(tree->MoveChild(Node(bed, c.node), c.newIndex), c.moved);
        EXPECT_EQ(Rows(tree), c.rows);
        EXPECT_EQ(ChildTexts(Node(bed, "A")), c.childrenOfA);
        EXPECT_EQ(tree->GetCurrentIndex(), selected->ListPosition());
        for (int i = 0; i < tree->ChildCount(); ++i)
            EXPECT_EQ(tree->IndexOfChild(tree->ChildAt(i)), i);
        // Collapsing A still hides exactly its descendants.
        bed.Repaint();
        ClickOn(bed, Node(bed, "A")->GetFolderButton());
        EXPECT_EQ(Rows(tree, true), std::string(c.rows).find("B A") == 0 ? "B A" : "A B");
    }
}

// "selected" in markup marks a node before it is in the view; the view takes the selection once
// the node is listed, so a later selection leaves one row selected.
TEST(TreeView, NodesSelectedInMarkupAreTheViewsSelection)
{
    struct Case {
        const char* markup;
        const char* selected;
    } cases[] = {
        {"<TreeNode name=\"A\" text=\"A\"/><TreeNode name=\"B\" text=\"B\" selected=\"true\"/>", "B"},
        {"<TreeNode name=\"A\" text=\"A\"><TreeNode name=\"A1\" text=\"A1\" selected=\"true\"/></TreeNode>"
         "<TreeNode name=\"B\" text=\"B\"/>",
            "A1"},
        {"<TreeNode name=\"A\" text=\"A\" selected=\"true\"><TreeNode name=\"A1\" text=\"A1\" "
         "selected=\"true\"/></TreeNode><TreeNode name=\"B\" text=\"B\"/>",
            "A1"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.markup);
        HostBed bed(300, 200);
        CTreeViewUI* tree
            = BuildTree(bed, (std::string("<Window><TreeView>") + c.markup + "</TreeView></Window>").c_str());
        ASSERT_NE(tree, nullptr);
        EXPECT_EQ(tree->GetCurrentIndex(), Node(bed, c.selected)->ListPosition());
        auto selectedRows = [&] {
            int n = 0;
            for (int i = 0; i < tree->ChildCount(); ++i)
                n += AsTreeNode(tree->ChildAt(i))->IsSelected() ? 1 : 0;
            return n;
        };
        EXPECT_EQ(selectedRows(), 1);
        tree->SelectItem(Node(bed, "A")->ListPosition(), false);
        EXPECT_EQ(selectedRows(), 1);
        EXPECT_TRUE(Node(bed, "A")->IsSelected());
    }
}

// Trees made in code are not limited in depth or breadth: a chain 3,000 deep is checked, collapsed,
// expanded and removed from its top, and a node with 12,000 children leaves with all of them.
TEST(TreeView, DeepAndWideTreesWorkFromTheTop)
{
    HostBed bed(300, 200);
    CSkinBuilder builder;
    CControlUI* root = builder.BuildFrom(
        "<Window><TreeView visiblecheckbtn=\"true\"/></Window>", nullptr, nullptr, &bed.Host(), nullptr);
    bed.Attach(root);
    CTreeViewUI* tree = ControlCast<CTreeViewUI>(root);
    ASSERT_NE(tree, nullptr);

    const int kDepth = 3000;
    CTreeNodeUI* top = NewNode("top");
    CTreeNodeUI* deepest = top;
    for (int i = 1; i < kDepth; ++i) {
        CTreeNodeUI* next = NewNode("n");
        ASSERT_TRUE(deepest->AddChild(next));
        deepest = next;
    }
    ASSERT_TRUE(tree->AppendNode(top));
    ASSERT_EQ(tree->ChildCount(), kDepth);
    EXPECT_EQ(deepest->ListPosition(), kDepth - 1);
    EXPECT_EQ(deepest->GetDottedLine()->GetFixedWidth(), 2 + 16 * (kDepth - 1));

    top->GetCheckBox()->SetSelected(true);
    int checked = 0;
    for (int i = 0; i < tree->ChildCount(); ++i)
        checked += AsTreeNode(tree->ChildAt(i))->GetCheckBox()->IsSelected() ? 1 : 0;
    EXPECT_EQ(checked, kDepth);
    top->GetFolderButton()->SetSelected(true);
    EXPECT_FALSE(deepest->IsVisible());
    top->GetFolderButton()->SetSelected(false);
    EXPECT_TRUE(deepest->IsVisible());

    CTreeNodeUI* wide = NewNode("wide");
    ASSERT_TRUE(tree->AppendNode(wide));
    for (int i = 0; i < 12000; ++i)
        ASSERT_TRUE(wide->AddChild(NewNode("c")));
    CTreeNodeUI* after = NewNode("after");
    ASSERT_TRUE(tree->AppendNode(after));
    tree->SelectItem(after->ListPosition(), false);
    EXPECT_TRUE(tree->RemoveChild(wide));
    EXPECT_EQ(tree->ChildCount(), kDepth + 1);
    EXPECT_EQ(tree->GetCurrentIndex(), kDepth);
    EXPECT_EQ(after->ListPosition(), kDepth);

    DestroyLog log;
    log.Watch(deepest);
    EXPECT_TRUE(tree->RemoveChild(top));
    bed.Pump();
    EXPECT_EQ(tree->ChildCount(), 1);
    EXPECT_EQ(log.destroyed.size(), 1u);

    // A chain outside a tree is destroyed from its top without recursing on its depth.
    CTreeNodeUI* loose = NewNode("loose");
    CTreeNodeUI* end = loose;
    for (int i = 1; i < 20000; ++i) {
        CTreeNodeUI* next = NewNode("n");
        ASSERT_TRUE(end->AddChild(next));
        end = next;
    }
    log.Watch(end);
    delete loose;
    EXPECT_EQ(log.destroyed.size(), 2u);
}

namespace {

// What the listener below removes, and when.
struct Removal {
    CTreeViewUI* tree = nullptr;
    CControlUI* trigger = nullptr;  // the sender that sets it off
    const char* type = "";
    CControlUI* victim = nullptr;  // the node or row that goes
    int fired = 0;
};
Removal g_removal;

void RemoveOnNotification(HostBed&, TNotifyEvent& event)
{
    if (g_removal.victim == nullptr || event.Sender != g_removal.trigger || event.Type != g_removal.type)
        return;
    ++g_removal.fired;
    CControlUI* victim = g_removal.victim;
    g_removal.victim = nullptr;
    g_removal.tree->RemoveChild(victim);
}

}  // namespace

// Listeners that remove nodes while the view walks a subtree or while a press is on one: the walk
// finishes over what is left, nothing reaches a removed node, and the rows left stay numbered.
TEST(TreeView, NodesRemovedByListenersMidWalkOrMidPress)
{
    struct Case {
        const char* what;
        const char* trigger;  // node whose part or self sends
        const char* part;  // "check", "folder" or "node"
        const char* type;
        const char* victim;
        const char* rows;  // after
        const char* checked;  // after
        const char* visible;  // after
    } cases[] = {
        {"a check walk removes a later sibling", "A1", "check", "selectchanged", "A2", "A A1 A11 B", "A A1 A11",
            "A A1 A11 B"},
        {"a check walk removes the node it is in", "A11", "check", "selectchanged", "A1", "A A2 B", "A A2", "A A2 B"},
        {"a check walk removes its own top", "A1", "check", "selectchanged", "A", "B", "", "B"},
        {"a collapse removes a child", "A", "folder", "selectchanged", "A1", "A A2 B", "", "A B"},
        {"a press removes the pressed node", "A2", "node", "itemclick", "A2", "A A1 A11 B", "", "A A1 A11 B"},
        {"a collapse removes the collapsing node", "A", "folder", "selectchanged", "A", "B", "", "B"},
        {"a collapse removes the next top node", "A", "folder", "selectchanged", "B", "A A1 A11 A2", "", "A"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        HostBed bed(300, 200);
        CTreeViewUI* tree = BuildTree(bed);
        ASSERT_NE(tree, nullptr);
        CTreeNodeUI* trigger = Node(bed, c.trigger);
        const std::string part(c.part);
        g_removal = Removal();
        g_removal.tree = tree;
        g_removal.trigger = part == "check" ? static_cast<CControlUI*>(trigger->GetCheckBox())
            : part == "folder"              ? static_cast<CControlUI*>(trigger->GetFolderButton())
                                            : trigger;
        g_removal.type = c.type;
        g_removal.victim = Node(bed, c.victim);
        bed.onNotify = RemoveOnNotification;
        if (part == "node")
            ClickOn(bed, trigger->GetItemButton());
        else
            ClickOn(bed, part == "check" ? Node(bed, "A")->GetCheckBox() : Node(bed, "A")->GetFolderButton());
        bed.onNotify = nullptr;
        bed.Pump();
        EXPECT_EQ(g_removal.fired, 1);
        EXPECT_EQ(Rows(tree), c.rows);
        EXPECT_EQ(Checked(tree), c.checked);
        EXPECT_EQ(Rows(tree, true), c.visible);
        for (int i = 0; i < tree->ChildCount(); ++i)
            EXPECT_EQ(tree->IndexOfChild(tree->ChildAt(i)), i);
        EXPECT_LT(tree->GetCurrentIndex(), tree->ChildCount());
    }
}

namespace {

// Removes a node from its tree when its folder button toggles; listed on the button before the
// tree's own listener or after it.
struct TSelfRemover {
    CTreeViewUI* tree = nullptr;
    CTreeNodeUI* node = nullptr;
    int fired = 0;
    bool OnFolder(void* param)
    {
        const TNotifyEvent* event = static_cast<const TNotifyEvent*>(param);
        if (node == nullptr || event->Type != "selectchanged")
            return true;
        ++fired;
        CTreeNodeUI* doomed = node;
        node = nullptr;
        tree->RemoveChild(doomed);
        return true;
    }
};

// A 4-ary tree of `count` nodes filled level by level, built outside the view and then added at once.
std::vector<CTreeNodeUI*> BuildWideTree(CTreeViewUI* tree, int count)
{
    std::vector<CTreeNodeUI*> nodes;
    nodes.reserve(static_cast<size_t>(count));
    for (int i = 0; i < count; ++i) {
        nodes.push_back(NewNode(std::to_string(i).c_str()));
        if (i > 0)
            nodes[static_cast<size_t>((i - 1) / 4)]->AddChild(nodes.back());
    }
    tree->AppendNode(nodes[0]);
    return nodes;
}

int CountRows(CTreeViewUI* tree, bool (*test)(CTreeNodeUI*))
{
    int n = 0;
    for (int i = 0; i < tree->ChildCount(); ++i)
        n += test(AsTreeNode(tree->ChildAt(i))) ? 1 : 0;
    return n;
}

}  // namespace

// A node whose folder toggles may be removed by a listener of that very toggle, heard before the
// view walks its descendants or after: the subtree goes whole, and the view and the other nodes
// go on working.
TEST(TreeView, ANodeRemovedInsideItsOwnToggle)
{
    struct TCase {
        const char* what;
        bool listenFirst;  // listed on the folder button before the view's own listener
        bool expand;  // the toggle expands a collapsed node (else collapses an expanded one)
    } cases[] = {
        {"before the view hears a collapse", true, false},
        {"before the view hears an expand", true, true},
        {"after the view collapsed it", false, false},
        {"after the view expanded it", false, true},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.what);
        HostBed bed(300, 200);
        CSkinBuilder builder;
        CTreeViewUI* tree = ControlCast<CTreeViewUI>(
            builder.BuildFrom("<Window><TreeView/></Window>", nullptr, nullptr, &bed.Host(), nullptr));
        ASSERT_NE(tree, nullptr);
        bed.Attach(tree);
        CTreeNodeUI* a = NewNode("A");
        CTreeNodeUI* a1 = NewNode("A1");
        a->AddChild(a1);
        a1->AddChild(NewNode("A11"));
        CTreeNodeUI* b = NewNode("B");
        b->AddChild(NewNode("B1"));
        TSelfRemover remover;
        if (c.listenFirst)
            a->GetFolderButton()->NotifyListeners += MakeDelegate(&remover, &TSelfRemover::OnFolder);
        ASSERT_TRUE(tree->AppendNode(a));
        ASSERT_TRUE(tree->AppendNode(b));
        if (!c.listenFirst)
            a->GetFolderButton()->NotifyListeners += MakeDelegate(&remover, &TSelfRemover::OnFolder);
        if (c.expand)
            a->GetFolderButton()->SetSelected(true);
        DestroyLog log;
        log.Watch(a);
        log.Watch(a1);
        remover.tree = tree;
        remover.node = a;
        // Laid out first: the click goes where the button is.
        bed.Repaint();
        ClickOn(bed, a->GetFolderButton());
        bed.Pump();
        EXPECT_EQ(remover.fired, 1);
        EXPECT_EQ(log.destroyed.size(), 2u);
        EXPECT_EQ(Rows(tree), "B B1");
        EXPECT_EQ(Rows(tree, true), "B B1");
        // The view still answers the node that is left.
        ClickOn(bed, b->GetFolderButton());
        EXPECT_EQ(Rows(tree, true), "B");
        EXPECT_EQ(b->ListPosition(), 0);
    }
}

// A row pressed and dragged while its ancestor collapses or leaves the tree: the release reaches
// no hidden or removed row, and the rows left keep working.
TEST(TreeView, CollapseOrRemovalDuringADrag)
{
    struct TCase {
        const char* what;
        bool remove;  // the ancestor leaves the tree (else it collapses)
        const char* visible;  // after the release
    } cases[] = {
        {"the pressed row's ancestor collapses", false, "A B"},
        {"the pressed row's ancestor leaves the tree", true, "B"},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.what);
        HostBed bed(300, 200);
        CTreeViewUI* tree = BuildTree(bed);
        ASSERT_NE(tree, nullptr);
        CTreeNodeUI* pressed = Node(bed, "A11");
        const CRectUI r = pressed->GetItemButton()->GetPosition();
        const int x = (r.left + r.right) / 2;
        const int y = (r.top + r.bottom) / 2;
        bed.Press(x, y);
        bed.MoveTo(x + 5, y + 20);
        const size_t heardBefore = bed.notes.size();
        if (c.remove)
            tree->RemoveChild(Node(bed, "A"));
        else
            Node(bed, "A")->GetFolderButton()->SetSelected(true);
        bed.Repaint();
        bed.MoveTo(x + 10, y + 40);
        bed.Release(x + 10, y + 40);
        bed.Pump();
        for (size_t i = heardBefore; i < bed.notes.size(); ++i) {
            EXPECT_NE(bed.notes[i].type, "click") << "from " << bed.notes[i].sender;
            EXPECT_NE(bed.notes[i].type, "itemclick") << "from " << bed.notes[i].sender;
        }
        EXPECT_EQ(Rows(tree, true), c.visible);
        ClickOn(bed, Node(bed, "B")->GetItemButton());
        EXPECT_EQ(tree->GetCurrentIndex(), Node(bed, "B")->ListPosition());
    }
}

// A tree of 12,000 nodes on 7 levels built at once: collapsing and expanding every node, checking
// from the top, unchecking a branch and removing one leave every row where the tree says it is.
TEST(TreeView, TwelveThousandNodesCollapseExpandCheckAndLeave)
{
    HostBed bed(300, 200);
    CSkinBuilder builder;
    CTreeViewUI* tree = ControlCast<CTreeViewUI>(builder.BuildFrom(
        "<Window><TreeView visiblecheckbtn=\"true\"/></Window>", nullptr, nullptr, &bed.Host(), nullptr));
    ASSERT_NE(tree, nullptr);
    bed.Attach(tree);
    const int kCount = 12000;
    const std::vector<CTreeNodeUI*> nodes = BuildWideTree(tree, kCount);
    ASSERT_EQ(tree->ChildCount(), kCount);
    bed.Repaint();
    for (int i = kCount - 1; i >= 0; --i) {
        if (nodes[static_cast<size_t>(i)]->ChildNodeCount() > 0)
            nodes[static_cast<size_t>(i)]->GetFolderButton()->SetSelected(true);
    }
    bed.Repaint();
    EXPECT_EQ(CountRows(tree, [](CTreeNodeUI* n) { return n->IsVisible(); }), 1);
    for (CTreeNodeUI* node : nodes) {
        if (node->ChildNodeCount() > 0)
            node->GetFolderButton()->SetSelected(false);
    }
    bed.Repaint();
    EXPECT_EQ(CountRows(tree, [](CTreeNodeUI* n) { return n->IsVisible(); }), kCount);

    nodes[0]->GetCheckBox()->SetSelected(true);
    EXPECT_EQ(CountRows(tree, [](CTreeNodeUI* n) { return n->GetCheckBox()->IsSelected(); }), kCount);
    // Node 1's branch: 1 + 4 + 16 + 64 + 256 + 1024 + its share of the last, partial level.
    CTreeNodeUI* branch = nodes[1];
    const int branchRows = branch->LastDescendant()->ListPosition() + 1 - branch->ListPosition();
    branch->GetCheckBox()->SetSelected(false);
    EXPECT_EQ(CountRows(tree, [](CTreeNodeUI* n) { return n->GetCheckBox()->IsSelected(); }), kCount - branchRows);

    ASSERT_TRUE(tree->RemoveChild(branch));
    bed.Pump();
    EXPECT_EQ(tree->ChildCount(), kCount - branchRows);
    EXPECT_EQ(nodes[0]->ChildNodeCount(), 3);
    for (int i = 0; i < tree->ChildCount(); ++i)
        ASSERT_EQ(tree->IndexOfChild(tree->ChildAt(i)), i);
    EXPECT_EQ(nodes[0]->LastDescendant()->ListPosition(), tree->ChildCount() - 1);
}

TEST(TreeView, ItemGroupOfThousandsKeepsOneSelectionAndLosesARemovedBranchWhole)
{
    HostBed bed(300, 200);
    auto* tree = new CTreeViewUI;
    bed.Attach(tree);
    const int kCount = 3000;
    std::vector<CTreeNodeUI*> nodes;
    for (int i = 0; i < kCount; ++i) {
        nodes.push_back(NewNode(std::to_string(i).c_str()));
        if (i == 0)
            nodes[0]->SetAttribute("itemattr", "group=\"items\"");
        else
            nodes[static_cast<size_t>((i - 1) / 4)]->AddChild(nodes.back());
    }
    ASSERT_TRUE(tree->AppendNode(nodes[0]));
    bed.Repaint();
    // The members of the group, against the item buttons of the rows in the list.
    auto expectMembersAreTheRows = [&]() {
        const CPtrVectorUI* group = bed.Host().GetOptionGroup("items");
        ASSERT_NE(group, nullptr);
        std::set<void*> members;
        for (int i = 0; i < group->GetSize(); ++i)
            members.insert(group->GetAt(i));
        std::set<void*> rows;
        for (int i = 0; i < tree->ChildCount(); ++i)
            rows.insert(AsTreeNode(tree->ChildAt(i))->GetItemButton());
        EXPECT_EQ(group->GetSize(), tree->ChildCount());
        EXPECT_EQ(members == rows, true);
    };
    expectMembersAreTheRows();

    nodes[5]->GetItemButton()->SetSelected(true);
    nodes[2000]->GetItemButton()->SetSelected(true);
    EXPECT_EQ(CountRows(tree, [](CTreeNodeUI* n) { return n->GetItemButton()->IsSelected(); }), 1);
    EXPECT_TRUE(nodes[2000]->GetItemButton()->IsSelected());

    // Node 2000's ancestors, (i - 1) / 4 each: 499, 124, 30, 7, 1 and 0. Removing node 1's branch
    // takes the selected item along.
    CTreeNodeUI* branch = nodes[1];
    const int branchRows = branch->LastDescendant()->ListPosition() + 1 - branch->ListPosition();
    ASSERT_TRUE(tree->RemoveChild(branch));
    bed.Pump();
    EXPECT_EQ(tree->ChildCount(), kCount - branchRows);
    expectMembersAreTheRows();
    EXPECT_EQ(CountRows(tree, [](CTreeNodeUI* n) { return n->GetItemButton()->IsSelected(); }), 0);
}
