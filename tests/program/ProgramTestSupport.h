// Shared helpers of the program tests: where the source tree and the built program are, a private
// folder of skin files that disappears with the test, and a scope that leaves the process-wide skin
// location (resource folder, archive, resource module) as it found it.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "bench/BenchPaths.h"
#include "host/ResourceLocation.h"

namespace programtest {

// The build puts the test in <build>\tests\ and the program in <build>\, as it puts the benchmarks
// in <build>\bench\: one level below the build folder, where the benchmarks' paths hold too.
using bench::BuildFolder;
using bench::ExeFolder;
using bench::SourceFolder;
inline std::string ShippedSkinFolder() { return SourceFolder() + "resources\\"; }

// The whole file, or nothing when it cannot be read.
inline std::string ReadFileBytes(const std::string& path)
{
    std::string bytes;
    HANDLE file = ::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return bytes;
    const DWORD size = ::GetFileSize(file, nullptr);
    DWORD read = 0;
    if (size != INVALID_FILE_SIZE) {
        bytes.resize(size);
        if (!::ReadFile(file, &bytes[0], size, &read, nullptr) || read != size)
            bytes.clear();
    }
    ::CloseHandle(file);
    return bytes;
}

// A fresh folder under the temporary folder; its files are deleted with it.
class TempSkinFolder {
public:
    TempSkinFolder()
    {
        char base[MAX_PATH + 1] = {};
        ::GetTempPathA(MAX_PATH, base);
        char name[64];
        wsprintfA(name, "quoril-skin-%lu-%lu", ::GetCurrentProcessId(), ++Counter());
        m_path = std::string(base) + name + "\\";
        ::CreateDirectoryA(m_path.c_str(), nullptr);
    }
    ~TempSkinFolder()
    {
        for (const std::string& file : m_files)
            ::DeleteFileA((m_path + file).c_str());
        ::RemoveDirectoryA(m_path.c_str());
    }
    TempSkinFolder(const TempSkinFolder&) = delete;
    TempSkinFolder& operator=(const TempSkinFolder&) = delete;

    const std::string& Path() const { return m_path; }
    void Write(const std::string& file, const std::string& text)
    {
        HANDLE handle = ::CreateFileA(
            (m_path + file).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (handle == INVALID_HANDLE_VALUE)
            return;
        DWORD written = 0;
        ::WriteFile(handle, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
        ::CloseHandle(handle);
        m_files.push_back(file);
    }

private:
    static unsigned long& Counter()
    {
        static unsigned long counter = 0;
        return counter;
    }
    std::string m_path;
    std::vector<std::string> m_files;
};

// Points skin look-ups at `folder` (no archive) for the scope's life, then leaves no folder, no
// archive and the program itself as resource module.
class SkinLocationScope {
public:
    explicit SkinLocationScope(const std::string& folder)
    {
        SkinUI::CResourceLocation::CloseSkinArchive();
        SkinUI::CResourceLocation::SetResourceFolder(folder.c_str());
    }
    ~SkinLocationScope()
    {
        SkinUI::CResourceLocation::CloseSkinArchive();
        SkinUI::CResourceLocation::SetResourceFolder("");
        SkinUI::CResourceLocation::SetResourceInstance(nullptr);
    }
    SkinLocationScope(const SkinLocationScope&) = delete;
    SkinLocationScope& operator=(const SkinLocationScope&) = delete;
};

// The built Quoril.exe mapped as a resource module (its skin package, icon and manifest).
class ProgramResources {
public:
    ProgramResources()
        : m_module(::LoadLibraryExA(
            (BuildFolder() + "Quoril.exe").c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE))
    {
    }
    ~ProgramResources()
    {
        if (m_module != nullptr)
            ::FreeLibrary(m_module);
    }
    ProgramResources(const ProgramResources&) = delete;
    ProgramResources& operator=(const ProgramResources&) = delete;
    HMODULE Module() const { return m_module; }

private:
    HMODULE m_module;
};

}  // namespace programtest
