#include "app/SavedDns.h"

#include "app/CommandLine.h"
#include "app/DnsStatus.h"
#include "app/RegistryText.h"

namespace Quoril {

namespace {

// Room for two families of kMaxSavedServers addresses of at most 45 characters, with separators.
const DWORD kMaxValueBytes = 2 * kMaxSavedServers * 46 + 32;

std::string FormatFamily(const TFamilyDns& family)
{
    if (family.dhcp || family.servers.empty())
        return "dhcp";
    std::string text;
    for (size_t i = 0; i < family.servers.size() && i < kMaxSavedServers; ++i)
        text += (i ? "," : "") + family.servers[i];
    return text;
}

// `text` is "<label>=<list>"; the list is "dhcp" or plain addresses separated by single commas.
bool ParseFamily(const std::string& text, const char* label, TFamilyDns& family)
{
    const std::string prefix = std::string(label) + "=";
    if (text.compare(0, prefix.size(), prefix) != 0)
        return false;
    const std::string list = text.substr(prefix.size());
    family = TFamilyDns();
    if (list == "dhcp")
        return true;
    family.dhcp = false;
    size_t start = 0;
    for (;;) {
        const size_t comma = list.find(',', start);
        const std::string address = list.substr(start, comma == std::string::npos ? std::string::npos : comma - start);
        if (!IsPlainAddress(address.c_str()) || family.servers.size() == kMaxSavedServers)
            return false;
        family.servers.push_back(address);
        if (comma == std::string::npos)
            return true;
        start = comma + 1;
    }
}

// The longest string SID: "S-1-" and up to fifteen sub-authorities of ten digits, with dashes.
const size_t kMaxSidLength = 4 + 15 + 15 * 11;

bool IsSidText(const std::string& sid)
{
    if (sid.size() <= 4 || sid.size() > kMaxSidLength || sid.compare(0, 4, "S-1-") != 0)
        return false;
    return sid.find_first_not_of("0123456789-", 4) == std::string::npos && sid.back() != '-'
        && sid.find("--") == std::string::npos;
}

bool IsProfileList(const std::vector<std::string>& servers, bool ipv6)
{
    for (const TProfileAddresses& profile : kProfileAddresses) {
        if (servers == ProfileServerList(ipv6 ? *profile.ipv6 : *profile.ipv4))
            return true;
    }
    return false;
}

TFamilyDns OwnFamily(const TFamilyDns& family, const TFamilyDns* previous, bool ipv6)
{
    if (family.dhcp || !IsProfileList(family.servers, ipv6))
        return family;
    return previous ? *previous : TFamilyDns();
}

}  // namespace

std::string SavedDnsKey(ISystemServices& services)
{
    const std::string sid = services.DesktopUserSid();
    return IsSidText(sid) ? std::string(kSavedDnsKey) + "\\" + sid : std::string();
}

TSavedDns OwnSettings(const TAdapterDns& adapter, const TSavedDns* previous)
{
    TSavedDns saved;
    saved.ipv4 = OwnFamily(adapter.ipv4, previous ? &previous->ipv4 : nullptr, false);
    saved.ipv6 = OwnFamily(adapter.ipv6, previous ? &previous->ipv6 : nullptr, true);
    return saved;
}

std::string FormatSavedDns(const TSavedDns& saved)
{
    return "ipv4=" + FormatFamily(saved.ipv4) + ";ipv6=" + FormatFamily(saved.ipv6);
}

bool ParseSavedDns(const std::string& text, TSavedDns& saved)
{
    saved = TSavedDns();
    const size_t separator = text.find(';');
    TSavedDns parsed;
    if (separator == std::string::npos || !ParseFamily(text.substr(0, separator), "ipv4", parsed.ipv4)
        || !ParseFamily(text.substr(separator + 1), "ipv6", parsed.ipv6)) {
        return false;
    }
    saved = parsed;
    return true;
}

bool LoadSavedDns(ISystemServices& services, const std::string& key, const std::string& connection, TSavedDns& saved)
{
    saved = TSavedDns();
    if (key.empty())
        return false;
    std::vector<char> buffer(kMaxValueBytes + 1, '\0');
    DWORD size = kMaxValueBytes;
    return ReadRegistryString(services, HKEY_LOCAL_MACHINE, key.c_str(), connection.c_str(), buffer.data(), &size)
        == ERROR_SUCCESS
        && ParseSavedDns(buffer.data(), saved);
}

bool StoreSavedDns(
    ISystemServices& services, const std::string& key, const std::string& connection, const TSavedDns& saved)
{
    return !key.empty()
        && services.RegistrySetString(HKEY_LOCAL_MACHINE, key.c_str(), connection.c_str(), FormatSavedDns(saved))
        == ERROR_SUCCESS;
}

void ForgetSavedDns(ISystemServices& services, const std::string& key, const std::string& connection)
{
    if (!key.empty())
        services.RegistryDeleteValue(HKEY_LOCAL_MACHINE, key.c_str(), connection.c_str());
}

const TAdapterDns* FindAdapterDns(const std::vector<TAdapterDns>& adapters, const std::wstring& friendlyName)
{
    for (const TAdapterDns& adapter : adapters) {
        if (adapter.friendlyName == friendlyName)
            return &adapter;
    }
    return nullptr;
}

}  // namespace Quoril
