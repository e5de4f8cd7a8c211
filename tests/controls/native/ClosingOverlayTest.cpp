// The edit and the date picker while their native window is closing: focused again from a
// "killfocus" listener, pressed beside the window, made unusable after the focus moved on, and
// moved by a layout. Each control is driven the same way through the table of kinds.
#include <gtest/gtest.h>

#include <string>

#include "controls/PopupTestSupport.h"
#include "controls/native/DateTime.h"
#include "controls/native/Edit.h"

using namespace SkinUI;
using testbed::ChildRect;
using testbed::PopupBed;
using testbed::RectIs;

namespace {

struct TKind {
    const char* what;
    CControlUI* (*make)();
    HWND (*window)(CControlUI* control);
};

const TKind kKinds[] = {
    {"edit", [] { return static_cast<CControlUI*>(new CEditUI); },
        [](CControlUI* c) { return ControlCast<CEditUI>(c)->GetEditWindow(); }},
    {"date", [] { return static_cast<CControlUI*>(new CDateTimeUI); },
        [](CControlUI* c) { return ControlCast<CDateTimeUI>(c)->GetPickerWindow(); }},
};

// The control "c" (0,30)-(200,60) below the button "other", its window opened by a click.
struct OpenBed : PopupBed {
    explicit OpenBed(const TKind& k)
        : PopupBed(k.make(), "c", false)
        , kind(k)
        , control(bed.Host().FindControlByName("c"))
    {
        ClickControl();
        bed.Pump();
    }
    HWND Window() const { return kind.window(control); }

    const TKind& kind;
    CControlUI* control;
};

}  // namespace

TEST(ClosingOverlay, FocusHandedBackByAKillFocusListenerOpensAFreshWindow)
{
    for (const TKind& kind : kKinds) {
        SCOPED_TRACE(kind.what);
        OpenBed t(kind);
        HWND first = t.Window();
        ASSERT_NE(nullptr, first);
        t.bed.user = t.control;
        t.bed.onNotify = [](testbed::HostBed& bed, TNotifyEvent& e) {
            if (e.Type == "killfocus" && e.Sender == bed.user) {
                bed.onNotify = nullptr;
                static_cast<CControlUI*>(bed.user)->TakeFocus();
            }
        };
        t.LeaveForOther();
        EXPECT_EQ(t.control, t.bed.Host().GetFocusControl());
        HWND window = t.Window();
        ASSERT_NE(nullptr, window) << "focused, but nothing to type into";
        EXPECT_TRUE(IsWindow(window));
        EXPECT_FALSE(IsWindow(first));
        EXPECT_EQ(window, GetFocus());
    }
}

TEST(ClosingOverlay, APressBesideTheOpenWindowLeavesAWindowOpen)
{
    for (const TKind& kind : kKinds) {
        SCOPED_TRACE(kind.what);
        OpenBed t(kind);
        ASSERT_NE(nullptr, t.Window());
        // The edit's left text padding, outside its native window: the host window takes the
        // press, and with it the native focus, so the open window posts its close.
        t.bed.Click(1, 45);
        t.bed.Pump();
        EXPECT_EQ(t.control, t.bed.Host().GetFocusControl());
        ASSERT_NE(nullptr, t.Window());
        EXPECT_TRUE(IsWindow(t.Window()));
    }
}

TEST(ClosingOverlay, MadeUnusableAfterTheFocusMovedOnLeavesThatFocusAlone)
{
    struct TWay {
        const char* what;
        void (*apply)(CControlUI* control);
    };
    const TWay ways[] = {
        {"hidden", [](CControlUI* c) { c->SetVisible(false); }},
        {"disabled", [](CControlUI* c) { c->SetEnabled(false); }},
    };
    for (const TKind& kind : kKinds) {
        for (const TWay& way : ways) {
            SCOPED_TRACE(std::string(kind.what) + ", " + way.what);
            OpenBed t(kind);
            HWND window = t.Window();
            ASSERT_NE(nullptr, window);
            // As a listener would: the focus first, then the control made unusable.
            t.other->TakeFocus();
            way.apply(t.control);
            t.bed.Pump();
            EXPECT_EQ(t.other, t.bed.Host().GetFocusControl());
            EXPECT_FALSE(IsWindow(window));
            EXPECT_EQ(nullptr, t.Window());
        }
    }
}

TEST(ClosingOverlay, TheOpenWindowFollowsALayoutMove)
{
    for (const TKind& kind : kKinds) {
        SCOPED_TRACE(kind.what);
        OpenBed t(kind);
        HWND window = t.Window();
        ASSERT_NE(nullptr, window);
        const CRectUI before = ChildRect(window);
        t.other->SetFixedHeight(50);  // the control moves 20 down
        t.bed.Repaint();
        ASSERT_EQ(window, t.Window());
        const CRectUI after = ChildRect(window);
        EXPECT_TRUE(RectIs(after, before.left, before.top + 20, before.right, before.bottom + 20));
    }
}
