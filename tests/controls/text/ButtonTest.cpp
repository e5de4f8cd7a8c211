// The button press state machine, keyboard clicks, option groups and check boxes, all driven by
// real window messages through the host; and controls destroyed from inside their own "click".
#include <gtest/gtest.h>

#include <cstring>
#include <algorithm>
#include <set>
#include <utility>
#include <vector>

#include "support/HostBed.h"
#include "controls/text/Button.h"
#include "controls/text/CheckBox.h"
#include "controls/text/Option.h"
#include "controls/layout/VerticalLayout.h"

using namespace SkinUI;
using testbed::HostBed;

namespace {

// A vertical layout with the given controls, 100 wide and 40 high each, stacked from the top.
CVerticalLayoutUI* Column(HostBed& bed, std::initializer_list<CControlUI*> controls)
{
    auto* root = new CVerticalLayoutUI;
    for (CControlUI* c : controls) {
        c->SetFixedWidth(100);
        c->SetFixedHeight(40);
        root->AddChild(c);
    }
    bed.Attach(root);
    return root;
}

CButtonUI* CastButton(CControlUI* control) { return ControlCast<CButtonUI>(control); }

CButtonUI* NamedButton(const char* name)
{
    auto* b = new CButtonUI;
    b->SetName(name);
    return b;
}

}  // namespace

TEST(Button, PressAndReleaseInsideClicksOnce)
{
    HostBed bed;
    CButtonUI* ok = NamedButton("ok");
    Column(bed, {ok});
    bed.MoveTo(50, 20);
    EXPECT_EQ(ok->GetButtonState() & StateHot, StateHot);
    bed.Press(50, 20);
    EXPECT_EQ(ok->GetButtonState() & (StatePushed | StateCaptured), StatePushed | StateCaptured);
    bed.Release(50, 20);
    EXPECT_EQ(bed.Count("click"), 1);
    EXPECT_EQ(ok->GetButtonState() & (StatePushed | StateCaptured), 0u);
    EXPECT_EQ(bed.notes.back().sender, "ok");
}

TEST(Button, ReleaseOutsideDoesNotClickButComingBackDoes)
{
    HostBed bed;
    CButtonUI* ok = NamedButton("ok");
    Column(bed, {ok});
    bed.MoveTo(50, 20);
    bed.Press(50, 20);
    bed.MoveTo(150, 20);  // out: captured, no longer pushed
    EXPECT_EQ(ok->GetButtonState() & (StatePushed | StateCaptured), StateCaptured);
    bed.Release(150, 20);
    EXPECT_EQ(bed.Count("click"), 0);

    bed.MoveTo(50, 20);
    bed.Press(50, 20);
    bed.MoveTo(150, 20);
    bed.MoveTo(60, 30);  // back in
    EXPECT_EQ(ok->GetButtonState() & StatePushed, StatePushed);
    bed.Release(60, 30);
    EXPECT_EQ(bed.Count("click"), 1);

    bed.Release(60, 30);  // a release without a press does nothing
    EXPECT_EQ(bed.Count("click"), 1);
}

TEST(Button, DisabledButtonNeverClicks)
{
    HostBed bed;
    CButtonUI* ok = NamedButton("ok");
    Column(bed, {ok});
    ok->SetEnabled(false);
    bed.Click(50, 20);
    EXPECT_EQ(ok->GetButtonState(), 0u);
    EXPECT_FALSE(ok->TriggerAction());
    EXPECT_EQ(bed.Count("click"), 0);

    ok->SetEnabled(true);
    bed.MoveTo(50, 20);
    bed.Press(50, 20);
    ok->SetEnabled(false);  // disabling during a press clears every bit: the release is ignored
    bed.Release(50, 20);
    EXPECT_EQ(bed.Count("click"), 0);
}

TEST(Button, SpaceAndReturnClickTheFocusedButtonUnlessKeyboardIsOff)
{
    HostBed bed;
    CButtonUI* ok = NamedButton("ok");
    Column(bed, {ok});
    bed.Host().SetFocusControl(ok);
    ASSERT_TRUE(ok->HasFocus());
    bed.Key(VK_SPACE);
    bed.Key(VK_RETURN);
    bed.Key('A');
    EXPECT_EQ(bed.Count("click"), 2);

    ok->SetAttribute("keyboard", "false");
    bed.Key(VK_SPACE);
    EXPECT_EQ(bed.Count("click"), 2);
}

TEST(Option, GroupSelectsOneAndOnlyTheNewOneNotifies)
{
    HostBed bed;
    auto* first = new COptionUI;
    first->SetName("first");
    first->SetAttribute("group", "g");
    first->SetAttribute("selected", "true");
    auto* second = new COptionUI;
    second->SetName("second");
    second->SetAttribute("group", "g");
    auto* root = Column(bed, {first, second});
    ASSERT_NE(bed.Host().GetOptionGroup("g"), nullptr);
    EXPECT_EQ(bed.Host().GetOptionGroup("g")->GetSize(), 2);
    bed.notes.clear();

    bed.Click(50, 60);
    ASSERT_EQ(bed.notes.size() >= 2, true);
    std::vector<std::string> sequence;
    for (const auto& n : bed.notes) {
        if (n.type == "click" || n.type == "selectchanged")
            sequence.push_back(n.type + ":" + n.sender);
    }
    EXPECT_EQ(sequence, (std::vector<std::string>{"click:second", "selectchanged:second"}));
    EXPECT_FALSE(first->IsSelected());
    EXPECT_TRUE(second->IsSelected());
    EXPECT_EQ(second->GetButtonState() & StateSelected, StateSelected);

    bed.notes.clear();
    bed.Click(50, 60);  // already selected: only "click"
    EXPECT_EQ(bed.Count("click"), 1);
    EXPECT_EQ(bed.Count("selectchanged"), 0);

    second->SetEnabled(false);
    EXPECT_EQ(second->GetButtonState(), StateSelected);

    root->RemoveChild(first);
    bed.Pump();
    EXPECT_EQ(bed.Host().GetOptionGroup("g")->GetSize(), 1);  // a destroyed option leaves its group
}

TEST(Option, ALargeGroupKeepsOneSelectionAndItsOrderThroughRemovals)
{
    HostBed bed;
    const int kCount = 3000;
    auto* root = new CVerticalLayoutUI;
    std::vector<COptionUI*> options;
    for (int i = 0; i < kCount; ++i) {
        auto* option = new COptionUI;
        option->SetAttribute("group", "g");
        option->SetFixedHeight(10);
        root->AddChild(option);
        options.push_back(option);
    }
    bed.Attach(root);
    ASSERT_NE(bed.Host().GetOptionGroup("g"), nullptr);
    ASSERT_EQ(bed.Host().GetOptionGroup("g")->GetSize(), kCount);
    EXPECT_FALSE(bed.Host().AddOptionToGroup("g", options[5])) << "a member joins once";
    EXPECT_EQ(bed.Host().GetOptionGroup("g")->GetSize(), kCount);

    options[0]->SetSelected(true);
    options[1700]->SetSelected(true);
    std::vector<int> selected;
    for (int i = 0; i < kCount; ++i) {
        if (options[i]->IsSelected())
            selected.push_back(i);
    }
    EXPECT_EQ(selected, std::vector<int>{1700});

    // The selected one, a stretch front to back and one back to front leave; the rest keep
    // their order, and the selection left with its option.
    std::vector<COptionUI*> gone(1, options[1700]);
    for (int i = 1000; i < 1200; ++i)
        gone.push_back(options[i]);
    for (int i = 2599; i >= 2500; --i)
        gone.push_back(options[i]);
    std::set<COptionUI*> goneSet(gone.begin(), gone.end());
    for (COptionUI* option : gone)
        ASSERT_TRUE(root->RemoveChild(option));
    bed.Pump();
    std::vector<void*> expected;
    for (COptionUI* option : options) {
        if (goneSet.count(option) == 0)
            expected.push_back(option);
    }
    const CPtrVectorUI* group = bed.Host().GetOptionGroup("g");
    ASSERT_NE(group, nullptr);
    std::vector<void*> members;
    for (int i = 0; i < group->GetSize(); ++i)
        members.push_back(group->GetAt(i));
    EXPECT_EQ(members == expected, true) << members.size() << " members, " << expected.size() << " expected";
    int stillSelected = 0;
    for (void* member : members)
        stillSelected += static_cast<COptionUI*>(member)->IsSelected() ? 1 : 0;
    EXPECT_EQ(stillSelected, 0);

    // The arrows follow the group's order across the removed stretch.
    bed.Host().SetFocusControl(options[999]);
    bed.Key(VK_DOWN);
    EXPECT_TRUE(options[1200]->IsSelected());
    EXPECT_EQ(bed.Host().GetFocusControl(), options[1200]);
}

TEST(Option, CheckBoxWithoutGroupTogglesAndNotifiesEachTime)
{
    HostBed bed;
    auto* box = new CCheckBoxUI;
    box->SetName("box");
    Column(bed, {box});
    EXPECT_STREQ(box->GetTypeName(), "CheckBoxUI");
    bed.Click(50, 20);
    EXPECT_TRUE(box->IsSelected());
    bed.Click(50, 20);
    EXPECT_FALSE(box->IsSelected());
    EXPECT_EQ(bed.Count("click"), 2);
    EXPECT_EQ(bed.Count("selectchanged"), 2);
}

TEST(Option, MovedToAnotherWindowLeavesTheOldWindowsGroup)
{
    HostBed first;
    HostBed second;
    auto* mover = new COptionUI;
    mover->SetAttribute("group", "g");
    auto* stayer = new COptionUI;
    stayer->SetAttribute("group", "g");
    CVerticalLayoutUI* from = Column(first, {mover, stayer});
    ASSERT_EQ(first.Host().GetOptionGroup("g")->GetSize(), 2);

    from->SetOwnsChildren(false);  // the removed option stays alive and is ours again
    ASSERT_TRUE(from->RemoveChild(mover));
    auto* to = new CVerticalLayoutUI;
    second.Attach(to);
    ASSERT_TRUE(to->AddChild(mover));
    // Otherwise the first window's group would keep a pointer that dies with the second window.
    EXPECT_EQ(first.Host().GetOptionGroup("g")->GetSize(), 1);
    ASSERT_NE(second.Host().GetOptionGroup("g"), nullptr);
    EXPECT_EQ(second.Host().GetOptionGroup("g")->GetAt(0), mover);

    mover->SetSelected(true);
    stayer->SetSelected(true);  // different windows, different groups: both stay selected
    EXPECT_TRUE(mover->IsSelected());
    EXPECT_TRUE(stayer->IsSelected());
}

//--- controls destroyed from inside "click" ------------------------------------------------------

namespace {

std::set<const void*> g_dead;
int g_eventsToDead = 0;
int g_eventsTotal = 0;

// Freed tracked buttons are kept poisoned instead of returned to the heap, so any write to a dead
// button (or a call through its destroyed vtable) shows.
const unsigned char kPoison = 0xDD;

template <class Base> class Tracked : public Base {
public:
    ~Tracked() override { g_dead.insert(this); }
    static void* operator new(size_t size) { return ::operator new(size); }
    static void operator delete(void* p, size_t size) { testbed::Quarantine(p, size, kPoison); }
    void DispatchEvent(TInputEvent& event) override
    {
        ++g_eventsTotal;
        if (g_dead.count(this))
            ++g_eventsToDead;
        Base::DispatchEvent(event);
    }
};

struct TVictimScene {
    CVerticalLayoutUI* root;
    CButtonUI* victim;
    CButtonUI* other;
    const char* killer;  // the notification of the victim that removes it
};

void RemoveVictimOnItsNotification(HostBed& bed, TNotifyEvent& event)
{
    auto* scene = static_cast<TVictimScene*>(bed.user);
    if (event.Type == scene->killer && event.Sender == scene->victim)
        scene->root->RemoveChild(scene->victim);
}

// The victim is hovered, pressed and focused when its own notification removes it; with a
// container that destroys at once, every later touch of the victim hits poisoned memory.
template <class Victim> void RunVictimScene(bool deferred, const char* killer = "click")
{
    g_dead.clear();
    g_eventsToDead = 0;
    g_eventsTotal = 0;
    HostBed bed;
    TVictimScene scene;
    scene.victim = new Tracked<Victim>;
    scene.victim->SetName("victim");
    scene.other = new Tracked<CButtonUI>;
    scene.other->SetName("other");
    scene.killer = killer;
    scene.root = Column(bed, {scene.victim, scene.other});
    scene.root->SetDefersChildDestroy(deferred);
    bed.user = &scene;
    bed.onNotify = &RemoveVictimOnItsNotification;

    bed.MoveTo(50, 20);
    bed.Press(50, 20);
    ASSERT_EQ(bed.Host().GetFocusControl(), scene.victim);
    bed.Release(50, 20);
    EXPECT_EQ(bed.Count("click"), 1);
    bed.MoveTo(50, 25);
    bed.Pump();  // runs the deferred destroy
    bed.Repaint();
    ASSERT_EQ(g_dead.count(scene.victim), 1u);

    bed.MoveTo(50, 20);
    bed.Press(50, 20);
    bed.MoveTo(50, 70);
    bed.Release(50, 70);
    bed.Key(VK_SPACE);
    bed.Send(WM_MOUSELEAVE);
    bed.Pump();
    EXPECT_EQ(g_eventsToDead, 0);
    EXPECT_GT(g_eventsTotal, 0);
    EXPECT_EQ(bed.Host().GetFocusControl() == scene.victim, false);
    // The survivor moved up into the victim's place and still works.
    bed.notes.clear();
    bed.Click(50, 20);
    EXPECT_EQ(bed.Count("click"), 1);
    EXPECT_EQ(bed.notes.back().senderPtr, scene.other);
    EXPECT_TRUE(testbed::QuarantineIntact()) << "a destroyed control was written to";
}

}  // namespace

TEST(Button, DestroyedFromItsOwnClickThroughTheDeferredQueue) { RunVictimScene<CButtonUI>(true); }

TEST(Button, DestroyedAtOnceFromItsOwnClick) { RunVictimScene<CButtonUI>(false); }

TEST(Option, DestroyedAtOnceFromItsOwnNotifications)
{
    RunVictimScene<COptionUI>(false, "click");
    RunVictimScene<CCheckBoxUI>(false, "selectchanged");
}

namespace {

void RecordStateAtClick(HostBed& bed, TNotifyEvent& event)
{
    if (event.Type == "click")
        *static_cast<unsigned*>(bed.user) = CastButton(event.Sender)->GetButtonState();
}

}  // namespace

TEST(Button, ClickListenerSeesTheButtonStillPushed)
{
    HostBed bed;
    CButtonUI* ok = NamedButton("ok");
    Column(bed, {ok});
    unsigned stateAtClick = 0;
    bed.user = &stateAtClick;
    bed.onNotify = &RecordStateAtClick;
    bed.MoveTo(50, 20);
    bed.Click(50, 20);
    ASSERT_EQ(bed.Count("click"), 1);
    EXPECT_EQ(stateAtClick & (StatePushed | StateCaptured), StatePushed | StateCaptured);
    EXPECT_EQ(ok->GetButtonState() & (StatePushed | StateCaptured), 0u);
}

// Options of one group removed, at once, by the "selectchanged" of the option just chosen (by
// the mouse or by an arrow key): the group keeps only the survivors, nothing reaches the dead,
// and a survivor is chosen afterwards as before.
TEST(Option, GroupMembersRemovedInsideTheirOwnSelectChanged)
{
    struct TCase {
        const char* what;
        bool byKey;  // B chosen by the down arrow from A; otherwise clicked
        std::vector<int> removed;  // of A, B, C, D (0..3), in this order
    } cases[] = {
        {"the chosen one and those around it", false, {0, 1, 2}},
        {"every member, the chosen one first", false, {1, 0, 2, 3}},
        {"by key, the chosen one and the next", true, {1, 2}},
        {"by key, the one it came from", true, {0}},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.what);
        g_dead.clear();
        g_eventsToDead = 0;
        HostBed bed;
        std::vector<COptionUI*> options;
        for (int i = 0; i < 4; ++i) {
            options.push_back(new Tracked<COptionUI>);
            options.back()->SetGroup("g");
        }
        CVerticalLayoutUI* root = Column(bed, {options[0], options[1], options[2], options[3]});
        root->SetDefersChildDestroy(false);
        int removals = 0;
        bed.hook = [&](TNotifyEvent& event) {
            if (removals > 0 || event.Type != "selectchanged" || event.Sender != options[1])
                return;
            ++removals;
            for (int i : c.removed)
                root->RemoveChild(options[static_cast<size_t>(i)]);
        };
        if (c.byKey) {
            bed.Click(50, 20);
            removals = 0;
            bed.Key(VK_DOWN);
        } else {
            bed.Click(50, 60);
        }
        bed.Pump();
        ASSERT_EQ(removals > 0, true) << "B's selectchanged never came";
        std::vector<COptionUI*> left;
        for (int i = 0; i < 4; ++i) {
            if (std::find(c.removed.begin(), c.removed.end(), i) == c.removed.end())
                left.push_back(options[static_cast<size_t>(i)]);
        }
        const CPtrVectorUI* group = bed.Host().GetOptionGroup("g");
        ASSERT_EQ(group == nullptr ? 0 : group->GetSize(), static_cast<int>(left.size()));
        for (COptionUI* option : left)
            EXPECT_GE(group->Find(option), 0);
        // Input where the dead were, then a survivor chosen by a click.
        bed.Click(50, 20);
        bed.Key(VK_DOWN);
        bed.Key(VK_UP);
        bed.Pump();
        if (!left.empty()) {
            COptionUI* last = left.back();
            bed.notes.clear();
            bed.Click(50, last->GetPosition().top + 5);
            EXPECT_TRUE(last->IsSelected());
            for (COptionUI* option : left)
                EXPECT_TRUE(option == last || !option->IsSelected());
        }
        EXPECT_EQ(g_eventsToDead, 0);
        EXPECT_TRUE(testbed::QuarantineIntact()) << "a destroyed option was written to";
    }
}
