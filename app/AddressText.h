// Text forms of the DNS server addresses the adapter list reports.
//
// IPv6 addresses are written in the one canonical form (lower-case hex, no leading zeros, the
// longest run of two or more zero groups shortened to "::", the first such run on a tie), so a
// server read back from the system compares equal, as text, to the same server in our profiles.
#pragma once

#include <string>

namespace Quoril {

// Dotted quad of the four bytes, in network order.
std::string Ipv4Text(const unsigned char (&bytes)[4]);

// Canonical text of the sixteen bytes, in network order; no scope.
std::string Ipv6Text(const unsigned char (&bytes)[16]);

}  // namespace Quoril
