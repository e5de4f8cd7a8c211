// Shared pieces of the host tests: a real window whose procedure feeds a CWindowHostUI, probe
// controls that log every event they receive, and a notification recorder.
//
// Logs are plain "name:Kind" strings so a failing sequence prints readably.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "controls/base/Container.h"
#include "controls/base/Control.h"
#include "host/WindowHost.h"
#include "support/HostBed.h"

namespace hosttest {

using Log = std::vector<std::string>;

std::string KindName(int kind);

using testbed::HostWindow;
using testbed::UseTestModule;

// A control that logs "name:Kind" for each event (and "name:Action", "name:Destroyed").
class ProbeControl : public SkinUI::CControlUI {
public:
    ProbeControl(const char* name, Log* log, unsigned capabilities = 0, const char* typeName = "ProbeUI");
    ~ProbeControl() override;

    const char* GetTypeName() const override { return m_typeName; }
    unsigned GetCapabilities() const override { return m_capabilities; }
    bool TriggerAction() override;
    void OnEvent(SkinUI::TInputEvent& event) override;

    // Runs inside OnEvent after logging (may destroy things).
    std::function<void(SkinUI::TInputEvent&)> onEvent;
    SkinUI::TInputEvent lastEvent = {};

private:
    Log* m_log;
    unsigned m_capabilities;
    const char* m_typeName;
};

// Places a floating probe at a fixed client rectangle inside a container.
ProbeControl* AddFloatingProbe(SkinUI::CContainerUI* parent, const char* name, Log* log, const char* pos,
    unsigned capabilities = 0, const char* typeName = "ProbeUI");

// Logs "type:senderName" for each notification and runs an optional hook.
class NotifyRecorder : public SkinUI::INotifyUI {
public:
    explicit NotifyRecorder(Log* log)
        : m_log(log)
    {
    }
    void OnNotification(SkinUI::TNotifyEvent& event) override;
    std::function<void(SkinUI::TNotifyEvent&)> hook;
    SkinUI::TNotifyEvent last;

private:
    Log* m_log;
};

// Entries of `log` that start with `prefix` ("A:" for everything probe A received).
Log Filter(const Log& log, const std::string& prefix);

// A window with a root container: AddProbes fills the root, then the root is attached, painted
// once (layout, "windowinit", first focus) and the posted messages run. The logs keep what that
// set-up produced; Clear() empties them.
class HostFixture : public ::testing::Test {
protected:
    void SetUp() override;
    virtual void AddProbes() = 0;

    SkinUI::CWindowHostUI& host() { return wnd.Host(); }
    // Runs what is still posted, then empties both logs.
    void Clear();

    // Declared before the window: the host destroys the probes, which still write to the log.
    Log log;
    Log noteLog;
    NotifyRecorder notes{&noteLog};
    HostWindow wnd;
    SkinUI::CContainerUI* root = nullptr;
};

}  // namespace hosttest
