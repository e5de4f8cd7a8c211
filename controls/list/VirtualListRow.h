// What a virtual list shows of one row, and the recycled control that shows it.
//
// The program never holds a row control: it answers IVirtualListSource::FillRow with a
// TVirtualRow, and the list keeps one CVirtualListRowUI per line of its view, binding each to
// whichever row scrolls into that line. A bound row paints exactly as a text row of a List (same
// item style, same columns, same state colours), because it is one.
#pragma once

#include "controls/list/ListTextElement.h"

namespace SkinUI {

// One row as the program describes it. FillRow gets it cleared: every text empty, no image,
// enabled.
struct TVirtualRow {
    CUIString texts[kMaxListColumns];  // one per header column; extra columns are not shown
    CUIString image;  // image attribute string drawn over the row ("dest" places it), or empty
    bool enabled = true;  // a disabled row shows the disabled look and cannot become current

    void Clear();
};

// The program's side of a virtual list.
class IVirtualListSource {
public:
    // Describes row `index` (0 <= index < the row count). Called for rows coming into view, for
    // rows the program refreshes, and for rows the keyboard passes over to learn whether they are
    // enabled. It may change the list (count, refresh): the list applies that once the fill is done.
    virtual void FillRow(int index, TVirtualRow& row) = 0;

protected:
    ~IVirtualListSource() = default;
};

class CVirtualListRowUI : public CListTextElementUI {
public:
    static const int kUnbound = -1;

    CVirtualListRowUI();

    const char* GetTypeName() const override;
    static constexpr const char* kCastName = "VirtualListRow";
    void* CastTo(const char* name) override;
    CSizeUI MeasureSize(CSizeUI available) override;

    // The row it shows, or kUnbound.
    int BoundIndex() const { return m_bound ? m_item.index : kUnbound; }
    // Shows row `index` as `row` describes it; the caller repaints.
    void Bind(int index, const TVirtualRow& row);
    void Unbind() { m_bound = false; }
    // Moves the row without repainting: the body repaints its whole view when it re-places rows.
    void Place(const CRectUI& rect) { m_position = rect; }
    const CUIString& Text(int column) const;
    // The list's selection and hover for this row, without repainting.
    void SetLook(bool selected, bool hot);
    // Height the list gives every row; 0 until it has measured one.
    void SetRowHeight(int height)
    {
        if (height == m_rowHeight)
            return;
        m_rowHeight = height;
        NoteChangeToParent();
    }
    // Height of a row in the owner's item style: the row font's text height and padding.
    int NaturalHeight() { return RowHeight(); }

private:
    CUIString m_texts[kMaxListColumns];
    bool m_bound = false;
    int m_rowHeight = 0;
};

// Answers a bound virtual row's own texts: the text provider of every virtual list.
IListTextProvider& VirtualRowTexts();

}  // namespace SkinUI
