// The user's own DNS settings, kept from before the first profile change until a restore.
//
// Before a profile first changes a connection, the servers of both address families it uses and
// whether they came from DHCP are written under HKCU\Software\Quoril\SavedDns, one REG_SZ value
// per connection, named by the connection's ANSI name (the one netsh gets). A later profile click
// leaves an existing value alone, so the settings the user had before any profile survive any
// number of clicks. The text is "ipv4=<servers>;ipv6=<servers>", each list "dhcp" or addresses
// separated by commas. The value is outside input when read back: anything malformed counts as
// nothing saved, and every address is checked again by the command builder.
#pragma once

#include "app/SystemServices.h"

#include <string>
#include <vector>

namespace Quoril {

constexpr const char* kSavedDnsKey = "Software\\Quoril\\SavedDns";

// Saved servers per family; more are never written nor read.
constexpr size_t kMaxSavedServers = 16;

struct TSavedDns {
    TFamilyDns ipv4;
    TFamilyDns ipv6;
};

// What is worth keeping of `adapter`'s settings. A family whose servers are exactly one of our
// profiles' was set by this program (by a click whose settings were put back since, or by an
// older version that saved nothing): restoring it must mean DHCP, as it always did.
TSavedDns OwnSettings(const TAdapterDns& adapter);

std::string FormatSavedDns(const TSavedDns& saved);
// False, leaving `saved` as DHCP for both families, when `text` is not what FormatSavedDns writes.
bool ParseSavedDns(const std::string& text, TSavedDns& saved);

// Whether a value is stored for `connection` (well formed or not).
bool HasSavedDns(ISystemServices& services, const std::string& connection);
// The stored settings of `connection`; false when there are none or they are malformed.
bool LoadSavedDns(ISystemServices& services, const std::string& connection, TSavedDns& saved);
// Stores `saved` for `connection`: false when the registry refused it.
bool StoreSavedDns(ISystemServices& services, const std::string& connection, const TSavedDns& saved);
void ForgetSavedDns(ISystemServices& services, const std::string& connection);

// The adapter named `friendlyName`, or null.
const TAdapterDns* FindAdapterDns(const std::vector<TAdapterDns>& adapters, const std::wstring& friendlyName);

}  // namespace Quoril
