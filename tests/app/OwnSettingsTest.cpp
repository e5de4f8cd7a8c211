// The user's own DNS settings (saved once, put back by restore), the IPv6 commands after the IPv4
// ones, and the status line's words.
#include "app/DnsStatus.h"
#include "app/SavedDns.h"

#include "ActionsRig.h"

#include <gtest/gtest.h>

using namespace apptest;
using Quoril::TSavedDns;

namespace {

const char kSavedDnsSubKey[] = "Software\\Quoril\\SavedDns\\S-1-5-21-1-2-3-1001";
const std::string kSavedKey = std::string("HKLM|") + kSavedDnsSubKey + "|";
// 已恢复原有DNS设置！
const std::wstring kPreviousRestored = L"\u5df2\u6062\u590d\u539f\u6709DNS\u8bbe\u7f6e\uff01";

// The stored text for `connection`, or "<none>".
std::string Stored(const FakeServices& fake, const std::string& connection)
{
    auto found = fake.registry.find(kSavedKey + connection);
    return found == fake.registry.end() ? "<none>" : std::string(found->second.bytes.c_str());
}

size_t IndexOf(const std::vector<std::string>& calls, const std::string& prefix)
{
    for (size_t i = 0; i < calls.size(); ++i)
        if (calls[i].compare(0, prefix.size(), prefix) == 0)
            return i;
    return calls.size();
}

}  // namespace

//--- the saved text ----------------------------------------------------------------------------

TEST(SavedDns, TextRoundTripsAndAnythingElseIsNothingSaved)
{
    TSavedDns mixed;
    mixed.ipv4.dhcp = false;
    mixed.ipv4.servers = {"10.0.0.53", "10.0.0.54"};
    mixed.ipv6.dhcp = false;
    mixed.ipv6.servers = {"fd00::53"};
    TSavedDns dhcp;
    struct Case {
        const TSavedDns* saved;
        std::string text;
    } const written[] = {{&dhcp, "ipv4=dhcp;ipv6=dhcp"}, {&mixed, "ipv4=10.0.0.53,10.0.0.54;ipv6=fd00::53"}};
    for (const Case& c : written) {
        EXPECT_EQ(Quoril::FormatSavedDns(*c.saved), c.text);
        TSavedDns back;
        ASSERT_TRUE(Quoril::ParseSavedDns(c.text, back)) << c.text;
        EXPECT_EQ(back.ipv4.dhcp, c.saved->ipv4.dhcp) << c.text;
        EXPECT_EQ(back.ipv4.servers, c.saved->ipv4.servers) << c.text;
        EXPECT_EQ(back.ipv6.servers, c.saved->ipv6.servers) << c.text;
    }

    std::string seventeen = "ipv4=1.1.1.1";
    for (int i = 0; i < 16; ++i)
        seventeen += ",1.1.1.1";
    // The value is outside input: it must never bring anything but plain addresses to a command.
    for (const std::string& bad :
        {std::string(), std::string("ipv4=dhcp"), std::string("ipv6=dhcp;ipv4=dhcp"), std::string("ipv4=;ipv6=dhcp"),
            std::string("ipv4=1.2.3.4,,1.2.3.5;ipv6=dhcp"), std::string("ipv4=1.2.3.4,;ipv6=dhcp"),
            std::string("ipv4=1.2.3.4 register=none;ipv6=dhcp"), std::string("ipv4=1.2.3.4\";ipv6=dhcp"),
            std::string("ipv4=dhcp;ipv6=dhcp;ipv4=1.2.3.4"), std::string("IPV4=dhcp;ipv6=dhcp"),
            std::string("ipv4=") + std::string(46, '1') + ";ipv6=dhcp", seventeen + ";ipv6=dhcp"}) {
        TSavedDns parsed;
        parsed.ipv4.dhcp = false;
        EXPECT_FALSE(Quoril::ParseSavedDns(bad, parsed)) << bad;
        EXPECT_TRUE(parsed.ipv4.dhcp && parsed.ipv4.servers.empty() && parsed.ipv6.dhcp) << bad;
    }
}

//--- saving before the first change ------------------------------------------------------------

TEST(OwnSettings, SavedBeforeEachChangeUnlessOurOwnProfileIsInForce)
{
    Rig rig({L"Ethernet", L"Wi-Fi", L"Office"});
    const auto& pure = Quoril::kPureProfile;
    rig.fake.dnsAdapters = {AdapterDns(L"Ethernet", {"10.0.0.53", "10.0.0.54"}, false, {"fd00::53"}, false),
        AdapterDns(L"Wi-Fi", {"192.168.1.1"}, true),
        // Set by this program before (an older version saved nothing): restore
        // must still mean DHCP there, but a list merely holding one of our
        // servers is the user's own.
        AdapterDns(
            L"Office", {pure.primary, pure.second, pure.third}, false, {Quoril::kPureProfileIpv6.primary}, false)};
    rig.Click("btnOpen");
    EXPECT_EQ(Stored(rig.fake, "Ethernet"), "ipv4=10.0.0.53,10.0.0.54;ipv6=fd00::53");
    EXPECT_EQ(Stored(rig.fake, "Wi-Fi"), "ipv4=dhcp;ipv6=dhcp");
    EXPECT_EQ(Stored(rig.fake, "Office"), "ipv4=dhcp;ipv6=2606:4700:4700::1111");
    EXPECT_EQ(Stored(rig.fake, kDialUp), "<none>") << "no such adapter: nothing to save";
    const std::vector<std::string> sequence = rig.Sequence();
    EXPECT_LT(IndexOf(sequence, "setvalue " + kSavedKey + "Wi-Fi"), IndexOf(sequence, "run "));

    // What the second profile finds in force is our own profile: it must not replace the user's.
    const auto& b = Quoril::kBlockingProfile;
    const auto& b6 = Quoril::kBlockingProfileIpv6;
    rig.fake.dnsAdapters
        = {AdapterDns(L"Ethernet", {b.primary, b.second, b.third}, false, {b6.primary, b6.second, b6.third}, false),
            AdapterDns(L"Wi-Fi", {b.primary, b.second, b.third}, false)};
    rig.fake.calls.clear();
    rig.Click("btnPure");
    EXPECT_EQ(IndexOf(rig.fake.calls, "setvalue "), rig.fake.calls.size());
    EXPECT_EQ(Stored(rig.fake, "Ethernet"), "ipv4=10.0.0.53,10.0.0.54;ipv6=fd00::53");

    // The user changed the settings by hand since: what is in force now is the user's, family by
    // family, and a family still on our profile keeps what was saved for it.
    rig.fake.dnsAdapters = {AdapterDns(L"Ethernet", {"10.0.0.99"}, false, {b6.primary, b6.second, b6.third}, false),
        AdapterDns(L"Wi-Fi", {b.primary, b.second, b.third}, false, {"fd00::99"}, false)};
    rig.Click("btnFamily");
    EXPECT_EQ(Stored(rig.fake, "Ethernet"), "ipv4=10.0.0.99;ipv6=fd00::53");
    EXPECT_EQ(Stored(rig.fake, "Wi-Fi"), "ipv4=dhcp;ipv6=fd00::99");
    rig.fake.calls.clear();
    rig.Click("btnRecover");
    EXPECT_EQ(rig.Runs().front(), SetPrimary("Ethernet", "10.0.0.99"));
}

// A connection whose own settings cannot be known or kept gets no command and is named: changing it
// could lose them for good.
TEST(OwnSettings, ConnectionWhoseSettingsCannotBeKnownOrSavedIsLeftAlone)
{
    Quoril::TAdapterDns unknown4 = AdapterDns(L"Ethernet", {}, false);
    unknown4.ipv4.known = false;
    Quoril::TAdapterDns unknown6 = AdapterDns(L"Ethernet", {"10.0.0.53"}, false);
    unknown6.ipv6.dhcp = false;
    unknown6.ipv6.known = false;
    const Quoril::TAdapterDns wifi = AdapterDns(L"Wi-Fi", {}, true);
    struct Case {
        const char* what;
        std::vector<Quoril::TAdapterDns> adapters;
        bool listRead;
        LONG store;
        std::string sid;
        std::vector<std::string> left;  // connections with no command
    } const cases[] = {
        {"the registry refuses", {AdapterDns(L"Ethernet", {"10.0.0.53"}, false), wifi}, true, ERROR_ACCESS_DENIED,
            "S-1-5-21-1-2-3-1001", {"Ethernet", "Wi-Fi"}},
        {"no adapter list", {}, false, ERROR_SUCCESS, "S-1-5-21-1-2-3-1001", {"Ethernet", "Wi-Fi"}},
        {"not in the adapter list", {wifi}, true, ERROR_SUCCESS, "S-1-5-21-1-2-3-1001", {"Ethernet"}},
        {"IPv4 list set by hand unreadable", {unknown4, wifi}, true, ERROR_SUCCESS, "S-1-5-21-1-2-3-1001",
            {"Ethernet"}},
        {"IPv6 list set by hand unreadable", {unknown6, wifi}, true, ERROR_SUCCESS, "S-1-5-21-1-2-3-1001",
            {"Ethernet"}},
        {"no desktop user", {AdapterDns(L"Ethernet", {}, true), wifi}, true, ERROR_SUCCESS, "", {"Ethernet", "Wi-Fi"}},
        {"a user name that would leave the key", {AdapterDns(L"Ethernet", {}, true), wifi}, true, ERROR_SUCCESS,
            "S-1-5-21\\..\\..\\Run", {"Ethernet", "Wi-Fi"}},
    };
    for (const Case& c : cases) {
        Rig rig({L"Ethernet", L"Wi-Fi"});
        rig.fake.dnsAdapters = c.adapters;
        rig.fake.dnsOk = c.listRead;
        rig.fake.setValueResult = c.store;
        rig.fake.desktopSid = c.sid;
        rig.Click("btnFamily");
        std::wstring named = kProfileFailed;
        for (const std::string& name : c.left) {
            named += L"\n" + std::wstring(name.begin(), name.end());
            for (const std::string& run : rig.Runs())
                EXPECT_EQ(run.find("\"" + name + "\""), std::string::npos) << c.what << ": " << run;
        }
        EXPECT_EQ(rig.LastBox(), named) << c.what;
        for (const std::string& call : rig.fake.calls)
            EXPECT_EQ(call.find("HKCU"), std::string::npos) << c.what << ": " << call;
    }
}

// Anything under the user's own hive can be written by every program the user runs: it is never
// taken for saved settings, whatever it holds, and never stops the real ones being saved.
TEST(OwnSettings, ValuesPlantedInTheUsersHiveAreNeverRead)
{
    const std::string planted[] = {
        std::string("ipv4=6.6.6.6,6.6.4.4;ipv6=2001:db8::66") + '\0',
        std::string(200 * 1024, '6'),
        std::string("ipv4=6.6.6.6 & calc;ipv6=dhcp") + '\0',
    };
    for (const std::string& value : planted) {
        for (bool hasGetValue : {true, false}) {
            Rig rig({L"Ethernet"});
            rig.fake.hasRegGetValue = hasGetValue;
            rig.fake.SetValue(HKEY_CURRENT_USER, "Software\\Quoril\\SavedDns", "Ethernet", REG_SZ, value);
            rig.fake.dnsAdapters = {AdapterDns(L"Ethernet", {"10.0.0.53"}, false)};
            rig.Click("btnRecover");
            rig.Click("btnOpen");
            EXPECT_EQ(Stored(rig.fake, "Ethernet"), "ipv4=10.0.0.53;ipv6=dhcp") << value.substr(0, 40);
            rig.Click("btnRecover");
            EXPECT_EQ(rig.LastBox(), kPreviousRestored);
            for (const std::string& call : rig.fake.calls) {
                EXPECT_EQ(call.find("6.6."), std::string::npos) << call;
                EXPECT_EQ(call.find("HKCU"), std::string::npos) << call;
            }
        }
    }
}

//--- restore -------------------------------------------------------------------------------------

TEST(OwnSettings, RestorePutsBackSavedServersInOrderAndDhcpWhereItWasDhcp)
{
    Rig rig({L"Ethernet", L"Wi-Fi"});
    rig.fake.dnsAdapters
        = {AdapterDns(L"Ethernet", {"10.0.0.53", "10.0.0.54", "10.0.0.55"}, false, {"fd00::53", "fd00::54"}, false),
            AdapterDns(L"Wi-Fi", {"192.168.1.1"}, true)};
    rig.Click("btnOpen");
    rig.fake.calls.clear();
    rig.Click("btnRecover");
    EXPECT_EQ(rig.Sequence(),
        (std::vector<std::string>{"disable", SetPrimary("Ethernet", "10.0.0.53"), Add("Ethernet", "10.0.0.54", 2),
            Add("Ethernet", "10.0.0.55", 3), "pause 500", kFlush, Restore("Wi-Fi"), "pause 500", kFlush,
            Restore(kDialUp), "pause 500", kFlush, SetPrimary6("Ethernet", "fd00::53"), Add6("Ethernet", "fd00::54", 2),
            Restore6("Wi-Fi"), Restore6(kDialUp), "pause 500", kFlush, "enable", "box"}));
    EXPECT_EQ(rig.LastBox(), kPreviousRestored);
    EXPECT_EQ(rig.fake.boxes.back().caption, kCaption);
    EXPECT_EQ(Stored(rig.fake, "Ethernet"), "<none>") << "put back, so forgotten";
    EXPECT_EQ(Stored(rig.fake, "Wi-Fi"), "<none>");

    // Everything is DHCP now: today's restore and today's text.
    rig.actions.SetEnglish(true);
    rig.fake.calls.clear();
    rig.Click("btnRecover");
    EXPECT_EQ(rig.Runs().front(), Restore("Ethernet"));
    EXPECT_EQ(rig.LastBox(), L"DNS is obtained automatically again. Please clear your browser cache manually.");

    // A saved static list in English.
    rig.fake.dnsAdapters = {AdapterDns(L"Ethernet", {"10.0.0.53"}, false)};
    rig.Click("btnOpen");
    rig.Click("btnRecover");
    EXPECT_EQ(rig.LastBox(), L"Your previous DNS settings are restored.");
}

TEST(OwnSettings, FailedRestoreKeepsTheSavedSettingsForTheNextTry)
{
    Rig rig({L"Ethernet"});
    rig.fake.dnsAdapters = {AdapterDns(L"Ethernet", {"10.0.0.53"}, false, {"fd00::53"}, false)};
    rig.Click("btnOpen");
    struct Case {
        const char* what;
        const char* failing;
        std::wstring text;
        std::string stored;
    } const cases[] = {
        {"IPv4 fails", "interface ip set dns name=\"Ethernet\"", kRestoreFailed + L"\nEthernet",
            "ipv4=10.0.0.53;ipv6=fd00::53"},
        // The saved IPv6 servers are not back: kept, although the message cannot judge IPv6 where
        // the adapter list shows no IPv6 interface.
        {"IPv6 fails", "interface ipv6", L"\u5df2\u6062\u590d\u539f\u6709DNS\u8bbe\u7f6e\uff01",
            "ipv4=10.0.0.53;ipv6=fd00::53"},
        {"all works", "no such line", L"\u5df2\u6062\u590d\u539f\u6709DNS\u8bbe\u7f6e\uff01", "<none>"},
    };
    for (const Case& c : cases) {
        rig.fake.onRun = FailWhere(c.failing);
        rig.Click("btnRecover");
        EXPECT_EQ(rig.LastBox(), c.text) << c.what;
        EXPECT_EQ(Stored(rig.fake, "Ethernet"), c.stored) << c.what;
    }

    // A malformed value restores DHCP, and is cleared so that the next profile can save again.
    rig.fake.SetValue(
        HKEY_LOCAL_MACHINE, kSavedDnsSubKey, "Ethernet", REG_SZ, std::string("ipv4=1.2.3.4 & calc;ipv6=dhcp") + '\0');
    rig.fake.onRun = nullptr;
    rig.fake.calls.clear();
    rig.Click("btnRecover");
    EXPECT_EQ(rig.Runs().front(), Restore("Ethernet"));
    EXPECT_EQ(Stored(rig.fake, "Ethernet"), "<none>");
}

//--- IPv6 --------------------------------------------------------------------------------------

// An IPv6 failure fails the connection wherever it has IPv6: lookups over IPv6 would still go to
// the old servers, around the filter. Without an IPv6 interface every IPv6 command fails, and that
// says nothing.
TEST(Ipv6, FailureCountsWhereTheConnectionHasIpv6)
{
    struct Case {
        const char* what;
        bool ipv6Enabled;
        const char* button;
        std::wstring text;
        std::string lastOfOthers;
    } const cases[] = {
        {"no IPv6, profile", false, "btnOpen", kBlockingDone, Add6(kDialUp, Quoril::kBlockingProfileIpv6.third, 3)},
        {"no IPv6, restore", false, "btnRecover", kRestoreDone, Restore6(kDialUp)},
        {"IPv6, profile", true, "btnOpen", kProfileFailed + L"\nEthernet",
            Add6(kDialUp, Quoril::kBlockingProfileIpv6.third, 3)},
        {"IPv6, restore", true, "btnRecover", kRestoreFailed + L"\nEthernet", Restore6(kDialUp)},
    };
    for (const Case& c : cases) {
        Rig rig({L"Ethernet", L"Wi-Fi"});
        rig.fake.dnsAdapters = {AdapterDns(L"Ethernet", {}, true, {}, true, true, c.ipv6Enabled),
            AdapterDns(L"Wi-Fi", {}, true, {}, true, true, true)};
        rig.fake.onRun = FailWhere("ipv6 set dns name=\"Ethernet\"");
        rig.Click(c.button);
        EXPECT_EQ(rig.LastBox(), c.text) << c.what;
        // Its first IPv6 command failed: no further one is tried, and the others go on.
        const std::vector<std::string> runs = rig.Runs();
        size_t ethernetIpv6 = 0;
        for (const std::string& run : runs)
            ethernetIpv6 += run.find("ipv6") != std::string::npos && run.find("\"Ethernet\"") != std::string::npos;
        EXPECT_EQ(ethernetIpv6, 1u) << c.what;
        EXPECT_EQ(runs[runs.size() - 2], c.lastOfOthers) << c.what;
    }

    // Where IPv4 failed too, the connection is named once, for its IPv4 failure, and gets no IPv6.
    Rig both({L"Ethernet"});
    both.fake.onRun = FailWhere("\"Ethernet\"");
    both.Click("btnRecover");
    EXPECT_EQ(both.LastBox(), kRestoreFailed + L"\nEthernet");
    for (const std::string& run : both.Runs())
        EXPECT_FALSE(run == Restore6("Ethernet")) << run;
}

//--- connections that are not connected ------------------------------------------------------------

// An unplugged or switched-off adapter must not turn a profile that worked on every connected one
// into a failure; it is named apart, for what happened to it.
TEST(NotConnected, NamedApartAsSetOrSkipped)
{
    // 以下连接未连接，将在连接后生效： / 以下连接未连接，已跳过：
    const std::wstring waiting = L"\n\u4ee5\u4e0b\u8fde\u63a5\u672a\u8fde\u63a5\uff0c\u5c06\u5728\u8fde\u63a5\u540e"
                                 L"\u751f\u6548\uff1a\nWi-Fi";
    const std::wstring skipped = L"\n\u4ee5\u4e0b\u8fde\u63a5\u672a\u8fde\u63a5\uff0c\u5df2\u8df3\u8fc7\uff1a\nWi-Fi";
    const std::string wifi = "name=\"Wi-Fi\"";
    struct Case {
        const char* what;
        const char* button;
        std::string failing;
        std::wstring text;
    } const cases[] = {
        {"accepted: set for when it connects", "btnOpen", "no such line", kBlockingDone + waiting},
        {"refused at once: skipped", "btnOpen", wifi, kBlockingDone + skipped},
        {"refused half-way: failed", "btnOpen", wifi + " addr=149.112.112.112", kProfileFailed + L"\nWi-Fi"},
        {"restore accepted", "btnRecover", "no such line", kRestoreDone + waiting},
        {"restore refused", "btnRecover", wifi, kRestoreDone + skipped},
        {"a connected one fails too", "btnOpen", "\"", kProfileFailed + L"\nEthernet" + skipped},
    };
    const std::string hangs = wifi + " source=static";
    for (const Case& c : cases) {
        Rig rig({L"Ethernet", L"Wi-Fi"});
        rig.fake.dnsAdapters
            = {AdapterDns(L"Ethernet", {}, true), AdapterDns(L"Wi-Fi", {}, true, {}, true, /*connected*/ false)};
        rig.fake.onRun = FailWhere(c.failing);
        rig.Click(c.button);
        EXPECT_EQ(rig.LastBox(), c.text) << c.what;
    }
    // A command that never ended may still be changing it: that is no skip.
    Rig hanging({L"Ethernet", L"Wi-Fi"});
    hanging.fake.dnsAdapters
        = {AdapterDns(L"Ethernet", {}, true), AdapterDns(L"Wi-Fi", {}, true, {}, true, /*connected*/ false)};
    hanging.fake.onRun = FailWhere(hangs, Outcome(TCommandResult::TimedOut));
    hanging.Click("btnOpen");
    EXPECT_EQ(hanging.LastBox(), kProfileFailed + L"\nWi-Fi");

    Rig english({L"Ethernet", L"Wi-Fi"});
    english.actions.SetEnglish(true);
    english.fake.dnsAdapters
        = {AdapterDns(L"Ethernet", {}, true), AdapterDns(L"Wi-Fi", {}, true, {}, true, /*connected*/ false)};
    english.Click("btnOpen");
    EXPECT_EQ(english.LastBox(), L"Settings applied (Intercept Mode)!\nNot connected, set when it connects:\nWi-Fi");
    english.fake.onRun = FailWhere(wifi);
    english.Click("btnOpen");
    EXPECT_EQ(english.LastBox(), L"Settings applied (Intercept Mode)!\nNot connected, skipped:\nWi-Fi");
}

//--- status line ---------------------------------------------------------------------------------

TEST(DnsStatus, WordsForWhatIsInForceInBothLanguages)
{
    using Quoril::TAdapterDns;
    const auto& b = Quoril::kBlockingProfile;
    const auto& b6 = Quoril::kBlockingProfileIpv6;
    const auto& p = Quoril::kPureProfile;
    const auto& f = Quoril::kFamilyProfile;
    const auto& f6 = Quoril::kFamilyProfileIpv6;
    const TAdapterDns off = AdapterDns(L"Off", {"8.8.8.8"}, false, {}, true, false);
    struct Case {
        const char* what;
        std::vector<TAdapterDns> adapters;
        std::wstring chinese;
        std::wstring english;
    } const cases[] = {
        {"blocking on both families",
            {AdapterDns(L"A", {b.primary, b.second, b.third}, false, {b6.primary, b6.second, b6.third}, false), off},
            L"\u5f53\u524d\uff1a\u62e6\u622a\u6a21\u5f0f", L"Current: Intercept Mode"},
        {"pure, no IPv6", {AdapterDns(L"A", {p.primary, p.second, p.third}, false)},
            L"\u5f53\u524d\uff1a\u7eaf\u51c0\u6a21\u5f0f", L"Current: Non-Intercept Mode"},
        {"family on two adapters",
            {AdapterDns(L"A", {f.primary, f.second}, false, {f6.primary, f6.second}, false),
                AdapterDns(L"B", {f.primary, f.second}, false)},
            L"\u5f53\u524d\uff1a\u5bb6\u5ead\u6a21\u5f0f", L"Current: Family Mode"},
        {"DHCP everywhere", {AdapterDns(L"A", {"192.168.1.1"}, true, {"fe80::1"}, true), off},
            L"\u5f53\u524d\uff1a\u81ea\u52a8\u83b7\u53d6", L"Current: automatic (DHCP)"},
        {"nothing connected", {off}, L"\u5f53\u524d\uff1a\u81ea\u52a8\u83b7\u53d6", L"Current: automatic (DHCP)"},
        {"servers out of order", {AdapterDns(L"A", {b.second, b.primary, b.third}, false)},
            L"\u5f53\u524d\uff1a\u81ea\u5b9a\u4e49\uff08" + std::wstring(L"149.112.112.112") + L"\uff09",
            L"Current: custom (149.112.112.112)"},
        {"one adapter left on DHCP",
            {AdapterDns(L"A", {f.primary, f.second}, false), AdapterDns(L"B", {"192.168.1.1"}, true)},
            L"\u5f53\u524d\uff1a\u81ea\u5b9a\u4e49\uff081.1.1.3\uff09", L"Current: custom (1.1.1.3)"},
        {"IPv6 set by hand elsewhere", {AdapterDns(L"A", {b.primary, b.second, b.third}, false, {"fd00::53"}, false)},
            L"\u5f53\u524d\uff1a\u81ea\u5b9a\u4e49\uff089.9.9.9\uff09", L"Current: custom (9.9.9.9)"},
        {"IPv6 only", {AdapterDns(L"A", {}, true, {"fd00::53"}, false)},
            L"\u5f53\u524d\uff1a\u81ea\u5b9a\u4e49\uff08fd00::53\uff09", L"Current: custom (fd00::53)"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Quoril::DnsStatusText(c.adapters, false), c.chinese) << c.what;
        EXPECT_EQ(Quoril::DnsStatusText(c.adapters, true), c.english) << c.what;
    }
}

// What the actions leave out (a virtual machine's host-only adapter) says nothing about what they did.
TEST(DnsStatus, OnlyTheManagedConnectionsCount)
{
    const auto& b = Quoril::kBlockingProfile;
    Rig rig({L"Ethernet", L"VMware Network Adapter VMnet1"});
    rig.RecordStatus();
    rig.actions.SetEnglish(true);
    rig.fake.dnsAdapters = {AdapterDns(L"VMware Network Adapter VMnet1", {"192.168.56.1"}, true),
        AdapterDns(L"Ethernet", {b.primary, b.second, b.third}, false),
        AdapterDns(L"Loopback Pseudo-Interface 1", {"fec0:0:0:ffff::1"}, true)};
    rig.actions.RefreshStatus();
    EXPECT_EQ(rig.statuses, (std::vector<std::wstring>{L"Current: Intercept Mode"}));
}

TEST(DnsStatus, ApplyingWhileAnActionRunsThenWhatIsInForce)
{
    Rig rig({L"Ethernet"});
    rig.RecordStatus();
    rig.fake.dnsAdapters = {AdapterDns(L"Ethernet", {"10.0.0.53"}, false)};
    rig.actions.RefreshStatus();
    rig.fake.onRun = [&rig](const std::string&, const std::string&) {
        // What the window shows while the commands run.
        EXPECT_EQ(rig.statuses.back(), L"\u6b63\u5728\u8bbe\u7f6e\u2026");
        return Exited(0);
    };
    rig.Click("btnOpen");
    rig.fake.onRun = nullptr;
    rig.actions.SetEnglish(true);
    rig.fake.dnsOk = false;  // unreadable: an empty line rather than a guess
    rig.fake.calls.clear();
    rig.Click("btnRecover");
    EXPECT_EQ(rig.statuses,
        (std::vector<std::wstring>{L"\u5f53\u524d\uff1a\u81ea\u5b9a\u4e49\uff0810.0.0.53\uff09",
            L"\u6b63\u5728\u8bbe\u7f6e\u2026", L"\u5f53\u524d\uff1a\u81ea\u5b9a\u4e49\uff0810.0.0.53\uff09",
            L"Applying\u2026", L""}));
    // The line is read back before the message, so it is current while the user reads it.
    ASSERT_LT(IndexOf(rig.fake.calls, "box"), rig.fake.calls.size());
    EXPECT_LT(IndexOf(rig.fake.calls, "dns"), IndexOf(rig.fake.calls, "box"));
}
