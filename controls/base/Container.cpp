#include "controls/base/Container.h"

#include <vector>

#include "controls/list/ListInterfaces.h"
#include "controls/range/ScrollBar.h"
#include "core/ValueParse.h"
#include "host/WindowHost.h"
#include "render/ClipScope.h"

namespace SkinUI {

namespace {

bool Meets(const RECT& a, const RECT& b)
{
    CRectUI r(a);
    return r.Intersect(b);
}

CRectUI Shrink(const RECT& rect, const RECT& by)
{
    return CRectUI(rect.left + by.left, rect.top + by.top, rect.right - by.right, rect.bottom - by.bottom);
}

}  // namespace

//--- construction, identity ----------------------------------------------------------------------

CContainerUI::CContainerUI() = default;

CContainerUI::~CContainerUI()
{
    // Our own destruction must not leave children waiting in the host's queue. A container that
    // is going is shown no more, so emptying it asks for no layout or repaint: whoever took it out
    // asked already, and each request would invalidate the window once per container of a large
    // removed subtree.
    m_defersChildDestroy = false;
    m_visible = false;
    RemoveAllChildren();
    delete m_verticalScrollBar;
    m_verticalScrollBar = nullptr;
    delete m_horizontalScrollBar;
    m_horizontalScrollBar = nullptr;
}

const char* CContainerUI::GetTypeName() const { return "ContainerUI"; }

void* CContainerUI::CastTo(const char* name)
{
    CUIString n(name);
    if (n == IContainerUI::kCastName)
        return static_cast<IContainerUI*>(this);
    if (n == kCastName)
        return this;
    return CControlUI::CastTo(name);
}

//--- propagation ---------------------------------------------------------------------------------

void CContainerUI::AttachHost(CWindowHostUI* host, CControlUI* parent, bool initNow)
{
    for (int i = 0; i < m_children.GetSize(); ++i)
        OwnChild(i)->AttachHost(host, this, initNow);
    if (m_verticalScrollBar)
        m_verticalScrollBar->AttachHost(host, this, initNow);
    if (m_horizontalScrollBar)
        m_horizontalScrollBar->AttachHost(host, this, initNow);
    CControlUI::AttachHost(host, parent, initNow);
}

void CContainerUI::SetVisible(bool visible)
{
    if (visible == m_visible)
        return;
    CControlUI::SetVisible(visible);
    for (int i = 0; i < m_children.GetSize(); ++i)
        OwnChild(i)->SetVisibleByParent(IsVisible());
}

void CContainerUI::SetVisibleByParent(bool visible)
{
    CControlUI::SetVisibleByParent(visible);
    for (int i = 0; i < m_children.GetSize(); ++i)
        OwnChild(i)->SetVisibleByParent(IsVisible());
}

void CContainerUI::SetAcceptsMouse(bool accepts)
{
    if (m_verticalScrollBar)
        m_verticalScrollBar->SetAcceptsMouse(accepts);
    if (m_horizontalScrollBar)
        m_horizontalScrollBar->SetAcceptsMouse(accepts);
    CControlUI::SetAcceptsMouse(accepts);
}

//--- child list ----------------------------------------------------------------------------------

CControlUI* CContainerUI::ChildAt(int index) const { return static_cast<CControlUI*>(m_children.GetAt(index)); }

int CContainerUI::IndexOfChild(const CControlUI* control) const
{
    for (int i = 0; i < m_children.GetSize(); ++i) {
        if (m_children.GetAt(i) == control)
            return i;
    }
    return -1;
}

bool CContainerUI::MoveChild(CControlUI* control, int newIndex)
{
    int oldIndex = CContainerUI::IndexOfChild(control);
    // The index is checked first: removing and then failing to insert would orphan the child.
    if (oldIndex < 0 || newIndex < 0 || newIndex >= m_children.GetSize())
        return false;
    RequestLayout();
    m_children.Remove(oldIndex);
    // Cannot fail: the list had room for this many slots a moment ago.
    return m_children.InsertAt(newIndex, control);
}

int CContainerUI::ChildCount() const { return m_children.GetSize(); }

bool CContainerUI::AddChild(CControlUI* control) { return InsertChild(control, m_children.GetSize()); }

bool CContainerUI::InsertChild(CControlUI* control, int index)
{
    if (!control || index < 0 || index > m_children.GetSize())
        return false;
    // A control listed twice would be destroyed twice. Attached, every child (and each scroll bar)
    // has this container for parent, which spares a search through long child lists.
    const bool listed = m_host != nullptr ? control->GetParent() == this : CContainerUI::IndexOfChild(control) >= 0;
    if (listed)
        return false;
    if (m_host)
        m_host->AdoptSubtree(control, this);
    if (IsVisible())
        RequestLayout();
    else
        control->SetVisibleByParent(false);
    return m_children.InsertAt(index, control);
}

bool CContainerUI::RemoveChild(CControlUI* control)
{
    return RemoveOwnChildren(CContainerUI::IndexOfChild(control), 1);
}

bool CContainerUI::RemoveOwnChildren(int first, int count)
{
    const int size = m_children.GetSize();
    if (first < 0 || count <= 0 || count > size - first)
        return false;
    RequestLayout();
    // Dropped from the list before they die, so nothing reached from a destructor sees them here.
    std::vector<CControlUI*> doomed;
    doomed.reserve(static_cast<size_t>(count));
    for (int i = first; i < first + count; ++i)
        doomed.push_back(OwnChild(i));
    m_children.RemoveRange(first, count);
    for (CControlUI* child : doomed)
        ReleaseChild(child);
    return true;
}

bool CContainerUI::RemoveChildAt(int index)
{
    CControlUI* control = OwnChild(index);
    return control ? RemoveChild(control) : false;
}

void CContainerUI::RemoveAllChildren()
{
    CPtrVectorUI children(m_children);
    m_children.Clear();
    for (int i = 0; i < children.GetSize(); ++i)
        ReleaseChild(static_cast<CControlUI*>(children.GetAt(i)));
    RequestLayout();
}

void CContainerUI::ReleaseChild(CControlUI* child)
{
    if (!m_ownsChildren) {
        // Ours no longer: the host forgets it, and it belongs nowhere until added again.
        if (m_host)
            m_host->ForgetSubtree(child);
        child->AttachHost(nullptr, nullptr, false);
        return;
    }
    if (m_defersChildDestroy && m_host)
        m_host->DeferDestroy(child);
    else
        delete child;
}

//--- settings ------------------------------------------------------------------------------------

CRectUI CContainerUI::GetInset() const { return m_inset; }

void CContainerUI::SetInset(const CRectUI& inset)
{
    m_inset = inset;
    RequestLayout();
}

int CContainerUI::GetChildPadding() const { return m_childPadding; }

void CContainerUI::SetChildPadding(int padding)
{
    m_childPadding = padding;
    RequestLayout();
}

bool CContainerUI::OwnsChildren() const { return m_ownsChildren; }
void CContainerUI::SetOwnsChildren(bool owns) { m_ownsChildren = owns; }
bool CContainerUI::DefersChildDestroy() const { return m_defersChildDestroy; }
void CContainerUI::SetDefersChildDestroy(bool defers) { m_defersChildDestroy = defers; }
bool CContainerUI::ChildrenAcceptMouse() const { return m_childrenAcceptMouse; }
void CContainerUI::SetChildrenAcceptMouse(bool accepts) { m_childrenAcceptMouse = accepts; }
CScrollBarUI* CContainerUI::GetVerticalScrollBar() const { return m_verticalScrollBar; }
CScrollBarUI* CContainerUI::GetHorizontalScrollBar() const { return m_horizontalScrollBar; }

int CContainerUI::FindSelectableChild(int index, bool forward) const
{
    int count = m_children.GetSize();
    if (count == 0)
        return -1;
    int start = index < 0 ? 0 : (index >= count ? count - 1 : index);
    int step = forward ? 1 : -1;
    for (int i = start; i >= 0 && i < count; i += step) {
        CControlUI* child = OwnChild(i);
        if (ControlCast<IListItemUI>(child) && child->IsVisible() && child->IsEnabled())
            return i;
    }
    return forward ? -1 : FindSelectableChild(0, true);
}

//--- placement -----------------------------------------------------------------------------------

bool CContainerUI::VerticalBarShown() const { return m_verticalScrollBar && m_verticalScrollBar->IsVisible(); }

bool CContainerUI::HorizontalBarShown() const { return m_horizontalScrollBar && m_horizontalScrollBar->IsVisible(); }

CRectUI CContainerUI::InsetRect() const { return Shrink(m_position, Scaled(m_inset)); }

CRectUI CContainerUI::ClientRect() const
{
    CRectUI client = InsetRect();
    if (VerticalBarShown())
        client.right -= m_verticalScrollBar->ScaledFixedWidth();
    if (HorizontalBarShown())
        client.bottom -= m_horizontalScrollBar->ScaledFixedHeight();
    return client;
}

void CContainerUI::SetPosition(const CRectUI& rect)
{
    CControlUI::SetPosition(rect);
    if (m_children.IsEmpty())
        return;
    PlaceChildren(Shrink(rect, Scaled(m_inset)));
}

void CContainerUI::PlaceChildren(const CRectUI& inner)
{
    for (int i = 0; i < m_children.GetSize(); ++i) {
        CControlUI* child = OwnChild(i);
        if (!child->IsVisible())
            continue;
        if (child->IsFloating())
            PlaceFloatingChild(i);
        else
            child->SetPosition(inner);
    }
}

void CContainerUI::PlaceChild(CControlUI* child, const CRectUI& rect) { child->SetPosition(rect); }

void CContainerUI::PlaceFloatingChild(int index)
{
    CControlUI* child = OwnChild(index);
    if (!child || !child->IsVisible() || !child->IsFloating())
        return;
    CSizeUI offset = child->ScaledFloatOffset();
    int w = child->ScaledFixedWidth();
    int h = child->ScaledFixedHeight();
    const CRectUI& p = m_position;
    // Along one axis: a negative offset counts from the far (right or bottom) edge.
    auto place = [](LONG nearEdge, LONG farEdge, LONG offset, int size, LONG& from, LONG& to) {
        from = offset >= 0 ? nearEdge + offset : farEdge + offset - size;
        to = from + size;
    };
    CRectUI r;
    place(p.left, p.right, offset.cx, w, r.left, r.right);
    place(p.top, p.bottom, offset.cy, h, r.top, r.bottom);
    if (child->HasRelativeRule()) {
        TRelativePos rule = child->GetRelativeRule();
        int width = p.GetWidth();
        int height = p.GetHeight();
        // The first placement only records the size the rule is measured against.
        if (rule.BaseSize.cx != 0) {
            int dx = width - rule.BaseSize.cx;
            int dy = height - rule.BaseSize.cy;
            r.left += dx * rule.MoveX / 100;
            r.top += dy * rule.MoveY / 100;
            r.right = r.left + dx * rule.ZoomX / 100 + w;
            r.bottom = r.top + dy * rule.ZoomY / 100 + h;
        }
        child->SetRelativeBaseSize(CSizeUI(width, height));
    }
    child->SetPosition(r);
}

//--- scrolling -----------------------------------------------------------------------------------

CSizeUI CContainerUI::GetScrollPosition() const
{
    return CSizeUI(HorizontalBarShown() ? m_horizontalScrollBar->GetValue() : 0,
        VerticalBarShown() ? m_verticalScrollBar->GetValue() : 0);
}

CSizeUI CContainerUI::GetScrollExtent() const
{
    return CSizeUI(HorizontalBarShown() ? m_horizontalScrollBar->GetRange() : 0,
        VerticalBarShown() ? m_verticalScrollBar->GetRange() : 0);
}

void CContainerUI::SetScrollPosition(const CSizeUI& position)
{
    int dx = 0;
    int dy = 0;
    if (VerticalBarShown()) {
        int old = m_verticalScrollBar->GetValue();
        m_verticalScrollBar->SetValue(position.cy);
        dy = m_verticalScrollBar->GetValue() - old;
    }
    if (HorizontalBarShown()) {
        int old = m_horizontalScrollBar->GetValue();
        m_horizontalScrollBar->SetValue(position.cx);
        dx = m_horizontalScrollBar->GetValue() - old;
    }
    if (dx == 0 && dy == 0)
        return;
    ScrollChildren(dx, dy);
    Invalidate();
}

void CContainerUI::ScrollChildren(int dx, int dy)
{
    for (int i = 0; i < m_children.GetSize(); ++i) {
        CControlUI* child = OwnChild(i);
        if (!child->IsVisible() || child->IsFloating())
            continue;
        CRectUI r = child->GetPosition();
        r.Offset(-dx, -dy);
        PlaceChild(child, r);
    }
}

void CContainerUI::OnChildChanged(CControlUI* /*child*/) { NoteChangeToParent(); }

void CContainerUI::UpdateChildPlace(CControlUI* /*child*/) { }

const CRectUI& CurrentPosition(CControlUI* control)
{
    // From the outermost container down: a row's place decides where its parts go.
    std::vector<CControlUI*> chain;
    for (CControlUI* c = control; c != nullptr && c->GetParent() != nullptr; c = c->GetParent())
        chain.push_back(c);
    for (auto it = chain.rbegin(); it != chain.rend(); ++it) {
        if (CContainerUI* parent = ControlCast<CContainerUI>((*it)->GetParent()))
            parent->UpdateChildPlace(*it);
    }
    return control->GetPosition();
}

int CContainerUI::ScrollLineStep() const
{
    if (!m_host)
        return 8;
    return m_host->GetDefaultFontEntry()->metrics.tmHeight + Scaled(8);
}

// The line and page operations move from the current position; the bars clamp the result.
void CContainerUI::ScrollBy(int dx, int dy)
{
    CSizeUI pos = GetScrollPosition();
    pos.cx += dx;
    pos.cy += dy;
    SetScrollPosition(pos);
}

int CContainerUI::PageHeight() const
{
    const CRectUI inset = Scaled(m_inset);
    int page = m_position.GetHeight() - inset.top - inset.bottom;
    if (HorizontalBarShown())
        page -= m_horizontalScrollBar->ScaledFixedHeight();
    return page;
}

int CContainerUI::PageWidth() const
{
    const CRectUI inset = Scaled(m_inset);
    int page = m_position.GetWidth() - inset.left - inset.right;
    if (VerticalBarShown())
        page -= m_verticalScrollBar->ScaledFixedWidth();
    return page;
}

void CContainerUI::ScrollLineUp() { ScrollBy(0, -ScrollLineStep()); }
void CContainerUI::ScrollLineDown() { ScrollBy(0, ScrollLineStep()); }
void CContainerUI::ScrollPageUp() { ScrollBy(0, -PageHeight()); }
void CContainerUI::ScrollPageDown() { ScrollBy(0, PageHeight()); }
void CContainerUI::ScrollToTop() { SetScrollPosition(CSizeUI(GetScrollPosition().cx, 0)); }
void CContainerUI::ScrollToBottom() { SetScrollPosition(CSizeUI(GetScrollPosition().cx, GetScrollExtent().cy)); }
// Horizontal lines are always 8 pixels: there is no font to measure across.
void CContainerUI::ScrollLineLeft() { ScrollBy(-Scaled(8), 0); }
void CContainerUI::ScrollLineRight() { ScrollBy(Scaled(8), 0); }
void CContainerUI::ScrollPageLeft() { ScrollBy(-PageWidth(), 0); }
void CContainerUI::ScrollPageRight() { ScrollBy(PageWidth(), 0); }
void CContainerUI::ScrollToLeftEnd() { SetScrollPosition(CSizeUI(0, GetScrollPosition().cy)); }
void CContainerUI::ScrollToRightEnd() { SetScrollPosition(CSizeUI(GetScrollExtent().cx, GetScrollPosition().cy)); }

void CContainerUI::SetScrollBarsEnabled(bool vertical, bool horizontal)
{
    struct TBarSlot {
        CScrollBarUI** bar;
        bool wanted;
        bool horizontal;
        const char* defaultsName;
    } slots[2] = {{&m_verticalScrollBar, vertical, false, "VScrollBar"},
        {&m_horizontalScrollBar, horizontal, true, "HScrollBar"}};
    for (TBarSlot& slot : slots) {
        if (!slot.wanted) {
            delete *slot.bar;
            *slot.bar = nullptr;
            continue;
        }
        if (*slot.bar)
            continue;
        CScrollBarUI* bar = new CScrollBarUI;
        if (slot.horizontal)
            bar->SetHorizontal(true);
        bar->SetOwner(this);
        bar->AttachHost(m_host, nullptr, false);
        if (m_host) {
            if (const char* defaults = m_host->ClassDefaultsFor(slot.defaultsName))
                bar->ApplyAttributeText(defaults);
        }
        *slot.bar = bar;
    }
    RequestLayout();
}

void CContainerUI::UpdateScrollBars(const CRectUI& client, int /*requiredWidth*/, int requiredHeight)
{
    if (HorizontalBarShown()) {
        m_horizontalScrollBar->SetPosition(CRectUI(
            client.left, client.bottom, client.right, client.bottom + m_horizontalScrollBar->ScaledFixedHeight()));
    }
    CScrollBarUI* bar = m_verticalScrollBar;
    if (!bar)
        return;
    int clientHeight = client.GetHeight();
    if (requiredHeight > clientHeight && !bar->IsVisible()) {
        bar->SetVisible(true);
        bar->SetRange(requiredHeight - clientHeight);
        bar->SetValue(0);
        // The bar now takes width from the children: lay out again.
        m_scrollBarsUpdating = true;
        SetPosition(m_position);
        m_scrollBarsUpdating = false;
        return;
    }
    if (!bar->IsVisible())
        return;
    int overflow = requiredHeight - clientHeight;
    if (overflow <= 0 && !m_scrollBarsUpdating) {
        bar->SetVisible(false);
        bar->SetValue(0);
        bar->SetRange(0);
        SetPosition(m_position);
        return;
    }
    bar->SetPosition(CRectUI(client.right, client.top, client.right + bar->ScaledFixedWidth(), client.bottom));
    if (bar->GetRange() == overflow)
        return;
    int oldValue = bar->GetValue();
    bar->SetRange(overflow < 0 ? -overflow : overflow);
    if (bar->GetRange() == 0) {
        bar->SetVisible(false);
        bar->SetValue(0);
    }
    if (oldValue > bar->GetValue())
        SetPosition(m_position);
}

//--- search and hit testing ----------------------------------------------------------------------

CControlUI* CContainerUI::FindControl(FindVisitor visitor, void* data, unsigned flags)
{
    if ((flags & FindVisible) && !IsVisible())
        return nullptr;
    if ((flags & FindEnabled) && !IsEnabled())
        return nullptr;
    const bool hitTest = (flags & FindHitTest) != 0;
    const POINT* point = static_cast<const POINT*>(data);
    if (hitTest && !m_position.Contains(*point))
        return nullptr;
    const bool pathOnly = (flags & FindLayoutPath) != 0;
    auto visit = [&](CControlUI* child) -> CControlUI* {
        if (child == nullptr || (pathOnly && !child->NeedsLayoutHereOrBelow()))
            return nullptr;
        return child->FindControl(visitor, data, flags);
    };
    CControlUI* found = visit(m_verticalScrollBar);
    if (!found)
        found = visit(m_horizontalScrollBar);
    if (found)
        return found;
    if (hitTest && !m_childrenAcceptMouse)
        return CControlUI::FindControl(visitor, data, flags);
    if (flags & FindMeFirst) {
        if ((found = CControlUI::FindControl(visitor, data, flags)) != nullptr)
            return found;
    }
    CRectUI client = ClientRect();
    int first = 0;
    // The bars are looked at above whatever the mark says: one made for a container already shown
    // has no parent to mark.
    int end = pathOnly && !m_layoutBelow ? 0 : m_children.GetSize();
    // Only shown children can be hit: a long list looks at the few under the point.
    if (hitTest && (flags & FindVisible))
        ChildrenMeeting(CRectUI(point->x, point->y, point->x + 1, point->y + 1), first, end);
    // What a search down the marked paths leaves marked below: a hidden child may still hold a
    // flagged control, and keeps the way to it.
    bool below = false;
    for (int k = 0; k < end - first; ++k) {
        int i = (flags & FindTopFirst) ? end - 1 - k : first + k;
        CControlUI* child = OwnChild(i);
        found = visit(child);
        below = below || (child != nullptr && child->NeedsLayoutHereOrBelow());
        if (!found)
            continue;
        // Children scrolled out of the client area cannot be hit.
        if (!hitTest || found->IsFloating() || client.Contains(*point))
            return found;
    }
    if (pathOnly && m_layoutBelow)
        m_layoutBelow = below;
    if (flags & FindMeFirst)
        return nullptr;
    return CControlUI::FindControl(visitor, data, flags);
}

//--- painting ------------------------------------------------------------------------------------

void CContainerUI::Paint(HDC hdc, const CRectUI& paintRect)
{
    CRectUI r = paintRect;
    if (!r.Intersect(m_position))
        return;
    CClipScope containerClip;
    CClipScope::NarrowToRect(hdc, r, containerClip);
    CControlUI::Paint(hdc, paintRect);

    if (!m_children.IsEmpty()) {
        CRectUI client = ClientRect();
        CRectUI childClip = paintRect;
        const bool clientVisible = childClip.Intersect(client);
        int first = 0;
        int end = m_children.GetSize();
        ChildrenMeeting(paintRect, first, end);
        for (int i = first; i < end; ++i) {
            CControlUI* child = OwnChild(i);
            if (!child->IsVisible() || !Meets(paintRect, child->GetPosition()))
                continue;
            if (child->IsFloating()) {
                // Floating children may cover the inset and the bars: only the container clips them.
                if (Meets(m_position, child->GetPosition()))
                    child->Paint(hdc, paintRect);
            } else if (clientVisible && Meets(client, child->GetPosition())) {
                CClipScope clip;
                CClipScope::NarrowToRect(hdc, childClip, clip);
                child->Paint(hdc, paintRect);
            }
        }
    }
    if (VerticalBarShown() && Meets(paintRect, m_verticalScrollBar->GetPosition()))
        m_verticalScrollBar->Paint(hdc, paintRect);
    if (HorizontalBarShown() && Meets(paintRect, m_horizontalScrollBar->GetPosition()))
        m_horizontalScrollBar->Paint(hdc, paintRect);
}

void CContainerUI::ChildrenMeeting(const CRectUI& /*rect*/, int& first, int& end) const
{
    first = 0;
    end = m_children.GetSize();
}

//--- input ---------------------------------------------------------------------------------------

void CContainerUI::OnEvent(TInputEvent& event)
{
    if (PassOnRefusedMouse(*this, m_parent, event, [this](TInputEvent& e) { CControlUI::OnEvent(e); }))
        return;
    if (event.Type == InputEventKind::FocusGained) {
        m_focused = true;
        return;
    }
    if (event.Type == InputEventKind::FocusLost) {
        m_focused = false;
        return;
    }
    const bool vertical = VerticalBarShown() && m_verticalScrollBar->IsEnabled();
    const bool horizontal = !vertical && HorizontalBarShown() && m_horizontalScrollBar->IsEnabled();
    if (vertical || horizontal) {
        typedef void (CContainerUI::*Scroll)();
        // Down, up, page down, page up, home, end, wheel towards, wheel away.
        static const Scroll kVertical[] = {&CContainerUI::ScrollLineDown, &CContainerUI::ScrollLineUp,
            &CContainerUI::ScrollPageDown, &CContainerUI::ScrollPageUp, &CContainerUI::ScrollToTop,
            &CContainerUI::ScrollToBottom, &CContainerUI::ScrollLineUp, &CContainerUI::ScrollLineDown};
        static const Scroll kHorizontal[] = {&CContainerUI::ScrollLineRight, &CContainerUI::ScrollLineLeft,
            &CContainerUI::ScrollPageRight, &CContainerUI::ScrollPageLeft, &CContainerUI::ScrollToLeftEnd,
            &CContainerUI::ScrollToRightEnd, &CContainerUI::ScrollLineLeft, &CContainerUI::ScrollLineRight};
        const Scroll* table = vertical ? kVertical : kHorizontal;
        int action = -1;
        if (event.Type == InputEventKind::KeyDown) {
            switch (static_cast<unsigned char>(event.KeyChar)) {
            case VK_DOWN:
                action = 0;
                break;
            case VK_UP:
                action = 1;
                break;
            case VK_NEXT:
                action = 2;
                break;
            case VK_PRIOR:
                action = 3;
                break;
            case VK_HOME:
                action = 4;
                break;
            case VK_END:
                action = 5;
                break;
            default:
                break;
            }
        } else if (event.Type == InputEventKind::ScrollWheel) {
            if (LOWORD(event.WParam) == 0)
                action = 6;
            else if (LOWORD(event.WParam) == 1)
                action = 7;
        }
        if (action >= 0) {
            (this->*table[action])();
            return;
        }
    }
    CControlUI::OnEvent(event);
}

//--- attributes ----------------------------------------------------------------------------------

CAttributeTable<CContainerUI> CContainerUI::OwnAttributes()
{
    using C = CContainerUI;
    static constexpr TAttributeHandler<C> kTable[] = {
        {"inset", [](C& c, const char* v) { c.SetInset(ParseRect(v)); }},
        {"mousechild", [](C& c, const char* v) { c.SetChildrenAcceptMouse(ParseFlag(v)); }},
        {"vscrollbar",
            [](C& c, const char* v) { c.SetScrollBarsEnabled(ParseFlag(v), c.m_horizontalScrollBar != nullptr); }},
        {"vscrollbarstyle",
            [](C& c, const char* v) {
                c.SetScrollBarsEnabled(true, c.m_horizontalScrollBar != nullptr);
                c.m_verticalScrollBar->ApplyAttributeText(v);
            }},
        {"hscrollbar",
            [](C& c, const char* v) { c.SetScrollBarsEnabled(c.m_verticalScrollBar != nullptr, ParseFlag(v)); }},
        {"hscrollbarstyle",
            [](C& c, const char* v) {
                c.SetScrollBarsEnabled(c.m_verticalScrollBar != nullptr, true);
                c.m_horizontalScrollBar->ApplyAttributeText(v);
            }},
        {"childpadding", [](C& c, const char* v) { c.SetChildPadding(ParseInt(v)); }},
    };
    return kTable;
}

void CContainerUI::SetAttribute(const char* name, const char* value)
{
    if (!OwnAttributes().Apply(*this, name, value))
        CControlUI::SetAttribute(name, value);
}

void CContainerUI::AppendAttributeNames(TAttributeNames& names)
{
    OwnAttributes().AppendNames(names);
    CControlUI::AppendAttributeNames(names);
}

}  // namespace SkinUI
