// Assistive technology for what is more than one control: the links of a text, the rows of an
// open drop-down, and the selected children of lists, trees and combos.
#include <windows.h>
#include <oleacc.h>

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "AccessibleTestSupport.h"
#include "support/HostBed.h"
#include "controls/list/List.h"
#include "controls/list/VirtualList.h"
#include "controls/list/TreeNode.h"
#include "controls/native/Combo.h"
#include "controls/native/ComboWnd.h"
#include "controls/text/Text.h"
#include "host/AccessibleLinks.h"
#include "host/WindowHost.h"
#include "support/AccessibleDump.h"
#include "support/TestBed.h"

using namespace SkinUI;
using namespace testbed;

namespace {

//--- links --------------------------------------------------------------------------------------

TEST(AccessibleLinks, WordsOfEveryLinkAsTheMarkupWritesThem)
{
    struct TCase {
        const char* markup;
        std::vector<std::string> words;
    };
    const TCase cases[] = {
        {"", {}},
        {"no links at all", {}},
        {"{a home}home{/a}", {"home"}},
        {"<a home>angle<\\a> {a}no target{/a}", {"angle<\\a> ", "no target"}},  // <\a> closes nothing
        {"{a x}the {b}bold{/b} one{/a} and {a y}two{/a}", {"the bold one", "two"}},
        {"{a x}line{n}break{/a}", {"line break"}},
        {"{a x}brace {<} escaped{/a}", {"brace < escaped"}},
        {"{a x}raw {r}{b}{/r} kept{/a}", {"raw {b} kept"}},
        {"{a x}first{a y}second{/a}", {"first", "second"}},  // an open link ends at the next
        {"{a x}unclosed", {"unclosed"}},
        {"stray{/a} close", {}},
        {"{a x}cut at the end {", {"cut at the end {"}},
    };
    for (const TCase& c : cases) {
        std::vector<std::string> words;
        for (const CUIString& w : AccessibleLinks::LinkWordsOf(c.markup))
            words.push_back(w.GetData());
        EXPECT_EQ(words, c.words) << c.markup;
    }
}

// A text whose second link wraps onto a second line: three entries for two links.
const char kLinks[] = "<Window><VerticalLayout>"
                      "<Text name=\"txt\" showhtml=\"true\" width=\"120\" height=\"80\" "
                      "text=\"{a one}One{/a} {a two}a long second link that wraps{/a}\"/>"
                      "</VerticalLayout></Window>";

TEST(AccessibleLinks, ALinkFollowsAsAClickOnItsFirstLineAndNeverTouchesADeadText)
{
    AccessibleBed bed(kLinks);
    CTextUI* text = ControlCast<CTextUI>(bed.Find("txt"));
    ASSERT_GE(text->GetLinkCount(), 3) << "the second link must wrap for this test";
    Log log;
    NotifyRecorder notes(&log);
    bed.wnd->Host().AddNotificationListener(&notes);
    IAccessible* client = bed.Client();
    ASSERT_NE(client, nullptr);
    std::vector<IAccessible*> objects = AllObjects(client);
    IAccessible* second = Named(objects, "a long second link that wraps", ROLE_SYSTEM_LINK);
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(objects.size(), 3u) << "the text and its two links, the wrapped one once";
    // Where the link starts, in screen pixels.
    long left = 0, top = 0, width = 0, height = 0;
    ASSERT_EQ(second->accLocation(&left, &top, &width, &height, Self()), S_OK);
    POINT origin = {0, 0};
    ::ClientToScreen(bed.wnd->Handle(), &origin);
    EXPECT_EQ(left, origin.x + text->GetLinkRect(1).left);
    EXPECT_EQ(top, origin.y + text->GetLinkRect(1).top);
    VARIANT hit;
    ASSERT_EQ(client->accHitTest(left + 1, top + 1, &hit), S_OK);
    ASSERT_EQ(hit.vt, VT_DISPATCH) << "the link is the object under its words";
    IAccessible* hitObject = nullptr;
    hit.pdispVal->QueryInterface(IID_IAccessible, reinterpret_cast<void**>(&hitObject));
    EXPECT_EQ(hitObject, second);
    hitObject->Release();
    ::VariantClear(&hit);

    ASSERT_EQ(second->accDoDefaultAction(Self()), S_OK);
    EXPECT_EQ(Filter(log, "link:"), Log{}) << "runs after the client's call";
    testbed::PumpPending();
    ASSERT_EQ(Filter(log, "link:"), Log{"link:txt"});
    EXPECT_EQ(notes.last.WParam, 1u) << "the index a click on the link's first line sends";

    // A listener that destroys the text while it follows a link: nothing touches it afterwards.
    log.clear();
    notes.hook = [&](TNotifyEvent& event) {
        if (event.Type == "link")
            ControlCast<CContainerUI>(text->GetParent())->RemoveChild(text);
    };
    ASSERT_EQ(second->accDoDefaultAction(Self()), S_OK);
    testbed::PumpPending();
    EXPECT_EQ(Filter(log, "link:"), Log{"link:txt"});
    ExpectDisconnected(second, "link of a text a listener destroyed");
    notes.hook = nullptr;
    bed.wnd->Host().RemoveNotificationListener(&notes);
    ReleaseAll(objects);
    client->Release();
}

//--- drop-downs and selection -------------------------------------------------------------------

const char kLists[]
    = "<Window><VerticalLayout>"
      "<Combo name=\"cbo\" accname=\"Fruit\" height=\"20\">"
      "<ListLabelElement text=\"Pear\" height=\"20\"/>"
      "<ListLabelElement text=\"Plum\" height=\"20\" selected=\"true\"/></Combo>"
      "<List name=\"lst\" accname=\"Rows\" height=\"80\">"
      "<ListLabelElement text=\"R1\" height=\"20\"/><ListLabelElement text=\"R2\" height=\"20\"/>"
      "</List>"
      "<VirtualList name=\"vls\" accname=\"Many\" multiselect=\"true\" itemheight=\"20\" height=\"100\">"
      "<ListHeader height=\"20\"><ListHeaderItem text=\"A\" width=\"100\"/></ListHeader></VirtualList>"
      "<TreeView name=\"tree\" accname=\"Tree\" height=\"80\"><TreeNode text=\"N1\"/>"
      "<TreeNode name=\"n2\" text=\"N2\"/></TreeView>"
      "<Button name=\"btn\" text=\"Plain\" height=\"20\"/>"
      "</VerticalLayout></Window>";

class Rows : public IVirtualListSource {
public:
    void FillRow(int index, TVirtualRow& row) override { row.texts[0] = ("V" + std::to_string(index)).c_str(); }
};

// kLists with fifty rows in the virtual list, painted.
class ListsBed : public AccessibleBed {
public:
    ListsBed()
        : AccessibleBed(kLists)
        , list(ControlCast<CListUI>(Find("lst")))
        , virtualList(ControlCast<CVirtualListUI>(Find("vls")))
    {
        virtualList->SetSource(&source);
        virtualList->SetRowCount(50);
        wnd->Repaint();
    }

    Rows source;
    CListUI* list;
    CVirtualListUI* virtualList;
};

// What get_accSelection answers, as text: "empty", "one: NAME", "many: NAME, NAME", or the error.
std::string SelectionOf(IAccessible* object)
{
    VARIANT v;
    ::VariantInit(&v);
    const HRESULT hr = object->get_accSelection(&v);
    if (hr == DISP_E_MEMBERNOTFOUND)
        return "not supported";
    if (FAILED(hr))
        return "error";
    std::string out;
    if (v.vt == VT_EMPTY) {
        out = "empty";
    } else if (v.vt == VT_DISPATCH) {
        IAccessible* one = nullptr;
        v.pdispVal->QueryInterface(IID_IAccessible, reinterpret_cast<void**>(&one));
        out = "one: " + NameOf(one);
        one->Release();
    } else if (v.vt == VT_UNKNOWN) {
        IEnumVARIANT* items = nullptr;
        v.punkVal->QueryInterface(IID_IEnumVARIANT, reinterpret_cast<void**>(&items));
        out = "many:";
        VARIANT item;
        ULONG fetched = 0;
        while (items != nullptr && items->Next(1, &item, &fetched) == S_OK && fetched == 1) {
            IAccessible* each = nullptr;
            item.pdispVal->QueryInterface(IID_IAccessible, reinterpret_cast<void**>(&each));
            out += " " + NameOf(each);
            each->Release();
            ::VariantClear(&item);
        }
        if (items != nullptr)
            items->Release();
    } else {
        out = "vt " + std::to_string(v.vt);
    }
    ::VariantClear(&v);
    return out;
}

TEST(AccessibleSelection, NoneOneOrManySelectedChildrenAsTheRulesSay)
{
    ListsBed bed;
    CListUI* list = bed.list;
    CVirtualListUI* virtualList = bed.virtualList;
    IAccessible* client = bed.Client();
    ASSERT_NE(client, nullptr);
    struct TCase {
        const char* what;
        std::function<void()> act;
        const char* object;  // its name
        const char* selection;
    };
    const TCase cases[] = {
        {"list, nothing selected", [] {}, "Rows", "empty"},
        {"list, one row", [&] { list->SelectItem(1, false); }, "Rows", "one: R2"},
        {"virtual list, one row", [&] { virtualList->SelectItem(2, false); }, "Many", "one: V2"},
        {"virtual list, three rows",
            [&] {
                virtualList->OnNavigationKey(VK_DOWN, true, false);
                virtualList->OnNavigationKey(VK_DOWN, true, false);
            },
            "Many", "many: V2 V3 V4"},
        {"tree, one node", [&] { AsTreeNode(bed.Find("n2"))->Select(true); }, "Tree", "one: N2"},
        {"closed combo: no children", [] {}, "Fruit", "empty"},
        {"a button selects nothing", [] {}, "Plain", "not supported"},
    };
    for (const TCase& c : cases) {
        c.act();
        bed.wnd->Repaint();
        std::vector<IAccessible*> objects = AllObjects(client);
        IAccessible* object = Named(objects, c.object);
        ASSERT_NE(object, nullptr) << c.what;
        EXPECT_EQ(SelectionOf(object), c.selection) << c.what;
        ReleaseAll(objects);
    }
    client->Release();
}

TEST(AccessibleDropDown, AnOpenComboShowsItsRowsSelectionAndValue)
{
    AccessibleBed bed(kLists);
    IAccessible* client = bed.Client();
    ASSERT_NE(client, nullptr);
    CComboUI* combo = ControlCast<CComboUI>(bed.Find("cbo"));
    std::vector<IAccessible*> objects = AllObjects(client);
    IAccessible* box = Named(objects, "Fruit", ROLE_SYSTEM_COMBOBOX);
    ASSERT_NE(box, nullptr);
    box->AddRef();
    ReleaseAll(objects);
    bed.wnd->Host().SetFocusControl(nullptr);
    EXPECT_EQ(testbed::DumpTree(box, 1), "combo box \"Fruit\" [collapsed focusable] = \"Plum\"\n");
    EXPECT_EQ(TextOf(box, &IAccessible::get_accDefaultAction), "Open");

    // Opened by its default action, as a screen reader user opens it.
    ASSERT_EQ(box->accDoDefaultAction(Self()), S_OK);
    testbed::PumpPending();
    ASSERT_NE(combo->GetDropWindow(), nullptr);
    EXPECT_EQ(testbed::DumpTree(box),
        "combo box \"Fruit\" [expanded focusable] = \"Plum\"\n"
        "  list item \"Pear\" [selectable]\n"
        "  list item \"Plum\" [selected selectable]\n");
    EXPECT_EQ(SelectionOf(box), "one: Plum");
    objects = AllObjects(box);
    ASSERT_EQ(objects.size(), 2u);
    // A row is where the drop-down shows it, and its parent is the combo.
    long left = 0, top = 0, width = 0, height = 0;
    ASSERT_EQ(objects[0]->accLocation(&left, &top, &width, &height, Self()), S_OK);
    RECT drop = {};
    ::GetWindowRect(combo->GetDropWindow()->GetHWND(), &drop);
    EXPECT_TRUE(left >= drop.left && top >= drop.top && left + width <= drop.right && top + height <= drop.bottom)
        << left << "," << top << " " << width << "x" << height;
    IDispatch* parent = nullptr;
    ASSERT_EQ(objects[0]->get_accParent(&parent), S_OK);
    IAccessible* parentObject = nullptr;
    parent->QueryInterface(IID_IAccessible, reinterpret_cast<void**>(&parentObject));
    EXPECT_EQ(parentObject, box);
    parentObject->Release();
    parent->Release();

    // The default action closes it again, as Escape would; its rows are no longer read.
    EXPECT_EQ(TextOf(box, &IAccessible::get_accDefaultAction), "Close");
    ASSERT_EQ(box->accDoDefaultAction(Self()), S_OK);
    testbed::PumpPending();
    EXPECT_EQ(combo->GetDropWindow(), nullptr);
    EXPECT_EQ(testbed::DumpTree(box, 1).find("list item"), std::string::npos);
    ExpectDisconnected(objects[1], "row of a closed drop-down");

    // A row picked from the keyboard while closed: the value follows.
    combo->SelectItem(0, false);
    EXPECT_EQ(TextOf(box, &IAccessible::get_accValue), "Pear");
    ReleaseAll(objects);
    box->Release();
    client->Release();
}

//--- keyboard -----------------------------------------------------------------------------------

TEST(AccessibleKeyboard, ListsAndTreesAreTabStopsAndTheArrowsChooseTheirRows)
{
    ListsBed bed;
    CListUI* list = bed.list;
    CVirtualListUI* virtualList = bed.virtualList;
    CWindowHostUI& host = bed.wnd->Host();
    host.SetFocusControl(bed.Find("cbo"));
    // The move waits for a layout that is due: the next paint resolves it.
    auto tab = [&] {
        MSG msg = {bed.wnd->Handle(), WM_KEYDOWN, VK_TAB, 0, 0, {0, 0}};
        const bool taken = CWindowHostUI::TranslateForHosts(&msg);
        bed.wnd->Repaint();
        testbed::PumpPending();
        return taken;
    };
    auto down = [&] {
        bed.wnd->Send(WM_KEYDOWN, VK_DOWN);
        bed.wnd->Send(WM_KEYUP, VK_DOWN);
    };
    ASSERT_TRUE(tab());
    EXPECT_EQ(host.GetFocusControl(), list) << host.GetFocusControl()->GetTypeName();
    down();
    down();
    EXPECT_EQ(list->GetCurrentIndex(), 1);
    ASSERT_TRUE(tab());
    EXPECT_EQ(host.GetFocusControl(), virtualList);
    down();
    down();
    EXPECT_EQ(virtualList->GetCurrentIndex(), 1);
    ASSERT_TRUE(tab());
    EXPECT_EQ(host.GetFocusControl(), bed.Find("tree")) << "the tree before the parts of its rows";
}

}  // namespace
