// Focus, tab order, Alt shortcuts and the process-wide pre-translation step, with real messages.
#include <gtest/gtest.h>

#include "support/HostBed.h"
#include "support/TestBed.h"

using namespace SkinUI;
using namespace testbed;

namespace {

class HostFocus : public HostFixture {
protected:
    void AddProbes() override
    {
        // Document order A, L, B, C, D, E; tab stops A, B, C (D hidden, E disabled).
        a = AddFloatingProbe(root, "A", &log, "0,0,20,20", CapabilityTabStop);
        label = AddFloatingProbe(root, "L", &log, "20,0,40,20", 0, "LabelUI");
        b = AddFloatingProbe(root, "B", &log, "40,0,60,20", CapabilityTabStop);
        c = AddFloatingProbe(root, "C", &log, "60,0,80,20", CapabilityTabStop);
        d = AddFloatingProbe(root, "D", &log, "80,0,100,20", CapabilityTabStop);
        e = AddFloatingProbe(root, "E", &log, "100,0,120,20", CapabilityTabStop);
        d->SetVisible(false);
        e->SetEnabled(false);
    }

    void SetUp() override
    {
        HostFixture::SetUp();
        Clear();
    }

    void TearDown() override { SetShift(false); }

    static void SetShift(bool down)
    {
        BYTE keys[256] = {};
        ::GetKeyboardState(keys);
        keys[VK_SHIFT] = down ? 0x80 : 0;
        ::SetKeyboardState(keys);
    }

    bool Offer(UINT message, WPARAM wParam, HWND target = nullptr)
    {
        MSG msg = {};
        msg.hwnd = target != nullptr ? target : wnd.Handle();
        msg.message = message;
        msg.wParam = wParam;
        return CWindowHostUI::TranslateForHosts(&msg);
    }

    bool Tab(bool shift)
    {
        SetShift(shift);
        const bool taken = Offer(WM_KEYDOWN, VK_TAB);
        SetShift(false);
        return taken;
    }

    Probe* a = nullptr;
    Probe* label = nullptr;
    Probe* b = nullptr;
    Probe* c = nullptr;
    Probe* d = nullptr;
    Probe* e = nullptr;
};

TEST_F(HostFocus, TabAndShiftTabWalkTheTabStopsAndWrap)
{
    ASSERT_EQ(a, host().GetFocusControl()) << "the first paint focuses the first tab stop";
    EXPECT_TRUE(Tab(false));
    EXPECT_EQ(b, host().GetFocusControl());
    Tab(false);
    EXPECT_EQ(c, host().GetFocusControl());
    Tab(false);
    EXPECT_EQ(a, host().GetFocusControl()) << "wraps past hidden and disabled controls to the first";
    EXPECT_TRUE(Tab(true));
    EXPECT_EQ(c, host().GetFocusControl()) << "Shift+Tab from the first wraps to the last";
    Tab(true);
    EXPECT_EQ(b, host().GetFocusControl());
}

TEST_F(HostFocus, TabWithoutFocusTakesTheFirstTabStop)
{
    host().SetFocusControl(nullptr);
    Tab(false);
    EXPECT_EQ(a, host().GetFocusControl());
}

TEST_F(HostFocus, TabWhileLayoutIsPendingMovesAfterTheNextPaint)
{
    root->RequestLayout();
    Tab(false);
    EXPECT_EQ(a, host().GetFocusControl());
    wnd.Repaint();
    EXPECT_EQ(b, host().GetFocusControl());
}

TEST_F(HostFocus, FocusChangeSendsEventsThenNotifications)
{
    host().SetFocusControl(b);
    EXPECT_EQ((Log{"A:FocusLost", "B:FocusGained"}), log);
    EXPECT_EQ(b, a->lastEvent.Sender) << "FocusLost names the control gaining focus";
    EXPECT_EQ((Log{"killfocus:A", "setfocus:B"}), noteLog);
    EXPECT_FALSE(a->HasFocus());
    EXPECT_TRUE(b->HasFocus());
}

TEST_F(HostFocus, FocusToHiddenOrDisabledControlLeavesNoFocus)
{
    host().SetFocusControl(d);
    EXPECT_EQ(nullptr, host().GetFocusControl());
    EXPECT_EQ((Log{"A:FocusLost"}), log);
    EXPECT_EQ((Log{"killfocus:A"}), noteLog);

    host().SetFocusControl(b);
    log.clear();
    host().SetFocusControl(e);
    EXPECT_EQ(nullptr, host().GetFocusControl());
    EXPECT_EQ((Log{"B:FocusLost"}), log);
}

TEST_F(HostFocus, HidingTheFocusedControlDropsTheFocus)
{
    host().SetFocusControl(b);
    log.clear();
    b->SetVisible(false);
    EXPECT_EQ(nullptr, host().GetFocusControl());
    EXPECT_EQ((Log{"B:FocusLost"}), log);
}

TEST_F(HostFocus, AltShortcutOnALabelLandsOnTheNextNonLabelVisited)
{
    label->SetShortcutKey('s');
    b->SetShortcutKey('b');
    d->SetShortcutKey('h');
    // Visiting order is top-first: root, E, D, C, B, L, A. After the label comes A.
    EXPECT_TRUE(Offer(WM_SYSCHAR, 'S'));
    EXPECT_EQ(a, host().GetFocusControl());
    EXPECT_EQ("A:Action", log.back());

    log.clear();
    EXPECT_TRUE(Offer(WM_SYSCHAR, 'B'));
    EXPECT_EQ(b, host().GetFocusControl());
    EXPECT_EQ("B:Action", log.back());

    EXPECT_FALSE(Offer(WM_SYSCHAR, 'h')) << "hidden controls are skipped";
    EXPECT_FALSE(Offer(WM_SYSCHAR, 'q'));
    EXPECT_FALSE(Offer(WM_SYSCHAR, 0)) << "controls without a shortcut do not match NUL";
}

TEST_F(HostFocus, AltShortcutWhoseTargetDiesOnFocusTriggersNothing)
{
    b->SetShortcutKey('b');
    root->SetDefersChildDestroy(false);
    notes.hook = [this](TNotifyEvent& event) {
        if (event.Type == "setfocus" && event.Sender == b)
            root->RemoveChild(b);
    };
    EXPECT_TRUE(Offer(WM_SYSCHAR, 'B'));
    notes.hook = nullptr;
    EXPECT_EQ("B:Destroyed", log.back());
    EXPECT_EQ(nullptr, host().GetFocusControl());
}

TEST_F(HostFocus, SysKeyDownReachesTheFocusAndGoesOn)
{
    EXPECT_FALSE(Offer(WM_SYSKEYDOWN, VK_F10));
    EXPECT_EQ((Log{"A:SysKey"}), log);
}

TEST_F(HostFocus, ScheduledFocusLandsOnTheControlAfterLayout)
{
    host().ScheduleFocus(c);
    EXPECT_EQ(b, host().GetFocusControl()) << "parked silently on the tab stop before";
    wnd.Repaint();
    EXPECT_EQ(c, host().GetFocusControl());
}

TEST_F(HostFocus, PreTranslationFindsTheHostOfANativeChild)
{
    HWND child = ::CreateWindowExA(0, "STATIC", "", WS_CHILD | WS_VISIBLE, 0, 0, 10, 10, wnd.Handle(), nullptr,
        ::GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(nullptr, child);
    EXPECT_TRUE(Offer(WM_KEYDOWN, VK_TAB, child));
    EXPECT_EQ(b, host().GetFocusControl());

    testbed::TestWindow stranger;
    EXPECT_FALSE(Offer(WM_KEYDOWN, VK_TAB, stranger.Handle()));
    EXPECT_EQ(b, host().GetFocusControl());
    ::DestroyWindow(child);
}

TEST_F(HostFocus, AcceleratorsAndFiltersComeBeforeTabHandling)
{
    struct Taker : ITranslateAccelerator {
        int calls = 0;
        LRESULT answer = 0;
        LRESULT Translate(const MSG*) override
        {
            ++calls;
            return answer;
        }
    } first, second;
    first.answer = 1;  // not taken
    host().AddAcceleratorTranslator(&first);
    host().AddAcceleratorTranslator(&second);
    EXPECT_TRUE(Tab(false));
    EXPECT_EQ(a, host().GetFocusControl()) << "the translator took the Tab";
    EXPECT_EQ(1, first.calls);
    EXPECT_EQ(1, second.calls);
    host().RemoveAcceleratorTranslator(&first);
    host().RemoveAcceleratorTranslator(&second);

    struct Swallow : IMessageFilterUI {
        LRESULT FilterMessage(UINT message, WPARAM, LPARAM, bool& handled) override
        {
            handled = message == WM_KEYDOWN;
            return 0;
        }
    } swallow;
    host().AddPreTranslateFilter(&swallow);
    EXPECT_TRUE(Tab(false));
    EXPECT_EQ(a, host().GetFocusControl());
    host().RemovePreTranslateFilter(&swallow);
    Tab(false);
    EXPECT_EQ(b, host().GetFocusControl());
}

}  // namespace
