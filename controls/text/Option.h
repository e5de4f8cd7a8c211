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
    const CUIString& GetGroup() const { return m_fields.Get().groupName; }
    // Null or empty leaves every group.
    void SetGroup(const char* name);
    DWORD GetSelectedBkColor() const { return m_fields.Get().selectedBkColor; }
    void SetSelectedBkColor(DWORD color) { m_fields.Edit().selectedBkColor = color; }
    DWORD GetSelectedTextColor() const { return m_fields.Get().selectedTextColor; }
    void SetSelectedTextColor(DWORD color) { m_fields.Edit().selectedTextColor = color; }
    // Image attribute strings as written; an image that failed to draw reads empty. The setters
    // store and repaint, as the attributes do. The option's fore image ("foreimage") is drawn
    // over every state, after the state image.
    const CUIString& GetSelectedImage() const { return m_fields.Get().selectedImage; }
    void SetSelectedImage(const char* image) { StoreImage(m_fields.Edit().selectedImage, image); }
    const CUIString& GetSelectedHotImage() const { return m_fields.Get().selectedHotImage; }
    void SetSelectedHotImage(const char* image) { StoreImage(m_fields.Edit().selectedHotImage, image); }
    const CUIString& GetOptionForeImage() const { return m_fields.Get().optionForeImage; }
    void SetOptionForeImage(const char* image) { StoreImage(m_fields.Edit().optionForeImage, image); }

private:
    // Focuses and selects the next usable member of the group, `step` members on (wrapping).
    void MoveInGroup(int step);

    // The group and the selected looks: most options of a long list or tree have none of them,
    // so they live in one block made at the first write.
    struct TSelectionFields {
        CUIString groupName;
        CUIString selectedImage;
        CUIString selectedHotImage;
        CUIString optionForeImage;
        DWORD selectedBkColor = 0;
        DWORD selectedTextColor = 0;
    };
    bool IsGrouped() const { return !GetGroup().IsEmpty(); }

    bool m_selected = false;
    CWindowHostUI* m_groupHost = nullptr;  // host whose group list holds this option; not owned
    CRareBlockUI<TSelectionFields> m_fields;

    static CAttributeTable<COptionUI> OwnAttributes();
};

}  // namespace SkinUI
