// The host driven through a real window with real messages: press, double click, hover, keys,
// capture, deferred destroy, root replacement, tooltips, wheel, painting and resizing.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "TwoTabStopHost.h"
#include "support/HostBed.h"
#include "controls/text/Button.h"
#include "support/TestBed.h"

using namespace SkinUI;
using namespace testbed;

namespace {

class HostDispatch : public TwoTabStopHost {
protected:
    // A real button named "btn" below the probes, painted once, with both logs emptied.
    CButtonUI* AddFloatingButton()
    {
        CButtonUI* button = new CButtonUI;
        button->SetAttribute("name", "btn");
        button->SetAttribute("float", "true");
        button->SetAttribute("pos", "10,50,60,90");
        root->AddChild(button);
        wnd.Repaint();
        Clear();
        return button;
    }
};

TEST_F(HostDispatch, FirstPaintLaysOutSendsWindowInitOnceAndFocusesFirstTabStop)
{
    EXPECT_EQ(CRectUI(10, 10, 60, 40), a->GetPosition());
    EXPECT_EQ(CRectUI(0, 0, 200, 100), root->GetPosition());
    EXPECT_EQ((Log{"windowinit:", "setfocus:A"}), noteLog);
    EXPECT_EQ(a, host().GetFocusControl());

    wnd.Repaint();
    testbed::PumpPending();
    EXPECT_EQ(2u, noteLog.size()) << "windowinit is sent once";
}

TEST_F(HostDispatch, PressedControlKeepsEventsWhileMouseIsElsewhere)
{
    Clear();
    wnd.MouseAt(WM_MOUSEMOVE, 20, 20);
    wnd.MouseAt(WM_LBUTTONDOWN, 20, 20, MK_LBUTTON);
    EXPECT_TRUE(host().IsMouseCaptured());
    EXPECT_EQ(wnd.Handle(), ::GetCapture());
    wnd.MouseAt(WM_MOUSEMOVE, 80, 20, MK_LBUTTON);
    wnd.MouseAt(WM_LBUTTONUP, 80, 20);

    EXPECT_EQ((Log{"A:MouseEnter", "A:MouseMove", "A:ButtonDown", "A:MouseLeave", "B:MouseEnter", "A:MouseMove",
                  "A:ButtonUp"}),
        log);
    EXPECT_EQ(80, a->lastEvent.MousePoint.x);
    EXPECT_FALSE(host().IsMouseCaptured());
    EXPECT_NE(wnd.Handle(), ::GetCapture());
}

TEST_F(HostDispatch, HoverMovesLeaveBeforeEnterAndLeavingTheWindowEndsHover)
{
    Clear();
    wnd.MouseAt(WM_MOUSEMOVE, 20, 20);
    wnd.MouseAt(WM_MOUSEMOVE, 80, 20);
    EXPECT_EQ((Log{"A:MouseEnter", "A:MouseMove", "A:MouseLeave", "B:MouseEnter", "B:MouseMove"}), log);

    log.clear();
    wnd.Send(WM_MOUSELEAVE);
    EXPECT_EQ((Log{"B:MouseLeave"}), log);
    EXPECT_EQ(-1, b->lastEvent.MousePoint.x);

    log.clear();
    wnd.Send(WM_MOUSELEAVE);
    EXPECT_TRUE(log.empty()) << "no tracking request is active any more";
}

TEST_F(HostDispatch, KeyUpGoesToTheControlThatGotKeyDown)
{
    host().SetFocusControl(a);
    Clear();
    wnd.Send(WM_KEYDOWN, 'X');
    host().SetFocusControl(b);
    wnd.Send(WM_KEYUP, 'X');
    wnd.Send(WM_KEYUP, 'X');
    EXPECT_EQ((Log{"A:KeyDown", "A:FocusLost", "B:FocusGained", "A:KeyUp"}), log);
    EXPECT_EQ('X', a->lastEvent.KeyChar);
}

TEST_F(HostDispatch, CaptureTakenByAnotherWindowEndsThePressWithoutClick)
{
    Clear();
    wnd.MouseAt(WM_MOUSEMOVE, 20, 20);
    wnd.MouseAt(WM_LBUTTONDOWN, 20, 20, MK_LBUTTON);
    testbed::TestWindow other;
    ::SetCapture(other.Handle());
    EXPECT_FALSE(host().IsMouseCaptured());
    ASSERT_FALSE(Filter(log, "A:ButtonUp").empty());
    EXPECT_EQ(-1, a->lastEvent.MousePoint.x);
    EXPECT_EQ(-1, a->lastEvent.MousePoint.y);
    ::ReleaseCapture();

    log.clear();
    wnd.MouseAt(WM_LBUTTONUP, 20, 20);
    EXPECT_TRUE(Filter(log, "A:").empty()) << "the press is over; a later release reaches nobody";
}

TEST_F(HostDispatch, ButtonClicksOnceAndNotAfterCaptureLoss)
{
    AddFloatingButton();

    wnd.MouseAt(WM_MOUSEMOVE, 20, 60);
    wnd.MouseAt(WM_LBUTTONDOWN, 20, 60, MK_LBUTTON);
    wnd.MouseAt(WM_LBUTTONUP, 20, 60);
    EXPECT_EQ(1, static_cast<int>(std::count(noteLog.begin(), noteLog.end(), "click:btn")));

    noteLog.clear();
    wnd.MouseAt(WM_LBUTTONDOWN, 20, 60, MK_LBUTTON);
    testbed::TestWindow other;
    ::SetCapture(other.Handle());  // a message box or Alt-Tab during the press
    ::ReleaseCapture();
    wnd.MouseAt(WM_LBUTTONUP, 20, 60);
    EXPECT_EQ(0, static_cast<int>(std::count(noteLog.begin(), noteLog.end(), "click:btn")));
}

TEST_F(HostDispatch, DestroyingTheHoveredPressedFocusedControlInsideClickIsSafe)
{
    a->onEvent = [this](TInputEvent& event) {
        if (event.Type == InputEventKind::ButtonUp)
            host().SendNotification(a, "click");
    };
    notes.hook = [this](TNotifyEvent& event) {
        if (event.Type == "click")
            root->RemoveChild(a);
    };
    Clear();
    wnd.MouseAt(WM_MOUSEMOVE, 20, 20);
    wnd.MouseAt(WM_LBUTTONDOWN, 20, 20, MK_LBUTTON);
    ASSERT_EQ(a, host().GetFocusControl());
    wnd.MouseAt(WM_LBUTTONUP, 20, 20);
    EXPECT_TRUE(Filter(log, "A:Destroyed").empty()) << "destroyed only after the current message";

    testbed::PumpUntil([this] { return !Filter(log, "A:Destroyed").empty(); }, 2000);
    ASSERT_EQ(1u, Filter(log, "A:Destroyed").size());
    EXPECT_EQ(nullptr, host().GetFocusControl());
    EXPECT_EQ(nullptr, host().FindControlByName("A"));

    const size_t deathIndex = log.size();
    wnd.MouseAt(WM_MOUSEMOVE, 20, 20);
    wnd.MouseAt(WM_LBUTTONDOWN, 20, 20, MK_LBUTTON);
    wnd.MouseAt(WM_MOUSEMOVE, 80, 20, MK_LBUTTON);
    wnd.MouseAt(WM_LBUTTONUP, 80, 20);
    wnd.Send(WM_KEYDOWN, 'X');
    wnd.Send(WM_KEYUP, 'X');
    const Log after(log.begin() + static_cast<long>(deathIndex), log.end());
    EXPECT_TRUE(Filter(after, "A:").empty());
    // The release after the death pressed the root container (nothing else is under 20,20), so
    // the move over B only enters it.
    EXPECT_EQ((Log{"B:MouseEnter"}), Filter(after, "B:"));
}

TEST_F(HostDispatch, DestroyingThePressedControlReleasesTheCapture)
{
    Clear();
    wnd.MouseAt(WM_LBUTTONDOWN, 20, 20, MK_LBUTTON);
    ASSERT_TRUE(host().IsMouseCaptured());
    root->SetDefersChildDestroy(false);
    root->RemoveChild(a);
    EXPECT_FALSE(host().IsMouseCaptured());
    EXPECT_NE(wnd.Handle(), ::GetCapture());
    wnd.MouseAt(WM_MOUSEMOVE, 25, 25, MK_LBUTTON);
    wnd.MouseAt(WM_LBUTTONUP, 25, 25);
    EXPECT_EQ((Log{"A:ButtonDown", "A:Destroyed"}), Filter(log, "A:"));
}

TEST_F(HostDispatch, ReplacingTheRootDuringClickDestroysTheOldTreeAfterTheMessage)
{
    CContainerUI* next = new CContainerUI;
    Probe* c = AddFloatingProbe(next, "C", &log, "0,0,50,50");
    a->onEvent = [this, next](TInputEvent& event) {
        if (event.Type == InputEventKind::ButtonUp)
            host().AttachRoot(next);
    };
    Clear();
    wnd.MouseAt(WM_LBUTTONDOWN, 20, 20, MK_LBUTTON);
    wnd.MouseAt(WM_LBUTTONUP, 20, 20);
    EXPECT_EQ(next, host().GetRoot());
    EXPECT_TRUE(Filter(log, "A:Destroyed").empty());
    EXPECT_EQ(c, host().FindControlByName("C"));

    testbed::PumpUntil([this] { return !Filter(log, "B:Destroyed").empty(); }, 2000);
    EXPECT_EQ(1u, Filter(log, "A:Destroyed").size());
    EXPECT_EQ(1u, Filter(log, "B:Destroyed").size());
    EXPECT_EQ(nullptr, host().FindControlByName("A"));
}

TEST_F(HostDispatch, ReplacingTheRootDuringAPressReleasesTheCapture)
{
    CContainerUI* next = new CContainerUI;
    a->onEvent = [this, next](TInputEvent& event) {
        if (event.Type == InputEventKind::ButtonDown)
            host().AttachRoot(next);
    };
    Clear();
    wnd.MouseAt(WM_LBUTTONDOWN, 20, 20, MK_LBUTTON);
    EXPECT_FALSE(host().IsMouseCaptured()) << "no pressed control is left to end the press";
    EXPECT_NE(wnd.Handle(), ::GetCapture());
    wnd.MouseAt(WM_LBUTTONUP, 20, 20);
    EXPECT_TRUE(Filter(log, "A:ButtonUp").empty()) << "the old tree is out of the press";
}

TEST_F(HostDispatch, CloseDuringAPressLeavesTheButtonNeitherPushedNorHot)
{
    CButtonUI* button = AddFloatingButton();

    wnd.MouseAt(WM_MOUSEMOVE, 20, 60);
    wnd.MouseAt(WM_LBUTTONDOWN, 20, 60, MK_LBUTTON);
    ASSERT_NE(0u, button->GetButtonState() & StatePushed);
    LRESULT result = 0;
    EXPECT_FALSE(host().HandleWindowMessage(WM_CLOSE, 1, 0, result));
    EXPECT_EQ(0u, button->GetButtonState() & (StatePushed | StateCaptured | StateHot));
    // The release comes at the last mouse point, inside the button: the framework still clicks
    // and the application ignores clicks once it is closing.
    EXPECT_EQ(1, static_cast<int>(std::count(noteLog.begin(), noteLog.end(), "click:btn")));
}

TEST_F(HostDispatch, DoubleClickPressesTheControlUnderThePointUntilTheRelease)
{
    Clear();
    wnd.MouseAt(WM_LBUTTONDBLCLK, 90, 20, MK_LBUTTON);
    EXPECT_EQ((Log{"B:DoubleClick"}), log);
    EXPECT_EQ(90, b->lastEvent.MousePoint.x);
    EXPECT_EQ(20, b->lastEvent.MousePoint.y);
    EXPECT_EQ(MK_LBUTTON, b->lastEvent.KeyState);
    EXPECT_TRUE(host().IsMouseCaptured());

    // Released over A, the press still ends at B, and the capture goes with it.
    log.clear();
    wnd.MouseAt(WM_LBUTTONUP, 20, 20);
    EXPECT_EQ((Log{"B:ButtonUp"}), log);
    EXPECT_FALSE(host().IsMouseCaptured());
    EXPECT_NE(wnd.Handle(), ::GetCapture());
}

TEST_F(HostDispatch, RightButtonAndContextMenuGoToThePressedControl)
{
    Clear();
    wnd.MouseAt(WM_RBUTTONDOWN, 80, 20, MK_RBUTTON);
    EXPECT_TRUE(host().IsMouseCaptured());
    POINT screen = {85, 25};
    ::ClientToScreen(wnd.Handle(), &screen);
    wnd.Send(WM_CONTEXTMENU, reinterpret_cast<WPARAM>(wnd.Handle()), MAKELPARAM(screen.x, screen.y));
    EXPECT_EQ((Log{"A:FocusLost", "B:FocusGained", "B:RightButtonDown", "B:ContextMenu"}), log);
    EXPECT_EQ(reinterpret_cast<LPARAM>(b), b->lastEvent.LParam);
    EXPECT_EQ(85, b->lastEvent.MousePoint.x);
    EXPECT_FALSE(host().IsMouseCaptured());
}

TEST_F(HostDispatch, WheelGoesToTheControlUnderThePointThenHoverFollows)
{
    WPARAM wheelDirection = 99;
    b->onEvent = [&wheelDirection](TInputEvent& event) {
        if (event.Type == InputEventKind::ScrollWheel)
            wheelDirection = event.WParam;
    };
    Clear();
    POINT screen = {80, 20};
    ::ClientToScreen(wnd.Handle(), &screen);
    wnd.Send(WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-120)), MAKELPARAM(screen.x, screen.y));
    EXPECT_EQ((Log{"B:ScrollWheel", "B:MouseEnter", "B:MouseMove"}), log);
    EXPECT_EQ(1u, wheelDirection) << "towards the user";
}

TEST_F(HostDispatch, CloseEndsHoverAndPressWithTheLastMousePoint)
{
    POINT upPoint = {0, 0};
    a->onEvent = [&upPoint](TInputEvent& event) {
        if (event.Type == InputEventKind::ButtonUp)
            upPoint = event.MousePoint;
    };
    Clear();
    wnd.MouseAt(WM_MOUSEMOVE, 20, 20);
    wnd.MouseAt(WM_LBUTTONDOWN, 22, 21, MK_LBUTTON);
    log.clear();
    host().SetFocusControl(a);
    LRESULT result = 0;
    EXPECT_FALSE(host().HandleWindowMessage(WM_CLOSE, 0, 0, result));
    EXPECT_EQ((Log{"A:MouseLeave", "A:ButtonUp", "A:FocusLost"}), log);
    EXPECT_EQ(22, upPoint.x);
    EXPECT_EQ(21, upPoint.y);
    EXPECT_EQ(nullptr, host().GetFocusControl());
}

TEST_F(HostDispatch, TooltipShowsTheHoveredControlsText)
{
    a->SetTooltip("first<n>second");
    Clear();
    wnd.MouseAt(WM_MOUSEMOVE, 20, 20);
    wnd.Send(WM_MOUSEHOVER, 0, MAKELPARAM(20, 20));
    EXPECT_EQ("A:MouseHover", log.back());
    const HWND tip = host().GetTooltipWindow();
    ASSERT_NE(nullptr, tip);
    EXPECT_EQ(1, ::SendMessageA(tip, TTM_GETTOOLCOUNT, 0, 0)) << "the tool record's size was accepted";
    char text[64] = {};
    TTTOOLINFOA info = {};
    info.cbSize = TTTOOLINFOA_V2_SIZE;
    info.hwnd = wnd.Handle();
    info.uId = reinterpret_cast<UINT_PTR>(wnd.Handle());
    info.lpszText = text;
    ::SendMessageA(tip, TTM_GETTEXTA, sizeof(text), reinterpret_cast<LPARAM>(&info));
    EXPECT_STREQ("first\r\nsecond", text);
}

TEST_F(HostDispatch, FirstHandlingMessageFilterEndsTheHandling)
{
    struct Filter : IMessageFilterUI {
        LRESULT answer;
        bool take;
        int asked = 0;
        Filter(LRESULT a, bool t)
            : answer(a)
            , take(t)
        {
        }
        LRESULT FilterMessage(UINT message, WPARAM, LPARAM, bool& handled) override
        {
            if (message != WM_USER + 5)
                return 0;
            ++asked;
            handled = take;
            return answer;
        }
    } passing(7, false), taking(42, true), never(9, true);
    host().AddWindowMessageFilter(&passing);
    host().AddWindowMessageFilter(&taking);
    host().AddWindowMessageFilter(&never);
    EXPECT_EQ(42, wnd.Send(WM_USER + 5));
    EXPECT_EQ(1, passing.asked);
    EXPECT_EQ(0, never.asked);
    EXPECT_TRUE(host().RemoveWindowMessageFilter(&taking));
    EXPECT_FALSE(host().RemoveWindowMessageFilter(&taking));
    EXPECT_EQ(9, wnd.Send(WM_USER + 5));
    host().RemoveWindowMessageFilter(&passing);
    host().RemoveWindowMessageFilter(&never);
}

TEST(HostLifecycle, EmptyClientAreaDelaysWindowInit)
{
    Log log;
    Log noteLog;
    NotifyRecorder notes(&noteLog);
    HostWindow wnd(0, 0);
    CContainerUI* root = new CContainerUI;
    wnd.Host().AddNotificationListener(&notes);
    wnd.Host().AttachRoot(root);
    wnd.Repaint();
    testbed::PumpPending();
    EXPECT_TRUE(noteLog.empty());

    ::SetWindowPos(wnd.Handle(), nullptr, 0, 0, 120, 40, SWP_NOZORDER | SWP_NOACTIVATE);
    wnd.Repaint();
    testbed::PumpPending();
    EXPECT_EQ((Log{"windowinit:"}), noteLog);
    EXPECT_EQ(CRectUI(0, 0, 120, 40), root->GetPosition());
}

// Pixels of a bitmap (not selected anywhere) as 0x00RRGGBB.
uint32_t BitmapPixel(HBITMAP bitmap, int x, int y)
{
    int width = 0;
    int height = 0;
    const std::vector<uint32_t> bits = testbed::ReadBitmap(bitmap, width, height);
    if (x < 0 || y < 0 || x >= width || y >= height)
        return 0xDEADBEEFu;
    return bits[static_cast<size_t>(y) * width + x] & 0x00FFFFFFu;
}

TEST_F(HostDispatch, PaintsTheTreeThroughTheOffscreenBitmapAndIntoPrintClient)
{
    root->SetBackgroundColor(0xFF336699);
    a->SetBackgroundColor(0xFF00FF00);
    wnd.Repaint();
    const HBITMAP offscreen = host().GetOffscreenBitmap();
    ASSERT_NE(nullptr, offscreen);
    EXPECT_EQ(0x336699u, BitmapPixel(offscreen, 5, 5));
    EXPECT_EQ(0x00FF00u, BitmapPixel(offscreen, 20, 20));
    EXPECT_EQ(0x00FF00u, BitmapPixel(offscreen, 59, 39));
    EXPECT_EQ(0x336699u, BitmapPixel(offscreen, 60, 40)) << "right and bottom are exclusive";

    testbed::DibCanvas canvas(200, 100, 0xFF000000u);
    wnd.Send(WM_PRINTCLIENT, reinterpret_cast<WPARAM>(canvas.Dc()), PRF_CLIENT);
    EXPECT_EQ(0x336699u, canvas.Pixel(150, 80) & 0x00FFFFFFu);
    EXPECT_EQ(0x00FF00u, canvas.Pixel(30, 30) & 0x00FFFFFFu);
}

TEST_F(HostDispatch, ResizingRebuildsTheOffscreenBitmapForTheNewClientArea)
{
    root->SetBackgroundColor(0xFF336699);
    wnd.Repaint();
    ::SetWindowPos(wnd.Handle(), nullptr, 0, 0, 320, 180, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    RECT client = {};
    ::GetClientRect(wnd.Handle(), &client);
    ASSERT_GT(client.right, 200);
    ASSERT_GT(client.bottom, 100);
    wnd.Repaint();

    const HBITMAP offscreen = host().GetOffscreenBitmap();
    ASSERT_NE(nullptr, offscreen);
    BITMAP info = {};
    ASSERT_NE(0, ::GetObjectA(offscreen, sizeof(info), &info));
    EXPECT_EQ(client.right, info.bmWidth);
    EXPECT_EQ(client.bottom, info.bmHeight);
    // The part the old bitmap did not have is painted too.
    EXPECT_EQ(0x336699u, BitmapPixel(offscreen, client.right - 1, client.bottom - 1));
    EXPECT_EQ(0x336699u, BitmapPixel(offscreen, 250, 50));
    EXPECT_EQ(CRectUI(0, 0, client.right, client.bottom), root->GetPosition());
}

}  // namespace

namespace {

TEST_F(HostDispatch, SetCursorGoesToTheControlUnderTheCursorThatWantsIt)
{
    Probe* wants = AddFloatingProbe(root, "W", &log, "130,10,190,40", CapabilityWantsCursor);
    wnd.Repaint();
    Clear();
    POINT screen = {150, 20};
    ::ClientToScreen(wnd.Handle(), &screen);
    if (!::SetCursorPos(screen.x, screen.y))
        GTEST_SKIP() << "the cursor cannot be placed here";
    POINT check = {};
    ::GetCursorPos(&check);
    if (check.x != screen.x || check.y != screen.y)
        GTEST_SKIP() << "the cursor position does not stick here";
    LRESULT result = 0;
    EXPECT_TRUE(host().HandleWindowMessage(
        WM_SETCURSOR, reinterpret_cast<WPARAM>(wnd.Handle()), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE), result));
    EXPECT_EQ((Log{"W:SetCursor"}), log);
    EXPECT_EQ(nullptr, wants->lastEvent.Sender);
    EXPECT_EQ(150, wants->lastEvent.MousePoint.x);
    EXPECT_FALSE(host().HandleWindowMessage(
        WM_SETCURSOR, reinterpret_cast<WPARAM>(wnd.Handle()), MAKELPARAM(HTCAPTION, WM_MOUSEMOVE), result));

    log.clear();
    wnd.MouseAt(WM_LBUTTONDOWN, 20, 20, MK_LBUTTON);
    EXPECT_TRUE(host().HandleWindowMessage(
        WM_SETCURSOR, reinterpret_cast<WPARAM>(wnd.Handle()), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE), result));
    EXPECT_TRUE(Filter(log, "W:").empty()) << "nothing while the mouse is captured";
    wnd.MouseAt(WM_LBUTTONUP, 20, 20);
}

}  // namespace

namespace {

// Fills its overlay rectangle with one colour and counts the calls.
class OverlayProbe : public CControlUI {
public:
    void PaintOverlay(HDC hdc, const CRectUI&) override
    {
        ++calls;
        const HBRUSH brush = ::CreateSolidBrush(RGB(255, 0, 0));
        const RECT rc = {15, 15, 25, 25};
        ::FillRect(hdc, &rc, brush);
        ::DeleteObject(brush);
    }
    int calls = 0;
};

TEST_F(HostDispatch, OverlayPaintersDrawOverTheTreeAndGoWithTheirControl)
{
    a->SetBackgroundColor(0xFF00FF00);
    OverlayProbe* overlay = new OverlayProbe;
    root->AddChild(overlay);
    ASSERT_TRUE(host().AddOverlayPainter(overlay));
    wnd.Repaint();
    ASSERT_EQ(1, overlay->calls);
    EXPECT_EQ(0xFF0000u, BitmapPixel(host().GetOffscreenBitmap(), 20, 20)) << "after the tree";
    EXPECT_EQ(0x00FF00u, BitmapPixel(host().GetOffscreenBitmap(), 30, 30));

    root->SetDefersChildDestroy(false);
    root->RemoveChild(overlay);
    wnd.Repaint();  // would call the destroyed painter if the host still listed it
    EXPECT_FALSE(host().RemoveOverlayPainter(overlay));
    EXPECT_EQ(0x00FF00u, BitmapPixel(host().GetOffscreenBitmap(), 20, 20));
}

TEST_F(HostDispatch, BackgroundSnapshotIsCopiedUnderEveryPaint)
{
    host().SetBackgroundSnapshot(true);
    a->SetBackgroundColor(0xFF00FF00);
    wnd.Repaint();
    ASSERT_EQ(0x00FF00u, BitmapPixel(host().GetOffscreenBitmap(), 20, 20));
    a->SetBackgroundColor(0);
    wnd.Repaint();
    EXPECT_NE(0x00FF00u, BitmapPixel(host().GetOffscreenBitmap(), 20, 20))
        << "the snapshot, not the last frame, lies under a control that stopped painting";

    host().SetBackgroundSnapshot(false);
    a->SetBackgroundColor(0xFF00FF00);
    wnd.Repaint();
    a->SetBackgroundColor(0);
    wnd.Repaint();
    EXPECT_EQ(0x00FF00u, BitmapPixel(host().GetOffscreenBitmap(), 20, 20)) << "without it the last frame stays";
}

TEST_F(HostDispatch, ShowDirtyOutlinesTheRepaintedRectangleOnScreen)
{
    root->SetBackgroundColor(0xFF000000);
    wnd.Repaint();
    host().SetShowDirty(true);
    RECT dirty = {30, 30, 90, 70};
    ::InvalidateRect(wnd.Handle(), &dirty, FALSE);
    ::UpdateWindow(wnd.Handle());
    HDC dc = ::GetDC(wnd.Handle());
    const COLORREF edge = ::GetPixel(dc, 30, 50);
    const COLORREF inside = ::GetPixel(dc, 50, 50);
    ::ReleaseDC(wnd.Handle(), dc);
    if (inside == CLR_INVALID)
        GTEST_SKIP() << "the screen cannot be read back here";
    EXPECT_EQ(RGB(220, 0, 0), edge);
    EXPECT_EQ(RGB(0, 0, 0), inside);
    host().SetShowDirty(false);
}

}  // namespace
