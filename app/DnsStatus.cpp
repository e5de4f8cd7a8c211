#include "app/DnsStatus.h"

#include "app/TextConversion.h"

#include <algorithm>

namespace Quoril {

namespace {

struct TStatusTexts {
    const char* chinese;  // code page 936
    const wchar_t* english;
};

const TStatusTexts kProfileStatus[kProfileCount] = {
    // 当前：拦截模式
    {"\xb5\xb1\xc7\xb0\xa3\xba\xc0\xb9\xbd\xd8\xc4\xa3\xca\xbd", L"Current: Intercept Mode"},
    // 当前：纯净模式
    {"\xb5\xb1\xc7\xb0\xa3\xba\xb4\xbf\xbe\xbb\xc4\xa3\xca\xbd", L"Current: Non-Intercept Mode"},
    // 当前：家庭模式
    {"\xb5\xb1\xc7\xb0\xa3\xba\xbc\xd2\xcd\xa5\xc4\xa3\xca\xbd", L"Current: Family Mode"},
};
// 当前：自动获取
const TStatusTexts kAutomaticStatus
    = {"\xb5\xb1\xc7\xb0\xa3\xba\xd7\xd4\xb6\xaf\xbb\xf1\xc8\xa1", L"Current: automatic (DHCP)"};
// 当前：自定义
const TStatusTexts kCustomStatus = {"\xb5\xb1\xc7\xb0\xa3\xba\xd7\xd4\xb6\xa8\xd2\xe5", L"Current: custom"};
// 正在设置…
const TStatusTexts kApplyingStatus = {"\xd5\xfd\xd4\xda\xc9\xe8\xd6\xc3\xa1\xad", L"Applying\u2026"};

std::wstring Text(const TStatusTexts& texts, bool english)
{
    return english ? std::wstring(texts.english) : WideFromCodePage936(texts.chinese);
}

bool UsesProfile(const TAdapterDns& adapter, const TProfileAddresses& profile)
{
    return adapter.ipv4.servers == ProfileServerList(*profile.ipv4)
        && (adapter.ipv6.servers.empty() || adapter.ipv6.servers == ProfileServerList(*profile.ipv6));
}

// The profile every connected adapter uses, or -1.
int ProfileInForce(const std::vector<const TAdapterDns*>& connected)
{
    for (int profile = 0; profile < kProfileCount; ++profile) {
        bool all = true;
        for (const TAdapterDns* adapter : connected)
            all = all && UsesProfile(*adapter, kProfileAddresses[profile]);
        if (all)
            return profile;
    }
    return -1;
}

std::wstring FirstServer(const std::vector<const TAdapterDns*>& connected)
{
    for (const TAdapterDns* adapter : connected) {
        for (const TFamilyDns* family : {&adapter->ipv4, &adapter->ipv6}) {
            if (!family->servers.empty())
                return std::wstring(family->servers.front().begin(), family->servers.front().end());
        }
    }
    return std::wstring();
}

}  // namespace

std::wstring DnsStatusText(const std::vector<TAdapterDns>& adapters, bool english)
{
    std::vector<const TAdapterDns*> connected;
    bool allDhcp = true;
    for (const TAdapterDns& adapter : adapters) {
        if (!adapter.connected)
            continue;
        connected.push_back(&adapter);
        allDhcp = allDhcp && adapter.ipv4.dhcp && adapter.ipv6.dhcp;
    }
    if (connected.empty())
        return Text(kAutomaticStatus, english);
    const int profile = ProfileInForce(connected);
    if (profile >= 0)
        return Text(kProfileStatus[profile], english);
    if (allDhcp)
        return Text(kAutomaticStatus, english);
    const std::wstring server = FirstServer(connected);
    if (server.empty())
        return Text(kCustomStatus, english);
    return Text(kCustomStatus, english) + (english ? L" (" + server + L")" : L"\uff08" + server + L"\uff09");
}

std::wstring CurrentDnsStatusText(ISystemServices& services, const AdapterList& managed, bool english)
{
    std::vector<TAdapterDns> adapters;
    if (!services.AdapterDnsSettings(adapters))
        return std::wstring();
    std::vector<TAdapterDns> kept;
    for (const TAdapterDns& adapter : adapters) {
        const bool isManaged = std::any_of(managed.begin(), managed.end(),
            [&adapter](const TAdapterName& entry) { return entry.displayName == adapter.friendlyName; });
        if (isManaged)
            kept.push_back(adapter);
    }
    return DnsStatusText(kept, english);
}

const char* ConnectionDnsWord(const TAdapterDns& adapter)
{
    const int profile = ProfileInForce({&adapter});
    if (profile >= 0)
        return kProfileWords[profile];
    return adapter.ipv4.dhcp && adapter.ipv6.dhcp ? "automatic" : "custom";
}

std::wstring ApplyingStatusText(bool english) { return Text(kApplyingStatus, english); }

std::vector<std::string> ProfileServerList(const TDnsProfile& profile)
{
    std::vector<std::string> servers;
    for (const char* address : {profile.primary, profile.second, profile.third}) {
        if (address)
            servers.push_back(address);
    }
    return servers;
}

}  // namespace Quoril
