// CSkinXml and CSkinXmlNode: the skin layout parser.
//
// The document text is copied into one buffer and parsed in place: terminators are written into
// the buffer, entities are decoded where they stand, and every element is a fixed record of
// offsets/indices (TXmlElement) in one growable table. Entry 0 of the table is a placeholder, so
// index 0 means "none" in every link; the root is entry 1. The parser also records where each
// attribute's name and value start, in a second table, so reading attributes never rescans the
// text. CSkinXmlNode is a small value handle on one entry, cheap to copy in a walk; handles and
// every string they return point into the document and must not outlive the load they came from.
//
// The dialect is small: elements, attributes in double quotes, the five named entities, comments,
// declarations and processing instructions (skipped), text before an element's first child. All
// text is 8-bit in the ANSI code page; skin files are UTF-8 and converted on load. Nesting is capped
// at kMaxDepth so neither the parser nor the recursive walks over the built tree can exhaust the
// stack. Failures return false and record a message and the text at the failure point.
#pragma once

#include <cstddef>
#include <cstdint>

namespace SkinUI {

struct TXmlElement {
    uint32_t nameStart;  // offset of the NUL-terminated name
    uint32_t firstChild;  // 0 = none
    uint32_t nextSibling;  // 0 = none
    uint32_t parent;  // 0 = top level
    uint32_t dataStart;  // offset of the element's (decoded, NUL-terminated) text content
    uint32_t firstAttribute;  // index of its first TXmlAttribute
    uint32_t attributeCount;  // recorded attributes, at most CSkinXmlNode::kMaxAttributes
};

struct TXmlAttribute {
    uint32_t nameStart;  // offset of the NUL-terminated name
    uint32_t valueStart;  // offset of the decoded, NUL-terminated value
};

class CSkinXml;

class CSkinXmlNode {
public:
    // Attributes of an element past this many are parsed but not visible.
    static constexpr int kMaxAttributes = 64;

    CSkinXmlNode() = default;
    CSkinXmlNode(CSkinXml* document, uint32_t element);

    bool Exists() const { return m_document != nullptr; }
    CSkinXmlNode NextSiblingNode() const;
    CSkinXmlNode FirstChildNode() const;
    bool HasChildElements() const;
    // Null for an invalid handle.
    const char* ElementName() const;
    // The text before the first child (empty for <a/>); null for an invalid handle.
    const char* ElementText() const;

    int AttributeCount() const;
    bool HasAnyAttribute() const { return AttributeCount() > 0; }
    // Empty text for an index outside 0..count-1; null for an invalid handle.
    const char* AttributeNameAt(int index) const;
    const char* AttributeValueAt(int index) const;
    // The first attribute named exactly `name` (case-sensitive), copied into out with at most
    // outSize - 1 bytes and a terminator (a longer value is cut). False, out untouched, when absent.
    bool CopyAttributeValue(const char* name, char* out, size_t outSize) const;

private:
    const TXmlElement& Record() const;
    const TXmlAttribute* Attribute(int index) const;

    uint32_t m_element = 0;
    CSkinXml* m_document = nullptr;  // not owned; null = invalid handle
};

class CSkinXml {
public:
    // Deepest element nesting a document may have.
    static constexpr int kMaxDepth = 256;

    CSkinXml();
    ~CSkinXml();
    CSkinXml(const CSkinXml&) = delete;
    CSkinXml& operator=(const CSkinXml&) = delete;

    // Parses a copy of the NUL-terminated text, taken as ANSI already.
    bool LoadFromText(const char* xml);
    // UTF-8 with or without a byte-order mark, converted to the ANSI code page and parsed.
    bool LoadFromUtf8(const unsigned char* bytes, size_t size);
    // Reads `name` through CResourceLocation (skin archive, else skin folder), then as LoadFromUtf8.
    bool LoadFromSkinFile(const char* name);
    void Clear();

    // Entry 1; an invalid handle when the document holds no element.
    CSkinXmlNode RootNode();
    uint32_t ElementCount() const { return m_elementCount; }
    // Bytes of document text the last load took in (before conversion), or 0.
    size_t LoadedBytes() const { return m_loadedBytes; }
    const char* ErrorText() const { return m_errorMessage; }
    const char* ErrorPlace() const { return m_errorLocation; }

private:
    friend class CSkinXmlNode;

    bool Parse();
    char* ParseContent(char* cursor, uint32_t parent, int depth);
    char* ParseElement(char* cursor, uint32_t parent, uint32_t element, int depth, bool& documentEnded);
    char* ParseAttributes(char* cursor, char*& slash, uint32_t element);
    bool AppendElement(uint32_t& index);
    bool Fail(const char* message, const char* where);
    char* FailAt(const char* message, const char* where);
    bool FailLoad(const char* message);

    char* m_text = nullptr;  // owned (std::malloc); NUL-terminated, rewritten by the parser
    size_t m_loadedBytes = 0;
    TXmlElement* m_elements = nullptr;  // owned
    uint32_t m_elementCount = 0;  // entry 0 included
    uint32_t m_elementCapacity = 0;
    TXmlAttribute* m_attributes = nullptr;  // owned; each element's attributes are consecutive
    uint32_t m_attributeCount = 0;
    uint32_t m_attributeCapacity = 0;
    char m_errorMessage[100] = {};
    char m_errorLocation[50] = {};
};

}  // namespace SkinUI
