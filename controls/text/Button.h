// A label with the press state machine ("Button" in the skin): hot, pushed, focused and disabled
// state images and text colours, and the "click" notification. Clicks come from a release inside
// after a press that began on the button, from Space or Return while focused, and from the
// shortcut key; never while invisible or disabled. The host captures the mouse for the pressed
// control, so the button sees the release even outside its rectangle. The state bits are those of
// Control.h (StateHot, StatePushed, StateCaptured, ...).
#pragma once

#include "controls/text/Label.h"

namespace SkinUI {

class CButtonUI : public CLabelUI {
public:
    CButtonUI();
    ~CButtonUI() override;

    const char* GetTypeName() const override;
    static constexpr const char* kCastName = "Button";
    void* CastTo(const char* name) override;
    unsigned GetCapabilities() const override;
    bool TriggerAction() override;
    void SetEnabled(bool enabled) override;
    void OnEvent(TInputEvent& event) override;
    void SetAttribute(const char* name, const char* value) override;
    static void AppendAttributeNames(TAttributeNames& names);
    CSizeUI MeasureSize(CSizeUI available) override;
    void PaintStateImage(HDC hdc) override;
    void PaintText(HDC hdc) override;

    unsigned GetButtonState() const { return m_buttonState; }
    DWORD GetHotBkColor() const { return m_hotBkColor; }
    void SetHotBkColor(DWORD color) { m_hotBkColor = color; }
    DWORD GetHotTextColor() const { return m_hotTextColor; }
    void SetHotTextColor(DWORD color) { m_hotTextColor = color; }
    DWORD GetPushedTextColor() const { return m_pushedTextColor; }
    void SetPushedTextColor(DWORD color) { m_pushedTextColor = color; }
    DWORD GetFocusedTextColor() const { return m_focusedTextColor; }
    void SetFocusedTextColor(DWORD color) { m_focusedTextColor = color; }
    const CUIString& GetNormalImage() const { return m_normalImage; }
    const CUIString& GetHotImage() const { return m_hotImage; }
    const CUIString& GetPushedImage() const { return m_pushedImage; }
    const CUIString& GetFocusedImage() const { return m_focusedImage; }
    const CUIString& GetDisabledImage() const { return m_disabledImage; }

protected:
    // Sets StateFocused and StateDisabled from the control's current focus and enabled state.
    void RefreshFocusAndDisabled();
    void DrawForeImage(HDC hdc);
    // Text drawing shared with options: colour chosen by the caller.
    void PaintTextInColor(HDC hdc, DWORD color);
    DWORD AdjustedColor(DWORD color) const;

    unsigned m_buttonState = 0;

private:
    DWORD m_hotBkColor = 0;
    DWORD m_hotTextColor = 0;
    DWORD m_pushedTextColor = 0;
    DWORD m_focusedTextColor = 0;
    CUIString m_normalImage;
    CUIString m_hotImage;
    CUIString m_hotForeImage;
    CUIString m_pushedImage;
    CUIString m_focusedImage;
    CUIString m_disabledImage;

    static CAttributeTable<CButtonUI> OwnAttributes();
};

}  // namespace SkinUI
