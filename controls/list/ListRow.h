// CListRowUI<Base>: the list row interface on a control or a container. The row kinds differ only
// in what they are besides a row (a plain control, a container), so the row side is written once
// here and delegates to CListItemCore.
#pragma once

#include "controls/list/ListItemCore.h"

namespace SkinUI {

template <class Base> class CListRowUI : public Base, public IListItemUI {
public:
    CListRowUI()
        : m_item(*this)
    {
    }

    void* CastTo(const char* name) override
    {
        if (CUIString(name) == IListItemUI::kCastName)
            return static_cast<IListItemUI*>(this);
        return Base::CastTo(name);
    }

    bool TriggerAction() override
    {
        if (!Base::TriggerAction())
            return false;
        m_item.Activate();
        return true;
    }

    void SetVisible(bool visible) override
    {
        Base::SetVisible(visible);
        m_item.AfterVisibilityChange();
    }

    void SetAttribute(const char* name, const char* value) override
    {
        if (!OwnAttributes().Apply(*this, name, value))
            Base::SetAttribute(name, value);
    }

    static void AppendAttributeNames(TAttributeNames& names)
    {
        OwnAttributes().AppendNames(names);
        Base::AppendAttributeNames(names);
    }

    // IListItemUI
    int GetIndex() const override { return m_item.Index(); }
    void SetIndex(int index) override { m_item.index = index; }
    IListOwnerUI* GetOwner() const override { return m_item.owner; }
    void SetOwner(CControlUI* owner) override { m_item.SetOwner(owner); }
    bool IsSelected() const override { return m_item.selected; }
    bool Select(bool select) override { return m_item.Select(select); }
    bool IsExpanded() const override { return false; }
    bool Expand(bool) override { return false; }

    void DrawItemBackground(HDC hdc) { m_item.DrawBackground(hdc); }
    bool IsHot() const { return (m_item.itemState & StateHot) != 0; }

protected:
    // What a row leaves unhandled goes to its owner, or without one to the base class.
    void ForwardOrPassOn(TInputEvent& event)
    {
        if (!m_item.Forward(event))
            Base::OnEvent(event);
    }

    CListItemCore m_item;

private:
    static CAttributeTable<CListRowUI> OwnAttributes()
    {
        static constexpr TAttributeHandler<CListRowUI> kTable[] = {
            // Any value selects, "false" included: skins mark the initial row with selected="...".
            {"selected", [](CListRowUI& row, const char*) { row.Select(true); }},
        };
        return kTable;
    }
};

}  // namespace SkinUI
