// A single-line text field ("Edit" in the skin). Without the keyboard focus it is drawn as a label
// (its text, or one password character per character, over state images). With the focus it
// opens a native editor (CEditWnd) as a child of the host window exactly over its text area; the
// editor does the editing, copies every change back into the text with "textchanged", sends
// "return" for the Return key, and closes itself when it loses the native focus.
//
// The edit owns its open editor only in the sense that it ends it: its destructor destroys the
// editor's window after cutting the editor's link back, and hiding or disabling the edit moves the
// host's focus away so the editor closes through its normal focus-loss path. The editor object
// deletes itself when its window is gone and then clears `m_editWindow`.
#pragma once

#include "controls/text/Label.h"

namespace SkinUI {

class CEditWnd;

class CEditUI : public CLabelUI {
public:
    // 0xFFFFFFFF as "nativebkcolor": the native editor keeps the platform's own colours.
    static const DWORD kNativeColors = 0xFFFFFFFF;

    CEditUI();
    ~CEditUI() override;

    const char* GetTypeName() const override;
    static constexpr const char* kCastName = "Edit";
    void* CastTo(const char* name) override;
    unsigned GetCapabilities() const override;
    void SetText(const char* text) override;
    void SetPosition(const CRectUI& rect) override;
    void SetVisible(bool visible) override;
    void SetVisibleByParent(bool visible) override;
    void SetEnabled(bool enabled) override;
    void OnEvent(TInputEvent& event) override;
    void SetAttribute(const char* name, const char* value) override;
    static void AppendAttributeNames(TAttributeNames& names);
    CSizeUI MeasureSize(CSizeUI available) override;
    void PaintStateImage(HDC hdc) override;
    void PaintText(HDC hdc) override;

    // The open native editor's window, or null while the edit is drawn as a label.
    HWND GetEditWindow() const;
    int GetMaxChar() const { return m_maxChar; }
    void SetMaxChar(int maxChar);
    bool IsReadOnly() const { return m_readOnly; }
    void SetReadOnly(bool readOnly);
    bool IsPasswordMode() const { return m_passwordMode; }
    void SetPasswordMode(bool password);
    char GetPasswordChar() const { return m_passwordChar; }
    void SetPasswordChar(char c) { m_passwordChar = c; }
    bool IsNumberOnly() const { return (m_editStyle & ES_NUMBER) != 0; }
    void SetNumberOnly(bool numberOnly);
    DWORD GetNativeBkColor() const { return m_nativeBkColor; }
    void SetNativeBkColor(DWORD argb) { m_nativeBkColor = argb; }
    unsigned GetButtonState() const { return m_buttonState; }

private:
    friend class CEditWnd;

    // A mouse press hands the mouse to the editor (opening it when the edit already has the focus)
    // and selects the whole text there.
    void OnPress(const TInputEvent& event);
    void SelectAllInEditor();
    // Forgets an editor whose close is posted, so that a fresh one can open.
    void LetClosingEditorGo();
    // The text as painted: itself, or one password character per (multi-byte) character.
    CUIString ShownText() const;

    CEditWnd* m_editWindow = nullptr;  // the open editor; it clears this when its window is gone
    int m_maxChar = 255;
    bool m_readOnly = false;
    bool m_passwordMode = false;
    char m_passwordChar = '*';
    unsigned m_buttonState = 0;  // StateFocused, StateDisabled, StateHot
    CUIString m_normalImage;  // image attribute strings
    CUIString m_hotImage;
    CUIString m_focusedImage;
    CUIString m_disabledImage;
    DWORD m_nativeBkColor = kNativeColors;  // ARGB
    DWORD m_editStyle = 0;  // extra window style bits of the native editor (ES_NUMBER)

    static CAttributeTable<CEditUI> OwnAttributes();
};

}  // namespace SkinUI
