#include "app/MainActions.h"

#include "app/CommandLine.h"
#include "app/DnsProfiles.h"
#include "app/DnsStatus.h"
#include "app/SavedDns.h"
#include "app/TextConversion.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace Quoril {

namespace {

enum Profile { BlockingProfile, PureProfile, FamilyProfile, ProfileCount };
static_assert(ProfileCount == kProfileCount, "one address table entry per profile button");

const DWORD kProfilePauseMs = 400;
const DWORD kRestorePauseMs = 500;
const int kStartAttempts = 3;
const DWORD kStartRetryPauseMs = 100;

// Every message the actions show, in one language. The Chinese set is code page 936 bytes, shown
// through the wide API after an explicit conversion, so it reads correctly whatever the system's
// ANSI code page is; the English set is written wide.
template <typename Text> struct TMessageTexts {
    Text caption;
    Text profileDone[ProfileCount];
    Text restoreDone;
    Text previousRestored;
    Text profileFailed;
    Text restoreFailed;
    Text notElevated;
    Text noConnection;
    Text notConnectedSet;
    Text notConnectedSkipped;
    Text pageNotOpened;
};

const TMessageTexts<const char*> kChinese = {
    // 提示
    "\xcc\xe1\xca\xbe",
    {
        // 设置成功（拦截版模式）！
        "\xc9\xe8\xd6\xc3\xb3\xc9\xb9\xa6\xa3\xa8\xc0\xb9\xbd\xd8\xb0\xe6\xc4\xa3\xca\xbd\xa3\xa9\xa3\xa1",
        // 设置成功（纯净版模式）！
        "\xc9\xe8\xd6\xc3\xb3\xc9\xb9\xa6\xa3\xa8\xb4\xbf\xbe\xbb\xb0\xe6\xc4\xa3\xca\xbd\xa3\xa9\xa3\xa1",
        // 设置成功（家庭版模式）！
        "\xc9\xe8\xd6\xc3\xb3\xc9\xb9\xa6\xa3\xa8\xbc\xd2\xcd\xa5\xb0\xe6\xc4\xa3\xca\xbd\xa3\xa9\xa3\xa1",
    },
    // 已恢复为自动获取DNS，请手动删除浏览器缓存！
    "\xd2\xd1\xbb\xd6\xb8\xb4\xce\xaa\xd7\xd4\xb6\xaf\xbb\xf1\xc8\xa1\x44\x4e\x53\xa3\xac\xc7\xeb\xca\xd6"
    "\xb6\xaf\xc9\xbe\xb3\xfd\xe4\xaf\xc0\xc0\xc6\xf7\xbb\xba\xb4\xe6\xa3\xa1",
    // 已恢复原有DNS设置！
    "\xd2\xd1\xbb\xd6\xb8\xb4\xd4\xad\xd3\xd0\x44\x4e\x53\xc9\xe8\xd6\xc3\xa3\xa1",
    // 设置失败，以下连接未能设置：
    "\xc9\xe8\xd6\xc3\xca\xa7\xb0\xdc\xa3\xac\xd2\xd4\xcf\xc2\xc1\xac\xbd\xd3\xce\xb4\xc4\xdc\xc9\xe8\xd6\xc3"
    "\xa3\xba",
    // 恢复失败，以下连接未能恢复：
    "\xbb\xd6\xb8\xb4\xca\xa7\xb0\xdc\xa3\xac\xd2\xd4\xcf\xc2\xc1\xac\xbd\xd3\xce\xb4\xc4\xdc\xbb\xd6\xb8\xb4"
    "\xa3\xba",
    // 需要管理员权限才能修改DNS设置，请以管理员身份运行本程序！
    "\xd0\xe8\xd2\xaa\xb9\xdc\xc0\xed\xd4\xb1\xc8\xa8\xcf\xde\xb2\xc5\xc4\xdc\xd0\xde\xb8\xc4\x44\x4e\x53\xc9\xe8"
    "\xd6\xc3\xa3\xac\xc7\xeb\xd2\xd4\xb9\xdc\xc0\xed\xd4\xb1\xc9\xed\xb7\xdd\xd4\xcb\xd0\xd0\xb1\xbe\xb3\xcc"
    "\xd0\xf2\xa3\xa1",
    // 未找到网络连接！
    "\xce\xb4\xd5\xd2\xb5\xbd\xcd\xf8\xc2\xe7\xc1\xac\xbd\xd3\xa3\xa1",
    // 以下连接未连接，将在连接后生效：
    "\xd2\xd4\xcf\xc2\xc1\xac\xbd\xd3\xce\xb4\xc1\xac\xbd\xd3\xa3\xac\xbd\xab\xd4\xda\xc1\xac\xbd\xd3\xba\xf3"
    "\xc9\xfa\xd0\xa7\xa3\xba",
    // 以下连接未连接，已跳过：
    "\xd2\xd4\xcf\xc2\xc1\xac\xbd\xd3\xce\xb4\xc1\xac\xbd\xd3\xa3\xac\xd2\xd1\xcc\xf8\xb9\xfd\xa3\xba",
    // 无法以当前用户身份打开网页，请在浏览器中手动打开：
    "\xce\xde\xb7\xa8\xd2\xd4\xb5\xb1\xc7\xb0\xd3\xc3\xbb\xa7\xc9\xed\xb7\xdd\xb4\xf2\xbf\xaa\xcd\xf8\xd2\xb3"
    "\xa3\xac\xc7\xeb\xd4\xda\xe4\xaf\xc0\xc0\xc6\xf7\xd6\xd0\xca\xd6\xb6\xaf\xb4\xf2\xbf\xaa\xa3\xba",
};

const TMessageTexts<const wchar_t*> kEnglish = {
    L"Notice",
    {
        L"Settings applied (Intercept Mode)!",
        L"Settings applied (Non-Intercept Mode)!",
        L"Settings applied (Family Mode)!",
    },
    L"DNS is obtained automatically again. Please clear your browser cache manually.",
    L"Your previous DNS settings are restored.",
    L"Setting failed. These connections could not be set:",
    L"Reset failed. These connections could not be reset:",
    L"Administrator rights are needed to change the DNS settings. Please run the program as administrator.",
    L"No network connection was found.",
    L"Not connected, set when it connects:",
    L"Not connected, skipped:",
    L"The page could not be opened as your user. Please open it in your browser:",
};

std::wstring Widened(const wchar_t* text) { return text; }
std::wstring Widened(const char* text) { return WideFromCodePage936(text); }

template <typename Text> TMessageTexts<std::wstring> Widened(const TMessageTexts<Text>& texts)
{
    TMessageTexts<std::wstring> wide;
    wide.caption = Widened(texts.caption);
    for (int i = 0; i < ProfileCount; ++i)
        wide.profileDone[i] = Widened(texts.profileDone[i]);
    wide.restoreDone = Widened(texts.restoreDone);
    wide.previousRestored = Widened(texts.previousRestored);
    wide.profileFailed = Widened(texts.profileFailed);
    wide.restoreFailed = Widened(texts.restoreFailed);
    wide.notElevated = Widened(texts.notElevated);
    wide.noConnection = Widened(texts.noConnection);
    wide.notConnectedSet = Widened(texts.notConnectedSet);
    wide.notConnectedSkipped = Widened(texts.notConnectedSkipped);
    wide.pageNotOpened = Widened(texts.pageNotOpened);
    return wide;
}

TMessageTexts<std::wstring> Messages(bool english) { return english ? Widened(kEnglish) : Widened(kChinese); }

bool NameIs(const char* name, const char* expected) { return std::strcmp(name, expected) == 0; }

void AppendNames(std::wstring& text, const std::wstring& heading, const std::vector<const TAdapterName*>& names)
{
    if (names.empty())
        return;
    text += L"\n" + heading;
    for (const TAdapterName* adapter : names)
        text += L"\n" + adapter->displayName;
}

}  // namespace

// How each list entry fared so far, per address family. Set: every command for it succeeded.
// Kept: its own settings could not be known or saved, so it gets no command at all. The IPv6 state
// counts only where the adapter list shows an IPv6 interface: a connection without IPv6 refuses
// every IPv6 command. `adapters` is the adapter list as the action found it, `dns` each entry's
// adapter in it (null: not listed, or the list could not be read).
struct CMainActions::TOutcome {
    enum State { Set, Failed, StillRunning, Kept };
    std::vector<State> entries;
    std::vector<State> ipv6;
    std::vector<int> ipv4Done;  // IPv4 commands that succeeded, per entry
    std::vector<TAdapterDns> adapters;
    std::vector<const TAdapterDns*> dns;
    explicit TOutcome(size_t count)
        : entries(count, Set)
        , ipv6(count, Set)
        , ipv4Done(count, 0)
        , dns(count, nullptr)
    {
    }
};

CMainActions::CMainActions(ISystemServices& services, AdapterList& adapters)
    : m_services(services)
    , m_adapters(adapters)
{
}

bool CMainActions::SetClosing(bool closing)
{
    m_closing = closing;
    if (closing && m_busy) {
        m_closeHeld = true;
        return false;
    }
    return true;
}

void CMainActions::DiscoverAdapters() { Quoril::DiscoverAdapters(m_services, m_adapters); }

void CMainActions::RefreshStatus()
{
    if (m_statusSink)
        m_statusSink(CurrentDnsStatusText(m_services, m_adapters, m_english));
}

void CMainActions::OnNotify(const char* type, const char* senderName)
{
    if (!type || !senderName || !NameIs(type, "click"))
        return;
    // A click while closing comes from the host releasing a held button; a click while busy comes
    // through the message pump of a running action. Neither may start anything.
    if (m_closing || m_busy)
        return;
    if (NameIs(senderName, "btnMin")) {
        m_services.MinimiseWindow(m_owner);
    } else if (NameIs(senderName, "btnClose")) {
        m_services.PostClose(m_owner);
    } else if (NameIs(senderName, "btnOpen")) {
        ApplyProfile(BlockingProfile);
    } else if (NameIs(senderName, "btnPure")) {
        ApplyProfile(PureProfile);
    } else if (NameIs(senderName, "btnFamily")) {
        ApplyProfile(FamilyProfile);
    } else if (NameIs(senderName, "btnTest")) {
        OpenWebPage(kBlockingTestUrl);
    } else if (NameIs(senderName, "btnRecover")) {
        RestoreAutomatic();
    } else if (NameIs(senderName, "btnURL")) {
        OpenWebPage(kHomePageUrl);
    }
}

void CMainActions::BeginAction()
{
    m_busy = true;
    m_services.EnableOwner(m_owner, false);
    if (m_statusSink)
        m_statusSink(ApplyingStatusText(m_english));
}

void CMainActions::EndAction()
{
    m_busy = false;
    if (m_closeHeld) {
        m_closeHeld = false;
        m_services.PostClose(m_owner);
    }
}

bool CMainActions::RunForEntry(TOutcome& outcome, size_t entry, IpFamily family, const char* address, int position)
{
    // A command for this connection that never ended may still be changing it; starting another
    // now would race it, which is what waiting for each command is there to prevent. A failed
    // command may have left it half set (set-primary failed, then only the second and third
    // servers), and a connection whose own settings could not be known or saved is kept as it is: after any
    // of these it gets nothing more in this action.
    TOutcome::State& state = family == IpFamily::Ipv6 ? outcome.ipv6[entry] : outcome.entries[entry];
    if (outcome.entries[entry] != TOutcome::Set || state != TOutcome::Set)
        return false;
    const TAdapterName& adapter = m_adapters[entry];
    const std::string name = adapter.name.GetData();
    std::string line;
    const bool built = address ? BuildDnsServerCommandLine(family, name, address, position, line)
                               : BuildDnsDhcpCommandLine(family, name, line);
    if (!adapter.addressable || !built) {
        state = TOutcome::Failed;
        return false;
    }
    const TCommandResult result = RunSystemTool(kNetshProgram, line);
    if (result.outcome == TCommandResult::TimedOut)
        state = TOutcome::StillRunning;
    else if (!CommandSucceeded(result))
        state = TOutcome::Failed;
    else if (family == IpFamily::Ipv4)
        ++outcome.ipv4Done[entry];
    return true;
}

// Puts `servers` in place for one entry and family, in order; with none, back to DHCP. An IPv6
// list stops at its first failure (a connection without IPv6 refuses them all) and is not tried
// where IPv4 failed. True when any command was started.
bool CMainActions::RunServerList(
    TOutcome& outcome, size_t entry, IpFamily family, const std::vector<const char*>& servers)
{
    bool ran = false;
    const size_t commands = servers.empty() ? 1 : servers.size();
    for (size_t i = 0; i < commands; ++i) {
        // IPv6 follows a connection's IPv4 only when that went through.
        if (family == IpFamily::Ipv6
            && (outcome.entries[entry] != TOutcome::Set || outcome.ipv6[entry] != TOutcome::Set))
            break;
        const char* address = servers.empty() ? nullptr : servers[i];
        ran = RunForEntry(outcome, entry, family, address, static_cast<int>(i + 1)) || ran;
    }
    return ran;
}

void CMainActions::ReadAdapters(TOutcome& outcome)
{
    if (!m_services.AdapterDnsSettings(outcome.adapters))
        outcome.adapters.clear();
    for (size_t i = 0; i < m_adapters.size(); ++i)
        outcome.dns[i] = FindAdapterDns(outcome.adapters, m_adapters[i].displayName);
}

// Saves each connection's own settings before a profile changes it (SavedDns.h). A connection
// whose settings cannot be known (the adapter list unread, the connection missing from it, a list
// set by hand that cannot be read) or cannot be stored is left alone: changing it could lose them
// for good. The fixed dial-up entry is tried blind as it always was: it rarely exists, and where it
// is not listed it has nothing to lose.
void CMainActions::SaveOwnSettings(TOutcome& outcome)
{
    const std::string key = SavedDnsKey(m_services);
    for (size_t i = 0; i < m_adapters.size(); ++i) {
        const TAdapterName& adapter = m_adapters[i];
        const TAdapterDns* dns = outcome.dns[i];
        if (!adapter.addressable || (!dns && !adapter.discovered))
            continue;
        if (!dns || !dns->ipv4.known || !dns->ipv6.known) {
            outcome.entries[i] = TOutcome::Kept;
            continue;
        }
        const std::string name = adapter.name.GetData();
        TSavedDns previous;
        const bool saved = LoadSavedDns(m_services, key, name, previous);
        const TSavedDns own = OwnSettings(*dns, saved ? &previous : nullptr);
        if (saved && FormatSavedDns(own) == FormatSavedDns(previous))
            continue;
        if (!StoreSavedDns(m_services, key, name, own))
            outcome.entries[i] = TOutcome::Kept;
    }
}

void CMainActions::RunFlush()
{
    // The flush's own result does not decide the outcome: a connection is set or not regardless.
    RunSystemTool(kIpconfigProgram, kFlushCommandLine);
}

// A command that could not even be started changed nothing, so starting it again is safe. The
// system may refuse a start for a moment (process creation has been seen to fail about once in
// 1,500 starts under load); that must not turn into a connection reported as failed.
TCommandResult CMainActions::RunSystemTool(const char* program, const std::string& line)
{
    TCommandResult result;  // not started unless the system folder is known
    const std::string folder = m_services.SystemFolder();
    if (folder.empty())
        return result;
    for (int attempt = 1;; ++attempt) {
        result = m_services.RunHidden(folder + "\\" + program, line, kCommandTimeoutMs);
        if (result.outcome != TCommandResult::NotStarted || attempt == kStartAttempts)
            return result;
        m_services.Pause(kStartRetryPauseMs);
    }
}

void CMainActions::ApplyProfile(int profile)
{
    const TDnsProfile& servers = *kProfileAddresses[profile].ipv4;
    struct TPhase {
        int position;
        const char* address;
    };
    const TPhase phases[] = {{1, servers.primary}, {2, servers.second}, {3, servers.third}};

    if (!CanConfigure())
        return;
    BeginAction();
    TOutcome outcome(m_adapters.size());
    ReadAdapters(outcome);
    SaveOwnSettings(outcome);
    for (const TPhase& phase : phases) {
        if (!phase.address)
            continue;  // the family profile has no third server, and no third flush
        for (size_t i = 0; i < m_adapters.size(); ++i)
            RunForEntry(outcome, i, IpFamily::Ipv4, phase.address, phase.position);
        m_services.Pause(kProfilePauseMs);
        RunFlush();
    }
    const TDnsProfile& ipv6 = *kProfileAddresses[profile].ipv6;
    std::vector<const char*> ipv6Servers;
    for (const char* address : {ipv6.primary, ipv6.second, ipv6.third}) {
        if (address)
            ipv6Servers.push_back(address);
    }
    RunIpv6Phase(outcome, std::vector<std::vector<const char*>>(m_adapters.size(), ipv6Servers), kProfilePauseMs);
    const TMessageTexts<std::wstring> texts = Messages(m_english);
    Report(outcome, texts.profileDone[profile], texts.profileFailed);
}

// Every entry's IPv6 list after all IPv4 commands, then one flush when anything ran.
void CMainActions::RunIpv6Phase(TOutcome& outcome, const std::vector<std::vector<const char*>>& servers, DWORD pauseMs)
{
    bool ran = false;
    for (size_t i = 0; i < m_adapters.size(); ++i)
        ran = RunServerList(outcome, i, IpFamily::Ipv6, servers[i]) || ran;
    if (ran) {
        m_services.Pause(pauseMs);
        RunFlush();
    }
}

void CMainActions::RestoreAutomatic()
{
    if (!CanConfigure())
        return;
    BeginAction();
    TOutcome outcome(m_adapters.size());
    ReadAdapters(outcome);
    const std::string key = SavedDnsKey(m_services);
    std::vector<TSavedDns> saved(m_adapters.size());
    std::vector<std::vector<const char*>> ipv6(m_adapters.size());
    bool anyStatic = false;
    for (size_t i = 0; i < m_adapters.size(); ++i) {
        if (m_adapters[i].addressable)
            LoadSavedDns(m_services, key, m_adapters[i].name.GetData(), saved[i]);  // none or malformed: DHCP
        anyStatic = anyStatic || !saved[i].ipv4.dhcp || !saved[i].ipv6.dhcp;
        ipv6[i] = StaticServers(saved[i].ipv6);
        if (!RunServerList(outcome, i, IpFamily::Ipv4, StaticServers(saved[i].ipv4)))
            continue;  // nothing was changed, so nothing to wait for or flush
        m_services.Pause(kRestorePauseMs);
        RunFlush();
    }
    RunIpv6Phase(outcome, ipv6, kRestorePauseMs);
    // What is back in place is no longer needed (nor is a malformed value, which would otherwise
    // block every later save); what is not back stays for the next restore.
    for (size_t i = 0; i < m_adapters.size(); ++i) {
        const bool ipv6Back = outcome.ipv6[i] == TOutcome::Set || saved[i].ipv6.dhcp;
        if (outcome.entries[i] == TOutcome::Set && ipv6Back)
            ForgetSavedDns(m_services, key, m_adapters[i].name.GetData());
    }
    const TMessageTexts<std::wstring> texts = Messages(m_english);
    Report(outcome, anyStatic ? texts.previousRestored : texts.restoreDone, texts.restoreFailed);
}

std::vector<const char*> CMainActions::StaticServers(const TFamilyDns& family)
{
    std::vector<const char*> servers;
    if (!family.dhcp) {
        for (const std::string& server : family.servers)
            servers.push_back(server.c_str());
    }
    return servers;
}

// Without administrator rights every command would fail, and with no connection discovered only
// the fixed dial-up entry would be tried; either way one plain message says why instead.
bool CMainActions::CanConfigure()
{
    const TMessageTexts<std::wstring> texts = Messages(m_english);
    const std::wstring* reason = nullptr;
    if (!m_services.IsElevated())
        reason = &texts.notElevated;
    else if (std::none_of(m_adapters.begin(), m_adapters.end(), [](const TAdapterName& a) { return a.discovered; }))
        reason = &texts.noConnection;
    if (reason == nullptr)
        return true;
    Conclude(reason == &texts.notElevated ? TResult::NotElevated : TResult::NoConnection, *reason, texts.caption);
    return false;
}

// Success needs every discovered connection set (IPv6 too where it has IPv6) and at least one entry
// set at all. The dial-up entry is always tried but rarely exists, so its failure alone does not
// count, and it is named only when nothing else failed (then it is why nothing was set). A
// connection that is not connected is named apart: set, to take effect when it connects, or
// skipped where netsh refused it before changing anything; refused half-way, it failed.
// What netsh does there: an interface's servers are part of its configuration (its "NameServer"
// value), which a media-disconnected adapter (cable out, Wi-Fi not associated, an idle VPN) keeps:
// netsh writes them and exits 0, and they are used once it connects. A disabled adapter has no IP
// interface for netsh to name, and netsh ends with an error. The outcome is judged from the exit
// codes either way, so whichever it does, the message says what happened; a command that never
// ended may still be changing the connection, so that is a failure, never "skipped".
void CMainActions::Report(const TOutcome& outcome, const std::wstring& successText, const std::wstring& failureText)
{
    const TMessageTexts<std::wstring> texts = Messages(m_english);
    bool anySucceeded = false;
    std::vector<const TAdapterName*> failedDiscovered;
    std::vector<const TAdapterName*> failedFixed;
    std::vector<const TAdapterName*> waiting;
    std::vector<const TAdapterName*> skipped;
    for (size_t i = 0; i < m_adapters.size(); ++i) {
        const TAdapterDns* dns = outcome.dns[i];
        const bool ipv6Counts = dns != nullptr && dns->ipv6Enabled;
        const bool set = outcome.entries[i] == TOutcome::Set && (outcome.ipv6[i] == TOutcome::Set || !ipv6Counts);
        const bool notConnected = dns != nullptr && !dns->connected;
        anySucceeded = anySucceeded || outcome.entries[i] == TOutcome::Set;
        if (set && notConnected)
            waiting.push_back(&m_adapters[i]);
        else if (set)
            continue;
        else if (notConnected && outcome.entries[i] == TOutcome::Failed && outcome.ipv4Done[i] == 0)
            skipped.push_back(&m_adapters[i]);
        else if (m_adapters[i].discovered)
            failedDiscovered.push_back(&m_adapters[i]);
        else
            failedFixed.push_back(&m_adapters[i]);
    }
    std::wstring text;
    const bool done = anySucceeded && failedDiscovered.empty();
    if (done) {
        text = successText;
    } else {
        text = failureText;
        for (const TAdapterName* adapter : failedDiscovered.empty() ? failedFixed : failedDiscovered)
            text += L"\n" + adapter->displayName;
    }
    AppendNames(text, texts.notConnectedSet, waiting);
    AppendNames(text, texts.notConnectedSkipped, skipped);
    m_services.EnableOwner(m_owner, true);
    RefreshStatus();
    Conclude(done ? TResult::Done : TResult::Failed, text, texts.caption);
    EndAction();
}

void CMainActions::Conclude(TResult::Kind kind, const std::wstring& text, const std::wstring& caption)
{
    m_lastResult.kind = kind;
    m_lastResult.text = text;
    if (!m_quiet)
        m_services.ShowMessageBox(m_owner, text, caption, MB_OK | MB_TASKMODAL);
}

void CMainActions::OpenWebPage(const char* url)
{
    // The program runs elevated; the browser must not, and neither may any program a registry entry
    // the user can write names. Only the desktop's shell, as the desktop's user, opens the page;
    // where it cannot, the user is shown the address to open it themselves.
    if (m_services.OpenPageAsDesktopUser(url))
        return;
    const TMessageTexts<std::wstring> texts = Messages(m_english);
    const std::string address(url);
    m_services.ShowMessageBox(m_owner, texts.pageNotOpened + L"\n" + std::wstring(address.begin(), address.end()),
        texts.caption, MB_OK | MB_TASKMODAL);
}

}  // namespace Quoril
