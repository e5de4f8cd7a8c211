// A drawn scroll bar ("ScrollBar" in the skin, or owned by a container for "vscrollbar" and
// "hscrollbar"): two arrow buttons, a rail, a proportional thumb and a background, each with four
// state images. It holds a range and a value (0..range).
//
// An owned bar (owner set) forwards arrow clicks, paging and thumb drags to its container's scroll
// operations and never notifies; a bar without owner changes its own value and sends "scroll" on
// every step. Holding an arrow or the rail repeats after about 250 ms, and a thumb drag is applied,
// on control timer 10 of the host (50 ms). Part rectangles are host client coordinates.
//
// Thumb arithmetic is done in 64 bits and divides by max(range, 1), so big ranges neither overflow
// nor divide by zero.
//
// Units: the thickness ("width" of a vertical bar, "height" of a horizontal one) is in 96-DPI units
// and drawn at the host's DPI; range, value and line size are the owner's units (pixels of the
// container's content for an owned bar), and a bar of its own pages by its length in 96-DPI units.
#pragma once

#include "controls/base/Control.h"

namespace SkinUI {

class CContainerUI;

class CScrollBarUI : public CControlUI {
public:
    static const UINT kRepeatTimerId = 10;
    static const int kDefaultThickness = 16;

    CScrollBarUI();
    ~CScrollBarUI() override;

    const char* GetTypeName() const override;
    static constexpr const char* kCastName = "ScrollBar";
    void* CastTo(const char* name) override;
    void SetPosition(const CRectUI& rect) override;
    void SetVisible(bool visible) override;
    void SetEnabled(bool enabled) override;
    void TakeFocus() override;
    void OnEvent(TInputEvent& event) override;
    void SetAttribute(const char* name, const char* value) override;
    static void AppendAttributeNames(TAttributeNames& names);
    void Paint(HDC hdc, const CRectUI& paintRect) override;

    bool IsHorizontal() const { return m_horizontal; }
    void SetHorizontal(bool horizontal);
    CContainerUI* GetOwner() const { return m_owner; }
    void SetOwner(CContainerUI* owner) { m_owner = owner; }
    int GetRange() const { return m_range; }
    void SetRange(int range);
    int GetValue() const { return m_value; }
    void SetValue(int value);
    int GetLineSize() const { return m_lineSize; }
    void SetLineSize(int size) { m_lineSize = size; }

    const CRectUI& GetButton1Rect() const { return m_button1Rect; }
    const CRectUI& GetButton2Rect() const { return m_button2Rect; }
    const CRectUI& GetThumbRect() const { return m_thumbRect; }
    unsigned GetButton1State() const { return m_button1State; }
    unsigned GetButton2State() const { return m_button2State; }
    unsigned GetThumbState() const { return m_thumbState; }

    void PaintBackground(HDC hdc);
    void PaintButton1(HDC hdc);
    void PaintButton2(HDC hdc);
    void PaintThumb(HDC hdc);
    void PaintRail(HDC hdc);

private:
    // One of the five parts' four images, in normal, hot, pushed, disabled order.
    struct TPartImages {
        CUIString images[4];
    };

    int Thickness() const;
    // Stores value clamped to 0..range and lays the parts out again.
    void StoreValue(int value);
    void LineBack();
    void LineForward();
    void PageTowards(POINT point);
    void NotifyScroll();
    // Draws the part's image for `state` (falling back to normal); false when nothing was drawn.
    bool PaintPartImage(HDC hdc, TPartImages& part, unsigned state, const char* modifier);
    void PaintArrow(HDC hdc, TPartImages& part, const CRectUI& rect, unsigned& state);

    bool m_horizontal = false;
    int m_range = 100;  // never negative
    int m_value = 0;  // 0..m_range
    int m_lineSize = 8;  // arrow step of a bar without owner
    CContainerUI* m_owner = nullptr;  // not owned; the container that created the bar
    POINT m_lastMousePoint = {0, 0};  // where the thumb drag started
    int m_dragStartValue = 0;
    int m_dragOffset = 0;  // value change from the last drag move, applied on the timer
    int m_repeatTicks = 0;
    TPartImages m_background;
    bool m_showButton1 = true;
    CRectUI m_button1Rect;
    unsigned m_button1State = 0;
    TPartImages m_button1;
    bool m_showButton2 = true;
    CRectUI m_button2Rect;
    unsigned m_button2State = 0;
    TPartImages m_button2;
    CRectUI m_thumbRect;  // all zero when no thumb is shown
    unsigned m_thumbState = 0;
    TPartImages m_thumb;
    TPartImages m_rail;
    CUIString m_imageModifier;  // scratch "dest='...'" while painting

    static CAttributeTable<CScrollBarUI> OwnAttributes();
};

}  // namespace SkinUI
