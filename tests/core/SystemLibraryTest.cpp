#include <gtest/gtest.h>

#include <string>

#include "core/SystemLibrary.h"

namespace {

std::string ModuleFolder(HMODULE module)
{
    char path[MAX_PATH] = {};
    const DWORD length = ::GetModuleFileNameA(module, path, MAX_PATH);
    std::string folder(path, length);
    return folder.substr(0, folder.find_last_of('\\'));
}

std::string SystemFolder()
{
    char path[MAX_PATH] = {};
    const UINT length = ::GetSystemDirectoryA(path, MAX_PATH);
    return std::string(path, length);
}

TEST(SystemLibrary, LoadsBareNamesFromTheSystemFolderOnly)
{
    HMODULE module = SkinUI::LoadSystemLibrary("msimg32.dll");
    ASSERT_NE(module, nullptr);
    EXPECT_EQ(0, lstrcmpiA(ModuleFolder(module).c_str(), SystemFolder().c_str()));

    // Anything but a bare file name would let the caller reach outside the system folder.
    for (const char* name : {"", "..\\msimg32.dll", "C:\\windows\\system32\\msimg32.dll", "sub/msimg32.dll",
             "c:msimg32.dll", "no-such-library.dll"}) {
        SCOPED_TRACE(name);
        EXPECT_EQ(SkinUI::LoadSystemLibrary(name), nullptr);
    }
    EXPECT_EQ(SkinUI::LoadSystemLibrary(nullptr), nullptr);
}

TEST(SystemLibrary, ModulesNamedByOutsideInputResolveBesideTheProgramOnly)
{
    char exe[MAX_PATH] = {};
    ::GetModuleFileNameA(nullptr, exe, MAX_PATH);
    const std::string exeFolder = ModuleFolder(nullptr);
    const std::string system = SystemFolder() + "\\msimg32.dll";
    // Every name here reaches a loadable module if taken as the system would take it.
    const std::string refused[] = {
        system,  // absolute, outside the program's folder
        "\\\\?\\" + system,
        exeFolder + "\\..\\" + std::string(exe).substr(exeFolder.find_last_of('\\') + 1, std::string::npos),
        "msimg32.dll",  // beside the test program there is none; the search path would find one
        "..\\msimg32.dll",
        exeFolder.substr(0, 2) + "msimg32.dll",
        "",
        std::string(MAX_PATH + 4, 'a'),
    };
    for (const std::string& name : refused) {
        SCOPED_TRACE(name);
        EXPECT_EQ(SkinUI::LoadModuleBesideProgram(name.c_str()), nullptr);
    }
    EXPECT_EQ(SkinUI::LoadModuleBesideProgram(nullptr), nullptr);
}

}  // namespace
