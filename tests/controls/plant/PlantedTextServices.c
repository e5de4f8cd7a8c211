/* A library named like the system's text services, planted beside a program. It leaves a mark in
   the process environment as soon as anything loads it, so the program can tell it ever ran. */
#include <windows.h>

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved)
{
    (void)instance;
    (void)reserved;
    if (reason == DLL_PROCESS_ATTACH)
        SetEnvironmentVariableA("RICHEDIT_PLANT_RAN", "1");
    return TRUE;
}

__declspec(dllexport) HRESULT WINAPI CreateTextServices(void* outer, void* host, void** services)
{
    (void)outer;
    (void)host;
    SetEnvironmentVariableA("RICHEDIT_PLANT_RAN", "1");
    if (services != NULL)
        *services = NULL;
    return E_FAIL;
}
