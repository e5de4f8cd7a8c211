// The three DNS profiles and the two web pages, in one place.
//
// Every address is a public resolver in service today whose filtering policy matches the profile
// it serves, so a user who picks any profile keeps working name resolution. Eight distinct
// addresses; no address is shared between profiles. The family profile has no third server.
#pragma once

namespace Quoril {

struct TDnsProfile {
    const char* primary;
    const char* second;
    const char* third;  // null: the profile sets two servers only
};

// Blocking profile: domains known to serve malware, phishing or scams get a blocked answer.
// Primary and second are Quad9's threat-blocking resolvers (quad9.net, "Recommended" service);
// the third is Cloudflare's malware-blocking resolver (developers.cloudflare.com, 1.1.1.1 for Families).
constexpr TDnsProfile kBlockingProfile = {"9.9.9.9", "149.112.112.112", "1.1.1.2"};

// Pure profile: no filtering at all. Primary and second are Cloudflare's public resolver
// (one.one.one.one); the third is Quad9's unfiltered service (quad9.net, "Unsecured").
constexpr TDnsProfile kPureProfile = {"1.1.1.1", "1.0.0.1", "9.9.9.10"};

// Family profile: adult content and malware blocked. Cloudflare's 1.1.1.1 for Families, "malware and
// adult content" servers (developers.cloudflare.com).
constexpr TDnsProfile kFamilyProfile = {"1.1.1.3", "1.0.0.3", nullptr};

// The same services' IPv6 addresses, server for server: on a dual-stack network Windows also asks
// the IPv6 servers the router advertises, which would bypass the filtering set on IPv4 alone.
constexpr TDnsProfile kBlockingProfileIpv6 = {"2620:fe::fe", "2620:fe::9", "2606:4700:4700::1112"};
constexpr TDnsProfile kPureProfileIpv6 = {"2606:4700:4700::1111", "2606:4700:4700::1001", "2620:fe::10"};
constexpr TDnsProfile kFamilyProfileIpv6 = {"2606:4700:4700::1113", "2606:4700:4700::1003", nullptr};

// The profiles in button order (blocking, pure, family), each with both address families.
struct TProfileAddresses {
    const TDnsProfile* ipv4;
    const TDnsProfile* ipv6;
};
constexpr TProfileAddresses kProfileAddresses[] = {
    {&kBlockingProfile, &kBlockingProfileIpv6},
    {&kPureProfile, &kPureProfileIpv6},
    {&kFamilyProfile, &kFamilyProfileIpv6},
};
constexpr int kProfileCount = 3;
// The profiles' names on the command line and in its output, in the same order.
constexpr const char* kProfileWords[kProfileCount] = {"blocking", "pure", "family"};

// The page that shows whether the blocking resolver answers this computer, and the service's home page.
constexpr const char* kBlockingTestUrl = "http://on.quad9.net/";
constexpr const char* kHomePageUrl = "http://www.quad9.net/";

}  // namespace Quoril
