#include "app/AdapterDiscovery.h"

#include "app/CommandLine.h"
#include "app/TextConversion.h"

namespace Quoril {

// "宽带连接" in code page 936.
const char* const kDialUpEntryName = "\xbf\xed\xb4\xf8\xc1\xac\xbd\xd3";

namespace {

// Host-only adapters of a virtual-machine product; DNS on them is none of our business.
const wchar_t kVirtualAdapterMarker[] = L"VMware Network Adapter";

// A connection name must fit the 255 bytes the list has always allowed; longer names are refused.
const size_t kMaxNameBytes = 255;

// The router configuration's name buffer: 512 bytes.
const size_t kRouterNameUnits = 256;

const TAdapterAddressName* FindByIndex(const std::vector<TAdapterAddressName>& names, ULONG index)
{
    for (const TAdapterAddressName& entry : names) {
        if (entry.index == index)
            return &entry;
    }
    return nullptr;
}

// The router configuration's friendly name for `device`; empty when it has none. `cut` is set when
// the name filled the whole buffer without a terminator: its end is unknown, so it is only a prefix
// of the real name and would address another connection.
std::wstring RouterName(ISystemServices& services, HANDLE config, const std::wstring& device, bool& cut)
{
    // A fresh buffer for every look-up, so an interface without a name can never inherit the
    // previous interface's name (and be configured twice), nor keep part of it.
    wchar_t wide[kRouterNameUnits] = {};
    cut = false;
    if (services.RouterFriendlyName(config, device.c_str(), wide, static_cast<DWORD>(sizeof(wide))) != NO_ERROR)
        return std::wstring();
    size_t length = 0;
    while (length < kRouterNameUnits && wide[length] != L'\0')
        ++length;
    cut = length == kRouterNameUnits;
    return std::wstring(wide, length);
}

}  // namespace

AdapterList& AdapterNameList()
{
    static AdapterList list;
    return list;
}

std::wstring DialUpEntryDisplayName() { return WideFromCodePage936(kDialUpEntryName); }

void DiscoverAdapters(ISystemServices& services, AdapterList& list)
{
    HANDLE config = nullptr;
    const bool connected = services.RouterConfigConnect(&config) == NO_ERROR;

    std::vector<TInterfaceEntry> table;
    if (services.InterfaceTable(table)) {
        std::vector<TAdapterAddressName> addressNames;
        bool addressNamesRead = false;
        for (const TInterfaceEntry& entry : table) {
            bool cut = false;
            std::wstring name;
            if (connected)
                name = RouterName(services, config, entry.deviceName, cut);
            if (name.empty() || cut) {
                // Without the router configuration (it is missing on some systems), or without a
                // whole name from it, the adapter list names the same interface index with the
                // same friendly name, in full.
                if (!addressNamesRead) {
                    addressNamesRead = true;
                    if (!services.AdapterAddressNames(addressNames))
                        addressNames.clear();
                }
                const TAdapterAddressName* found = FindByIndex(addressNames, entry.index);
                if (found && !found->friendlyName.empty()) {
                    name = found->friendlyName;
                    cut = false;
                }
            }
            if (name.empty())
                continue;
            if (name.find(kVirtualAdapterMarker) != std::wstring::npos)
                continue;

            TAdapterName adapter;
            adapter.displayName = name;
            adapter.discovered = true;
            std::string ansi;
            adapter.addressable = !cut && AnsiFromWideExactly(adapter.displayName, kMaxNameBytes, ansi)
                && IsQuotableConnectionName(ansi);
            if (adapter.addressable)
                adapter.name = ansi.c_str();
            list.push_back(adapter);
        }
    }
    if (connected)
        services.RouterConfigDisconnect(config);

    TAdapterName dialUp;
    dialUp.name = kDialUpEntryName;
    dialUp.displayName = DialUpEntryDisplayName();
    dialUp.addressable = true;
    dialUp.discovered = false;
    list.push_back(dialUp);
}

}  // namespace Quoril
