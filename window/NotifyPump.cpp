#include "window/NotifyPump.h"

#include "controls/base/Control.h"

namespace SkinUI {

const TNotifyMap* CNotifyPump::StaticNotifyMap()
{
    static const TNotifyMapEntry entries[] = {NotifyEnd()};
    static const TNotifyMap map = {nullptr, entries};
    return &map;
}

const TNotifyMap* CNotifyPump::NotifyMap() const { return StaticNotifyMap(); }

bool CNotifyPump::AddVirtualWindow(const char* name, CNotifyPump* pump)
{
    if (name == nullptr || name[0] == '\0' || pump == nullptr)
        return false;
    return m_virtualWindows.Insert(name, pump);
}

bool CNotifyPump::RemoveVirtualWindow(const char* name) { return name != nullptr && m_virtualWindows.Remove(name); }

bool CNotifyPump::PumpNotification(TNotifyEvent& event)
{
    if (!event.VirtualWindow.IsEmpty()) {
        for (int i = 0; i < m_virtualWindows.GetSize(); ++i) {
            if (event.VirtualWindow.CompareNoCase(m_virtualWindows.GetKeyAt(i)) != 0)
                continue;
            CNotifyPump* pump = static_cast<CNotifyPump*>(m_virtualWindows.GetAt(i));
            if (pump != nullptr && pump->DispatchThroughMaps(event))
                return true;
        }
    }
    return DispatchThroughMaps(event);
}

bool CNotifyPump::DispatchThroughMaps(TNotifyEvent& event)
{
    const CUIString senderName = event.Sender != nullptr ? event.Sender->GetName() : CUIString();
    for (const TNotifyMap* map = NotifyMap(); map != nullptr; map = map->Base) {
        // An entry for this very sender wins at once; otherwise the last entry for any sender.
        const TNotifyMapEntry* chosen = nullptr;
        for (const TNotifyMapEntry* entry = map->Entries; entry->Kind != NotifyKindEnd; ++entry) {
            if (event.Type != entry->Type)
                continue;
            if (entry->ControlName[0] == '\0') {
                chosen = entry;
            } else if (senderName == entry->ControlName) {
                chosen = entry;
                break;
            }
        }
        if (chosen == nullptr)
            continue;
        switch (chosen->Kind) {
        case NotifyKindParams:
            chosen->OnParams(this, event.WParam, event.LParam);
            return true;
        case NotifyKindEvent:
            chosen->OnEvent(this, event);
            return true;
        default:
            return false;
        }
    }
    return false;
}

}  // namespace SkinUI
