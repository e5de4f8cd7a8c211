#include "controls/native/Edit.h"

#include "controls/base/CastChain.h"
#include "controls/native/EditWnd.h"
#include "core/ValueParse.h"
#include "host/WindowHost.h"
#include "render/RenderKit.h"

namespace SkinUI {

CEditUI::CEditUI()
{
    m_textPadding = CRectUI(4, 3, 4, 3);
    SetBackgroundColor(0xFFFFFFFF);
}

CEditUI::~CEditUI()
{
    // The editor's window would outlive us and write into freed memory at its next change.
    if (m_editWindow != nullptr) {
        CEditWnd* editor = m_editWindow;
        m_editWindow = nullptr;
        editor->Detach();
        ::DestroyWindow(editor->GetHWND());
    }
}

const char* CEditUI::GetTypeName() const { return "EditUI"; }

void* CEditUI::CastTo(const char* name) { return CastToSelfOrBase<CLabelUI>(this, name); }

unsigned CEditUI::GetCapabilities() const { return IsEnabled() ? (CapabilityTabStop | CapabilityWantsCursor) : 0u; }

HWND CEditUI::GetEditWindow() const { return m_editWindow != nullptr ? m_editWindow->GetHWND() : nullptr; }

void CEditUI::SetText(const char* text)
{
    CLabelUI::SetText(text);
    Invalidate();
    // Last: the editor announces the new text with "textchanged", whose listeners may end us.
    if (m_editWindow != nullptr)
        ::SetWindowTextA(m_editWindow->GetHWND(), m_text);
}

void CEditUI::SetPosition(const CRectUI& rect)
{
    CLabelUI::SetPosition(rect);
    if (m_editWindow != nullptr) {
        if (m_host != nullptr)
            m_editWindow->UseFont(m_host->FontHandleAt(m_fontIndex));
        const CRectUI r = m_editWindow->ComputeEditRect();
        ::SetWindowPos(m_editWindow->GetHWND(), nullptr, r.left, r.top, r.GetWidth(), r.GetHeight(),
            SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

void CEditUI::LetClosingEditorGo()
{
    if (m_editWindow == nullptr || !m_editWindow->ClosePosted())
        return;
    // It closes on its own, touching nothing of ours; a fresh one opens when one is needed.
    CEditWnd* closing = m_editWindow;
    m_editWindow = nullptr;
    closing->Detach();
}

void CEditUI::SetVisible(bool visible)
{
    CLabelUI::SetVisible(visible);
    CloseOverlayIfUnusable(m_editWindow);
}

void CEditUI::SetVisibleByParent(bool visible)
{
    CLabelUI::SetVisibleByParent(visible);
    CloseOverlayIfUnusable(m_editWindow);
}

void CEditUI::SetEnabled(bool enabled)
{
    CLabelUI::SetEnabled(enabled);
    if (!IsEnabled())
        m_buttonState = 0;
    CloseOverlayIfUnusable(m_editWindow);
}

void CEditUI::SetMaxChar(int maxChar)
{
    m_maxChar = maxChar;
    if (m_editWindow != nullptr)
        ::SendMessageA(m_editWindow->GetHWND(), EM_LIMITTEXT, static_cast<WPARAM>(m_maxChar), 0);
}

void CEditUI::SetReadOnly(bool readOnly)
{
    if (readOnly == m_readOnly)
        return;
    m_readOnly = readOnly;
    if (m_editWindow != nullptr)
        ::SendMessageA(m_editWindow->GetHWND(), EM_SETREADONLY, readOnly ? TRUE : FALSE, 0);
    Invalidate();
}

void CEditUI::SetPasswordMode(bool password)
{
    if (password == m_passwordMode)
        return;
    // An open editor keeps the mode it was opened with; the next one takes the new mode.
    m_passwordMode = password;
    Invalidate();
}

void CEditUI::SetNumberOnly(bool numberOnly)
{
    if (numberOnly)
        m_editStyle |= ES_NUMBER;
    else
        m_editStyle &= ~static_cast<DWORD>(ES_NUMBER);
}

//--- events --------------------------------------------------------------------------------------

void CEditUI::SelectAllInEditor()
{
    const HWND editor = GetEditWindow();
    if (editor == nullptr)
        return;
    const int length = ::GetWindowTextLengthA(editor);
    ::SendMessageA(editor, EM_SETSEL, 0, length > 0 ? length : 1);
}

void CEditUI::OnPress(const TInputEvent& event)
{
    if (!IsEnabled())
        return;
    if (m_host != nullptr)
        m_host->ReleaseMouse();
    // A press beside the editor (on the padding) has just taken its native focus: it is closing.
    LetClosingEditorGo();
    if (HasFocus() && m_editWindow == nullptr) {
        CEditWnd::Open(this);
        if (m_position.Contains(event.MousePoint))
            SelectAllInEditor();
    } else {
        SelectAllInEditor();
    }
}

void CEditUI::OnEvent(TInputEvent& event)
{
    if (HandleOverlayEvent(event, m_editWindow != nullptr))
        return;
    switch (event.Type) {
    case InputEventKind::FocusGained:
        if (!IsEnabled())
            break;
        // Focused again while the editor closes (a "killfocus" listener handed the focus back).
        LetClosingEditorGo();
        if (m_editWindow != nullptr)
            return;
        CEditWnd::Open(this);
        Invalidate();
        break;
    case InputEventKind::FocusLost:
        if (IsEnabled())
            Invalidate();
        break;
    case InputEventKind::ButtonDown:
    case InputEventKind::DoubleClick:
    case InputEventKind::RightButtonDown:
        OnPress(event);
        return;
    case InputEventKind::MouseMove:
    case InputEventKind::ButtonUp:
    case InputEventKind::ContextMenu:
        return;
    case InputEventKind::MouseEnter:
    case InputEventKind::MouseLeave:
        TrackHotState(m_buttonState, event.Type);
        return;
    default:
        break;
    }
    CLabelUI::OnEvent(event);
}

CAttributeTable<CEditUI> CEditUI::OwnAttributes()
{
    using C = CEditUI;
    static constexpr TAttributeHandler<C> kTable[] = {
        {"normalimage", [](C& c, const char* v) { c.StoreImage(c.m_normalImage, v); }},
        {"hotimage", [](C& c, const char* v) { c.StoreImage(c.m_hotImage, v); }},
        {"focusedimage", [](C& c, const char* v) { c.StoreImage(c.m_focusedImage, v); }},
        {"disabledimage", [](C& c, const char* v) { c.StoreImage(c.m_disabledImage, v); }},
        {"readonly", [](C& c, const char* v) { c.SetReadOnly(ParseFlag(v)); }},
        {"numberonly", [](C& c, const char* v) { c.SetNumberOnly(CUIString(v) == "true"); }},
        {"password", [](C& c, const char* v) { c.SetPasswordMode(ParseFlag(v)); }},
        {"maxchar", [](C& c, const char* v) { c.SetMaxChar(ParseInt(v)); }},
        {"nativebkcolor", [](C& c, const char* v) { c.m_nativeBkColor = ParseColor(v); }},
    };
    return kTable;
}

void CEditUI::SetAttribute(const char* name, const char* value)
{
    OwnAttributes().ApplyOrBase<CLabelUI>(*this, name, value);
}

void CEditUI::AppendAttributeNames(TAttributeNames& names) { OwnAttributes().AppendWithBase<CLabelUI>(names); }

CSizeUI CEditUI::MeasureSize(CSizeUI /*available*/) { return MeasureOneLine(6); }

//--- painting ------------------------------------------------------------------------------------

void CEditUI::PaintStateImage(HDC hdc)
{
    m_buttonState = HasFocus() ? (m_buttonState | StateFocused) : (m_buttonState & ~StateFocused);
    m_buttonState = IsEnabled() ? (m_buttonState & ~StateDisabled) : (m_buttonState | StateDisabled);
    CUIString* state = nullptr;
    if (m_buttonState & StateDisabled)
        state = &m_disabledImage;
    else if (m_buttonState & StateFocused)
        state = &m_focusedImage;
    else if (m_buttonState & StateHot)
        state = &m_hotImage;
    if (state != nullptr && DrawImageOrForget(hdc, *state))
        return;
    DrawImageOrForget(hdc, m_normalImage);
}

CUIString CEditUI::ShownText() const
{
    if (!m_passwordMode)
        return m_text;
    CUIString shown;
    for (const char* p = m_text; *p != '\0'; p = ::CharNextA(p))
        shown += m_passwordChar;
    return shown;
}

void CEditUI::PaintText(HDC hdc)
{
    ResolveDefaultColors();
    if (m_text.IsEmpty())
        return;
    CRectUI r = TextRect();
    CRenderKit::PaintPlainText(
        hdc, m_host, r, ShownText(), CurrentTextColor(), m_fontIndex, m_textStyle | DT_SINGLELINE);
}

}  // namespace SkinUI
