#include "core/CodePage.h"

#include <gtest/gtest.h>

#include <string>

using namespace SkinUI;

namespace {

// Code page 936 is named, never the system's: these hold whatever the machine's ANSI code page.
TEST(CodePage, BytesToWideInTheCodePageTheCallerNames)
{
    const std::string longText(3000000, 'a');
    struct TCase {
        const char* name;
        std::string bytes;
        UINT codePage;
        DWORD flags;
        bool ok;
        std::wstring wide;
    };
    const TCase cases[] = {
        {"empty", "", 936, MB_ERR_INVALID_CHARS, true, L""},
        {"936 pair", "\xC4\xE3\xBA\xC3", 936, MB_ERR_INVALID_CHARS, true, L"\x4F60\x597D"},
        {"936 mixed with ASCII", "DNS \xB9\xFD\xC2\xCB", 936, 0, true, L"DNS \x8FC7\x6EE4"},
        {"936 lead byte alone, strict", "a\x81", 936, MB_ERR_INVALID_CHARS, false, L""},
        {"UTF-8 broken sequence, strict", "\xE4\xBD", CP_UTF8, MB_ERR_INVALID_CHARS, false, L""},
        {"UTF-8 broken sequence, lenient", "\xE4\xBD", CP_UTF8, 0, true, L"\xFFFD"},
        {"NUL inside is converted", std::string("a\0b", 3), CP_UTF8, 0, true, std::wstring(L"a\0b", 3)},
        {"very long", longText, CP_UTF8, 0, true, std::wstring(longText.size(), L'a')},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.name);
        std::wstring out = L"stale";
        EXPECT_EQ(WideFromCodePage(c.bytes, c.codePage, out, c.flags), c.ok);
        EXPECT_TRUE(out == c.wide) << "got " << out.size() << " units";
    }
}

TEST(CodePage, WideToBytesSaysWhenACharacterHadNoForm)
{
    struct TCase {
        const char* name;
        std::wstring wide;
        UINT codePage;
        DWORD flags;
        bool ok;
        std::string bytes;
        BOOL usedDefault;
    };
    const TCase cases[] = {
        {"empty", L"", 936, 0, true, "", FALSE},
        {"936 pair", L"\x4F60\x597D", 936, 0, true, "\xC4\xE3\xBA\xC3", FALSE},
        {"no form in 1252", L"a\x4F60", 1252, 0, true, "a?", TRUE},
        {"UTF-8 lone surrogate, strict", L"a\xD800", CP_UTF8, WC_ERR_INVALID_CHARS, false, "", FALSE},
        {"UTF-8", L"\x4F60", CP_UTF8, 0, true, "\xE4\xBD\xA0", FALSE},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.name);
        std::string out = "stale";
        BOOL usedDefault = TRUE;
        BOOL* seen = c.codePage == CP_UTF8 ? nullptr : &usedDefault;
        EXPECT_EQ(CodePageFromWide(c.wide, c.codePage, out, c.flags, seen), c.ok);
        EXPECT_EQ(out, c.bytes);
        if (seen != nullptr) {
            EXPECT_EQ(usedDefault, c.usedDefault);
        }
    }
    // A long text converts whole, with nothing cut.
    std::string out;
    ASSERT_TRUE(CodePageFromWide(std::wstring(3000000, L'\x4F60'), 936, out));
    EXPECT_EQ(out.size(), 6000000u);
}

}  // namespace
