// Parser and loaders of CSkinXml. Kept free of user32/gdi32 (double-byte stepping uses kernel32's
// lead-byte test) so the parser can be built and fuzzed on its own.
#include "skin/SkinXml.h"

#include <windows.h>

#include <climits>
#include <cstdlib>
#include <cstring>

#include "host/ResourceLocation.h"
#include "skin/SkinXmlText.h"

namespace SkinUI {

namespace {

// What the parser needs to know of a byte, looked up in one table. The ANSI code page is fixed for
// the life of the process, so its lead bytes are asked once: a system call per character was a
// third of the parse, and comparisons per character most of the rest.
enum : unsigned char {
    kBlank = 1,  // 0x01..0x20
    kName = 2,  // letters, digits, '_' and ':'
    kLead = 4,  // lead byte of a double-byte character in the ANSI code page
    kEnd = 8,  // the terminating NUL
    kAmp = 16,  // '&', which starts an entity
    kLess = 32,  // '<'
    kQuote = 64,  // '"'
    kCloser = 128  // '-' and '?', which may end a comment or a declaration
};

// Filled before main: the code page cannot change under a running process, and a function-local
// table would pay for its initialisation guard on every byte.
const struct TCharTable {
    unsigned char classes[256];
    TCharTable()
    {
        for (int b = 0; b < 256; ++b) {
            unsigned char c = 0;
            if (b >= 0x01 && b <= 0x20)
                c |= kBlank;
            if (b == '_' || b == ':' || (b >= 'a' && b <= 'z') || (b >= 'A' && b <= 'Z') || (b >= '0' && b <= '9'))
                c |= kName;
            if (::IsDBCSLeadByte(static_cast<BYTE>(b)))
                c |= kLead;
            classes[b] = c;
        }
        classes[0] |= kEnd;
        classes[static_cast<unsigned char>('&')] |= kAmp;
        classes[static_cast<unsigned char>('<')] |= kLess;
        classes[static_cast<unsigned char>('"')] |= kQuote;
        classes[static_cast<unsigned char>('-')] |= kCloser;
        classes[static_cast<unsigned char>('?')] |= kCloser;
    }
} g_charTable;

const unsigned char* CharClasses() { return g_charTable.classes; }

unsigned char ClassOf(char c) { return CharClasses()[static_cast<unsigned char>(c)]; }

// The first byte at or after p whose class shares a bit with `classes` (kUntil) or shares none
// (!kUntil); the terminator must end the scan. Four bytes a step, as every scan of the parser: the
// tokens are short, and a loop branch taken once a byte cost more than the tests.
template <bool kUntil> inline char* Skip(char* p, unsigned char classes)
{
    const unsigned char* table = CharClasses();
    const auto ends = [&](char c) { return ((table[static_cast<unsigned char>(c)] & classes) != 0) == kUntil; };
    for (;; p += 4) {
        if (ends(p[0]))
            return p;
        if (ends(p[1]))
            return p + 1;
        if (ends(p[2]))
            return p + 2;
        if (ends(p[3]))
            return p + 3;
    }
}

inline char* SkipBlanks(char* p) { return Skip<false>(p, kBlank); }

inline char* SkipName(char* p) { return Skip<false>(p, kName); }

// Steps one character of the ANSI code page; a lead byte before the terminator counts alone.
char* NextChar(char* p) { return ((ClassOf(*p) & kLead) && p[1] != '\0') ? p + 2 : p + 1; }

// The first byte at or after p of the classes in `stop` (which includes kEnd), stepping over
// double-byte characters whole, so a trail byte never stops the scan.
inline char* SkipUntil(char* p, unsigned char stop)
{
    stop |= kLead;
    for (;;) {
        p = Skip<true>(p, stop);
        if (!(ClassOf(*p) & kLead))
            return p;
        p = NextChar(p);
    }
}

// Copies whole characters only: a cut never leaves a lone lead byte at the end.
void CopyCut(char* target, size_t capacity, const char* source)
{
    size_t i = 0;
    while (source && source[i]) {
        const size_t step = static_cast<size_t>(NextChar(const_cast<char*>(source + i)) - (source + i));
        if (i + step + 1 > capacity)
            break;
        for (size_t k = 0; k < step; ++k)
            target[i + k] = source[i + k];
        i += step;
    }
    target[i] = '\0';
}

// The character an entity stands for, the cursor on the text after its '&' and moved past it; a
// '&' that starts none of the five (numeric references included) stays literal. Compared a byte at
// a time, so a mismatch or the terminator ends the comparison before the text does.
char DecodeEntity(char*& p)
{
    struct TEntity {
        const char* text;
        char value;
    };
    static const TEntity kEntities[] = {
        {"amp;", '&'},
        {"lt;", '<'},
        {"gt;", '>'},
        {"quot;", '"'},
        {"apos;", '\''},
    };
    for (const TEntity& entity : kEntities) {
        size_t i = 0;
        while (entity.text[i] != '\0' && p[i] == entity.text[i])
            ++i;
        if (entity.text[i] == '\0') {
            p += i;
            return entity.value;
        }
    }
    return '&';
}

// Decodes from the first entity (at p) up to the terminating NUL or the terminator (not consumed):
// see ParseData. Text between entities moves down over the room the entities gave up.
char* DecodeData(char*& cursor, char* p, unsigned char stop)
{
    char* out = p;
    while (*p == '&') {
        ++p;
        *out++ = DecodeEntity(p);
        char* const end = SkipUntil(p, stop);
        std::memmove(out, p, static_cast<size_t>(end - p));
        out += end - p;
        p = end;
    }
    for (char* q = out + 1; q < p; ++q)
        *q = ' ';
    cursor = p;
    return out;
}

// Decodes text in place from the cursor up to the terminating NUL or the terminator ('"' or '<',
// not consumed) and returns the end of the decoded text, where the caller puts a NUL. The bytes
// between that end and the cursor become blanks, which keeps the start tag's blank-separated shape.
// Text without entities (nearly all of it) is decoded where it stands, without a call.
template <char kTerminator> char* ParseData(char*& cursor)
{
    static_assert(kTerminator == '"' || kTerminator == '<', "a terminator with a class of its own");
    constexpr unsigned char stop = kEnd | kAmp | (kTerminator == '"' ? kQuote : kLess);
    char* const p = SkipUntil(cursor, stop);
    if (*p == '&')
        return DecodeData(cursor, p, stop);
    cursor = p;
    return p;
}

// Grows a record table by half its size plus 500 entries (the first allocation is 500). False, the
// table untouched, when memory runs out or the count would not fit the 32-bit indices.
template <class TRecord> bool GrowTable(TRecord*& table, uint32_t& capacity)
{
    const size_t grown = static_cast<size_t>(capacity) + capacity / 2 + 500;
    if (grown > UINT32_MAX)
        return false;
    void* block = std::realloc(table, grown * sizeof(TRecord));
    if (!block)
        return false;
    table = static_cast<TRecord*>(block);
    capacity = static_cast<uint32_t>(grown);
    return true;
}

const char* StatusMessage(SkinFileStatus status)
{
    switch (status) {
    case SkinFileStatus::ArchiveOpenFailed:
        return "Error opening zip file";
    case SkinFileStatus::EntryNotFound:
        return "Could not find ziped file";
    case SkinFileStatus::Empty:
        return "File is empty";
    case SkinFileStatus::TooLarge:
        return "File too large";
    case SkinFileStatus::ExtractFailed:
        return "Could not unzip file";
    case SkinFileStatus::FileReadFailed:
        return "Could not read file";
    case SkinFileStatus::FileOpenFailed:
    case SkinFileStatus::ResourceMissing:
    case SkinFileStatus::Found:
        break;
    }
    return "Error opening file";
}

}  // namespace

//--- Document ------------------------------------------------------------------------------------

CSkinXml::CSkinXml() = default;

CSkinXml::~CSkinXml() { Clear(); }

void CSkinXml::Clear()
{
    std::free(m_text);
    m_text = nullptr;
    std::free(m_elements);
    m_elements = nullptr;
    m_elementCount = 0;
    m_elementCapacity = 0;
    std::free(m_attributes);
    m_attributes = nullptr;
    m_attributeCount = 0;
    m_attributeCapacity = 0;
    m_loadedBytes = 0;
}

CSkinXmlNode CSkinXml::RootNode()
{
    // Entry 0 is a placeholder: a document of declarations, comments or blanks has no root.
    if (m_elementCount <= 1)
        return CSkinXmlNode();
    return CSkinXmlNode(this, 1);
}

bool CSkinXml::Fail(const char* message, const char* where)
{
    CopyCut(m_errorMessage, sizeof(m_errorMessage), message);
    CopyCut(m_errorLocation, sizeof(m_errorLocation), where);
    return false;
}

bool CSkinXml::FailLoad(const char* message)
{
    Clear();
    return Fail(message, "");
}

bool CSkinXml::AppendElement(uint32_t& index)
{
    if (m_elementCount == m_elementCapacity && !GrowTable(m_elements, m_elementCapacity))
        return false;
    index = m_elementCount++;
    std::memset(&m_elements[index], 0, sizeof(TXmlElement));
    return true;
}

//--- Loaders -------------------------------------------------------------------------------------

bool CSkinXml::LoadFromText(const char* xml)
{
    Clear();
    if (!xml)
        return Fail("File is empty", "");
    const size_t length = std::strlen(xml);
    if (length >= UINT32_MAX)
        return Fail("File too large", "");
    m_text = AllocateSkinText(length);
    if (!m_text)
        return Fail("File too large", "");
    std::memcpy(m_text, xml, length);
    m_loadedBytes = length;
    return Parse();
}

bool CSkinXml::LoadFromUtf8(const unsigned char* bytes, size_t size)
{
    Clear();
    if (!bytes && size > 0)
        return Fail("File is empty", "");
    if (size > 2 && bytes[0] == 0xEF && bytes[1] == 0xBB && bytes[2] == 0xBF) {
        bytes += 3;
        size -= 3;
    }
    if (size > INT_MAX / 2)
        return Fail("File too large", "");
    m_text = ConvertUtf8ToAnsi(bytes, size);
    if (!m_text)
        return Fail("Error converting text", "");
    m_loadedBytes = size;
    return Parse();
}

bool CSkinXml::LoadFromSkinFile(const char* name)
{
    Clear();
    m_errorMessage[0] = '\0';
    m_errorLocation[0] = '\0';
    TSkinFileBytes file;
    const SkinFileStatus status = CResourceLocation::ReadSkinFile(name, nullptr, kSkinLayoutMaxBytes, false, file);
    if (status != SkinFileStatus::Found)
        return FailLoad(StatusMessage(status));
    return LoadFromUtf8(file.data.get(), file.size);
}

//--- Parser --------------------------------------------------------------------------------------

bool CSkinXml::Parse()
{
    m_errorMessage[0] = '\0';
    m_errorLocation[0] = '\0';
    uint32_t placeholder = 0;
    if (!AppendElement(placeholder))
        return FailLoad("File too large");
    if (!ParseContent(m_text, 0, 0)) {
        Clear();
        return false;
    }
    return true;
}

char* CSkinXml::FailAt(const char* message, const char* where)
{
    Fail(message, where);
    return nullptr;
}

// The parsing steps take the cursor and return where they stopped, or null after recording a
// failure. The cursor stays in a register that way: every byte the parser writes goes through a
// char pointer, which may alias anything, so a cursor held behind a reference was read back from
// memory after each write.

// The content of `parent`: elements, comments and declarations up to its end tag. An unclosed root,
// or an unclosed element directly under it, may run to the end of the text; parent indices count
// in document order, so "directly under the root" means a parent index of 1.
char* CSkinXml::ParseContent(char* p, uint32_t parent, int depth)
{
    uint32_t previous = 0;
    while (*p || parent > 1) {
        p = SkipBlanks(p);
        if (*p != '<')
            return FailAt("Expected start tag", p);
        if (p[1] == '/')
            return p;
        *p++ = '\0';
        p = SkipBlanks(p);
        if (*p == '!' || *p == '?') {
            // "<!" ends at "->" and "<?" at "?>"; a "<!DOCTYPE" without "->" runs to the end.
            const char closer = *p == '!' ? '-' : '?';
            p = SkipUntil(p, kEnd | kCloser);
            while (*p && !(p[0] == closer && p[1] == '>'))
                p = SkipUntil(p + 1, kEnd | kCloser);
            if (*p)
                p += 2;
            p = SkipBlanks(p);
            continue;
        }
        if (depth >= kMaxDepth)
            return FailAt("Nesting too deep", p);
        uint32_t index = 0;
        if (!AppendElement(index))
            return FailAt("Out of memory", p);
        m_elements[index].parent = parent;
        if (previous) {
            m_elements[previous].nextSibling = index;
        } else if (parent) {
            m_elements[parent].firstChild = index;
        }
        previous = index;
        bool documentEnded = false;
        p = ParseElement(p, parent, index, depth, documentEnded);
        if (!p || documentEnded)
            return p;
    }
    return p;
}

// One element from its name on. `documentEnded` reports an element at the top two levels whose
// text ran to the end of the document.
char* CSkinXml::ParseElement(char* p, uint32_t parent, uint32_t element, int depth, bool& documentEnded)
{
    char* const text = m_text;
    p = SkipBlanks(p);
    m_elements[element].nameStart = static_cast<uint32_t>(p - text);
    char* const name = p;
    p = SkipName(p);
    if (!*p)
        return FailAt("Error parsing element name", p);
    char* const nameEnd = p;
    const size_t nameLength = static_cast<size_t>(nameEnd - name);

    char* slash = nullptr;
    p = ParseAttributes(p, slash, element);
    if (!p)
        return nullptr;
    p = SkipBlanks(p);
    const bool emptyTag = p[0] == '/' && p[1] == '>';
    if (emptyTag || (slash && p == slash + 1 && *p == '>')) {
        // The '/' of "/>" (already overwritten when it ended the name, as in <Font/>).
        char* const end = emptyTag ? p : slash;
        m_elements[element].dataStart = static_cast<uint32_t>(end - text);
        *end = '\0';
        p = end + 2;
    } else {
        if (*p != '>')
            return FailAt("Expected start-tag closing", p);
        ++p;
        m_elements[element].dataStart = static_cast<uint32_t>(p - text);
        char* const textEnd = ParseData<'<'>(p);
        if (textEnd != p)
            *textEnd = '\0';
        if (!*p && parent <= 1) {
            *nameEnd = '\0';
            documentEnded = true;
            return p;
        }
        if (*p != '<')
            return FailAt("Expected end-tag start", p);
        if (p[1] != '/') {
            p = ParseContent(p, element, depth + 1);
            if (!p)
                return nullptr;
        }
        if (p[0] == '<' && p[1] == '/') {
            *textEnd = '\0';
            *p = '\0';
            p = SkipBlanks(p + 2);
            for (size_t i = 0; i < nameLength; ++i) {
                if (p[i] != name[i])
                    return FailAt("Unmatched closing tag", p);
            }
            p = SkipBlanks(p + nameLength);
            if (*p != '>')
                return FailAt("Unmatched closing tag", *p ? p + 1 : p);
            ++p;
        }
    }
    *nameEnd = '\0';
    return SkipBlanks(p);
}

// Attributes of a start tag, from just after the element name. `slash` is set when the character
// ending the name was the '/' of "/>", which is overwritten like any other name terminator.
// The attributes are recorded as they are met, before any child element's, so an element's
// attributes are consecutive in the table.
char* CSkinXml::ParseAttributes(char* p, char*& slash, uint32_t element)
{
    char* const text = m_text;
    if (*p == '>')
        return p;
    if (*p == '/')
        slash = p;
    *p++ = '\0';
    const uint32_t first = m_attributeCount;
    uint32_t count = 0;
    for (;;) {
        p = SkipBlanks(p);
        if (!*p || *p == '>' || *p == '/')
            break;
        char* const name = p;
        char* const nameEnd = SkipName(p);
        p = SkipBlanks(nameEnd);
        if (*p != '=')
            return FailAt("Error while parsing attributes", p);
        *p = ' ';
        *nameEnd = '\0';
        p = SkipBlanks(p + 1);
        if (*p != '"')
            return FailAt("Expected attribute value", *p ? p + 1 : p);
        ++p;
        if (count < CSkinXmlNode::kMaxAttributes) {
            if (m_attributeCount == m_attributeCapacity && !GrowTable(m_attributes, m_attributeCapacity))
                return FailAt("Out of memory", p);
            m_attributes[m_attributeCount++]
                = TXmlAttribute{static_cast<uint32_t>(name - text), static_cast<uint32_t>(p - text)};
            ++count;
        }
        char* const valueEnd = ParseData<'"'>(p);
        if (!*p)
            return FailAt("Error while parsing attribute string", p);
        *valueEnd = '\0';
        if (p != valueEnd)
            *p = ' ';
        ++p;
    }
    m_elements[element].firstAttribute = first;
    m_elements[element].attributeCount = count;
    return p;
}

//--- Node handle ---------------------------------------------------------------------------------

CSkinXmlNode::CSkinXmlNode(CSkinXml* document, uint32_t element)
    : m_element(element)
    , m_document(document)
{
    if (!document || element == 0 || element >= document->m_elementCount) {
        m_element = 0;
        m_document = nullptr;
    }
}

const TXmlElement& CSkinXmlNode::Record() const { return m_document->m_elements[m_element]; }

// Null for an invalid handle or an index outside the visible attributes.
const TXmlAttribute* CSkinXmlNode::Attribute(int index) const
{
    if (!m_document || index < 0 || static_cast<uint32_t>(index) >= Record().attributeCount)
        return nullptr;
    return &m_document->m_attributes[Record().firstAttribute + static_cast<uint32_t>(index)];
}

CSkinXmlNode CSkinXmlNode::NextSiblingNode() const
{
    if (!m_document)
        return CSkinXmlNode();
    const uint32_t next = Record().nextSibling;
    return next ? CSkinXmlNode(m_document, next) : CSkinXmlNode();
}

CSkinXmlNode CSkinXmlNode::FirstChildNode() const
{
    if (!m_document)
        return CSkinXmlNode();
    const uint32_t child = Record().firstChild;
    return child ? CSkinXmlNode(m_document, child) : CSkinXmlNode();
}

bool CSkinXmlNode::HasChildElements() const { return m_document && Record().firstChild != 0; }

const char* CSkinXmlNode::ElementName() const { return m_document ? m_document->m_text + Record().nameStart : nullptr; }

const char* CSkinXmlNode::ElementText() const { return m_document ? m_document->m_text + Record().dataStart : nullptr; }

int CSkinXmlNode::AttributeCount() const { return m_document ? static_cast<int>(Record().attributeCount) : 0; }

const char* CSkinXmlNode::AttributeNameAt(int index) const
{
    if (!m_document)
        return nullptr;
    const TXmlAttribute* attribute = Attribute(index);
    return attribute ? m_document->m_text + attribute->nameStart : "";
}

const char* CSkinXmlNode::AttributeValueAt(int index) const
{
    if (!m_document)
        return nullptr;
    const TXmlAttribute* attribute = Attribute(index);
    return attribute ? m_document->m_text + attribute->valueStart : "";
}

bool CSkinXmlNode::CopyAttributeValue(const char* name, char* out, size_t outSize) const
{
    if (!m_document || !name || !out || outSize == 0)
        return false;
    const int count = AttributeCount();
    for (int i = 0; i < count; ++i) {
        if (std::strcmp(AttributeNameAt(i), name) == 0) {
            CopyCut(out, outSize, AttributeValueAt(i));
            return true;
        }
    }
    return false;
}

}  // namespace SkinUI
