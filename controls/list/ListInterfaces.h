// What list owners (the combo, the list control) and their rows know of each other.
//
// An owner hands its rows one TListItemStyle record to paint with and numbers them: a row's index
// is its position among the owner's rows, as the owner answers it (RowIndex) whenever it is read. A row reaches its
// owner only through IListOwnerUI, and the owner its rows only through IListItemUI (ControlCast<IListItemUI>), so rows
// of any kind can live in any owner. Column rectangles are host client coordinates, refreshed by the list from its
// header captions at every layout.
#pragma once

#include <windows.h>

#include <cstdint>

#include "core/AttributeTable.h"
#include "core/Geometry.h"
#include "core/UIString.h"
#include "host/Events.h"

namespace SkinUI {

class CControlUI;
class CContainerUI;

const int kMaxListColumns = 32;

struct TListItemStyle {
    int columnCount = 0;
    CRectUI columnRects[kMaxListColumns];
    int itemFont = -1;  // host font index
    unsigned itemTextStyle = DT_VCENTER;
    CRectUI itemTextPadding;
    uint32_t itemTextColor = 0xFF000000;
    uint32_t itemBkColor = 0;
    CUIString itemBkImage;
    bool alternateBk = false;
    uint32_t selectedTextColor = 0xFF000000;
    uint32_t selectedBkColor = 0xFFC1E3FF;
    CUIString selectedImage;
    uint32_t hotTextColor = 0xFF000000;
    uint32_t hotBkColor = 0xFFE9F5FF;
    CUIString hotImage;
    uint32_t disabledTextColor = 0xFFCCCCCC;
    uint32_t disabledBkColor = 0xFFFFFFFF;
    CUIString disabledImage;
    uint32_t lineColor = 0;
    bool showHtml = false;
    bool multiExpandable = false;
};

// What one item style attribute asked of its owner.
enum class TItemStyleChange {
    NotStyle,  // not an item style attribute
    Stored,  // stored; the look of the rows may have changed
    TextPadding,  // "itemtextpadding"
    TextColor,  // "itemtextcolor"
    ShowHtmlChanged,  // "itemshowhtml" with a new value
};

// Stores one of the item style attributes shared by every owner ("itemfont", "itemalign", ...).
TItemStyleChange ApplyItemStyleAttribute(TListItemStyle& style, const char* name, const char* value);
void AppendItemStyleAttributeNames(TAttributeNames& names);
// The "left"/"center"/"right" alignment rule shared by rows and captions.
unsigned ApplyAlignment(unsigned textStyle, const char* value);

// ControlCast<IListOwnerUI>.
class IListOwnerUI {
public:
    static constexpr const char* kCastName = "IListOwner";

    virtual TListItemStyle* GetItemStyle() = 0;
    virtual int GetCurrentIndex() const = 0;
    virtual bool SelectItem(int index, bool takeFocus) = 0;
    // Lets a row pass an input event it does not handle to its owner.
    virtual void ForwardEvent(TInputEvent& event) = 0;
    // A row's position, given the index it holds. An owner may bring the indexes up to date only
    // when a row reads its own, so that a removal does not renumber every row after it; one that
    // numbers at once answers `stored`.
    virtual int RowIndex(const CControlUI* /*row*/, int stored) { return stored; }

protected:
    ~IListOwnerUI() = default;
};

// ControlCast<IListItemUI>.
class IListItemUI {
public:
    static constexpr const char* kCastName = "ListItem";

    virtual int GetIndex() const = 0;
    virtual void SetIndex(int index) = 0;
    virtual IListOwnerUI* GetOwner() const = 0;
    virtual void SetOwner(CControlUI* owner) = 0;
    virtual bool IsSelected() const = 0;
    virtual bool Select(bool select) = 0;
    virtual bool IsExpanded() const = 0;
    virtual bool Expand(bool expand) = 0;
    // Draws the row's text in `rect` with the owner's style.
    virtual void DrawItemText(HDC hdc, const CRectUI& rect) = 0;

protected:
    ~IListItemUI() = default;
};

// Supplies the text of a row's column instead of the row's own texts.
class IListTextProvider {
public:
    virtual CUIString GetItemText(CControlUI* row, int index, int column) = 0;

protected:
    ~IListTextProvider() = default;
};

// ControlCast<IListUI>: an owner with a header, a body and expandable rows.
class IListUI : public IListOwnerUI {
public:
    static constexpr const char* kCastName = "IList";

    virtual CContainerUI* GetHeader() const = 0;
    virtual CContainerUI* GetBody() const = 0;
    virtual int GetExpandedIndex() const = 0;
    virtual bool ExpandItem(int index, bool expand) = 0;
    virtual IListTextProvider* GetTextProvider() const = 0;
    virtual void SetTextProvider(IListTextProvider* provider) = 0;

protected:
    ~IListUI() = default;
};

}  // namespace SkinUI
