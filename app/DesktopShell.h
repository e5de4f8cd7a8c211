// Starting a program as the desktop's user rather than as this (elevated) process.
//
// The desktop shell runs with the user's own, unelevated token. Asking its desktop window for the
// shell's automation object (IShellWindows -> the desktop view -> IShellDispatch2) and calling
// ShellExecute there makes the shell start the program, so a browser opened from Quoril does not
// inherit administrator rights. Where the shell offers no desktop (no shell running, another
// shell, Wine) nothing is started and the caller decides what to do instead.
//
// COM is initialised on the calling thread (the UI thread) on first use rather than at start-up:
// ole32 and its apartment cost a start a good part of its memory, and most runs never open a page.
// ole32, oleaut32 are loaded from the system folder at run time.
#pragma once

#include <string>

namespace Quoril {

// True when the desktop shell accepted the request to open `file` with `parameters` (ANSI code
// page texts); false, with nothing started, when there is no desktop shell to ask.
bool ShellExecuteAsDesktopUser(const std::string& file, const std::string& parameters);

}  // namespace Quoril
