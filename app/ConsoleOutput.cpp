#include "app/ConsoleOutput.h"

#include <string>

#include "core/CodePage.h"

namespace Quoril {

CConsoleOutput::CConsoleOutput()
{
    HANDLE handle = GetStdHandle(STD_OUTPUT_HANDLE);
    if ((handle == nullptr || handle == INVALID_HANDLE_VALUE) && AttachConsole(ATTACH_PARENT_PROCESS)) {
        handle = CreateFileA("CONOUT$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
            OPEN_EXISTING, 0, nullptr);
        m_owned = handle != INVALID_HANDLE_VALUE;
    }
    m_handle = handle == INVALID_HANDLE_VALUE ? nullptr : handle;
    DWORD mode = 0;
    m_console = m_handle != nullptr && GetConsoleMode(m_handle, &mode);
}

CConsoleOutput::~CConsoleOutput()
{
    if (m_owned)
        CloseHandle(m_handle);
}

void CConsoleOutput::WriteLine(const std::wstring& line)
{
    if (m_handle == nullptr)
        return;
    std::wstring text;
    for (wchar_t c : line)
        text += c == L'\n' ? std::wstring(L"\r\n") : std::wstring(1, c);
    text += L"\r\n";
    DWORD written = 0;
    if (m_console) {
        WriteConsoleW(m_handle, text.c_str(), static_cast<DWORD>(text.size()), &written, nullptr);
        return;
    }
    std::string ansi;
    if (!SkinUI::CodePageFromWide(text, CP_ACP, ansi) || ansi.empty())
        return;
    WriteFile(m_handle, ansi.data(), static_cast<DWORD>(ansi.size()), &written, nullptr);
}

}  // namespace Quoril
