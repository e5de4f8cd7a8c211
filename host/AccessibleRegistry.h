// CAccessibleRegistry: a host's live accessible objects, one per control that a client has asked
// about (or that an event named), plus the object of the client area.
//
// The registry holds one reference to each object and gives each a child id that is never reused
// while the host lives, so an id a client kept never names another control. Forget disconnects
// and lets go of a control's object; DisconnectAll does that for every object when the host goes.
#pragma once

#include <unordered_map>

namespace SkinUI {

class CAccessibleUI;
class CControlUI;
class CWindowHostUI;

class CAccessibleRegistry {
public:
    explicit CAccessibleRegistry(CWindowHostUI* host);
    ~CAccessibleRegistry();
    CAccessibleRegistry(const CAccessibleRegistry&) = delete;
    CAccessibleRegistry& operator=(const CAccessibleRegistry&) = delete;

    // Made on first use; null `control` is the client area. Null only when ids are used up.
    CAccessibleUI* ObjectOf(CControlUI* control);
    // Null when no live object has the id.
    CAccessibleUI* Find(long id) const;
    // The control's object is disconnected and released; answers its id, or 0 when it had none.
    long Forget(CControlUI* control);
    void DisconnectAll();
    int GetCount() const { return static_cast<int>(m_byControl.size()); }

private:
    CWindowHostUI* m_host;  // not owned
    CAccessibleUI* m_client = nullptr;  // one reference held
    std::unordered_map<const CControlUI*, CAccessibleUI*> m_byControl;  // one reference each
    std::unordered_map<long, CAccessibleUI*> m_byId;  // the same objects, not counted again
    long m_nextId = 1;
};

}  // namespace SkinUI
