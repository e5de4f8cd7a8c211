#include "app/TextConversion.h"

#include <windows.h>

#include <string>

#include "core/CodePage.h"

namespace Quoril {

std::wstring WideFromCodePage936(const char* text)
{
    std::wstring wide;
    if (text != nullptr)
        SkinUI::WideFromCodePage(text, 936, wide, MB_ERR_INVALID_CHARS);
    return wide;
}

bool AnsiFromWideExactly(const std::wstring& wide, size_t maxBytes, std::string& out)
{
    out.clear();
    if (wide.empty())
        return true;
    if (wide.find(L'\0') != std::wstring::npos || maxBytes > 0x7FFFFFFE)
        return false;
    const UINT codePage = GetACP();
    BOOL usedDefault = FALSE;
    std::string converted;
    bool done;
    if (codePage == CP_UTF8) {
        // UTF-8 holds every character; only unpaired surrogates are lossy. The best-fit flag and
        // the used-default output are not accepted for this code page.
        done = SkinUI::CodePageFromWide(wide, CP_UTF8, converted, WC_ERR_INVALID_CHARS);
    } else {
        done = SkinUI::CodePageFromWide(wide, CP_ACP, converted, WC_NO_BEST_FIT_CHARS, &usedDefault);
    }
    // A name that needs more than maxBytes does not fit and is refused, never cut.
    if (!done || usedDefault || converted.size() > maxBytes)
        return false;
    // The flags above are the documented guard; converting back and comparing also catches any
    // mapping they miss on a particular system.
    std::wstring back;
    if (!SkinUI::WideFromCodePage(converted, codePage, back) || back != wide)
        return false;
    out = std::move(converted);
    return true;
}

}  // namespace Quoril
