// Parser and loaders of CSkinXml. Kept free of user32/gdi32 (double-byte stepping uses kernel32's
// lead-byte test) so the parser can be built and fuzzed on its own.
#include "skin/SkinXml.h"

#include <windows.h>

#include <climits>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <new>

#include "host/ResourceLocation.h"

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
    kQuote = 64  // '"'
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
    }
} g_charTable;

const unsigned char* CharClasses() { return g_charTable.classes; }

unsigned char ClassOf(char c) { return CharClasses()[static_cast<unsigned char>(c)]; }

bool IsBlank(char c) { return (ClassOf(c) & kBlank) != 0; }

char* SkipBlanks(char* p)
{
    const unsigned char* classes = CharClasses();
    while (classes[static_cast<unsigned char>(*p)] & kBlank)
        ++p;
    return p;
}

char* SkipName(char* p)
{
    const unsigned char* classes = CharClasses();
    while (classes[static_cast<unsigned char>(*p)] & kName)
        ++p;
    return p;
}

// Steps one character of the ANSI code page; a lead byte before the terminator counts alone.
char* NextChar(char* p) { return ((ClassOf(*p) & kLead) && p[1] != '\0') ? p + 2 : p + 1; }

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

// Decodes text in place from the cursor up to the terminating NUL or `terminator` (not consumed)
// and returns the end of the decoded text, where the caller puts a NUL. The bytes between that end
// and the cursor become blanks, which keeps the blank-separated shape the attribute scan expects.
char* ParseData(char*& cursor, char terminator) {
    struct TEntity {
        const char* text;
        size_t length;
        char value;
    };
    static const TEntity kEntities[] = {
        {"amp;", 4, '&'}, {"lt;", 3, '<'}, {"gt;", 3, '>'}, {"quot;", 5, '"'}, {"apos;", 5, '\''},
    };
    // Until the first entity nothing moves: the text is decoded where it stands. A trail byte is
    // stepped over with its lead byte, as everywhere, so it never ends the text.
    const unsigned char* classes = CharClasses();
    const unsigned char stop = kEnd | kAmp | kLead | classes[static_cast<unsigned char>(terminator)];
    char* p = cursor;
    for (;;) {
        while (!(classes[static_cast<unsigned char>(*p)] & stop))
            ++p;
        if (!(classes[static_cast<unsigned char>(*p)] & kLead))
            break;
        p = NextChar(p);
    }
    char* out = p;
    while (*p && *p != terminator) {
        if (*p == '&') {
            ++p;
            char value = '&';  // not an entity (numeric references included): the '&' stays literal
            for (const TEntity& entity : kEntities) {
                if (std::strncmp(p, entity.text, entity.length) == 0) {
                    value = entity.value;
                    p += entity.length;
                    break;
                }
            }
            *out++ = value;
        } else {
            for (char* next = NextChar(p); p < next;)
                *out++ = *p++;
        }
    }
    for (char* q = out + 1; q < p; ++q) *q = ' ';
    cursor = p;
    return out;
}

bool IsAscii(const unsigned char* bytes, size_t size)
{
    // Eight bytes at a time: this pass runs over every skin file the program loads.
    uint64_t any = 0;
    size_t i = 0;
    for (; i + 8 <= size; i += 8) {
        uint64_t word;
        std::memcpy(&word, bytes + i, sizeof(word));
        any |= word;
    }
    for (; i < size; ++i)
        any |= bytes[i];
    return (any & 0x8080808080808080ull) == 0;
}

const char* StatusMessage(SkinFileStatus status) {
    switch (status) {
    case SkinFileStatus::ArchiveOpenFailed: return "Error opening zip file";
    case SkinFileStatus::EntryNotFound: return "Could not find ziped file";
    case SkinFileStatus::Empty: return "File is empty";
    case SkinFileStatus::TooLarge: return "File too large";
    case SkinFileStatus::ExtractFailed: return "Could not unzip file";
    case SkinFileStatus::FileReadFailed: return "Could not read file";
    case SkinFileStatus::FileOpenFailed:
    case SkinFileStatus::ResourceMissing:
    case SkinFileStatus::Found: break;
    }
    return "Error opening file";
}

}  // namespace

//--- Document ------------------------------------------------------------------------------------

CSkinXml::CSkinXml() = default;

CSkinXml::~CSkinXml() { Clear(); }

void CSkinXml::Clear() {
    delete[] m_text;
    m_text = nullptr;
    std::free(m_elements);
    m_elements = nullptr;
    m_elementCount = 0;
    m_elementCapacity = 0;
}

CSkinXmlNode CSkinXml::RootNode() {
    // Entry 0 is a placeholder: a document of declarations, comments or blanks has no root.
    if (m_elementCount <= 1) return CSkinXmlNode();
    return CSkinXmlNode(this, 1);
}

bool CSkinXml::Fail(const char* message, const char* where) {
    CopyCut(m_errorMessage, sizeof(m_errorMessage), message);
    CopyCut(m_errorLocation, sizeof(m_errorLocation), where);
    return false;
}

bool CSkinXml::FailLoad(const char* message) {
    Clear();
    return Fail(message, "");
}

bool CSkinXml::AppendElement(uint32_t& index) {
    if (m_elementCount == m_elementCapacity) {
        const size_t capacity = static_cast<size_t>(m_elementCapacity) + m_elementCapacity / 2 + 500;
        if (capacity > UINT32_MAX) return false;
        void* grown = std::realloc(m_elements, capacity * sizeof(TXmlElement));
        if (!grown) return false;
        m_elements = static_cast<TXmlElement*>(grown);
        m_elementCapacity = static_cast<uint32_t>(capacity);
    }
    index = m_elementCount++;
    std::memset(&m_elements[index], 0, sizeof(TXmlElement));
    return true;
}

//--- Loaders -------------------------------------------------------------------------------------

bool CSkinXml::LoadFromText(const char* xml) {
    Clear();
    if (!xml) return Fail("File is empty", "");
    const size_t length = std::strlen(xml);
    if (length >= UINT32_MAX) return Fail("File too large", "");
    m_text = new (std::nothrow) char[length + 1];
    if (!m_text) return Fail("File too large", "");
    std::memcpy(m_text, xml, length + 1);
    return Parse();
}

bool CSkinXml::LoadFromUtf8(const unsigned char* bytes, size_t size) {
    Clear();
    if (!bytes && size > 0) return Fail("File is empty", "");
    if (size > 2 && bytes[0] == 0xEF && bytes[1] == 0xBB && bytes[2] == 0xBF) {
        bytes += 3;
        size -= 3;
    }
    if (size > INT_MAX / 2) return Fail("File too large", "");
    if (size == 0) {
        // Nothing after the byte-order mark: an empty document, without asking the converters.
        m_text = new (std::nothrow) char[1];
        if (!m_text) return Fail("File too large", "");
        m_text[0] = '\0';
        return Parse();
    }
    if (IsAscii(bytes, size)) {
        // Seven-bit text reads the same in every ANSI code page: nothing to convert.
        m_text = new (std::nothrow) char[size + 1];
        if (!m_text)
            return Fail("File too large", "");
        std::memcpy(m_text, bytes, size);
        m_text[size] = '\0';
        return Parse();
    }
    const char* utf8 = reinterpret_cast<const char*>(bytes);
    const int utf8Length = static_cast<int>(size);
    // UTF-8 never takes fewer bytes than UTF-16 units, so the input length bounds the wide text and
    // one conversion pass does.
    std::unique_ptr<wchar_t[]> wide(new (std::nothrow) wchar_t[size]);
    const int wideLength = wide ? ::MultiByteToWideChar(CP_UTF8, 0, utf8, utf8Length, wide.get(), utf8Length) : 0;
    if (wideLength <= 0)
        return Fail("Error converting text", "");
    const int ansiLength = ::WideCharToMultiByte(CP_ACP, 0, wide.get(), wideLength, nullptr, 0, nullptr, nullptr);
    if (ansiLength <= 0 || ansiLength == INT_MAX) return Fail("Error converting text", "");
    m_text = new (std::nothrow) char[static_cast<size_t>(ansiLength) + 1];
    if (!m_text || ::WideCharToMultiByte(CP_ACP, 0, wide.get(), wideLength, m_text, ansiLength, nullptr,
                                         nullptr) != ansiLength) {
        Clear();
        return Fail("Error converting text", "");
    }
    m_text[ansiLength] = '\0';
    return Parse();
}

bool CSkinXml::LoadFromSkinFile(const char* name) {
    Clear();
    m_errorMessage[0] = '\0';
    m_errorLocation[0] = '\0';
    TSkinFileBytes file;
    const SkinFileStatus status = CResourceLocation::ReadSkinFile(name, nullptr, kSkinLayoutMaxBytes, false, file);
    if (status != SkinFileStatus::Found) return FailLoad(StatusMessage(status));
    return LoadFromUtf8(file.data.get(), file.size);
}

//--- Parser --------------------------------------------------------------------------------------

bool CSkinXml::Parse() {
    m_errorMessage[0] = '\0';
    m_errorLocation[0] = '\0';
    uint32_t placeholder = 0;
    if (!AppendElement(placeholder)) return FailLoad("File too large");
    char* cursor = m_text;
    if (!ParseContent(cursor, 0, 0)) {
        Clear();
        return false;
    }
    return true;
}

// The content of `parent`: elements, comments and declarations up to its end tag. An unclosed root,
// or an unclosed element directly under it, may run to the end of the text; parent indices count
// in document order, so "directly under the root" means a parent index of 1.
bool CSkinXml::ParseContent(char*& cursor, uint32_t parent, int depth) {
    uint32_t previous = 0;
    char*& p = cursor;
    while (*p || parent > 1) {
        p = SkipBlanks(p);
        if (*p != '<') return Fail("Expected start tag", p);
        if (p[1] == '/') return true;
        *p++ = '\0';
        p = SkipBlanks(p);
        if (*p == '!' || *p == '?') {
            // "<!" ends at "->" and "<?" at "?>"; a "<!DOCTYPE" without "->" runs to the end.
            const char closer = *p == '!' ? '-' : '?';
            while (*p && !(p[0] == closer && p[1] == '>')) p = NextChar(p);
            if (*p) p += 2;
            p = SkipBlanks(p);
            continue;
        }
        if (depth >= kMaxDepth) return Fail("Nesting too deep", p);
        uint32_t index = 0;
        if (!AppendElement(index)) return Fail("Out of memory", p);
        m_elements[index].parent = parent;
        if (previous) {
            m_elements[previous].nextSibling = index;
        } else if (parent) {
            m_elements[parent].firstChild = index;
        }
        previous = index;
        bool documentEnded = false;
        if (!ParseElement(p, parent, index, depth, documentEnded)) return false;
        if (documentEnded) return true;
    }
    return true;
}

// One element from its name on. `documentEnded` reports an element at the top two levels whose
// text ran to the end of the document.
bool CSkinXml::ParseElement(char*& cursor, uint32_t parent, uint32_t element, int depth, bool& documentEnded) {
    char*& p = cursor;
    p = SkipBlanks(p);
    m_elements[element].nameStart = static_cast<uint32_t>(p - m_text);
    char* const name = p;
    p = SkipName(p);
    if (!*p) return Fail("Error parsing element name", p);
    char* const nameEnd = p;
    const size_t nameLength = static_cast<size_t>(nameEnd - name);

    char* slash = nullptr;
    if (!ParseAttributes(p, slash)) return false;
    p = SkipBlanks(p);
    const bool emptyTag = p[0] == '/' && p[1] == '>';
    if (emptyTag || (slash && p == slash + 1 && *p == '>')) {
        // The '/' of "/>" (already overwritten when it ended the name, as in <Font/>).
        char* const end = emptyTag ? p : slash;
        m_elements[element].dataStart = static_cast<uint32_t>(end - m_text);
        *end = '\0';
        p = end + 2;
    } else {
        if (*p != '>') return Fail("Expected start-tag closing", p);
        ++p;
        m_elements[element].dataStart = static_cast<uint32_t>(p - m_text);
        char* const textEnd = ParseData(p, '<');
        if (textEnd != p) *textEnd = '\0';
        if (!*p && parent <= 1) {
            *nameEnd = '\0';
            documentEnded = true;
            return true;
        }
        if (*p != '<') return Fail("Expected end-tag start", p);
        if (p[1] != '/' && !ParseContent(p, element, depth + 1)) return false;
        if (p[0] == '<' && p[1] == '/') {
            *textEnd = '\0';
            *p = '\0';
            p = SkipBlanks(p + 2);
            for (size_t i = 0; i < nameLength; ++i) {
                if (p[i] != name[i]) return Fail("Unmatched closing tag", p);
            }
            p = SkipBlanks(p + nameLength);
            if (*p != '>') return Fail("Unmatched closing tag", *p ? p + 1 : p);
            ++p;
        }
    }
    *nameEnd = '\0';
    p = SkipBlanks(p);
    return true;
}

// Attributes of a start tag, from just after the element name. `slash` is set when the character
// ending the name was the '/' of "/>", which is overwritten like any other name terminator.
bool CSkinXml::ParseAttributes(char*& cursor, char*& slash) {
    char*& p = cursor;
    if (*p == '>') return true;
    if (*p == '/') slash = p;
    *p++ = '\0';
    for (;;) {
        p = SkipBlanks(p);
        if (!*p || *p == '>' || *p == '/') return true;
        char* const nameEnd = SkipName(p);
        p = SkipBlanks(nameEnd);
        if (*p != '=') return Fail("Error while parsing attributes", p);
        *p = ' ';
        *nameEnd = '\0';
        p = SkipBlanks(p + 1);
        if (*p != '"') return Fail("Expected attribute value", *p ? p + 1 : p);
        ++p;
        char* const valueEnd = ParseData(p, '"');
        if (!*p) return Fail("Error while parsing attribute string", p);
        *valueEnd = '\0';
        if (p != valueEnd) *p = ' ';
        ++p;
    }
}

//--- Node handle ---------------------------------------------------------------------------------

CSkinXmlNode::CSkinXmlNode(CSkinXml* document, uint32_t element) : m_element(element), m_document(document) {
    if (!document || element == 0 || element >= document->m_elementCount) {
        m_element = 0;
        m_document = nullptr;
    }
}

CSkinXmlNode CSkinXmlNode::NextSiblingNode() const {
    if (!m_document) return CSkinXmlNode();
    const uint32_t next = m_document->m_elements[m_element].nextSibling;
    return next ? CSkinXmlNode(m_document, next) : CSkinXmlNode();
}

CSkinXmlNode CSkinXmlNode::FirstChildNode() const {
    if (!m_document) return CSkinXmlNode();
    const uint32_t child = m_document->m_elements[m_element].firstChild;
    return child ? CSkinXmlNode(m_document, child) : CSkinXmlNode();
}

bool CSkinXmlNode::HasChildElements() const {
    return m_document && m_document->m_elements[m_element].firstChild != 0;
}

const char* CSkinXmlNode::ElementName() const {
    return m_document ? m_document->m_text + m_document->m_elements[m_element].nameStart : nullptr;
}

const char* CSkinXmlNode::ElementText() const {
    return m_document ? m_document->m_text + m_document->m_elements[m_element].dataStart : nullptr;
}

// The offset of the first NUL at or after pos, or end when there is none before it.
uint32_t SkipToNul(const char* text, uint32_t pos, uint32_t end)
{
    if (pos >= end)
        return end;
    const void* nul = std::memchr(text + pos, '\0', end - pos);
    return nul ? static_cast<uint32_t>(static_cast<const char*>(nul) - text) : end;
}

// Walks the parsed start tag (name NUL, then per attribute: blanks, name NUL, blanks, quote, value
// NUL) without ever leaving it: every step is bounded by dataStart, and the '>' that closes the tag
// ends the walk.
void CSkinXmlNode::ScanAttributes() const {
    if (!m_document || m_attributeCount > 0) return;
    const char* text = m_document->m_text;
    const TXmlElement& element = m_document->m_elements[m_element];
    const uint32_t end = element.dataStart;
    uint32_t pos = element.nameStart;
    pos = SkipToNul(text, pos, end);
    ++pos;
    int count = 0;
    while (pos < end && count < kMaxAttributes) {
        while (pos < end && IsBlank(text[pos])) ++pos;
        if (pos >= end || text[pos] == '>') break;
        const uint32_t nameOffset = pos;
        pos = SkipToNul(text, pos, end);
        if (++pos >= end) break;
        while (pos < end && IsBlank(text[pos])) ++pos;
        if (pos >= end || text[pos] != '"') break;
        const uint32_t valueOffset = ++pos;
        pos = SkipToNul(text, pos, end);
        if (pos >= end) break;
        ++pos;
        m_attributes[count][0] = nameOffset;
        m_attributes[count][1] = valueOffset;
        ++count;
    }
    m_attributeCount = count;
}

int CSkinXmlNode::AttributeCount() const {
    ScanAttributes();
    return m_attributeCount;
}

const char* CSkinXmlNode::AttributeNameAt(int index) const {
    if (!m_document) return nullptr;
    ScanAttributes();
    return index >= 0 && index < m_attributeCount ? m_document->m_text + m_attributes[index][0] : "";
}

const char* CSkinXmlNode::AttributeValueAt(int index) const {
    if (!m_document) return nullptr;
    ScanAttributes();
    return index >= 0 && index < m_attributeCount ? m_document->m_text + m_attributes[index][1] : "";
}

bool CSkinXmlNode::CopyAttributeValue(const char* name, char* out, size_t outSize) const {
    if (!m_document || !name || !out || outSize == 0) return false;
    ScanAttributes();
    for (int i = 0; i < m_attributeCount; ++i) {
        if (std::strcmp(m_document->m_text + m_attributes[i][0], name) == 0) {
            CopyCut(out, outSize, m_document->m_text + m_attributes[i][1]);
            return true;
        }
    }
    return false;
}

}  // namespace SkinUI
