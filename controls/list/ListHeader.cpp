#include "controls/list/ListHeader.h"

#include "controls/list/List.h"
#include "controls/list/ListItemCore.h"
#include "core/DpiScale.h"
#include "core/ValueParse.h"
#include "host/ControlAliveGuard.h"
#include "host/WindowHost.h"
#include "render/RenderKit.h"

namespace SkinUI {

//--- header --------------------------------------------------------------------------------------

const char* CListHeaderUI::GetTypeName() const { return "ListHeaderUI"; }

void* CListHeaderUI::CastTo(const char* name)
{
    if (CUIString(name) == kCastName)
        return this;
    return CHorizontalLayoutUI::CastTo(name);
}

void CListHeaderUI::SetPosition(const CRectUI& rect)
{
    CHorizontalLayoutUI::SetPosition(rect);
    if (m_parent != nullptr) {
        if (CListUI* list = ControlCast<CListUI>(m_parent))
            list->OnHeaderLaidOut();
    }
}

CSizeUI CListHeaderUI::MeasureSize(CSizeUI available)
{
    const CSizeUI fixed = Scaled(m_fixedSize);
    CSizeUI size(0, fixed.cy);
    int tallest = 0;
    for (int i = 0; i < ChildCount(); ++i) {
        const CSizeUI caption = ChildAt(i)->MeasureSize(available);
        size.cx += caption.cx;
        if (caption.cy > tallest)
            tallest = caption.cy;
    }
    if (size.cy == 0 && m_host != nullptr) {
        const int least = m_host->GetDefaultFontEntry()->metrics.tmHeight + Scaled(6);
        size.cy = tallest > least ? tallest : least;
    }
    return size;
}

//--- caption -------------------------------------------------------------------------------------

const char* CListHeaderItemUI::GetTypeName() const { return "ListHeaderItemUI"; }

void* CListHeaderItemUI::CastTo(const char* name)
{
    if (CUIString(name) == kCastName)
        return this;
    return CControlUI::CastTo(name);
}

unsigned CListHeaderItemUI::GetCapabilities() const
{
    return (IsEnabled() && m_separatorWidth != 0) ? CapabilityWantsCursor : 0u;
}

void CListHeaderItemUI::SetEnabled(bool enabled)
{
    CControlUI::SetEnabled(enabled);
    if (!enabled)
        m_buttonState = 0;
}

CSizeUI CListHeaderItemUI::MeasureSize(CSizeUI /*available*/)
{
    const CSizeUI fixed = Scaled(m_fixedSize);
    if (fixed.cy != 0 || m_host == nullptr)
        return fixed;
    return CSizeUI(fixed.cx, m_host->GetDefaultFontEntry()->metrics.tmHeight + Scaled(14));
}

CRectUI CListHeaderItemUI::SeparatorRect(bool forHitTest) const
{
    const CRectUI& p = m_position;
    const int widen = forHitTest ? 4 : 0;
    const int separator = Scaled(m_separatorWidth);
    if (separator < 0)
        return CRectUI(p.left, p.top, p.left - separator + widen, p.bottom);
    return CRectUI(p.right - separator - widen, p.top, p.right, p.bottom);
}

void CListHeaderItemUI::RelayOutOwner()
{
    CControlUI* target = m_parent != nullptr && m_parent->GetParent() != nullptr ? m_parent->GetParent() : m_parent;
    if (target != nullptr)
        target->SetPosition(target->GetPosition());
}

bool CListHeaderItemUI::OnPress(const TInputEvent& event)
{
    if (!IsEnabled())
        return false;
    if (SeparatorRect(true).Contains(event.MousePoint)) {
        if (m_dragable) {
            m_buttonState |= StateCaptured;
            m_lastMousePoint = event.MousePoint;
        }
        return true;
    }
    m_buttonState |= StatePushed;
    if (m_host != nullptr) {
        CControlAliveGuard alive(m_host, this);
        m_host->SendNotification(this, "headerclick");
        if (!alive.IsAlive())
            return true;
        CControlUI* owner = m_parent != nullptr ? m_parent->GetParent() : nullptr;
        CListUI* list = ControlCast<CListUI>(owner);
        if (list != nullptr && list->GetHeader() == m_parent) {
            list->OnHeaderClick(list->GetHeader()->IndexOfChild(this));
            if (!alive.IsAlive())
                return true;
        }
    }
    Invalidate();
    return true;
}

void CListHeaderItemUI::DragTo(POINT point)
{
    const int moved = point.x - m_lastMousePoint.x;
    const int width = m_separatorWidth < 0 ? GetWidth() - moved : GetWidth() + moved;
    // The minimum itself is refused: the narrowest width a drag leaves is one pixel more.
    if (width <= Scaled(kMinWidth))
        return;
    // The fixed width is kept in 96-DPI units, like every width a skin or the program gives.
    SetFixedWidth(m_host != nullptr ? ScaleFromDpi(width, m_host->GetDpi()) : width);
    m_lastMousePoint = point;
    RelayOutOwner();
}

void CListHeaderItemUI::OnEvent(TInputEvent& event)
{
    if (PassOnRefusedMouse(*this, m_parent, event, [this](TInputEvent& e) { CControlUI::OnEvent(e); }))
        return;
    switch (event.Type) {
    case InputEventKind::FocusGained:
    case InputEventKind::FocusLost:
        Invalidate();
        break;
    case InputEventKind::ButtonDown:
    case InputEventKind::DoubleClick:
        if (OnPress(event))
            return;
        break;
    case InputEventKind::ButtonUp:
        if (IsDragging()) {
            m_buttonState &= ~StateCaptured;
            RelayOutOwner();
        } else if ((m_buttonState & StatePushed) != 0) {
            m_buttonState &= ~StatePushed;
            Invalidate();
        }
        return;
    case InputEventKind::MouseMove:
        if (IsDragging())
            DragTo(event.MousePoint);
        return;
    case InputEventKind::SetCursor:
        if (IsEnabled() && m_dragable && SeparatorRect(true).Contains(event.MousePoint)) {
            ::SetCursor(::LoadCursorA(nullptr, IDC_SIZEWE));
            return;
        }
        break;
    case InputEventKind::MouseEnter:
    case InputEventKind::MouseLeave:
        if (TrackHotState(m_buttonState, event.Type))
            return;
        break;
    default:
        break;
    }
    CControlUI::OnEvent(event);
}

CAttributeTable<CListHeaderItemUI> CListHeaderItemUI::OwnAttributes()
{
    using C = CListHeaderItemUI;
    // The caption repaints after each of these.
    static constexpr TAttributeHandler<C> kTable[] = {
        {"normalimage", [](C& c, const char* v) { c.m_normalImage = v; }},
        {"hotimage", [](C& c, const char* v) { c.m_hotImage = v; }},
        {"pushedimage", [](C& c, const char* v) { c.m_pushedImage = v; }},
        {"focusedimage", [](C& c, const char* v) { c.m_focusedImage = v; }},
        {"sepimage", [](C& c, const char* v) { c.m_sepImage = v; }},
        {"dragable",
            [](C& c, const char* v) {
                c.m_dragable = ParseFlag(v);
                if (!c.m_dragable)
                    c.m_buttonState &= ~StateCaptured;
            }},
        {"sepwidth", [](C& c, const char* v) { c.m_separatorWidth = ParseInt(v); }},
        {"align", [](C& c, const char* v) { c.m_textStyle = ApplyAlignment(c.m_textStyle, v); }},
        {"endellipsis", [](C& c, const char* v) { c.m_textStyle = ApplyFlagBit(c.m_textStyle, DT_END_ELLIPSIS, v); }},
        {"font", [](C& c, const char* v) { c.m_fontIndex = ParseInt(v); }},
        {"textcolor", [](C& c, const char* v) { c.m_textColor = ParseColor(v); }},
        {"textpadding", [](C& c, const char* v) { c.m_textPadding = ParseRect(v); }},
        {"showhtml", [](C& c, const char* v) { c.m_showHtml = ParseFlag(v); }},
    };
    return kTable;
}

void CListHeaderItemUI::SetAttribute(const char* name, const char* value)
{
    if (OwnAttributes().Apply(*this, name, value))
        Invalidate();
    else
        CControlUI::SetAttribute(name, value);
}

void CListHeaderItemUI::AppendAttributeNames(TAttributeNames& names)
{
    OwnAttributes().AppendNames(names);
    CControlUI::AppendAttributeNames(names);
}

void CListHeaderItemUI::PaintStateImage(HDC hdc)
{
    if (HasFocus())
        m_buttonState |= StateFocused;
    else
        m_buttonState &= ~StateFocused;
    CUIString* image = &m_normalImage;
    if ((m_buttonState & StatePushed) != 0)
        image = m_pushedImage.IsEmpty() ? &m_normalImage : &m_pushedImage;
    else if ((m_buttonState & StateHot) != 0)
        image = m_hotImage.IsEmpty() ? &m_normalImage : &m_hotImage;
    else if ((m_buttonState & StateFocused) != 0)
        image = m_focusedImage.IsEmpty() ? &m_normalImage : &m_focusedImage;
    DrawImageOrForget(hdc, *image);
    if (m_sepImage.IsEmpty())
        return;
    CRectUI strip = SeparatorRect(false);
    strip.Offset(-m_position.left, -m_position.top);
    CUIString dest;
    dest.Format("dest='%d,%d,%d,%d'", static_cast<int>(strip.left), static_cast<int>(strip.top),
        static_cast<int>(strip.right), static_cast<int>(strip.bottom));
    DrawImageOrForget(hdc, m_sepImage, dest);
}

void CListHeaderItemUI::PaintText(HDC hdc)
{
    if (m_text.IsEmpty())
        return;
    const uint32_t color = m_textColor != 0 ? m_textColor : (m_host != nullptr ? m_host->GetDefaultFontColor() : 0);
    PaintTextLine(hdc, m_host, m_position, Scaled(m_textPadding), m_text, color, m_fontIndex, m_textStyle, m_showHtml);
}

}  // namespace SkinUI
