#include "render/ImageVariant.h"

#include <windows.h>

#include <cstdio>
#include <cstring>

#include "core/PathName.h"
#include "host/ResourceLocation.h"

namespace SkinUI {

namespace {

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

// Walks whole characters of the ANSI code page (a double-byte trail byte may be 0x5C, '\').
// Finds where the last part starts and its last '.', and refuses anything leaving the skin.
bool ScanName(const char* name, const char*& lastPart, const char*& lastDot)
{
    if (name[0] == '\0' || IsSeparator(name[0]) || HasDotComponent(name))
        return false;
    lastPart = name;
    lastDot = nullptr;
    for (const char* p = name; *p != '\0'; p = CharNextA(p)) {
        if (*p == ':')
            return false;
        if (IsSeparator(*p)) {
            lastPart = p + 1;
            lastDot = nullptr;
        } else if (*p == '.') {
            lastDot = p;
        }
    }
    // "name" and "dir/name" take the suffix at their end; ".png" alone has no base to carry it.
    if (lastDot == lastPart)
        return false;
    return *lastPart != '\0';
}

}  // namespace

bool ImageVariantName(const char* name, int percent, CUIString& out)
{
    out.Clear();
    const char* lastPart = nullptr;
    const char* lastDot = nullptr;
    if (name == nullptr || std::strlen(name) > MAX_PATH || !ScanName(name, lastPart, lastDot))
        return false;
    char suffix[16];
    if (percent % 100 == 0)
        std::snprintf(suffix, sizeof(suffix), "@%dx", percent / 100);
    else if (percent % 10 == 0)
        std::snprintf(suffix, sizeof(suffix), "@%d.%dx", percent / 100, percent % 100 / 10);
    else
        std::snprintf(suffix, sizeof(suffix), "@%d.%02dx", percent / 100, percent % 100);
    const char* split = lastDot != nullptr ? lastDot : name + std::strlen(name);
    out.Assign(name, static_cast<int>(split - name));
    out.Append(suffix);
    out.Append(split);
    return true;
}

bool ReadImageVariant(const char* name, int dpi, TSkinFileBytes& out, int& percent)
{
    out = TSkinFileBytes();
    if (dpi <= 96)
        return false;
    CUIString variant;
    for (int candidate : kImageVariantPercents) {
        // At or above the window's scale: candidate / 100 >= dpi / 96.
        if (static_cast<long long>(candidate) * 96 < static_cast<long long>(dpi) * 100)
            continue;
        if (!ImageVariantName(name, candidate, variant))
            return false;
        const SkinFileStatus status = CResourceLocation::ReadSkinFile(variant, nullptr, kSkinImageMaxBytes, false, out);
        if (status == SkinFileStatus::Found) {
            percent = candidate;
            return true;
        }
        // Only a variant that is not there lets a larger one stand in; one that is there but
        // unreadable leaves the picture to the 1x file.
        if (status != SkinFileStatus::EntryNotFound && status != SkinFileStatus::FileOpenFailed)
            return false;
    }
    return false;
}

}  // namespace SkinUI
