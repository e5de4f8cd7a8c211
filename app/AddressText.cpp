#include "app/AddressText.h"

#include "app/CommandLine.h"

#include <cstdio>

namespace Quoril {

std::string Ipv4Text(const unsigned char (&bytes)[4])
{
    char text[16];
    std::snprintf(text, sizeof(text), "%u.%u.%u.%u", bytes[0], bytes[1], bytes[2], bytes[3]);
    return text;
}

std::string Ipv6Text(const unsigned char (&bytes)[16])
{
    unsigned groups[8];
    for (int i = 0; i < 8; ++i)
        groups[i] = (static_cast<unsigned>(bytes[2 * i]) << 8) | bytes[2 * i + 1];
    // The longest run of zero groups; a single zero group is written out, never shortened.
    int bestStart = -1;
    int bestLength = 1;
    for (int i = 0; i < 8;) {
        int length = 0;
        while (i + length < 8 && groups[i + length] == 0)
            ++length;
        if (length > bestLength) {
            bestStart = i;
            bestLength = length;
        }
        i += length > 0 ? length : 1;
    }
    std::string text;
    for (int i = 0; i < 8; ++i) {
        if (i == bestStart) {
            text += "::";
            i += bestLength - 1;
            continue;
        }
        if (!text.empty() && text.back() != ':')
            text += ':';
        char group[8];
        std::snprintf(group, sizeof(group), "%x", groups[i]);
        text += group;
    }
    return text;
}

bool ParseNameServerList(const std::string& text, size_t maxServers, std::vector<std::string>& servers)
{
    servers.clear();
    size_t start = text.find_first_not_of(" ,");
    while (start != std::string::npos) {
        const size_t end = text.find_first_of(" ,", start);
        const std::string address = text.substr(start, end == std::string::npos ? std::string::npos : end - start);
        if (!IsPlainAddress(address.c_str()) || servers.size() == maxServers) {
            servers.clear();
            return false;
        }
        servers.push_back(address);
        start = end == std::string::npos ? end : text.find_first_not_of(" ,", end);
    }
    return true;
}

}  // namespace Quoril
