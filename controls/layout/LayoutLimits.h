// A child's size limits as every layout applies them: the minimum first, then the maximum, so the
// maximum wins when the two cross.
#pragma once

#include "controls/base/Control.h"

namespace SkinUI {

inline int ClampToWidthLimits(const CControlUI* control, int width)
{
    if (width < control->ScaledMinWidth())
        width = control->ScaledMinWidth();
    return width > control->ScaledMaxWidth() ? control->ScaledMaxWidth() : width;
}

inline int ClampToHeightLimits(const CControlUI* control, int height)
{
    if (height < control->ScaledMinHeight())
        height = control->ScaledMinHeight();
    return height > control->ScaledMaxHeight() ? control->ScaledMaxHeight() : height;
}

}  // namespace SkinUI
