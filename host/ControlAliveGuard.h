// CControlAliveGuard: tells code that raised an event whether the control survived it.
//
// Any listener a control notifies may destroy it (a container that removes children at once, a
// direct delete) or detach it from the host. Code that has more to do with a control after an
// event or notification puts a guard on the stack first and asks it afterwards:
//
//     CControlAliveGuard alive(m_host, this);
//     m_host->SendNotification(this, "click");
//     if (!alive.IsAlive())
//         return;   // `this` may be freed: touch nothing of it
//
// The host clears every guard watching a control in ForgetControl (which the control's
// destructor and every detaching path call), and every guard of its own when it is destroyed. A
// guard made without a host answers alive: nothing dispatches to a control that has no host.
// Guards live on the stack of the window's thread; they are neither copied nor moved.
#pragma once

namespace SkinUI {

class CControlUI;
class CWindowHostUI;

class CControlAliveGuard {
public:
    CControlAliveGuard(CWindowHostUI* host, CControlUI* control);
    ~CControlAliveGuard();
    CControlAliveGuard(const CControlAliveGuard&) = delete;
    CControlAliveGuard& operator=(const CControlAliveGuard&) = delete;

    bool IsAlive() const { return m_alive; }

private:
    friend class CWindowHostUI;
    // Called by the host: the control is gone (or the host itself is).
    void MarkDead();

    CWindowHostUI* m_host;  // not owned; null once the host has gone
    CControlUI* m_control;  // not owned; watched only, never dereferenced
    bool m_alive = true;
};

}  // namespace SkinUI
