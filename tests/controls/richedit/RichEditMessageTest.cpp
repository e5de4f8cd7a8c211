// The rich edit at the message level, against a stand-in for the text services that records what
// it is sent: characters as UTF-16, Return, the text host's answers (odd arguments, password
// character, notifications, timers), mouse routing and scroll messages.
#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

#include "controls/FakeTextServices.h"
#include "controls/RichEditBed.h"
#include "controls/text/Button.h"
#include "controls/range/ScrollBar.h"
#include "controls/range/Slider.h"
#include "controls/layout/VerticalLayout.h"

using namespace SkinUI;
using testbed::FakeServicesScope;
using testbed::FakeTextServices;
using testbed::KeyDownScope;
using testbed::RichEditBed;

namespace {

// A focused editor on fake services, fed `bytes` as WM_CHAR; answers the UTF-16 units the
// services got.
std::vector<WPARAM> CharsSentFor(const std::string& bytes)
{
    FakeServicesScope scope;
    RichEditBed b;
    FakeTextServices* fake = FakeTextServices::Last();
    EXPECT_NE(nullptr, fake);
    if (fake == nullptr)
        return {};
    b.edit->TakeFocus();
    b.Type(bytes);
    return fake->Params(WM_CHAR);
}

typedef std::vector<WPARAM> Units;

TEST(RichEditChars, CompleteCharactersReachTheServicesAsUtf16)
{
    ASSERT_EQ(1252u, ::GetACP());
    EXPECT_EQ(Units({'a', 'Z', ' '}), CharsSentFor("aZ "));
    EXPECT_EQ(Units({0xE9}), CharsSentFor("\xE9"));
    EXPECT_EQ(Units({0x20AC, 0x2030}), CharsSentFor("\x80\x89"));
}

TEST(RichEditChars, DoubleBytePairsBecomeOneCharacterCp936)
{
    ASSERT_EQ(936u, ::GetACP());
    EXPECT_EQ(Units({0x4F60}), CharsSentFor("\xC4\xE3"));
    EXPECT_EQ(Units({'a', 0x4F60, 0x597D, 'b'}),
        CharsSentFor("a\xC4\xE3\xBA\xC3"
                     "b"));
    // A lead byte waits for its trail byte.
    EXPECT_EQ(Units(), CharsSentFor("\xC4"));
}

TEST(RichEditChars, SingleBytesOfTheCodePageCp1251)
{
    ASSERT_EQ(1251u, ::GetACP());
    EXPECT_EQ(Units({0x0440, 'x'}), CharsSentFor("\xF0x"));
}

TEST(RichEditChars, NothingReachesAnEditorWithoutFocus)
{
    FakeServicesScope scope;
    RichEditBed b;
    b.button->TakeFocus();
    b.Type("ab");
    b.bed.Send(WM_KEYDOWN, VK_LEFT, 1);
    EXPECT_EQ(0, FakeTextServices::Last()->Count(WM_CHAR));
    EXPECT_EQ(0, FakeTextServices::Last()->Count(WM_KEYDOWN));
}

TEST(RichEditText, GetTextTakesEveryByteTheServicesCount)
{
    FakeServicesScope scope;
    RichEditBed b;
    FakeTextServices* fake = FakeTextServices::Last();
    // Four CJK characters as a UTF-8 code page gives them: 12 bytes for 4 UTF-16 units.
    fake->bytes = "\xE4\xBD\xA0\xE5\xA5\xBD\xE4\xB8\x96\xE7\x95\x8C";
    fake->units = 4;
    EXPECT_EQ(fake->bytes, b.Text());
    fake->bytes.clear();
    fake->units = 0;
    EXPECT_EQ("", b.Text());
}

TEST(RichEditMessages, ReturnIsTakenWhenTheEditorDoesNotWantIt)
{
    struct TCase {
        const char* attributes;
        bool ctrl;
        bool announced;
    } cases[] = {
        {"", false, false},
        {"", true, false},
        {"multiline=\"false\"", false, true},
        {"multiline=\"no\"", false, false},
        {"wantreturn=\"false\"", false, true},
        {"wantctrlreturn=\"false\"", false, false},
        {"wantctrlreturn=\"false\"", true, true},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(std::string(c.attributes) + (c.ctrl ? " with Ctrl" : ""));
        FakeServicesScope scope;
        RichEditBed b(c.attributes);
        FakeTextServices* fake = FakeTextServices::Last();
        b.edit->TakeFocus();
        {
            KeyDownScope ctrl(c.ctrl ? VK_CONTROL : VK_NONAME);
            b.Press(VK_RETURN, '\r');
        }
        EXPECT_EQ(c.announced ? 1 : 0, b.bed.Count("return"));
        const std::vector<WPARAM> keys = fake->Params(WM_KEYDOWN);
        EXPECT_EQ(c.announced ? 0u : 1u, keys.size());
        // The character that follows an announced Return is not inserted either.
        EXPECT_EQ(c.announced ? Units() : Units({'\r'}), fake->Params(WM_CHAR));
        b.Type("a");
        EXPECT_EQ('a', fake->Params(WM_CHAR).back());
    }
}

TEST(RichEditMessages, AReturnListenerMayDestroyTheEditor)
{
    FakeServicesScope scope;
    RichEditBed b("wantreturn=\"false\"");
    CContainerUI* column = ControlCast<CContainerUI>(b.edit->GetParent());
    ASSERT_NE(nullptr, column);
    column->SetDefersChildDestroy(false);
    b.bed.user = column;
    b.bed.onNotify = [](testbed::HostBed& bed, TNotifyEvent& event) {
        if (event.Type == "return")
            static_cast<CContainerUI*>(bed.user)->RemoveChild(event.Sender);
    };
    b.edit->TakeFocus();
    b.Press(VK_RETURN, '\r');
    EXPECT_EQ(nullptr, b.bed.Host().FindControlByName("edit"));
    EXPECT_EQ(nullptr, FakeTextServices::Last());  // released with the editor
    b.Type("a");
    b.bed.Click(50, 50);
}

TEST(RichEditHost, AttributesBecomeWhatTheServicesAreTold)
{
    const DWORD defaults = TXTBIT_MULTILINE | TXTBIT_RICHTEXT | TXTBIT_HIDESELECTION | TXTBIT_WORDWRAP;
    struct TCase {
        const char* attributes;
        DWORD bits;
        DWORD scrollBars;
        WORD alignment;
    } cases[] = {
        {"", defaults, 0, PFA_LEFT},
        {"multiline=\"false\" rich=\"false\"", TXTBIT_HIDESELECTION | TXTBIT_WORDWRAP, 0, PFA_LEFT},
        {"multiline=\"true\" readonly=\"true\"", defaults | TXTBIT_READONLY, 0, PFA_LEFT},
        {"readonly=\"TRUE\"", defaults, 0, PFA_LEFT},
        {"hscrollbar=\"true\"", defaults & ~TXTBIT_WORDWRAP, WS_HSCROLL | ES_DISABLENOSCROLL, PFA_LEFT},
        {"vscrollbar=\"true\" autovscroll=\"true\"", defaults, WS_VSCROLL | ES_DISABLENOSCROLL | ES_AUTOVSCROLL,
            PFA_LEFT},
        {"autohscroll=\"true\"", defaults & ~TXTBIT_WORDWRAP, ES_AUTOHSCROLL, PFA_LEFT},
        {"align=\"center\"", defaults, 0, PFA_CENTER},
        {"align=\"center right\"", defaults, 0, PFA_RIGHT},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.attributes);
        FakeServicesScope scope;
        RichEditBed b(std::string(c.attributes) + " textcolor=\" #FF112233\"");
        ITextHost* host = FakeTextServices::Last()->host;
        DWORD bits = 0;
        host->TxGetPropertyBits(~0u, &bits);
        EXPECT_EQ(c.bits, bits);
        DWORD scrollBars = 0;
        host->TxGetScrollBars(&scrollBars);
        EXPECT_EQ(c.scrollBars, scrollBars);
        const PARAFORMAT* paragraph = nullptr;
        ASSERT_EQ(S_OK, host->TxGetParaFormat(&paragraph));
        EXPECT_EQ(c.alignment, paragraph->wAlignment);
        const CHARFORMATW* character = nullptr;
        ASSERT_EQ(S_OK, host->TxGetCharFormat(&character));
        EXPECT_EQ(RGB(0x11, 0x22, 0x33), character->crTextColor);
    }
}

TEST(RichEditHost, PasswordCharacterIsAWholeUtf16Unit)
{
    struct TCase {
        const char* attributes;
        WCHAR expected;
    } cases[] = {{"password=\"true\"", L'*'}, {"password=\"yes\"", 0}, {"", 0}};
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.attributes);
        FakeServicesScope scope;
        RichEditBed b(c.attributes);
        WCHAR unit = 0xFFFF;
        EXPECT_EQ(S_OK, FakeTextServices::Last()->host->TxGetPasswordChar(reinterpret_cast<TCHAR*>(&unit)));
        EXPECT_EQ(c.expected, unit);
        DWORD bits = 0;
        FakeTextServices::Last()->host->TxGetPropertyBits(TXTBIT_USEPASSWORD | TXTBIT_MULTILINE, &bits);
        EXPECT_EQ(static_cast<DWORD>(TXTBIT_MULTILINE | (c.expected != 0 ? TXTBIT_USEPASSWORD : 0)), bits);
    }
}

TEST(RichEditHost, OddArgumentsAreAnsweredWithoutCrashing)
{
    FakeServicesScope scope;
    RichEditBed b("vscrollbar=\"true\"");
    ITextHost* host = FakeTextServices::Last()->host;
    EXPECT_EQ(E_POINTER, host->QueryInterface(IID_IUnknown, nullptr));
    void* object = &object;
    EXPECT_EQ(E_NOINTERFACE, host->QueryInterface(IID_IDispatch, &object));
    EXPECT_EQ(nullptr, object);
    // The published identifier and the one some builds of the services ask for.
    for (const IID& iid : {IID{0xC5BDD8D0, 0xD26E, 0x11CE, {0xA8, 0x9E, 0x00, 0xAA, 0x00, 0x6C, 0xAD, 0xC5}},
             IID{0x13E670F4, 0x1A5A, 0x11CF, {0xAB, 0xEB, 0x00, 0xAA, 0x00, 0xB6, 0x5E, 0xA1}}}) {
        ASSERT_EQ(S_OK, host->QueryInterface(iid, &object));
        EXPECT_EQ(static_cast<void*>(host), object);
        host->Release();
    }
    EXPECT_EQ(E_INVALIDARG, host->TxGetClientRect(nullptr));
    EXPECT_EQ(E_INVALIDARG, host->TxGetViewInset(nullptr));
    EXPECT_EQ(E_INVALIDARG, host->TxGetCharFormat(nullptr));
    EXPECT_EQ(E_INVALIDARG, host->TxGetParaFormat(nullptr));
    EXPECT_EQ(E_INVALIDARG, host->TxGetBackStyle(nullptr));
    EXPECT_EQ(E_INVALIDARG, host->TxGetMaxLength(nullptr));
    EXPECT_EQ(E_INVALIDARG, host->TxGetScrollBars(nullptr));
    EXPECT_EQ(E_INVALIDARG, host->TxGetPasswordChar(nullptr));
    EXPECT_EQ(E_INVALIDARG, host->TxGetAcceleratorPos(nullptr));
    EXPECT_EQ(E_INVALIDARG, host->TxGetExtent(nullptr));
    EXPECT_EQ(E_INVALIDARG, host->TxGetPropertyBits(~0u, nullptr));
    EXPECT_EQ(E_INVALIDARG, host->TxGetSelectionBarWidth(nullptr));
    EXPECT_FALSE(host->TxScreenToClient(nullptr));
    EXPECT_FALSE(host->TxClientToScreen(nullptr));
    EXPECT_EQ(S_OK, host->TxNotify(EN_REQUESTRESIZE, nullptr));
    EXPECT_EQ(S_OK, host->TxNotify(EN_SELCHANGE, nullptr));
    host->TxInvalidateRect(nullptr, TRUE);
    EXPECT_FALSE(host->TxSetScrollRange(7, 0, 10, TRUE));
    EXPECT_FALSE(host->TxSetScrollPos(-1, 10, TRUE));
    EXPECT_FALSE(host->TxEnableScrollBar(42, ESB_ENABLE_BOTH));
    EXPECT_TRUE(host->TxShowScrollBar(SB_BOTH, TRUE));  // no horizontal bar: only the vertical one
    EXPECT_EQ(nullptr, b.edit->GetHorizontalScrollBar());
    // A range wider than an int is clamped, not wrapped into a negative range.
    EXPECT_TRUE(host->TxSetScrollRange(SB_VERT, LONG_MIN, INT_MAX, TRUE));
    EXPECT_EQ(INT_MAX, b.edit->GetVerticalScrollBar()->GetRange());
    EXPECT_TRUE(b.edit->GetVerticalScrollBar()->IsVisible());
    EXPECT_TRUE(host->TxSetScrollRange(SB_VERT, 0, 50, TRUE));  // fits in the 100 pixels
    EXPECT_FALSE(b.edit->GetVerticalScrollBar()->IsVisible());
}

// Past 16 bits the services scale their range down to 0..0xFFFF (8,000 lines of 16 pixels here):
// the 100 pixel page is scaled with it, so the bar's end is the text's end.
TEST(RichEditHost, ScaledScrollRangesKeepThePageInTheSameUnits)
{
    struct TCase {
        const char* what;
        LONG unscaledMax;  // what the services hold
        INT rangeMax;  // what they report
        int barRange;
    };
    const TCase cases[] = {
        {"not scaled", 5000, 5000, 4900},
        // 65535 - 100 * 65535 / 128000 = 65535 - 51.
        {"scaled", 128000, 65535, 65484},
        {"services that report nothing", 0, 65535, 65435},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.what);
        FakeServicesScope scope;
        RichEditBed b("vscrollbar=\"true\"");
        FakeTextServices* fake = FakeTextServices::Last();
        fake->verticalMax = c.unscaledMax;
        EXPECT_TRUE(fake->host->TxSetScrollRange(SB_VERT, 0, c.rangeMax, TRUE));
        EXPECT_EQ(c.barRange, b.edit->GetVerticalScrollBar()->GetRange());
    }
}

TEST(RichEditHost, CallsAfterTheEditorIsGoneAreHarmless)
{
    FakeServicesScope scope;
    RichEditBed b;
    ITextHost* host = FakeTextServices::Last()->host;
    host->AddRef();  // as services still busy in a call would hold it
    IContainerUI* column = ControlCast<IContainerUI>(b.edit->GetParent());
    column->RemoveChild(b.edit);
    b.bed.Pump();
    ASSERT_EQ(nullptr, b.bed.Host().FindControlByName("edit"));
    host->TxSetFocus();
    host->TxViewChange(TRUE);
    EXPECT_FALSE(host->TxSetTimer(1, 10));
    host->TxSetCapture(TRUE);
    EXPECT_EQ(nullptr, ::GetCapture());
    EXPECT_EQ(nullptr, host->TxGetDC());
    EXPECT_FALSE(host->TxShowScrollBar(SB_VERT, TRUE));
    EXPECT_FALSE(host->TxEnableScrollBar(SB_VERT, ESB_ENABLE_BOTH));
    SELCHANGE change = {};
    EXPECT_EQ(S_OK, host->TxNotify(EN_SELCHANGE, &change));
    EXPECT_EQ(nullptr, change.nmhdr.hwndFrom);
    ASSERT_NE(nullptr, FakeTextServices::Last());
    host->Release();  // the last reference: the services go with it
    EXPECT_EQ(nullptr, FakeTextServices::Last());
}

TEST(RichEditHost, ParentNotificationsGoToTheWindowAndResizeRequestsToTheClientRect)
{
    struct Recorder : IMessageFilterUI {
        std::vector<UINT> codes;
        LRESULT FilterMessage(UINT message, WPARAM, LPARAM lParam, bool&) override
        {
            if (message == WM_NOTIFY)
                codes.push_back(reinterpret_cast<const NMHDR*>(lParam)->code);
            return 0;
        }
    } recorder;
    FakeServicesScope scope;
    RichEditBed b("inset=\"4,6,0,0\"");
    b.bed.Host().AddWindowMessageFilter(&recorder);
    ITextHost* host = FakeTextServices::Last()->host;
    ENLINK link = {};
    SELCHANGE change = {};
    NMHDR plain = {};
    host->TxNotify(EN_LINK, &link);
    host->TxNotify(EN_SELCHANGE, &change);
    host->TxNotify(EN_CHANGE, &plain);
    host->TxNotify(EN_UPDATE, &plain);
    EXPECT_EQ(std::vector<UINT>({EN_LINK, EN_SELCHANGE}), recorder.codes);
    EXPECT_EQ(b.bed.Hwnd(), change.nmhdr.hwndFrom);

    REQRESIZE resize = {};
    resize.rc = {100, 100, 150, 130};
    host->TxNotify(EN_REQUESTRESIZE, &resize);
    EXPECT_TRUE(testbed::RectIs(b.edit->GetTextHost()->GetClientRect(), 4, 6, 54, 36));
    EXPECT_EQ(2u, recorder.codes.size());
    b.bed.Host().RemoveWindowMessageFilter(&recorder);
}

TEST(RichEditHost, ServiceTimersComeBackAsTimerMessagesAndNotifications)
{
    FakeServicesScope scope;
    RichEditBed b;
    FakeTextServices* fake = FakeTextServices::Last();
    ASSERT_TRUE(fake->host->TxSetTimer(7, 10));
    EXPECT_TRUE(testbed::PumpUntil([&] { return fake->Count(WM_TIMER) > 0; }, 2000));
    fake->host->TxKillTimer(7);
    EXPECT_EQ(7u, fake->Params(WM_TIMER).front());
    EXPECT_GE(b.bed.Count("timer"), 1);
}

TEST(RichEditMouse, OnlyPressesOnTheTextAreaReachTheServices)
{
    FakeServicesScope scope;
    RichEditBed b("inset=\"5,5,5,5\"");
    FakeTextServices* fake = FakeTextServices::Last();
    b.bed.Click(2, 2);  // the inset, not the text: the host holds that press and ends it
    EXPECT_EQ(0, fake->Count(WM_LBUTTONDOWN));
    EXPECT_EQ(nullptr, b.bed.Host().GetPressedControl());
    EXPECT_EQ(nullptr, ::GetCapture());
    b.bed.Click(50, 50);
    EXPECT_EQ(1, fake->Count(WM_LBUTTONDOWN));
    EXPECT_EQ(b.edit, b.bed.Host().GetFocusControl());
}

// A mouse message as the window's queue delivers it.
void PostMouse(RichEditBed& b, UINT message, WPARAM wParam, int x, int y)
{
    ::PostMessageA(b.bed.Hwnd(), message, wParam, testbed::Pt(x, y));
    b.bed.Pump();
}

int SliderValue(CControlUI* other) { return ControlCast<CSliderUI>(other)->GetValue(); }

TEST(RichEditMouse, AnotherControlsPressKeepsItsMovesAndRelease)
{
    // The control under the editor (named "other") is pressed at `press`, dragged over the text
    // to (100, 50) and released at (200, 50); the checks see it after the move and the release.
    struct TCase {
        const char* below;
        POINT press;
        void (*afterMove)(RichEditBed& b, CControlUI* other);
        void (*afterRelease)(RichEditBed& b, CControlUI* other);
    } cases[] = {
        {"<Button name=\"other\" height=\"40\"/>", {150, 120}, [](RichEditBed&, CControlUI*) {},
            [](RichEditBed& b, CControlUI* other) {
                EXPECT_EQ(0, b.bed.Count("click"));
                EXPECT_EQ(0u, ControlCast<CButtonUI>(other)->GetButtonState() & StatePushed);
            }},
        // Thumb 10 x 10 at the left end of a 300-wide track: value = 1000 * (x - 5) / 290.
        {"<Slider name=\"other\" height=\"40\" max=\"1000\"/>", {5, 120},
            [](RichEditBed&, CControlUI* other) { EXPECT_EQ(327, SliderValue(other)); },
            [](RichEditBed& b, CControlUI* other) {
                EXPECT_EQ(672, SliderValue(other));
                EXPECT_EQ(1, b.bed.Count("valuechanged"));
            }},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.below);
        // Services that answer "done" to everything, as the real ones do for moves and releases.
        FakeServicesScope scope;
        RichEditBed b("", c.below);
        FakeTextServices* fake = FakeTextServices::Last();
        CControlUI* other = b.bed.Host().FindControlByName("other");
        ASSERT_NE(nullptr, other);
        PostMouse(b, WM_MOUSEMOVE, 0, c.press.x, c.press.y);
        PostMouse(b, WM_LBUTTONDOWN, MK_LBUTTON, c.press.x, c.press.y);
        ASSERT_EQ(other, b.bed.Host().GetPressedControl());
        fake->sent.clear();  // moves the window system made up before the press are the editor's
        PostMouse(b, WM_MOUSEMOVE, MK_LBUTTON, 100, 50);
        c.afterMove(b, other);
        // Counted before the release: ending the capture may queue a move of its own, which is
        // the editor's to have.
        EXPECT_EQ(0, fake->Count(WM_MOUSEMOVE));
        PostMouse(b, WM_LBUTTONUP, 0, 200, 50);
        c.afterRelease(b, other);
        EXPECT_EQ(0, fake->Count(WM_LBUTTONUP));
        EXPECT_EQ(nullptr, b.bed.Host().GetPressedControl());
        EXPECT_EQ(nullptr, ::GetCapture());
    }
}

TEST(RichEditMouse, ACaptureTakenAwayFromTheServicesEndsTheirHold)
{
    FakeServicesScope scope;
    RichEditBed b;
    FakeTextServices* fake = FakeTextServices::Last();
    fake->host->TxSetCapture(TRUE);
    ASSERT_EQ(b.bed.Hwnd(), ::GetCapture());
    b.bed.MoveTo(150, 120);  // over the button, but the services hold the mouse
    EXPECT_EQ(1, fake->Count(WM_MOUSEMOVE));
    testbed::TestWindow other;
    ::SetCapture(other.Handle());
    EXPECT_EQ(1, fake->Count(WM_CAPTURECHANGED));
    b.bed.MoveTo(150, 125);
    EXPECT_EQ(1, fake->Count(WM_MOUSEMOVE));
    EXPECT_NE(0u, ControlCast<CButtonUI>(b.button)->GetButtonState() & StateHot);
    ::ReleaseCapture();
}

// Services holding the mouse when their editor can take no more input: the host ends the
// capture, the services hear of it, and the next click reaches the control under the pointer.
TEST(RichEditMouse, AnEditorHiddenDisabledOrRemovedGivesUpTheServicesCapture)
{
    struct TCase {
        const char* what;
        void (*apply)(RichEditBed& b);
        bool told;  // the services, still alive, get WM_CAPTURECHANGED
    };
    const TCase cases[] = {
        {"hidden", [](RichEditBed& b) { b.edit->SetVisible(false); }, true},
        {"disabled", [](RichEditBed& b) { b.edit->SetEnabled(false); }, true},
        {"removed",
            [](RichEditBed& b) {
                ControlCast<IContainerUI>(b.edit->GetParent())->RemoveChild(b.edit);
                b.bed.Pump();
            },
            false},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.what);
        FakeServicesScope scope;
        RichEditBed b;
        FakeTextServices* fake = FakeTextServices::Last();
        fake->host->TxSetCapture(TRUE);
        ASSERT_EQ(b.bed.Hwnd(), ::GetCapture());
        c.apply(b);
        EXPECT_EQ(nullptr, ::GetCapture());
        if (c.told) {
            EXPECT_EQ(1, fake->Count(WM_CAPTURECHANGED));
            EXPECT_FALSE(b.edit->GetTextHost()->IsCaptured());
        }
        b.bed.Repaint();
        const CRectUI r = b.button->GetPosition();
        b.bed.Click((r.left + r.right) / 2, (r.top + r.bottom) / 2);
        EXPECT_EQ(1, b.bed.Count("click"));
    }
}

// An editor moved into another window (as a drop-down borrows a combo's rows) takes that
// window's messages, and no longer its first window's.
TEST(RichEditHost, AnEditorMovedToAnotherWindowFiltersThatWindowsMessages)
{
    FakeServicesScope scope;
    RichEditBed b;
    FakeTextServices* fake = FakeTextServices::Last();
    ASSERT_NE(nullptr, fake);
    testbed::HostBed other;
    auto* column = new CVerticalLayoutUI;
    other.Attach(column);
    auto* from = ControlCast<CContainerUI>(b.edit->GetParent());
    from->SetOwnsChildren(false);
    ASSERT_TRUE(from->RemoveChild(b.edit));
    from->SetOwnsChildren(true);
    ASSERT_TRUE(column->AddChild(b.edit));
    other.Repaint();
    b.edit->TakeFocus();
    ASSERT_EQ(b.edit, other.Host().GetFocusControl());
    fake->sent.clear();
    other.Send(WM_CHAR, 'a', 1);
    EXPECT_EQ(1, fake->Count(WM_CHAR));
    b.bed.Send(WM_CHAR, 'b', 1);
    EXPECT_EQ(1, fake->Count(WM_CHAR)) << "the first window's keys are not the editor's any more";
}

TEST(RichEditScroll, ScrollOperationsBecomeScrollMessages)
{
    typedef void (CRichEditUI::*Operation)();
    struct TCase {
        Operation operation;
        UINT message;
        WPARAM code;
    } cases[] = {
        {&CRichEditUI::ScrollLineUp, WM_VSCROLL, SB_LINEUP},
        {&CRichEditUI::ScrollLineDown, WM_VSCROLL, SB_LINEDOWN},
        {&CRichEditUI::ScrollPageUp, WM_VSCROLL, SB_PAGEUP},
        {&CRichEditUI::ScrollPageDown, WM_VSCROLL, SB_PAGEDOWN},
        {&CRichEditUI::ScrollToTop, WM_VSCROLL, SB_TOP},
        {&CRichEditUI::ScrollToBottom, WM_VSCROLL, SB_BOTTOM},
        {&CRichEditUI::ScrollLineLeft, WM_HSCROLL, SB_LINEUP},
        {&CRichEditUI::ScrollLineRight, WM_HSCROLL, SB_LINEDOWN},
        {&CRichEditUI::ScrollPageLeft, WM_HSCROLL, SB_PAGEUP},
        {&CRichEditUI::ScrollPageRight, WM_HSCROLL, SB_PAGEDOWN},
        {&CRichEditUI::ScrollToLeftEnd, WM_HSCROLL, SB_TOP},
        {&CRichEditUI::ScrollToRightEnd, WM_HSCROLL, SB_BOTTOM},
    };
    FakeServicesScope scope;
    RichEditBed b;
    FakeTextServices* fake = FakeTextServices::Last();
    for (const TCase& c : cases) {
        fake->sent.clear();
        (b.edit->*c.operation)();
        ASSERT_EQ(1u, fake->sent.size());
        EXPECT_EQ(c.message, fake->sent[0].message);
        EXPECT_EQ(c.code, fake->sent[0].wParam);
    }
}

TEST(RichEditScroll, MovingOurBarTellsTheServicesTheNewPosition)
{
    FakeServicesScope scope;
    RichEditBed b("vscrollbar=\"true\"");
    FakeTextServices* fake = FakeTextServices::Last();
    ASSERT_TRUE(fake->host->TxSetScrollRange(SB_VERT, 0, 400, TRUE));
    b.bed.Repaint();
    fake->sent.clear();
    b.edit->SetScrollPosition(CSizeUI(0, 120));
    EXPECT_EQ(WPARAM(MAKEWPARAM(SB_THUMBPOSITION, 120)), fake->Params(WM_VSCROLL).at(0));
    b.edit->SetScrollPosition(CSizeUI(0, 120));  // no change, no message
    EXPECT_EQ(1, fake->Count(WM_VSCROLL));
    EXPECT_EQ(0, fake->Count(WM_HSCROLL));
}

}  // namespace
