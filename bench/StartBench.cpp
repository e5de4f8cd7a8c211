// Start to first paint: the time from CreateProcess until the new process's main thread first
// waits for input with an empty queue (WaitForInputIdle), which is after its first WM_PAINT has been
// handled. Quoril.exe and two reference programs (a bare window, and one doing the least work
// Quoril's window needs) are started in turn, each then closed. At that moment the process's peak
// working set is read too (printed in KiB in the time columns).
#include <windows.h>

#include <psapi.h>

#include <chrono>
#include <string>
#include <vector>

#include "bench/BenchClock.h"
#include "bench/BenchPaths.h"

namespace {

// Asks every visible top-level window of the process to close (the main window and its shadow).
BOOL CALLBACK CloseProcessWindows(HWND hwnd, LPARAM process)
{
    DWORD owner = 0;
    ::GetWindowThreadProcessId(hwnd, &owner);
    if (owner == static_cast<DWORD>(process) && ::IsWindowVisible(hwnd))
        ::PostMessageA(hwnd, WM_CLOSE, 0, 0);
    return TRUE;
}

struct TStart {
    double idleUs = 0;  // CreateProcess until the first idle moment
    double peakKib = 0;  // peak working set at that moment
};

// Starts the program, waits for its first idle moment, reads its peak working set, then closes it
// (outside the time taken).
TStart StartAndClose(const std::string& program, bool& ok)
{
    TStart start;
    STARTUPINFOA si = {};
    si.cb = sizeof(si);
    PROCESS_INFORMATION pi = {};
    std::string commandLine = "\"" + program + "\"";
    const auto begin = std::chrono::steady_clock::now();
    if (!::CreateProcessA(program.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) {
        ok = false;
        return start;
    }
    ok = ::WaitForInputIdle(pi.hProcess, 20000) == 0 && ok;
    start.idleUs = std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - begin).count();
    PROCESS_MEMORY_COUNTERS counters = {};
    counters.cb = sizeof(counters);
    if (::GetProcessMemoryInfo(pi.hProcess, &counters, sizeof(counters)))
        start.peakKib = static_cast<double>(counters.PeakWorkingSetSize) / 1024.0;
    ::EnumWindows(CloseProcessWindows, static_cast<LPARAM>(pi.dwProcessId));
    if (::WaitForSingleObject(pi.hProcess, 5000) != WAIT_OBJECT_0)
        ::TerminateProcess(pi.hProcess, 1);
    ::CloseHandle(pi.hThread);
    ::CloseHandle(pi.hProcess);
    // The system goes on tearing the program's windows down after it ended, which slowed the next
    // start by tens of percent: each start is timed on a machine at rest, as a user's is.
    ::Sleep(100);
    return start;
}

}  // namespace

int main(int argc, char** argv)
{
    const bench::TOptions options = bench::ParseOptions(argc, argv);
    struct TProgram {
        std::string path;
        const char* subject;
        std::vector<double> idle, peak;
    };
    TProgram programs[] = {
        {bench::BuildFolder() + "Quoril.exe", "ours", {}, {}},
        {bench::ExeFolder() + "bench_bare_window.exe", "bare window", {}, {}},
        {bench::ExeFolder() + "bench_least_work_window.exe", "least work window", {}, {}},
    };
    bool ok = true;
    // One start each first, so every program's files are in the page cache before anything counts.
    for (TProgram& program : programs)
        StartAndClose(program.path, ok);
    // One start varies by tens of percent from the next: more rounds than the other figures take keep
    // the medians steady.
    const int rounds = options.quick ? 1 : 41;
    const size_t count = sizeof(programs) / sizeof(programs[0]);
    for (int i = 0; i < rounds; ++i) {
        // In turn, so a change in the machine's load touches all alike, in an order turned by one each
        // round, so none always follows the same program.
        for (size_t k = 0; k < count; ++k) {
            TProgram& program = programs[(k + static_cast<size_t>(i)) % count];
            const TStart start = StartAndClose(program.path, ok);
            program.idle.push_back(start.idleUs);
            program.peak.push_back(start.peakKib);
        }
    }
    for (const TProgram& program : programs)
        bench::Print("start to first paint", program.subject, bench::Summarize(program.idle));
    for (const TProgram& program : programs)
        bench::Print("peak working set (KiB)", program.subject, bench::Summarize(program.peak));
    if (!ok) {
        std::fprintf(stderr, "a program did not start or never became idle\n");
        return 1;
    }
    return 0;
}
