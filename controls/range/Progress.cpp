#include "controls/range/Progress.h"

#include "controls/base/CastChain.h"
#include "core/IntMath.h"
#include "core/ValueParse.h"

namespace SkinUI {

CProgressUI::CProgressUI()
{
    m_textStyle = DT_CENTER | DT_SINGLELINE;
    m_fixedSize.cy = 12;
}

CProgressUI::~CProgressUI() = default;

const char* CProgressUI::GetTypeName() const { return "ProgressUI"; }

void* CProgressUI::CastTo(const char* name) { return CastToSelfOrBase<CLabelUI>(this, name); }

void CProgressUI::SetHorizontal(bool horizontal)
{
    if (horizontal == m_horizontal)
        return;
    m_horizontal = horizontal;
    Invalidate();
}

void CProgressUI::SetStretchForeImage(bool stretch)
{
    if (stretch == m_stretchFore)
        return;
    m_stretchFore = stretch;
    Invalidate();
}

void CProgressUI::SetMinValue(int value)
{
    m_minValue = value;
    Invalidate();
}

void CProgressUI::SetMaxValue(int value)
{
    m_maxValue = value;
    Invalidate();
}

void CProgressUI::SetValue(int value)
{
    if (value == m_value || value < m_minValue || value > m_maxValue)
        return;
    m_value = value;
    Invalidate();
    AnnounceChange(EVENT_OBJECT_VALUECHANGE);
}

CAttributeTable<CProgressUI> CProgressUI::OwnAttributes()
{
    using C = CProgressUI;
    static constexpr TAttributeHandler<C> kTable[] = {
        {"foreimage", [](C& c, const char* v) { c.SetForeImage(v); }},
        {"hor", [](C& c, const char* v) { c.SetHorizontal(ParseFlag(v)); }},
        {"min", [](C& c, const char* v) { c.SetMinValue(ParseInt(v)); }},
        {"max", [](C& c, const char* v) { c.SetMaxValue(ParseInt(v)); }},
        {"value", [](C& c, const char* v) { c.SetValue(ParseInt(v)); }},
        {"isstretchfore", [](C& c, const char* v) { c.SetStretchForeImage(ParseFlag(v)); }},
    };
    return kTable;
}

void CProgressUI::SetAttribute(const char* name, const char* value)
{
    OwnAttributes().ApplyOrBase<CLabelUI>(*this, name, value);
}

void CProgressUI::AppendAttributeNames(TAttributeNames& names) { OwnAttributes().AppendWithBase<CLabelUI>(names); }

int64_t CProgressUI::Range() const
{
    const int64_t range = static_cast<int64_t>(m_maxValue) - m_minValue;
    return range > 1 ? range : 1;
}

int CProgressUI::Scale(int length, int64_t offset) const
{
    return ClampToInt(static_cast<int64_t>(length) * offset / Range());
}

void CProgressUI::NormaliseRange()
{
    if (m_minValue >= m_maxValue)
        m_maxValue = ClampToInt(static_cast<int64_t>(m_minValue) + 1);
    if (m_value > m_maxValue)
        m_value = m_maxValue;
    if (m_value < m_minValue)
        m_value = m_minValue;
}

CRectUI CProgressUI::GetFillRect() const
{
    const int w = GetWidth();
    const int h = GetHeight();
    if (m_horizontal)
        return CRectUI(0, 0, Scale(w, static_cast<int64_t>(m_value) - m_minValue), h);
    return CRectUI(0, Scale(h, static_cast<int64_t>(m_maxValue) - m_value), w, h);
}

void CProgressUI::PaintStateImage(HDC hdc)
{
    NormaliseRange();
    if (GetForeImage().IsEmpty())
        return;
    const CRectUI r = GetFillRect();
    const int l = r.left, t = r.top, rr = r.right, b = r.bottom;
    if (m_stretchFore)
        m_imageModifier.Format("dest='%d,%d,%d,%d'", l, t, rr, b);
    else
        m_imageModifier.Format("dest='%d,%d,%d,%d' source='%d,%d,%d,%d'", l, t, rr, b, l, t, rr, b);
    DrawForeImage(hdc, m_imageModifier);
}

}  // namespace SkinUI
