// Label and text attributes, measuring, default colours, shadow offsets, single-line drawing and
// clickable links.
#include <gtest/gtest.h>

#include "support/HostBed.h"
#include "controls/LinkTestSupport.h"
#include "controls/text/Button.h"
#include "controls/text/Label.h"
#include "controls/text/Text.h"
#include "controls/layout/VerticalLayout.h"

using namespace SkinUI;
using testbed::HostBed;

TEST(Label, AlignWordsSetTheirBitsInOrder)
{
    struct TCase {
        const char* align;
        UINT before;
        UINT after;
    } cases[] = {
        {"vcenter", 0, DT_CENTER | DT_VCENTER | DT_SINGLELINE},  // "center" is inside "vcenter"
        {"right", DT_CENTER | DT_VCENTER, DT_RIGHT},
        {"left", DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_WORDBREAK, DT_WORDBREAK},
        {"top", DT_VCENTER | DT_BOTTOM, DT_SINGLELINE},
        {"bottom", DT_VCENTER, DT_BOTTOM | DT_SINGLELINE},
        {"center right", DT_VCENTER, DT_RIGHT},  // "right" is tested after "center"
        {"", DT_VCENTER, DT_VCENTER},
    };
    for (const TCase& c : cases) {
        CLabelUI label;
        label.SetTextStyle(c.before);
        label.SetAttribute("align", c.align);
        EXPECT_EQ(label.GetTextStyle(), c.after) << "align=\"" << c.align << "\"";
    }
    CLabelUI label;
    label.SetAttribute("endellipsis", "true");
    EXPECT_EQ(label.GetTextStyle(), static_cast<UINT>(DT_VCENTER | DT_END_ELLIPSIS));
    label.SetAttribute("endellipsis", "TRUE");  // only the exact "true" is true
    EXPECT_EQ(label.GetTextStyle(), static_cast<UINT>(DT_VCENTER));
}

TEST(Label, ColoursNumbersAndListsReadSafely)
{
    CLabelUI label;
    label.SetAttribute("textcolor", "#FF336699");
    EXPECT_EQ(label.GetTextColor(), 0xFF336699u);
    label.SetAttribute("textcolor", "FF112233");
    EXPECT_EQ(label.GetTextColor(), 0xFF112233u);
    label.SetAttribute("textpadding", "4,5");  // missing numbers read as 0
    EXPECT_EQ(label.GetTextPadding(), CRectUI(4, 5, 0, 0));
    label.SetAttribute("rhaa", "9");  // out of 0..5
    EXPECT_EQ(label.GetRenderingHint(), 0);
    label.SetAttribute("rhaa", "4");
    EXPECT_EQ(label.GetRenderingHint(), 4);

    // "360" is followed in memory by guard digits after its terminator: they are never read.
    const char buffer[] = "360\0"
                          "99";
    label.SetAttribute("shadowoffset", buffer);
    EXPECT_EQ(label.GetShadowOffsetX(), -360.0f);  // angle 0
    EXPECT_EQ(label.GetShadowOffsetY(), -360.0f);
}

TEST(Label, ShadowOffsetMapsAnglesOntoNeighbours)
{
    struct TCase {
        int angle;
        float x;
        float y;
    } cases[] = {{0, -3, -3}, {90, -3, -3}, {91, -3, 3}, {180, -3, 3}, {-1, 3, -3}, {-89, 3, -3}, {-90, 3, 0},
        {-91, 3, 3}, {-179, 3, 3}, {-180, 0, 3}};
    for (const TCase& c : cases) {
        CLabelUI label;
        label.SetShadowOffset(3, c.angle);
        EXPECT_EQ(label.GetShadowOffsetX(), c.x) << "angle " << c.angle;
        EXPECT_EQ(label.GetShadowOffsetY(), c.y) << "angle " << c.angle;
    }
    CLabelUI label;
    label.SetShadowOffset(3, 45);
    label.SetShadowOffset(7, 181);  // outside -180..180: ignored
    EXPECT_EQ(label.GetShadowOffsetX(), -3.0f);
}

TEST(Label, MeasuresTheFontAndKeepsResolvedDefaultColours)
{
    HostBed bed;
    auto* root = new CVerticalLayoutUI;
    auto* label = new CLabelUI;
    label->SetText("x");
    auto* button = new CButtonUI;
    auto* fixed = new CLabelUI;
    fixed->SetFixedHeight(17);
    root->AddChild(label);
    root->AddChild(button);
    root->AddChild(fixed);
    bed.Attach(root);
    const int line = bed.Host().GetDefaultFontEntry()->metrics.tmHeight;
    ASSERT_GT(line, 0);
    EXPECT_EQ(label->MeasureSize(CSizeUI(100, 100)).cy, line + 4);
    EXPECT_EQ(button->MeasureSize(CSizeUI(100, 100)).cy, line + 8);
    EXPECT_EQ(fixed->MeasureSize(CSizeUI(100, 100)).cy, 17);
    EXPECT_EQ(label->GetHeight(), line + 4);

    // A text colour of 0 becomes the host's default at the first paint and stays so.
    EXPECT_EQ(label->GetTextColor(), bed.Host().GetDefaultFontColor());
    bed.Host().SetDefaultFontColor(0xFF123456);
    bed.Repaint();
    EXPECT_NE(label->GetTextColor(), 0xFF123456u);
}

TEST(Label, AlwaysDrawsOneLineWhereTextControlsWrap)
{
    HostBed bed(200, 200);
    auto* root = new CVerticalLayoutUI;
    root->SetAttribute("bkcolor", "#FFFFFFFF");
    auto* label = new CLabelUI;
    label->SetFixedHeight(100);
    label->SetAttribute("align", "left");  // clears DT_SINGLELINE from the style...
    label->SetText("AAAA\r\nBBBB\r\nCCCC");
    auto* text = new CTextUI;
    text->SetFixedHeight(100);
    text->SetText("AAAA\r\nBBBB\r\nCCCC");
    root->AddChild(label);
    root->AddChild(text);
    bed.Attach(root);
    bed.Repaint();
    int w = 0, h = 0;
    std::vector<uint32_t> px = testbed::ReadBitmap(bed.Host().GetOffscreenBitmap(), w, h);
    ASSERT_EQ(h, 200);
    // From the first to the last row holding any non-white pixel; 0 when none does.
    auto inkSpan = [&](int top, int bottom) {
        int first = -1, last = -1;
        for (int y = top; y < bottom; ++y) {
            bool ink = false;
            for (int x = 0; x < w; ++x)
                ink = ink || (px[static_cast<size_t>(y) * w + x] & 0xFFFFFF) != 0xFFFFFF;
            if (ink) {
                first = first < 0 ? y : first;
                last = y;
            }
        }
        return first < 0 ? 0 : last - first + 1;
    };
    const int line = bed.Host().GetDefaultFontEntry()->metrics.tmHeight;
    // ...but a label still draws a single line; the text control draws three.
    EXPECT_GT(inkSpan(0, 100), 0);
    EXPECT_LE(inkSpan(0, 100), line);
    EXPECT_GT(inkSpan(100, 200), 2 * line);
}

TEST(Text, WrapsWordsWhenMeasuringAndReportsClickedLinks)
{
    HostBed bed(300, 200);
    auto* root = new CVerticalLayoutUI;
    auto* wrapped = new CTextUI;
    wrapped->SetText("one two three four five six seven eight nine ten eleven twelve");
    auto* links = new CTextUI;
    links->SetName("links");
    links->SetFixedHeight(40);
    links->SetAttribute("showhtml", "true");
    links->SetText("go <a first>here</a> or <a second>there</a>");
    root->AddChild(wrapped);
    root->AddChild(links);
    bed.Attach(root);

    const int line = bed.Host().GetDefaultFontEntry()->metrics.tmHeight;
    EXPECT_GE(wrapped->MeasureSize(CSizeUI(60, 0)).cy, 3 * line);  // many lines when narrow
    EXPECT_LT(wrapped->MeasureSize(CSizeUI(2000, 0)).cy, 2 * line);

    bed.Repaint();
    ASSERT_EQ(links->GetLinkCount(), 2);
    EXPECT_EQ(*links->GetLinkText(1), "second");
    EXPECT_EQ(links->GetLinkText(2), nullptr);
    EXPECT_NE(links->GetCapabilities() & CapabilityWantsCursor, 0u);
    ASSERT_NO_FATAL_FAILURE(testbed::ClickLink(bed, *links, 1));

    CRectUI pos = links->GetPosition();
    bed.Press(pos.right - 2, pos.bottom - 2);  // not on a link
    bed.Release(pos.right - 2, pos.bottom - 2);
    EXPECT_EQ(bed.Count("link"), 1);
}
