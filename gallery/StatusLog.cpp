#include "gallery/StatusLog.h"

#include <windows.h>

namespace Gallery {

CStatusLog::CStatusLog()
{
    char path[kMaxPath] = {};
    const DWORD length = ::GetEnvironmentVariableA(kLogVariable, path, sizeof(path));
    // A longer value than the buffer reports the size it needs: no log rather than a cut name.
    if (length > 0 && length < sizeof(path))
        m_path.assign(path, length);
}

void CStatusLog::Append(const std::string& line) const
{
    if (m_path.empty())
        return;
    HANDLE file = ::CreateFileA(m_path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
        OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return;
    const std::string record = line + "\n";
    DWORD written = 0;
    ::WriteFile(file, record.data(), static_cast<DWORD>(record.size()), &written, nullptr);
    ::CloseHandle(file);
}

}  // namespace Gallery
