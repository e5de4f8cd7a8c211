// What the host keeps about a control when it is detached, renamed, destroyed from a listener,
// re-attached as the root or replaced as the pressed control; all through real window messages.
#include <gtest/gtest.h>

#include "TwoTabStopHost.h"
#include "support/HostBed.h"
#include "controls/text/Option.h"
#include "support/TestBed.h"

using namespace SkinUI;
using namespace testbed;

namespace {

class HostLifetime : public TwoTabStopHost {
protected:
    void SetUp() override
    {
        TwoTabStopHost::SetUp();
        Clear();
    }

    // A is hovered, pressed (holding the capture), focused, the key target and a timer owner.
    void WireUpA()
    {
        wnd.MouseAt(WM_MOUSEMOVE, 20, 20);
        wnd.MouseAt(WM_LBUTTONDOWN, 20, 20, MK_LBUTTON);
        wnd.Send(WM_KEYDOWN, 'X');
        ASSERT_TRUE(host().SetControlTimer(a, 7, 10000));
        ASSERT_EQ(a, host().GetFocusControl());
        ASSERT_TRUE(host().IsMouseCaptured());
    }
};

}  // namespace

TEST_F(HostLifetime, ChildRemovedFromANonOwningContainerIsDetachedAndForgotten)
{
    auto* option = new COptionUI;
    option->SetAttribute("group", "g");
    root->AddChild(option);
    WireUpA();
    const UINT timer = host().NativeTimerId(a, 7);
    root->SetOwnsChildren(false);
    ASSERT_TRUE(root->RemoveChild(a));
    ASSERT_TRUE(root->RemoveChild(option));

    EXPECT_EQ(nullptr, a->GetHost());
    EXPECT_EQ(nullptr, a->GetParent());
    EXPECT_EQ(nullptr, host().GetFocusControl());
    EXPECT_EQ(nullptr, host().FindControlByName("A"));
    EXPECT_EQ(0u, host().NativeTimerId(a, 7));
    EXPECT_FALSE(host().IsMouseCaptured());
    EXPECT_EQ(nullptr, host().GetOptionGroup("g")) << "the detached option left its group";

    log.clear();
    wnd.Send(WM_TIMER, timer);
    wnd.MouseAt(WM_MOUSEMOVE, 25, 25, MK_LBUTTON);
    wnd.MouseAt(WM_LBUTTONUP, 25, 25);
    wnd.Send(WM_KEYUP, 'X');
    wnd.MouseAt(WM_MOUSEMOVE, 80, 20);
    EXPECT_TRUE(Filter(log, "A:").empty());
    delete a;  // ours now: its destructor must not reach the host
    delete option;
    EXPECT_EQ((Log{"A:Destroyed"}), Filter(log, "A:"));
}

TEST_F(HostLifetime, ARenamedControlLeavesNoNameBehindWhenDestroyed)
{
    a->SetAttribute("name", "A2");
    ASSERT_EQ(a, host().FindControlByName("A"));
    root->SetDefersChildDestroy(false);
    root->RemoveChild(a);
    EXPECT_EQ(nullptr, host().FindControlByName("A"));
    EXPECT_EQ(b, host().FindControlByName("B"));
}

// A name a later control took over is that control's: the first one going does not take it along,
// and the later one going does.
TEST_F(HostLifetime, ANameTakenOverByAnotherControlStaysWithIt)
{
    Probe* c = AddFloatingProbe(root, "A", &log, "0,50,50,90");
    ASSERT_EQ(c, host().FindControlByName("A"));
    root->SetDefersChildDestroy(false);
    root->RemoveChild(a);
    EXPECT_EQ(c, host().FindControlByName("A"));
    root->RemoveChild(c);
    EXPECT_EQ(nullptr, host().FindControlByName("A"));
    EXPECT_EQ(b, host().FindControlByName("B"));
}

TEST_F(HostLifetime, ASecondPressEndsTheFirstWithoutAClick)
{
    POINT releasedAt = {};
    a->onEvent = [&releasedAt](TInputEvent& event) {
        if (event.Type == InputEventKind::ButtonUp)
            releasedAt = event.MousePoint;
    };
    wnd.MouseAt(WM_LBUTTONDOWN, 20, 20, MK_LBUTTON);
    wnd.MouseAt(WM_RBUTTONDOWN, 80, 20, MK_LBUTTON | MK_RBUTTON);
    EXPECT_EQ((Log{"A:ButtonDown", "A:ButtonUp", "A:FocusLost"}), Filter(log, "A:"));
    EXPECT_EQ(-1, releasedAt.x);
    EXPECT_EQ(-1, releasedAt.y);
    EXPECT_EQ("B:RightButtonDown", log.back());
    wnd.MouseAt(WM_LBUTTONUP, 80, 20);
    EXPECT_EQ(1u, Filter(log, "A:ButtonUp").size());
}

TEST_F(HostLifetime, AttachingTheRootOrAPartOfItKeepsWhatIsAttached)
{
    ASSERT_TRUE(host().AttachRoot(root));
    testbed::PumpPending();
    EXPECT_EQ(root, host().GetRoot());
    EXPECT_TRUE(Filter(log, "A:Destroyed").empty());
    EXPECT_EQ(a, host().FindControlByName("A"));

    auto* inner = new CContainerUI;
    inner->SetAttribute("float", "true");
    inner->SetAttribute("pos", "0,50,100,100");
    Probe* c = AddFloatingProbe(inner, "C", &log, "0,0,50,50");
    root->AddChild(inner);
    ASSERT_TRUE(host().AttachRoot(inner));
    testbed::PumpUntil([this] { return !Filter(log, "A:Destroyed").empty(); }, 2000);
    EXPECT_EQ(inner, host().GetRoot());
    EXPECT_EQ(nullptr, inner->GetParent());
    EXPECT_EQ(&host(), c->GetHost());
    EXPECT_EQ(c, host().FindControlByName("C"));
    EXPECT_EQ(nullptr, host().FindControlByName("A"));
    EXPECT_TRUE(Filter(log, "C:Destroyed").empty());
    root = nullptr;
}

TEST_F(HostLifetime, AFocusLostListenerThatMovesTheFocusWins)
{
    host().SetFocusControl(a);
    bool moved = false;
    a->onEvent = [this, &moved](TInputEvent& event) {
        if (event.Type == InputEventKind::FocusLost && !moved) {
            moved = true;
            host().SetFocusControl(b);
        }
    };
    host().SetFocusControl(nullptr);
    EXPECT_EQ(b, host().GetFocusControl());
    EXPECT_TRUE(b->HasFocus());
    EXPECT_FALSE(a->HasFocus());
    EXPECT_EQ(1u, Filter(log, "A:FocusLost").size());
}

TEST_F(HostLifetime, NoEventReachesAControlDestroyedByTheHandlerBeforeIt)
{
    root->SetDefersChildDestroy(false);
    // Hover moves from A to B, and A's MouseLeave destroys B first.
    wnd.MouseAt(WM_MOUSEMOVE, 20, 20);
    a->onEvent = [this](TInputEvent& event) {
        if (event.Type == InputEventKind::MouseLeave)
            root->RemoveChild(b);
    };
    wnd.MouseAt(WM_MOUSEMOVE, 80, 20);
    EXPECT_EQ((Log{"B:Destroyed"}), Filter(log, "B:"));

    // The focus moves from A to C, and A's FocusLost destroys C first.
    Probe* c = AddFloatingProbe(root, "C", &log, "70,10,120,40", CapabilityTabStop);
    host().SetFocusControl(a);
    a->onEvent = [this, c](TInputEvent& event) {
        if (event.Type == InputEventKind::FocusLost)
            root->RemoveChild(c);
    };
    host().SetFocusControl(c);
    EXPECT_EQ((Log{"C:Destroyed"}), Filter(log, "C:"));
    EXPECT_EQ(nullptr, host().GetFocusControl());
}
