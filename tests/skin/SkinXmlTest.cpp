// The layout parser: document shapes, the error table, the dialect's quirks, and generated
// malformed input (every prefix of a real layout, random bytes, deep nesting).
#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>
#include <string>
#include <vector>

#include "SkinTestData.h"
#include "skin/SkinXml.h"

using namespace SkinUI;
using skintest::ReadData;

namespace {

std::string Attr(const CSkinXmlNode& node, const char* name)
{
    char value[500] = {};
    return node.CopyAttributeValue(name, value, sizeof(value)) ? value : "<absent>";
}

// Touches every element and attribute reachable from the root; returns the element count seen.
int WalkAll(const CSkinXmlNode& first, int depth = 0)
{
    int seen = 0;
    for (CSkinXmlNode node = first; node.Exists(); node = node.NextSiblingNode()) {
        ++seen;
        EXPECT_NE(nullptr, node.ElementName());
        EXPECT_NE(nullptr, node.ElementText());
        const int count = node.AttributeCount();
        EXPECT_LE(count, CSkinXmlNode::kMaxAttributes);
        for (int i = 0; i < count; ++i) {
            EXPECT_LT(std::strlen(node.AttributeNameAt(i)), 5000u);
            EXPECT_LT(std::strlen(node.AttributeValueAt(i)), 5000u);
        }
        EXPECT_LE(depth, CSkinXml::kMaxDepth);
        if (node.HasChildElements())
            seen += WalkAll(node.FirstChildNode(), depth + 1);
    }
    return seen;
}

// Loads and either succeeds with a walkable tree or fails with a message.
void ExpectSoundResult(CSkinXml& xml, bool loaded, const std::string& what)
{
    if (loaded) {
        const int seen = xml.RootNode().Exists() ? WalkAll(xml.RootNode()) : 0;
        EXPECT_EQ(xml.ElementCount() > 1 ? xml.ElementCount() - 1 : 0, static_cast<uint32_t>(seen)) << what;
    } else {
        EXPECT_STRNE("", xml.ErrorText()) << what;
        EXPECT_FALSE(xml.RootNode().Exists()) << what;
        EXPECT_EQ(0u, xml.ElementCount()) << what;
    }
}

std::string Nested(int depth, bool closed)
{
    std::string text;
    for (int i = 0; i < depth; ++i)
        text += "<a>";
    if (closed) {
        for (int i = 0; i < depth; ++i)
            text += "</a>";
    }
    return text;
}

}  // namespace

TEST(SkinXml, ElementTableShape)
{
    CSkinXml xml;
    ASSERT_TRUE(xml.LoadFromText("<Window size=\"1,2\"><Font name=\"a\" /></Window>"));
    EXPECT_EQ(3u, xml.ElementCount());
    CSkinXmlNode root = xml.RootNode();
    ASSERT_TRUE(root.Exists());
    EXPECT_STREQ("Window", root.ElementName());
    EXPECT_EQ(1, root.AttributeCount());
    EXPECT_STREQ("size", root.AttributeNameAt(0));
    EXPECT_STREQ("1,2", root.AttributeValueAt(0));
    EXPECT_FALSE(root.NextSiblingNode().Exists());
    ASSERT_TRUE(root.HasChildElements());
    CSkinXmlNode font = root.FirstChildNode();
    EXPECT_STREQ("Font", font.ElementName());
    EXPECT_STREQ("", font.ElementText());
    EXPECT_EQ("a", Attr(font, "name"));
    EXPECT_FALSE(font.HasChildElements());
    EXPECT_FALSE(font.NextSiblingNode().Exists());

    for (const char* text : {"<Font/>", "<Font />", "<Font\t/>", "<Font></Font>", "< Font ></ Font >"}) {
        ASSERT_TRUE(xml.LoadFromText(text)) << text;
        EXPECT_STREQ("Font", xml.RootNode().ElementName()) << text;
        EXPECT_STREQ("", xml.RootNode().ElementText()) << text;
        EXPECT_FALSE(xml.RootNode().HasAnyAttribute()) << text;
    }

    // Further top-level elements chain behind the root; text before the first child is content.
    ASSERT_TRUE(xml.LoadFromText("<a>lead<b/><c><d/></c></a><e/>"));
    root = xml.RootNode();
    EXPECT_STREQ("lead", root.ElementText());
    EXPECT_STREQ("e", root.NextSiblingNode().ElementName());
    CSkinXmlNode c = root.FirstChildNode().NextSiblingNode();
    EXPECT_STREQ("c", c.ElementName());
    EXPECT_STREQ("d", c.FirstChildNode().ElementName());
    EXPECT_EQ(6u, xml.ElementCount());
}

TEST(SkinXml, AttributeValuesEntitiesAndBlanks)
{
    CSkinXml xml;
    ASSERT_TRUE(
        xml.LoadFromText("<a v=\"1 &amp; 2\" num=\"&#65;\" foo=\"&foo;\" all=\"&lt;&gt;&quot;&apos;\" amps=\"&&amp;\""
                         " ws=\" a\tb\n\" e=\"\" after=\"x\"/>"));
    CSkinXmlNode a = xml.RootNode();
    EXPECT_EQ("1 & 2", Attr(a, "v"));
    EXPECT_EQ("&#65;", Attr(a, "num"));
    EXPECT_EQ("&foo;", Attr(a, "foo"));
    EXPECT_EQ("<>\"'", Attr(a, "all"));
    EXPECT_EQ("&&", Attr(a, "amps"));
    EXPECT_EQ(" a\tb\n", Attr(a, "ws"));
    EXPECT_EQ("", Attr(a, "e"));
    // Decoding shortens values; the attributes after them must still be found.
    EXPECT_EQ("x", Attr(a, "after"));
    EXPECT_EQ(8, a.AttributeCount());
    EXPECT_EQ("<absent>", Attr(a, "V"));  // names are case-sensitive

    ASSERT_TRUE(xml.LoadFromText("<a>x&amp;y &lt;z&gt;</a>"));
    EXPECT_STREQ("x&y <z>", xml.RootNode().ElementText());
    // Equal names: the first wins. Long values are cut to the buffer.
    ASSERT_TRUE(xml.LoadFromText(("<a k=\"1\" k=\"2\" long=\"" + std::string(600, 'v') + "\"/>").c_str()));
    EXPECT_EQ("1", Attr(xml.RootNode(), "k"));
    EXPECT_EQ(std::string(499, 'v'), Attr(xml.RootNode(), "long"));
    char small[4] = {'#', '#', '#', '#'};
    EXPECT_TRUE(xml.RootNode().CopyAttributeValue("long", small, sizeof(small)));
    EXPECT_STREQ("vvv", small);
    EXPECT_EQ("2", std::string(xml.RootNode().AttributeValueAt(1)));
    EXPECT_STREQ("", xml.RootNode().AttributeNameAt(3));
    EXPECT_STREQ("", xml.RootNode().AttributeValueAt(-1));

    // At most 64 attributes are visible.
    std::string many = "<a";
    for (int i = 0; i < 70; ++i)
        many += " a" + std::to_string(i) + "=\"" + std::to_string(i) + "\"";
    ASSERT_TRUE(xml.LoadFromText((many + "><b c=\"x\"/></a>").c_str()));
    EXPECT_EQ(64, xml.RootNode().AttributeCount());
    EXPECT_EQ("63", Attr(xml.RootNode(), "a63"));
    EXPECT_EQ("<absent>", Attr(xml.RootNode(), "a64"));
    // The ones past the 64th belong to nobody: the child still sees exactly its own.
    CSkinXmlNode child = xml.RootNode().FirstChildNode();
    EXPECT_EQ(1, child.AttributeCount());
    EXPECT_EQ("x", Attr(child, "c"));
}

TEST(SkinXml, CommentsDeclarationsAndTheirQuirks)
{
    CSkinXml xml;
    ASSERT_TRUE(xml.LoadFromText("<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<!-- top -->\n"
                                 "<a><!-- d --><b/>  <!-- e --> <?pi x?><c/></a>\n<!-- tail -->\n"));
    EXPECT_STREQ("a", xml.RootNode().ElementName());
    EXPECT_STREQ("c", xml.RootNode().FirstChildNode().NextSiblingNode().ElementName());
    EXPECT_EQ(4u, xml.ElementCount());

    // "->" ends a comment early.
    EXPECT_FALSE(xml.LoadFromText("<!-- a -> b --><r/>"));
    EXPECT_STREQ("Expected start tag", xml.ErrorText());
    EXPECT_STREQ("b --><r/>", xml.ErrorPlace());
    // A declaration without "->" swallows the rest of the document.
    EXPECT_TRUE(xml.LoadFromText("<!DOCTYPE skin><r/>"));
    EXPECT_FALSE(xml.RootNode().Exists());
}

TEST(SkinXml, ErrorMessagesAndPlaces)
{
    const struct {
        const char* text;
        const char* message;
        const char* place;
    } cases[] = {
        {"<a x='1'/>", "Expected attribute value", "1'/>"},
        {"<a><b/>text</a>", "Expected start tag", "text</a>"},
        {"<a><b></c></a>", "Unmatched closing tag", "c></a>"},
        {"<a><b></bb></a>", "Unmatched closing tag", "></a>"},
        {"<a><b><c/>", "Expected start tag", ""},
        {"<abc", "Error parsing element name", ""},
        {"<", "Error parsing element name", ""},
        {"<a x=\"1\" ?>", "Error while parsing attributes", "?>"},
        {"<a x=\"1\"/ >", "Expected start-tag closing", "/ >"},
        {"<a x=\"1\"", "Expected start-tag closing", ""},
        {"<a><b><c>text", "Expected end-tag start", ""},
        {"<a x/>", "Error while parsing attributes", "/>"},
        {"<a x=\"abc", "Error while parsing attribute string", ""},
        {"text", "Expected start tag", "text"},
        // The place never runs past the end of the text.
        {"<a x=", "Expected attribute value", ""},
        {"<a></a", "Unmatched closing tag", ""},
        {"<a></a x>", "Unmatched closing tag", ">"},
    };
    CSkinXml xml;
    for (const auto& c : cases) {
        EXPECT_FALSE(xml.LoadFromText(c.text)) << c.text;
        EXPECT_STREQ(c.message, xml.ErrorText()) << c.text;
        EXPECT_STREQ(c.place, xml.ErrorPlace()) << c.text;
        EXPECT_EQ(0u, xml.ElementCount()) << c.text;
        EXPECT_FALSE(xml.RootNode().Exists()) << c.text;
    }
    // The place is cut to 49 bytes; a later success clears both texts.
    EXPECT_FALSE(xml.LoadFromText(("<a><b/>" + std::string(200, 'z')).c_str()));
    EXPECT_EQ(std::string(49, 'z'), xml.ErrorPlace());
    EXPECT_TRUE(xml.LoadFromText("<a/>"));
    EXPECT_STREQ("", xml.ErrorText());
    EXPECT_STREQ("", xml.ErrorPlace());
}

TEST(SkinXml, UnclosedElementsAtTheEndOfTheText)
{
    CSkinXml xml;
    ASSERT_TRUE(xml.LoadFromText("<a><b/>"));
    EXPECT_EQ(3u, xml.ElementCount());
    // A root ending in text: the name is terminated and the attribute scan stays inside the tag.
    ASSERT_TRUE(xml.LoadFromText("<Window size=\"1,2\">\n"));
    EXPECT_STREQ("Window", xml.RootNode().ElementName());
    EXPECT_EQ(1, xml.RootNode().AttributeCount());
    EXPECT_EQ("1,2", Attr(xml.RootNode(), "size"));
    for (const char* text : {"<a>text", "<a>", "<a>x&amp;y"}) {
        ASSERT_TRUE(xml.LoadFromText(text)) << text;
        EXPECT_STREQ("a", xml.RootNode().ElementName()) << text;
        EXPECT_EQ(0, xml.RootNode().AttributeCount()) << text;
    }
    EXPECT_STREQ("x&y", xml.RootNode().ElementText());
    ASSERT_TRUE(xml.LoadFromText("<r><a k=\"v\">text"));
    EXPECT_STREQ("a", xml.RootNode().FirstChildNode().ElementName());
    EXPECT_EQ("v", Attr(xml.RootNode().FirstChildNode(), "k"));
}

TEST(SkinXml, DocumentsWithoutElementsHaveNoRoot)
{
    CSkinXml xml;
    for (const char* text : {"<?xml version=\"1.0\"?>", "<!-- x -->", "<!-- x -->\r\n ", ""}) {
        EXPECT_TRUE(xml.LoadFromText(text)) << text;
        EXPECT_FALSE(xml.RootNode().Exists()) << text;
    }
    // Blanks alone are not a document: the first thing after them must be a tag.
    EXPECT_FALSE(xml.LoadFromText("  \r\n\t "));
    EXPECT_STREQ("Expected start tag", xml.ErrorText());
    const unsigned char bomOnly[] = {0xEF, 0xBB, 0xBF};
    EXPECT_TRUE(xml.LoadFromUtf8(bomOnly, sizeof(bomOnly)));
    EXPECT_FALSE(xml.RootNode().Exists());
    EXPECT_TRUE(xml.LoadFromUtf8(bomOnly, 0));
    EXPECT_FALSE(xml.RootNode().Exists());

    CSkinXmlNode invalid;
    EXPECT_FALSE(invalid.Exists());
    EXPECT_EQ(nullptr, invalid.ElementName());
    EXPECT_EQ(nullptr, invalid.AttributeNameAt(0));
    EXPECT_EQ(nullptr, invalid.AttributeValueAt(0));
    EXPECT_EQ(0, invalid.AttributeCount());
    EXPECT_FALSE(invalid.HasAnyAttribute());
    EXPECT_FALSE(invalid.HasChildElements());
    EXPECT_FALSE(invalid.NextSiblingNode().Exists());
    EXPECT_FALSE(invalid.FirstChildNode().Exists());
    char out[8] = {};
    EXPECT_FALSE(invalid.CopyAttributeValue("a", out, sizeof(out)));
}

TEST(SkinXml, NestingIsCappedInsteadOfExhaustingTheStack)
{
    CSkinXml xml;
    for (bool closed : {false, true}) {
        EXPECT_FALSE(xml.LoadFromText(Nested(100000, closed).c_str()));
        EXPECT_STREQ("Nesting too deep", xml.ErrorText());
        EXPECT_FALSE(xml.LoadFromText(Nested(CSkinXml::kMaxDepth + 1, closed).c_str()));
        EXPECT_STREQ("Nesting too deep", xml.ErrorText());
    }
    ASSERT_TRUE(xml.LoadFromText(Nested(CSkinXml::kMaxDepth, true).c_str()));
    EXPECT_EQ(static_cast<uint32_t>(CSkinXml::kMaxDepth) + 1, xml.ElementCount());
    EXPECT_EQ(CSkinXml::kMaxDepth, WalkAll(xml.RootNode()));
}

TEST(SkinXml, ElementTableGrowsPastItsFirstAllocations)
{
    // 3,001 entries outgrow the capacities 500, 1250 and 2375 (then 4062).
    std::string text = "<list>";
    for (int i = 0; i < 2999; ++i)
        text += "<item i=\"" + std::to_string(i) + "\"/>";
    text += "</list>";
    CSkinXml xml;
    ASSERT_TRUE(xml.LoadFromText(text.c_str()));
    EXPECT_EQ(3001u, xml.ElementCount());
    int i = 0;
    for (CSkinXmlNode item = xml.RootNode().FirstChildNode(); item.Exists(); item = item.NextSiblingNode(), ++i) {
        ASSERT_EQ(std::to_string(i), Attr(item, "i"));
    }
    EXPECT_EQ(2999, i);
}

TEST(SkinXml, RealLayoutWithAndWithoutByteOrderMark)
{
    const std::vector<unsigned char> plain = ReadData("source/MainWnd.xml");
    const std::vector<unsigned char> bom = ReadData("source/Bom.xml");
    ASSERT_EQ(plain.size() + 3, bom.size());
    CSkinXml a, b;
    ASSERT_TRUE(a.LoadFromUtf8(plain.data(), plain.size())) << a.ErrorText() << " at " << a.ErrorPlace();
    ASSERT_TRUE(b.LoadFromUtf8(bom.data(), bom.size())) << b.ErrorText();
    EXPECT_EQ(18u, a.ElementCount());
    EXPECT_EQ(a.ElementCount(), b.ElementCount());
    EXPECT_EQ(17, WalkAll(a.RootNode()));

    CSkinXmlNode window = a.RootNode();
    EXPECT_STREQ("Window", window.ElementName());
    EXPECT_EQ("420,300", Attr(window, "size"));
    EXPECT_EQ("#FF202020", Attr(window, "defaultfontcolor"));
    CSkinXmlNode node = window.FirstChildNode();
    EXPECT_STREQ("Font", node.ElementName());
    node = node.NextSiblingNode().NextSiblingNode().NextSiblingNode();
    EXPECT_STREQ("Default", node.ElementName());
    EXPECT_EQ("textcolor=\"#FF000000\" align=\"center\"", Attr(node, "value"));
    CSkinXmlNode root = node.NextSiblingNode();
    EXPECT_EQ("root", Attr(root, "name"));
    CSkinXmlNode close = root.FirstChildNode().FirstChildNode().NextSiblingNode();
    EXPECT_EQ("file='skin/btn.png' source='0,0,8,8'", Attr(close, "normalimage"));
    CSkinXmlNode apply = root.FirstChildNode().NextSiblingNode().NextSiblingNode().FirstChildNode();
    EXPECT_EQ("Apply the \"selected\" profile", Attr(apply, "tooltip"));
    EXPECT_STREQ("Profiles change the DNS servers of every connection.",
        root.FirstChildNode().NextSiblingNode().NextSiblingNode().NextSiblingNode().ElementText());
}

TEST(SkinXmlCp936, ChineseAttributeValuesSurviveConversionToTheAnsiCodePage)
{
    ASSERT_EQ(936u, ::GetACP()) << "run under LANG=zh_CN.UTF-8 LC_ALL=zh_CN.UTF-8";
    const std::vector<unsigned char> layout = ReadData("source/MainWnd.xml");
    CSkinXml xml;
    ASSERT_TRUE(xml.LoadFromUtf8(layout.data(), layout.size())) << xml.ErrorText();
    CSkinXmlNode font = xml.RootNode().FirstChildNode();
    EXPECT_EQ("\xCB\xCE\xCC\xE5", Attr(font, "name"));  // 宋体
    CSkinXmlNode caption
        = font.NextSiblingNode().NextSiblingNode().NextSiblingNode().NextSiblingNode().FirstChildNode();
    EXPECT_EQ("\xC9\xE8\xD6\xC3 & \xD1\xA1\xCF\xEE", Attr(caption.FirstChildNode(), "text"));  // 设置 & 选项
    CSkinXmlNode family = caption.NextSiblingNode().FirstChildNode().NextSiblingNode().NextSiblingNode();
    EXPECT_EQ("\xBC\xD2\xCD\xA5\xC4\xA3\xCA\xBD <\xCD\xC6\xBC\xF6>", Attr(family, "text"));  // 家庭模式 <推荐>
    // Double-byte characters are copied whole, also right before an entity or the closing quote.
    ASSERT_TRUE(xml.LoadFromText("<a v=\"\x81\x5C&amp;\xB1\xED\"/>"));
    EXPECT_EQ("\x81\x5C&\xB1\xED", Attr(xml.RootNode(), "v"));
    // A value cut to the buffer loses a character that does not fit whole, never half of one.
    const std::string filler(498, 'v');
    ASSERT_TRUE(xml.LoadFromText(("<a v=\"" + filler + "\xB1\xED\xB1\xED\"/>").c_str()));
    EXPECT_EQ(filler, Attr(xml.RootNode(), "v"));
}

// Every prefix of a real layout, as ANSI text and as UTF-8 bytes: a clean result either way.
TEST(SkinXml, EveryPrefixOfARealLayoutGivesACleanResult)
{
    const std::vector<unsigned char> layout = ReadData("source/MainWnd.xml");
    CSkinXml xml;
    for (size_t length = 0; length <= layout.size(); ++length) {
        const std::string prefix(layout.begin(), layout.begin() + length);
        ExpectSoundResult(xml, xml.LoadFromText(prefix.c_str()), "text prefix " + std::to_string(length));
        ExpectSoundResult(xml, xml.LoadFromUtf8(layout.data(), length), "utf-8 prefix " + std::to_string(length));
    }
}

TEST(SkinXml, RandomAndMutatedDocumentsGiveACleanResult)
{
    uint32_t state = 0x2545F491;
    auto next = [&state] {
        state = state * 1664525u + 1013904223u;
        return state >> 8;
    };
    static const char kAlphabet[] = "<>/=\"'&;!?-ab:_ \n\tamp;lt;gt;\x81\x5C\xB1";
    CSkinXml xml;
    for (int round = 0; round < 3000; ++round) {
        std::string text(next() % 200, ' ');
        for (char& c : text)
            c = kAlphabet[next() % (sizeof(kAlphabet) - 1)];
        ExpectSoundResult(xml, xml.LoadFromText(text.c_str()), "random " + std::to_string(round));
    }
    const std::vector<unsigned char> layout = ReadData("source/MainWnd.xml");
    for (int round = 0; round < 3000; ++round) {
        std::vector<unsigned char> mutated = layout;
        for (int edits = 1 + next() % 4; edits > 0; --edits) {
            mutated[next() % mutated.size()] = static_cast<unsigned char>(next());
        }
        ExpectSoundResult(xml, xml.LoadFromUtf8(mutated.data(), mutated.size()), "mutated " + std::to_string(round));
    }
}
