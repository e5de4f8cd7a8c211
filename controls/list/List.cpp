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

CRectUI Inside(const CRectUI& rect, const CRectUI& inset)
{
    return CRectUI(rect.left + inset.left, rect.top + inset.top, rect.right - inset.right, rect.bottom - inset.bottom);
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
    // A layout again from inside this one (a scroll bar came or went) starts anew.
    const bool outer = !m_stacking;
    m_stacking = true;
    m_applied = GetScrollPosition();
    if (outer)
        ShowBarForOverflow(rect);
    if (!LayOutStack(rect)) {
        // Every row is placed: none is left behind or shown out of place, and the next layout
        // from the stack places them all again.
        m_stackPlaced = false;
        m_shownFirst = 0;
        m_shownEnd = 0;
        m_stackClient = CRectUI();
        CVerticalLayoutUI::SetPosition(rect);
    }
    if (outer)
        m_stacking = false;
}

void CListBodyUI::SetVisible(bool visible)
{
    const bool was = IsVisible();
    CVerticalLayoutUI::SetVisible(visible);
    // A row hidden or shown while the body was hidden told nobody: count every row again.
    if (!was && IsVisible())
        m_countedEnd = 0;
}

void CListBodyUI::SetVisibleByParent(bool visible)
{
    const bool was = IsVisible();
    CVerticalLayoutUI::SetVisibleByParent(visible);
    if (!was && IsVisible())
        m_countedEnd = 0;
}

void CListBodyUI::ShowBarForOverflow(const CRectUI& rect)
{
    CScrollBarUI* bar = m_verticalScrollBar;
    if (bar == nullptr || bar->IsVisible() || !m_measures.empty())
        return;
    // The width and height the layout would measure the rows with while the bar is hidden.
    CRectUI client = Inside(rect, Scaled(m_inset));
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

//--- body: the stack of rows ---------------------------------------------------------------------

void CListBodyUI::CountRow(int index, const CSizeUI& available)
{
    CControlUI* child = OwnChild(index);
    TRowMeasure& row = m_measures[static_cast<size_t>(index)];
    row.counted = true;
    row.height = 0;
    row.extent = 0;
    row.width = 0;
    row.irregular = false;
    if (!child->IsVisible())
        return;
    // A floating row is placed by its own rule, anywhere: the stack cannot tell where.
    row.irregular = child->IsFloating();
    if (row.irregular)
        return;
    const CSizeUI size = MeasureChild(index, child, available);
    const CRectUI padding = child->ScaledPadding();
    // A row without a height of its own shares the room left, which only the full layout knows;
    // a negative padding may put a row above the one before it.
    row.irregular = size.cy == 0 || padding.top < 0 || padding.bottom < 0;
    row.height = ClampToHeightLimits(child, size.cy);
    row.extent = padding.top + row.height + padding.bottom + m_countedGap;
    row.width = ClampWidth(child, size.cx > 0 ? size.cx : 0);
}

void CListBodyUI::UpdateStack(const CSizeUI& available, std::vector<int>& counted)
{
    KeepMeasuresFor(available.cx);
    const int gap = Scaled(m_childPadding);
    if (gap != m_countedGap) {
        m_countedGap = gap;
        m_countedEnd = 0;
    }
    const int size = m_children.GetSize();
    m_measures.resize(static_cast<size_t>(size), TRowMeasure{CSizeUI(), 0, 0, 0, false, false, false});
    if (m_countedEnd > size)
        m_countedEnd = size;
    // The stack is rebuilt from the first row that changed: what lies above it stands.
    int first = m_countedEnd < m_stackFrom ? m_countedEnd : m_stackFrom;
    for (int index : m_changedRows) {
        if (index >= m_countedEnd)
            continue;
        CountRow(index, available);
        counted.push_back(index);
        first = index < first ? index : first;
    }
    m_changedRows.clear();
    for (int i = m_countedEnd; i < size; ++i) {
        CountRow(i, available);
        counted.push_back(i);
    }
    m_countedEnd = size;
    m_stackFrom = size;
    m_shiftsKept = 0;
    // Entries past the old end hold nothing yet.
    const int kept = m_stack.empty() ? 0 : static_cast<int>(m_stack.size()) - 1;
    first = first < kept ? first : kept;
    m_stack.resize(static_cast<size_t>(size) + 1);
    if (first == 0)
        m_stack[0] = TStackEntry{0, 0, 0, 0};
    for (int i = first; i < size; ++i) {
        const TRowMeasure& row = m_measures[static_cast<size_t>(i)];
        TStackEntry& at = m_stack[static_cast<size_t>(i)];
        at.height = row.height;
        m_stack[static_cast<size_t>(i) + 1] = TStackEntry{at.top + row.extent, 0,
            row.width > at.widest ? row.width : at.widest, at.irregular + (row.irregular ? 1 : 0)};
    }
}

bool CListBodyUI::LayOutStack(const CRectUI& rect)
{
    if (m_children.IsEmpty() || m_childPadding < 0)
        return false;
    CRectUI client = Inside(rect, Scaled(m_inset));
    if (VerticalBarShown())
        client.right -= m_verticalScrollBar->ScaledFixedWidth();
    if (HorizontalBarShown())
        client.bottom -= m_horizontalScrollBar->ScaledFixedHeight();
    CSizeUI available(client.GetWidth(), client.GetHeight());
    if (HorizontalBarShown())
        available.cx += m_horizontalScrollBar->GetRange();
    std::vector<int> counted;
    UpdateStack(available, counted);
    const TStackEntry& total = m_stack.back();
    if (total.irregular > 0)
        return false;
    CControlUI::SetPosition(rect);
    if (!m_widestFromHeader)
        m_widest = total.widest;
    // Rows out of view keep the places they were given; when the client moved or the rows'
    // width changed, those places are wrong in ways the rows shown cannot tell: every row is
    // placed again.
    if (!(client == m_stackClient) || available.cx != m_crossAvailable || m_widest != m_stackWidest) {
        m_shownFirst = 0;
        m_shownEnd = m_children.GetSize();
    }
    m_stackClient = client;
    m_crossAvailable = available.cx;
    m_stackWidest = m_widest;
    m_applied = GetScrollPosition();
    m_stackPlaced = true;
    const unsigned edits = m_rowEdits;
    PlaceRowsShown();
    // A row never laid out is laid out once wherever it is (see PlaceChild); a row hidden in view
    // and shown again out of it would still claim its old place in view.
    const CRectUI view = ClientRect();
    for (size_t k = 0; k < counted.size() && m_rowEdits == edits; ++k) {
        CControlUI* row = OwnChild(counted[k]);
        CRectUI held = row->GetPosition();
        if (row->NeedsLayout() || held.Intersect(view))
            PlaceStacked(counted[k], false);
    }
    FinishLayout(client, m_stack.back().top - m_countedGap);
    return true;
}

bool CListBodyUI::StackKnown() const
{
    return m_stackPlaced && !NeedsLayout() && !m_stacking
        && m_stack.size() == static_cast<size_t>(m_children.GetSize()) + 1;
}

void CListBodyUI::StackedMeeting(int top, int bottom, int& first, int& end) const
{
    // Each row lies inside its room, and the rooms follow one another down the stack: the first
    // room ending below the top starts the range, the first starting at or below the bottom ends
    // it.
    const int y = m_stackClient.top - m_applied.cy;
    const auto rows = m_stack.end() - 1;
    const auto below = std::partition_point(
        m_stack.begin() + 1, m_stack.end(), [&](const TStackEntry& next) { return next.top + y <= top; });
    const auto past = std::partition_point(below - 1, rows, [&](const TStackEntry& at) { return at.top + y < bottom; });
    first = static_cast<int>(below - (m_stack.begin() + 1));
    end = static_cast<int>(past - m_stack.begin());
    if (end < first)
        end = first;
}

void CListBodyUI::ChildrenMeeting(const CRectUI& rect, int& first, int& end) const
{
    first = 0;
    end = m_children.GetSize();
    if (!StackKnown())
        return;
    // Rows outside the client are never shown there, and keep places nothing looks at.
    CRectUI shown = rect;
    if (!shown.Intersect(ClientRect())) {
        end = 0;
        return;
    }
    StackedMeeting(shown.top, shown.bottom, first, end);
}

CRectUI CListBodyUI::StackedPlace(int index)
{
    CControlUI* child = OwnChild(index);
    const CRectUI padding = child->ScaledPadding();
    const int top = m_stackClient.top - m_applied.cy + m_stack[static_cast<size_t>(index)].top + padding.top;
    const int left = m_stackClient.left - m_applied.cx + padding.left;
    const int cross = CrossSizeOf(child, m_crossAvailable, padding);
    const int height = m_stack[static_cast<size_t>(index)].height;
    return CRectUI(left, top, left + cross, top + height + padding.bottom);
}

void CListBodyUI::PlaceStacked(int index, bool whole)
{
    CControlUI* child = OwnChild(index);
    if (!child->IsVisible())
        return;
    const CRectUI rect = StackedPlace(index);
    if (whole)
        child->SetPosition(rect);
    else if (child->NeedsLayout() || !(child->GetPosition() == rect))
        PlaceChild(child, rect);
}

void CListBodyUI::PlaceRowsShown()
{
    const CRectUI view = ClientRect();
    int first = 0;
    int end = 0;
    StackedMeeting(view.top, view.bottom, first, end);
    const int size = m_children.GetSize();
    const int before = m_shownEnd < size ? m_shownEnd : size;
    const unsigned edits = m_rowEdits;
    for (int i = m_shownFirst; i < before && m_rowEdits == edits; ++i) {
        if (i < first || i >= end)
            PlaceStacked(i, false);
    }
    for (int i = first; i < end && m_rowEdits == edits; ++i)
        PlaceStacked(i, false);
    if (m_rowEdits != edits) {
        // A placed row's listener inserted, removed or moved rows: the stack no longer tells
        // where the others go. The layout that asked for places them, with those placed here.
        m_shownFirst = first < m_shownFirst ? first : m_shownFirst;
        m_shownEnd = end > m_shownEnd ? end : m_shownEnd;
        m_shownEnd = m_shownEnd < m_children.GetSize() ? m_shownEnd : m_children.GetSize();
        return;
    }
    m_shownFirst = first;
    m_shownEnd = end;
}

namespace {

// Where an index at or after `index` goes when `count` rows are inserted there, or -count rows
// removed from there: a removed one goes to `index`.
int Shifted(int at, int index, int count)
{
    if (at < index)
        return at;
    return count < 0 && at < index - count ? index : at + count;
}

}  // namespace

void CListBodyUI::ShiftRows(int index, int count)
{
    ++m_rowEdits;
    m_shownFirst = Shifted(m_shownFirst, index, count);
    // An insertion inside the rows shown widens them: the new row is placed with the others.
    m_shownEnd = Shifted(m_shownEnd, index, count);
    m_stackFrom = index < m_stackFrom ? index : m_stackFrom;
    if (index >= m_countedEnd || ++m_shiftsKept > kMaxKeptShifts) {
        ForgetMeasuresFrom(index);
        return;
    }
    // The rows after keep their measures and their counts: only their place in the stack moves.
    const auto at = m_measures.begin() + index;
    if (count > 0) {
        m_measures.insert(at, static_cast<size_t>(count), TRowMeasure{CSizeUI(), 0, 0, 0, false, false, false});
        m_countedEnd += count;
    } else {
        const int left = static_cast<int>(m_measures.size()) - index;
        m_measures.erase(at, at + (-count < left ? -count : left));
        m_countedEnd -= -count < m_countedEnd - index ? -count : m_countedEnd - index;
    }
    std::vector<int> changed;
    for (int row : m_changedRows) {
        if (count > 0 || row < index || row >= index - count)
            changed.push_back(Shifted(row, index, count));
    }
    for (int k = 0; k < count; ++k)
        changed.push_back(index + k);
    m_changedRows.swap(changed);
}

void CListBodyUI::ScrollChildren(int dx, int dy)
{
    m_applied.cx += dx;
    m_applied.cy += dy;
    if (!StackKnown()) {
        // Rows the stack placed only while in view hold places that moving would bring into view
        // wrongly: they stay where they are, and the layout to come places the rows from the
        // stack. Rows all placed by the full layout move together.
        if (m_stackPlaced)
            RequestLayout();
        else
            CVerticalLayoutUI::ScrollChildren(dx, dy);
        return;
    }
    PlaceRowsShown();
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
    if (index >= 0 && OwnChild(index) == child)
        PlaceStacked(index, true);
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
}

//--- body: measures kept -------------------------------------------------------------------------

void CListBodyUI::KeepMeasuresFor(int width)
{
    // Rows measure by the width they get, the screen's scale and the fonts: another of any, all
    // again.
    const int dpi = m_host != nullptr ? m_host->GetDpi() : 0;
    const unsigned fonts = m_host != nullptr ? m_host->FontChanges() : 0;
    if (width == m_measuredWidth && dpi == m_measuredDpi && fonts == m_measuredFonts)
        return;
    ForgetMeasuresFrom(0);
    m_measuredWidth = width;
    m_measuredDpi = dpi;
    m_measuredFonts = fonts;
}

CSizeUI CListBodyUI::MeasureChild(int index, CControlUI* child, const CSizeUI& available)
{
    KeepMeasuresFor(available.cx);
    const size_t at = static_cast<size_t>(index);
    if (at < m_measures.size() && m_measures[at].known)
        return m_measures[at].size;
    const CSizeUI size = child->MeasureSize(available);
    if (at >= m_measures.size())
        m_measures.resize(at + 1, TRowMeasure{CSizeUI(), 0, 0, 0, false, false, false});
    m_measures[at].size = size;
    m_measures[at].known = true;
    return size;
}

void CListBodyUI::ForgetMeasuresFrom(int index)
{
    const size_t from = static_cast<size_t>(index > 0 ? index : 0);
    if (from < m_measures.size())
        m_measures.resize(from);
    if (m_countedEnd > static_cast<int>(from))
        m_countedEnd = static_cast<int>(from);
}

void CListBodyUI::OnChildChanged(CControlUI* child)
{
    if (child == nullptr || child->GetParent() != this || child == m_verticalScrollBar
        || child == m_horizontalScrollBar)
        return;
    // Found by its number when the list keeps it current; otherwise every row is measured again,
    // as a search through a long list for each change would cost more.
    const int index = m_owner != nullptr ? m_owner->IndexOfChild(child) : -1;
    if (index < 0 || OwnChild(index) != child) {
        ForgetMeasuresFrom(0);
        return;
    }
    if (static_cast<size_t>(index) >= m_measures.size())
        return;
    TRowMeasure& row = m_measures[static_cast<size_t>(index)];
    row.known = false;
    if (row.counted && index < m_countedEnd) {
        row.counted = false;
        m_changedRows.push_back(index);
    }
}

bool CListBodyUI::InsertChild(CControlUI* control, int index)
{
    if (!CVerticalLayoutUI::InsertChild(control, index))
        return false;
    ShiftRows(index, 1);
    return true;
}

bool CListBodyUI::MoveChild(CControlUI* control, int newIndex)
{
    ForgetMeasuresFrom(0);
    ++m_rowEdits;
    m_shownFirst = 0;
    m_shownEnd = m_children.GetSize();
    return CVerticalLayoutUI::MoveChild(control, newIndex);
}

bool CListBodyUI::RemoveChild(CControlUI* control)
{
    const int index = CContainerUI::IndexOfChild(control);
    return index >= 0 && RemoveRows(index, 1);
}

bool CListBodyUI::RemoveChildAt(int index) { return RemoveRows(index, 1); }

void CListBodyUI::RemoveAllChildren()
{
    ForgetMeasuresFrom(0);
    ++m_rowEdits;
    m_shownFirst = 0;
    m_shownEnd = 0;
    CVerticalLayoutUI::RemoveAllChildren();
}

bool CListBodyUI::RemoveRows(int first, int count)
{
    if (!RemoveOwnChildren(first, count))
        return false;
    ShiftRows(first, -count);
    return true;
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
    ++m_rowEdits;
    // The rows moved may have been shown: they are placed again with the others.
    m_shownFirst = m_shownFirst < lo ? m_shownFirst : lo;
    m_shownEnd = m_shownEnd > hi ? m_shownEnd : hi;
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
