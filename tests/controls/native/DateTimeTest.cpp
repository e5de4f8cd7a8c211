// The date control driven through the real platform picker: dates set with the picker's own
// messages reach the control and its "datetimechanged", the drop-down calendar stays usable, and
// the picker never outlives the control nor stays open once it is disabled or resized away.
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include <cstdio>
#include <string>

#include "support/HostBed.h"
#include "controls/PopupTestSupport.h"
#include "controls/text/Button.h"
#include "controls/native/DateTime.h"
#include "controls/layout/VerticalLayout.h"

using namespace SkinUI;
using testbed::ChildRect;
using testbed::HostBed;
using testbed::RectIs;
using testbed::RefusedWindowClass;
using testbed::Watched;
using testbed::WheelColumn;

namespace {

// The date control "date" under test in a PopupBed.
struct DateBed : testbed::PopupBed {
    explicit DateBed(CDateTimeUI* d = new CDateTimeUI, bool fullWidth = false)
        : PopupBed(d, "date", fullWidth)
        , date(d)
    {
    }
    // Clicks the control and answers its open picker.
    HWND Open()
    {
        ClickControl();
        return date->GetPickerWindow();
    }

    CDateTimeUI* date;
};

SYSTEMTIME Day(WORD year, WORD month, WORD day)
{
    SYSTEMTIME t = {};
    t.wYear = year;
    t.wMonth = month;
    t.wDay = day;
    return t;
}

void SetPickerDate(HWND picker, SYSTEMTIME t)
{
    SendMessageA(picker, DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&t));
}

std::string Shown(const SYSTEMTIME& t)
{
    char text[32];
    std::snprintf(text, sizeof(text), "%4d-%02d-%02d", t.wYear, t.wMonth, t.wDay);
    return text;
}

std::string Today()
{
    SYSTEMTIME now = {};
    GetLocalTime(&now);
    return Shown(now);
}

std::string TextOf(const CControlUI* control) { return control->GetText().GetData(); }

}  // namespace

TEST(DateTime, PickedDateReachesTheControlWhenTheFocusMovesOn)
{
    DateBed t;
    EXPECT_EQ(TextOf(t.date), Today());
    HWND picker = t.Open();
    ASSERT_NE(picker, nullptr);
    EXPECT_EQ(GetFocus(), picker);
    EXPECT_TRUE(RectIs(ChildRect(picker), 0, 30, 200, 60));

    SetPickerDate(picker, Day(2024, 3, 7));
    t.LeaveForOther();
    EXPECT_FALSE(IsWindow(picker));
    EXPECT_EQ(t.date->GetPickerWindow(), nullptr);
    EXPECT_EQ(TextOf(t.date), "2024-03-07");
    EXPECT_EQ(t.date->GetTime().wYear, 2024);
    EXPECT_EQ(t.bed.Count("datetimechanged"), 1);
    for (const testbed::TRecordedNotify& note : t.bed.notes) {
        if (note.type == "datetimechanged") {
            EXPECT_EQ(note.senderPtr, t.date);
        }
    }

    // Leaving again without a change announces nothing.
    t.Open();
    t.LeaveForOther();
    EXPECT_EQ(t.bed.Count("datetimechanged"), 1);
}

TEST(DateTime, DeleteClearsAndEscapeKeepsTheText)
{
    struct Case {
        UINT key;
        const char* expected;  // null: today's date, unchanged
        int changes;
    };
    const Case cases[] = {{VK_DELETE, "", 1}, {VK_BACK, "", 1}, {VK_ESCAPE, nullptr, 0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.key);
        DateBed t;
        const std::string today = Today();
        HWND picker = t.Open();
        ASSERT_NE(picker, nullptr);
        SetPickerDate(picker, Day(2024, 3, 7));
        SendMessageA(picker, WM_KEYUP, c.key, 0xC0000001);
        t.bed.Pump();
        EXPECT_FALSE(IsWindow(picker));
        EXPECT_EQ(TextOf(t.date), c.expected != nullptr ? c.expected : today);
        // The stored date is never the one left in the answered picker.
        EXPECT_EQ(Shown(t.date->GetTime()), today);
        t.LeaveForOther();
        EXPECT_EQ(t.bed.Count("datetimechanged"), c.changes);
    }
}

namespace {

// Clicks the picker's drop-down button at the right end of its client area.
void DropDown(HWND picker)
{
    RECT client = {};
    GetClientRect(picker, &client);
    const LPARAM at = MAKELPARAM(client.right - 4, client.bottom / 2);
    SendMessageA(picker, WM_LBUTTONDOWN, MK_LBUTTON, at);
    SendMessageA(picker, WM_LBUTTONUP, 0, at);
}

// A point on a day of the calendar other than `current`; its date in `day`.
bool FindOtherDay(HWND calendar, const SYSTEMTIME& current, POINT& point, SYSTEMTIME& day)
{
    RECT client = {};
    GetClientRect(calendar, &client);
    for (int y = client.bottom - 1; y > 0; y -= 3) {
        for (int x = 1; x < client.right; x += 3) {
            MCHITTESTINFO hit = {};
            hit.cbSize = sizeof(hit);
            hit.pt = POINT{x, y};
            SendMessageA(calendar, MCM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit));
            if (hit.uHit == MCHT_CALENDARDATE && hit.st.wDay != current.wDay && hit.st.wMonth == current.wMonth) {
                point = hit.pt;
                day = hit.st;
                return true;
            }
        }
    }
    return false;
}

}  // namespace

TEST(DateTime, CalendarDropDownStaysUsableUntilADayIsPicked)
{
    for (bool pickADay : {true, false}) {
        SCOPED_TRACE(pickADay ? "day clicked" : "other control clicked");
        DateBed t;
        HWND picker = t.Open();
        ASSERT_NE(picker, nullptr);
        SetPickerDate(picker, Day(2024, 3, 7));
        DropDown(picker);
        t.bed.Pump();
        ASSERT_TRUE(IsWindow(picker));
        HWND calendar = reinterpret_cast<HWND>(SendMessageA(picker, DTM_GETMONTHCAL, 0, 0));
        ASSERT_NE(calendar, nullptr);
        EXPECT_TRUE(IsWindowVisible(calendar));
        EXPECT_EQ(t.date->GetUpdateMode(), CDateTimeUI::KeepText);

        std::string expected = "2024-03-07";
        if (pickADay) {
            POINT point = {};
            SYSTEMTIME day = {};
            ASSERT_TRUE(FindOtherDay(calendar, Day(2024, 3, 7), point, day));
            SendMessageA(calendar, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(point.x, point.y));
            SendMessageA(calendar, WM_LBUTTONUP, 0, MAKELPARAM(point.x, point.y));
            expected = Shown(day);
            t.bed.Pump();
        } else {
            t.LeaveForOther();
        }
        EXPECT_FALSE(IsWindow(picker));
        EXPECT_FALSE(IsWindow(calendar));
        EXPECT_EQ(TextOf(t.date), expected);
        EXPECT_EQ(t.bed.Count("datetimechanged"), 1);
    }
}

TEST(DateTime, ResizeTakesTheDateAndReopensAtTheNewPlace)
{
    DateBed t(new CDateTimeUI, true);
    HWND picker = t.Open();
    ASSERT_NE(picker, nullptr);
    EXPECT_TRUE(RectIs(ChildRect(picker), 0, 30, 300, 60));
    SetPickerDate(picker, Day(2024, 3, 7));
    SetWindowPos(t.bed.Hwnd(), nullptr, 0, 0, 400, 200, SWP_NOZORDER | SWP_NOACTIVATE);
    t.bed.Pump();
    EXPECT_FALSE(IsWindow(picker));
    EXPECT_EQ(TextOf(t.date), "2024-03-07");
    HWND reopened = t.date->GetPickerWindow();
    ASSERT_NE(reopened, nullptr);
    EXPECT_TRUE(RectIs(ChildRect(reopened), 0, 30, 400, 60));
    EXPECT_TRUE(RectIs(t.date->GetPosition(), 0, 30, 400, 60));
}

TEST(DateTime, DisablingClosesThePickerWithoutTakingItsDate)
{
    DateBed t;
    const std::string today = Today();
    HWND picker = t.Open();
    ASSERT_NE(picker, nullptr);
    SetPickerDate(picker, Day(2024, 3, 7));
    t.date->SetEnabled(false);
    t.bed.Pump();
    EXPECT_FALSE(IsWindow(picker));
    EXPECT_EQ(t.date->GetPickerWindow(), nullptr);
    EXPECT_EQ(TextOf(t.date), today);
    EXPECT_EQ(Shown(t.date->GetTime()), today);
    EXPECT_EQ(t.bed.Count("datetimechanged"), 0);
    // A disabled control opens nothing.
    EXPECT_EQ(t.Open(), nullptr);
}

TEST(DateTime, DestroyedWithItsPickerOpenLeavesNothingBehind)
{
    enum How { RemovedNow, RemovedLater, RemovedOnChange, RemovedOnResize };
    struct Context {
        How how;
        CVerticalLayoutUI* root;
        CControlUI* date;
    };
    for (How how : {RemovedNow, RemovedLater, RemovedOnChange, RemovedOnResize}) {
        SCOPED_TRACE(how);
        testbed::FaultCounter faults;
        DateBed t(new Watched<CDateTimeUI>);
        Context context = {how, t.root, t.date};
        t.root->SetDefersChildDestroy(how == RemovedLater);
        t.bed.user = &context;
        t.bed.onNotify = [](HostBed& bed, TNotifyEvent& event) {
            Context* c = static_cast<Context*>(bed.user);
            const bool now = (c->how == RemovedOnChange && event.Type == "datetimechanged")
                || (c->how == RemovedOnResize && event.Type == "killfocus" && event.Sender == c->date);
            if (now && c->root->IndexOfChild(c->date) >= 0)
                c->root->RemoveChild(c->date);
        };
        HWND picker = t.Open();
        ASSERT_NE(picker, nullptr);
        SetPickerDate(picker, Day(2024, 3, 7));
        if (how == RemovedOnChange)
            t.LeaveForOther();
        else if (how == RemovedOnResize)
            SetWindowPos(t.bed.Hwnd(), nullptr, 0, 0, 400, 200, SWP_NOZORDER | SWP_NOACTIVATE);
        else
            t.root->RemoveChild(t.date);
        t.bed.Pump();
        EXPECT_FALSE(Watched<CDateTimeUI>::IsLive());
        EXPECT_FALSE(IsWindow(picker));
        PostMessageA(picker, WM_KEYUP, VK_DELETE, 0xC0000001);
        t.bed.Pump();
        t.bed.Repaint();
        EXPECT_TRUE(Watched<CDateTimeUI>::FreedBytesUntouched());
        EXPECT_EQ(faults.Faults(), 0);
        EXPECT_NE(t.bed.Host().GetFocusControl(), context.date);
    }
}

TEST(DateTime, RefusedPickerLeavesAPlainLabelThatCanOpenLater)
{
    DateBed t;
    {
        RefusedWindowClass refuse("DateTimeWnd");
        EXPECT_EQ(t.Open(), nullptr);
        EXPECT_GE(refuse.Refusals(), 1);
        EXPECT_EQ(t.bed.Host().GetFocusControl(), t.date);
        EXPECT_EQ(TextOf(t.date), Today());
        testbed::TurnWheel(t.bed.Hwnd(), 50, 45);
        EXPECT_EQ(t.root->wheels, 1);
    }
    t.LeaveForOther();
    EXPECT_NE(t.Open(), nullptr);
    testbed::TurnWheel(t.bed.Hwnd(), 50, 45);
    EXPECT_EQ(t.root->wheels, 1);
}
