// The real system seam against recorder stand-ins for netsh.exe and ipconfig.exe, copied into the
// test prefix's system folder. Each start appends "<tick>\t<module path>\t<command line>" to a log.
#include "app/AdapterDiscovery.h"
#include "app/CommandLine.h"
#include "app/DnsProfiles.h"
#include "app/MainActions.h"
#include "app/SavedDns.h"
#include "app/SystemServices.h"

#include "FakeServices.h"

#include "core/SystemLibrary.h"

#include <gtest/gtest.h>
#include <objbase.h>
#include <windows.h>
// The adapter-address types need the socket headers first.
#include <winsock2.h>
#include <ws2tcpip.h>
// After them.
#include <iphlpapi.h>

#include <fstream>
#include <sstream>
#include <thread>

namespace {

std::string ModuleFolder()
{
    char path[MAX_PATH + 1] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string folder(path);
    return folder.substr(0, folder.find_last_of('\\'));
}

std::string SystemFolder()
{
    char path[MAX_PATH + 1] = {};
    GetSystemDirectoryA(path, MAX_PATH);
    return path;
}

std::string TempFolder()
{
    char path[MAX_PATH + 1] = {};
    GetTempPathA(MAX_PATH, path);
    std::string folder(path);
    if (!folder.empty() && folder.back() == '\\')
        folder.pop_back();
    return folder;
}

std::string Lower(std::string text)
{
    for (char& c : text)
        c = static_cast<char>(tolower(static_cast<unsigned char>(c)));
    return text;
}

struct LogLine {
    DWORD tick;
    std::string module;
    std::string commandLine;
};

std::vector<LogLine> ReadLog(const std::string& path)
{
    std::vector<LogLine> lines;
    std::ifstream in(path, std::ios::binary);
    std::string line;
    while (std::getline(in, line)) {
        const size_t first = line.find('\t');
        const size_t second = line.find('\t', first + 1);
        if (first == std::string::npos || second == std::string::npos) {
            ADD_FAILURE() << "malformed log line: " << line;
            continue;
        }
        lines.push_back({static_cast<DWORD>(std::stoul(line.substr(0, first))),
            line.substr(first + 1, second - first - 1), line.substr(second + 1)});
    }
    return lines;
}

void SetVariable(const char* name, const std::string& value)
{
    SetEnvironmentVariableA(name, value.empty() ? nullptr : value.c_str());
}

// The real services, except that message boxes are recorded instead of shown (nobody could click
// them in a headless run).
class RealButBoxes : public apptest::FakeServices {
public:
    Quoril::ISystemServices& real = Quoril::Win32Services();
    std::string SystemFolder() override { return real.SystemFolder(); }
    Quoril::TCommandResult RunHidden(const std::string& application, const std::string& line, DWORD timeoutMs) override
    {
        return real.RunHidden(application, line, timeoutMs);
    }
    void Pause(DWORD ms) override { real.Pause(ms); }
    void EnableOwner(HWND window, bool enable) override { real.EnableOwner(window, enable); }
};

// Installs the recorder as the system's netsh.exe and ipconfig.exe with native load order for
// those names in the prefix (restoring both afterwards), plants recorder copies of the same names
// beside the test program and in the current directory (they must never be started: each line
// logs its own module path), and points the log at a fresh file.
class RecorderPrefix : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_recorder = ModuleFolder() + "\\..\\tools\\quoril-recorder.exe";
        ASSERT_NE(GetFileAttributesA(m_recorder.c_str()), INVALID_FILE_ATTRIBUTES) << m_recorder;
        m_system = SystemFolder();
        for (const char* tool : {"netsh.exe", "ipconfig.exe"}) {
            const std::string target = m_system + "\\" + tool;
            const std::string backup = target + ".quoril-saved";
            if (GetFileAttributesA(backup.c_str()) == INVALID_FILE_ATTRIBUTES) {
                ASSERT_TRUE(CopyFileA(target.c_str(), backup.c_str(), FALSE)) << target;
            }
            ASSERT_TRUE(CopyFileA(m_recorder.c_str(), target.c_str(), FALSE)) << target;
        }
        m_work = TempFolder() + "\\quoril-e2e";
        CreateDirectoryA(m_work.c_str(), nullptr);
        char current[MAX_PATH + 1] = {};
        GetCurrentDirectoryA(MAX_PATH, current);
        m_previousDirectory = current;
        ASSERT_TRUE(SetCurrentDirectoryA(m_work.c_str()));
        for (const std::string& folder : {ModuleFolder(), m_work}) {
            for (const char* tool : {"netsh.exe", "ipconfig.exe"}) {
                const std::string planted = folder + "\\" + tool;
                ASSERT_TRUE(CopyFileA(m_recorder.c_str(), planted.c_str(), FALSE)) << planted;
                m_planted.push_back(planted);
            }
        }
        m_log = m_work + "\\calls.log";
        DeleteFileA(m_log.c_str());
        // Wine prefers its own built-in tools unless told to load the files for these two names.
        ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\Wine\\DllOverrides", 0, nullptr, 0, KEY_ALL_ACCESS,
                      nullptr, &m_overrides, nullptr),
            ERROR_SUCCESS);
        for (const char* tool : {"netsh.exe", "ipconfig.exe"}) {
            ASSERT_EQ(RegSetValueExA(m_overrides, tool, 0, REG_SZ, reinterpret_cast<const BYTE*>("native"), 7),
                ERROR_SUCCESS);
        }
        SetVariable("QUORIL_RECORDER_LOG", m_log);
    }

    void TearDown() override
    {
        SetVariable("QUORIL_RECORDER_LOG", "");
        SetVariable("QUORIL_RECORDER_DELAY_MS", "");
        SetVariable("QUORIL_RECORDER_EXIT", "");
        if (m_overrides) {
            RegDeleteValueA(m_overrides, "netsh.exe");
            RegDeleteValueA(m_overrides, "ipconfig.exe");
            RegCloseKey(m_overrides);
        }
        SetCurrentDirectoryA(m_previousDirectory.c_str());
        for (const std::string& planted : m_planted)
            DeleteFileA(planted.c_str());
        for (const char* tool : {"netsh.exe", "ipconfig.exe"}) {
            const std::string target = m_system + "\\" + tool;
            const std::string backup = target + ".quoril-saved";
            // A stand-in left running by a failed wait may still hold the file for a moment.
            bool restored = false;
            for (int attempt = 0; attempt < 50 && !restored; ++attempt) {
                restored = MoveFileExA(backup.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING) != 0;
                if (!restored)
                    Sleep(100);
            }
            if (!restored)
                ADD_FAILURE() << "could not restore " << target;
        }
    }

    std::string m_recorder, m_system, m_work, m_log, m_previousDirectory;
    HKEY m_overrides = nullptr;
    std::vector<std::string> m_planted;
};

Quoril::AdapterList EthernetAndDialUp()
{
    Quoril::AdapterList list(2);
    list[0].name = "Ethernet";
    list[0].displayName = L"Ethernet";
    list[1].name = Quoril::kDialUpEntryName;
    list[1].displayName = Quoril::DialUpEntryDisplayName();
    list[1].discovered = false;
    return list;
}

}  // namespace

TEST_F(RecorderPrefix, ProfileRunsOneCommandAtATimeFromTheSystemFolder)
{
    const DWORD delay = 300;
    SetVariable("QUORIL_RECORDER_DELAY_MS", std::to_string(delay));
    RealButBoxes services;
    services.dnsAdapters = {apptest::AdapterDns(L"Ethernet", {}, true)};
    Quoril::AdapterList list = EthernetAndDialUp();
    Quoril::CMainActions actions(services, list);
    actions.OnNotify("click", "btnOpen");

    const auto& p = Quoril::kBlockingProfile;
    const std::string d = Quoril::kDialUpEntryName;
    std::vector<std::string> expected = {
        "netsh interface ip set dns name=\"Ethernet\" source=static addr=" + std::string(p.primary)
            + " register=primary validate=no",
        "netsh interface ip set dns name=\"" + d + "\" source=static addr=" + p.primary
            + " register=primary validate=no",
        "ipconfig /flushdns",
        "netsh interface ip add dns name=\"Ethernet\" addr=" + std::string(p.second) + " index=2 validate=no",
        "netsh interface ip add dns name=\"" + d + "\" addr=" + p.second + " index=2 validate=no",
        "ipconfig /flushdns",
        "netsh interface ip add dns name=\"Ethernet\" addr=" + std::string(p.third) + " index=3 validate=no",
        "netsh interface ip add dns name=\"" + d + "\" addr=" + p.third + " index=3 validate=no",
        "ipconfig /flushdns",
    };
    // Then each connection's IPv6 servers, and one more flush.
    const auto& p6 = Quoril::kBlockingProfileIpv6;
    for (const std::string& name : {std::string("Ethernet"), d}) {
        expected.push_back("netsh interface ipv6 set dns name=\"" + name + "\" source=static addr=" + p6.primary
            + " register=primary validate=no");
        expected.push_back(
            "netsh interface ipv6 add dns name=\"" + name + "\" addr=" + p6.second + " index=2 validate=no");
        expected.push_back(
            "netsh interface ipv6 add dns name=\"" + name + "\" addr=" + p6.third + " index=3 validate=no");
    }
    expected.push_back("ipconfig /flushdns");
    const std::vector<LogLine> log = ReadLog(m_log);
    ASSERT_EQ(log.size(), expected.size());
    for (size_t i = 0; i < log.size(); ++i) {
        EXPECT_EQ(log[i].commandLine, expected[i]) << i;
        const bool flush = expected[i] == "ipconfig /flushdns";
        EXPECT_EQ(Lower(log[i].module), Lower(m_system + (flush ? "\\ipconfig.exe" : "\\netsh.exe"))) << i;
        if (i > 0) {
            // Each command logs on start and then runs `delay` ms; a later start proves the wait.
            // Flushes come after a further 400 ms pause.
            const DWORD gap = log[i].tick - log[i - 1].tick;
            EXPECT_GE(gap, delay - 20) << i;
            if (flush) {
                EXPECT_GE(gap, delay + 400 - 20) << i;
            }
        }
    }
    ASSERT_EQ(services.boxes.size(), 1u);
    EXPECT_EQ(services.boxes[0].text, L"\u8bbe\u7f6e\u6210\u529f\uff08\u62e6\u622a\u7248\u6a21\u5f0f\uff09\uff01");
}

TEST_F(RecorderPrefix, ExitCodesDecideTheRestoreMessage)
{
    RealButBoxes services;
    Quoril::AdapterList list = EthernetAndDialUp();
    Quoril::CMainActions actions(services, list);
    actions.OnNotify("click", "btnRecover");
    SetVariable("QUORIL_RECORDER_EXIT", "1");
    actions.OnNotify("click", "btnRecover");

    const std::vector<LogLine> log = ReadLog(m_log);
    // The first restore: both connections, then IPv6 for both; the second: IPv4 fails for both, so
    // no IPv6 command follows.
    ASSERT_EQ(log.size(), 7u + 4u);
    EXPECT_EQ(log[0].commandLine, "netsh interface ip set dns name=\"Ethernet\" source=dhcp");
    EXPECT_EQ(log[1].commandLine, "ipconfig /flushdns");
    EXPECT_GE(log[1].tick - log[0].tick, 500u - 20u);
    EXPECT_EQ(log[4].commandLine, "netsh interface ipv6 set dns name=\"Ethernet\" source=dhcp");
    EXPECT_EQ(log[6].commandLine, "ipconfig /flushdns");
    EXPECT_GE(log[6].tick - log[5].tick, 500u - 20u);
    EXPECT_EQ(log[7].commandLine, "netsh interface ip set dns name=\"Ethernet\" source=dhcp");
    ASSERT_EQ(services.boxes.size(), 2u);
    // 已恢复为自动获取DNS，请手动删除浏览器缓存！ then 恢复失败，以下连接未能恢复：
    EXPECT_EQ(services.boxes[0].text,
        L"\u5df2\u6062\u590d\u4e3a\u81ea\u52a8\u83b7\u53d6DNS\uff0c\u8bf7\u624b\u52a8"
        L"\u5220\u9664\u6d4f\u89c8\u5668\u7f13\u5b58\uff01");
    EXPECT_EQ(services.boxes[1].text,
        L"\u6062\u590d\u5931\u8d25\uff0c\u4ee5\u4e0b\u8fde\u63a5\u672a\u80fd\u6062\u590d\uff1a\nEthernet");
}

// Real commands and the real registry of the test prefix; only the adapter list is made up.
class RealRegistry : public RealButBoxes {
public:
    bool HasRegGetValue() override { return real.HasRegGetValue(); }
    LONG RegistryGetValue(
        HKEY root, const char* subKey, const char* valueName, DWORD flags, void* data, DWORD* size) override
    {
        return real.RegistryGetValue(root, subKey, valueName, flags, data, size);
    }
    LONG RegistryOpenKey(HKEY root, const char* subKey, REGSAM access, HKEY* key) override
    {
        return real.RegistryOpenKey(root, subKey, access, key);
    }
    LONG RegistryQueryValue(HKEY key, const char* valueName, DWORD* type, BYTE* data, DWORD* size) override
    {
        return real.RegistryQueryValue(key, valueName, type, data, size);
    }
    void RegistryCloseKey(HKEY key) override { real.RegistryCloseKey(key); }
    LONG RegistrySetString(HKEY root, const char* subKey, const char* valueName, const std::string& text) override
    {
        return real.RegistrySetString(root, subKey, valueName, text);
    }
    LONG RegistryDeleteValue(HKEY root, const char* subKey, const char* valueName) override
    {
        return real.RegistryDeleteValue(root, subKey, valueName);
    }
};

std::string SavedValue(HKEY root, const std::string& key, const char* connection)
{
    char text[512] = {};
    DWORD size = sizeof(text);
    if (RegGetValueA(root, key.c_str(), connection, RRF_RT_REG_SZ, nullptr, text, &size) != ERROR_SUCCESS)
        return "<none>";
    return text;
}

std::string SavedValue(const char* connection)
{
    return SavedValue(HKEY_LOCAL_MACHINE, "Software\\Quoril\\SavedDns\\S-1-5-21-1-2-3-1001", connection);
}

// Saved settings live where only administrators write; what any program of the user could plant
// in the user's own hive is never read, nor written.
TEST_F(RecorderPrefix, SavedServersGoBackInOrderIncludingIpv6)
{
    RegDeleteTreeA(HKEY_LOCAL_MACHINE, "Software\\Quoril");
    const char planted[] = "ipv4=6.6.6.6,6.6.4.4;ipv6=2001:db8::66";
    ASSERT_EQ(
        RegSetKeyValueA(HKEY_CURRENT_USER, "Software\\Quoril\\SavedDns", "Ethernet", REG_SZ, planted, sizeof(planted)),
        ERROR_SUCCESS);
    RealRegistry services;
    services.dnsAdapters = {apptest::AdapterDns(L"Ethernet", {"10.0.0.53", "10.0.0.54"}, false, {"fd00::53"}, false)};
    Quoril::AdapterList list = EthernetAndDialUp();
    Quoril::CMainActions actions(services, list);
    actions.OnNotify("click", "btnFamily");
    EXPECT_EQ(SavedValue("Ethernet"), "ipv4=10.0.0.53,10.0.0.54;ipv6=fd00::53");
    DeleteFileA(m_log.c_str());
    actions.OnNotify("click", "btnRecover");

    const std::string d = Quoril::kDialUpEntryName;
    const std::vector<std::string> expected = {
        "netsh interface ip set dns name=\"Ethernet\" source=static addr=10.0.0.53 register=primary validate=no",
        "netsh interface ip add dns name=\"Ethernet\" addr=10.0.0.54 index=2 validate=no",
        "ipconfig /flushdns",
        "netsh interface ip set dns name=\"" + d + "\" source=dhcp",
        "ipconfig /flushdns",
        "netsh interface ipv6 set dns name=\"Ethernet\" source=static addr=fd00::53 register=primary validate=no",
        "netsh interface ipv6 set dns name=\"" + d + "\" source=dhcp",
        "ipconfig /flushdns",
    };
    const std::vector<LogLine> log = ReadLog(m_log);
    ASSERT_EQ(log.size(), expected.size());
    for (size_t i = 0; i < log.size(); ++i)
        EXPECT_EQ(log[i].commandLine, expected[i]) << i;
    ASSERT_EQ(services.boxes.size(), 2u);
    EXPECT_EQ(services.boxes[1].text, L"\u5df2\u6062\u590d\u539f\u6709DNS\u8bbe\u7f6e\uff01");
    EXPECT_EQ(SavedValue("Ethernet"), "<none>");
    EXPECT_EQ(SavedValue(HKEY_CURRENT_USER, "Software\\Quoril\\SavedDns", "Ethernet"), planted) << "left as found";
    RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\Quoril");
    RegDeleteTreeA(HKEY_LOCAL_MACHINE, "Software\\Quoril");
}

TEST(SystemServices, DesktopUserSidIsThisSessionsUser)
{
    // Under Wine the shell's window and this process run as the one prefix user.
    const std::string sid = Quoril::Win32Services().DesktopUserSid();
    EXPECT_EQ(sid.compare(0, 6, "S-1-5-"), 0) << sid;
    EXPECT_EQ(sid.find_first_not_of("S0123456789-"), std::string::npos) << sid;
}

TEST_F(RecorderPrefix, WaitEndsAtTheTimeoutAndKeepsDispatching)
{
    SetVariable("QUORIL_RECORDER_DELAY_MS", "2500");
    static int ticks = 0;
    ticks = 0;
    const UINT_PTR timer = SetTimer(nullptr, 0, 30, [](HWND, UINT, UINT_PTR, DWORD) { ++ticks; });
    const DWORD start = GetTickCount();
    const Quoril::TCommandResult result
        = Quoril::Win32Services().RunHidden(m_system + "\\netsh.exe", "netsh hang", 600);
    const DWORD elapsed = GetTickCount() - start;
    KillTimer(nullptr, timer);
    EXPECT_EQ(result.outcome, Quoril::TCommandResult::TimedOut);
    EXPECT_GE(elapsed, 580u);
    EXPECT_LT(elapsed, 2000u);
    EXPECT_GE(ticks, 5);  // the thread's messages were dispatched while waiting
    Sleep(2500);  // let the left-alone process finish before the files are restored
}

TEST_F(RecorderPrefix, FlushNeedsTheBlankWhenStartedWithoutAShell)
{
    // What running "ipconfig/flushdns" as a command line without an application name does.
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process = {};
    char line[] = "ipconfig/flushdns";
    EXPECT_FALSE(
        CreateProcessA(nullptr, line, nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr, nullptr, &startup, &process));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));

    const Quoril::TCommandResult result
        = Quoril::Win32Services().RunHidden(m_system + "\\ipconfig.exe", Quoril::kFlushCommandLine, 10000);
    EXPECT_TRUE(Quoril::CommandSucceeded(result));
    const std::vector<LogLine> log = ReadLog(m_log);
    ASSERT_EQ(log.size(), 1u);
    EXPECT_EQ(log[0].commandLine, "ipconfig /flushdns");
    EXPECT_EQ(Lower(log[0].module), Lower(m_system + "\\ipconfig.exe"));
}

TEST(SystemServices, PauseLastsItsTimeAndKeepsDispatching)
{
    static int ticks = 0;
    ticks = 0;
    const UINT_PTR timer = SetTimer(nullptr, 0, 30, [](HWND, UINT, UINT_PTR, DWORD) { ++ticks; });
    const DWORD start = GetTickCount();
    Quoril::Win32Services().Pause(400);
    const DWORD elapsed = GetTickCount() - start;
    KillTimer(nullptr, timer);
    EXPECT_GE(elapsed, 380u);
    EXPECT_LT(elapsed, 2000u);
    EXPECT_GE(ticks, 5) << "the window keeps painting during the pauses between phases";
    EXPECT_TRUE(Quoril::Win32Services().IsElevated()) << "the test prefix runs as an administrator";
}

TEST(SystemServices, MissingProgramIsNotStarted)
{
    const Quoril::TCommandResult result
        = Quoril::Win32Services().RunHidden(SystemFolder() + "\\quoril-no-such-tool.exe", "x", 1000);
    EXPECT_EQ(result.outcome, Quoril::TCommandResult::NotStarted);
    EXPECT_FALSE(Quoril::CommandSucceeded(result));
}

TEST(SystemServices, RealDiscoveryKeepsTheProcessAlive)
{
    // Under Wine the router configuration is missing and its name look-up would abort the process;
    // reaching the assertions is the test.
    Quoril::AdapterList list;
    Quoril::DiscoverAdapters(Quoril::Win32Services(), list);
    ASSERT_FALSE(list.empty());
    EXPECT_STREQ(list.back().name.GetData(), Quoril::kDialUpEntryName);
    EXPECT_FALSE(list.back().discovered);
    for (size_t i = 0; i + 1 < list.size(); ++i) {
        EXPECT_TRUE(list[i].discovered);
        EXPECT_FALSE(list[i].displayName.empty());
        for (size_t j = i + 1; j + 1 < list.size(); ++j)
            EXPECT_NE(list[i].displayName, list[j].displayName);
    }
}

// The real page-opening call, recorded with its answer; the browser is the recorder.
class RealPages : public apptest::FakeServices {
public:
    Quoril::ISystemServices& real = Quoril::Win32Services();
    std::vector<std::string> pages;
    bool OpenPageAsDesktopUser(const std::string& url) override
    {
        const bool opened = real.OpenPageAsDesktopUser(url);
        pages.push_back(opened ? "desktop opened" : "desktop refused");
        return opened;
    }
};

// Lines of either log (ours, or the default one of a recorder started by the shell with the
// shell's own environment) whose command line names `page`, once the starts have settled.
std::vector<LogLine> StartsOf(const std::string& page, const std::vector<std::string>& logs)
{
    std::vector<LogLine> starts;
    for (int waited = 0; waited < 100; ++waited) {
        Sleep(100);
        std::vector<LogLine> found;
        for (const std::string& log : logs)
            for (const LogLine& line : ReadLog(log))
                if (line.commandLine.find(page) != std::string::npos)
                    found.push_back(line);
        if (!found.empty() && found.size() == starts.size())
            return found;  // nothing more for 100 ms: a second, unwanted start would show by now
        starts = found;
    }
    return starts;
}

// With COM on the thread the desktop shell (Wine's too) opens the address itself, with the
// browser the user's http class names, and the program starts nothing. Where the shell cannot be
// reached (no COM on the thread) nothing starts at all: the message gives the address instead.
TEST_F(RecorderPrefix, PagesOpenThroughTheDesktopShellOrNotAtAll)
{
    const std::string shellLog = "C:\\quoril-recorder.log";
    // The shell finds the browser through the http class, here the recorder; the prefix's own
    // command is put back afterwards.
    const char httpCommand[] = "http\\shell\\open\\command";
    char previous[1024] = {};
    DWORD previousSize = sizeof(previous);
    const bool hadPrevious
        = RegGetValueA(HKEY_CLASSES_ROOT, httpCommand, nullptr, RRF_RT_REG_SZ, nullptr, previous, &previousSize)
        == ERROR_SUCCESS;
    const std::string command = "\"" + m_recorder + "\" %1";
    ASSERT_EQ(RegSetKeyValueA(HKEY_CLASSES_ROOT, httpCommand, nullptr, REG_SZ, command.c_str(),
                  static_cast<DWORD>(command.size() + 1)),
        ERROR_SUCCESS);
    struct Case {
        bool com;
        std::vector<std::string> calls;
        size_t starts;
        size_t boxes;
    } cases[] = {{true, {"desktop opened"}, 1, 0}, {false, {"desktop refused"}, 0, 1}};
    for (const Case& c : cases) {
        RealPages services;
        Quoril::AdapterList list = EthernetAndDialUp();
        Quoril::CMainActions actions(services, list);
        actions.SetEnglish(true);
        std::thread clicker([&] {
            if (c.com)
                CoInitialize(nullptr);
            actions.OnNotify("click", "btnURL");
            if (c.com)
                CoUninitialize();
        });
        clicker.join();
        EXPECT_EQ(services.pages, c.calls) << "COM " << c.com;
        EXPECT_EQ(StartsOf(Quoril::kHomePageUrl, {m_log, shellLog}).size(), c.starts) << "COM " << c.com;
        ASSERT_EQ(services.boxes.size(), c.boxes) << "COM " << c.com;
        if (c.boxes) {
            const std::string url = Quoril::kHomePageUrl;
            EXPECT_EQ(services.boxes[0].text,
                L"The page could not be opened as your user. Please open it in your browser:\n"
                    + std::wstring(url.begin(), url.end()));
        }
        DeleteFileA(m_log.c_str());
        DeleteFileA(shellLog.c_str());
    }
    if (hadPrevious)
        RegSetKeyValueA(HKEY_CLASSES_ROOT, httpCommand, nullptr, REG_SZ, previous, previousSize);
}

TEST(SystemServices, RealAdapterDnsListIsPlainBoundedAndKnowsServersSetByHand)
{
    std::vector<Quoril::TAdapterDns> adapters;
    ASSERT_TRUE(Quoril::Win32Services().AdapterDnsSettings(adapters));
    ASSERT_FALSE(adapters.empty());
    for (const Quoril::TAdapterDns& adapter : adapters) {
        EXPECT_FALSE(adapter.friendlyName.empty());
        for (const Quoril::TFamilyDns* family : {&adapter.ipv4, &adapter.ipv6}) {
            EXPECT_LE(family->servers.size(), 16u);
            for (const std::string& server : family->servers)
                EXPECT_TRUE(Quoril::IsPlainAddress(server.c_str())) << server;
        }
    }

    // Servers set by hand live in the interface's "NameServer" value (in the test prefix only).
    using GetAdaptersAddressesFn = ULONG(WINAPI*)(ULONG, ULONG, PVOID, PIP_ADAPTER_ADDRESSES, PULONG);
    auto getAddresses
        = SkinUI::LookUpProc<GetAdaptersAddressesFn>(SkinUI::LoadSystemLibrary("iphlpapi.dll"), "GetAdaptersAddresses");
    ASSERT_NE(getAddresses, nullptr);
    std::vector<unsigned char> block(64 * 1024);
    ULONG size = static_cast<ULONG>(block.size());
    ASSERT_EQ(getAddresses(AF_UNSPEC, 0, nullptr, reinterpret_cast<PIP_ADAPTER_ADDRESSES>(block.data()), &size),
        static_cast<ULONG>(NO_ERROR));
    const auto* first = reinterpret_cast<PIP_ADAPTER_ADDRESSES>(block.data());
    ASSERT_TRUE(first->AdapterName && first->FriendlyName);
    const std::wstring friendly = first->FriendlyName;
    const std::string key
        = std::string("SYSTEM\\CurrentControlSet\\Services\\Tcpip\\Parameters\\Interfaces\\") + first->AdapterName;
    // The list set by hand is read from the value itself; one that cannot be read whole is not known.
    const std::string tooLong = "10.0.0.1" + std::string(1100, ' ') + "10.0.0.2";
    struct Case {
        std::string nameServer;
        bool dhcp;
        bool known;
        std::vector<std::string> servers;
    } const cases[] = {
        {"10.0.0.53,10.0.0.54", false, true, {"10.0.0.53", "10.0.0.54"}},
        {"10.0.0.55 10.0.0.56", false, true, {"10.0.0.55", "10.0.0.56"}},
        {" , ", true, true, {}},
        {"", true, true, {}},
        {"10.0.0.53 & calc", false, false, {}},
        {tooLong, false, false, {}},
    };
    const std::string key6
        = "SYSTEM\\CurrentControlSet\\Services\\Tcpip6\\Parameters\\Interfaces\\" + std::string(first->AdapterName);
    for (const Case& c : cases) {
        for (const std::string* stack : {&key, &key6}) {
            const bool ipv6 = stack == &key6;
            ASSERT_EQ(RegSetKeyValueA(HKEY_LOCAL_MACHINE, stack->c_str(), "NameServer", REG_SZ, c.nameServer.c_str(),
                          static_cast<DWORD>(c.nameServer.size() + 1)),
                ERROR_SUCCESS);
            ASSERT_TRUE(Quoril::Win32Services().AdapterDnsSettings(adapters));
            const Quoril::TAdapterDns* found = Quoril::FindAdapterDns(adapters, friendly);
            ASSERT_NE(found, nullptr);
            const Quoril::TFamilyDns& family = ipv6 ? found->ipv6 : found->ipv4;
            const Quoril::TFamilyDns& other = ipv6 ? found->ipv4 : found->ipv6;
            EXPECT_EQ(family.dhcp, c.dhcp) << c.nameServer << " ipv6 " << ipv6;
            EXPECT_EQ(family.known, c.known) << c.nameServer << " ipv6 " << ipv6;
            if (!c.dhcp) {
                EXPECT_EQ(family.servers, c.servers) << c.nameServer << " ipv6 " << ipv6;
            }
            EXPECT_TRUE(other.dhcp && other.known) << "each stack keeps its own value";
            RegDeleteKeyValueA(HKEY_LOCAL_MACHINE, stack->c_str(), "NameServer");
        }
    }
    RegDeleteTreeA(HKEY_LOCAL_MACHINE, key.c_str());
}
