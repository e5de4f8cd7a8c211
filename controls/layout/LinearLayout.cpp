#include "controls/layout/LinearLayout.h"

#include "controls/layout/LayoutLimits.h"
#include "controls/range/ScrollBar.h"
#include "core/DpiScale.h"
#include "core/ValueParse.h"
#include "host/WindowHost.h"
#include "render/RenderKit.h"

namespace SkinUI {

namespace {

// Views of points, sizes and rectangles along the layout's main axis and across it.
struct TAxis {
    bool vertical;

    LONG& Main(SIZE& s) const { return vertical ? s.cy : s.cx; }
    LONG& Cross(SIZE& s) const { return vertical ? s.cx : s.cy; }
    LONG Main(POINT p) const { return vertical ? p.y : p.x; }
    LONG& Lo(RECT& r) const { return vertical ? r.top : r.left; }
    LONG& Hi(RECT& r) const { return vertical ? r.bottom : r.right; }
    LONG Lo(const RECT& r) const { return vertical ? r.top : r.left; }
    LONG Hi(const RECT& r) const { return vertical ? r.bottom : r.right; }
    LONG CrossLo(const RECT& r) const { return vertical ? r.left : r.top; }
    LONG CrossHi(const RECT& r) const { return vertical ? r.right : r.bottom; }
    LONG Length(const RECT& r) const { return Hi(r) - Lo(r); }
    CRectUI Make(LONG lo, LONG hi, LONG crossLo, LONG crossHi) const
    {
        return vertical ? CRectUI(crossLo, lo, crossHi, hi) : CRectUI(lo, crossLo, hi, crossHi);
    }
    // The maximum wins when the limits cross.
    int ClampMain(const CControlUI* c, int v) const
    {
        return vertical ? ClampToHeightLimits(c, v) : ClampToWidthLimits(c, v);
    }
    int ClampCross(const CControlUI* c, int v) const { return TAxis{!vertical}.ClampMain(c, v); }
    int MinMain(const CControlUI* c) const { return vertical ? c->ScaledMinHeight() : c->ScaledMinWidth(); }
    int MaxMain(const CControlUI* c) const { return vertical ? c->ScaledMaxHeight() : c->ScaledMaxWidth(); }
};

}  // namespace

CLinearLayoutUI::CLinearLayoutUI(bool vertical)
    : m_vertical(vertical)
{
}

unsigned CLinearLayoutUI::GetCapabilities() const
{
    return (IsEnabled() && m_separatorSize != 0) ? CapabilityWantsCursor : 0u;
}

void CLinearLayoutUI::SetImmediateResize(bool immediate)
{
    if (immediate == m_immediateResize)
        return;
    // A running preview would otherwise stay registered with nobody to remove it.
    if (IsDraggingSeparator() && !m_immediateResize && m_host)
        m_host->RemoveOverlayPainter(this);
    m_immediateResize = immediate;
}

CAttributeTable<CLinearLayoutUI> CLinearLayoutUI::OwnAttributes()
{
    using C = CLinearLayoutUI;
    static constexpr TAttributeHandler<C> kTable[] = {
        {"sepimm", [](C& c, const char* v) { c.SetImmediateResize(ParseFlag(v)); }},
    };
    return kTable;
}

void CLinearLayoutUI::SetAttribute(const char* name, const char* value)
{
    OwnAttributes().ApplyOrBase<CContainerUI>(*this, name, value);
}

void CLinearLayoutUI::AppendAttributeNames(TAttributeNames& names)
{
    OwnAttributes().AppendWithBase<CContainerUI>(names);
}

//--- layout --------------------------------------------------------------------------------------

void CLinearLayoutUI::SetPosition(const CRectUI& rect)
{
    const TAxis ax{m_vertical};
    CControlUI::SetPosition(rect);
    CRectUI client = InsetRect();
    // Kept as skins expect it: an empty horizontal layout reports its client before the bars
    // are taken off, an empty vertical one after.
    if (m_children.IsEmpty() && !m_vertical) {
        FinishLayout(client, 0);
        return;
    }
    const bool vbar = VerticalBarShown();
    const bool hbar = HorizontalBarShown();
    if (vbar)
        client.right -= m_verticalScrollBar->ScaledFixedWidth();
    if (hbar)
        client.bottom -= m_horizontalScrollBar->ScaledFixedHeight();
    if (m_children.IsEmpty()) {
        FinishLayout(client, 0);
        return;
    }

    CSizeUI available(client.GetWidth(), client.GetHeight());
    if (hbar)
        available.cx += m_horizontalScrollBar->GetRange();

    // First pass: what the fixed children and every padding and gap take.
    int adjustable = 0;
    int measured = 0;
    int fixedTotal = 0;
    for (int i = 0; i < m_children.GetSize(); ++i) {
        CControlUI* child = OwnChild(i);
        if (!child->IsVisible() || child->IsFloating())
            continue;
        CSizeUI s = MeasureChild(i, child, available);
        OnChildMeasured(child, s);
        CRectUI p = child->ScaledPadding();
        int main = ax.Main(s);
        if (main == 0)
            ++adjustable;
        else
            main = ax.ClampMain(child, main);
        fixedTotal += main + ax.Lo(p) + ax.Hi(p);
        ++measured;
    }
    fixedTotal += (measured - 1) * Scaled(m_childPadding);

    int share = 0;
    if (adjustable > 0) {
        share = (ax.Main(available) - fixedTotal) / adjustable;
        if (share < 0)
            share = 0;
    }

    // The vertical layout scrolls along both axes; the horizontal one ignores the vertical bar.
    int pos = ax.Lo(client);
    int crossPos = ax.CrossLo(client);
    if (m_vertical) {
        if (vbar)
            pos -= m_verticalScrollBar->GetValue();
        if (hbar)
            crossPos -= m_horizontalScrollBar->GetValue();
    } else if (hbar) {
        pos -= m_horizontalScrollBar->GetValue();
    }

    int remaining = ax.Main(available);
    const int crossAvailable = ax.Cross(available);
    // Only fixed children are taken off fixedLeft, so paddings and gaps stay in it and the last
    // adjustable child gets less than the untouched rest. Kept: skins are drawn against it.
    int fixedLeft = fixedTotal;
    int seen = 0;
    int required = 0;
    for (int i = 0; i < m_children.GetSize(); ++i) {
        CControlUI* child = OwnChild(i);
        if (!child->IsVisible())
            continue;
        if (child->IsFloating()) {
            PlaceFloatingChild(i);
            continue;
        }
        CRectUI p = child->ScaledPadding();
        remaining -= ax.Lo(p);
        CSizeUI room = available;
        ax.Main(room) = remaining;
        CSizeUI s = MeasureChild(i, child, room);
        int main = ax.Main(s);
        if (main == 0) {
            ++seen;
            main = share;
            if (seen == adjustable) {
                main = remaining - ax.Hi(p) - fixedLeft;
                if (main < 0)
                    main = 0;
            }
            main = ax.ClampMain(child, main);
        } else {
            main = ax.ClampMain(child, main);
            fixedLeft -= main;
        }
        const int cross = CrossSizeOf(child, crossAvailable, p);
        // The trailing padding lies inside the child's rectangle on the main axis only.
        const int lo = pos + ax.Lo(p);
        const int crossLo = crossPos + ax.CrossLo(p);
        PlaceChild(child, ax.Make(lo, lo + main + ax.Hi(p), crossLo, crossLo + cross));
        pos += ax.Lo(p) + main + ax.Hi(p) + Scaled(m_childPadding);
        required += ax.Lo(p) + main + ax.Hi(p);
        remaining -= main + ax.Hi(p) + Scaled(m_childPadding);
    }
    FinishLayout(client, required + (measured - 1) * Scaled(m_childPadding));
}

CSizeUI CLinearLayoutUI::MeasureChild(int /*index*/, CControlUI* child, const CSizeUI& available)
{
    return child->MeasureSize(available);
}

void CLinearLayoutUI::OnChildMeasured(CControlUI* /*child*/, const CSizeUI& /*measured*/) { }

int CLinearLayoutUI::CrossSizeOf(CControlUI* child, int crossAvailable, const CRectUI& padding)
{
    const TAxis ax{m_vertical};
    int cross = m_vertical ? child->ScaledFixedWidth() : child->ScaledFixedHeight();
    if (cross == 0)
        cross = crossAvailable - ax.CrossLo(padding) - ax.CrossHi(padding);
    if (cross < 0)
        cross = 0;
    return ax.ClampCross(child, cross);
}

void CLinearLayoutUI::FinishLayout(CRectUI& client, int content)
{
    if (m_vertical)
        UpdateScrollBars(client, 0, content);
    else
        UpdateScrollBars(client, content, 0);
}

//--- separator -----------------------------------------------------------------------------------

CRectUI CLinearLayoutUI::GetSeparatorRect(bool useNewPosition) const
{
    const CRectUI& r = (IsDraggingSeparator() && useNewPosition) ? m_newPosition : m_position;
    const int t = Scaled(m_separatorSize);
    if (m_vertical) {
        // The vertical strip never reaches beyond the layout; the horizontal one is not limited.
        if (t > 0)
            return CRectUI(r.left, r.bottom - t > r.top ? r.bottom - t : r.top, r.right, r.bottom);
        return CRectUI(r.left, r.top, r.right, r.top - t < r.bottom ? r.top - t : r.bottom);
    }
    if (t > 0)
        return CRectUI(r.right - t, r.top, r.right, r.bottom);
    return CRectUI(r.left, r.top, r.left - t, r.bottom);
}

void CLinearLayoutUI::OnEvent(TInputEvent& event)
{
    if (m_separatorSize == 0 || !OnSeparatorEvent(event))
        CContainerUI::OnEvent(event);
}

bool CLinearLayoutUI::OnSeparatorEvent(TInputEvent& event)
{
    switch (event.Type) {
    case InputEventKind::ButtonDown:
        if (!IsEnabled() || !GetSeparatorRect(false).Contains(event.MousePoint))
            return false;
        m_dragState |= kDragging;
        m_lastMousePoint = event.MousePoint;
        m_newPosition = m_position;
        if (!m_immediateResize && m_host)
            m_host->AddOverlayPainter(this);
        return true;
    case InputEventKind::ButtonUp:
        if (!IsDraggingSeparator())
            return false;
        m_dragState &= ~kDragging;
        // Assigned without SetPosition: the parent's re-layout below places the layout properly.
        // A drag the host cancelled leaves the old size, unless it was applied while dragging.
        if (!event.Cancelled)
            m_position = m_newPosition;
        if (!m_immediateResize && m_host)
            m_host->RemoveOverlayPainter(this);
        RequestParentLayout();
        return true;
    case InputEventKind::MouseMove:
        if (!IsDraggingSeparator())
            return false;
        DragSeparatorTo(event.MousePoint);
        return true;
    case InputEventKind::SetCursor:
        if (!IsEnabled() || !GetSeparatorRect(false).Contains(event.MousePoint))
            return false;
        ::SetCursor(::LoadCursorA(nullptr, m_vertical ? IDC_SIZENS : IDC_SIZEWE));
        return true;
    default:
        return false;
    }
}

void CLinearLayoutUI::DragSeparatorTo(POINT point)
{
    const TAxis ax{m_vertical};
    const int d = ax.Main(point) - ax.Main(m_lastMousePoint);
    m_lastMousePoint = point;
    const int at = ax.Main(point);
    const int t = Scaled(m_separatorSize);
    CRectUI r = m_newPosition;
    // The pointer must have crossed the edge in the direction it moves. The thresholds differ
    // between the axes (bottom + t against right - t); kept as the layouts always behaved.
    if (t > 0) {
        const int edge = ax.Hi(m_newPosition);
        const int farSide = m_vertical ? edge + t : edge - t;
        if ((d > 0 && at < farSide) || (d < 0 && at > edge))
            return;
        ax.Hi(r) += d;
    } else {
        const int edge = ax.Lo(m_newPosition);
        const int farSide = m_vertical ? edge + t : edge - t;
        if ((d > 0 && at < edge) || (d < 0 && at > farSide))
            return;
        ax.Lo(r) += d;
    }
    const int minimum = ax.MinMain(this);
    const int maximum = ax.MaxMain(this);
    const int oldLength = ax.Length(m_newPosition);
    // The moving edge stops at the limits; once there, further moves that way are ignored.
    auto setLength = [&](int length) {
        if (t > 0)
            ax.Hi(r) = ax.Lo(r) + length;
        else
            ax.Lo(r) = ax.Hi(r) - length;
    };
    if (ax.Length(r) <= minimum) {
        if (oldLength <= minimum)
            return;
        setLength(minimum);
    }
    if (ax.Length(r) >= maximum) {
        if (oldLength >= maximum)
            return;
        setLength(maximum);
    }
    CRectUI dirty = GetSeparatorRect(true);
    m_newPosition = r;
    // Stored directly (in 96-DPI units): a layout request now would resize the layout before the
    // drag ends.
    const int dpi = m_host != nullptr ? m_host->GetDpi() : kBaseDpi;
    if (m_vertical)
        m_fixedSize.cy = ScaleFromDpi(r.GetHeight(), dpi);
    else
        m_fixedSize.cx = ScaleFromDpi(r.GetWidth(), dpi);
    if (m_immediateResize) {
        m_position = m_newPosition;
        RequestParentLayout();
        return;
    }
    dirty.Join(GetSeparatorRect(true));
    dirty.Join(GetSeparatorRect(false));
    if (m_host)
        ::InvalidateRect(m_host->GetPaintWindow(), &dirty, FALSE);
}

void CLinearLayoutUI::PaintOverlay(HDC hdc, const CRectUI& /*paintRect*/)
{
    if (IsDraggingSeparator() && !m_immediateResize)
        CRenderKit::FillColor(hdc, GetSeparatorRect(true), 0xAA000000);
}

}  // namespace SkinUI
