// A combo that draws a five-state arrow at its right edge ("ComboBox" in the skin). "arrowimage"
// is an image attribute string whose "source" strip holds five equal cells: normal, hot, pushed,
// focused, disabled. With an arrow image the combo's own state images are not drawn, and the text
// area ends where the arrow begins.
#pragma once

#include "controls/native/Combo.h"

namespace SkinUI {

class CComboBoxUI : public CComboUI {
public:
    const char* GetTypeName() const override;
    void SetAttribute(const char* name, const char* value) override;
    static void AppendAttributeNames(TAttributeNames& names);
    void PaintStateImage(HDC hdc) override;
    void PaintText(HDC hdc) override;

    int GetArrowWidth() const { return m_arrowWidth; }
    // The modifier the arrow is drawn with for the current state: the "source" of the image
    // string replaced by the state's cell and its destination. Empty when "source" is missing or
    // unquoted.
    CUIString ArrowModifier();

private:
    CUIString m_arrowImage;
    int m_arrowWidth = 0;  // one cell of the source strip, computed while painting

    static CAttributeTable<CComboBoxUI> OwnAttributes();
};

}  // namespace SkinUI
