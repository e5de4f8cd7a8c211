// The archive reader: open from memory, find by name, and extract every entry into buffers of
// several sizes (whole, too small, one byte at a time, too large), continuing an entry across
// calls as the loaders may. The reader must never write past the size it is given.
#include <initializer_list>

#include "skin/SkinZip.h"
#include "tests/fuzz/FuzzInput.h"

namespace {

using namespace SkinUI;

const uint32_t kWhole = 65536;  // as much as one run should bother with

// Extracts entry `index` in pieces of `piece` bytes, each into a block of exactly that size, until
// the entry is exhausted or fails, or `limit` bytes have come out. Returns the first call's answer.
ZipResult ExtractInPieces(HSKINZIP zip, int index, uint32_t piece, uint32_t limit)
{
    ZipResult first = ZipOk;
    uint32_t total = 0;
    for (int calls = 0; total < limit; ++calls) {
        std::unique_ptr<unsigned char[]> block(new unsigned char[piece]);
        const ZipResult result = CSkinZip::ExtractEntry(zip, index, block.get(), piece);
        Fuzz::Require(
            result == ZipOk || result == ZipMoreData || result == ZipExtractFailed || result == ZipBadArguments,
            "extract answers a known code");
        if (calls == 0)
            first = result;
        if (result != ZipMoreData)
            break;
        total += piece;
    }
    return first;
}

void FindByName(HSKINZIP zip)
{
    static const char* const kNames[] = {"MainWnd.xml", "mainwnd.XML", "bk.jpg", "skin\\btn.png", "skin/btn.png",
        "ten.bin", "noise.bin", "empty.txt", "", "a"};
    for (const char* name : kNames) {
        int index = 7;
        TZipEntryInfo info;
        const ZipResult result = CSkinZip::FindEntry(zip, name, &index, &info);
        if (result == ZipOk) {
            Fuzz::Require(index >= 0 && info.index == index, "found index agrees");
            Fuzz::Require(std::memchr(info.name, '\0', sizeof(info.name)) != nullptr, "name terminated");
        } else {
            Fuzz::Require(index == -1, "missing entry gives -1");
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size > UINT32_MAX)
        return 0;
    const std::unique_ptr<unsigned char[]> archive = Fuzz::ExactCopy(data, size);
    HSKINZIP zip = CSkinZip::OpenFromMemory(archive.get(), static_cast<uint32_t>(size));
    if (zip == nullptr) {
        Fuzz::Require(CSkinZip::LastResult() != ZipOk, "a failed open says why");
        return 0;
    }
    FindByName(zip);
    for (int index = 0; index < 16; ++index) {
        // Whole entries as the loaders take them, then awkward sizes; each size starts afresh
        // (a look-up closes the open entry).
        bool exists = true;
        for (uint32_t piece : {kWhole, 1u, 7u, 4096u}) {
            CSkinZip::FindEntry(zip, "", nullptr, nullptr);
            exists = ExtractInPieces(zip, index, piece, piece < 16u ? 512u : kWhole) != ZipBadArguments;
            if (!exists)
                break;
        }
        if (!exists)
            break;
    }
    CSkinZip::Close(zip);
    return 0;
}
