// A press the host ends itself (a second button, the capture taken by another window) is no
// release: nothing is clicked, selected, toggled or announced, and a slider drag is undone. The
// controls sit over the window's top-left corner so that the point the host reports for a
// cancel, (-1, -1), lies inside them.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "support/HostBed.h"
#include "controls/layout/VerticalLayout.h"
#include "controls/range/Slider.h"
#include "controls/text/Button.h"
#include "controls/text/CheckBox.h"
#include "controls/text/Option.h"

using namespace SkinUI;
using testbed::HostBed;
using testbed::Pt;

namespace {

struct TCancel {
    const char* what;
    std::function<void(HostBed&)> run;
};

void TakeCaptureElsewhere(HostBed&)
{
    HWND other = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    SetCapture(other);
    ReleaseCapture();
    DestroyWindow(other);
}

const TCancel kCancels[] = {
    {"second button", [](HostBed& bed) { bed.Send(WM_RBUTTONDOWN, MK_LBUTTON | MK_RBUTTON, Pt(250, 150)); }},
    {"capture taken by another window", TakeCaptureElsewhere},
};

// Places `control` over (-10, -10, 60, 30), after the layout: nothing here lays out again.
template <class T> T* OverTheCorner(HostBed& bed, const char* name, const char* attributes = "")
{
    auto* root = new CVerticalLayoutUI;
    auto* control = new T;
    control->SetName(name);
    control->ApplyAttributeText(attributes);
    root->AddChild(control);
    bed.Attach(root);
    control->SetPosition(CRectUI(-10, -10, 60, 30));
    return control;
}

}  // namespace

TEST(CancelledPress, ButtonsOptionsAndCheckBoxesDoNothing)
{
    struct TControl {
        const char* what;
        std::function<CButtonUI*(HostBed&)> make;
    };
    const TControl controls[] = {
        {"button", [](HostBed& bed) { return OverTheCorner<CButtonUI>(bed, "b"); }},
        {"option", [](HostBed& bed) -> CButtonUI* { return OverTheCorner<COptionUI>(bed, "b"); }},
        {"check box", [](HostBed& bed) -> CButtonUI* { return OverTheCorner<CCheckBoxUI>(bed, "b"); }},
    };
    for (const TControl& c : controls) {
        for (const TCancel& cancel : kCancels) {
            SCOPED_TRACE(std::string(c.what) + ", " + cancel.what);
            HostBed bed;
            CButtonUI* button = c.make(bed);
            bed.MoveTo(5, 5);
            bed.Press(5, 5);
            ASSERT_EQ(StatePushed | StateCaptured, button->GetButtonState() & (StatePushed | StateCaptured));
            cancel.run(bed);
            EXPECT_EQ(0u, button->GetButtonState() & (StatePushed | StateCaptured));
            EXPECT_EQ(0, bed.Count("click"));
            EXPECT_EQ(0, bed.Count("selectchanged"));
            auto* option = ControlCast<COptionUI>(button);
            if (option != nullptr) {
                EXPECT_FALSE(option->IsSelected());
            }
            // The next real press and release still clicks.
            bed.Click(5, 5);
            EXPECT_EQ(1, bed.Count("click"));
        }
    }
}

TEST(CancelledPress, SliderDragIsUndoneAndNotAnnounced)
{
    struct TSlider {
        const char* what;
        const char* attributes;
        POINT thumb;  // on the thumb at value 500
        POINT dragTo;
    };
    const TSlider sliders[] = {
        // thumb left -10 + (70 - 10) * 500 / 1000 = 20; top (-10 + 30 - 10) / 2 = 5.
        {"horizontal", "max=\"1000\" value=\"500\"", {25, 10}, {40, 10}},
        // thumb bottom 30 - (40 - 10) * 500 / 1000 = 15, left (-10 + 60 - 10) / 2 = 20.
        {"vertical", "hor=\"false\" max=\"1000\" value=\"500\"", {25, 10}, {25, 0}},
    };
    for (const TSlider& s : sliders) {
        for (const TCancel& cancel : kCancels) {
            SCOPED_TRACE(std::string(s.what) + ", " + cancel.what);
            HostBed bed;
            auto* slider = OverTheCorner<CSliderUI>(bed, "s", s.attributes);
            bed.MoveTo(s.thumb.x, s.thumb.y);
            bed.Press(s.thumb.x, s.thumb.y);
            ASSERT_EQ(StateCaptured, slider->GetButtonState() & StateCaptured);
            bed.MoveTo(s.dragTo.x, s.dragTo.y);
            ASSERT_NE(500, slider->GetValue()) << "the drag moved the thumb";
            cancel.run(bed);
            EXPECT_EQ(500, slider->GetValue());
            EXPECT_EQ(0u, slider->GetButtonState() & StateCaptured);
            EXPECT_EQ(0, bed.Count("valuechanged"));
        }
    }
}
