// Conversions between 8-bit text in a code page and UTF-16, through the system's converter; the
// one place the framework and the program call it.
//
// The caller names the code page: CP_ACP for the controls' ANSI texts, 936 for the program's own
// Chinese texts whatever the system's code page, CP_UTF8 for skin files. Flags go to the system
// unchanged (MB_ERR_INVALID_CHARS makes invalid bytes a failure; without it they become U+FFFD or
// the code page's default). Each answers false, with `out` empty, when the system refuses the text,
// when the input is longer than kMaxCodePageInput units (the converter counts in int) or when
// memory runs out; an empty input is an empty result. No terminator is read or written: the
// length is the view's, so a NUL inside the text is converted like any other character.
#pragma once

#include <windows.h>

#include <climits>
#include <string>
#include <string_view>

namespace SkinUI {

constexpr size_t kMaxCodePageInput = INT_MAX / 4;

bool WideFromCodePage(std::string_view text, UINT codePage, std::wstring& out, DWORD flags = 0);
// `usedDefault`, when given, is set when a character had no form in the code page (the system
// refuses it for CP_UTF8 and CP_UTF7, so pass null there).
bool CodePageFromWide(
    std::wstring_view text, UINT codePage, std::string& out, DWORD flags = 0, BOOL* usedDefault = nullptr);

}  // namespace SkinUI
