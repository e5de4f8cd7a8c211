// The DNS actions against the recording fake: the connections a test names are discovered, then
// clicks are sent and the calls, command lines and message boxes compared. Shared by the action
// test files.
#pragma once

#include "FakeServices.h"
#include "app/DnsProfiles.h"
#include "app/MainActions.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace apptest {

using Quoril::CMainActions;
using Quoril::TCommandResult;

inline const char kDialUp[] = "\xbf\xed\xb4\xf8\xc1\xac\xbd\xd3";  // 宽带连接 in code page 936
inline const std::wstring kDialUpText = L"\u5bbd\u5e26\u8fde\u63a5";
inline const std::string kNetsh = "run C:\\windows\\system32\\netsh.exe | netsh interface ip ";
inline const std::string kNetsh6 = "run C:\\windows\\system32\\netsh.exe | netsh interface ipv6 ";
inline const std::string kFlush = "run C:\\windows\\system32\\ipconfig.exe | ipconfig /flushdns";

// 提示
inline const std::wstring kCaption = L"\u63d0\u793a";
// 设置成功（拦截版模式）！ / （纯净版模式）！ / （家庭版模式）！
inline const std::wstring kBlockingDone = L"\u8bbe\u7f6e\u6210\u529f\uff08\u62e6\u622a\u7248\u6a21\u5f0f\uff09\uff01";
inline const std::wstring kPureDone = L"\u8bbe\u7f6e\u6210\u529f\uff08\u7eaf\u51c0\u7248\u6a21\u5f0f\uff09\uff01";
inline const std::wstring kFamilyDone = L"\u8bbe\u7f6e\u6210\u529f\uff08\u5bb6\u5ead\u7248\u6a21\u5f0f\uff09\uff01";
// 已恢复为自动获取DNS，请手动删除浏览器缓存！
inline const std::wstring kRestoreDone
    = L"\u5df2\u6062\u590d\u4e3a\u81ea\u52a8\u83b7\u53d6DNS\uff0c\u8bf7\u624b\u52a8\u5220\u9664\u6d4f\u89c8\u5668"
      L"\u7f13\u5b58\uff01";
// 设置失败，以下连接未能设置：
inline const std::wstring kProfileFailed
    = L"\u8bbe\u7f6e\u5931\u8d25\uff0c\u4ee5\u4e0b\u8fde\u63a5\u672a\u80fd\u8bbe\u7f6e\uff1a";
// 恢复失败，以下连接未能恢复：
inline const std::wstring kRestoreFailed
    = L"\u6062\u590d\u5931\u8d25\uff0c\u4ee5\u4e0b\u8fde\u63a5\u672a\u80fd\u6062\u590d\uff1a";

// 需要管理员权限才能修改DNS设置，请以管理员身份运行本程序！
inline const std::wstring kNotElevated
    = L"\u9700\u8981\u7ba1\u7406\u5458\u6743\u9650\u624d\u80fd\u4fee\u6539DNS\u8bbe\u7f6e\uff0c\u8bf7\u4ee5"
      L"\u7ba1\u7406\u5458\u8eab\u4efd\u8fd0\u884c\u672c\u7a0b\u5e8f\uff01";
// 未找到网络连接！
inline const std::wstring kNoConnection = L"\u672a\u627e\u5230\u7f51\u7edc\u8fde\u63a5\uff01";

inline HWND const kOwner = reinterpret_cast<HWND>(0x4242);

// Discovers the given connections through the fake, then forgets the discovery calls.
struct Rig {
    FakeServices fake;
    Quoril::AdapterList list;
    CMainActions actions{fake, list};

    explicit Rig(std::vector<std::wstring> connections)
    {
        ULONG index = 1;
        for (const std::wstring& name : connections) {
            const std::wstring device = L"dev" + std::to_wstring(index);
            fake.table.push_back({index++, device});
            fake.routerNames[device] = name;
            // Listed, connected, both families from DHCP, no IPv6 interface.
            fake.dnsAdapters.push_back(AdapterDns(name, {}, true));
        }
        actions.SetOwner(kOwner);
        actions.DiscoverAdapters();
        fake.calls.clear();
    }
    void Click(const char* name) { actions.OnNotify("click", name); }
    // Records every text the actions hand to the status line.
    std::vector<std::wstring> statuses;
    void RecordStatus()
    {
        actions.SetStatusSink([this](const std::wstring& text) { statuses.push_back(text); });
    }
    // The calls without the reads (adapter list, registry look-ups), which do not change anything.
    std::vector<std::string> Sequence() const
    {
        std::vector<std::string> sequence;
        for (const std::string& call : fake.calls) {
            if (call != "dns" && call.compare(0, 8, "openkey ") != 0 && call.compare(0, 9, "getvalue ") != 0
                && call.compare(0, 12, "deletevalue ") != 0)
                sequence.push_back(call);
        }
        return sequence;
    }
    std::vector<std::string> Runs() const
    {
        std::vector<std::string> runs;
        for (const std::string& call : fake.calls)
            if (call.compare(0, 4, "run ") == 0)
                runs.push_back(call);
        return runs;
    }
    const std::wstring& LastBox() const
    {
        static const std::wstring none = L"<no message box>";
        return fake.boxes.empty() ? none : fake.boxes.back().text;
    }
};

inline std::string SetPrimary(const std::string& name, const char* address)
{
    return kNetsh + "set dns name=\"" + name + "\" source=static addr=" + address + " register=primary validate=no";
}
inline std::string Add(const std::string& name, const char* address, int index)
{
    return kNetsh + "add dns name=\"" + name + "\" addr=" + address + " index=" + std::to_string(index)
        + " validate=no";
}
inline std::string Restore(const std::string& name) { return kNetsh + "set dns name=\"" + name + "\" source=dhcp"; }
// The same forms on the IPv6 context.
inline std::string SetPrimary6(const std::string& name, const char* address)
{
    return kNetsh6 + "set dns name=\"" + name + "\" source=static addr=" + address + " register=primary validate=no";
}
inline std::string Add6(const std::string& name, const char* address, int index)
{
    return kNetsh6 + "add dns name=\"" + name + "\" addr=" + address + " index=" + std::to_string(index)
        + " validate=no";
}
inline std::string Restore6(const std::string& name) { return kNetsh6 + "set dns name=\"" + name + "\" source=dhcp"; }
// A connection's IPv6 commands for a profile: primary, then the others with their index.
inline std::vector<std::string> Ipv6For(const std::string& name, const Quoril::TDnsProfile& profile)
{
    std::vector<std::string> lines = {SetPrimary6(name, profile.primary), Add6(name, profile.second, 2)};
    if (profile.third)
        lines.push_back(Add6(name, profile.third, 3));
    return lines;
}
inline std::vector<std::string> Joined(std::vector<std::vector<std::string>> parts)
{
    std::vector<std::string> all;
    for (const auto& part : parts)
        all.insert(all.end(), part.begin(), part.end());
    return all;
}

// Fails every netsh command whose line contains `needle`.
inline std::function<TCommandResult(const std::string&, const std::string&)> FailWhere(
    const std::string& needle, TCommandResult failure = Exited(1))
{
    return [needle, failure](const std::string&, const std::string& line) {
        return line.find(needle) != std::string::npos ? failure : Exited(0);
    };
}

}  // namespace apptest
