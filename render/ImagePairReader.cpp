#include "render/ImagePairReader.h"

#include <windows.h>

namespace SkinUI {

namespace {

bool IsBlank(char c) { return c >= 0x01 && c <= 0x20; }

const char* SkipBlanks(const char* p)
{
    while (IsBlank(*p))
        ++p;
    return p;
}

}  // namespace

bool CImagePairReader::Next()
{
    const char* p = SkipBlanks(m_p);
    const char* keyStart = p;
    while (*p != '\0' && *p != '=' && !IsBlank(*p))
        p = CharNextA(p);
    key.Assign(keyStart, static_cast<int>(p - keyStart));
    p = SkipBlanks(p);
    m_p = p;
    if (*p != '=')
        return false;
    p = SkipBlanks(p + 1);
    m_p = p;
    if (*p != '\'')
        return false;
    const char* valueStart = ++p;
    while (*p != '\0' && *p != '\'')
        p = CharNextA(p);
    m_p = p;
    if (*p != '\'')
        return false;
    value.Assign(valueStart, static_cast<int>(p - valueStart));
    m_p = p + 1;
    return true;
}

bool CImagePairReader::More()
{
    if (*m_p != ' ' || m_p[1] == '\0')
        return false;
    ++m_p;
    return true;
}

}  // namespace SkinUI
