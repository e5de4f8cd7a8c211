// Checks on path names that come from outside (a skin's picture names, a skin's module name).
#pragma once

namespace SkinUI {

// True when some component of `path` (split at '\' and '/', walked by whole characters of the ANSI
// code page, so a double-byte trail byte is no separator) is made of dots and spaces only: ".",
// "..", "...", ". .". The system trims trailing dots and spaces from a component, so every one of
// them means "here" or "one up"; refusing them all keeps a name from stepping out of its folder.
// Empty components ("a//b") are not dot components.
bool HasDotComponent(const char* path);

}  // namespace SkinUI
