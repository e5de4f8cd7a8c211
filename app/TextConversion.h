// Conversions between the program's 8-bit texts and UTF-16.
//
// The program's own Chinese texts are kept as code page 936 bytes and converted from that code
// page explicitly, so they read the same whatever the system's ANSI code page; they are shown
// through the wide API. Connection names travel the other way: a name is only usable on a netsh
// command line if it converts to the ANSI code page exactly, since a best-fit or default
// character would address another connection (or smuggle in a quote).
#pragma once

#include <string>

namespace Quoril {

// Code page 936 bytes to UTF-16; empty when the text is not valid in that code page.
std::wstring WideFromCodePage936(const char* text);

// Converts `wide` to the ANSI code page into at most `maxBytes` bytes (terminator excluded).
// Returns false, leaving `out` empty, when a character has no exact form in the code page or the
// result would not fit.
bool AnsiFromWideExactly(const std::wstring& wide, size_t maxBytes, std::string& out);

}  // namespace Quoril
