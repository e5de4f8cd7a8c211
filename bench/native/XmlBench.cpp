// The layout parser against two widely used XML parsers, built natively with the same flags: parse
// alone, and parse followed by a walk that reads every element name and every attribute name and
// value, and nothing else (what the skin builder does: it never reads element text). Also the UTF-8
// loader (the shipped skin's form) against the plain one.
#include <pugixml.hpp>
#include <tinyxml2.h>

#include <cstring>
#include <string>

#include "bench/BenchClock.h"
#include "bench/native/SkinDocument.h"
#include "host/ResourceLocation.h"
#include "skin/SkinXml.h"

namespace SkinUI {
// No file system here: the loaders' look-up always misses.
SkinFileStatus CResourceLocation::ReadSkinFile(const char*, const char*, size_t, bool, TSkinFileBytes& out)
{
    out = TSkinFileBytes();
    return SkinFileStatus::FileOpenFailed;
}
}  // namespace SkinUI

namespace {

size_t WalkOurs(const SkinUI::CSkinXmlNode& first)
{
    size_t total = 0;
    for (SkinUI::CSkinXmlNode node = first; node.Exists(); node = node.NextSiblingNode()) {
        total += std::strlen(node.ElementName());
        const int count = node.AttributeCount();
        for (int i = 0; i < count; ++i)
            total += std::strlen(node.AttributeNameAt(i)) + std::strlen(node.AttributeValueAt(i));
        total += WalkOurs(node.FirstChildNode());
    }
    return total;
}

size_t WalkPugi(const pugi::xml_node& parent)
{
    size_t total = 0;
    for (pugi::xml_node node = parent.first_child(); node; node = node.next_sibling()) {
        if (node.type() != pugi::node_element)
            continue;
        total += std::strlen(node.name());
        for (pugi::xml_attribute a = node.first_attribute(); a; a = a.next_attribute())
            total += std::strlen(a.name()) + std::strlen(a.value());
        total += WalkPugi(node);
    }
    return total;
}

size_t WalkTiny(const tinyxml2::XMLElement* first)
{
    size_t total = 0;
    for (const tinyxml2::XMLElement* node = first; node != nullptr; node = node->NextSiblingElement()) {
        total += std::strlen(node->Name());
        for (const tinyxml2::XMLAttribute* a = node->FirstAttribute(); a != nullptr; a = a->Next())
            total += std::strlen(a->Name()) + std::strlen(a->Value());
        total += WalkTiny(node->FirstChildElement());
    }
    return total;
}

bool ParseOurs(SkinUI::CSkinXml& xml, const std::string& text)
{
    if (!xml.LoadFromText(text.c_str())) {
        std::fprintf(stderr, "our parser refused the document: %s\n", xml.ErrorText());
        std::exit(1);
    }
    return true;
}

void BenchSize(const char* label, size_t bytes, const bench::TOptions& options)
{
    const std::string text = bench::MakeSkinDocument(bytes);
    // Small documents are parsed many times per sample so the clock's resolution does not decide.
    const int batch = options.quick ? 1 : static_cast<int>(std::max<size_t>(1, 2000000 / text.size()));
    std::string figure = std::string("xml parse ") + label;
    bench::Print(figure.c_str(), "ours", bench::MeasureBatched(options.runs, batch, [&] {
        SkinUI::CSkinXml xml;
        bench::Consume(ParseOurs(xml, text));
    }));
    bench::Print(figure.c_str(), "pugixml", bench::MeasureBatched(options.runs, batch, [&] {
        pugi::xml_document doc;
        bench::Consume(doc.load_buffer(text.data(), text.size()) ? 1 : 0);
    }));
    bench::Print(figure.c_str(), "tinyxml2", bench::MeasureBatched(options.runs, batch, [&] {
        tinyxml2::XMLDocument doc;
        bench::Consume(doc.Parse(text.data(), text.size()) == tinyxml2::XML_SUCCESS ? 1 : 0);
    }));

    figure = std::string("xml parse+walk ") + label;
    bench::Print(figure.c_str(), "ours", bench::MeasureBatched(options.runs, batch, [&] {
        SkinUI::CSkinXml xml;
        ParseOurs(xml, text);
        bench::Consume(WalkOurs(xml.RootNode()));
    }));
    bench::Print(figure.c_str(), "pugixml", bench::MeasureBatched(options.runs, batch, [&] {
        pugi::xml_document doc;
        doc.load_buffer(text.data(), text.size());
        bench::Consume(WalkPugi(doc));
    }));
    bench::Print(figure.c_str(), "tinyxml2", bench::MeasureBatched(options.runs, batch, [&] {
        tinyxml2::XMLDocument doc;
        doc.Parse(text.data(), text.size());
        bench::Consume(WalkTiny(doc.FirstChildElement()));
    }));

    figure = std::string("xml utf8 load ") + label;
    bench::Print(figure.c_str(), "ours", bench::MeasureBatched(options.runs, batch, [&] {
        SkinUI::CSkinXml xml;
        bench::Consume(xml.LoadFromUtf8(reinterpret_cast<const unsigned char*>(text.data()), text.size()));
    }));
    bench::Print(figure.c_str(), "plain load", bench::MeasureBatched(options.runs, batch, [&] {
        SkinUI::CSkinXml xml;
        bench::Consume(ParseOurs(xml, text));
    }));
}

}  // namespace

int main(int argc, char** argv)
{
    const bench::TOptions options = bench::ParseOptions(argc, argv);
    if (options.quick) {
        BenchSize("3KB", 3 * 1024, options);
        return 0;
    }
    BenchSize("3KB", 3 * 1024, options);
    BenchSize("40KB", 40 * 1024, options);
    BenchSize("1MB", 1024 * 1024, options);
    BenchSize("4MB", 4 * 1024 * 1024, options);
    return 0;
}
