// A scrolling list of rows under an optional header of resizable captions ("List" in the skin).
//
// The list is a vertical layout with exactly two children of its own: a CListHeaderUI on top and a
// CListBodyUI (the rows) below. Its child interface is routed: captions go to the header, a
// "ListHeader" replaces an empty header, everything else is a row of the body, numbered (lazily:
// a removal costs the rows it touches, not every row after it) and owned by the list; ChildAt and ChildCount address
// the rows. The header's caption positions become the column extents of the list's item style at every layout, shifted
// with the body's horizontal scroll. The header and the body themselves cannot be removed.
//
// Selection is single: the keyboard (arrows, Home, End, Page Up/Down) and the wheel (with
// "scrollselect") move it, "itemselect" announces it, and the body scrolls to keep it in view.
#pragma once

#include <vector>

#include "controls/list/ListInterfaces.h"
#include "controls/list/ListItemCore.h"
#include "controls/layout/VerticalLayout.h"

namespace SkinUI {

class CListHeaderUI;
class CListUI;

class CListBodyUI : public CVerticalLayoutUI {
public:
    explicit CListBodyUI(CListUI* owner)
        : m_owner(owner)
    {
    }

    void SetPosition(const CRectUI& rect) override;
    void SetScrollPosition(const CSizeUI& position) override;
    void OnEvent(TInputEvent& event) override;

    // The width every row gets at least: the widest row, or the header's width when it has captions.
    int GetWidestRow() const { return m_widest; }
    // `count` rows from `first` on leave in one pass (the container's own removal).
    bool RemoveRows(int first, int count);
    // `count` rows from `first` on move to start at `newFirst` (counted without them).
    bool MoveRows(int first, int count, int newFirst);
    // A row asked for is laid out where it belongs now, in view or not.
    void UpdateChildPlace(CControlUI* child) override;
    // The rows from `index` on are measured again at the next layout (the rows' look changed).
    void ForgetMeasuresFrom(int index);
    // The rows' sizes are kept between layouts: a row added, moved or changed is measured again,
    // the others are not.
    void OnChildChanged(CControlUI* child) override;
    bool InsertChild(CControlUI* control, int index) override;
    bool MoveChild(CControlUI* control, int newIndex) override;
    bool RemoveChild(CControlUI* control) override;
    bool RemoveChildAt(int index) override;
    void RemoveAllChildren() override;
    // A row hidden or shown while the body was hidden told nobody: shown again, every row is
    // counted again.
    void SetVisible(bool visible) override;
    void SetVisibleByParent(bool visible) override;

protected:
    // A row out of view that was laid out before only records its rectangle: its content is laid
    // out again when it comes into view.
    void PlaceChild(CControlUI* child, const CRectUI& rect) override;
    // A row's size as the last layout measured it, while the row and the width stay the same.
    CSizeUI MeasureChild(int index, CControlUI* child, const CSizeUI& available) override;
    void OnChildMeasured(CControlUI* child, const CSizeUI& measured) override;
    int CrossSizeOf(CControlUI* child, int crossAvailable, const CRectUI& padding) override;
    void FinishLayout(CRectUI& client, int content) override;
    // Only the rows that overlap the rectangle inside the client area, found by their place in
    // the stack.
    void ChildrenMeeting(const CRectUI& rect, int& first, int& end) const override;
    // Only the rows shown before or after the scroll move; the others stay outside the view,
    // where nothing looks, until they come into it or UpdateChildPlace asks for one.
    void ScrollChildren(int dx, int dy) override;

private:
    // What the body keeps of a row between layouts, by row index: its measured size, and the room
    // it takes in the stack.
    struct TRowMeasure {
        CSizeUI size;
        int height;  // the size's height within the row's limits
        int extent;  // paddings, height and the gap after it; 0 when hidden
        int width;  // what the row asks across, for the widest row; 0 when hidden
        bool known;  // size measured at m_measuredWidth, m_measuredDpi and m_measuredFonts
        bool counted;  // height, extent and width follow from the size and the row as it is
        bool irregular;  // floating, sharing the room left, or with a negative padding
    };
    // The stack at row i: where its room starts below the client's top with no scroll, its
    // height as counted, and over rows [0, i) the widest one and how many are irregular. One
    // more than the rows: the last holds the totals.
    struct TStackEntry {
        int top;
        int height;
        int widest;
        int irregular;
    };

    // Before rows never measured at this width are laid out: shows the hidden vertical bar when
    // the rows that fill the view already overflow it, so the rows are laid out once, not again
    // when the bar comes.
    void ShowBarForOverflow(const CRectUI& rect);
    // Measures again the rows that must be, when the width, DPI or fonts changed all of them.
    void KeepMeasuresFor(int width);
    // Counts every row that changed since the last layout and rebuilds the stack from the first
    // of them.
    void UpdateStack(const CSizeUI& available, std::vector<int>& counted);
    void CountRow(int index, const CSizeUI& available);
    // Lays the rows out from the stack: only rows in view, or that were, are placed. False, doing
    // nothing, when an irregular row needs the full layout.
    bool LayOutStack(const CRectUI& rect);
    // The stack is the one the rows were last placed from, and nothing changed since.
    bool StackKnown() const;
    // The rows [first, end) whose room meets [top, bottom) of the client at today's scroll.
    void StackedMeeting(int top, int bottom, int& first, int& end) const;
    // Where today's scroll puts the row at `index`, from the stack.
    CRectUI StackedPlace(int index);
    // Puts the row at `index` where the stack puts it: when it is not there, or laid out whole
    // wherever it is (a row asked for).
    void PlaceStacked(int index, bool whole);
    // Places the rows shown before (m_shownFirst..m_shownEnd) and in view now, and keeps the
    // latter as the rows shown.
    void PlaceRowsShown();
    // What the body keeps by row index follows an insertion of `count` rows at `index`, or a
    // removal of -count rows from it.
    void ShiftRows(int index, int count);

    CListUI* m_owner;  // not owned; the list owns the body
    bool m_stacking = false;  // a layout is under way
    bool m_stackPlaced = false;  // the last layout placed the rows from the stack
    bool m_scrolling = false;  // inside SetScrollPosition
    // The scroll the rows were last moved by: the bars' values, unless a bar was set directly.
    CSizeUI m_applied;
    // By row index: what the rows measured at m_measuredWidth, m_measuredDpi and m_measuredFonts,
    // up to the first row that changed place since.
    std::vector<TRowMeasure> m_measures;
    int m_measuredWidth = -1;
    int m_measuredDpi = 0;
    unsigned m_measuredFonts = 0;  // the host's FontChanges() when measured
    // Rows [0, m_countedEnd) were counted, but for the ones listed in m_changedRows; the stack
    // holds them from m_stackFrom up.
    int m_countedEnd = 0;
    int m_stackFrom = 0;
    // Insertions and removals since the last layout that moved the measures after them; past a
    // few, a bulk change measures again from its first row instead of moving them each time.
    int m_shiftsKept = 0;
    static const int kMaxKeptShifts = 8;
    int m_countedGap = 0;  // the child padding, in pixels, they were counted with
    std::vector<int> m_changedRows;
    std::vector<TStackEntry> m_stack;  // see TStackEntry; empty until a layout
    // Where the last layout put the stack: the client, the width across and the widest row.
    CRectUI m_stackClient;
    int m_crossAvailable = 0;
    int m_stackWidest = 0;
    // Rows [m_shownFirst, m_shownEnd) were placed in view by the last layout or scroll.
    int m_shownFirst = 0;
    int m_shownEnd = 0;
    // Counts insertions, removals and moves of rows: a placement, whose rows' listeners may make
    // them, learns whether the rows changed under it.
    unsigned m_rowEdits = 0;
    int m_widest = 0;
    bool m_widestFromHeader = false;
    bool m_replacing = false;  // laying out again after the horizontal bar came or went
};

class CListUI : public CVerticalLayoutUI, public IListUI {
public:
    CListUI();

    const char* GetTypeName() const override;
    static constexpr const char* kCastName = "List";
    void* CastTo(const char* name) override;
    // A tab stop of its own: from the keyboard, its rows are chosen with the arrows.
    unsigned GetCapabilities() const override;
    void SetPosition(const CRectUI& rect) override;
    void OnEvent(TInputEvent& event) override;
    void SetAttribute(const char* name, const char* value) override;
    static void AppendAttributeNames(TAttributeNames& names);

    // IContainerUI, routed
    CControlUI* ChildAt(int index) const override;
    int IndexOfChild(const CControlUI* control) const override;
    bool MoveChild(CControlUI* control, int newIndex) override;
    int ChildCount() const override;
    bool AddChild(CControlUI* control) override;
    bool InsertChild(CControlUI* control, int index) override;
    bool RemoveChild(CControlUI* control) override;
    bool RemoveChildAt(int index) override;
    void RemoveAllChildren() override;

    // Rows, scrolling and scroll bars are the body's.
    int GetChildPadding() const override;
    void SetChildPadding(int padding) override;
    int FindSelectableChild(int index, bool forward) const override;
    CSizeUI GetScrollPosition() const override;
    CSizeUI GetScrollExtent() const override;
    void SetScrollPosition(const CSizeUI& position) override;
    void ScrollLineUp() override;
    void ScrollLineDown() override;
    void ScrollPageUp() override;
    void ScrollPageDown() override;
    void ScrollToTop() override;
    void ScrollToBottom() override;
    void ScrollLineLeft() override;
    void ScrollLineRight() override;
    void ScrollPageLeft() override;
    void ScrollPageRight() override;
    void ScrollToLeftEnd() override;
    void ScrollToRightEnd() override;
    void SetScrollBarsEnabled(bool vertical, bool horizontal) override;
    CScrollBarUI* GetVerticalScrollBar() const override;
    CScrollBarUI* GetHorizontalScrollBar() const override;

    // IListOwnerUI
    TListItemStyle* GetItemStyle() override { return &m_itemStyle; }
    int GetCurrentIndex() const override { return m_currentIndex; }
    bool SelectItem(int index, bool takeFocus) override;
    void ForwardEvent(TInputEvent& event) override { OnEvent(event); }
    int RowIndex(const CControlUI* row, int stored) override;

    // IListUI
    CContainerUI* GetHeader() const override;
    CContainerUI* GetBody() const override;
    int GetExpandedIndex() const override { return m_expandedIndex; }
    bool ExpandItem(int index, bool expand) override;
    IListTextProvider* GetTextProvider() const override { return m_textProvider; }
    void SetTextProvider(IListTextProvider* provider) override { m_textProvider = provider; }

    // Scrolls the body so that the row at `index` lies inside its client area.
    virtual void EnsureVisible(int index);
    // A caption was clicked and "headerclick" delivered; the list is alive. Lists that sort
    // through the program announce the column here.
    virtual void OnHeaderClick(int /*column*/) { }
    // Moves the captions left by dx (the body scrolled right by dx) and copies their positions
    // into the column extents, at most kMaxListColumns of them.
    void ShiftCaptions(int dx);
    bool IsScrollSelect() const { return m_scrollSelect; }
    // Called by the header after every layout of its own.
    void OnHeaderLaidOut();

protected:
    // For lists whose body lays its rows out differently: `makeBody` gets the list under
    // construction and answers the body the list will own.
    typedef CListBodyUI* (*BodyFactory)(CListUI* owner);
    explicit CListUI(BodyFactory makeBody);
    // Takes `count` rows from `first` on out in one pass; the selection follows as for one row.
    bool RemoveRows(int first, int count);
    // Counts every insertion, move and removal of rows: a walk that raised events compares it to
    // learn whether a listener changed the rows under it.
    unsigned RowChanges() const { return m_rowChanges; }
    bool IsCaption(const CControlUI* control) const;
    // The body's rows from `first` on, `count` of them, move as a block to start at `newFirst`
    // (counted without the block); the indexes and the selection follow.
    bool MoveRows(int first, int count, int newFirst);

private:
    // The row's position in the body, found without a search for rows numbered by this list.
    int RowPosition(const CControlUI* control) const { return m_numbering.PositionOf(this, control); }
    // Rows from `index` on may hold stale indexes now.
    void RowsShiftedFrom(int index);
    bool OnKeyDown(char key);
    bool ReplaceHeader(CListHeaderUI* header);
    void UpdateColumnCount();
    void LayOut(const CRectUI& rect);
    // Shows a hidden header's captions for the duration of a column refresh.
    void SetCaptionsShown(bool shown);

    bool m_scrollSelect = false;
    int m_currentIndex = -1;
    int m_expandedIndex = -1;
    IListTextProvider* m_textProvider = nullptr;  // not owned
    CListBodyUI* m_body;  // owned as a child
    CListHeaderUI* m_header;  // owned as a child
    TListItemStyle m_itemStyle;
    bool m_multiExpanding = false;
    bool m_layingOut = false;  // inside SetPosition
    CRowNumbering m_numbering;  // of the body's rows
    unsigned m_rowChanges = 0;

    static CAttributeTable<CListUI> OwnAttributes();
};

}  // namespace SkinUI
