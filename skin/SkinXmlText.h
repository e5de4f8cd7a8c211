// The layout parser's text buffers, and the conversion of skin files (UTF-8) into the ANSI code page
// every skin string is compared and drawn in.
//
// A buffer is one std::malloc block (release it with std::free) holding the text and its
// terminating NUL. Texts stay below INT_MAX bytes, so offsets into them fit 32 bits.
#pragma once

#include <cstddef>

namespace SkinUI {

// Room for `length` bytes of the caller's, then the terminator (written here); null when memory
// runs out.
char* AllocateSkinText(size_t length);

// UTF-8 (no byte-order mark) as a fresh buffer in the ANSI code page, as one conversion of the
// whole text through UTF-16 would give it (malformed sequences come out as the converters'
// replacement characters). Null when memory runs out or the converted text would not fit.
char* ConvertUtf8ToAnsi(const unsigned char* bytes, size_t size);

// A text buffer that grows as parts are appended, for texts whose length is known only at the end.
class CSkinTextBuilder {
public:
    // `expected` bytes are allocated at once; more are found as needed.
    explicit CSkinTextBuilder(size_t expected);
    ~CSkinTextBuilder();
    CSkinTextBuilder(const CSkinTextBuilder&) = delete;
    CSkinTextBuilder& operator=(const CSkinTextBuilder&) = delete;

    // False, the text as it was, when memory runs out or the text would reach INT_MAX bytes.
    bool Append(const void* bytes, size_t count);
    // The finished text, terminated, now the caller's; null when an allocation failed.
    char* Release();

private:
    char* m_text;  // owned until released; null when the first allocation failed
    size_t m_length = 0;
    size_t m_capacity;  // bytes of text room, the terminator not counted
};

}  // namespace SkinUI
