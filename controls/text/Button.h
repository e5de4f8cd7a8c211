// A label with the press state machine ("Button" in the skin): hot, pushed, focused and disabled
// state images and text colours, and the "click" notification. Clicks come from a release inside
// after a press that began on the button, from Space or Return while focused, and from the
// shortcut key; never while invisible or disabled. The host captures the mouse for the pressed
// control, so the button sees the release even outside its rectangle. The state bits are those of
// Control.h (StateHot, StatePushed, StateCaptured, ...).
#pragma once

#include "controls/text/Label.h"
#include "core/RareBlock.h"

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
    DWORD GetHotBkColor() const { return m_looks.Get().hotBkColor; }
    void SetHotBkColor(DWORD color) { m_looks.Edit().hotBkColor = color; }
    DWORD GetHotTextColor() const { return m_looks.Get().hotTextColor; }
    void SetHotTextColor(DWORD color) { m_looks.Edit().hotTextColor = color; }
    DWORD GetPushedTextColor() const { return m_looks.Get().pushedTextColor; }
    void SetPushedTextColor(DWORD color) { m_looks.Edit().pushedTextColor = color; }
    DWORD GetFocusedTextColor() const { return m_looks.Get().focusedTextColor; }
    void SetFocusedTextColor(DWORD color) { m_looks.Edit().focusedTextColor = color; }
    // Image attribute strings as written; an image that failed to draw reads empty. The setters
    // store and repaint, as the attributes do.
    const CUIString& GetNormalImage() const { return m_looks.Get().normalImage; }
    void SetNormalImage(const char* image) { StoreImage(m_looks.Edit().normalImage, image); }
    const CUIString& GetHotImage() const { return m_looks.Get().hotImage; }
    void SetHotImage(const char* image) { StoreImage(m_looks.Edit().hotImage, image); }
    const CUIString& GetHotForeImage() const { return m_looks.Get().hotForeImage; }
    void SetHotForeImage(const char* image) { StoreImage(m_looks.Edit().hotForeImage, image); }
    const CUIString& GetPushedImage() const { return m_looks.Get().pushedImage; }
    void SetPushedImage(const char* image) { StoreImage(m_looks.Edit().pushedImage, image); }
    const CUIString& GetFocusedImage() const { return m_looks.Get().focusedImage; }
    void SetFocusedImage(const char* image) { StoreImage(m_looks.Edit().focusedImage, image); }
    const CUIString& GetDisabledImage() const { return m_looks.Get().disabledImage; }
    void SetDisabledImage(const char* image) { StoreImage(m_looks.Edit().disabledImage, image); }

protected:
    // Sets StateFocused and StateDisabled from the control's current focus and enabled state.
    void RefreshFocusAndDisabled();
    // Text drawing shared with options: colour chosen by the caller.
    void PaintTextInColor(HDC hdc, DWORD color);
    DWORD AdjustedColor(DWORD color) const;

    unsigned m_buttonState = 0;

private:
    // The per-state looks: most buttons of a long list or tree have none of them, so they live in
    // one block made at the first write. Without it every image reads empty and every colour 0.
    struct TStateLooks {
        CUIString normalImage;
        CUIString hotImage;
        CUIString hotForeImage;
        CUIString pushedImage;
        CUIString focusedImage;
        CUIString disabledImage;
        DWORD hotBkColor = 0;
        DWORD hotTextColor = 0;
        DWORD pushedTextColor = 0;
        DWORD focusedTextColor = 0;
    };

    CRareBlockUI<TStateLooks> m_looks;

    static CAttributeTable<CButtonUI> OwnAttributes();
};

}  // namespace SkinUI
