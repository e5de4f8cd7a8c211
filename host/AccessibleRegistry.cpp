#include "host/AccessibleRegistry.h"

#include <climits>

#include "host/Accessible.h"

namespace SkinUI {

CAccessibleRegistry::CAccessibleRegistry(CWindowHostUI* host)
    : m_host(host)
{
}

CAccessibleRegistry::~CAccessibleRegistry() { DisconnectAll(); }

CAccessibleUI* CAccessibleRegistry::ObjectOf(CControlUI* control)
{
    if (control == nullptr) {
        if (m_client == nullptr)
            m_client = new CAccessibleUI(m_host, nullptr, 0);
        return m_client;
    }
    const auto found = m_byControl.find(control);
    if (found != m_byControl.end())
        return found->second;
    // Ids are never reused: after two thousand million objects there are no more to give.
    if (m_nextId == LONG_MAX)
        return nullptr;
    CAccessibleUI* object = new CAccessibleUI(m_host, control, m_nextId++);
    m_byControl[control] = object;
    m_byId[object->GetId()] = object;
    return object;
}

CAccessibleUI* CAccessibleRegistry::Find(long id) const
{
    const auto found = m_byId.find(id);
    return found != m_byId.end() ? found->second : nullptr;
}

long CAccessibleRegistry::Forget(CControlUI* control)
{
    const auto found = m_byControl.find(control);
    if (found == m_byControl.end())
        return 0;
    CAccessibleUI* object = found->second;
    m_byControl.erase(found);
    m_byId.erase(object->GetId());
    const long id = object->GetId();
    object->Disconnect();
    object->Release();
    return id;
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
