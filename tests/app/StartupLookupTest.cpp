// The look-up started as the program starts gives the window exactly what looking up in the window
// would: the same connection list, the same status text, from the same calls.
#include "app/StartupLookup.h"

#include "FakeServices.h"
#include "app/DnsStatus.h"

#include <gtest/gtest.h>

using apptest::FakeServices;
using Quoril::AdapterList;

namespace {

// Two connections named by the router, one of them on the family profile's servers.
void Populate(FakeServices& fake, bool table, bool dns)
{
    fake.hasTable = table;
    fake.table = {{3, L"\\DEVICE\\TCPIP_{A}"}, {7, L"\\DEVICE\\TCPIP_{B}"}};
    fake.routerNames[L"\\DEVICE\\TCPIP_{A}"] = L"eth0";
    fake.routerNames[L"\\DEVICE\\TCPIP_{B}"] = L"wlan0";
    fake.dnsOk = dns;
    Quoril::TAdapterDns eth0;
    eth0.friendlyName = L"eth0";
    eth0.connected = true;
    Quoril::TAdapterDns wlan0 = eth0;
    wlan0.friendlyName = L"wlan0";
    wlan0.ipv4.dhcp = false;
    wlan0.ipv4.servers = {"9.9.9.9"};
    fake.dnsAdapters = {eth0, wlan0};
}

std::vector<std::wstring> Names(const AdapterList& list)
{
    std::vector<std::wstring> names;
    for (const auto& adapter : list)
        names.push_back(adapter.displayName);
    return names;
}

}  // namespace

TEST(StartupLookup, GivesWhatTheWindowWouldHaveLookedUp)
{
    const struct {
        const char* what;
        bool table;
        bool dns;
        bool english;
    } cases[] = {
        {"both read, English", true, true, true},
        {"both read, Chinese", true, true, false},
        {"no interface table", false, true, true},
        {"DNS settings unreadable", true, false, true},
    };
    for (const auto& c : cases) {
        FakeServices inWindow;
        Populate(inWindow, c.table, c.dns);
        AdapterList expectedList;
        Quoril::DiscoverAdapters(inWindow, expectedList);
        const std::wstring expectedStatus = Quoril::CurrentDnsStatusText(inWindow, expectedList, c.english);

        FakeServices early;
        Populate(early, c.table, c.dns);
        AdapterList list;
        Quoril::CStartupLookup lookup(early, list, c.english);
        EXPECT_EQ(expectedStatus, lookup.Finish()) << c.what;
        EXPECT_EQ(Names(expectedList), Names(list)) << c.what;
        EXPECT_EQ(inWindow.calls, early.calls) << c.what;
        EXPECT_EQ(expectedStatus, lookup.Finish()) << c.what << ": asked again, the same answer";
        EXPECT_EQ(inWindow.calls, early.calls) << c.what << ": and no second look-up";
    }
}

TEST(StartupLookup, LooksUpOnTheWorker)
{
    FakeServices fake;
    Populate(fake, true, true);
    AdapterList list;
    Quoril::CStartupLookup lookup(fake, list, true);
    lookup.Finish();
    EXPECT_NE(0u, fake.tableThread);
    EXPECT_NE(::GetCurrentThreadId(), fake.tableThread) << "the look-up itself runs on the worker";
}

TEST(StartupLookup, EndsItsWorkerWhenNobodyAsked)
{
    FakeServices fake;
    Populate(fake, true, true);
    AdapterList list;
    {
        Quoril::CStartupLookup lookup(fake, list, true);
    }
    // The destructor waited: the look-up is complete, and nothing runs on behind this test's back.
    EXPECT_EQ(3u, list.size()) << "two connections and the dial-up entry";
    EXPECT_FALSE(fake.calls.empty());
    EXPECT_EQ("dns", fake.calls.back());
}
