#include "core/SystemLibrary.h"

#include <cstring>

namespace SkinUI {

namespace {

bool IsBareFileName(const char* name)
{
    return name != nullptr && name[0] != '\0' && std::strpbrk(name, "\\/:") == nullptr;
}

bool IsAbsolutePath(const char* path)
{
    const bool driveRooted = ((path[0] >= 'A' && path[0] <= 'Z') || (path[0] >= 'a' && path[0] <= 'z'))
        && path[1] == ':' && (path[2] == '\\' || path[2] == '/');
    const bool uncPath = (path[0] == '\\' || path[0] == '/') && (path[1] == '\\' || path[1] == '/');
    return driveRooted || uncPath;
}

// Joins folder and name into `out` (MAX_PATH bytes); false when the result would not fit.
bool JoinPath(const char* folder, size_t folderLength, const char* name, char (&out)[MAX_PATH])
{
    const size_t nameLength = std::strlen(name);
    const bool needsSeparator = folderLength > 0 && folder[folderLength - 1] != '\\';
    if (folderLength + (needsSeparator ? 1 : 0) + nameLength >= MAX_PATH)
        return false;
    std::memcpy(out, folder, folderLength);
    size_t at = folderLength;
    if (needsSeparator)
        out[at++] = '\\';
    std::memcpy(out + at, name, nameLength + 1);
    return true;
}

}  // namespace

HMODULE LoadSystemLibrary(const char* fileName)
{
    if (!IsBareFileName(fileName))
        return nullptr;
    HMODULE module = ::LoadLibraryExA(fileName, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    if (module != nullptr || ::GetLastError() != ERROR_INVALID_PARAMETER)
        return module;
    char folder[MAX_PATH] = {};
    const UINT length = ::GetSystemDirectoryA(folder, MAX_PATH);
    char path[MAX_PATH];
    if (length == 0 || length >= MAX_PATH || !JoinPath(folder, length, fileName, path))
        return nullptr;
    return ::LoadLibraryExA(path, nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
}

HMODULE LoadModuleBesideProgram(const char* path)
{
    if (path == nullptr || path[0] == '\0' || std::strlen(path) >= MAX_PATH)
        return nullptr;
    if (IsAbsolutePath(path))
        return ::LoadLibraryExA(path, nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
    char program[MAX_PATH] = {};
    const DWORD length = ::GetModuleFileNameA(nullptr, program, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        return nullptr;
    const char* slash = std::strrchr(program, '\\');
    const size_t folderLength = slash != nullptr ? static_cast<size_t>(slash - program) : 0;
    char full[MAX_PATH];
    if (folderLength == 0 || !JoinPath(program, folderLength, path, full))
        return nullptr;
    return ::LoadLibraryExA(full, nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
}

}  // namespace SkinUI
