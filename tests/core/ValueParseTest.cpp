#include "core/ValueParse.h"

#include <gtest/gtest.h>

using namespace SkinUI;

TEST(ValueParse, FlagIsTrueOnlyForExactTrue)
{
    EXPECT_TRUE(ParseFlag("true"));
    for (const char* no : {"TRUE", "True", "1", "true ", " true", "", "yes"})
        EXPECT_FALSE(ParseFlag(no)) << '"' << no << '"';
    EXPECT_FALSE(ParseFlag(nullptr));
    // A flag switches a style bit both ways and leaves the other bits alone.
    EXPECT_EQ(0x15u, ApplyFlagBit(0x11u, 0x4u, "true"));
    EXPECT_EQ(0x11u, ApplyFlagBit(0x15u, 0x4u, "TRUE"));
    EXPECT_EQ(0x11u, ApplyFlagBit(0x15u, 0x4u, nullptr));
}

TEST(ValueParse, DecimalIntegers)
{
    struct {
        const char* text;
        int value;
    } cases[] = {
        {"42", 42},
        {"  42", 42},
        {"\t-7", -7},
        {"+5", 5},
        {"12abc", 12},
        {"abc", 0},
        {"", 0},
        {"-", 0},
        {"0x10", 0},
        {"010", 10},
        {"2147483647", 2147483647},
        {"2147483648", 2147483647},
        {"99999999999999999999", 2147483647},
        {"-2147483648", -2147483647 - 1},
        {"-99999999999", -2147483647 - 1},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ParseInt(c.text), c.value) << '"' << c.text << '"';
    EXPECT_EQ(ParseInt(nullptr), 0);
}

TEST(ValueParse, ListReadsOneSeparatorAfterEachNumber)
{
    struct {
        const char* text;
        int a, b, c;
        int found;
    } cases[] = {
        {"360,466", 360, 466, 0, 2},
        {"360 466", 360, 466, 0, 2},
        {"360, 466", 360, 466, 0, 2},
        {"360 ,466", 360, 0, 466, 2},  // the blank is the separator, "," is no number
        {"360;466;-1", 360, 466, -1, 3},
        {"1,,3", 1, 0, 3, 2},
        {"", 0, 0, 0, 0},
        {"7", 7, 0, 0, 1},
        {"1,2,3,4", 1, 2, 3, 3},
    };
    for (const auto& c : cases) {
        int v[3] = {9, 9, 9};
        EXPECT_EQ(ParseIntList(c.text, v, 3), c.found) << c.text;
        EXPECT_EQ(v[0], c.a) << c.text;
        EXPECT_EQ(v[1], c.b) << c.text;
        EXPECT_EQ(v[2], c.c) << c.text;
    }
}

TEST(ValueParse, ListStopsAtTheTerminator)
{
    // Digits placed right after the terminator must never be read as the missing numbers.
    struct {
        const char text[8];
    } cases[] = {
        {"360\0"
         "99"},
        {"360,\0"
         "99"},
        {"360 \0"
         "99"},
        {"1,,\0"
         "99"},
        {"\0"
         "99"},
    };
    for (const auto& c : cases) {
        int v[4] = {9, 9, 9, 9};
        ParseIntList(c.text, v, 4);
        EXPECT_EQ(v[1], 0) << c.text;
        EXPECT_EQ(v[2], 0) << c.text;
        EXPECT_EQ(v[3], 0) << c.text;
    }
    int v[2] = {9, 9};
    EXPECT_EQ(ParseIntList(nullptr, v, 2), 0);
    EXPECT_EQ(v[0], 0);
    EXPECT_EQ(v[1], 0);
    EXPECT_EQ(ParseIntList("5", v, 0), 0);
}

TEST(ValueParse, RectAndSize)
{
    EXPECT_EQ(ParseRect("336,0,0,0"), CRectUI(336, 0, 0, 0));
    EXPECT_EQ(ParseRect("-30,10,-10,40"), CRectUI(-30, 10, -10, 40));
    EXPECT_EQ(ParseRect("5"), CRectUI(5, 0, 0, 0));
    EXPECT_EQ(ParseRect("1,2,3,4,5"), CRectUI(1, 2, 3, 4));
    EXPECT_EQ(ParseSize("360"), CSizeUI(360, 0));
    EXPECT_EQ(ParseSize("360,466"), CSizeUI(360, 466));
    EXPECT_EQ(ParseSize(nullptr), CSizeUI(0, 0));
}

TEST(ValueParse, HexadecimalColours)
{
    struct {
        const char* text;
        DWORD plain;
        DWORD skipping;
    } cases[] = {
        {"#FF336699", 0xFF336699, 0xFF336699},
        {"FF336699", 0xFF336699, 0xFF336699},
        {"#ff00ff00", 0xFF00FF00, 0xFF00FF00},
        {"#336699", 0x00336699, 0x00336699},  // six digits: alpha 0
        {" #FF336699", 0, 0xFF336699},  // a blank stops the "#" skip
        {"\t\r\n#80000000", 0, 0x80000000},
        {"#", 0, 0},
        {"", 0, 0},
        {"##FF", 0, 0},
        {"#FFxyz", 0xFF, 0xFF},
        {"#1FF336699", 0xFFFFFFFF, 0xFFFFFFFF},  // overflow saturates
        {"#-1", 0xFFFFFFFF, 0xFFFFFFFF},
        {"#0x10", 0x10, 0x10},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ParseColor(c.text), c.plain) << '"' << c.text << '"';
        EXPECT_EQ(ParseColorSkipBlanks(c.text), c.skipping) << '"' << c.text << '"';
    }
    EXPECT_EQ(ParseColor(nullptr), 0u);
    EXPECT_EQ(ParseColorSkipBlanks(nullptr), 0u);
}
