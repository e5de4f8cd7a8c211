// What assistive technology reads about one control: role, name, description, state, value,
// default action and shortcut, all worked out from the control as it is at the moment of asking.
//
// The role comes from a table keyed by the interface names a control answers in CastTo, most
// derived first, unless the skin names one ("accrole"). A control whose role is 0 is not exposed:
// layouts that only arrange their children are skipped and their children promoted. Texts are the
// framework's ANSI text; the accessible object converts them to UTF-16.
#pragma once

#include <windows.h>

#include "core/UIString.h"

namespace SkinUI {

class CControlUI;

namespace AccessibleTraits {

// The MSAA role, or 0 for a control that stays out of the accessible tree.
long RoleOf(CControlUI* control);
// Exposed in the tree: a role, visible, and something to read where only a text would say what it is.
bool IsExposed(CControlUI* control);
// The skin's "accname", else the text for roles named by their text, else the label just before
// it in its container for controls that hold a value, else the tooltip.
CUIString NameOf(CControlUI* control);
CUIString DescriptionOf(CControlUI* control);
// STATE_SYSTEM_* bits; `focus` is the host's focused control and `client` the window's client
// rectangle (client coordinates), for the offscreen state.
long StateOf(CControlUI* control, const CControlUI* focus, const RECT& client);
// False when the role has no value (or the value is protected).
bool ValueOf(CControlUI* control, CUIString& value);
// The verb of accDoDefaultAction, or empty when the control has none.
CUIString DefaultActionOf(CControlUI* control);
// Runs the default action; false when there is none or the control refused.
bool DoDefaultAction(CControlUI* control);
// "Alt+X" for a control with a shortcut key, else empty.
CUIString ShortcutOf(CControlUI* control);
// A skin's "accrole" value as a role, or 0 for a word we do not know.
long RoleFromWord(const char* word);
// Roles whose exposed descendants are objects of their own; the others are one thing to the user
// (a button's label, a tree row's check box and folder button are parts of it).
bool HasChildObjects(long role);
// The control whose object stands for `control` in the tree: the outermost exposed control above
// it that has no child objects, else the nearest exposed one at or above it; null for none (the
// client area stands for it).
CControlUI* ReadableAtOrAbove(CControlUI* control);
// A combo whose drop-down is open: its rows are its children then.
bool ShowsDropDown(CControlUI* control);
// The combo in the tree under `root` whose open drop-down shows `row`; null for any other control.
CControlUI* DropDownOwnerOf(CControlUI* row, CControlUI* root);
// Lists, trees and combos: their selected children are answered by get_accSelection.
bool HasSelection(CControlUI* control);
// A native window the control shows (an edit's or a date picker's editor, an ActiveX control's
// window) that the system's own accessibility describes; null when it has none now.
HWND NativeWindowOf(CControlUI* control);

}  // namespace AccessibleTraits

}  // namespace SkinUI
