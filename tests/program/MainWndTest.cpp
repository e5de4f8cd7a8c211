// The main window built from the skin package embedded in the real Quoril.exe (mapped as the
// resource module), with the system seam replaced by a recording fake: layout language, size and
// centring, the drop shadow, the drag strip, closing (twice, with a button held, by Escape through
// the modal loop), the fatal skin paths (in process, and a copy of the program whose skin cannot be
// found), and the executable's icon, manifest, skin package and static imports.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

#include <string>
#include <vector>

#include <windows.h>

#include <psapi.h>

#include "ProgramTestSupport.h"
#include "app/FakeServices.h"
#include "app/MainWnd.h"
#include "controls/base/Control.h"
#include "shadow/WndShadow.h"
#include "support/HostBed.h"

using namespace SkinUI;

namespace {

// What a test window leaves behind: the window object deletes itself with its window.
struct TObserved {
    int unusable = 0;
    int gone = 0;
};

class CTestMainWnd : public Quoril::CMainWnd {
public:
    CTestMainWnd(apptest::FakeServices& services, Quoril::AdapterList& adapters, LANGID language, TObserved& observed,
        const char* resourceId = MAKEINTRESOURCEA(kSkinResourceId))
        : CMainWnd(services, adapters)
        , m_language(language)
        , m_observed(observed)
        , m_resourceId(resourceId)
    {
    }

    const char* SkinResourceId() const override { return m_resourceId; }
    void OnSkinUnusable() override { ++m_observed.unusable; }
    void OnWindowGone(HWND hwnd) override
    {
        ++m_observed.gone;
        CMainWnd::OnWindowGone(hwnd);  // deletes this
    }

protected:
    LANGID InterfaceLanguage() const override { return m_language; }

private:
    LANGID m_language;
    TObserved& m_observed;
    const char* m_resourceId;
};

class MainWndTest : public ::testing::Test {
protected:
    MainWndTest()
        : location("")
    {
        CWndShadow::InitSupport(::GetModuleHandleA(nullptr));
        CResourceLocation::SetResourceInstance(resources.Module());
        Quoril::TInterfaceEntry entry;
        entry.index = 7;
        entry.deviceName = L"\\DEVICE\\TCPIP_{7}";
        services.table.push_back(entry);
        services.connectResult = ERROR_NOT_SUPPORTED;
        services.addressNames.push_back(Quoril::TAdapterAddressName{7, L"eth0"});
        // Listed with DHCP settings: its own settings are known, so the actions may change it.
        services.dnsAdapters = {apptest::AdapterDns(L"eth0", {}, true)};
    }
    ~MainWndTest() override
    {
        if (hwnd != nullptr && ::IsWindow(hwnd))
            ::DestroyWindow(hwnd);
    }

    // Creates the window with the entry point's styles, shown at once (the entry point shows it
    // only after centring it); null when creation failed.
    CTestMainWnd* Open(LANGID language = 0x0409,
        const char* resourceId = MAKEINTRESOURCEA(Quoril::CMainWnd::kSkinResourceId),
        Quoril::CStartupLookup* lookup = nullptr)
    {
        CTestMainWnd* window = new CTestMainWnd(services, adapters, language, observed, resourceId);
        window->UseStartupLookup(lookup);
        hwnd = window->Create(nullptr, "Quoril",
            WS_POPUP | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | WS_CAPTION | WS_SYSMENU, WS_EX_APPWINDOW, 0, 0,
            0, 0);
        return hwnd != nullptr ? window : nullptr;
    }
    SIZE ClientSize() const
    {
        RECT client;
        ::GetClientRect(hwnd, &client);
        return SIZE{client.right, client.bottom};
    }
    POINT CentreOf(CTestMainWnd* window, const char* name)
    {
        ::RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);  // lays the tree out
        CControlUI* control = window->Host().FindControlByName(name);
        if (control == nullptr)
            return POINT{-1, -1};
        const CRectUI& position = control->GetPosition();
        return POINT{(position.left + position.right) / 2, (position.top + position.bottom) / 2};
    }
    // Moves onto the named control and presses the left button there; answers the point.
    POINT PressOn(CTestMainWnd* window, const char* name)
    {
        const POINT pt = CentreOf(window, name);
        ::SendMessageA(hwnd, WM_MOUSEMOVE, 0, MAKELPARAM(pt.x, pt.y));
        ::SendMessageA(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(pt.x, pt.y));
        return pt;
    }
    int Runs() const
    {
        int runs = 0;
        for (const std::string& call : services.calls)
            runs += call.compare(0, 4, "run ") == 0 ? 1 : 0;
        return runs;
    }

    programtest::ProgramResources resources;
    programtest::SkinLocationScope location;
    apptest::FakeServices services;
    Quoril::AdapterList adapters;
    TObserved observed;
    HWND hwnd = nullptr;
};

TEST(MainWndLanguage, OnlyTaiwanMainlandAndHongKongChineseGetTheChineseLayout)
{
    EXPECT_STREQ("MainWnd.xml", Quoril::CMainWnd::SkinFileForLanguage(0x0804));
    EXPECT_STREQ("MainWnd.xml", Quoril::CMainWnd::SkinFileForLanguage(0x0404));
    EXPECT_STREQ("MainWnd.xml", Quoril::CMainWnd::SkinFileForLanguage(0x0C04));
    EXPECT_STREQ("MainWnd.en.xml", Quoril::CMainWnd::SkinFileForLanguage(0x1004));
    EXPECT_STREQ("MainWnd.en.xml", Quoril::CMainWnd::SkinFileForLanguage(0x1404));
    EXPECT_STREQ("MainWnd.en.xml", Quoril::CMainWnd::SkinFileForLanguage(0x0409));
}

TEST_F(MainWndTest, BuildsTheShippedWindowFromTheEmbeddedPackage)
{
    ASSERT_NE(nullptr, resources.Module()) << "Quoril.exe must be built next to the tests folder";
    CTestMainWnd* window = Open();
    ASSERT_NE(nullptr, window);
    EXPECT_EQ(0, observed.unusable);
    EXPECT_EQ(360, ClientSize().cx);
    EXPECT_EQ(466, ClientSize().cy);
    EXPECT_EQ(0, ::GetWindowLongA(hwnd, GWL_STYLE) & WS_CAPTION);
    CControlUI* open = window->Host().FindControlByName("btnOpen");
    ASSERT_NE(nullptr, open);
    EXPECT_STREQ("Intercept Mode", open->GetText().GetData());
    EXPECT_TRUE(CResourceLocation::IsSkinArchiveCached());
    EXPECT_STREQ("membuffer", CResourceLocation::GetSkinArchiveName().GetData());
    ASSERT_EQ(2u, adapters.size()) << "discovered when ready: eth0 and the dial-up entry";
    EXPECT_STREQ("eth0", adapters[0].name.GetData());

    window->CenterOverOwner();
    RECT rect;
    ::GetWindowRect(hwnd, &rect);
    EXPECT_EQ(360, rect.right - rect.left);
    EXPECT_EQ(543, rect.bottom - rect.top);
}

// The shadow pop-up owned by `owner`, or null.
HWND ShadowOwnedBy(HWND owner)
{
    for (HWND found = ::FindWindowExA(nullptr, nullptr, "KestoShadowWnd", nullptr); found != nullptr;
         found = ::FindWindowExA(nullptr, found, "KestoShadowWnd", nullptr)) {
        if (::GetWindow(found, GW_OWNER) == owner)
            return found;
    }
    return nullptr;
}

TEST_F(MainWndTest, DropShadowReachesTwoPixelsAroundTheWindowAndFollowsIt)
{
    ASSERT_NE(nullptr, Open());
    const HWND shadow = ShadowOwnedBy(hwnd);
    ASSERT_NE(nullptr, shadow);
    EXPECT_TRUE(::IsWindowVisible(shadow));
    const auto expectAround = [&](const char* when) {
        RECT window, around;
        ::GetWindowRect(hwnd, &window);
        ::GetWindowRect(shadow, &around);
        EXPECT_EQ(window.left - 2, around.left) << when;
        EXPECT_EQ(window.top - 2, around.top) << when;
        EXPECT_EQ(window.right + 2, around.right) << when;
        EXPECT_EQ(window.bottom + 2, around.bottom) << when;
    };
    expectAround("shown");
    ::SetWindowPos(hwnd, nullptr, 40, 30, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    expectAround("moved");

    ::DestroyWindow(hwnd);
    EXPECT_FALSE(::IsWindow(shadow)) << "goes with the window";
}

// The DPI the prefix runs at: QUORIL_TEST_DPI when a test variant sets it, else 96.
int PrefixDpi()
{
    char text[16] = {};
    const DWORD length = ::GetEnvironmentVariableA("QUORIL_TEST_DPI", text, sizeof(text));
    return length > 0 && length < sizeof(text) ? std::atoi(text) : 96;
}

LONG FontHeight(HFONT font)
{
    LOGFONTA lf = {};
    ::GetObjectA(font, sizeof(lf), &lf);
    return lf.lfHeight;
}

// What scales with the window's DPI, read from the live window: the client, the caption font, a
// button, the shadow around the window.
struct TScaledLook {
    SIZE client;
    LONG fontHeight;
    CRectUI button;
    RECT shadowOutset;  // how far the shadow reaches beyond the window on each side
};

TEST_F(MainWndTest, AtTheDisplayScaleEverythingIsScaledOnceAndComesBackExactly)
{
    const int dpi = PrefixDpi();
    CTestMainWnd* window = Open();
    ASSERT_NE(nullptr, window);
    CWindowHostUI& host = window->Host();
    ASSERT_EQ(dpi, host.GetDpi()) << "the window reads the prefix's LogPixels";
    const HWND shadow = ShadowOwnedBy(hwnd);
    ASSERT_NE(nullptr, shadow);
    const auto look = [&]() {
        ::RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
        TScaledLook now = {};
        now.client = ClientSize();
        now.fontHeight = FontHeight(host.FontHandleAt(0));
        now.button = host.FindControlByName("btnOpen")->GetPosition();
        RECT w = {}, a = {};
        ::GetWindowRect(hwnd, &w);
        ::GetWindowRect(shadow, &a);
        now.shadowOutset = RECT{w.left - a.left, w.top - a.top, a.right - w.right, a.bottom - w.bottom};
        return now;
    };
    const auto scaled = [](int value, int at) { return ::MulDiv(value, at, 96); };
    const auto expectLookAt = [&](const TScaledLook& now, int at) {
        SCOPED_TRACE(at);
        // The skin's 360 x 466, its first font 16 pixels, btnOpen at 80,222..280,272, a shadow of 2.
        EXPECT_EQ(scaled(360, at), now.client.cx);
        EXPECT_EQ(scaled(466, at), now.client.cy);
        EXPECT_EQ(-scaled(16, at), now.fontHeight);
        EXPECT_EQ(CRectUI(scaled(80, at), scaled(222, at), scaled(280, at), scaled(272, at)), now.button);
        const int spread = scaled(2, at);
        EXPECT_TRUE(now.shadowOutset.left == spread && now.shadowOutset.top == spread
            && now.shadowOutset.right == spread && now.shadowOutset.bottom == spread)
            << now.shadowOutset.left << ',' << now.shadowOutset.top << ',' << now.shadowOutset.right << ','
            << now.shadowOutset.bottom;
    };
    const TScaledLook first = look();
    expectLookAt(first, dpi);

    // Moved to a monitor of twice the DPI: the system suggests the rectangle; then back again.
    const auto moveTo = [&](int newDpi, SIZE client) {
        RECT w = {};
        ::GetWindowRect(hwnd, &w);
        RECT suggested = {w.left, w.top, w.left + client.cx, w.top + client.cy};  // no frame: window = client
        ::SendMessageA(hwnd, WM_DPICHANGED, MAKEWPARAM(newDpi, newDpi), reinterpret_cast<LPARAM>(&suggested));
    };
    moveTo(2 * dpi, SIZE{2 * first.client.cx, 2 * first.client.cy});
    EXPECT_EQ(2 * dpi, host.GetDpi());
    expectLookAt(look(), 2 * dpi);
    moveTo(dpi, first.client);
    const TScaledLook back = look();
    EXPECT_EQ(first.client.cx, back.client.cx);
    EXPECT_EQ(first.client.cy, back.client.cy);
    EXPECT_EQ(first.fontHeight, back.fontHeight);
    EXPECT_EQ(first.button, back.button);
    EXPECT_TRUE(::EqualRect(&first.shadowOutset, &back.shadowOutset));

    // Centred as the program shows it: the height grows by 7/6 (360 x 543 at 96 DPI, 540 x 815 at 144,
    // 720 x 1087 at 192).
    window->CenterOverOwner();
    RECT rect;
    ::GetWindowRect(hwnd, &rect);
    EXPECT_EQ(scaled(360, dpi), rect.right - rect.left);
    EXPECT_EQ(scaled(466, dpi) * 7 / 6, rect.bottom - rect.top);
}

TEST_F(MainWndTest, ChineseInterfaceGetsTheChineseLabelsCp936)
{
    CTestMainWnd* window = Open(0x0804);
    ASSERT_NE(nullptr, window);
    CControlUI* open = window->Host().FindControlByName("btnOpen");
    ASSERT_NE(nullptr, open);
    EXPECT_STREQ("\xC0\xB9\x20\xBD\xD8\x20\xC4\xA3\x20\xCA\xBD", open->GetText().GetData());
}

TEST_F(MainWndTest, TopStripDragsOverTheBackgroundOnly)
{
    CTestMainWnd* window = Open();
    ASSERT_NE(nullptr, window);
    const POINT close = CentreOf(window, "btnClose");
    auto hitTest = [this](int x, int y) {
        POINT pt = {x, y};
        ::ClientToScreen(hwnd, &pt);
        return ::SendMessageA(hwnd, WM_NCHITTEST, 0, MAKELPARAM(pt.x, pt.y));
    };
    EXPECT_EQ(HTCAPTION, hitTest(100, 10));
    EXPECT_EQ(HTCAPTION, hitTest(0, 29));
    EXPECT_EQ(HTCLIENT, hitTest(close.x, close.y)) << "the close button keeps its press";
    EXPECT_EQ(HTCLIENT, hitTest(100, 30));
    EXPECT_EQ(HTCLIENT, hitTest(100, 400));
}

TEST_F(MainWndTest, CloseForgetsTheArchiveBeforeFreeingItsCopyAndTwiceIsHarmless)
{
    CTestMainWnd* window = Open();
    ASSERT_NE(nullptr, window);
    ASSERT_NE(nullptr, window->SkinArchiveCopy());
    bool handled = true;
    window->OnMsgClose(WM_CLOSE, 1, 0, handled);
    EXPECT_FALSE(handled) << "the host and the default procedure close the window";
    EXPECT_EQ(nullptr, window->SkinArchiveCopy());
    EXPECT_FALSE(CResourceLocation::IsSkinArchiveCached());
    EXPECT_EQ(nullptr, CResourceLocation::GetSkinArchiveHandle());
    handled = true;
    window->OnMsgClose(WM_CLOSE, 1, 0, handled);
    EXPECT_EQ(nullptr, window->SkinArchiveCopy());
    ::SendMessageA(hwnd, WM_CLOSE, 1, 0);
    EXPECT_FALSE(::IsWindow(hwnd));
    EXPECT_EQ(1, observed.gone);
    EXPECT_TRUE(::HeapValidate(::GetProcessHeap(), 0, nullptr));
}

TEST_F(MainWndTest, ASecondWindowFromThePackageLeavesTheFirstWindowsArchiveOpen)
{
    ASSERT_NE(nullptr, Open());
    const HWND first = hwnd;
    const void* block = CResourceLocation::GetSkinArchiveBlock();
    ASSERT_NE(nullptr, block);
    ASSERT_NE(nullptr, Open()) << "an About box built from the same package";
    const HWND second = hwnd;
    hwnd = first;
    ::SendMessageA(second, WM_CLOSE, 1, 0);
    ASSERT_FALSE(::IsWindow(second));

    EXPECT_EQ(block, CResourceLocation::GetSkinArchiveBlock());
    TSkinFileBytes bytes;
    EXPECT_EQ(
        SkinFileStatus::Found, CResourceLocation::ReadSkinFile("btn.png", nullptr, kSkinImageMaxBytes, false, bytes))
        << "images the first window has not loaded yet still come from its archive";

    ::SendMessageA(first, WM_CLOSE, 1, 0);
    EXPECT_EQ(nullptr, CResourceLocation::GetSkinArchiveBlock());
    EXPECT_EQ(nullptr, CResourceLocation::GetSkinArchiveHandle());
    EXPECT_EQ(2, observed.gone);
}

TEST_F(MainWndTest, CloseWhileAButtonIsHeldStartsNoAction)
{
    CTestMainWnd* window = Open();
    ASSERT_NE(nullptr, window);
    PressOn(window, "btnOpen");
    ::SendMessageA(hwnd, WM_CLOSE, 1, 0);
    EXPECT_FALSE(::IsWindow(hwnd));
    EXPECT_EQ(0, Runs());
    EXPECT_TRUE(services.boxes.empty());
}

TEST_F(MainWndTest, PressAndReleaseRunsTheActionUnderTheWaitCursor)
{
    CTestMainWnd* window = Open();
    ASSERT_NE(nullptr, window);
    const HCURSOR wait = ::LoadCursorA(nullptr, IDC_WAIT);
    std::vector<bool> waitShown;
    services.onRun = [&](const std::string&, const std::string&) {
        ::SetCursor(::LoadCursorA(nullptr, IDC_ARROW));
        ::SendMessageA(hwnd, WM_SETCURSOR, reinterpret_cast<WPARAM>(hwnd), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
        waitShown.push_back(::GetCursor() == wait);
        return apptest::Exited(0);
    };
    const POINT open = PressOn(window, "btnOpen");
    ::SendMessageA(hwnd, WM_LBUTTONUP, 0, MAKELPARAM(open.x, open.y));
    EXPECT_GT(Runs(), 0);
    EXPECT_EQ(std::vector<bool>(waitShown.size(), true), waitShown);
    ::SendMessageA(hwnd, WM_SETCURSOR, reinterpret_cast<WPARAM>(hwnd), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    EXPECT_NE(wait, ::GetCursor()) << "the action is over";
    ASSERT_EQ(1u, services.boxes.size());
    EXPECT_EQ(hwnd, services.boxes[0].owner);
    EXPECT_EQ(L"Settings applied (Intercept Mode)!", services.boxes[0].text);
}

// Stops a modal loop that failed to end by itself.
HWND g_runaway = nullptr;
void CALLBACK EndRunaway(HWND, UINT, UINT_PTR, DWORD)
{
    if (g_runaway != nullptr && ::IsWindow(g_runaway))
        ::DestroyWindow(g_runaway);
}

TEST_F(MainWndTest, EscapeEndsTheModalLoopWithOneAndEnterDoesNot)
{
    CTestMainWnd* window = Open();
    ASSERT_NE(nullptr, window);
    ::PostMessageA(hwnd, WM_KEYDOWN, VK_RETURN, 0);
    MSG msg;
    while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (CWindowHostUI::TranslateForHosts(&msg))
            continue;
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
    }
    ASSERT_TRUE(::IsWindow(hwnd)) << "Enter must not close";

    g_runaway = hwnd;
    const UINT_PTR timer = ::SetTimer(nullptr, 0, 10000, &EndRunaway);
    ::PostMessageA(hwnd, WM_KEYDOWN, VK_ESCAPE, 0);
    EXPECT_EQ(1u, window->RunModal());
    ::KillTimer(nullptr, timer);
    g_runaway = nullptr;
    EXPECT_FALSE(::IsWindow(hwnd));
    EXPECT_EQ(1, observed.gone);
}

TEST_F(MainWndTest, StatusLineUnderTheButtonsSaysWhatIsInForce)
{
    services.dnsAdapters = {apptest::AdapterDns(L"eth0", {"192.168.1.1"}, true)};
    CTestMainWnd* window = Open();
    ASSERT_NE(nullptr, window);
    ::RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    CControlUI* status = window->Host().FindControlByName(Quoril::CMainWnd::kStatusControl);
    ASSERT_NE(nullptr, status);
    EXPECT_STREQ("Current: automatic (DHCP)", status->GetText().GetData()) << "read back after start-up";

    // Below the lowest button, inside the 360 x 543 window, over no control that takes clicks.
    const CRectUI line = status->GetPosition();
    EXPECT_GE(line.top, 512);
    EXPECT_LE(line.bottom, 543);
    EXPECT_GE(line.left, 0);
    EXPECT_LE(line.right, 360);
    for (const char* name : {"btnClose", "btnOpen", "btnPure", "btnFamily", "btnTest", "btnRecover", "btnURL"}) {
        CControlUI* button = window->Host().FindControlByName(name);
        ASSERT_NE(nullptr, button) << name;
        const CRectUI& b = button->GetPosition();
        EXPECT_TRUE(b.right <= line.left || b.left >= line.right || b.bottom <= line.top || b.top >= line.bottom)
            << name;
    }

    // After an action, what the system reports now.
    services.dnsAdapters = {apptest::AdapterDns(L"eth0", {"9.9.9.9", "149.112.112.112", "1.1.1.2"}, false)};
    const POINT open = PressOn(window, "btnOpen");
    ::SendMessageA(hwnd, WM_LBUTTONUP, 0, MAKELPARAM(open.x, open.y));
    EXPECT_STREQ("Current: Intercept Mode", status->GetText().GetData());
}

TEST_F(MainWndTest, ALookUpStartedWithTheProgramIsTakenAtTheFirstPaintOrAtAClickBeforeIt)
{
    for (const bool click : {false, true}) {
        SCOPED_TRACE(click ? "a click before any paint" : "the first paint");
        // The program's look-up, on a slow system, with the window's own services never asked.
        adapters.clear();
        apptest::FakeServices early;
        early.table = services.table;
        early.connectResult = services.connectResult;
        early.addressNames = services.addressNames;
        early.dnsAdapters = services.dnsAdapters;
        early.tableDelayMs = 200;
        services.calls.clear();
        Quoril::CStartupLookup lookup(early, adapters, true);
        CTestMainWnd* window = Open(0x0409, MAKEINTRESOURCEA(Quoril::CMainWnd::kSkinResourceId), &lookup);
        ASSERT_NE(nullptr, window);
        CControlUI* status = window->Host().FindControlByName(Quoril::CMainWnd::kStatusControl);
        ASSERT_NE(nullptr, status);
        EXPECT_STREQ("", status->GetText().GetData()) << "not waited for while the window is made";
        if (click) {
            window->Host().SendNotification(window->Host().FindControlByName("btnOpen"), "click");
            const bool named = std::any_of(services.calls.begin(), services.calls.end(),
                [](const std::string& call) { return call.find("eth0") != std::string::npos; });
            EXPECT_TRUE(named) << "the action saw the connection the look-up found";
        } else {
            ::RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
            EXPECT_STREQ("Current: automatic (DHCP)", status->GetText().GetData());
            EXPECT_EQ(0, Runs());
        }
        EXPECT_EQ(2u, adapters.size()) << "eth0 and the dial-up entry, found once";
        EXPECT_EQ(services.calls.end(), std::find(services.calls.begin(), services.calls.end(), "table"));
        ::DestroyWindow(hwnd);
    }
}

TEST_F(MainWndTest, ChineseStatusLineCp936)
{
    CTestMainWnd* window = Open(0x0804);
    ASSERT_NE(nullptr, window);
    CControlUI* status = window->Host().FindControlByName(Quoril::CMainWnd::kStatusControl);
    ASSERT_NE(nullptr, status);
    // 当前：自动获取 (no adapter is connected)
    EXPECT_STREQ("\xb5\xb1\xc7\xb0\xa3\xba\xd7\xd4\xb6\xaf\xbb\xf1\xc8\xa1", status->GetText().GetData());
}

TEST_F(MainWndTest, MissingSkinResourceIsFatal)
{
    ASSERT_NE(nullptr, Open(0x0409, MAKEINTRESOURCEA(99)));
    EXPECT_EQ(1, observed.unusable);
    EXPECT_TRUE(adapters.empty()) << "not ready without a skin";
}

}  // namespace

namespace {

struct TBoxSearch {
    DWORD processId;
    HWND box;
};

BOOL CALLBACK FindProcessDialog(HWND hwnd, LPARAM data)
{
    TBoxSearch* search = reinterpret_cast<TBoxSearch*>(data);
    DWORD owner = 0;
    ::GetWindowThreadProcessId(hwnd, &owner);
    char className[32] = {};
    ::GetClassNameA(hwnd, className, sizeof(className));
    if (owner == search->processId && std::string(className) == "#32770" && ::IsWindowVisible(hwnd)) {
        search->box = hwnd;
        return FALSE;
    }
    return TRUE;
}

BOOL CALLBACK CollectChildText(HWND hwnd, LPARAM data)
{
    wchar_t text[128] = {};
    ::GetWindowTextW(hwnd, text, 128);
    reinterpret_cast<std::wstring*>(data)->append(text).append(L"|");
    return TRUE;
}

// A copy of the built program whose skin package cannot be found: the resource type name "ZIPRES"
// (UTF-16 in the resource directory) is renamed to "ZIPREX" in the copy. Deleted with the object.
class CDamagedProgram {
public:
    CDamagedProgram()
    {
        char temp[MAX_PATH + 1] = {};
        ::GetTempPathA(MAX_PATH, temp);
        m_path = std::string(temp) + "quoril-without-skin-" + std::to_string(::GetCurrentProcessId()) + ".exe";
        std::string image = programtest::ReadFileBytes(programtest::BuildFolder() + "Quoril.exe");
        const std::string typeName("Z\0I\0P\0R\0E\0S\0", 12);
        const size_t at = image.find(typeName);
        if (at == std::string::npos || image.find(typeName, at + 1) != std::string::npos)
            return;
        image[at + 10] = 'X';
        m_ready = WriteAll(m_path, image);
    }
    ~CDamagedProgram() { ::DeleteFileA(m_path.c_str()); }
    CDamagedProgram(const CDamagedProgram&) = delete;
    CDamagedProgram& operator=(const CDamagedProgram&) = delete;

    bool Ready() const { return m_ready; }
    const std::string& Path() const { return m_path; }
    bool StillHasSkin() const
    {
        HMODULE module
            = ::LoadLibraryExA(m_path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
        const bool found = module != nullptr
            && ::FindResourceA(module, MAKEINTRESOURCEA(Quoril::CMainWnd::kSkinResourceId), "ZIPRES") != nullptr;
        if (module != nullptr)
            ::FreeLibrary(module);
        return found;
    }

private:
    static bool WriteAll(const std::string& path, const std::string& bytes)
    {
        HANDLE file = ::CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        if (file == INVALID_HANDLE_VALUE)
            return false;
        DWORD written = 0;
        const bool ok = ::WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr)
            && written == bytes.size();
        ::CloseHandle(file);
        return ok;
    }

    std::string m_path;
    bool m_ready = false;
};

TEST(MainWndProcess, ProgramWithoutItsSkinShowsTheFailureAndExitsWithOne)
{
    CDamagedProgram program;
    ASSERT_TRUE(program.Ready());
    ASSERT_FALSE(program.StillHasSkin());

    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process = {};
    std::string commandLine = "\"" + program.Path() + "\"";
    ASSERT_TRUE(::CreateProcessA(
        program.Path().c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process));
    TBoxSearch search = {process.dwProcessId, nullptr};
    // The box belongs to another process: nothing arrives in this thread's queue, so poll.
    for (int waited = 0; search.box == nullptr && waited < 15000; waited += 50) {
        ::EnumWindows(&FindProcessDialog, reinterpret_cast<LPARAM>(&search));
        if (search.box == nullptr)
            ::Sleep(50);
    }
    if (search.box != nullptr) {
        wchar_t caption[32] = {};
        ::GetWindowTextW(search.box, caption, 32);
        EXPECT_EQ(std::wstring(L"SkinUI"), caption);
        std::wstring texts;
        ::EnumChildWindows(search.box, &CollectChildText, reinterpret_cast<LPARAM>(&texts));
        EXPECT_NE(std::wstring::npos, texts.find(L"\x52A0\x8F7D\x8D44\x6E90\x6587\x4EF6\x5931\x8D25"))
            << "children: " << texts.size();
        ::PostMessageA(search.box, WM_COMMAND, IDOK, 0);
    } else {
        ADD_FAILURE() << "no message box appeared";
        ::TerminateProcess(process.hProcess, 99);
    }
    EXPECT_EQ(WAIT_OBJECT_0, ::WaitForSingleObject(process.hProcess, 15000));
    DWORD exitCode = 0;
    ::GetExitCodeProcess(process.hProcess, &exitCode);
    EXPECT_EQ(1u, exitCode);
    ::CloseHandle(process.hThread);
    ::CloseHandle(process.hProcess);
}

// The lower-cased base names of the modules the process has loaded.
std::vector<std::string> LoadedModules(HANDLE process)
{
    HMODULE modules[256] = {};
    DWORD bytes = 0;
    std::vector<std::string> names;
    if (!::EnumProcessModules(process, modules, sizeof(modules), &bytes))
        return names;
    for (DWORD i = 0; i < bytes / sizeof(HMODULE) && i < 256; ++i) {
        char name[MAX_PATH] = {};
        ::GetModuleBaseNameA(process, modules[i], name, MAX_PATH);
        std::string lower(name);
        for (char& c : lower)
            c = static_cast<char>(::tolower(static_cast<unsigned char>(c)));
        names.push_back(lower);
    }
    return names;
}

TEST(MainWndProcess, ShowsItsWindowCentredWithoutLibrariesItNeedsOnlyLater)
{
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process = {};
    const std::string path = programtest::BuildFolder() + "Quoril.exe";
    std::string commandLine = "\"" + path + "\"";
    ASSERT_TRUE(::CreateProcessA(
        path.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process));
    // Idle after its first paint: by then it is shown where it stays, and it has not loaded what
    // only a composition change (the desktop composition query) or a tooltip needs.
    EXPECT_EQ(0u, ::WaitForInputIdle(process.hProcess, 20000));
    const std::vector<std::string> modules = LoadedModules(process.hProcess);
    const auto loaded
        = [&modules](const char* name) { return std::find(modules.begin(), modules.end(), name) != modules.end(); };
    EXPECT_TRUE(loaded("user32.dll")) << "the list was read";
    for (const char* later : {"dwmapi.dll", "comctl32.dll"})
        EXPECT_FALSE(loaded(later)) << later;
    const HWND window = ::FindWindowA(Quoril::CMainWnd::kWindowClassName, nullptr);
    EXPECT_NE(nullptr, window);
    if (window != nullptr) {
        RECT rect = {};
        ::GetWindowRect(window, &rect);
        EXPECT_TRUE(::IsWindowVisible(window));
        EXPECT_EQ(543, rect.bottom - rect.top) << "centred: 466 * 7 / 6 high";
        ::PostMessageA(window, WM_CLOSE, 0, 0);
    }
    if (::WaitForSingleObject(process.hProcess, 15000) != WAIT_OBJECT_0)
        ::TerminateProcess(process.hProcess, 99);
    ::CloseHandle(process.hThread);
    ::CloseHandle(process.hProcess);
}

}  // namespace

namespace {

std::string ResourceText(HMODULE module, LPCSTR id, LPCSTR type)
{
    HRSRC found = ::FindResourceA(module, id, type);
    HGLOBAL loaded = found != nullptr ? ::LoadResource(module, found) : nullptr;
    const char* bytes = loaded != nullptr ? static_cast<const char*>(::LockResource(loaded)) : nullptr;
    return bytes != nullptr ? std::string(bytes, ::SizeofResource(module, found)) : std::string();
}

// Names of the libraries the executable imports statically, lower-cased; empty when the image
// cannot be read as a 64-bit PE file.
std::vector<std::string> StaticImports(const std::string& image)
{
    std::vector<std::string> names;
    auto at = [&image](size_t offset, size_t size) -> const char* {
        return offset <= image.size() && size <= image.size() - offset ? image.data() + offset : nullptr;
    };
    const IMAGE_DOS_HEADER* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(at(0, sizeof(IMAGE_DOS_HEADER)));
    if (dos == nullptr || dos->e_magic != IMAGE_DOS_SIGNATURE)
        return names;
    const IMAGE_NT_HEADERS64* nt
        = reinterpret_cast<const IMAGE_NT_HEADERS64*>(at(dos->e_lfanew, sizeof(IMAGE_NT_HEADERS64)));
    if (nt == nullptr || nt->OptionalHeader.Magic != IMAGE_NT_OPTIONAL_HDR64_MAGIC)
        return names;
    const IMAGE_SECTION_HEADER* sections = IMAGE_FIRST_SECTION(nt);
    // File offset of a relative virtual address, through the section that holds it.
    auto fileOffset = [&](DWORD rva) -> size_t {
        for (WORD i = 0; i < nt->FileHeader.NumberOfSections; ++i) {
            const IMAGE_SECTION_HEADER& section = sections[i];
            if (rva >= section.VirtualAddress && rva < section.VirtualAddress + section.SizeOfRawData)
                return rva - section.VirtualAddress + section.PointerToRawData;
        }
        return image.size();
    };
    const IMAGE_DATA_DIRECTORY& directory = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    for (size_t offset = fileOffset(directory.VirtualAddress);; offset += sizeof(IMAGE_IMPORT_DESCRIPTOR)) {
        const IMAGE_IMPORT_DESCRIPTOR* entry
            = reinterpret_cast<const IMAGE_IMPORT_DESCRIPTOR*>(at(offset, sizeof(IMAGE_IMPORT_DESCRIPTOR)));
        if (entry == nullptr || entry->Name == 0)
            break;
        const char* name = at(fileOffset(entry->Name), 1);
        if (name == nullptr)
            break;
        std::string lower(name, ::strnlen(name, image.data() + image.size() - name));
        for (char& c : lower)
            c = static_cast<char>(::tolower(static_cast<unsigned char>(c)));
        names.push_back(lower);
    }
    return names;
}

TEST(ProgramPackage, ImportsOnlyLibrariesWindowsLoadsFromItsOwnFolder)
{
    const std::vector<std::string> imports
        = StaticImports(programtest::ReadFileBytes(programtest::BuildFolder() + "Quoril.exe"));
    ASSERT_FALSE(imports.empty());
    // Known system libraries, which the loader never looks for beside the program; the common
    // controls come through the manifest's side-by-side binding. Everything else (run-time
    // libraries of the compiler, msimg32, dwmapi, iphlpapi, ...) would be a library planted in a
    // download folder away from running elevated.
    const char* const allowed[] = {"kernel32.dll", "user32.dll", "gdi32.dll", "advapi32.dll", "shell32.dll",
        "ole32.dll", "oleaut32.dll", "msvcrt.dll", "comctl32.dll"};
    for (const std::string& name : imports) {
        bool known = false;
        for (const char* system : allowed)
            known = known || name == system;
        EXPECT_TRUE(known) << name;
    }
}

TEST(ProgramPackage, StartsWithoutTheLibrariesItBindsOnFirstUse)
{
    // Mapping these at start-up costs every start time and memory although few runs use them: the
    // common controls come with the first tooltip or native picker, COM with the first web page.
    const std::vector<std::string> imports
        = StaticImports(programtest::ReadFileBytes(programtest::BuildFolder() + "Quoril.exe"));
    ASSERT_FALSE(imports.empty());
    for (const char* lazy : {"comctl32.dll", "ole32.dll", "oleaut32.dll", "shell32.dll"}) {
        EXPECT_EQ(imports.end(), std::find(imports.begin(), imports.end(), lazy)) << lazy;
    }
}

TEST(ProgramPackage, ExecutableCarriesIconManifestAndTheFiveSkinFiles)
{
    programtest::ProgramResources resources;
    ASSERT_NE(nullptr, resources.Module());
    HANDLE icon
        = ::LoadImageA(resources.Module(), MAKEINTRESOURCEA(Quoril::CMainWnd::kIconResourceId), IMAGE_ICON, 32, 32, 0);
    EXPECT_NE(nullptr, icon);
    if (icon != nullptr)
        ::DestroyIcon(static_cast<HICON>(icon));

    const std::string manifest = ResourceText(resources.Module(), MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(24));
    EXPECT_NE(std::string::npos, manifest.find("level=\"requireAdministrator\""));
    EXPECT_NE(std::string::npos, manifest.find("name=\"Microsoft.Windows.Common-Controls\" version=\"6.0.0.0\""));

    const std::string archive
        = ResourceText(resources.Module(), MAKEINTRESOURCEA(Quoril::CMainWnd::kSkinResourceId), "ZIPRES");
    ASSERT_FALSE(archive.empty());
    programtest::SkinLocationScope location("");
    CResourceLocation::SetSkinArchiveMemory(archive.data(), static_cast<uint32_t>(archive.size()));
    for (const char* layout : {"MainWnd.xml", "MainWnd.en.xml"}) {
        TSkinFileBytes bytes;
        EXPECT_EQ(
            SkinFileStatus::Found, CResourceLocation::ReadSkinFile(layout, nullptr, kSkinLayoutMaxBytes, false, bytes))
            << layout;
    }
    testbed::HostBed bed(50, 50);
    CWindowHostUI& host = bed.Host();
    struct TExpectedImage {
        const char* name;
        int width, height;
        bool alpha;
    };
    const TExpectedImage images[]
        = {{"bk.jpg", 1017, 1316, false}, {"btn.png", 3, 1, false}, {"btnClose.png", 128, 25, true}};
    for (const TExpectedImage& expected : images) {
        SCOPED_TRACE(expected.name);
        TImageEntry* image = host.FindOrLoadImage(expected.name, nullptr, 0);
        ASSERT_NE(nullptr, image);
        EXPECT_EQ(expected.width, image->width);
        EXPECT_EQ(expected.height, image->height);
        EXPECT_EQ(expected.alpha, image->hasAlpha);
    }
}

}  // namespace
