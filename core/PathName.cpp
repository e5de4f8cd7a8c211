#include "core/PathName.h"

#include <windows.h>

namespace SkinUI {

namespace {

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

bool IsDotsOnly(const char* start, const char* end)
{
    for (const char* c = start; c < end; ++c) {
        if (*c != '.' && *c != ' ')
            return false;
    }
    return end > start;
}

}  // namespace

bool HasDotComponent(const char* path)
{
    const char* start = path;
    for (const char* p = path;; ++p) {
        if (*p == '\0' || IsSeparator(*p)) {
            if (IsDotsOnly(start, p))
                return true;
            if (*p == '\0')
                return false;
            start = p + 1;
        } else if (::IsDBCSLeadByte(static_cast<BYTE>(*p)) && p[1] != '\0') {
            ++p;  // a trail byte may look like a backslash
        }
    }
}

}  // namespace SkinUI
