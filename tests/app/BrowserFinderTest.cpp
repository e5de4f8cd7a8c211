#include "app/BrowserFinder.h"

#include "FakeServices.h"

#include <gtest/gtest.h>

using apptest::FakeServices;

namespace {

const char kUserChoice[] = "Software\\Microsoft\\Windows\\Shell\\Associations\\UrlAssociations\\Http\\UserChoice";
const char kHttpCommand[] = "HTTP\\shell\\open\\command";

std::string Z(const std::string& text) { return text + '\0'; }

std::string Find(FakeServices& fake) { return Quoril::FindDefaultBrowser(fake).GetData(); }

}  // namespace

//--- with a fake registry ----------------------------------------------------------------------

TEST(BrowserFinder, CommandLineForms)
{
    for (bool hasGetValue : {true, false}) {
        SCOPED_TRACE(hasGetValue ? "RegGetValueA" : "RegQueryValueExA");
        FakeServices fake;
        fake.hasRegGetValue = hasGetValue;
        EXPECT_EQ(Find(fake), "iexplore.exe");  // neither key

        fake.SetValue(HKEY_CLASSES_ROOT, kHttpCommand, nullptr, REG_SZ, Z("\"C:\\Http\\h.exe\" -- \"%1\""));
        EXPECT_EQ(Find(fake), "C:\\Http\\h.exe");  // no user choice: the HTTP class decides

        fake.SetValue(HKEY_CURRENT_USER, kUserChoice, "Progid", REG_SZ, Z("ChoiceURL"));
        fake.SetValue(HKEY_CLASSES_ROOT, "ChoiceURL\\shell\\open\\command", nullptr, REG_SZ,
            Z("\"C:\\Program Files\\Choice\\choice.exe\" -osint -url \"%1\""));
        EXPECT_EQ(Find(fake), "C:\\Program Files\\Choice\\choice.exe");

        fake.SetValue(
            HKEY_CLASSES_ROOT, "ChoiceURL\\shell\\open\\command", nullptr, REG_SZ, Z("\"C:\\One quote\\c.exe %1"));
        EXPECT_EQ(Find(fake), "\"C:\\One quote\\c.exe %1");

        fake.SetValue(HKEY_CLASSES_ROOT, "ChoiceURL\\shell\\open\\command", nullptr, REG_SZ, Z("C:\\bare.exe %1"));
        EXPECT_EQ(Find(fake), "C:\\bare.exe %1");

        // A user choice whose class has no command: the fallback executable, not the HTTP class.
        fake.SetValue(HKEY_CURRENT_USER, kUserChoice, "Progid", REG_SZ, Z("Missing"));
        EXPECT_EQ(Find(fake), "iexplore.exe");
        EXPECT_EQ(fake.openKeys, 0);
    }
}

TEST(BrowserFinder, OnlyStringTypesAreAccepted)
{
    FakeServices modern;
    modern.hasRegGetValue = true;
    modern.SetValue(HKEY_CLASSES_ROOT, kHttpCommand, nullptr, REG_EXPAND_SZ, Z("\"%ProgramFiles%\\b.exe\""));
    EXPECT_EQ(Find(modern), "iexplore.exe");  // only REG_SZ is asked of RegGetValueA

    FakeServices old;
    old.SetValue(HKEY_CLASSES_ROOT, kHttpCommand, nullptr, REG_EXPAND_SZ, Z("\"%ProgramFiles%\\b.exe\""));
    EXPECT_EQ(Find(old), "%ProgramFiles%\\b.exe");
    for (DWORD type :
        {static_cast<DWORD>(REG_BINARY), static_cast<DWORD>(REG_MULTI_SZ), static_cast<DWORD>(REG_DWORD)}) {
        old.SetValue(HKEY_CLASSES_ROOT, kHttpCommand, nullptr, type, Z("\"C:\\b.exe\""));
        EXPECT_EQ(Find(old), "iexplore.exe") << type;
    }
}

TEST(BrowserFinder, UnterminatedValuesNeverReadStaleOrForeignBytes)
{
    FakeServices fake;  // no RegGetValueA: the query path, which does not terminate
    fake.SetValue(HKEY_CURRENT_USER, kUserChoice, "Progid", REG_SZ, "AVeryLongProgrammaticId");
    fake.SetValue(HKEY_CLASSES_ROOT, "AVeryLongProgrammaticId\\shell\\open\\command", nullptr, REG_SZ, "ab");
    EXPECT_EQ(Find(fake), "ab");
    EXPECT_EQ(fake.lastQuerySize, 260u);  // one byte kept for the terminator

    // 260 bytes fit with the terminator; 261 do not, and the fallback applies.
    fake.SetValue(
        HKEY_CLASSES_ROOT, "AVeryLongProgrammaticId\\shell\\open\\command", nullptr, REG_SZ, std::string(260, 'c'));
    EXPECT_EQ(Find(fake), std::string(260, 'c'));
    fake.SetValue(
        HKEY_CLASSES_ROOT, "AVeryLongProgrammaticId\\shell\\open\\command", nullptr, REG_SZ, std::string(261, 'c'));
    EXPECT_EQ(Find(fake), "iexplore.exe");
}

TEST(BrowserFinder, ReadSizeCountsOneTerminatorOnBothPaths)
{
    for (bool hasGetValue : {true, false}) {
        SCOPED_TRACE(hasGetValue ? "RegGetValueA" : "RegQueryValueExA");
        FakeServices fake;
        fake.hasRegGetValue = hasGetValue;
        fake.SetValue(HKEY_CLASSES_ROOT, "T", nullptr, REG_SZ, Z("abc"));
        fake.SetValue(HKEY_CLASSES_ROOT, "U", nullptr, REG_SZ, "abcd");
        for (const char* key : {"T", "U"}) {
            char buffer[16];
            memset(buffer, '#', sizeof(buffer));
            DWORD size = sizeof(buffer);
            ASSERT_EQ(Quoril::ReadRegistryString(fake, HKEY_CLASSES_ROOT, key, nullptr, buffer, &size), ERROR_SUCCESS);
            EXPECT_EQ(size, strlen(buffer) + 1) << key;
        }
    }
}

TEST(BrowserFinder, LongProgidBuildsTheWholeKeyPath)
{
    FakeServices fake;
    fake.hasRegGetValue = true;
    const std::string progid(250, 'P');
    fake.SetValue(HKEY_CURRENT_USER, kUserChoice, "Progid", REG_SZ, Z(progid));
    fake.SetValue(HKEY_CLASSES_ROOT, (progid + "\\shell\\open\\command").c_str(), nullptr, REG_SZ, Z("\"x.exe\""));
    EXPECT_EQ(Find(fake), "x.exe");
}

//--- with the real registry of the test prefix -------------------------------------------------

namespace {

// Points HKEY_CURRENT_USER and HKEY_CLASSES_ROOT of this process at two empty scratch keys, so
// the real registry functions run against values the test writes.
class ScratchRoots {
public:
    ScratchRoots()
    {
        RegDeleteTreeA(HKEY_CURRENT_USER, kScratch);
        m_ok = RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\QuorilTest\\cu", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                   &m_cu, nullptr)
                == ERROR_SUCCESS
            && RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\QuorilTest\\cr", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                   &m_cr, nullptr)
                == ERROR_SUCCESS
            && RegOverridePredefKey(HKEY_CURRENT_USER, m_cu) == ERROR_SUCCESS
            && RegOverridePredefKey(HKEY_CLASSES_ROOT, m_cr) == ERROR_SUCCESS;
    }
    ~ScratchRoots()
    {
        RegOverridePredefKey(HKEY_CURRENT_USER, nullptr);
        RegOverridePredefKey(HKEY_CLASSES_ROOT, nullptr);
        if (m_cu)
            RegCloseKey(m_cu);
        if (m_cr)
            RegCloseKey(m_cr);
        RegDeleteTreeA(HKEY_CURRENT_USER, kScratch);
    }
    bool Ok() const { return m_ok; }
    static void Set(HKEY root, const char* subKey, const char* name, DWORD type, const std::string& data)
    {
        HKEY key = nullptr;
        ASSERT_EQ(RegCreateKeyExA(root, subKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr), ERROR_SUCCESS);
        ASSERT_EQ(RegSetValueExA(
                      key, name, 0, type, reinterpret_cast<const BYTE*>(data.data()), static_cast<DWORD>(data.size())),
            ERROR_SUCCESS);
        RegCloseKey(key);
    }

private:
    static constexpr const char* kScratch = "Software\\QuorilTest";
    HKEY m_cu = nullptr;
    HKEY m_cr = nullptr;
    bool m_ok = false;
};

// The real services, but as on a system without RegGetValueA.
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
};

}  // namespace

TEST(BrowserFinderRegistry, RealValuesInTheTestPrefix)
{
    ScratchRoots roots;
    ASSERT_TRUE(roots.Ok());
    Quoril::ISystemServices& real = Quoril::Win32Services();
    WithoutRegGetValue old;
    ASSERT_TRUE(real.HasRegGetValue());

    EXPECT_STREQ(Quoril::FindDefaultBrowser(real).GetData(), "iexplore.exe");  // neither key
    EXPECT_STREQ(Quoril::FindDefaultBrowser(old).GetData(), "iexplore.exe");

    ScratchRoots::Set(HKEY_CLASSES_ROOT, kHttpCommand, nullptr, REG_SZ, Z("\"C:\\Http\\h.exe\" \"%1\""));
    EXPECT_STREQ(Quoril::FindDefaultBrowser(real).GetData(), "C:\\Http\\h.exe");
    EXPECT_STREQ(Quoril::FindDefaultBrowser(old).GetData(), "C:\\Http\\h.exe");

    ScratchRoots::Set(HKEY_CURRENT_USER, kUserChoice, "Progid", REG_SZ, Z("QuorilTestURL"));
    ScratchRoots::Set(HKEY_CLASSES_ROOT, "QuorilTestURL\\shell\\open\\command", nullptr, REG_SZ,
        Z("\"C:\\Program Files\\Test Browser\\tb.exe\" --single-argument %1"));
    EXPECT_STREQ(Quoril::FindDefaultBrowser(real).GetData(), "C:\\Program Files\\Test Browser\\tb.exe");
    EXPECT_STREQ(Quoril::FindDefaultBrowser(old).GetData(), "C:\\Program Files\\Test Browser\\tb.exe");

    ScratchRoots::Set(HKEY_CLASSES_ROOT, "QuorilTestURL\\shell\\open\\command", nullptr, REG_SZ, Z("\"C:\\tb.exe %1"));
    EXPECT_STREQ(Quoril::FindDefaultBrowser(real).GetData(), "\"C:\\tb.exe %1");

    // Stored without a terminator: the query path must still end the text at its length.
    ScratchRoots::Set(HKEY_CLASSES_ROOT, "QuorilTestURL\\shell\\open\\command", nullptr, REG_SZ, "\"C:\\u.exe\"");
    EXPECT_STREQ(Quoril::FindDefaultBrowser(old).GetData(), "C:\\u.exe");

    // Not a string at all.
    ScratchRoots::Set(
        HKEY_CLASSES_ROOT, "QuorilTestURL\\shell\\open\\command", nullptr, REG_BINARY, Z("\"C:\\bin.exe\""));
    EXPECT_STREQ(Quoril::FindDefaultBrowser(real).GetData(), "iexplore.exe");
    EXPECT_STREQ(Quoril::FindDefaultBrowser(old).GetData(), "iexplore.exe");

    // Too long for the 261-byte buffer: the fallback, on both paths.
    ScratchRoots::Set(HKEY_CLASSES_ROOT, "QuorilTestURL\\shell\\open\\command", nullptr, REG_SZ,
        Z("\"" + std::string(300, 'L') + "\""));
    EXPECT_STREQ(Quoril::FindDefaultBrowser(real).GetData(), "iexplore.exe");
    EXPECT_STREQ(Quoril::FindDefaultBrowser(old).GetData(), "iexplore.exe");
}
