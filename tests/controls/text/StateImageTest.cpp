// The state images of buttons, options and check boxes: each one given by its attribute or by its
// setter reads back as written, leaves every other one empty, and is the one painted in its state.
#include <gtest/gtest.h>

#include <string>

#include "support/HostBed.h"
#include "controls/layout/VerticalLayout.h"
#include "controls/text/Button.h"
#include "controls/text/CheckBox.h"
#include "controls/text/Option.h"

using namespace SkinUI;
using testbed::HostBed;
using testbed::Screen;

namespace {

const uint32_t kBackdrop = 0xFF0000;  // the normal image under every other state's image
const uint32_t kCompanion = 0x00FFFF;  // an image the state needs beside the one under test

enum class Kind { Button, Option, CheckBox };

struct TStateImageCase {
    const char* attribute;
    Kind kind;  // the control the image is painted on
    void (*set)(CButtonUI& button, const char* image);
    const CUIString& (*get)(CButtonUI& button);
    // Another attribute the state needs to show this image (hot fore needs a hot image).
    const char* companion;
    // Puts the control at (50, 20) into the state the image is for.
    void (*enter)(HostBed& bed, CButtonUI& button);
    uint32_t rgb;
};

void Hover(HostBed& bed, CButtonUI&) { bed.MoveTo(50, 20); }

// The option rows are given only options and check boxes.
COptionUI& AsOption(CButtonUI& button) { return *ControlCast<COptionUI>(&button); }

const TStateImageCase kCases[] = {
    {"normalimage", Kind::Button, [](CButtonUI& o, const char* v) { o.SetNormalImage(v); },
        [](CButtonUI& o) -> const CUIString& { return o.GetNormalImage(); }, nullptr, [](HostBed&, CButtonUI&) {},
        0x112233},
    {"hotimage", Kind::Button, [](CButtonUI& o, const char* v) { o.SetHotImage(v); },
        [](CButtonUI& o) -> const CUIString& { return o.GetHotImage(); }, nullptr, Hover, 0x00FF00},
    {"hotforeimage", Kind::Button, [](CButtonUI& o, const char* v) { o.SetHotForeImage(v); },
        [](CButtonUI& o) -> const CUIString& { return o.GetHotForeImage(); }, "hotimage", Hover, 0x445566},
    {"pushedimage", Kind::Button, [](CButtonUI& o, const char* v) { o.SetPushedImage(v); },
        [](CButtonUI& o) -> const CUIString& { return o.GetPushedImage(); }, nullptr,
        [](HostBed& bed, CButtonUI&) {
            bed.MoveTo(50, 20);
            bed.Press(50, 20);
        },
        0x0000FF},
    {"focusedimage", Kind::Button, [](CButtonUI& o, const char* v) { o.SetFocusedImage(v); },
        [](CButtonUI& o) -> const CUIString& { return o.GetFocusedImage(); }, nullptr,
        [](HostBed& bed, CButtonUI& b) { bed.Host().SetFocusControl(&b); }, 0x778899},
    {"disabledimage", Kind::Button, [](CButtonUI& o, const char* v) { o.SetDisabledImage(v); },
        [](CButtonUI& o) -> const CUIString& { return o.GetDisabledImage(); }, nullptr,
        [](HostBed&, CButtonUI& b) { b.SetEnabled(false); }, 0x808080},
    {"selectedimage", Kind::Option, [](CButtonUI& o, const char* v) { AsOption(o).SetSelectedImage(v); },
        [](CButtonUI& o) -> const CUIString& { return AsOption(o).GetSelectedImage(); }, nullptr,
        [](HostBed&, CButtonUI& b) { AsOption(b).SetSelected(true); }, 0xAABBCC},
    {"selectedhotimage", Kind::CheckBox, [](CButtonUI& o, const char* v) { AsOption(o).SetSelectedHotImage(v); },
        [](CButtonUI& o) -> const CUIString& { return AsOption(o).GetSelectedHotImage(); }, "selectedimage",
        [](HostBed& bed, CButtonUI& b) {
            AsOption(b).SetSelected(true);
            bed.MoveTo(50, 20);
        },
        0xDDEE11},
    // An option's fore image covers every state, here the normal one.
    {"foreimage", Kind::Option, [](CButtonUI& o, const char* v) { AsOption(o).SetOptionForeImage(v); },
        [](CButtonUI& o) -> const CUIString& { return AsOption(o).GetOptionForeImage(); }, nullptr,
        [](HostBed&, CButtonUI&) {}, 0x22AA44},
};

// Gives the image by its attribute or by its setter.
void Give(CButtonUI& button, const TStateImageCase& c, bool bySetter, const std::string& image)
{
    if (bySetter)
        c.set(button, image.c_str());
    else
        button.SetAttribute(c.attribute, image.c_str());
}

// An image attribute naming a fresh solid picture of `rgb`.
std::string SolidPicture(const std::string& name, uint32_t rgb)
{
    return "file='" + testbed::SolidImage(name.c_str(), rgb) + "'";
}

CButtonUI* Make(Kind kind)
{
    if (kind == Kind::Button)
        return new CButtonUI;
    return kind == Kind::Option ? new COptionUI : new CCheckBoxUI;
}

}  // namespace

TEST(StateImages, EachReadsBackAsWrittenAndLeavesTheOthersEmpty)
{
    for (bool bySetter : {false, true}) {
        for (const TStateImageCase& c : kCases) {
            SCOPED_TRACE(std::string(c.attribute) + (bySetter ? " by setter" : " by attribute"));
            COptionUI option;
            for (const TStateImageCase& other : kCases)
                EXPECT_STREQ(other.get(option).GetData(), "") << other.attribute << " unset";
            const std::string image = std::string("file='") + c.attribute + ".png' corner='1,2,3,4'";
            Give(option, c, bySetter, image);
            for (const TStateImageCase& other : kCases) {
                const char* expected = &other == &c ? image.c_str() : "";
                EXPECT_STREQ(other.get(option).GetData(), expected) << other.attribute;
            }
            Give(option, c, bySetter, "");
            EXPECT_STREQ(c.get(option).GetData(), "") << "emptied again";
        }
    }
}

TEST(StateImages, EachIsPaintedInItsStateOverTheNormalImage)
{
    for (bool bySetter : {false, true}) {
        for (const TStateImageCase& c : kCases) {
            SCOPED_TRACE(std::string(c.attribute) + (bySetter ? " by setter" : " by attribute"));
            HostBed bed(200, 100);
            auto* root = new CVerticalLayoutUI;
            root->SetAttribute("bkcolor", "#FFFFFFFF");
            CButtonUI* button = Make(c.kind);
            button->SetFixedWidth(100);
            button->SetFixedHeight(40);
            if (std::string(c.attribute) != "normalimage")
                button->SetAttribute("normalimage", SolidPicture("state_backdrop.bmp", kBackdrop).c_str());
            if (c.companion != nullptr)
                button->SetAttribute(c.companion, SolidPicture("state_companion.bmp", kCompanion).c_str());
            const std::string image = SolidPicture(std::string("state_") + c.attribute + ".bmp", c.rgb);
            Give(*button, c, bySetter, image);
            root->AddChild(button);
            bed.Attach(root);
            c.enter(bed, *button);
            EXPECT_EQ(Screen(bed).At(50, 20), c.rgb);
            EXPECT_STREQ(c.get(*button).GetData(), image.c_str()) << "drawn, so kept";
            // A skin that empties the image, names one that cannot load, then gives it back:
            // the state shows what lies under it until the image is back.
            Give(*button, c, bySetter, "");
            EXPECT_NE(Screen(bed).At(50, 20), c.rgb) << "emptied";
            Give(*button, c, bySetter, "state_image_that_is_nowhere.bmp");
            EXPECT_NE(Screen(bed).At(50, 20), c.rgb) << "unloadable";
            Give(*button, c, bySetter, image);
            EXPECT_EQ(Screen(bed).At(50, 20), c.rgb) << "given back";
        }
    }
}
