// Clicking a link the way a user does, shared by every control that draws clickable links (text,
// list rows): the pointer rests on the link's middle first, so hovering is checked on the way.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include "support/HostBed.h"
#include "core/Geometry.h"

namespace testbed {

// Hovers and clicks the middle of link `index` of `control`, which must be the bed's first "link"
// note and carry the index. Callers wrap it in ASSERT_NO_FATAL_FAILURE.
template <class TLinked> void ClickLink(HostBed& bed, const TLinked& control, int index)
{
    const SkinUI::CRectUI link = control.GetLinkRect(index);
    const int x = (link.left + link.right) / 2;
    const int y = (link.top + link.bottom) / 2;
    bed.MoveTo(x, y);
    EXPECT_EQ(control.GetHoveredLink(), index);
    bed.Press(x, y);
    bed.Release(x, y);
    ASSERT_EQ(bed.Count("link"), 1);
    EXPECT_EQ(bed.notes.back().wParam, static_cast<WPARAM>(index));
}

}  // namespace testbed
