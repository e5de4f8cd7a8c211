// Native AddressSanitizer run of the layout parser and the archive reader (see run.sh): the inputs
// that used to read past the end of the text, every prefix and random mutations of a real layout,
// deep nesting, and truncated or bit-flipped real archives. Every input sits in a heap block of
// exactly its own size, so a read one byte too far is reported.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "host/ResourceLocation.h"
#include "skin/SkinXml.h"
#include "skin/SkinZip.h"

namespace SkinUI {
// The harness has no file system: the loaders' look-up always misses.
SkinFileStatus CResourceLocation::ReadSkinFile(const char*, const char*, size_t, bool, TSkinFileBytes& out)
{
    out = TSkinFileBytes();
    return SkinFileStatus::FileOpenFailed;
}
}  // namespace SkinUI

using namespace SkinUI;

namespace {

int g_checks = 0;
int g_failures = 0;

void Check(bool ok, const std::string& what)
{
    ++g_checks;
    if (!ok) {
        ++g_failures;
        std::printf("FAILED: %s\n", what.c_str());
    }
}

std::vector<unsigned char> ReadFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        std::printf("cannot read %s\n", path.c_str());
        std::exit(2);
    }
    return std::vector<unsigned char>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void Walk(const CSkinXmlNode& first)
{
    for (CSkinXmlNode node = first; node.Exists(); node = node.NextSiblingNode()) {
        volatile size_t sink = std::strlen(node.ElementName()) + std::strlen(node.ElementText());
        for (int i = 0; i < node.AttributeCount(); ++i) {
            sink = sink + std::strlen(node.AttributeNameAt(i)) + std::strlen(node.AttributeValueAt(i));
        }
        char value[500] = {};
        node.CopyAttributeValue("name", value, sizeof(value));
        Walk(node.FirstChildNode());
    }
}

void LoadUtf8Exact(const unsigned char* bytes, size_t size, const std::string& what)
{
    std::unique_ptr<unsigned char[]> exact(new unsigned char[size ? size : 1]);
    if (size)
        std::memcpy(exact.get(), bytes, size);
    CSkinXml xml;
    if (xml.LoadFromUtf8(exact.get(), size)) {
        Walk(xml.RootNode());
    } else {
        Check(xml.ErrorText()[0] != '\0', what + ": failure without a message");
    }
}

void ParserCases(const std::vector<unsigned char>& layout)
{
    CSkinXml xml;
    Check(!xml.LoadFromText("<a x=") && std::strcmp(xml.ErrorPlace(), "") == 0, "<a x=");
    Check(!xml.LoadFromText("<a></a") && std::strcmp(xml.ErrorPlace(), "") == 0, "<a></a");
    Check(xml.LoadFromText("<Window size=\"1,2\">\n") && xml.RootNode().AttributeCount() == 1, "unclosed root");
    Check(xml.LoadFromText("<a>text") && std::strcmp(xml.RootNode().ElementName(), "a") == 0, "<a>text");
    Check(!xml.LoadFromText(std::string(300000, '<').c_str()), "only '<'");
    std::string deep;
    for (int i = 0; i < 100000; ++i)
        deep += "<a>";
    Check(!xml.LoadFromText(deep.c_str()) && std::strcmp(xml.ErrorText(), "Nesting too deep") == 0, "deep");

    for (size_t length = 0; length <= layout.size(); ++length) {
        LoadUtf8Exact(layout.data(), length, "prefix " + std::to_string(length));
    }
    uint32_t state = 7;
    auto next = [&state] {
        state = state * 1664525u + 1013904223u;
        return state >> 8;
    };
    static const char kAlphabet[] = "<>/=\"'&;!?-ab:_ \n\tamp;lt;\x81\x5C\xB1";
    for (int round = 0; round < 20000; ++round) {
        std::vector<unsigned char> text(next() % 120);
        for (unsigned char& c : text)
            c = static_cast<unsigned char>(kAlphabet[next() % (sizeof(kAlphabet) - 1)]);
        LoadUtf8Exact(text.data(), text.size(), "random " + std::to_string(round));
        std::vector<unsigned char> mutated = layout;
        for (int edits = 1 + next() % 4; edits > 0; --edits)
            mutated[next() % mutated.size()] = static_cast<unsigned char>(next());
        LoadUtf8Exact(mutated.data(), mutated.size(), "mutated " + std::to_string(round));
    }
}

void ExerciseArchive(const std::vector<unsigned char>& bytes)
{
    std::unique_ptr<unsigned char[]> exact(new unsigned char[bytes.size() ? bytes.size() : 1]);
    if (!bytes.empty())
        std::memcpy(exact.get(), bytes.data(), bytes.size());
    HSKINZIP zip = CSkinZip::OpenFromMemory(exact.get(), static_cast<uint32_t>(bytes.size()));
    if (!zip)
        return;
    for (const char* name : {"MainWnd.xml", "Bom.xml", "skin\\btn.png", "ten.bin", "noise.bin", "empty.txt"}) {
        int index = -1;
        TZipEntryInfo info;
        if (CSkinZip::FindEntry(zip, name, &index, &info) != ZipOk)
            continue;
        const uint32_t size = info.uncompressedSize < 65536 ? info.uncompressedSize : 65536;
        std::unique_ptr<unsigned char[]> out(new unsigned char[size ? size : 1]);
        const ZipResult result = CSkinZip::ExtractEntry(zip, index, out.get(), size);
        Check(result == ZipOk || result == ZipMoreData || result == ZipExtractFailed, "extract result");
    }
    CSkinZip::Close(zip);
}

void ArchiveCases(const std::vector<unsigned char>& archive)
{
    for (size_t length = 0; length <= archive.size(); ++length) {
        ExerciseArchive(std::vector<unsigned char>(archive.begin(), archive.begin() + length));
    }
    const size_t end = archive.size() - 22;
    const size_t directory = archive[end + 16] | (archive[end + 17] << 8) | (archive[end + 18] << 16);
    for (size_t at = directory; at < archive.size(); ++at) {
        for (unsigned char value : {0x00, 0xFF, 0x7F}) {
            std::vector<unsigned char> flipped = archive;
            flipped[at] = value;
            ExerciseArchive(flipped);
        }
    }
    // Local headers and data of the first entries.
    for (size_t at = 0; at < 600 && at < archive.size(); ++at) {
        std::vector<unsigned char> flipped = archive;
        flipped[at] ^= 0x5A;
        ExerciseArchive(flipped);
    }
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 3) {
        std::printf("usage: harness LAYOUT.xml ARCHIVE.zip...\n");
        return 2;
    }
    ParserCases(ReadFile(argv[1]));
    for (int i = 2; i < argc; ++i)
        ArchiveCases(ReadFile(argv[i]));
    std::printf("host-asan: %d checks, %d failures\n", g_checks, g_failures);
    return g_failures ? 1 : 0;
}
