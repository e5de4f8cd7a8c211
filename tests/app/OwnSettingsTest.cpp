// The user's own DNS settings (saved once, put back by restore), the IPv6 commands after the IPv4
// ones, and the status line's words.
#include "app/DnsStatus.h"
#include "app/SavedDns.h"

#include "ActionsRig.h"

#include <gtest/gtest.h>

using namespace apptest;
using Quoril::TSavedDns;

namespace {

const std::string kSavedKey = "HKCU|Software\\Quoril\\SavedDns|";

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

TEST(OwnSettings, SavedOnceBeforeTheFirstChangeAndNeverOverwritten)
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
    rig.fake.dnsAdapters = {AdapterDns(L"Ethernet", {"9.9.9.9"}, false), AdapterDns(L"Wi-Fi", {"9.9.9.9"}, false)};
    rig.fake.calls.clear();
    rig.Click("btnPure");
    EXPECT_EQ(IndexOf(rig.fake.calls, "setvalue "), rig.fake.calls.size());
    EXPECT_EQ(Stored(rig.fake, "Ethernet"), "ipv4=10.0.0.53,10.0.0.54;ipv6=fd00::53");
}

TEST(OwnSettings, ConnectionWhoseSettingsCannotBeSavedIsLeftAlone)
{
    Rig rig({L"Ethernet", L"Wi-Fi"});
    rig.fake.dnsAdapters = {AdapterDns(L"Ethernet", {"10.0.0.53"}, false)};
    rig.fake.setValueResult = ERROR_ACCESS_DENIED;
    rig.Click("btnFamily");
    for (const std::string& run : rig.Runs())
        EXPECT_EQ(run.find("\"Ethernet\""), std::string::npos) << run;
    EXPECT_EQ(rig.LastBox(), kProfileFailed + L"\nEthernet");

    // Without an adapter list nothing is known to save, and the profile applies as it always has.
    Rig unread({L"Ethernet"});
    unread.fake.dnsOk = false;
    unread.Click("btnFamily");
    EXPECT_EQ(unread.LastBox(), kFamilyDone);
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
    // 已恢复原有DNS设置！
    EXPECT_EQ(rig.LastBox(), L"\u5df2\u6062\u590d\u539f\u6709DNS\u8bbe\u7f6e\uff01");
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
        // The saved IPv6 servers are not back: kept, although the message only judges IPv4.
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
    rig.fake.SetValue(HKEY_CURRENT_USER, "Software\\Quoril\\SavedDns", "Ethernet", REG_SZ,
        std::string("ipv4=1.2.3.4 & calc;ipv6=dhcp") + '\0');
    rig.fake.onRun = nullptr;
    rig.fake.calls.clear();
    rig.Click("btnRecover");
    EXPECT_EQ(rig.Runs().front(), Restore("Ethernet"));
    EXPECT_EQ(Stored(rig.fake, "Ethernet"), "<none>");
}

//--- IPv6 --------------------------------------------------------------------------------------

TEST(Ipv6, FailureOnIpv6AloneDoesNotFailTheAction)
{
    // No IPv6 on this connection: its first IPv6 command fails, and no further one is tried.
    Rig rig({L"Ethernet", L"Wi-Fi"});
    rig.fake.onRun = FailWhere("ipv6 set dns name=\"Ethernet\"");
    rig.Click("btnOpen");
    EXPECT_EQ(rig.LastBox(), kBlockingDone);
    const std::vector<std::string> runs = rig.Runs();
    size_t ethernetIpv6 = 0;
    for (const std::string& run : runs)
        ethernetIpv6 += run.find("ipv6") != std::string::npos && run.find("\"Ethernet\"") != std::string::npos;
    EXPECT_EQ(ethernetIpv6, 1u);
    EXPECT_EQ(runs[runs.size() - 2], Add6(kDialUp, Quoril::kBlockingProfileIpv6.third, 3)) << "others go on";

    // Where IPv4 failed too, the connection is named once, for its IPv4 failure, and gets no IPv6.
    Rig both({L"Ethernet"});
    both.fake.onRun = FailWhere("\"Ethernet\"");
    both.Click("btnRecover");
    EXPECT_EQ(both.LastBox(), kRestoreFailed + L"\nEthernet");
    for (const std::string& run : both.Runs())
        EXPECT_FALSE(run == Restore6("Ethernet")) << run;
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
