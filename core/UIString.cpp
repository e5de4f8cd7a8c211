#include "core/UIString.h"

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace SkinUI {

namespace {

const char kEmpty[] = "";

// Length of `text`, looking at no more than `limit` bytes (limit < 0: no limit).
int BoundedLength(const char* text, int limit)
{
    int n = 0;
    while ((limit < 0 || n < limit) && text[n] != '\0')
        ++n;
    return n;
}

// Width in bytes of the character at p: two for a lead byte followed by a trail byte.
int CharWidth(const char* p) { return (IsDBCSLeadByte(static_cast<BYTE>(p[0])) && p[1] != '\0') ? 2 : 1; }

}  // namespace

CUIString::CUIString()
    : m_data(m_inline)
{
    m_inline[0] = '\0';
}

CUIString::CUIString(const char* text, int length)
    : m_data(m_inline)
{
    m_inline[0] = '\0';
    Assign(text, length);
}

CUIString::CUIString(const CUIString& other)
    : m_data(m_inline)
{
    m_inline[0] = '\0';
    Assign(other.m_data);
}

CUIString::~CUIString()
{
    if (IsOnHeap())
        std::free(m_data);
}

CUIString& CUIString::operator=(const CUIString& other)
{
    if (this != &other)
        Assign(other.m_data);
    return *this;
}

CUIString& CUIString::operator=(const char* text)
{
    if (text == nullptr)
        Clear();
    else
        Assign(text);
    return *this;
}

CUIString CUIString::operator+(const char* text) const
{
    CUIString result(*this);
    result.Append(text);
    return result;
}

void CUIString::Assign(const char* text, int length)
{
    if (text == nullptr)
        text = kEmpty;
    // A length longer than the text would copy bytes beyond its terminator.
    const int len = BoundedLength(text, length);

    if (len <= kMaxInline) {
        // text may live in our own heap block: copy before freeing it.
        std::memmove(m_inline, text, len);
        m_inline[len] = '\0';
        if (IsOnHeap())
            std::free(m_data);
        m_data = m_inline;
        return;
    }
    if (IsOnHeap() && GetLength() >= len) {
        std::memmove(m_data, text, len);
        m_data[len] = '\0';
        return;
    }
    // A fresh block, filled before the old one goes, keeps an aliasing source valid.
    char* block = static_cast<char*>(std::malloc(static_cast<size_t>(len) + 1));
    if (block == nullptr)
        return;
    std::memcpy(block, text, len);
    block[len] = '\0';
    if (IsOnHeap())
        std::free(m_data);
    m_data = block;
}

void CUIString::Append(const char* text)
{
    if (text == nullptr || text[0] == '\0')
        return;
    const int oldLen = GetLength();
    const int addLen = BoundedLength(text, -1);
    const int len = oldLen + addLen;

    if (len <= kMaxInline) {
        std::memmove(m_data + oldLen, text, addLen);
        m_data[len] = '\0';
        return;
    }
    char* block = static_cast<char*>(std::malloc(static_cast<size_t>(len) + 1));
    if (block == nullptr)
        return;
    std::memcpy(block, m_data, oldLen);
    std::memcpy(block + oldLen, text, addLen);
    block[len] = '\0';
    if (IsOnHeap())
        std::free(m_data);
    m_data = block;
}

void CUIString::AppendChar(char ch)
{
    const char text[2] = {ch, '\0'};
    Append(text);
}

void CUIString::Clear()
{
    if (IsOnHeap())
        std::free(m_data);
    m_data = m_inline;
    m_inline[0] = '\0';
}

int CUIString::GetLength() const { return static_cast<int>(std::strlen(m_data)); }

char CUIString::GetAt(int index) const
{
    if (index < 0 || index >= GetLength())
        return '\0';
    return m_data[index];
}

CUIString CUIString::Left(int n) const
{
    const int len = GetLength();
    if (n < 0)
        n = 0;
    if (n > len)
        n = len;
    return CUIString(m_data, n);
}

CUIString CUIString::Mid(int pos, int n) const
{
    const int len = GetLength();
    if (pos < 0 || pos > len)
        return CUIString();
    if (n < 0 || n > len - pos)
        n = len - pos;
    return CUIString(m_data + pos, n);
}

int CUIString::Find(const char* text, int start) const
{
    const int len = GetLength();
    if (text == nullptr || text[0] == '\0' || start < 0 || start > len)
        return -1;
    const int needle = static_cast<int>(std::strlen(text));
    // Only character starts are candidates, so a trail byte that happens to equal an ASCII
    // character never matches.
    for (int p = start; p + needle <= len; p += CharWidth(m_data + p)) {
        if (std::memcmp(m_data + p, text, needle) == 0)
            return p;
    }
    return -1;
}

int CUIString::Replace(const char* from, const char* to)
{
    if (from == nullptr || from[0] == '\0')
        return 0;
    // Either argument may point into this string, which changes under the loop.
    const CUIString search(from);
    const CUIString replacement(to);
    const int searchLen = search.GetLength();
    const int replacementLen = replacement.GetLength();
    int count = 0;
    for (int at = Find(search); at >= 0; at = Find(search, at + replacementLen)) {
        CUIString rebuilt = Left(at);
        rebuilt.Append(replacement);
        rebuilt.Append(m_data + at + searchLen);
        *this = rebuilt;
        ++count;
    }
    return count;
}

int CUIString::Format(const char* format, ...)
{
    va_list args;
    va_start(args, format);
    const int result = FormatV(format, args);
    va_end(args);
    return result;
}

int CUIString::FormatV(const char* format, va_list args)
{
    // The format may be our own text, which Assign replaces.
    const CUIString pattern(format);
    char buffer[64] = {};
    // C99 vsnprintf always terminates and reports the full length, so truncation is visible.
    const int written = std::vsnprintf(buffer, sizeof(buffer), pattern.GetData(), args);
    if (written < 0 || written >= static_cast<int>(sizeof(buffer))) {
        // A cut text must never reach a caller that would act on it.
        Clear();
        return -1;
    }
    Assign(buffer, written);
    return written;
}

int CUIString::Compare(const char* text) const { return std::strcmp(m_data, text != nullptr ? text : kEmpty); }

int CUIString::CompareNoCase(const char* text) const
{
    const unsigned char* a = reinterpret_cast<const unsigned char*>(m_data);
    const unsigned char* b = reinterpret_cast<const unsigned char*>(text != nullptr ? text : kEmpty);
    for (;;) {
        if (*a != '\0' && *a == *b && IsDBCSLeadByte(*a) && a[1] != '\0') {
            // The trail byte of a double-byte character is not a letter, whatever its value.
            if (a[1] != b[1])
                return a[1] < b[1] ? -1 : 1;
            a += 2;
            b += 2;
            continue;
        }
        const int ca = (*a >= 'A' && *a <= 'Z') ? *a + ('a' - 'A') : *a;
        const int cb = (*b >= 'A' && *b <= 'Z') ? *b + ('a' - 'A') : *b;
        if (ca != cb)
            return ca < cb ? -1 : 1;
        if (ca == 0)
            return 0;
        ++a;
        ++b;
    }
}

}  // namespace SkinUI
