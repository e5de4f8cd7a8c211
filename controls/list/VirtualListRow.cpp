#include "controls/list/VirtualListRow.h"

namespace SkinUI {

namespace {

class CVirtualRowTexts : public IListTextProvider {
public:
    CUIString GetItemText(CControlUI* row, int /*index*/, int column) override
    {
        auto* bound = ControlCast<CVirtualListRowUI>(row);
        return bound != nullptr ? bound->Text(column) : CUIString();
    }
};

}  // namespace

IListTextProvider& VirtualRowTexts()
{
    static CVirtualRowTexts texts;
    return texts;
}

void TVirtualRow::Clear()
{
    for (CUIString& text : texts)
        text.Clear();
    image.Clear();
    enabled = true;
}

CVirtualListRowUI::CVirtualListRowUI()
{
    // The list hit-tests its rows itself: a row never takes the mouse from the body.
    m_acceptsMouse = false;
}

const char* CVirtualListRowUI::GetTypeName() const { return "VirtualListRowUI"; }

void* CVirtualListRowUI::CastTo(const char* name)
{
    if (CUIString(name) == kCastName)
        return this;
    return CListTextElementUI::CastTo(name);
}

CSizeUI CVirtualListRowUI::MeasureSize(CSizeUI /*available*/) { return CSizeUI(0, m_rowHeight); }

void CVirtualListRowUI::Bind(int index, const TVirtualRow& row)
{
    m_item.index = index;
    m_bound = true;
    // Fields, not setters: the list repaints the view once instead of each row asking for it.
    m_enabled = row.enabled;
    for (int c = 0; c < kMaxListColumns; ++c)
        m_texts[c] = row.texts[c];
    KeepBackgroundImage(row.image);
}

const CUIString& CVirtualListRowUI::Text(int column) const
{
    static const CUIString kNone;
    return column >= 0 && column < kMaxListColumns ? m_texts[column] : kNone;
}

void CVirtualListRowUI::SetLook(bool selected, bool hot)
{
    m_item.selected = selected;
    m_item.itemState = hot ? (m_item.itemState | StateHot) : (m_item.itemState & ~StateHot);
}

}  // namespace SkinUI
