// A recording stand-in for the system seam: every call becomes one line in `calls`, in order,
// and the answers (command results, interface table, names, registry values) are set by the test.
#pragma once

#include "app/SystemServices.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>

#include <functional>
#include <map>
#include <string>
#include <vector>

namespace apptest {

inline std::string Narrow(const std::wstring& wide)
{
    std::string out;
    for (wchar_t c : wide)
        out += (c < 0x80) ? static_cast<char>(c) : '#';
    return out;
}

class FakeServices : public Quoril::ISystemServices {
public:
    std::vector<std::string> calls;
    std::string systemFolder = "C:\\windows\\system32";
    // Decides each command's result; the default: started, exited with 0.
    std::function<Quoril::TCommandResult(const std::string& application, const std::string& line)> onRun;
    struct Box {
        HWND owner;
        std::wstring text;
        std::wstring caption;
        UINT flags;
    };
    std::vector<Box> boxes;
    // Whether a desktop shell takes page openings over (as the desktop's user).
    bool desktopShell = true;
    // The desktop user's SID the services report.
    std::string desktopSid = "S-1-5-21-1-2-3-1001";

    // The thread that read the interface table last (0: never).
    DWORD tableThread = 0;
    // How long reading the interface table takes (a slow system).
    DWORD tableDelayMs = 0;

    // Discovery answers.
    bool hasTable = true;
    std::vector<Quoril::TInterfaceEntry> table;
    DWORD connectResult = NO_ERROR;
    std::map<std::wstring, std::wstring> routerNames;  // device name -> friendly name; others fail
    // device name -> text the look-up leaves in the buffer before it fails anyway
    std::map<std::wstring, std::wstring> routerPartialNames;
    bool addressNamesOk = true;
    std::vector<Quoril::TAdapterAddressName> addressNames;
    // What the adapters use now, per friendly name; the fake's netsh does not change it.
    bool dnsOk = true;
    std::vector<Quoril::TAdapterDns> dnsAdapters;
    // A registry write answers this when it is not ERROR_SUCCESS.
    LONG setValueResult = ERROR_SUCCESS;

    std::string SystemFolder() override { return systemFolder; }

    Quoril::TCommandResult RunHidden(const std::string& application, const std::string& line, DWORD timeoutMs) override
    {
        calls.push_back("run " + application + " | " + line);
        lastTimeout = timeoutMs;
        if (onRun)
            return onRun(application, line);
        Quoril::TCommandResult ok;
        ok.outcome = Quoril::TCommandResult::Exited;
        ok.exitCode = 0;
        return ok;
    }
    void Pause(DWORD ms) override { calls.push_back("pause " + std::to_string(ms)); }
    bool elevated = true;
    bool IsElevated() override { return elevated; }
    void ShowMessageBox(HWND owner, const std::wstring& text, const std::wstring& caption, UINT flags) override
    {
        calls.push_back("box");
        boxes.push_back({owner, text, caption, flags});
    }
    bool OpenPageAsDesktopUser(const std::string& url) override
    {
        calls.push_back("desktop open " + url);
        return desktopShell;
    }
    std::string DesktopUserSid() override { return desktopSid; }
    void MinimiseWindow(HWND) override { calls.push_back("minimise"); }
    void PostClose(HWND) override { calls.push_back("close"); }
    void EnableOwner(HWND, bool enable) override { calls.push_back(enable ? "enable" : "disable"); }

    bool InterfaceTable(std::vector<Quoril::TInterfaceEntry>& entries) override
    {
        tableThread = ::GetCurrentThreadId();
        ::Sleep(tableDelayMs);
        calls.push_back("table");
        entries = hasTable ? table : std::vector<Quoril::TInterfaceEntry>();
        return hasTable;
    }
    DWORD RouterConfigConnect(HANDLE* handle) override
    {
        calls.push_back("connect");
        *handle = connectResult == NO_ERROR ? reinterpret_cast<HANDLE>(0x1234) : nullptr;
        return connectResult;
    }
    DWORD RouterFriendlyName(HANDLE handle, const wchar_t* device, wchar_t* buffer, DWORD bytes) override
    {
        calls.push_back("lookup " + Narrow(device));
        EXPECT_EQ(handle, reinterpret_cast<HANDLE>(0x1234));
        EXPECT_EQ(bytes, 512u);
        const size_t units = bytes / sizeof(wchar_t);
        auto partial = routerPartialNames.find(device);
        if (partial != routerPartialNames.end()) {
            partial->second.copy(buffer, units);
            return ERROR_INSUFFICIENT_BUFFER;
        }
        auto found = routerNames.find(device);
        if (found == routerNames.end())
            return ERROR_NOT_FOUND;
        // Like the real call, a name that fills the buffer is copied without room to spare.
        for (size_t i = 0; i < units; ++i)
            buffer[i] = i < found->second.size() ? found->second[i] : L'\0';
        return NO_ERROR;
    }
    void RouterConfigDisconnect(HANDLE) override { calls.push_back("disconnect"); }
    bool AdapterAddressNames(std::vector<Quoril::TAdapterAddressName>& names) override
    {
        calls.push_back("addresses");
        names = addressNames;
        return addressNamesOk;
    }

    bool AdapterDnsSettings(std::vector<Quoril::TAdapterDns>& adapters) override
    {
        calls.push_back("dns");
        adapters = dnsOk ? dnsAdapters : std::vector<Quoril::TAdapterDns>();
        return dnsOk;
    }

    // Registry: a tiny in-memory store keyed by "root|subkey|value".
    struct Value {
        DWORD type;
        std::string bytes;  // exactly what the value holds, terminator or not
    };
    std::map<std::string, Value> registry;
    bool hasRegGetValue = false;
    int openKeys = 0;

    static std::string RootName(HKEY root)
    {
        return root == HKEY_CURRENT_USER ? "HKCU"
            : root == HKEY_LOCAL_MACHINE ? "HKLM"
            : root == HKEY_CLASSES_ROOT  ? "HKCR"
                                         : "?";
    }
    static std::string Key(HKEY root, const char* subKey, const char* value)
    {
        return RootName(root) + "|" + subKey + "|" + (value ? value : "");
    }
    void SetValue(HKEY root, const char* subKey, const char* value, DWORD type, const std::string& bytes)
    {
        registry[Key(root, subKey, value)] = {type, bytes};
    }

    bool HasRegGetValue() override { return hasRegGetValue; }
    LONG RegistryGetValue(
        HKEY root, const char* subKey, const char* valueName, DWORD flags, void* data, DWORD* size) override
    {
        calls.push_back(std::string("getvalue ") + Key(root, subKey, valueName));
        EXPECT_EQ(flags, static_cast<DWORD>(RRF_RT_REG_SZ));
        auto found = registry.find(Key(root, subKey, valueName));
        if (found == registry.end())
            return ERROR_FILE_NOT_FOUND;
        if (found->second.type != REG_SZ)
            return ERROR_UNSUPPORTED_TYPE;
        std::string text = found->second.bytes;
        if (text.empty() || text.back() != '\0')
            text.push_back('\0');
        if (text.size() > *size) {
            *size = static_cast<DWORD>(text.size());
            return ERROR_MORE_DATA;
        }
        memcpy(data, text.data(), text.size());
        *size = static_cast<DWORD>(text.size());
        return ERROR_SUCCESS;
    }
    LONG RegistryOpenKey(HKEY root, const char* subKey, REGSAM, HKEY* key) override
    {
        calls.push_back(std::string("openkey ") + RootName(root) + "|" + subKey);
        const std::string prefix = RootName(root) + "|" + subKey + "|";
        for (const auto& entry : registry) {
            if (entry.first.compare(0, prefix.size(), prefix) == 0) {
                openedPrefix = prefix;
                ++openKeys;
                *key = reinterpret_cast<HKEY>(static_cast<intptr_t>(0x100 + openKeys));
                return ERROR_SUCCESS;
            }
        }
        return ERROR_FILE_NOT_FOUND;
    }
    // Behaves like RegQueryValueExA: copies the stored bytes as they are (no terminator added).
    LONG RegistryQueryValue(HKEY, const char* valueName, DWORD* type, BYTE* data, DWORD* size) override
    {
        auto found = registry.find(openedPrefix + (valueName ? valueName : ""));
        if (found == registry.end())
            return ERROR_FILE_NOT_FOUND;
        *type = found->second.type;
        lastQuerySize = *size;
        if (found->second.bytes.size() > *size) {
            *size = static_cast<DWORD>(found->second.bytes.size());
            return ERROR_MORE_DATA;
        }
        memcpy(data, found->second.bytes.data(), found->second.bytes.size());
        *size = static_cast<DWORD>(found->second.bytes.size());
        return ERROR_SUCCESS;
    }
    void RegistryCloseKey(HKEY) override { --openKeys; }
    LONG RegistrySetString(HKEY root, const char* subKey, const char* valueName, const std::string& text) override
    {
        calls.push_back(std::string("setvalue ") + Key(root, subKey, valueName) + " = " + text);
        if (setValueResult == ERROR_SUCCESS)
            SetValue(root, subKey, valueName, REG_SZ, text + '\0');
        return setValueResult;
    }
    LONG RegistryDeleteValue(HKEY root, const char* subKey, const char* valueName) override
    {
        calls.push_back(std::string("deletevalue ") + Key(root, subKey, valueName));
        return registry.erase(Key(root, subKey, valueName)) ? ERROR_SUCCESS : ERROR_FILE_NOT_FOUND;
    }

    DWORD lastTimeout = 0;
    DWORD lastQuerySize = 0;

private:
    std::string openedPrefix;
};

// One adapter as the adapter list reports it: servers of either family, "dhcp" flags.
inline Quoril::TAdapterDns AdapterDns(const std::wstring& name, std::vector<std::string> ipv4, bool ipv4Dhcp,
    std::vector<std::string> ipv6 = {}, bool ipv6Dhcp = true, bool connected = true, bool ipv6Enabled = false)
{
    Quoril::TAdapterDns adapter;
    adapter.friendlyName = name;
    adapter.connected = connected;
    adapter.ipv6Enabled = ipv6Enabled;
    adapter.ipv4.servers = std::move(ipv4);
    adapter.ipv4.dhcp = ipv4Dhcp;
    adapter.ipv6.servers = std::move(ipv6);
    adapter.ipv6.dhcp = ipv6Dhcp;
    return adapter;
}

inline Quoril::TCommandResult Exited(DWORD code)
{
    Quoril::TCommandResult result;
    result.outcome = Quoril::TCommandResult::Exited;
    result.exitCode = code;
    return result;
}

inline Quoril::TCommandResult Outcome(Quoril::TCommandResult::Outcome outcome)
{
    Quoril::TCommandResult result;
    result.outcome = outcome;
    return result;
}

}  // namespace apptest
