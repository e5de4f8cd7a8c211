// The ActiveX control with our own test control DLL loaded through "modulename": creation,
// windowless activation, painting into the off-screen bitmap, mouse and key forwarding, the
// windowed object's window, the site's COM contract and tear-down with every reference released.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "support/HostBed.h"
#include "controls/TestControlBed.h"
#include "controls/com/ActiveX.h"
#include "controls/com/ActiveXWnd.h"
#include "controls/list/ListContainerElement.h"
#include "controls/native/Combo.h"
#include "controls/native/ComboWnd.h"
#include "controls/text/Button.h"
#include "controls/layout/VerticalLayout.h"
#include "skin/SkinBuilder.h"

using namespace SkinUI;
using testbed::HostBed;
using testbed::Probe;

namespace {

using ActiveX = testbed::TestControlTest;

// A 30 pixel probe above a 120 x 80 ActiveX control: the control sits at (0, 30, 120, 110), so
// coordinates that forget the offset show.
struct AxTree {
    CVerticalLayoutUI* root;
    CActiveXUI* ax;
};

// An ActiveX control that makes the test control's object of class `clsid` once it is attached.
CActiveXUI* NewTestObject(const char* clsid)
{
    auto* ax = new CActiveXUI;
    ax->SetAttribute("modulename", "testctl.dll");
    ax->SetAttribute("clsid", clsid);
    return ax;
}

AxTree Build(HostBed& bed, const char* clsid, CControlUI* above = nullptr)
{
    auto* root = new CVerticalLayoutUI;
    if (above == nullptr)
        above = new Probe("above", 0, 30);
    above->SetFixedHeight(30);
    above->SetFixedWidth(120);
    root->AddChild(above);
    CActiveXUI* ax = NewTestObject(clsid);
    ax->SetFixedWidth(120);
    ax->SetFixedHeight(80);
    root->AddChild(ax);
    bed.Attach(root);
    return AxTree{root, ax};
}

bool Recorded(const testctl::TState& state, UINT message, LPARAM lParam)
{
    for (int i = 0; i < state.messageCount; ++i)
        if (state.messages[i].message == message && state.messages[i].lParam == lParam)
            return true;
    return false;
}

bool RecordedAny(const testctl::TState& state, UINT message)
{
    for (int i = 0; i < state.messageCount; ++i)
        if (state.messages[i].message == message)
            return true;
    return false;
}

}  // namespace

TEST_F(ActiveX, WindowlessObjectIsCreatedPaintedClickedAndReleased)
{
    {
        HostBed bed(200, 150);
        AxTree tree = Build(bed, testctl::kWindowlessClsid);
        ASSERT_EQ(ctl.State().liveObjects, 1);
        EXPECT_TRUE(tree.ax->IsCreated());
        EXPECT_TRUE(testbed::RectIs(tree.ax->GetPosition(), 0, 30, 120, 110));
        // The object positions itself from the window context: the control's own rectangle.
        EXPECT_TRUE(testbed::RectIs(ctl.State().windowContextPosition, 0, 30, 120, 110));
        EXPECT_TRUE(testbed::RectIs(ctl.State().windowContextClip, 0, 30, 120, 110));
        EXPECT_EQ(ctl.State().frameInfoSize, sizeof(OLEINPLACEFRAMEINFO));
        EXPECT_EQ(tree.ax->GetHostWindow(), bed.Hwnd());

        bed.Repaint();
        int width = 0;
        int height = 0;
        const std::vector<uint32_t> pixels = testbed::ReadBitmap(bed.Host().GetOffscreenBitmap(), width, height);
        ASSERT_EQ(width, 200);
        const uint32_t green = 0x00C800;  // kPaintColor as 0xRRGGBB
        EXPECT_EQ(pixels[static_cast<size_t>(31 * width + 1)] & 0xFFFFFF, green);
        EXPECT_EQ(pixels[static_cast<size_t>(109 * width + 119)] & 0xFFFFFF, green);
        EXPECT_NE(pixels[static_cast<size_t>(29 * width + 1)] & 0xFFFFFF, green);  // the probe above
        EXPECT_NE(pixels[static_cast<size_t>(110 * width + 1)] & 0xFFFFFF, green);  // below the control
        EXPECT_NE(pixels[static_cast<size_t>(31 * width + 120)] & 0xFFFFFF, green);  // right of it

        bed.Click(40, 50);
        EXPECT_TRUE(Recorded(ctl.State(), WM_LBUTTONDOWN, MAKELPARAM(40, 50)));
        EXPECT_TRUE(Recorded(ctl.State(), WM_LBUTTONUP, MAKELPARAM(40, 50)));
        ASSERT_GT(ctl.State().hitCount, 0);
        EXPECT_EQ(ctl.State().hits[ctl.State().hitCount - 1].x, 40);
        EXPECT_EQ(ctl.State().hits[ctl.State().hitCount - 1].y, 50);

        IOleClientSite* site = ctl.ClientSite();
        ASSERT_NE(site, nullptr);
        tree.root->RemoveChild(tree.ax);
        bed.Pump();
        // Only our own reference keeps the site now; the object is gone and the site has no owner.
        EXPECT_EQ(ctl.State().liveObjects, 0);
        EXPECT_EQ(ctl.State().closes, 1);
        IOleInPlaceSiteWindowless* inPlace = nullptr;
        ASSERT_EQ(site->QueryInterface(IID_IOleInPlaceSiteWindowless, reinterpret_cast<void**>(&inPlace)), S_OK);
        HWND window = nullptr;
        HDC dc = nullptr;
        EXPECT_EQ(inPlace->GetWindow(&window), E_UNEXPECTED);
        EXPECT_EQ(inPlace->OnInPlaceActivateEx(nullptr, ACTIVATE_WINDOWLESS), E_UNEXPECTED);
        EXPECT_EQ(inPlace->GetDC(nullptr, 0, &dc), E_UNEXPECTED);
        EXPECT_EQ(inPlace->SetFocus(TRUE), E_UNEXPECTED);
        EXPECT_EQ(inPlace->InvalidateRect(nullptr, FALSE), E_UNEXPECTED);
        EXPECT_EQ(site->ShowObject(), E_UNEXPECTED);
        inPlace->Release();
        EXPECT_EQ(site->Release(), 0u);
    }
    EXPECT_EQ(ctl.State().liveObjects, 0);
}

// What reaches a windowless object: its hit area, its capture, the key focus; never another
// control's drag or release; the wheel and the cursor message at the client point they mean.
TEST_F(ActiveX, WindowlessForwardingFollowsHitAreaPressAndFocus)
{
    HostBed bed(200, 150);
    auto* button = new CButtonUI;
    AxTree tree = Build(bed, testctl::kWindowlessClsid, button);
    testctl::TState& state = ctl.State();
    ASSERT_EQ(state.liveObjects, 1);

    state.messageCount = 0;
    bed.MoveTo(40, 50);
    bed.MoveTo(150, 50);  // outside the object
    EXPECT_TRUE(Recorded(state, WM_MOUSEMOVE, MAKELPARAM(40, 50)));
    EXPECT_FALSE(Recorded(state, WM_MOUSEMOVE, MAKELPARAM(150, 50)));

    // A press on the button, dragged over the object and released there, stays the host's.
    state.messageCount = 0;
    bed.MoveTo(10, 10);
    bed.Press(10, 10);
    bed.MoveTo(40, 50);
    bed.Release(40, 50);
    EXPECT_FALSE(RecordedAny(state, WM_MOUSEMOVE));
    EXPECT_FALSE(RecordedAny(state, WM_LBUTTONUP));
    EXPECT_EQ(button->GetButtonState() & (StatePushed | StateCaptured), 0u);
    EXPECT_EQ(bed.Count("click"), 0);
    EXPECT_EQ(::GetCapture(), nullptr);

    // Keys only with the focus.
    state.messageCount = 0;
    bed.Key('A');
    EXPECT_FALSE(RecordedAny(state, WM_KEYDOWN));
    tree.ax->TakeFocus();
    bed.Key('A');
    EXPECT_TRUE(Recorded(state, WM_KEYDOWN, 1));

    // The wheel carries screen coordinates; the cursor message carries none.
    ::SetWindowPos(bed.Hwnd(), nullptr, 300, 300, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    POINT screen = {50, 60};
    ::ClientToScreen(bed.Hwnd(), &screen);
    state.hitCount = 0;
    state.messageCount = 0;
    bed.Send(WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA), MAKELPARAM(screen.x, screen.y));
    ASSERT_EQ(state.hitCount, 1);
    EXPECT_EQ(state.hits[0].x, 50);
    EXPECT_EQ(state.hits[0].y, 60);
    EXPECT_TRUE(RecordedAny(state, WM_MOUSEWHEEL));

    ASSERT_TRUE(::SetCursorPos(screen.x, screen.y));
    state.hitCount = 0;
    bed.Send(WM_SETCURSOR, reinterpret_cast<WPARAM>(bed.Hwnd()), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    ASSERT_EQ(state.hitCount, 1);
    EXPECT_EQ(state.hits[0].x, 50);
    EXPECT_EQ(state.hits[0].y, 60);
}

#ifndef NDEBUG
// A windowed object lives in one CActiveXWnd, made once and deleted once, whether the object
// deactivates on Close or on its own before; no stale handle is moved or shown afterwards.
TEST_F(ActiveX, WindowedObjectWindowIsMadeAndDeletedOnce)
{
    for (const bool selfDeactivates : {false, true}) {
        SCOPED_TRACE(selfDeactivates ? "object deactivates itself" : "closed by the control");
        HostBed bed(200, 150);
        AxTree tree = Build(bed, testctl::kWindowedClsid);
        ASSERT_EQ(ctl.State().liveObjects, 1);
        EXPECT_EQ(CActiveXWnd::LiveInstances(), 1);
        const HWND window = tree.ax->GetHostWindow();
        ASSERT_TRUE(::IsWindow(window));
        EXPECT_EQ(::GetParent(window), bed.Hwnd());
        EXPECT_EQ(::GetParent(ctl.State().objectWindow), window);
        RECT placed = {};
        ::GetWindowRect(window, &placed);
        ::MapWindowPoints(nullptr, bed.Hwnd(), reinterpret_cast<POINT*>(&placed), 2);
        EXPECT_TRUE(testbed::RectIs(placed, 0, 30, 120, 110));
        // A windowed object's rectangles start at its window's origin.
        EXPECT_TRUE(testbed::RectIs(ctl.State().objectRects, 0, 0, 120, 80));

        if (selfDeactivates) {
            ASSERT_EQ(ctl.Deactivate(), S_OK);
            EXPECT_EQ(CActiveXWnd::LiveInstances(), 0);
            EXPECT_FALSE(::IsWindow(window));
            EXPECT_EQ(tree.ax->GetHostWindow(), nullptr);
            IOleClientSite* site = ctl.ClientSite();
            ASSERT_NE(site, nullptr);
            EXPECT_EQ(site->ShowObject(), E_FAIL);  // no window to draw in, and never the screen
            site->Release();
            tree.ax->SetPosition(CRectUI(0, 30, 150, 120));
            tree.ax->SetVisible(false);
        }
        tree.root->RemoveChild(tree.ax);
        bed.Pump();
        EXPECT_EQ(CActiveXWnd::LiveInstances(), 0);
        EXPECT_EQ(ctl.State().liveObjects, 0);
    }
}
#endif

// The site's COM identity and its container's enumerator.
TEST_F(ActiveX, SiteAnswersComIdentityAndEnumeratesItsObjectOnce)
{
    HostBed bed(200, 150);
    AxTree tree = Build(bed, testctl::kWindowlessClsid);
    IOleClientSite* site = ctl.ClientSite();
    ASSERT_NE(site, nullptr);

    IUnknown* first = nullptr;
    IUnknown* second = nullptr;
    ASSERT_EQ(site->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&first)), S_OK);
    IOleControlSite* controlSite = nullptr;
    ASSERT_EQ(site->QueryInterface(IID_IOleControlSite, reinterpret_cast<void**>(&controlSite)), S_OK);
    ASSERT_EQ(controlSite->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&second)), S_OK);
    EXPECT_EQ(first, second);
    first->Release();
    second->Release();
    controlSite->Release();

    IOleContainer* container = nullptr;
    ASSERT_EQ(site->GetContainer(&container), S_OK);
    IEnumUnknown* items = nullptr;
    ASSERT_EQ(container->EnumObjects(OLECONTF_EMBEDDINGS, &items), S_OK);
    IUnknown* item = nullptr;
    EXPECT_EQ(items->Next(1, &item, nullptr), S_OK);  // no fetched count: allowed for one element
    ASSERT_NE(item, nullptr);
    item->Release();
    ULONG fetched = 9;
    item = nullptr;
    EXPECT_EQ(items->Next(1, &item, &fetched), S_FALSE);
    EXPECT_EQ(fetched, 0u);
    EXPECT_EQ(item, nullptr);
    EXPECT_EQ(items->Reset(), S_OK);
    EXPECT_EQ(items->Next(1, &item, &fetched), S_OK);
    EXPECT_EQ(fetched, 1u);
    item->Release();
    EXPECT_EQ(items->Release(), 0u);
    container->Release();
    site->Release();

    tree.root->RemoveChild(tree.ax);
    bed.Pump();
    EXPECT_EQ(ctl.State().liveObjects, 0);
}

// Class id texts and creation failures leave the control empty and the object released.
TEST_F(ActiveX, RefusedClassIdsAndFailedCreationLeaveTheControlEmpty)
{
    HostBed bed(200, 150);
    AxTree tree = Build(bed, testctl::kInitFailsClsid);
    EXPECT_EQ(ctl.State().objectsMade, 1);
    EXPECT_EQ(ctl.State().liveObjects, 0);
    void* out = nullptr;
    EXPECT_EQ(tree.ax->QueryObject(IID_IOleObject, &out), E_PENDING);
    EXPECT_EQ(tree.ax->QueryObject(IID_IOleObject, nullptr), E_POINTER);

    const CLSID before = tree.ax->GetClassId();
    const std::string tooLong = "{" + std::string(149, '7');
    const struct {
        const char* text;
    } refused[] = {{tooLong.c_str()}, {"No.Such.ProgId"}, {"{not-a-guid}"}, {""}};
    for (const auto& c : refused) {
        SCOPED_TRACE(c.text);
        EXPECT_FALSE(tree.ax->SetClassId(c.text));
        EXPECT_TRUE(tree.ax->GetClassId() == before);
    }
}

// Without a host window nothing is created, and destroying such a control is harmless; once
// attached and laid out, the object is made once.
TEST_F(ActiveX, WithoutHostNothingIsCreatedUntilAttached)
{
    const std::string xml = std::string("<Window><ActiveX delaycreate=\"false\" modulename=\"testctl.dll\" clsid=\"")
        + testctl::kWindowlessClsid + "\" width=\"50\" height=\"40\"/></Window>";
    {
        CSkinBuilder builder;
        CControlUI* lone = builder.BuildFrom(xml.c_str());
        ASSERT_NE(lone, nullptr);
        EXPECT_EQ(ctl.State().objectsMade, 0);
        delete lone;
    }
    CSkinBuilder builder;
    CControlUI* control = builder.BuildFrom(xml.c_str());
    ASSERT_NE(control, nullptr);
    {
        HostBed bed(200, 150);
        auto* root = new CVerticalLayoutUI;
        root->AddChild(control);
        bed.Attach(root);
        EXPECT_EQ(ctl.State().objectsMade, 1);
        EXPECT_EQ(ctl.State().liveObjects, 1);
    }
    EXPECT_EQ(ctl.State().liveObjects, 0);
}

// "modulename" is looked up beside the program, never in the current directory.
bool RecordedSince(const testctl::TState& state, int from, UINT message)
{
    for (int i = from; i < state.messageCount; ++i)
        if (state.messages[i].message == message)
            return true;
    return false;
}

// Hidden or disabled, a windowless object takes nothing meant for the control now under the
// pointer; the button below it moves into its place when it is hidden.
TEST_F(ActiveX, HiddenOrDisabledObjectTakesNoInput)
{
    struct TCase {
        const char* what;
        void (*apply)(CActiveXUI* ax);
        int clicks;  // on the point (60, 50) once applied
    };
    const TCase cases[] = {
        {"hidden", [](CActiveXUI* ax) { ax->SetVisible(false); }, 1},
        {"disabled", [](CActiveXUI* ax) { ax->SetEnabled(false); }, 0},
        // The button goes with it.
        {"parent hidden", [](CActiveXUI* ax) { ax->GetParent()->SetVisible(false); }, 0},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.what);
        HostBed bed(200, 150);
        AxTree tree = Build(bed, testctl::kWindowlessClsid);
        auto* button = new CButtonUI;
        button->SetName("button");
        button->SetFixedHeight(40);
        tree.root->AddChild(button);
        bed.Repaint();
        ASSERT_TRUE(tree.ax->IsCreated());
        bed.Host().SetFocusControl(tree.ax);
        c.apply(tree.ax);
        bed.Repaint();
        const int from = ctl.State().messageCount;
        bed.Click(60, 50);
        bed.Key('A');
        EXPECT_FALSE(RecordedSince(ctl.State(), from, WM_LBUTTONDOWN));
        EXPECT_FALSE(RecordedSince(ctl.State(), from, WM_KEYDOWN));
        EXPECT_EQ(c.clicks, bed.Count("click"));
    }
}

// The object's capture goes through the host, which ends it when the control can take no more
// input; the object hears of it, and the next click reaches the control under the pointer.
TEST_F(ActiveX, CaptureOfAnObjectHiddenDisabledOrRemovedIsReleased)
{
    struct TCase {
        const char* what;
        void (*apply)(HostBed& bed, AxTree& tree);
    };
    const TCase cases[] = {
        {"hidden", [](HostBed&, AxTree& tree) { tree.ax->SetVisible(false); }},
        {"disabled", [](HostBed&, AxTree& tree) { tree.ax->SetEnabled(false); }},
        // Told while it still lives: the host lets go of a removed control before it dies.
        {"removed",
            [](HostBed& bed, AxTree& tree) {
                tree.root->RemoveChild(tree.ax);
                bed.Pump();
            }},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.what);
        HostBed bed(200, 150);
        auto* button = new CButtonUI;
        button->SetName("button");
        AxTree tree = Build(bed, testctl::kWindowlessClsid, button);
        ASSERT_TRUE(tree.ax->IsCreated());
        IOleClientSite* site = ctl.ClientSite();
        ASSERT_NE(site, nullptr);
        IOleInPlaceSiteWindowless* inPlace = nullptr;
        ASSERT_EQ(site->QueryInterface(IID_IOleInPlaceSiteWindowless, reinterpret_cast<void**>(&inPlace)), S_OK);
        EXPECT_EQ(S_OK, inPlace->SetCapture(TRUE));
        EXPECT_EQ(bed.Hwnd(), ::GetCapture());
        const int from = ctl.State().messageCount;
        c.apply(bed, tree);
        EXPECT_EQ(nullptr, ::GetCapture());
        EXPECT_TRUE(RecordedSince(ctl.State(), from, WM_CAPTURECHANGED));
        EXPECT_NE(S_OK, inPlace->GetCapture());
        bed.Click(60, 15);  // the button above
        EXPECT_EQ(1, bed.Count("click"));
        inPlace->Release();
        site->Release();
    }
}

// A skin names its module: only a bare name beside the program or an absolute path inside the
// program's folder is loaded. Copies of the test control wait in the current directory and in the
// program folder's parent, where each refused spelling would otherwise find one.
TEST_F(ActiveX, ModuleNameIsNeverTakenFromTheCurrentDirectory)
{
    char exe[MAX_PATH] = {};
    ::GetModuleFileNameA(nullptr, exe, MAX_PATH);
    const std::string exeFolder = std::string(exe).substr(0, std::string(exe).find_last_of('\\'));
    const std::string parent = exeFolder.substr(0, exeFolder.find_last_of('\\'));
    const std::string source = exeFolder + "\\testctl.dll";
    char temp[MAX_PATH] = {};
    ::GetTempPathA(MAX_PATH, temp);
    const std::string folder = std::string(temp) + "axcwd";
    ::CreateDirectoryA(folder.c_str(), nullptr);
    ASSERT_TRUE(::CopyFileA(source.c_str(), (folder + "\\cwdctl.dll").c_str(), FALSE));
    ASSERT_TRUE(::CopyFileA(source.c_str(), (parent + "\\upctl.dll").c_str(), FALSE));
    char previous[MAX_PATH] = {};
    ::GetCurrentDirectoryA(MAX_PATH, previous);
    ASSERT_TRUE(::SetCurrentDirectoryA(folder.c_str()));

    struct TCase {
        std::string moduleName;
        bool created;
    };
    const TCase cases[] = {
        {"cwdctl.dll", false},  // only in the current directory
        {folder + "\\cwdctl.dll", false},  // absolute, outside the program's folder
        {"..\\upctl.dll", false},
        {exeFolder + "\\..\\upctl.dll", false},  // starts inside, steps out
        {exeFolder + "\\.\\..\\upctl.dll", false},
        {"\\\\?\\" + folder + "\\cwdctl.dll", false},
        {"\\\\localhost\\" + folder.substr(0, 1) + "$" + folder.substr(2) + "\\cwdctl.dll", false},
        {"\\\\?\\" + exeFolder + "\\testctl.dll", false},  // inside, but not a plain path
        {folder.substr(0, 2) + "cwdctl.dll", false},  // drive-relative: the drive's current folder
        {"testctl.dll", true},
        {exeFolder + "\\testctl.dll", true},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.moduleName);
        HostBed bed(200, 150);
        auto* ax = new CActiveXUI;
        ax->SetAttribute("modulename", c.moduleName.c_str());
        ax->SetAttribute("clsid", testctl::kWindowlessClsid);
        bed.Attach(ax);
        IUnknown* object = nullptr;
        EXPECT_EQ(c.created ? S_OK : E_PENDING, ax->QueryObject(IID_IOleObject, reinterpret_cast<void**>(&object)));
        if (object != nullptr)
            object->Release();
        EXPECT_EQ(::GetModuleHandleA("cwdctl.dll"), nullptr);
        EXPECT_EQ(::GetModuleHandleA("upctl.dll"), nullptr);
    }
    ::SetCurrentDirectoryA(previous);
    ::DeleteFileA((folder + "\\cwdctl.dll").c_str());
    ::DeleteFileA((parent + "\\upctl.dll").c_str());
    ::RemoveDirectoryA(folder.c_str());
}

// A listener of "showactivex" may destroy the control being created; creation stops there and
// everything made so far is released.
TEST_F(ActiveX, ControlDestroyedByItsShowNotificationStopsCreation)
{
    {
        HostBed bed(200, 150);
        auto* root = new CVerticalLayoutUI;
        bed.Attach(root);
        bed.user = root;
        bed.onNotify = [](HostBed& self, TNotifyEvent& event) {
            if (event.Type == "showactivex")
                static_cast<CVerticalLayoutUI*>(self.user)->RemoveChild(event.Sender);
        };
        auto* ax = new CActiveXUI;
        root->AddChild(ax);
        ax->SetAttribute("modulename", "testctl.dll");
        ax->SetAttribute("clsid", testctl::kWindowlessClsid);
        ax->SetPosition(CRectUI(0, 0, 50, 50));
        EXPECT_EQ(bed.Count("showactivex"), 1);
        bed.Pump();
        EXPECT_EQ(ctl.State().objectsMade, 1);
        EXPECT_EQ(ctl.State().liveObjects, 0);
    }
    EXPECT_EQ(ctl.State().liveObjects, 0);
}

// A windowless object in a combo row draws in and takes the mouse of the drop-down that has the
// rows on loan, each time it opens; the first drop-down's window is long gone by the second.
TEST_F(ActiveX, WindowlessObjectInAComboRowTakesEachDropDownsInput)
{
    {
        HostBed bed(200, 150);
        auto* root = new CVerticalLayoutUI;
        auto* combo = new CComboUI;
        combo->SetFixedWidth(120);
        combo->SetFixedHeight(20);
        auto* row = new CListContainerElementUI;
        row->SetFixedHeight(80);
        CActiveXUI* ax = NewTestObject(testctl::kWindowlessClsid);
        row->AddChild(ax);
        combo->AddChild(row);
        root->AddChild(combo);
        bed.Attach(root);
        bed.Repaint();
        for (int opening = 1; opening <= 2; ++opening) {
            SCOPED_TRACE(opening);
            ASSERT_TRUE(combo->TriggerAction());
            ASSERT_NE(nullptr, combo->GetDropWindow());
            const HWND popup = combo->GetDropWindow()->GetHWND();
            ::UpdateWindow(popup);
            ASSERT_TRUE(ax->IsCreated());
            EXPECT_EQ(popup, ax->GetHostWindow());
            const CRectUI at = ax->GetPosition();
            const LPARAM point = MAKELPARAM(at.left + 10, at.top + 10);
            const int from = ctl.State().messageCount;
            ::SendMessageA(popup, WM_MOUSEMOVE, 0, point);
            ::SendMessageA(popup, WM_LBUTTONDOWN, MK_LBUTTON, point);
            EXPECT_TRUE(RecordedSince(ctl.State(), from, WM_MOUSEMOVE));
            EXPECT_TRUE(RecordedSince(ctl.State(), from, WM_LBUTTONDOWN));
            ::SendMessageA(popup, WM_CLOSE, 0, 0);
            EXPECT_EQ(nullptr, combo->GetDropWindow());
            EXPECT_EQ(bed.Hwnd(), ax->GetHostWindow()) << "back in the combo's own window";
        }
    }
    EXPECT_EQ(ctl.State().liveObjects, 0);
}
