// A drop-down selector ("Combo" in the skin). Its children are rows (list items); closed, it shows
// only the selected row's text inside its own frame, and the rows have empty positions. Opened (a
// press, F4), it lends its rows to the layout of a CComboWnd pop-up with a host of its own, and
// takes them back when the pop-up closes, however it closes. It raises "dropdown" when it opens and
// "itemselect" (WParam = new index, LParam = old index) when the selection changes.
//
// The pop-up never outlives the combo: destroying the combo, or removing rows from it, closes the
// pop-up first, so no row is ever left in a host that is gone.
#pragma once

#include "controls/base/Container.h"
#include "controls/list/ListInterfaces.h"
#include "controls/list/ListItemCore.h"

namespace SkinUI {

class CComboWnd;

class CComboUI : public CContainerUI, public IListOwnerUI {
public:
    CComboUI();
    ~CComboUI() override;

    const char* GetTypeName() const override;
    static constexpr const char* kCastName = "Combo";
    void* CastTo(const char* name) override;
    unsigned GetCapabilities() const override;
    bool TriggerAction() override;
    CUIString GetText() const override;
    void SetPosition(const CRectUI& rect) override;
    void SetEnabled(bool enabled) override;
    void SetVisible(bool visible) override;
    void SetVisibleByParent(bool visible) override;
    void OnEvent(TInputEvent& event) override;
    void SetAttribute(const char* name, const char* value) override;
    static void AppendAttributeNames(TAttributeNames& names);
    CSizeUI MeasureSize(CSizeUI available) override;
    void Paint(HDC hdc, const CRectUI& paintRect) override;
    void PaintStateImage(HDC hdc) override;
    void PaintText(HDC hdc) override;

    // IContainerUI
    int IndexOfChild(const CControlUI* control) const override { return m_numbering.PositionOf(this, control); }
    bool MoveChild(CControlUI* control, int newIndex) override;
    bool AddChild(CControlUI* control) override;
    bool InsertChild(CControlUI* control, int index) override;
    bool RemoveChild(CControlUI* control) override;
    bool RemoveChildAt(int index) override;
    void RemoveAllChildren() override;

    // IListOwnerUI
    TListItemStyle* GetItemStyle() override { return &m_itemStyle; }
    int GetCurrentIndex() const override { return m_currentIndex; }
    bool SelectItem(int index, bool takeFocus) override;
    void ForwardEvent(TInputEvent& event) override { OnEvent(event); }
    // A row given this owner but not among its rows keeps the index it was given.
    int RowIndex(const CControlUI* row, int stored) override
    {
        const int index = m_numbering.RowIndex(row, stored);
        return index >= 0 ? index : stored;
    }

    CComboWnd* GetDropWindow() const { return m_dropWindow; }
    // Closes an open pop-up now (its window is destroyed before this returns).
    void CloseDropDown();
    unsigned GetButtonState() const { return m_buttonState; }
    const CSizeUI& GetDropBoxSize() const { return m_dropBoxSize; }
    const CUIString& GetDropBoxAttributes() const { return m_dropBoxAttributes; }

protected:
    // The selected row's look in the text area, whose right edge is moved left by `rightInset`.
    void PaintSelection(HDC hdc, int rightInset);

private:
    friend class CComboWnd;
    void OnDropWindowGone();
    bool OnKeyDown(char key);

    CComboWnd* m_dropWindow = nullptr;  // the open pop-up; it deletes itself when its window goes
    int m_currentIndex = -1;
    CRowNumbering m_numbering{*this};
    CRectUI m_textPadding;
    CUIString m_dropBoxAttributes;  // attribute list applied to the pop-up's layout
    CSizeUI m_dropBoxSize;  // width (0: the combo's) and the pop-up's maximum height
    unsigned m_buttonState = 0;
    CUIString m_normalImage;
    CUIString m_hotImage;
    CUIString m_pushedImage;
    CUIString m_focusedImage;
    CUIString m_disabledImage;
    TListItemStyle m_itemStyle;

    static CAttributeTable<CComboUI> OwnAttributes();
};

}  // namespace SkinUI
