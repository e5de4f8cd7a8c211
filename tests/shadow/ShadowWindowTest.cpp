#include "shadow/WndShadow.h"
#include "support/TestBed.h"

#include <gtest/gtest.h>

#include <memory>

using SkinUI::CWndShadow;

namespace {

bool g_firstInit = false;
bool g_secondInit = true;

// Shadow support is process-wide and set up once, as the program does at start.
class CShadowSupport : public ::testing::Environment {
public:
    void SetUp() override
    {
        g_firstInit = CWndShadow::InitSupport(GetModuleHandleA(nullptr));
        g_secondInit = CWndShadow::InitSupport(GetModuleHandleA(nullptr));
    }
};
const ::testing::Environment* const g_support = ::testing::AddGlobalTestEnvironment(new CShadowSupport);

const UINT kProbeMessage = WM_APP + 7;
int g_probeCount = 0;

// The parent's own procedure: counts a probe message so tests can see it still runs.
LRESULT CALLBACK ParentProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == kProbeMessage) {
        ++g_probeCount;
        return 42;
    }
    return DefWindowProcA(hWnd, message, wParam, lParam);
}

// A borderless pop-up like the main window, at a known place.
class CParent {
public:
    CParent(int x, int y, int width, int height)
    {
        static ATOM atom = 0;
        if (atom == 0) {
            WNDCLASSEXA wc = {};
            wc.cbSize = sizeof(wc);
            wc.lpfnWndProc = ParentProc;
            wc.hInstance = GetModuleHandleA(nullptr);
            wc.lpszClassName = "ShadowTestParent";
            atom = RegisterClassExA(&wc);
        }
        m_hwnd = CreateWindowExA(0, "ShadowTestParent", "", WS_POPUP, x, y, width, height, nullptr, nullptr,
            GetModuleHandleA(nullptr), nullptr);
    }
    ~CParent()
    {
        if (IsWindow(m_hwnd))
            DestroyWindow(m_hwnd);
    }
    HWND Handle() const { return m_hwnd; }

private:
    HWND m_hwnd = nullptr;
};

RECT WindowRect(HWND hwnd)
{
    RECT rc = {};
    GetWindowRect(hwnd, &rc);
    return rc;
}

bool RectIs(HWND hwnd, int left, int top, int right, int bottom)
{
    const RECT rc = WindowRect(hwnd);
    return rc.left == left && rc.top == top && rc.right == right && rc.bottom == bottom;
}

bool Has(const CWndShadow& shadow, BYTE bits) { return (shadow.GetStatus() & bits) == bits; }

}  // namespace

TEST(ShadowSupport, InitialisedOnceAndClassRegistered)
{
    EXPECT_TRUE(g_firstInit);
    EXPECT_FALSE(g_secondInit);
    WNDCLASSEXA wc = {};
    wc.cbSize = sizeof(wc);
    ASSERT_TRUE(GetClassInfoExA(GetModuleHandleA(nullptr), "KestoShadowWnd", &wc));
    EXPECT_EQ(wc.style, static_cast<UINT>(CS_HREDRAW | CS_VREDRAW));
}

TEST(ShadowWindow, AttachCreatesAnOwnedClickThroughLayeredPopup)
{
    CParent parent(100, 100, 50, 40);
    const LONG_PTR ownProc = GetWindowLongPtrA(parent.Handle(), GWLP_WNDPROC);
    CWndShadow shadow;
    EXPECT_EQ(shadow.GetShadowWindow(), INVALID_HANDLE_VALUE);
    shadow.AttachTo(parent.Handle());
    HWND wnd = shadow.GetShadowWindow();
    ASSERT_TRUE(IsWindow(wnd));

    EXPECT_EQ(GetWindow(wnd, GW_OWNER), parent.Handle());
    EXPECT_EQ(
        GetWindowLongA(wnd, GWL_EXSTYLE) & (WS_EX_LAYERED | WS_EX_TRANSPARENT), WS_EX_LAYERED | WS_EX_TRANSPARENT);
    EXPECT_TRUE(IsWindowVisible(wnd));  // shown at once, empty until its first update
    EXPECT_EQ(shadow.GetStatus(), CWndShadow::StatusEnabled);  // the parent is hidden
    EXPECT_NE(GetWindowLongPtrA(parent.Handle(), GWLP_WNDPROC), ownProc);

    // The parent's own procedure still answers through the full-width pointer.
    g_probeCount = 0;
    EXPECT_EQ(SendMessageA(parent.Handle(), kProbeMessage, 0, 0), 42);
    EXPECT_EQ(g_probeCount, 1);
}

TEST(ShadowWindow, DefaultPlacementFollowsShowMoveAndSize)
{
    CParent parent(100, 100, 50, 40);
    CWndShadow shadow;
    shadow.AttachTo(parent.Handle());
    HWND wnd = shadow.GetShadowWindow();

    ShowWindow(parent.Handle(), SW_SHOWNA);
    EXPECT_TRUE(Has(shadow, CWndShadow::StatusVisible | CWndShadow::StatusParentVisible));
    EXPECT_TRUE(RectIs(wnd, 105, 105, 155, 145));  // same size, 5 right and down

    SetWindowPos(parent.Handle(), nullptr, 200, 150, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    EXPECT_TRUE(RectIs(wnd, 205, 155, 255, 195));

    // Growing waits for the parent's next paint (the first size after attaching counts as growing).
    SetWindowPos(parent.Handle(), nullptr, 0, 0, 60, 45, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    EXPECT_TRUE(RectIs(wnd, 205, 155, 255, 195));
    InvalidateRect(parent.Handle(), nullptr, FALSE);
    UpdateWindow(parent.Handle());
    EXPECT_TRUE(RectIs(wnd, 205, 155, 265, 200));

    // Shrinking, or growing in one direction only after a shrink in the other, redraws at once.
    SetWindowPos(parent.Handle(), nullptr, 0, 0, 30, 20, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    EXPECT_TRUE(RectIs(wnd, 205, 155, 235, 175));
    SetWindowPos(parent.Handle(), nullptr, 0, 0, 30, 50, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    EXPECT_TRUE(RectIs(wnd, 205, 155, 235, 175));  // taller: deferred again
    SetWindowPos(parent.Handle(), nullptr, 0, 0, 25, 50, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    EXPECT_TRUE(RectIs(wnd, 205, 155, 230, 205));

    // The main window's settings: 4 pixels larger than the parent, 2 up and left.
    shadow.SetSpread(2);
    shadow.SetOffset(0, 0);
    EXPECT_TRUE(RectIs(wnd, 198, 148, 227, 202));
}

TEST(ShadowWindow, HidingMinimisingAndRestoringTheParent)
{
    CParent parent(100, 100, 50, 40);
    CWndShadow shadow;
    shadow.AttachTo(parent.Handle());
    HWND wnd = shadow.GetShadowWindow();
    ShowWindow(parent.Handle(), SW_SHOWNA);
    ASSERT_TRUE(IsWindowVisible(wnd));

    ShowWindow(parent.Handle(), SW_HIDE);
    EXPECT_FALSE(IsWindowVisible(wnd));
    EXPECT_FALSE(Has(shadow, CWndShadow::StatusVisible));
    EXPECT_FALSE(Has(shadow, CWndShadow::StatusParentVisible));

    ShowWindow(parent.Handle(), SW_SHOWNA);
    EXPECT_TRUE(IsWindowVisible(wnd));
    EXPECT_TRUE(Has(shadow, CWndShadow::StatusVisible | CWndShadow::StatusParentVisible));

    // The size messages of minimising and restoring are what the shadow follows.
    SendMessageA(parent.Handle(), WM_SIZE, SIZE_MINIMIZED, MAKELPARAM(50, 40));
    EXPECT_FALSE(IsWindowVisible(wnd));
    EXPECT_FALSE(Has(shadow, CWndShadow::StatusVisible));
    SendMessageA(parent.Handle(), WM_SIZE, SIZE_RESTORED, MAKELPARAM(50, 40));
    EXPECT_TRUE(IsWindowVisible(wnd));
    EXPECT_TRUE(Has(shadow, CWndShadow::StatusVisible));
    SendMessageA(parent.Handle(), WM_SIZE, SIZE_MAXIMIZED, MAKELPARAM(50, 40));
    EXPECT_FALSE(IsWindowVisible(wnd));

    // A composition change re-reads the parent's state; composition is off here.
    SendMessageA(parent.Handle(), 0x031E, 0, 0);
    EXPECT_FALSE(Has(shadow, CWndShadow::StatusDisabledByComposition));
    EXPECT_TRUE(Has(shadow, CWndShadow::StatusVisible));
}

TEST(ShadowWindow, DestroyedWithTheParent)
{
    HWND wnd = nullptr;
    CWndShadow shadow;
    {
        CParent parent(100, 100, 50, 40);
        shadow.AttachTo(parent.Handle());
        wnd = shadow.GetShadowWindow();
        ASSERT_TRUE(IsWindow(wnd));
    }
    EXPECT_FALSE(IsWindow(wnd));
    EXPECT_EQ(shadow.GetShadowWindow(), INVALID_HANDLE_VALUE);
    shadow.SetSpread(3);  // nothing left to redraw: no effect, no crash

    // The parent's handle may be reused by a new window: it gets a fresh attachment.
    CParent next(10, 10, 20, 20);
    CWndShadow again;
    again.AttachTo(next.Handle());
    EXPECT_TRUE(IsWindow(again.GetShadowWindow()));
}

// The object ends before its parent (or a second object tries the same parent): the parent keeps
// its own procedure working and nothing reaches a dead object or loops.
TEST(ShadowWindow, ObjectLifetimeAndDoubleAttachment)
{
    CParent parent(100, 100, 50, 40);
    auto shadow = std::make_unique<CWndShadow>();
    shadow->AttachTo(parent.Handle());
    HWND wnd = shadow->GetShadowWindow();

    CWndShadow second;
    second.AttachTo(parent.Handle());
    EXPECT_EQ(second.GetShadowWindow(), INVALID_HANDLE_VALUE);
    shadow->AttachTo(parent.Handle());  // the same object again
    EXPECT_EQ(shadow->GetShadowWindow(), wnd);

    g_probeCount = 0;
    EXPECT_EQ(SendMessageA(parent.Handle(), kProbeMessage, 0, 0), 42);
    shadow.reset();
    ShowWindow(parent.Handle(), SW_SHOWNA);
    SetWindowPos(parent.Handle(), nullptr, 0, 0, 70, 70, SWP_NOZORDER | SWP_NOACTIVATE);
    EXPECT_EQ(SendMessageA(parent.Handle(), kProbeMessage, 0, 0), 42);
    EXPECT_EQ(g_probeCount, 2);
    DestroyWindow(parent.Handle());
    EXPECT_FALSE(IsWindow(wnd));  // owned windows go with their owner
}

// A spread that swallows the parent leaves the shadow where it was instead of drawing.
TEST(ShadowWindow, SpreadLargerThanTheParentSkipsTheRedraw)
{
    CParent parent(100, 100, 50, 50);
    CWndShadow shadow;
    shadow.AttachTo(parent.Handle());
    ShowWindow(parent.Handle(), SW_SHOWNA);
    ASSERT_TRUE(RectIs(shadow.GetShadowWindow(), 105, 105, 155, 155));
    EXPECT_TRUE(shadow.Redraw(parent.Handle()));  // the layered window takes the picture
    shadow.SetSpread(-100);
    EXPECT_FALSE(shadow.Redraw(parent.Handle()));
    EXPECT_TRUE(RectIs(shadow.GetShadowWindow(), 105, 105, 155, 155));
    EXPECT_EQ(shadow.GetLook().spread, -100);
    shadow.SetSpread(1000);  // beyond the field: held at its limit
    EXPECT_EQ(shadow.GetLook().spread, 127);
}

namespace {

int g_shadowPlacements = 0;

// Every redraw places the shadow window before pushing its picture: counting the placements
// counts the pictures rendered.
LRESULT CALLBACK CountingShadowProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_WINDOWPOSCHANGING)
        ++g_shadowPlacements;
    return DefWindowProcA(hWnd, message, wParam, lParam);
}

int RedrawsAtNextPaint(HWND parent)
{
    g_shadowPlacements = 0;
    InvalidateRect(parent, nullptr, FALSE);
    UpdateWindow(parent);
    return g_shadowPlacements;
}

}  // namespace

// A deferred redraw is skipped at the paint when the picture shown already has the parent's size
// and outline; it still runs when either changed meanwhile.
TEST(ShadowWindow, APaintRedrawsOnlyAPictureThatChanged)
{
    CParent parent(100, 100, 50, 40);
    CWndShadow shadow;
    shadow.AttachTo(parent.Handle());
    HWND wnd = shadow.GetShadowWindow();
    SetWindowLongPtrA(wnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&CountingShadowProc));
    ShowWindow(parent.Handle(), SW_SHOWNA);
    const auto resize = [&](int width, int height) {
        SetWindowPos(parent.Handle(), nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    };

    resize(60, 45);  // grown: deferred to the paint, which draws the new size
    EXPECT_EQ(RedrawsAtNextPaint(parent.Handle()), 1);
    EXPECT_TRUE(RectIs(wnd, 105, 105, 165, 150));

    resize(70, 50);  // grown, then back before the paint: drawn at once at the old size...
    resize(60, 45);
    EXPECT_TRUE(RectIs(wnd, 105, 105, 165, 150));
    EXPECT_EQ(RedrawsAtNextPaint(parent.Handle()), 0);  // ...so the paint has nothing to redo

    resize(70, 50);
    resize(60, 45);
    SetWindowRgn(parent.Handle(), CreateEllipticRgn(0, 0, 60, 45), FALSE);  // the size drawn, another outline
    EXPECT_EQ(RedrawsAtNextPaint(parent.Handle()), 1);
}
