// The skinned window base on real windows: creation from each skin source, the skin failure hook,
// hit testing by caption and size box, the rounded region, minimum size, the default keys, the
// system command path, and the notification map dispatch.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ProgramTestSupport.h"
#include "controls/base/Control.h"
#include "support/TestBed.h"
#include "window/WindowImplBase.h"

using namespace SkinUI;

namespace {

// A window whose skin is whatever the test gives: a file name or literal XML.
class CTestSkinWindow : public WindowImplBase {
public:
    explicit CTestSkinWindow(const std::string& skin, SkinSource kind = SkinSourceFile)
        : m_skin(skin)
        , m_kind(kind)
    {
    }
    ~CTestSkinWindow() override
    {
        if (m_hWnd != nullptr)
            ::DestroyWindow(m_hWnd);
    }

    HWND Open() { return Create(nullptr, "skin test", WS_POPUP | WS_VISIBLE, 0, 0, 0, 0, 0); }
    // Paints once, which lays the tree out.
    void LayOut() { ::RedrawWindow(m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW); }
    LRESULT HitTest(int clientX, int clientY)
    {
        POINT pt = {clientX, clientY};
        ::ClientToScreen(m_hWnd, &pt);
        return ::SendMessageA(m_hWnd, WM_NCHITTEST, 0, MAKELPARAM(pt.x, pt.y));
    }

    const char* WindowClassName() const override { return "QuorilTestSkinWnd"; }
    CUIString SkinFolder() override { return ""; }
    CUIString SkinFile() override { return m_skin.c_str(); }
    SkinSource SkinSourceKind() const override { return m_kind; }
    CUIString SkinZipFileName() const override { return "QuorilSkin.zip"; }
    const char* SkinResourceId() const override { return "NoSuchSkin"; }
    void OnWindowReady() override { ++ready; }
    void OnSkinUnusable() override { ++unusable; }
    LRESULT OnMsgClose(UINT message, WPARAM wParam, LPARAM lParam, bool& handled) override
    {
        closeCodes.push_back(wParam);
        return WindowImplBase::OnMsgClose(message, wParam, lParam, handled);
    }

    int ready = 0;
    int unusable = 0;
    std::vector<WPARAM> closeCodes;

private:
    std::string m_skin;
    SkinSource m_kind;
};

// Whether a WM_CLOSE was posted to the window; its wParam in `code`.
bool TakePostedClose(HWND hwnd, WPARAM& code)
{
    MSG msg;
    if (!::PeekMessageA(&msg, hwnd, WM_CLOSE, WM_CLOSE, PM_REMOVE))
        return false;
    code = msg.wParam;
    return true;
}

const char kDragSkin[]
    = "<Window size=\"200,100\" caption=\"0,0,0,30\"><VerticalLayout>"
      "<Button name=\"b\" float=\"true\" pos=\"150,0,200,20\"/><Text name=\"t\" float=\"true\" pos=\"0,0,40,20\"/>"
      "</VerticalLayout></Window>";

TEST(WindowImplBase, CreationBuildsTheSkinAndCallsTheReadyHook)
{
    CTestSkinWindow window(kDragSkin);
    ASSERT_NE(nullptr, window.Open());
    EXPECT_EQ(1, window.ready);
    EXPECT_EQ(0, window.unusable);
    ASSERT_NE(nullptr, window.Host().GetRoot());
    EXPECT_TRUE(window.Host().IsBackgroundSnapshot()) << "the base always snapshots the background";
    EXPECT_EQ(0, ::GetWindowLongA(window.GetHWND(), GWL_STYLE) & WS_CAPTION);
}

TEST(WindowImplBase, ZipFileSourceReadsTheSkinArchive)
{
    programtest::SkinLocationScope location(programtest::BuildFolder());
    CTestSkinWindow window("MainWnd.en.xml", SkinSourceZipFile);
    ASSERT_NE(nullptr, window.Open());
    EXPECT_TRUE(CResourceLocation::IsSkinArchiveCached());
    EXPECT_NE(nullptr, window.Host().FindControlByName("btnRecover"));
}

TEST(WindowImplBase, MissingSkinResourceLeavesAnEmptyWindowQuietly)
{
    CTestSkinWindow window("MainWnd.xml", SkinSourceZipResource);
    ASSERT_NE(nullptr, window.Open());
    EXPECT_EQ(nullptr, window.Host().GetRoot());
    EXPECT_EQ(0, window.unusable);
    EXPECT_EQ(0, window.ready);
    EXPECT_EQ(nullptr, window.SkinArchiveCopy());
}

TEST(WindowImplBase, UnbuildableSkinReportsTheFailure)
{
    CTestSkinWindow broken("<Window><Label></Window>");
    ASSERT_NE(nullptr, broken.Open());
    EXPECT_EQ(1, broken.unusable);
    EXPECT_EQ(0, broken.ready);
    // A layout resource named by text that is not a number is no resource at all.
    CTestSkinWindow resource("MainWnd", SkinSourceResource);
    ASSERT_NE(nullptr, resource.Open());
    EXPECT_EQ(1, resource.unusable);
}

TEST(WindowImplBase, ResourceSourceBuildsTheXmlResourceWithThatNumber)
{
    // A copy of this executable with the layout added as "xml" resource 121 is the resource module.
    programtest::TempSkinFolder folder;
    char self[MAX_PATH + 1] = {};
    ::GetModuleFileNameA(nullptr, self, MAX_PATH);
    folder.Write("layouts.dll", programtest::ReadFileBytes(self));
    const std::string copy = folder.Path() + "layouts.dll";
    HANDLE update = ::BeginUpdateResourceA(copy.c_str(), FALSE);
    ASSERT_NE(nullptr, update);
    ASSERT_TRUE(::UpdateResourceA(update, "xml", MAKEINTRESOURCEA(121), MAKELANGID(LANG_NEUTRAL, SUBLANG_NEUTRAL),
        const_cast<char*>(kDragSkin), sizeof(kDragSkin) - 1));
    ASSERT_TRUE(::EndUpdateResourceA(update, FALSE));
    const HMODULE module = ::LoadLibraryExA(copy.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(nullptr, module);
    {
        programtest::SkinLocationScope location(folder.Path());
        CResourceLocation::SetResourceInstance(module);
        CTestSkinWindow built("121", SkinSourceResource);
        ASSERT_NE(nullptr, built.Open());
        EXPECT_EQ(0, built.unusable);
        EXPECT_EQ(1, built.ready);
        EXPECT_NE(nullptr, built.Host().FindControlByName("b"));
        RECT client = {};
        ::GetClientRect(built.GetHWND(), &client);
        EXPECT_EQ(200, client.right) << "the layout's own size";
        // No such resource, and a number that would not fit a resource id (121 + 65536).
        for (const char* id : {"122", "65657"}) {
            CTestSkinWindow missing(id, SkinSourceResource);
            ASSERT_NE(nullptr, missing.Open()) << id;
            EXPECT_EQ(1, missing.unusable) << id;
            EXPECT_EQ(nullptr, missing.Host().GetRoot()) << id;
        }
    }
    ::FreeLibrary(module);
}

TEST(WindowImplBase, CaptionStripDragsExceptOverButtonsAndText)
{
    CTestSkinWindow window(kDragSkin);
    ASSERT_NE(nullptr, window.Open());
    window.LayOut();
    EXPECT_EQ(HTCAPTION, window.HitTest(100, 10));
    EXPECT_EQ(HTCAPTION, window.HitTest(100, 29));
    EXPECT_EQ(HTCLIENT, window.HitTest(100, 30));
    EXPECT_EQ(HTCLIENT, window.HitTest(160, 10)) << "button";
    EXPECT_EQ(HTCLIENT, window.HitTest(10, 10)) << "text";
}

TEST(WindowImplBase, SizeBoxEdgesResize)
{
    CTestSkinWindow window(
        "<Window size=\"200,100\" sizebox=\"4,4,4,4\" caption=\"0,0,0,30\"><VerticalLayout/></Window>");
    ASSERT_NE(nullptr, window.Open());
    window.LayOut();
    EXPECT_EQ(HTTOPLEFT, window.HitTest(1, 1));
    EXPECT_EQ(HTTOPRIGHT, window.HitTest(198, 1));
    EXPECT_EQ(HTTOP, window.HitTest(100, 1));
    EXPECT_EQ(HTLEFT, window.HitTest(1, 50));
    EXPECT_EQ(HTRIGHT, window.HitTest(197, 50));
    EXPECT_EQ(HTBOTTOM, window.HitTest(100, 98));
    EXPECT_EQ(HTBOTTOMRIGHT, window.HitTest(199, 99));
    EXPECT_EQ(HTCAPTION, window.HitTest(100, 10));
    EXPECT_EQ(HTCLIENT, window.HitTest(100, 50));
}

TEST(WindowImplBase, RoundCornersClipTheWindow)
{
    CTestSkinWindow round("<Window size=\"120,80\" roundcorner=\"10,10\"><VerticalLayout/></Window>");
    ASSERT_NE(nullptr, round.Open());
    HRGN region = ::CreateRectRgn(0, 0, 0, 0);
    EXPECT_NE(ERROR, ::GetWindowRgn(round.GetHWND(), region));
    EXPECT_FALSE(::PtInRegion(region, 0, 0)) << "the corner is cut";
    EXPECT_TRUE(::PtInRegion(region, 60, 40));

    CTestSkinWindow square("<Window size=\"120,80\"><VerticalLayout/></Window>");
    ASSERT_NE(nullptr, square.Open());
    EXPECT_EQ(ERROR, ::GetWindowRgn(square.GetHWND(), region));
    ::DeleteObject(region);
}

TEST(WindowImplBase, MinimumTrackSizeComesFromTheSkin)
{
    CTestSkinWindow window("<Window size=\"200,100\" mininfo=\"120,80\"><VerticalLayout/></Window>");
    ASSERT_NE(nullptr, window.Open());
    MINMAXINFO info = {};
    ::SendMessageA(window.GetHWND(), WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
    EXPECT_EQ(120, info.ptMinTrackSize.x);
    EXPECT_EQ(80, info.ptMinTrackSize.y);
    EXPECT_GT(info.ptMaxTrackSize.x, 0);
    // Not maximised: the whole window is client area.
    RECT proposed = {10, 20, 30, 40};
    EXPECT_EQ(0, ::SendMessageA(window.GetHWND(), WM_NCCALCSIZE, FALSE, reinterpret_cast<LPARAM>(&proposed)));
    EXPECT_EQ(30, proposed.right);
}

TEST(WindowImplBase, EscapeRequestsCloseWithOneAndEnterDoesNothing)
{
    CTestSkinWindow window(kDragSkin);
    ASSERT_NE(nullptr, window.Open());
    WPARAM code = 99;
    bool handled = false;
    EXPECT_EQ(0, window.FilterMessage(WM_KEYDOWN, VK_RETURN, 0, handled));
    EXPECT_FALSE(TakePostedClose(window.GetHWND(), code));
    EXPECT_EQ(1, window.FilterMessage(WM_KEYDOWN, VK_ESCAPE, 0, handled));
    EXPECT_FALSE(handled) << "the key goes on to the host";
    ASSERT_TRUE(TakePostedClose(window.GetHWND(), code));
    EXPECT_EQ(1u, code);
    EXPECT_EQ(0, window.FilterMessage(WM_KEYUP, VK_ESCAPE, 0, handled));
}

TEST(WindowImplBase, SystemCloseArrivesAsCloseWithZero)
{
    CTestSkinWindow window(kDragSkin);
    HWND hwnd = window.Open();
    ASSERT_NE(nullptr, hwnd);
    ::SendMessageA(hwnd, WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_EQ(std::vector<WPARAM>{0}, window.closeCodes);
    EXPECT_FALSE(::IsWindow(hwnd)) << "an unhandled close destroys the window";
}

//--- notification maps ------------------------------------------------------------------------------

class CMappedWindow : public CTestSkinWindow {
public:
    CMappedWindow()
        : CTestSkinWindow(kDragSkin)
    {
    }
    const TNotifyMap* NotifyMap() const override
    {
        static const TNotifyMapEntry entries[] = {
            NotifyOnEvent<CMappedWindow, &CMappedWindow::OnFirstAny>("click"),
            NotifyOnEvent<CMappedWindow, &CMappedWindow::OnOk>("click", "ok"),
            NotifyOnEvent<CMappedWindow, &CMappedWindow::OnSecondAny>("click"),
            NotifyOnParams<CMappedWindow, &CMappedWindow::OnSelect>("selectchanged"),
            NotifyEnd(),
        };
        static const TNotifyMap map = {WindowImplBase::StaticNotifyMap(), entries};
        return &map;
    }
    void OnFirstAny(TNotifyEvent&) { log.push_back("first any"); }
    void OnSecondAny(TNotifyEvent&) { log.push_back("second any"); }
    void OnOk(TNotifyEvent&) { log.push_back("ok"); }
    LRESULT OnSelect(WPARAM wParam, LPARAM lParam)
    {
        log.push_back("select " + std::to_string(wParam) + "," + std::to_string(lParam));
        return 0;
    }
    std::vector<std::string> log;
};

// A window whose own map has no click entry, so clicks reach the base's system buttons.
class CSelectOnlyWindow : public CTestSkinWindow {
public:
    CSelectOnlyWindow()
        : CTestSkinWindow(kDragSkin)
    {
    }
    const TNotifyMap* NotifyMap() const override
    {
        static const TNotifyMapEntry entries[] = {
            NotifyOnEvent<CSelectOnlyWindow, &CSelectOnlyWindow::OnSelect>("selectchanged"),
            NotifyEnd(),
        };
        static const TNotifyMap map = {WindowImplBase::StaticNotifyMap(), entries};
        return &map;
    }
    void OnSelect(TNotifyEvent&) { ++selects; }
    int selects = 0;
};

struct TNamedSender {
    explicit TNamedSender(const char* name) { control.SetName(name); }
    TNotifyEvent Event(const char* type, WPARAM wParam = 0, LPARAM lParam = 0)
    {
        TNotifyEvent event;
        event.Type = type;
        event.Sender = &control;
        event.WParam = wParam;
        event.LParam = lParam;
        return event;
    }
    CControlUI control;
};

TEST(NotifyPump, ExactSenderWinsElseTheLastEntryForAnySender)
{
    CMappedWindow window;
    TNamedSender ok("ok"), other("other");
    TNotifyEvent click = ok.Event("click");
    EXPECT_TRUE(window.PumpNotification(click));
    click = other.Event("click");
    EXPECT_TRUE(window.PumpNotification(click));
    TNotifyEvent select = other.Event("selectchanged", 7, 9);
    EXPECT_TRUE(window.PumpNotification(select));
    TNotifyEvent unknown = ok.Event("itemclick");
    EXPECT_FALSE(window.PumpNotification(unknown));
    TNotifyEvent wrongCase = ok.Event("Click");
    EXPECT_FALSE(window.PumpNotification(wrongCase));
    EXPECT_EQ((std::vector<std::string>{"ok", "second any", "select 7,9"}), window.log);
}

TEST(NotifyPump, VirtualWindowPumpsComeFirstByNameIgnoringCase)
{
    CMappedWindow window;
    CMappedWindow panel;
    ASSERT_TRUE(window.AddVirtualWindow("Panel", &panel));
    EXPECT_FALSE(window.AddVirtualWindow("Panel", &panel));
    TNamedSender ok("ok");
    TNotifyEvent event = ok.Event("click");
    event.VirtualWindow = "PANEL";
    EXPECT_TRUE(window.PumpNotification(event));
    EXPECT_EQ(std::vector<std::string>{"ok"}, panel.log);
    EXPECT_TRUE(window.log.empty());
    ASSERT_TRUE(window.RemoveVirtualWindow("Panel"));
    EXPECT_TRUE(window.PumpNotification(event));
    EXPECT_EQ(std::vector<std::string>{"ok"}, window.log);
}

TEST(NotifyPump, BaseMapRunsTheSystemButtons)
{
    CSelectOnlyWindow window;
    ASSERT_NE(nullptr, window.Open());
    WPARAM code = 0;
    TNamedSender capitals("CloseBtn"), close("closebtn"), minimise("minbtn");
    TNotifyEvent event = capitals.Event("click");
    window.OnNotification(event);
    EXPECT_FALSE(TakePostedClose(window.GetHWND(), code)) << "names compare exactly";
    event = minimise.Event("click");
    window.OnNotification(event);
    EXPECT_TRUE(::IsIconic(window.GetHWND()));
    event = close.Event("click");
    window.OnNotification(event);
    ASSERT_TRUE(TakePostedClose(window.GetHWND(), code));
    EXPECT_EQ(1u, code);
    event = close.Event("selectchanged");
    window.OnNotification(event);
    EXPECT_EQ(1, window.selects);
}

}  // namespace
