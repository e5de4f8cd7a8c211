#include "host/AccessibleLinks.h"

#include "controls/base/Control.h"
#include "controls/text/Text.h"

namespace SkinUI {

namespace AccessibleLinks {

namespace {

bool IsOpener(char c) { return c == '<' || c == '{'; }
bool IsCloser(char c) { return c == '>' || c == '}'; }
bool IsLower(char c) { return c >= 'a' && c <= 'z'; }

// Where a tag that starts at `p` (after its letter) ends: its closer, or the end of the text.
const char* TagEnd(const char* p)
{
    while (*p != '\0' && !IsCloser(*p))
        ++p;
    return p;
}

// The markup's tokens as the renderer reads them, reduced to what the words of links need.
class CLinkScanner {
public:
    explicit CLinkScanner(const char* markup)
        : m_p(markup)
    {
    }

    std::vector<CUIString> Run()
    {
        while (*m_p != '\0')
            Step();
        if (m_inLink)
            m_words.push_back(m_current);  // an unclosed link runs to the end of the text
        return m_words;
    }

private:
    void Text(char c)
    {
        if (m_inLink)
            m_current += c;
    }

    void Step()
    {
        const char* p = m_p;
        if (m_raw) {
            if (IsOpener(p[0]) && p[1] == '/' && p[2] == 'r' && IsCloser(p[3])) {
                m_raw = false;
                m_p += 4;
            } else {
                Text(*m_p++);
            }
            return;
        }
        if (IsOpener(p[0]) && IsLower(p[1]) && (p[2] == ' ' || IsCloser(p[2]))) {
            const char* close = TagEnd(p + 2);
            Open(p[1]);
            m_p = *close != '\0' ? close + 1 : close;
            return;
        }
        if (IsOpener(p[0]) && p[1] == '/' && ((p[2] >= 'a' && p[2] <= 'z') || (p[2] >= 'A' && p[2] <= 'Z'))) {
            const char* close = TagEnd(p + 3);
            if (p[2] == 'a' && m_inLink) {
                m_words.push_back(m_current);
                m_inLink = false;
            }
            m_p = *close != '\0' ? close + 1 : close;
            return;
        }
        if ((p[0] == '<' && (p[1] == '{' || p[1] == '}') && p[2] == '>')
            || (p[0] == '{' && (p[1] == '<' || p[1] == '>') && p[2] == '}')) {
            Text(p[1]);
            m_p += 3;
            return;
        }
        // A line break inside a link reads as a blank, as between words.
        Text(*p == '\n' ? ' ' : *p);
        ++m_p;
    }

    void Open(char letter)
    {
        if (letter == 'r') {
            m_raw = true;
        } else if (letter == 'n') {
            Text(' ');
        } else if (letter == 'a') {
            // A link opened inside another ends the first, as the renderer numbers them.
            if (m_inLink)
                m_words.push_back(m_current);
            m_inLink = true;
            m_current = CUIString();
        }
    }

    const char* m_p;
    bool m_raw = false;
    bool m_inLink = false;
    CUIString m_current;
    std::vector<CUIString> m_words;
};

}  // namespace

std::vector<CUIString> LinkWordsOf(const char* markup)
{
    if (markup == nullptr)
        return {};
    return CLinkScanner(markup).Run();
}

std::vector<TLink> LinksOf(CControlUI* control)
{
    std::vector<TLink> links;
    CTextUI* text = control != nullptr ? ControlCast<CTextUI>(control) : nullptr;
    if (text == nullptr || !text->IsShowHtml() || text->GetLinkCount() == 0)
        return links;
    const std::vector<CUIString> words = LinkWordsOf(text->GetText().GetData());
    const int entries = text->GetLinkCount();
    // Below the capacity every link was laid out, so the entries left must cover the links left.
    const bool allLaidOut = entries < CTextUI::kMaxLinks;
    int entry = 0;
    for (size_t link = 0; link < words.size() && entry < entries; ++link) {
        links.push_back({words[link], *text->GetLinkText(entry), entry, text->GetLinkRect(entry)});
        // The lines a link wraps onto follow its first one with the same target, each lower down;
        // never more of them than leaves an entry for every link still to come.
        const size_t linksLeft = words.size() - link - 1;
        ++entry;
        while (entry < entries && (!allLaidOut || static_cast<size_t>(entries - entry) > linksLeft)
            && *text->GetLinkText(entry) == links.back().Target
            && text->GetLinkRect(entry).top > text->GetLinkRect(entry - 1).top)
            ++entry;
    }
    return links;
}

bool Follow(CControlUI* control, int index)
{
    const std::vector<TLink> links = LinksOf(control);
    if (index < 0 || static_cast<size_t>(index) >= links.size())
        return false;
    return ControlCast<CTextUI>(control)->FollowLink(links[static_cast<size_t>(index)].FirstEntry);
}

}  // namespace AccessibleLinks

}  // namespace SkinUI
