// CMainActions: what the main window's buttons do.
//
// The window forwards each notification's type and sender name; only "click" from one of eight
// exact, case-sensitive names does anything: minimise, close, the three DNS profiles, restoring
// automatic DNS, and the two web pages. Every OS call goes through ISystemServices.
//
// A profile or restore runs its netsh and ipconfig commands one after another on the UI thread,
// each waited for (at most kCommandTimeoutMs) with the window still painting; a command whose
// start was refused is started again (three tries in all), and a connection whose command failed
// or did not end in time gets no further command in that action. Then it tells the
// user the outcome (or, before anything runs, that the program is not elevated or that no connection
// was found): the success text only when every discovered connection was fully set and at
// least one list entry was; otherwise a failure text naming the connections. While an action runs
// the window is disabled and further clicks are ignored; a close request that arrives meanwhile is
// held and re-posted when the action ends. Message texts follow the window's layout language.
//
// Before a profile changes a connection its own settings are saved (SavedDns.h); restore puts
// them back, DHCP where it was DHCP. After all IPv4 commands each connection gets the same servers
// on IPv6; an IPv6 failure fails the connection where it has IPv6. A connection that is not
// connected is reported apart, set or skipped. The status sink hears "applying" when an action
// starts and what is in force before its message. Web pages open only through the desktop's
// shell, as the desktop's user; where it cannot, a message gives the address.
#pragma once

#include "app/AdapterDiscovery.h"
#include "app/CommandLine.h"
#include "app/SystemServices.h"

#include <functional>
#include <string>
#include <vector>

namespace Quoril {

class CMainActions {
public:
    static constexpr DWORD kCommandTimeoutMs = 30000;

    explicit CMainActions(ISystemServices& services = Win32Services(), AdapterList& adapters = AdapterNameList());
    CMainActions(const CMainActions&) = delete;
    CMainActions& operator=(const CMainActions&) = delete;

    // The main window: owner of the message boxes, target of minimise and close.
    void SetOwner(HWND owner) { m_owner = owner; }
    // True when the English layout is in use; messages are then in English.
    void SetEnglish(bool english) { m_english = english; }
    // The window's close handler calls this first. While closing, clicks are ignored (the host's
    // synthetic button-up during close must not start an action). Returns false while an action
    // is running: the handler must then keep the window (the close is re-posted afterwards).
    bool SetClosing(bool closing);
    bool IsBusy() const { return m_busy; }

    // Receives the status line's text: what is in force, or that an action runs.
    void SetStatusSink(std::function<void(const std::wstring&)> sink) { m_statusSink = std::move(sink); }
    // Reads back what is in force and hands it to the status sink (after start-up; every action
    // does it itself before its message).
    void RefreshStatus();

    // The ready hook: fills the connection list.
    void DiscoverAdapters();

    // A notification of `type` from the control named `senderName` (either may be null).
    void OnNotify(const char* type, const char* senderName);

    // How the last DNS action ended, and the text its message gives (the command line's output).
    struct TResult {
        enum Kind { None, Done, Failed, NotElevated, NoConnection };
        Kind kind = None;
        std::wstring text;
    };
    const TResult& LastResult() const { return m_lastResult; }
    // True: the actions show no message box about a DNS action (the command line's /quiet).
    void SetQuiet(bool quiet) { m_quiet = quiet; }

private:
    struct TOutcome;
    void ApplyProfile(int profile);
    void RestoreAutomatic();
    void OpenWebPage(const char* url);
    // False, after telling the user why, when no DNS action can work: not elevated, or no
    // connection discovered.
    bool CanConfigure();
    // Runs one netsh command for list entry `entry` and records how it went; false when no command
    // was started for it.
    bool RunForEntry(TOutcome& outcome, size_t entry, IpFamily family, const char* address, int position);
    bool RunServerList(TOutcome& outcome, size_t entry, IpFamily family, const std::vector<const char*>& servers);
    void RunIpv6Phase(TOutcome& outcome, const std::vector<std::vector<const char*>>& servers, DWORD pauseMs);
    // Reads the adapter list once per action: each entry's adapter, its state and its servers.
    void ReadAdapters(TOutcome& outcome);
    void SaveOwnSettings(TOutcome& outcome);
    static std::vector<const char*> StaticServers(const TFamilyDns& family);
    void RunFlush();
    // Runs `program` from the system folder, starting it again when the start itself failed.
    TCommandResult RunSystemTool(const char* program, const std::string& line);
    void Report(const TOutcome& outcome, const std::wstring& successText, const std::wstring& failureText);
    void BeginAction();
    void EndAction();
    // Records how the action ended and, unless quiet, tells the user.
    void Conclude(TResult::Kind kind, const std::wstring& text, const std::wstring& caption);

    ISystemServices& m_services;
    AdapterList& m_adapters;
    HWND m_owner = nullptr;
    bool m_english = false;
    bool m_closing = false;
    bool m_busy = false;
    bool m_closeHeld = false;
    bool m_quiet = false;
    TResult m_lastResult;
    std::function<void(const std::wstring&)> m_statusSink;
};

}  // namespace Quoril
