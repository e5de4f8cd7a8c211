#include "app/CommandLine.h"
#include "app/AddressText.h"
#include "app/TextConversion.h"

#include <gtest/gtest.h>
#include <windows.h>

using Quoril::IpFamily;

namespace {

// The forms of the old four kinds: positions 1 to 3 of a list, and DHCP (no address).
enum class NetshCommand { SetPrimary, AddSecond, AddThird, RestoreDhcp };

std::string Build(
    NetshCommand kind, const std::string& name, const char* address = "9.9.9.9", IpFamily family = IpFamily::Ipv4)
{
    std::string out = "stale";
    bool ok;
    switch (kind) {
    case NetshCommand::RestoreDhcp:
        ok = Quoril::BuildDnsDhcpCommandLine(family, name, out);
        break;
    case NetshCommand::SetPrimary:
        ok = Quoril::BuildDnsServerCommandLine(family, name, address, 1, out);
        break;
    case NetshCommand::AddSecond:
        ok = Quoril::BuildDnsServerCommandLine(family, name, address, 2, out);
        break;
    default:
        ok = Quoril::BuildDnsServerCommandLine(family, name, address, 3, out);
        break;
    }
    EXPECT_EQ(ok, !out.empty()) << name;
    return out;
}

}  // namespace

TEST(CommandLine, TheFourNetshFormsAreExact)
{
    EXPECT_EQ(Build(NetshCommand::SetPrimary, "Ethernet", "1.2.3.4"),
        "netsh interface ip set dns name=\"Ethernet\" source=static addr=1.2.3.4 register=primary validate=no");
    EXPECT_EQ(Build(NetshCommand::AddSecond, "Ethernet", "1.2.3.5"),
        "netsh interface ip add dns name=\"Ethernet\" addr=1.2.3.5 index=2 validate=no");
    EXPECT_EQ(Build(NetshCommand::AddThird, "Ethernet", "1.2.3.6"),
        "netsh interface ip add dns name=\"Ethernet\" addr=1.2.3.6 index=3 validate=no");
    EXPECT_EQ(Build(NetshCommand::RestoreDhcp, "Ethernet", nullptr),
        "netsh interface ip set dns name=\"Ethernet\" source=dhcp");
    EXPECT_STREQ(Quoril::kFlushCommandLine, "ipconfig /flushdns");
}

TEST(CommandLine, Ipv6UsesTheSameFormsOnItsOwnContext)
{
    EXPECT_EQ(Build(NetshCommand::SetPrimary, "Ethernet", "2620:fe::fe", IpFamily::Ipv6),
        "netsh interface ipv6 set dns name=\"Ethernet\" source=static addr=2620:fe::fe register=primary validate=no");
    EXPECT_EQ(Build(NetshCommand::AddThird, "Ethernet", "2606:4700:4700::1112", IpFamily::Ipv6),
        "netsh interface ipv6 add dns name=\"Ethernet\" addr=2606:4700:4700::1112 index=3 validate=no");
    EXPECT_EQ(Build(NetshCommand::RestoreDhcp, "Ethernet", nullptr, IpFamily::Ipv6),
        "netsh interface ipv6 set dns name=\"Ethernet\" source=dhcp");
    // A restored list may be longer than any profile.
    std::string out;
    EXPECT_TRUE(Quoril::BuildDnsServerCommandLine(IpFamily::Ipv4, "Ethernet", "10.0.0.1", 12, out));
    EXPECT_EQ(out, "netsh interface ip add dns name=\"Ethernet\" addr=10.0.0.1 index=12 validate=no");
    EXPECT_FALSE(Quoril::BuildDnsServerCommandLine(IpFamily::Ipv4, "Ethernet", "10.0.0.1", 0, out));
    EXPECT_EQ(out, "");
}

TEST(CommandLine, OnlyPlainAddressesReachTheLine)
{
    // Saved servers come back from the registry: anything that could add an argument is refused.
    for (const char* bad : {"", "1.2.3.4 register=none", "1.2.3.4\"", "fe80::1%12", "1.2.3.4\n", "x.y.z.w", "::g",
             "1111:2222:3333:4444:5555:6666:7777:8888:999999"}) {
        EXPECT_FALSE(Quoril::IsPlainAddress(bad)) << bad;
        EXPECT_EQ(Build(NetshCommand::AddSecond, "Ethernet", bad), "") << bad;
    }
    EXPECT_FALSE(Quoril::IsPlainAddress(nullptr));
    for (const char* good : {"9.9.9.9", "2620:fe::fe", "::1", "FD00::53", "::ffff:192.168.100.200",
             "1111:2222:3333:4444:5555:6666:255.255.255.255"})
        EXPECT_TRUE(Quoril::IsPlainAddress(good)) << good;
}

TEST(AddressText, CanonicalFormsCompareWithTheProfiles)
{
    struct Case {
        unsigned char bytes[16];
        const char* text;
    } const cases[] = {
        {{0x26, 0x20, 0x00, 0xfe, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0x00, 0xfe}, "2620:fe::fe"},
        {{0x26, 0x06, 0x47, 0x00, 0x47, 0x00, 0, 0, 0, 0, 0, 0, 0, 0, 0x11, 0x12}, "2606:4700:4700::1112"},
        {{0}, "::"},
        {{0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1}, "::1"},
        {{0xfe, 0xc0, 0, 0, 0, 0, 0xff, 0xff, 0, 0, 0, 0, 0, 0, 0, 1}, "fec0:0:0:ffff::1"},
        // A single zero group is written out; of two equal runs the first is shortened.
        {{0, 1, 0, 0, 0, 2, 0, 3, 0, 4, 0, 5, 0, 6, 0, 7}, "1:0:2:3:4:5:6:7"},
        {{0, 1, 0, 0, 0, 0, 0, 2, 0, 3, 0, 0, 0, 0, 0, 4}, "1::2:3:0:0:4"},
        {{0, 1, 0, 0, 0, 0, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0}, "1:0:0:2::"},
        {{0xab, 0xcd, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0x0e, 0xf0}, "abcd::ef0"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Quoril::Ipv6Text(c.bytes), c.text);
    const unsigned char v4[4] = {149, 112, 112, 112};
    EXPECT_EQ(Quoril::Ipv4Text(v4), "149.112.112.112");
}

// An interface's own server list, as Windows writes it (spaces, or commas from older tools); it
// comes from the registry, so anything but plain addresses makes the whole list unknown.
TEST(AddressText, NameServerListsAreSplitOnSpacesAndCommas)
{
    using List = std::vector<std::string>;
    struct Case {
        std::string text;
        bool ok;
        List servers;
    } const cases[] = {
        {"", true, {}},
        {" , ,", true, {}},
        {"10.0.0.53", true, {"10.0.0.53"}},
        {"10.0.0.53 10.0.0.54", true, {"10.0.0.53", "10.0.0.54"}},
        {",10.0.0.53,,fd00::53 ,", true, {"10.0.0.53", "fd00::53"}},
        {"10.0.0.53;10.0.0.54", false, {}},
        {"10.0.0.53\t10.0.0.54", false, {}},
        {"10.0.0.53 register=none", false, {}},
        {"10.0.0.53 \"x", false, {}},
        {"1.1.1.1 2.2.2.2 3.3.3.3 4.4.4.4", true, {"1.1.1.1", "2.2.2.2", "3.3.3.3", "4.4.4.4"}},
        {"1.1.1.1 2.2.2.2 3.3.3.3 4.4.4.4 5.5.5.5", false, {}},
        {std::string(46, '1'), false, {}},
    };
    for (const Case& c : cases) {
        List servers = {"stale"};
        EXPECT_EQ(Quoril::ParseNameServerList(c.text, 4, servers), c.ok) << c.text;
        EXPECT_EQ(servers, c.servers) << c.text;
    }
}

TEST(CommandLine, LongNamesAreNeverCut)
{
    // Far beyond any fixed formatting buffer: the whole name and the address must survive.
    const std::string name(200, 'n');
    EXPECT_EQ(Build(NetshCommand::SetPrimary, name, "9.9.9.9"),
        "netsh interface ip set dns name=\"" + name + "\" source=static addr=9.9.9.9 register=primary validate=no");
    const std::string longest(255, 'x');
    EXPECT_NE(Build(NetshCommand::RestoreDhcp, longest, nullptr), "");
    EXPECT_EQ(Build(NetshCommand::RestoreDhcp, longest + "x", nullptr), "");
}

TEST(CommandLine, HostileNamesAreRefusedNotAltered)
{
    EXPECT_EQ(Build(NetshCommand::SetPrimary, "Bad\"Name"), "");
    EXPECT_EQ(Build(NetshCommand::SetPrimary, "a\" addr=6.6.6.6 \""), "");
    EXPECT_EQ(Build(NetshCommand::SetPrimary, "line\rbreak"), "");
    EXPECT_EQ(Build(NetshCommand::SetPrimary, "line\nbreak"), "");
    EXPECT_EQ(Build(NetshCommand::SetPrimary, std::string("nul\0inside", 10)), "");
    EXPECT_EQ(Build(NetshCommand::SetPrimary, ""), "");
    // A trailing backslash would escape the closing quote for the tool's argument parser.
    EXPECT_EQ(Build(NetshCommand::SetPrimary, "ends\\"), "");
    EXPECT_EQ(Build(NetshCommand::SetPrimary, "ends\\\\"), "");
    // Missing address for a form that needs one.
    EXPECT_EQ(Build(NetshCommand::AddSecond, "Ethernet", nullptr), "");
}

TEST(CommandLine, OrdinaryOddNamesStayByteIdentical)
{
    for (const std::string name : {"Wi-Fi 2", "50% off", "back\\slash inside", "Local Area Connection* 11",
             "&|<>^ shell chars", "\xc1\xac\xbd\xd3"}) {
        EXPECT_EQ(Build(NetshCommand::RestoreDhcp, name, nullptr),
            "netsh interface ip set dns name=\"" + name + "\" source=dhcp");
    }
}

TEST(CommandLineCp936, DoubleByteCharacterEndingIn5CIsNotABackslash)
{
    ASSERT_EQ(GetACP(), 936u);
    // "\x95\x5c" is one double-byte character whose trail byte happens to be '\'.
    const std::string name = "net\x95\x5c";
    EXPECT_EQ(Build(NetshCommand::RestoreDhcp, name, nullptr),
        "netsh interface ip set dns name=\"" + name + "\" source=dhcp");
    EXPECT_EQ(Build(NetshCommand::RestoreDhcp, "net\x95\x5c\\", nullptr), "");
}

TEST(TextConversion, ExactOrNothing)
{
    ASSERT_EQ(GetACP(), 1252u);
    std::string out;
    EXPECT_TRUE(Quoril::AnsiFromWideExactly(L"Ethernet", 255, out));
    EXPECT_EQ(out, "Ethernet");
    EXPECT_TRUE(Quoril::AnsiFromWideExactly(L"Caf\u00e9", 255, out));
    EXPECT_EQ(out, "Caf\xe9");
    // A full-width quote best-fits to '"' on this code page: it must be refused, not mapped.
    EXPECT_FALSE(Quoril::AnsiFromWideExactly(L"Bad\uff02Name", 255, out));
    EXPECT_EQ(out, "");
    EXPECT_FALSE(Quoril::AnsiFromWideExactly(L"\u4ee5\u592a\u7f51", 255, out));
    // Length limit in bytes, never cut.
    EXPECT_TRUE(Quoril::AnsiFromWideExactly(std::wstring(255, L'a'), 255, out));
    EXPECT_EQ(out.size(), 255u);
    EXPECT_FALSE(Quoril::AnsiFromWideExactly(std::wstring(256, L'a'), 255, out));
    EXPECT_EQ(out, "");
}

TEST(TextConversion, ChineseTextsConvertFromCodePage936OnAnySystem)
{
    // 宽带连接
    EXPECT_EQ(Quoril::WideFromCodePage936("\xbf\xed\xb4\xf8\xc1\xac\xbd\xd3"), L"\u5bbd\u5e26\u8fde\u63a5");
    EXPECT_EQ(Quoril::WideFromCodePage936(""), L"");
    EXPECT_EQ(Quoril::WideFromCodePage936(nullptr), L"");
}

TEST(TextConversionCp936, ChineseNamesAndTheirLimit)
{
    ASSERT_EQ(GetACP(), 936u);
    std::string out;
    // 120 Chinese characters: 240 bytes, converted exactly.
    const std::wstring fits(120, L'\u8fde');
    ASSERT_TRUE(Quoril::AnsiFromWideExactly(fits, 255, out));
    std::string expected;
    for (int i = 0; i < 120; ++i)
        expected += "\xc1\xac";
    EXPECT_EQ(out, expected);
    // 200 Chinese characters need 400 bytes: refused, nothing written past the limit.
    EXPECT_FALSE(Quoril::AnsiFromWideExactly(std::wstring(200, L'\u8fde'), 255, out));
    EXPECT_EQ(out, "");
    // A full-width quote is a real character of code page 936 and stays what it is.
    ASSERT_TRUE(Quoril::AnsiFromWideExactly(L"a\uff02b", 255, out));
    EXPECT_EQ(out,
        "a\xa3\xa2"
        "b");
}
