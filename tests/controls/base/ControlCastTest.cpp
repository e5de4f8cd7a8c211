// ControlCast: a control answers its own class, its bases and its interfaces, and null for any
// other kind (or no name at all); a cast of null is null; a class that skips a base on purpose
// does not answer it.
#include <gtest/gtest.h>

#include "controls/layout/ChildLayout.h"
#include "controls/layout/TabLayout.h"
#include "controls/list/List.h"
#include "controls/list/ListElement.h"
#include "controls/range/Slider.h"
#include "controls/text/CheckBox.h"

namespace SkinUI {
namespace {

TEST(ControlCast, AnswersTheClassItsBasesAndInterfacesAndNullForOtherKinds)
{
    CCheckBoxUI check;
    CSliderUI slider;
    CListUI list;
    CListLabelElementUI row;
    CTabLayoutUI tabs;
    CChildLayoutUI child;
    struct TCase {
        const char* name;
        const void* got;
        const void* want;
    };
    const TCase cases[] = {
        {"check box as itself", ControlCast<CCheckBoxUI>(&check), &check},
        {"check box as option", ControlCast<COptionUI>(&check), static_cast<COptionUI*>(&check)},
        {"check box as label", ControlCast<CLabelUI>(&check), static_cast<CLabelUI*>(&check)},
        {"check box as control", ControlCast<CControlUI>(&check), static_cast<CControlUI*>(&check)},
        {"check box is no slider", ControlCast<CSliderUI>(&check), nullptr},
        {"slider as progress", ControlCast<CProgressUI>(&slider), static_cast<CProgressUI*>(&slider)},
        {"progress base is no check box", ControlCast<CCheckBoxUI>(&slider), nullptr},
        {"list as container interface", ControlCast<IContainerUI>(&list), static_cast<IContainerUI*>(&list)},
        {"list as list interface", ControlCast<IListUI>(&list), static_cast<IListUI*>(&list)},
        {"list as owner interface", ControlCast<IListOwnerUI>(&list), static_cast<IListOwnerUI*>(&list)},
        {"list is no row", ControlCast<IListItemUI>(&list), nullptr},
        {"row as row interface", ControlCast<IListItemUI>(&row), static_cast<IListItemUI*>(&row)},
        {"row as its element base", ControlCast<CListElementUI>(&row), static_cast<CListElementUI*>(&row)},
        {"row is no container", ControlCast<IContainerUI>(&row), nullptr},
        {"tab layout as container interface", ControlCast<IContainerUI>(&tabs), static_cast<IContainerUI*>(&tabs)},
        {"child layout skips the container", ControlCast<CContainerUI>(&child), nullptr},
        {"child layout as control", ControlCast<CControlUI>(&child), static_cast<CControlUI*>(&child)},
        {"check box, no name", check.CastTo(nullptr), nullptr},
        {"check box, unknown name", check.CastTo("NoSuchKind"), nullptr},
        {"null", ControlCast<CSliderUI>(nullptr), nullptr},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(c.got, c.want);
    }
}

}  // namespace
}  // namespace SkinUI
