#include "app/SingleInstance.h"

namespace Quoril {

CSingleInstance::CSingleInstance(const char* name)
{
    m_mutex = CreateMutexA(nullptr, FALSE, name);
    m_first = m_mutex != nullptr && GetLastError() != ERROR_ALREADY_EXISTS;
}

CSingleInstance::~CSingleInstance()
{
    if (m_mutex != nullptr)
        CloseHandle(m_mutex);
}

bool BringRunningWindowToFront(const char* className, const char* title, DWORD waitMs)
{
    const DWORD kStepMs = 50;
    for (DWORD waited = 0;; waited += kStepMs) {
        const HWND window = FindWindowA(className, title);
        if (window != nullptr) {
            if (IsIconic(window))
                ShowWindow(window, SW_RESTORE);
            SetForegroundWindow(window);
            return true;
        }
        if (waited >= waitMs)
            return false;
        Sleep(kStepMs);
    }
}

}  // namespace Quoril
