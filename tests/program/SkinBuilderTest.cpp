// The skin builder against a real host on a hidden window: the shipped layouts, the Window and
// resource elements, defaults before attributes, the callback, refused adds, Include (count, text,
// nesting cap) and the tree-node rule with stand-in tree classes.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "ProgramTestSupport.h"
#include "controls/text/Button.h"
#include "controls/base/Container.h"
#include "controls/layout/ChildLayout.h"
#include "controls/native/DateTime.h"
#include "controls/native/Edit.h"
#include "controls/layout/HorizontalLayout.h"
#include "controls/layout/VerticalLayout.h"
#include "controls/text/Label.h"
#include "controls/list/TreeNode.h"
#include "controls/list/TreeView.h"
#include "host/WindowHost.h"
#include "skin/SkinBuilder.h"
#include "skin/SkinXml.h"
#include "support/HostBed.h"

using namespace SkinUI;

namespace {

IContainerUI* Children(CControlUI* control) { return ControlCast<IContainerUI>(control); }

// Counts the live instances of T, so a test can see that nothing leaked.
template <class T> class CLiveCount {
public:
    CLiveCount() { ++Alive(); }
    CLiveCount(const CLiveCount&) = delete;
    CLiveCount& operator=(const CLiveCount&) = delete;
    ~CLiveCount() { --Alive(); }
    static int& Alive()
    {
        static int alive = 0;
        return alive;
    }
};

class CProbeUI : public CControlUI, public CLiveCount<CProbeUI> { };

// A container that takes no children.
class CRefuserUI : public CContainerUI {
public:
    bool AddChild(CControlUI*) override { return false; }
};

class CRecordingCallback : public IDialogBuilderCallback {
public:
    CControlUI* CreateCustomControl(const char* elementName) override
    {
        const std::string name = elementName;
        asked.push_back(name);
        if (name == "Probe")
            return new CProbeUI;
        if (name == "Refuser")
            return new CRefuserUI;
        return nullptr;
    }
    std::vector<std::string> asked;
};

class SkinBuilderTest : public ::testing::Test {
protected:
    ~SkinBuilderTest() override
    {
        bed.reset();  // the host destroys the attached tree with itself
        EXPECT_EQ(0, CProbeUI::Alive()) << "a probe control leaked";
    }

    // Builds and gives the tree to the host, which destroys it with itself.
    CControlUI* Build(const char* xml, IDialogBuilderCallback* callback = nullptr)
    {
        CSkinBuilder builder;
        CControlUI* root = builder.BuildFrom(xml, nullptr, callback, &host, nullptr);
        if (root != nullptr)
            host.AttachRoot(root);
        return root;
    }
    SIZE WindowSize() const
    {
        RECT rect;
        ::GetWindowRect(bed->Hwnd(), &rect);
        return SIZE{rect.right - rect.left, rect.bottom - rect.top};
    }

    std::unique_ptr<testbed::HostBed> bed = std::make_unique<testbed::HostBed>(100, 100);
    CWindowHostUI& host = bed->Host();
};

//--- the shipped layouts ---------------------------------------------------------------------------

TEST_F(SkinBuilderTest, WindowTakesTheSkinSizeBeforeTheTreeIsAttached)
{
    programtest::SkinLocationScope location(programtest::ShippedSkinFolder());
    CSkinBuilder builder;
    CControlUI* root = builder.BuildFrom("MainWnd.en.xml", nullptr, nullptr, &host, nullptr);
    ASSERT_NE(nullptr, root);
    EXPECT_EQ(nullptr, host.GetRoot());
    EXPECT_EQ(360, WindowSize().cx);
    EXPECT_EQ(466, WindowSize().cy);
    host.AttachRoot(root);
    // Once a tree is attached a later skin no longer resizes the window.
    CSkinBuilder second;
    delete second.BuildFrom("<Window size=\"200,100\"><Control/></Window>", nullptr, nullptr, &host, nullptr);
    EXPECT_EQ(360, WindowSize().cx);
}

//--- Window and resource elements --------------------------------------------------------------------

TEST_F(SkinBuilderTest, WindowAttributesReachTheHost)
{
    ASSERT_NE(nullptr,
        Build("<Window size=\"200,120\" sizebox=\"1,2,3,4\" caption=\"0,0,0,30\" roundcorner=\"5,6\""
              " mininfo=\"10,20\" maxinfo=\"300,400\" showdirty=\"true\" bktrans=\"true\" alpha=\"200\""
              " disabledfontcolor=\"#FF010203\" defaultfontcolor=\"FF040506\""
              " linkfontcolor=\"#FF070809\" linkhoverfontcolor=\"#FF0A0B0C\" selectedcolor=\"#FF0D0E0F\">"
              "<Control/></Window>"));
    EXPECT_EQ(200, WindowSize().cx);
    EXPECT_EQ(120, WindowSize().cy);
    EXPECT_EQ(2, host.GetSizeBox().top);
    EXPECT_EQ(4, host.GetSizeBox().bottom);
    EXPECT_EQ(30, host.GetCaptionRect().bottom);
    EXPECT_EQ(5, host.GetRoundCorner().cx);
    EXPECT_EQ(6, host.GetRoundCorner().cy);
    EXPECT_EQ(20, host.GetMinInfo().cy);
    EXPECT_EQ(300, host.GetMaxInfo().cx);
    EXPECT_TRUE(host.IsShowDirty());
    EXPECT_TRUE(host.IsBackgroundSnapshot());
    EXPECT_EQ(200, host.GetTransparency());
    EXPECT_EQ(0xFF010203u, host.GetDefaultDisabledColor());
    EXPECT_EQ(0xFF040506u, host.GetDefaultFontColor());
    EXPECT_EQ(0xFF070809u, host.GetDefaultLinkColor());
    EXPECT_EQ(0xFF0A0B0Cu, host.GetDefaultLinkHoverColor());
    EXPECT_EQ(0xFF0D0E0Fu, host.GetDefaultSelectedColor());
}

TEST_F(SkinBuilderTest, OtherRootRegistersResourcesButAppliesNoWindowAttributes)
{
    CControlUI* root = Build("<Skin size=\"300,200\" caption=\"0,0,0,9\"><Font name=\"Arial\" size=\"11\"/>"
                             "<Label name=\"a\"/></Skin>");
    ASSERT_NE(nullptr, root);
    EXPECT_STREQ("a", root->GetName().GetData());
    EXPECT_EQ(1, host.GetFontCount());
    EXPECT_EQ(0, host.GetCaptionRect().bottom);
    EXPECT_EQ(100, WindowSize().cx);
}

TEST_F(SkinBuilderTest, FontsAppendInOrderAndDefaultReplacesTheDefaultFont)
{
    ASSERT_NE(nullptr,
        Build("<Window><Font name=\"Arial\" size=\"11\" bold=\"TRUE\"/>"
              "<Font name=\"Tahoma\" bold=\"true\" italic=\"true\" default=\"true\"/><Control/></Window>"));
    ASSERT_EQ(2, host.GetFontCount());
    EXPECT_STREQ("Arial", host.GetFontEntry(0)->face.GetData());
    EXPECT_FALSE(host.GetFontEntry(0)->bold);  // only the exact "true" counts
    EXPECT_EQ(12, host.GetFontEntry(1)->size);  // the default size
    EXPECT_TRUE(host.GetFontEntry(1)->italic);
    EXPECT_STREQ("Tahoma", host.GetDefaultFontEntry()->face.GetData());
}

TEST_F(SkinBuilderTest, ImageElementRegistersItsMask)
{
    programtest::SkinLocationScope location(programtest::ShippedSkinFolder());
    ASSERT_NE(nullptr, Build("<Window><Image name=\"btn.png\" mask=\"#FF2563EB\"/><Control/></Window>"));
    TImageEntry* image = host.FindOrLoadImage("btn.png", nullptr, 0);
    ASSERT_NE(nullptr, image);
    EXPECT_EQ(3, image->width);
    EXPECT_EQ(0xFF2563EBu, image->mask);
}

TEST_F(SkinBuilderTest, WithoutHostAttributesApplyButNothingRegisters)
{
    CSkinBuilder builder;
    CControlUI* label = builder.BuildFrom("<Window caption=\"0,0,0,9\"><Font name=\"Arial\"/>"
                                          "<Default name=\"Label\" value=\"textcolor=&quot;#FF000000&quot;\"/>"
                                          "<Label name=\"a\" textcolor=\"#FFFF0000\"/></Window>");
    ASSERT_NE(nullptr, label);
    EXPECT_STREQ("a", label->GetName().GetData());
    EXPECT_EQ(0xFFFF0000u, ControlCast<CLabelUI>(label)->GetTextColor());
    EXPECT_EQ(nullptr, label->GetHost());
    EXPECT_EQ(0, host.GetFontCount());
    delete label;
}

TEST_F(SkinBuilderTest, DefaultsComeFirstAndTheFirstDefaultListWins)
{
    CSkinBuilder builder;
    CControlUI* root = builder.BuildFrom(
        "<Window><Default name=\"Label\" value=\"textcolor=&quot;#FF000000&quot; width=&quot;40&quot;\"/>"
        "<Default name=\"Label\" value=\"width=&quot;99&quot;\"/>"
        "<VerticalLayout><Label name=\"l\" textcolor=\"#FFFF0000\"/></VerticalLayout></Window>",
        nullptr, nullptr, &host, nullptr);
    ASSERT_NE(nullptr, root);
    CLabelUI* label = ControlCast<CLabelUI>(Children(root)->ChildAt(0));
    ASSERT_NE(nullptr, label);
    EXPECT_EQ(0xFFFF0000u, label->GetTextColor());
    EXPECT_EQ(40, label->GetFixedWidth());
    // Detached again after building: the host adopts the tree only when it is attached.
    EXPECT_EQ(nullptr, label->GetHost());
    host.AttachRoot(root);
    EXPECT_EQ(&host, label->GetHost());
}

TEST_F(SkinBuilderTest, EditAndDateTimeElementsBuildTheirControls)
{
    CControlUI* root = Build("<Window><VerticalLayout><Edit name=\"e\" maxchar=\"3\" password=\"true\" "
                             "numberonly=\"true\" nativebkcolor=\"#FF102030\"/><DateTime name=\"d\"/>"
                             "</VerticalLayout></Window>");
    ASSERT_NE(nullptr, root);
    ASSERT_EQ(2, Children(root)->ChildCount());
    CEditUI* edit = ControlCast<CEditUI>(Children(root)->ChildAt(0));
    ASSERT_NE(nullptr, edit);
    EXPECT_STREQ("EditUI", edit->GetTypeName());
    EXPECT_EQ(3, edit->GetMaxChar());
    EXPECT_TRUE(edit->IsPasswordMode());
    EXPECT_TRUE(edit->IsNumberOnly());
    EXPECT_EQ(0xFF102030u, edit->GetNativeBkColor());
    CDateTimeUI* date = ControlCast<CDateTimeUI>(Children(root)->ChildAt(1));
    ASSERT_NE(nullptr, date);
    EXPECT_STREQ("DateTimeUI", date->GetTypeName());
    EXPECT_NE(nullptr, ControlCast<CLabelUI>(date));
}

TEST_F(SkinBuilderTest, LoadFailureRegistersNothing)
{
    programtest::TempSkinFolder folder;
    programtest::SkinLocationScope location(folder.Path());
    EXPECT_EQ(nullptr, Build("missing.xml"));
    EXPECT_EQ(nullptr, Build("<Window><Font name=\"Arial\"/><Label></Window>"));
    // Far deeper than the parser takes: refused as a whole, before anything reaches the host.
    std::string deep = "<Window><Font name=\"Arial\"/>";
    for (int i = 0; i < 100000; ++i)
        deep += "<VerticalLayout>";
    for (int i = 0; i < 100000; ++i)
        deep += "</VerticalLayout>";
    deep += "</Window>";
    EXPECT_EQ(nullptr, Build(deep.c_str()));
    EXPECT_EQ(0, host.GetFontCount());
}

TEST_F(SkinBuilderTest, DocumentsWithoutElementsBuildNothing)
{
    programtest::TempSkinFolder folder;
    folder.Write("bom.xml", "\xEF\xBB\xBF");
    folder.Write("comment.xml", "\xEF\xBB\xBF<!-- x -->");
    programtest::SkinLocationScope location(folder.Path());
    EXPECT_EQ(nullptr, Build("<?xml version=\"1.0\"?>"));
    EXPECT_EQ(nullptr, Build("<!-- x -->"));
    EXPECT_EQ(nullptr, Build("bom.xml"));
    EXPECT_EQ(nullptr, Build("comment.xml"));
}

//--- controls, callback, refused adds ------------------------------------------------------------------

TEST_F(SkinBuilderTest, UnknownElementIsSkippedWithItsSubtree)
{
    CRecordingCallback callback;
    CControlUI* root = Build(
        "<Window><VerticalLayout><Foo><Probe/></Foo><Label name=\"after\"/></VerticalLayout></Window>", &callback);
    ASSERT_NE(nullptr, root);
    ASSERT_EQ(1, Children(root)->ChildCount());
    EXPECT_STREQ("after", Children(root)->ChildAt(0)->GetName().GetData());
    EXPECT_EQ(std::vector<std::string>{"Foo"}, callback.asked);
}

TEST_F(SkinBuilderTest, ChildrenOfANonContainerEndOnlyTheirOwnList)
{
    CRecordingCallback callback;
    CControlUI* root = Build("<Window><VerticalLayout><Button name=\"b\"><Probe/><Probe/></Button>"
                             "<Label name=\"after\"/></VerticalLayout></Window>",
        &callback);
    ASSERT_NE(nullptr, root);
    ASSERT_EQ(2, Children(root)->ChildCount());
    EXPECT_STREQ("b", Children(root)->ChildAt(0)->GetName().GetData());
    EXPECT_STREQ("after", Children(root)->ChildAt(1)->GetName().GetData());
    EXPECT_EQ(1u, callback.asked.size()) << "the list stops at its first control";
}

TEST_F(SkinBuilderTest, RefusedAddsDestroyTheControlAndGoOn)
{
    CRecordingCallback callback;
    CControlUI* root = Build("<Window><Refuser><Probe/><Probe/></Refuser></Window>", &callback);
    ASSERT_NE(nullptr, root);
    EXPECT_EQ(0, Children(root)->ChildCount());
    EXPECT_EQ((std::vector<std::string>{"Refuser", "Probe", "Probe"}), callback.asked);
}

TEST_F(SkinBuilderTest, ExtraTopLevelControlsAreNotLeaked)
{
    CRecordingCallback callback;
    CControlUI* root = Build("<Window><Probe name=\"first\"/><Probe/><Probe/></Window>", &callback);
    ASSERT_NE(nullptr, root);
    EXPECT_STREQ("first", root->GetName().GetData());
    EXPECT_EQ(1, CProbeUI::Alive());
}

//--- Include -----------------------------------------------------------------------------------------

TEST_F(SkinBuilderTest, IncludeBuildsCountTimesIntoTheParent)
{
    programtest::TempSkinFolder folder;
    folder.Write("sub.xml", "<Window><Label name=\"sub\"/></Window>");
    programtest::SkinLocationScope location(folder.Path());
    CControlUI* root = Build("<Window><VerticalLayout><Include source=\"sub.xml\" count=\"3\"/>"
                             "<Include source=\"sub.xml\" count=\"0\"/><Include/>"
                             "<Include source=\"&lt;Window&gt;&lt;Label name=&quot;text&quot;/&gt;&lt;/Window&gt;\"/>"
                             "<Label name=\"end\"/></VerticalLayout></Window>");
    ASSERT_NE(nullptr, root);
    IContainerUI* children = Children(root);
    ASSERT_EQ(5, children->ChildCount());
    const char* expected[] = {"sub", "sub", "sub", "text", "end"};
    for (int i = 0; i < 5; ++i)
        EXPECT_STREQ(expected[i], children->ChildAt(i)->GetName().GetData()) << i;
}

std::string Escaped(const std::string& text)
{
    std::string escaped;
    for (char c : text)
        escaped += c == '<' ? "&lt;" : c == '>' ? "&gt;" : c == '"' ? "&quot;" : c == '&' ? "&amp;" : std::string(1, c);
    return escaped;
}

// An Include whose source is XML text of exactly `length` bytes, naming its label "n".
std::string IncludeOfLength(size_t length)
{
    const std::string head = "<Window><Label name=\"", tail = "\"/></Window>";
    const std::string text = head + std::string(length - head.size() - tail.size(), 'n') + tail;
    return "<Include source=\"" + Escaped(text) + "\"/>";
}

TEST_F(SkinBuilderTest, IncludeUsesAtMost499BytesOfItsSource)
{
    const std::string skin = "<Window><VerticalLayout>" + IncludeOfLength(CSkinBuilder::kIncludeValueBytes - 1)
        + IncludeOfLength(CSkinBuilder::kIncludeValueBytes) + "</VerticalLayout></Window>";
    CControlUI* root = Build(skin.c_str());
    ASSERT_NE(nullptr, root);
    // The second source loses its closing '>' and no longer parses.
    ASSERT_EQ(1, Children(root)->ChildCount());
    EXPECT_STREQ("LabelUI", Children(root)->ChildAt(0)->GetTypeName());
}

TEST_F(SkinBuilderTest, IncludeWithoutParentLeaksNothing)
{
    programtest::TempSkinFolder folder;
    folder.Write("probe.xml", "<Window><Probe/></Window>");
    programtest::SkinLocationScope location(folder.Path());
    CRecordingCallback callback;
    CControlUI* root
        = Build("<Window><Include source=\"probe.xml\" count=\"2\"/><Label name=\"first\"/></Window>", &callback);
    ASSERT_NE(nullptr, root);
    EXPECT_STREQ("first", root->GetName().GetData());
    EXPECT_EQ(2u, callback.asked.size());
}

// Depth of nested layouts below `control` (itself counted).
int LayoutDepth(CControlUI* control)
{
    int deepest = 0;
    if (IContainerUI* children = Children(control)) {
        for (int i = 0; i < children->ChildCount(); ++i)
            deepest = std::max(deepest, LayoutDepth(children->ChildAt(i)));
        return deepest + 1;
    }
    return 0;
}

TEST_F(SkinBuilderTest, SelfIncludeStopsAtTheNestingCap)
{
    programtest::TempSkinFolder folder;
    folder.Write("self.xml", "<Window><VerticalLayout><Include source=\"self.xml\"/></VerticalLayout></Window>");
    programtest::SkinLocationScope location(folder.Path());
    CControlUI* root = Build("self.xml");
    ASSERT_NE(nullptr, root);
    EXPECT_EQ(CSkinBuilder::kMaxNestedBuilds, LayoutDepth(root));
    EXPECT_EQ(0, CSkinBuilder::NestingDepth());
}

TEST_F(SkinBuilderTest, IncludedDocumentsTogetherStayWithinTheDocumentDepth)
{
    // Each level nests 40 layouts and includes itself again: 16 levels would make 640.
    std::string deep = "<Window>";
    for (int i = 0; i < 40; ++i)
        deep += "<VerticalLayout>";
    deep += "<Include source=\"deep.xml\"/>";
    for (int i = 0; i < 40; ++i)
        deep += "</VerticalLayout>";
    deep += "</Window>";
    programtest::TempSkinFolder folder;
    folder.Write("deep.xml", deep);
    programtest::SkinLocationScope location(folder.Path());
    CControlUI* root = Build("deep.xml");
    ASSERT_NE(nullptr, root);
    const int depth = LayoutDepth(root);
    EXPECT_LT(depth, CSkinXml::kMaxDepth);
    EXPECT_GT(depth, CSkinXml::kMaxDepth - 10) << "everything within the cap is still built";
}

// A skin of one layout, a `tag` named `name`, that includes the file `source`.
std::string IncludingLayout(const std::string& tag, const std::string& name, const std::string& source)
{
    return "<Window><" + tag + " name=\"" + name + "\"><Include source=\"" + source + "\"/></" + tag + "></Window>";
}

TEST_F(SkinBuilderTest, IncludeCycleTerminates)
{
    programtest::TempSkinFolder folder;
    folder.Write("a.xml", IncludingLayout("HorizontalLayout", "a", "b.xml"));
    folder.Write("b.xml", IncludingLayout("VerticalLayout", "b", "a.xml"));
    programtest::SkinLocationScope location(folder.Path());
    CControlUI* root = Build("a.xml");
    ASSERT_NE(nullptr, root);
    EXPECT_EQ(CSkinBuilder::kMaxNestedBuilds, LayoutDepth(root));
}

// Controls in the tree below `control` (itself counted).
int ControlCount(CControlUI* control)
{
    int count = 1;
    if (IContainerUI* children = Children(control)) {
        for (int i = 0; i < children->ChildCount(); ++i)
            count += ControlCount(children->ChildAt(i));
    }
    return count;
}

// A document whose layout includes `inner` (XML text) `count` times.
std::string Repeating(const std::string& inner, const char* count)
{
    return "<Window><VerticalLayout><Include source=\"" + Escaped(inner) + "\" count=\"" + count
        + "\"/></VerticalLayout></Window>";
}

TEST_F(SkinBuilderTest, HugeIncludeCountsStayWithinTheCountCapAndTheBuildBudget)
{
    const std::string label = "<Window><Label/></Window>";
    CControlUI* root = Build(Repeating(label, "2000000000").c_str());
    ASSERT_NE(nullptr, root);
    EXPECT_EQ(CSkinBuilder::kMaxIncludeCount, Children(root)->ChildCount());

    // 1000 x 1000 x 1000 labels unbounded; the budget ends the build long before, and a build
    // with parts missing is a failed build.
    const std::string nested = Repeating(Repeating(Repeating(label, "1000"), "1000"), "1000");
    CSkinBuilder builder;
    EXPECT_EQ(nullptr, builder.BuildFrom(nested.c_str(), nullptr, nullptr, &host, nullptr));
    ASSERT_NE(nullptr, builder.Budget());
    EXPECT_TRUE(builder.Budget()->spent);

    // The next top-level build has a budget of its own.
    root = Build("<Window><Label name=\"after\"/></Window>");
    ASSERT_NE(nullptr, root);
    EXPECT_STREQ("after", root->GetName().GetData());
}

TEST_F(SkinBuilderTest, ThreeLevelIncludeBuilds)
{
    programtest::TempSkinFolder folder;
    folder.Write("one.xml", IncludingLayout("VerticalLayout", "one", "two.xml"));
    folder.Write("two.xml", IncludingLayout("VerticalLayout", "two", "three.xml"));
    folder.Write("three.xml", "<Window><Label name=\"leaf\"/></Window>");
    programtest::SkinLocationScope location(folder.Path());
    CControlUI* one = Build("one.xml");
    ASSERT_NE(nullptr, one);
    CControlUI* two = Children(one)->ChildAt(0);
    ASSERT_NE(nullptr, two);
    EXPECT_STREQ("two", two->GetName().GetData());
    ASSERT_NE(nullptr, Children(two)->ChildAt(0));
    EXPECT_STREQ("leaf", Children(two)->ChildAt(0)->GetName().GetData());
}

// A document of `count` labels, padded with a comment of `padding` bytes.
std::string Labels(int count, size_t padding = 0)
{
    std::string xml = "<Window><VerticalLayout><!--" + std::string(padding, 'p') + "-->";
    for (int i = 0; i < count; ++i)
        xml += "<Label/>";
    return xml + "</VerticalLayout></Window>";
}

TEST_F(SkinBuilderTest, ChildLayoutsSpendTheBudgetOfTheBuildThatMadeThem)
{
    // Each document holds two child layouts of itself and 256 KB of padding: 2^15 documents
    // within the nesting cap, far more bytes than one build may load.
    const std::string self = "<Window><VerticalLayout><!--" + std::string(256 * 1024, 'p')
        + "--><ChildLayout xmlfile=\"self.xml\"/><ChildLayout xmlfile=\"self.xml\"/></VerticalLayout></Window>";
    programtest::TempSkinFolder folder;
    folder.Write("self.xml", self);
    programtest::SkinLocationScope location(folder.Path());
    CSkinBuilder builder;
    CControlUI* root = builder.BuildFrom("self.xml", nullptr, nullptr, &host, nullptr);
    ASSERT_NE(nullptr, root);
    host.AttachRoot(root);  // the child layouts build now
    ASSERT_NE(nullptr, builder.Budget());
    EXPECT_TRUE(builder.Budget()->spent) << "the child layouts' documents counted against the build";
    EXPECT_LE(builder.Budget()->bytes, CSkinBuilder::kMaxBuildBytes);
    // What could not be built whole is not built at all.
    IContainerUI* top = Children(root);
    ASSERT_EQ(2, top->ChildCount());
    for (int i = 0; i < 2; ++i) {
        auto* layout = ControlCast<CChildLayoutUI>(top->ChildAt(i));
        ASSERT_NE(nullptr, layout);
        EXPECT_EQ(0, layout->ChildCount());
    }
}

TEST_F(SkinBuilderTest, ChildLayoutsMadeOutsideABuildEachHaveABudget)
{
    // A spent build before them must not leave them anything less.
    const std::string label = "<Window><Label/></Window>";
    CSkinBuilder spent;
    EXPECT_EQ(nullptr,
        spent.BuildFrom(
            Repeating(Repeating(Repeating(label, "1000"), "1000"), "1000").c_str(), nullptr, nullptr, &host, nullptr));
    auto* root = new CVerticalLayoutUI;
    host.AttachRoot(root);
    const std::string thousand = Labels(1000);
    for (int i = 0; i < 10; ++i) {
        auto* child = new CChildLayoutUI;
        child->SetXmlFile(thousand.c_str());
        root->AddChild(child);
        SCOPED_TRACE(i);
        ASSERT_EQ(1, child->ChildCount());
        EXPECT_EQ(1001, ControlCount(child->ChildAt(0)));  // the document's layout and its labels
    }
}

//--- tree nodes ----------------------------------------------------------------------------------------

TEST_F(SkinBuilderTest, TreeNodeWithoutTreeParentBuildsNothing)
{
    CRecordingCallback callback;
    const char* const strays[] = {
        "<Window><TreeNode text=\"a\"><Probe/><TreeNode><Probe/></TreeNode></TreeNode></Window>",
        // An included document is built with the include's parent: none at the top.
        "<Window><Include source=\"&lt;Window&gt;&lt;TreeNode text=&quot;a&quot;&gt;&lt;Probe/&gt;"
        "&lt;/TreeNode&gt;&lt;/Window&gt;\"/></Window>",
    };
    for (const char* xml : strays) {
        SCOPED_TRACE(xml);
        EXPECT_EQ(nullptr, Build(xml, &callback));
        EXPECT_EQ(0, CProbeUI::Alive());
    }
    CControlUI* root
        = Build("<Window><VerticalLayout><TreeNode/><Label name=\"after\"/></VerticalLayout></Window>", &callback);
    ASSERT_NE(nullptr, root);
    EXPECT_EQ(0, Children(root)->ChildCount()) << "the sibling list ends at the stray node";
    EXPECT_TRUE(callback.asked.empty()) << "the factory makes the tree family";
}

TEST_F(SkinBuilderTest, TreeNodesNestAndOtherMarkupGoesIntoTheItemRow)
{
    CRecordingCallback callback;
    CControlUI* root = Build("<Window><TreeView><TreeNode name=\"n1\" text=\"one\"><TreeNode name=\"n2\"/>"
                             "<Label name=\"icon\"/><Probe/></TreeNode><TreeNode name=\"n3\"/></TreeView></Window>",
        &callback);
    ASSERT_NE(nullptr, root);
    CTreeViewUI* view = ControlCast<CTreeViewUI>(root);
    ASSERT_NE(nullptr, view);
    ASSERT_EQ(3, view->ChildCount());
    const char* const order[] = {"n1", "n2", "n3"};
    for (int i = 0; i < 3; ++i)
        EXPECT_STREQ(order[i], view->ChildAt(i)->GetName().GetData());
    CTreeNodeUI* n1 = AsTreeNode(view->ChildAt(0));
    ASSERT_NE(nullptr, n1);
    EXPECT_STREQ("one", n1->NodeText().GetData());
    ASSERT_EQ(1, n1->ChildNodeCount());
    EXPECT_EQ(view->ChildAt(1), n1->ChildNodeAt(0));
    EXPECT_EQ(n1, n1->ChildNodeAt(0)->GetParentNode());
    EXPECT_EQ(1, n1->ChildCount()) << "only the item row";
    IContainerUI* row = n1->GetItemRow();
    ASSERT_EQ(6, row->ChildCount()) << "indentation, folder, check box, text, then the markup";
    EXPECT_STREQ("icon", row->ChildAt(4)->GetName().GetData());
    EXPECT_EQ(1, CProbeUI::Alive());
}

}  // namespace
