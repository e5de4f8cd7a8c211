// Where skin files come from: the process-wide resource location, the shared look-up, and layout
// loads through the archive in memory, the archive file and the skin folder, with each failure.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "SkinTestData.h"
#include "host/ResourceLocation.h"
#include "skin/SkinXml.h"

using namespace SkinUI;
using skintest::DataDir;
using skintest::DataPath;
using skintest::ReadData;
using skintest::ScratchDir;

namespace {

// Every test starts and ends with no folder and no archive.
class SkinFile : public ::testing::Test {
protected:
    void SetUp() override { Reset(); }
    void TearDown() override { Reset(); }
    static void Reset()
    {
        CResourceLocation::CloseSkinArchive();
        CResourceLocation::SetResourceFolder("");
        CResourceLocation::SetModuleInstance(nullptr);
        CResourceLocation::SetResourceInstance(nullptr);
    }

    // Loads a layout and answers the error text ("" on success).
    static std::string Load(const char* name)
    {
        CSkinXml xml;
        if (xml.LoadFromSkinFile(name)) {
            EXPECT_TRUE(xml.RootNode().Exists()) << name;
            return "";
        }
        EXPECT_STREQ("", xml.ErrorPlace()) << name;
        return xml.ErrorText();
    }

    // Names and attributes of the whole tree, to compare loads from different sources.
    static std::string Fingerprint(const char* name)
    {
        CSkinXml xml;
        if (!xml.LoadFromSkinFile(name))
            return std::string("failed: ") + xml.ErrorText();
        std::string out;
        Describe(xml.RootNode(), out);
        return out;
    }

    static void Describe(const CSkinXmlNode& first, std::string& out)
    {
        for (CSkinXmlNode node = first; node.Exists(); node = node.NextSiblingNode()) {
            out += std::string("<") + node.ElementName();
            for (int i = 0; i < node.AttributeCount(); ++i) {
                out += std::string(" ") + node.AttributeNameAt(i) + "=" + node.AttributeValueAt(i);
            }
            out += ">";
            Describe(node.FirstChildNode(), out);
        }
    }
};

}  // namespace

TEST_F(SkinFile, ResourceFolderAndInstanceFolder)
{
    const struct {
        const char* given;
        const char* stored;
    } folders[] = {
        {"C:\\skin", "C:\\skin\\"},
        {"C:\\skin\\", "C:\\skin\\"},
        {"skin/", "skin/"},
        {"", ""},
        {nullptr, ""},
    };
    for (const auto& f : folders) {
        CResourceLocation::SetResourceFolder(f.given);
        EXPECT_STREQ(f.stored, CResourceLocation::GetResourceFolder().GetData()) << (f.given ? f.given : "null");
    }

    EXPECT_TRUE(CResourceLocation::GetInstanceFolder().IsEmpty());
    EXPECT_EQ(nullptr, CResourceLocation::GetResourceInstance());
    HINSTANCE self = ::GetModuleHandleA(nullptr);
    CResourceLocation::SetModuleInstance(self);
    EXPECT_EQ(self, CResourceLocation::GetModuleInstance());
    EXPECT_EQ(self, CResourceLocation::GetResourceInstance());
    char exe[MAX_PATH + 1] = {};
    ::GetModuleFileNameA(nullptr, exe, MAX_PATH);
    std::string expected(exe);
    expected.erase(expected.rfind('\\') + 1);
    EXPECT_EQ(expected, CResourceLocation::GetInstanceFolder().GetData());
    HINSTANCE other = reinterpret_cast<HINSTANCE>(::GetModuleHandleA("kernel32.dll"));
    CResourceLocation::SetResourceInstance(other);
    EXPECT_EQ(other, CResourceLocation::GetResourceInstance());
}

TEST_F(SkinFile, Cp936FolderEndingInADoubleByteCharacterGetsASeparator)
{
    ASSERT_EQ(936u, ::GetACP());
    // 0x81 0x5C is one character whose trail byte is the backslash code.
    CResourceLocation::SetResourceFolder("C:\\skins\\\x81\x5C");
    EXPECT_STREQ("C:\\skins\\\x81\x5C\\", CResourceLocation::GetResourceFolder().GetData());
    CResourceLocation::SetResourceFolder("C:\\skins\\\x81\x5C\\");
    EXPECT_STREQ("C:\\skins\\\x81\x5C\\", CResourceLocation::GetResourceFolder().GetData());
}

TEST_F(SkinFile, FolderModeLoadsAndItsFailures)
{
    CResourceLocation::SetResourceFolder((DataDir() + "source").c_str());
    EXPECT_EQ("", Load("MainWnd.xml"));
    EXPECT_EQ("", Load("Bom.xml"));
    EXPECT_EQ("Error opening file", Load("missing.xml"));
    EXPECT_EQ("File is empty", Load("empty.txt"));

    ScratchDir scratch;
    std::string largest = "<a/>";
    largest.resize(0x400000, ' ');
    scratch.Write("largest.xml", largest.data(), largest.size());
    scratch.Write("too-large.xml", (largest + " ").data(), largest.size() + 1);
    const unsigned char bomOnly[] = {0xEF, 0xBB, 0xBF};
    scratch.Write("bom-only.xml", bomOnly, sizeof(bomOnly));
    CResourceLocation::SetResourceFolder(scratch.Path().c_str());
    EXPECT_EQ("", Load("largest.xml"));
    EXPECT_EQ("File too large", Load("too-large.xml"));
    CSkinXml xml;
    EXPECT_TRUE(xml.LoadFromSkinFile("bom-only.xml"));
    EXPECT_FALSE(xml.RootNode().Exists());
}

TEST_F(SkinFile, ArchiveFileModeLoadsAndItsFailures)
{
    CResourceLocation::SetResourceFolder(DataDir().c_str());
    CResourceLocation::SetSkinArchive("python-deflated.zip");
    EXPECT_TRUE(CResourceLocation::IsSkinArchiveCached());
    const HSKINZIP cached = CResourceLocation::GetSkinArchiveHandle();
    ASSERT_NE(nullptr, cached);
    EXPECT_EQ("", Load("mainwnd.XML"));
    EXPECT_EQ("Could not find ziped file", Load("missing.xml"));
    EXPECT_EQ("File is empty", Load("empty.txt"));
    // The same name keeps the open archive; another name replaces it.
    CResourceLocation::SetSkinArchive("python-deflated.zip");
    EXPECT_EQ(cached, CResourceLocation::GetSkinArchiveHandle());
    CResourceLocation::SetSkinArchive("bad-crc.zip");
    EXPECT_STREQ("bad-crc.zip", CResourceLocation::GetSkinArchiveName().GetData());
    ASSERT_NE(nullptr, CResourceLocation::GetSkinArchiveHandle());
    EXPECT_EQ("Could not unzip file", Load("MainWnd.xml"));
    EXPECT_EQ("", Load("Bom.xml"));
    CResourceLocation::SetSkinArchive("no-such.zip");
    EXPECT_TRUE(CResourceLocation::IsSkinArchiveCached());
    EXPECT_EQ(nullptr, CResourceLocation::GetSkinArchiveHandle());
    EXPECT_EQ("Error opening zip file", Load("MainWnd.xml"));

    // With no open handle the archive file is opened for each load, so one that appears later works.
    ScratchDir scratch;
    CResourceLocation::SetResourceFolder(scratch.Path().c_str());
    CResourceLocation::SetSkinArchive("later.zip");
    EXPECT_EQ(nullptr, CResourceLocation::GetSkinArchiveHandle());
    scratch.Write("later.zip", ReadData("infozip.zip"));
    EXPECT_EQ("", Load("MainWnd.xml"));

    CResourceLocation::SetSkinArchive("");
    EXPECT_FALSE(CResourceLocation::IsSkinArchiveCached());
    EXPECT_EQ("Error opening file", Load("MainWnd.xml"));
}

TEST_F(SkinFile, MemoryArchiveLoadsAndIsNeverTakenForAFile)
{
    const std::vector<unsigned char> archive = ReadData("cmake.zip");
    CResourceLocation::SetSkinArchiveMemory(archive.data(), static_cast<uint32_t>(archive.size()));
    EXPECT_STREQ("membuffer", CResourceLocation::GetSkinArchiveName().GetData());
    const HSKINZIP cached = CResourceLocation::GetSkinArchiveHandle();
    ASSERT_NE(nullptr, cached);
    EXPECT_EQ("", Load("MainWnd.xml"));
    // While "membuffer" is set a new block is ignored.
    const std::vector<unsigned char> damaged = ReadData("bad-crc.zip");
    CResourceLocation::SetSkinArchiveMemory(damaged.data(), static_cast<uint32_t>(damaged.size()));
    EXPECT_EQ(cached, CResourceLocation::GetSkinArchiveHandle());
    EXPECT_EQ("", Load("MainWnd.xml"));

    CResourceLocation::CloseSkinArchive();
    EXPECT_TRUE(CResourceLocation::GetSkinArchiveName().IsEmpty());
    EXPECT_FALSE(CResourceLocation::IsSkinArchiveCached());
    EXPECT_EQ(nullptr, CResourceLocation::GetSkinArchiveHandle());
    CResourceLocation::SetSkinArchiveMemory(damaged.data(), static_cast<uint32_t>(damaged.size()));
    EXPECT_EQ("Could not unzip file", Load("MainWnd.xml"));
    CResourceLocation::CloseSkinArchive();

    // A block that is no archive: no handle, and a file that happens to be called "membuffer" in
    // the skin folder is not opened instead.
    ScratchDir scratch;
    scratch.Write("membuffer", archive);
    CResourceLocation::SetResourceFolder(scratch.Path().c_str());
    const char garbage[64] = "not an archive";
    CResourceLocation::SetSkinArchiveMemory(garbage, sizeof(garbage));
    EXPECT_EQ(nullptr, CResourceLocation::GetSkinArchiveHandle());
    EXPECT_EQ("Error opening zip file", Load("MainWnd.xml"));
}

TEST_F(SkinFile, TheSameLayoutFromEverySource)
{
    CResourceLocation::SetResourceFolder((DataDir() + "source").c_str());
    const std::string fromFolder = Fingerprint("MainWnd.xml");
    EXPECT_EQ(0u, fromFolder.find("<Window size=420,300"));
    CResourceLocation::SetResourceFolder(DataDir().c_str());
    for (const char* archive : {"python-stored.zip", "cmake.zip", "infozip-stream.zip", "stub-prepended.zip"}) {
        CResourceLocation::SetSkinArchive(archive);
        EXPECT_EQ(fromFolder, Fingerprint("MainWnd.xml")) << archive;
    }
    CResourceLocation::CloseSkinArchive();
    const std::vector<unsigned char> archive = ReadData("comment-max.zip");
    CResourceLocation::SetSkinArchiveMemory(archive.data(), static_cast<uint32_t>(archive.size()));
    EXPECT_EQ(fromFolder, Fingerprint("Bom.xml"));
}

TEST_F(SkinFile, SharedLookUpOrderAndLimits)
{
    TSkinFileBytes bytes;
    CResourceLocation::SetModuleInstance(::GetModuleHandleA(nullptr));
    CResourceLocation::SetResourceFolder((DataDir() + "source").c_str());
    // A resource type means the resource or nothing: the file of that name is not tried.
    EXPECT_EQ(SkinFileStatus::ResourceMissing,
        CResourceLocation::ReadSkinFile("ten.bin", "ZIPRES", kSkinImageMaxBytes, true, bytes));
    EXPECT_EQ(SkinFileStatus::ResourceMissing,
        CResourceLocation::ReadSkinFile(MAKEINTRESOURCEA(4), "ZIPRES", kSkinImageMaxBytes, true, bytes));
    EXPECT_EQ(nullptr, bytes.data.get());
    EXPECT_EQ(SkinFileStatus::FileOpenFailed,
        CResourceLocation::ReadSkinFile(MAKEINTRESOURCEA(4), nullptr, kSkinImageMaxBytes, true, bytes));

    // Folder, then (for images) the plain path.
    ASSERT_EQ(SkinFileStatus::Found, CResourceLocation::ReadSkinFile("ten.bin", nullptr, 10, false, bytes));
    EXPECT_EQ(std::string("0123456789"), std::string(reinterpret_cast<char*>(bytes.data.get()), bytes.size));
    EXPECT_EQ(SkinFileStatus::TooLarge, CResourceLocation::ReadSkinFile("ten.bin", nullptr, 9, false, bytes));
    EXPECT_EQ(0u, bytes.size);
    const std::string absolute = DataPath("source/skin/btn.png");
    CResourceLocation::SetResourceFolder(DataDir().c_str());
    EXPECT_EQ(SkinFileStatus::FileOpenFailed,
        CResourceLocation::ReadSkinFile(absolute.c_str(), nullptr, kSkinImageMaxBytes, false, bytes));
    EXPECT_EQ(SkinFileStatus::Found,
        CResourceLocation::ReadSkinFile(absolute.c_str(), nullptr, kSkinImageMaxBytes, true, bytes));
    EXPECT_EQ(75u, bytes.size);

    // Archive, then the plain path; the entry wins over a file of the same name.
    CResourceLocation::SetSkinArchive("python-stored.zip");
    EXPECT_EQ(SkinFileStatus::Found,
        CResourceLocation::ReadSkinFile("SKIN\\btn.png", nullptr, kSkinImageMaxBytes, false, bytes));
    EXPECT_EQ(75u, bytes.size);
    EXPECT_EQ(SkinFileStatus::EntryNotFound,
        CResourceLocation::ReadSkinFile(absolute.c_str(), nullptr, kSkinImageMaxBytes, false, bytes));
    EXPECT_EQ(SkinFileStatus::Found,
        CResourceLocation::ReadSkinFile(absolute.c_str(), nullptr, kSkinImageMaxBytes, true, bytes));
    EXPECT_EQ(SkinFileStatus::TooLarge, CResourceLocation::ReadSkinFile("noise.bin", nullptr, 35999, false, bytes));
    EXPECT_EQ(SkinFileStatus::Found, CResourceLocation::ReadSkinFile("noise.bin", nullptr, 36000, false, bytes));
    EXPECT_EQ(36000u, bytes.size);
    // An entry of size 0 is empty; for images the plain path is still tried (and fails here).
    EXPECT_EQ(SkinFileStatus::Empty, CResourceLocation::ReadSkinFile("empty.txt", nullptr, 10, true, bytes));

    // An entry claiming 0xFFFFFFF0 bytes is refused before anything is allocated for it.
    CResourceLocation::SetSkinArchive("huge-entry.zip");
    EXPECT_EQ(SkinFileStatus::TooLarge,
        CResourceLocation::ReadSkinFile("skin/btn.png", nullptr, kSkinImageMaxBytes, false, bytes));
    EXPECT_EQ(nullptr, bytes.data.get());
    EXPECT_EQ(SkinFileStatus::TooLarge,
        CResourceLocation::ReadSkinFile("skin/btn.png", nullptr, static_cast<size_t>(-1), false, bytes));
}
