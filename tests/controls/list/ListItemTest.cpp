// List rows on their own: the background painted from the owner's style by state, selection and
// visibility against the owner, activation and presses through real messages, and measuring.
#include <gtest/gtest.h>

#include "support/HostBed.h"
#include "controls/native/Combo.h"
#include "controls/text/Label.h"
#include "controls/list/ListContainerElement.h"
#include "controls/list/ListElement.h"
#include "controls/layout/VerticalLayout.h"

using namespace SkinUI;
using testbed::HostBed;

namespace {

TInputEvent EventOf(int kind)
{
    TInputEvent e = {};
    e.Type = kind;
    return e;
}

// Rows 100 x 20 stacked in a layout, without an owner.
template <class Row> Row* AddRow(CVerticalLayoutUI* layout, const char* name)
{
    auto* row = new Row;
    row->SetName(name);
    row->SetText(name);
    row->SetFixedWidth(100);
    row->SetFixedHeight(20);
    layout->AddChild(row);
    return row;
}

}  // namespace

TEST(ListItem, BackgroundFollowsTheOwnersStyleByState)
{
    const uint32_t kUntouched = 0x123456;
    struct Case {
        const char* what;
        int index;
        bool hot, selected, disabled;
        uint32_t expected;  // RGB at the row's middle
    } cases[] = {
        {"even row", 0, false, false, false, 0x0000FF},
        {"odd row of an alternating list", 1, false, false, false, kUntouched},
        {"odd and hot", 1, true, false, false, 0x00FF00},
        {"selected wins over hot", 0, true, true, false, 0xFF0000},
        {"disabled wins over both", 2, true, true, true, 0x808080},
    };
    CComboUI owner;
    owner.SetAttribute("itembkcolor", "#FF0000FF");
    owner.SetAttribute("itemaltbk", "true");
    owner.SetAttribute("itemhotbkcolor", "#FF00FF00");
    owner.SetAttribute("itemselectedbkcolor", "#FFFF0000");
    owner.SetAttribute("itemdisabledbkcolor", "#FF808080");
    owner.SetAttribute("itemlinecolor", "#FF101010");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        CListLabelElementUI row;
        row.SetOwner(&owner);
        row.SetIndex(c.index);
        row.SetPosition(CRectUI(0, 0, 40, 20));
        if (c.hot) {
            TInputEvent enter = EventOf(InputEventKind::MouseEnter);
            row.OnEvent(enter);
        }
        if (c.selected)
            row.Select(true);
        if (c.disabled)
            row.SetEnabled(false);
        testbed::DibCanvas canvas(40, 20, kUntouched);
        row.Paint(canvas.Dc(), CRectUI(0, 0, 40, 20));
        EXPECT_EQ(canvas.Pixel(20, 10) & 0xFFFFFF, c.expected);
        // The separator line on the last pixel row.
        EXPECT_EQ(canvas.Pixel(20, 19) & 0xFFFFFF, 0x101010u);
    }
}

TEST(ListItem, SelectionAgainstTheOwner)
{
    HostBed bed;
    auto* root = new CVerticalLayoutUI;
    auto* combo = new CComboUI;
    for (int i = 0; i < 3; ++i)
        combo->AddChild(new CListLabelElementUI);
    root->AddChild(combo);
    bed.Attach(root);
    auto* row1 = static_cast<CListLabelElementUI*>(combo->ChildAt(1));

    // "selected" with any value selects, and the owner follows.
    row1->SetAttribute("selected", "false");
    EXPECT_TRUE(row1->IsSelected());
    EXPECT_EQ(combo->GetCurrentIndex(), 1);
    EXPECT_EQ(bed.Count("itemselect"), 1);

    // Hiding the selected row clears the owner's selection.
    row1->SetVisible(false);
    EXPECT_FALSE(row1->IsSelected());
    EXPECT_EQ(combo->GetCurrentIndex(), -1);

    // A disabled row refuses selection and presses, but a deselection always clears its mark.
    row1->SetVisible(true);
    EXPECT_TRUE(row1->Select(true));
    row1->SetEnabled(false);
    EXPECT_TRUE(row1->Select(false));
    EXPECT_FALSE(row1->IsSelected());
    EXPECT_FALSE(row1->Select(true));
    TInputEvent press = EventOf(InputEventKind::ButtonDown);
    row1->OnEvent(press);
    EXPECT_FALSE(row1->IsSelected());
    EXPECT_EQ(bed.Count("itemclick"), 0);
}

TEST(ListItem, PressesDoubleClicksAndReturnThroughTheHost)
{
    HostBed bed;
    auto* layout = new CVerticalLayoutUI;
    auto* label = AddRow<CListLabelElementUI>(layout, "label");
    auto* container = AddRow<CListContainerElementUI>(layout, "container");
    auto* inner = new CLabelUI;
    inner->SetName("inner");
    container->AddChild(inner);
    bed.Attach(layout);

    bed.Click(50, 10);
    EXPECT_TRUE(label->IsSelected());
    ASSERT_EQ(bed.Count("itemclick"), 1);
    EXPECT_EQ(bed.notes.back().sender, "label");

    // Without an owner a label row measures nothing and takes the free height: 0..180.
    // A press on a control inside a container row is the row's.
    bed.Click(50, 190);
    EXPECT_TRUE(container->IsSelected());
    EXPECT_EQ(bed.Count("itemclick"), 2);
    EXPECT_EQ(bed.notes.back().sender, "container");
    EXPECT_TRUE(container->IsHot());

    bed.Send(WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(50, 10));
    bed.Release(50, 10);
    label->TakeFocus();
    bed.Key(VK_RETURN);
    ASSERT_EQ(bed.Count("itemactivate"), 2);
    EXPECT_EQ(bed.notes.back().sender, "label");

    // Moving off a row ends its hot look.
    bed.MoveTo(50, 10);
    EXPECT_TRUE(label->IsHot());
    EXPECT_FALSE(container->IsHot());
}

TEST(ListItem, LabelRowMeasuresItsFontPaddingAndText)
{
    HostBed bed;
    auto* root = new CVerticalLayoutUI;
    auto* combo = new CComboUI;
    combo->SetAttribute("itemtextpadding", "2,3,4,5");
    auto* row = new CListLabelElementUI;
    combo->AddChild(row);
    root->AddChild(combo);
    bed.Attach(root);
    const int line = bed.Host().GetDefaultFontEntry()->metrics.tmHeight;

    CSizeUI empty = row->MeasureSize(CSizeUI(500, 500));
    EXPECT_EQ(empty.cy, line + 3 + 5 + 8);
    EXPECT_EQ(empty.cx, 2 + 4);
    row->SetText("some longer text");
    EXPECT_GT(row->MeasureSize(CSizeUI(500, 500)).cx, 2 + 4 + 40);
    row->SetFixedHeight(33);
    EXPECT_EQ(row->MeasureSize(CSizeUI(500, 500)).cy, 33);

    CListLabelElementUI orphan;  // no owner: nothing to measure with
    EXPECT_EQ(orphan.MeasureSize(CSizeUI(500, 500)), CSizeUI(0, 0));
}
