// The command line for administrators: the same DNS actions as the buttons, without a window.
//
//   Quoril.exe /profile blocking|pure|family [/quiet]
//   Quoril.exe /restore [/quiet]
//   Quoril.exe /status [/quiet]
//
// Switches and profile words are matched without regard to case; anything else is refused with the
// usage text. A change runs exactly as its button does (same saved settings, same outcome rules), in
// English, and its message goes to the output; without /quiet the message box shows too. /status
// prints one line per managed connection: "<name>: IPv4 <servers>; IPv6 <servers>; <state>", the
// servers "automatic" when they come from DHCP, the state a profile's word, "automatic" or
// "custom". Exit codes are in AdminExit.
#pragma once

#include "app/AdapterDiscovery.h"
#include "app/SystemServices.h"

#include <functional>
#include <string>

namespace Quoril {

enum AdminExit {
    kAdminDone = 0,  // every connection done
    kAdminFailed = 1,  // some connection failed (named on the output), or nothing could be read
    kAdminNotElevated = 2,
    kAdminBadArguments = 3,
    kAdminOtherCopy = 4  // another copy runs: nothing was changed
};

struct TAdminRequest {
    enum Verb { Window, Profile, Restore, Status, Invalid };
    Verb verb = Window;  // no arguments at all: the window
    int profile = -1;  // with Profile: the index into kProfileWords
    bool quiet = false;
};

// `arguments` is the command line after the program's name.
TAdminRequest ParseAdminArguments(const std::string& arguments);

// The text printed with exit code 3.
extern const char* const kAdminUsage;

// Runs `request` (not Window) and returns its exit code; every line of output goes to `out`.
// `otherCopyRuns`: another copy holds the single-instance lock, so nothing may change.
int RunAdminRequest(const TAdminRequest& request, ISystemServices& services, AdapterList& adapters, bool otherCopyRuns,
    const std::function<void(const std::wstring&)>& out);

}  // namespace Quoril
