// A label that shows a value between a minimum and a maximum as a filled part of its area
// ("Progress" in the skin): from the left edge when horizontal, from the bottom edge otherwise.
// The fill is the control base's fore image ("foreimage"), stretched over the filled part or, with
// "isstretchfore" false, shown unscaled and cut to it. Text, if any, is painted as a label's.
//
// The limits are taken as written; painting normalises them and stores the result (a maximum not
// above the minimum becomes minimum + 1, the value is clamped into the range). Fill arithmetic runs
// in 64 bits and divides by at least 1, so any pair of limits is safe; results are truncated toward
// zero and are relative to the control's top-left corner.
#pragma once

#include <cstdint>

#include "controls/text/Label.h"

namespace SkinUI {

class CProgressUI : public CLabelUI {
public:
    CProgressUI();
    ~CProgressUI() override;

    const char* GetTypeName() const override;
    static constexpr const char* kCastName = "Progress";
    void* CastTo(const char* name) override;
    void SetAttribute(const char* name, const char* value) override;
    static void AppendAttributeNames(TAttributeNames& names);
    void PaintStateImage(HDC hdc) override;

    bool IsHorizontal() const { return m_horizontal; }
    void SetHorizontal(bool horizontal);
    bool IsStretchForeImage() const { return m_stretchFore; }
    void SetStretchForeImage(bool stretch);
    int GetMinValue() const { return m_minValue; }
    void SetMinValue(int value);
    int GetMaxValue() const { return m_maxValue; }
    void SetMaxValue(int value);
    int GetValue() const { return m_value; }
    // Ignored when unchanged or outside the limits.
    void SetValue(int value);

    // The filled part, relative to the control's top-left corner, for the current (unnormalised)
    // limits.
    CRectUI GetFillRect() const;

protected:
    // maximum - minimum, at least 1.
    int64_t Range() const;
    // length * offset / Range(), clamped to int.
    int Scale(int length, int64_t offset) const;

    bool m_horizontal = true;
    bool m_stretchFore = true;
    int m_maxValue = 100;
    int m_minValue = 0;
    int m_value = 0;
    CUIString m_imageModifier;  // scratch while painting

private:
    void NormaliseRange();

    static CAttributeTable<CProgressUI> OwnAttributes();
};

}  // namespace SkinUI
