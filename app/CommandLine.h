// Command lines for the system's netsh and ipconfig.
//
// The program runs elevated and starts these tools without a shell, so the command line is parsed
// only by the tool's own start-up code. A connection name goes between double quotes unchanged;
// a name that could close those quotes (a quote, a trailing backslash that would escape the
// closing quote), break the line (CR, LF, NUL) or make the line too long is refused rather than
// altered, because any change would address a different connection. All netsh lines are built by
// BuildNetshCommandLine; no other code concatenates a name into a command.
#pragma once

#include <string>

namespace Quoril {

// Program files, started from the system folder by full path.
constexpr const char* kNetshProgram = "netsh.exe";
constexpr const char* kIpconfigProgram = "ipconfig.exe";

// The resolver-cache flush. The blank matters: process creation takes the first blank-delimited
// token as the program, and "ipconfig/flushdns" would run ipconfig without its switch.
constexpr const char* kFlushCommandLine = "ipconfig /flushdns";

enum class NetshCommand {
    SetPrimary,   // source=static addr=<address> register=primary
    AddSecond,    // add dns ... addr=<address> index=2
    AddThird,     // add dns ... addr=<address> index=3
    RestoreDhcp   // source=dhcp; the address is not used
};

// Builds the netsh command line for `connection` (8-bit text in the ANSI code page). Returns
// false and leaves `out` empty when the name cannot be quoted safely (see above) or, for the
// first three kinds, when `address` is null.
bool BuildNetshCommandLine(NetshCommand kind, const std::string& connection, const char* address,
                           std::string& out);

// Whether `connection` can stand between double quotes on a command line unchanged.
bool IsQuotableConnectionName(const std::string& connection);

}  // namespace Quoril
