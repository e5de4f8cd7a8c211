// Where a program built one level below the build folder finds the source tree and the built
// programs: the benchmarks are built into <source>\build\<preset>\bench\ (the program tests into
// ...\tests\), beside nothing else they need.
#pragma once

#include <windows.h>

#include <string>

namespace bench {

// The running executable's folder, with a trailing backslash.
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
