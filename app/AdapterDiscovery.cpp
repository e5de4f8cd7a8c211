#include "app/AdapterDiscovery.h"

#include "app/CommandLine.h"
#include "app/TextConversion.h"

#include <cwchar>

namespace Quoril {

// "宽带连接" in code page 936.
const char* const kDialUpEntryName = "\xbf\xed\xb4\xf8\xc1\xac\xbd\xd3";

namespace {

// Host-only adapters of a virtual-machine product; DNS on them is none of our business.
const wchar_t kVirtualAdapterMarker[] = L"VMware Network Adapter";

// A connection name must fit the 255 bytes the list has always allowed; longer names are refused.
const size_t kMaxNameBytes = 255;

const TAdapterAddressName* FindByIndex(const std::vector<TAdapterAddressName>& names, ULONG index) {
    for (const TAdapterAddressName& entry : names) {
        if (entry.index == index)
            return &entry;
    }
    return nullptr;
}

}  // namespace

AdapterList& AdapterNameList() {
    static AdapterList list;
    return list;
}

std::wstring DialUpEntryDisplayName() {
    return WideFromCodePage936(kDialUpEntryName);
}

void DiscoverAdapters(ISystemServices& services, AdapterList& list) {
    HANDLE config = nullptr;
    const bool connected = services.RouterConfigConnect(&config) == NO_ERROR;

    std::vector<TInterfaceEntry> table;
    if (services.InterfaceTable(table)) {
        std::vector<TAdapterAddressName> addressNames;
        bool addressNamesRead = false;
        for (const TInterfaceEntry& entry : table) {
            // Cleared before every look-up, so an interface without a name can never inherit the
            // previous interface's name (and be configured twice).
            wchar_t wide[256] = {};
            bool named = false;
            if (connected) {
                named = services.RouterFriendlyName(config, entry.deviceName.c_str(), wide,
                                                    static_cast<DWORD>(sizeof(wide))) == NO_ERROR;
                wide[255] = L'\0';
            }
            if (!named || wide[0] == L'\0') {
                // Without the router configuration (it is missing on some systems) the adapter
                // list names the same interface index with the same friendly name.
                if (!addressNamesRead) {
                    addressNamesRead = true;
                    if (!services.AdapterAddressNames(addressNames))
                        addressNames.clear();
                }
                const TAdapterAddressName* found = FindByIndex(addressNames, entry.index);
                wide[0] = L'\0';
                if (found)
                    found->friendlyName.copy(wide, 255);
                wide[255] = L'\0';
            }
            if (wide[0] == L'\0')
                continue;
            if (wcsstr(wide, kVirtualAdapterMarker))
                continue;

            TAdapterName adapter;
            adapter.displayName = wide;
            adapter.discovered = true;
            std::string ansi;
            adapter.addressable = AnsiFromWideExactly(adapter.displayName, kMaxNameBytes, ansi) &&
                                  IsQuotableConnectionName(ansi);
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
