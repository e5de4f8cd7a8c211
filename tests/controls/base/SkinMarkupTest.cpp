// The tile, tab and child layouts, progress bars and sliders built from skin markup into a real
// host: they lay out, paint and answer real mouse and key messages. Child layouts: their documents,
// the shared nesting cap (a document that contains itself ends), and no second build on adoption.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "support/HostBed.h"
#include "controls/layout/ChildLayout.h"
#include "controls/range/Slider.h"
#include "controls/text/Button.h"
#include "controls/layout/TabLayout.h"
#include "controls/layout/TileLayout.h"
#include "program/ProgramTestSupport.h"
#include "skin/SkinBuilder.h"
#include "skin/SkinXml.h"

using namespace SkinUI;
using testbed::HostBed;
using testbed::RectIs;

namespace {

CControlUI* BuildInto(HostBed& bed, const char* xml)
{
    CSkinBuilder builder;
    CControlUI* root = builder.BuildFrom(xml, nullptr, nullptr, &bed.Host(), nullptr);
    if (root != nullptr)
        bed.Attach(root);
    return root;
}

// A window whose layout holds one child layout of the skin document `file`.
CControlUI* BuildChildLayoutOf(HostBed& bed, const char* file)
{
    const std::string xml
        = std::string("<Window><VerticalLayout><ChildLayout xmlfile=\"") + file + "\"/></VerticalLayout></Window>";
    return BuildInto(bed, xml.c_str());
}

// The children of any container, child layouts included (they hide the interface from CastTo).
IContainerUI* ChildrenOf(CControlUI* control)
{
    if (auto* child = ControlCast<CChildLayoutUI>(control))
        return child;
    return ControlCast<IContainerUI>(control);
}

// Levels of containers from `control` down (itself counted).
int TreeDepth(CControlUI* control)
{
    IContainerUI* children = ChildrenOf(control);
    if (children == nullptr)
        return 0;
    int deepest = 0;
    for (int i = 0; i < children->ChildCount(); ++i)
        deepest = std::max(deepest, TreeDepth(children->ChildAt(i)));
    return deepest + 1;
}

// Child layouts from `control` down that hold something.
int FilledChildLayouts(CControlUI* control)
{
    IContainerUI* children = ChildrenOf(control);
    if (children == nullptr)
        return 0;
    int filled = ControlCast<CChildLayoutUI>(control) != nullptr && children->ChildCount() > 0 ? 1 : 0;
    for (int i = 0; i < children->ChildCount(); ++i)
        filled += FilledChildLayouts(children->ChildAt(i));
    return filled;
}

const char kAllFive[] = "<Window><VerticalLayout>"
                        "<TileLayout name=\"tiles\" columns=\"2\" height=\"40\">"
                        "<Label name=\"t1\" width=\"50\" height=\"20\"/><Label name=\"t2\" height=\"20\"/></TileLayout>"
                        "<TabLayout name=\"tabs\" height=\"40\" selectedid=\"1\"><Button name=\"p0\"/><Button "
                        "name=\"p1\" height=\"30\"/></TabLayout>"
                        "<ChildLayout name=\"child\" height=\"30\" "
                        "xmlfile=\"&lt;Window&gt;&lt;Label name=&quot;inner&quot;/&gt;&lt;/Window&gt;\"/>"
                        "<Progress name=\"progress\" value=\"50\" height=\"10\"/>"
                        "<Slider name=\"slider\" max=\"1000\" width=\"100\" height=\"20\"/>"
                        "</VerticalLayout></Window>";

}  // namespace

TEST(SkinMarkup, AllFiveBuildLayOutAndAnswerRealMessages)
{
    HostBed bed(300, 200);
    ASSERT_NE(nullptr, BuildInto(bed, kAllFive));
    CWindowHostUI& host = bed.Host();
    const struct {
        const char* name;
        const char* type;
        CRectUI position;
    } expected[] = {
        // cells 300 / 2 = 150 wide: t1 centred at (150 - 50) / 2 = 50; t2 fills its cell.
        {"t1", "Label", {50, 0, 100, 20}},
        {"t2", "Label", {150, 0, 300, 20}},
        {"tabs", "TabLayout", {0, 40, 300, 80}},
        {"p1", "Button", {0, 40, 300, 70}},  // a page keeps its own height
        {"inner", "Label", {0, 80, 300, 110}},
        {"progress", "Progress", {0, 110, 300, 120}},
        {"slider", "Slider", {0, 120, 100, 140}},
    };
    for (const auto& e : expected) {
        SCOPED_TRACE(e.name);
        CControlUI* control = host.FindControlByName(e.name);
        ASSERT_NE(nullptr, control);
        EXPECT_NE(nullptr, control->CastTo(e.type));
        const CRectUI& p = e.position;
        EXPECT_TRUE(RectIs(control->GetPosition(), p.left, p.top, p.right, p.bottom));
    }
    EXPECT_NE(nullptr, ControlCast<CTileLayoutUI>(host.FindControlByName("tiles")));
    EXPECT_FALSE(host.FindControlByName("p0")->IsVisible());

    // The first paint focused the first tab stop: the button of the shown page. Space clicks it.
    EXPECT_EQ(host.FindControlByName("p1"), host.GetFocusControl());
    bed.Key(VK_SPACE);
    ASSERT_EQ(1, bed.Count("click"));
    EXPECT_EQ("p1", bed.notes.back().sender);

    bed.Click(55, 130);  // 1000 * (55 - 5) / 90
    auto* slider = ControlCast<CSliderUI>(host.FindControlByName("slider"));
    EXPECT_EQ(555, slider->GetValue());
    EXPECT_EQ(1, bed.Count("valuechanged"));
}

//--- child layouts -----------------------------------------------------------------------------------

TEST(ChildLayout, DocumentsThatCannotBeBuiltLeaveNoChildren)
{
    programtest::TempSkinFolder folder;
    folder.Write("empty.xml", "<Window></Window>");
    programtest::SkinLocationScope location(folder.Path());
    const char* const files[] = {
        "missing.xml",
        "empty.xml",
        "&lt;Window&gt;&lt;VerticalLayout",  // unterminated
        "&lt;Window&gt;&lt;TreeNode text=&quot;a&quot;/&gt;&lt;/Window&gt;",  // a node with no tree
        "&lt;TreeNode text=&quot;a&quot;/&gt;",  // the same, as the document root
        "&lt;Window&gt;&lt;NoSuchElement/&gt;&lt;/Window&gt;",
    };
    for (const char* file : files) {
        SCOPED_TRACE(file);
        HostBed bed;
        const std::string xml = std::string("<Window><VerticalLayout><ChildLayout name=\"c\" xmlfile=\"") + file
            + "\"><Label name=\"written\"/></ChildLayout></VerticalLayout></Window>";
        ASSERT_NE(nullptr, BuildInto(bed, xml.c_str()));
        auto* child = ControlCast<CChildLayoutUI>(bed.Host().FindControlByName("c"));
        ASSERT_NE(nullptr, child);
        EXPECT_EQ(0, child->ChildCount());
        EXPECT_EQ(nullptr, bed.Host().FindControlByName("written")) << "written children are not attached";
    }
}

TEST(ChildLayout, DocumentsThatContainThemselvesEndAtTheSharedNestingCap)
{
    struct TCase {
        const char* what;
        const char* self;
        const char* other;
    };
    const TCase cases[] = {
        {"a child layout of its own document",
            "<Window><VerticalLayout><ChildLayout xmlfile=\"self.xml\"/></VerticalLayout></Window>", ""},
        {"a child layout and an include in a cycle",
            "<Window><VerticalLayout><Include source=\"other.xml\"/></VerticalLayout></Window>",
            "<Window><ChildLayout xmlfile=\"self.xml\"/></Window>"},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.what);
        programtest::TempSkinFolder folder;
        folder.Write("self.xml", c.self);
        folder.Write("other.xml", c.other);
        programtest::SkinLocationScope location(folder.Path());
        HostBed bed;
        CControlUI* root = BuildChildLayoutOf(bed, "self.xml");
        ASSERT_NE(nullptr, root);
        EXPECT_GT(FilledChildLayouts(root), 1) << "nested documents within the cap are built";
        EXPECT_LE(FilledChildLayouts(root), CSkinBuilder::kMaxNestedBuilds);
        EXPECT_EQ(0, CSkinBuilder::NestingDepth());
    }
}

TEST(ChildLayout, NestedDocumentsTogetherStayWithinTheDocumentDepth)
{
    // Each level nests 100 layouts and a child layout of itself: 16 levels would make about 1600.
    std::string deep = "<Window>";
    for (int i = 0; i < 100; ++i)
        deep += "<VerticalLayout>";
    deep += "<ChildLayout xmlfile=\"deep.xml\"/>";
    for (int i = 0; i < 100; ++i)
        deep += "</VerticalLayout>";
    deep += "</Window>";
    programtest::TempSkinFolder folder;
    folder.Write("deep.xml", deep);
    programtest::SkinLocationScope location(folder.Path());
    HostBed bed;
    CControlUI* root = BuildChildLayoutOf(bed, "deep.xml");
    ASSERT_NE(nullptr, root);
    const int depth = TreeDepth(root);
    EXPECT_LE(depth, CSkinXml::kMaxDepth + 1);
    EXPECT_GT(depth, 200) << "levels within the cap are still built";
}

TEST(ChildLayout, AdoptingTheLayoutAgainDoesNotBuildAgain)
{
    HostBed bed;
    CControlUI* root = BuildInto(bed,
        "<Window><VerticalLayout><ChildLayout name=\"c\" "
        "xmlfile=\"&lt;Window&gt;&lt;Label/&gt;&lt;/Window&gt;\"/>"
        "</VerticalLayout></Window>");
    ASSERT_NE(nullptr, root);
    auto* child = ControlCast<CChildLayoutUI>(bed.Host().FindControlByName("c"));
    ASSERT_EQ(1, child->ChildCount());
    for (int i = 0; i < 3; ++i)
        bed.Host().AdoptSubtree(child, root);  // as a drop-down re-initialising its items does
    EXPECT_EQ(1, child->ChildCount());

    child->SetAttribute("xmlfile", "<Window><Button/></Window>");
    bed.Host().AdoptSubtree(child, root);
    EXPECT_EQ(2, child->ChildCount()) << "a new document is built once more";
    EXPECT_NE(nullptr, ControlCast<CButtonUI>(child->ChildAt(1)));
}

namespace {

// Collects what is written to the debugger's output while it lives (the platform raises each line
// as an exception a vectored handler sees first, and carries on when nobody debugs).
class CDebugOutput {
public:
    CDebugOutput()
        : m_handler(::AddVectoredExceptionHandler(1, Collect))
    {
        Text().clear();
    }
    ~CDebugOutput() { ::RemoveVectoredExceptionHandler(m_handler); }
    CDebugOutput(const CDebugOutput&) = delete;
    CDebugOutput& operator=(const CDebugOutput&) = delete;
    static std::string& Text()
    {
        static std::string text;
        return text;
    }

private:
    static LONG CALLBACK Collect(EXCEPTION_POINTERS* info)
    {
        const EXCEPTION_RECORD* record = info->ExceptionRecord;
        if (record->ExceptionCode == DBG_PRINTEXCEPTION_C && record->NumberParameters >= 2) {
            const char* text = reinterpret_cast<const char*>(record->ExceptionInformation[1]);
            const size_t length = static_cast<size_t>(record->ExceptionInformation[0]);
            if (text != nullptr && length > 0 && length < 4096)
                Text() += std::string(text, strnlen(text, length));
        }
        return EXCEPTION_CONTINUE_SEARCH;
    }
    void* m_handler;
};

// A document whose layout includes `inner` (XML text, escaped here) `count` times.
std::string Repeating(const std::string& inner, const char* count)
{
    std::string escaped;
    for (char c : inner)
        escaped += c == '<' ? "&lt;" : c == '>' ? "&gt;" : c == '"' ? "&quot;" : c == '&' ? "&amp;" : std::string(1, c);
    return "<Window><VerticalLayout><Include source=\"" + escaped + "\" count=\"" + count
        + "\"/></VerticalLayout></Window>";
}

}  // namespace

// A failed build says why to a program that builds on its own: in the builder's answer, and on the
// debugger's output. Child layouts build when the tree is adopted, from the same budget: what they
// spend shows in the answer after the adoption.
TEST(SkinBuild, AFailedBuildNamesItsCause)
{
    const std::string label = "<Window><Label/></Window>";
    const std::string self = "<Window><VerticalLayout><!--" + std::string(256 * 1024, 'p')
        + "--><ChildLayout xmlfile=\"self.xml\"/><ChildLayout xmlfile=\"self.xml\"/></VerticalLayout></Window>";
    struct TCase {
        const char* what;
        std::string xml;
        bool built;  // BuildFrom answers a tree
        const char* cause;  // named once the tree is adopted; null: none
        bool logged;
    };
    const TCase cases[] = {
        {"whole", label, true, nullptr, false},
        {"too many elements", Repeating(Repeating(Repeating(label, "1000"), "1000"), "1000"), false, "element budget",
            true},
        {"child layouts load too many bytes", "self.xml", true, "document bytes", true},
        {"missing document", "missing.xml", false, "could not be loaded", false},
    };
    programtest::TempSkinFolder folder;
    folder.Write("self.xml", self);
    programtest::SkinLocationScope location(folder.Path());
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.what);
        HostBed bed;
        CDebugOutput output;
        CSkinBuilder builder;
        CControlUI* root = builder.BuildFrom(c.xml.c_str(), nullptr, nullptr, &bed.Host(), nullptr);
        EXPECT_EQ(c.built, root != nullptr);
        if (root != nullptr) {
            EXPECT_EQ(nullptr, builder.Failure()) << "nothing has failed before the child layouts build";
            bed.Attach(root);
        }
        const char* failure = builder.Failure();
        if (c.cause == nullptr) {
            EXPECT_EQ(nullptr, failure);
        } else {
            ASSERT_NE(nullptr, failure);
            EXPECT_NE(std::string::npos, std::string(failure).find(c.cause)) << failure;
        }
        EXPECT_EQ(c.logged, CDebugOutput::Text().find(failure != nullptr ? failure : "SkinUI") != std::string::npos)
            << CDebugOutput::Text();
    }
}
