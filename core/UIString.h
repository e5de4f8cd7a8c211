// CUIString: the framework's 8-bit text in the system ANSI code page.
//
// Names, attribute values and captions are short, so a text of up to 62 characters lives in a
// 64-byte inline buffer and never touches the heap; 63 characters or more live in one heap block.
// The NUL terminator is the only length record. Searching and comparison step over double-byte
// characters of the ANSI code page as whole characters, so a trail byte never matches on its own.
// Comparison is case-sensitive unless the caller asks for CompareNoCase (ASCII letters only).
#pragma once

#include <cstdarg>

namespace SkinUI {

class CUIString {
public:
    // Texts up to this many characters stay inline.
    static const int kMaxInline = 62;

    CUIString();
    // A null text counts as the empty text; length -1 means the text's own length.
    CUIString(const char* text, int length = -1);
    CUIString(const CUIString& other);
    ~CUIString();

    CUIString& operator=(const CUIString& other);
    // A null text empties the string.
    CUIString& operator=(const char* text);
    CUIString& operator+=(const char* text)
    {
        Append(text);
        return *this;
    }
    CUIString& operator+=(const CUIString& other)
    {
        Append(other.m_data);
        return *this;
    }
    CUIString& operator+=(char ch)
    {
        AppendChar(ch);
        return *this;
    }
    CUIString operator+(const char* text) const;
    CUIString operator+(const CUIString& other) const { return *this + other.m_data; }

    // Copies exactly `length` characters (or the whole text for -1) and terminates. The source may
    // point into this string's own buffer.
    void Assign(const char* text, int length = -1);
    void Append(const char* text);
    void AppendChar(char ch);
    // Frees any heap block and returns to the empty inline text.
    void Clear();

    const char* GetData() const { return m_data; }
    operator const char*() const { return m_data; }
    int GetLength() const;
    bool IsEmpty() const { return m_data[0] == '\0'; }
    // The byte at `index`; NUL for an index outside 0..length-1.
    char GetAt(int index) const;
    bool IsOnHeap() const { return m_data != m_inline; }

    // The first n characters (n clamped to 0..length).
    CUIString Left(int n) const;
    // n == -1: the rest from pos. pos outside 0..length gives the empty text.
    CUIString Mid(int pos, int n = -1) const;
    // Byte offset of the first occurrence at or after `start` on a character boundary, or -1
    // (also for a null/empty needle, a negative start or a start beyond the length).
    int Find(const char* text, int start = 0) const;
    // Replaces every occurrence left to right; replacement text is never searched again.
    // Returns the number of replacements (0 for an empty search text).
    int Replace(const char* from, const char* to);
    // printf-style formatting limited to 63 characters. Returns the number of characters written,
    // or -1 when the output does not fit or the formatter fails; the string is then empty.
    int Format(const char* format, ...);
    int FormatV(const char* format, va_list args);

    // Byte-order comparison (<0, 0, >0); a null text counts as empty.
    int Compare(const char* text) const;
    // As Compare, but single-byte ASCII letters compare without case; double-byte characters are
    // compared as they are.
    int CompareNoCase(const char* text) const;
    bool operator==(const char* text) const { return Compare(text) == 0; }
    bool operator!=(const char* text) const { return Compare(text) != 0; }
    bool operator==(const CUIString& other) const { return Compare(other.m_data) == 0; }
    bool operator!=(const CUIString& other) const { return Compare(other.m_data) != 0; }

private:
    char* m_data;  // m_inline or a heap block of length + 1 bytes (at least 64); never null
    char m_inline[64];
};

// Keeps `"text" == str` from comparing addresses through the const char* conversion.
inline bool operator==(const char* text, const CUIString& s) { return s == text; }
inline bool operator!=(const char* text, const CUIString& s) { return s != text; }

}  // namespace SkinUI
