#include "controls/layout/TabLayout.h"

#include "controls/base/CastChain.h"
#include "controls/layout/LayoutLimits.h"
#include "core/ValueParse.h"
#include "host/ControlAliveGuard.h"
#include "host/WindowHost.h"

namespace SkinUI {

CTabLayoutUI::CTabLayoutUI() = default;

CTabLayoutUI::~CTabLayoutUI() = default;

const char* CTabLayoutUI::GetTypeName() const { return "TabLayoutUI"; }

void* CTabLayoutUI::CastTo(const char* name) { return CastToSelfOrBase<CContainerUI>(this, name); }

CAttributeTable<CTabLayoutUI> CTabLayoutUI::OwnAttributes()
{
    using C = CTabLayoutUI;
    static constexpr TAttributeHandler<C> kTable[] = {
        // The last thing done to the layout: SelectTab notifies, and a listener may destroy it.
        {"selectedid", [](C& c, const char* v) { c.SelectTab(ParseInt(v)); }},
    };
    return kTable;
}

void CTabLayoutUI::SetAttribute(const char* name, const char* value)
{
    OwnAttributes().ApplyOrBase<CContainerUI>(*this, name, value);
}

void CTabLayoutUI::AppendAttributeNames(TAttributeNames& names) { OwnAttributes().AppendWithBase<CContainerUI>(names); }

//--- the page list ---------------------------------------------------------------------------------

bool CTabLayoutUI::MoveChild(CControlUI* control, int newIndex)
{
    CControlUI* current = ChildAt(m_currentIndex);
    if (!CContainerUI::MoveChild(control, newIndex))
        return false;
    // The index follows the shown page, so the next layout places that page and no hidden one.
    if (current != nullptr)
        m_currentIndex = IndexOfChild(current);
    return true;
}

bool CTabLayoutUI::AddChild(CControlUI* control)
{
    // Not the container's AddChild: that goes through our InsertChild, which has its own rule.
    if (!CContainerUI::InsertChild(control, ChildCount()))
        return false;
    // A page is judged by its own flag: a layout filled while it or an outer page is hidden
    // still shows its first page once shown.
    if (m_currentIndex == -1 && control->IsOwnVisible())
        m_currentIndex = IndexOfChild(control);
    else
        control->SetVisible(false);
    return true;
}

bool CTabLayoutUI::InsertChild(CControlUI* control, int index)
{
    if (!CContainerUI::InsertChild(control, index))
        return false;
    if (m_currentIndex == -1 && control->IsOwnVisible()) {
        m_currentIndex = IndexOfChild(control);
        return true;
    }
    if (m_currentIndex != -1 && m_currentIndex >= index)
        ++m_currentIndex;
    // Never placed, so it must not stay visible: its controls would be hit and tabbed into.
    control->SetVisible(false);
    return true;
}

bool CTabLayoutUI::RemoveChild(CControlUI* control)
{
    if (control == nullptr)
        return false;
    const int index = IndexOfChild(control);
    if (!CContainerUI::RemoveChild(control))
        return false;
    if (index == m_currentIndex) {
        // Page 0 takes over quietly: no "tabselect" for a removal.
        if (ChildCount() > 0) {
            m_currentIndex = 0;
            ChildAt(0)->SetVisible(true);
        } else {
            m_currentIndex = -1;
        }
        RequestParentLayout();
    } else if (index < m_currentIndex) {
        --m_currentIndex;
    }
    return true;
}

void CTabLayoutUI::RemoveAllChildren()
{
    m_currentIndex = -1;
    CContainerUI::RemoveAllChildren();
    RequestParentLayout();
}

//--- selection -------------------------------------------------------------------------------------

bool CTabLayoutUI::SelectTab(int index)
{
    if (index < 0 || index >= ChildCount())
        return false;
    if (index == m_currentIndex)
        return true;
    const int old = m_currentIndex;
    m_currentIndex = index;
    // Hiding a page or moving the focus raises "killfocus" and "setfocus", whose listeners may
    // destroy this layout: after each step, go on only while it lives.
    CControlAliveGuard alive(m_host, this);
    for (int i = 0; i < ChildCount(); ++i) {
        CControlUI* page = ChildAt(i);
        if (i != index) {
            page->SetVisible(false);
        } else {
            page->SetVisible(true);
            page->TakeFocus();
            if (alive.IsAlive())
                SetPosition(m_position);
        }
        if (!alive.IsAlive())
            return true;
    }
    RequestParentLayout();
    if (m_host == nullptr)
        return true;
    m_host->ScheduleFocus(this);
    if (alive.IsAlive())
        m_host->SendNotification(this, "tabselect", static_cast<WPARAM>(index), static_cast<LPARAM>(old));
    return true;
}

//--- layout ----------------------------------------------------------------------------------------

void CTabLayoutUI::SetPosition(const CRectUI& rect)
{
    CControlUI::SetPosition(rect);
    CRectUI r = InsetRect();
    for (int i = 0; i < ChildCount(); ++i) {
        CControlUI* child = ChildAt(i);
        if (!child->IsVisible())
            continue;
        if (child->IsFloating()) {
            PlaceFloatingChild(i);
            continue;
        }
        if (i != m_currentIndex)
            continue;
        const CRectUI p = child->ScaledPadding();
        r = CRectUI(r.left + p.left, r.top + p.top, r.right - p.right, r.bottom - p.bottom);
        CSizeUI s = child->MeasureSize(CSizeUI(r.GetWidth(), r.GetHeight()));
        if (s.cx == 0)
            s.cx = r.GetWidth() < 0 ? 0 : r.GetWidth();
        if (s.cy == 0)
            s.cy = r.GetHeight() < 0 ? 0 : r.GetHeight();
        s.cx = ClampToWidthLimits(child, s.cx);
        s.cy = ClampToHeightLimits(child, s.cy);
        child->SetPosition(CRectUI(r.left, r.top, r.left + s.cx, r.top + s.cy));
    }
}

}  // namespace SkinUI
