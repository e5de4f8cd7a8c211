#include "core/UIString.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <string>

using SkinUI::CUIString;

namespace {

std::string Chars(int n, char c = 'x') { return std::string(static_cast<size_t>(n), c); }

}  // namespace

TEST(UIStringStorage, InlineUpToSixtyTwoCharactersHeapFromSixtyThree)
{
    CUIString s(Chars(62).c_str());
    EXPECT_FALSE(s.IsOnHeap());
    s = Chars(63).c_str();
    EXPECT_TRUE(s.IsOnHeap());
    EXPECT_EQ(s.GetLength(), 63);
    s = "0123456789";
    EXPECT_FALSE(s.IsOnHeap());
    EXPECT_STREQ(s, "0123456789");

    // Appending: 60 + 2 stays inline, one more character moves the old text to the heap intact.
    const std::string sixty = Chars(30, 'a') + Chars(30, 'b');
    CUIString t(sixty.c_str());
    t.Append("cd");
    EXPECT_FALSE(t.IsOnHeap());
    t.AppendChar('e');
    ASSERT_TRUE(t.IsOnHeap());
    EXPECT_EQ(std::string(t), sixty + "cde");

    // A heap block is reused for a shorter long text.
    CUIString h(Chars(100).c_str());
    const char* block = h.GetData();
    h = Chars(70, 'y').c_str();
    EXPECT_EQ(h.GetData(), block);
    EXPECT_EQ(std::string(h), Chars(70, 'y'));
}

TEST(UIStringStorage, NullTextsAndLengthsBeyondTheText)
{
    CUIString s("abc");
    s = static_cast<const char*>(nullptr);
    EXPECT_TRUE(s.IsEmpty());
    s.Assign("abcdef", 3);
    EXPECT_STREQ(s, "abc");
    // A length beyond the terminator stops there instead of copying what follows.
    const char guarded[] = "ab\0zz";
    s.Assign(guarded, 5);
    EXPECT_EQ(s.GetLength(), 2);
}

TEST(UIStringStorage, SourcesInsideTheOwnBufferSurviveReassignment)
{
    // Heap to inline: the block that holds the source is freed by the assignment.
    const std::string text = Chars(50, 'a') + Chars(50, 'b');
    CUIString s(text.c_str());
    s.Assign(s.GetData() + 50);
    EXPECT_FALSE(s.IsOnHeap());
    EXPECT_EQ(std::string(s), Chars(50, 'b'));

    CUIString h(text.c_str());
    h.Append(h.GetData());  // heap to a larger heap block
    EXPECT_EQ(std::string(h), text + text);

    CUIString i(Chars(40, 'c').c_str());
    i += i;  // inline to heap
    EXPECT_EQ(std::string(i), Chars(80, 'c'));
}

TEST(UIStringSlices, LeftMidAndFindClampOrRefuse)
{
    const CUIString s("hello world");
    EXPECT_STREQ(s.Left(5), "hello");
    EXPECT_STREQ(s.Left(-3), "");
    EXPECT_STREQ(s.Left(99), "hello world");
    EXPECT_STREQ(s.Mid(6, 99), "world");
    EXPECT_STREQ(s.Mid(0, 4), "hell");
    EXPECT_STREQ(s.Mid(11), "");
    EXPECT_STREQ(s.Mid(12), "");
    EXPECT_STREQ(s.Mid(-1), "");

    const CUIString t("abcabc");
    EXPECT_EQ(t.Find("abc"), 0);
    EXPECT_EQ(t.Find("abc", 1), 3);
    EXPECT_EQ(t.Find("c", 5), 5);
    EXPECT_EQ(t.Find("c", 6), -1);
    EXPECT_EQ(t.Find("a", 7), -1);
    EXPECT_EQ(t.Find("a", -1), -1);
    EXPECT_EQ(t.Find("abcd"), -1);
    EXPECT_EQ(t.Find(""), -1);
}

TEST(UIStringSearch, ReplaceCountsAndNeverRescansTheReplacement)
{
    CUIString tip("a<n>b<n>");
    EXPECT_EQ(tip.Replace("<n>", "\r\n"), 2);
    EXPECT_STREQ(tip, "a\r\nb\r\n");

    CUIString grow("aaa");
    EXPECT_EQ(grow.Replace("a", "aa"), 3);
    EXPECT_STREQ(grow, "aaaaaa");

    CUIString shrink("xxabxxab");
    EXPECT_EQ(shrink.Replace("xx", ""), 2);
    EXPECT_STREQ(shrink, "abab");
    EXPECT_EQ(shrink.Replace("", "z"), 0);

    // The replacement is the string itself, which changes under the loop; the result goes to the heap.
    CUIString self(Chars(40, 'm').c_str());
    EXPECT_EQ(self.Replace("m", self.GetData()), 40);
    EXPECT_EQ(std::string(self), Chars(1600, 'm'));
}

TEST(UIStringFormat, SixtyThreeCharactersAtMostAndNothingCutOnFailure)
{
    CUIString s;
    EXPECT_EQ(s.Format("%d-%s", 42, "x"), 4);
    EXPECT_STREQ(s, "42-x");
    EXPECT_EQ(s.Format("%s", Chars(63).c_str()), 63);
    EXPECT_EQ(std::string(s), Chars(63));

    EXPECT_EQ(s.Format("%s", Chars(64).c_str()), -1);
    EXPECT_TRUE(s.IsEmpty());
    s = "previous";
    EXPECT_EQ(s.Format("%s%s", Chars(1000).c_str(), "tail"), -1);
    EXPECT_TRUE(s.IsEmpty());

    // The format text and the arguments may be the string itself.
    s = "%d+%d";
    EXPECT_EQ(s.Format(s, 1, 2), 3);
    EXPECT_STREQ(s, "1+2");
    CUIString t(Chars(70, 'k').c_str());
    EXPECT_EQ(t.Format("[%.10s]", t.GetData()), 12);
    EXPECT_EQ(std::string(t), "[" + Chars(10, 'k') + "]");
}

TEST(UIStringCompare, CaseSensitiveUnlessAskedOtherwise)
{
    const CUIString s("true");
    EXPECT_TRUE(s == "true");
    EXPECT_TRUE("true" == s);  // a text on the left compares contents, not addresses
    EXPECT_FALSE(s == "TRUE");
    EXPECT_FALSE(s == static_cast<const char*>(nullptr));
    EXPECT_TRUE(CUIString() == static_cast<const char*>(nullptr));
    EXPECT_GT(CUIString("\xC0").Compare("A"), 0);  // bytes compare unsigned
    EXPECT_EQ(CUIString("TreeNodeUI").CompareNoCase("treenodeui"), 0);
    EXPECT_LT(CUIString("abc").CompareNoCase("ABD"), 0);
}

// Double-byte characters of code page 936 whose trail bytes equal ASCII characters: 0x81 0x5C
// ends in a backslash and 0x81 0x41 in "A".
TEST(UIStringCp936, SearchAndCaseFoldingStepOverDoubleByteCharacters)
{
    ASSERT_EQ(GetACP(), 936u);
    const CUIString path("C:\\\x81\x5C\\x");
    EXPECT_EQ(path.Find("\\", 3), 5);  // the 0x5C at offset 4 is a trail byte
    const CUIString name("\x81\x41"
                         "A");
    EXPECT_EQ(name.Find("A"), 2);

    CUIString text("\xD6\xD0<n>\xCE\xC4");
    EXPECT_EQ(text.Replace("<n>", "\r\n"), 1);
    EXPECT_STREQ(text, "\xD6\xD0\r\n\xCE\xC4");

    EXPECT_NE(CUIString("\x81\x41").CompareNoCase("\x81\x61"), 0);
    EXPECT_EQ(CUIString("\xD6\xD0"
                        "Ab")
                  .CompareNoCase("\xD6\xD0"
                                 "aB"),
        0);
}

TEST(UIStringSingleByte, TheSameBytesAreOrdinaryCharactersInCodePage1252)
{
    ASSERT_EQ(GetACP(), 1252u);
    EXPECT_EQ(CUIString("\x81\x41").Find("A"), 1);
    EXPECT_EQ(CUIString("C:\\\x81\x5C").Find("\\", 3), 4);
}
