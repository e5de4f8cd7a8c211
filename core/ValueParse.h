// Readers for skin attribute values, shared by every layer that reads markup (window, controls,
// images, text markup), so the rules live in one place:
//   flag    - true only for the exact, case-sensitive text "true" ("TRUE" and "1" are false);
//   integer - leading blanks, optional sign, decimal digits (strtol rules, clamped to 32 bits);
//             no digits gives 0;
//   list    - the first number as an integer; each further number is read starting exactly one
//             character after the point where the previous read stopped, so "1,2", "1 2" and
//             "1, 2" all work while "1 ,2" gives 0 for the second. The reader stops at the
//             terminator: numbers the text does not reach are 0;
//   colour  - one optional "#", then an unsigned 32-bit hexadecimal AARRGGBB value (strtoul
//             rules). Six digits leave alpha 0.
// All readers take NUL-terminated text, accept null (read as empty) and never read past the NUL.
#pragma once

#include "core/Geometry.h"

namespace SkinUI {

bool ParseFlag(const char* text);
// `bits` with `bit` set when the text is a true flag and cleared otherwise (a style bit that an
// attribute switches both ways).
unsigned ApplyFlagBit(unsigned bits, unsigned bit, const char* text);
int ParseInt(const char* text);

// Reads `count` numbers into `values`; those the text does not reach are 0. Returns how many of
// the reads found digits.
int ParseIntList(const char* text, int* values, int count);
// Four numbers: left, top, right, bottom.
CRectUI ParseRect(const char* text);
// Two numbers: cx, cy.
CSizeUI ParseSize(const char* text);

// Optional "#", then hexadecimal. A leading blank is not skipped, so " #FF336699" reads as 0.
DWORD ParseColor(const char* text);
// As ParseColor after skipping leading characters with codes 1 to 32 (blanks, tabs, line breaks);
// used where a skin value may be written on its own indented line.
DWORD ParseColorSkipBlanks(const char* text);

}  // namespace SkinUI
