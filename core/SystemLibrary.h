// Run-time loading of DLLs without the search path.
//
// The program runs elevated and is often started from a download folder, where anyone can leave
// a DLL named like a system component. Every run-time load in the framework and the program goes
// through these two functions, so no load ever consults the application folder, the current
// directory or PATH for a system component, and no module named by a skin is looked up anywhere
// but beside the program.
#pragma once

#include <windows.h>

namespace SkinUI {

// Loads `fileName` (a bare name such as "msimg32.dll") from the system folder only. Where the
// system refuses LOAD_LIBRARY_SEARCH_SYSTEM32 (Windows 7 without its update), the full path in the
// system folder is used instead. Null when the name is not a bare file name or nothing loads.
HMODULE LoadSystemLibrary(const char* fileName);

// Loads a module named by outside input (a skin's "modulename"). Accepted are a bare file name,
// loaded from the executable's folder, and an absolute drive path (C:\...) that lies inside the
// executable's folder or a folder below it, with no "." or ".." component and no stream name.
// Everything else is refused: other absolute paths, relative paths with a folder part (..\x.dll,
// sub\x.dll), drive-relative names (C:x.dll), UNC paths (\\server\share\x.dll) and \\?\ paths.
// Its own dependencies are searched from its folder first (LOAD_WITH_ALTERED_SEARCH_PATH). Null
// for refused, empty, over-long or unloadable names.
HMODULE LoadModuleBesideProgram(const char* path);

// A procedure looked up in a loaded module, cast to the caller's function pointer type.
template <class F> F LookUpProc(HMODULE module, const char* name)
{
    if (module == nullptr)
        return nullptr;
    return reinterpret_cast<F>(reinterpret_cast<void*>(::GetProcAddress(module, name)));
}

}  // namespace SkinUI
