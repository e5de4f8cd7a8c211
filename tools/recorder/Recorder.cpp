// A stand-in for a system command: records how it was started, then ends.
//
// Each start appends one line "<GetTickCount()>\t<own module path>\t<GetCommandLineA()>" to the
// file named by QUORIL_RECORDER_LOG (or C:\quoril-recorder.log). QUORIL_RECORDER_EXIT sets the
// exit code (default 0) and QUORIL_RECORDER_DELAY_MS a wait before exiting, so tests can model a
// failing or a hanging command.
#include <windows.h>

#include <cstdlib>
#include <string>

namespace {

std::string Variable(const char* name)
{
    char value[1024] = {};
    const DWORD length = GetEnvironmentVariableA(name, value, sizeof(value));
    if (length == 0 || length >= sizeof(value))
        return std::string();
    return std::string(value, length);
}

DWORD Number(const char* name, DWORD fallback)
{
    const std::string text = Variable(name);
    if (text.empty())
        return fallback;
    return static_cast<DWORD>(std::strtoul(text.c_str(), nullptr, 10));
}

bool AppendLine(const std::string& path, const std::string& line)
{
    // Another start may hold the file for a moment; retry briefly instead of losing the line.
    for (int attempt = 0; attempt < 50; ++attempt) {
        HANDLE file = CreateFileA(path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
            OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file != INVALID_HANDLE_VALUE) {
            DWORD written = 0;
            const BOOL ok = WriteFile(file, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
            CloseHandle(file);
            return ok && written == line.size();
        }
        Sleep(20);
    }
    return false;
}

}  // namespace

int main()
{
    const DWORD tick = GetTickCount();
    char module[MAX_PATH + 1] = {};
    GetModuleFileNameA(nullptr, module, MAX_PATH);
    std::string path = Variable("QUORIL_RECORDER_LOG");
    if (path.empty())
        path = "C:\\quoril-recorder.log";
    const char* commandLine = GetCommandLineA();
    const std::string line = std::to_string(tick) + "\t" + module + "\t" + (commandLine ? commandLine : "") + "\n";
    if (!AppendLine(path, line))
        return 120;
    const DWORD delay = Number("QUORIL_RECORDER_DELAY_MS", 0);
    if (delay)
        Sleep(delay);
    return static_cast<int>(Number("QUORIL_RECORDER_EXIT", 0));
}
