// Kept free of user32/gdi32, like the parser that uses it: the conversions are kernel32's.
#include "skin/SkinXmlText.h"

#include <windows.h>

#include <algorithm>
#include <climits>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <new>

namespace SkinUI {

namespace {

// UTF-8 bytes converted per call at most; a longer run of non-ASCII text is converted in parts.
constexpr size_t kChunkBytes = 256;
// No code page spends more than four bytes on one UTF-16 unit.
constexpr size_t kMaxBytesPerUnit = 4;

uint64_t WordAt(const unsigned char* bytes)
{
    uint64_t word;
    std::memcpy(&word, bytes, sizeof(word));
    return word;
}

// The length of the seven-bit prefix of the bytes, found 32 bytes at a time: this pass runs over
// every skin file the program loads.
size_t AsciiPrefix(const unsigned char* bytes, size_t size)
{
    constexpr uint64_t kHighBits = 0x8080808080808080ull;
    size_t i = 0;
    for (; i + 32 <= size; i += 32) {
        const uint64_t any
            = WordAt(bytes + i) | WordAt(bytes + i + 8) | WordAt(bytes + i + 16) | WordAt(bytes + i + 24);
        if ((any & kHighBits) != 0)
            break;
    }
    // The word that holds the first high byte is scanned bytewise: that is once per call, and it
    // keeps the result independent of byte order and of any compiler's bit-scan intrinsic.
    while (i + 8 <= size && (WordAt(bytes + i) & kHighBits) == 0)
        i += 8;
    while (i < size && bytes[i] < 0x80)
        ++i;
    return i;
}

// The length of the well-formed UTF-8 character at the start of the bytes (no overlong forms, no
// surrogates, nothing above U+10FFFF), or 0 for anything else.
size_t WellFormedLength(const unsigned char* bytes, size_t available)
{
    const unsigned char lead = bytes[0];
    size_t length = 0;
    unsigned char low = 0x80;  // the range of the second byte, which excludes the bad forms
    unsigned char high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        low = lead == 0xE0 ? 0xA0 : 0x80;
        high = lead == 0xED ? 0x9F : 0xBF;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        low = lead == 0xF0 ? 0x90 : 0x80;
        high = lead == 0xF4 ? 0x8F : 0xBF;
    }
    if (length == 0 || length > available || bytes[1] < low || bytes[1] > high)
        return 0;
    for (size_t i = 2; i < length; ++i) {
        if ((bytes[i] & 0xC0) != 0x80)
            return 0;
    }
    return length;
}

// Whole characters through UTF-16 into the ANSI code page; at most kChunkBytes bytes.
bool AppendConverted(CSkinTextBuilder& out, const unsigned char* bytes, size_t count)
{
    wchar_t wide[kChunkBytes];
    char ansi[kChunkBytes * kMaxBytesPerUnit];
    const int wideLength = ::MultiByteToWideChar(
        CP_UTF8, 0, reinterpret_cast<const char*>(bytes), static_cast<int>(count), wide, static_cast<int>(kChunkBytes));
    if (wideLength <= 0)
        return false;
    const int ansiLength
        = ::WideCharToMultiByte(CP_ACP, 0, wide, wideLength, ansi, static_cast<int>(sizeof(ansi)), nullptr, nullptr);
    return ansiLength > 0 && out.Append(ansi, static_cast<size_t>(ansiLength));
}

// Malformed UTF-8 in one piece: how a converter replaces a broken sequence depends on what follows
// it, even on how many bytes are left, so a text converted in parts could come out different.
char* ConvertWholeText(const unsigned char* bytes, size_t size)
{
    const char* utf8 = reinterpret_cast<const char*>(bytes);
    const int utf8Length = static_cast<int>(size);
    // UTF-8 never takes fewer bytes than UTF-16 units, so the input length bounds the wide text.
    std::unique_ptr<wchar_t[]> wide(new (std::nothrow) wchar_t[size]);
    const int wideLength = wide ? ::MultiByteToWideChar(CP_UTF8, 0, utf8, utf8Length, wide.get(), utf8Length) : 0;
    if (wideLength <= 0)
        return nullptr;
    const int ansiLength = ::WideCharToMultiByte(CP_ACP, 0, wide.get(), wideLength, nullptr, 0, nullptr, nullptr);
    if (ansiLength <= 0 || ansiLength == INT_MAX)
        return nullptr;
    char* text = AllocateSkinText(static_cast<size_t>(ansiLength));
    if (text
        && ::WideCharToMultiByte(CP_ACP, 0, wide.get(), wideLength, text, ansiLength, nullptr, nullptr) != ansiLength) {
        std::free(text);
        return nullptr;
    }
    return text;
}

}  // namespace

CSkinTextBuilder::CSkinTextBuilder(size_t expected)
    : m_text(AllocateSkinText(expected))
    , m_capacity(m_text ? expected : 0)
{
}

CSkinTextBuilder::~CSkinTextBuilder() { std::free(m_text); }

bool CSkinTextBuilder::Append(const void* bytes, size_t count)
{
    if (!m_text || count > static_cast<size_t>(INT_MAX) - 1 - m_length)
        return false;
    if (count > m_capacity - m_length) {
        const size_t capacity = std::max(m_capacity + m_capacity / 2, m_length + count);
        void* grown = std::realloc(m_text, capacity + 1);
        if (!grown)
            return false;
        m_text = static_cast<char*>(grown);
        m_capacity = capacity;
    }
    std::memcpy(m_text + m_length, bytes, count);
    m_length += count;
    return true;
}

char* CSkinTextBuilder::Release()
{
    if (!m_text)
        return nullptr;
    m_text[m_length] = '\0';
    char* text = m_text;
    m_text = nullptr;
    return text;
}

char* AllocateSkinText(size_t length)
{
    if (length == SIZE_MAX)
        return nullptr;
    char* text = static_cast<char*>(std::malloc(length + 1));
    if (text)
        text[length] = '\0';
    return text;
}

// Seven-bit runs read the same in every ANSI code page and are copied as they stand; only the other
// runs go through the converters, whole characters a small part at a time, so a well-formed text
// needs no UTF-16 copy of itself and a mostly English skin costs little more than a copy.
char* ConvertUtf8ToAnsi(const unsigned char* bytes, size_t size)
{
    CSkinTextBuilder out(size);
    size_t i = 0;
    while (i < size) {
        const size_t plain = AsciiPrefix(bytes + i, size - i);
        if (!out.Append(bytes + i, plain))
            return nullptr;
        i += plain;
        size_t end = i;
        while (end < size && bytes[end] >= 0x80 && end - i <= kChunkBytes - 4) {
            const size_t length = WellFormedLength(bytes + end, size - end);
            if (length == 0)
                return ConvertWholeText(bytes, size);
            end += length;
        }
        if (end > i && !AppendConverted(out, bytes + i, end - i))
            return nullptr;
        i = end;
    }
    return out.Release();
}

}  // namespace SkinUI
