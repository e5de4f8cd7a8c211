// The gallery's status line: one notification in words a person reads as the events flow,
// "TYPE from SENDER: VALUES".
//
// The sender is its skin name; an unnamed part of a tree node (its folder button or check box) is
// named after the node's text, and any other unnamed control after its type. The values follow the
// sender: a slider's value, an option's or check box's state, a tree folder's expanded state, the
// text of the row an "itemselect" picked (a virtual list's
// selected row count), an edit's text, a date picker's date, a link's index; any
// other notification shows its WParam and LParam. Texts are cut to kMaxQuotedText characters.
#pragma once

#include <string>

#include "host/Events.h"

namespace Gallery {

constexpr size_t kMaxQuotedText = 40;

std::string DescribeNotification(const SkinUI::TNotifyEvent& event);

}  // namespace Gallery
