// A stand-in DLL for the planting test: copied under the name of a system DLL next to the program
// or into its working folder, it leaves C:\quoril-markers\<its own file name> the moment anything
// loads it. No marker after a run means no load picked a planted copy.
#include <windows.h>

namespace {

void LeaveMarker(HINSTANCE self)
{
    char path[MAX_PATH + 1] = {};
    const DWORD length = GetModuleFileNameA(self, path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        return;
    const char* name = path;
    for (const char* p = path; *p; ++p)
        if (*p == '\\' || *p == '/')
            name = p + 1;
    char marker[MAX_PATH + 32] = "C:\\quoril-markers\\";
    CreateDirectoryA(marker, nullptr);
    lstrcatA(marker, name);
    HANDLE file = CreateFileA(marker, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return;
    DWORD written = 0;
    WriteFile(file, path, length, &written, nullptr);
    CloseHandle(file);
}

}  // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE self, DWORD reason, LPVOID)
{
    if (reason == DLL_PROCESS_ATTACH)
        LeaveMarker(self);
    return TRUE;
}

// An entry point for rundll32, which the test uses to prove a loaded copy does leave its marker.
extern "C" __declspec(dllexport) void CALLBACK Mark(HWND, HINSTANCE, LPSTR, int) { }
