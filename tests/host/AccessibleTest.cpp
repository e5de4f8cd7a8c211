// Assistive technology through the real host: the tree a client reads (WM_GETOBJECT, then
// AccessibleChildren), the WinEvents it hears, default actions, the lifetime of objects a client
// keeps, keyboard operation and the ANSI to UTF-16 conversion.
#include <windows.h>
#include <oleacc.h>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "AccessibleTestSupport.h"
#include "controls/native/Combo.h"
#include "controls/native/Edit.h"
#include "controls/list/TreeNode.h"
#include "controls/text/CheckBox.h"
#include "controls/list/TreeView.h"
#include "support/HostBed.h"
#include "controls/range/Slider.h"
#include "controls/text/Button.h"
#include "controls/text/Option.h"
#include "host/AccessibleText.h"
#include "skin/SkinBuilder.h"
#include "support/AccessibleDump.h"
#include "support/TestBed.h"

using namespace SkinUI;
using namespace testbed;

namespace {

const char kForm[]
    = "<Window><VerticalLayout bkcolor=\"#FFFFFFFF\">"
      "<Button name=\"save\" text=\"Save\" shortcut=\"s\" height=\"20\"/>"
      "<Button name=\"close\" accname=\"Close\" tooltip=\"Close the window\" height=\"20\"/>"
      "<Button name=\"tip\" tooltip=\"Only a tooltip\" height=\"20\"/>"
      "<Button name=\"off\" text=\"Off\" enabled=\"false\" height=\"20\"/>"
      "<Label height=\"4\"/>"
      "<Label text=\"Your name\" height=\"20\"/>"
      "<Edit name=\"who\" text=\"Ann\" height=\"20\"/>"
      "<Label text=\"Secret\" height=\"20\"/>"
      "<Edit name=\"pw\" password=\"true\" text=\"pw\" height=\"20\"/>"
      "<CheckBox name=\"keep\" text=\"Remember\" selected=\"true\" height=\"20\"/>"
      "<HorizontalLayout accname=\"Size\" height=\"20\">"
      "<Option name=\"small\" text=\"S\" group=\"g\" selected=\"true\"/>"
      "<Option name=\"large\" text=\"L\" group=\"g\"/></HorizontalLayout>"
      "<HorizontalLayout height=\"20\"><Label name=\"inner\" text=\"Inside a plain layout\"/></HorizontalLayout>"
      "<Slider name=\"vol\" accname=\"Volume\" min=\"0\" max=\"10\" value=\"4\" step=\"2\" height=\"20\"/>"
      "<Progress min=\"0\" max=\"100\" value=\"30\" height=\"10\" accdescription=\"How far\"/>"
      "<Text showhtml=\"true\" text=\"A {b}bold{/b}{n}word\" height=\"20\"/>"
      "<Button name=\"hidden\" text=\"Hidden\" visible=\"false\"/>"
      "<Label name=\"status\" accrole=\"statictext\" height=\"20\"/>"
      "<Button name=\"home\" accname=\"Home page\" accrole=\"link\" height=\"20\"/>"
      "<Text name=\"txt\" showhtml=\"true\" text=\"See {a home}home{/a} or {a docs}the {b}skin{/b} guide{/a}.\" "
      "height=\"20\"/>"
      "<Label text=\"Fruit\" height=\"20\"/>"
      "<Combo name=\"cbo\" height=\"20\"><ListLabelElement name=\"pear\" text=\"Pear\" selected=\"true\"/>"
      "<ListLabelElement text=\"Plum\"/></Combo>"
      "<Label text=\"Far below\" float=\"true\" pos=\"0,900,80,920\"/>"
      "</VerticalLayout></Window>";

//--- the tree -----------------------------------------------------------------------------------

TEST(Accessible, ClientTreeReadsRolesNamesStatesAndValues)
{
    AccessibleBed bed(kForm);
    IAccessible* client = bed.Client();
    ASSERT_NE(client, nullptr);
    // Layouts that only arrange are looked through; a named one is a group. The edits take their
    // names from the label before them; the password is never read; the empty spacer label, the
    // hidden button and the plain layout do not appear, the label inside the layout does.
    const std::string expected = "client \"host test\" [focused focusable]\n"
                                 "  push button \"Save\" [focused focusable]\n"
                                 "  push button \"Close\" [focusable]\n"
                                 "  push button \"Only a tooltip\" [focusable]\n"
                                 "  push button \"Off\" [unavailable]\n"
                                 "  static text \"Your name\" [readonly]\n"
                                 "  text \"Your name\" [focusable] = \"Ann\"\n"
                                 "  static text \"Secret\" [readonly]\n"
                                 "  text \"Secret\" [focusable protected]\n"
                                 "  check button \"Remember\" [checked focusable]\n"
                                 "  grouping \"Size\" []\n"
                                 "    radio button \"S\" [checked focusable]\n"
                                 "    radio button \"L\" [focusable]\n"
                                 "  static text \"Inside a plain layout\" [readonly]\n"
                                 "  slider \"Volume\" [focusable] = \"4\"\n"
                                 "  progress bar \"\" [readonly] = \"30\"\n"
                                 "  static text \"A bold word\" [readonly]\n"
                                 "  static text \"\" [readonly]\n"
                                 "  link \"Home page\" [focusable linked]\n"
                                 "  static text \"See home or the skin guide.\" [readonly]\n"
                                 "    link \"home\" [linked] = \"home\"\n"
                                 "    link \"the skin guide\" [linked] = \"docs\"\n"
                                 "  static text \"Fruit\" [readonly]\n"
                                 "  combo box \"Fruit\" [collapsed focusable] = \"Pear\"\n"
                                 "  static text \"Far below\" [readonly offscreen]\n";
    EXPECT_EQ(testbed::DumpTree(client), expected);
    client->Release();
}

TEST(Accessible, AChildLayoutsDocumentIsReadLikeAnyContainer)
{
    AccessibleBed bed(
        "<Window><VerticalLayout><ChildLayout height=\"40\" xmlfile=\"&lt;Window&gt;&lt;"
        "HorizontalLayout&gt;&lt;Button text=&quot;Inside&quot;/&gt;&lt;/HorizontalLayout&gt;&lt;/Window&gt;\"/>"
        "</VerticalLayout></Window>");
    IAccessible* client = bed.Client();
    ASSERT_NE(client, nullptr);
    bed.wnd->Host().SetFocusControl(nullptr);
    EXPECT_EQ(testbed::DumpTree(client),
        "client \"host test\" [focused focusable]\n"
        "  push button \"Inside\" [focusable]\n");
    client->Release();
}

TEST(Accessible, DescriptionShortcutLocationAndDefaultActionPerObject)
{
    AccessibleBed bed(kForm);
    IAccessible* client = bed.Client();
    ASSERT_NE(client, nullptr);
    struct TCase {
        const char* name;  // accessible name of the object
        const char* description;
        const char* shortcut;
        const char* action;
    };
    const TCase cases[] = {
        {"Save", "", "Alt+S", "Press"},
        {"Remember", "", "", "Uncheck"},
        {"S", "", "", "Check"},
        {"", "How far", "", ""},  // the progress bar
        {"Home page", "", "", "Jump"},
    };
    const std::vector<IAccessible*> objects = AllObjects(client);
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.name);
        IAccessible* object = nullptr;
        for (IAccessible* o : objects) {
            BSTR description = nullptr;
            o->get_accDescription(Self(), &description);
            const bool match = NameOf(o) == c.name && (*c.name != '\0' || testbed::Utf8(description) == c.description);
            ::SysFreeString(description);
            if (match && object == nullptr)
                object = o;
        }
        ASSERT_NE(object, nullptr);
        BSTR text = nullptr;
        object->get_accDescription(Self(), &text);
        EXPECT_EQ(testbed::Utf8(text), c.description);
        ::SysFreeString(text);
        text = nullptr;
        object->get_accKeyboardShortcut(Self(), &text);
        EXPECT_EQ(testbed::Utf8(text), c.shortcut);
        ::SysFreeString(text);
        text = nullptr;
        object->get_accDefaultAction(Self(), &text);
        EXPECT_EQ(testbed::Utf8(text), c.action);
        ::SysFreeString(text);
    }
    // Locations are screen pixels: the window's client origin plus the control's position.
    CControlUI* save = bed.Find("save");
    POINT origin = {0, 0};
    ::ClientToScreen(bed.wnd->Handle(), &origin);
    long left = 0, top = 0, width = 0, height = 0;
    ASSERT_EQ(objects[0]->accLocation(&left, &top, &width, &height, Self()), S_OK);
    EXPECT_EQ(left, origin.x + save->GetPosition().left);
    EXPECT_EQ(top, origin.y + save->GetPosition().top);
    EXPECT_EQ(width, save->GetWidth());
    EXPECT_EQ(height, save->GetHeight());
    // The parent of a control in a named group is the group; of a top-level control, the client.
    IDispatch* parent = nullptr;
    ASSERT_EQ(objects[0]->get_accParent(&parent), S_OK);
    IAccessible* parentObject = nullptr;
    parent->QueryInterface(IID_IAccessible, reinterpret_cast<void**>(&parentObject));
    EXPECT_EQ(NameOf(parentObject), "host test");
    parentObject->Release();
    parent->Release();
    for (IAccessible* o : objects)
        o->Release();
    client->Release();
}

TEST(Accessible, DefaultActionRunsAfterTheCallAndNeverOnARemovedControl)
{
    AccessibleBed bed(kForm);
    Log log;
    NotifyRecorder notes(&log);
    bed.wnd->Host().AddNotificationListener(&notes);
    IAccessible* client = bed.Client();
    ASSERT_NE(client, nullptr);
    const std::vector<IAccessible*> objects = AllObjects(client);
    IAccessible* save = objects[0];
    ASSERT_EQ(NameOf(save), "Save");
    ASSERT_EQ(save->accDoDefaultAction(Self()), S_OK);
    EXPECT_EQ(Filter(log, "click:"), Log{}) << "a message box the click opens must not hold the client";
    testbed::PumpPending();
    EXPECT_EQ(Filter(log, "click:"), Log{"click:save"});

    // Asked for, then the control goes before the posted action runs: nothing reaches it.
    log.clear();
    ASSERT_EQ(save->accDoDefaultAction(Self()), S_OK);
    CControlUI* control = bed.Find("save");
    ControlCast<CContainerUI>(control->GetParent())->RemoveChild(control);
    testbed::PumpPending();
    EXPECT_EQ(Filter(log, "click:"), Log{});
    bed.wnd->Host().RemoveNotificationListener(&notes);
    for (IAccessible* o : objects)
        o->Release();
    client->Release();
}

TEST(Accessible, ANativeEditorIsTheChildOfItsControlWhileItShows)
{
    AccessibleBed bed(kForm);
    IAccessible* client = bed.Client();
    ASSERT_NE(client, nullptr);
    IAccessible* edit = nullptr;
    for (IAccessible* o : AllObjects(client)) {
        VARIANT role;
        ::VariantInit(&role);
        o->get_accRole(Self(), &role);
        if (edit == nullptr && role.lVal == ROLE_SYSTEM_TEXT)
            edit = o;
        else
            o->Release();
    }
    ASSERT_NE(edit, nullptr);
    long count = -1;
    ASSERT_EQ(edit->get_accChildCount(&count), S_OK);
    EXPECT_EQ(count, 0) << "no editor window before the edit has the focus";
    bed.wnd->Host().SetFocusControl(bed.Find("who"));
    testbed::PumpPending();
    ASSERT_EQ(edit->get_accChildCount(&count), S_OK);
    ASSERT_EQ(count, 1) << "the editor window the edit shows";
    VARIANT child;
    long obtained = 0;
    ASSERT_EQ(::AccessibleChildren(edit, 0, 1, &child, &obtained), S_OK);
    ASSERT_EQ(child.vt, VT_DISPATCH);
    IAccessible* native = nullptr;
    ASSERT_EQ(child.pdispVal->QueryInterface(IID_IAccessible, reinterpret_cast<void**>(&native)), S_OK);
    VARIANT role;
    ::VariantInit(&role);
    EXPECT_EQ(native->get_accRole(Self(), &role), S_OK);
    // Described by the system, not by us: an edit's contents, or its client area where the system
    // has no edit-specific object (Wine 8).
    EXPECT_TRUE(role.lVal == ROLE_SYSTEM_TEXT || role.lVal == ROLE_SYSTEM_CLIENT) << role.lVal;
    native->Release();
    ::VariantClear(&child);
    edit->Release();
    client->Release();
}

TEST(Accessible, APasswordEditorIsReadAsItsControlNeverByItsText)
{
    AccessibleBed bed(kForm);
    CEditUI* password = ControlCast<CEditUI>(bed.Find("pw"));
    bed.wnd->Host().SetFocusControl(password);
    testbed::PumpPending();
    const HWND editor = password->GetEditWindow();
    ASSERT_NE(editor, nullptr);
    IAccessible* object = nullptr;
    ASSERT_EQ(::AccessibleObjectFromWindow(
                  editor, static_cast<DWORD>(OBJID_CLIENT), IID_IAccessible, reinterpret_cast<void**>(&object)),
        S_OK);
    // The system's description of the window would be named by the text ("pw").
    EXPECT_EQ(testbed::DescribeObject(object), "text \"Secret\" [focused focusable protected]");
    long count = -1;
    ASSERT_EQ(object->get_accChildCount(&count), S_OK);
    EXPECT_EQ(count, 0) << "the editor is the object itself, not a child of it";
    object->Release();
}

//--- lifetime -----------------------------------------------------------------------------------

TEST(Accessible, KeptObjectsAnswerNotConnectedOnceTheirControlOrHostHasGone)
{
    AccessibleBed bed(kForm);
    IAccessible* client = bed.Client();
    ASSERT_NE(client, nullptr);
    std::vector<IAccessible*> objects = AllObjects(client);
    ASSERT_GE(objects.size(), 3u);
    IAccessible* save = objects[0];
    IAccessible* close = objects[1];
    ASSERT_EQ(NameOf(close), "Close");

    // The control removed (destroyed after the current message): its object is cut off, the
    // others still answer.
    CControlUI* control = bed.Find("save");
    ControlCast<CContainerUI>(control->GetParent())->RemoveChild(control);
    testbed::PumpPending();
    ExpectDisconnected(save, "removed control");
    EXPECT_EQ(NameOf(close), "Close");

    // A text's link: cut off when the text changes (its links are new ones) and when the text goes.
    IAccessible* link = Named(objects, "home", ROLE_SYSTEM_LINK);
    ASSERT_NE(link, nullptr);
    bed.Find("txt")->SetText("Now {a x}elsewhere{/a}");
    bed.wnd->Repaint();
    ExpectDisconnected(link, "link of a changed text");
    std::vector<IAccessible*> now = AllObjects(client);
    IAccessible* newLink = Named(now, "elsewhere", ROLE_SYSTEM_LINK);
    ASSERT_NE(newLink, nullptr);
    newLink->AddRef();
    ReleaseAll(now);
    control = bed.Find("txt");
    ControlCast<CContainerUI>(control->GetParent())->RemoveChild(control);
    testbed::PumpPending();
    ExpectDisconnected(newLink, "link of a removed text");
    newLink->Release();

    // A drop-down's rows: cut off when it closes (the rows live on in the combo), and when the
    // combo goes while it is open.
    CComboUI* combo = ControlCast<CComboUI>(bed.Find("cbo"));
    ASSERT_TRUE(combo->TriggerAction());
    now = AllObjects(client);
    IAccessible* plum = Named(now, "Plum", ROLE_SYSTEM_LISTITEM);
    ASSERT_NE(plum, nullptr);
    plum->AddRef();
    ReleaseAll(now);
    EXPECT_EQ(NameOf(plum), "Plum");
    combo->CloseDropDown();
    ExpectDisconnected(plum, "row of a closed drop-down");
    plum->Release();
    ASSERT_TRUE(combo->TriggerAction());
    now = AllObjects(client);
    plum = Named(now, "Plum", ROLE_SYSTEM_LISTITEM);
    ASSERT_NE(plum, nullptr);
    plum->AddRef();
    ReleaseAll(now);
    ControlCast<CContainerUI>(combo->GetParent())->RemoveChild(combo);
    testbed::PumpPending();
    ExpectDisconnected(plum, "row of a removed open combo");
    plum->Release();

    // A whole new tree: every object of the old one is cut off.
    CSkinBuilder builder;
    bed.wnd->Host().AttachRoot(
        builder.BuildFrom("<Window><Button text=\"New\"/></Window>", nullptr, nullptr, &bed.wnd->Host(), nullptr));
    testbed::PumpPending();
    ExpectDisconnected(close, "replaced tree");

    // The window closed and the host destroyed: the client object too.
    IAccessible* fresh = nullptr;
    now = AllObjects(client);
    ASSERT_EQ(now.size(), 1u);
    fresh = now[0];
    bed.wnd.reset();
    ExpectDisconnected(fresh, "host destroyed");
    ExpectDisconnected(client, "client after the host");
    fresh->Release();
    for (IAccessible* o : objects)
        o->Release();
    client->Release();
}

//--- events -------------------------------------------------------------------------------------

struct THeard {
    DWORD Event;
    std::string Name;
};
std::vector<THeard>* g_heard = nullptr;

void CALLBACK OnWinEvent(HWINEVENTHOOK, DWORD event, HWND hwnd, LONG idObject, LONG idChild, DWORD, DWORD)
{
    if (g_heard == nullptr || idObject != OBJID_CLIENT)
        return;
    IAccessible* object = nullptr;
    VARIANT child;
    ::VariantInit(&child);
    std::string name = "(gone)";
    if (SUCCEEDED(::AccessibleObjectFromEvent(hwnd, idObject, idChild, &object, &child)) && object != nullptr) {
        BSTR text = nullptr;
        if (SUCCEEDED(object->get_accName(child, &text)))
            name = testbed::Utf8(text);
        ::SysFreeString(text);
        object->Release();
    }
    g_heard->push_back({event, name});
}

// Hears the window events from `first` to `last` that this process raises about client objects,
// out of context, while it lives; the hook goes with it on every path, a failed assertion included,
// so no later test's events land in a vector that is gone.
class EventEar {
public:
    EventEar(DWORD first, DWORD last)
    {
        g_heard = &heard;
        m_hook = ::SetWinEventHook(first, last, nullptr, OnWinEvent, ::GetCurrentProcessId(), 0, WINEVENT_OUTOFCONTEXT);
    }
    ~EventEar()
    {
        if (m_hook != nullptr)
            ::UnhookWinEvent(m_hook);
        g_heard = nullptr;
    }
    EventEar(const EventEar&) = delete;
    EventEar& operator=(const EventEar&) = delete;
    bool Listening() const { return m_hook != nullptr; }

    std::vector<THeard> heard;

private:
    HWINEVENTHOOK m_hook = nullptr;
};

// Waits (bounded) until the hook heard `event` about an object named `name`.
bool HeardWithin(const std::vector<THeard>& heard, DWORD event, const char* name)
{
    return testbed::PumpUntil(
        [&] {
            for (const THeard& h : heard) {
                if (h.Event == event && h.Name == name)
                    return true;
            }
            return false;
        },
        3000);
}

TEST(Accessible, ChangesAreAnnouncedWithTheObjectTheyConcern)
{
    AccessibleBed bed(kForm);
    EventEar ear(EVENT_OBJECT_CREATE, EVENT_OBJECT_VALUECHANGE);
    ASSERT_TRUE(ear.Listening());
    std::vector<THeard>& heard = ear.heard;
    CWindowHostUI& host = bed.wnd->Host();
    struct TCase {
        const char* what;
        std::function<void()> act;
        DWORD event;
        const char* name;  // read through AccessibleObjectFromEvent when the event arrives
    };
    const TCase cases[] = {
        {"status text", [&] { bed.Find("status")->SetText("Saved"); }, EVENT_OBJECT_NAMECHANGE, "Saved"},
        {"focus", [&] { host.SetFocusControl(bed.Find("close")); }, EVENT_OBJECT_FOCUS, "Close"},
        {"check toggled", [&] { bed.Find("keep")->TriggerAction(); }, EVENT_OBJECT_STATECHANGE, "Remember"},
        {"slider key", [&] { bed.wnd->Send(WM_KEYDOWN, VK_RIGHT); }, EVENT_OBJECT_VALUECHANGE, "Volume"},
        {"edit text", [&] { bed.Find("who")->SetText("Bo"); }, EVENT_OBJECT_VALUECHANGE, "Your name"},
        {"label in a layout", [&] { bed.Find("inner")->SetText("Changed"); }, EVENT_OBJECT_NAMECHANGE, "Changed"},
        {"hidden", [&] { bed.Find("tip")->SetVisible(false); }, EVENT_OBJECT_HIDE, "Only a tooltip"},
        {"disabled", [&] { bed.Find("close")->SetEnabled(false); }, EVENT_OBJECT_STATECHANGE, "Close"},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.what);
        if (c.event == EVENT_OBJECT_VALUECHANGE && std::string(c.what) == "slider key")
            host.SetFocusControl(bed.Find("vol"));
        testbed::PumpPending();
        heard.clear();
        c.act();
        EXPECT_TRUE(HeardWithin(heard, c.event, c.name)) << "no event " << c.event << " naming " << c.name;
    }
}

TEST(Accessible, ControlsAddedAndRemovedAtRunTimeAreAnnounced)
{
    AccessibleBed bed(kForm);
    EventEar ear(EVENT_OBJECT_CREATE, EVENT_OBJECT_DESTROY);
    ASSERT_TRUE(ear.Listening());
    std::vector<THeard>& heard = ear.heard;
    CContainerUI* root = ControlCast<CContainerUI>(bed.wnd->Host().GetRoot());
    CButtonUI* added = new CButtonUI;
    added->SetText("Added");
    root->AddChild(added);
    ASSERT_TRUE(testbed::PumpUntil([&] { return !heard.empty(); }, 3000));
    EXPECT_EQ(heard[0].Event, static_cast<DWORD>(EVENT_OBJECT_CREATE));
    EXPECT_EQ(heard[0].Name, "Added");
    heard.clear();
    root->RemoveChild(added);
    ASSERT_TRUE(testbed::PumpUntil([&] { return !heard.empty(); }, 3000));
    EXPECT_EQ(heard[0].Event, static_cast<DWORD>(EVENT_OBJECT_DESTROY));
    EXPECT_EQ(heard[0].Name, "(gone)") << "a destroyed control's id names nothing any more";
}

TEST(Accessible, ATreeRowExpandsByItsDefaultActionAndSaysSo)
{
    AccessibleBed bed("<Window><TreeView><TreeNode name=\"a\" text=\"A\"><TreeNode text=\"A1\"/></TreeNode>"
                      "<TreeNode text=\"B\"/></TreeView></Window>");
    EventEar ear(EVENT_OBJECT_CREATE, EVENT_OBJECT_VALUECHANGE);
    ASSERT_TRUE(ear.Listening());
    std::vector<THeard>& heard = ear.heard;
    IAccessible* client = bed.Client();
    ASSERT_NE(client, nullptr);
    // Whether the first folder button holds the focus is not the question here.
    bed.wnd->Host().SetFocusControl(nullptr);
    EXPECT_EQ(testbed::DumpTree(client),
        "client \"host test\" [focused focusable]\n"
        "  outline \"\" [focusable]\n"
        "    outline item \"A\" [expanded selectable] = \"0\"\n"
        "    outline item \"A1\" [selectable] = \"1\"\n"
        "    outline item \"B\" [selectable] = \"0\"\n");
    const std::vector<IAccessible*> objects = AllObjects(client);
    ASSERT_EQ(objects.size(), 4u);
    BSTR action = nullptr;
    objects[1]->get_accDefaultAction(Self(), &action);
    EXPECT_EQ(testbed::Utf8(action), "Collapse");
    ::SysFreeString(action);
    ASSERT_EQ(objects[1]->accDoDefaultAction(Self()), S_OK);
    ASSERT_TRUE(HeardWithin(heard, EVENT_OBJECT_STATECHANGE, "A"))
        << "the row's state change, though its folder button is what toggled";
    bed.wnd->Host().SetFocusControl(nullptr);
    EXPECT_EQ(testbed::DumpTree(client),
        "client \"host test\" [focused focusable]\n"
        "  outline \"\" [focusable]\n"
        "    outline item \"A\" [collapsed selectable] = \"0\"\n"
        "    outline item \"B\" [selectable] = \"0\"\n");
    for (IAccessible* o : objects)
        o->Release();
    client->Release();
}

// Rows joining a tree, shown or hidden in numbers are one change of the tree's children for a
// screen reader (it reads them afresh), never an event and an object a row; a single new row is
// announced as itself.
TEST(Accessible, TreeRowsInNumbersAreOneReorderOfTheTree)
{
    AccessibleBed bed("<Window><TreeView name=\"tree\"><TreeNode name=\"a\" text=\"A\"><TreeNode text=\"A1\"/>"
                      "</TreeNode></TreeView></Window>");
    EventEar ear(EVENT_OBJECT_CREATE, EVENT_OBJECT_VALUECHANGE);
    ASSERT_TRUE(ear.Listening());
    std::vector<THeard>& heard = ear.heard;
    CTreeViewUI* tree = ControlCast<CTreeViewUI>(bed.Find("tree"));
    CTreeNodeUI* a = AsTreeNode(bed.Find("a"));
    ASSERT_NE(tree, nullptr);
    ASSERT_NE(a, nullptr);
    auto node = [](const char* text) {
        CTreeNodeUI* made = new CTreeNodeUI;
        made->SetAttribute("text", text);
        return made;
    };
    struct TCase {
        const char* what;
        std::function<void()> act;
        DWORD event;
        const char* name;  // of the object the event concerns: the tree reads as ""
    };
    const TCase cases[] = {
        {"a subtree of three rows joins",
            [&] {
                CTreeNodeUI* b = node("B");
                CTreeNodeUI* b1 = node("B1");
                b->AddChild(b1);
                b1->AddChild(node("B11"));
                tree->AppendNode(b);
            },
            EVENT_OBJECT_REORDER, ""},
        {"a single row joins", [&] { a->AddChild(node("A2")); }, EVENT_OBJECT_CREATE, "A2"},
        {"a node collapses", [&] { a->GetFolderButton()->SetSelected(true); }, EVENT_OBJECT_REORDER, ""},
        {"a node expands", [&] { a->GetFolderButton()->SetSelected(false); }, EVENT_OBJECT_REORDER, ""},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.what);
        heard.clear();
        c.act();
        ASSERT_TRUE(HeardWithin(heard, c.event, c.name));
        // Events arrive in the order they were raised: whatever a row said on its own came first.
        for (const THeard& h : heard) {
            EXPECT_NE(h.Event, static_cast<DWORD>(EVENT_OBJECT_SHOW)) << h.Name;
            EXPECT_NE(h.Event, static_cast<DWORD>(EVENT_OBJECT_HIDE)) << h.Name;
            if (h.Event == EVENT_OBJECT_CREATE) {
                EXPECT_EQ(h.Name, c.name);
            }
        }
    }
}

//--- keyboard -----------------------------------------------------------------------------------

TEST(Accessible, ArrowsOperateSlidersAndOptionGroups)
{
    AccessibleBed bed(kForm);
    CWindowHostUI& host = bed.wnd->Host();
    CSliderUI* slider = ControlCast<CSliderUI>(bed.Find("vol"));
    COptionUI* small = ControlCast<COptionUI>(bed.Find("small"));
    COptionUI* large = ControlCast<COptionUI>(bed.Find("large"));
    struct TCase {
        CControlUI* focus;
        UINT key;
        int sliderValue;  // after the key (step 2, range 0..10)
        CControlUI* focusAfter;
        bool largeSelected;
    };
    const TCase cases[] = {
        {slider, VK_RIGHT, 6, slider, false},
        {slider, VK_LEFT, 4, slider, false},
        {slider, VK_END, 10, slider, false},
        {slider, VK_UP, 10, slider, false},  // already at the end
        {slider, VK_HOME, 0, slider, false},
        {slider, VK_DOWN, 0, slider, false},
        {small, VK_RIGHT, 0, large, true},
        {large, VK_RIGHT, 0, small, false},  // wraps
        {small, VK_LEFT, 0, large, true},
    };
    for (const TCase& c : cases) {
        host.SetFocusControl(c.focus);
        bed.wnd->Send(WM_KEYDOWN, c.key);
        bed.wnd->Send(WM_KEYUP, c.key);
        EXPECT_EQ(slider->GetValue(), c.sliderValue) << "key " << c.key;
        EXPECT_EQ(host.GetFocusControl(), c.focusAfter) << "key " << c.key;
        EXPECT_EQ(large->IsSelected(), c.largeSelected) << "key " << c.key;
        EXPECT_EQ(small->IsSelected(), !c.largeSelected) << "key " << c.key;
    }
}

TEST(Accessible, KeyboardFocusIsDrawnAndAClickHidesTheCue)
{
    AccessibleBed bed(kForm);
    CWindowHostUI& host = bed.wnd->Host();
    CControlUI* close = bed.Find("close");
    // Dotted: every other pixel along the top edge, one pixel inside the control.
    auto cueShows = [&] {
        bed.wnd->Repaint();
        int width = 0, height = 0;
        const std::vector<uint32_t> pixels = testbed::ReadBitmap(host.GetOffscreenBitmap(), width, height);
        const CRectUI r = close->GetPosition();
        int black = 0;
        for (int x = r.left + 1; x < r.right - 1 && !pixels.empty(); ++x)
            black += (pixels[static_cast<size_t>((r.top + 1) * width + x)] & 0xFFFFFF) == 0 ? 1 : 0;
        return black >= (r.GetWidth() - 2) / 3;
    };
    host.SetFocusControl(bed.Find("save"));
    MSG tab = {bed.wnd->Handle(), WM_KEYDOWN, VK_TAB, 0, 0, {0, 0}};
    ASSERT_TRUE(CWindowHostUI::TranslateForHosts(&tab));
    ASSERT_EQ(host.GetFocusControl(), close);
    EXPECT_TRUE(cueShows()) << "Tab moved the focus: it must be visible";
    const CRectUI r = close->GetPosition();
    bed.wnd->MouseAt(WM_LBUTTONDOWN, r.left + 2, r.top + 2);
    bed.wnd->MouseAt(WM_LBUTTONUP, r.left + 2, r.top + 2);
    EXPECT_FALSE(cueShows()) << "a mouse press hides the keyboard cue";
}

//--- text ---------------------------------------------------------------------------------------

struct TTextCase {
    const char* ansi;
    const wchar_t* wide;
};

void ExpectConverted(const TTextCase* cases, size_t count)
{
    for (size_t i = 0; i < count; ++i) {
        BSTR text = AnsiToBstr(cases[i].ansi);
        ASSERT_NE(text, nullptr);
        EXPECT_EQ(std::wstring(text, ::SysStringLen(text)), std::wstring(cases[i].wide)) << "case " << i;
        ::SysFreeString(text);
    }
}

TEST(Accessible, AnsiTextBecomesUtf16Exactly)
{
    ASSERT_EQ(::GetACP(), 1252u) << "run under LANG=en_US.UTF-8";
    const TTextCase cases[] = {
        {"", L""},
        {"Close", L"Close"},
        {"\x80 5", L"\x20AC 5"},  // the euro sign lives at 0x80 in 1252
        {"caf\xE9", L"caf\xE9"},
    };
    ExpectConverted(cases, sizeof(cases) / sizeof(cases[0]));
}

TEST(Accessible, Cp936TextBecomesUtf16Exactly)
{
    ASSERT_EQ(::GetACP(), 936u) << "run under LANG=zh_CN.UTF-8";
    const TTextCase cases[] = {
        {"\xC0\xB9 \xBD\xD8", L"\x62E6 \x622A"},  // the first two characters of the blocking button
        {"\xB9\xD8\xB1\xD5", L"\x5173\x95ED"},  // "close"
        {"A\xD6\xF7\xD2\xB3"
         "B",
            L"A\x4E3B\x9875"
            L"B"},  // double-byte between single bytes
    };
    ExpectConverted(cases, sizeof(cases) / sizeof(cases[0]));
}

}  // namespace
