// Text handed to assistive technology: the framework's ANSI text (the system code page, 936 in
// the Chinese build) as a UTF-16 BSTR the client frees.
#pragma once

#include <windows.h>
#include <oleauto.h>

namespace SkinUI {

// Every byte sequence converted by the code page's own table, double-byte characters included;
// a byte the code page cannot map becomes U+FFFD rather than ending the text. Null only when
// memory runs out.
BSTR AnsiToBstr(const char* text);

}  // namespace SkinUI
