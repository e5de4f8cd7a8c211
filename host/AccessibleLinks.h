// The links of a text control as assistive technology sees them: one per link of the markup
// ({a target}words{/a}), named by the words a reader sees, in the order they are written.
//
// The text control records one entry per line a link covers (a link that wraps has two or more,
// each with the same target), and only for the links its last paint laid out; a link is exposed
// only when it has an entry, so one a mouse cannot reach is not offered either. Following a link
// raises the notification a click on its first line raises.
#pragma once

#include <vector>

#include "core/Geometry.h"
#include "core/UIString.h"

namespace SkinUI {

class CControlUI;

namespace AccessibleLinks {

struct TLink {
    CUIString Name;  // the words between the tags, without nested tags
    CUIString Target;  // the tag's argument
    int FirstEntry;  // the control's link entry of the link's first line
    CRectUI Rect;  // that entry's rectangle (host client coordinates)
};

// Empty for a control that is not a text control with laid-out links.
std::vector<TLink> LinksOf(CControlUI* control);
// The words of each {a}...{/a} of the markup, in order (also those past the entry capacity).
std::vector<CUIString> LinkWordsOf(const char* markup);
// Raises the click notification of link `index` (of LinksOf); false when there is no such link,
// the control refused, or the control did not survive it.
bool Follow(CControlUI* control, int index);

}  // namespace AccessibleLinks

}  // namespace SkinUI
