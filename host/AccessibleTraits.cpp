#include "host/AccessibleTraits.h"

#include <oleacc.h>

#include <cstdio>
#include <cstring>

#include "controls/base/Container.h"
#include "controls/base/Control.h"
#include "controls/com/ActiveX.h"
#include "controls/list/ListInterfaces.h"
#include "controls/list/ListTextElement.h"
#include "controls/list/TreeNode.h"
#include "controls/native/Combo.h"
#include "controls/native/ComboWnd.h"
#include "controls/native/DateTime.h"
#include "controls/native/Edit.h"
#include "controls/range/Progress.h"
#include "controls/range/ScrollBar.h"
#include "controls/richedit/RichEdit.h"
#include "controls/text/CheckBox.h"
#include "controls/text/Label.h"
#include "controls/text/Option.h"
#include "host/WindowHost.h"

namespace SkinUI {

namespace AccessibleTraits {

namespace {

struct TRoleRow {
    const char* Interface;  // a CastTo name
    long Role;
};

// Most derived first: a check box is an option is a button is a label.
const TRoleRow kRoleTable[] = {
    {"CheckBox", ROLE_SYSTEM_CHECKBUTTON},
    {"TreeNode", ROLE_SYSTEM_OUTLINEITEM},
    {"ListHeaderItem", ROLE_SYSTEM_COLUMNHEADER},
    {"ListItem", ROLE_SYSTEM_LISTITEM},
    {"Option", ROLE_SYSTEM_RADIOBUTTON},
    {"Button", ROLE_SYSTEM_PUSHBUTTON},
    {"Edit", ROLE_SYSTEM_TEXT},
    {"RichEdit", ROLE_SYSTEM_TEXT},
    {"DateTime", ROLE_SYSTEM_DROPLIST},
    {"Combo", ROLE_SYSTEM_COMBOBOX},
    {"Slider", ROLE_SYSTEM_SLIDER},
    {"Progress", ROLE_SYSTEM_PROGRESSBAR},
    {"ScrollBar", ROLE_SYSTEM_SCROLLBAR},
    {"TreeView", ROLE_SYSTEM_OUTLINE},
    {"List", ROLE_SYSTEM_LIST},
    {"ActiveX", ROLE_SYSTEM_CLIENT},
    {"Text", ROLE_SYSTEM_STATICTEXT},
    {"Label", ROLE_SYSTEM_STATICTEXT},
};

struct TRoleWord {
    const char* Word;
    long Role;
};

const TRoleWord kRoleWords[] = {
    {"link", ROLE_SYSTEM_LINK},
    {"grouping", ROLE_SYSTEM_GROUPING},
    {"client", ROLE_SYSTEM_CLIENT},
    {"pagetablist", ROLE_SYSTEM_PAGETABLIST},
    {"pagetab", ROLE_SYSTEM_PAGETAB},
    {"graphic", ROLE_SYSTEM_GRAPHIC},
    {"statictext", ROLE_SYSTEM_STATICTEXT},
    {"pushbutton", ROLE_SYSTEM_PUSHBUTTON},
    {"separator", ROLE_SYSTEM_SEPARATOR},
};

bool Is(CControlUI* control, const char* iface) { return control->CastTo(iface) != nullptr; }

// Roles whose name is the control's own text; the others show their text as the value.
bool NamedByText(long role)
{
    switch (role) {
    case ROLE_SYSTEM_TEXT:
    case ROLE_SYSTEM_COMBOBOX:
    case ROLE_SYSTEM_DROPLIST:
    case ROLE_SYSTEM_SLIDER:
    case ROLE_SYSTEM_PROGRESSBAR:
    case ROLE_SYSTEM_SCROLLBAR:
    case ROLE_SYSTEM_LIST:
    case ROLE_SYSTEM_OUTLINE:
    case ROLE_SYSTEM_CLIENT:
        return false;
    default:
        return true;
    }
}

// HTML-style text reads without its {tags}; a {n} line break reads as a blank.
CUIString PlainText(CControlUI* control)
{
    const CUIString text = control->GetText();
    const CLabelUI* label = ControlCast<CLabelUI>(control);
    if (label == nullptr || !label->IsShowHtml())
        return text;
    CUIString plain;
    const char* p = text.GetData();
    while (*p != '\0') {
        if (*p != '{') {
            plain += *p++;
            continue;
        }
        const char* close = std::strchr(p, '}');
        if (close == nullptr)
            break;  // an unclosed tag draws nothing either
        if (close - p == 2 && p[1] == 'n')
            plain += ' ';
        p = close + 1;
    }
    return plain;
}

// The static text just before the control among its container's children: the label a sighted
// user reads beside an edit, a combo or a slider.
CUIString LabelBefore(CControlUI* control)
{
    CControlUI* parent = control->GetParent();
    IContainerUI* container = ControlCast<IContainerUI>(parent);
    if (container == nullptr)
        return CUIString();
    for (int i = container->IndexOfChild(control) - 1; i >= 0; --i) {
        CControlUI* sibling = container->ChildAt(i);
        if (sibling == nullptr || !sibling->IsVisible() || RoleOf(sibling) == 0)
            continue;
        if (RoleOf(sibling) == ROLE_SYSTEM_STATICTEXT)
            return NameOf(sibling);
        return CUIString();
    }
    return CUIString();
}

// A row of column texts reads as its columns, in order, where it has no text of its own.
CUIString ColumnTexts(CControlUI* control)
{
    CListTextElementUI* row = ControlCast<CListTextElementUI>(control);
    CUIString text;
    for (int column = 0; row != nullptr && column < kMaxListColumns; ++column) {
        const CUIString cell = row->GetShownText(column);
        if (cell.IsEmpty())
            continue;
        if (!text.IsEmpty())
            text += ", ";
        text += cell;
    }
    return text;
}

bool IsWithin(const CControlUI* control, const CControlUI* ancestor)
{
    int depth = 0;
    for (const CControlUI* c = control; c != nullptr && depth < 256; c = c->GetParent(), ++depth) {
        if (c == ancestor)
            return true;
    }
    return false;
}

CUIString Number(long long value)
{
    char buffer[32];
    std::snprintf(buffer, sizeof(buffer), "%lld", value);
    return CUIString(buffer);
}

}  // namespace

long RoleFromWord(const char* word)
{
    for (const TRoleWord& row : kRoleWords) {
        if (std::strcmp(row.Word, word) == 0)
            return row.Role;
    }
    return 0;
}

bool HasChildObjects(long role)
{
    switch (role) {
    case ROLE_SYSTEM_CLIENT:
    case ROLE_SYSTEM_GROUPING:
    case ROLE_SYSTEM_LIST:
    case ROLE_SYSTEM_OUTLINE:
    case ROLE_SYSTEM_PAGETABLIST:
        return true;
    default:
        return false;
    }
}

CControlUI* ReadableAtOrAbove(CControlUI* control)
{
    CControlUI* nearest = nullptr;
    CControlUI* outermostWhole = nullptr;
    int depth = 0;
    for (CControlUI* c = control; c != nullptr && depth < 256; c = c->GetParent(), ++depth) {
        if (!IsExposed(c))
            continue;
        if (nearest == nullptr)
            nearest = c;
        if (!HasChildObjects(RoleOf(c)))
            outermostWhole = c;
    }
    return outermostWhole != nullptr ? outermostWhole : nearest;
}

bool ShowsDropDown(CControlUI* control)
{
    const CComboUI* combo = ControlCast<CComboUI>(control);
    return combo != nullptr && combo->GetDropWindow() != nullptr;
}

CControlUI* DropDownOwnerOf(CControlUI* row, CControlUI* root)
{
    // Only a row that has left for a drop-down's host: the search is the exception, not the rule.
    if (row == nullptr || root == nullptr || row->GetHost() == root->GetHost()
        || ControlCast<IListItemUI>(row) == nullptr)
        return nullptr;
    auto showsRow = [](CControlUI* control, void* data) -> CControlUI* {
        CComboUI* combo = ControlCast<CComboUI>(control);
        const bool shows = combo != nullptr && combo->GetDropWindow() != nullptr
            && combo->IndexOfChild(static_cast<CControlUI*>(data)) >= 0;
        return shows ? control : nullptr;
    };
    return root->FindControl(showsRow, row, FindVisible | FindMeFirst);
}

bool HasSelection(CControlUI* control)
{
    switch (RoleOf(control)) {
    case ROLE_SYSTEM_LIST:
    case ROLE_SYSTEM_OUTLINE:
    case ROLE_SYSTEM_COMBOBOX:
        return true;
    default:
        return false;
    }
}

HWND NativeWindowOf(CControlUI* control)
{
    HWND window = nullptr;
    // A password editor answers for its control itself: it is that object, not a child of it.
    if (const CEditUI* edit = ControlCast<CEditUI>(control))
        window = edit->IsPasswordMode() ? nullptr : edit->GetEditWindow();
    else if (const CDateTimeUI* picker = ControlCast<CDateTimeUI>(control))
        window = picker->GetPickerWindow();
    else if (const CActiveXUI* activeX = ControlCast<CActiveXUI>(control))
        window = activeX->GetHostWindow();
    // Only a window of its own inside the host's: a windowless ActiveX control names the host's
    // window itself, which is the client object, not a child of it.
    const HWND hostWindow = control->GetHost() != nullptr ? control->GetHost()->GetPaintWindow() : nullptr;
    if (window == nullptr || hostWindow == nullptr || !::IsChild(hostWindow, window) || !::IsWindowVisible(window))
        return nullptr;
    return window;
}

long RoleOf(CControlUI* control)
{
    const long chosen = RoleFromWord(control->GetAccessibleRole());
    if (chosen != 0)
        return chosen;
    for (const TRoleRow& row : kRoleTable) {
        if (Is(control, row.Interface))
            return row.Role;
    }
    // A layout or a plain control joins the tree only when the skin names it.
    if (control->GetAccessibleName().IsEmpty())
        return 0;
    return Is(control, "Container") ? ROLE_SYSTEM_GROUPING : ROLE_SYSTEM_GRAPHIC;
}

bool IsExposed(CControlUI* control)
{
    const long role = RoleOf(control);
    if (role == 0 || !control->IsVisible())
        return false;
    // A text that says nothing (an empty label used as a spacer) is decoration, unless the skin
    // gave it a role: a status line that is empty now is read when it speaks.
    if ((role == ROLE_SYSTEM_STATICTEXT || role == ROLE_SYSTEM_GRAPHIC) && control->GetAccessibleRole().IsEmpty())
        return !NameOf(control).IsEmpty();
    return true;
}

CUIString NameOf(CControlUI* control)
{
    if (!control->GetAccessibleName().IsEmpty())
        return control->GetAccessibleName();
    const long role = RoleOf(control);
    CUIString name;
    if (NamedByText(role)) {
        name = PlainText(control);
        CTreeNodeUI* node = AsTreeNode(control);
        if (name.IsEmpty() && node != nullptr && node->GetItemButton() != nullptr)
            name = node->GetItemButton()->GetText();
        if (name.IsEmpty())
            name = ColumnTexts(control);
    } else {
        name = LabelBefore(control);
    }
    if (name.IsEmpty())
        name = control->GetTooltip();
    return name;
}

CUIString DescriptionOf(CControlUI* control) { return control->GetAccessibleDescription(); }

long StateOf(CControlUI* control, const CControlUI* focus, const RECT& client)
{
    long state = 0;
    const long role = RoleOf(control);
    if (!control->IsEnabled())
        state |= STATE_SYSTEM_UNAVAILABLE;
    if (!control->IsVisible())
        state |= STATE_SYSTEM_INVISIBLE;
    RECT visible = {};
    const RECT position = control->GetPosition();
    if (!::IntersectRect(&visible, &position, &client))
        state |= STATE_SYSTEM_OFFSCREEN;
    if ((control->GetCapabilities() & CapabilityTabStop) != 0 && control->AcceptsKeyboard() && control->IsEnabled())
        state |= STATE_SYSTEM_FOCUSABLE;
    // A tree row is focused when its folder button or check box is.
    if (control == focus || (!HasChildObjects(role) && focus != nullptr && IsWithin(focus, control)))
        state |= STATE_SYSTEM_FOCUSED;
    if (const COptionUI* option = ControlCast<COptionUI>(control)) {
        if (role == ROLE_SYSTEM_PAGETAB)
            state |= STATE_SYSTEM_SELECTABLE | (option->IsSelected() ? STATE_SYSTEM_SELECTED : 0);
        else if (option->IsSelected())
            state |= STATE_SYSTEM_CHECKED;
    }
    if (const IListItemUI* item = ControlCast<IListItemUI>(control)) {
        state |= STATE_SYSTEM_SELECTABLE;
        if (item->IsSelected())
            state |= STATE_SYSTEM_SELECTED;
    }
    if (CTreeNodeUI* node = AsTreeNode(control)) {
        if (node->ChildNodeCount() > 0)
            state |= node->IsNodeExpanded() ? STATE_SYSTEM_EXPANDED : STATE_SYSTEM_COLLAPSED;
        const CCheckBoxUI* check = node->GetCheckBox();
        if (check != nullptr && check->IsVisible() && check->IsSelected())
            state |= STATE_SYSTEM_CHECKED;
    }
    if (const CEditUI* edit = ControlCast<CEditUI>(control)) {
        if (edit->IsPasswordMode())
            state |= STATE_SYSTEM_PROTECTED;
        if (edit->IsReadOnly())
            state |= STATE_SYSTEM_READONLY;
    }
    if (const CRichEditUI* rich = ControlCast<CRichEditUI>(control)) {
        if (rich->IsReadOnly())
            state |= STATE_SYSTEM_READONLY;
    }
    if (role == ROLE_SYSTEM_STATICTEXT || role == ROLE_SYSTEM_PROGRESSBAR)
        state |= STATE_SYSTEM_READONLY;
    if (role == ROLE_SYSTEM_LINK)
        state |= STATE_SYSTEM_LINKED;
    if (role == ROLE_SYSTEM_COMBOBOX && Is(control, "Combo"))
        state |= ShowsDropDown(control) ? STATE_SYSTEM_EXPANDED : STATE_SYSTEM_COLLAPSED;
    return state;
}

bool ValueOf(CControlUI* control, CUIString& value)
{
    if (const CEditUI* edit = ControlCast<CEditUI>(control)) {
        // A password is never read out.
        if (edit->IsPasswordMode())
            return false;
        value = control->GetText();
        return true;
    }
    if (const CProgressUI* progress = ControlCast<CProgressUI>(control)) {
        value = Number(progress->GetValue());
        return true;
    }
    if (const CScrollBarUI* bar = ControlCast<CScrollBarUI>(control)) {
        value = Number(bar->GetValue());
        return true;
    }
    if (CTreeNodeUI* node = AsTreeNode(control)) {
        int level = 0;
        for (CTreeNodeUI* up = node->GetParentNode(); up != nullptr && level < 4096; up = up->GetParentNode())
            ++level;
        value = Number(level);
        return true;
    }
    if (Is(control, "RichEdit") || Is(control, "Combo") || Is(control, "DateTime")) {
        value = control->GetText();
        return true;
    }
    return false;
}

CUIString DefaultActionOf(CControlUI* control)
{
    switch (RoleOf(control)) {
    case ROLE_SYSTEM_PUSHBUTTON:
        return "Press";
    case ROLE_SYSTEM_CHECKBUTTON: {
        const COptionUI* option = ControlCast<COptionUI>(control);
        return option != nullptr && option->IsSelected() ? "Uncheck" : "Check";
    }
    case ROLE_SYSTEM_RADIOBUTTON:
        return "Check";
    case ROLE_SYSTEM_PAGETAB:
        return "Switch";
    case ROLE_SYSTEM_LINK:
        return "Jump";
    case ROLE_SYSTEM_COMBOBOX:
        return ShowsDropDown(control) ? "Close" : "Open";
    case ROLE_SYSTEM_LISTITEM:
        return "Double Click";
    case ROLE_SYSTEM_OUTLINEITEM: {
        CTreeNodeUI* node = AsTreeNode(control);
        if (node == nullptr || node->ChildNodeCount() == 0)
            return CUIString();
        return node->IsNodeExpanded() ? "Collapse" : "Expand";
    }
    default:
        return CUIString();
    }
}

bool DoDefaultAction(CControlUI* control)
{
    if (DefaultActionOf(control).IsEmpty() || !control->IsVisible() || !control->IsEnabled())
        return false;
    if (CTreeNodeUI* node = AsTreeNode(control)) {
        // The node expands through its folder button, as a click on it would.
        CControlUI* folder = node->GetFolderButton();
        return folder != nullptr && folder->TriggerAction();
    }
    if (ShowsDropDown(control)) {
        // Closed as Escape closes it, so the focus goes back to the combo.
        ControlCast<CComboUI>(control)->GetDropWindow()->PostClose();
        return true;
    }
    return control->TriggerAction();
}

CUIString ShortcutOf(CControlUI* control)
{
    const char key = control->GetShortcutKey();
    if (key == 0)
        return CUIString();
    CUIString text("Alt+");
    text += (key >= 'a' && key <= 'z') ? static_cast<char>(key - 'a' + 'A') : key;
    return text;
}

}  // namespace AccessibleTraits

}  // namespace SkinUI
