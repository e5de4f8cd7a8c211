// A label that shows a date as "%4d-%02d-%02d" ("DateTime" in the skin) and lets the user pick
// one with the platform's date and time picker. With the focus, or when clicked, it opens the
// picker (CDateTimeWnd) over its own rectangle as a child of the host window; the picker takes the
// picked date into the control when it closes, clears the text on Delete or Backspace, and leaves
// it on Escape. A change of the shown text through the picker is announced with
// "datetimechanged".
//
// As with the edit, the control ends its open picker: its destructor destroys the picker's window
// after cutting the link back, and losing the host's focus takes the date and closes the picker
// even while the picker's calendar holds the native focus.
#pragma once

#include "controls/text/Label.h"

namespace SkinUI {

class CDateTimeWnd;

class CDateTimeUI : public CLabelUI {
public:
    // What the next text update does.
    enum UpdateMode : int {
        KeepText = 0,  // nothing (the picker is open and has not been answered yet)
        ShowTime = 1,  // show the time as text
        ClearText = 2,  // the user deleted the date
        Escaped = 3,  // nothing (the user pressed Escape)
    };

    CDateTimeUI();
    ~CDateTimeUI() override;

    const char* GetTypeName() const override;
    static constexpr const char* kCastName = "DateTime";
    void* CastTo(const char* name) override;
    // A tab stop that wants the cursor while enabled, as the edit: the focus has to find its way
    // back here after a resize has closed the picker, and the text cursor must reach OnEvent.
    unsigned GetCapabilities() const override;
    // Disabling closes an open picker without taking its date.
    void SetEnabled(bool enabled) override;
    // Hiding closes an open picker too.
    void SetVisible(bool visible) override;
    void SetVisibleByParent(bool visible) override;
    void SetPosition(const CRectUI& rect) override;
    void OnEvent(TInputEvent& event) override;

    const SYSTEMTIME& GetTime() const { return m_time; }
    int GetUpdateMode() const { return m_updateMode; }
    // The open picker's window, or null.
    HWND GetPickerWindow() const;
    // Applies the update mode to the text (see UpdateMode).
    void UpdateText();

private:
    friend class CDateTimeWnd;

    // A click opens the picker when the control has the focus, and opens an open one again.
    void OnPress();
    void OpenPicker();
    // Forgets a picker whose close is posted, so that a fresh one can open.
    void LetClosingPickerGo();

    SYSTEMTIME m_time;  // the date shown; local time at construction
    int m_updateMode = KeepText;
    CDateTimeWnd* m_popup = nullptr;  // the open picker; it clears this when its window is gone
};

}  // namespace SkinUI
