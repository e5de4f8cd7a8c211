// Command lines for the system's netsh and ipconfig.
//
// The program runs elevated and starts these tools without a shell, so the command line is parsed
// only by the tool's own start-up code. A connection name goes between double quotes unchanged;
// a name that could close those quotes (a quote, a trailing backslash that would escape the
// closing quote), break the line (CR, LF, NUL) or make the line too long is refused rather than
// altered, because any change would address a different connection. Both address families use the
// same command forms, on the "ip" or the "ipv6" context; all netsh lines are composed in one place
// (CommandLine.cpp), and no other code concatenates a name into a command.
#pragma once

#include <string>

namespace Quoril {

// Program files, started from the system folder by full path.
constexpr const char* kNetshProgram = "netsh.exe";
constexpr const char* kIpconfigProgram = "ipconfig.exe";

// The resolver-cache flush. The blank matters: process creation takes the first blank-delimited
// token as the program, and "ipconfig/flushdns" would run ipconfig without its switch.
constexpr const char* kFlushCommandLine = "ipconfig /flushdns";

enum class IpFamily { Ipv4, Ipv6 };

// The netsh line that puts `address` at `position` of the connection's DNS server list of
// `family`: position 1 replaces the list ("set dns ... source=static addr=... register=primary
// validate=no"), 2 and up add to it ("add dns ... addr=... index=<position> validate=no"): the
// server is written without netsh trying to reach it first. Returns false and leaves `out`
// empty when the name cannot be quoted safely (see above), when `address` is not a plain address
// (only hex digits, '.' and ':', at most 45 characters: it may come from the registry) or when
// `position` is below 1.
bool BuildDnsServerCommandLine(
    IpFamily family, const std::string& connection, const char* address, int position, std::string& out);

// The netsh line that makes the connection take its DNS servers of `family` from DHCP again.
bool BuildDnsDhcpCommandLine(IpFamily family, const std::string& connection, std::string& out);

// Whether `address` may stand on a command line as a server address (see above).
bool IsPlainAddress(const char* address);

// Whether `connection` can stand between double quotes on a command line unchanged.
bool IsQuotableConnectionName(const std::string& connection);

}  // namespace Quoril
