#include "controls/native/ComboBox.h"

#include "core/ValueParse.h"

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
    if (!OwnAttributes().Apply(*this, name, value))
        CComboUI::SetAttribute(name, value);
}

void CComboBoxUI::AppendAttributeNames(TAttributeNames& names)
{
    OwnAttributes().AppendNames(names);
    CComboUI::AppendAttributeNames(names);
}

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
    m_arrowWidth = (v[2] - v[0]) / 5;
    const int left = v[0] + m_arrowWidth * state;
    const int width = GetWidth();
    const int height = GetHeight();
    const int b = m_borderSize;
    CUIString cell;
    cell.Format("source='%d,%d,%d,%d' dest='%d,%d,%d,%d'", left, v[1], left + m_arrowWidth, v[3],
        width - b - m_arrowWidth, b, width - b, height - b);
    return modifier.Left(source) + cell + modifier.Mid(close + 1);
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
    if (!DrawSkinImage(hdc, m_arrowImage, modifier))
        m_arrowImage.Clear();
}

void CComboBoxUI::PaintText(HDC hdc) { PaintSelection(hdc, m_arrowWidth); }

}  // namespace SkinUI
