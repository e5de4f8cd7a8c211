#include "core/ValueParse.h"

#include <cstring>

namespace SkinUI {

namespace {

// The result of reading one number the way strtol/strtoul do, with the magnitude saturated just
// above 32 bits so that overflow is seen the same whatever the width of long on the build host.
struct TScan {
    unsigned long long magnitude;
    bool negative;
    bool converted;
    const char* end;  // first character not used; the start of the text when nothing converted
};

const unsigned long long kSaturated = 0x100000000ULL;

bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r'; }

int DigitValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return 99;
}

TScan Scan(const char* text, int base)
{
    TScan scan = {0, false, false, text};
    const char* p = text;
    while (IsSpace(*p))
        ++p;
    if (*p == '+' || *p == '-') {
        scan.negative = *p == '-';
        ++p;
    }
    if (base == 16 && p[0] == '0' && (p[1] == 'x' || p[1] == 'X') && DigitValue(p[2]) < 16)
        p += 2;
    for (int d; (d = DigitValue(*p)) < base; ++p) {
        scan.converted = true;
        scan.magnitude = scan.magnitude * base + d;
        if (scan.magnitude > kSaturated)
            scan.magnitude = kSaturated;
    }
    if (scan.converted)
        scan.end = p;
    return scan;
}

// strtol with a 32-bit long: out-of-range values clamp to INT_MIN / INT_MAX.
int ToInt(const TScan& scan)
{
    if (scan.negative)
        return scan.magnitude >= 0x80000000ULL ? (-2147483647 - 1) : -static_cast<int>(scan.magnitude);
    return scan.magnitude >= 0x7FFFFFFFULL ? 2147483647 : static_cast<int>(scan.magnitude);
}

// strtoul with a 32-bit long: overflow gives 0xFFFFFFFF, a minus sign negates modulo 2^32.
DWORD ToUnsigned(const TScan& scan)
{
    if (scan.magnitude > 0xFFFFFFFFULL)
        return 0xFFFFFFFFUL;
    const DWORD value = static_cast<DWORD>(scan.magnitude);
    return scan.negative ? static_cast<DWORD>(0u - value) : value;
}

}  // namespace

bool ParseFlag(const char* text) { return text != nullptr && std::strcmp(text, "true") == 0; }

unsigned ApplyFlagBit(unsigned bits, unsigned bit, const char* text)
{
    return ParseFlag(text) ? bits | bit : bits & ~bit;
}

int ParseInt(const char* text) { return ToInt(Scan(text != nullptr ? text : "", 10)); }

int ParseIntList(const char* text, int* values, int count)
{
    for (int i = 0; i < count; ++i)
        values[i] = 0;
    const char* p = text != nullptr ? text : "";
    int found = 0;
    for (int i = 0; i < count; ++i) {
        const TScan scan = Scan(p, 10);
        values[i] = ToInt(scan);
        if (scan.converted)
            ++found;
        // One separator is stepped over, never the terminator.
        if (*scan.end == '\0')
            break;
        p = scan.end + 1;
    }
    return found;
}

CRectUI ParseRect(const char* text)
{
    int v[4];
    ParseIntList(text, v, 4);
    return CRectUI(v[0], v[1], v[2], v[3]);
}

CSizeUI ParseSize(const char* text)
{
    int v[2];
    ParseIntList(text, v, 2);
    return CSizeUI(v[0], v[1]);
}

DWORD ParseColor(const char* text)
{
    const char* p = text != nullptr ? text : "";
    if (*p == '#')
        ++p;
    return ToUnsigned(Scan(p, 16));
}

DWORD ParseColorSkipBlanks(const char* text)
{
    const char* p = text != nullptr ? text : "";
    while (static_cast<unsigned char>(*p) >= 1 && static_cast<unsigned char>(*p) <= 32)
        ++p;
    return ParseColor(p);
}

}  // namespace SkinUI
