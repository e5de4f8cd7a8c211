// Quoril's entry point: prepares the process, then runs the administrators' command line, or the main
// window until it is gone.
#include <windows.h>

#include <memory>

#include "app/AdminCommand.h"
#include "app/ConsoleOutput.h"
#include "app/MainWnd.h"
#include "app/SingleInstance.h"
#include "host/ResourceLocation.h"
#include "shadow/WndShadow.h"

namespace {

// The program runs elevated, often from a download folder: no DLL may come from the
// application's folder. Looked up at run time because Windows 7 has it only with an update.
void RestrictDllSearchToSystemFolder()
{
    typedef BOOL(WINAPI * SetDefaultDllDirectoriesFn)(DWORD);
    HMODULE kernel = ::GetModuleHandleA("kernel32.dll");
    if (kernel == nullptr)
        return;
    FARPROC proc = ::GetProcAddress(kernel, "SetDefaultDllDirectories");
    if (proc != nullptr)
        reinterpret_cast<SetDefaultDllDirectoriesFn>(proc)(LOAD_LIBRARY_SEARCH_SYSTEM32);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR arguments, int)
{
    RestrictDllSearchToSystemFolder();

    // Before any window or command: while another copy runs, nothing may change DNS. Only /status
    // and a refused command line change nothing, so they take no lock.
    const Quoril::TAdminRequest request = Quoril::ParseAdminArguments(arguments != nullptr ? arguments : "");
    const bool changes
        = request.verb != Quoril::TAdminRequest::Status && request.verb != Quoril::TAdminRequest::Invalid;
    std::unique_ptr<Quoril::CSingleInstance> singleInstance;
    if (changes)
        singleInstance.reset(new Quoril::CSingleInstance());
    if (request.verb != Quoril::TAdminRequest::Window) {
        Quoril::CConsoleOutput output;
        return Quoril::RunAdminRequest(request, Quoril::Win32Services(), Quoril::AdapterNameList(),
            changes && !singleInstance->IsFirst(), [&output](const std::wstring& line) { output.WriteLine(line); });
    }
    if (!singleInstance->IsFirst()) {
        // A second start only shows the first one.
        Quoril::BringRunningWindowToFront(Quoril::CMainWnd::kWindowClassName, Quoril::CMainWnd::kWindowTitle, 3000);
        return 0;
    }

    // The first call into the window system (the shadow's class), which starts it.
    SkinUI::CWndShadow::InitSupport(instance);
    // Started before the window is made: the look-up waits on the system meanwhile.
    Quoril::CStartupLookup lookup(Quoril::Win32Services(), Quoril::AdapterNameList(),
        Quoril::CMainWnd::IsEnglishInterface(::GetUserDefaultUILanguage()));
    SkinUI::CResourceLocation::SetModuleInstance(instance);
    SkinUI::CResourceLocation::SetResourceFolder(SkinUI::CResourceLocation::GetInstanceFolder() + "skin\\");

    // The window deletes itself after its last message. It is made hidden and first shown by RunModal,
    // sized and centred: shown at creation, it and its shadow would be drawn once at the skin's size
    // and again where it ends up, before the user sees anything.
    Quoril::CMainWnd* window = new Quoril::CMainWnd();
    window->UseStartupLookup(&lookup);
    if (window->Create(nullptr, Quoril::CMainWnd::kWindowTitle,
            WS_POPUP | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | WS_CAPTION | WS_SYSMENU, WS_EX_APPWINDOW, 0, 0, 0, 0)
        == nullptr) {
        return 1;
    }
    window->CenterOverOwner();
    window->SetIcons(Quoril::CMainWnd::kIconResourceId);
    window->RunModal();

    if (SkinUI::CResourceLocation::GetSkinArchiveBlock() != nullptr)
        SkinUI::CResourceLocation::CloseSkinArchive();
    return 0;
}
