// A row of column texts laid out over the owning list's column extents ("ListTextElement" in the
// skin). With the list's "itemshowhtml" the texts are markup and their links are live: the hand
// cursor over them, "link" (WParam = link index) on a release over one. Column texts come from the
// list's text provider when it has one, else from the row's own texts. In an owner without columns
// (a combo) the row shows nothing.
#pragma once

#include <vector>

#include "controls/list/ListElement.h"

namespace SkinUI {

class CListTextElementUI : public CListLabelElementUI {
public:
    static const int kMaxLinks = 8;

    CListTextElementUI();

    const char* GetTypeName() const override;
    static constexpr const char* kCastName = "ListTextElement";
    void* CastTo(const char* name) override;
    unsigned GetCapabilities() const override;
    void SetOwner(CControlUI* owner) override;
    void OnEvent(TInputEvent& event) override;
    CSizeUI MeasureSize(CSizeUI available) override;
    void DrawItemText(HDC hdc, const CRectUI& rect) override;

    // Columns at or beyond kMaxListColumns are refused.
    CUIString GetColumnText(int column) const;
    // What the row shows in `column`: the list's text provider's answer where it has one, else
    // the column's own text.
    CUIString GetShownText(int column);
    void SetColumnText(int column, const char* text);
    int GetLinkCount() const { return m_linkCount; }
    // Where link i was laid out at the last paint; empty beyond the link count.
    CRectUI GetLinkRect(int i) const { return i >= 0 && i < kMaxLinks ? m_linkRects[i] : CRectUI(); }
    int GetHoveredLink() const { return m_hoveredLink; }

private:
    int LinkAt(POINT point) const;

    int m_linkCount = 0;
    CRectUI m_linkRects[kMaxLinks];  // host client coordinates, from the last paint
    CUIString m_linkTexts[kMaxLinks];
    int m_hoveredLink = -1;
    IListUI* m_listView = nullptr;  // the owner's list view; not owned
    std::vector<CUIString> m_columnTexts;
};

}  // namespace SkinUI
