// The edit driven for real: a click opens the native editor over the text area, posted characters
// are typed into it, Return and every change are announced, and the editor never outlives the
// edit nor stays live once the edit is hidden, disabled or resized away.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/HostBed.h"
#include "controls/PopupTestSupport.h"
#include "controls/text/Button.h"
#include "controls/native/Edit.h"
#include "controls/layout/VerticalLayout.h"
#include "support/TestBed.h"

using namespace SkinUI;
using testbed::ChildRect;
using testbed::HostBed;
using testbed::RectIs;
using testbed::RefusedWindowClass;
using testbed::Watched;
using testbed::WheelColumn;

namespace {

// The edit "edit" under test in a PopupBed.
struct EditBed : testbed::PopupBed {
    explicit EditBed(CEditUI* e = new CEditUI, bool fullWidth = false)
        : PopupBed(e, "edit", fullWidth)
        , edit(e)
    {
    }
    // Clicks into the edit and answers its open editor.
    HWND Open()
    {
        ClickControl();
        return edit->GetEditWindow();
    }
    void Type(HWND editor, const char* text)
    {
        for (const char* p = text; *p != '\0'; ++p)
            PostMessageA(editor, WM_CHAR, static_cast<unsigned char>(*p), 1);
        bed.Pump();
    }

    CEditUI* edit;
};

std::string WindowText(HWND hwnd)
{
    char text[256] = {};
    GetWindowTextA(hwnd, text, sizeof(text));
    return text;
}

}  // namespace

TEST(Edit, ClickTypeReturnAndLeave)
{
    EditBed t;
    HWND editor = t.Open();
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(GetFocus(), editor);
    // Text area (4,33)-(196,57), 24 high, narrowed to one line of the default font and centred.
    const int line = t.bed.Host().GetFontEntry(-1)->metrics.tmHeight;
    const int top = 33 + (24 - line) / 2;
    EXPECT_TRUE(RectIs(ChildRect(editor), 4, top, 196, top + line));

    t.Type(editor, "abc");
    EXPECT_EQ(std::string(t.edit->GetText()), "abc");
    EXPECT_EQ(t.bed.Count("textchanged"), 3);
    EXPECT_EQ(t.bed.notes.back().senderPtr, t.edit);

    SendMessageA(editor, WM_KEYDOWN, VK_RETURN, 1);
    EXPECT_EQ(t.bed.Count("return"), 1);
    EXPECT_EQ(t.bed.notes.back().sender, "edit");
    EXPECT_EQ(WindowText(editor), "abc");

    // Setting the text while open replaces both, and the editor reports it as a change.
    t.edit->SetText("xyz");
    EXPECT_EQ(WindowText(editor), "xyz");
    EXPECT_EQ(t.bed.Count("textchanged"), 4);

    t.bed.Click(50, 15);
    t.bed.Pump();
    EXPECT_FALSE(IsWindow(editor));
    EXPECT_EQ(t.edit->GetEditWindow(), nullptr);
    EXPECT_EQ(std::string(t.edit->GetText()), "xyz");
    EXPECT_EQ(t.bed.Host().GetFocusControl(), t.other);
}

TEST(Edit, LimitsAndDigitsOnlyApplyToTyping)
{
    struct Case {
        const char* beforeOpen;  // attribute list applied while closed
        const char* whileOpen;  // attribute list applied to the open editor
        const char* typed;
        const char* expected;
    };
    const Case cases[] = {
        {"maxchar=\"3\"", "", "12345", "123"},
        {"", "maxchar=\"2\"", "12345", "12"},
        {"numberonly=\"true\"", "", "a1b2", "12"},
        {"numberonly=\"true\" numberonly=\"false\"", "", "a1", "a1"},
        {"readonly=\"true\"", "", "abc", ""},
        {"readonly=\"true\"", "readonly=\"false\"", "abc", "abc"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.beforeOpen) + " | " + c.whileOpen);
        EditBed t;
        t.edit->ApplyAttributeText(c.beforeOpen);
        HWND editor = t.Open();
        ASSERT_NE(editor, nullptr);
        t.edit->ApplyAttributeText(c.whileOpen);
        t.Type(editor, c.typed);
        EXPECT_EQ(std::string(t.edit->GetText()), c.expected);
        EXPECT_EQ(WindowText(editor), c.expected);
    }
}

TEST(Edit, PasswordPaintsOnlyThePasswordCharacter)
{
    HostBed bed;
    auto* root = new CVerticalLayoutUI;
    const char* texts[] = {"abc", "***", "abc"};
    CEditUI* edits[3] = {};
    for (int i = 0; i < 3; ++i) {
        edits[i] = new CEditUI;
        edits[i]->SetFixedHeight(30);
        edits[i]->SetText(texts[i]);
        root->AddChild(edits[i]);
    }
    edits[0]->SetAttribute("password", "true");
    bed.Attach(root);
    bed.Host().SetFocusControl(nullptr);
    bed.Pump();
    bed.Repaint();

    int width = 0;
    int height = 0;
    const std::vector<uint32_t> pixels = testbed::ReadBitmap(bed.Host().GetOffscreenBitmap(), width, height);
    ASSERT_GE(height, 90);
    // Rows 0-29 hold the password edit, 30-59 the plain "***", 60-89 the plain "abc".
    auto band = [&](int index) {
        return std::vector<uint32_t>(pixels.begin() + index * 30 * width, pixels.begin() + (index + 1) * 30 * width);
    };
    EXPECT_TRUE(band(0) == band(1)) << "the password edit must look like three asterisks";
    EXPECT_FALSE(band(0) == band(2)) << "the password edit must not show its text";
}

TEST(Edit, DestroyedWithItsEditorOpenLeavesNothingBehind)
{
    enum How { RemovedNow, RemovedLater, RemovedOnReturn, RemovedOnChange, RemovedOnResize };
    struct Context {
        How how;
        CVerticalLayoutUI* root;
        CControlUI* edit;
    };
    for (How how : {RemovedNow, RemovedLater, RemovedOnReturn, RemovedOnChange, RemovedOnResize}) {
        SCOPED_TRACE(how);
        testbed::FaultCounter faults;
        EditBed t(new Watched<CEditUI>);
        Context context = {how, t.root, t.edit};
        t.root->SetDefersChildDestroy(how == RemovedLater);
        t.bed.user = &context;
        t.bed.onNotify = [](HostBed& bed, TNotifyEvent& event) {
            Context* c = static_cast<Context*>(bed.user);
            const bool now = (c->how == RemovedOnReturn && event.Type == "return")
                || (c->how == RemovedOnChange && event.Type == "textchanged")
                || (c->how == RemovedOnResize && event.Type == "killfocus" && event.Sender == c->edit);
            if (now && c->root->IndexOfChild(c->edit) >= 0)
                c->root->RemoveChild(c->edit);
        };
        HWND editor = t.Open();
        ASSERT_NE(editor, nullptr);
        if (how == RemovedNow || how == RemovedLater)
            t.root->RemoveChild(t.edit);
        else if (how == RemovedOnResize)
            SetWindowPos(t.bed.Hwnd(), nullptr, 0, 0, 400, 200, SWP_NOZORDER | SWP_NOACTIVATE);
        else if (how == RemovedOnReturn)
            SendMessageA(editor, WM_KEYDOWN, VK_RETURN, 1);
        else
            t.Type(editor, "a");
        t.bed.Pump();
        EXPECT_FALSE(Watched<CEditUI>::IsLive());
        EXPECT_FALSE(IsWindow(editor));
        PostMessageA(editor, WM_CHAR, 'x', 1);
        t.bed.Pump();
        t.bed.Repaint();
        EXPECT_TRUE(Watched<CEditUI>::FreedBytesUntouched());
        EXPECT_EQ(faults.Faults(), 0);
        EXPECT_NE(t.bed.Host().GetFocusControl(), context.edit);
    }
}

TEST(Edit, RefusedEditorLeavesTheEditClosedAndTheWheelFree)
{
    EditBed t;
    {
        RefusedWindowClass refuse("EditWnd");
        EXPECT_EQ(t.Open(), nullptr);
        t.bed.Click(50, 15);
        EXPECT_EQ(t.Open(), nullptr);
        // Each click tries twice: when the edit gains the focus, and at the press itself.
        EXPECT_EQ(refuse.Refusals(), 4);
        EXPECT_EQ(t.bed.Host().GetFocusControl(), t.edit);
        testbed::TurnWheel(t.bed.Hwnd(), 50, 45);
        EXPECT_EQ(t.root->wheels, 1);
    }
    // Nothing was left set: the next focus opens the editor.
    t.bed.Click(50, 15);
    HWND editor = t.Open();
    ASSERT_NE(editor, nullptr);
    testbed::TurnWheel(t.bed.Hwnd(), 50, 45);
    EXPECT_EQ(t.root->wheels, 1);
}

TEST(Edit, HiddenOrDisabledEditClosesItsEditor)
{
    enum How { Disabled, Hidden, ParentHidden };
    for (How how : {Disabled, Hidden, ParentHidden}) {
        SCOPED_TRACE(how);
        testbed::FaultCounter faults;
        EditBed t;
        t.edit->SetText("keep");
        HWND editor = t.Open();
        ASSERT_NE(editor, nullptr);
        const int changes = t.bed.Count("textchanged");
        if (how == Disabled)
            t.edit->SetEnabled(false);
        else if (how == Hidden)
            t.edit->SetVisible(false);
        else
            t.edit->SetVisibleByParent(false);
        t.bed.Pump();
        EXPECT_FALSE(IsWindow(editor));
        EXPECT_EQ(t.edit->GetEditWindow(), nullptr);
        SendMessageA(editor, WM_CHAR, 'x', 1);
        t.bed.Pump();
        EXPECT_EQ(std::string(t.edit->GetText()), "keep");
        EXPECT_EQ(t.bed.Count("textchanged"), changes);
    }
}

TEST(Edit, ResizeReopensTheEditorAtTheNewPlace)
{
    EditBed t(new CEditUI, true);
    HWND editor = t.Open();
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(ChildRect(editor).right, 296);
    SetWindowPos(t.bed.Hwnd(), nullptr, 0, 0, 400, 200, SWP_NOZORDER | SWP_NOACTIVATE);
    t.bed.Pump();
    EXPECT_FALSE(IsWindow(editor));
    HWND reopened = t.edit->GetEditWindow();
    ASSERT_NE(reopened, nullptr);
    // Full width 400 less the right text padding of 4.
    EXPECT_EQ(ChildRect(reopened).right, 396);
    EXPECT_EQ(t.bed.Host().GetFocusControl(), t.edit);
}

TEST(Edit, NativeBackgroundColourPaintsTheOpenEditor)
{
    struct Case {
        const char* colour;
        bool brush;
    };
    for (const Case& c : {Case{"#FF336699", true}, Case{"#FFFFFFFF", false}}) {
        SCOPED_TRACE(c.colour);
        EditBed t;
        t.edit->SetAttribute("nativebkcolor", c.colour);
        HWND editor = t.Open();
        ASSERT_NE(editor, nullptr);
        testbed::DibCanvas canvas(4, 4);
        const LRESULT answer
            = t.bed.Send(WM_CTLCOLOREDIT, reinterpret_cast<WPARAM>(canvas.Dc()), reinterpret_cast<LPARAM>(editor));
        EXPECT_EQ(answer != 0, c.brush);
        if (answer != 0) {
            LOGBRUSH brush = {};
            GetObjectA(reinterpret_cast<HBRUSH>(answer), sizeof(brush), &brush);
            EXPECT_EQ(brush.lbColor, RGB(0x33, 0x66, 0x99));
            EXPECT_EQ(GetBkMode(canvas.Dc()), TRANSPARENT);
        }
    }
}

TEST(Edit, OpenEditorFollowsAChangeOfDpiWithItsFontAndPlace)
{
    EditBed t(new CEditUI, true);
    HWND editor = t.Open();
    ASSERT_NE(editor, nullptr);
    const auto fontHeight = [](HWND window) {
        LOGFONTA lf = {};
        GetObjectA(reinterpret_cast<HFONT>(SendMessageA(window, WM_GETFONT, 0, 0)), sizeof(lf), &lf);
        return lf.lfHeight;
    };
    const LONG height = fontHeight(editor);
    EXPECT_EQ(ChildRect(editor).right, 296);

    RECT window = {}, client = {};
    GetWindowRect(t.bed.Hwnd(), &window);
    GetClientRect(t.bed.Hwnd(), &client);
    RECT suggested = {window.left, window.top, window.right + client.right, window.bottom + client.bottom};
    t.bed.Send(WM_DPICHANGED, MAKEWPARAM(192, 192), reinterpret_cast<LPARAM>(&suggested));
    t.bed.Pump();
    HWND now = t.edit->GetEditWindow();
    ASSERT_NE(now, nullptr);
    // The host's font for 192 DPI (the old handle is gone), twice as tall.
    EXPECT_EQ(reinterpret_cast<HFONT>(SendMessageA(now, WM_GETFONT, 0, 0)), t.bed.Host().FontHandleAt(-1));
    EXPECT_EQ(2 * height, fontHeight(now));
    // Full width 600 less the right text padding of 4 at twice the scale.
    EXPECT_EQ(ChildRect(now).right, 592);
    EXPECT_EQ(t.bed.Host().GetFocusControl(), t.edit);
}
