#include "controls/range/Slider.h"

#include <algorithm>

#include "controls/base/CastChain.h"
#include "core/IntMath.h"
#include "core/ValueParse.h"
#include "host/ControlAliveGuard.h"
#include "host/WindowHost.h"

namespace SkinUI {

CSliderUI::CSliderUI() { m_textStyle = DT_CENTER | DT_SINGLELINE; }

CSliderUI::~CSliderUI() = default;

const char* CSliderUI::GetTypeName() const { return "SliderUI"; }

void* CSliderUI::CastTo(const char* name) { return CastToSelfOrBase<CProgressUI>(this, name); }

unsigned CSliderUI::GetCapabilities() const
{
    if (!IsEnabled())
        return 0u;
    // Arrows, Home and End move it, so it is a Tab stop unless the skin says "keyboard" false.
    return m_acceptsKeyboard ? (CapabilityTabStop | CapabilityWantsCursor) : CapabilityWantsCursor;
}

void CSliderUI::SetEnabled(bool enabled)
{
    CProgressUI::SetEnabled(enabled);
    if (!IsEnabled())
        m_buttonState = 0;
}

CAttributeTable<CSliderUI> CSliderUI::OwnAttributes()
{
    using C = CSliderUI;
    static constexpr TAttributeHandler<C> kTable[] = {
        {"thumbimage", [](C& c, const char* v) { c.StoreImage(c.m_thumbImage, v); }},
        {"thumbhotimage", [](C& c, const char* v) { c.StoreImage(c.m_thumbHotImage, v); }},
        {"thumbpushedimage", [](C& c, const char* v) { c.StoreImage(c.m_thumbPushedImage, v); }},
        {"thumbsize", [](C& c, const char* v) { c.m_thumbSize = ParseSize(v); }},
        {"step", [](C& c, const char* v) { c.m_step = ParseInt(v); }},
    };
    return kTable;
}

void CSliderUI::SetAttribute(const char* name, const char* value)
{
    OwnAttributes().ApplyOrBase<CProgressUI>(*this, name, value);
}

void CSliderUI::AppendAttributeNames(TAttributeNames& names) { OwnAttributes().AppendWithBase<CProgressUI>(names); }

//--- geometry --------------------------------------------------------------------------------------

CRectUI CSliderUI::GetThumbRect() const
{
    // In 64 bits: a skin's "thumbsize" may be anything up to the int limits.
    const CRectUI& p = m_position;
    const CSizeUI thumb = Scaled(m_thumbSize);
    const int64_t cx = thumb.cx;
    const int64_t cy = thumb.cy;
    const int64_t offset = static_cast<int64_t>(m_value) - m_minValue;
    if (m_horizontal) {
        const int64_t left = p.left + static_cast<int64_t>(Scale(ClampToInt(p.GetWidth() - cx), offset));
        const int64_t top = (static_cast<int64_t>(p.top) + p.bottom - cy) / 2;
        return CRectUI(ClampToInt(left), ClampToInt(top), ClampToInt(left + cx), ClampToInt(top + cy));
    }
    const int64_t left = (static_cast<int64_t>(p.left) + p.right - cx) / 2;
    const int64_t bottom = p.bottom - static_cast<int64_t>(Scale(ClampToInt(p.GetHeight() - cy), offset));
    return CRectUI(ClampToInt(left), ClampToInt(bottom - cy), ClampToInt(left + cx), ClampToInt(bottom));
}

int CSliderUI::ValueAtPoint(POINT point) const
{
    const CRectUI& p = m_position;
    const CSizeUI thumb = Scaled(m_thumbSize);
    const int64_t span = static_cast<int64_t>(m_maxValue) - m_minValue;
    // The two end tests cover every point when the track is not longer than the thumb, so the
    // divisions below never see zero.
    if (m_horizontal) {
        const int64_t half = thumb.cx / 2;
        if (point.x >= p.right - half)
            return m_maxValue;
        if (point.x <= p.left + half)
            return m_minValue;
        return ClampToInt(m_minValue + span * (point.x - p.left - half) / (p.GetWidth() - int64_t(thumb.cx)));
    }
    const int64_t half = thumb.cy / 2;
    if (point.y >= p.bottom - half)
        return m_minValue;
    if (point.y <= p.top + half)
        return m_maxValue;
    return ClampToInt(m_minValue + (p.bottom - half - point.y) * span / (p.GetHeight() - int64_t(thumb.cy)));
}

//--- input -----------------------------------------------------------------------------------------

void CSliderUI::ChangeValueTo(int value)
{
    m_value = value;
    // Repainted before the announcement: a listener may destroy the slider.
    Invalidate();
    if (m_host == nullptr)
        return;
    CControlAliveGuard alive(m_host, this);
    m_host->SendNotification(this, "valuechanged");
    if (alive.IsAlive())
        AnnounceChange(EVENT_OBJECT_VALUECHANGE);
}

bool CSliderUI::StepByKey(char key)
{
    int64_t target = m_value;
    switch (static_cast<unsigned char>(key)) {
    case VK_LEFT:
    case VK_DOWN:
        target -= m_step;
        break;
    case VK_RIGHT:
    case VK_UP:
        target += m_step;
        break;
    case VK_HOME:
        target = m_minValue;
        break;
    case VK_END:
        target = m_maxValue;
        break;
    default:
        return false;
    }
    const int value = static_cast<int>(std::min<int64_t>(std::max<int64_t>(target, m_minValue), m_maxValue));
    if (value != m_value)
        ChangeValueTo(value);
    return true;
}

void CSliderUI::OnEvent(TInputEvent& event)
{
    if (PassOnRefusedMouse(*this, m_parent, event, [this](TInputEvent& e) { CLabelUI::OnEvent(e); }))
        return;
    switch (event.Type) {
    case InputEventKind::ButtonDown:
    case InputEventKind::DoubleClick:
        if (!IsEnabled())
            break;
        if (GetThumbRect().Contains(event.MousePoint)) {
            m_buttonState |= StateCaptured;
            m_valueAtPress = m_value;
        }
        return;
    case InputEventKind::ButtonUp: {
        // A release anywhere moves the slider there, captured or not. A drag has already stored
        // the values it passed: the release announces a change against the value at the press.
        const bool dragged = (m_buttonState & StateCaptured) != 0;
        m_buttonState &= ~StateCaptured;
        if (event.Cancelled) {
            // Nobody released anything: the drag is undone and nothing is announced.
            if (dragged && m_value != m_valueAtPress) {
                m_value = m_valueAtPress;
                Invalidate();
            }
            return;
        }
        const int value = ValueAtPoint(event.MousePoint);
        const int before = dragged ? m_valueAtPress : m_value;
        if (value != before && value >= m_minValue && value <= m_maxValue)
            ChangeValueTo(value);
        return;
    }
    case InputEventKind::ContextMenu:
        return;
    case InputEventKind::KeyDown:
        if (IsEnabled() && StepByKey(event.KeyChar))
            return;
        break;
    case InputEventKind::ScrollWheel: {
        const WORD direction = LOWORD(event.WParam);
        if (direction > 1)
            break;
        const int64_t delta = direction == 0 ? m_step : -static_cast<int64_t>(m_step);
        SetValue(ClampToInt(m_value + delta));
        // Announced even when SetValue kept the value (at either end of the range).
        if (m_host != nullptr)
            m_host->SendNotification(this, "valuechanged");
        return;
    }
    case InputEventKind::MouseMove:
        // Stored without SetValue's checks, and announced only at the release.
        if (m_buttonState & StateCaptured) {
            m_value = ValueAtPoint(event.MousePoint);
            Invalidate();
        }
        return;
    case InputEventKind::SetCursor:
        if (IsEnabled() && GetThumbRect().Contains(event.MousePoint)) {
            ::SetCursor(::LoadCursorA(nullptr, IDC_HAND));
            return;
        }
        break;
    case InputEventKind::MouseEnter:
    case InputEventKind::MouseLeave:
        TrackHotState(m_buttonState, event.Type);
        return;
    default:
        break;
    }
    CControlUI::OnEvent(event);
}

//--- painting --------------------------------------------------------------------------------------

void CSliderUI::PaintStateImage(HDC hdc)
{
    CProgressUI::PaintStateImage(hdc);
    CRectUI r = GetThumbRect();
    r.Offset(-m_position.left, -m_position.top);
    m_thumbModifier.Format("dest='%d,%d,%d,%d'", static_cast<int>(r.left), static_cast<int>(r.top),
        static_cast<int>(r.right), static_cast<int>(r.bottom));
    CUIString* state = nullptr;
    if (m_buttonState & StateCaptured)
        state = &m_thumbPushedImage;
    else if (m_buttonState & StateHot)
        state = &m_thumbHotImage;
    if (state != nullptr && DrawImageOrForget(hdc, *state, m_thumbModifier))
        return;
    DrawImageOrForget(hdc, m_thumbImage, m_thumbModifier);
}

}  // namespace SkinUI
