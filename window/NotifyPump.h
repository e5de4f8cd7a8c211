// CNotifyPump: routes notifications to handler methods through per-class tables.
//
// Each class that handles notifications publishes one static map: an ordered table of entries
// (notification type, sender name or "" for any sender, handler) ended by NotifyEnd(), linked to
// its base class's map. Dispatch walks the maps from the object's own class towards the base: in
// one table an entry for the exact sender name wins at once, otherwise the last entry for any
// sender is taken; a table without a match passes on to the base's. Types and names compare
// exactly (case-sensitively).
//
// Handlers are plain functions made by the NotifyOn* templates, which turn the pump pointer back
// into the whole object with a checked static_cast, so no member-function pointer is ever cast
// between classes. A pump may also hold named virtual-window pumps: a notification whose sender
// sits in a virtual window goes to the pump registered under that name first.
#pragma once

#include <windows.h>

#include "core/NameMap.h"
#include "host/Events.h"

namespace SkinUI {

class CNotifyPump;

enum NotifyHandlerKind : unsigned {
    NotifyKindEnd = 0,  // ends a table
    NotifyKindParams = 1,  // handler takes the event's WParam and LParam and returns a result
    NotifyKindEvent = 2,  // handler takes the whole event
};

struct TNotifyMapEntry {
    const char* Type;  // notification type to match
    const char* ControlName;  // sender name to match; "" = any sender
    unsigned Kind;  // a NotifyHandlerKind value
    LRESULT (*OnParams)(CNotifyPump* pump, WPARAM wParam, LPARAM lParam);  // NotifyKindParams
    void (*OnEvent)(CNotifyPump* pump, TNotifyEvent& event);  // NotifyKindEvent
};

struct TNotifyMap {
    const TNotifyMap* Base;  // the base class's map; null ends the chain
    const TNotifyMapEntry* Entries;  // ended by a NotifyKindEnd entry
};

template <class T, void (T::*Method)(TNotifyEvent&)>
TNotifyMapEntry NotifyOnEvent(const char* type, const char* controlName = "")
{
    struct Thunk {
        static void Call(CNotifyPump* pump, TNotifyEvent& event) { (static_cast<T*>(pump)->*Method)(event); }
    };
    return TNotifyMapEntry{type, controlName, NotifyKindEvent, nullptr, &Thunk::Call};
}

template <class T, LRESULT (T::*Method)(WPARAM, LPARAM)>
TNotifyMapEntry NotifyOnParams(const char* type, const char* controlName = "")
{
    struct Thunk {
        static LRESULT Call(CNotifyPump* pump, WPARAM wParam, LPARAM lParam)
        {
            return (static_cast<T*>(pump)->*Method)(wParam, lParam);
        }
    };
    return TNotifyMapEntry{type, controlName, NotifyKindParams, &Thunk::Call, nullptr};
}

inline TNotifyMapEntry NotifyEnd() { return TNotifyMapEntry{"", "", NotifyKindEnd, nullptr, nullptr}; }

class CNotifyPump {
public:
    CNotifyPump() = default;
    CNotifyPump(const CNotifyPump&) = delete;
    CNotifyPump& operator=(const CNotifyPump&) = delete;

    // The map of the object's own class (override together with a static map of the class).
    virtual const TNotifyMap* NotifyMap() const;
    // CNotifyPump's own map: no entries, no base.
    static const TNotifyMap* StaticNotifyMap();

    // Registers a pump (not owned) for a virtual window name; false when the name is taken or empty.
    bool AddVirtualWindow(const char* name, CNotifyPump* pump);
    bool RemoveVirtualWindow(const char* name);

    // Virtual-window pumps first (names compared without regard to case), then this object's
    // maps. True when a handler ran.
    bool PumpNotification(TNotifyEvent& event);

protected:
    ~CNotifyPump() = default;

private:
    bool DispatchThroughMaps(TNotifyEvent& event);

    CNameMapUI m_virtualWindows;  // name -> CNotifyPump*, not owned
};

}  // namespace SkinUI
