#include "core/SystemLibrary.h"

#include <cstring>

#include "core/PathName.h"

namespace SkinUI {

namespace {

bool IsBareFileName(const char* name)
{
    return name != nullptr && name[0] != '\0' && std::strpbrk(name, "\\/:") == nullptr;
}

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

// "C:\..." with a drive letter; UNC, "\\?\" and drive-relative forms are not.
bool IsDriveRooted(const char* path)
{
    const bool letter = (path[0] >= 'A' && path[0] <= 'Z') || (path[0] >= 'a' && path[0] <= 'z');
    return letter && path[1] == ':' && IsSeparator(path[2]);
}

// The executable's folder with its trailing backslash, or false.
bool ProgramFolder(char (&out)[MAX_PATH], size_t& length)
{
    const DWORD written = ::GetModuleFileNameA(nullptr, out, MAX_PATH);
    if (written == 0 || written >= MAX_PATH)
        return false;
    // Walked by characters: in a double-byte code page a trail byte may look like a backslash.
    const char* slash = nullptr;
    for (const char* p = out; *p != '\0'; ++p) {
        if (::IsDBCSLeadByte(static_cast<BYTE>(*p)) && p[1] != '\0')
            ++p;
        else if (*p == '\\')
            slash = p;
    }
    if (slash == nullptr || slash == out)
        return false;
    length = static_cast<size_t>(slash - out) + 1;
    out[length] = '\0';
    return true;
}

// `path` is drive-rooted, has no dot components and no stream names, and lies under `folder`
// (which ends with a backslash), compared as the file system compares names.
bool IsInsideFolder(const char* path, const char* folder, size_t folderLength)
{
    if (std::strlen(path) <= folderLength || std::strchr(path + 2, ':') != nullptr || HasDotComponent(path + 3))
        return false;
    return ::CompareStringA(LOCALE_INVARIANT, NORM_IGNORECASE, path, static_cast<int>(folderLength), folder,
               static_cast<int>(folderLength))
        == CSTR_EQUAL;
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
    char folder[MAX_PATH] = {};
    size_t folderLength = 0;
    if (!ProgramFolder(folder, folderLength))
        return nullptr;
    if (IsDriveRooted(path)) {
        if (!IsInsideFolder(path, folder, folderLength))
            return nullptr;
        return ::LoadLibraryExA(path, nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
    }
    char full[MAX_PATH];
    if (!IsBareFileName(path) || HasDotComponent(path) || !JoinPath(folder, folderLength, path, full))
        return nullptr;
    return ::LoadLibraryExA(full, nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
}

}  // namespace SkinUI
