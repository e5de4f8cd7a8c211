// A list whose rows are not controls ("VirtualList" in the skin): the program gives a row count
// and an IVirtualListSource that describes a row when asked, and the list shows any number of rows
// at the cost of the few in view.
//
// It is a List in everything but its rows: the same header and captions, the same item style
// attributes and row looks, the same body with its bars (the vertical one on from the start). Row
// controls exist only for the lines of the view and are recycled as it scrolls (see
// CVirtualListBodyUI); the program never sees them, and the child interface refuses rows.
//
// Selection is a set of index ranges (CRowSelection) plus the current row (the one the keyboard
// moves) and the anchor that Shift extends from. With "multiselect", Shift and Ctrl extend, add
// and toggle as a user expects; without it every change selects the current row alone. A range
// may span disabled rows: they keep the disabled look, and the program decides what they mean.
//
// Notifications, all sent by the list: "itemclick" (WParam = row, before the selection changes),
// "itemselect" (WParam = current row, LParam = the previous one; also when only the ranges
// changed), "itemactivate" (WParam = row; double click or Return) and "columnclick" (WParam =
// column, after the caption's own "headerclick"): the program sorts its rows and refreshes.
// Any listener may destroy the list; nothing touches it afterwards.
#pragma once

#include "controls/list/List.h"
#include "controls/list/RowSelection.h"
#include "controls/list/VirtualListRow.h"

namespace SkinUI {

class CVirtualListBodyUI;

class CVirtualListUI : public CListUI {
public:
    // The scroll bar's int range bounds the rows; this many fit at up to 64 pixels a row.
    static const int kMaxRows = 1 << 24;

    CVirtualListUI();

    const char* GetTypeName() const override;
    static constexpr const char* kCastName = "VirtualList";
    void* CastTo(const char* name) override;
    void OnEvent(TInputEvent& event) override;
    void SetAttribute(const char* name, const char* value) override;
    static void AppendAttributeNames(TAttributeNames& names);

    // Captions and a header go to the List; rows are not controls, so none is taken, given out
    // or removed here. Removing all children empties the list.
    CControlUI* ChildAt(int index) const override;
    int ChildCount() const override;
    bool MoveChild(CControlUI* control, int newIndex) override;
    bool InsertChild(CControlUI* control, int index) override;
    bool RemoveChild(CControlUI* control) override;
    bool RemoveChildAt(int index) override;
    void RemoveAllChildren() override;
    // The nearest enabled row from `index` on in that direction, or -1.
    int FindSelectableChild(int index, bool forward) const override;

    // IListOwnerUI / IListUI: one row becomes the whole selection.
    int GetCurrentIndex() const override { return m_current; }
    bool SelectItem(int index, bool takeFocus) override;
    bool ExpandItem(int, bool) override { return false; }
    IListTextProvider* GetTextProvider() const override { return &VirtualRowTexts(); }
    // The texts come from the source.
    void SetTextProvider(IListTextProvider*) override { }
    void EnsureVisible(int index) override;
    void OnHeaderClick(int column) override;

    // The program's side. The source is not owned and must outlive the list (or be replaced).
    void SetSource(IVirtualListSource* source);
    int GetRowCount() const { return m_count; }
    // Rows beyond the new count leave the selection; a current row beyond it moves to the last
    // enabled row (announced with "itemselect"). Counts are bounded by 0 and kMaxRows.
    void SetRowCount(int count);
    // The rows first..last changed: those in view are asked for again and repainted.
    void RefreshRows(int first, int last);

    bool IsMultiSelect() const { return m_multiSelect; }
    void SetMultiSelect(bool multi);
    bool IsRowSelected(int index) const { return m_selection.Contains(index); }
    const CRowSelection& GetSelection() const { return m_selection; }
    void ClearSelection();
    int GetHotIndex() const { return m_hot; }
    // What a key does to the current row and the selection; false for keys the list leaves alone.
    bool OnNavigationKey(char key, bool shift, bool ctrl);

    // Figures for the program and its tests: row controls made, rows asked of the source (to be
    // shown, or to learn whether the keyboard may stop on them).
    int GetRowsCreated() const;
    long long GetRowsFilled() const { return m_rowsFilled; }

    // The body's side.
    int GetFixedRowHeight() const { return m_fixedRowHeight; }
    void FillRowControl(int index, CVirtualListRowUI& row);
    // Count changes and refreshes asked for from inside FillRow take effect here, once the fill
    // has returned.
    void ApplyDeferredChanges();
    void OnRowsLaidOut();

private:
    enum class TSelectHow { Only, Extend, ExtendAdd, Toggle, Keep };
    // Shift extends from the anchor (Ctrl+Shift adds the range); Ctrl alone does `ctrlAlone`.
    static TSelectHow HowFor(bool shift, bool ctrl, TSelectHow ctrlAlone);

    // Row `index` as the source describes it, into m_scratch.
    void AskSource(int index) const;
    bool IsRowEnabled(int index) const;
    // The first enabled row at or after (forward) / at or before `index`, or -1.
    int FindEnabledRow(int index, bool forward) const;
    // Makes `index` current, changes the selection as asked and scrolls it into view.
    void MoveCurrent(int index, TSelectHow how);
    // MoveCurrent, then "itemselect". The list may be gone afterwards.
    void MoveAndAnnounce(int index, TSelectHow how);
    void Announce(int oldCurrent);
    // True when the current row had to move.
    bool ApplyRowCount(int count);
    bool OnMouseEvent(TInputEvent& event);
    void PressRow(int index, bool right, uint16_t keyState);
    void SetHotIndex(int index);
    int KeyTarget(char key) const;

    CVirtualListBodyUI* m_rows;  // the List's body; owned as its child
    IVirtualListSource* m_source = nullptr;  // not owned
    int m_count = 0;
    int m_current = -1;
    int m_anchor = -1;
    int m_hot = -1;
    int m_pendingVisible = -1;  // EnsureVisible asked before the body had a size
    int m_fixedRowHeight = 0;  // "itemheight"; 0: from the item font
    bool m_multiSelect = false;
    CRowSelection m_selection;
    mutable long long m_rowsFilled = 0;
    mutable TVirtualRow m_scratch;  // what FillRow writes into; its texts keep their buffers
    mutable bool m_filling = false;
    int m_deferredCount = -1;  // SetRowCount called during a fill
    bool m_deferredRefresh = false;  // RefreshRows called during a fill

    static CAttributeTable<CVirtualListUI> OwnAttributes();
};

}  // namespace SkinUI
