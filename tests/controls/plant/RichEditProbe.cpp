// Makes a rich edit in a window of its own, beside a planted library named like the system's
// text services, and answers through its exit code: 0 when the editor has services from the
// system folder and the plant never ran; 1 no services; 2 the plant ran; 3 services from elsewhere.
#include <windows.h>

#include <cstring>

#include "controls/richedit/RichEdit.h"
#include "host/WindowHost.h"

namespace {

LRESULT CALLBACK ProbeProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto* host = reinterpret_cast<SkinUI::CWindowHostUI*>(::GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    LRESULT result = 0;
    if (host != nullptr && host->HandleWindowMessage(message, wParam, lParam, result))
        return result;
    return ::DefWindowProcA(hwnd, message, wParam, lParam);
}

bool LoadedFromSystemFolder(const char* moduleName)
{
    HMODULE module = ::GetModuleHandleA(moduleName);
    char path[MAX_PATH] = {};
    char system[MAX_PATH] = {};
    if (module == nullptr || ::GetModuleFileNameA(module, path, MAX_PATH) == 0
        || ::GetSystemDirectoryA(system, MAX_PATH) == 0)
        return false;
    const size_t length = std::strlen(system);
    return ::CompareStringA(
               LOCALE_INVARIANT, NORM_IGNORECASE, path, static_cast<int>(length), system, static_cast<int>(length))
        == CSTR_EQUAL
        && path[length] == '\\';
}

}  // namespace

int main()
{
    WNDCLASSA wc = {};
    wc.lpfnWndProc = ProbeProc;
    wc.hInstance = ::GetModuleHandleA(nullptr);
    wc.lpszClassName = "RichEditProbe";
    ::RegisterClassA(&wc);
    HWND hwnd = ::CreateWindowExA(
        0, "RichEditProbe", "probe", WS_POPUP, 0, 0, 200, 100, nullptr, nullptr, wc.hInstance, nullptr);
    auto* host = new SkinUI::CWindowHostUI;
    host->BindWindow(hwnd);
    ::SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(host));
    auto* edit = new SkinUI::CRichEditUI;
    host->AttachRoot(edit);
    edit->SetPosition(SkinUI::CRectUI(0, 0, 200, 100));

    int code = 0;
    if (::GetEnvironmentVariableA("RICHEDIT_PLANT_RAN", nullptr, 0) != 0)
        code = 2;
    else if (!edit->HasTextServices())
        code = 1;
    else if (!LoadedFromSystemFolder("msftedit.dll"))
        code = 3;
    ::SetWindowLongPtrA(hwnd, GWLP_USERDATA, 0);
    delete host;
    ::DestroyWindow(hwnd);
    return code;
}
