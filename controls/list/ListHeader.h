// The header of a list: a horizontal layout of captions ("ListHeader" in the skin) and the captions
// themselves ("ListHeaderItem"). A caption is a pushable cell that raises "headerclick", with a
// separator strip on its right edge (or left, for a negative "sepwidth") by which the user drags
// its width; while it is dragged the list re-lays out, so the rows' columns follow at once. The
// captions' positions are the list's column extents. Positions are host client coordinates; a width
// set by dragging is stored as the caption's fixed width, in 96-DPI units like one from the skin.
#pragma once

#include "controls/layout/HorizontalLayout.h"

namespace SkinUI {

class CListHeaderUI : public CHorizontalLayoutUI {
public:
    const char* GetTypeName() const override;
    static constexpr const char* kCastName = "ListHeader";
    void* CastTo(const char* name) override;
    void SetPosition(const CRectUI& rect) override;
    CSizeUI MeasureSize(CSizeUI available) override;
};

class CListHeaderItemUI : public CControlUI {
public:
    static const int kMinWidth = 16;

    const char* GetTypeName() const override;
    static constexpr const char* kCastName = "ListHeaderItem";
    void* CastTo(const char* name) override;
    unsigned GetCapabilities() const override;
    void SetEnabled(bool enabled) override;
    void OnEvent(TInputEvent& event) override;
    void SetAttribute(const char* name, const char* value) override;
    static void AppendAttributeNames(TAttributeNames& names);
    CSizeUI MeasureSize(CSizeUI available) override;
    void PaintStateImage(HDC hdc) override;
    void PaintText(HDC hdc) override;

    // The separator strip: `forHitTest` widens it by four pixels into the caption.
    CRectUI SeparatorRect(bool forHitTest) const;
    unsigned GetButtonState() const { return m_buttonState; }
    bool IsDragging() const { return (m_buttonState & StateCaptured) != 0; }

private:
    bool OnPress(const TInputEvent& event);
    void DragTo(POINT point);
    // Lays out what the caption's width changes: its list (the header's parent) when there is one,
    // else the layout the caption stands in.
    void RelayOutOwner();

    POINT m_lastMousePoint = {0, 0};
    bool m_dragable = true;
    unsigned m_buttonState = 0;
    int m_separatorWidth = 4;  // > 0: right edge; < 0: left edge
    uint32_t m_textColor = 0;  // 0: the host's default at paint time
    int m_fontIndex = -1;
    unsigned m_textStyle = DT_CENTER | DT_VCENTER | DT_SINGLELINE;
    bool m_showHtml = false;
    CRectUI m_textPadding{2, 0, 2, 0};
    CUIString m_normalImage;
    CUIString m_hotImage;
    CUIString m_pushedImage;
    CUIString m_focusedImage;
    CUIString m_sepImage;

    static CAttributeTable<CListHeaderItemUI> OwnAttributes();
};

}  // namespace SkinUI
