// ISystemServices: the one thin seam between Quoril's actions and the operating system.
//
// Everything the DNS actions, the adapter discovery and the web links ask of Windows goes
// through this interface, so tests can record each call in order (or answer with a failure)
// without starting a process or touching the machine's network settings. Methods are kept close
// to the Win32 call they wrap; decisions (what to run, what counts as success, which name to
// use) stay in the callers. The real implementation, Win32Services(), starts programs by full
// path only, loads iphlpapi and mprapi from the system folder at run time, and keeps the window
// painting while it waits for a command.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace Quoril {

// How one started command ended.
struct TCommandResult {
    enum Outcome {
        NotStarted,  // the process could not be created
        TimedOut,  // still running when the wait ended; it is left alone
        Exited  // ended; exitCode holds its exit code
    };
    Outcome outcome = NotStarted;
    DWORD exitCode = 0;
};

// A command counts as successful only when it started, ended within its time and exited with 0
// (netsh exits non-zero on every error it reports). The one place this rule lives.
inline bool CommandSucceeded(const TCommandResult& result)
{
    return result.outcome == TCommandResult::Exited && result.exitCode == 0;
}

// One row of the IPv4 interface table: the interface index and the device name
// ("\DEVICE\TCPIP_{...}"), at most the table's 128 UTF-16 units (the field need not be terminated).
struct TInterfaceEntry {
    ULONG index = 0;
    std::wstring deviceName;
};

// The friendly name the adapter-address list gives an interface index.
struct TAdapterAddressName {
    ULONG index = 0;
    std::wstring friendlyName;
};

// The DNS servers one address family of an adapter uses, and whether they came from DHCP (no
// servers set by hand on it). Servers set by hand are the interface's own list, which Windows
// keeps while the adapter is not connected too; otherwise the servers the adapter asks now.
struct TFamilyDns {
    bool dhcp = true;
    std::vector<std::string> servers;  // address texts (AddressText.h), in the order they are asked
    // False when servers are set by hand but their list could not be read: nothing is known
    // about them, so nothing may replace them.
    bool known = true;
};

// One adapter of the adapter-address list, with the DNS servers of both families.
struct TAdapterDns {
    std::wstring friendlyName;
    bool connected = false;  // operational, and neither the loopback nor a tunnel interface
    bool ipv6Enabled = false;  // the adapter has an IPv6 interface
    TFamilyDns ipv4;
    TFamilyDns ipv6;
};

class ISystemServices {
public:
    virtual ~ISystemServices() = default;

    // --- processes ---------------------------------------------------------------------------
    // The system folder (GetSystemDirectoryA), without a trailing backslash; empty on failure.
    virtual std::string SystemFolder() = 0;
    // Starts `application` (a full path, never searched for) hidden with `commandLine` as its
    // command line, and waits at most `timeoutMs` for it to end. The real implementation keeps
    // dispatching window messages while it waits.
    virtual TCommandResult RunHidden(const std::string& application, const std::string& commandLine, DWORD timeoutMs)
        = 0;
    // Waits `ms` milliseconds; the real implementation keeps dispatching window messages meanwhile.
    virtual void Pause(DWORD ms) = 0;
    // Whether the process runs with administrator rights (an elevated token, or a member of the
    // Administrators group where there is no elevation).
    virtual bool IsElevated() = 0;

    // --- the window and the desktop ----------------------------------------------------------
    virtual void ShowMessageBox(HWND owner, const std::wstring& text, const std::wstring& caption, UINT flags) = 0;
    // Asks the desktop shell to open `url` as the desktop's (unelevated) user
    // (ShellExecuteAsDesktopUser); false, with nothing started, when the shell offers no desktop.
    virtual bool OpenPageAsDesktopUser(const std::string& url) = 0;
    // The string form ("S-1-...") of the SID of the user whose desktop runs the program; empty when
    // it cannot be told.
    virtual std::string DesktopUserSid() = 0;
    // Sends WM_SYSCOMMAND/SC_MINIMIZE synchronously.
    virtual void MinimiseWindow(HWND window) = 0;
    // Posts WM_CLOSE with wParam 1 when the window exists.
    virtual void PostClose(HWND window) = 0;
    // EnableWindow; keeps mouse and keys away from the window while an action runs.
    virtual void EnableOwner(HWND window, bool enable) = 0;

    // --- network interfaces ------------------------------------------------------------------
    // GetInterfaceInfo: false when there is no table (for instance no IPv4 interface).
    virtual bool InterfaceTable(std::vector<TInterfaceEntry>& entries) = 0;
    // MprConfigServerConnect(null server): a Win32 error code; `handle` is valid only on 0.
    virtual DWORD RouterConfigConnect(HANDLE* handle) = 0;
    // MprConfigGetFriendlyName into `buffer` of `bufferBytes` bytes: a Win32 error code.
    virtual DWORD RouterFriendlyName(HANDLE handle, const wchar_t* deviceName, wchar_t* buffer, DWORD bufferBytes) = 0;
    virtual void RouterConfigDisconnect(HANDLE handle) = 0;
    // GetAdaptersAddresses: index and friendly name of every adapter; false on failure.
    virtual bool AdapterAddressNames(std::vector<TAdapterAddressName>& names) = 0;
    // GetAdaptersAddresses for both families with the DNS servers; the servers set by hand are read
    // from the interface's "NameServer" registry values. False on failure.
    virtual bool AdapterDnsSettings(std::vector<TAdapterDns>& adapters) = 0;

    // --- registry ----------------------------------------------------------------------------
    // Whether advapi32 offers RegGetValueA (looked up at each call).
    virtual bool HasRegGetValue() = 0;
    virtual LONG RegistryGetValue(
        HKEY root, const char* subKey, const char* valueName, DWORD flags, void* data, DWORD* size)
        = 0;
    virtual LONG RegistryOpenKey(HKEY root, const char* subKey, REGSAM access, HKEY* key) = 0;
    virtual LONG RegistryQueryValue(HKEY key, const char* valueName, DWORD* type, BYTE* data, DWORD* size) = 0;
    virtual void RegistryCloseKey(HKEY key) = 0;
    // Creates the key when needed and writes `text` as a REG_SZ value: a Win32 error code.
    virtual LONG RegistrySetString(HKEY root, const char* subKey, const char* valueName, const std::string& text) = 0;
    virtual LONG RegistryDeleteValue(HKEY root, const char* subKey, const char* valueName) = 0;
};

// The process-wide Win32 implementation.
ISystemServices& Win32Services();

}  // namespace Quoril
