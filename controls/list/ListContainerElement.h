// A row that is itself a container of arbitrary controls ("ListContainerElement" in the skin): the
// row behaviour of CListElementUI on a CContainerUI. Its background comes from the owner's style;
// its children paint over it. Shown in a closed combo, it paints its children into the combo's text
// area, since it has no text of its own.
#pragma once

#include "controls/base/Container.h"
#include "controls/list/ListRow.h"

namespace SkinUI {

class CListContainerElementUI : public CListRowUI<CContainerUI> {
public:
    const char* GetTypeName() const override;
    static constexpr const char* kCastName = "ListContainerElement";
    void* CastTo(const char* name) override;
    void SetEnabled(bool enabled) override;
    void OnEvent(TInputEvent& event) override;
    void Paint(HDC hdc, const CRectUI& paintRect) override;
    void DrawItemText(HDC hdc, const CRectUI& rect) override;
};

}  // namespace SkinUI
