// The test control DLL (tests/testctl, testctl.dll beside the test program) seen from the tests:
// the record its objects keep and the calls that drive them, plus COM for the test's thread.
#pragma once

#include <ole2.h>
#include <windows.h>

#include <gtest/gtest.h>

#include "testctl/TestControlApi.h"

namespace SkinUI {
class CControlUI;
}

namespace testbed {

class HostBed;

// OleInitialize for one test, undone at its end.
class ComScope {
public:
    ComScope() { ::OleInitialize(nullptr); }
    ~ComScope() { ::OleUninitialize(); }
    ComScope(const ComScope&) = delete;
    ComScope& operator=(const ComScope&) = delete;
};

// The same module the controls load as "testctl.dll"; the record starts empty for each object made.
class TestControl {
public:
    TestControl();
    bool Loaded() const { return m_state != nullptr; }
    testctl::TState& State() const { return *m_state; }
    HRESULT Fire(DISPID id, DISPPARAMS* params) const { return m_fire(id, params); }
    HRESULT Deactivate() const { return m_deactivate(); }
    // The newest object's client site with a reference the caller releases; null without one.
    IOleClientSite* ClientSite() const { return m_clientSite(); }

private:
    testctl::TState* m_state = nullptr;
    testctl::FireFn m_fire = nullptr;
    testctl::DeactivateFn m_deactivate = nullptr;
    testctl::ClientSiteFn m_clientSite = nullptr;
};

// A test with COM for its thread and the test control loaded; without the control it fails at once.
class TestControlTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(ctl.Loaded()); }

    ComScope com;  // first in, last out: the control's objects go before COM does
    TestControl ctl;
};

// A `tag` control (ActiveX, Flash, WebBrowser) on the test control's object `clsid`, built from
// markup in the bed's host and created at once; null when the markup is refused.
SkinUI::CControlUI* BuildTestControl(HostBed& bed, const char* tag, const char* clsid);

// The record once turning delayed creation off before the class id made the object twice: the
// first closed and released, only the second live.
void ExpectSecondObjectReplacedTheFirst(const testctl::TState& state);

}  // namespace testbed
