// CAccessibleRegistry: a host's live accessible objects, one per control that a client has asked
// about (or that an event named), one per part of a control (a link of a text) asked about, plus the
// object of the client area.
//
// The registry holds one reference to each object and gives each a child id that is never reused
// while the host lives, so an id a client kept never names another control. Forget disconnects
// and lets go of a control's objects (its parts' too); ForgetParts only of its parts'; DisconnectAll
// does that for every object when the host goes.
#pragma once

#include <unordered_map>
#include <utility>
#include <vector>

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

    // Made on first use; null `control` is the client area; `part` -1 the control itself. Null
    // only when ids are used up.
    CAccessibleUI* ObjectOf(CControlUI* control, int part = -1);
    // Null when no live object has the id.
    CAccessibleUI* Find(long id) const;
    // The control's objects are disconnected and released; answers their ids.
    std::vector<long> Forget(CControlUI* control);
    std::vector<long> ForgetParts(CControlUI* control);
    void DisconnectAll();
    int GetCount() const { return static_cast<int>(m_byId.size()); }

private:
    CWindowHostUI* m_host;  // not owned
    CAccessibleUI* m_client = nullptr;  // one reference held
    // Disconnects and releases the control's objects from part `fromPart` on (-1: the whole too).
    std::vector<long> Drop(CControlUI* control, int fromPart);

    // A control's objects, ordered by part (the whole, -1, first).
    typedef std::vector<std::pair<int, CAccessibleUI*>> TObjects;
    // Hashed: every control added to a shown tree is announced and so gets an object, and a
    // long list of rows forgotten one by one must not pay a search through all the others each.
    std::unordered_map<const CControlUI*, TObjects> m_byControl;  // one reference each
    std::unordered_map<long, CAccessibleUI*> m_byId;  // the same objects, not counted again
    long m_nextId = 1;
};

}  // namespace SkinUI
