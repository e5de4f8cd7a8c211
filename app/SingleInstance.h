// One copy of the program at a time.
//
// Two copies would interleave their netsh commands on the same connections and race on the saved
// settings. The first copy holds a named mutex in the session's object namespace for its whole life;
// a later copy finds it taken, brings the running copy's window to the front and ends before it
// shows a window or runs a command. Another program of the session could take the name first; that
// only keeps this program from starting, never makes two run at once.
#pragma once

#include <windows.h>

namespace Quoril {

constexpr const char* kInstanceMutexName = "Local\\Quoril.SingleInstance";

class CSingleInstance {
public:
    // Takes `name`; IsFirst() tells whether no other holder had it.
    explicit CSingleInstance(const char* name = kInstanceMutexName);
    ~CSingleInstance();
    CSingleInstance(const CSingleInstance&) = delete;
    CSingleInstance& operator=(const CSingleInstance&) = delete;

    // False when another copy holds the name, or when the mutex could not be made at all (then
    // whether another copy runs cannot be told, and running anyway could be the second copy).
    bool IsFirst() const { return m_first; }

private:
    HANDLE m_mutex = nullptr;
    bool m_first = false;
};

// Restores and brings to the front the top-level window of `className` titled `title`, waiting a
// little (at most `waitMs`) for it when the running copy has not shown it yet. False when none came.
bool BringRunningWindowToFront(const char* className, const char* title, DWORD waitMs);

}  // namespace Quoril
