#include "app/AddressText.h"

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

}  // namespace Quoril
