// The gallery's status line: each kind of sender and notification described as a person reads it,
// from controls the skin builder made and a host adopted (so parts know their parents), with no
// message ever sent: the description reads only the controls.
#include <gtest/gtest.h>

#include <string>

#include "controls/text/CheckBox.h"
#include "controls/base/Container.h"
#include "controls/base/Control.h"
#include "controls/list/ListTextElement.h"
#include "controls/list/TreeNode.h"
#include "controls/list/VirtualList.h"
#include "gallery/NotifyText.h"
#include "host/WindowHost.h"
#include "skin/SkinBuilder.h"
#include "support/HostBed.h"

using namespace SkinUI;

namespace {

const char kSkin[] = "<Window><VerticalLayout>"
                     "<Slider name=\"sld\" min=\"0\" max=\"100\" value=\"35\"/>"
                     "<CheckBox name=\"chk\" selected=\"true\"/>"
                     "<Option name=\"opt\" group=\"g\"/>"
                     "<Button text=\"unnamed\"/>"
                     "<Edit name=\"edt\" text=\"hi there\"/>"
                     "<Edit name=\"long\" text=\"0123456789012345678901234567890123456789tail\"/>"
                     "<DateTime name=\"dtp\" text=\"2026-12-08\"/>"
                     "<Combo name=\"cbo\"><ListLabelElement text=\"one\"/><ListLabelElement text=\"two\"/></Combo>"
                     "<List name=\"lst\"><ListHeader><ListHeaderItem text=\"A\"/></ListHeader></List>"
                     "<VirtualList name=\"vls\" multiselect=\"true\"/>"
                     "<ScrollBar name=\"sb\" range=\"500\" value=\"120\"/>"
                     "<TreeView name=\"tree\"><TreeNode text=\"Docs\"><TreeNode text=\"a.txt\"/></TreeNode></TreeView>"
                     "</VerticalLayout></Window>";

CControlUI* VisitNamed(CControlUI* control, void* name)
{
    return control->GetName() == static_cast<const char*>(name) ? control : nullptr;
}

TNotifyEvent Event(const char* type, CControlUI* sender, WPARAM wParam = 0, LPARAM lParam = 0)
{
    TNotifyEvent event;
    event.Type = type;
    event.Sender = sender;
    event.WParam = wParam;
    event.LParam = lParam;
    return event;
}

}  // namespace

TEST(NotifyText, DescribesEachSenderWithItsValue)
{
    testbed::HostBed bed(300, 400);
    CWindowHostUI& host = bed.Host();  // owns the tree once attached
    CSkinBuilder builder;
    CControlUI* root = builder.BuildFrom(kSkin, nullptr, nullptr, &host, nullptr);
    ASSERT_NE(root, nullptr);
    host.AttachRoot(root);
    auto find
        = [root](const char* name) { return root->FindControl(&VisitNamed, const_cast<char*>(name), FindMeFirst); };
    ASSERT_NE(find("lst"), nullptr);
    CControlUI* unnamed = ControlCast<IContainerUI>(root)->ChildAt(3);

    // A list row made in code, as the gallery fills its list.
    auto* list = ControlCast<IContainerUI>(find("lst"));
    auto* row = new CListTextElementUI;
    row->SetColumnText(0, "Row 001");
    ASSERT_TRUE(list->AddChild(row));

    // A virtual list with a range of rows selected.
    auto* million = ControlCast<CVirtualListUI>(find("vls"));
    ASSERT_NE(million, nullptr);
    million->SetRowCount(1000000);
    million->SelectItem(10, false);
    million->OnNavigationKey(VK_END, true, false);

    auto* tree = ControlCast<IContainerUI>(find("tree"));
    ASSERT_NE(tree, nullptr);
    auto* docs = ControlCast<CTreeNodeUI>(tree->ChildAt(0));
    ASSERT_NE(docs, nullptr);
    docs->GetFolderButton()->SetSelected(true);  // folded
    docs->GetCheckBox()->SetSelected(true);

    const struct {
        TNotifyEvent event;
        const char* expected;
    } cases[] = {
        {Event("valuechanged", find("sld")), "valuechanged from sld: value 35"},
        {Event("selectchanged", find("chk")), "selectchanged from chk: checked"},
        {Event("selectchanged", find("opt")), "selectchanged from opt: unselected"},
        {Event("click", unnamed), "click from (ButtonUI): wParam 0, lParam 0"},
        {Event("selectchanged", docs->GetFolderButton()), "selectchanged from folder of \"Docs\": collapsed"},
        {Event("selectchanged", docs->GetCheckBox()), "selectchanged from check box of \"Docs\": checked"},
        {Event("textchanged", find("edt")), "textchanged from edt: text \"hi there\""},
        {Event("return", find("long")), "return from long: text \"0123456789012345678901234567890123456789...\""},
        {Event("datetimechanged", find("dtp")), "datetimechanged from dtp: date \"2026-12-08\""},
        {Event("itemselect", find("cbo"), 1, 0), "itemselect from cbo: item 1 \"two\""},
        {Event("itemselect", find("cbo"), 5, 1), "itemselect from cbo: item 5 (no row)"},
        {Event("itemselect", find("lst"), 0, static_cast<LPARAM>(-1)), "itemselect from lst: item 0 \"Row 001\""},
        {Event("itemselect", find("vls"), 999999, 10), "itemselect from vls: item 999999, 999990 selected"},
        {Event("columnclick", find("vls"), 2), "columnclick from vls: column 2"},
        {Event("tabselect", find("sld"), 2, 0), "tabselect from sld: page 2 (was 0)"},
        {Event("link", find("edt"), 3), "link from edt: link 3"},
        {Event("timer", find("edt"), 7, 9), "timer from edt: wParam 7, lParam 9"},
        {Event("windowinit", nullptr), "windowinit from (none): wParam 0, lParam 0"},
        // A value the sender does not have falls back to the parameters.
        {Event("scroll", find("sb")), "scroll from sb: value 120"},
        {Event("scroll", find("edt"), 1, 2), "scroll from edt: wParam 1, lParam 2"},
        {Event("valuechanged", find("edt"), 4, 5), "valuechanged from edt: wParam 4, lParam 5"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Gallery::DescribeNotification(c.event), c.expected) << c.event.Type.GetData();
}
