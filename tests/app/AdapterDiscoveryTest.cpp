#include "app/AdapterDiscovery.h"

#include "FakeServices.h"

#include <gtest/gtest.h>

using apptest::FakeServices;
using Quoril::AdapterList;

namespace {

const char kDialUp[] = "\xbf\xed\xb4\xf8\xc1\xac\xbd\xd3";  // 宽带连接 in code page 936

void AddInterface(FakeServices& fake, ULONG index, const std::wstring& device, const wchar_t* routerName) {
    fake.table.push_back({index, device});
    if (routerName)
        fake.routerNames[device] = routerName;
}

std::vector<std::string> Names(const AdapterList& list) {
    std::vector<std::string> names;
    for (const auto& adapter : list)
        names.push_back(adapter.addressable ? adapter.name.GetData() : "<" + apptest::Narrow(adapter.displayName) + ">");
    return names;
}

}  // namespace

TEST(AdapterDiscovery, TableOrderThenTheDialUpEntry) {
    FakeServices fake;
    AddInterface(fake, 7, L"\\DEVICE\\TCPIP_{A}", L"Ethernet");
    AddInterface(fake, 3, L"\\DEVICE\\TCPIP_{B}", L"Wi-Fi");
    AdapterList list;
    Quoril::DiscoverAdapters(fake, list);
    EXPECT_EQ(Names(list), (std::vector<std::string>{"Ethernet", "Wi-Fi", kDialUp}));
    EXPECT_TRUE(list[0].discovered);
    EXPECT_FALSE(list[2].discovered);
    EXPECT_EQ(list[2].displayName, L"\u5bbd\u5e26\u8fde\u63a5");
    EXPECT_EQ(fake.calls, (std::vector<std::string>{"connect", "table", "lookup \\DEVICE\\TCPIP_{A}",
                                                    "lookup \\DEVICE\\TCPIP_{B}", "disconnect"}));
    // Appends; never clears.
    Quoril::DiscoverAdapters(fake, list);
    EXPECT_EQ(list.size(), 6u);
}

TEST(AdapterDiscovery, NoTableLeavesOnlyTheDialUpEntry) {
    FakeServices fake;
    fake.hasTable = false;
    AdapterList list;
    Quoril::DiscoverAdapters(fake, list);
    EXPECT_EQ(Names(list), (std::vector<std::string>{kDialUp}));
}

TEST(AdapterDiscovery, VirtualAdapterFilterIsCaseSensitive) {
    FakeServices fake;
    AddInterface(fake, 1, L"d1", L"VMware Network Adapter VMnet8");
    AddInterface(fake, 2, L"d2", L"vmware network adapter vmnet1");
    AddInterface(fake, 3, L"d3", L"My VMware Network Adapter");
    AddInterface(fake, 4, L"d4", L"VMware Network");
    AdapterList list;
    Quoril::DiscoverAdapters(fake, list);
    EXPECT_EQ(Names(list), (std::vector<std::string>{"vmware network adapter vmnet1", "VMware Network", kDialUp}));
}

TEST(AdapterDiscovery, RouterConfigMissingMeansNoLookupAndAdapterNamesInstead) {
    FakeServices fake;
    fake.connectResult = ERROR_NOT_SUPPORTED;
    AddInterface(fake, 11, L"d1", L"never asked");
    AddInterface(fake, 12, L"d2", nullptr);
    fake.addressNames = {{12, L"Wi-Fi"}, {11, L"Ethernet"}};
    AdapterList list;
    Quoril::DiscoverAdapters(fake, list);
    EXPECT_EQ(Names(list), (std::vector<std::string>{"Ethernet", "Wi-Fi", kDialUp}));
    for (const std::string& call : fake.calls) {
        EXPECT_NE(call.substr(0, 6), "lookup");
        EXPECT_NE(call, "disconnect");
    }

    // Without either source nothing is named, so only the fixed entry remains.
    FakeServices bare;
    bare.connectResult = ERROR_NOT_SUPPORTED;
    AddInterface(bare, 11, L"d1", nullptr);
    bare.addressNamesOk = false;
    AdapterList only;
    Quoril::DiscoverAdapters(bare, only);
    EXPECT_EQ(Names(only), (std::vector<std::string>{kDialUp}));
}

TEST(AdapterDiscovery, FailedLookupNeverRepeatsThePreviousName) {
    FakeServices fake;
    AddInterface(fake, 1, L"d1", L"Ethernet");
    AddInterface(fake, 2, L"d2", nullptr);  // lookup fails, and the adapter list does not know it
    AddInterface(fake, 3, L"d3", L"Wi-Fi");
    fake.addressNames = {{9, L"Other"}};
    AdapterList list;
    Quoril::DiscoverAdapters(fake, list);
    EXPECT_EQ(Names(list), (std::vector<std::string>{"Ethernet", "Wi-Fi", kDialUp}));

    // When the adapter list knows the index, its name is used for that entry only.
    fake.addressNames = {{2, L"Bluetooth"}};
    AdapterList named;
    Quoril::DiscoverAdapters(fake, named);
    EXPECT_EQ(Names(named), (std::vector<std::string>{"Ethernet", "Bluetooth", "Wi-Fi", kDialUp}));
}

TEST(AdapterDiscovery, UnusableNamesAreListedAsUnaddressable) {
    FakeServices fake;
    AddInterface(fake, 1, L"d1", L"Ethernet");
    AddInterface(fake, 2, L"d2", L"Bad\"Name");
    AddInterface(fake, 3, L"d3", L"\u4ee5\u592a\u7f51");  // not in code page 1252
    AddInterface(fake, 4, L"d4", L"Bad\uff02Fit");          // best-fits to a quote
    AddInterface(fake, 5, L"d5", L"Line\nBreak");
    const std::wstring full(255, L'x');  // the buffer's last unit is forced to the terminator
    AddInterface(fake, 6, L"d6", (full + L"yyy").c_str());
    AdapterList list;
    Quoril::DiscoverAdapters(fake, list);
    ASSERT_EQ(list.size(), 7u);
    EXPECT_TRUE(list[0].addressable);
    for (size_t i = 1; i <= 4; ++i) {
        EXPECT_FALSE(list[i].addressable) << i;
        EXPECT_TRUE(list[i].discovered) << i;
        EXPECT_STREQ(list[i].name.GetData(), "") << i;
    }
    EXPECT_EQ(list[2].displayName, L"\u4ee5\u592a\u7f51");
    // Cut at the wide buffer's end: 255 units, which still fit in 255 bytes.
    EXPECT_TRUE(list[5].addressable);
    EXPECT_EQ(std::string(list[5].name.GetData()), std::string(255, 'x'));
}

TEST(AdapterDiscoveryCp936, LongChineseNameIsUnaddressableShortOneExact) {
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
