#include "app/AdapterDiscovery.h"

#include "FakeServices.h"

#include <gtest/gtest.h>

using apptest::FakeServices;
using Quoril::AdapterList;

namespace {

const char kDialUp[] = "\xbf\xed\xb4\xf8\xc1\xac\xbd\xd3";  // 宽带连接 in code page 936

void AddInterface(FakeServices& fake, ULONG index, const std::wstring& device, const wchar_t* routerName)
{
    fake.table.push_back({index, device});
    if (routerName)
        fake.routerNames[device] = routerName;
}

std::vector<std::string> Names(const AdapterList& list)
{
    std::vector<std::string> names;
    for (const auto& adapter : list)
        names.push_back(
            adapter.addressable ? adapter.name.GetData() : "<" + apptest::Narrow(adapter.displayName) + ">");
    return names;
}

// Discovery into a fresh list; unaddressable entries appear as "<display name>".
std::vector<std::string> DiscoveredNames(FakeServices& fake)
{
    AdapterList list;
    Quoril::DiscoverAdapters(fake, list);
    return Names(list);
}

}  // namespace

TEST(AdapterDiscovery, TableOrderThenTheDialUpEntry)
{
    FakeServices fake;
    AddInterface(fake, 7, L"\\DEVICE\\TCPIP_{A}", L"Ethernet");
    AddInterface(fake, 3, L"\\DEVICE\\TCPIP_{B}", L"Wi-Fi");
    AdapterList list;
    Quoril::DiscoverAdapters(fake, list);
    EXPECT_EQ(Names(list), (std::vector<std::string>{"Ethernet", "Wi-Fi", kDialUp}));
    EXPECT_TRUE(list[0].discovered);
    EXPECT_FALSE(list[2].discovered);
    EXPECT_EQ(list[2].displayName, L"\u5bbd\u5e26\u8fde\u63a5");
    EXPECT_EQ(fake.calls,
        (std::vector<std::string>{
            "connect", "table", "lookup \\DEVICE\\TCPIP_{A}", "lookup \\DEVICE\\TCPIP_{B}", "disconnect"}));
    // Appends; never clears.
    Quoril::DiscoverAdapters(fake, list);
    EXPECT_EQ(list.size(), 6u);
}

TEST(AdapterDiscovery, NoTableLeavesOnlyTheDialUpEntry)
{
    FakeServices fake;
    fake.hasTable = false;
    EXPECT_EQ(DiscoveredNames(fake), (std::vector<std::string>{kDialUp}));
}

TEST(AdapterDiscovery, VirtualAdapterFilterIsCaseSensitive)
{
    FakeServices fake;
    AddInterface(fake, 1, L"d1", L"VMware Network Adapter VMnet8");
    AddInterface(fake, 2, L"d2", L"vmware network adapter vmnet1");
    AddInterface(fake, 3, L"d3", L"My VMware Network Adapter");
    AddInterface(fake, 4, L"d4", L"VMware Network");
    EXPECT_EQ(
        DiscoveredNames(fake), (std::vector<std::string>{"vmware network adapter vmnet1", "VMware Network", kDialUp}));
}

TEST(AdapterDiscovery, RouterConfigMissingMeansNoLookupAndAdapterNamesInstead)
{
    FakeServices fake;
    fake.connectResult = ERROR_NOT_SUPPORTED;
    AddInterface(fake, 11, L"d1", L"never asked");
    AddInterface(fake, 12, L"d2", nullptr);
    fake.addressNames = {{12, L"Wi-Fi"}, {11, L"Ethernet"}};
    EXPECT_EQ(DiscoveredNames(fake), (std::vector<std::string>{"Ethernet", "Wi-Fi", kDialUp}));
    for (const std::string& call : fake.calls) {
        EXPECT_NE(call.substr(0, 6), "lookup");
        EXPECT_NE(call, "disconnect");
    }

    // Without either source nothing is named, so only the fixed entry remains.
    FakeServices bare;
    bare.connectResult = ERROR_NOT_SUPPORTED;
    AddInterface(bare, 11, L"d1", nullptr);
    bare.addressNamesOk = false;
    EXPECT_EQ(DiscoveredNames(bare), (std::vector<std::string>{kDialUp}));
}

TEST(AdapterDiscovery, FailedLookupNeverRepeatsThePreviousName)
{
    FakeServices fake;
    AddInterface(fake, 1, L"d1", L"Ethernet");
    AddInterface(fake, 2, L"d2", nullptr);  // lookup fails, and the adapter list does not know it
    AddInterface(fake, 3, L"d3", L"Wi-Fi");
    fake.addressNames = {{9, L"Other"}};
    EXPECT_EQ(DiscoveredNames(fake), (std::vector<std::string>{"Ethernet", "Wi-Fi", kDialUp}));

    // When the adapter list knows the index, its name is used for that entry only.
    fake.addressNames = {{2, L"Bluetooth"}};
    EXPECT_EQ(DiscoveredNames(fake), (std::vector<std::string>{"Ethernet", "Bluetooth", "Wi-Fi", kDialUp}));

    // A look-up that fails after writing part of a longer name leaves none of it behind: the
    // adapter list's shorter name is taken exactly.
    fake.routerPartialNames[L"d2"] = L"Bluetooth Network Connection";
    fake.addressNames = {{2, L"BT"}};
    EXPECT_EQ(DiscoveredNames(fake), (std::vector<std::string>{"Ethernet", "BT", "Wi-Fi", kDialUp}));
}

TEST(AdapterDiscovery, NameThatFillsTheLookUpBufferIsNeverUsedCut)
{
    // The look-up buffer holds 256 units; a name that fills it has lost its end.
    const std::wstring longName = std::wstring(255, L'x') + L"yyy";
    const std::wstring exact(255, L'x');  // 255 units and a terminator: whole
    FakeServices fake;
    AddInterface(fake, 1, L"d1", longName.c_str());
    AddInterface(fake, 2, L"d2", exact.c_str());
    AdapterList list;
    Quoril::DiscoverAdapters(fake, list);
    ASSERT_EQ(list.size(), 3u);
    EXPECT_FALSE(list[0].addressable);
    EXPECT_STREQ(list[0].name.GetData(), "");
    EXPECT_EQ(list[0].displayName, longName.substr(0, 256));
    ASSERT_TRUE(list[1].addressable);
    EXPECT_EQ(std::string(list[1].name.GetData()), std::string(255, 'x'));

    // The adapter list, asked for the cut entry only, gives the whole name for the message; it is
    // still too long for a command line.
    fake.addressNames = {{1, longName}, {2, L"not asked"}};
    AdapterList named;
    Quoril::DiscoverAdapters(fake, named);
    ASSERT_EQ(named.size(), 3u);
    EXPECT_FALSE(named[0].addressable);
    EXPECT_EQ(named[0].displayName, longName);
    EXPECT_EQ(named[1].displayName, exact);
}

TEST(AdapterDiscovery, UnusableNamesAreListedAsUnaddressable)
{
    FakeServices fake;
    AddInterface(fake, 1, L"d1", L"Ethernet");
    AddInterface(fake, 2, L"d2", L"Bad\"Name");
    AddInterface(fake, 3, L"d3", L"\u4ee5\u592a\u7f51");  // not in code page 1252
    AddInterface(fake, 4, L"d4", L"Bad\uff02Fit");  // best-fits to a quote
    AddInterface(fake, 5, L"d5", L"Line\nBreak");
    AdapterList list;
    Quoril::DiscoverAdapters(fake, list);
    ASSERT_EQ(list.size(), 6u);
    EXPECT_TRUE(list[0].addressable);
    for (size_t i = 1; i <= 4; ++i) {
        EXPECT_FALSE(list[i].addressable) << i;
        EXPECT_TRUE(list[i].discovered) << i;
        EXPECT_STREQ(list[i].name.GetData(), "") << i;
    }
    EXPECT_EQ(list[2].displayName, L"\u4ee5\u592a\u7f51");
}

TEST(AdapterDiscoveryCp936, LongChineseNameIsUnaddressableShortOneExact)
{
    ASSERT_EQ(GetACP(), 936u);
    FakeServices fake;
    AddInterface(fake, 1, L"d1", std::wstring(200, L'\u8fde').c_str());
    AddInterface(fake, 2, L"d2", std::wstring(120, L'\u8fde').c_str());
    AdapterList list;
    Quoril::DiscoverAdapters(fake, list);
    ASSERT_EQ(list.size(), 3u);
    EXPECT_FALSE(list[0].addressable);
    EXPECT_EQ(list[0].displayName, std::wstring(200, L'\u8fde'));
    ASSERT_TRUE(list[1].addressable);
    std::string expected;
    for (int i = 0; i < 120; ++i)
        expected += "\xc1\xac";
    EXPECT_EQ(std::string(list[1].name.GetData()), expected);
    EXPECT_STREQ(list[2].name.GetData(), kDialUp);
}
