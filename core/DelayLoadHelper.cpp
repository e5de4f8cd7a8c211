// The delay-load helper for the system DLLs the framework imports lazily (cmake/DelayImports.cmake).
//
// Importing comctl32, ole32 and oleaut32 the ordinary way maps them, and everything they pull in,
// before the program's first instruction, which costs a skinned window a good part of its start-up
// time and memory although most runs never make a native control or a COM object. Their imports
// are bound on first call instead, here. The runtime's own helper would load the DLL by search
// path; this one takes it from the system folder only, like every other load.
#include <windows.h>

#include <delayimp.h>

#include "core/SystemLibrary.h"

extern "C" IMAGE_DOS_HEADER __ImageBase;  // the linker's symbol for this module's base

namespace {

template <class T> T* AtRva(RVA rva) { return reinterpret_cast<T*>(reinterpret_cast<BYTE*>(&__ImageBase) + rva); }

// Reports a DLL or procedure that cannot be bound the way the system's helper does; the call that
// needed it cannot go on.
[[noreturn]] void FailDelayLoad(DWORD code, DelayLoadInfo& info)
{
    ULONG_PTR argument = reinterpret_cast<ULONG_PTR>(&info);
    ::RaiseException(VcppException(ERROR_SEVERITY_ERROR, code), 0, 1, &argument);
    ::ExitProcess(1);  // only when a handler continues the exception
}

}  // namespace

extern "C" FARPROC WINAPI __delayLoadHelper2(PCImgDelayDescr descriptor, FARPROC* importSlot)
{
    const char* dllName = AtRva<const char>(descriptor->rvaDLLName);
    HMODULE* module = AtRva<HMODULE>(descriptor->rvaHmod);
    IMAGE_THUNK_DATA* addresses = AtRva<IMAGE_THUNK_DATA>(descriptor->rvaIAT);
    const IMAGE_THUNK_DATA* names = AtRva<const IMAGE_THUNK_DATA>(descriptor->rvaINT);
    const size_t index = static_cast<size_t>(reinterpret_cast<IMAGE_THUNK_DATA*>(importSlot) - addresses);

    DelayLoadInfo info = {};
    info.cb = sizeof(info);
    info.pidd = descriptor;
    info.ppfn = importSlot;
    info.szDll = dllName;
    info.dlp.fImportByName = !IMAGE_SNAP_BY_ORDINAL(names[index].u1.Ordinal);
    if (info.dlp.fImportByName)
        info.dlp.szProcName = AtRva<IMAGE_IMPORT_BY_NAME>(static_cast<RVA>(names[index].u1.AddressOfData))->Name;
    else
        info.dlp.dwOrdinal = static_cast<DWORD>(IMAGE_ORDINAL(names[index].u1.Ordinal));

    // Two threads may bind the same DLL at once: both store the same handle and addresses.
    if (*module == nullptr) {
        *module = SkinUI::LoadSystemLibrary(dllName);
        if (*module == nullptr)
            FailDelayLoad(ERROR_MOD_NOT_FOUND, info);
    }
    info.hmodCur = *module;
    const FARPROC proc = ::GetProcAddress(*module,
        info.dlp.fImportByName ? info.dlp.szProcName
                               : reinterpret_cast<LPCSTR>(static_cast<ULONG_PTR>(info.dlp.dwOrdinal)));
    if (proc == nullptr)
        FailDelayLoad(ERROR_PROC_NOT_FOUND, info);
    *importSlot = proc;
    return proc;
}
