// A host at another DPI: controls keep the 96-DPI values they were given, and layout, fonts and
// scroll bars follow the window's DPI; WM_DPICHANGED there and back restores everything exactly.
// Expected rectangles carry their sums at the DPI in question (halves round away from zero).
#include <gtest/gtest.h>

#include <string>

#include <windows.h>

#include <commctrl.h>

#include "support/HostBed.h"
#include "controls/PopupTestSupport.h"
#include "controls/layout/VerticalLayout.h"
#include "controls/list/ListElement.h"
#include "controls/native/Combo.h"
#include "controls/native/ComboWnd.h"
#include "controls/native/DateTime.h"
#include "controls/range/ScrollBar.h"
#include "controls/text/Label.h"

using namespace SkinUI;
using testbed::HostBed;
using testbed::Probe;
using testbed::RectIs;

namespace {

SIZE ClientSize(HWND hwnd)
{
    RECT r = {};
    ::GetClientRect(hwnd, &r);
    return SIZE{r.right, r.bottom};
}

// WM_DPICHANGED as the system sends it: the new DPI twice, and the window's rectangle for a client
// of `client` pixels at the window's place.
void SendDpiChange(HostBed& bed, int dpi, SIZE client)
{
    RECT window = {};
    ::GetWindowRect(bed.Hwnd(), &window);
    const SIZE now = ClientSize(bed.Hwnd());
    RECT suggested = {window.left, window.top, window.right + client.cx - now.cx, window.bottom + client.cy - now.cy};
    bed.Send(WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&suggested));
}

LONG FontHeight(HFONT font)
{
    LOGFONTA lf = {};
    ::GetObjectA(font, sizeof(lf), &lf);
    return lf.lfHeight;
}

// inset 7,5,7,5 and child padding 3; "top" 21 high with padding 2,1,3,1; a label in font 0
// (13 pixels); "pinned" floating at 33,47 (64 x 24); "rest" takes what is left.
struct TProbeTree {
    CVerticalLayoutUI* root;
    Probe* top;
    CLabelUI* label;
    Probe* pinned;
};

TProbeTree BuildTree(HostBed& bed)
{
    bed.Host().AppendFont("Arial", 13, false, false, false);
    TProbeTree t;
    t.root = new CVerticalLayoutUI;
    t.root->SetAttribute("inset", "7,5,7,5");
    t.root->SetAttribute("childpadding", "3");
    t.top = new Probe("top", 0, 21);
    t.top->SetAttribute("padding", "2,1,3,1");
    t.label = new CLabelUI;
    t.label->SetAttribute("font", "0");
    t.label->SetText("Label");
    t.pinned = new Probe("pinned");
    t.pinned->SetAttribute("float", "true");
    t.pinned->SetAttribute("pos", "33,47,97,71");
    t.root->AddChild(t.top);
    t.root->AddChild(t.label);
    t.root->AddChild(t.pinned);
    t.root->AddChild(new Probe("rest"));
    bed.Attach(t.root);
    return t;
}

}  // namespace

TEST(DpiChange, DoublesAtTwiceTheDpiAndComesBackExactly)
{
    HostBed bed(300, 200);
    ASSERT_EQ(96, bed.Host().GetDpi());
    TProbeTree t = BuildTree(bed);
    const CRectUI top = t.top->GetPosition();
    const CRectUI pinned = t.pinned->GetPosition();
    const CRectUI label = t.label->GetPosition();
    const LONG fontHeight = FontHeight(bed.Host().FontHandleAt(0));
    const LONG lineHeight = bed.Host().GetFontEntry(0)->metrics.tmHeight;
    // inset 7 + padding 2; 300 - 7 - 3 = 290; 5 + 1, and the trailing padding lies inside on the main
    // axis: 6 + 21 + 1 = 28.
    EXPECT_TRUE(RectIs(top, 9, 6, 290, 28));
    EXPECT_TRUE(RectIs(pinned, 33, 47, 97, 71));
    EXPECT_EQ(-13, fontHeight);

    SendDpiChange(bed, 192, SIZE{600, 400});
    EXPECT_EQ(192, bed.Host().GetDpi());
    EXPECT_EQ(600, ClientSize(bed.Hwnd()).cx);
    EXPECT_EQ(400, ClientSize(bed.Hwnd()).cy);
    EXPECT_TRUE(RectIs(t.top->GetPosition(), 18, 12, 580, 56));  // every length twice: 2 * (9, 6, 290, 28)
    EXPECT_TRUE(RectIs(t.pinned->GetPosition(), 66, 94, 194, 142));
    EXPECT_EQ(-26, FontHeight(bed.Host().FontHandleAt(0)));
    // Drawn with a font made for 192 DPI, not a stretched one: its cell is about twice as tall.
    const LONG doubled = bed.Host().GetFontEntry(0)->metrics.tmHeight;
    EXPECT_GE(doubled, 2 * lineHeight - 2);
    EXPECT_LE(doubled, 2 * lineHeight + 2);
    // What the program reads back stays in the skin's units.
    EXPECT_EQ(21, t.top->GetFixedHeight());
    EXPECT_TRUE(RectIs(t.top->GetPadding(), 2, 1, 3, 1));
    EXPECT_EQ(64, t.pinned->GetFixedWidth());
    EXPECT_EQ(33, t.pinned->GetFloatOffset().cx);

    SendDpiChange(bed, 96, SIZE{300, 200});
    EXPECT_EQ(96, bed.Host().GetDpi());
    EXPECT_EQ(300, ClientSize(bed.Hwnd()).cx);
    EXPECT_EQ(200, ClientSize(bed.Hwnd()).cy);
    EXPECT_EQ(top, t.top->GetPosition());
    EXPECT_EQ(pinned, t.pinned->GetPosition());
    EXPECT_EQ(label, t.label->GetPosition());
    EXPECT_EQ(fontHeight, FontHeight(bed.Host().FontHandleAt(0)));
    EXPECT_EQ(lineHeight, bed.Host().GetFontEntry(0)->metrics.tmHeight);
}

TEST(DpiChange, OddLengthsRoundOnceEachAtOneAndAHalf)
{
    HostBed bed(300, 200);
    TProbeTree t = BuildTree(bed);
    const LONG lineHeight = bed.Host().GetFontEntry(0)->metrics.tmHeight;
    // Many crossings between the two scales: a value rounded where it is stored would creep.
    for (int i = 0; i < 5; ++i) {
        SendDpiChange(bed, 144, SIZE{450, 300});
        SendDpiChange(bed, 96, SIZE{300, 200});
    }
    SendDpiChange(bed, 144, SIZE{450, 300});
    // inset 7 -> 11 (10.5), 5 -> 8 (7.5); padding 2 -> 3, 1 -> 2 (1.5), 3 -> 5 (4.5); 21 -> 32 (31.5):
    // left 11 + 3, top 8 + 2, right 450 - 11 - 5 = 434, bottom 10 + 32 + 2.
    EXPECT_TRUE(RectIs(t.top->GetPosition(), 14, 10, 434, 44));
    // 33 -> 50 (49.5), 47 -> 71 (70.5), 64 x 24 -> 96 x 36.
    EXPECT_TRUE(RectIs(t.pinned->GetPosition(), 50, 71, 146, 107));
    EXPECT_EQ(-20, FontHeight(bed.Host().FontHandleAt(0)));  // 13 -> 19.5
    // Its glyphs are made at that size: the cell is about one and a half times as tall.
    const LONG scaledLine = bed.Host().GetFontEntry(0)->metrics.tmHeight;
    EXPECT_GE(2 * scaledLine, 3 * lineHeight - 4);  // within two pixels of 1.5 times
    EXPECT_LE(2 * scaledLine, 3 * lineHeight + 4);
    EXPECT_EQ(64, t.pinned->GetFixedWidth());
    EXPECT_EQ(47, t.pinned->GetFloatOffset().cy);
}

TEST(DpiChange, ScrollBarsTakeTheirThicknessAtTheWindowsDpi)
{
    HostBed bed(300, 200);
    auto* root = new CVerticalLayoutUI;
    root->SetAttribute("vscrollbar", "true");
    root->AddChild(new Probe("tall", 0, 900));
    bed.Attach(root);
    SendDpiChange(bed, 144, SIZE{450, 300});
    bed.Repaint();
    CScrollBarUI* bar = root->GetVerticalScrollBar();
    ASSERT_NE(nullptr, bar);
    ASSERT_TRUE(bar->IsVisible());
    EXPECT_EQ(24, bar->GetPosition().GetWidth());  // 16 * 1.5
    EXPECT_EQ(16, bar->GetFixedWidth());
    EXPECT_EQ(426, bed.Host().FindControlByName("tall")->GetPosition().right);  // 450 - 24
}

namespace {

// The leftmost column holding anything but white: where a label's shadow begins.
int FirstInkColumn(HostBed& bed)
{
    testbed::Screen screen(bed);
    for (int x = 0; x < screen.Width(); ++x) {
        if (screen.CountNot(0xFFFFFF, RECT{x, 0, x + 1, 200}) > 0)
            return x;
    }
    return -1;
}

// A label whose text is invisible, with `effect` drawn in black ("shadowoffset" or the outline's
// "strokecolor"), shown at `dpi`; answers where its ink begins.
int EffectStart(int dpi, const char* effect, const char* value)
{
    HostBed bed(300, 200);
    bed.Host().AppendFont("Arial", 20, false, false, false);
    auto* root = new CVerticalLayoutUI;
    root->SetAttribute("bkcolor", "#FFFFFFFF");
    auto* label = new CLabelUI;
    const char* const attributes[][2] = {{"font", "0"}, {"enabledeffect", "true"}, {"enabledshadow", "true"},
        {"transtext", "0"}, {"transtext1", "0"}, {"transshadow", "255"}, {"transshadow1", "255"},
        {"textshadowcolora", "#FF000000"}, {"enabledstroke", "true"}, {"transstroke", "255"}, {"text", "HHHH"}};
    for (const auto& a : attributes)
        label->SetAttribute(a[0], a[1]);
    label->SetAttribute(effect, value);
    root->AddChild(label);
    bed.Attach(root);
    SendDpiChange(bed, dpi, SIZE{300, 200});
    return FirstInkColumn(bed);
}

// Where the shadow begins when it lies `distance` pixels to the right of the text.
int ShadowStart(int dpi, const char* distance)
{
    return EffectStart(dpi, "shadowoffset", (std::string(distance) + ",-90").c_str());  // -90: straight right
}

}  // namespace

TEST(DpiChange, TextShadowDistanceAndOutlineScaleWithTheDpi)
{
    if (!CLabelUI::IsEffectRendererAvailable())
        GTEST_SKIP() << "no GDI+ on this system: effect text has no shadow";
    const struct {
        int dpi;
        int shift;  // the shadow's 5 pixels at that DPI
        int reach;  // the outline's 1 pixel at that DPI (1.5 rounds to 2)
    } cases[] = {{96, 5, 1}, {144, 8, 2}, {192, 10, 2}};
    for (const auto& c : cases) {
        const int plain = ShadowStart(c.dpi, "0");
        ASSERT_GE(plain, 0) << c.dpi;
        EXPECT_EQ(c.shift, ShadowStart(c.dpi, "5") - plain) << c.dpi;
        // The shadow under the text is black too; the outline reaches out to the left of it.
        EXPECT_EQ(c.reach, plain - EffectStart(c.dpi, "strokecolor", "#FF000000")) << c.dpi;
    }
}

TEST(DpiChange, TheHostTakesOnlyPlausibleDpis)
{
    HostBed bed;
    EXPECT_EQ(96, CHostResources::ReadWindowDpi(bed.Hwnd()));  // the test prefix runs at 96
    CWindowHostUI& host = bed.Host();
    const struct {
        int dpi;
        bool taken;
    } cases[]
        = {{23, false}, {24, true}, {24, false}, {1536, true}, {1537, false}, {0, false}, {-96, false}, {96, true}};
    for (const auto& c : cases) {
        const int before = host.GetDpi();
        EXPECT_EQ(c.taken, host.SetDpi(c.dpi)) << c.dpi;
        EXPECT_EQ(c.taken ? c.dpi : before, host.GetDpi()) << c.dpi;
    }
}

namespace {

// `r` moved by the screen position of the bed's client area.
RECT OnScreen(HostBed& bed, RECT r)
{
    ::MapWindowPoints(bed.Hwnd(), HWND_DESKTOP, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

::testing::AssertionResult WindowAt(HWND hwnd, const RECT& expected)
{
    RECT r = {};
    ::GetWindowRect(hwnd, &r);
    if (::EqualRect(&r, &expected))
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "window at (" << r.left << "," << r.top << ")-(" << r.right << ","
                                         << r.bottom << "), expected (" << expected.left << "," << expected.top << ")-("
                                         << expected.right << "," << expected.bottom << ")";
}

}  // namespace

// An open drop-down follows its combo: under its new place, as wide as it, as tall as its rows at
// the new DPI; and back again exactly.
TEST(DpiChange, AnOpenComboDropDownMovesUnderTheGrownCombo)
{
    HostBed bed(300, 200);
    auto* root = new CVerticalLayoutUI;
    root->AddChild(new Probe("above", 0, 30));
    auto* combo = new CComboUI;
    combo->SetFixedWidth(100);
    combo->SetFixedHeight(20);
    for (const char* text : {"R0", "R1", "R2"}) {
        auto* row = new CListLabelElementUI;
        row->SetText(text);
        row->SetFixedHeight(20);
        combo->AddChild(row);
    }
    root->AddChild(combo);
    bed.Attach(root);
    bed.Press(50, 40);
    bed.Release(50, 40);
    ASSERT_NE(nullptr, combo->GetDropWindow());
    const HWND popup = combo->GetDropWindow()->GetHWND();
    // Three rows of 20 and the list's 4 pixels under the combo at 30..50.
    ASSERT_TRUE(WindowAt(popup, OnScreen(bed, RECT{0, 50, 100, 114})));

    const struct {
        int dpi;
        SIZE client;
        RECT dropDown;  // in the bed's client coordinates
    } steps[] = {
        {192, {600, 400}, {0, 100, 200, 228}},  // the combo at 60..100, 200 wide; 3 * 40 + 8 high
        {144, {450, 300}, {0, 75, 150, 171}},  // the combo at 45..75, 150 wide; 3 * 30 + 6 high
        {96, {300, 200}, {0, 50, 100, 114}},
    };
    for (const auto& step : steps) {
        SendDpiChange(bed, step.dpi, step.client);
        ASSERT_EQ(popup, combo->GetDropWindow() != nullptr ? combo->GetDropWindow()->GetHWND() : nullptr) << step.dpi;
        EXPECT_TRUE(WindowAt(popup, OnScreen(bed, step.dropDown))) << step.dpi;
    }
}

// The picker covers its control at the new DPI, and its open calendar hangs from the picker's new
// bottom-left corner (at the platform's offset) at the size the calendar asks for.
TEST(DpiChange, AnOpenDateCalendarMovesUnderTheGrownPicker)
{
    testbed::PopupBed t(new CDateTimeUI, "date", false);
    auto* date = static_cast<CDateTimeUI*>(t.bed.Host().FindControlByName("date"));
    t.ClickControl();
    const HWND picker = date->GetPickerWindow();
    ASSERT_NE(nullptr, picker);
    RECT client = {};
    ::GetClientRect(picker, &client);
    const LPARAM button = MAKELPARAM(client.right - 4, client.bottom / 2);
    ::SendMessageA(picker, WM_LBUTTONDOWN, MK_LBUTTON, button);
    ::SendMessageA(picker, WM_LBUTTONUP, 0, button);
    const HWND calendar = reinterpret_cast<HWND>(::SendMessageA(picker, DTM_GETMONTHCAL, 0, 0));
    ASSERT_NE(nullptr, calendar);
    ASSERT_TRUE(::IsWindowVisible(calendar));
    // Where the platform hung it from the picker's bottom-left corner.
    RECT opened = {};
    RECT pickerAtOpen = {};
    ::GetWindowRect(calendar, &opened);
    ::GetWindowRect(picker, &pickerAtOpen);
    const POINT offset = {opened.left - pickerAtOpen.left, opened.top - pickerAtOpen.bottom};

    const struct {
        int dpi;
        SIZE client;
        RECT picker;  // in the bed's client coordinates
    } steps[] = {{192, {600, 400}, {0, 60, 400, 120}}, {96, {300, 200}, {0, 30, 200, 60}}};
    for (const auto& step : steps) {
        SendDpiChange(t.bed, step.dpi, step.client);
        ASSERT_TRUE(::IsWindow(picker)) << step.dpi;
        ASSERT_TRUE(::IsWindowVisible(calendar)) << step.dpi;
        EXPECT_TRUE(WindowAt(picker, OnScreen(t.bed, step.picker))) << step.dpi;
        RECT needed = {};
        ::SendMessageA(calendar, MCM_GETMINREQRECT, 0, reinterpret_cast<LPARAM>(&needed));
        const RECT below = OnScreen(t.bed, step.picker);
        const POINT corner = {below.left + offset.x, below.bottom + offset.y};
        EXPECT_TRUE(WindowAt(calendar,
            RECT{corner.x, corner.y, corner.x + needed.right - needed.left, corner.y + needed.bottom - needed.top}))
            << step.dpi;
    }
}
