#include "host/AccessibleText.h"

#include <string>

#include "core/CodePage.h"

namespace SkinUI {

BSTR AnsiToBstr(const char* text)
{
    std::wstring wide;
    // Text the converter refuses reads as empty, like no text.
    if (text != nullptr)
        WideFromCodePage(text, CP_ACP, wide);
    return ::SysAllocStringLen(wide.c_str(), static_cast<UINT>(wide.size()));
}

}  // namespace SkinUI
