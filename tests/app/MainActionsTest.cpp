#include "app/MainActions.h"

#include "ActionsRig.h"
#include "app/DnsProfiles.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace apptest;
using Quoril::CMainActions;
using Quoril::TCommandResult;

//--- sequences ---------------------------------------------------------------------------------

namespace {

// The user's own settings (DHCP in the rig) saved before the first command.
std::string Saved(const std::string& name)
{
    return "setvalue HKLM|Software\\Quoril\\SavedDns\\S-1-5-21-1-2-3-1001|" + name + " = ipv4=dhcp;ipv6=dhcp";
}

// A profile button's calls as `Rig::Sequence` shows them: the user's settings saved, each IPv4 phase
// over every connection and the dial-up entry, paused and flushed, then each one's IPv6 servers and
// one more flush.
std::vector<std::string> ProfileSequence(
    const std::vector<std::wstring>& connections, const Quoril::TDnsProfile& p, const Quoril::TDnsProfile& p6)
{
    std::vector<std::string> sequence = {"disable"};
    std::vector<std::string> entries;
    for (const std::wstring& wide : connections) {
        entries.emplace_back(wide.begin(), wide.end());
        sequence.push_back(Saved(entries.back()));
    }
    entries.push_back(kDialUp);
    const char* const phases[] = {p.primary, p.second, p.third};
    for (int index = 1; index <= 3 && phases[index - 1] != nullptr; ++index) {
        for (const std::string& name : entries)
            sequence.push_back(index == 1 ? SetPrimary(name, p.primary) : Add(name, phases[index - 1], index));
        sequence.insert(sequence.end(), {"pause 400", kFlush});
    }
    for (const std::string& name : entries) {
        const std::vector<std::string> ipv6 = Ipv6For(name, p6);
        sequence.insert(sequence.end(), ipv6.begin(), ipv6.end());
    }
    sequence.insert(sequence.end(), {"pause 400", kFlush, "enable", "box"});
    return sequence;
}

}  // namespace

TEST(MainActions, EachProfileRunsEachPhaseForEveryEntryThenFlushes)
{
    struct Case {
        const char* button;
        std::vector<std::wstring> connections;
        const Quoril::TDnsProfile& p;
        const Quoril::TDnsProfile& p6;
        std::wstring done;
    } const cases[] = {
        {"btnOpen", {L"Ethernet"}, Quoril::kBlockingProfile, Quoril::kBlockingProfileIpv6, kBlockingDone},
        {"btnPure", {L"Ethernet"}, Quoril::kPureProfile, Quoril::kPureProfileIpv6, kPureDone},
        {"btnFamily", {L"Ethernet", L"Wi-Fi"}, Quoril::kFamilyProfile, Quoril::kFamilyProfileIpv6, kFamilyDone},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.button);
        Rig rig(c.connections);
        rig.Click(c.button);
        EXPECT_EQ(rig.Sequence(), ProfileSequence(c.connections, c.p, c.p6));
        EXPECT_EQ(rig.LastBox(), c.done);
    }
}

TEST(MainActions, BlockingProfileTellsTheUserOnceAndRunsAgainOnTheNextClick)
{
    Rig rig({L"Ethernet"});
    rig.Click("btnOpen");
    ASSERT_EQ(rig.fake.boxes.size(), 1u);
    EXPECT_EQ(rig.fake.boxes[0].owner, kOwner);
    EXPECT_EQ(rig.fake.boxes[0].text, kBlockingDone);
    EXPECT_EQ(rig.fake.boxes[0].caption, kCaption);
    EXPECT_EQ(rig.fake.boxes[0].flags, static_cast<UINT>(MB_OK | MB_TASKMODAL));
    EXPECT_EQ(rig.fake.lastTimeout, CMainActions::kCommandTimeoutMs);

    // A second click runs the whole sequence again.
    rig.fake.calls.clear();
    rig.Click("btnOpen");
    EXPECT_EQ(rig.Runs().size(), 16u);
}

TEST(MainActions, RestoreInterleavesEachConnectionWithItsOwnFlush)
{
    Rig rig({L"Ethernet", L"Wi-Fi"});
    rig.Click("btnRecover");
    EXPECT_EQ(rig.Sequence(),
        (std::vector<std::string>{"disable", Restore("Ethernet"), "pause 500", kFlush, Restore("Wi-Fi"), "pause 500",
            kFlush, Restore(kDialUp), "pause 500", kFlush, Restore6("Ethernet"), Restore6("Wi-Fi"), Restore6(kDialUp),
            "pause 500", kFlush, "enable", "box"}));
    EXPECT_EQ(rig.LastBox(), kRestoreDone);
    EXPECT_EQ(rig.fake.boxes.back().caption, kCaption);
}

TEST(MainActions, OnlyExactClickNamesAct)
{
    Rig rig({L"Ethernet"});
    for (const char* name : {"btnOpen ", "BtnOpen", "btnopen", "btnOpe", "", "btnRecover2", "btnUrl"})
        rig.Click(name);
    rig.actions.OnNotify("hover", "btnOpen");
    rig.actions.OnNotify("Click", "btnOpen");
    rig.actions.OnNotify("click ", "btnRecover");
    rig.actions.OnNotify(nullptr, "btnOpen");
    rig.actions.OnNotify("click", nullptr);
    EXPECT_TRUE(rig.fake.calls.empty()) << rig.fake.calls.front();

    rig.Click("btnMin");
    rig.Click("btnClose");
    EXPECT_EQ(rig.fake.calls, (std::vector<std::string>{"minimise", "close"}));
}

// The desktop shell opens the pages, as the user, from the address alone. Without one nothing is
// started from this elevated process: a message gives the address, in the window's language.
TEST(MainActions, WebPagesOpenOnlyAsTheDesktopUser)
{
    const std::string test = Quoril::kBlockingTestUrl;
    const std::string home = Quoril::kHomePageUrl;
    const std::wstring wideTest(test.begin(), test.end());
    const std::wstring wideHome(home.begin(), home.end());
    // 无法以当前用户身份打开网页，请在浏览器中手动打开：
    const std::wstring chinese = L"\u65e0\u6cd5\u4ee5\u5f53\u524d\u7528\u6237\u8eab\u4efd\u6253\u5f00\u7f51\u9875"
                                 L"\uff0c\u8bf7\u5728\u6d4f\u89c8\u5668\u4e2d\u624b\u52a8\u6253\u5f00\uff1a\n";
    const std::wstring english = L"The page could not be opened as your user. Please open it in your browser:\n";
    struct Case {
        bool desktopShell;
        bool english;
        std::vector<std::string> calls;
        std::vector<std::wstring> boxes;
    } const cases[] = {
        {true, false, {"desktop open " + test, "desktop open " + home}, {}},
        {false, false, {"desktop open " + test, "box", "desktop open " + home, "box"},
            {chinese + wideTest, chinese + wideHome}},
        {false, true, {"desktop open " + test, "box", "desktop open " + home, "box"},
            {english + wideTest, english + wideHome}},
    };
    for (const Case& c : cases) {
        Rig rig({L"Ethernet"});
        rig.fake.desktopShell = c.desktopShell;
        rig.actions.SetEnglish(c.english);
        // A browser the user's own classes name is never looked at.
        rig.fake.SetValue(HKEY_CLASSES_ROOT, "HTTP\\shell\\open\\command", nullptr, REG_SZ,
            std::string("\"C:\\Evil\\b.exe\" \"%1\"") + '\0');
        rig.Click("btnTest");
        rig.Click("btnURL");
        EXPECT_EQ(rig.fake.calls, c.calls) << "desktop shell " << c.desktopShell;
        std::vector<std::wstring> boxes;
        for (const FakeServices::Box& box : rig.fake.boxes) {
            boxes.push_back(box.text);
            EXPECT_EQ(box.caption, c.english ? L"Notice" : kCaption);
            EXPECT_EQ(box.owner, kOwner);
        }
        EXPECT_EQ(boxes, c.boxes) << "desktop shell " << c.desktopShell;
    }
}

//--- outcomes ----------------------------------------------------------------------------------

TEST(MainActions, SuccessOnlyWhenEveryDiscoveredConnectionWasSet)
{
    struct Case {
        const char* what;
        std::vector<std::wstring> connections;
        std::function<TCommandResult(const std::string&, const std::string&)> run;
        std::wstring profileText;
        std::wstring restoreText;
    };
    const std::wstring failedEthernet = L"\nEthernet";
    const std::vector<Case> cases = {
        {"all exit 0", {L"Ethernet"}, nullptr, kFamilyDone, kRestoreDone},
        {"dial-up entry fails only", {L"Ethernet"}, FailWhere(kDialUp), kFamilyDone, kRestoreDone},
        {"discovered connection exits 1", {L"Ethernet", L"Wi-Fi"}, FailWhere("\"Ethernet\""),
            kProfileFailed + failedEthernet, kRestoreFailed + failedEthernet},
        {"cannot start", {L"Ethernet"}, FailWhere("Ethernet", Outcome(TCommandResult::NotStarted)),
            kProfileFailed + failedEthernet, kRestoreFailed + failedEthernet},
        {"times out", {L"Ethernet"}, FailWhere("Ethernet", Outcome(TCommandResult::TimedOut)),
            kProfileFailed + failedEthernet, kRestoreFailed + failedEthernet},
        {"nothing discovered", {}, nullptr, kNoConnection, kNoConnection},
        {"flush fails", {L"Ethernet"}, FailWhere("flushdns"), kFamilyDone, kRestoreDone},
    };
    for (const Case& c : cases) {
        Rig profile(c.connections);
        profile.fake.onRun = c.run;
        profile.Click("btnFamily");
        EXPECT_EQ(profile.LastBox(), c.profileText) << c.what;

        Rig restore(c.connections);
        restore.fake.onRun = c.run;
        restore.Click("btnRecover");
        EXPECT_EQ(restore.LastBox(), c.restoreText) << c.what;
    }

    // Only the add-second of one connection fails: still a failure, and only that one is named.
    Rig second({L"Ethernet", L"Wi-Fi"});
    second.fake.onRun = FailWhere("name=\"Wi-Fi\" addr=" + std::string(Quoril::kBlockingProfile.second));
    second.Click("btnOpen");
    EXPECT_EQ(second.LastBox(), kProfileFailed + L"\nWi-Fi");
    // Wi-Fi gets nothing after its failed add-second; IPv6 only where IPv4 went through.
    EXPECT_EQ(second.Runs().size(), 11u + 6u + 1u);
}

TEST(MainActions, ConnectionWhoseCommandHangsOrFailsGetsNoFurtherCommand)
{
    // Its set-primary may still be running: an add-second now would race it.
    Rig rig({L"Ethernet", L"Wi-Fi"});
    rig.fake.onRun = FailWhere("\"Ethernet\" source=static", Outcome(TCommandResult::TimedOut));
    rig.Click("btnOpen");
    const auto& p = Quoril::kBlockingProfile;
    EXPECT_EQ(rig.Runs(),
        (std::vector<std::string>{SetPrimary("Ethernet", p.primary), SetPrimary("Wi-Fi", p.primary),
            SetPrimary(kDialUp, p.primary), kFlush, Add("Wi-Fi", p.second, 2), Add(kDialUp, p.second, 2), kFlush,
            Add("Wi-Fi", p.third, 3), Add(kDialUp, p.third, 3), kFlush,
            SetPrimary6("Wi-Fi", Quoril::kBlockingProfileIpv6.primary),
            Add6("Wi-Fi", Quoril::kBlockingProfileIpv6.second, 2), Add6("Wi-Fi", Quoril::kBlockingProfileIpv6.third, 3),
            SetPrimary6(kDialUp, Quoril::kBlockingProfileIpv6.primary),
            Add6(kDialUp, Quoril::kBlockingProfileIpv6.second, 2), Add6(kDialUp, Quoril::kBlockingProfileIpv6.third, 3),
            kFlush}));
    EXPECT_EQ(rig.LastBox(), kProfileFailed + L"\nEthernet");

    // A failed set-primary: adding the other servers would leave the connection with only those.
    Rig failed({L"Ethernet"});
    failed.fake.onRun = FailWhere("\"Ethernet\" source=static");
    failed.Click("btnOpen");
    EXPECT_EQ(failed.Runs(),
        (std::vector<std::string>{SetPrimary("Ethernet", p.primary), SetPrimary(kDialUp, p.primary), kFlush,
            Add(kDialUp, p.second, 2), kFlush, Add(kDialUp, p.third, 3), kFlush,
            SetPrimary6(kDialUp, Quoril::kBlockingProfileIpv6.primary),
            Add6(kDialUp, Quoril::kBlockingProfileIpv6.second, 2), Add6(kDialUp, Quoril::kBlockingProfileIpv6.third, 3),
            kFlush}));
    EXPECT_EQ(failed.LastBox(), kProfileFailed + L"\nEthernet");
}

TEST(MainActions, WithoutAdministratorRightsOneMessageSaysSoAndNothingRuns)
{
    for (const char* button : {"btnOpen", "btnPure", "btnFamily", "btnRecover"}) {
        Rig rig({L"Ethernet"});
        rig.fake.elevated = false;
        rig.Click(button);
        EXPECT_EQ(rig.fake.calls, (std::vector<std::string>{"box"})) << button;
        ASSERT_EQ(rig.fake.boxes.size(), 1u);
        EXPECT_EQ(rig.fake.boxes[0].text, kNotElevated);
        EXPECT_EQ(rig.fake.boxes[0].caption, kCaption);
        EXPECT_EQ(rig.fake.boxes[0].flags, static_cast<UINT>(MB_OK | MB_TASKMODAL));
        rig.fake.elevated = true;
        rig.Click(button);
        EXPECT_FALSE(rig.Runs().empty()) << "no action was left running";
    }
}

TEST(MainActions, CommandThatCouldNotStartIsStartedAgain)
{
    // The first start of Ethernet's restore is refused: nothing ran, so it is simply started again.
    Rig rig({L"Ethernet"});
    int refusals = 1;
    rig.fake.onRun = [&refusals](const std::string&, const std::string& line) {
        if (line.find("\"Ethernet\"") != std::string::npos && refusals > 0) {
            --refusals;
            return Outcome(TCommandResult::NotStarted);
        }
        return Exited(0);
    };
    rig.Click("btnRecover");
    EXPECT_EQ(rig.Runs(),
        (std::vector<std::string>{Restore("Ethernet"), Restore("Ethernet"), kFlush, Restore(kDialUp), kFlush,
            Restore6("Ethernet"), Restore6(kDialUp), kFlush}));
    EXPECT_EQ(rig.Sequence()[2], "pause 100") << "a short breath between the two starts";
    EXPECT_EQ(rig.LastBox(), kRestoreDone);

    // A start that keeps failing is tried three times, then the connection is reported.
    Rig never({L"Ethernet"});
    never.fake.onRun = FailWhere("Ethernet", Outcome(TCommandResult::NotStarted));
    never.Click("btnRecover");
    const std::vector<std::string> neverRuns = never.Runs();
    EXPECT_EQ(std::count(neverRuns.begin(), neverRuns.end(), Restore("Ethernet")), 3);
    EXPECT_EQ(never.LastBox(), kRestoreFailed + L"\nEthernet");

    // An exit code or a time-out is an answer, not a refused start: never repeated.
    Rig answered({L"Ethernet"});
    answered.fake.onRun = FailWhere("Ethernet", Outcome(TCommandResult::TimedOut));
    answered.Click("btnRecover");
    const std::vector<std::string> answeredRuns = answered.Runs();
    EXPECT_EQ(std::count(answeredRuns.begin(), answeredRuns.end(), Restore("Ethernet")), 1);
}

TEST(MainActions, UnaddressableConnectionsGetNoCommandAndFail)
{
    Rig rig({L"Ethernet", L"Bad\"Name", L"\u4ee5\u592a\u7f51"});
    rig.Click("btnOpen");
    for (const std::string& run : rig.Runs()) {
        const bool known = run.find("\"Ethernet\"") != std::string::npos
            || run.find(std::string("\"") + kDialUp + "\"") != std::string::npos || run == kFlush;
        EXPECT_TRUE(known) << run;
        EXPECT_EQ(std::count(run.begin(), run.end(), '"') % 2, 0) << run;
    }
    EXPECT_EQ(rig.Runs().size(), 16u);
    EXPECT_EQ(rig.LastBox(), kProfileFailed + L"\nBad\"Name\n\u4ee5\u592a\u7f51");

    rig.Click("btnRecover");
    EXPECT_EQ(rig.LastBox(), kRestoreFailed + L"\nBad\"Name\n\u4ee5\u592a\u7f51");
}

TEST(MainActions, ToolsStartFromTheSystemFolderOnly)
{
    Rig rig({L"Ethernet"});
    rig.fake.systemFolder = "D:\\OS\\Sys";
    rig.Click("btnOpen");
    for (const std::string& run : rig.Runs()) {
        const std::string netshPrefix = "run D:\\OS\\Sys\\netsh.exe | netsh ";
        const bool netsh = run.compare(0, netshPrefix.size(), netshPrefix) == 0;
        const bool flush = run == "run D:\\OS\\Sys\\ipconfig.exe | ipconfig /flushdns";
        EXPECT_TRUE(netsh || flush) << run;
    }

    // No system folder: nothing is started by a bare name, and the action reports failure.
    Rig lost({L"Ethernet"});
    lost.fake.systemFolder = "";
    lost.Click("btnRecover");
    EXPECT_TRUE(lost.Runs().empty());
    EXPECT_EQ(lost.LastBox(), kRestoreFailed + L"\nEthernet");
}

//--- re-entrancy, closing, language -------------------------------------------------------------

TEST(MainActions, ClicksAndCloseDuringAnActionAreHeldOff)
{
    Rig rig({L"Ethernet"});
    int nested = 0;
    bool closeAllowed = true;
    rig.fake.onRun = [&](const std::string&, const std::string&) {
        if (nested++ == 0) {
            // What the message pump may deliver while a command runs.
            EXPECT_TRUE(rig.actions.IsBusy());
            rig.Click("btnPure");
            rig.Click("btnRecover");
            rig.Click("btnClose");
            rig.Click("btnTest");
            closeAllowed = rig.actions.SetClosing(true);
        }
        return Exited(0);
    };
    rig.Click("btnOpen");
    EXPECT_FALSE(closeAllowed);
    EXPECT_EQ(rig.Runs().size(), 16u);
    EXPECT_EQ(rig.fake.boxes.size(), 1u);
    EXPECT_FALSE(rig.actions.IsBusy());
    // The held close request is posted once the action has ended.
    ASSERT_GE(rig.fake.calls.size(), 2u);
    EXPECT_EQ(rig.fake.calls[rig.fake.calls.size() - 2], "box");
    EXPECT_EQ(rig.fake.calls.back(), "close");
    EXPECT_TRUE(rig.actions.SetClosing(true));
}

TEST(MainActions, NoClickActsWhileClosing)
{
    Rig rig({L"Ethernet"});
    EXPECT_TRUE(rig.actions.SetClosing(true));
    rig.Click("btnOpen");
    rig.Click("btnURL");
    rig.Click("btnClose");
    EXPECT_TRUE(rig.fake.calls.empty());
    rig.actions.SetClosing(false);
    rig.Click("btnMin");
    EXPECT_EQ(rig.fake.calls, (std::vector<std::string>{"minimise"}));
}

TEST(MainActions, EnglishLayoutGetsEnglishMessages)
{
    Rig rig({L"Ethernet"});
    rig.actions.SetEnglish(true);
    rig.Click("btnOpen");
    EXPECT_EQ(rig.LastBox(), L"Settings applied (Intercept Mode)!");
    EXPECT_EQ(rig.fake.boxes.back().caption, L"Notice");
    rig.Click("btnPure");
    EXPECT_EQ(rig.LastBox(), L"Settings applied (Non-Intercept Mode)!");
    rig.Click("btnRecover");
    EXPECT_EQ(rig.LastBox(), L"DNS is obtained automatically again. Please clear your browser cache manually.");
    rig.fake.onRun = FailWhere("Ethernet");
    rig.Click("btnFamily");
    EXPECT_EQ(rig.LastBox(), L"Setting failed. These connections could not be set:\nEthernet");
    rig.Click("btnRecover");
    EXPECT_EQ(rig.LastBox(), L"Reset failed. These connections could not be reset:\nEthernet");
    rig.fake.elevated = false;
    rig.Click("btnOpen");
    EXPECT_EQ(rig.LastBox(),
        L"Administrator rights are needed to change the DNS settings. Please run the program as administrator.");
    EXPECT_EQ(rig.fake.boxes.back().caption, L"Notice");
    Rig none({});
    none.actions.SetEnglish(true);
    none.Click("btnRecover");
    EXPECT_EQ(none.LastBox(), L"No network connection was found.");
}

TEST(MainActions, ChineseMessagesAreExactUnicodeOnAWesternCodePage)
{
    ASSERT_EQ(GetACP(), 1252u);
    Rig rig({L"Ethernet"});
    rig.Click("btnOpen");
    EXPECT_EQ(rig.LastBox(), kBlockingDone);
    EXPECT_EQ(rig.fake.boxes.back().caption, kCaption);
}

TEST(MainActionsCp936, ChineseMessagesAreExactUnicodeOnCodePage936)
{
    ASSERT_EQ(GetACP(), 936u);
    Rig rig({L"\u4ee5\u592a\u7f51"});
    rig.Click("btnRecover");
    EXPECT_EQ(rig.Runs().front(), Restore("\xd2\xd4\xcc\xab\xcd\xf8"));  // 以太网 in code page 936
    EXPECT_EQ(rig.LastBox(), kRestoreDone);
}

//--- profile constants --------------------------------------------------------------------------

TEST(DnsProfiles, EightDistinctPublicAddresses)
{
    const char* all[] = {Quoril::kBlockingProfile.primary, Quoril::kBlockingProfile.second,
        Quoril::kBlockingProfile.third, Quoril::kPureProfile.primary, Quoril::kPureProfile.second,
        Quoril::kPureProfile.third, Quoril::kFamilyProfile.primary, Quoril::kFamilyProfile.second};
    EXPECT_EQ(Quoril::kFamilyProfile.third, nullptr);
    std::vector<std::string> seen;
    for (const char* address : all) {
        ASSERT_NE(address, nullptr);
        unsigned a, b, c, d;
        char tail;
        ASSERT_EQ(sscanf(address, "%u.%u.%u.%u%c", &a, &b, &c, &d, &tail), 4) << address;
        EXPECT_TRUE(a <= 255 && b <= 255 && c <= 255 && d <= 255) << address;
        const bool documentation
            = (a == 192 && b == 0 && c == 2) || (a == 198 && b == 51 && c == 100) || (a == 203 && b == 0 && c == 113);
        const bool privateOrLocal = a == 0 || a == 10 || a == 127 || (a == 172 && b >= 16 && b <= 31)
            || (a == 192 && b == 168) || (a == 169 && b == 254) || a >= 224;
        EXPECT_FALSE(documentation || privateOrLocal) << address;
        EXPECT_EQ(std::find(seen.begin(), seen.end(), address), seen.end()) << address;
        seen.push_back(address);
    }
    EXPECT_EQ(std::string(Quoril::kBlockingTestUrl).compare(0, 7, "http://"), 0);
    EXPECT_EQ(std::string(Quoril::kHomePageUrl).compare(0, 7, "http://"), 0);
}
