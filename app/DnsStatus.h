// The status line: which DNS servers the computer uses now, in words.
//
// Only the connections the actions manage count (an adapter they deliberately leave out, such as a
// virtual machine's host-only one, says nothing about what they did). It names a profile when every
// connected adapter asks exactly that profile's IPv4 servers, in
// order, and either no IPv6 servers or exactly the profile's IPv6 ones (an adapter without IPv6
// has none); it says "automatic" when every connected adapter takes both families from DHCP;
// otherwise "custom" with the first server in use. With no connected adapter nothing is set by
// hand anywhere, which is automatic too. Texts follow the window's layout language; the Chinese
// ones are kept as code page 936 bytes, like the messages.
#pragma once

#include "app/AdapterDiscovery.h"
#include "app/DnsProfiles.h"
#include "app/SystemServices.h"

#include <string>
#include <vector>

namespace Quoril {

// The words for what `adapters` use.
std::wstring DnsStatusText(const std::vector<TAdapterDns>& adapters, bool english);

// Reads the adapters back through `services` and words what the connections of `managed` use:
// empty when they cannot be read.
std::wstring CurrentDnsStatusText(ISystemServices& services, const AdapterList& managed, bool english);

// One connection's state in the command line's words: the profile's word (kProfileWords) when it
// uses that profile as the status line judges it, "automatic" when both families come from DHCP,
// otherwise "custom".
const char* ConnectionDnsWord(const TAdapterDns& adapter);

// Shown while an action runs.
std::wstring ApplyingStatusText(bool english);

// The servers of `profile` in order (two or three).
std::vector<std::string> ProfileServerList(const TDnsProfile& profile);

}  // namespace Quoril
