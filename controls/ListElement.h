// Rows of a list owner (a combo or a list control) that are plain controls.
//
// CListElementUI is the row behaviour on a control: index, selection, owner, activation, and the
// events it does not handle itself forwarded to the owner (so the owner's keyboard and wheel
// handling applies while a row has the focus). CListLabelElementUI is a one-line text row painted
// with the owner's style ("ListLabelElement" in the skin). Positions are host client coordinates.
#pragma once

#include "controls/Control.h"
#include "controls/ListItemCore.h"

namespace SkinUI {

class CListElementUI : public CControlUI, public IListItemUI {
public:
    CListElementUI();

    void* CastTo(const char* name) override;
    bool TriggerAction() override;
    void SetVisible(bool visible) override;
    void OnEvent(TInputEvent& event) override;
    void SetAttribute(const char* name, const char* value) override;

    // IListItemUI
    int GetIndex() const override { return m_item.index; }
    void SetIndex(int index) override { m_item.index = index; }
    IListOwnerUI* GetOwner() const override { return m_item.owner; }
    void SetOwner(CControlUI* owner) override { m_item.SetOwner(owner); }
    bool IsSelected() const override { return m_item.selected; }
    bool Select(bool select) override { return m_item.Select(select); }
    bool IsExpanded() const override { return false; }
    bool Expand(bool) override { return false; }
    // A bare element has no text; the label rows draw theirs.
    void DrawItemText(HDC, const CRectUI&) override { }

    void DrawItemBackground(HDC hdc) { m_item.DrawBackground(hdc); }
    bool IsHot() const { return (m_item.itemState & StateHot) != 0; }

protected:
    CListItemCore m_item;
};

class CListLabelElementUI : public CListElementUI {
public:
    const char* GetTypeName() const override;
    void* CastTo(const char* name) override;
    void OnEvent(TInputEvent& event) override;
    CSizeUI MeasureSize(CSizeUI available) override;
    void Paint(HDC hdc, const CRectUI& paintRect) override;
    void DrawItemText(HDC hdc, const CRectUI& rect) override;

protected:
    // Text-metric height of the owner's item font plus the vertical text padding and 8.
    int RowHeight();
};

}  // namespace SkinUI
