// The per-dispatch "still alive" guard: which removals clear it and which leave it standing.
#include <gtest/gtest.h>

#include <functional>

#include "controls/base/Control.h"
#include "host/ControlAliveGuard.h"
#include "host/WindowHost.h"

using namespace SkinUI;

TEST(AliveGuard, ClearedOnlyWhenItsOwnControlOrTheHostGoes)
{
    struct TCase {
        const char* what;
        std::function<void(CWindowHostUI*&, CControlUI*& watched, CControlUI*& other)> act;
        bool watchedAlive;
        bool otherAlive;
    };
    const TCase cases[] = {
        {"nothing happens", [](CWindowHostUI*&, CControlUI*&, CControlUI*&) {}, true, true},
        {"the watched control is deleted",
            [](CWindowHostUI*&, CControlUI*& watched, CControlUI*&) {
                delete watched;
                watched = nullptr;
            },
            false, true},
        {"the host forgets it (a detach)",
            [](CWindowHostUI*& host, CControlUI*& watched, CControlUI*&) { host->ForgetControl(watched); }, false,
            true},
        {"another control is deleted",
            [](CWindowHostUI*&, CControlUI*&, CControlUI*& other) {
                delete other;
                other = nullptr;
            },
            true, false},
        {"the host is destroyed",
            [](CWindowHostUI*& host, CControlUI*&, CControlUI*&) {
                delete host;
                host = nullptr;
            },
            false, false},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.what);
        CWindowHostUI* host = new CWindowHostUI;
        CControlUI* watched = new CControlUI;
        CControlUI* other = new CControlUI;
        watched->AttachHost(host, nullptr, false);
        other->AttachHost(host, nullptr, false);
        {
            CControlAliveGuard outer(host, watched);
            CControlAliveGuard inner(host, watched);  // a nested dispatch over the same control
            CControlAliveGuard beside(host, other);
            c.act(host, watched, other);
            EXPECT_EQ(c.watchedAlive, outer.IsAlive());
            EXPECT_EQ(c.watchedAlive, inner.IsAlive());
            EXPECT_EQ(c.otherAlive, beside.IsAlive());
        }
        // The guards are gone; the host keeps no pointer to them (deleting now must not touch them).
        for (CControlUI* control : {watched, other}) {
            if (control != nullptr) {
                control->AttachHost(host, nullptr, false);
                delete control;
            }
        }
        delete host;
    }
}

TEST(AliveGuard, WithoutAHostAnswersAlive)
{
    CControlUI control;
    CControlAliveGuard guard(nullptr, &control);
    EXPECT_TRUE(guard.IsAlive());
}
