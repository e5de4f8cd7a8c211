#include "controls/range/ScrollBar.h"

#include <cstdint>
#include <initializer_list>

#include "controls/base/CastChain.h"
#include "controls/base/Container.h"
#include "core/DpiScale.h"
#include "core/IntMath.h"
#include "core/ValueParse.h"
#include "host/WindowHost.h"
#include "render/RenderKit.h"

namespace SkinUI {

namespace {

const DWORD kOutlineColor = 0xFF85E4FF;  // drawn around arrows and thumb that have no image

}  // namespace

CScrollBarUI::CScrollBarUI() { m_fixedSize.cx = kDefaultThickness; }

CScrollBarUI::~CScrollBarUI() = default;

const char* CScrollBarUI::GetTypeName() const { return "ScrollBarUI"; }

void* CScrollBarUI::CastTo(const char* name) { return CastToSelfOrBase<CControlUI>(this, name); }

int CScrollBarUI::Thickness() const { return Scaled(m_horizontal ? m_fixedSize.cy : m_fixedSize.cx); }

//--- state ---------------------------------------------------------------------------------------

void CScrollBarUI::SetHorizontal(bool horizontal)
{
    if (horizontal == m_horizontal)
        return;
    m_horizontal = horizontal;
    if (horizontal && m_fixedSize.cy == 0) {
        m_fixedSize.cx = 0;
        m_fixedSize.cy = kDefaultThickness;
    } else if (!horizontal && m_fixedSize.cx == 0) {
        m_fixedSize.cy = 0;
        m_fixedSize.cx = kDefaultThickness;
    }
    if (m_owner)
        m_owner->RequestLayout();
    else
        RequestParentLayout();
}

void CScrollBarUI::SetRange(int range)
{
    if (range == m_range)
        return;
    m_range = range < 0 ? 0 : range;
    StoreValue(m_value);
}

void CScrollBarUI::SetValue(int value)
{
    if (value != m_value)
        StoreValue(value);
}

void CScrollBarUI::StoreValue(int value)
{
    m_value = value < 0 ? 0 : (value > m_range ? m_range : value);
    // The thumb follows the value.
    SetPosition(m_position);
}

void CScrollBarUI::SetVisible(bool visible)
{
    // The owner's layout places and repaints the bar; no layout request from here.
    if (visible == m_visible)
        return;
    m_visible = visible;
    m_focused = false;
}

void CScrollBarUI::SetEnabled(bool enabled)
{
    CControlUI::SetEnabled(enabled);
    if (!IsEnabled()) {
        m_button1State = 0;
        m_button2State = 0;
        m_thumbState = 0;
    }
}

void CScrollBarUI::TakeFocus()
{
    if (m_owner)
        m_owner->TakeFocus();
    else
        CControlUI::TakeFocus();
}

//--- geometry ------------------------------------------------------------------------------------

void CScrollBarUI::SetPosition(const CRectUI& rect)
{
    CControlUI::SetPosition(rect);
    const CRectUI& p = m_position;
    const int t = Thickness();
    // Work along the bar's axis: `lo`/`hi` are the ends of the bar on that axis, `across` its start
    // on the other one; the rectangles are turned the right way round at the end.
    const int lo = m_horizontal ? p.left : p.top;
    const int hi = m_horizontal ? p.right : p.bottom;
    const int across = m_horizontal ? p.top : p.left;
    const int length = hi - lo;
    const int rail = length - (m_showButton1 ? t : 0) - (m_showButton2 ? t : 0);
    auto make = [&](int from, int to, int crossFrom, int crossTo) {
        return m_horizontal ? CRectUI(from, crossFrom, to, crossTo) : CRectUI(crossFrom, from, crossTo, to);
    };
    if (rail > t) {
        m_button1Rect = m_showButton1 ? make(lo, lo + t, across, across + t) : make(lo, lo, across, across);
        m_button2Rect = m_showButton2 ? make(hi - t, hi, across, across + t) : make(hi, hi, across, across);
        const int b1End = m_horizontal ? m_button1Rect.right : m_button1Rect.bottom;
        const int b2Start = m_horizontal ? m_button2Rect.left : m_button2Rect.top;
        int from = b1End;
        int to = b2Start;
        if (m_range > 0) {
            // 64-bit products: lengths times big ranges or values overflow 32 bits.
            int64_t thumb = static_cast<int64_t>(length) * rail / (static_cast<int64_t>(length) + m_range);
            if (thumb < t)
                thumb = t;
            const int64_t range = m_range > 1 ? m_range : 1;
            from = ClampToInt((rail - thumb) * m_value / range + b1End);
            to = ClampToInt(from + thumb);
            if (to > b2Start) {
                from = ClampToInt(b2Start - thumb);
                to = b2Start;
            }
        }
        m_thumbRect = make(from, to, across, across + t);
    } else {
        const int b = t < length / 2 ? t : length / 2;
        m_button1Rect = m_showButton1 ? make(lo, lo + b, across, across + t) : make(lo, lo, across, across);
        m_button2Rect = m_showButton2 ? make(hi - b, hi, across, across + t) : make(hi, hi, across, across);
        m_thumbRect.SetEmpty();
    }
}

//--- input ---------------------------------------------------------------------------------------

void CScrollBarUI::LineBack()
{
    if (m_owner) {
        if (m_horizontal)
            m_owner->ScrollLineLeft();
        else
            m_owner->ScrollLineUp();
    } else {
        SetValue(ClampToInt(static_cast<int64_t>(m_value) - m_lineSize));
    }
}

void CScrollBarUI::LineForward()
{
    if (m_owner) {
        if (m_horizontal)
            m_owner->ScrollLineRight();
        else
            m_owner->ScrollLineDown();
    } else {
        SetValue(ClampToInt(static_cast<int64_t>(m_value) + m_lineSize));
    }
}

void CScrollBarUI::PageTowards(POINT point)
{
    const int at = m_horizontal ? point.x : point.y;
    const int thumbLo = m_horizontal ? m_thumbRect.left : m_thumbRect.top;
    const int thumbHi = m_horizontal ? m_thumbRect.right : m_thumbRect.bottom;
    // A bar of its own pages by its length in 96-DPI units, so its values mean the same at every
    // scale; an owned bar leaves the step to its container, whose scroll positions are pixels.
    const int length = m_horizontal ? GetWidth() : GetHeight();
    const int page = m_host != nullptr ? ScaleFromDpi(length, m_host->GetDpi()) : length;
    if (at < thumbLo) {
        if (!m_owner)
            SetValue(ClampToInt(static_cast<int64_t>(m_value) - page));
        else if (m_horizontal)
            m_owner->ScrollPageLeft();
        else
            m_owner->ScrollPageUp();
    } else if (at > thumbHi) {
        if (!m_owner)
            SetValue(ClampToInt(static_cast<int64_t>(m_value) + page));
        else if (m_horizontal)
            m_owner->ScrollPageRight();
        else
            m_owner->ScrollPageDown();
    }
}

void CScrollBarUI::NotifyScroll()
{
    // An owned bar's container announces its own scrolling, if at all.
    if (!m_owner && m_host)
        m_host->SendNotification(this, "scroll");
}

void CScrollBarUI::OnEvent(TInputEvent& event)
{
    const int kind = event.Type;
    if (PassOnRefusedMouse(*this, m_owner, event, [this](TInputEvent& e) { CControlUI::OnEvent(e); }))
        return;
    const POINT pt = event.MousePoint;
    switch (kind) {
    case InputEventKind::FocusGained:
    case InputEventKind::FocusLost:
    case InputEventKind::ContextMenu:
        return;
    case InputEventKind::ButtonDown:
    case InputEventKind::DoubleClick:
        if (!IsEnabled())
            return;
        m_dragOffset = 0;
        m_repeatTicks = 0;
        if (m_host)
            m_host->SetControlTimer(this, kRepeatTimerId, 50);
        if (m_button1Rect.Contains(pt)) {
            m_button1State |= StatePushed;
            LineBack();
        } else if (m_button2Rect.Contains(pt)) {
            m_button2State |= StatePushed;
            LineForward();
        } else if (m_thumbRect.Contains(pt)) {
            m_thumbState |= StatePushed | StateCaptured;
            m_lastMousePoint = pt;
            m_dragStartValue = m_value;
        } else {
            PageTowards(pt);
        }
        NotifyScroll();
        return;
    case InputEventKind::ButtonUp:
        m_repeatTicks = 0;
        m_dragOffset = 0;
        if (m_host)
            m_host->KillControlTimer(this, kRepeatTimerId);
        if (m_thumbState & StateCaptured)
            m_thumbState &= ~(StatePushed | StateCaptured);
        else if (m_button1State & StatePushed)
            m_button1State &= ~StatePushed;
        else if (m_button2State & StatePushed)
            m_button2State &= ~StatePushed;
        else
            return;
        Invalidate();
        return;
    case InputEventKind::MouseMove:
        if (m_thumbState & StateCaptured) {
            const int length = m_horizontal ? GetWidth() : GetHeight();
            const int thumb = m_horizontal ? m_thumbRect.GetWidth() : m_thumbRect.GetHeight();
            const int track = length - 2 * Thickness() - thumb;
            if (track != 0) {
                const int64_t moved = m_horizontal ? pt.x - m_lastMousePoint.x : pt.y - m_lastMousePoint.y;
                m_dragOffset = ClampToInt(moved * m_range / track);
            }
        } else if (m_thumbState & StateHot) {
            if (!m_thumbRect.Contains(pt)) {
                m_thumbState &= ~StateHot;
                Invalidate();
            }
        } else if (IsEnabled() && m_thumbRect.Contains(pt)) {
            m_thumbState |= StateHot;
            Invalidate();
        }
        return;
    case InputEventKind::Timer:
        if (event.WParam != kRepeatTimerId)
            break;
        ++m_repeatTicks;
        if (m_thumbState & StateCaptured) {
            const int value = ClampToInt(static_cast<int64_t>(m_dragStartValue) + m_dragOffset);
            if (m_owner) {
                CSizeUI pos = m_owner->GetScrollPosition();
                (m_horizontal ? pos.cx : pos.cy) = value;
                m_owner->SetScrollPosition(pos);
            } else {
                SetValue(value);
            }
            Invalidate();
        } else {
            // About 250 ms pass before a held arrow or rail starts repeating.
            if (m_repeatTicks <= 5)
                return;
            if (m_button1State & StatePushed) {
                LineBack();
            } else if (m_button2State & StatePushed) {
                LineForward();
            } else if (m_host) {
                POINT cursor;
                if (GetCursorPos(&cursor) && ScreenToClient(m_host->GetPaintWindow(), &cursor))
                    PageTowards(cursor);
            }
        }
        NotifyScroll();
        return;
    case InputEventKind::MouseEnter:
        if (IsEnabled()) {
            m_button1State |= StateHot;
            m_button2State |= StateHot;
            if (m_thumbRect.Contains(pt))
                m_thumbState |= StateHot;
            Invalidate();
        }
        return;
    case InputEventKind::MouseLeave:
        if (IsEnabled()) {
            m_button1State &= ~StateHot;
            m_button2State &= ~StateHot;
            m_thumbState &= ~StateHot;
            Invalidate();
        }
        return;
    default:
        break;
    }
    if (m_owner)
        m_owner->OnEvent(event);
    else
        CControlUI::OnEvent(event);
}

//--- attributes ----------------------------------------------------------------------------------

CAttributeTable<CScrollBarUI> CScrollBarUI::OwnAttributes()
{
    using C = CScrollBarUI;
    // Each part has four images, named part prefix + state: "bk", "button1", "button2", "thumb",
    // "rail" and "normalimage", "hotimage", "pushedimage", "disabledimage".
    static constexpr TAttributeHandler<C> kTable[] = {
        {"bknormalimage", [](C& c, const char* v) { c.StoreImage(c.m_background.images[0], v); }},
        {"bkhotimage", [](C& c, const char* v) { c.StoreImage(c.m_background.images[1], v); }},
        {"bkpushedimage", [](C& c, const char* v) { c.StoreImage(c.m_background.images[2], v); }},
        {"bkdisabledimage", [](C& c, const char* v) { c.StoreImage(c.m_background.images[3], v); }},
        {"button1normalimage", [](C& c, const char* v) { c.StoreImage(c.m_button1.images[0], v); }},
        {"button1hotimage", [](C& c, const char* v) { c.StoreImage(c.m_button1.images[1], v); }},
        {"button1pushedimage", [](C& c, const char* v) { c.StoreImage(c.m_button1.images[2], v); }},
        {"button1disabledimage", [](C& c, const char* v) { c.StoreImage(c.m_button1.images[3], v); }},
        {"button2normalimage", [](C& c, const char* v) { c.StoreImage(c.m_button2.images[0], v); }},
        {"button2hotimage", [](C& c, const char* v) { c.StoreImage(c.m_button2.images[1], v); }},
        {"button2pushedimage", [](C& c, const char* v) { c.StoreImage(c.m_button2.images[2], v); }},
        {"button2disabledimage", [](C& c, const char* v) { c.StoreImage(c.m_button2.images[3], v); }},
        {"thumbnormalimage", [](C& c, const char* v) { c.StoreImage(c.m_thumb.images[0], v); }},
        {"thumbhotimage", [](C& c, const char* v) { c.StoreImage(c.m_thumb.images[1], v); }},
        {"thumbpushedimage", [](C& c, const char* v) { c.StoreImage(c.m_thumb.images[2], v); }},
        {"thumbdisabledimage", [](C& c, const char* v) { c.StoreImage(c.m_thumb.images[3], v); }},
        {"railnormalimage", [](C& c, const char* v) { c.StoreImage(c.m_rail.images[0], v); }},
        {"railhotimage", [](C& c, const char* v) { c.StoreImage(c.m_rail.images[1], v); }},
        {"railpushedimage", [](C& c, const char* v) { c.StoreImage(c.m_rail.images[2], v); }},
        {"raildisabledimage", [](C& c, const char* v) { c.StoreImage(c.m_rail.images[3], v); }},
        {"hor", [](C& c, const char* v) { c.SetHorizontal(ParseFlag(v)); }},
        {"linesize", [](C& c, const char* v) { c.SetLineSize(ParseInt(v)); }},
        {"range", [](C& c, const char* v) { c.SetRange(ParseInt(v)); }},
        {"value", [](C& c, const char* v) { c.SetValue(ParseInt(v)); }},
        {"showbutton1",
            [](C& c, const char* v) {
                c.m_showButton1 = ParseFlag(v);
                c.SetPosition(c.m_position);
            }},
        {"showbutton2",
            [](C& c, const char* v) {
                c.m_showButton2 = ParseFlag(v);
                c.SetPosition(c.m_position);
            }},
    };
    return kTable;
}

void CScrollBarUI::SetAttribute(const char* name, const char* value)
{
    OwnAttributes().ApplyOrBase<CControlUI>(*this, name, value);
}

void CScrollBarUI::AppendAttributeNames(TAttributeNames& names) { OwnAttributes().AppendWithBase<CControlUI>(names); }

//--- painting ------------------------------------------------------------------------------------

void CScrollBarUI::Paint(HDC hdc, const CRectUI& paintRect)
{
    m_paintRect = paintRect;
    if (!m_paintRect.Intersect(m_position))
        return;
    PaintBackground(hdc);
    PaintButton1(hdc);
    PaintButton2(hdc);
    PaintThumb(hdc);
    PaintRail(hdc);
}

bool CScrollBarUI::PaintPartImage(HDC hdc, TPartImages& part, unsigned state, const char* modifier)
{
    int index = 0;
    if (state & StateDisabled)
        index = 3;
    else if (state & StatePushed)
        index = 2;
    else if (state & StateHot)
        index = 1;
    // A failed draw means no host or DC: empty the image so it is not tried again.
    for (int i : {index, 0}) {
        CUIString& image = part.images[i];
        if (image.IsEmpty())
            continue;
        if (DrawSkinImage(hdc, image, modifier))
            return true;
        image.Clear();
    }
    return false;
}

void CScrollBarUI::PaintBackground(HDC hdc)
{
    if (IsEnabled())
        m_thumbState &= ~StateDisabled;
    else
        m_thumbState |= StateDisabled;
    PaintPartImage(hdc, m_background, m_thumbState, nullptr);
}

void CScrollBarUI::PaintArrow(HDC hdc, TPartImages& part, const CRectUI& rect, unsigned& state)
{
    if (IsEnabled())
        state &= ~StateDisabled;
    else
        state |= StateDisabled;
    m_imageModifier.Format("dest='%d,%d,%d,%d'", static_cast<int>(rect.left - m_position.left),
        static_cast<int>(rect.top - m_position.top), static_cast<int>(rect.right - m_position.left),
        static_cast<int>(rect.bottom - m_position.top));
    if (!PaintPartImage(hdc, part, state, m_imageModifier))
        CRenderKit::StrokeRect(hdc, rect, 2, kOutlineColor);
}

void CScrollBarUI::PaintButton1(HDC hdc)
{
    if (m_showButton1)
        PaintArrow(hdc, m_button1, m_button1Rect, m_button1State);
}

void CScrollBarUI::PaintButton2(HDC hdc)
{
    if (m_showButton2)
        PaintArrow(hdc, m_button2, m_button2Rect, m_button2State);
}

void CScrollBarUI::PaintThumb(HDC hdc)
{
    if (!m_thumbRect.IsNull())
        PaintArrow(hdc, m_thumb, m_thumbRect, m_thumbState);
}

void CScrollBarUI::PaintRail(HDC hdc)
{
    if (m_thumbRect.IsNull())
        return;
    // A grip square of the bar's thickness over the middle of the thumb.
    const CRectUI& th = m_thumbRect;
    const CRectUI& p = m_position;
    const int t = Thickness();
    CRectUI dest;
    if (m_horizontal) {
        dest.left = (th.left + th.right) / 2 - p.left - t / 2;
        dest.top = th.top - p.top;
        dest.right = dest.left + t;
        dest.bottom = th.bottom - p.top;
    } else {
        dest.left = th.left - p.left;
        dest.top = (th.top + th.bottom) / 2 - p.top - t / 2;
        dest.right = th.right - p.left;
        dest.bottom = dest.top + t;
    }
    m_imageModifier.Format("dest='%d,%d,%d,%d'", static_cast<int>(dest.left), static_cast<int>(dest.top),
        static_cast<int>(dest.right), static_cast<int>(dest.bottom));
    PaintPartImage(hdc, m_rail, m_thumbState, m_imageModifier);
}

}  // namespace SkinUI
