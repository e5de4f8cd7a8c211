#include "app/RegistryText.h"

#include "FakeServices.h"

#include <gtest/gtest.h>

using apptest::FakeServices;

namespace {

const char kKey[] = "Software\\QuorilTest\\text";

std::string Z(const std::string& text) { return text + '\0'; }

struct Read {
    LONG status;
    std::string text;
};

// Reads `kKey`'s value "v" into a buffer of `capacity` bytes first filled with '#'.
Read ReadInto(Quoril::ISystemServices& services, HKEY root, DWORD capacity)
{
    std::vector<char> buffer(capacity, '#');
    DWORD size = capacity;
    const LONG status = Quoril::ReadRegistryString(services, root, kKey, "v", buffer.data(), &size);
    if (status != ERROR_SUCCESS)
        return {status, std::string()};
    EXPECT_EQ(size, strlen(buffer.data()) + 1) << "one terminator counted";
    return {status, buffer.data()};
}

}  // namespace

// Both reading paths (RegGetValueA, and the query that does not terminate) against values of
// every awkward kind: the text is always terminated at its own length, never the buffer's tail.
TEST(RegistryText, EveryValueKindOnBothPaths)
{
    struct Case {
        const char* what;
        DWORD type;
        std::string stored;
        Read modern;  // with RegGetValueA
        Read old;  // without it
    } const cases[] = {
        {"terminated", REG_SZ, Z("abc"), {ERROR_SUCCESS, "abc"}, {ERROR_SUCCESS, "abc"}},
        {"unterminated", REG_SZ, "abcd", {ERROR_SUCCESS, "abcd"}, {ERROR_SUCCESS, "abcd"}},
        {"fills the buffer but the terminator", REG_SZ, std::string(15, 'f'), {ERROR_SUCCESS, std::string(15, 'f')},
            {ERROR_SUCCESS, std::string(15, 'f')}},
        {"one byte too long", REG_SZ, std::string(16, 'l'), {ERROR_MORE_DATA, ""}, {ERROR_MORE_DATA, ""}},
        {"expandable", REG_EXPAND_SZ, Z("%x%"), {ERROR_UNSUPPORTED_TYPE, ""}, {ERROR_SUCCESS, "%x%"}},
        {"binary", REG_BINARY, Z("abc"), {ERROR_UNSUPPORTED_TYPE, ""}, {ERROR_UNSUPPORTED_TYPE, ""}},
        {"several strings", REG_MULTI_SZ, Z("a") + Z("b"), {ERROR_UNSUPPORTED_TYPE, ""}, {ERROR_UNSUPPORTED_TYPE, ""}},
        {"a number", REG_DWORD, std::string(4, '\1'), {ERROR_UNSUPPORTED_TYPE, ""}, {ERROR_UNSUPPORTED_TYPE, ""}},
    };
    for (const Case& c : cases) {
        for (bool hasGetValue : {true, false}) {
            FakeServices fake;
            fake.hasRegGetValue = hasGetValue;
            fake.SetValue(HKEY_LOCAL_MACHINE, kKey, "v", c.type, c.stored);
            const Read expected = hasGetValue ? c.modern : c.old;
            const Read read = ReadInto(fake, HKEY_LOCAL_MACHINE, 16);
            EXPECT_EQ(read.status, expected.status) << c.what << (hasGetValue ? " modern" : " old");
            EXPECT_EQ(read.text, expected.text) << c.what << (hasGetValue ? " modern" : " old");
            EXPECT_EQ(fake.openKeys, 0) << c.what;
        }
    }
    FakeServices none;
    EXPECT_EQ(ReadInto(none, HKEY_LOCAL_MACHINE, 16).status, ERROR_FILE_NOT_FOUND);
    DWORD zero = 0;
    char byte = 0;
    EXPECT_EQ(Quoril::ReadRegistryString(none, HKEY_LOCAL_MACHINE, kKey, "v", &byte, &zero), ERROR_INVALID_PARAMETER);
}

// The real registry of the test prefix, both paths.
TEST(RegistryText, RealValuesInTheTestPrefix)
{
    class WithoutRegGetValue : public FakeServices {
    public:
        bool HasRegGetValue() override { return false; }
        LONG RegistryOpenKey(HKEY root, const char* subKey, REGSAM access, HKEY* key) override
        {
            return Quoril::Win32Services().RegistryOpenKey(root, subKey, access, key);
        }
        LONG RegistryQueryValue(HKEY key, const char* valueName, DWORD* type, BYTE* data, DWORD* size) override
        {
            return Quoril::Win32Services().RegistryQueryValue(key, valueName, type, data, size);
        }
        void RegistryCloseKey(HKEY key) override { Quoril::Win32Services().RegistryCloseKey(key); }
    } old;
    Quoril::ISystemServices& real = Quoril::Win32Services();
    ASSERT_TRUE(real.HasRegGetValue());
    struct Case {
        DWORD type;
        std::string stored;
        LONG status;
        std::string text;
    } const cases[] = {
        {REG_SZ, Z("C:\\x.exe"), ERROR_SUCCESS, "C:\\x.exe"},
        {REG_SZ, "C:\\u.exe", ERROR_SUCCESS, "C:\\u.exe"},
        {REG_BINARY, Z("b"), ERROR_UNSUPPORTED_TYPE, ""},
        {REG_SZ, Z(std::string(300, 'L')), ERROR_MORE_DATA, ""},
    };
    for (const Case& c : cases) {
        ASSERT_EQ(
            RegSetKeyValueA(HKEY_CURRENT_USER, kKey, "v", c.type, c.stored.data(), static_cast<DWORD>(c.stored.size())),
            ERROR_SUCCESS);
        for (Quoril::ISystemServices* services : {&real, static_cast<Quoril::ISystemServices*>(&old)}) {
            const Read read = ReadInto(*services, HKEY_CURRENT_USER, 261);
            EXPECT_EQ(read.status, c.status) << c.stored;
            EXPECT_EQ(read.text, c.text) << c.stored;
        }
    }
    RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\QuorilTest");
}
