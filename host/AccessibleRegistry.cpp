#include "host/AccessibleRegistry.h"

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
    const auto key = std::make_pair(static_cast<const CControlUI*>(control), part < 0 ? -1 : part);
    const auto found = m_byControl.find(key);
    if (found != m_byControl.end())
        return found->second;
    // Ids are never reused: after two thousand million objects there are no more to give.
    if (m_nextId == LONG_MAX)
        return nullptr;
    CAccessibleUI* object = new CAccessibleUI(m_host, control, key.second, m_nextId++);
    m_byControl[key] = object;
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
    auto it = m_byControl.lower_bound(std::make_pair(static_cast<const CControlUI*>(control), fromPart));
    while (it != m_byControl.end() && it->first.first == control) {
        CAccessibleUI* object = it->second;
        it = m_byControl.erase(it);
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
        entry.second->Disconnect();
        entry.second->Release();
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
