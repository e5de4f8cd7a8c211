// The layout parser through all three loaders. The first byte picks the loader (text, UTF-8
// bytes, skin file look-up); the rest is the document. The walk touches every string the handles
// hand out, so a terminator the parser forgot shows up as an overread.
#include <cstring>

#include "host/ResourceLocation.h"
#include "skin/SkinXml.h"
#include "tests/fuzz/FuzzInput.h"

namespace {

const uint8_t* g_file = nullptr;
size_t g_fileSize = 0;

void Walk(const SkinUI::CSkinXmlNode& first)
{
    for (SkinUI::CSkinXmlNode node = first; node.Exists(); node = node.NextSiblingNode()) {
        volatile size_t sink = std::strlen(node.ElementName()) + std::strlen(node.ElementText());
        const int count = node.AttributeCount();
        Fuzz::Require(count >= 0 && count <= SkinUI::CSkinXmlNode::kMaxAttributes, "attribute count in range");
        for (int i = 0; i <= count; ++i)
            sink = sink + std::strlen(node.AttributeNameAt(i)) + std::strlen(node.AttributeValueAt(i));
        char small[4] = {};
        if (count > 0 && node.CopyAttributeValue(node.AttributeNameAt(0), small, sizeof(small)))
            Fuzz::Require(std::strlen(small) < sizeof(small), "copied value cut to the buffer");
        Fuzz::Require(node.HasChildElements() == node.FirstChildNode().Exists(), "children agree");
        Walk(node.FirstChildNode());
    }
}

}  // namespace

namespace SkinUI {
// No file system here: the look-up serves the fuzz input, with the size limit the real one applies.
SkinFileStatus CResourceLocation::ReadSkinFile(const char*, const char*, size_t maxBytes, bool, TSkinFileBytes& out)
{
    out = TSkinFileBytes();
    if (g_fileSize == 0)
        return SkinFileStatus::Empty;
    if (g_fileSize > maxBytes)
        return SkinFileStatus::TooLarge;
    out.data = Fuzz::ExactCopy(g_file, g_fileSize);
    out.size = g_fileSize;
    return SkinFileStatus::Found;
}
}  // namespace SkinUI

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0)
        return 0;
    const uint8_t loader = data[0] % 3;
    ++data;
    --size;
    SkinUI::CSkinXml xml;
    bool loaded = false;
    if (loader == 0) {
        loaded = xml.LoadFromText(Fuzz::TextCopy(data, size).get());
    } else if (loader == 1) {
        loaded = xml.LoadFromUtf8(Fuzz::ExactCopy(data, size).get(), size);
    } else {
        g_file = data;
        g_fileSize = size;
        loaded = xml.LoadFromSkinFile("MainWnd.xml");
    }
    if (loaded) {
        Walk(xml.RootNode());
    } else {
        Fuzz::Require(xml.ErrorText()[0] != '\0', "a failure names itself");
        Fuzz::Require(!xml.RootNode().Exists(), "a failed load leaves no tree");
    }
    return 0;
}
