#include "host/AccessibleRegistry.h"

#include <algorithm>
#include <climits>

#include "host/Accessible.h"

namespace SkinUI {

CAccessibleRegistry::CAccessibleRegistry(CWindowHostUI* host)
    : m_host(host)
{
}

CAccessibleRegistry::~CAccessibleRegistry() { DisconnectAll(); }

CAccessibleUI* CAccessibleRegistry::ObjectOf(CControlUI* control, int part)
{
    if (control == nullptr) {
        if (m_client == nullptr)
            m_client = new CAccessibleUI(m_host, nullptr, -1, 0);
        return m_client;
    }
    const int key = part < 0 ? -1 : part;
    TObjects& objects = m_byControl[control];
    auto at = std::lower_bound(objects.begin(), objects.end(), key,
        [](const std::pair<int, CAccessibleUI*>& entry, int wanted) { return entry.first < wanted; });
    if (at != objects.end() && at->first == key)
        return at->second;
    // Ids are never reused: after two thousand million objects there are no more to give.
    if (m_nextId == LONG_MAX) {
        if (objects.empty())
            m_byControl.erase(control);
        return nullptr;
    }
    CAccessibleUI* object = new CAccessibleUI(m_host, control, key, m_nextId++);
    objects.insert(at, std::make_pair(key, object));
    m_byId[object->GetId()] = object;
    return object;
}

CAccessibleUI* CAccessibleRegistry::Find(long id) const
{
    const auto found = m_byId.find(id);
    return found != m_byId.end() ? found->second : nullptr;
}

std::vector<long> CAccessibleRegistry::Forget(CControlUI* control) { return Drop(control, -1); }

std::vector<long> CAccessibleRegistry::ForgetParts(CControlUI* control) { return Drop(control, 0); }

std::vector<long> CAccessibleRegistry::Drop(CControlUI* control, int fromPart)
{
    std::vector<long> ids;
    const auto found = m_byControl.find(control);
    if (found == m_byControl.end())
        return ids;
    TObjects& objects = found->second;
    auto from = std::lower_bound(objects.begin(), objects.end(), fromPart,
        [](const std::pair<int, CAccessibleUI*>& entry, int wanted) { return entry.first < wanted; });
    // Out of the tables before they are let go, as nothing reached from a release may see them.
    const TObjects gone(from, objects.end());
    objects.erase(from, objects.end());
    if (objects.empty())
        m_byControl.erase(found);
    for (const auto& entry : gone) {
        CAccessibleUI* object = entry.second;
        m_byId.erase(object->GetId());
        ids.push_back(object->GetId());
        object->Disconnect();
        object->Release();
    }
    return ids;
}

void CAccessibleRegistry::DisconnectAll()
{
    for (const auto& entry : m_byControl) {
        for (const auto& object : entry.second) {
            object.second->Disconnect();
            object.second->Release();
        }
    }
    m_byControl.clear();
    m_byId.clear();
    if (m_client != nullptr) {
        m_client->Disconnect();
        m_client->Release();
        m_client = nullptr;
    }
}

}  // namespace SkinUI
