// Dot components: any component made of dots and spaces only is found, wherever it stands and
// whichever separator bounds it; names that merely contain dots are not, nor is a double-byte
// character whose trail byte is a backslash.
#include <gtest/gtest.h>

#include <windows.h>

#include "core/PathName.h"

namespace SkinUI {
namespace {

TEST(PathName, FindsComponentsOfDotsAndSpacesOnly)
{
    const char* const dotted[]
        = {"..", ".", "...", ". .", ".. ", "..\\x.dll", "a/../b.png", "a\\.\\b.png", "a/..", "C:\\prog\\ ..\\x.dll"};
    for (const char* path : dotted)
        EXPECT_TRUE(HasDotComponent(path)) << "\"" << path << "\"";
    // "a//b.png": an empty component is no dot component.
    const char* const plain[] = {"", "x.dll", "a//b.png", "a/..b.png", "a/b../c", ".hidden/x", "dir.v2\\name"};
    for (const char* path : plain)
        EXPECT_FALSE(HasDotComponent(path)) << "\"" << path << "\"";
}

TEST(PathName, Cp936TrailByteIsNoSeparator)
{
    ASSERT_EQ(936u, GetACP());
    // One character (0x81 0x5C), then dots in the same component.
    EXPECT_FALSE(HasDotComponent("\x81\\.."));
    EXPECT_FALSE(HasDotComponent("a\\\x81\\..\\x.png"));
    EXPECT_TRUE(HasDotComponent("\x81\\\\..\\x.png"));
}

}  // namespace
}  // namespace SkinUI
