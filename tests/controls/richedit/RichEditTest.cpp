// The rich edit with the platform's own text services: typing from an ANSI window in three code
// pages, Return and Tab, the parent notifications, our scroll bars, other controls' presses over
// the editor, password masking, editors that never met a host, and where the services come from.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "controls/FakeTextServices.h"
#include "support/HostBed.h"
#include "controls/RichEditBed.h"
#include "controls/range/ScrollBar.h"
#include "support/TestBed.h"

using namespace SkinUI;
using testbed::RichEditBed;

namespace {

// Types `bytes` into a focused editor and reads them back.
std::string TypedAndReadBack(const std::string& bytes)
{
    RichEditBed b;
    EXPECT_TRUE(b.edit->HasTextServices());
    b.edit->TakeFocus();
    b.Type(bytes);
    return b.Text();
}

TEST(RichEdit, TypedCharactersLandInTheEditorExactly)
{
    ASSERT_EQ(1252u, ::GetACP());
    // é and the euro sign: the euro is 0x80 here but U+20AC in UTF-16.
    for (const std::string bytes : {"Hello, world!", "caf\xE9", "\x80 5"}) {
        SCOPED_TRACE(bytes);
        EXPECT_EQ(bytes, TypedAndReadBack(bytes));
    }
}

TEST(RichEdit, TypedDoubleByteCharactersCp936)
{
    ASSERT_EQ(936u, ::GetACP());
    EXPECT_EQ("\xC4\xE3\xBA\xC3", TypedAndReadBack("\xC4\xE3\xBA\xC3"));
    EXPECT_EQ("a\xC4\xE3z", TypedAndReadBack("a\xC4\xE3z"));
}

TEST(RichEdit, TypedCyrillicCp1251)
{
    ASSERT_EQ(1251u, ::GetACP());
    EXPECT_EQ("\xF0\xEE\xE7\xE0", TypedAndReadBack("\xF0\xEE\xE7\xE0"));
}

TEST(RichEdit, ReturnInASingleLineEditorIsAnnounced)
{
    RichEditBed b("multiline=\"false\"");
    b.edit->TakeFocus();
    b.Type("ab");
    EXPECT_TRUE(b.Press(VK_RETURN, '\r'));
    EXPECT_EQ(1, b.bed.Count("return"));
    EXPECT_EQ("ab", b.Text());
}

TEST(RichEdit, TabStaysInAnEditorThatWantsItAndCtrlTabAlwaysLeaves)
{
    struct TCase {
        const char* attributes;
        bool ctrl;  // held with the Tab
        bool editorGetsTab;
    } cases[] = {
        {"", false, true},
        {"wanttab=\"true\"", false, true},
        {"wanttab=\"false\"", false, false},
        {"", true, false},  // a keyboard user is never shut in an editor
        {"wanttab=\"false\"", true, false},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(std::string(c.attributes) + (c.ctrl ? " with Ctrl" : ""));
        RichEditBed b(c.attributes);
        b.edit->TakeFocus();
        b.Type("x");
        BYTE keys[256] = {};
        ::GetKeyboardState(keys);
        keys[VK_CONTROL] = c.ctrl ? 0x80 : 0;
        ::SetKeyboardState(keys);
        const bool taken = b.Press(VK_TAB, '\t');
        keys[VK_CONTROL] = 0;
        ::SetKeyboardState(keys);
        EXPECT_EQ(c.editorGetsTab, taken);
        EXPECT_EQ(c.editorGetsTab ? static_cast<CControlUI*>(b.edit) : b.button, b.bed.Host().GetFocusControl());
        EXPECT_EQ(c.editorGetsTab ? "x\t" : "x", b.Text());
    }
}

TEST(RichEdit, SelectionChangesReachTheWindowAsParentNotifications)
{
    struct Recorder : IMessageFilterUI {
        std::vector<NMHDR> headers;
        LRESULT FilterMessage(UINT message, WPARAM, LPARAM lParam, bool&) override
        {
            if (message == WM_NOTIFY)
                headers.push_back(*reinterpret_cast<const NMHDR*>(lParam));
            return 0;
        }
    } recorder;
    RichEditBed b;
    ::SetWindowLongPtrA(b.bed.Hwnd(), GWLP_ID, 77);
    b.bed.Host().AddWindowMessageFilter(&recorder);
    b.edit->SendTextMessage(EM_SETEVENTMASK, 0, ENM_SELCHANGE | ENM_CHANGE, nullptr);
    b.edit->TakeFocus();
    b.Type("ab");
    ASSERT_FALSE(recorder.headers.empty());
    for (const NMHDR& header : recorder.headers) {
        // A change of the text itself is not among what a parent is told.
        EXPECT_EQ(static_cast<UINT>(EN_SELCHANGE), header.code);
        EXPECT_EQ(b.bed.Hwnd(), header.hwndFrom);
        EXPECT_EQ(77u, header.idFrom);
    }
    b.bed.Host().RemoveWindowMessageFilter(&recorder);
}

// 40 lines in a 100 pixel high editor with a vertical bar.
struct LongText : RichEditBed {
    LongText()
        : RichEditBed("vscrollbar=\"true\"")
    {
        std::string text;
        for (int i = 0; i < 40; ++i)
            text += "line " + std::to_string(i) + "\r";
        edit->SetText(text.c_str());
        bed.Repaint();
        bar = edit->GetVerticalScrollBar();
    }
    LONG FirstVisibleLine()
    {
        LRESULT line = -1;
        edit->SendTextMessage(EM_GETFIRSTVISIBLELINE, 0, 0, &line);
        return static_cast<LONG>(line);
    }
    CScrollBarUI* bar = nullptr;
};

TEST(RichEdit, ManyLinesShowOurScrollBarAndScrollTheView)
{
    LongText t;
    ASSERT_NE(nullptr, t.bar);
    ASSERT_TRUE(t.bar->IsVisible());
    const CRectUI& client = t.edit->GetTextHost()->GetClientRect();
    // The bar takes its width from the text, at the editor's right edge.
    EXPECT_EQ(300 - t.bar->GetFixedWidth(), client.right);
    EXPECT_TRUE(testbed::RectIs(t.bar->GetPosition(), client.right, 0, 300, 100));
    // Its range is what the services scroll over, less one page.
    LONG minPos = 0, maxPos = 0, pos = 0, page = 0;
    WINBOOL enabled = FALSE;
    t.edit->GetTextHost()->GetServices()->TxGetVScroll(&minPos, &maxPos, &pos, &page, &enabled);
    EXPECT_GT(maxPos - minPos, 100);
    EXPECT_EQ(maxPos - minPos - client.GetHeight(), t.bar->GetRange());

    t.edit->SetScrollPosition(CSizeUI(0, 120));
    EXPECT_EQ(120, t.bar->GetValue());
    EXPECT_GT(t.FirstVisibleLine(), 5);
    t.edit->ScrollToTop();
    EXPECT_EQ(0, t.bar->GetValue());
    EXPECT_EQ(0, t.FirstVisibleLine());
    t.edit->ScrollPageDown();
    EXPECT_GT(t.bar->GetValue(), 50);
    EXPECT_GT(t.FirstVisibleLine(), 0);
}

TEST(RichEdit, DraggingTheEditorsOwnThumbScrolls)
{
    LongText t;
    ASSERT_TRUE(t.bar != nullptr && t.bar->IsVisible());
    const CRectUI thumb = t.bar->GetThumbRect();
    const int x = (thumb.left + thumb.right) / 2;
    const int y = (thumb.top + thumb.bottom) / 2;
    t.bed.MoveTo(x, y);
    t.bed.Press(x, y);
    for (int dy = 5; dy <= 30; dy += 5)
        t.bed.MoveTo(x, y + dy);
    // The drag is applied on the bar's timer.
    EXPECT_TRUE(testbed::PumpUntil([&] { return t.bar->GetValue() > 0; }, 2000));
    t.bed.Release(x, y + 30);
    EXPECT_GT(t.FirstVisibleLine(), 0);
    EXPECT_EQ(nullptr, ::GetCapture());
    EXPECT_EQ(nullptr, t.bed.Host().GetPressedControl());
}

// Pixels of the editor area of a host's last off-screen paint.
std::vector<uint32_t> EditorPixels(RichEditBed& b)
{
    b.bed.Repaint();
    int width = 0;
    int height = 0;
    std::vector<uint32_t> all = testbed::ReadBitmap(b.bed.Host().GetOffscreenBitmap(), width, height);
    std::vector<uint32_t> editor;
    for (int y = 0; y < 100 && y < height; ++y)
        editor.insert(editor.end(), all.begin() + y * width, all.begin() + y * width + width);
    return editor;
}

TEST(RichEdit, PasswordTextIsNotShownInClear)
{
    RichEditBed plain("text=\"abc\" bkcolor=\"#FFFFFFFF\"");
    RichEditBed again("text=\"abc\" bkcolor=\"#FFFFFFFF\"");
    RichEditBed masked("text=\"abc\" password=\"true\" bkcolor=\"#FFFFFFFF\"");
    const std::vector<uint32_t> clear = EditorPixels(plain);
    ASSERT_FALSE(clear.empty());
    EXPECT_EQ(clear, EditorPixels(again));
    EXPECT_NE(clear, EditorPixels(masked));
    EXPECT_EQ("abc", masked.Text());
}

TEST(RichEdit, EditorsThatNeverMetAHostOrLeftOneGoQuietly)
{
    testbed::FakeServicesScope scope;
    // Services come with the first attach to a window: none for these.
    delete new CRichEditUI;
    testbed::HostBed bed;
    CSkinBuilder builder;
    delete builder.BuildFrom("<Window><RichEdit text=\"x\"/></Window>", nullptr, nullptr, &bed.Host(), nullptr);
    EXPECT_EQ(nullptr, testbed::FakeTextServices::Last());

    RichEditBed b;
    ASSERT_TRUE(b.edit->HasTextServices());
    ASSERT_NE(nullptr, testbed::FakeTextServices::Last());
    CContainerUI* column = ControlCast<CContainerUI>(b.edit->GetParent());
    ASSERT_NE(nullptr, column);
    // Its host pointer is gone by the time it dies: it still leaves the host it registered with,
    // so the window's messages no longer reach it, and it releases its services.
    column->SetOwnsChildren(false);
    column->RemoveChild(b.edit);
    b.bed.Host().ForgetControl(b.edit);
    b.edit->AttachHost(nullptr, nullptr, false);
    delete b.edit;
    EXPECT_EQ(nullptr, testbed::FakeTextServices::Last()) << "the services outlived their editor";
    b.bed.Repaint();
    // The button moved up into the editor's place; nothing of the editor takes its click.
    const CRectUI r = b.button->GetPosition();
    EXPECT_TRUE(testbed::RectIs(r, 0, 0, 300, 40));
    b.bed.Click(50, 20);
    b.bed.Send(WM_CHAR, 'a', 1);
    EXPECT_EQ(1, b.bed.Count("click"));
}

// A planted msftedit.dll beside a small program that makes a rich edit: the program reports
// through its exit code (0: services from the system folder and the plant never ran).
TEST(RichEdit, APlantedLibraryBesideTheProgramNeverLoads)
{
    char path[MAX_PATH] = {};
    const DWORD length = ::GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string probe(path, length);
    probe = probe.substr(0, probe.find_last_of('\\')) + "\\richedit-plant\\richedit-probe.exe";
    ASSERT_NE(INVALID_FILE_ATTRIBUTES, ::GetFileAttributesA(probe.c_str())) << probe;
    ASSERT_NE(INVALID_FILE_ATTRIBUTES,
        ::GetFileAttributesA((probe.substr(0, probe.find_last_of('\\')) + "\\msftedit.dll").c_str()));
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process = {};
    std::string commandLine = "\"" + probe + "\"";
    ASSERT_TRUE(::CreateProcessA(
        probe.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process));
    EXPECT_EQ(WAIT_OBJECT_0, ::WaitForSingleObject(process.hProcess, 60000));
    DWORD exitCode = 99;
    ::GetExitCodeProcess(process.hProcess, &exitCode);
    EXPECT_EQ(0u, exitCode) << "1: no services, 2: the plant ran, 3: services from elsewhere";
    ::CloseHandle(process.hThread);
    ::CloseHandle(process.hProcess);
}

}  // namespace
