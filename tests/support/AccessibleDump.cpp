#include "support/AccessibleDump.h"

#include <oleauto.h>

#include <vector>

namespace testbed {

namespace {

struct TWord {
    long Bit;
    const char* Word;
};

const TWord kStates[] = {
    {STATE_SYSTEM_UNAVAILABLE, "unavailable"},
    {STATE_SYSTEM_SELECTED, "selected"},
    {STATE_SYSTEM_FOCUSED, "focused"},
    {STATE_SYSTEM_CHECKED, "checked"},
    {STATE_SYSTEM_READONLY, "readonly"},
    {STATE_SYSTEM_EXPANDED, "expanded"},
    {STATE_SYSTEM_COLLAPSED, "collapsed"},
    {STATE_SYSTEM_INVISIBLE, "invisible"},
    {STATE_SYSTEM_OFFSCREEN, "offscreen"},
    {STATE_SYSTEM_FOCUSABLE, "focusable"},
    {STATE_SYSTEM_SELECTABLE, "selectable"},
    {STATE_SYSTEM_LINKED, "linked"},
    {STATE_SYSTEM_PROTECTED, "protected"},
};

const TWord kRoles[] = {
    {ROLE_SYSTEM_CLIENT, "client"},
    {ROLE_SYSTEM_PUSHBUTTON, "push button"},
    {ROLE_SYSTEM_CHECKBUTTON, "check button"},
    {ROLE_SYSTEM_RADIOBUTTON, "radio button"},
    {ROLE_SYSTEM_STATICTEXT, "static text"},
    {ROLE_SYSTEM_TEXT, "text"},
    {ROLE_SYSTEM_COMBOBOX, "combo box"},
    {ROLE_SYSTEM_DROPLIST, "drop list"},
    {ROLE_SYSTEM_LIST, "list"},
    {ROLE_SYSTEM_LISTITEM, "list item"},
    {ROLE_SYSTEM_OUTLINE, "outline"},
    {ROLE_SYSTEM_OUTLINEITEM, "outline item"},
    {ROLE_SYSTEM_SLIDER, "slider"},
    {ROLE_SYSTEM_PROGRESSBAR, "progress bar"},
    {ROLE_SYSTEM_SCROLLBAR, "scroll bar"},
    {ROLE_SYSTEM_PAGETABLIST, "page tab list"},
    {ROLE_SYSTEM_PAGETAB, "page tab"},
    {ROLE_SYSTEM_GROUPING, "grouping"},
    {ROLE_SYSTEM_LINK, "link"},
    {ROLE_SYSTEM_GRAPHIC, "graphic"},
    {ROLE_SYSTEM_COLUMNHEADER, "column header"},
    {ROLE_SYSTEM_SEPARATOR, "separator"},
    {ROLE_SYSTEM_WINDOW, "window"},
};

VARIANT Child(long id)
{
    VARIANT v;
    ::VariantInit(&v);
    v.vt = VT_I4;
    v.lVal = id;
    return v;
}

std::string Take(HRESULT hr, BSTR text)
{
    std::string out = SUCCEEDED(hr) && text != nullptr ? Utf8(text) : std::string();
    ::SysFreeString(text);
    return out;
}

void Walk(IAccessible* object, int depth, int maxDepth, int& budget, std::string& out)
{
    if (budget-- <= 0)
        return;
    out += std::string(static_cast<size_t>(depth) * 2, ' ') + DescribeObject(object) + "\n";
    long count = 0;
    if (depth >= maxDepth || FAILED(object->get_accChildCount(&count)) || count <= 0)
        return;
    count = count > 1000 ? 1000 : count;
    std::vector<VARIANT> children(static_cast<size_t>(count));
    long obtained = 0;
    if (FAILED(::AccessibleChildren(object, 0, count, children.data(), &obtained)))
        return;
    for (long i = 0; i < obtained; ++i) {
        VARIANT& child = children[static_cast<size_t>(i)];
        if (child.vt == VT_DISPATCH && child.pdispVal != nullptr) {
            IAccessible* sub = nullptr;
            if (SUCCEEDED(child.pdispVal->QueryInterface(IID_IAccessible, reinterpret_cast<void**>(&sub)))) {
                Walk(sub, depth + 1, maxDepth, budget, out);
                sub->Release();
            }
        } else if (child.vt == VT_I4 && budget-- > 0) {
            out += std::string(static_cast<size_t>(depth + 1) * 2, ' ') + DescribeObject(object, child.lVal) + "\n";
        }
        ::VariantClear(&child);
    }
}

}  // namespace

std::string Utf8(const wchar_t* text)
{
    if (text == nullptr || *text == L'\0')
        return std::string();
    const int bytes = ::WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
    if (bytes <= 1)
        return std::string();
    std::string out(static_cast<size_t>(bytes - 1), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, text, -1, &out[0], bytes, nullptr, nullptr);
    return out;
}

std::string RoleWord(long role)
{
    for (const TWord& word : kRoles) {
        if (word.Bit == role)
            return word.Word;
    }
    return "role " + std::to_string(role);
}

std::string StateWords(long state)
{
    std::string out;
    for (const TWord& word : kStates) {
        if ((state & word.Bit) != 0)
            out += (out.empty() ? "" : " ") + std::string(word.Word);
    }
    return out;
}

std::string DescribeObject(IAccessible* object, long childId)
{
    const VARIANT self = Child(childId);
    VARIANT role;
    ::VariantInit(&role);
    VARIANT state;
    ::VariantInit(&state);
    BSTR name = nullptr;
    BSTR value = nullptr;
    const HRESULT roleHr = object->get_accRole(self, &role);
    const HRESULT stateHr = object->get_accState(self, &state);
    const HRESULT nameHr = object->get_accName(self, &name);
    const std::string nameText = Take(nameHr, name);
    const HRESULT valueHr = object->get_accValue(self, &value);
    const std::string valueText = Take(valueHr, value);
    std::string line = SUCCEEDED(roleHr) && role.vt == VT_I4 ? RoleWord(role.lVal) : "role ?";
    line += " \"" + nameText + "\" [";
    line += SUCCEEDED(stateHr) && state.vt == VT_I4 ? StateWords(state.lVal) : "?";
    line += "]";
    if (valueHr == S_OK)
        line += " = \"" + valueText + "\"";
    ::VariantClear(&role);
    ::VariantClear(&state);
    return line;
}

std::string DumpTree(IAccessible* object, int maxDepth, int maxObjects)
{
    std::string out;
    int budget = maxObjects;
    if (object != nullptr)
        Walk(object, 0, maxDepth, budget, out);
    return out;
}

IAccessible* ClientObject(HWND window)
{
    IAccessible* object = nullptr;
    if (FAILED(::AccessibleObjectFromWindow(
            window, static_cast<DWORD>(OBJID_CLIENT), IID_IAccessible, reinterpret_cast<void**>(&object))))
        return nullptr;
    return object;
}

}  // namespace testbed
