#include "controls/native/EditWnd.h"

#include <vector>

#include "controls/native/Edit.h"
#include "host/ReflectedMessages.h"
#include "host/WindowHost.h"

namespace SkinUI {

namespace {

COLORREF GdiColor(DWORD argb) { return RGB((argb >> 16) & 0xFF, (argb >> 8) & 0xFF, argb & 0xFF); }

}  // namespace

CEditWnd* CEditWnd::Open(CEditUI* owner)
{
    CEditWnd* editor = new CEditWnd(owner);
    owner->m_editWindow = editor;
    if (editor->Init())
        return editor;
    // A creation refused after the window was bound has ended the editor through OnWindowGone,
    // which cleared the owner's pointer; one refused earlier left both to us.
    if (owner->m_editWindow == editor) {
        owner->m_editWindow = nullptr;
        delete editor;
    }
    return nullptr;
}

CEditWnd::~CEditWnd()
{
    if (m_bkBrush != nullptr)
        ::DeleteObject(m_bkBrush);
}

const char* CEditWnd::WindowClassName() const { return "EditWnd"; }

const char* CEditWnd::SuperclassName() const { return "Edit"; }

CRectUI CEditWnd::ComputeEditRect() const
{
    CRectUI r = m_owner->TextRect();
    CWindowHostUI* host = m_owner->GetHost();
    const int lineHeight = host != nullptr ? host->GetFontEntry(m_owner->m_fontIndex)->metrics.tmHeight : 0;
    if (lineHeight < r.GetHeight()) {
        r.top += (r.GetHeight() - lineHeight) / 2;
        r.bottom = r.top + lineHeight;
    }
    return r;
}

bool CEditWnd::Init()
{
    CWindowHostUI* host = m_owner->GetHost();
    if (host == nullptr)
        return false;
    DWORD style = WS_CHILD | ES_AUTOHSCROLL;
    if (m_owner->m_passwordMode)
        style |= ES_PASSWORD;
    if (Create(host->GetPaintWindow(), style, 0, ComputeEditRect()) == nullptr)
        return false;

    UseFont(host->FontHandleAt(m_owner->m_fontIndex));
    ::SendMessageA(m_hWnd, EM_LIMITTEXT, static_cast<WPARAM>(m_owner->m_maxChar), 0);
    if (m_owner->m_passwordMode)
        ::SendMessageA(m_hWnd, EM_SETPASSWORDCHAR, static_cast<unsigned char>(m_owner->m_passwordChar), 0);
    ::SetWindowTextA(m_hWnd, m_owner->m_text);
    ::SendMessageA(m_hWnd, EM_SETMODIFY, FALSE, 0);
    ::SendMessageA(m_hWnd, EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, MAKELPARAM(0, 0));
    ::EnableWindow(m_hWnd, m_owner->IsEnabled() ? TRUE : FALSE);
    ::SendMessageA(m_hWnd, EM_SETREADONLY, m_owner->m_readOnly ? TRUE : FALSE, 0);
    // ES_NUMBER takes effect when set after creation, as the system edit reads it per keystroke.
    const LONG current = ::GetWindowLongA(m_hWnd, GWL_STYLE);
    ::SetWindowLongA(m_hWnd, GWL_STYLE, current | static_cast<LONG>(m_owner->m_editStyle));
    ::ShowWindow(m_hWnd, SW_SHOWNOACTIVATE);
    ::SetFocus(m_hWnd);
    m_initialised = true;
    return true;
}

LRESULT CEditWnd::ProcessMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_KILLFOCUS: {
        const LRESULT result = ::DefWindowProcA(m_hWnd, message, wParam, lParam);
        PostClose(0);
        return result;
    }
    case WM_KEYDOWN:
        if (wParam != VK_RETURN)
            break;
        // Return never reaches the system edit; the owner announces it instead.
        if (m_owner != nullptr && m_owner->GetHost() != nullptr)
            m_owner->GetHost()->SendNotification(m_owner, "return");
        return 0;
    case WM_GETOBJECT: {
        // A password is read as its control (named by its label, protected, without a value),
        // never as the system describes the window: that description may read the text out.
        LRESULT result = 0;
        if (m_owner != nullptr && m_owner->IsPasswordMode() && m_owner->GetHost() != nullptr
            && m_owner->GetHost()->OnGetObjectFor(m_owner, wParam, lParam, result))
            return result;
        break;
    }
    case kReflectedCommand:
        if (HIWORD(wParam) == EN_CHANGE && m_initialised)
            OnTextChanged();
        else if (HIWORD(wParam) == EN_UPDATE)
            ::InvalidateRect(m_hWnd, nullptr, FALSE);
        return 0;
    case kReflectedColorEdit:
    case kReflectedColorStatic:
        return OnColorMessage(reinterpret_cast<HDC>(wParam));
    default:
        break;
    }
    return CallPrevious(message, wParam, lParam);
}

void CEditWnd::OnTextChanged()
{
    if (m_owner == nullptr)
        return;
    const int length = ::GetWindowTextLengthA(m_hWnd);
    std::vector<char> text(static_cast<size_t>(length > 0 ? length : 0) + 1, '\0');
    ::GetWindowTextA(m_hWnd, text.data(), static_cast<int>(text.size()));
    // Straight into the field: the editor covers the painted text, so nothing needs repainting.
    m_owner->m_text = text.data();
    if (m_owner->GetHost() != nullptr)
        m_owner->GetHost()->SendNotification(m_owner, "textchanged");
}

LRESULT CEditWnd::OnColorMessage(HDC hdc)
{
    if (m_owner == nullptr || m_owner->m_nativeBkColor == CEditUI::kNativeColors)
        return 0;
    ::SetBkMode(hdc, TRANSPARENT);
    ::SetTextColor(hdc, GdiColor(m_owner->m_textColor));
    if (m_bkBrush == nullptr)
        m_bkBrush = ::CreateSolidBrush(GdiColor(m_owner->m_nativeBkColor));
    return reinterpret_cast<LRESULT>(m_bkBrush);
}

void CEditWnd::OnWindowGone(HWND)
{
    if (m_owner != nullptr) {
        m_owner->Invalidate();
        m_owner->m_editWindow = nullptr;
    }
    delete this;
}

}  // namespace SkinUI
