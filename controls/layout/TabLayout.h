// Shows one of its children, the current page, and hides the others ("TabLayout" in the skin).
//
// Only the current page is placed (at the top-left of the client area inside its padding, sized by
// its MeasureSize and limits), plus floating children; the tab layout has no scroll bars of its own.
// Selecting another page with SelectTab (or "selectedid") moves the keyboard focus into it and
// sends "tabselect" (WParam = new index, LParam = old index). The current index follows its page
// when pages are inserted, moved or removed; a page that does not become current is hidden, so
// exactly one page is visible while there is a current one. Positions are host client coordinates.
#pragma once

#include "controls/base/Container.h"

namespace SkinUI {

class CTabLayoutUI : public CContainerUI {
public:
    CTabLayoutUI();
    ~CTabLayoutUI() override;

    const char* GetTypeName() const override;
    static constexpr const char* kCastName = "TabLayout";
    void* CastTo(const char* name) override;
    void SetPosition(const CRectUI& rect) override;
    void SetAttribute(const char* name, const char* value) override;
    static void AppendAttributeNames(TAttributeNames& names);

    // IContainerUI
    bool MoveChild(CControlUI* control, int newIndex) override;
    bool AddChild(CControlUI* control) override;
    bool InsertChild(CControlUI* control, int index) override;
    bool RemoveChild(CControlUI* control) override;
    void RemoveAllChildren() override;

    // False for an index outside the pages; true, without any change or notification, for the
    // current page.
    bool SelectTab(int index);
    int GetCurrentIndex() const { return m_currentIndex; }

private:
    int m_currentIndex = -1;  // index of the shown page in m_children; -1 = none

    static CAttributeTable<CTabLayoutUI> OwnAttributes();
};

}  // namespace SkinUI
