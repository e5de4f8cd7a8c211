#include "controls/com/ActiveXWnd.h"

#include <cassert>
#include <set>

#include "controls/com/ActiveX.h"
#include "controls/com/ActiveXSite.h"

namespace SkinUI {

namespace {

#ifndef NDEBUG
std::set<const CActiveXWnd*>& Registry()
{
    static std::set<const CActiveXWnd*> live;
    return live;
}
#endif

}  // namespace

CActiveXWnd::CActiveXWnd(CActiveXCtrl* site)
    : m_site(site)
{
#ifndef NDEBUG
    Registry().insert(this);
#endif
}

CActiveXWnd::~CActiveXWnd()
{
#ifndef NDEBUG
    assert(Registry().count(this) == 1 && "CActiveXWnd deleted twice");
    Registry().erase(this);
#endif
}

#ifndef NDEBUG
int CActiveXWnd::LiveInstances() { return static_cast<int>(Registry().size()); }
#endif

HWND CActiveXWnd::Init(HWND parent)
{
    return Create(parent, "UIActiveX", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN, 0, 0, 0, 0, 0);
}

const char* CActiveXWnd::WindowClassName() const { return "ActiveXWnd"; }

// The site deletes this object; the window going away alone changes nothing.
void CActiveXWnd::OnWindowGone(HWND /*hwnd*/) { }

LRESULT CActiveXWnd::ProcessMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    // Once the control has let go, the object is on its way out: only the default handling.
    if (m_site->GetOwner() == nullptr)
        return CallPrevious(message, wParam, lParam);
    switch (message) {
    case WM_SETFOCUS:
        OnSetFocus();
        break;
    case WM_KILLFOCUS:
        m_site->SetFocused(false);
        break;
    case WM_PAINT: {
        PAINTSTRUCT ps;
        ::BeginPaint(m_hWnd, &ps);
        ::EndPaint(m_hWnd, &ps);
        return 1;
    }
    case WM_ERASEBKGND:
        if (m_site->GetViewObject() != nullptr)
            return 1;
        break;
    case WM_MOUSEACTIVATE:
        return OnMouseActivate(message, wParam, lParam);
    case WM_MOUSEWHEEL:
        return 0;
    default:
        break;
    }
    return CallPrevious(message, wParam, lParam);
}

void CActiveXWnd::OnSetFocus()
{
    m_site->SetFocused(true);
    IOleObject* object = m_site->GetOwner()->GetOleObject();
    if (m_site->IsUIActivated() || object == nullptr)
        return;
    RECT rect = m_site->GetOwner()->GetPosition();
    object->DoVerb(OLEIVERB_UIACTIVATE, nullptr, static_cast<IOleClientSite*>(m_site), 0, m_hWnd, &rect);
}

LRESULT CActiveXWnd::OnMouseActivate(UINT message, WPARAM wParam, LPARAM lParam)
{
    IOleObject* object = m_site->GetOwner()->GetOleObject();
    DWORD status = 0;
    if (object != nullptr)
        object->GetMiscStatus(DVASPECT_CONTENT, &status);
    if ((status & OLEMISC_NOUIACTIVATE) != 0)
        return 0;
    if (!m_site->IsInPlaceActive() && object != nullptr) {
        RECT rect = m_site->ObjectRect();
        object->DoVerb(OLEIVERB_INPLACEACTIVATE, nullptr, static_cast<IOleClientSite*>(m_site), 0, m_hWnd, &rect);
    }
    return CallPrevious(message, wParam, lParam);
}

}  // namespace SkinUI
