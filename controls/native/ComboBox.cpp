#include "controls/native/ComboBox.h"

#include "core/DpiScale.h"
#include "core/IntMath.h"
#include "core/ValueParse.h"
#include "host/WindowHost.h"

namespace SkinUI {

const char* CComboBoxUI::GetTypeName() const { return "ComboBoxUI"; }

CAttributeTable<CComboBoxUI> CComboBoxUI::OwnAttributes()
{
    using C = CComboBoxUI;
    static constexpr TAttributeHandler<C> kTable[] = {
        {"arrowimage", [](C& c, const char* v) { c.m_arrowImage = v; }},
    };
    return kTable;
}

void CComboBoxUI::SetAttribute(const char* name, const char* value)
{
    OwnAttributes().ApplyOrBase<CComboUI>(*this, name, value);
}

void CComboBoxUI::AppendAttributeNames(TAttributeNames& names) { OwnAttributes().AppendWithBase<CComboUI>(names); }

CUIString CComboBoxUI::ArrowModifier()
{
    int state = 0;
    if (!IsEnabled())
        state = 4;
    else if ((GetButtonState() & StatePushed) != 0)
        state = 2;
    else if ((GetButtonState() & StateHot) != 0)
        state = 1;
    else if (HasFocus())
        state = 3;

    CUIString modifier = m_arrowImage;
    const int source = modifier.Find("source");
    if (source < 0)
        return CUIString();
    const int open = modifier.Find("'", source + 7);
    if (open < 0)
        return CUIString();
    const int close = modifier.Find("'", open + 1);
    if (close < 0)
        return CUIString();
    int v[4] = {0, 0, 0, 0};
    ParseIntList(modifier.Mid(open + 1, close - open - 1), v, 4);
    // A skin's numbers may be anything up to the int limits.
    m_arrowWidth = ClampToInt((static_cast<int64_t>(v[2]) - v[0]) / 5);
    const int left = ClampToInt(v[0] + static_cast<int64_t>(m_arrowWidth) * state);
    // The cell's dest is read in 96-DPI units, like every image string.
    const int dpi = m_host != nullptr ? m_host->GetDpi() : kBaseDpi;
    const int64_t right = static_cast<int64_t>(ScaleFromDpi(GetWidth(), dpi)) - m_borderSize;
    // Each half fits the short formatter on its own; together they may not.
    CUIString cellSource;
    cellSource.Format("source='%d,%d,%d,%d'", left, v[1], ClampToInt(static_cast<int64_t>(left) + m_arrowWidth), v[3]);
    CUIString cellDest;
    cellDest.Format("dest='%d,%d,%d,%d'", ClampToInt(right - m_arrowWidth), m_borderSize, ClampToInt(right),
        ClampToInt(static_cast<int64_t>(ScaleFromDpi(GetHeight(), dpi)) - m_borderSize));
    return modifier.Left(source) + cellSource + " " + cellDest + modifier.Mid(close + 1);
}

void CComboBoxUI::PaintStateImage(HDC hdc)
{
    if (m_arrowImage.IsEmpty()) {
        CComboUI::PaintStateImage(hdc);
        return;
    }
    const CUIString modifier = ArrowModifier();
    if (modifier.IsEmpty())
        return;
    DrawImageOrForget(hdc, m_arrowImage, modifier);
}

void CComboBoxUI::PaintText(HDC hdc) { PaintSelection(hdc, m_arrowWidth); }

}  // namespace SkinUI
