// CImagePairReader: reads the key='value' pairs of an image attribute string, the one reader for
// "bkimage"-style attributes and the attribute form of inline images in marked-up text.
//
// Blanks (bytes 1 to 32) may stand around the key and the '='; the value runs between single
// quotes and may hold anything else, double-byte characters included. Another pair may follow a
// closing quote only after one space that is not the last byte.
#pragma once

#include "core/UIString.h"

namespace SkinUI {

class CImagePairReader {
public:
    explicit CImagePairReader(const char* text)
        : m_p(text != nullptr ? text : "")
    {
    }

    // Reads the next pair into key and value. False at the end of the string or at the first
    // malformed pair; the pairs read before it stand.
    bool Next();
    // True when another pair may follow (and steps over the separating space).
    bool More();

    CUIString key;
    CUIString value;

private:
    const char* m_p;  // not owned; the caller's string outlives the reader
};

}  // namespace SkinUI
