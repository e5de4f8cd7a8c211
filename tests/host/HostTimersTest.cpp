// Control timers on native window timers, notification delivery and option groups.
#include <gtest/gtest.h>

#include <memory>
#include <set>
#include <string>
#include <vector>

#include "support/HostBed.h"
#include "support/TestBed.h"

using namespace SkinUI;
using namespace testbed;

namespace {

class HostTimers : public HostFixture {
protected:
    void AddProbes() override
    {
        a = AddFloatingProbe(root, "A", &log, "0,0,20,20");
        b = AddFloatingProbe(root, "B", &log, "20,0,40,20");
    }

    void SetUp() override
    {
        HostFixture::SetUp();
        Clear();
    }

    Probe* a = nullptr;
    Probe* b = nullptr;
};

const UINT kHour = 3600 * 1000;  // never fires during a test

TEST_F(HostTimers, NativeIdsStartAt17AndAKilledTimerRestartsUnderItsId)
{
    EXPECT_TRUE(host().SetControlTimer(a, 1, kHour));
    EXPECT_EQ(17u, host().NativeTimerId(a, 1));
    EXPECT_FALSE(host().SetControlTimer(a, 1, kHour)) << "already running";
    EXPECT_TRUE(host().SetControlTimer(a, 2, kHour));
    EXPECT_EQ(18u, host().NativeTimerId(a, 2));

    EXPECT_TRUE(host().KillControlTimer(a, 1));
    EXPECT_FALSE(host().KillControlTimer(a, 1));
    wnd.Send(WM_TIMER, 17);
    EXPECT_TRUE(log.empty()) << "a killed record gets no event";

    EXPECT_TRUE(host().SetControlTimer(a, 1, kHour));
    EXPECT_EQ(17u, host().NativeTimerId(a, 1));
    EXPECT_TRUE(host().SetControlTimer(b, 1, kHour));
    EXPECT_EQ(19u, host().NativeTimerId(b, 1));

    wnd.Send(WM_TIMER, 17);
    wnd.Send(WM_TIMER, 19);
    EXPECT_EQ((Log{"A:Timer", "B:Timer"}), log);
    EXPECT_EQ(1u, b->lastEvent.WParam) << "the control's own id";
}

TEST_F(HostTimers, ARealTimerFiresToItsOwnerAsATimerNotification)
{
    ASSERT_TRUE(host().SetControlTimer(a, 5, 10));
    ASSERT_TRUE(testbed::PumpUntil([this] { return !noteLog.empty(); }, 3000));
    EXPECT_EQ("timer:A", noteLog.front());
    EXPECT_EQ(5u, notes.last.WParam);
    EXPECT_TRUE(host().KillControlTimer(a, 5));
}

TEST_F(HostTimers, ThreeHundredTimersKeepDistinctIdsAndEachReachesItsControl)
{
    std::vector<std::unique_ptr<Probe>> probes;
    std::set<UINT> ids;
    for (int i = 0; i < 300; ++i) {
        probes.emplace_back(new Probe(("p" + std::to_string(i)).c_str(), &log));
        ASSERT_TRUE(host().SetControlTimer(probes.back().get(), 7, kHour)) << i;
        const UINT id = host().NativeTimerId(probes.back().get(), 7);
        EXPECT_NE(0u, id);
        EXPECT_LE(id, 0xFFFFu);
        ids.insert(id);
    }
    EXPECT_EQ(300u, ids.size()) << "no native id is handed out twice";
    EXPECT_EQ(17u, host().NativeTimerId(probes[0].get(), 7));

    for (int i = 0; i < 300; ++i)
        wnd.Send(WM_TIMER, host().NativeTimerId(probes[static_cast<size_t>(i)].get(), 7));
    ASSERT_EQ(300u, log.size());
    for (int i = 0; i < 300; ++i)
        EXPECT_EQ("p" + std::to_string(i) + ":Timer", log[static_cast<size_t>(i)]);
    for (auto& probe : probes)
        host().KillControlTimers(probe.get());
}

TEST_F(HostTimers, DestroyedControlLeavesNoTimerBehind)
{
    ASSERT_TRUE(host().SetControlTimer(a, 1, kHour));
    const UINT id = host().NativeTimerId(a, 1);
    root->SetDefersChildDestroy(false);
    root->RemoveChild(a);
    EXPECT_EQ(0u, host().NativeTimerId(a, 1));
    wnd.Send(WM_TIMER, id);
    EXPECT_EQ((Log{"A:Destroyed"}), log);
}

TEST_F(HostTimers, NotificationsReachTheSendersListenersFirstThenTheHostsInOrder)
{
    struct SenderListener {
        Log* log;
        bool OnNotify(void* param)
        {
            log->push_back("sender:" + std::string(static_cast<TNotifyEvent*>(param)->Type.GetData()));
            return false;  // ignored for notifications
        }
    } senderListener{&noteLog};
    a->NotifyListeners += MakeDelegate(&senderListener, &SenderListener::OnNotify);
    Log secondLog;
    NotifyRecorder second(&secondLog);
    second.hook = [&noteLog = noteLog](
                      TNotifyEvent& event) { noteLog.push_back("second:" + std::string(event.Type.GetData())); };
    host().AddNotificationListener(&second);

    wnd.MouseAt(WM_MOUSEMOVE, 150, 60);
    noteLog.clear();
    host().SendNotification(a, "ping", 3, 4);
    EXPECT_EQ((Log{"sender:ping", "ping:A", "second:ping"}), noteLog);
    EXPECT_EQ(150, notes.last.MousePoint.x);
    EXPECT_EQ(3u, notes.last.WParam);
    EXPECT_EQ(4, notes.last.LParam);
    EXPECT_TRUE(notes.last.VirtualWindow.IsEmpty());

    // A listener that removes another during delivery: the removed one is not called.
    notes.hook = [this, &second](TNotifyEvent&) { host().RemoveNotificationListener(&second); };
    noteLog.clear();
    host().SendNotification(b, "pong");
    EXPECT_EQ((Log{"pong:B"}), noteLog);
    notes.hook = nullptr;
}

TEST_F(HostTimers, NobodyHearsOfASenderThatAnEarlierListenerDestroyed)
{
    struct Destroyer {
        CContainerUI* root;
        CControlUI* victim;
        bool OnNotify(void*)
        {
            root->RemoveChild(victim);
            return false;
        }
    } destroyer{root, a};
    root->SetDefersChildDestroy(false);
    Log secondLog;
    NotifyRecorder second(&secondLog);
    host().AddNotificationListener(&second);
    const bool bySendersOwnListener[] = {true, false};
    for (bool own : bySendersOwnListener) {
        SCOPED_TRACE(own ? "the sender's own listener destroys it" : "the first window listener destroys it");
        if (own)
            a->NotifyListeners += MakeDelegate(&destroyer, &Destroyer::OnNotify);
        else
            notes.hook = [&destroyer](TNotifyEvent& event) { destroyer.OnNotify(&event); };
        secondLog.clear();
        host().SendNotification(a, "ping");
        // The record names freed memory: no later listener may be handed it.
        EXPECT_TRUE(secondLog.empty());
        notes.hook = nullptr;
        a = AddFloatingProbe(root, "A", &log, "0,0,20,20");
        destroyer.victim = a;
    }
    host().RemoveNotificationListener(&second);
}

TEST_F(HostTimers, VirtualWindowNamesComeFromTheNearestAncestor)
{
    root->SetAttribute("virtualwnd", "pane");
    EXPECT_TRUE(host().UsesVirtualWindows());
    host().SendNotification(a, "ping");
    EXPECT_STREQ("pane", notes.last.VirtualWindow.GetData());
    a->SetAttribute("virtualwnd", "inner");
    host().SendNotification(a, "ping");
    EXPECT_STREQ("inner", notes.last.VirtualWindow.GetData());
}

TEST_F(HostTimers, OptionGroupsHoldEachOptionOnceAndVanishWhenEmpty)
{
    EXPECT_TRUE(host().AddOptionToGroup("g", a));
    EXPECT_FALSE(host().AddOptionToGroup("g", a));
    EXPECT_TRUE(host().AddOptionToGroup("g", b));
    ASSERT_NE(nullptr, host().GetOptionGroup("g"));
    EXPECT_EQ(2, host().GetOptionGroup("g")->GetSize());

    host().RemoveOptionFromGroup("g", a);
    EXPECT_EQ(1, host().GetOptionGroup("g")->GetSize());
    root->SetDefersChildDestroy(false);
    root->RemoveChild(b);  // a destroyed option leaves its groups
    EXPECT_EQ(nullptr, host().GetOptionGroup("g"));
}

}  // namespace
