// The item state every row kind carries (index, selection, hot state, owner) and the behaviour the
// row kinds share: selection, activation, the press and hover handling, the background painted
// from the owner's style and the text colour of the current state.
//
// A row holds one CListItemCore bound to itself; CListElementUI (a plain control) and
// CListContainerElementUI (a container) differ only in what they inherit, so they delegate here
// instead of repeating it.
#pragma once

#include "controls/base/Control.h"
#include "controls/list/ListInterfaces.h"

namespace SkinUI {

class CControlUI;

class CListItemCore {
public:
    explicit CListItemCore(CControlUI& row)
        : m_row(row)
    {
    }
    CListItemCore(const CListItemCore&) = delete;
    CListItemCore& operator=(const CListItemCore&) = delete;

    int index = -1;  // as last numbered: read it through Index()
    bool selected = false;
    unsigned itemState = 0;  // only StateHot
    IListOwnerUI* owner = nullptr;  // not owned

    void SetOwner(CControlUI* ownerControl);
    // The row's position among its owner's rows.
    int Index() const { return owner != nullptr ? owner->RowIndex(&m_row, index) : index; }
    // A disabled row cannot be selected, but deselecting always clears the mark, so an owner
    // moving its selection away never leaves a second row marked.
    bool Select(bool select);
    // After the row's visibility changed: a row that is now hidden gives up the selection.
    void AfterVisibilityChange();
    // "itemactivate"; the caller has checked that the row is visible and enabled.
    void Activate();
    // Press, hover, double click and Return; true when handled (the row may be gone then: a
    // listener of the notifications may have destroyed it).
    bool HandleRowEvent(TInputEvent& event);
    // Hands an unhandled event to the owner; false when there is none.
    bool Forward(TInputEvent& event);
    void DrawBackground(HDC hdc);
    uint32_t TextColor() const;
    TListItemStyle* Style() const { return owner != nullptr ? owner->GetItemStyle() : nullptr; }

private:
    CControlUI& m_row;
};

// One line of text inside `rect` shrunk by `padding`: markup (its links inert) when `html`, else
// plain text in the host font `font`.
void PaintTextLine(HDC hdc, CWindowHostUI* host, const CRectUI& rect, const CRectUI& padding, const char* text,
    uint32_t color, int font, unsigned style, bool html);

// Paints a control as if it stood at `rect` and puts it back where it was: how an owner shows a
// row that has no text of its own.
void PaintControlAt(CControlUI& control, HDC hdc, const CRectUI& rect);

// Row numbering shared by the owners. `rows` is the container that holds the rows (the owner
// itself, or a list's body).
// Gives a control its owner and index when it is a row; other controls are left alone.
void NumberRow(CControlUI* row, CControlUI* owner, int index);
// Sets every row between the two positions (inclusive, either order) to its position.
void RenumberRows(const CContainerUI& rows, int from, int to);
// Moves a row within `rows` (the container's own move, whatever `rows` overrides), renumbers the
// rows between and keeps the selection on the row that had it. A refused move changes nothing.
bool MoveRow(CContainerUI& rows, CControlUI* row, int newIndex, int& currentIndex);
// After `count` rows from `index` on left: when the selected row was among them, the selection goes
// to the row now at `index`, else the nearest selectable row before it, else after it; a selection
// after them moves up.
void SelectionAfterRemoval(const CContainerUI& rows, IListOwnerUI& owner, int index, int count, int& currentIndex);

// An owner's rows numbered lazily: a change only marks where stale indexes may start, and reading
// a row's index numbers the rows from there up to it, so a run of insertions or removals working
// down the rows pays for each row it passes once, not for every row after each change.
class CRowNumbering {
public:
    // `rows` holds the rows (the owner itself, or a list's body) and outlives this.
    explicit CRowNumbering(const CContainerUI& rows)
        : m_rows(rows)
    {
    }
    CRowNumbering(const CRowNumbering&) = delete;
    CRowNumbering& operator=(const CRowNumbering&) = delete;

    // What IListOwnerUI::RowIndex answers: the row's position, given the index it holds.
    int RowIndex(const CControlUI* row, int stored);
    // Where `control` lies among the rows: a row of `owner` by its index, anything else by a search.
    int PositionOf(const IListOwnerUI* owner, const CControlUI* control) const;
    // Rows from `index` on may hold stale indexes now.
    void ShiftedFrom(int index)
    {
        if (index < m_numberedUpTo)
            m_numberedUpTo = index;
    }
    // A row went in at `index` and was numbered there: the rows after it wait.
    void Inserted(int index);

private:
    const CContainerUI& m_rows;
    int m_numberedUpTo = 0;  // rows before this position hold their right index
};

}  // namespace SkinUI
