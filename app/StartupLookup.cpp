#include "app/StartupLookup.h"

#include "app/DnsStatus.h"

namespace Quoril {

CStartupLookup::CStartupLookup(ISystemServices& services, AdapterList& adapters, bool english)
    : m_services(services)
    , m_adapters(adapters)
    , m_english(english)
{
    m_thread = ::CreateThread(nullptr, 0, Run, this, 0, nullptr);
}

CStartupLookup::~CStartupLookup() { Finish(); }

DWORD WINAPI CStartupLookup::Run(void* self)
{
    static_cast<CStartupLookup*>(self)->Work();
    return 0;
}

void CStartupLookup::Work()
{
    DiscoverAdapters(m_services, m_adapters);
    m_status = CurrentDnsStatusText(m_services, m_adapters, m_english);
}

std::wstring CStartupLookup::Finish()
{
    if (m_thread != nullptr) {
        ::WaitForSingleObject(m_thread, INFINITE);
        ::CloseHandle(m_thread);
        m_thread = nullptr;
        m_done = true;
    }
    // No worker could be started: the look-up runs here, as it would have without one.
    if (!m_done) {
        Work();
        m_done = true;
    }
    return m_status;
}

}  // namespace Quoril
