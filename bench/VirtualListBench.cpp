// A virtual list of a million rows against the system's list view in owner-data mode, both asked
// only for the rows they show, in the same run: creation to first paint, scrolling one page (time
// per step over 100 steps), jumping to the end, and the memory a window with each takes after its
// first paint, beside an empty window's. Memory is read in a fresh child process per subject
// (this program with --memory), so one subject's freed heap cannot hide the next one's growth.
#include <windows.h>

#include <commctrl.h>
#include <psapi.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "bench/BenchClock.h"
#include "bench/BenchWindows.h"
#include "controls/list/VirtualList.h"
#include "host/WindowHost.h"
#include "skin/SkinBuilder.h"

namespace {

const int kWidth = 480;
const int kHeight = 360;
const char kFrameClass[] = "VirtualListBenchFrame";

struct TRun {
    int rows;
    int steps;
};

//--- the two subjects behind one interface ---------------------------------------------------

class ISubject {
public:
    virtual ~ISubject() = default;
    virtual void PageDown() = 0;
    virtual void ShowRow(int index) = 0;
    HWND Frame() const { return m_frame; }

protected:
    HWND m_frame = nullptr;
};

HWND CreateFrame()
{
    return ::CreateWindowExA(0, kFrameClass, "bench", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0, kWidth, kHeight,
        nullptr, nullptr, ::GetModuleHandleA(nullptr), nullptr);
}

// Texts shared by both subjects: the row number and a derived value.
void RowTexts(int index, char* first, size_t firstSize, char* second, size_t secondSize)
{
    std::snprintf(first, firstSize, "row %d", index);
    std::snprintf(second, secondSize, "%d", index * 3);
}

class COurs : public ISubject, public SkinUI::IVirtualListSource {
public:
    explicit COurs(int rows)
    {
        m_frame = CreateFrame();
        m_host->BindWindow(m_frame);
        ::SetWindowLongPtrA(m_frame, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(m_host));
        SkinUI::CSkinBuilder builder;
        SkinUI::CControlUI* root = builder.BuildFrom(
            "<Window><VirtualList itemheight=\"20\" itemtextpadding=\"8,0,8,0\" itemaltbk=\"true\" "
            "itembkcolor=\"#FFFFFFFF\" itemlinecolor=\"#FFEEF2F7\"><ListHeader height=\"24\">"
            "<ListHeaderItem text=\"Row\" width=\"160\"/><ListHeaderItem text=\"Value\" width=\"200\"/>"
            "</ListHeader></VirtualList></Window>",
            nullptr, nullptr, m_host, nullptr);
        m_list = SkinUI::ControlCast<SkinUI::CVirtualListUI>(root);
        m_list->SetSource(this);
        m_list->SetRowCount(rows);
        m_host->AttachRoot(root);
        ::UpdateWindow(m_frame);
    }
    ~COurs() override
    {
        ::SetWindowLongPtrA(m_frame, GWLP_USERDATA, 0);
        delete m_host;
        ::DestroyWindow(m_frame);
    }
    void FillRow(int index, SkinUI::TVirtualRow& row) override
    {
        char first[32];
        char second[32];
        RowTexts(index, first, sizeof(first), second, sizeof(second));
        row.texts[0] = first;
        row.texts[1] = second;
    }
    void PageDown() override
    {
        m_list->ScrollPageDown();
        ::UpdateWindow(m_frame);
    }
    void ShowRow(int index) override
    {
        m_list->EnsureVisible(index);
        ::UpdateWindow(m_frame);
    }

private:
    SkinUI::CWindowHostUI* m_host = new SkinUI::CWindowHostUI;  // owned
    SkinUI::CVirtualListUI* m_list = nullptr;  // owned by the host's tree
};

class CSystemList : public ISubject {
public:
    explicit CSystemList(int rows)
    {
        m_frame = CreateFrame();
        m_view = ::CreateWindowExA(0, WC_LISTVIEWA, "", WS_CHILD | WS_VISIBLE | LVS_REPORT | LVS_OWNERDATA, 0, 0,
            kWidth, kHeight, m_frame, nullptr, ::GetModuleHandleA(nullptr), nullptr);
        const struct {
            const char* text;
            int width;
        } columns[] = {{"Row", 160}, {"Value", 200}};
        for (int i = 0; i < 2; ++i) {
            LVCOLUMNA column = {};
            column.mask = LVCF_TEXT | LVCF_WIDTH;
            column.pszText = const_cast<char*>(columns[i].text);
            column.cx = columns[i].width;
            ::SendMessageA(m_view, LVM_INSERTCOLUMNA, i, reinterpret_cast<LPARAM>(&column));
        }
        ::SendMessageA(m_view, LVM_SETITEMCOUNT, rows, 0);
        ::UpdateWindow(m_frame);
        ::UpdateWindow(m_view);
    }
    ~CSystemList() override { ::DestroyWindow(m_frame); }
    void PageDown() override
    {
        ::SendMessageA(m_view, WM_VSCROLL, SB_PAGEDOWN, 0);
        ::UpdateWindow(m_view);
    }
    void ShowRow(int index) override
    {
        ::SendMessageA(m_view, LVM_ENSUREVISIBLE, index, FALSE);
        ::UpdateWindow(m_view);
    }

private:
    HWND m_view = nullptr;
};

// An empty window of the same size: the floor under both subjects' memory.
class CEmpty : public ISubject {
public:
    CEmpty()
    {
        m_frame = CreateFrame();
        ::UpdateWindow(m_frame);
    }
    ~CEmpty() override { ::DestroyWindow(m_frame); }
    void PageDown() override { }
    void ShowRow(int) override { }
};

LRESULT CALLBACK FrameProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NOTIFY) {
        auto* info = reinterpret_cast<NMLVDISPINFOA*>(lParam);
        if (info->hdr.code == LVN_GETDISPINFOA && (info->item.mask & LVIF_TEXT) != 0) {
            char first[32];
            char second[32];
            RowTexts(info->item.iItem, first, sizeof(first), second, sizeof(second));
            std::snprintf(info->item.pszText, info->item.cchTextMax, "%s", info->item.iSubItem == 0 ? first : second);
        }
        return 0;
    }
    auto* host = reinterpret_cast<SkinUI::CWindowHostUI*>(::GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    if (host != nullptr) {
        LRESULT result = 0;
        if (host->HandleWindowMessage(message, wParam, lParam, result))
            return result;
    }
    return bench::DrawNothingProc(hwnd, message, wParam, lParam);
}

ISubject* Make(const std::string& subject, int rows)
{
    if (subject == "ours")
        return new COurs(rows);
    if (subject == "listview")
        return new CSystemList(rows);
    return new CEmpty;
}

//--- figures -----------------------------------------------------------------------------------

void Drain()
{
    MSG msg;
    while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
    }
}

double Microseconds(LARGE_INTEGER from, LARGE_INTEGER to)
{
    static LARGE_INTEGER frequency = {};
    if (frequency.QuadPart == 0)
        ::QueryPerformanceFrequency(&frequency);
    return static_cast<double>(to.QuadPart - from.QuadPart) * 1e6 / static_cast<double>(frequency.QuadPart);
}

template <class Body> double Time(Body&& body)
{
    LARGE_INTEGER from;
    LARGE_INTEGER to;
    ::QueryPerformanceCounter(&from);
    body();
    ::QueryPerformanceCounter(&to);
    return Microseconds(from, to);
}

struct TSamples {
    std::vector<double> create;
    std::vector<double> page;
    std::vector<double> jump;
};

void MeasureOnce(const char* subject, const TRun& run, TSamples& samples)
{
    ISubject* s = nullptr;
    samples.create.push_back(Time([&] { s = Make(subject, run.rows); }));
    Drain();
    samples.page.push_back(Time([&] {
        for (int step = 0; step < run.steps; ++step)
            s->PageDown();
    }) / run.steps);
    s->ShowRow(0);
    Drain();
    samples.jump.push_back(Time([&] { s->ShowRow(run.rows - 1); }));
    delete s;
    Drain();
}

void PrintSamples(const char* label, const TSamples& samples)
{
    bench::Print("vlist create to first paint", label, bench::Summarize(samples.create));
    bench::Print("vlist scroll one page", label, bench::Summarize(samples.page));
    bench::Print("vlist jump to end", label, bench::Summarize(samples.jump));
}

// The working set: what the process touched, which is what a user's machine pays for. (Wine
// keeps the private-bytes counter still, so it cannot tell the subjects apart.)
size_t WorkingSet()
{
    PROCESS_MEMORY_COUNTERS counters = {};
    counters.cb = sizeof(counters);
    ::GetProcessMemoryInfo(::GetCurrentProcess(), &counters, sizeof(counters));
    return counters.WorkingSetSize;
}

// In the child: what the subject's window costs from just before it is made to after its first
// paint, in KiB, on stdout.
int ReportMemory(const std::string& subject, int rows)
{
    Drain();
    const size_t before = WorkingSet();
    ISubject* s = Make(subject, rows);
    Drain();
    const size_t after = WorkingSet();
    std::printf("%.1f\n", (static_cast<double>(after) - static_cast<double>(before)) / 1024.0);
    delete s;
    return 0;
}

// Runs this program with --memory for one subject and reads the KiB it printed; negative on failure.
double ChildMemory(const char* subject, bool quick)
{
    char path[MAX_PATH + 1] = {};
    const DWORD length = ::GetModuleFileNameA(nullptr, path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        return -1;
    SECURITY_ATTRIBUTES inherit = {sizeof(inherit), nullptr, TRUE};
    HANDLE readEnd = nullptr;
    HANDLE writeEnd = nullptr;
    if (!::CreatePipe(&readEnd, &writeEnd, &inherit, 0))
        return -1;
    ::SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);
    std::string command = std::string("\"") + path + "\" --memory " + subject + (quick ? " --quick" : "");
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = writeEnd;
    startup.hStdError = ::GetStdHandle(STD_ERROR_HANDLE);
    PROCESS_INFORMATION process = {};
    const BOOL started
        = ::CreateProcessA(path, &command[0], nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup, &process);
    ::CloseHandle(writeEnd);
    std::string output;
    if (started) {
        char buffer[256];
        DWORD read = 0;
        while (output.size() < 4096 && ::ReadFile(readEnd, buffer, sizeof(buffer), &read, nullptr) && read > 0)
            output.append(buffer, read);
        ::WaitForSingleObject(process.hProcess, INFINITE);
        ::CloseHandle(process.hThread);
        ::CloseHandle(process.hProcess);
    }
    ::CloseHandle(readEnd);
    return output.empty() ? -1 : std::atof(output.c_str());
}

void PrintMemory(const char* figure, const char* label, double kib)
{
    bench::TFigure value;
    value.minUs = kib;
    value.medianUs = kib;
    bench::Print(figure, label, value);
}

bool RegisterFrame()
{
    WNDCLASSA wc = {};
    wc.lpfnWndProc = FrameProc;
    wc.hInstance = ::GetModuleHandleA(nullptr);
    wc.hCursor = ::LoadCursorA(nullptr, IDC_ARROW);
    wc.style = CS_DBLCLKS;
    wc.lpszClassName = kFrameClass;
    return ::RegisterClassA(&wc) != 0;
}

}  // namespace

int main(int argc, char** argv)
{
    const bench::TOptions options = bench::ParseOptions(argc, argv);
    INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_LISTVIEW_CLASSES};
    ::InitCommonControlsEx(&controls);
    if (!RegisterFrame())
        return 1;
    const TRun run = options.quick ? TRun{1000, 3} : TRun{1000000, 100};
    for (int i = 1; i + 1 < argc; ++i) {
        if (std::strcmp(argv[i], "--memory") == 0)
            return ReportMemory(argv[i + 1], run.rows);
    }

    const char* const kReference = "SysListView32 owner-data";
    // Turn about, so that a burst of load on a shared machine falls on both subjects alike.
    TSamples ours;
    TSamples listView;
    for (int i = 0; i < options.runs; ++i) {
        MeasureOnce("ours", run, ours);
        MeasureOnce("listview", run, listView);
    }
    PrintSamples("ours", ours);
    PrintSamples(kReference, listView);

    const double empty = ChildMemory("empty", options.quick);
    const double oursKib = ChildMemory("ours", options.quick);
    const double reference = ChildMemory("listview", options.quick);
    if (empty < 0 || oursKib < 0 || reference < 0) {
        std::fprintf(stderr, "vlist: a memory child failed\n");
        return 1;
    }
    PrintMemory("vlist memory after paint", "ours", oursKib);
    PrintMemory("vlist memory after paint", kReference, reference);
    PrintMemory("vlist memory after paint", "empty window", empty);
    PrintMemory("vlist memory above empty", "ours", oursKib - empty);
    PrintMemory("vlist memory above empty", kReference, reference - empty);
    return 0;
}
