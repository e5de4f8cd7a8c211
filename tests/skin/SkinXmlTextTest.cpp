// The layout parser's text buffers: the UTF-8 conversion, which converts a part at a time, must give
// what one conversion of the whole text gives, wherever the parts are cut; and the growing buffer.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdlib>
#include <memory>
#include <string>

#include "skin/SkinXmlText.h"

using namespace SkinUI;

namespace {

struct TFreeText {
    void operator()(char* text) const { std::free(text); }
};
using TOwnedText = std::unique_ptr<char, TFreeText>;

// UTF-8 -> UTF-16 -> ANSI code page, each over the whole text.
std::string WholeTextToAnsi(const std::string& utf8)
{
    const int units = ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
    std::wstring wide(static_cast<size_t>(units), L'\0');
    ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), &wide[0], units);
    const int bytes = ::WideCharToMultiByte(CP_ACP, 0, wide.data(), units, nullptr, 0, nullptr, nullptr);
    std::string ansi(static_cast<size_t>(bytes), '\0');
    ::WideCharToMultiByte(CP_ACP, 0, wide.data(), units, &ansi[0], bytes, nullptr, nullptr);
    return ansi;
}

std::string Repeat(const std::string& piece, int times)
{
    std::string text;
    for (int i = 0; i < times; ++i)
        text += piece;
    return text;
}

// Parts are cut every 256 non-ASCII bytes: runs longer than that, shifted by a few bytes so the
// cut falls at every place inside a character, plus malformed sequences at the cuts and the ends.
void ExpectPartsConvertAsTheWholeText()
{
    const std::string han = "\xE4\xB8\xAD";  // three bytes
    const std::string face = "\xF0\x9F\x98\x80";  // four bytes, a surrogate pair in UTF-16
    const std::string accent = "\xC3\xA9";  // two bytes
    const struct {
        const char* what;
        std::string text;
    } cases[] = {
        {"seven-bit only", "<Window size=\"1,2\"/>"},
        {"long three-byte run", Repeat(han, 200)},
        {"long run, one byte later", "a" + Repeat(han, 200)},
        {"long run, two bytes later", "ab" + Repeat(han, 200)},
        {"long four-byte run", Repeat(face, 100)},
        {"long four-byte run, shifted", "abc" + Repeat(face, 100)},
        {"long two-byte run", "a" + Repeat(accent, 300)},
        {"mixed runs", Repeat(han + "x" + accent + " " + face, 40)},
        {"stray continuation bytes", std::string(600, '\x80') + "x"},
        {"lead bytes only", std::string(300, '\xE4') + "x"},
        {"cut character before seven-bit text", "\xE4\xB8x\xF0\x9F y"},
        {"cut character at the end", "x" + Repeat(han, 90) + "\xE4\xB8"},
        {"malformed at a part boundary", Repeat(han, 85) + "\xE4" + Repeat(han, 90)},
    };
    for (const auto& c : cases) {
        const TOwnedText converted(
            ConvertUtf8ToAnsi(reinterpret_cast<const unsigned char*>(c.text.data()), c.text.size()));
        ASSERT_NE(nullptr, converted) << c.what;
        EXPECT_EQ(WholeTextToAnsi(c.text), std::string(converted.get())) << c.what;
    }
    const TOwnedText empty(ConvertUtf8ToAnsi(nullptr, 0));
    ASSERT_NE(nullptr, empty);
    EXPECT_STREQ("", empty.get());
}

}  // namespace

TEST(SkinXmlText, Utf8PartsConvertAsTheWholeText) { ExpectPartsConvertAsTheWholeText(); }

TEST(SkinXmlTextCp936, Utf8PartsConvertAsTheWholeText)
{
    ASSERT_EQ(936u, ::GetACP()) << "run under LANG=zh_CN.UTF-8 LC_ALL=zh_CN.UTF-8";
    ExpectPartsConvertAsTheWholeText();
}

TEST(SkinXmlText, BuilderGrowsPastWhatWasExpected)
{
    const struct {
        size_t expected;
        size_t piece;
        int pieces;
    } cases[] = {
        {0, 1, 1},  // from nothing
        {0, 7, 1000},  // many small steps
        {10, 10, 1},  // exactly what was expected
        {10, 11, 1},  // one more than expected
        {16, 5000, 3},  // pieces larger than half the room
    };
    for (const auto& c : cases) {
        CSkinTextBuilder builder(c.expected);
        std::string expected;
        for (int i = 0; i < c.pieces; ++i) {
            const std::string piece(c.piece, static_cast<char>('a' + i % 26));
            ASSERT_TRUE(builder.Append(piece.data(), piece.size()));
            expected += piece;
        }
        ASSERT_TRUE(builder.Append("", 0));
        const TOwnedText text(builder.Release());
        ASSERT_NE(nullptr, text);
        EXPECT_EQ(expected, std::string(text.get())) << c.expected << " + " << c.pieces << " x " << c.piece;
    }
}
