// A tree view of control rows against the system's tree view, in the same run: N nodes on 10
// levels (every node has four children, filled level by level) built, expanded all, collapsed all;
// then a node with 12,000 children removed, and the top of a 3,000-deep chain checked (the system
// view has no checks that follow a parent: the program sets each item's check, as it would).
// Two sizes, the second twice the first, for tools/bench.sh's linearity check. What a node costs in
// memory is the growth of the resident bytes from before the build to after its first paint.
// `--ours` leaves the system view out, for measuring a change of ours in seconds instead of minutes.
#include <windows.h>

#include <commctrl.h>

#include <cstring>
#include <string>
#include <vector>

#include "bench/BenchClock.h"
#include "bench/BenchWindows.h"
#include "controls/list/TreeNode.h"
#include "controls/list/TreeView.h"
#include "controls/text/CheckBox.h"

namespace {

const int kBranches = 4;
const int kWidth = 600;
const int kHeight = 400;

struct TSizes {
    int nodes;
    int wide;  // children of the node that is removed
    int chain;  // depth of the chain that is checked
};

struct TSample {
    double build = 0;
    double expand = 0;
    double collapse = 0;
    double removal = 0;
    double check = 0;
    double bytesPerNode = 0;
};

int ParentOf(int node) { return (node - 1) / kBranches; }
bool HasChildren(int node, int nodes) { return node * kBranches + 1 < nodes; }

SkinUI::CTreeNodeUI* NewNode(int number)
{
    SkinUI::CTreeNodeUI* node = new SkinUI::CTreeNodeUI;
    node->SetAttribute("text", ("node " + std::to_string(number)).c_str());
    return node;
}

TSample OursOnce(const TSizes& sizes)
{
    using namespace SkinUI;
    bench::CHostWindow window(kWidth, kHeight);
    CTreeViewUI* tree = new CTreeViewUI;
    tree->SetAttribute("vscrollbar", "true");
    tree->SetAttribute("visiblecheckbtn", "true");
    window.Host().AttachRoot(tree);
    bench::PaintNow(window.Hwnd());
    TSample sample;
    std::vector<CTreeNodeUI*> nodes;
    nodes.reserve(static_cast<size_t>(sizes.nodes));
    const double before = bench::ResidentBytes();
    bench::Clock::time_point start = bench::Clock::now();
    nodes.push_back(NewNode(0));
    for (int i = 1; i < sizes.nodes; ++i) {
        nodes.push_back(NewNode(i));
        nodes[static_cast<size_t>(ParentOf(i))]->AddChild(nodes.back());
    }
    tree->AppendNode(nodes[0]);
    sample.build = bench::MicrosecondsSince(start);
    bench::PaintNow(window.Hwnd());
    sample.bytesPerNode = (bench::ResidentBytes() - before) / sizes.nodes;

    // Nodes start expanded here and collapsed in the system view: collapse ours first, untimed.
    for (int i = sizes.nodes - 1; i >= 0; --i) {
        if (HasChildren(i, sizes.nodes))
            nodes[static_cast<size_t>(i)]->GetFolderButton()->SetSelected(true);
    }
    bench::PaintNow(window.Hwnd());
    start = bench::Clock::now();
    for (int i = 0; i < sizes.nodes; ++i) {
        if (HasChildren(i, sizes.nodes))
            nodes[static_cast<size_t>(i)]->GetFolderButton()->SetSelected(false);
    }
    bench::PaintNow(window.Hwnd());
    sample.expand = bench::MicrosecondsSince(start);
    start = bench::Clock::now();
    for (int i = sizes.nodes - 1; i >= 0; --i) {
        if (HasChildren(i, sizes.nodes))
            nodes[static_cast<size_t>(i)]->GetFolderButton()->SetSelected(true);
    }
    bench::PaintNow(window.Hwnd());
    sample.collapse = bench::MicrosecondsSince(start);

    CTreeNodeUI* wide = NewNode(-1);
    tree->AppendNode(wide);
    for (int i = 0; i < sizes.wide; ++i)
        wide->AddChild(NewNode(i));
    bench::PaintNow(window.Hwnd());
    start = bench::Clock::now();
    tree->RemoveChild(wide);
    bench::RunMessages();
    bench::PaintNow(window.Hwnd());
    sample.removal = bench::MicrosecondsSince(start);

    CTreeNodeUI* top = NewNode(-2);
    CTreeNodeUI* end = top;
    for (int i = 1; i < sizes.chain; ++i) {
        CTreeNodeUI* next = NewNode(i);
        end->AddChild(next);
        end = next;
    }
    tree->AppendNode(top);
    bench::PaintNow(window.Hwnd());
    start = bench::Clock::now();
    top->GetCheckBox()->SetSelected(true);
    bench::PaintNow(window.Hwnd());
    sample.check = bench::MicrosecondsSince(start);
    bench::Consume(static_cast<size_t>(end->GetCheckBox()->IsSelected()));
    return sample;
}

HTREEITEM Insert(HWND view, HTREEITEM parent, int number)
{
    std::string text = "node " + std::to_string(number);
    TVINSERTSTRUCTA insert = {};
    insert.hParent = parent;
    insert.hInsertAfter = TVI_LAST;
    insert.item.mask = TVIF_TEXT;
    insert.item.pszText = &text[0];
    return reinterpret_cast<HTREEITEM>(::SendMessageA(view, TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&insert)));
}

void Expand(HWND view, HTREEITEM item, WPARAM how)
{
    ::SendMessageA(view, TVM_EXPAND, how, reinterpret_cast<LPARAM>(item));
}

void Redraw(HWND view, bool on) { ::SendMessageA(view, WM_SETREDRAW, on ? TRUE : FALSE, 0); }

TSample SystemOnce(const TSizes& sizes)
{
    const DWORD style = TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT | TVS_CHECKBOXES;
    HWND view = bench::CreateSystemControl(WC_TREEVIEWA, style, kWidth, kHeight);
    bench::PaintNow(view);
    TSample sample;
    std::vector<HTREEITEM> items;
    items.reserve(static_cast<size_t>(sizes.nodes));
    const double before = bench::ResidentBytes();
    bench::Clock::time_point start = bench::Clock::now();
    // Bulk changes as programs make them: no drawing until each is done (ours draws lazily).
    Redraw(view, false);
    items.push_back(Insert(view, TVI_ROOT, 0));
    for (int i = 1; i < sizes.nodes; ++i)
        items.push_back(Insert(view, items[static_cast<size_t>(ParentOf(i))], i));
    Redraw(view, true);
    sample.build = bench::MicrosecondsSince(start);
    bench::PaintNow(view);
    sample.bytesPerNode = (bench::ResidentBytes() - before) / sizes.nodes;
    start = bench::Clock::now();
    Redraw(view, false);
    for (int i = 0; i < sizes.nodes; ++i) {
        if (HasChildren(i, sizes.nodes))
            Expand(view, items[static_cast<size_t>(i)], TVE_EXPAND);
    }
    Redraw(view, true);
    bench::PaintNow(view);
    sample.expand = bench::MicrosecondsSince(start);
    start = bench::Clock::now();
    Redraw(view, false);
    for (int i = sizes.nodes - 1; i >= 0; --i) {
        if (HasChildren(i, sizes.nodes))
            Expand(view, items[static_cast<size_t>(i)], TVE_COLLAPSE);
    }
    Redraw(view, true);
    bench::PaintNow(view);
    sample.collapse = bench::MicrosecondsSince(start);

    Redraw(view, false);
    HTREEITEM wide = Insert(view, TVI_ROOT, -1);
    for (int i = 0; i < sizes.wide; ++i)
        Insert(view, wide, i);
    Expand(view, wide, TVE_EXPAND);
    Redraw(view, true);
    bench::PaintNow(view);
    start = bench::Clock::now();
    ::SendMessageA(view, TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(wide));
    bench::PaintNow(view);
    sample.removal = bench::MicrosecondsSince(start);

    Redraw(view, false);
    std::vector<HTREEITEM> chain(1, Insert(view, TVI_ROOT, -2));
    for (int i = 1; i < sizes.chain; ++i)
        chain.push_back(Insert(view, chain.back(), i));
    for (HTREEITEM item : chain)
        Expand(view, item, TVE_EXPAND);
    Redraw(view, true);
    bench::PaintNow(view);
    start = bench::Clock::now();
    Redraw(view, false);
    for (HTREEITEM item : chain) {
        TVITEMA check = {};
        check.mask = TVIF_STATE;
        check.hItem = item;
        check.stateMask = TVIS_STATEIMAGEMASK;
        check.state = INDEXTOSTATEIMAGEMASK(2);
        ::SendMessageA(view, TVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&check));
    }
    Redraw(view, true);
    bench::PaintNow(view);
    sample.check = bench::MicrosecondsSince(start);
    ::DestroyWindow(view);
    bench::RunMessages();
    return sample;
}

template <class Once> void Report(const TSizes& sizes, int repeats, const char* subject, Once once)
{
    std::vector<TSample> runs;
    for (int r = 0; r < repeats; ++r)
        runs.push_back(once(sizes));
    const std::string prefix = "tree " + std::to_string(sizes.nodes) + " nodes ";
    bench::Print((prefix + "build").c_str(), subject, bench::SummarizeField(runs, &TSample::build));
    bench::PrintValue(
        (prefix + "bytes per node").c_str(), subject, bench::SummarizeField(runs, &TSample::bytesPerNode).medianUs);
    bench::Print((prefix + "expand all").c_str(), subject, bench::SummarizeField(runs, &TSample::expand));
    bench::Print((prefix + "collapse all").c_str(), subject, bench::SummarizeField(runs, &TSample::collapse));
    bench::Print(
        ("tree remove node of " + std::to_string(sizes.wide) + " children in " + std::to_string(sizes.nodes)).c_str(),
        subject, bench::SummarizeField(runs, &TSample::removal));
    bench::Print(
        ("tree check " + std::to_string(sizes.chain) + "-deep chain in " + std::to_string(sizes.nodes)).c_str(),
        subject, bench::SummarizeField(runs, &TSample::check));
}

}  // namespace

int main(int argc, char** argv)
{
    const bench::TOptions options = bench::ParseOptions(argc, argv);
    INITCOMMONCONTROLSEX init = {sizeof(init), ICC_TREEVIEW_CLASSES};
    ::InitCommonControlsEx(&init);
    const std::vector<TSizes> runs = options.quick ? std::vector<TSizes>{{100, 20, 30}, {200, 20, 30}}
                                                   : std::vector<TSizes>{{50000, 12000, 3000}, {100000, 12000, 3000}};
    // One run a size: the system view takes minutes for these sizes under Wine.
    const int repeats = 1;
    bool oursOnly = false;
    for (int i = 1; i < argc; ++i)
        oursOnly = oursOnly || std::strcmp(argv[i], "--ours") == 0;
    for (const TSizes& sizes : runs) {
        Report(sizes, repeats, "ours", OursOnce);
        if (!oursOnly)
            Report(sizes, repeats, "SysTreeView32", SystemOnce);
    }
    return 0;
}
