// Where the benchmark programs find the source tree and the built program: they are built into
// <source>\build\<preset>\bench\, beside nothing else they need.
#pragma once

#include <windows.h>

#include <string>

namespace bench {

inline std::string ExeFolder()
{
    char path[MAX_PATH + 1] = {};
    const DWORD length = ::GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string folder(path, length);
    return folder.substr(0, folder.find_last_of('\\') + 1);
}

inline std::string BuildFolder() { return ExeFolder() + "..\\"; }
inline std::string SourceFolder() { return ExeFolder() + "..\\..\\..\\"; }

}  // namespace bench
