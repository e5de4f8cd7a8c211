// The host's side of assistive technology: WM_GETOBJECT, the registry of live accessible objects,
// WinEvents about controls, default actions run after the client's call, and the focus cue.
#include "host/WindowHost.h"

#include <oleacc.h>

#include <unordered_set>
#include <vector>

#include "controls/base/Container.h"
#include "controls/base/Control.h"
#include "host/Accessible.h"
#include "host/AccessibleLinks.h"
#include "host/AccessibleRegistry.h"
#include "host/AccessibleTraits.h"

namespace SkinUI {

namespace {

// Events about how a control reads go to the nearest object a client can know; a layout that
// appears or goes reorders the children of the object above it.
bool NeedsExposedControl(unsigned winEvent)
{
    return winEvent != EVENT_OBJECT_SHOW && winEvent != EVENT_OBJECT_HIDE && winEvent != EVENT_OBJECT_CREATE;
}

}  // namespace

bool CWindowHostUI::OnGetObject(WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    return m_root != nullptr && OnGetObjectFor(nullptr, wParam, lParam, result);
}

bool CWindowHostUI::OnGetObjectFor(CControlUI* control, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    // The object id is a 32-bit value, sign-extended or not depending on the sender.
    if (static_cast<LONG>(lParam) != OBJID_CLIENT || (control != nullptr && control->GetHost() != this))
        return false;
    CAccessibleUI* object = AccessibleObjectOf(control);
    if (object == nullptr)
        return false;
    const LRESULT answer = ::LresultFromObject(IID_IAccessible, wParam, static_cast<IAccessible*>(object));
    // A failed marshalling leaves the window to the system's default object.
    if (answer < 0)
        return false;
    result = answer;
    return true;
}

CAccessibleUI* CWindowHostUI::AccessibleObjectOf(CControlUI* control, int part)
{
    if (m_hWndPaint == nullptr)
        return nullptr;
    if (m_accessibles == nullptr)
        m_accessibles = new CAccessibleRegistry(this);
    return m_accessibles->ObjectOf(control, part);
}

CAccessibleUI* CWindowHostUI::AccessibleById(long id) const
{
    return m_accessibles != nullptr ? m_accessibles->Find(id) : nullptr;
}

void CWindowHostUI::AnnounceAccessibleChange(CControlUI* control, unsigned winEvent)
{
    // Nothing is announced while a tree is being built: it is news only once it is shown.
    if (control == nullptr || m_hWndPaint == nullptr || m_firstLayoutPending || control->GetHost() != this)
        return;
    const bool structural
        = winEvent == EVENT_OBJECT_CREATE || winEvent == EVENT_OBJECT_SHOW || winEvent == EVENT_OBJECT_HIDE;
    if (structural && m_structureHolds > 0)
        return;
    // New text makes new links: the objects of the old ones would name words no longer there.
    if (winEvent == EVENT_OBJECT_NAMECHANGE && m_accessibles != nullptr)
        AnnounceDestroyed(m_accessibles->ForgetParts(control));
    CControlUI* subject = control;
    if (NeedsExposedControl(winEvent)) {
        subject = AccessibleTraits::ReadableAtOrAbove(control);
        if (subject == nullptr && winEvent != EVENT_OBJECT_FOCUS)
            return;
        // A part of a row or button changed what the whole reads (its text) or is (a tree row's
        // folder button or check box toggled).
        if (subject != control && winEvent != EVENT_OBJECT_FOCUS && winEvent != EVENT_OBJECT_STATECHANGE)
            winEvent = EVENT_OBJECT_NAMECHANGE;
    } else if (AccessibleTraits::RoleOf(control) == 0) {
        subject = AccessibleTraits::ReadableAtOrAbove(control->GetParent());
        winEvent = EVENT_OBJECT_REORDER;  // a layout shown, hidden or added changes its parent's children
    }
    // A value-holding control's text is its value, not its name.
    if (subject == control && winEvent == EVENT_OBJECT_NAMECHANGE && control->GetAccessibleName().IsEmpty()) {
        CUIString unused;
        if (AccessibleTraits::ValueOf(control, unused))
            winEvent = EVENT_OBJECT_VALUECHANGE;
    }
    // Never wrong when it says no one listens: then no object need be made to name the subject.
    if (!::IsWinEventHookInstalled(winEvent))
        return;
    CAccessibleUI* object = AccessibleObjectOf(subject);
    if (object != nullptr)
        ::NotifyWinEvent(winEvent, m_hWndPaint, OBJID_CLIENT, subject != nullptr ? object->GetId() : CHILDID_SELF);
}

bool CWindowHostUI::PostAccessibleAction(long id)
{
    return m_hWndPaint != nullptr && ::PostMessageA(m_hWndPaint, kAccessibleActionMessage, 0, id) != FALSE;
}

void CWindowHostUI::RunAccessibleAction(long id)
{
    // The control may have gone since the client asked: then its object is no longer listed.
    CAccessibleUI* object = AccessibleById(id);
    if (object == nullptr || object->GetControl() == nullptr)
        return;
    if (object->GetPart() >= 0)
        AccessibleLinks::Follow(object->GetControl(), object->GetPart());
    else
        AccessibleTraits::DoDefaultAction(object->GetControl());
}

void CWindowHostUI::ForgetAccessible(CControlUI* control)
{
    if (m_accessibles != nullptr)
        AnnounceDestroyed(m_accessibles->Forget(control));
}

void CWindowHostUI::NoteCreated(CControlUI* control)
{
    // Whoever holds the announcements tells of the whole subtree itself.
    if (m_structureHolds > 0)
        return;
    if (m_createdParents.empty() && m_createdSet.size() < kCreatedOneByOne) {
        if (m_createdSet.insert(control).second)
            m_created.push_back(control);
        return;
    }
    // Many at once: from here on only their parents are kept, so a list filled with a million rows
    // keeps nothing for each of them.
    for (CControlUI* earlier : m_created) {
        if (m_createdSet.count(earlier) != 0)
            m_createdParents.insert(earlier->GetParent());
    }
    m_created.clear();
    m_createdSet.clear();
    m_createdParents.insert(control->GetParent());
}

void CWindowHostUI::AnnounceCreated()
{
    std::vector<CControlUI*> created;
    created.swap(m_created);
    std::unordered_set<const CControlUI*> alive;
    alive.swap(m_createdSet);
    for (CControlUI* control : created) {
        if (alive.erase(control) != 0)
            AnnounceAccessibleChange(control, EVENT_OBJECT_CREATE);
    }
    std::unordered_set<CControlUI*> parents;
    parents.swap(m_createdParents);
    if (m_hWndPaint == nullptr || !::IsWinEventHookInstalled(EVENT_OBJECT_REORDER))
        return;
    std::unordered_set<const CControlUI*> told;
    for (CControlUI* parent : parents) {
        if (parent == nullptr || parent->GetHost() != this)
            continue;
        CControlUI* subject = AccessibleTraits::ReadableAtOrAbove(parent);
        if (!told.insert(subject).second)
            continue;
        CAccessibleUI* object = AccessibleObjectOf(subject);
        if (object != nullptr)
            ::NotifyWinEvent(
                EVENT_OBJECT_REORDER, m_hWndPaint, OBJID_CLIENT, subject != nullptr ? object->GetId() : CHILDID_SELF);
    }
}

void CWindowHostUI::AnnounceDestroyed(const std::vector<long>& ids)
{
    if (m_hWndPaint == nullptr || !::IsWindow(m_hWndPaint))
        return;
    for (long id : ids)
        ::NotifyWinEvent(EVENT_OBJECT_DESTROY, m_hWndPaint, OBJID_CLIENT, id);
}

void CWindowHostUI::ReleaseAccessibles()
{
    delete m_accessibles;
    m_accessibles = nullptr;
}

void CWindowHostUI::PaintFocusCue(HDC hdc, const RECT& paintRect)
{
    if (!m_keyboardCue || m_focus == nullptr || !m_focus->IsVisible())
        return;
    RECT cue = CurrentPosition(m_focus);
    ::InflateRect(&cue, -1, -1);
    RECT visible = {};
    if (!::IntersectRect(&visible, &cue, &paintRect))
        return;
    // Dotted and drawn over fresh paint only, so a partial repaint never doubles or erases it.
    const int saved = ::SaveDC(hdc);
    ::IntersectClipRect(hdc, paintRect.left, paintRect.top, paintRect.right, paintRect.bottom);
    const HPEN pen = ::CreatePen(PS_DOT, 1, RGB(0, 0, 0));
    ::SelectObject(hdc, pen);
    ::SelectObject(hdc, ::GetStockObject(NULL_BRUSH));
    ::SetBkColor(hdc, RGB(255, 255, 255));
    ::SetBkMode(hdc, OPAQUE);
    ::Rectangle(hdc, cue.left, cue.top, cue.right, cue.bottom);
    ::RestoreDC(hdc, saved);
    ::DeleteObject(pen);
}

}  // namespace SkinUI
