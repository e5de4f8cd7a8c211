// A host at another DPI: controls keep the 96-DPI values they were given, and layout, fonts and
// scroll bars follow the window's DPI; WM_DPICHANGED there and back restores everything exactly.
// Expected rectangles carry their sums at the DPI in question (halves round away from zero).
#include <gtest/gtest.h>

#include "support/HostBed.h"
#include "controls/layout/VerticalLayout.h"
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
