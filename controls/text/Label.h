// A control that draws one text in its rectangle ("Label" in the skin): plain text through the
// render kit, the framework's markup text ("showhtml"), or, with "enabledeffect", anti-aliased
// effect text (gradient fill, outline stroke, drop shadow) through GDI+.
//
// GDI+ is never linked: it is loaded from the system folder the first time a label paints effect
// text, and one process-wide GDI+ session is shared by the labels that use it (each such label holds
// a reference, released in its destructor). Without GDI+ the effect text is drawn as plain text.
//
// A label is always drawn as a single line (DT_SINGLELINE is added at paint time whatever "align"
// says). A text colour of 0 means "the host's default" and is replaced by it at the first paint.
// The text rectangle is the position minus `textPadding`, in host client coordinates.
#pragma once

#include "controls/base/Control.h"
#include "core/RareBlock.h"

namespace SkinUI {

class CWindowWnd;

class CLabelUI : public CControlUI {
public:
    CLabelUI();
    ~CLabelUI() override;

    const char* GetTypeName() const override;
    static constexpr const char* kCastName = "Label";
    void* CastTo(const char* name) override;
    // With "enabledeffect" on, the text is the separate effect text.
    CUIString GetText() const override;
    void SetText(const char* text) override;
    void OnEvent(TInputEvent& event) override;
    void SetAttribute(const char* name, const char* value) override;
    static void AppendAttributeNames(TAttributeNames& names);
    CSizeUI MeasureSize(CSizeUI available) override;
    void PaintText(HDC hdc) override;

    void SetTextColor(DWORD color);  // stores and repaints
    DWORD GetTextColor() const { return m_textColor; }
    DWORD GetDisabledTextColor() const { return m_disabledTextColor; }
    void SetDisabledTextColor(DWORD color) { m_disabledTextColor = color; }
    int GetFont() const { return m_fontIndex; }
    // The text is measured by its font, style, padding and markup: a parent that keeps its
    // children's sizes hears of each change (none of these asks for a layout or a repaint).
    void SetFont(int index)
    {
        m_fontIndex = index;
        NoteChangeToParent();
    }
    UINT GetTextStyle() const { return m_textStyle; }
    void SetTextStyle(UINT style)
    {
        m_textStyle = style;
        NoteChangeToParent();
    }
    CRectUI GetTextPadding() const { return m_textPadding; }
    void SetTextPadding(const CRectUI& padding)
    {
        m_textPadding = padding;
        NoteChangeToParent();
    }
    bool IsShowHtml() const { return m_showHtml; }
    void SetShowHtml(bool show)
    {
        m_showHtml = show;
        NoteChangeToParent();
    }
    int GetTransShadow() const { return m_effect.Get().transShadow; }
    void SetTransShadow(int alpha) { m_effect.Edit().transShadow = alpha; }
    int GetTransShadow1() const { return m_effect.Get().transShadow1; }
    void SetTransShadow1(int alpha) { m_effect.Edit().transShadow1 = alpha; }
    int GetTransText() const { return m_effect.Get().transText; }
    void SetTransText(int alpha) { m_effect.Edit().transText = alpha; }
    int GetTransText1() const { return m_effect.Get().transText1; }
    void SetTransText1(int alpha) { m_effect.Edit().transText1 = alpha; }
    int GetTransStroke() const { return m_effect.Get().transStroke; }
    void SetTransStroke(int alpha) { m_effect.Edit().transStroke = alpha; }
    int GetGradientLength() const { return m_effect.Get().gradientLength; }
    void SetGradientLength(int length) { m_effect.Edit().gradientLength = length; }
    int GetGradientAngle() const { return m_effect.Get().gradientAngle; }
    void SetGradientAngle(int angle) { m_effect.Edit().gradientAngle = angle; }
    bool IsEffectEnabled() const { return m_effect.Get().enabledEffect; }
    void SetEffectEnabled(bool enabled) { m_effect.Edit().enabledEffect = enabled; }
    bool IsStrokeEnabled() const { return m_effect.Get().enabledStroke; }
    void SetStrokeEnabled(bool enabled) { m_effect.Edit().enabledStroke = enabled; }
    bool IsShadowEnabled() const { return m_effect.Get().enabledShadow; }
    void SetShadowEnabled(bool enabled) { m_effect.Edit().enabledShadow = enabled; }
    DWORD GetTextColor1() const { return m_effect.Get().textColor1; }
    void SetTextColor1(DWORD color) { m_effect.Edit().textColor1 = color; }
    DWORD GetTextShadowColorA() const { return m_effect.Get().textShadowColorA; }
    void SetTextShadowColorA(DWORD color) { m_effect.Edit().textShadowColorA = color; }
    DWORD GetTextShadowColorB() const { return m_effect.Get().textShadowColorB; }
    void SetTextShadowColorB(DWORD color) { m_effect.Edit().textShadowColorB = color; }
    DWORD GetStrokeColor() const { return m_effect.Get().strokeColor; }
    void SetStrokeColor(DWORD color) { m_effect.Edit().strokeColor = color; }
    float GetShadowOffsetX() const { return m_effect.Get().shadowOffsetX; }
    float GetShadowOffsetY() const { return m_effect.Get().shadowOffsetY; }
    // Distance (96-DPI pixels, drawn at the window's DPI) and angle in degrees, mapped onto one of
    // the eight neighbouring directions. The offsets read back stay in 96-DPI pixels.
    void SetShadowOffset(int distance, int angle);
    int GetRenderingHint() const { return m_effect.Get().renderingHint; }
    void SetRenderingHint(int hint) { m_effect.Edit().renderingHint = (hint >= 0 && hint <= 5) ? hint : 0; }

    // Whether GDI+ could be loaded in this process (loads it on first call).
    static bool IsEffectRendererAvailable();

protected:
    // One line of the label's font plus `extra` pixels high, unless a fixed height is set; the
    // width is the fixed width.
    CSizeUI MeasureOneLine(int extra);
    // The event rules shared by labels that open a native window over themselves while focused
    // (edit, date picker), `open` telling whether that window is open now: refused mouse events
    // go to the parent, the text cursor while enabled, a window resize closes the open window and
    // brings the focus back after the next layout, the wheel is swallowed while open. True when
    // the event is finished (the control may then be gone).
    bool HandleOverlayEvent(TInputEvent& event, bool open);
    // The open native window `overlay` (may be null) of a control now hidden or disabled closes:
    // by dropping the host's focus when it is still this control's, else on its own. Another
    // control's focus, given by a listener meanwhile, is left alone.
    void CloseOverlayIfUnusable(CWindowWnd* overlay);
    // Replaces zero text colours by the host's defaults (kept for good, as the skin expects).
    void ResolveDefaultColors();
    // The colour the label's text is drawn in for the current enabled state.
    DWORD CurrentTextColor() const { return IsEnabled() ? m_textColor : m_disabledTextColor; }
    CRectUI TextRect() const;

    DWORD m_textColor = 0;
    DWORD m_disabledTextColor = 0;
    int m_fontIndex = -1;  // host font table index; -1 = default font
    UINT m_textStyle = DT_VCENTER;
    CRectUI m_textPadding;
    bool m_showHtml = false;

private:
    // Returns false when GDI+ is unavailable; nothing has then been drawn.
    bool PaintEffectText(HDC hdc, const CRectUI& rect);

    // The effect text and its looks: few labels use them, and a long list or tree has many labels
    // (every button is one), so they live in one block made at the first write.
    struct TEffectFields {
        int transShadow = 60;
        int transShadow1 = 60;
        int transText = 168;
        int transText1 = 168;
        int transStroke = 255;
        int gradientLength = 0;  // 0 = height of the text rectangle
        int gradientAngle = 0;  // x of the gradient's start point
        bool enabledEffect = false;
        bool enabledStroke = false;
        bool enabledShadow = false;
        DWORD textColor1 = 0xFFFFFFFF;  // 0xFFFFFFFF = same as m_textColor
        DWORD textShadowColorA = 0xFF000000;
        DWORD textShadowColorB = 0xFFFFFFFF;  // 0xFFFFFFFF = same as A
        DWORD strokeColor = 0;  // 0 = no stroke
        float shadowOffsetX = 0.0f;
        float shadowOffsetY = 0.0f;
        CUIString effectText;
        int renderingHint = 0;  // GDI+ TextRenderingHint 0..5
    };
    CRareBlockUI<TEffectFields> m_effect;
    bool m_holdsEffectSession = false;  // this label holds a reference on the shared GDI+ session

    static CAttributeTable<CLabelUI> OwnAttributes();
};

}  // namespace SkinUI
