#include "app/MainActions.h"

#include "app/DnsProfiles.h"
#include "FakeServices.h"

#include <gtest/gtest.h>

#include <algorithm>

using apptest::Exited;
using apptest::FakeServices;
using apptest::Outcome;
using Quoril::CMainActions;
using Quoril::TCommandResult;

namespace {

const char kDialUp[] = "\xbf\xed\xb4\xf8\xc1\xac\xbd\xd3";  // 宽带连接 in code page 936
const std::wstring kDialUpText = L"\u5bbd\u5e26\u8fde\u63a5";
const std::string kNetsh = "run C:\\windows\\system32\\netsh.exe | netsh interface ip ";
const std::string kFlush = "run C:\\windows\\system32\\ipconfig.exe | ipconfig /flushdns";

// 提示
const std::wstring kCaption = L"\u63d0\u793a";
// 设置成功（拦截版模式）！ / （纯净版模式）！ / （家庭版模式）！
const std::wstring kBlockingDone = L"\u8bbe\u7f6e\u6210\u529f\uff08\u62e6\u622a\u7248\u6a21\u5f0f\uff09\uff01";
const std::wstring kPureDone = L"\u8bbe\u7f6e\u6210\u529f\uff08\u7eaf\u51c0\u7248\u6a21\u5f0f\uff09\uff01";
const std::wstring kFamilyDone = L"\u8bbe\u7f6e\u6210\u529f\uff08\u5bb6\u5ead\u7248\u6a21\u5f0f\uff09\uff01";
// 已恢复为自动获取DNS，请手动删除浏览器缓存！
const std::wstring kRestoreDone =
    L"\u5df2\u6062\u590d\u4e3a\u81ea\u52a8\u83b7\u53d6DNS\uff0c\u8bf7\u624b\u52a8\u5220\u9664\u6d4f\u89c8\u5668"
    L"\u7f13\u5b58\uff01";
// 设置失败，以下连接未能设置：
const std::wstring kProfileFailed = L"\u8bbe\u7f6e\u5931\u8d25\uff0c\u4ee5\u4e0b\u8fde\u63a5\u672a\u80fd\u8bbe\u7f6e\uff1a";
// 恢复失败，以下连接未能恢复：
const std::wstring kRestoreFailed = L"\u6062\u590d\u5931\u8d25\uff0c\u4ee5\u4e0b\u8fde\u63a5\u672a\u80fd\u6062\u590d\uff1a";

// 需要管理员权限才能修改DNS设置，请以管理员身份运行本程序！
const std::wstring kNotElevated
    = L"\u9700\u8981\u7ba1\u7406\u5458\u6743\u9650\u624d\u80fd\u4fee\u6539DNS\u8bbe\u7f6e\uff0c\u8bf7\u4ee5"
      L"\u7ba1\u7406\u5458\u8eab\u4efd\u8fd0\u884c\u672c\u7a0b\u5e8f\uff01";
// 未找到网络连接！
const std::wstring kNoConnection = L"\u672a\u627e\u5230\u7f51\u7edc\u8fde\u63a5\uff01";

HWND const kOwner = reinterpret_cast<HWND>(0x4242);

// Discovers the given connections through the fake, then forgets the discovery calls.
struct Rig {
    FakeServices fake;
    Quoril::AdapterList list;
    CMainActions actions{fake, list};

    explicit Rig(std::vector<std::wstring> connections) {
        ULONG index = 1;
        for (const std::wstring& name : connections) {
            const std::wstring device = L"dev" + std::to_wstring(index);
            fake.table.push_back({index++, device});
            fake.routerNames[device] = name;
        }
        actions.SetOwner(kOwner);
        actions.DiscoverAdapters();
        fake.calls.clear();
    }
    void Click(const char* name) { actions.OnNotify("click", name); }
    std::vector<std::string> Runs() const {
        std::vector<std::string> runs;
        for (const std::string& call : fake.calls)
            if (call.compare(0, 4, "run ") == 0)
                runs.push_back(call);
        return runs;
    }
    const std::wstring& LastBox() const {
        static const std::wstring none = L"<no message box>";
        return fake.boxes.empty() ? none : fake.boxes.back().text;
    }
};

std::string SetPrimary(const std::string& name, const char* address) {
    return kNetsh + "set dns name=\"" + name + "\" source=static addr=" + address + " register=primary";
}
std::string Add(const std::string& name, const char* address, int index) {
    return kNetsh + "add dns name=\"" + name + "\" addr=" + address + " index=" + std::to_string(index);
}
std::string Restore(const std::string& name) {
    return kNetsh + "set dns name=\"" + name + "\" source=dhcp";
}

// Fails every netsh command whose line contains `needle`.
std::function<TCommandResult(const std::string&, const std::string&)> FailWhere(const std::string& needle,
                                                                           TCommandResult failure = Exited(1)) {
    return [needle, failure](const std::string&, const std::string& line) {
        return line.find(needle) != std::string::npos ? failure : Exited(0);
    };
}

}  // namespace

//--- sequences ---------------------------------------------------------------------------------

TEST(MainActions, BlockingProfileRunsEachPhaseForEveryEntryThenFlushes) {
    Rig rig({L"Ethernet"});
    rig.Click("btnOpen");
    const auto& p = Quoril::kBlockingProfile;
    EXPECT_EQ(rig.fake.calls, (std::vector<std::string>{
                                  "disable",
                                  SetPrimary("Ethernet", p.primary), SetPrimary(kDialUp, p.primary),
                                  "pause 400", kFlush,
                                  Add("Ethernet", p.second, 2), Add(kDialUp, p.second, 2),
                                  "pause 400", kFlush,
                                  Add("Ethernet", p.third, 3), Add(kDialUp, p.third, 3),
                                  "pause 400", kFlush,
                                  "enable", "box"}));
    ASSERT_EQ(rig.fake.boxes.size(), 1u);
    EXPECT_EQ(rig.fake.boxes[0].owner, kOwner);
    EXPECT_EQ(rig.fake.boxes[0].text, kBlockingDone);
    EXPECT_EQ(rig.fake.boxes[0].caption, kCaption);
    EXPECT_EQ(rig.fake.boxes[0].flags, static_cast<UINT>(MB_OK | MB_TASKMODAL));
    EXPECT_EQ(rig.fake.lastTimeout, CMainActions::kCommandTimeoutMs);

    // A second click runs the whole sequence again.
    rig.fake.calls.clear();
    rig.Click("btnOpen");
    EXPECT_EQ(rig.Runs().size(), 9u);
}

TEST(MainActions, PureAndFamilyProfiles) {
    Rig pure({L"Ethernet"});
    pure.Click("btnPure");
    const auto& p = Quoril::kPureProfile;
    EXPECT_EQ(pure.Runs(), (std::vector<std::string>{SetPrimary("Ethernet", p.primary), SetPrimary(kDialUp, p.primary),
                                                     kFlush, Add("Ethernet", p.second, 2), Add(kDialUp, p.second, 2),
                                                     kFlush, Add("Ethernet", p.third, 3), Add(kDialUp, p.third, 3),
                                                     kFlush}));
    EXPECT_EQ(pure.LastBox(), kPureDone);

    Rig family({L"Ethernet", L"Wi-Fi"});
    family.Click("btnFamily");
    const auto& f = Quoril::kFamilyProfile;
    EXPECT_EQ(family.fake.calls,
              (std::vector<std::string>{"disable", SetPrimary("Ethernet", f.primary), SetPrimary("Wi-Fi", f.primary),
                                        SetPrimary(kDialUp, f.primary), "pause 400", kFlush,
                                        Add("Ethernet", f.second, 2), Add("Wi-Fi", f.second, 2),
                                        Add(kDialUp, f.second, 2), "pause 400", kFlush, "enable", "box"}));
    EXPECT_EQ(family.LastBox(), kFamilyDone);
}

TEST(MainActions, RestoreInterleavesEachConnectionWithItsOwnFlush) {
    Rig rig({L"Ethernet", L"Wi-Fi"});
    rig.Click("btnRecover");
    EXPECT_EQ(rig.fake.calls, (std::vector<std::string>{"disable", Restore("Ethernet"), "pause 500", kFlush,
                                                        Restore("Wi-Fi"), "pause 500", kFlush, Restore(kDialUp),
                                                        "pause 500", kFlush, "enable", "box"}));
    EXPECT_EQ(rig.LastBox(), kRestoreDone);
    EXPECT_EQ(rig.fake.boxes.back().caption, kCaption);
}

TEST(MainActions, OnlyExactClickNamesAct) {
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

TEST(MainActions, WebPagesOpenTheDefaultBrowserSilently) {
    Rig rig({L"Ethernet"});
    rig.fake.SetValue(HKEY_CLASSES_ROOT, "HTTP\\shell\\open\\command", nullptr, REG_SZ,
                      std::string("\"C:\\Browser\\b.exe\" -url \"%1\"") + '\0');
    rig.Click("btnTest");
    rig.Click("btnURL");
    std::vector<std::string> opens;
    for (const std::string& call : rig.fake.calls)
        if (call.compare(0, 5, "open ") == 0)
            opens.push_back(call);
    EXPECT_EQ(opens, (std::vector<std::string>{std::string("open C:\\Browser\\b.exe | ") + Quoril::kBlockingTestUrl,
                                               std::string("open C:\\Browser\\b.exe | ") + Quoril::kHomePageUrl}));
    EXPECT_TRUE(rig.fake.boxes.empty());
    EXPECT_TRUE(rig.Runs().empty());
}

//--- outcomes ----------------------------------------------------------------------------------

TEST(MainActions, SuccessOnlyWhenEveryDiscoveredConnectionWasSet) {
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
    EXPECT_EQ(second.Runs().size(), 11u);  // all but Wi-Fi's add-third, in order
}

TEST(MainActions, ConnectionWhoseCommandHangsOrFailsGetsNoFurtherCommand)
{
    // Its set-primary may still be running: an add-second now would race it.
    Rig rig({L"Ethernet", L"Wi-Fi"});
    rig.fake.onRun = FailWhere("\"Ethernet\" source=static", Outcome(TCommandResult::TimedOut));
    rig.Click("btnOpen");
    const auto& p = Quoril::kBlockingProfile;
    EXPECT_EQ(rig.Runs(), (std::vector<std::string>{
                              SetPrimary("Ethernet", p.primary), SetPrimary("Wi-Fi", p.primary),
                              SetPrimary(kDialUp, p.primary), kFlush,
                              Add("Wi-Fi", p.second, 2), Add(kDialUp, p.second, 2), kFlush,
                              Add("Wi-Fi", p.third, 3), Add(kDialUp, p.third, 3), kFlush}));
    EXPECT_EQ(rig.LastBox(), kProfileFailed + L"\nEthernet");

    // A failed set-primary: adding the other servers would leave the connection with only those.
    Rig failed({L"Ethernet"});
    failed.fake.onRun = FailWhere("\"Ethernet\" source=static");
    failed.Click("btnOpen");
    EXPECT_EQ(failed.Runs(),
        (std::vector<std::string>{SetPrimary("Ethernet", p.primary), SetPrimary(kDialUp, p.primary), kFlush,
            Add(kDialUp, p.second, 2), kFlush, Add(kDialUp, p.third, 3), kFlush}));
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

TEST(MainActions, CommandThatCouldNotStartIsStartedAgain) {
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
    EXPECT_EQ(rig.Runs(), (std::vector<std::string>{Restore("Ethernet"), Restore("Ethernet"), kFlush,
                                                    Restore(kDialUp), kFlush}));
    EXPECT_EQ(rig.fake.calls[2], "pause 100") << "a short breath between the two starts";
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

TEST(MainActions, UnaddressableConnectionsGetNoCommandAndFail) {
    Rig rig({L"Ethernet", L"Bad\"Name", L"\u4ee5\u592a\u7f51"});
    rig.Click("btnOpen");
    for (const std::string& run : rig.Runs()) {
        const bool known = run.find("\"Ethernet\"") != std::string::npos ||
                           run.find(std::string("\"") + kDialUp + "\"") != std::string::npos || run == kFlush;
        EXPECT_TRUE(known) << run;
        EXPECT_EQ(std::count(run.begin(), run.end(), '"') % 2, 0) << run;
    }
    EXPECT_EQ(rig.Runs().size(), 9u);
    EXPECT_EQ(rig.LastBox(), kProfileFailed + L"\nBad\"Name\n\u4ee5\u592a\u7f51");

    rig.Click("btnRecover");
    EXPECT_EQ(rig.LastBox(), kRestoreFailed + L"\nBad\"Name\n\u4ee5\u592a\u7f51");
}

TEST(MainActions, ToolsStartFromTheSystemFolderOnly) {
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

TEST(MainActions, ClicksAndCloseDuringAnActionAreHeldOff) {
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
    EXPECT_EQ(rig.Runs().size(), 9u);
    EXPECT_EQ(rig.fake.boxes.size(), 1u);
    EXPECT_FALSE(rig.actions.IsBusy());
    // The held close request is posted once the action has ended.
    ASSERT_GE(rig.fake.calls.size(), 2u);
    EXPECT_EQ(rig.fake.calls[rig.fake.calls.size() - 2], "box");
    EXPECT_EQ(rig.fake.calls.back(), "close");
    EXPECT_TRUE(rig.actions.SetClosing(true));
}

TEST(MainActions, NoClickActsWhileClosing) {
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

TEST(MainActions, EnglishLayoutGetsEnglishMessages) {
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

TEST(MainActions, ChineseMessagesAreExactUnicodeOnAWesternCodePage) {
    ASSERT_EQ(GetACP(), 1252u);
    Rig rig({L"Ethernet"});
    rig.Click("btnOpen");
    EXPECT_EQ(rig.LastBox(), kBlockingDone);
    EXPECT_EQ(rig.fake.boxes.back().caption, kCaption);
}

TEST(MainActionsCp936, ChineseMessagesAreExactUnicodeOnCodePage936) {
    ASSERT_EQ(GetACP(), 936u);
    Rig rig({L"\u4ee5\u592a\u7f51"});
    rig.Click("btnRecover");
    EXPECT_EQ(rig.Runs().front(), Restore("\xd2\xd4\xcc\xab\xcd\xf8"));  // 以太网 in code page 936
    EXPECT_EQ(rig.LastBox(), kRestoreDone);
}

//--- profile constants --------------------------------------------------------------------------

TEST(DnsProfiles, EightDistinctPublicAddresses) {
    const char* all[] = {Quoril::kBlockingProfile.primary, Quoril::kBlockingProfile.second,
                         Quoril::kBlockingProfile.third,   Quoril::kPureProfile.primary,
                         Quoril::kPureProfile.second,      Quoril::kPureProfile.third,
                         Quoril::kFamilyProfile.primary,   Quoril::kFamilyProfile.second};
    EXPECT_EQ(Quoril::kFamilyProfile.third, nullptr);
    std::vector<std::string> seen;
    for (const char* address : all) {
        ASSERT_NE(address, nullptr);
        unsigned a, b, c, d;
        char tail;
        ASSERT_EQ(sscanf(address, "%u.%u.%u.%u%c", &a, &b, &c, &d, &tail), 4) << address;
        EXPECT_TRUE(a <= 255 && b <= 255 && c <= 255 && d <= 255) << address;
        const bool documentation = (a == 192 && b == 0 && c == 2) || (a == 198 && b == 51 && c == 100) ||
                                   (a == 203 && b == 0 && c == 113);
        const bool privateOrLocal = a == 0 || a == 10 || a == 127 || (a == 172 && b >= 16 && b <= 31) ||
                                    (a == 192 && b == 168) || (a == 169 && b == 254) || a >= 224;
        EXPECT_FALSE(documentation || privateOrLocal) << address;
        EXPECT_EQ(std::find(seen.begin(), seen.end(), address), seen.end()) << address;
        seen.push_back(address);
    }
    EXPECT_EQ(std::string(Quoril::kBlockingTestUrl).compare(0, 7, "http://"), 0);
    EXPECT_EQ(std::string(Quoril::kHomePageUrl).compare(0, 7, "http://"), 0);
}
