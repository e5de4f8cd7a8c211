// CStartupLookup: the connection look-up and the reading of the DNS settings in force, which the
// window shows in its status line from its first paint on, started on a worker thread as the
// program starts. Both mostly wait on the system (the network configuration, the registry), so they
// run while the window, its skin and its fonts are made and shown instead of before; the window
// waits for the result at its first paint, or before anything acts on the connection list, so it
// never shows without them. The worker loads the libraries the look-up needs (at its first call);
// started once the window system is up, whose start loads most of the process's libraries, those
// loads keep the window waiting least.
//
// The worker fills the connection list it is given and writes only its own result; nothing else
// touches the list or the services until Finish has waited for it. Without a thread the same work
// runs inside Finish.
#pragma once

#include <windows.h>

#include <string>

#include "app/AdapterDiscovery.h"
#include "app/SystemServices.h"

namespace Quoril {

class CStartupLookup {
public:
    CStartupLookup(ISystemServices& services, AdapterList& adapters, bool english);
    // Waits for the worker, whether or not Finish was called.
    ~CStartupLookup();
    CStartupLookup(const CStartupLookup&) = delete;
    CStartupLookup& operator=(const CStartupLookup&) = delete;

    // Waits for the look-up and answers the status text (CurrentDnsStatusText's).
    std::wstring Finish();

private:
    static DWORD WINAPI Run(void* self);
    void Work();

    ISystemServices& m_services;
    AdapterList& m_adapters;  // filled by the worker
    const bool m_english;
    std::wstring m_status;  // written by the worker; read after it ended
    bool m_done = false;  // the work ran (on the worker or in Finish)
    HANDLE m_thread = nullptr;  // owned
};

}  // namespace Quoril
