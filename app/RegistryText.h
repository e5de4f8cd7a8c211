// Reading a string value from the registry, bounded and always terminated.
#pragma once

#include "app/SystemServices.h"

namespace Quoril {

// Reads a string value (`valueName` null: the key's default value) into `buffer`, whose size in
// bytes `*size` gives; returns a Win32 error code. With RegGetValueA only REG_SZ is asked for;
// without it the value is read with room for a terminator, terminated at its length, and any
// type other than REG_SZ or REG_EXPAND_SZ is an error.
LONG ReadRegistryString(
    ISystemServices& services, HKEY root, const char* subKey, const char* valueName, char* buffer, DWORD* size);

}  // namespace Quoril
