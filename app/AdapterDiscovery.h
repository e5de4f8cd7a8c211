// The connection list the DNS actions work on, and how it is discovered.
//
// DiscoverAdapters walks the IPv4 interface table in its order and names each interface with the
// router configuration's friendly name, or, when that service is missing or has no whole name for
// it, the friendly name the adapter-address list gives the same interface index. VMware host-only
// adapters ("VMware Network Adapter", case-sensitive) are left out, and the dial-up entry
// "宽带连接" is always appended last, whether or not such a connection exists.
//
// A connection whose name cannot be written on a command line without loss (it holds a quote,
// CR or LF, does not convert to the ANSI code page exactly, needs more than 255 bytes, or is known
// only cut short) is still listed, marked unaddressable: the actions must report it as failed,
// not skip it quietly.
#pragma once

#include "app/SystemServices.h"
#include "core/UIString.h"

#include <string>
#include <vector>

namespace Quoril {

struct TAdapterName {
    SkinUI::CUIString name;  // ANSI text passed to netsh; empty when unaddressable
    std::wstring displayName;  // the name as Windows reports it, for messages
    bool addressable = true;  // a command line may be built for `name`
    bool discovered = true;  // false only for the fixed dial-up entry
};

using AdapterList = std::vector<TAdapterName>;

// The process-wide list the main window fills once and the actions read.
AdapterList& AdapterNameList();

// Appends the discovered connections and the fixed dial-up entry to `list`.
void DiscoverAdapters(ISystemServices& services, AdapterList& list);

// The fixed dial-up entry: its code page 936 bytes (passed to netsh as they are) and its text.
extern const char* const kDialUpEntryName;
std::wstring DialUpEntryDisplayName();

}  // namespace Quoril
