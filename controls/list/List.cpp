#include "controls/list/List.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "controls/layout/LayoutLimits.h"
#include "controls/list/ListHeader.h"
#include "controls/list/ListItemCore.h"
#include "controls/range/ScrollBar.h"
#include "core/ValueParse.h"
#include "host/ControlAliveGuard.h"
#include "host/WindowHost.h"

namespace SkinUI {

namespace {

IListItemUI* AsRow(CControlUI* control) { return ControlCast<IListItemUI>(control); }

int ClampWidth(const CControlUI* c, int width)
{
    if (width < c->ScaledMinWidth())
        width = c->ScaledMinWidth();
    return width > c->ScaledMaxWidth() ? c->ScaledMaxWidth() : width;
}

}  // namespace

//--- body ----------------------------------------------------------------------------------------

void CListBodyUI::SetPosition(const CRectUI& rect)
{
    m_widest = 0;
    m_widestFromHeader = false;
    CContainerUI* header = m_owner != nullptr ? m_owner->GetHeader() : nullptr;
    if (header != nullptr && header->ChildCount() > 0) {
        const int width = header->MeasureSize(CSizeUI(rect.right - rect.left, rect.bottom - rect.top)).cx;
        m_widest = width > 0 ? width : 0;
        m_widestFromHeader = true;
    }
    // A layout again from inside this one (a scroll bar came or went) starts the record anew.
    const bool outer = !m_stacking;
    m_stacking = true;
    m_stacked.clear();
    m_stackScan = 0;
    m_stackedOf = m_children.GetSize();
    m_applied = GetScrollPosition();
    m_rowsLeftBehind = false;  // every row is placed now
    if (outer)
        ShowBarForOverflow(rect);
    CVerticalLayoutUI::SetPosition(rect);
    if (outer)
        m_stacking = false;
}

void CListBodyUI::ShowBarForOverflow(const CRectUI& rect)
{
    CScrollBarUI* bar = m_verticalScrollBar;
    if (bar == nullptr || bar->IsVisible() || !m_measures.empty())
        return;
    // The width and height the layout would measure the rows with while the bar is hidden.
    const CRectUI inset = Scaled(m_inset);
    CRectUI client(rect.left + inset.left, rect.top + inset.top, rect.right - inset.right, rect.bottom - inset.bottom);
    int width = client.GetWidth();
    if (HorizontalBarShown()) {
        client.bottom -= m_horizontalScrollBar->ScaledFixedHeight();
        width += m_horizontalScrollBar->GetRange();
    }
    const CSizeUI available(width, client.GetHeight());
    // Rows that take no height of their own (sharing what is left) count for nothing: what is
    // summed never exceeds what the layout would find, so the bar shown here would come anyway.
    int content = 0;
    int counted = 0;
    for (int i = 0; i < m_children.GetSize() && content <= available.cy; ++i) {
        CControlUI* child = OwnChild(i);
        if (!child->IsVisible() || child->IsFloating())
            continue;
        const int height = MeasureChild(i, child, available).cy;
        const CRectUI padding = child->ScaledPadding();
        content += (height != 0 ? ClampToHeightLimits(child, height) : 0) + padding.top + padding.bottom;
        if (counted++ > 0)
            content += Scaled(m_childPadding);
    }
    if (content > available.cy)
        bar->SetVisible(true);
}

void CListBodyUI::NoteStacked(CControlUI* child)
{
    // The rows come in order: matching pointers reads the child list only, not the rows.
    const int size = m_children.GetSize();
    while (m_stackScan < size && OwnChild(m_stackScan) != child) {
        // A floating child is placed by its own rule, anywhere: the stack cannot tell where.
        if (OwnChild(m_stackScan)->IsVisible() && OwnChild(m_stackScan)->IsFloating())
            m_stackedOf = -1;
        ++m_stackScan;
    }
    if (m_stackScan == size || m_stackedOf < 0) {
        m_stackedOf = -1;
        return;
    }
    CRectUI content = child->GetPosition();
    content.Offset(m_applied.cx, m_applied.cy);
    if (!m_stacked.empty()) {
        const CRectUI& above = m_stacked.back().content;
        if (content.top < above.top || content.bottom < above.bottom)
            m_stackedOf = -1;
    }
    m_stacked.push_back(TStackedRow{m_stackScan++, content});
}

bool CListBodyUI::StackKnown() const { return !NeedsLayout() && !m_stacking && m_stackedOf == m_children.GetSize(); }

void CListBodyUI::StackedMeeting(int top, int bottom, size_t& first, size_t& end) const
{
    // Tops and bottoms both grow down the stack: the first row ending below the top starts the
    // range, the first starting at or below the bottom ends it.
    const int y = m_applied.cy;
    const auto below = std::partition_point(
        m_stacked.begin(), m_stacked.end(), [&](const TStackedRow& r) { return r.content.bottom - y <= top; });
    const auto past = std::partition_point(
        below, m_stacked.end(), [&](const TStackedRow& r) { return r.content.top - y < bottom; });
    first = static_cast<size_t>(below - m_stacked.begin());
    end = static_cast<size_t>(past - m_stacked.begin());
}

void CListBodyUI::ChildrenMeeting(const CRectUI& rect, int& first, int& end) const
{
    first = 0;
    end = m_children.GetSize();
    if (!StackKnown())
        return;
    size_t from = 0;
    size_t to = 0;
    StackedMeeting(rect.top, rect.bottom, from, to);
    first = from == m_stacked.size() ? end : m_stacked[from].index;
    end = to == m_stacked.size() ? end : m_stacked[to].index;
    if (end < first)
        end = first;
}

void CListBodyUI::PlaceStacked(const TStackedRow& row, bool whole)
{
    CControlUI* child = OwnChild(row.index);
    CRectUI rect = row.content;
    rect.Offset(-m_applied.cx, -m_applied.cy);
    if (whole)
        child->SetPosition(rect);
    else if (child->NeedsLayout() || !(child->GetPosition() == rect))
        PlaceChild(child, rect);
}

void CListBodyUI::ScrollChildren(int dx, int dy)
{
    m_applied.cx += dx;
    m_applied.cy += dy;
    if (!StackKnown()) {
        // Rows left behind by an earlier scroll hold places that moving would bring into view
        // wrongly: they stay where they are, out of view, and the layout to come places them all.
        if (m_rowsLeftBehind)
            RequestLayout();
        else
            CVerticalLayoutUI::ScrollChildren(dx, dy);
        return;
    }
    m_rowsLeftBehind = true;
    const CRectUI view = ClientRect();
    size_t first = 0;
    size_t end = 0;
    // The rows the view showed before the scroll, then the rows it shows now.
    for (int before = 1; before >= 0; --before) {
        StackedMeeting(view.top - before * dy, view.bottom - before * dy, first, end);
        for (size_t k = first; k < end; ++k)
            PlaceStacked(m_stacked[k], false);
    }
}

void CListBodyUI::UpdateChildPlace(CControlUI* child)
{
    if (m_owner == nullptr || child == nullptr || child->GetParent() != this)
        return;
    // The rows changed since the last layout: a row asked for now is placed by laying them out.
    if (NeedsLayout() && !m_stacking && IsVisible())
        SetPosition(m_position);
    if (!StackKnown())
        return;
    const int index = m_owner->IndexOfChild(child);
    const auto found = std::lower_bound(
        m_stacked.begin(), m_stacked.end(), index, [](const TStackedRow& r, int wanted) { return r.index < wanted; });
    if (found != m_stacked.end() && found->index == index)
        PlaceStacked(*found, true);
}

void CListBodyUI::PlaceChild(CControlUI* child, const CRectUI& rect)
{
    CRectUI view = ClientRect();
    // A row never laid out is laid out once wherever it is, or its parts would each stay flagged
    // and the host would lay them out one search at a time.
    if (view.Intersect(rect) || child->NeedsLayout())
        child->SetPosition(rect);
    else
        child->CControlUI::SetPosition(rect);
    if (m_stacking && !m_scrolling && m_stackedOf >= 0)
        NoteStacked(child);
}

CSizeUI CListBodyUI::MeasureChild(int index, CControlUI* child, const CSizeUI& available)
{
    // Rows measure by the width they get, the screen's scale and the fonts: another of any, all
    // again.
    const int dpi = m_host != nullptr ? m_host->GetDpi() : 0;
    const unsigned fonts = m_host != nullptr ? m_host->FontChanges() : 0;
    if (available.cx != m_measuredWidth || dpi != m_measuredDpi || fonts != m_measuredFonts) {
        m_measures.clear();
        m_measuredWidth = available.cx;
        m_measuredDpi = dpi;
        m_measuredFonts = fonts;
    }
    const size_t at = static_cast<size_t>(index);
    if (at < m_measures.size() && m_measures[at].known)
        return m_measures[at].size;
    const CSizeUI size = child->MeasureSize(available);
    if (at >= m_measures.size())
        m_measures.resize(at + 1, TRowMeasure{CSizeUI(), false});
    m_measures[at] = TRowMeasure{size, true};
    return size;
}

void CListBodyUI::ForgetMeasuresFrom(int index)
{
    const size_t from = static_cast<size_t>(index > 0 ? index : 0);
    if (from < m_measures.size())
        m_measures.resize(from);
}

void CListBodyUI::OnChildChanged(CControlUI* child)
{
    if (child == nullptr || child->GetParent() != this)
        return;
    // Found by its number when the list keeps it current; otherwise every row is measured again,
    // as a search through a long list for each change would cost more.
    const int index = m_owner != nullptr ? m_owner->IndexOfChild(child) : -1;
    if (index < 0 || OwnChild(index) != child)
        ForgetMeasuresFrom(0);
    else if (static_cast<size_t>(index) < m_measures.size())
        m_measures[static_cast<size_t>(index)].known = false;
}

bool CListBodyUI::InsertChild(CControlUI* control, int index)
{
    ForgetMeasuresFrom(index);
    return CVerticalLayoutUI::InsertChild(control, index);
}

bool CListBodyUI::MoveChild(CControlUI* control, int newIndex)
{
    ForgetMeasuresFrom(0);
    return CVerticalLayoutUI::MoveChild(control, newIndex);
}

bool CListBodyUI::RemoveChild(CControlUI* control)
{
    ForgetMeasuresFrom(0);
    return CVerticalLayoutUI::RemoveChild(control);
}

bool CListBodyUI::RemoveChildAt(int index) { return RemoveRows(index, 1); }

void CListBodyUI::RemoveAllChildren()
{
    ForgetMeasuresFrom(0);
    CVerticalLayoutUI::RemoveAllChildren();
}

bool CListBodyUI::RemoveRows(int first, int count)
{
    ForgetMeasuresFrom(first);
    return RemoveOwnChildren(first, count);
}

void CListBodyUI::OnChildMeasured(CControlUI* child, const CSizeUI& measured)
{
    if (m_widestFromHeader)
        return;
    const int width = ClampWidth(child, measured.cx > 0 ? measured.cx : 0);
    if (width > m_widest)
        m_widest = width;
}

int CListBodyUI::CrossSizeOf(CControlUI* child, int crossAvailable, const CRectUI& padding)
{
    const int room = crossAvailable - padding.left - padding.right;
    return ClampWidth(child, room > m_widest ? room : m_widest);
}

void CListBodyUI::FinishLayout(CRectUI& client, int content)
{
    CScrollBarUI* bar = m_horizontalScrollBar;
    bool barToggled = false;
    if (bar != nullptr) {
        const int overflow = m_widest - client.GetWidth();
        if (overflow > 0) {
            if (!bar->IsVisible()) {
                bar->SetVisible(true);
                bar->SetRange(overflow);
                bar->SetValue(0);
                client.bottom -= bar->ScaledFixedHeight();
                barToggled = true;
            } else {
                bar->SetRange(overflow);
            }
        } else if (bar->IsVisible()) {
            bar->SetVisible(false);
            bar->SetRange(0);
            bar->SetValue(0);
            client.bottom += bar->ScaledFixedHeight();
            barToggled = true;
        }
    }
    // The rows were placed with the old bar's range and offset: a bar that just went would leave
    // them wider than needed and scrolled where nothing can scroll them back. Place them again.
    if (barToggled && !m_replacing) {
        m_replacing = true;
        SetPosition(m_position);
        m_replacing = false;
        return;
    }
    UpdateScrollBars(client, m_widest, content);
}

void CListBodyUI::SetScrollPosition(const CSizeUI& position)
{
    const int oldX = GetScrollPosition().cx;
    // Scrolling moves every row by the same amount: the stack's order stands, and a scroll in
    // the middle of a layout records nothing.
    const bool scrolling = m_scrolling;
    m_scrolling = true;
    CVerticalLayoutUI::SetScrollPosition(position);
    m_scrolling = scrolling;
    const int dx = GetScrollPosition().cx - oldX;
    if (dx != 0 && m_owner != nullptr)
        m_owner->ShiftCaptions(dx);
}

bool CListBodyUI::MoveRows(int first, int count, int newFirst)
{
    const int size = m_children.GetSize();
    if (first < 0 || count <= 0 || count > size - first || newFirst < 0 || newFirst > size - count)
        return false;
    const bool down = newFirst > first;
    const int lo = down ? first : newFirst;
    const int hi = (down ? newFirst : first) + count;
    std::vector<void*> span;
    span.reserve(static_cast<size_t>(hi - lo));
    for (int i = lo; i < hi; ++i)
        span.push_back(m_children.GetAt(i));
    std::rotate(span.begin(), span.begin() + (down ? count : first - newFirst), span.end());
    for (int i = lo; i < hi; ++i)
        m_children.SetAt(i, span[static_cast<size_t>(i - lo)]);
    ForgetMeasuresFrom(lo);
    RequestLayout();
    return true;
}

void CListBodyUI::OnEvent(TInputEvent& event)
{
    if (m_owner != nullptr)
        m_owner->OnEvent(event);
    else
        CControlUI::OnEvent(event);
}

//--- list: construction, identity, layout --------------------------------------------------------

CListUI::CListUI()
    : CListUI([](CListUI* owner) { return new CListBodyUI(owner); })
{
}

CListUI::CListUI(BodyFactory makeBody)
    : m_body(makeBody(this))
    , m_header(new CListHeaderUI)
    , m_numbering(*m_body)
{
    // The container's own insertion: the routed one would take the header for a replacement.
    CVerticalLayoutUI::InsertChild(m_header, 0);
    CVerticalLayoutUI::InsertChild(m_body, 1);
}

const char* CListUI::GetTypeName() const { return "ListUI"; }

void* CListUI::CastTo(const char* name)
{
    const CUIString n(name);
    if (n == kCastName)
        return this;
    if (n == IListUI::kCastName)
        return static_cast<IListUI*>(this);
    if (n == IListOwnerUI::kCastName)
        return static_cast<IListOwnerUI*>(this);
    return CVerticalLayoutUI::CastTo(name);
}

unsigned CListUI::GetCapabilities() const
{
    return CVerticalLayoutUI::GetCapabilities() | (IsEnabled() ? CapabilityTabStop : 0u);
}

CContainerUI* CListUI::GetHeader() const { return m_header; }

CContainerUI* CListUI::GetBody() const { return m_body; }

void CListUI::UpdateColumnCount()
{
    const int captions = m_header->ChildCount();
    m_itemStyle.columnCount = captions < kMaxListColumns ? captions : kMaxListColumns;
}

void CListUI::SetCaptionsShown(bool shown)
{
    for (int i = 0; i < m_header->ChildCount(); ++i)
        m_header->ChildAt(i)->SetVisibleByParent(shown);
}

void CListUI::OnHeaderLaidOut()
{
    // The header laid out on its own (a caption changed size): the columns and the rows' width
    // depend on it.
    if (!m_layingOut)
        RequestLayout();
}

void CListUI::SetPosition(const CRectUI& rect)
{
    m_layingOut = true;
    LayOut(rect);
    m_layingOut = false;
}

void CListUI::LayOut(const CRectUI& rect)
{
    CVerticalLayoutUI::SetPosition(rect);
    UpdateColumnCount();
    // A hidden header is still laid out: its captions give the rows their columns.
    if (!m_header->IsVisible() && m_header->ChildCount() > 0) {
        SetCaptionsShown(true);
        m_header->SetPosition(CRectUI(rect.left, 0, rect.right, 0));
        SetCaptionsShown(false);
    }
    const int dx = m_body->GetScrollPosition().cx;
    ShiftCaptions(dx > 0 ? dx : 0);
}

void CListUI::ShiftCaptions(int dx)
{
    // Captions may have been added or removed through the header itself since the last count.
    UpdateColumnCount();
    const bool hidden = !m_header->IsVisible();
    if (hidden)
        SetCaptionsShown(true);
    for (int c = 0; c < m_itemStyle.columnCount; ++c) {
        CControlUI* caption = m_header->ChildAt(c);
        if (caption == nullptr || !caption->IsVisible() || caption->IsFloating())
            continue;
        if (dx != 0) {
            CRectUI r = caption->GetPosition();
            r.Offset(-dx, 0);
            caption->SetPosition(r);
        }
        m_itemStyle.columnRects[c] = caption->GetPosition();
    }
    if (hidden)
        SetCaptionsShown(false);
}

//--- routed child list ---------------------------------------------------------------------------

bool CListUI::IsCaption(const CControlUI* control) const
{
    return control != nullptr && std::strstr(control->GetTypeName(), "ListHeaderItemUI") != nullptr;
}

bool CListUI::ReplaceHeader(CListHeaderUI* header)
{
    if (!CVerticalLayoutUI::InsertChild(header, 0))
        return false;
    CListHeaderUI* old = m_header;
    m_header = header;
    CVerticalLayoutUI::RemoveChild(old);
    UpdateColumnCount();
    return true;
}

CControlUI* CListUI::ChildAt(int index) const { return m_body->ChildAt(index); }

int CListUI::ChildCount() const { return m_body->ChildCount(); }

int CListUI::IndexOfChild(const CControlUI* control) const
{
    if (control == m_header || control == m_body)
        return CVerticalLayoutUI::IndexOfChild(control);
    if (IsCaption(control))
        return m_header->IndexOfChild(control);
    return RowPosition(control);
}

int CListUI::RowIndex(const CControlUI* row, int stored) { return m_numbering.RowIndex(row, stored); }

void CListUI::RowsShiftedFrom(int index)
{
    m_numbering.ShiftedFrom(index);
    ++m_rowChanges;
}

bool CListUI::AddChild(CControlUI* control) { return InsertChild(control, m_body->ChildCount()); }

bool CListUI::InsertChild(CControlUI* control, int index)
{
    if (control == nullptr)
        return false;
    // A second header while the first has captions becomes a row: skins rely on it.
    if (CListHeaderUI* header = ControlCast<CListHeaderUI>(control)) {
        if (m_header->ChildCount() == 0)
            return ReplaceHeader(header);
    }
    if (IsCaption(control)) {
        if (index > m_header->ChildCount())
            index = m_header->ChildCount();
        const bool added = m_header->InsertChild(control, index);
        UpdateColumnCount();
        return added;
    }
    if (!m_body->InsertChild(control, index))
        return false;
    RowsShiftedFrom(index);
    NumberRow(control, this, index);
    m_numbering.Inserted(index);
    if (m_currentIndex >= index)
        ++m_currentIndex;
    return true;
}

bool CListUI::MoveChild(CControlUI* control, int newIndex)
{
    // Found by its number and moved with the rows between: the cost is the distance moved.
    const int oldIndex = RowPosition(control);
    if (oldIndex < 0)
        return false;
    return oldIndex == newIndex || MoveRows(oldIndex, 1, newIndex);
}

bool CListUI::RemoveChild(CControlUI* control)
{
    // The list's own parts stay: everything here assumes a header and a body.
    if (control == nullptr || control == m_header || control == m_body)
        return false;
    if (IsCaption(control) && m_header->IndexOfChild(control) >= 0) {
        const bool removed = m_header->RemoveChild(control);
        UpdateColumnCount();
        return removed;
    }
    return RemoveRows(RowPosition(control), 1);
}

bool CListUI::MoveRows(int first, int count, int newFirst)
{
    CControlUI* selected = m_body->ChildAt(m_currentIndex);
    if (!m_body->MoveRows(first, count, newFirst))
        return false;
    const int lo = first < newFirst ? first : newFirst;
    const int hi = (first < newFirst ? newFirst : first) + count;
    RenumberRows(*m_body, lo, hi - 1);
    ++m_rowChanges;
    if (selected != nullptr)
        m_currentIndex = RowPosition(selected);
    return true;
}

bool CListUI::RemoveRows(int first, int count)
{
    if (!m_body->RemoveRows(first, count))
        return false;
    RowsShiftedFrom(first);
    SelectionAfterRemoval(*m_body, *this, first, count, m_currentIndex);
    return true;
}

bool CListUI::RemoveChildAt(int index)
{
    CControlUI* row = m_body->ChildAt(index);
    return row != nullptr && RemoveChild(row);
}

void CListUI::RemoveAllChildren()
{
    m_currentIndex = -1;
    m_expandedIndex = -1;
    RowsShiftedFrom(0);
    m_body->RemoveAllChildren();
}

//--- forwarded to the body -----------------------------------------------------------------------

int CListUI::GetChildPadding() const { return m_body->GetChildPadding(); }
void CListUI::SetChildPadding(int padding) { m_body->SetChildPadding(padding); }
int CListUI::FindSelectableChild(int index, bool forward) const { return m_body->FindSelectableChild(index, forward); }
CSizeUI CListUI::GetScrollPosition() const { return m_body->GetScrollPosition(); }
CSizeUI CListUI::GetScrollExtent() const { return m_body->GetScrollExtent(); }
void CListUI::SetScrollPosition(const CSizeUI& position) { m_body->SetScrollPosition(position); }
void CListUI::ScrollLineUp() { m_body->ScrollLineUp(); }
void CListUI::ScrollLineDown() { m_body->ScrollLineDown(); }
void CListUI::ScrollPageUp() { m_body->ScrollPageUp(); }
void CListUI::ScrollPageDown() { m_body->ScrollPageDown(); }
void CListUI::ScrollToTop() { m_body->ScrollToTop(); }
void CListUI::ScrollToBottom() { m_body->ScrollToBottom(); }
void CListUI::ScrollLineLeft() { m_body->ScrollLineLeft(); }
void CListUI::ScrollLineRight() { m_body->ScrollLineRight(); }
void CListUI::ScrollPageLeft() { m_body->ScrollPageLeft(); }
void CListUI::ScrollPageRight() { m_body->ScrollPageRight(); }
void CListUI::ScrollToLeftEnd() { m_body->ScrollToLeftEnd(); }
void CListUI::ScrollToRightEnd() { m_body->ScrollToRightEnd(); }
void CListUI::SetScrollBarsEnabled(bool vertical, bool horizontal)
{
    m_body->SetScrollBarsEnabled(vertical, horizontal);
}
CScrollBarUI* CListUI::GetVerticalScrollBar() const { return m_body->GetVerticalScrollBar(); }
CScrollBarUI* CListUI::GetHorizontalScrollBar() const { return m_body->GetHorizontalScrollBar(); }

//--- selection, expansion, scrolling into view ---------------------------------------------------

bool CListUI::SelectItem(int index, bool takeFocus)
{
    if (index == m_currentIndex)
        return true;
    const int oldIndex = m_currentIndex;
    if (IListItemUI* previous = AsRow(m_body->ChildAt(m_currentIndex)))
        previous->Select(false);
    m_currentIndex = -1;
    if (index < 0)
        return false;
    CControlUI* control = m_body->ChildAt(index);
    IListItemUI* row = AsRow(control);
    if (row == nullptr || !control->IsVisible() || !control->IsEnabled())
        return false;
    m_currentIndex = index;
    if (!row->Select(true)) {
        m_currentIndex = -1;
        return false;
    }
    EnsureVisible(index);
    CControlAliveGuard alive(m_host, this);
    if (takeFocus)
        control->TakeFocus();
    // The focus notifications may have taken the list away.
    if (alive.IsAlive() && m_host != nullptr)
        m_host->SendNotification(this, "itemselect", index, oldIndex);
    return true;
}

bool CListUI::ExpandItem(int index, bool expand)
{
    if (m_expandedIndex >= 0 && !m_multiExpanding) {
        if (IListItemUI* expanded = AsRow(m_body->ChildAt(m_expandedIndex)))
            expanded->Expand(false);
        m_expandedIndex = -1;
    }
    if (expand) {
        CControlUI* control = m_body->ChildAt(index);
        IListItemUI* row = AsRow(control);
        if (row == nullptr || !control->IsVisible())
            return false;
        m_expandedIndex = index;
        if (!row->Expand(true)) {
            m_expandedIndex = -1;
            return false;
        }
    }
    RequestLayout();
    return true;
}

void CListUI::EnsureVisible(int index)
{
    CControlUI* row = m_body->ChildAt(index);
    if (row == nullptr)
        return;
    const CRectUI& item = CurrentPosition(row);
    CRectUI area = m_body->GetPosition();
    const CRectUI inset = m_body->GetInset();
    area.top += inset.top;
    area.bottom -= inset.bottom;
    CScrollBarUI* bar = m_body->GetHorizontalScrollBar();
    if (bar != nullptr && bar->IsVisible())
        area.bottom -= bar->ScaledFixedHeight();
    if (item.top >= area.top && item.bottom <= area.bottom)
        return;
    const int dy = item.top < area.top ? item.top - area.top : item.bottom - area.bottom;
    const CSizeUI pos = m_body->GetScrollPosition();
    m_body->SetScrollPosition(CSizeUI(pos.cx, pos.cy + dy));
}

//--- input and attributes ------------------------------------------------------------------------

bool CListUI::OnKeyDown(char key)
{
    switch (static_cast<unsigned char>(key)) {
    case VK_RETURN:
        if (CControlUI* row = m_body->ChildAt(m_currentIndex))
            row->TriggerAction();
        return true;
    case VK_PRIOR:
        ScrollPageUp();
        return true;
    case VK_NEXT:
        ScrollPageDown();
        return true;
    case VK_UP:
        SelectItem(FindSelectableChild(m_currentIndex - 1, false), true);
        return true;
    case VK_DOWN:
        SelectItem(FindSelectableChild(m_currentIndex + 1, true), true);
        return true;
    case VK_HOME:
        SelectItem(FindSelectableChild(0, false), true);
        return true;
    case VK_END:
        SelectItem(FindSelectableChild(ChildCount() - 1, true), true);
        return true;
    default:
        return false;
    }
}

void CListUI::OnEvent(TInputEvent& event)
{
    if (PassOnRefusedMouse(*this, m_parent, event, [this](TInputEvent& e) { CVerticalLayoutUI::OnEvent(e); }))
        return;
    switch (event.Type) {
    case InputEventKind::FocusGained:
    case InputEventKind::FocusLost:
        m_focused = event.Type == InputEventKind::FocusGained;
        return;
    case InputEventKind::KeyDown:
        if (OnKeyDown(event.KeyChar))
            return;
        break;
    case InputEventKind::ScrollWheel:
        if (LOWORD(event.WParam) == 0) {
            if (m_scrollSelect)
                OnKeyDown(VK_UP);
            else
                ScrollLineUp();
            return;
        }
        if (LOWORD(event.WParam) == 1) {
            if (m_scrollSelect)
                OnKeyDown(VK_DOWN);
            else
                ScrollLineDown();
            return;
        }
        break;
    default:
        break;
    }
    CVerticalLayoutUI::OnEvent(event);
}

CAttributeTable<CListUI> CListUI::OwnAttributes()
{
    using C = CListUI;
    static constexpr TAttributeHandler<C> kTable[] = {
        {"header", [](C& c, const char* v) { c.m_header->SetVisible(CUIString(v) != "hidden"); }},
        {"headerbkimage", [](C& c, const char* v) { c.m_header->SetBackgroundImage(v); }},
        {"scrollselect", [](C& c, const char* v) { c.m_scrollSelect = ParseFlag(v); }},
        {"multiexpanding",
            [](C& c, const char* v) {
                c.m_multiExpanding = ParseFlag(v);
                c.m_itemStyle.multiExpandable = c.m_multiExpanding;
            }},
        {"itemendellipsis",
            [](C& c, const char* v) {
                c.m_itemStyle.itemTextStyle = ApplyFlagBit(c.m_itemStyle.itemTextStyle, DT_END_ELLIPSIS, v);
                c.Invalidate();
            }},
        // The rows scroll, not the list.
        {"vscrollbar", [](C& c, const char* v) { c.m_body->SetAttribute("vscrollbar", v); }},
        {"hscrollbar", [](C& c, const char* v) { c.m_body->SetAttribute("hscrollbar", v); }},
        {"vscrollbarstyle", [](C& c, const char* v) { c.m_body->SetAttribute("vscrollbarstyle", v); }},
        {"hscrollbarstyle", [](C& c, const char* v) { c.m_body->SetAttribute("hscrollbarstyle", v); }},
        {"childpadding", [](C& c, const char* v) { c.m_body->SetAttribute("childpadding", v); }},
    };
    return kTable;
}

void CListUI::SetAttribute(const char* name, const char* value)
{
    const TItemStyleChange change = ApplyItemStyleAttribute(m_itemStyle, name, value);
    // The rows measure by the item style: a font or a padding changed changes them all.
    if (change != TItemStyleChange::NotStyle)
        m_body->ForgetMeasuresFrom(0);
    if (change == TItemStyleChange::TextPadding || change == TItemStyleChange::ShowHtmlChanged) {
        RequestLayout();
        return;
    }
    if (change != TItemStyleChange::NotStyle) {
        Invalidate();
        return;
    }
    if (!OwnAttributes().Apply(*this, name, value))
        CVerticalLayoutUI::SetAttribute(name, value);
}

void CListUI::AppendAttributeNames(TAttributeNames& names)
{
    AppendItemStyleAttributeNames(names);
    OwnAttributes().AppendNames(names);
    CVerticalLayoutUI::AppendAttributeNames(names);
}

}  // namespace SkinUI
