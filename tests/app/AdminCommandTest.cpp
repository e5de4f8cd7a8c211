// The administrators' command line: what it accepts, and the exit codes and output of each run
// against the recording fake.
#include "app/AdminCommand.h"

#include "ActionsRig.h"
#include "app/DnsProfiles.h"

#include <gtest/gtest.h>

using namespace apptest;
using Quoril::TAdminRequest;

TEST(AdminCommand, ArgumentsAreExactOrRefused)
{
    struct Case {
        std::string arguments;
        TAdminRequest::Verb verb;
        int profile;
        bool quiet;
    } const cases[] = {
        {"", TAdminRequest::Window, -1, false},
        {"   ", TAdminRequest::Window, -1, false},
        {"/profile blocking", TAdminRequest::Profile, 0, false},
        {"/PROFILE Pure /Quiet", TAdminRequest::Profile, 1, true},
        {"/quiet\t/profile family", TAdminRequest::Profile, 2, true},
        {"/restore", TAdminRequest::Restore, -1, false},
        {"/restore /quiet", TAdminRequest::Restore, -1, true},
        {"/status", TAdminRequest::Status, -1, false},
        {"/status /quiet", TAdminRequest::Status, -1, true},
        {"/profile", TAdminRequest::Invalid, -1, false},
        {"/profile strict", TAdminRequest::Invalid, -1, false},
        {"/profile blocking pure", TAdminRequest::Invalid, 0, false},
        {"/profile \"family\"", TAdminRequest::Invalid, -1, false},
        {"/restore /status", TAdminRequest::Invalid, -1, false},
        {"/restore /restore", TAdminRequest::Invalid, -1, false},
        {"/restore /quiet /quiet", TAdminRequest::Invalid, -1, true},
        {"/quiet", TAdminRequest::Invalid, -1, true},
        {"-status", TAdminRequest::Invalid, -1, false},
        {"/status" + std::string(2000, ' '), TAdminRequest::Invalid, -1, false},
    };
    for (const Case& c : cases) {
        const TAdminRequest request = Quoril::ParseAdminArguments(c.arguments);
        EXPECT_EQ(request.verb, c.verb) << c.arguments;
        if (c.verb != TAdminRequest::Invalid) {
            EXPECT_EQ(request.profile, c.profile) << c.arguments;
            EXPECT_EQ(request.quiet, c.quiet) << c.arguments;
        }
    }
}

namespace {

struct TRun {
    int exit;
    std::vector<std::wstring> lines;
    std::vector<std::string> runs;
    size_t boxes;
};

TRun RunWith(const std::string& arguments, const std::function<void(FakeServices&)>& setUp, bool otherCopy = false)
{
    FakeServices fake;
    fake.table = {{1, L"dev1"}, {2, L"dev2"}};
    fake.routerNames = {{L"dev1", L"Ethernet"}, {L"dev2", L"Wi-Fi"}};
    fake.dnsAdapters = {AdapterDns(L"Ethernet", {}, true), AdapterDns(L"Wi-Fi", {}, true)};
    if (setUp)
        setUp(fake);
    Quoril::AdapterList adapters;
    TRun run;
    run.exit = Quoril::RunAdminRequest(Quoril::ParseAdminArguments(arguments), fake, adapters, otherCopy,
        [&run](const std::wstring& line) { run.lines.push_back(line); });
    for (const std::string& call : fake.calls)
        if (call.compare(0, 4, "run ") == 0)
            run.runs.push_back(call);
    run.boxes = fake.boxes.size();
    return run;
}

}  // namespace

TEST(AdminCommand, ExitCodesAndOutput)
{
    const auto notElevated = [](FakeServices& fake) { fake.elevated = false; };
    const auto wifiFails = [](FakeServices& fake) { fake.onRun = FailWhere("\"Wi-Fi\""); };
    const std::vector<std::wstring> none;
    struct Case {
        std::string arguments;
        std::function<void(FakeServices&)> setUp;
        bool otherCopy;
        int exit;
        std::vector<std::wstring> lines;
        bool ran;
        size_t boxes;
    } const cases[] = {
        {"/profile family /quiet", nullptr, false, 0, {L"Settings applied (Family Mode)!"}, true, 0},
        {"/profile family", nullptr, false, 0, {L"Settings applied (Family Mode)!"}, true, 1},
        {"/restore /quiet", nullptr, false, 0,
            {L"DNS is obtained automatically again. Please clear your browser cache manually."}, true, 0},
        {"/profile pure /quiet", wifiFails, false, 1, {L"Setting failed. These connections could not be set:\nWi-Fi"},
            true, 0},
        {"/restore /quiet", notElevated, false, 2,
            {L"Administrator rights are needed to change the DNS settings. Please run the program as administrator."},
            false, 0},
        {"/restore /quiet", nullptr, true, 4, {L"Another copy of Quoril is running; nothing was changed."}, false, 0},
        {"/profile", nullptr, false, 3,
            {std::wstring(Quoril::kAdminUsage, Quoril::kAdminUsage + strlen(Quoril::kAdminUsage))}, false, 0},
    };
    for (const Case& c : cases) {
        const TRun run = RunWith(c.arguments, c.setUp, c.otherCopy);
        EXPECT_EQ(run.exit, c.exit) << c.arguments;
        EXPECT_EQ(run.lines, c.lines) << c.arguments;
        EXPECT_EQ(!run.runs.empty(), c.ran) << c.arguments;
        EXPECT_EQ(run.boxes, c.boxes) << c.arguments;
    }
}

TEST(AdminCommand, StatusNamesEachManagedConnectionEvenWhileAnotherCopyRuns)
{
    const auto& f = Quoril::kFamilyProfile;
    const auto& f6 = Quoril::kFamilyProfileIpv6;
    const TRun run = RunWith(
        "/status",
        [&](FakeServices& fake) {
            fake.table.push_back({3, L"dev3"});
            fake.routerNames[L"dev3"] = L"Office";
            fake.dnsAdapters = {AdapterDns(L"Ethernet", {f.primary, f.second}, false, {f6.primary, f6.second}, false),
                AdapterDns(L"Wi-Fi", {"192.168.1.1"}, true, {}, true, false),
                AdapterDns(L"VMware Network Adapter VMnet8", {"10.0.0.1"}, false),
                AdapterDns(L"\u5bbd\u5e26\u8fde\u63a5", {"10.1.1.1", "10.1.1.2"}, false, {"fd00::1"}, false)};
        },
        /*otherCopy*/ true);
    EXPECT_EQ(run.exit, 0);
    EXPECT_EQ(run.lines,
        (std::vector<std::wstring>{
            L"Ethernet: IPv4 1.1.1.3,1.0.0.3; IPv6 2606:4700:4700::1113,2606:4700:4700::1003; family",
            L"Wi-Fi: IPv4 automatic; IPv6 automatic; automatic (not connected)", L"Office: not listed",
            L"\u5bbd\u5e26\u8fde\u63a5: IPv4 10.1.1.1,10.1.1.2; IPv6 fd00::1; custom"}));
    EXPECT_TRUE(run.runs.empty());

    const TRun unread = RunWith("/status /quiet", [](FakeServices& fake) { fake.dnsOk = false; });
    EXPECT_EQ(unread.exit, 1);
    EXPECT_EQ(unread.lines, (std::vector<std::wstring>{L"The network adapters could not be read."}));
}
