#include "controls/list/VirtualList.h"

#include "controls/list/ListHeader.h"
#include "controls/list/VirtualListBody.h"
#include "core/ValueParse.h"
#include "host/ControlAliveGuard.h"
#include "host/WindowHost.h"

namespace SkinUI {

CVirtualListUI::CVirtualListUI()
    : CListUI([](CListUI* owner) -> CListBodyUI* { return new CVirtualListBodyUI(owner); })
    , m_rows(ControlCast<CVirtualListBodyUI>(GetBody()))
{
    m_rows->SetList(this);
    // A virtual list is only useful when it scrolls.
    m_rows->SetScrollBarsEnabled(true, false);
}

const char* CVirtualListUI::GetTypeName() const { return "VirtualListUI"; }

void* CVirtualListUI::CastTo(const char* name)
{
    if (CUIString(name) == kCastName)
        return this;
    return CListUI::CastTo(name);
}

//--- child interface: captions only --------------------------------------------------------------

CControlUI* CVirtualListUI::ChildAt(int) const { return nullptr; }

int CVirtualListUI::ChildCount() const { return 0; }

bool CVirtualListUI::MoveChild(CControlUI*, int) { return false; }

bool CVirtualListUI::InsertChild(CControlUI* control, int index)
{
    if (control == nullptr)
        return false;
    const bool header = ControlCast<CListHeaderUI>(control) != nullptr && GetHeader()->ChildCount() == 0;
    if (!header && ControlCast<CListHeaderItemUI>(control) == nullptr)
        return false;
    return CListUI::InsertChild(control, index);
}

bool CVirtualListUI::RemoveChild(CControlUI* control)
{
    if (control == nullptr || GetHeader()->IndexOfChild(control) < 0)
        return false;
    return CListUI::RemoveChild(control);
}

bool CVirtualListUI::RemoveChildAt(int) { return false; }

void CVirtualListUI::RemoveAllChildren() { SetRowCount(0); }

//--- rows ----------------------------------------------------------------------------------------

void CVirtualListUI::SetSource(IVirtualListSource* source)
{
    m_source = source;
    RefreshRows(0, m_count - 1);
}

int CVirtualListUI::GetRowsCreated() const { return m_rows->RowsCreated(); }

void CVirtualListUI::AskSource(int index) const
{
    m_scratch.Clear();
    if (m_source == nullptr)
        return;
    m_filling = true;
    m_source->FillRow(index, m_scratch);
    m_filling = false;
    ++m_rowsFilled;
}

void CVirtualListUI::FillRowControl(int index, CVirtualListRowUI& row)
{
    AskSource(index);
    row.Bind(index, m_scratch);
}

bool CVirtualListUI::IsRowEnabled(int index) const
{
    if (index < 0 || index >= m_count)
        return false;
    AskSource(index);
    return m_scratch.enabled;
}

int CVirtualListUI::FindEnabledRow(int index, bool forward) const
{
    // Each step asks the source: the walk costs the disabled rows it passes, never the others.
    for (; index >= 0 && index < m_count; index += forward ? 1 : -1) {
        if (IsRowEnabled(index))
            return index;
    }
    return -1;
}

int CVirtualListUI::FindSelectableChild(int index, bool forward) const { return FindEnabledRow(index, forward); }

void CVirtualListUI::SetRowCount(int count)
{
    if (m_filling) {
        m_deferredCount = count;
        return;
    }
    const int old = m_current;
    if (ApplyRowCount(count))
        Announce(old);
}

bool CVirtualListUI::ApplyRowCount(int count)
{
    if (count < 0)
        count = 0;
    if (count > kMaxRows)
        count = kMaxRows;
    if (count == m_count)
        return false;
    m_count = count;
    m_selection.Truncate(count);
    if (m_anchor >= count)
        m_anchor = -1;
    if (m_hot >= count)
        m_hot = -1;
    if (m_pendingVisible >= count)
        m_pendingVisible = -1;
    m_rows->MarkStale(count, kMaxRows);
    RequestLayout();
    Invalidate();
    if (m_current < count)
        return false;
    // The current row went: the last row that can be current takes its place.
    // With several rows selected, what is left of the selection stays.
    const int target = FindEnabledRow(count - 1, false);
    if (target >= 0) {
        if (m_multiSelect)
            m_selection.Add(target, target);
        MoveCurrent(target, m_multiSelect ? TSelectHow::Keep : TSelectHow::Only);
    } else {
        m_current = -1;
        m_rows->RefreshLooks();
    }
    return true;
}

void CVirtualListUI::RefreshRows(int first, int last)
{
    if (m_filling) {
        m_deferredRefresh = true;
        return;
    }
    m_rows->MarkStale(first, last);
    m_rows->PlaceRows();
    m_rows->Invalidate();
}

void CVirtualListUI::ApplyDeferredChanges()
{
    if (m_filling)
        return;
    // One round: a source that changes the list again from these fills waits for the next one.
    // Nothing is announced from here: the rows are being placed, and the program changed the
    // count itself.
    const int count = m_deferredCount;
    const bool refresh = m_deferredRefresh;
    m_deferredCount = -1;
    m_deferredRefresh = false;
    if (count >= 0)
        ApplyRowCount(count);
    if (refresh) {
        m_rows->MarkStale(0, kMaxRows);
        RequestLayout();
        Invalidate();
    }
}

void CVirtualListUI::OnRowsLaidOut()
{
    const int index = m_pendingVisible;
    m_pendingVisible = -1;
    if (index >= 0 && index < m_count)
        m_rows->ScrollRowIntoView(index);
}

void CVirtualListUI::EnsureVisible(int index)
{
    if (index < 0 || index >= m_count)
        return;
    if (m_rows->NeedsLayout() || m_rows->GetPosition().IsEmpty()) {
        m_pendingVisible = index;
        return;
    }
    m_rows->ScrollRowIntoView(index);
}

//--- selection -----------------------------------------------------------------------------------

void CVirtualListUI::SetMultiSelect(bool multi)
{
    m_multiSelect = multi;
    if (multi || m_selection.Count() <= 1)
        return;
    m_selection.Clear();
    if (m_current >= 0)
        m_selection.Add(m_current, m_current);
    m_rows->RefreshLooks();
}

void CVirtualListUI::ClearSelection()
{
    m_selection.Clear();
    m_rows->RefreshLooks();
}

void CVirtualListUI::Announce(int oldCurrent)
{
    if (m_host != nullptr)
        m_host->SendNotification(this, "itemselect", static_cast<WPARAM>(m_current), static_cast<LPARAM>(oldCurrent));
}

void CVirtualListUI::MoveCurrent(int index, TSelectHow how)
{
    const int old = m_current;
    if (!m_multiSelect)
        how = TSelectHow::Only;
    if (m_anchor < 0)
        m_anchor = old >= 0 ? old : index;
    switch (how) {
    case TSelectHow::Only:
        m_selection.Clear();
        m_selection.Add(index, index);
        m_anchor = index;
        break;
    case TSelectHow::Extend:
        m_selection.Clear();
        m_selection.Add(m_anchor, index);
        break;
    case TSelectHow::ExtendAdd:
        m_selection.Add(m_anchor, index);
        break;
    case TSelectHow::Toggle:
        m_selection.Toggle(index);
        m_anchor = index;
        break;
    case TSelectHow::Keep:
        break;
    }
    m_current = index;
    EnsureVisible(index);
    m_rows->RefreshLooks();
}

void CVirtualListUI::MoveAndAnnounce(int index, TSelectHow how)
{
    const int old = m_current;
    MoveCurrent(index, how);
    Announce(old);
}

bool CVirtualListUI::SelectItem(int index, bool takeFocus)
{
    if (index == m_current && index >= 0 && m_selection.Count() == 1 && m_selection.Contains(index))
        return true;
    if (index < 0 || !IsRowEnabled(index)) {
        // As a List: the old selection goes, and nothing is announced.
        m_selection.Clear();
        m_current = -1;
        m_anchor = -1;
        m_rows->RefreshLooks();
        return false;
    }
    if (takeFocus) {
        CControlAliveGuard alive(m_host, this);
        TakeFocus();
        if (!alive.IsAlive())
            return true;
    }
    MoveAndAnnounce(index, TSelectHow::Only);
    return true;
}

//--- input ---------------------------------------------------------------------------------------

int CVirtualListUI::KeyTarget(char key) const
{
    const int page = m_rows->PageRows();
    const int last = m_count - 1;
    const int from = m_current;
    switch (static_cast<unsigned char>(key)) {
    case VK_UP:
        return from < 0 ? FindEnabledRow(0, true) : FindEnabledRow(from - 1, false);
    case VK_DOWN:
        return from < 0 ? FindEnabledRow(0, true) : FindEnabledRow(from + 1, true);
    case VK_PRIOR: {
        const int to = from - page > 0 ? from - page : 0;
        const int up = FindEnabledRow(to, false);
        return up >= 0 ? up : FindEnabledRow(to, true);
    }
    case VK_NEXT: {
        const int to = from < 0 ? page - 1 : (from + page < last ? from + page : last);
        const int down = FindEnabledRow(to < last ? to : last, true);
        return down >= 0 ? down : FindEnabledRow(to < last ? to : last, false);
    }
    case VK_HOME:
        return FindEnabledRow(0, true);
    case VK_END:
        return FindEnabledRow(last, false);
    default:
        return -1;
    }
}

CVirtualListUI::TSelectHow CVirtualListUI::HowFor(bool shift, bool ctrl, TSelectHow ctrlAlone)
{
    if (shift)
        return ctrl ? TSelectHow::ExtendAdd : TSelectHow::Extend;
    return ctrl ? ctrlAlone : TSelectHow::Only;
}

bool CVirtualListUI::OnNavigationKey(char key, bool shift, bool ctrl)
{
    switch (static_cast<unsigned char>(key)) {
    case VK_RETURN:
        if (m_current >= 0 && m_current < m_count && IsRowEnabled(m_current) && m_host != nullptr)
            m_host->SendNotification(this, "itemactivate", static_cast<WPARAM>(m_current));
        return true;
    case VK_SPACE:
        if (!ctrl || !m_multiSelect || m_current < 0)
            return false;
        MoveAndAnnounce(m_current, TSelectHow::Toggle);
        return true;
    case VK_UP:
    case VK_DOWN:
    case VK_PRIOR:
    case VK_NEXT:
    case VK_HOME:
    case VK_END:
        break;
    default:
        return false;
    }
    const int target = KeyTarget(key);
    if (target >= 0)
        MoveAndAnnounce(target, HowFor(shift, ctrl, TSelectHow::Keep));
    return true;
}

void CVirtualListUI::SetHotIndex(int index)
{
    if (index == m_hot)
        return;
    m_hot = index;
    m_rows->RefreshLooks();
}

void CVirtualListUI::PressRow(int index, bool right, uint16_t keyState)
{
    if (!IsRowEnabled(index))
        return;
    CControlAliveGuard alive(m_host, this);
    if (m_host != nullptr)
        m_host->SendNotification(this, "itemclick", static_cast<WPARAM>(index));
    // A listener may have taken the list away or shortened it under the mouse.
    if (!alive.IsAlive() || index >= m_count)
        return;
    const bool shift = (keyState & MK_SHIFT) != 0;
    const bool ctrl = (keyState & MK_CONTROL) != 0;
    // A right press on a selected row keeps the selection, for a menu over all of it.
    if (right && m_selection.Contains(index)) {
        MoveAndAnnounce(index, TSelectHow::Keep);
        return;
    }
    MoveAndAnnounce(index, HowFor(shift, ctrl, TSelectHow::Toggle));
}

bool CVirtualListUI::OnMouseEvent(TInputEvent& event)
{
    switch (event.Type) {
    case InputEventKind::ButtonDown:
    case InputEventKind::RightButtonDown: {
        const int index = m_rows->RowAt(event.MousePoint);
        if (index < 0)
            return false;
        PressRow(index, event.Type == InputEventKind::RightButtonDown, event.KeyState);
        return true;
    }
    case InputEventKind::DoubleClick: {
        const int index = m_rows->RowAt(event.MousePoint);
        if (index < 0 || !IsRowEnabled(index))
            return false;
        if (m_host != nullptr)
            m_host->SendNotification(this, "itemactivate", static_cast<WPARAM>(index));
        return true;
    }
    case InputEventKind::MouseMove:
    case InputEventKind::MouseEnter:
        SetHotIndex(m_rows->RowAt(event.MousePoint));
        return true;
    case InputEventKind::MouseLeave:
        SetHotIndex(-1);
        return true;
    case InputEventKind::ScrollWheel:
        if (LOWORD(event.WParam) > 1)
            return false;
        if (IsScrollSelect())
            OnNavigationKey(LOWORD(event.WParam) == 0 ? VK_UP : VK_DOWN, false, false);
        else if (LOWORD(event.WParam) == 0)
            ScrollLineUp();
        else
            ScrollLineDown();
        return true;
    default:
        return false;
    }
}

void CVirtualListUI::OnEvent(TInputEvent& event)
{
    // Keys and the mouse over the rows are the virtual list's own; the rest (focus, a mouse the
    // list refuses, other keys) goes as in a List.
    if (!IsMouseEventKind(event.Type) || AcceptsMouse()) {
        if (event.Type == InputEventKind::KeyDown
            && OnNavigationKey(event.KeyChar, ::GetKeyState(VK_SHIFT) < 0, ::GetKeyState(VK_CONTROL) < 0))
            return;
        if (IsMouseEventKind(event.Type) && OnMouseEvent(event))
            return;
    }
    CListUI::OnEvent(event);
}

void CVirtualListUI::OnHeaderClick(int column)
{
    if (m_host != nullptr && column >= 0)
        m_host->SendNotification(this, "columnclick", static_cast<WPARAM>(column));
}

//--- attributes ----------------------------------------------------------------------------------

CAttributeTable<CVirtualListUI> CVirtualListUI::OwnAttributes()
{
    using C = CVirtualListUI;
    static constexpr TAttributeHandler<C> kTable[] = {
        {"multiselect", [](C& c, const char* v) { c.SetMultiSelect(ParseFlag(v)); }},
        {"itemheight",
            [](C& c, const char* v) {
                c.m_fixedRowHeight = ParseInt(v);
                c.RequestLayout();
            }},
    };
    return kTable;
}

void CVirtualListUI::SetAttribute(const char* name, const char* value)
{
    if (!OwnAttributes().Apply(*this, name, value))
        CListUI::SetAttribute(name, value);
}

void CVirtualListUI::AppendAttributeNames(TAttributeNames& names)
{
    OwnAttributes().AppendNames(names);
    CListUI::AppendAttributeNames(names);
}

}  // namespace SkinUI
