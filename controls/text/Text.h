// A label for multi-line text ("Text" in the skin) whose markup links can be hovered and clicked.
// The link rectangles are those laid out by the last markup paint (host client coordinates); a
// release over one sends "link" with the link's index. Unlike a label, a text control wraps words
// (DT_WORDBREAK) and never forces a single line.
#pragma once

#include "controls/text/Label.h"

namespace SkinUI {

class CTextUI : public CLabelUI {
public:
    static const int kMaxLinks = 8;

    CTextUI();
    ~CTextUI() override;

    const char* GetTypeName() const override;
    static constexpr const char* kCastName = "Text";
    void* CastTo(const char* name) override;
    unsigned GetCapabilities() const override;
    void OnEvent(TInputEvent& event) override;
    CSizeUI MeasureSize(CSizeUI available) override;
    void PaintText(HDC hdc) override;

    int GetLinkCount() const { return m_linkCount; }
    // Null outside 0..count-1.
    const CUIString* GetLinkText(int index) const;
    CRectUI GetLinkRect(int index) const;
    int GetHoveredLink() const { return m_hoveredLink; }
    // Sends "link" for the entry, as a click on it does (also for assistive technology); false when
    // there is no such entry, the control is disabled, or a listener destroyed the control.
    bool FollowLink(int index);

private:
    int LinkAt(POINT point) const;

    int m_linkCount = 0;  // valid entries of the two arrays below
    RECT m_linkRects[kMaxLinks] = {};  // client coordinates
    CUIString m_linkTexts[kMaxLinks];
    int m_hoveredLink = -1;
};

}  // namespace SkinUI
