// A list of control rows against the system's list view filled with LVM_INSERTITEM, in the same
// run: building N rows of three columns, the first paint, removing every other row, and the
// resident bytes each row costs; for ours alone, a paint after one row in view changed height
// (what a layout costs when one row changed). Three sizes, the second twice the first, so tools/bench.sh can
// tell whether doubling the rows at most doubles the time.
#include <windows.h>

#include <commctrl.h>

#include <cstdio>
#include <string>
#include <vector>

#include "bench/BenchClock.h"
#include "bench/BenchWindows.h"
#include "controls/list/List.h"
#include "controls/list/ListHeader.h"
#include "controls/list/ListTextElement.h"

namespace {

const int kColumns = 3;
const int kWidth = 600;
const int kHeight = 400;

struct TSample {
    double build = 0;
    double paint = 0;
    double relayout = 0;
    double removal = 0;
    double bytesPerRow = 0;
};

std::string CellText(int row, int column) { return "row " + std::to_string(row) + " col " + std::to_string(column); }

TSample OursOnce(int rows)
{
    using namespace SkinUI;
    bench::CHostWindow window(kWidth, kHeight);
    CListUI* list = new CListUI;
    list->SetAttribute("vscrollbar", "true");
    window.Host().AttachRoot(list);
    for (int c = 0; c < kColumns; ++c) {
        CListHeaderItemUI* caption = new CListHeaderItemUI;
        caption->SetAttribute("width", "150");
        list->AddChild(caption);
    }
    bench::PaintNow(window.Hwnd());
    TSample sample;
    std::vector<CControlUI*> made;
    made.reserve(static_cast<size_t>(rows));
    const double before = bench::ResidentBytes();
    bench::Clock::time_point start = bench::Clock::now();
    for (int i = 0; i < rows; ++i) {
        CListTextElementUI* row = new CListTextElementUI;
        for (int c = 0; c < kColumns; ++c)
            row->SetColumnText(c, CellText(i, c).c_str());
        list->AddChild(row);
        made.push_back(row);
    }
    sample.build = bench::MicrosecondsSince(start);
    sample.bytesPerRow = (bench::ResidentBytes() - before) / rows;
    start = bench::Clock::now();
    bench::PaintNow(window.Hwnd());
    sample.paint = bench::MicrosecondsSince(start);
    // Row 3 taller and back, each change painted: the mean of the paints.
    const int kRelayouts = 10;
    start = bench::Clock::now();
    for (int k = 0; k < kRelayouts; ++k) {
        made[3 % made.size()]->SetFixedHeight(k % 2 == 0 ? 30 : 20);
        bench::PaintNow(window.Hwnd());
    }
    sample.relayout = bench::MicrosecondsSince(start) / kRelayouts;
    start = bench::Clock::now();
    for (int i = 0; i < rows; i += 2)
        list->RemoveChild(made[static_cast<size_t>(i)]);
    bench::RunMessages();
    bench::PaintNow(window.Hwnd());
    sample.removal = bench::MicrosecondsSince(start);
    bench::Consume(static_cast<size_t>(list->ChildCount()));
    return sample;
}

TSample SystemOnce(int rows)
{
    HWND view = bench::CreateSystemControl(WC_LISTVIEWA, LVS_REPORT, kWidth, kHeight);
    char columnText[] = "column";
    for (int c = 0; c < kColumns; ++c) {
        LVCOLUMNA column = {};
        column.mask = LVCF_TEXT | LVCF_WIDTH;
        column.cx = 150;
        column.pszText = columnText;
        ::SendMessageA(view, LVM_INSERTCOLUMNA, c, reinterpret_cast<LPARAM>(&column));
    }
    bench::PaintNow(view);
    TSample sample;
    const double before = bench::ResidentBytes();
    bench::Clock::time_point start = bench::Clock::now();
    // A bulk change as programs make it: no drawing until it is done (ours draws lazily anyway).
    ::SendMessageA(view, WM_SETREDRAW, FALSE, 0);
    for (int i = 0; i < rows; ++i) {
        std::string text = CellText(i, 0);
        LVITEMA item = {};
        item.mask = LVIF_TEXT;
        item.iItem = i;
        item.pszText = &text[0];
        const LRESULT at = ::SendMessageA(view, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item));
        for (int c = 1; c < kColumns; ++c) {
            std::string cell = CellText(i, c);
            LVITEMA sub = {};
            sub.iSubItem = c;
            sub.pszText = &cell[0];
            ::SendMessageA(view, LVM_SETITEMTEXTA, static_cast<WPARAM>(at), reinterpret_cast<LPARAM>(&sub));
        }
    }
    ::SendMessageA(view, WM_SETREDRAW, TRUE, 0);
    sample.build = bench::MicrosecondsSince(start);
    sample.bytesPerRow = (bench::ResidentBytes() - before) / rows;
    start = bench::Clock::now();
    bench::PaintNow(view);
    sample.paint = bench::MicrosecondsSince(start);
    start = bench::Clock::now();
    // Deleting row k after k removals takes what was row 2k: every other row, from the top.
    ::SendMessageA(view, WM_SETREDRAW, FALSE, 0);
    for (int k = 0; k < (rows + 1) / 2; ++k)
        ::SendMessageA(view, LVM_DELETEITEM, static_cast<WPARAM>(k), 0);
    ::SendMessageA(view, WM_SETREDRAW, TRUE, 0);
    bench::PaintNow(view);
    sample.removal = bench::MicrosecondsSince(start);
    bench::Consume(static_cast<size_t>(::SendMessageA(view, LVM_GETITEMCOUNT, 0, 0)));
    ::DestroyWindow(view);
    bench::RunMessages();
    return sample;
}

template <class Once> void Report(int rows, int repeats, const char* subject, Once once)
{
    std::vector<TSample> runs;
    for (int r = 0; r < repeats; ++r)
        runs.push_back(once(rows));
    const std::string prefix = "list " + std::to_string(rows) + " rows ";
    bench::Print((prefix + "build").c_str(), subject, bench::SummarizeField(runs, &TSample::build));
    bench::Print((prefix + "first paint").c_str(), subject, bench::SummarizeField(runs, &TSample::paint));
    // The system's list view has no such step: ours alone.
    if (runs.front().relayout > 0)
        bench::Print((prefix + "relayout one row").c_str(), subject, bench::SummarizeField(runs, &TSample::relayout));
    bench::Print((prefix + "remove every other").c_str(), subject, bench::SummarizeField(runs, &TSample::removal));
    bench::PrintValue(
        (prefix + "bytes per row").c_str(), subject, bench::SummarizeField(runs, &TSample::bytesPerRow).medianUs);
}

}  // namespace

int main(int argc, char** argv)
{
    const bench::TOptions options = bench::ParseOptions(argc, argv);
    INITCOMMONCONTROLSEX init = {sizeof(init), ICC_LISTVIEW_CLASSES};
    ::InitCommonControlsEx(&init);
    const std::vector<int> sizes = options.quick ? std::vector<int>{50, 100} : std::vector<int>{10000, 20000, 100000};
    const int repeats = options.quick ? 1 : 3;
    for (int rows : sizes) {
        Report(rows, repeats, "ours", OursOnce);
        Report(rows, repeats, "SysListView32", SystemOnce);
    }
    return 0;
}
