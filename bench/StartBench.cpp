// Start to first paint: the time from CreateProcess until the new process's main thread first
// waits for input with an empty queue (WaitForInputIdle), which is after its first WM_PAINT has been
// handled. Quoril.exe and a bare window program are started in turn, each then closed. At that
// moment the process's peak working set is read too (printed in KiB in the time columns).
#include <windows.h>

#include <psapi.h>

#include <algorithm>
#include <string>
#include <vector>

#include "bench/BenchClock.h"
#include "bench/BenchPaths.h"

namespace {

struct TFound {
    DWORD process;
    HWND window;
};

BOOL CALLBACK FindProcessWindow(HWND hwnd, LPARAM param)
{
    TFound* found = reinterpret_cast<TFound*>(param);
    DWORD process = 0;
    ::GetWindowThreadProcessId(hwnd, &process);
    if (process == found->process && ::IsWindowVisible(hwnd)) {
        found->window = hwnd;
        return FALSE;
    }
    return TRUE;
}

// Starts the program, waits for its first idle moment, notes its peak working set and closes it.
void StartAndClose(const std::string& program, bool& ok, std::vector<double>* peaksKib = nullptr)
{
    STARTUPINFOA si = {};
    si.cb = sizeof(si);
    PROCESS_INFORMATION pi = {};
    std::string commandLine = "\"" + program + "\"";
    if (!::CreateProcessA(program.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) {
        ok = false;
        return;
    }
    ok = ::WaitForInputIdle(pi.hProcess, 20000) == 0 && ok;
    PROCESS_MEMORY_COUNTERS counters = {};
    counters.cb = sizeof(counters);
    if (peaksKib != nullptr && ::GetProcessMemoryInfo(pi.hProcess, &counters, sizeof(counters)))
        peaksKib->push_back(static_cast<double>(counters.PeakWorkingSetSize) / 1024.0);
    TFound found = {pi.dwProcessId, nullptr};
    ::EnumWindows(FindProcessWindow, reinterpret_cast<LPARAM>(&found));
    if (found.window != nullptr)
        ::PostMessageA(found.window, WM_CLOSE, 0, 0);
    if (::WaitForSingleObject(pi.hProcess, 5000) != WAIT_OBJECT_0)
        ::TerminateProcess(pi.hProcess, 1);
    ::CloseHandle(pi.hThread);
    ::CloseHandle(pi.hProcess);
}

}  // namespace

int main(int argc, char** argv)
{
    const bench::TOptions options = bench::ParseOptions(argc, argv);
    const std::string quoril = bench::BuildFolder() + "Quoril.exe";
    const std::string bare = bench::ExeFolder() + "bench_bare_window.exe";
    bool ok = true;
    // One start each first, so both programs' files are in the page cache before anything counts.
    StartAndClose(quoril, ok);
    StartAndClose(bare, ok);
    bench::Print("start to first paint", "ours", bench::Measure(options.runs, [&] { StartAndClose(quoril, ok); }));
    bench::Print("start to first paint", "bare window", bench::Measure(options.runs, [&] { StartAndClose(bare, ok); }));
    for (const auto& program : {std::make_pair("ours", quoril), std::make_pair("bare window", bare)}) {
        std::vector<double> peaks;
        for (int i = 0; i < options.runs; ++i)
            StartAndClose(program.second, ok, &peaks);
        std::sort(peaks.begin(), peaks.end());
        if (!peaks.empty())
            bench::Print(
                "peak working set (KiB)", program.first, bench::TFigure{peaks.front(), peaks[peaks.size() / 2]});
    }
    if (!ok) {
        std::fprintf(stderr, "a program did not start or never became idle\n");
        return 1;
    }
    return 0;
}
