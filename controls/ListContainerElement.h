// A row that is itself a container of arbitrary controls ("ListContainerElement" in the skin): the
// row behaviour of CListElementUI on a CContainerUI. Its background comes from the owner's style;
// its children paint over it. Shown in a closed combo, it paints its children into the combo's text
// area, since it has no text of its own.
#pragma once

#include "controls/Container.h"
#include "controls/ListItemCore.h"

namespace SkinUI {

class CListContainerElementUI : public CContainerUI, public IListItemUI {
public:
    CListContainerElementUI();

    const char* GetTypeName() const override;
    void* CastTo(const char* name) override;
    bool TriggerAction() override;
    void SetVisible(bool visible) override;
    void SetEnabled(bool enabled) override;
    void OnEvent(TInputEvent& event) override;
    void SetAttribute(const char* name, const char* value) override;
    void Paint(HDC hdc, const CRectUI& paintRect) override;

    // IListItemUI
    int GetIndex() const override { return m_item.index; }
    void SetIndex(int index) override { m_item.index = index; }
    IListOwnerUI* GetOwner() const override { return m_item.owner; }
    void SetOwner(CControlUI* owner) override { m_item.SetOwner(owner); }
    bool IsSelected() const override { return m_item.selected; }
    bool Select(bool select) override { return m_item.Select(select); }
    bool IsExpanded() const override { return false; }
    bool Expand(bool) override { return false; }
    void DrawItemText(HDC hdc, const CRectUI& rect) override;

    void DrawItemBackground(HDC hdc) { m_item.DrawBackground(hdc); }
    bool IsHot() const { return (m_item.itemState & StateHot) != 0; }

protected:
    CListItemCore m_item;
};

}  // namespace SkinUI
