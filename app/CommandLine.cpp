#include "app/CommandLine.h"

#include <windows.h>

#include <string>

namespace Quoril {

namespace {

// CreateProcess refuses longer command lines.
const size_t kMaxCommandLine = 32767;

// The longest textual IPv6 address (with an embedded IPv4 tail) has 45 characters.
const size_t kMaxAddressLength = 45;

// True when the name's last character (not merely its last byte: a double-byte character of the
// ANSI code page may end in 0x5C) is a backslash, which the tool's argument parser would read as
// escaping the closing quote.
bool EndsWithBackslash(const std::string& text)
{
    bool last = false;
    for (size_t i = 0; i < text.size();) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        if (IsDBCSLeadByte(c) && i + 1 < text.size()) {
            last = false;
            i += 2;
        } else {
            last = (c == '\\');
            ++i;
        }
    }
    return last;
}

// Every netsh line: the context of the family, the verb, the quoted name and the verb's arguments.
bool ComposeNetshLine(
    IpFamily family, const char* verb, const std::string& connection, const std::string& arguments, std::string& out)
{
    out.clear();
    if (!IsQuotableConnectionName(connection))
        return false;
    std::string line = std::string("netsh interface ") + (family == IpFamily::Ipv6 ? "ipv6 " : "ip ") + verb
        + " name=\"" + connection + "\"" + arguments;
    if (line.size() > kMaxCommandLine)
        return false;
    out.swap(line);
    return true;
}

}  // namespace

bool IsQuotableConnectionName(const std::string& connection)
{
    if (connection.empty() || connection.size() > 255)
        return false;
    if (connection.find_first_of(std::string("\"\r\n\0", 4)) != std::string::npos)
        return false;
    return !EndsWithBackslash(connection);
}

bool IsPlainAddress(const char* address)
{
    if (!address || !*address)
        return false;
    size_t length = 0;
    for (; address[length]; ++length) {
        const char c = address[length];
        const bool hex = (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
        if (length >= kMaxAddressLength || !(hex || c == '.' || c == ':'))
            return false;
    }
    return true;
}

bool BuildDnsServerCommandLine(
    IpFamily family, const std::string& connection, const char* address, int position, std::string& out)
{
    out.clear();
    if (!IsPlainAddress(address) || position < 1)
        return false;
    const std::string server(address);
    // Without validate=no netsh first asks each server and, when it gets no answer (an IPv6 server
    // on a network without IPv6, a machine not connected yet), reports the server as wrong.
    if (position == 1)
        return ComposeNetshLine(
            family, "set dns", connection, " source=static addr=" + server + " register=primary validate=no", out);
    return ComposeNetshLine(
        family, "add dns", connection, " addr=" + server + " index=" + std::to_string(position) + " validate=no", out);
}

bool BuildDnsDhcpCommandLine(IpFamily family, const std::string& connection, std::string& out)
{
    return ComposeNetshLine(family, "set dns", connection, " source=dhcp", out);
}

}  // namespace Quoril
