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

TEST(SystemLibrary, ModulesNamedByOutsideInputResolveBesideTheProgram)
{
    const std::string system = SystemFolder() + "\\msimg32.dll";
    EXPECT_NE(SkinUI::LoadModuleBesideProgram(system.c_str()), nullptr);
    // A relative name is looked for beside the test program only, never on the search path,
    // where this system library would otherwise be found.
    EXPECT_EQ(SkinUI::LoadModuleBesideProgram("msimg32.dll"), nullptr);
    EXPECT_EQ(SkinUI::LoadModuleBesideProgram(""), nullptr);
    EXPECT_EQ(SkinUI::LoadModuleBesideProgram(nullptr), nullptr);
    EXPECT_EQ(SkinUI::LoadModuleBesideProgram(std::string(MAX_PATH + 4, 'a').c_str()), nullptr);
}

}  // namespace
