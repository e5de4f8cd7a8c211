#include "app/AdminCommand.h"

#include "app/DnsProfiles.h"
#include "app/DnsStatus.h"
#include "app/MainActions.h"
#include "app/SavedDns.h"

#include <windows.h>

#include <vector>

namespace Quoril {

const char* const kAdminUsage = "Usage: Quoril.exe /profile blocking|pure|family [/quiet]\n"
                                "       Quoril.exe /restore [/quiet]\n"
                                "       Quoril.exe /status [/quiet]\n"
                                "Exit codes: 0 done, 1 some connection failed, 2 not elevated, 3 bad arguments,\n"
                                "            4 another copy is running (nothing was changed).";

namespace {

// The command line is outside input: a bounded number of bounded tokens is looked at.
const size_t kMaxArgumentsLength = 1024;

bool Is(const std::string& token, const char* word) { return lstrcmpiA(token.c_str(), word) == 0; }

std::vector<std::string> Tokens(const std::string& arguments)
{
    std::vector<std::string> tokens;
    size_t start = arguments.find_first_not_of(" \t");
    while (start != std::string::npos) {
        const size_t end = arguments.find_first_of(" \t", start);
        tokens.push_back(arguments.substr(start, end == std::string::npos ? std::string::npos : end - start));
        start = end == std::string::npos ? end : arguments.find_first_not_of(" \t", end);
    }
    return tokens;
}

std::wstring Wide(const std::string& text) { return std::wstring(text.begin(), text.end()); }

std::wstring ServersText(const TFamilyDns& family)
{
    if (family.dhcp)
        return L"automatic";
    std::wstring text;
    for (const std::string& server : family.servers)
        text += (text.empty() ? L"" : L",") + Wide(server);
    return text.empty() ? L"none" : text;
}

int PrintStatus(
    ISystemServices& services, const AdapterList& adapters, const std::function<void(const std::wstring&)>& out)
{
    std::vector<TAdapterDns> current;
    if (!services.AdapterDnsSettings(current)) {
        out(L"The network adapters could not be read.");
        return kAdminFailed;
    }
    for (const TAdapterName& adapter : adapters) {
        const TAdapterDns* dns = FindAdapterDns(current, adapter.displayName);
        if (dns == nullptr) {
            if (adapter.discovered)
                out(adapter.displayName + L": not listed");
            continue;  // the dial-up entry exists only when listed
        }
        out(adapter.displayName + L": IPv4 " + ServersText(dns->ipv4) + L"; IPv6 " + ServersText(dns->ipv6) + L"; "
            + Wide(ConnectionDnsWord(*dns)) + (dns->connected ? L"" : L" (not connected)"));
    }
    return kAdminDone;
}

}  // namespace

TAdminRequest ParseAdminArguments(const std::string& arguments)
{
    TAdminRequest request;
    if (arguments.size() > kMaxArgumentsLength) {
        request.verb = TAdminRequest::Invalid;
        return request;
    }
    const std::vector<std::string> tokens = Tokens(arguments);
    for (size_t i = 0; i < tokens.size(); ++i) {
        const std::string& token = tokens[i];
        const bool first = request.verb == TAdminRequest::Window;
        if (Is(token, "/quiet") && !request.quiet) {
            request.quiet = true;
        } else if (Is(token, "/restore") && first) {
            request.verb = TAdminRequest::Restore;
        } else if (Is(token, "/status") && first) {
            request.verb = TAdminRequest::Status;
        } else if (Is(token, "/profile") && first && i + 1 < tokens.size()) {
            ++i;
            for (int profile = 0; profile < kProfileCount; ++profile) {
                if (Is(tokens[i], kProfileWords[profile]))
                    request.profile = profile;
            }
            request.verb = request.profile >= 0 ? TAdminRequest::Profile : TAdminRequest::Invalid;
        } else {
            request.verb = TAdminRequest::Invalid;
        }
        if (request.verb == TAdminRequest::Invalid)
            break;
    }
    // /quiet alone asks for nothing.
    if (request.verb == TAdminRequest::Window && request.quiet)
        request.verb = TAdminRequest::Invalid;
    return request;
}

int RunAdminRequest(const TAdminRequest& request, ISystemServices& services, AdapterList& adapters, bool otherCopyRuns,
    const std::function<void(const std::wstring&)>& out)
{
    static const char* const kButtons[kProfileCount] = {"btnOpen", "btnPure", "btnFamily"};
    if (request.verb == TAdminRequest::Invalid || request.verb == TAdminRequest::Window) {
        out(Wide(kAdminUsage));
        return kAdminBadArguments;
    }
    DiscoverAdapters(services, adapters);
    if (request.verb == TAdminRequest::Status)
        return PrintStatus(services, adapters, out);
    if (otherCopyRuns) {
        out(L"Another copy of Quoril is running; nothing was changed.");
        return kAdminOtherCopy;
    }
    CMainActions actions(services, adapters);
    actions.SetEnglish(true);
    actions.SetQuiet(request.quiet);
    actions.OnNotify("click", request.verb == TAdminRequest::Restore ? "btnRecover" : kButtons[request.profile]);
    const CMainActions::TResult& result = actions.LastResult();
    out(result.text);
    switch (result.kind) {
    case CMainActions::TResult::Done:
        return kAdminDone;
    case CMainActions::TResult::NotElevated:
        return kAdminNotElevated;
    default:
        return kAdminFailed;
    }
}

}  // namespace Quoril
