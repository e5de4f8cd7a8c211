// The control base: attribute vocabulary and value quirks, attribute lists, positioning and
// invalidation, default event handling and the paint order and colours.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/HostBed.h"
#include "support/TestBed.h"

using namespace SkinUI;
using namespace testbed;

namespace {

// Exposes the fields the attribute table writes but the public interface does not read back.
class Inspect : public CControlUI {
public:
    int LeftBorder() const { return m_leftBorderSize; }
    int TopBorder() const { return m_topBorderSize; }
    int RightBorder() const { return m_rightBorderSize; }
    int BottomBorder() const { return m_bottomBorderSize; }
    uint32_t Color2() const { return m_bkColor2; }
    uint32_t Color3() const { return m_bkColor3; }
};

TEST(ControlAttributes, PosSetsTheFloatOffsetAndOnlyNonNegativeSizes)
{
    CControlUI button;
    button.SetAttribute("float", "true");
    button.SetAttribute("pos", "336,0,0,0");
    button.SetAttribute("width", "24");
    button.SetAttribute("height", "24");
    EXPECT_EQ(CSizeUI(336, 0), button.GetFloatOffset());
    EXPECT_EQ(24, button.GetFixedWidth());
    EXPECT_EQ(24, button.GetFixedHeight());

    CControlUI anchored;
    anchored.SetAttribute("pos", "-30,10,-10,40");
    EXPECT_EQ(CSizeUI(-10, 10), anchored.GetFloatOffset()) << "anchored 10 px from the right edge";
    EXPECT_EQ(20, anchored.GetFixedWidth());
    EXPECT_EQ(30, anchored.GetFixedHeight());

    CControlUI shortList;
    shortList.SetAttribute("pos", "5");
    EXPECT_EQ(CSizeUI(5, 0), shortList.GetFloatOffset());
}

TEST(ControlAttributes, BorderSizeFormsReplaceEachOther)
{
    // The later form wins: one size clears the sides, four sides keep the one size.
    struct TCase {
        const char* first;
        const char* second;
        int size, left, top, right, bottom;
    };
    const TCase cases[] = {
        {"1,0,1,0", "2", 2, 0, 0, 0, 0},
        {"2", "1,0,1,0", 2, 1, 0, 1, 0},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(std::string(c.first) + " then " + c.second);
        Inspect control;
        control.SetAttribute("bordersize", c.first);
        control.SetAttribute("bordersize", c.second);
        EXPECT_EQ(c.size, control.GetBorderSize());
        EXPECT_EQ(c.left, control.LeftBorder());
        EXPECT_EQ(c.top, control.TopBorder());
        EXPECT_EQ(c.right, control.RightBorder());
        EXPECT_EQ(c.bottom, control.BottomBorder());
    }
}

TEST(ControlAttributes, ColoursFlagsAndTexts)
{
    Inspect c;
    c.SetAttribute("bkcolor", " #FF336699");
    EXPECT_EQ(0xFF336699u, c.GetBackgroundColor()) << "bkcolor skips leading blanks";
    c.SetAttribute("bordercolor", " #FF336699");
    EXPECT_EQ(0u, c.GetBorderColor()) << "bordercolor does not";
    c.SetAttribute("bkcolor2", "FF00FF00");
    c.SetAttribute("bkcolor3", "#0000FF");
    EXPECT_EQ(0xFF00FF00u, c.Color2());
    EXPECT_EQ(0x000000FFu, c.Color3()) << "six digits leave alpha 0";

    c.SetAttribute("enabled", "TRUE");
    EXPECT_FALSE(c.IsEnabled()) << "only the exact text true is true";
    c.SetAttribute("enabled", "true");
    EXPECT_TRUE(c.IsEnabled());
    c.SetAttribute("mouse", "1");
    EXPECT_FALSE(c.AcceptsMouse());

    c.SetAttribute("tooltip", "a<n>b");
    EXPECT_STREQ("a\r\nb", c.GetTooltip().GetData());
    c.SetAttribute("shortcut", "x");
    EXPECT_EQ('x', c.GetShortcutKey());
    c.SetAttribute("virtualwnd", "pane");
    EXPECT_STREQ("pane", c.GetVirtualWindowName().GetData());
    c.SetAttribute("minwidth", "-3");
    EXPECT_EQ(0, c.GetMinWidth()) << "negative limits are ignored";
    c.SetAttribute("maxheight", "80");
    EXPECT_EQ(80, c.GetMaxHeight());
    c.SetAttribute("unknown", "whatever");
}

TEST(ControlAttributes, AttributeListsNeedOneBlankBetweenPairs)
{
    CControlUI both;
    both.ApplyAttributeText("text=\"a\" name=\"b\"");
    EXPECT_STREQ("a", both.GetText().GetData());
    EXPECT_STREQ("b", both.GetName().GetData());

    CControlUI twoBlanks;
    twoBlanks.ApplyAttributeText("text=\"a\"  name=\"b\"");
    EXPECT_STREQ("a", twoBlanks.GetText().GetData());
    EXPECT_TRUE(twoBlanks.GetName().IsEmpty()) << "\" name\" matches no attribute";

    CControlUI comma;
    comma.ApplyAttributeText("text=\"a\",name=\"b\"");
    EXPECT_STREQ("a", comma.GetText().GetData());
    EXPECT_TRUE(comma.GetName().IsEmpty());

    CControlUI broken;
    broken.ApplyAttributeText("text=\"unterminated");
    broken.ApplyAttributeText("text=noquote");
    broken.ApplyAttributeText("=\"\" ");
    EXPECT_TRUE(broken.GetText().IsEmpty());
}

// A window with a root container holding `parent` (0,0,50,50) and its child (40,40,80,80).
class ControlInHost : public ::testing::Test {
protected:
    void SetUp() override
    {
        root = new CContainerUI;
        parent = new CContainerUI;
        parent->SetAttribute("float", "true");
        parent->SetAttribute("pos", "0,0,50,50");
        child = AddFloatingProbe(parent, "child", &log, "40,40,80,80");
        root->AddChild(parent);
        wnd.Host().AttachRoot(root);
        wnd.Repaint();
        testbed::PumpPending();
        log.clear();
    }

    RECT Dirty()
    {
        RECT rc = {};
        if (!::GetUpdateRect(wnd.Handle(), &rc, FALSE))
            ::SetRectEmpty(&rc);
        return rc;
    }

    Log log;
    HostWindow wnd;
    CContainerUI* root = nullptr;
    CContainerUI* parent = nullptr;
    Probe* child = nullptr;
};

TEST_F(ControlInHost, InvalidationIsClippedToEveryAncestor)
{
    ::ValidateRect(wnd.Handle(), nullptr);
    child->Invalidate();
    EXPECT_EQ(CRectUI(40, 40, 50, 50), CRectUI(Dirty()));

    ::ValidateRect(wnd.Handle(), nullptr);
    child->SetText(child->GetText());
    EXPECT_TRUE(CRectUI(Dirty()).IsEmpty()) << "the same text repaints nothing";
    child->SetText("new");
    EXPECT_FALSE(CRectUI(Dirty()).IsEmpty());

    child->SetPosition(CRectUI(60, 60, 70, 70));
    ::ValidateRect(wnd.Handle(), nullptr);
    child->SetPosition(CRectUI(70, 70, 75, 75));
    EXPECT_TRUE(CRectUI(Dirty()).IsEmpty()) << "old and new place both outside the parent";
}

TEST_F(ControlInHost, FloatingControlReDerivesItsAnchorFromWhereItIsPlaced)
{
    child->SetFloatOffset(CSizeUI(-10, 10));
    child->SetPosition(CRectUI(10, 10, 40, 30));
    EXPECT_EQ(CSizeUI(-10, 10), child->GetFloatOffset()) << "40 - 50: still anchored at the right";
    EXPECT_EQ(30, child->GetFixedWidth());
    EXPECT_EQ(20, child->GetFixedHeight());

    child->SetPosition(CRectUI(30, 30, 20, 20));
    EXPECT_EQ(CRectUI(30, 30, 30, 30), child->GetPosition()) << "inverted sides collapse";
}

TEST_F(ControlInHost, HiddenParentHidesTheChildWithoutTouchingItsOwnFlag)
{
    parent->SetVisible(false);
    EXPECT_FALSE(child->IsVisible());
    child->SetAttribute("visible", "true");  // unchanged own flag: no effect
    EXPECT_FALSE(child->IsVisible());
    parent->SetVisible(true);
    EXPECT_TRUE(child->IsVisible());
}

TEST_F(ControlInHost, DefaultEventHandlingBubblesAndRaisesTimerAndMenu)
{
    Log notes;
    NotifyRecorder recorder(&notes);
    wnd.Host().AddNotificationListener(&recorder);
    CControlUI* plain = new CControlUI;
    plain->SetName("plain");
    Probe* probeParent = new Probe("pp", &log);
    // A plain control inside a non-container parent: unhandled kinds reach the parent's OnEvent.
    probeParent->AttachHost(&wnd.Host(), nullptr, false);
    plain->AttachHost(&wnd.Host(), probeParent, false);

    TInputEvent event = {};
    event.Type = InputEventKind::ButtonDown;
    plain->DispatchEvent(event);
    EXPECT_EQ((Log{"pp:ButtonDown"}), log);

    event.Type = InputEventKind::Timer;
    event.WParam = 9;
    plain->DispatchEvent(event);
    EXPECT_EQ((Log{"timer:plain"}), notes);
    EXPECT_EQ(9u, recorder.last.WParam);

    event.Type = InputEventKind::ContextMenu;
    event.LParam = 77;
    plain->DispatchEvent(event);
    EXPECT_EQ("pp:ContextMenu", log.back()) << "without \"menu\" it bubbles";
    plain->SetAttribute("menu", "true");
    plain->DispatchEvent(event);
    EXPECT_EQ("menu:plain", notes.back());
    EXPECT_EQ(77, recorder.last.LParam);

    // An event listener that answers false keeps the event from OnEvent.
    struct Veto {
        bool OnEvent(void*) { return false; }
    } veto;
    plain->EventListeners += MakeDelegate(&veto, &Veto::OnEvent);
    const size_t before = log.size();
    event.Type = InputEventKind::ButtonDown;
    plain->DispatchEvent(event);
    EXPECT_EQ(before, log.size());

    wnd.Host().RemoveNotificationListener(&recorder);
    delete plain;
    delete probeParent;
}

TEST_F(ControlInHost, DestructionFiresListenersAndTheHostForgetsTheName)
{
    struct Watch {
        int calls = 0;
        bool OnDestroy(void*)
        {
            ++calls;
            return true;
        }
    } watch;
    child->DestroyListeners += MakeDelegate(&watch, &Watch::OnDestroy);
    ASSERT_EQ(child, wnd.Host().FindControlByName("child"));
    parent->SetDefersChildDestroy(false);
    parent->RemoveChild(child);
    EXPECT_EQ(1, watch.calls);
    EXPECT_EQ(nullptr, wnd.Host().FindControlByName("child"));
}

// Records the order of the paint hooks.
class PaintOrderProbe : public CControlUI {
public:
    std::vector<std::string> calls;
    void PaintBackgroundColor(HDC hdc) override
    {
        calls.push_back("color");
        CControlUI::PaintBackgroundColor(hdc);
    }
    void PaintBackgroundImage(HDC hdc) override
    {
        calls.push_back("image");
        CControlUI::PaintBackgroundImage(hdc);
    }
    void PaintStateImage(HDC) override { calls.push_back("state"); }
    void PaintText(HDC) override { calls.push_back("text"); }
    void PaintBorder(HDC hdc) override
    {
        calls.push_back("border");
        CControlUI::PaintBorder(hdc);
    }
};

TEST(ControlPaint, HooksRunInOrderOnlyWhereThePaintRequestMeetsThePosition)
{
    testbed::DibCanvas canvas(40, 40);
    PaintOrderProbe probe;
    probe.SetPosition(CRectUI(0, 0, 20, 20));
    probe.Paint(canvas.Dc(), CRectUI(25, 25, 40, 40));
    EXPECT_TRUE(probe.calls.empty());
    probe.Paint(canvas.Dc(), CRectUI(0, 0, 40, 40));
    EXPECT_EQ((std::vector<std::string>{"color", "image", "state", "text", "border"}), probe.calls);
}

TEST(ControlPaint, OpaqueColourFillsThePaintRectTranslucentTheWholePosition)
{
    const uint32_t background = 0xFF000000u;
    testbed::DibCanvas canvas(40, 40, background);
    CControlUI opaque;
    opaque.SetPosition(CRectUI(0, 0, 20, 20));
    opaque.SetBackgroundColor(0xFFFF0000);
    opaque.Paint(canvas.Dc(), CRectUI(0, 0, 10, 10));
    EXPECT_EQ(0xFF0000u, canvas.Pixel(5, 5) & 0xFFFFFFu);
    EXPECT_EQ(background, canvas.Pixel(15, 15));

    testbed::DibCanvas second(40, 40, background);
    CControlUI translucent;
    translucent.SetPosition(CRectUI(0, 0, 20, 20));
    translucent.SetBackgroundColor(0x80FF0000);
    translucent.Paint(second.Dc(), CRectUI(0, 0, 10, 10));
    EXPECT_NE(background, second.Pixel(15, 15)) << "blended over the whole position";
    EXPECT_EQ(background, second.Pixel(25, 25));
}

TEST(ControlPaint, ThreeColoursSplitAtTheIntegerMiddle)
{
    testbed::DibCanvas canvas(10, 101, 0xFF000000u);
    CControlUI c;
    c.SetPosition(CRectUI(0, 0, 10, 101));
    c.SetAttribute("bkcolor", "#FFFF0000");
    c.SetAttribute("bkcolor2", "#FF0000FF");
    c.SetAttribute("bkcolor3", "#FF00FF00");
    c.Paint(canvas.Dc(), CRectUI(0, 0, 10, 101));
    const auto red = [&](int y) { return (canvas.Pixel(5, y) >> 16) & 0xFF; };
    const auto green = [&](int y) { return (canvas.Pixel(5, y) >> 8) & 0xFF; };
    const auto blue = [&](int y) { return canvas.Pixel(5, y) & 0xFF; };
    EXPECT_GT(red(0), 0xC0u);
    // (0 + 101) / 2 = 50: row 50 starts the lower band at colour 2 (blue) with no red left.
    EXPECT_LT(red(50), 0x10u);
    EXPECT_LT(green(50), 0x20u);
    EXPECT_GT(blue(50), 0xC0u);
    EXPECT_GT(red(48), 0u) << "row 48 still belongs to the upper band";
    EXPECT_GT(green(100), 0xC0u);
}

TEST(ControlPaint, PerSideBordersDrawOnlyTheirSides)
{
    const uint32_t background = 0xFF000000u;
    // The border's alpha is not the question, so its pixels are compared without it.
    const uint32_t rgbOnly = 0xFFFFFFu;
    const uint32_t wholePixel = 0xFFFFFFFFu;
    struct Spot {
        int x, y;
        uint32_t mask, expected;
        const char* what;
    };
    struct Case {
        const char* bordersize;
        std::vector<Spot> spots;
    };
    const Case cases[] = {
        {"0,1,0,0",
            {{20, 5, rgbOnly, 0x00FF00u, "top edge"}, {5, 20, wholePixel, background, "no left edge"},
                {20, 34, wholePixel, background, "no bottom edge"}}},
        {"1", {{5, 20, rgbOnly, 0x00FF00u, "left edge"}, {20, 20, wholePixel, background, "inside"}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.bordersize);
        testbed::DibCanvas canvas(40, 40, background);
        CControlUI control;
        control.SetPosition(CRectUI(5, 5, 35, 35));
        control.SetAttribute("bordercolor", "#FF00FF00");
        control.SetAttribute("bordersize", c.bordersize);
        control.Paint(canvas.Dc(), CRectUI(0, 0, 40, 40));
        for (const Spot& spot : c.spots)
            EXPECT_EQ(spot.expected, canvas.Pixel(spot.x, spot.y) & spot.mask) << spot.what;
    }
}

}  // namespace
