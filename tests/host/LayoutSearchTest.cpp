// The host's search for controls that asked for layout goes down only the ways to them: a deeply
// nested control is laid out without the search entering the branches beside it, and what the
// search finds (and leaves alone) is what a search of the whole tree would.
#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <map>
#include <string>
#include <vector>

#include "controls/layout/VerticalLayout.h"
#include "controls/range/ScrollBar.h"
#include "support/HostBed.h"

using namespace SkinUI;
using namespace testbed;

namespace {

// A vertical layout that counts how often a search enters it.
class CountingLayout : public CVerticalLayoutUI {
public:
    CControlUI* FindControl(FindVisitor visitor, void* data, unsigned flags) override
    {
        ++searches;
        return CVerticalLayoutUI::FindControl(visitor, data, flags);
    }
    int searches = 0;
};

const int kBranches = 4;
const int kDepth = 5;
const int kLeavesPerLayout = 3;

// Branches "b0".."b3" under the root, each a chain of kDepth layouts ("b0.0" .. "b0.4"), each
// layout holding kLeavesPerLayout probes ("b0.2/1") before the next layout of the chain.
struct TTree {
    TTree()
    {
        auto* root = new CVerticalLayoutUI;
        for (int b = 0; b < kBranches; ++b) {
            CContainerUI* parent = root;
            for (int d = 0; d < kDepth; ++d) {
                auto* layout = new CountingLayout;
                const std::string name = "b" + std::to_string(b) + "." + std::to_string(d);
                layouts[name] = layout;
                for (int k = 0; k < kLeavesPerLayout; ++k) {
                    const std::string leaf = name + "/" + std::to_string(k);
                    probes[leaf] = new Probe(leaf.c_str(), 0, 4);
                    layout->AddChild(probes[leaf]);
                }
                parent->AddChild(layout);
                parent = layout;
            }
        }
        bed.Attach(root);
        // The first search after the whole tree was laid out clears the ways the building left.
        probes["b0.0/0"]->RequestLayout();
        bed.Repaint();
        ResetCounts();
    }

    void ResetCounts()
    {
        for (auto& entry : layouts)
            entry.second->searches = 0;
        for (auto& entry : probes)
            entry.second->placements = 0;
    }

    HostBed bed{300, 400};
    std::map<std::string, CountingLayout*> layouts;
    std::map<std::string, Probe*> probes;
};

// The branch of a layout or probe name: "b2.3/1" -> 2.
int BranchOf(const std::string& name) { return name[1] - '0'; }

}  // namespace

TEST(LayoutSearch, FindsFlaggedControlsWithoutEnteringOtherBranches)
{
    struct TCase {
        const char* what;
        std::vector<const char*> flagged;  // probes that ask for a layout of their own
        const char* addedTo;  // a layout a new probe joins (null: none)
    };
    const TCase cases[] = {
        {"one deep probe", {"b2.4/1"}, nullptr},
        {"two probes in two branches", {"b1.3/0", "b3.4/2"}, nullptr},
        {"the same probe twice", {"b0.2/2", "b0.2/2"}, nullptr},
        {"a probe joins a deep layout", {}, "b3.4"},
        {"a probe asks while another joins", {"b1.4/2"}, "b2.3"},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.what);
        TTree tree;
        std::vector<int> branches;
        for (const char* name : c.flagged) {
            tree.probes[name]->RequestLayout();
            branches.push_back(BranchOf(name));
        }
        Probe* added = nullptr;
        if (c.addedTo != nullptr) {
            added = new Probe("added", 0, 4);
            tree.layouts[c.addedTo]->AddChild(added);
            branches.push_back(BranchOf(c.addedTo));
        }
        tree.bed.Repaint();
        for (const char* name : c.flagged)
            EXPECT_EQ(1, tree.probes[name]->placements) << name;
        if (added != nullptr) {
            EXPECT_EQ(1, added->placements);
        }
        auto touched = [&](const std::string& name) {
            return std::find(branches.begin(), branches.end(), BranchOf(name)) != branches.end();
        };
        for (auto& entry : tree.probes) {
            if (!touched(entry.first)) {
                EXPECT_EQ(0, entry.second->placements) << entry.first;
            }
        }
        // Branches beside every flagged control are never entered; the others at most once a
        // pass (a pass a flagged control, one more to find the tree clean).
        for (auto& entry : tree.layouts) {
            if (!touched(entry.first))
                EXPECT_EQ(0, entry.second->searches) << entry.first;
            else
                EXPECT_LE(entry.second->searches, static_cast<int>(branches.size()) + 1) << entry.first;
        }
        // The search left the ways it walked clean: the next one, for a probe at the top of the
        // first branch, enters that branch's first layout alone.
        tree.ResetCounts();
        tree.probes["b0.0/0"]->RequestLayout();
        tree.bed.Repaint();
        for (auto& entry : tree.layouts)
            EXPECT_EQ(entry.first == "b0.0" ? 2 : 0, entry.second->searches) << entry.first << ", later";
    }
}

TEST(LayoutSearch, ScrollBarMadeForAShownContainerIsFound)
{
    // A bar made after its container was shown has no parent to mark: asking for layout has the
    // next search walk the whole tree, and the bar is laid out as before.
    TTree tree;
    CountingLayout* layout = tree.layouts["b2.3"];
    layout->SetScrollBarsEnabled(true, false);
    tree.bed.Repaint();
    CScrollBarUI* bar = layout->GetVerticalScrollBar();
    ASSERT_NE(nullptr, bar);
    ASSERT_EQ(nullptr, bar->GetParent());
    bar->SetVisible(true);
    bar->RequestLayout();
    ASSERT_TRUE(bar->NeedsLayout());
    tree.bed.Repaint();
    EXPECT_FALSE(bar->NeedsLayout());
}

TEST(LayoutSearch, ControlsMovedOrRemovedWhileFlaggedAreFoundWhereTheyAreNow)
{
    // A flagged control (or a layout holding one) taken out of one branch and put into another
    // before the paint is laid out there; a flagged control destroyed before the paint is not
    // looked for. Either way the ways it leaves behind are cleared by the search.
    struct TCase {
        const char* what;
        const char* moved;  // a probe or a layout taken out of its parent (null: none)
        const char* into;  // the layout it joins (null: destroyed)
        bool hideTarget;  // the layout it joins is hidden, then shown before the paint
    };
    const TCase cases[] = {
        {"a probe into another branch", "b1.4/1", "b3.2", false},
        {"a probe into a shallower layout of its branch", "b2.4/0", "b2.1", false},
        {"a layout holding a flagged probe", "b1.3", "b3.0", false},
        {"a probe into a hidden layout shown again", "b1.4/2", "b2.3", true},
        {"a probe destroyed", "b1.4/1", nullptr, false},
        {"a layout holding a flagged probe destroyed", "b2.2", nullptr, false},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.what);
        TTree tree;
        const std::string moved = c.moved;
        const bool isLayout = moved.find('/') == std::string::npos;
        // The probe asking: the moved one, or the deepest one the moved layout holds.
        const std::string asking = isLayout ? "b" + std::string(1, moved[1]) + ".4/1" : moved;
        Probe* probe = tree.probes[asking];
        CControlUI* control = isLayout ? static_cast<CControlUI*>(tree.layouts[moved]) : probe;
        CContainerUI* from = static_cast<CContainerUI*>(control->GetParent());
        probe->RequestLayout();
        ASSERT_TRUE(probe->NeedsLayout());
        if (c.into == nullptr) {
            ASSERT_TRUE(from->RemoveChild(control));
            // What went with it is no longer counted.
            auto gone = [&](const std::string& name) {
                return isLayout ? name[1] == moved[1] && name[3] >= moved[3] : name == moved;
            };
            for (auto it = tree.layouts.begin(); it != tree.layouts.end();)
                it = gone(it->first) ? tree.layouts.erase(it) : std::next(it);
            for (auto it = tree.probes.begin(); it != tree.probes.end();)
                it = gone(it->first) ? tree.probes.erase(it) : std::next(it);
            tree.bed.Repaint();
        } else {
            from->SetOwnsChildren(false);
            ASSERT_TRUE(from->RemoveChild(control));
            from->SetOwnsChildren(true);
            CountingLayout* into = tree.layouts[c.into];
            if (c.hideTarget)
                into->SetVisible(false);
            ASSERT_TRUE(into->AddChild(control));
            if (c.hideTarget)
                into->SetVisible(true);
            tree.bed.Repaint();
            EXPECT_FALSE(probe->NeedsLayout());
            EXPECT_GE(probe->placements, 1);
            EXPECT_TRUE(CRectUI(probe->GetPosition()).Intersect(into->GetPosition())) << "not placed in its new layout";
        }
        // Nothing is left marked on the way the control left or the way it came.
        tree.ResetCounts();
        tree.probes["b0.0/0"]->RequestLayout();
        tree.bed.Repaint();
        for (auto& entry : tree.layouts) {
            EXPECT_EQ(entry.first == "b0.0" ? 2 : 0, entry.second->searches) << entry.first << ", later";
        }
    }
}
