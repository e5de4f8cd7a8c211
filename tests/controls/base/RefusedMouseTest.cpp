// A control whose skin says mouse="false" passes every mouse event on: to its parent, a scroll bar
// to the container that owns it; other events stay its own.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <vector>

#include "support/HostBed.h"
#include "controls/list/List.h"
#include "controls/list/ListHeader.h"
#include "controls/native/Combo.h"
#include "controls/range/ScrollBar.h"
#include "controls/range/Slider.h"
#include "controls/richedit/RichEdit.h"
#include "controls/text/Button.h"
#include "controls/text/Text.h"

namespace SkinUI {
namespace {

class CRecordingParentUI : public CContainerUI {
public:
    void OnEvent(TInputEvent& event) override { seen.push_back(event.Type); }
    std::vector<int> seen;
};

TEST(RefusedMouse, GoesToTheParentOrTheScrollBarsOwnerAndOnlyMouseEventsDo)
{
    struct TCase {
        const char* name;
        std::function<CControlUI*()> make;
    };
    const TCase cases[] = {
        {"label", [] { return new CLabelUI; }},
        {"button", [] { return new CButtonUI; }},
        {"text", [] { return new CTextUI; }},
        {"slider", [] { return new CSliderUI; }},
        {"container", [] { return new CContainerUI; }},
        {"rich edit", [] { return new CRichEditUI; }},
        {"scroll bar", [] { return new CScrollBarUI; }},
        {"list", [] { return new CListUI; }},
        {"list header", [] { return new CListHeaderUI; }},
        {"combo", [] { return new CComboUI; }},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.name);
        testbed::HostBed bed;
        auto* parent = new CRecordingParentUI;
        bed.Attach(parent);
        CControlUI* control = c.make();
        parent->AddChild(control);
        if (auto* bar = ControlCast<CScrollBarUI>(control))
            bar->SetOwner(parent);
        control->SetAttribute("mouse", "false");
        for (int kind : {InputEventKind::ButtonDown, InputEventKind::MouseMove, InputEventKind::FocusGained}) {
            TInputEvent event = {};
            event.Type = kind;
            event.Sender = control;
            control->OnEvent(event);
        }
        EXPECT_EQ(parent->seen, (std::vector<int>{InputEventKind::ButtonDown, InputEventKind::MouseMove}));
    }
}

}  // namespace
}  // namespace SkinUI
