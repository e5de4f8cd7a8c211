#include "app/TextConversion.h"

#include <windows.h>

#include <vector>

namespace Quoril {

std::wstring WideFromCodePage936(const char* text)
{
    if (!text || !*text)
        return std::wstring();
    const int units = MultiByteToWideChar(936, MB_ERR_INVALID_CHARS, text, -1, nullptr, 0);
    if (units <= 0)
        return std::wstring();
    std::vector<wchar_t> buffer(static_cast<size_t>(units));
    if (MultiByteToWideChar(936, MB_ERR_INVALID_CHARS, text, -1, buffer.data(), units) != units)
        return std::wstring();
    return std::wstring(buffer.data());
}

bool AnsiFromWideExactly(const std::wstring& wide, size_t maxBytes, std::string& out)
{
    out.clear();
    if (wide.empty())
        return true;
    if (wide.find(L'\0') != std::wstring::npos || maxBytes > 0x7FFFFFFE)
        return false;
    // One spare byte for the terminator WideCharToMultiByte writes with a length of -1; a name
    // that needs more does not fit and is refused, never cut.
    std::vector<char> buffer(maxBytes + 1);
    const UINT codePage = GetACP();
    BOOL usedDefault = FALSE;
    int written;
    if (codePage == CP_UTF8) {
        // UTF-8 holds every character; only unpaired surrogates are lossy. The best-fit flag and
        // the used-default output are not accepted for this code page.
        written = WideCharToMultiByte(CP_UTF8, WC_ERR_INVALID_CHARS, wide.c_str(), -1, buffer.data(),
            static_cast<int>(buffer.size()), nullptr, nullptr);
    } else {
        written = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide.c_str(), -1, buffer.data(),
            static_cast<int>(buffer.size()), nullptr, &usedDefault);
    }
    if (written <= 0 || usedDefault)
        return false;
    // The flags above are the documented guard; converting back and comparing also catches any
    // mapping they miss on a particular system.
    const int units = MultiByteToWideChar(codePage, 0, buffer.data(), -1, nullptr, 0);
    if (units <= 0)
        return false;
    std::vector<wchar_t> back(static_cast<size_t>(units));
    MultiByteToWideChar(codePage, 0, buffer.data(), -1, back.data(), units);
    if (wide != back.data())
        return false;
    out.assign(buffer.data(), static_cast<size_t>(written - 1));
    return true;
}

}  // namespace Quoril
