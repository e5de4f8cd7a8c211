// A progress control with a draggable thumb ("Slider" in the skin). The user sets the value by
// dragging the thumb, by pressing and releasing anywhere on the track (the release point decides),
// or with the mouse wheel ("step" per notch); each such change is announced with "valuechanged"
// (WParam = LParam = 0). A drag stores the value as the pointer moves and announces it at release.
//
// The thumb ("thumbsize") slides along the control's width, or its height when vertical, and is
// drawn with the pushed image while dragged, the hot image under the mouse, else the normal one.
// Thumb and pointer arithmetic runs in 64 bits and divides by at least 1. Rectangles are host client
// coordinates unless said otherwise.
#pragma once

#include "controls/range/Progress.h"

namespace SkinUI {

class CSliderUI : public CProgressUI {
public:
    CSliderUI();
    ~CSliderUI() override;

    const char* GetTypeName() const override;
    static constexpr const char* kCastName = "Slider";
    void* CastTo(const char* name) override;
    unsigned GetCapabilities() const override;
    void SetEnabled(bool enabled) override;
    void OnEvent(TInputEvent& event) override;
    void SetAttribute(const char* name, const char* value) override;
    static void AppendAttributeNames(TAttributeNames& names);
    void PaintStateImage(HDC hdc) override;

    CRectUI GetThumbRect() const;
    // The value a release or drag at `point` gives (the limits at either end of the track).
    int ValueAtPoint(POINT point) const;

    CSizeUI GetThumbSize() const { return m_thumbSize; }
    void SetThumbSize(const CSizeUI& size) { m_thumbSize = size; }
    int GetStep() const { return m_step; }
    void SetStep(int step) { m_step = step; }
    unsigned GetButtonState() const { return m_buttonState; }
    const CUIString& GetThumbImage() const { return m_thumbImage; }
    const CUIString& GetThumbHotImage() const { return m_thumbHotImage; }
    const CUIString& GetThumbPushedImage() const { return m_thumbPushedImage; }

private:
    // Stores a value chosen by the user, repaints and announces it.
    void ChangeValueTo(int value);
    // Arrows step, Home and End jump to the ends; false for any other key.
    bool StepByKey(char key);

    CSizeUI m_thumbSize = CSizeUI(10, 10);
    unsigned m_buttonState = 0;  // StateHot, StateCaptured
    int m_valueAtPress = 0;  // the value when the thumb was pressed, while captured
    int m_step = 1;
    CUIString m_thumbImage;
    CUIString m_thumbHotImage;
    CUIString m_thumbPushedImage;
    CUIString m_thumbModifier;  // scratch while painting

    static CAttributeTable<CSliderUI> OwnAttributes();
};

}  // namespace SkinUI
