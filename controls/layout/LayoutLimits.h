// A child's size limits as every layout applies them: the minimum first, then the maximum, so the
// maximum wins when the two cross.
#pragma once

#include "controls/base/Control.h"

namespace SkinUI {

inline int ClampToWidthLimits(const CControlUI* control, int width)
{
    if (width < control->GetMinWidth())
        width = control->GetMinWidth();
    return width > control->GetMaxWidth() ? control->GetMaxWidth() : width;
}

inline int ClampToHeightLimits(const CControlUI* control, int height)
{
    if (height < control->GetMinHeight())
        height = control->GetMinHeight();
    return height > control->GetMaxHeight() ? control->GetMaxHeight() : height;
}

}  // namespace SkinUI
