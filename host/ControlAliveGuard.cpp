#include "host/ControlAliveGuard.h"

#include "host/WindowHost.h"

namespace SkinUI {

CControlAliveGuard::CControlAliveGuard(CWindowHostUI* host, CControlUI* control)
    : m_host(host)
    , m_control(control)
{
    if (m_host != nullptr)
        m_host->AddAliveGuard(this);
}

CControlAliveGuard::~CControlAliveGuard()
{
    if (m_host != nullptr)
        m_host->RemoveAliveGuard(this);
}

void CControlAliveGuard::MarkDead()
{
    m_alive = false;
    m_host = nullptr;
}

}  // namespace SkinUI
