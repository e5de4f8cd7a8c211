// The zip reader against archives written by other tools, and against damaged and hostile ones.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "SkinTestData.h"
#include "skin/SkinZip.h"

using namespace SkinUI;
using skintest::DataPath;
using skintest::ReadData;

namespace {

const char* const kEntries[] = {"MainWnd.xml", "Bom.xml", "skin/btn.png", "ten.bin", "noise.bin", "empty.txt"};

// Owns a handle for the length of a test.
class OpenZip {
public:
    explicit OpenZip(HSKINZIP zip)
        : m_zip(zip)
    {
    }
    ~OpenZip()
    {
        if (m_zip)
            CSkinZip::Close(m_zip);
    }
    OpenZip(const OpenZip&) = delete;
    OpenZip& operator=(const OpenZip&) = delete;
    HSKINZIP get() const { return m_zip; }

private:
    HSKINZIP m_zip;
};

// Looks the entry up, extracts it whole, and returns the extraction result (the first call's; the
// follow-up call must then report the end of the entry).
ZipResult ExtractWhole(HSKINZIP zip, const char* name, std::vector<unsigned char>& out)
{
    int index = -1;
    TZipEntryInfo info;
    const ZipResult found = CSkinZip::FindEntry(zip, name, &index, &info);
    if (found != ZipOk)
        return found;
    out.assign(info.uncompressedSize, 0xCD);
    const ZipResult result = CSkinZip::ExtractEntry(zip, index, out.data(), info.uncompressedSize);
    if (result == ZipMoreData) {
        unsigned char spare[16];
        EXPECT_EQ(ZipOk, CSkinZip::ExtractEntry(zip, index, spare, sizeof(spare))) << name;
    }
    return result;
}

void ExpectAllEntriesIntact(HSKINZIP zip, const std::string& archive, const std::vector<std::string>& names)
{
    ASSERT_NE(nullptr, zip) << archive;
    for (const std::string& name : names) {
        std::vector<unsigned char> bytes;
        const ZipResult result = ExtractWhole(zip, name.c_str(), bytes);
        const std::vector<unsigned char> expected = ReadData("source/" + name);
        if (expected.empty()) {
            EXPECT_EQ(ZipOk, result) << archive << " " << name;
        } else {
            EXPECT_EQ(ZipMoreData, result) << archive << " " << name;
        }
        EXPECT_TRUE(bytes == expected) << archive << " " << name;
    }
}

}  // namespace

TEST(SkinZip, ArchivesFromOtherWritersExtractIntactFromMemoryAndFile)
{
    const std::vector<std::string> all(std::begin(kEntries), std::end(kEntries));
    const struct {
        const char* archive;
        std::vector<std::string> names;
    } cases[] = {
        {"python-stored.zip", all},
        {"python-deflated.zip", all},
        {"cmake.zip", all},
        {"infozip.zip", all},
        {"stub-prepended.zip", all},
        {"stub-adjusted.zip", all},
        {"comment-max.zip", all},
        {"infozip-stream.zip", {"MainWnd.xml", "noise.bin", "ten.bin"}},
    };
    for (const auto& c : cases) {
        const std::vector<unsigned char> bytes = ReadData(c.archive);
        OpenZip fromMemory(CSkinZip::OpenFromMemory(bytes.data(), static_cast<uint32_t>(bytes.size())));
        ExpectAllEntriesIntact(fromMemory.get(), std::string(c.archive) + " (memory)", c.names);
        OpenZip fromFile(CSkinZip::OpenFromFile(DataPath(c.archive).c_str()));
        ExpectAllEntriesIntact(fromFile.get(), std::string(c.archive) + " (file)", c.names);
    }
}

TEST(SkinZip, NamesMatchIgnoringAsciiCaseWithBackslashesAsSlashes)
{
    OpenZip zip(CSkinZip::OpenFromFile(DataPath("infozip.zip").c_str()));
    ASSERT_NE(nullptr, zip.get());
    int index = -2;
    TZipEntryInfo info;
    EXPECT_EQ(ZipOk, CSkinZip::FindEntry(zip.get(), "MAINWND.XML", &index, &info));
    EXPECT_EQ(0, index);
    EXPECT_STREQ("MainWnd.xml", info.name);
    EXPECT_EQ(1529u, info.uncompressedSize);
    EXPECT_EQ(ZipOk, CSkinZip::FindEntry(zip.get(), "skin\\btn.png", &index, &info));
    EXPECT_EQ(2, index);
    EXPECT_STREQ("skin/btn.png", info.name);
    EXPECT_EQ(ZipOk, CSkinZip::FindEntry(zip.get(), "SKIN\\Btn.PNG", nullptr, nullptr));

    // Not found: index -1 and a zeroed description that says -1 too.
    std::memset(&info, 0x5A, sizeof(info));
    EXPECT_EQ(ZipNotFound, CSkinZip::FindEntry(zip.get(), "skin/btn.pn", &index, &info));
    EXPECT_EQ(-1, index);
    EXPECT_EQ(-1, info.index);
    EXPECT_EQ('\0', info.name[0]);
    EXPECT_EQ(0u, info.uncompressedSize);
    EXPECT_EQ(ZipNotFound, CSkinZip::FindEntry(zip.get(), "skin/btn.png ", &index, nullptr));
    // Only ASCII letters fold: 0xC1 and 0xE1 stay different bytes.
    EXPECT_EQ(ZipNotFound, CSkinZip::FindEntry(zip.get(), "M\xC1inWnd.xml", &index, nullptr));
    // Names of 256 bytes or more are never found, whatever the archive holds.
    EXPECT_EQ(ZipNotFound, CSkinZip::FindEntry(zip.get(), std::string(256, 'a').c_str(), &index, nullptr));
    // A failed look-up leaves the walk usable.
    std::vector<unsigned char> bytes;
    EXPECT_EQ(ZipMoreData, ExtractWhole(zip.get(), "ten.bin", bytes));
}

TEST(SkinZip, ExtractionContinuesAcrossCallsAndEndsWithDone)
{
    const std::vector<unsigned char> archive = ReadData("python-stored.zip");
    OpenZip zip(CSkinZip::OpenFromMemory(archive.data(), static_cast<uint32_t>(archive.size())));
    ASSERT_NE(nullptr, zip.get());
    int index = -1;
    ASSERT_EQ(ZipOk, CSkinZip::FindEntry(zip.get(), "ten.bin", &index, nullptr));
    // A 10-byte entry into a 10-byte buffer: more data (the buffer is full), then done with nothing.
    char ten[11] = {};
    EXPECT_EQ(ZipMoreData, CSkinZip::ExtractEntry(zip.get(), index, ten, 10));
    EXPECT_STREQ("0123456789", ten);
    char spare[4] = {'x', 'x', 'x', 'x'};
    EXPECT_EQ(ZipOk, CSkinZip::ExtractEntry(zip.get(), index, spare, sizeof(spare)));
    EXPECT_EQ('x', spare[0]);

    // The deflated 36,000-byte entry in odd-sized chunks: more than one 16 KB input refill.
    for (const char* name : {"python-deflated.zip", "cmake.zip", "infozip-stream.zip"}) {
        const std::vector<unsigned char> bytes = ReadData(name);
        OpenZip chunked(CSkinZip::OpenFromMemory(bytes.data(), static_cast<uint32_t>(bytes.size())));
        ASSERT_NE(nullptr, chunked.get());
        ASSERT_EQ(ZipOk, CSkinZip::FindEntry(chunked.get(), "noise.bin", &index, nullptr));
        std::vector<unsigned char> joined;
        unsigned char chunk[777];
        int calls = 0;
        ZipResult result;
        while ((result = CSkinZip::ExtractEntry(chunked.get(), index, chunk, sizeof(chunk))) == ZipMoreData) {
            const size_t take = joined.size() + sizeof(chunk) <= 36000 ? sizeof(chunk) : 36000 - joined.size();
            joined.insert(joined.end(), chunk, chunk + take);
            ASSERT_LT(++calls, 100) << name;
        }
        EXPECT_EQ(ZipOk, result) << name;
        EXPECT_EQ(47, calls) << name;  // 36000 / 777 = 46 remainder 258: 47 calls produce bytes
        EXPECT_TRUE(joined == ReadData("source/noise.bin")) << name;
    }
}

TEST(SkinZip, ArgumentsAndHandlesAreChecked)
{
    EXPECT_EQ(ZipBadArguments, CSkinZip::FindEntry(nullptr, "a", nullptr, nullptr));
    EXPECT_EQ(ZipBadArguments, CSkinZip::ExtractEntry(nullptr, 0, nullptr, 0));
    EXPECT_EQ(ZipBadArguments, CSkinZip::Close(nullptr));
    alignas(8) unsigned char notAHandle[32] = {};
    const HSKINZIP fake = reinterpret_cast<HSKINZIP>(notAHandle);
    EXPECT_EQ(ZipWrongHandle, CSkinZip::FindEntry(fake, "a", nullptr, nullptr));
    EXPECT_EQ(ZipWrongHandle, CSkinZip::ExtractEntry(fake, 0, notAHandle, 1));
    EXPECT_EQ(ZipWrongHandle, CSkinZip::Close(fake));

    EXPECT_EQ(nullptr, CSkinZip::OpenFromFile(DataPath("no-such-archive.zip").c_str()));
    EXPECT_EQ(ZipOpenFailed, CSkinZip::LastResult());

    const std::vector<unsigned char> archive = ReadData("python-stored.zip");
    OpenZip zip(CSkinZip::OpenFromMemory(archive.data(), static_cast<uint32_t>(archive.size())));
    ASSERT_NE(nullptr, zip.get());
    EXPECT_EQ(ZipOk, CSkinZip::LastResult());
    char buffer[16];
    EXPECT_EQ(ZipBadArguments, CSkinZip::ExtractEntry(zip.get(), 6, buffer, sizeof(buffer)));
    EXPECT_EQ(ZipBadArguments, CSkinZip::ExtractEntry(zip.get(), -1, buffer, sizeof(buffer)));
    EXPECT_EQ(ZipBadArguments, CSkinZip::ExtractEntry(zip.get(), 3, nullptr, sizeof(buffer)));
    EXPECT_EQ(ZipBadArguments, CSkinZip::FindEntry(zip.get(), nullptr, nullptr, nullptr));
    // An empty entry: done at once.
    EXPECT_EQ(ZipOk, CSkinZip::ExtractEntry(zip.get(), 5, buffer, sizeof(buffer)));
}

TEST(SkinZip, EndRecordIsFoundBehindTheLargestCommentButNoFurther)
{
    const std::vector<unsigned char> maximal = ReadData("comment-max.zip");
    OpenZip opened(CSkinZip::OpenFromMemory(maximal.data(), static_cast<uint32_t>(maximal.size())));
    EXPECT_NE(nullptr, opened.get());
    const std::vector<unsigned char> tooFar = ReadData("comment-too-far.zip");
    EXPECT_EQ(nullptr, CSkinZip::OpenFromMemory(tooFar.data(), static_cast<uint32_t>(tooFar.size())));
    EXPECT_EQ(nullptr, CSkinZip::OpenFromFile(DataPath("comment-too-far.zip").c_str()));
    EXPECT_EQ(ZipOpenFailed, CSkinZip::LastResult());

    // An end record at offset 0 (an archive with no entries and nothing before it) does not open.
    const unsigned char emptyArchive[22] = {0x50, 0x4B, 0x05, 0x06};
    EXPECT_EQ(nullptr, CSkinZip::OpenFromMemory(emptyArchive, sizeof(emptyArchive)));
    const unsigned char tiny[] = {0x50, 0x4B, 0x05, 0x06, 0};
    EXPECT_EQ(nullptr, CSkinZip::OpenFromMemory(tiny, sizeof(tiny)));
}

TEST(SkinZip, DamagedArchivesFailWithACode)
{
    // Archives that must not open at all.
    for (const char* name : {"truncated.zip", "multi-disk.zip", "bad-directory-offset.zip"}) {
        const std::vector<unsigned char> bytes = ReadData(name);
        EXPECT_EQ(nullptr, CSkinZip::OpenFromMemory(bytes.data(), static_cast<uint32_t>(bytes.size()))) << name;
        EXPECT_EQ(nullptr, CSkinZip::OpenFromFile(DataPath(name).c_str())) << name;
    }
    // Archives that open, with one entry whose extraction must fail.
    const struct {
        const char* archive;
        const char* entry;
    } broken[] = {
        {"bad-crc.zip", "MainWnd.xml"},  // one flipped data byte
        {"cut-deflate.zip", "noise.bin"},  // deflate stream cut in the middle
        {"size-too-big.zip", "MainWnd.xml"},  // stream ends before the recorded size
        {"size-too-small.zip", "MainWnd.xml"},  // stream goes on past the recorded size
        {"stored-size-mismatch.zip", "ten.bin"},  // stored entry whose two sizes differ
        {"method-12.zip", "ten.bin"},  // unsupported compression method
        {"bad-local-offset.zip", "ten.bin"},  // local header far outside the archive
        {"huge-entry.zip", "skin/btn.png"},  // claims 0xFFFFFFF0 bytes
    };
    for (const auto& b : broken) {
        const std::vector<unsigned char> bytes = ReadData(b.archive);
        OpenZip zip(CSkinZip::OpenFromMemory(bytes.data(), static_cast<uint32_t>(bytes.size())));
        ASSERT_NE(nullptr, zip.get()) << b.archive;
        int index = -1;
        TZipEntryInfo info;
        ASSERT_EQ(ZipOk, CSkinZip::FindEntry(zip.get(), b.entry, &index, &info)) << b.archive;
        // Extract into a buffer no bigger than what is really there, whatever the entry claims.
        std::vector<unsigned char> out(info.uncompressedSize < 100000 ? info.uncompressedSize : 100000);
        EXPECT_EQ(
            ZipExtractFailed, CSkinZip::ExtractEntry(zip.get(), index, out.data(), static_cast<uint32_t>(out.size())))
            << b.archive;
        // The failure closed the entry; the other entries are unaffected.
        std::vector<unsigned char> ten;
        if (std::strcmp(b.entry, "ten.bin") != 0) {
            EXPECT_EQ(ZipMoreData, ExtractWhole(zip.get(), "ten.bin", ten)) << b.archive;
        }
    }
    // A directory that claims 65,535 entries: the real ones are found, the walk stops at the lie.
    const std::vector<unsigned char> lie = ReadData("entry-count-lie.zip");
    OpenZip zip(CSkinZip::OpenFromMemory(lie.data(), static_cast<uint32_t>(lie.size())));
    ASSERT_NE(nullptr, zip.get());
    std::vector<unsigned char> bytes;
    EXPECT_EQ(ZipMoreData, ExtractWhole(zip.get(), "noise.bin", bytes));
    int index = 0;
    EXPECT_NE(ZipOk, CSkinZip::FindEntry(zip.get(), "absent", &index, nullptr));
    EXPECT_EQ(-1, index);
    EXPECT_EQ(ZipExtractFailed, CSkinZip::ExtractEntry(zip.get(), 1000, bytes.data(), 1));
}

// Every prefix near the structures that matter, and every single-byte change of the central
// directory and end record: each must give a code or a correct entry, never a crash or a read
// outside the buffer (the copy is sized exactly, so an over-read lands outside the heap block).
TEST(SkinZip, TruncatedAndBitFlippedArchivesNeverCrash)
{
    const std::vector<unsigned char> original = ReadData("python-deflated.zip");
    ASSERT_GT(original.size(), 22u);
    const std::vector<unsigned char> expectedTen = ReadData("source/ten.bin");
    auto exercise = [&](const std::vector<unsigned char>& bytes) {
        std::unique_ptr<unsigned char[]> exact(new unsigned char[bytes.size() ? bytes.size() : 1]);
        std::memcpy(exact.get(), bytes.data(), bytes.size());
        OpenZip zip(CSkinZip::OpenFromMemory(exact.get(), static_cast<uint32_t>(bytes.size())));
        if (!zip.get())
            return;
        for (const char* name : kEntries) {
            int index = -1;
            TZipEntryInfo info;
            if (CSkinZip::FindEntry(zip.get(), name, &index, &info) != ZipOk)
                continue;
            std::vector<unsigned char> out(info.uncompressedSize < 65536 ? info.uncompressedSize : 65536);
            const ZipResult result
                = CSkinZip::ExtractEntry(zip.get(), index, out.data(), static_cast<uint32_t>(out.size()));
            EXPECT_TRUE(result == ZipOk || result == ZipMoreData || result == ZipExtractFailed);
            if (result == ZipMoreData && std::strcmp(name, "ten.bin") == 0 && out.size() == 10) {
                EXPECT_TRUE(out == expectedTen);
            }
        }
    };
    for (size_t length = 0; length < original.size(); length += (length + 2048 < original.size() ? 61 : 1)) {
        exercise(std::vector<unsigned char>(original.begin(), original.begin() + length));
    }
    const unsigned char* end = &original[original.size() - 22];
    const size_t directoryStart = end[16] | (end[17] << 8) | (end[18] << 16) | (static_cast<size_t>(end[19]) << 24);
    ASSERT_LT(directoryStart, original.size());
    for (size_t at = directoryStart; at < original.size(); ++at) {
        for (unsigned char value : {0x00, 0xFF, 0x80}) {
            std::vector<unsigned char> flipped = original;
            if (flipped[at] == value)
                continue;
            flipped[at] = value;
            exercise(flipped);
        }
    }
}
