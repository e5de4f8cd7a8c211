// Finding the user's default web browser from the registry.
//
// The web-page buttons start the browser's executable directly with the page as its parameters.
// The executable comes from the shell open command of the user's http choice (or of the "HTTP"
// class when no choice is recorded); the path between the first pair of double quotes is taken,
// and a command without such a pair is used whole. Any registry failure falls back silently to
// the bare "iexplore.exe".
#pragma once

#include "app/SystemServices.h"
#include "core/UIString.h"

namespace Quoril {

constexpr const char* kFallbackBrowser = "iexplore.exe";

// Reads a string value (`valueName` null: the key's default value) into `buffer`, whose size in
// bytes `*size` gives; returns a Win32 error code. With RegGetValueA only REG_SZ is asked for;
// without it the value is read with room for a terminator, terminated at its length, and any
// type other than REG_SZ or REG_EXPAND_SZ is an error.
LONG ReadRegistryString(
    ISystemServices& services, HKEY root, const char* subKey, const char* valueName, char* buffer, DWORD* size);

SkinUI::CUIString FindDefaultBrowser(ISystemServices& services);

}  // namespace Quoril
