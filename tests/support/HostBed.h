// The test bed every suite that needs a host uses: a real CWindowWnd window whose ProcessMessage
// hands every message to its CWindowHostUI (the path the program's windows take), a notification
// recorder, a probe control that records what its parent gave it, a reader of the host's painted
// pixels, and helpers that send real mouse and key messages. Event probes log plain "name:Kind"
// strings, so a failing sequence prints readably.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "controls/base/Container.h"
#include "controls/base/Control.h"
#include "host/WindowHost.h"
#include "support/TestBed.h"
#include "window/WindowWnd.h"

namespace testbed {

// Makes CWindowWnd classes register under this executable (done once per process).
void UseTestModule();

// A window that hands every message to its host first, then to the default procedure.
class HostWindow : public SkinUI::CWindowWnd {
public:
    // Creates, binds and shows (without activating) a popup of the given client size.
    explicit HostWindow(int width = 200, int height = 100);
    ~HostWindow();

    const char* WindowClassName() const override { return "SkinUITestHostWnd"; }
    UINT ClassStyle() const override { return CS_DBLCLKS; }
    LRESULT ProcessMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

    SkinUI::CWindowHostUI& Host() { return m_host; }
    HWND Handle() const { return GetHWND(); }
    // Invalidates everything and paints now (lays out whatever is pending).
    void Repaint();
    LRESULT Send(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
    LRESULT MouseAt(UINT message, int x, int y, WPARAM keys = 0);

private:
    SkinUI::CWindowHostUI m_host;
};

struct TRecordedNotify {
    std::string type;
    std::string sender;  // sender's name
    SkinUI::CControlUI* senderPtr;
    WPARAM wParam;
    LPARAM lParam;
};

using Log = std::vector<std::string>;

std::string KindName(int kind);

// Records every notification: in full in `notes`, and as "type:senderName" in the log when given
// one; then runs `hook` when set.
class NotifyRecorder : public SkinUI::INotifyUI {
public:
    explicit NotifyRecorder(Log* log = nullptr)
        : m_log(log)
    {
    }
    void OnNotification(SkinUI::TNotifyEvent& event) override;
    // How many notifications of `type` arrived.
    int Count(const char* type) const;

    std::vector<TRecordedNotify> notes;
    std::function<void(SkinUI::TNotifyEvent&)> hook;
    SkinUI::TNotifyEvent last;

private:
    Log* m_log;  // not owned; may be null
};

class HostBed : public NotifyRecorder {
public:
    explicit HostBed(int width = 300, int height = 200);
    ~HostBed();
    HostBed(const HostBed&) = delete;
    HostBed& operator=(const HostBed&) = delete;

    SkinUI::CWindowHostUI& Host() { return m_window.Host(); }
    HWND Hwnd() const { return m_window.Handle(); }

    // AttachRoot, then one real paint so the tree is laid out to the client area.
    void Attach(SkinUI::CControlUI* root);
    // Invalidates the client area and lets WM_PAINT run (lays out what needs it).
    void Repaint();

    LRESULT Send(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
    void MoveTo(int x, int y);
    void Press(int x, int y);
    void Release(int x, int y);
    void Click(int x, int y);
    void Key(UINT vk);
    // Runs posted messages (deferred destroys) and pending paints.
    void Pump();

    // Called after each notification is recorded, when set.
    void (*onNotify)(HostBed& bed, SkinUI::TNotifyEvent& event) = nullptr;
    void* user = nullptr;

private:
    HostWindow m_window;  // last: destroyed first, while the recorder is whole
};

// Writes a solid colour 24-bit BMP into the temp folder and answers its full path.
std::string SolidImage(const char* name, uint32_t rgb, int width = 8, int height = 8);
// An image attribute string naming a fresh SolidImage.
std::string ImageSpec(const char* name, uint32_t rgb);

// The host's off-screen bitmap after a real WM_PAINT, as 0x00RRGGBB words.
class Screen {
public:
    explicit Screen(HostBed& bed);
    // 0xDEADBEEF outside the bitmap.
    uint32_t At(int x, int y) const;
    int CountNot(uint32_t rgb, const RECT& r) const;
    int Width() const { return m_width; }

private:
    std::vector<uint32_t> m_pixels;
    int m_width = 0;
    int m_height = 0;
};

inline LPARAM Pt(int x, int y) { return MAKELPARAM(x, y); }

// Compares a rectangle with (l, t, r, b) and prints both on a mismatch.
::testing::AssertionResult RectIs(const SkinUI::CRectUI& actual, LONG l, LONG t, LONG r, LONG b);

//--- event probes and the logs they write ("name:Kind", readable when a sequence fails) ----------

// The probe control. Every one records what layout gave it (the space offered to MeasureSize, the
// number of SetPosition calls). Given a log, it also logs "name:Kind" for each event (and
// "name:Action", "name:Destroyed") and keeps events but focus and timers to itself; without one,
// events go as for any control.
class Probe : public SkinUI::CControlUI {
public:
    explicit Probe(const char* name = "", int fixedWidth = 0, int fixedHeight = 0);
    Probe(const char* name, Log* log, unsigned capabilities = 0, const char* typeName = "ProbeUI");
    ~Probe() override;

    const char* GetTypeName() const override;
    unsigned GetCapabilities() const override { return m_capabilities; }
    bool TriggerAction() override;
    void OnEvent(SkinUI::TInputEvent& event) override;
    SkinUI::CSizeUI MeasureSize(SkinUI::CSizeUI available) override;
    void SetPosition(const SkinUI::CRectUI& rect) override;

    SkinUI::CSizeUI lastAvailable;
    int placements = 0;
    // Runs inside OnEvent after logging (may destroy things).
    std::function<void(SkinUI::TInputEvent&)> onEvent;
    SkinUI::TInputEvent lastEvent = {};

private:
    Log* m_log = nullptr;  // not owned; null: events are not logged
    unsigned m_capabilities = 0;
    const char* m_typeName = nullptr;  // null: the control base's
};

// Places a floating probe at a fixed client rectangle inside a container.
Probe* AddFloatingProbe(SkinUI::CContainerUI* parent, const char* name, Log* log, const char* pos,
    unsigned capabilities = 0, const char* typeName = "ProbeUI");

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

}  // namespace testbed
