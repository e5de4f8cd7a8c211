// The user's own DNS settings, kept from before the first profile change until a restore.
//
// Before a profile changes a connection, the servers of both address families it uses and whether
// they came from DHCP are written under HKLM\Software\Quoril\SavedDns\<SID of the desktop's
// user>, one REG_SZ value per connection, named by the connection's ANSI name (the one netsh gets).
// Only administrators can write there: anything under the user's own hive can be written by every
// program the user runs, and this program would then put a stranger's servers in place. A family
// that holds one of our profiles keeps what was saved for it before, so the settings the user had
// before any profile survive any number of clicks, while settings the user changed by hand in
// between replace the older ones. The text is "ipv4=<servers>;ipv6=<servers>", each list "dhcp"
// or addresses separated by commas. The value is still checked when read back: anything malformed
// counts as nothing saved, and every address is checked again by the command builder.
#pragma once

#include "app/SystemServices.h"

#include <string>
#include <vector>

namespace Quoril {

constexpr const char* kSavedDnsKey = "Software\\Quoril\\SavedDns";

// The key under HKEY_LOCAL_MACHINE that holds the desktop user's saved settings; empty when that
// user's SID cannot be told, or is not the plain "S-1-..." form that can name a key.
std::string SavedDnsKey(ISystemServices& services);

// Saved servers per family; more are never written nor read.
constexpr size_t kMaxSavedServers = 16;

struct TSavedDns {
    TFamilyDns ipv4;
    TFamilyDns ipv6;
};

// What is worth keeping of `adapter`'s settings, given what was saved for it before (null: nothing).
// A family whose servers are exactly one of our profiles' was set by this program: it keeps the
// earlier saved family, or, with none (an older version saved nothing), DHCP, as restore always
// meant. Any other family is the user's own, and replaces what was saved.
TSavedDns OwnSettings(const TAdapterDns& adapter, const TSavedDns* previous);

std::string FormatSavedDns(const TSavedDns& saved);
// False, leaving `saved` as DHCP for both families, when `text` is not what FormatSavedDns writes.
bool ParseSavedDns(const std::string& text, TSavedDns& saved);

// The stored settings of `connection` under `key` (SavedDnsKey); false when there are none or they
// are malformed.
bool LoadSavedDns(ISystemServices& services, const std::string& key, const std::string& connection, TSavedDns& saved);
// Stores `saved` for `connection` under `key`: false when there is no key or the registry refused.
bool StoreSavedDns(
    ISystemServices& services, const std::string& key, const std::string& connection, const TSavedDns& saved);
void ForgetSavedDns(ISystemServices& services, const std::string& key, const std::string& connection);

// The adapter named `friendlyName`, or null.
const TAdapterDns* FindAdapterDns(const std::vector<TAdapterDns>& adapters, const std::wstring& friendlyName);

}  // namespace Quoril
