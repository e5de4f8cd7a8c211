// Containers: the child-list interface every container offers, and the control that owns a list
// of children.
//
// CContainerUI owns its children (unless told otherwise) and up to two scroll bars. Positions are
// client coordinates of the host window; the client rectangle of a container is its position minus
// `inset` and minus the thickness of each visible scroll bar. The container keeps no scroll offset
// of its own: the bars hold it, and scrolling moves the non-floating children by the change of a
// bar's value. Layout runs lazily: setters only request it, and the host calls SetPosition at the
// next paint. Concrete layouts (vertical, horizontal, ...) replace SetPosition and use
// PlaceFloatingChild and UpdateScrollBars.
//
// Units: inset and child padding are 96-DPI units like every length a control keeps (see Control.h);
// scroll positions, ranges and extents are pixels of the host window, since they measure laid-out
// content.
//
// Removed children are destroyed through the host's deferred-destroy queue when attached, so a
// control may remove itself from inside its own event handler.
#pragma once

#include "controls/base/Control.h"
#include "core/Geometry.h"
#include "core/PtrVector.h"

namespace SkinUI {

class CScrollBarUI;

// The child list as seen by code that does not know the concrete container (skin builder, tabs,
// lists). Obtained with ControlCast<IContainerUI>; containers are never deleted through it.
class IContainerUI {
public:
    static constexpr const char* kCastName = "IContainer";

    virtual CControlUI* ChildAt(int index) const = 0;
    virtual int IndexOfChild(const CControlUI* control) const = 0;
    // Validates newIndex before touching the list: a bad index answers false and changes nothing.
    virtual bool MoveChild(CControlUI* control, int newIndex) = 0;
    virtual int ChildCount() const = 0;
    virtual bool AddChild(CControlUI* control) = 0;
    virtual bool InsertChild(CControlUI* control, int index) = 0;
    virtual bool RemoveChild(CControlUI* control) = 0;
    virtual bool RemoveChildAt(int index) = 0;
    virtual void RemoveAllChildren() = 0;

protected:
    ~IContainerUI() = default;
};

class CContainerUI : public CControlUI, public IContainerUI {
public:
    CContainerUI();
    ~CContainerUI() override;

    const char* GetTypeName() const override;
    static constexpr const char* kCastName = "Container";
    void* CastTo(const char* name) override;
    void AttachHost(CWindowHostUI* host, CControlUI* parent, bool initNow) override;
    void SetPosition(const CRectUI& rect) override;
    void SetVisible(bool visible) override;
    void SetVisibleByParent(bool visible) override;
    void SetAcceptsMouse(bool accepts) override;
    CControlUI* FindControl(FindVisitor visitor, void* data, unsigned flags) override;
    void OnEvent(TInputEvent& event) override;
    void SetAttribute(const char* name, const char* value) override;
    static void AppendAttributeNames(TAttributeNames& names);
    void Paint(HDC hdc, const CRectUI& paintRect) override;

    // IContainerUI
    CControlUI* ChildAt(int index) const override;
    int IndexOfChild(const CControlUI* control) const override;
    bool MoveChild(CControlUI* control, int newIndex) override;
    int ChildCount() const override;
    bool AddChild(CControlUI* control) override;
    bool InsertChild(CControlUI* control, int index) override;
    bool RemoveChild(CControlUI* control) override;
    bool RemoveChildAt(int index) override;
    void RemoveAllChildren() override;

    virtual CRectUI GetInset() const;
    virtual void SetInset(const CRectUI& inset);
    virtual int GetChildPadding() const;
    virtual void SetChildPadding(int padding);
    virtual bool OwnsChildren() const;
    virtual void SetOwnsChildren(bool owns);
    virtual bool DefersChildDestroy() const;
    virtual void SetDefersChildDestroy(bool defers);
    virtual bool ChildrenAcceptMouse() const;
    virtual void SetChildrenAcceptMouse(bool accepts);
    virtual int FindSelectableChild(int index, bool forward) const;
    virtual CSizeUI GetScrollPosition() const;
    virtual CSizeUI GetScrollExtent() const;
    virtual void SetScrollPosition(const CSizeUI& position);
    virtual void ScrollLineUp();
    virtual void ScrollLineDown();
    virtual void ScrollPageUp();
    virtual void ScrollPageDown();
    virtual void ScrollToTop();
    virtual void ScrollToBottom();
    virtual void ScrollLineLeft();
    virtual void ScrollLineRight();
    virtual void ScrollPageLeft();
    virtual void ScrollPageRight();
    virtual void ScrollToLeftEnd();
    virtual void ScrollToRightEnd();
    virtual void SetScrollBarsEnabled(bool vertical, bool horizontal);
    virtual CScrollBarUI* GetVerticalScrollBar() const;
    virtual CScrollBarUI* GetHorizontalScrollBar() const;
    virtual void PlaceFloatingChild(int index);
    // A container that leaves children out of view where they were (a long list scrolled) places
    // `child` where it belongs now; the others keep every child in place and do nothing.
    virtual void UpdateChildPlace(CControlUI* child);
    // This container may measure differently when a child does: the news goes on to its parent.
    void OnChildChanged(CControlUI* child) override;
    // `client` is the rectangle the layout placed children in (visible bars already excluded).
    // Only the vertical bar is shown, hidden and ranged here; requiredWidth is accepted for
    // symmetry but the horizontal range is whatever "range" or code gave it.
    virtual void UpdateScrollBars(const CRectUI& client, int requiredWidth, int requiredHeight);

protected:
    // Position minus inset.
    CRectUI InsetRect() const;
    // The own child list. Internal walks use it rather than the virtual ChildAt, which a container
    // that routes its child interface elsewhere (a list addresses its rows) answers differently.
    CControlUI* OwnChild(int index) const { return static_cast<CControlUI*>(m_children.GetAt(index)); }
    // Position minus inset minus the thickness of each visible bar.
    CRectUI ClientRect() const;
    // Visible children: floating ones by their own rule, the others all get `inner`.
    void PlaceChildren(const CRectUI& inner);
    // Where a layout or a scroll puts a non-floating child. A container of many children may only
    // record the rectangle of one it does not show (a list body's rows out of view).
    virtual void PlaceChild(CControlUI* child, const CRectUI& rect);
    // Moves the non-floating shown children by (-dx, -dy) after the bars scrolled by (dx, dy).
    virtual void ScrollChildren(int dx, int dy);
    // The shown children that may meet `rect` lie in [first, end); each is still tested against it.
    // A paint and a hit test look only there. All of them here; a container that knows its
    // children's order on screen may narrow the range.
    virtual void ChildrenMeeting(const CRectUI& rect, int& first, int& end) const;
    // Removes `count` children from `first` on in one pass, without looking them up: what a
    // container that knows its children's positions uses, so a block leaves at the cost of one.
    bool RemoveOwnChildren(int first, int count);
    bool VerticalBarShown() const;
    bool HorizontalBarShown() const;

    CPtrVectorUI m_children;  // CControlUI*, owned when m_ownsChildren; paint order
    CRectUI m_inset;  // inner margins, pixels
    int m_childPadding = 0;  // gap between consecutive non-floating children
    bool m_ownsChildren = true;
    bool m_defersChildDestroy = true;
    bool m_childrenAcceptMouse = true;
    bool m_scrollBarsUpdating = false;  // set while UpdateScrollBars re-lays out after showing the bar
    CScrollBarUI* m_verticalScrollBar = nullptr;  // owned, never in m_children
    CScrollBarUI* m_horizontalScrollBar = nullptr;  // owned, never in m_children

private:
    void ReleaseChild(CControlUI* child);
    int ScrollLineStep() const;
    void ScrollBy(int dx, int dy);
    // Client height (width) of one page: position minus inset minus the other bar when shown.
    int PageHeight() const;
    int PageWidth() const;

    static CAttributeTable<CContainerUI> OwnAttributes();
};

// The control's position, after every container above it placed what it left out of date: what
// code outside the layouts reads (a screen reader's rectangle, the focus cue).
const CRectUI& CurrentPosition(CControlUI* control);

}  // namespace SkinUI
