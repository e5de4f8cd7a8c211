// The native window wrapper: registration, binding, the last message, the modal loop, centring.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <vector>

#include "support/HostBed.h"
#include "support/TestBed.h"
#include "window/WindowWnd.h"

using namespace SkinUI;

namespace {

const UINT kDestroyMe = WM_APP + 20;
const UINT kCheckOwner = WM_APP + 21;
const UINT kCheckFocus = WM_APP + 22;

class RecordingWnd final : public CWindowWnd {
public:
    const char* WindowClassName() const override { return "SkinUITestRecordingWnd"; }
    LRESULT ProcessMessage(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        messages.push_back(message);
        if (message == WM_SETICON)
            iconKinds.push_back(wParam);
        if (message == kDestroyMe) {
            ::DestroyWindow(GetHWND());
            return 0;
        }
        if (message == kCheckOwner)
            ownerEnabledDuringLoop = ::IsWindowEnabled(::GetWindow(GetHWND(), GW_OWNER)) != FALSE;
        if (message == kCheckFocus)
            focusDuringLoop = ::GetFocus();
        if (message == WM_CLOSE && refuseClose)
            return 0;
        return CWindowWnd::ProcessMessage(message, wParam, lParam);
    }
    void OnWindowGone(HWND hwnd) override
    {
        goneHandles.push_back(hwnd);
        if (deleteOnGone)
            delete this;
    }

    std::vector<UINT> messages;
    std::vector<HWND> goneHandles;
    std::vector<WPARAM> iconKinds;
    bool deleteOnGone = false;
    bool ownerEnabledDuringLoop = true;
    bool refuseClose = false;
    HWND focusDuringLoop = nullptr;
    bool* destroyedFlag = nullptr;
    ~RecordingWnd()
    {
        if (destroyedFlag != nullptr)
            *destroyedFlag = true;
    }
};

class EditWnd : public CWindowWnd {
public:
    const char* WindowClassName() const override { return "SkinUITestEditWnd"; }
    const char* SuperclassName() const override { return "EDIT"; }
    LRESULT ProcessMessage(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        ++seen;
        return CWindowWnd::ProcessMessage(message, wParam, lParam);
    }
    void OnWindowGone(HWND hwnd) override
    {
        ++gone;
        propertyLeft = false;
        ::EnumPropsExA(hwnd, &NoteObjectProperty, reinterpret_cast<LPARAM>(&propertyLeft));
    }
    static BOOL CALLBACK NoteObjectProperty(HWND, LPSTR name, HANDLE, ULONG_PTR found)
    {
        // Atoms come as small integers, names as pointers.
        if (!IS_INTRESOURCE(name) && std::strcmp(name, "WndX") == 0)
            *reinterpret_cast<bool*>(found) = true;
        return TRUE;
    }
    int seen = 0;
    int gone = 0;
    bool propertyLeft = true;
};

class BadSuperclassWnd : public CWindowWnd {
public:
    const char* WindowClassName() const override { return "SkinUITestBadSuper"; }
    const char* SuperclassName() const override { return "NoSuchSystemClassAtAll"; }
};

class WindowWnd : public ::testing::Test {
protected:
    void SetUp() override { testbed::UseTestModule(); }
};

TEST_F(WindowWnd, OwnClassBindsAtNcCreateAndRegistersAgainWithoutError)
{
    RecordingWnd first;
    RecordingWnd second;
    ASSERT_NE(nullptr, first.Create(nullptr, "one", WS_POPUP, 0, 0, 0, 50, 50));
    ASSERT_NE(nullptr, second.Create(nullptr, "two", WS_POPUP, 0, 0, 0, 50, 50)) << "class already exists is fine";
    ASSERT_FALSE(first.messages.empty());
    EXPECT_EQ(static_cast<UINT>(WM_NCCREATE), first.messages.front());
    EXPECT_NE(
        first.messages.end(), std::find(first.messages.begin(), first.messages.end(), static_cast<UINT>(WM_CREATE)));
    EXPECT_EQ(reinterpret_cast<LONG_PTR>(&first), ::GetWindowLongPtrA(first.GetHWND(), GWLP_USERDATA))
        << "the full pointer is stored";

    const HWND handle = first.GetHWND();
    ::DestroyWindow(handle);
    EXPECT_EQ(nullptr, first.GetHWND());
    EXPECT_EQ((std::vector<HWND>{handle}), first.goneHandles);
    ::DestroyWindow(second.GetHWND());
}

TEST_F(WindowWnd, AnObjectMayDeleteItselfWhenItsWindowIsGone)
{
    bool destroyed = false;
    RecordingWnd* wnd = new RecordingWnd;
    wnd->deleteOnGone = true;
    wnd->destroyedFlag = &destroyed;
    const HWND handle = wnd->Create(nullptr, "self", WS_POPUP, 0, 0, 0, 50, 50);
    ASSERT_NE(nullptr, handle);
    ::DestroyWindow(handle);
    EXPECT_TRUE(destroyed);
}

TEST_F(WindowWnd, SuperclassKeepsTheSystemProcedureAndReleasesTheObject)
{
    EditWnd edit;
    ASSERT_NE(nullptr, edit.Create(nullptr, "abc", WS_POPUP, 0, 0, 0, 80, 20));
    EXPECT_GT(edit.seen, 0);
    EXPECT_EQ(static_cast<HANDLE>(&edit), ::GetPropA(edit.GetHWND(), "WndX"));
    ::SetWindowTextA(edit.GetHWND(), "typed");
    char text[16] = {};
    ::GetWindowTextA(edit.GetHWND(), text, sizeof(text));
    EXPECT_STREQ("typed", text) << "the edit control's own procedure ran";
    ::DestroyWindow(edit.GetHWND());
    EXPECT_EQ(1, edit.gone);
    EXPECT_FALSE(edit.propertyLeft) << "the object property is removed, not only emptied";
    EXPECT_EQ(nullptr, edit.GetHWND());

    BadSuperclassWnd bad;
    EXPECT_EQ(nullptr, bad.Create(nullptr, "x", WS_POPUP, 0, 0, 0, 10, 10));
}

TEST_F(WindowWnd, RunModalAnswersTheCloseCodeAndDisablesTheOwnerMeanwhile)
{
    testbed::TestWindow owner;
    RecordingWnd wnd;
    ASSERT_NE(nullptr, wnd.Create(owner.Handle(), "modal", WS_POPUP, 0, 0, 0, 50, 50));
    ::PostMessageA(wnd.GetHWND(), kCheckOwner, 0, 0);
    wnd.PostClose(1);
    EXPECT_EQ(1u, wnd.RunModal());
    EXPECT_FALSE(wnd.ownerEnabledDuringLoop);
    EXPECT_TRUE(::IsWindowEnabled(owner.Handle()));
    EXPECT_EQ(nullptr, wnd.GetHWND());

    RecordingWnd destroyedWithoutClose;
    ASSERT_NE(nullptr, destroyedWithoutClose.Create(nullptr, "modal", WS_POPUP, 0, 0, 0, 50, 50));
    ::PostMessageA(destroyedWithoutClose.GetHWND(), kDestroyMe, 0, 0);
    EXPECT_EQ(0u, destroyedWithoutClose.RunModal());
}

TEST_F(WindowWnd, AWindowWithoutOwnerThatRefusesToCloseKeepsTheFocus)
{
    RecordingWnd wnd;
    wnd.refuseClose = true;
    ASSERT_NE(nullptr, wnd.Create(nullptr, "modal", WS_POPUP, 0, 0, 0, 50, 50));
    const HWND self = wnd.GetHWND();
    wnd.PostClose(2);
    ::PostMessageA(self, kCheckFocus, 0, 0);
    ::PostMessageA(self, kDestroyMe, 0, 0);
    EXPECT_EQ(2u, wnd.RunModal());
    EXPECT_EQ(self, wnd.focusDuringLoop);
}

TEST_F(WindowWnd, QuitMessageEndsTheModalLoopAndIsPostedAgain)
{
    RecordingWnd wnd;
    ASSERT_NE(nullptr, wnd.Create(nullptr, "modal", WS_POPUP, 0, 0, 0, 50, 50));
    ::PostQuitMessage(3);
    EXPECT_EQ(0u, wnd.RunModal());
    EXPECT_TRUE(::IsWindow(wnd.GetHWND()));
    MSG msg = {};
    ASSERT_TRUE(::PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(3u, msg.wParam);
    ::DestroyWindow(wnd.GetHWND());
}

TEST_F(WindowWnd, SetIconsSendsTheBigIconThenTheSmallOne)
{
    RecordingWnd wnd;
    ASSERT_NE(nullptr, wnd.Create(nullptr, "icons", WS_POPUP, 0, 0, 0, 50, 50));
    wnd.SetIcons(107);
    EXPECT_EQ((std::vector<WPARAM>{ICON_BIG, ICON_SMALL}), wnd.iconKinds);
    ::DestroyWindow(wnd.GetHWND());
}

RECT WorkAreaOf(HWND hwnd)
{
    MONITORINFO info = {};
    info.cbSize = sizeof(info);
    ::GetMonitorInfoA(::MonitorFromWindow(hwnd, MONITOR_DEFAULTTONEAREST), &info);
    return info.rcWork;
}

TEST_F(WindowWnd, CentringGrowsTheHeightBySevenSixthsAndStaysOnTheWorkArea)
{
    RecordingWnd wnd;
    ASSERT_NE(nullptr, wnd.Create(nullptr, "c", WS_POPUP, 0, 0, 0, 360, 466));
    const RECT work = WorkAreaOf(wnd.GetHWND());
    wnd.CenterOverOwner();
    RECT rc = {};
    ::GetWindowRect(wnd.GetHWND(), &rc);
    EXPECT_EQ(543, rc.bottom - rc.top) << "466 * 7 / 6";
    EXPECT_EQ(360, rc.right - rc.left);
    EXPECT_EQ((work.left + work.right) / 2 - 180, rc.left);
    const int expectedTop = (work.top + work.bottom) / 2 - 543 / 2;
    EXPECT_EQ(expectedTop < work.top ? work.top : expectedTop, rc.top);

    // Taller than the work area: the top stays on it.
    const int tall = (work.bottom - work.top) + 120;
    ::SetWindowPos(wnd.GetHWND(), nullptr, 0, 0, 100, tall, SWP_NOZORDER | SWP_NOACTIVATE);
    wnd.CenterOverOwner();
    ::GetWindowRect(wnd.GetHWND(), &rc);
    EXPECT_EQ(work.top, rc.top);
    ::DestroyWindow(wnd.GetHWND());
}

TEST_F(WindowWnd, CentringOverAnOwnerUsesTheOwnersRectangle)
{
    testbed::TestWindow owner(400, 300, WS_POPUP);
    ::SetWindowPos(owner.Handle(), nullptr, 100, 100, 400, 300, SWP_NOZORDER | SWP_NOACTIVATE);
    RecordingWnd wnd;
    ASSERT_NE(nullptr, wnd.Create(owner.Handle(), "c", WS_POPUP, 0, 0, 0, 200, 120));
    wnd.CenterOverOwner();
    RECT rc = {};
    ::GetWindowRect(wnd.GetHWND(), &rc);
    // x = (100 + 500) / 2 - 200 / 2 = 200; y = (100 + 400) / 2 - 140 / 2 = 180
    EXPECT_EQ(CRectUI(200, 180, 400, 320), CRectUI(rc));
    ::DestroyWindow(wnd.GetHWND());
}

}  // namespace
