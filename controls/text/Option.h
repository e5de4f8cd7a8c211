// A button that can be selected ("Option" in the skin): alone it toggles on each click; in a named
// group (kept by the host) selecting one deselects the others, radio style. A click sends "click"
// first, then "selectchanged" when the selection changed. Deselecting a grouped option sends
// nothing. The option leaves its group when destroyed or detached from the host.
#pragma once

#include "controls/text/Button.h"

namespace SkinUI {

class COptionUI : public CButtonUI {
public:
    COptionUI();
    ~COptionUI() override;

    const char* GetTypeName() const override;
    static constexpr const char* kCastName = "Option";
    void* CastTo(const char* name) override;
    bool TriggerAction() override;
    void AttachHost(CWindowHostUI* host, CControlUI* parent, bool initNow) override;
    void SetEnabled(bool enabled) override;
    // The arrows move the focus and the selection along the group, as in a radio group.
    void OnEvent(TInputEvent& event) override;
    void SetAttribute(const char* name, const char* value) override;
    static void AppendAttributeNames(TAttributeNames& names);
    void PaintStateImage(HDC hdc) override;
    void PaintText(HDC hdc) override;
    virtual void SetSelected(bool selected);

    bool IsSelected() const { return m_selected; }
    const CUIString& GetGroup() const { return m_groupName; }
    // Null or empty leaves every group.
    void SetGroup(const char* name);
    DWORD GetSelectedBkColor() const { return m_selectedBkColor; }
    void SetSelectedBkColor(DWORD color) { m_selectedBkColor = color; }
    DWORD GetSelectedTextColor() const { return m_selectedTextColor; }
    void SetSelectedTextColor(DWORD color) { m_selectedTextColor = color; }

private:
    // Focuses and selects the next usable member of the group, `step` members on (wrapping).
    void MoveInGroup(int step);

    bool m_selected = false;
    CUIString m_groupName;
    CWindowHostUI* m_groupHost = nullptr;  // host whose group list holds this option; not owned
    DWORD m_selectedBkColor = 0;
    DWORD m_selectedTextColor = 0;
    CUIString m_selectedImage;
    CUIString m_selectedHotImage;
    CUIString m_optionForeImage;  // an option's "foreimage"

    static CAttributeTable<COptionUI> OwnAttributes();
};

}  // namespace SkinUI
