#include "app/DesktopShell.h"

#include <exdisp.h>
#include <servprov.h>
#include <shldisp.h>
#include <shlguid.h>
#include <shobjidl.h>
#include <windows.h>

#include "core/CodePage.h"
#include "core/SystemLibrary.h"

namespace Quoril {

namespace {

using SkinUI::LoadSystemLibrary;
using SkinUI::LookUpProc;

struct TComEntryPoints {
    decltype(&::CoInitialize) initialize = nullptr;
    decltype(&::CoCreateInstance) createInstance = nullptr;
    decltype(&::SysAllocString) allocString = nullptr;
    decltype(&::SysFreeString) freeString = nullptr;
};

const TComEntryPoints& ComEntryPoints()
{
    static const TComEntryPoints entryPoints = [] {
        TComEntryPoints found;
        HMODULE ole = LoadSystemLibrary("ole32.dll");
        HMODULE automation = LoadSystemLibrary("oleaut32.dll");
        found.initialize = LookUpProc<decltype(&::CoInitialize)>(ole, "CoInitialize");
        found.createInstance = LookUpProc<decltype(&::CoCreateInstance)>(ole, "CoCreateInstance");
        found.allocString = LookUpProc<decltype(&::SysAllocString)>(automation, "SysAllocString");
        found.freeString = LookUpProc<decltype(&::SysFreeString)>(automation, "SysFreeString");
        return found;
    }();
    return entryPoints;
}

// Owns one interface reference.
template <class T> class CComRef {
public:
    CComRef() = default;
    ~CComRef()
    {
        if (m_p != nullptr)
            m_p->Release();
    }
    CComRef(const CComRef&) = delete;
    CComRef& operator=(const CComRef&) = delete;

    T* operator->() const { return m_p; }
    T* Get() const { return m_p; }
    T** Out() { return &m_p; }
    void** OutAsVoid() { return reinterpret_cast<void**>(&m_p); }

private:
    T* m_p = nullptr;
};

// A BSTR variant holding a wide copy of an ANSI text; empty (VT_EMPTY) when the copy fails.
class CTextVariant {
public:
    CTextVariant(const TComEntryPoints& com, const std::string& text)
        : m_com(com)
    {
        m_value.vt = VT_EMPTY;
        std::wstring wide;
        if (!SkinUI::WideFromCodePage(text.c_str(), CP_ACP, wide))
            return;
        m_value.bstrVal = m_com.allocString(wide.c_str());
        if (m_value.bstrVal != nullptr)
            m_value.vt = VT_BSTR;
    }
    ~CTextVariant()
    {
        if (m_value.vt == VT_BSTR)
            m_com.freeString(m_value.bstrVal);
    }
    CTextVariant(const CTextVariant&) = delete;
    CTextVariant& operator=(const CTextVariant&) = delete;

    bool Valid() const { return m_value.vt == VT_BSTR; }
    const VARIANT& Value() const { return m_value; }

private:
    const TComEntryPoints& m_com;
    VARIANT m_value;
};

// The shell's automation object, reached through the view of the desktop window.
bool FindDesktopDispatch(const TComEntryPoints& com, CComRef<IShellDispatch2>& shell)
{
    CComRef<IShellWindows> windows;
    if (FAILED(com.createInstance(
            CLSID_ShellWindows, nullptr, CLSCTX_LOCAL_SERVER, IID_IShellWindows, windows.OutAsVoid())))
        return false;
    VARIANT anywhere;
    anywhere.vt = VT_EMPTY;
    long desktopWindow = 0;
    CComRef<IDispatch> desktop;
    // S_FALSE: no desktop window is registered.
    if (windows->FindWindowSW(&anywhere, &anywhere, SWC_DESKTOP, &desktopWindow, SWFO_NEEDDISPATCH, desktop.Out())
            != S_OK
        || desktop.Get() == nullptr)
        return false;
    CComRef<IServiceProvider> services;
    CComRef<IShellBrowser> browser;
    CComRef<IShellView> view;
    CComRef<IDispatch> background;
    CComRef<IShellFolderViewDual> folderView;
    CComRef<IDispatch> application;
    return SUCCEEDED(desktop->QueryInterface(IID_IServiceProvider, services.OutAsVoid()))
        && SUCCEEDED(services->QueryService(SID_STopLevelBrowser, IID_IShellBrowser, browser.OutAsVoid()))
        && SUCCEEDED(browser->QueryActiveShellView(view.Out()))
        && SUCCEEDED(view->GetItemObject(SVGIO_BACKGROUND, IID_IDispatch, background.OutAsVoid()))
        && SUCCEEDED(background->QueryInterface(IID_IShellFolderViewDual, folderView.OutAsVoid()))
        && SUCCEEDED(folderView->get_Application(application.Out()))
        && SUCCEEDED(application->QueryInterface(IID_IShellDispatch2, shell.OutAsVoid()));
}

// Initialises COM (single-threaded apartment) on the UI thread the first time it is called.
void EnsureComInitialized()
{
    // Once, on the UI thread, the only one that asks the shell for anything. A failure leaves the
    // shell's own calls to report it.
    static const bool initialized = [] {
        const TComEntryPoints& com = ComEntryPoints();
        return com.initialize != nullptr && SUCCEEDED(com.initialize(nullptr));
    }();
    (void)initialized;
}

}  // namespace

bool ShellExecuteAsDesktopUser(const std::string& file, const std::string& parameters)
{
    EnsureComInitialized();
    const TComEntryPoints& com = ComEntryPoints();
    if (com.createInstance == nullptr || com.allocString == nullptr || com.freeString == nullptr)
        return false;
    CComRef<IShellDispatch2> shell;
    if (!FindDesktopDispatch(com, shell))
        return false;
    CTextVariant program(com, file);
    CTextVariant arguments(com, parameters);
    CTextVariant folder(com, "");
    CTextVariant operation(com, "open");
    if (!program.Valid() || !arguments.Valid() || !folder.Valid() || !operation.Valid())
        return false;
    // The shell is not the foreground process; the browser may come to the front as it would
    // have when started from here.
    AllowSetForegroundWindow(ASFW_ANY);
    VARIANT show;
    show.vt = VT_I4;
    show.lVal = SW_SHOWNORMAL;
    return SUCCEEDED(
        shell->ShellExecute(program.Value().bstrVal, arguments.Value(), folder.Value(), operation.Value(), show));
}

}  // namespace Quoril
