#include "app/SystemServices.h"

// Types only: iphlpapi, mprapi and shell32 are loaded from the system folder at run time, never
// linked, so no DLL of those names beside the program can be picked up.
#include <winsock2.h>
#include <ws2tcpip.h>
#include <iphlpapi.h>
#include <sddl.h>

#include <cstddef>
#include <cstring>
#include <vector>

#include "app/AddressText.h"
#include "app/DesktopShell.h"
#include "core/SystemLibrary.h"

namespace Quoril {

namespace {

using SkinUI::LoadSystemLibrary;

using GetInterfaceInfoFn = DWORD(WINAPI*)(PIP_INTERFACE_INFO, PULONG);
using GetAdaptersAddressesFn = ULONG(WINAPI*)(ULONG, ULONG, PVOID, PIP_ADAPTER_ADDRESSES, PULONG);
using MprConfigServerConnectFn = DWORD(WINAPI*)(LPWSTR, HANDLE*);
using MprConfigGetFriendlyNameFn = DWORD(WINAPI*)(HANDLE, PWCHAR, PWCHAR, DWORD);
using MprConfigServerDisconnectFn = VOID(WINAPI*)(HANDLE);
using RegGetValueAFn = LONG(WINAPI*)(HKEY, LPCSTR, LPCSTR, DWORD, LPDWORD, PVOID, LPDWORD);

std::string SystemFolderPath()
{
    char path[MAX_PATH + 1] = {};
    const UINT length = GetSystemDirectoryA(path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        return std::string();
    std::string folder(path, length);
    while (!folder.empty() && folder.back() == '\\')
        folder.pop_back();
    return folder;
}

// The modules stay loaded for the life of the process; both are loaded at the first call.
HMODULE NetworkModule(const char* module)
{
    static HMODULE iphlpapi = LoadSystemLibrary("iphlpapi.dll");
    static HMODULE mprapi = LoadSystemLibrary("mprapi.dll");
    return (lstrcmpA(module, "mprapi.dll") == 0) ? mprapi : iphlpapi;
}

FARPROC SystemFunction(const char* module, const char* function)
{
    HMODULE handle = NetworkModule(module);
    return handle ? GetProcAddress(handle, function) : nullptr;
}

class CWin32Services : public ISystemServices {
public:
    std::string SystemFolder() override { return SystemFolderPath(); }

    TCommandResult RunHidden(const std::string& application, const std::string& commandLine, DWORD timeoutMs) override
    {
        TCommandResult result;
        if (application.empty() || commandLine.empty())
            return result;
        std::vector<char> line(commandLine.begin(), commandLine.end());
        line.push_back('\0');
        STARTUPINFOA startup = {};
        startup.cb = sizeof(startup);
        startup.dwFlags = STARTF_USESHOWWINDOW;
        startup.wShowWindow = SW_HIDE;
        PROCESS_INFORMATION process = {};
        // The system folder as working directory keeps the child's own DLL search away from
        // wherever the program happened to be started.
        const std::string folder = SystemFolderPath();
        if (!CreateProcessA(application.c_str(), line.data(), nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr,
                folder.empty() ? nullptr : folder.c_str(), &startup, &process)) {
            return result;
        }
        CloseHandle(process.hThread);
        if (WaitPumping(process.hProcess, timeoutMs)) {
            DWORD code = 0;
            if (GetExitCodeProcess(process.hProcess, &code)) {
                result.outcome = TCommandResult::Exited;
                result.exitCode = code;
            }
        } else {
            result.outcome = TCommandResult::TimedOut;
        }
        CloseHandle(process.hProcess);
        return result;
    }

    void Pause(DWORD ms) override
    {
        // A handle that is never signalled: the wait runs its whole time, the window painting.
        HANDLE never = CreateEventA(nullptr, TRUE, FALSE, nullptr);
        if (never == nullptr) {
            Sleep(ms);
            return;
        }
        WaitPumping(never, ms);
        CloseHandle(never);
    }

    bool IsElevated() override
    {
        // A split (unelevated) token lists Administrators for deny only, which does not count.
        SID_IDENTIFIER_AUTHORITY authority = SECURITY_NT_AUTHORITY;
        PSID administrators = nullptr;
        if (!AllocateAndInitializeSid(&authority, 2, SECURITY_BUILTIN_DOMAIN_RID, DOMAIN_ALIAS_RID_ADMINS, 0, 0, 0, 0,
                0, 0, &administrators)) {
            return true;  // cannot tell: let the commands report their own failures
        }
        BOOL member = FALSE;
        const BOOL asked = CheckTokenMembership(nullptr, administrators, &member);
        FreeSid(administrators);
        return !asked || member != FALSE;
    }

    void ShowMessageBox(HWND owner, const std::wstring& text, const std::wstring& caption, UINT flags) override
    {
        MessageBoxW(owner, text.c_str(), caption.c_str(), flags);
    }

    bool OpenPageAsDesktopUser(const std::string& url) override { return ShellExecuteAsDesktopUser(url, ""); }

    // The desktop's user owns the shell's window. When a standard user's desktop started this
    // program with an administrator's credentials, the process runs as that administrator, yet the
    // settings saved are the desktop user's, who clicks and who will restore them. Without a shell
    // window (no shell yet, a shell that registers none) the process's own user is all there is.
    std::string DesktopUserSid() override
    {
        std::string sid;
        DWORD processId = 0;
        const HWND shell = GetShellWindow();
        if (shell != nullptr && GetWindowThreadProcessId(shell, &processId) != 0 && processId != 0) {
            const HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId);
            if (process != nullptr) {
                sid = TokenUserSid(process);
                CloseHandle(process);
            }
        }
        return sid.empty() ? TokenUserSid(GetCurrentProcess()) : sid;
    }

    void MinimiseWindow(HWND window) override { SendMessageA(window, WM_SYSCOMMAND, SC_MINIMIZE, 0); }

    void PostClose(HWND window) override
    {
        if (window && IsWindow(window))
            PostMessageA(window, WM_CLOSE, 1, 0);
    }

    void EnableOwner(HWND window, bool enable) override
    {
        if (window && IsWindow(window))
            EnableWindow(window, enable ? TRUE : FALSE);
    }

    bool InterfaceTable(std::vector<TInterfaceEntry>& entries) override
    {
        entries.clear();
        auto getInterfaceInfo
            = reinterpret_cast<GetInterfaceInfoFn>(SystemFunction("iphlpapi.dll", "GetInterfaceInfo"));
        if (!getInterfaceInfo)
            return false;
        ULONG size = 0;
        if (getInterfaceInfo(nullptr, &size) != ERROR_INSUFFICIENT_BUFFER || size < sizeof(IP_INTERFACE_INFO))
            return false;
        HANDLE heap = GetProcessHeap();
        auto* table = static_cast<PIP_INTERFACE_INFO>(HeapAlloc(heap, HEAP_ZERO_MEMORY, size));
        if (!table)
            return false;
        const ULONG allocated = size;
        bool ok = getInterfaceInfo(table, &size) == NO_ERROR;
        if (ok) {
            // Never trust the count beyond what the block can hold.
            const size_t room = (allocated - offsetof(IP_INTERFACE_INFO, Adapter)) / sizeof(IP_ADAPTER_INDEX_MAP);
            const size_t count = table->NumAdapters < 0 ? 0 : static_cast<size_t>(table->NumAdapters);
            for (size_t i = 0; i < count && i < room; ++i) {
                const IP_ADAPTER_INDEX_MAP& map = table->Adapter[i];
                TInterfaceEntry entry;
                entry.index = map.Index;
                size_t length = 0;
                while (length < MAX_ADAPTER_NAME && map.Name[length])
                    ++length;
                entry.deviceName.assign(map.Name, length);
                entries.push_back(entry);
            }
        }
        HeapFree(heap, 0, table);
        return ok;
    }

    DWORD RouterConfigConnect(HANDLE* handle) override
    {
        *handle = nullptr;
        auto connect
            = reinterpret_cast<MprConfigServerConnectFn>(SystemFunction("mprapi.dll", "MprConfigServerConnect"));
        return connect ? connect(nullptr, handle) : ERROR_PROC_NOT_FOUND;
    }

    DWORD RouterFriendlyName(HANDLE handle, const wchar_t* deviceName, wchar_t* buffer, DWORD bufferBytes) override
    {
        auto getName
            = reinterpret_cast<MprConfigGetFriendlyNameFn>(SystemFunction("mprapi.dll", "MprConfigGetFriendlyName"));
        if (!getName)
            return ERROR_PROC_NOT_FOUND;
        // The API takes a non-const pointer but only reads the device name.
        std::wstring device(deviceName);
        return getName(handle, &device[0], buffer, bufferBytes);
    }

    void RouterConfigDisconnect(HANDLE handle) override
    {
        auto disconnect
            = reinterpret_cast<MprConfigServerDisconnectFn>(SystemFunction("mprapi.dll", "MprConfigServerDisconnect"));
        if (disconnect && handle)
            disconnect(handle);
    }

    bool AdapterAddressNames(std::vector<TAdapterAddressName>& names) override
    {
        names.clear();
        std::vector<unsigned char> block;
        const ULONG flags
            = GAA_FLAG_SKIP_UNICAST | GAA_FLAG_SKIP_ANYCAST | GAA_FLAG_SKIP_MULTICAST | GAA_FLAG_SKIP_DNS_SERVER;
        if (!ReadAdapterAddresses(AF_INET, flags, block))
            return false;
        for (auto* adapter = reinterpret_cast<PIP_ADAPTER_ADDRESSES>(block.data()); adapter; adapter = adapter->Next) {
            if (!adapter->FriendlyName)
                continue;
            TAdapterAddressName name;
            name.index = adapter->IfIndex;
            name.friendlyName = adapter->FriendlyName;
            names.push_back(name);
        }
        return true;
    }

    bool AdapterDnsSettings(std::vector<TAdapterDns>& adapters) override
    {
        adapters.clear();
        std::vector<unsigned char> block;
        const ULONG flags = GAA_FLAG_SKIP_UNICAST | GAA_FLAG_SKIP_ANYCAST | GAA_FLAG_SKIP_MULTICAST;
        if (!ReadAdapterAddresses(AF_UNSPEC, flags, block))
            return false;
        for (auto* adapter = reinterpret_cast<PIP_ADAPTER_ADDRESSES>(block.data());
             adapter && adapters.size() < kMaxAdapters; adapter = adapter->Next) {
            if (!adapter->FriendlyName)
                continue;
            TAdapterDns dns;
            dns.friendlyName = adapter->FriendlyName;
            dns.connected = adapter->OperStatus == IfOperStatusUp && adapter->IfType != IF_TYPE_SOFTWARE_LOOPBACK
                && adapter->IfType != IF_TYPE_TUNNEL;
            dns.ipv6Enabled = adapter->Ipv6IfIndex != 0;
            for (auto* server = adapter->FirstDnsServerAddress; server; server = server->Next)
                AddServer(server->Address, dns);
            ReadHandSetServers("Tcpip", adapter->AdapterName, dns.ipv4);
            ReadHandSetServers("Tcpip6", adapter->AdapterName, dns.ipv6);
            adapters.push_back(dns);
        }
        return true;
    }

    bool HasRegGetValue() override { return RegGetValueFunction() != nullptr; }

    LONG RegistryGetValue(
        HKEY root, const char* subKey, const char* valueName, DWORD flags, void* data, DWORD* size) override
    {
        RegGetValueAFn getValue = RegGetValueFunction();
        if (!getValue)
            return ERROR_CALL_NOT_IMPLEMENTED;
        return getValue(root, subKey, valueName, flags, nullptr, data, size);
    }

    LONG RegistryOpenKey(HKEY root, const char* subKey, REGSAM access, HKEY* key) override
    {
        return RegOpenKeyExA(root, subKey, 0, access, key);
    }

    LONG RegistryQueryValue(HKEY key, const char* valueName, DWORD* type, BYTE* data, DWORD* size) override
    {
        return RegQueryValueExA(key, valueName, nullptr, type, data, size);
    }

    void RegistryCloseKey(HKEY key) override { RegCloseKey(key); }

    LONG RegistrySetString(HKEY root, const char* subKey, const char* valueName, const std::string& text) override
    {
        HKEY key = nullptr;
        LONG status = RegCreateKeyExA(root, subKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr);
        if (status != ERROR_SUCCESS)
            return status;
        status = RegSetValueExA(key, valueName, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
            static_cast<DWORD>(text.size() + 1));
        RegCloseKey(key);
        return status;
    }

    LONG RegistryDeleteValue(HKEY root, const char* subKey, const char* valueName) override
    {
        HKEY key = nullptr;
        LONG status = RegOpenKeyExA(root, subKey, 0, KEY_SET_VALUE, &key);
        if (status != ERROR_SUCCESS)
            return status;
        status = RegDeleteValueA(key, valueName);
        RegCloseKey(key);
        return status;
    }

private:
    // The adapter list is outside input: bound how much of it is taken.
    static constexpr size_t kMaxAdapters = 256;
    static constexpr size_t kMaxServersPerFamily = 16;

    // GetAdaptersAddresses into `block`. The list can grow between the size answer and the read;
    // a few rounds settle it.
    static bool ReadAdapterAddresses(ULONG family, ULONG flags, std::vector<unsigned char>& block)
    {
        auto getAddresses
            = reinterpret_cast<GetAdaptersAddressesFn>(SystemFunction("iphlpapi.dll", "GetAdaptersAddresses"));
        if (!getAddresses)
            return false;
        ULONG size = 16 * 1024;
        ULONG status = ERROR_BUFFER_OVERFLOW;
        for (int attempt = 0; attempt < 4 && status == ERROR_BUFFER_OVERFLOW; ++attempt) {
            block.assign(size, 0);
            status = getAddresses(family, flags, nullptr, reinterpret_cast<PIP_ADAPTER_ADDRESSES>(block.data()), &size);
        }
        return status == NO_ERROR;
    }

    static void AddServer(const SOCKET_ADDRESS& address, TAdapterDns& dns)
    {
        const sockaddr* raw = address.lpSockaddr;
        if (!raw)
            return;
        if (raw->sa_family == AF_INET && address.iSockaddrLength >= static_cast<INT>(sizeof(sockaddr_in))
            && dns.ipv4.servers.size() < kMaxServersPerFamily) {
            unsigned char bytes[4];
            memcpy(bytes, &reinterpret_cast<const sockaddr_in*>(raw)->sin_addr, sizeof(bytes));
            dns.ipv4.servers.push_back(Ipv4Text(bytes));
        } else if (raw->sa_family == AF_INET6 && address.iSockaddrLength >= static_cast<INT>(sizeof(sockaddr_in6))
            && dns.ipv6.servers.size() < kMaxServersPerFamily) {
            unsigned char bytes[16];
            memcpy(bytes, &reinterpret_cast<const sockaddr_in6*>(raw)->sin6_addr, sizeof(bytes));
            dns.ipv6.servers.push_back(Ipv6Text(bytes));
        }
    }

    // The servers set by hand on the interface `adapterName` (its "{GUID}") for the stack `service`
    // ("Tcpip" or "Tcpip6"): its "NameServer" value. Servers from DHCP are kept in another value, so
    // an interface with DHCP addresses but its own DNS servers counts as set by hand, which is what
    // must not be lost; the list is taken from the value itself because an adapter that is not
    // connected asks no server at all. No key, no value or a blank one: DHCP. Anything that cannot
    // be read whole, or holds more than plain addresses: set by hand, list not known.
    static void ReadHandSetServers(const char* service, const char* adapterName, TFamilyDns& family)
    {
        TFamilyDns unknown;
        unknown.dhcp = false;
        unknown.known = false;
        if (!adapterName || !*adapterName || lstrlenA(adapterName) > 64 || strchr(adapterName, '\\')) {
            family = unknown;
            return;
        }
        const std::string subKey = std::string("SYSTEM\\CurrentControlSet\\Services\\") + service
            + "\\Parameters\\Interfaces\\" + adapterName;
        HKEY key = nullptr;
        LONG status = RegOpenKeyExA(HKEY_LOCAL_MACHINE, subKey.c_str(), 0, KEY_QUERY_VALUE, &key);
        if (status == ERROR_FILE_NOT_FOUND)
            return;
        char value[1024] = {};
        DWORD size = sizeof(value) - 1;
        DWORD type = 0;
        if (status == ERROR_SUCCESS) {
            status = RegQueryValueExA(key, "NameServer", nullptr, &type, reinterpret_cast<BYTE*>(value), &size);
            RegCloseKey(key);
        }
        if (status == ERROR_FILE_NOT_FOUND)
            return;
        std::vector<std::string> servers;
        if (status != ERROR_SUCCESS || type != REG_SZ
            || !ParseNameServerList(std::string(value, strnlen(value, size)), kMaxServersPerFamily, servers)) {
            family = unknown;
            return;
        }
        if (servers.empty())
            return;
        family.dhcp = false;
        family.servers = servers;
    }

    // The string SID of the user that `process` runs as; empty when it cannot be read.
    static std::string TokenUserSid(HANDLE process)
    {
        HANDLE token = nullptr;
        if (!OpenProcessToken(process, TOKEN_QUERY, &token))
            return std::string();
        std::string text;
        DWORD size = 0;
        GetTokenInformation(token, TokenUser, nullptr, 0, &size);
        if (size >= sizeof(TOKEN_USER) && size <= 1024) {
            std::vector<unsigned char> buffer(size);
            if (GetTokenInformation(token, TokenUser, buffer.data(), size, &size)) {
                char* sid = nullptr;
                if (ConvertSidToStringSidA(reinterpret_cast<TOKEN_USER*>(buffer.data())->User.Sid, &sid)) {
                    text = sid;
                    LocalFree(sid);
                }
            }
        }
        CloseHandle(token);
        return text;
    }

    // RegGetValueA is missing before Vista; it is looked up in the loaded advapi32 at each use.
    static RegGetValueAFn RegGetValueFunction()
    {
        HMODULE advapi = GetModuleHandleA("advapi32.dll");
        return advapi ? reinterpret_cast<RegGetValueAFn>(GetProcAddress(advapi, "RegGetValueA")) : nullptr;
    }

    // Waits for `handle` for at most `timeoutMs`, dispatching this thread's messages meanwhile so
    // the window keeps painting. A quit request seen meanwhile is put back once the wait is over.
    // True when the handle was signalled.
    static bool WaitPumping(HANDLE handle, DWORD timeoutMs)
    {
        const DWORD start = GetTickCount();
        bool quit = false;
        WPARAM quitCode = 0;
        bool signalled = false;
        for (;;) {
            const DWORD elapsed = GetTickCount() - start;
            const DWORD remaining = elapsed >= timeoutMs ? 0 : timeoutMs - elapsed;
            DWORD wait;
            if (quit) {
                wait = WaitForSingleObject(handle, remaining);
            } else {
                wait = MsgWaitForMultipleObjectsEx(1, &handle, remaining, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
            }
            if (wait == WAIT_OBJECT_0) {
                signalled = true;
                break;
            }
            if (quit || wait != WAIT_OBJECT_0 + 1)
                break;  // timed out or failed
            MSG msg;
            while (!quit && PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
                if (msg.message == WM_QUIT) {
                    quit = true;
                    quitCode = msg.wParam;
                    break;
                }
                TranslateMessage(&msg);
                DispatchMessageA(&msg);
            }
            if (remaining == 0) {
                signalled = WaitForSingleObject(handle, 0) == WAIT_OBJECT_0;
                break;
            }
        }
        if (quit)
            PostQuitMessage(static_cast<int>(quitCode));
        return signalled;
    }
};

}  // namespace

ISystemServices& Win32Services()
{
    static CWin32Services services;
    return services;
}

}  // namespace Quoril
