#include "host/AccessibleText.h"

#include <climits>
#include <cstring>

namespace SkinUI {

BSTR AnsiToBstr(const char* text)
{
    if (text == nullptr)
        text = "";
    const size_t bytes = std::strlen(text);
    // Longer than any control text can be; the clamp keeps the int arithmetic below exact.
    const int length = bytes > INT_MAX / 2 ? INT_MAX / 2 : static_cast<int>(bytes);
    if (length == 0)
        return ::SysAllocStringLen(L"", 0);
    const int wide = ::MultiByteToWideChar(CP_ACP, 0, text, length, nullptr, 0);
    if (wide <= 0)
        return ::SysAllocStringLen(L"", 0);
    BSTR out = ::SysAllocStringLen(nullptr, static_cast<UINT>(wide));
    if (out == nullptr)
        return nullptr;
    ::MultiByteToWideChar(CP_ACP, 0, text, length, out, wide);
    return out;
}

}  // namespace SkinUI
