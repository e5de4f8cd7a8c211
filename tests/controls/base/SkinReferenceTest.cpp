// The skin author's reference (docs/skin-reference.md) against the code's own attribute tables, so
// the two cannot drift: each element the builder creates, the builder's own elements, the image
// string keys and the markup tags, compared both ways with the exact names printed; and every
// documented example applied to a live control in a real host.
//
// The reference's format: under "## Elements" one "### `Name`" section per element, an optional
// "Inherits: `Base`" line, and rows "| `attribute` | value | default | `example` |"; an element
// accepts its own rows and those of its Inherits chain. "## Image attribute strings" and
// "## Text tags" hold rows of the same shape, keyed by the image key and the tag letter.
#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "support/HostBed.h"
#include "controls/text/Label.h"
#include "render/ImagePairReader.h"
#include "render/ImageSpec.h"
#include "render/RenderKit.h"
#include "skin/SkinBuilder.h"
#include "skin/SkinBuilderElements.h"

using namespace SkinUI;
using testbed::HostBed;

namespace {

struct TDocRow {
    std::string name;
    std::string example;  // the last cell without its backticks
    int line;
};

struct TDocSection {
    std::string inherits;
    std::vector<TDocRow> rows;
};

struct TReference {
    bool found = false;
    std::map<std::string, TDocSection> elements;
    std::vector<TDocRow> imageKeys;
    std::vector<TDocRow> textTags;
};

using TNameSet = std::set<std::string>;

// The text between the first pair of backticks after `from`, or empty.
std::string Quoted(const std::string& text, size_t from = 0)
{
    const size_t open = text.find('`', from);
    const size_t close = open == std::string::npos ? open : text.find('`', open + 1);
    return close == std::string::npos ? std::string() : text.substr(open + 1, close - open - 1);
}

// "| `name` | ... | `example` |": the name and the last cell's quoted text.
TDocRow ReadRow(const std::string& line, int lineNumber)
{
    const size_t end = line.find_last_of('|');
    const size_t lastCell = line.find_last_of('|', end == 0 ? 0 : end - 1);
    std::string example = lastCell == std::string::npos ? std::string() : Quoted(line.substr(lastCell, end - lastCell));
    return {Quoted(line), example, lineNumber};
}

TReference ParseReference(std::istream& in)
{
    enum { None, Elements, ImageKeys, TextTags } part = None;
    TReference doc;
    doc.found = true;
    TDocSection* section = nullptr;
    std::string line;
    for (int number = 1; std::getline(in, line); ++number) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (line.rfind("## ", 0) == 0) {
            part = line == "## Elements"               ? Elements
                : line == "## Image attribute strings" ? ImageKeys
                : line == "## Text tags"               ? TextTags
                                                       : None;
            section = nullptr;
        } else if (part == Elements && line.rfind("### `", 0) == 0) {
            section = &doc.elements[Quoted(line)];
        } else if (section != nullptr && line.rfind("Inherits: `", 0) == 0) {
            section->inherits = Quoted(line);
        } else if (line.rfind("| `", 0) == 0) {
            const TDocRow row = ReadRow(line, number);
            if (part == ImageKeys)
                doc.imageKeys.push_back(row);
            else if (part == TextTags)
                doc.textTags.push_back(row);
            else if (section != nullptr)
                section->rows.push_back(row);
        }
    }
    return doc;
}

std::string ReferencePath()
{
    char exe[MAX_PATH + 1] = {};
    const DWORD length = ::GetModuleFileNameA(nullptr, exe, MAX_PATH);
    std::string path(exe, length);
    path.erase(path.find_last_of("\\/") + 1);
    return path + "..\\..\\..\\docs\\skin-reference.md";
}

const TReference& Reference()
{
    static const TReference doc = [] {
        std::ifstream in(ReferencePath());
        return in.good() ? ParseReference(in) : TReference();
    }();
    return doc;
}

TNameSet NamesOf(const std::vector<TDocRow>& rows)
{
    TNameSet names;
    for (const TDocRow& row : rows)
        names.insert(row.name);
    return names;
}

TNameSet NamesOf(void (*append)(TAttributeNames&))
{
    TAttributeNames names;
    append(names);
    return TNameSet(names.begin(), names.end());
}

// The rows an element accepts: its own and those of its Inherits chain, nearest first.
::testing::AssertionResult AcceptedRows(const TReference& doc, const std::string& element, std::vector<TDocRow>& rows)
{
    std::set<std::string> seen;
    for (std::string name = element; !name.empty();) {
        const auto found = doc.elements.find(name);
        if (found == doc.elements.end())
            return ::testing::AssertionFailure() << "no section `" << name << "` (reached from `" << element << "`)";
        if (!seen.insert(name).second)
            return ::testing::AssertionFailure()
                << "the Inherits chain of `" << element << "` loops at `" << name << "`";
        rows.insert(rows.end(), found->second.rows.begin(), found->second.rows.end());
        name = found->second.inherits;
    }
    return ::testing::AssertionSuccess();
}

std::string Joined(const TNameSet& names)
{
    std::string text;
    for (const std::string& name : names)
        text += (text.empty() ? "" : ", ") + name;
    return text;
}

::testing::AssertionResult SameNames(const std::string& what, const TNameSet& documented, const TNameSet& code)
{
    TNameSet undocumented;
    TNameSet unknown;
    for (const std::string& name : code) {
        if (documented.count(name) == 0)
            undocumented.insert(name);
    }
    for (const std::string& name : documented) {
        if (code.count(name) == 0)
            unknown.insert(name);
    }
    if (undocumented.empty() && unknown.empty())
        return ::testing::AssertionSuccess();
    auto failure = ::testing::AssertionFailure() << what << ":";
    if (!undocumented.empty())
        failure << " accepted by the code but not in the reference: " << Joined(undocumented) << ".";
    if (!unknown.empty())
        failure << " in the reference but not accepted by the code: " << Joined(unknown) << ".";
    return failure;
}

std::string DecodeEntities(const std::string& text)
{
    static const std::pair<const char*, char> kEntities[]
        = {{"&amp;", '&'}, {"&lt;", '<'}, {"&gt;", '>'}, {"&quot;", '"'}, {"&apos;", '\''}};
    std::string out;
    for (size_t i = 0; i < text.size();) {
        bool replaced = false;
        for (const auto& entity : kEntities) {
            const size_t length = std::strlen(entity.first);
            if (text.compare(i, length, entity.first) == 0) {
                out += entity.second;
                i += length;
                replaced = true;
                break;
            }
        }
        if (!replaced)
            out += text[i++];
    }
    return out;
}

// `name="value"` -> name and the decoded value; false for any other shape.
bool SplitExample(const std::string& example, std::string& name, std::string& value)
{
    const size_t equals = example.find("=\"");
    if (equals == std::string::npos || example.size() < equals + 3 || example.back() != '"')
        return false;
    name = example.substr(0, equals);
    value = DecodeEntities(example.substr(equals + 2, example.size() - equals - 3));
    return true;
}

// The decoded value of a row's example, which must be `name="value"` for the row's own name.
bool ExampleValue(const TDocRow& row, std::string& value)
{
    std::string name;
    if (!SplitExample(row.example, name, value)) {
        ADD_FAILURE() << "not name=\"value\": " << row.example;
        return false;
    }
    EXPECT_EQ(name, row.name);
    return name == row.name;
}

// The tag letters a markup example uses, opening and closing forms alike.
TNameSet TagsIn(const std::string& markup)
{
    TNameSet tags;
    for (size_t i = 0; i + 2 < markup.size(); ++i) {
        if (markup[i] != '{' && markup[i] != '<')
            continue;
        const size_t letter = markup[i + 1] == '/' ? i + 2 : i + 1;
        const char after = letter + 1 < markup.size() ? markup[letter + 1] : '\0';
        if (markup[letter] >= 'a' && markup[letter] <= 'z' && (after == ' ' || after == '}' || after == '>'))
            tags.insert(std::string(1, markup[letter]));
    }
    return tags;
}

TNameSet ImageKeysIn(const std::string& imageString)
{
    TNameSet keys;
    CImagePairReader reader(imageString.c_str());
    while (reader.Next()) {
        keys.insert(reader.key.GetData());
        if (!reader.More())
            break;
    }
    return keys;
}

bool IsFactoryElement(const std::string& name)
{
    for (const TSkinElement& element : SkinElements()) {
        if (name == element.Name)
            return true;
    }
    return false;
}

}  // namespace

// A small document in the agreed format: the parser must follow Inherits chains, take the last cell
// as the example and keep the three parts apart, or every comparison below would be hollow.
TEST(SkinReference, ParserReadsTheAgreedFormat)
{
    std::istringstream text(
        "# Title\n| `notarow` | x | y | `z` |\n## Elements\n### `Base`\n| attribute | value | default | example |\n"
        "|---|---|---|---|\n| `pos` | rect | `0,0,0,0` | `pos=\"1,2,3,4\"` |\n### `Mid`\nInherits: `Base`\n"
        "| `align` | words | left | `align=\"center\"` |\n### `Top`\nInherits: `Mid`\n"
        "## Image attribute strings\n| `file` | text | none | `file='a.png'` |\n## Text tags\n"
        "| `b` | bold | `{b}x{/b}` |\n## Notes\n| `stray` | x | `y` |\n");
    const TReference doc = ParseReference(text);
    std::vector<TDocRow> rows;
    ASSERT_TRUE(AcceptedRows(doc, "Top", rows));
    EXPECT_EQ(NamesOf(rows), (TNameSet{"pos", "align"}));
    EXPECT_EQ(doc.elements.at("Base").rows.at(0).example, "pos=\"1,2,3,4\"");
    EXPECT_EQ(doc.imageKeys.size(), 1u);
    ASSERT_EQ(doc.textTags.size(), 1u);
    EXPECT_EQ(doc.textTags[0].example, "{b}x{/b}");
    std::string name;
    std::string value;
    ASSERT_TRUE(SplitExample("dropbox=\"a=&quot;1&quot; b=&apos;&lt;&amp;&gt;&apos;\"", name, value));
    EXPECT_EQ(value, "a=\"1\" b='<&>'");
    EXPECT_EQ(TagsIn("{i}x{/i} {i a.png 4 2}<c #FF0000FF>text{q"), (TNameSet{"i", "c"}));
}

TEST(SkinReference, EveryFactoryElementListsExactlyWhatItsClassAccepts)
{
    const TReference& doc = Reference();
    ASSERT_TRUE(doc.found) << "cannot read " << ReferencePath();
    for (const TSkinElement& element : SkinElements()) {
        std::vector<TDocRow> rows;
        if (!doc.elements.count(element.Name)) {
            ADD_FAILURE() << "the reference has no section for the element `" << element.Name << "`";
            continue;
        }
        EXPECT_TRUE(AcceptedRows(doc, element.Name, rows));
        EXPECT_TRUE(SameNames(element.Name, NamesOf(rows), NamesOf(element.AppendAttributeNames)));
    }
}

TEST(SkinReference, BuilderElementsImageKeysAndTextTagsMatchTheirReaders)
{
    const TReference& doc = Reference();
    ASSERT_TRUE(doc.found) << "cannot read " << ReferencePath();
    for (const TBuilderElement& element : BuilderElements()) {
        const auto section = doc.elements.find(element.Name);
        if (section == doc.elements.end()) {
            ADD_FAILURE() << "the reference has no section for the builder element `" << element.Name << "`";
            continue;
        }
        EXPECT_EQ(section->second.inherits, "") << element.Name;
        EXPECT_TRUE(SameNames(element.Name, NamesOf(section->second.rows), NamesOf(element.AppendAttributeNames)));
    }
    EXPECT_TRUE(SameNames("image attribute strings", NamesOf(doc.imageKeys), NamesOf(&AppendImageKeyNames)));
    EXPECT_TRUE(SameNames("text tags", NamesOf(doc.textTags), NamesOf(&CRenderKit::AppendMarkupTagNames)));
}

// Every section is something a skin can name, or a base that such an element inherits.
TEST(SkinReference, EverySectionIsAnElementOrAnInheritedBase)
{
    const TReference& doc = Reference();
    ASSERT_TRUE(doc.found) << "cannot read " << ReferencePath();
    TNameSet inherited;
    for (const auto& section : doc.elements)
        inherited.insert(section.second.inherits);
    TNameSet builder;
    for (const TBuilderElement& element : BuilderElements())
        builder.insert(element.Name);
    for (const auto& section : doc.elements) {
        const std::string& name = section.first;
        EXPECT_TRUE(IsFactoryElement(name) || builder.count(name) || inherited.count(name))
            << "section `" << name << "` is no element and no element inherits it";
        TNameSet rows;
        for (const TDocRow& row : section.second.rows)
            EXPECT_TRUE(rows.insert(row.name).second) << name << " lists `" << row.name << "` twice";
    }
}

// Each documented example, applied to a fresh control of its element living in a real host and
// painted after every attribute: its name is the row's, and nothing breaks.
TEST(SkinReference, EveryAttributeExampleAppliesToALiveControl)
{
    const TReference& doc = Reference();
    ASSERT_TRUE(doc.found) << "cannot read " << ReferencePath();
    for (const TSkinElement& element : SkinElements()) {
        std::vector<TDocRow> rows;
        if (!AcceptedRows(doc, element.Name, rows))
            continue;  // reported by the comparison above
        HostBed bed;
        CControlUI* control = element.Create();
        bed.Attach(control);
        for (const TDocRow& row : rows) {
            SCOPED_TRACE(std::string(element.Name) + " line " + std::to_string(row.line));
            std::string value;
            if (!ExampleValue(row, value))
                continue;
            control->SetAttribute(row.name.c_str(), value.c_str());
            bed.Repaint();
            bed.Pump();
        }
    }
}

// The builder's own elements: each example inside a whole document, built into a real host.
TEST(SkinReference, EveryBuilderElementExampleBuilds)
{
    const TReference& doc = Reference();
    ASSERT_TRUE(doc.found) << "cannot read " << ReferencePath();
    for (const TBuilderElement& element : BuilderElements()) {
        const auto section = doc.elements.find(element.Name);
        if (section == doc.elements.end())
            continue;  // reported by the comparison above
        for (const TDocRow& row : section->second.rows) {
            SCOPED_TRACE(std::string(element.Name) + " line " + std::to_string(row.line));
            std::string value;
            if (!ExampleValue(row, value))
                continue;
            const std::string markup = element.Name == std::string("Window")
                ? "<Window " + row.example + "><Label text=\"x\"/></Window>"
                : "<Window><" + std::string(element.Name) + " " + row.example + "/><Label text=\"x\"/></Window>";
            HostBed bed;
            CSkinBuilder builder;
            CControlUI* root = builder.BuildFrom(markup.c_str(), nullptr, nullptr, &bed.Host(), nullptr);
            ASSERT_NE(root, nullptr) << markup;
            bed.Attach(root);
            bed.Pump();
        }
    }
}

// Image and markup examples use only keys and tags their readers know, their own among them.
TEST(SkinReference, ImageAndMarkupExamplesUseKnownNames)
{
    const TReference& doc = Reference();
    ASSERT_TRUE(doc.found) << "cannot read " << ReferencePath();
    struct TPart {
        const std::vector<TDocRow>& rows;
        TNameSet code;
        TNameSet (*namesIn)(const std::string&);
    } parts[] = {
        {doc.imageKeys, NamesOf(&AppendImageKeyNames), &ImageKeysIn},
        {doc.textTags, NamesOf(&CRenderKit::AppendMarkupTagNames), &TagsIn},
    };
    for (const TPart& part : parts) {
        for (const TDocRow& row : part.rows) {
            const TNameSet used = part.namesIn(row.example);
            EXPECT_EQ(used.count(row.name), 1u)
                << "line " << row.line << ": `" << row.example << "` lacks " << row.name;
            for (const std::string& name : used)
                EXPECT_EQ(part.code.count(name), 1u) << "line " << row.line << ": unknown `" << name << "`";
        }
    }
    // Markup examples also draw: a label shows each of them as markup text.
    HostBed bed;
    auto* label = new CLabelUI;
    label->SetAttribute("showhtml", "true");
    bed.Attach(label);
    for (const TDocRow& row : doc.textTags) {
        label->SetText(row.example.c_str());
        bed.Repaint();
    }
}
