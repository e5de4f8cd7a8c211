// Text forms of the DNS server addresses the adapter list reports.
//
// IPv6 addresses are written in the one canonical form (lower-case hex, no leading zeros, the
// longest run of two or more zero groups shortened to "::", the first such run on a tie), so a
// server read back from the system compares equal, as text, to the same server in our profiles.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace Quoril {

// Dotted quad of the four bytes, in network order.
std::string Ipv4Text(const unsigned char (&bytes)[4]);

// Canonical text of the sixteen bytes, in network order; no scope.
std::string Ipv6Text(const unsigned char (&bytes)[16]);

// The servers of an interface's "NameServer" value: addresses separated by any run of spaces and
// commas. False, with `servers` empty, when an entry is not a plain address (CommandLine.h) or
// there are more than `maxServers`; a blank text is an empty list.
bool ParseNameServerList(const std::string& text, size_t maxServers, std::vector<std::string>& servers);

}  // namespace Quoril
