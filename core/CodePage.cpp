#include "core/CodePage.h"

#include <new>

namespace SkinUI {

bool WideFromCodePage(std::string_view text, UINT codePage, std::wstring& out, DWORD flags)
{
    out.clear();
    if (text.empty())
        return true;
    if (text.size() > kMaxCodePageInput)
        return false;
    const int length = static_cast<int>(text.size());
    const int units = ::MultiByteToWideChar(codePage, flags, text.data(), length, nullptr, 0);
    if (units <= 0)
        return false;
    try {
        out.resize(static_cast<size_t>(units));
    } catch (const std::bad_alloc&) {
        return false;  // a text sized by its source; the caller answers the failure
    }
    if (::MultiByteToWideChar(codePage, flags, text.data(), length, &out[0], units) != units) {
        out.clear();
        return false;
    }
    return true;
}

bool CodePageFromWide(std::wstring_view text, UINT codePage, std::string& out, DWORD flags, BOOL* usedDefault)
{
    out.clear();
    if (usedDefault != nullptr)
        *usedDefault = FALSE;
    if (text.empty())
        return true;
    if (text.size() > kMaxCodePageInput)
        return false;
    const int length = static_cast<int>(text.size());
    const int bytes = ::WideCharToMultiByte(codePage, flags, text.data(), length, nullptr, 0, nullptr, nullptr);
    if (bytes <= 0)
        return false;
    try {
        out.resize(static_cast<size_t>(bytes));
    } catch (const std::bad_alloc&) {
        return false;  // a text sized by its source; the caller answers the failure
    }
    if (::WideCharToMultiByte(codePage, flags, text.data(), length, &out[0], bytes, nullptr, usedDefault) != bytes) {
        out.clear();
        return false;
    }
    return true;
}

}  // namespace SkinUI
