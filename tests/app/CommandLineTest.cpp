#include "app/CommandLine.h"
#include "app/TextConversion.h"

#include <gtest/gtest.h>
#include <windows.h>

using Quoril::BuildNetshCommandLine;
using Quoril::NetshCommand;

namespace {

std::string Build(NetshCommand kind, const std::string& name, const char* address = "9.9.9.9") {
    std::string out = "stale";
    const bool ok = BuildNetshCommandLine(kind, name, address, out);
    EXPECT_EQ(ok, !out.empty()) << name;
    return out;
}

}  // namespace

TEST(CommandLine, TheFourNetshFormsAreExact) {
    EXPECT_EQ(Build(NetshCommand::SetPrimary, "Ethernet", "1.2.3.4"),
              "netsh interface ip set dns name=\"Ethernet\" source=static addr=1.2.3.4 register=primary");
    EXPECT_EQ(Build(NetshCommand::AddSecond, "Ethernet", "1.2.3.5"),
              "netsh interface ip add dns name=\"Ethernet\" addr=1.2.3.5 index=2");
    EXPECT_EQ(Build(NetshCommand::AddThird, "Ethernet", "1.2.3.6"),
              "netsh interface ip add dns name=\"Ethernet\" addr=1.2.3.6 index=3");
    EXPECT_EQ(Build(NetshCommand::RestoreDhcp, "Ethernet", nullptr),
              "netsh interface ip set dns name=\"Ethernet\" source=dhcp");
    EXPECT_STREQ(Quoril::kFlushCommandLine, "ipconfig /flushdns");
}

TEST(CommandLine, LongNamesAreNeverCut) {
    // Far beyond any fixed formatting buffer: the whole name and the address must survive.
    const std::string name(200, 'n');
    EXPECT_EQ(Build(NetshCommand::SetPrimary, name, "9.9.9.9"),
              "netsh interface ip set dns name=\"" + name + "\" source=static addr=9.9.9.9 register=primary");
    const std::string longest(255, 'x');
    EXPECT_NE(Build(NetshCommand::RestoreDhcp, longest, nullptr), "");
    EXPECT_EQ(Build(NetshCommand::RestoreDhcp, longest + "x", nullptr), "");
}

TEST(CommandLine, HostileNamesAreRefusedNotAltered) {
    EXPECT_EQ(Build(NetshCommand::SetPrimary, "Bad\"Name"), "");
    EXPECT_EQ(Build(NetshCommand::SetPrimary, "a\" addr=6.6.6.6 \""), "");
    EXPECT_EQ(Build(NetshCommand::SetPrimary, "line\rbreak"), "");
    EXPECT_EQ(Build(NetshCommand::SetPrimary, "line\nbreak"), "");
    EXPECT_EQ(Build(NetshCommand::SetPrimary, std::string("nul\0inside", 10)), "");
    EXPECT_EQ(Build(NetshCommand::SetPrimary, ""), "");
    // A trailing backslash would escape the closing quote for the tool's argument parser.
    EXPECT_EQ(Build(NetshCommand::SetPrimary, "ends\\"), "");
    EXPECT_EQ(Build(NetshCommand::SetPrimary, "ends\\\\"), "");
    // Missing address for a form that needs one.
    EXPECT_EQ(Build(NetshCommand::AddSecond, "Ethernet", nullptr), "");
}

TEST(CommandLine, OrdinaryOddNamesStayByteIdentical) {
    for (const std::string name : {"Wi-Fi 2", "50% off", "back\\slash inside", "Local Area Connection* 11",
                                   "&|<>^ shell chars", "\xc1\xac\xbd\xd3"}) {
        EXPECT_EQ(Build(NetshCommand::RestoreDhcp, name, nullptr),
                  "netsh interface ip set dns name=\"" + name + "\" source=dhcp");
    }
}

TEST(CommandLineCp936, DoubleByteCharacterEndingIn5CIsNotABackslash) {
    ASSERT_EQ(GetACP(), 936u);
    // "\x95\x5c" is one double-byte character whose trail byte happens to be '\'.
    const std::string name = "net\x95\x5c";
    EXPECT_EQ(Build(NetshCommand::RestoreDhcp, name, nullptr),
              "netsh interface ip set dns name=\"" + name + "\" source=dhcp");
    EXPECT_EQ(Build(NetshCommand::RestoreDhcp, "net\x95\x5c\\", nullptr), "");
}

TEST(TextConversion, ExactOrNothing) {
    ASSERT_EQ(GetACP(), 1252u);
    std::string out;
    EXPECT_TRUE(Quoril::AnsiFromWideExactly(L"Ethernet", 255, out));
    EXPECT_EQ(out, "Ethernet");
    EXPECT_TRUE(Quoril::AnsiFromWideExactly(L"Caf\u00e9", 255, out));
    EXPECT_EQ(out, "Caf\xe9");
    // A full-width quote best-fits to '"' on this code page: it must be refused, not mapped.
    EXPECT_FALSE(Quoril::AnsiFromWideExactly(L"Bad\uff02Name", 255, out));
    EXPECT_EQ(out, "");
    EXPECT_FALSE(Quoril::AnsiFromWideExactly(L"\u4ee5\u592a\u7f51", 255, out));
    // Length limit in bytes, never cut.
    EXPECT_TRUE(Quoril::AnsiFromWideExactly(std::wstring(255, L'a'), 255, out));
    EXPECT_EQ(out.size(), 255u);
    EXPECT_FALSE(Quoril::AnsiFromWideExactly(std::wstring(256, L'a'), 255, out));
    EXPECT_EQ(out, "");
}

TEST(TextConversion, ChineseTextsConvertFromCodePage936OnAnySystem) {
    // 宽带连接
    EXPECT_EQ(Quoril::WideFromCodePage936("\xbf\xed\xb4\xf8\xc1\xac\xbd\xd3"), L"\u5bbd\u5e26\u8fde\u63a5");
    EXPECT_EQ(Quoril::WideFromCodePage936(""), L"");
    EXPECT_EQ(Quoril::WideFromCodePage936(nullptr), L"");
}

TEST(TextConversionCp936, ChineseNamesAndTheirLimit) {
    ASSERT_EQ(GetACP(), 936u);
    std::string out;
    // 120 Chinese characters: 240 bytes, converted exactly.
    const std::wstring fits(120, L'\u8fde');
    ASSERT_TRUE(Quoril::AnsiFromWideExactly(fits, 255, out));
    std::string expected;
    for (int i = 0; i < 120; ++i)
        expected += "\xc1\xac";
    EXPECT_EQ(out, expected);
    // 200 Chinese characters need 400 bytes: refused, nothing written past the limit.
    EXPECT_FALSE(Quoril::AnsiFromWideExactly(std::wstring(200, L'\u8fde'), 255, out));
    EXPECT_EQ(out, "");
    // A full-width quote is a real character of code page 936 and stays what it is.
    ASSERT_TRUE(Quoril::AnsiFromWideExactly(L"a\uff02b", 255, out));
    EXPECT_EQ(out, "a\xa3\xa2" "b");
}
