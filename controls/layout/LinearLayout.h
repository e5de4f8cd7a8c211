// The shared engine of the vertical and horizontal layouts.
//
// A linear layout places its non-floating children one after another along its main axis (y for
// vertical, x for horizontal): children with a fixed main size keep it (clamped to their limits),
// the others share what is left, and the last adjustable child takes the remainder as the shares
// left it. Paddings, the container's inset and childPadding are honoured; the scroll bars' values
// shift the children, and the measured content length goes to UpdateScrollBars. All arithmetic is
// integer arithmetic truncating toward zero. Positions are host client coordinates.
//
// A layout may carry a separator strip on one of its own edges (bottom/top for vertical, right/left
// for horizontal) with which the user resizes the layout itself. While dragging, only a translucent
// preview of the strip moves (painted as an overlay) unless "sepimm" asks for an immediate resize;
// at release the new length becomes the layout's fixed size and the parent re-lays out.
//
// The two public classes differ only in their axis, their names ("sepheight" or "sepwidth" for the
// separator among them) and a few edge rules that skins rely on (see the .cpp), so both derive from
// this one class.
#pragma once

#include "controls/base/Container.h"

namespace SkinUI {

class CLinearLayoutUI : public CContainerUI {
public:
    unsigned GetCapabilities() const override;
    void SetPosition(const CRectUI& rect) override;
    void OnEvent(TInputEvent& event) override;
    void SetAttribute(const char* name, const char* value) override;
    static void AppendAttributeNames(TAttributeNames& names);
    void PaintOverlay(HDC hdc, const CRectUI& paintRect) override;

    // The strip on the layout's edge; with useNewPosition during a drag, where the drag would put it.
    CRectUI GetSeparatorRect(bool useNewPosition) const;

    int GetSeparatorSize() const { return m_separatorSize; }
    void SetSeparatorSize(int size) { m_separatorSize = size; }
    bool IsImmediateResize() const { return m_immediateResize; }
    void SetImmediateResize(bool immediate);
    bool IsDraggingSeparator() const { return (m_dragState & kDragging) != 0; }

protected:
    explicit CLinearLayoutUI(bool vertical);

    // Layout steps a specialised layout may replace (a list body gives every row one width).
    // The size of the child at `index`, asked in both passes with the same width available.
    virtual CSizeUI MeasureChild(int index, CControlUI* child, const CSizeUI& available);
    // Each visible, non-floating child's size as measured in the first pass.
    virtual void OnChildMeasured(CControlUI* child, const CSizeUI& measured);
    // The size across the main axis: the fixed one, or what the client leaves beside the padding.
    virtual int CrossSizeOf(CControlUI* child, int crossAvailable, const CRectUI& padding);
    // With every child placed: the bars for `content` pixels along the main axis.
    virtual void FinishLayout(CRectUI& client, int content);

private:
    static const unsigned kDragging = 0x40;

    bool OnSeparatorEvent(TInputEvent& event);
    void DragSeparatorTo(POINT point);

    const bool m_vertical;
    int m_separatorSize = 0;  // 0: none; > 0: bottom/right strip; < 0: top/left strip of |size|
    unsigned m_dragState = 0;  // kDragging while the separator is held
    POINT m_lastMousePoint = {0, 0};
    CRectUI m_newPosition;  // own rectangle as the drag would leave it, client coordinates
    bool m_immediateResize = false;

    static CAttributeTable<CLinearLayoutUI> OwnAttributes();
};

}  // namespace SkinUI
