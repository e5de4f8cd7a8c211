// Control timers, notification delivery, option groups and the listener lists.
//
// Each control timer runs on a native timer of the host window. Native ids come from a counter
// that starts so that the first id is 17 and walks 18, 19, ... modulo 255; an id that a record of
// this window still holds (alive or killed, since a killed record keeps its id for a restart) is
// skipped, and 0 is never used. Only when all 254 small ids are taken do ids go above 255.
#include "host/WindowHost.h"

#include <vector>

#include "controls/base/Control.h"
#include "host/ControlAliveGuard.h"

namespace SkinUI {

namespace {

const UINT kSmallIdRange = 255;
const UINT kMaxNativeId = 0xFFFF;  // WM_TIMER is matched on the low word of wParam

bool RemoveFirst(CPtrVectorUI& list, void* item)
{
    const int index = list.Find(item);
    if (index < 0)
        return false;
    return list.Remove(index);
}

// An option group: its members in the order they joined, and where it last changed. The members
// of a removed subtree leave one after another from one stretch of a long group, so each search
// starts where the previous change was and costs the distance from it.
struct TOptionGroup {
    CPtrVectorUI members{6};
    int lastChange = 0;
};

// The index of `item` among `members`, searched outward from `start`, or -1.
int FindNear(const CPtrVectorUI& members, const void* item, int start)
{
    const int count = members.GetSize();
    start = start < 0 ? 0 : (start > count ? count : start);
    for (int above = start, below = start - 1; above < count || below >= 0; ++above, --below) {
        if (above < count && members.GetAt(above) == item)
            return above;
        if (below >= 0 && members.GetAt(below) == item)
            return below;
    }
    return -1;
}

}  // namespace

//--- timers -------------------------------------------------------------------------------------

bool CWindowHostUI::NativeIdInUse(UINT id) const
{
    for (int i = 0; i < m_timers.GetSize(); ++i) {
        const TControlTimer* timer = static_cast<const TControlTimer*>(m_timers.GetAt(i));
        if (timer->window == m_hWndPaint && timer->nativeId == id)
            return true;
    }
    return false;
}

UINT CWindowHostUI::NextNativeId()
{
    for (UINT tries = 0; tries < kSmallIdRange; ++tries) {
        m_timerCounter = (m_timerCounter + 1) % kSmallIdRange;
        if (m_timerCounter != 0 && !NativeIdInUse(m_timerCounter))
            return m_timerCounter;
    }
    for (UINT id = kSmallIdRange; id <= kMaxNativeId; ++id) {
        if (!NativeIdInUse(id))
            return id;
    }
    return 0;
}

bool CWindowHostUI::SetControlTimer(CControlUI* control, UINT timerId, UINT elapseMs)
{
    if (control == nullptr || m_hWndPaint == nullptr)
        return false;
    for (int i = 0; i < m_timers.GetSize(); ++i) {
        TControlTimer* timer = static_cast<TControlTimer*>(m_timers.GetAt(i));
        if (timer->owner == control && timer->window == m_hWndPaint && timer->ownId == timerId) {
            if (!timer->killed || ::SetTimer(m_hWndPaint, timer->nativeId, elapseMs, nullptr) == 0)
                return false;
            timer->killed = false;
            return true;
        }
    }
    const UINT nativeId = NextNativeId();
    if (nativeId == 0 || ::SetTimer(m_hWndPaint, nativeId, elapseMs, nullptr) == 0)
        return false;
    TControlTimer* timer = new TControlTimer{control, timerId, m_hWndPaint, nativeId, false};
    if (!m_timers.Add(timer)) {
        ::KillTimer(m_hWndPaint, nativeId);
        delete timer;
        return false;
    }
    return true;
}

bool CWindowHostUI::KillControlTimer(CControlUI* control, UINT timerId)
{
    for (int i = 0; i < m_timers.GetSize(); ++i) {
        TControlTimer* timer = static_cast<TControlTimer*>(m_timers.GetAt(i));
        if (timer->owner == control && timer->window == m_hWndPaint && timer->ownId == timerId && !timer->killed) {
            if (::IsWindow(timer->window))
                ::KillTimer(timer->window, timer->nativeId);
            timer->killed = true;
            return true;
        }
    }
    return false;
}

void CWindowHostUI::KillControlTimers(CControlUI* control)
{
    for (int i = m_timers.GetSize() - 1; i >= 0; --i) {
        TControlTimer* timer = static_cast<TControlTimer*>(m_timers.GetAt(i));
        if (timer->owner != control || timer->window != m_hWndPaint)
            continue;
        if (!timer->killed)
            ::KillTimer(timer->window, timer->nativeId);
        delete timer;
        m_timers.Remove(i);
    }
}

UINT CWindowHostUI::NativeTimerId(CControlUI* control, UINT timerId) const
{
    for (int i = 0; i < m_timers.GetSize(); ++i) {
        const TControlTimer* timer = static_cast<const TControlTimer*>(m_timers.GetAt(i));
        if (timer->owner == control && timer->window == m_hWndPaint && timer->ownId == timerId)
            return timer->nativeId;
    }
    return 0;
}

void CWindowHostUI::ReleaseTimers()
{
    for (int i = 0; i < m_timers.GetSize(); ++i) {
        TControlTimer* timer = static_cast<TControlTimer*>(m_timers.GetAt(i));
        if (!timer->killed && ::IsWindow(timer->window))
            ::KillTimer(timer->window, timer->nativeId);
        delete timer;
    }
    m_timers.Clear();
}

//--- notifications ------------------------------------------------------------------------------

void CWindowHostUI::SendNotification(TNotifyEvent& event)
{
    event.MousePoint = m_ptLastMousePos;
    event.Timestamp = ::GetTickCount();
    if (m_usesVirtualWindows && event.Sender != nullptr)
        event.VirtualWindow = event.Sender->GetVirtualWindowName();
    // Any listener may destroy the sender; the record would then name freed memory, so whoever
    // has not heard of it yet does not hear of it at all.
    CControlAliveGuard sender(this, event.Sender);
    if (event.Sender != nullptr && event.Sender->NotifyListeners.HasListeners())
        event.Sender->NotifyListeners.Fire(&event);
    // A listener may remove itself or others while being called: walk a snapshot and skip the
    // ones no longer registered.
    const CPtrVectorUI listeners = m_notifyListeners;
    for (int i = 0; i < listeners.GetSize() && sender.IsAlive(); ++i) {
        INotifyUI* listener = static_cast<INotifyUI*>(listeners.GetAt(i));
        if (m_notifyListeners.Find(listener) >= 0)
            listener->OnNotification(event);
    }
}

void CWindowHostUI::SendNotification(CControlUI* sender, const char* type, WPARAM wParam, LPARAM lParam)
{
    TNotifyEvent event;
    event.Type = type;
    event.Sender = sender;
    event.WParam = wParam;
    event.LParam = lParam;
    SendNotification(event);
}

//--- option groups ------------------------------------------------------------------------------

bool CWindowHostUI::AddOptionToGroup(const char* group, CControlUI* option)
{
    if (group == nullptr)
        return false;
    TOptionGroup* record = static_cast<TOptionGroup*>(m_optionGroups.Find(group));
    const bool fresh = record == nullptr;
    if (fresh)
        record = new TOptionGroup;
    // An option in no group at all needs no search of this one.
    const bool member = !fresh && m_optionGroupCount.count(option) != 0 && record->members.Find(option) >= 0;
    if (member || !record->members.Add(option) || (fresh && !m_optionGroups.Insert(group, record))) {
        if (fresh)
            delete record;
        return false;
    }
    record->lastChange = record->members.GetSize() - 1;
    ++m_optionGroupCount[option];
    return true;
}

void CWindowHostUI::RemoveOptionFromGroup(const char* group, CControlUI* option)
{
    if (group == nullptr)
        return;
    TOptionGroup* record = static_cast<TOptionGroup*>(m_optionGroups.Find(group));
    if (record == nullptr)
        return;
    const int index = FindNear(record->members, option, record->lastChange);
    if (index >= 0 && record->members.Remove(index)) {
        record->lastChange = index;
        const auto count = m_optionGroupCount.find(option);
        if (count != m_optionGroupCount.end() && --count->second <= 0)
            m_optionGroupCount.erase(count);
    }
    if (record->members.GetSize() == 0) {
        delete record;
        m_optionGroups.Remove(group);
    }
}

CPtrVectorUI* CWindowHostUI::GetOptionGroup(const char* group) const
{
    if (group == nullptr)
        return nullptr;
    TOptionGroup* record = static_cast<TOptionGroup*>(m_optionGroups.Find(group));
    return record != nullptr ? &record->members : nullptr;
}

void CWindowHostUI::ForgetOption(CControlUI* option)
{
    if (m_optionGroupCount.find(option) == m_optionGroupCount.end())
        return;
    // Keys first: removal reorders the map, so it cannot run while walking it.
    std::vector<CUIString> groups;
    for (int i = 0; i < m_optionGroups.GetSize(); ++i) {
        const TOptionGroup* record = static_cast<const TOptionGroup*>(m_optionGroups.GetAt(i));
        if (record != nullptr && record->members.Find(option) >= 0)
            groups.push_back(CUIString(m_optionGroups.GetKeyAt(i)));
    }
    for (const CUIString& group : groups)
        RemoveOptionFromGroup(group, option);
}

void CWindowHostUI::FreeOptionGroups()
{
    for (int i = 0; i < m_optionGroups.GetSize(); ++i)
        delete static_cast<TOptionGroup*>(m_optionGroups.GetAt(i));
    m_optionGroups.RemoveAll();
    m_optionGroupCount.clear();
}

//--- listener lists -----------------------------------------------------------------------------

bool CWindowHostUI::AddNotificationListener(INotifyUI* listener) { return m_notifyListeners.Add(listener); }
bool CWindowHostUI::RemoveNotificationListener(INotifyUI* listener) { return RemoveFirst(m_notifyListeners, listener); }
bool CWindowHostUI::AddPreTranslateFilter(IMessageFilterUI* filter) { return m_preTranslateFilters.Add(filter); }
bool CWindowHostUI::RemovePreTranslateFilter(IMessageFilterUI* filter)
{
    return RemoveFirst(m_preTranslateFilters, filter);
}
bool CWindowHostUI::AddWindowMessageFilter(IMessageFilterUI* filter) { return m_messageFilters.Add(filter); }
bool CWindowHostUI::RemoveWindowMessageFilter(IMessageFilterUI* filter)
{
    return RemoveFirst(m_messageFilters, filter);
}
bool CWindowHostUI::AddOverlayPainter(CControlUI* control) { return m_overlayPainters.Add(control); }
bool CWindowHostUI::RemoveOverlayPainter(CControlUI* control) { return RemoveFirst(m_overlayPainters, control); }
bool CWindowHostUI::AddAcceleratorTranslator(ITranslateAccelerator* translator)
{
    return m_acceleratorTranslators.Add(translator);
}
bool CWindowHostUI::RemoveAcceleratorTranslator(ITranslateAccelerator* translator)
{
    return RemoveFirst(m_acceleratorTranslators, translator);
}

}  // namespace SkinUI
